#include "InstallOptions.h"

#include "ShellFunctions.h"

#include <shlwapi.h>

#include <mutex>

CInstallOptions& CInstallOptions::Instance()
{
    static std::mutex creation;
    static CInstallOptions* options = nullptr;
    std::lock_guard<std::mutex> lock(creation);
    // Never freed: the hand-off may still read it while the process winds down.
    if (!options)
        options = new CInstallOptions();
    return *options;
}

CInstallOptions::CInstallOptions()
    : m_installFolder(GetDefaultInstallFolder())
{
    if (!PathFileExistsW(m_installFolder.c_str()))
        MakeDirectoryPath(m_installFolder);
}

std::wstring CInstallOptions::ProductFolder() const
{
    return m_installFolder + L"\\Velmora";
}

#include "SetupHandOff.h"

#include "InstallOptions.h"

#include <windows.h>
#include <shellapi.h>

std::wstring MakeHandOffParameters(const std::wstring& installFolder, bool desktopShortcut)
{
    return L"-instdir=" + installFolder + L" -dsc=" + (desktopShortcut ? L"true" : L"false");
}

bool StartFullSetup(const std::wstring& targetPath)
{
    const CInstallOptions& options = CInstallOptions::Instance();
    const std::wstring parameters = MakeHandOffParameters(options.GetInstallFolder(), options.IsDesktopShortcut());
    const HINSTANCE started =
        ShellExecuteW(nullptr, L"open", targetPath.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

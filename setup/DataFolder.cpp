#include "DataFolder.h"

#include "ShellFunctions.h"
#include "util/StringUtil.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <cwchar>

namespace {

constexpr wchar_t kProductName[] = L"Velmora";
constexpr wchar_t kLocalLeaf[] = L"\\Local";
constexpr size_t kMaxChainPath = 260;

} // namespace

std::wstring DataFolderFrom(const std::wstring& localAppData, const std::wstring& roamingAppData)
{
    const size_t leaf = std::wcslen(kLocalLeaf);
    if (localAppData.size() > leaf &&
        _wcsicmp(localAppData.c_str() + localAppData.size() - leaf, kLocalLeaf) == 0) {
        return localAppData.substr(0, localAppData.size() - leaf) + L"\\Roaming\\" + kProductName;
    }
    if (roamingAppData.empty())
        return {};
    return roamingAppData + L"\\" + kProductName;
}

std::wstring GetDataFolder()
{
    return DataFolderFrom(GetSpecialFolder(CSIDL_LOCAL_APPDATA), GetSpecialFolder(CSIDL_APPDATA));
}

std::wstring PrepareDataFolder()
{
    std::wstring folder = GetDataFolder();
    if (!folder.empty())
        CreateDirectoryChain(folder);
    return folder;
}

bool CreateDirectoryChain(const std::wstring& path)
{
    if (path.empty() || path.size() > kMaxChainPath)
        return false;
    const auto ensure = [](const std::wstring& folder) {
        return PathFileExistsW(folder.c_str()) || CreateDirectoryW(folder.c_str(), nullptr);
    };
    for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        if (!ensure(path.substr(0, at + 1)))
            return false;
    }
    return ZVCore::EndsWith(path, L"\\") || ensure(path);
}

std::wstring MakeDownloadTarget(const std::wstring& dataFolder)
{
    // Without a folder the name would land at the root of the current drive.
    if (dataFolder.empty())
        return {};
    GUID guid = {};
    if (FAILED(CoCreateGuid(&guid)))
        return {};
    wchar_t digits[33] = {};
    swprintf(digits, 33, L"%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", static_cast<unsigned long>(guid.Data1),
             guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
             guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    std::wstring target = dataFolder + L"\\" + digits + L".exe";
    // The download cannot write a longer name.
    if (target.size() >= MAX_PATH)
        return {};
    return target;
}

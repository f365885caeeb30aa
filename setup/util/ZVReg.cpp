#include "util/ZVReg.h"

#include "util/CodePage.h"
#include "util/SystemInfo.h"
#include "util/ZVLog.h"
#include "util/ZVReg2.h"

#include <cstring>
#include <utility>
#include <vector>

namespace ZVCore {

namespace {

constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kUninstallKeyWow64[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kDisplayName[] = L"Tessaly";
constexpr wchar_t kDisplayVersion[] = L"12.0.0.0";
constexpr wchar_t kPublisher[] = L"Velmora Software";
// The key path really begins with the root's name, so the key sits one level deeper than it reads.
constexpr wchar_t kMachineIdKey[] = L"HKEY_LOCAL_MACHINE\\Software\\zv";
constexpr wchar_t kMachineIdValue[] = L"zv_zv_this";

// The view a 32-bit program sees without asking for one.
constexpr REGSAM kDefaultView =
#ifdef _WIN64
    KEY_WOW64_32KEY;
#else
    0;
#endif

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

struct KeyHandle {
    HKEY key = nullptr;
    ~KeyHandle()
    {
        if (key)
            RegCloseKey(key);
    }
};

} // namespace

std::wstring GetUninstallKeyPath()
{
    return IsOn64BitWindows() ? kUninstallKeyWow64 : kUninstallKey;
}

std::wstring GetUninstallEntryPath()
{
    return GetUninstallKeyPath() + L"\\" + kUninstallProductId;
}

bool WriteUninstallEntry(const std::wstring& installFolder)
{
    return WriteUninstallEntry(installFolder, [](ZVReg2& key, const wchar_t* name, const std::wstring& data) {
        return key.SetString(name, data);
    });
}

bool WriteUninstallEntry(const std::wstring& installFolder, const UninstallValueWriter& write)
{
    ZVReg2 key;
    if (key.Create(HKEY_LOCAL_MACHINE, GetUninstallEntryPath(), KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return false;
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"DisplayName", kDisplayName},
        {L"DisplayIcon", installFolder + L"\\ZVApp.exe"},
        {L"UninstallString", installFolder + L"\\ZVUnInstall.exe"},
        {L"InstallLocation", installFolder},
        {L"DisplayVersion", kDisplayVersion},
        {L"Publisher", kPublisher},
    };
    // Every value is tried; a half-written entry is still a failure.
    bool all = true;
    for (const auto& value : values)
        all = write(key, value.first, value.second) == ERROR_SUCCESS && all;
    return all;
}

void RemoveUninstallEntry()
{
    ZVReg2 entry;
    if (entry.Open(HKEY_LOCAL_MACHINE, GetUninstallEntryPath()) == ERROR_SUCCESS) {
        for (const wchar_t* name : {L"DisplayName", L"DisplayIcon", L"UninstallString", L"InstallLocation"})
            entry.DeleteValue(name);
    }
    ZVReg2 uninstall;
    if (uninstall.Open(HKEY_LOCAL_MACHINE, GetUninstallKeyPath()) == ERROR_SUCCESS)
        uninstall.DeleteValue(kUninstallProductId);
}

std::wstring RegReadString(HKEY root, const std::wstring& subKey, const wchar_t* valueName, DWORD* type)
{
    KeyHandle handle;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | kDefaultView, &handle.key) != ERROR_SUCCESS)
        return {};
    DWORD size = 0;
    DWORD found = REG_NONE;
    const std::string name = WideToCodePage(valueName ? valueName : L"", CP_ACP);
    const LONG sized = RegQueryValueExA(handle.key, name.c_str(), nullptr, &found, nullptr, &size);
    if (type != nullptr)
        *type = found;
    // A number or binary data is no text, whatever its bytes spell.
    if (sized != ERROR_SUCCESS || !IsStringType(found))
        return {};
    // One byte more than stored and zeroed: a value written without its zero still ends.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    if (RegQueryValueExA(handle.key, name.c_str(), nullptr, &found, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS ||
        !IsStringType(found))
        return {};
    return CodePageToWide(std::string(buffer.data()), CP_ACP);
}

bool CZVReg::RegWrite(HKEY root, const std::wstring& subKey, const wchar_t* valueName, DWORD type, const char* text)
{
    if (text == nullptr)
        return false;
    KeyHandle handle;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | kDefaultView,
                        nullptr, &handle.key, nullptr) != ERROR_SUCCESS)
        return false;
    // Strings keep their terminating zero, so every reader finds where they end.
    const size_t length = std::strlen(text) + (IsStringType(type) ? 1 : 0);
    if (RegSetValueExA(handle.key, WideToCodePage(valueName ? valueName : L"", CP_ACP).c_str(), 0, type,
                       reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(length)) != ERROR_SUCCESS) {
        LogFormat(L"%ls %ls 注册表写入失败!", L"..\\ZVCore\\inner\\ZVReg", L"CZVReg::RegWrite");
        return false;
    }
    return true;
}

std::wstring GetMachineId()
{
    return RegReadString(HKEY_LOCAL_MACHINE, kMachineIdKey, kMachineIdValue, nullptr);
}

bool SetMachineId(const std::wstring& id)
{
    return CZVReg::RegWrite(HKEY_LOCAL_MACHINE, kMachineIdKey, kMachineIdValue, REG_SZ,
                            WideToCodePage(id, CP_ACP).c_str());
}

} // namespace ZVCore

// Registry values of the utility module: ANSI string values, the machine id and the Uninstall entry.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ZVCore {

class ZVReg2;

// The product's key name under the Uninstall key.
constexpr wchar_t kUninstallProductId[] = L"{C29B7D35-E26D-4CCA-B1DE-015767AD7C4C}";

// HKLM-relative Uninstall key: the Wow6432Node one on 64-bit Windows.
[[nodiscard]] std::wstring GetUninstallKeyPath();
// The product's entry below it.
[[nodiscard]] std::wstring GetUninstallEntryPath();

// Writes DisplayName, DisplayIcon, UninstallString, InstallLocation, DisplayVersion and Publisher
// for installFolder; false when the key cannot be created or any value failed (a failed value
// does not stop the others).
bool WriteUninstallEntry(const std::wstring& installFolder);
// The same with each value written through write, which returns the registry's result code.
using UninstallValueWriter = std::function<LONG(ZVReg2& key, const wchar_t* name, const std::wstring& data)>;
bool WriteUninstallEntry(const std::wstring& installFolder, const UninstallValueWriter& write);
// Deletes the entry's four path and name values (the version and publisher stay).
void RemoveUninstallEntry();

// A string value (REG_SZ or REG_EXPAND_SZ) read as ANSI bytes and converted to wide text; empty
// for a value of another type and on any failure. type, when given, receives the value's type.
[[nodiscard]] std::wstring RegReadString(HKEY root, const std::wstring& subKey, const wchar_t* valueName,
                                         DWORD* type);

class CZVReg {
public:
    // Creates or opens the key and writes text's bytes with the given type (string types with their
    // terminating zero). A failed write is logged; false when the key or the value fails.
    static bool RegWrite(HKEY root, const std::wstring& subKey, const wchar_t* valueName, DWORD type,
                         const char* text);
};

// The machine id kept under HKLM in the ANSI code page.
[[nodiscard]] std::wstring GetMachineId();
bool SetMachineId(const std::wstring& id);

} // namespace ZVCore

// An owned registry key: open or create, read and write values; results are registry error codes.
#pragma once

#include <windows.h>

#include <string>

namespace ZVCore {

class ZVReg2 {
public:
    ZVReg2() = default;
    virtual ~ZVReg2() { Close(); }
    ZVReg2(const ZVReg2&) = delete;
    ZVReg2& operator=(const ZVReg2&) = delete;

    // Set-value access in the 64-bit view on 64-bit Windows, else in the 32-bit view.
    LONG Open(HKEY root, const std::wstring& subKey);
    // Creates or opens the key. The 64-bit build adds the 32-bit view, the one a 32-bit program
    // sees by default, so both builds land on the same key.
    LONG Create(HKEY root, const std::wstring& subKey, REGSAM access);
    void Close();

    LONG DeleteValue(const wchar_t* name);
    // The out values are set only on success; a value of another type fails with
    // ERROR_UNSUPPORTED_TYPE.
    LONG QueryDword(const wchar_t* name, DWORD& value);
    // REG_SZ or REG_EXPAND_SZ of up to 512 bytes; a longer value fails with ERROR_MORE_DATA.
    LONG QueryString(const wchar_t* name, std::wstring& value);
    LONG QueryValue(const wchar_t* name, void* buffer, DWORD& size);
    // REG_SZ with its terminating zero.
    LONG SetString(const wchar_t* name, const std::wstring& text);
    LONG SetDword(const wchar_t* name, DWORD value);
    LONG SetBinary(const wchar_t* name, const void* data, DWORD size);

    [[nodiscard]] HKEY GetHandle() const { return m_key; }
    [[nodiscard]] const std::wstring& GetSubKey() const { return m_subKey; }

private:
    std::wstring m_subKey;
    HKEY m_key = nullptr;
};

} // namespace ZVCore

#include "util/ZVReg2.h"

#include "util/SystemInfo.h"

namespace ZVCore {

namespace {

constexpr DWORD kStringBytes = 512;

} // namespace

LONG ZVReg2::Open(HKEY root, const std::wstring& subKey)
{
    Close();
    const REGSAM view = IsOn64BitWindows() ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    return RegOpenKeyExW(root, subKey.c_str(), 0, KEY_SET_VALUE | view, &m_key);
}

LONG ZVReg2::Create(HKEY root, const std::wstring& subKey, REGSAM access)
{
    Close();
    m_subKey = subKey;
#ifdef _WIN64
    access |= KEY_WOW64_32KEY;
#endif
    return RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_key,
                           nullptr);
}

void ZVReg2::Close()
{
    if (m_key != nullptr) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

LONG ZVReg2::DeleteValue(const wchar_t* name)
{
    return RegDeleteValueW(m_key, name);
}

LONG ZVReg2::QueryDword(const wchar_t* name, DWORD& value)
{
    DWORD data = 0;
    DWORD size = sizeof(data);
    DWORD type = REG_NONE;
    LONG result = RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    // Four bytes of binary data or text are no number.
    if (result == ERROR_SUCCESS && type != REG_DWORD)
        result = ERROR_UNSUPPORTED_TYPE;
    if (result == ERROR_SUCCESS)
        value = data;
    return result;
}

LONG ZVReg2::QueryString(const wchar_t* name, std::wstring& value)
{
    // One character more than the registry may fill: a value stored without its zero still ends.
    wchar_t buffer[kStringBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kStringBytes;
    DWORD type = REG_NONE;
    LONG result = RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    // A number or binary data is no text, whatever its bytes spell.
    if (result == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ)
        result = ERROR_UNSUPPORTED_TYPE;
    if (result == ERROR_SUCCESS)
        value = buffer;
    return result;
}

LONG ZVReg2::QueryValue(const wchar_t* name, void* buffer, DWORD& size)
{
    return RegQueryValueExW(m_key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &size);
}

LONG ZVReg2::SetString(const wchar_t* name, const std::wstring& text)
{
    return RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG ZVReg2::SetDword(const wchar_t* name, DWORD value)
{
    return RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG ZVReg2::SetBinary(const wchar_t* name, const void* data, DWORD size)
{
    return RegSetValueExW(m_key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

} // namespace ZVCore

#pragma once
// Readers of attribute values shared by the controls of ui/controls and ui/extra.

#include <windows.h>

#include <cwchar>

namespace ZvUI {
namespace attr {

// Attribute names compared without regard to case.
inline bool IsName(LPCWSTR name, LPCWSTR key)
{
    return _wcsicmp(name, key) == 0;
}

// Booleans are "true" in any case; anything else is false.
inline bool IsTrue(LPCWSTR value)
{
    return _wcsicmp(value, L"true") == 0;
}

// Hexadecimal ARGB with one optional leading "#".
inline DWORD ParseColor(LPCWSTR value)
{
    if (*value == L'#')
        ++value;
    return static_cast<DWORD>(wcstoul(value, nullptr, 16));
}

// Four decimals, each after one separator character, never past the terminator.
inline RECT ParseRect(LPCWSTR value)
{
    LONG parts[4] = {0, 0, 0, 0};
    LPCWSTR p = value;
    for (LONG& part : parts) {
        LPWSTR end = nullptr;
        part = wcstol(p, &end, 10);
        p = *end != L'\0' ? end + 1 : end;
    }
    return RECT{parts[0], parts[1], parts[2], parts[3]};
}

} // namespace attr
} // namespace ZvUI

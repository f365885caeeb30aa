// Readers of attribute values.
#include "utils/UIAttributeValues.h"

#include <cwchar>

namespace ZvUI {
namespace attr {

namespace {

// Reads count decimals; after each one exactly one separator character is stepped over, but
// never the terminator, so the numbers after it read as 0.
void ReadLongs(LPCWSTR value, LONG* out, int count)
{
    LPCWSTR p = value != nullptr ? value : L"";
    for (int i = 0; i < count; ++i) {
        LPWSTR end = nullptr;
        out[i] = std::wcstol(p, &end, 10);
        p = *end != L'\0' ? end + 1 : end;
    }
}

DWORD ReadHex(LPCWSTR value)
{
    if (*value == L'#')
        ++value;
    return static_cast<DWORD>(std::wcstoul(value, nullptr, 16));
}

} // namespace

bool Is(LPCWSTR name, LPCWSTR key)
{
    return name != nullptr && key != nullptr && _wcsicmp(name, key) == 0;
}

bool IsTrue(LPCWSTR value)
{
    return value != nullptr && _wcsicmp(value, L"true") == 0;
}

int ParseInt(LPCWSTR value)
{
    return value != nullptr ? static_cast<int>(std::wcstol(value, nullptr, 10)) : 0;
}

DWORD ParseColor(LPCWSTR value)
{
    if (value == nullptr)
        return 0;
    while (*value != L'\0' && *value <= L' ')
        ++value;
    return ReadHex(value);
}

DWORD ParseColorNoBlanks(LPCWSTR value)
{
    return value != nullptr ? ReadHex(value) : 0;
}

RECT ParseRect(LPCWSTR value)
{
    LONG parts[4] = {0, 0, 0, 0};
    ReadLongs(value, parts, 4);
    return RECT{parts[0], parts[1], parts[2], parts[3]};
}

SIZE ParseSize(LPCWSTR value)
{
    LONG parts[2] = {0, 0};
    ReadLongs(value, parts, 2);
    return SIZE{parts[0], parts[1]};
}

} // namespace attr
} // namespace ZvUI

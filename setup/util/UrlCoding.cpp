#include "UrlCoding.h"

#include "CodePage.h"

#include <windows.h>

#include <cstring>

namespace ZVCore {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Characters whose escape is left as it stands when decoding.
bool KeepsEscape(unsigned char v)
{
    if ((v >= '0' && v <= '9') || (v >= 'a' && v <= 'z') || (v >= 'A' && v <= 'Z'))
        return true;
    return v != 0 && std::strchr("!$&'()*+,-./:;=?@_", v) != nullptr;
}

} // namespace

std::string UrlEncode(const std::string& bytes)
{
    std::string result;
    result.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x21 && b <= 0x7E) {
            result += ch;
        } else if (b == 0x20) {
            result += '+';
        } else {
            result += '%';
            result += kHexDigits[b >> 4];
            result += kHexDigits[b & 0x0F];
        }
    }
    return result;
}

std::wstring UrlEncodeWide(const std::wstring& text)
{
    return CodePageToWide(UrlEncode(WideToCodePage(text, CP_UTF8)), CP_UTF8);
}

std::string UrlDecode(const std::string& bytes)
{
    std::string result;
    result.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char ch = bytes[i];
        if (ch == '%' && i + 2 < bytes.size() && HexValue(bytes[i + 1]) >= 0 && HexValue(bytes[i + 2]) >= 0) {
            const auto v = static_cast<unsigned char>(HexValue(bytes[i + 1]) * 16 + HexValue(bytes[i + 2]));
            if (KeepsEscape(v)) {
                result += '%'; // the two digits follow as ordinary characters
            } else {
                result += static_cast<char>(v);
                i += 2;
            }
        } else if (ch == '+') {
            result += ' ';
        } else {
            result += ch;
        }
    }
    return result;
}

} // namespace ZVCore

#include "StringUtil.h"

#include <cctype>

namespace ZVCore {

namespace {

bool IsSpace(wchar_t c)
{
    // isspace is only defined for unsigned char values.
    return c < 0x80 && std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return prefix.size() <= text.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return prefix.size() <= text.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::wstring& text, const std::wstring& suffix)
{
    return suffix.size() <= text.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return suffix.size() <= text.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

bool IsDigitChar(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool IsLowerChar(wchar_t c)
{
    return c >= L'a' && c <= L'z';
}

bool IsUpperChar(wchar_t c)
{
    return c >= L'A' && c <= L'Z';
}

wchar_t ToLowerChar(wchar_t c)
{
    return IsUpperChar(c) ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

wchar_t ToUpperChar(wchar_t c)
{
    return IsLowerChar(c) ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring TrimLeft(const std::wstring& text)
{
    size_t begin = 0;
    while (begin < text.size() && IsSpace(text[begin]))
        ++begin;
    return text.substr(begin);
}

std::wstring TrimRight(const std::wstring& text)
{
    size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::wstring Trim(const std::wstring& text)
{
    return TrimLeft(TrimRight(text));
}

std::wstring ReplaceAll(const std::wstring& text, const std::wstring& pattern, const std::wstring& replacement)
{
    if (pattern.empty())
        return text;
    std::wstring result;
    result.reserve(text.size());
    size_t from = 0;
    // Never searching inside an inserted replacement is what makes this end.
    for (size_t at = text.find(pattern); at != std::wstring::npos; at = text.find(pattern, from)) {
        result.append(text, from, at - from);
        result += replacement;
        from = at + pattern.size();
    }
    result.append(text, from, std::wstring::npos);
    return result;
}

std::vector<std::wstring> SplitString(const std::wstring& text, wchar_t delimiter)
{
    // Same pieces as reading a wide string stream with getline, without pulling the stream and
    // locale machinery into the program: a delimiter at the very end gives no empty last piece.
    std::vector<std::wstring> pieces;
    size_t from = 0;
    while (from < text.size()) {
        const size_t at = text.find(delimiter, from);
        if (at == std::wstring::npos) {
            pieces.push_back(text.substr(from));
            break;
        }
        pieces.push_back(text.substr(from, at - from));
        from = at + 1;
    }
    return pieces;
}

} // namespace ZVCore

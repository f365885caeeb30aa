// Wide-character string with a small inline buffer.

#include "utils/UIString.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace ZvUI {

namespace {

constexpr size_t HeapBytes(int length)
{
    return 2 * static_cast<size_t>(length) + 2;
}

bool PointsInto(LPCWSTR p, LPCWSTR begin, int length)
{
    return p >= begin && p <= begin + length;
}

} // namespace

CUIString::CUIString() = default;

CUIString::CUIString(wchar_t ch)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
}

CUIString::CUIString(const CUIString& src)
{
    Assign(src.m_pstr, -1);
}

CUIString::CUIString(LPCWSTR text, int length)
{
    Assign(text, length);
}

CUIString::~CUIString()
{
    if (!IsInline()) {
        free(m_pstr);
    }
}

// --- assignment ---

int CUIString::Assign(LPCWSTR text, int length)
{
    if (text == nullptr) {
        text = L"";
    }
    if (length < 0) {
        length = static_cast<int>(wcslen(text));
    }
    const int copied = static_cast<int>(wcsnlen(text, static_cast<size_t>(length)));

    if (length > kMaxInline) {
        if (IsInline()) {
            auto* block = static_cast<LPWSTR>(malloc(HeapBytes(length)));
            if (block == nullptr) {
                return GetLength();
            }
            wmemcpy(block, text, static_cast<size_t>(copied));
            m_pstr = block;
        } else if (GetLength() < length) {
            // A fresh block rather than realloc: text may point into the old one.
            auto* block = static_cast<LPWSTR>(malloc(HeapBytes(length)));
            if (block == nullptr) {
                return GetLength();
            }
            wmemcpy(block, text, static_cast<size_t>(copied));
            free(m_pstr);
            m_pstr = block;
        } else {
            wmemmove(m_pstr, text, static_cast<size_t>(copied));
        }
    } else if (!IsInline()) {
        wmemcpy(m_szBuffer, text, static_cast<size_t>(copied));
        free(m_pstr);
        m_pstr = m_szBuffer;
    } else {
        wmemmove(m_szBuffer, text, static_cast<size_t>(copied));
    }
    wmemset(m_pstr + copied, L'\0', static_cast<size_t>(length - copied));
    m_pstr[length] = L'\0';
    return length;
}

void CUIString::Empty()
{
    if (!IsInline()) {
        free(m_pstr);
    }
    m_pstr = m_szBuffer;
    m_szBuffer[0] = L'\0';
}

void CUIString::Append(LPCWSTR text)
{
    if (text == nullptr) {
        return;
    }
    const int current = GetLength();
    const int added = static_cast<int>(wcslen(text));
    const int total = current + added;
    // The text may be part of this string; keep its offset across a reallocation.
    const bool self = PointsInto(text, m_pstr, current);
    const ptrdiff_t offset = self ? text - m_pstr : 0;

    if (total > kMaxInline) {
        if (IsInline()) {
            auto* block = static_cast<LPWSTR>(malloc(HeapBytes(total)));
            if (block == nullptr) {
                return;
            }
            wmemcpy(block, m_szBuffer, static_cast<size_t>(current));
            m_pstr = block;
            if (self) {
                text = m_szBuffer + offset;
            }
        } else {
            auto* block = static_cast<LPWSTR>(realloc(m_pstr, HeapBytes(total)));
            if (block == nullptr) {
                return;
            }
            m_pstr = block;
            if (self) {
                text = m_pstr + offset;
            }
        }
        wmemmove(m_pstr + current, text, static_cast<size_t>(added));
    } else if (!IsInline()) {
        wmemcpy(m_szBuffer, m_pstr, static_cast<size_t>(current));
        wmemcpy(m_szBuffer + current, text, static_cast<size_t>(added));
        free(m_pstr);
        m_pstr = m_szBuffer;
    } else {
        wmemmove(m_szBuffer + current, text, static_cast<size_t>(added));
    }
    m_pstr[total] = L'\0';
}

CUIString& CUIString::operator=(const CUIString& src)
{
    Assign(src.m_pstr, -1);
    return *this;
}

CUIString& CUIString::operator=(LPCWSTR text)
{
    if (text == nullptr) {
        Empty();
    } else {
        Assign(text, -1);
    }
    return *this;
}

CUIString& CUIString::operator=(LPCSTR text)
{
    if (text == nullptr) {
        Empty();
        return *this;
    }
    const int size = static_cast<int>(strlen(text)) + 1;
    auto* wide = static_cast<LPWSTR>(calloc(static_cast<size_t>(size), sizeof(wchar_t)));
    if (wide == nullptr) {
        return *this;
    }
    MultiByteToWideChar(GetACP(), 0, text, -1, wide, size);
    Assign(wide, -1);
    free(wide);
    return *this;
}

CUIString& CUIString::operator=(wchar_t ch)
{
    Empty();
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
    return *this;
}

// --- concatenation ---

CUIString& CUIString::operator+=(const CUIString& src)
{
    Append(src.m_pstr);
    return *this;
}

CUIString& CUIString::operator+=(LPCWSTR text)
{
    if (text != nullptr) {
        Append(text);
    }
    return *this;
}

CUIString& CUIString::operator+=(LPCSTR text)
{
    if (text != nullptr) {
        CUIString wide;
        wide = text;
        Append(wide.m_pstr);
    }
    return *this;
}

CUIString& CUIString::operator+=(wchar_t ch)
{
    const wchar_t text[2] = {ch, L'\0'};
    Append(text);
    return *this;
}

CUIString CUIString::operator+(const CUIString& src) const
{
    CUIString result(*this);
    result.Append(src.m_pstr);
    return result;
}

CUIString CUIString::operator+(LPCWSTR text) const
{
    CUIString result(*this);
    if (text != nullptr) {
        result.Append(text);
    }
    return result;
}

// --- queries ---

int CUIString::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

int CUIString::Compare(LPCWSTR text) const
{
    return wcscmp(m_pstr, text != nullptr ? text : L"");
}

int CUIString::CompareNoCase(LPCWSTR text) const
{
    return _wcsicmp(m_pstr, text != nullptr ? text : L"");
}

void CUIString::MakeLower()
{
    _wcslwr(m_pstr);
}

void CUIString::MakeUpper()
{
    _wcsupr(m_pstr);
}

CUIString CUIString::ToLower() const
{
    CUIString result(*this);
    result.MakeLower();
    return result;
}

CUIString CUIString::ToUpper() const
{
    CUIString result(*this);
    result.MakeUpper();
    return result;
}

CUIString CUIString::Left(int n) const
{
    const int length = GetLength();
    if (n < 0) {
        n = 0;
    }
    if (n > length) {
        n = length;
    }
    return CUIString(m_pstr, n);
}

CUIString CUIString::Mid(int start, int n) const
{
    const int length = GetLength();
    if (start < 0) {
        start = 0;
    }
    if (start > length) {
        start = length;
    }
    if (n < 0 || n > length - start) {
        n = length - start;
    }
    if (n <= 0) {
        return CUIString();
    }
    return CUIString(m_pstr + start, n);
}

CUIString CUIString::Right(int n) const
{
    const int length = GetLength();
    if (n < 0) {
        n = 0;
    }
    if (n > length) {
        n = length;
    }
    return CUIString(m_pstr + length - n, n);
}

int CUIString::Find(LPCWSTR text, int start) const
{
    const int length = GetLength();
    if (text == nullptr || start < 0 || start > length) {
        return -1;
    }
    // Not wcsstr: some runtimes find no empty text in an empty one.
    const int textLength = static_cast<int>(wcslen(text));
    for (int i = start; i + textLength <= length; ++i) {
        if (wmemcmp(m_pstr + i, text, static_cast<size_t>(textLength)) == 0) {
            return i;
        }
    }
    return -1;
}

int CUIString::Find(wchar_t ch, int start) const
{
    const int length = GetLength();
    if (start < 0) {
        return -1;
    }
    for (int i = start; i < length; ++i) {
        if (m_pstr[i] == ch) {
            return i;
        }
    }
    return -1;
}

int CUIString::ReverseFind(wchar_t ch) const
{
    for (int i = GetLength() - 1; i >= 0; --i) {
        if (m_pstr[i] == ch) {
            return i;
        }
    }
    return -1;
}

int CUIString::Replace(LPCWSTR search, LPCWSTR replacement)
{
    // An empty search text would match at every position forever.
    if (search == nullptr || search[0] == L'\0') {
        return 0;
    }
    // Own copies: either text may be part of this string, which is reassigned below.
    const CUIString what(search);
    const CUIString with(replacement);
    const int whatLength = what.GetLength();
    const int withLength = with.GetLength();

    // One pass into a new text: rebuilding the whole string per match made long skin values
    // with many matches quadratic. The replacement text is never searched again.
    std::wstring out;
    int count = 0;
    const int length = GetLength();
    int copied = 0;
    for (int pos = 0; pos + whatLength <= length;) {
        if (wmemcmp(m_pstr + pos, what.GetData(), static_cast<size_t>(whatLength)) != 0) {
            ++pos;
            continue;
        }
        if (count++ == 0)
            out.reserve(static_cast<size_t>(length));
        out.append(m_pstr + copied, static_cast<size_t>(pos - copied));
        out.append(with.GetData(), static_cast<size_t>(withLength));
        pos += whatLength;
        copied = pos;
    }
    if (count == 0) {
        return 0;
    }
    out.append(m_pstr + copied, static_cast<size_t>(length - copied));
    Assign(out.c_str(), static_cast<int>(out.size()));
    return count;
}

// --- formatting ---

int CUIString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = FormatV(format, args);
    va_end(args);
    return result;
}

int CUIString::FormatV(LPCWSTR format, va_list args)
{
    if (format == nullptr) {
        return -1;
    }
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length < 0) {
        return -1;
    }
    auto* buffer = static_cast<LPWSTR>(calloc(static_cast<size_t>(length) + 1, sizeof(wchar_t)));
    if (buffer == nullptr) {
        return -1;
    }
    va_list output;
    va_copy(output, args);
    const int written = _vsnwprintf(buffer, static_cast<size_t>(length) + 1, format, output);
    va_end(output);
    if (written < 0) {
        free(buffer);
        return -1;
    }
    Assign(buffer, -1);
    free(buffer);
    return length;
}

int CUIString::FormatShort(LPCWSTR format, ...)
{
    if (format == nullptr) {
        return -1;
    }
    // The format may be this string's own text.
    const CUIString pattern(format);
    wchar_t buffer[64] = {};

    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(pattern, measure);
    va_end(measure);
    if (length >= 0) {
        // msvcrt leaves no terminator when it cuts; the zero-filled last slot stays.
        _vsnwprintf(buffer, 63, pattern, args);
    }
    va_end(args);
    if (length < 0) {
        return -1;
    }
    return Assign(buffer, -1);
}

} // namespace ZvUI

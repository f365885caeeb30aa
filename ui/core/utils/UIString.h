#pragma once
// Wide-character string with a small inline buffer; texts of up to 62 characters never touch the heap.

#include <windows.h>
#include <cstdarg>

namespace ZvUI {

class CUIString {
public:
    // Texts longer than this live in a malloc block of 2*length+2 bytes.
    static constexpr int kMaxInline = 62;

    CUIString();
    explicit CUIString(wchar_t ch);
    CUIString(const CUIString& src);
    // Implicit on purpose: a wide text passes wherever a CUIString is expected.
    CUIString(LPCWSTR text, int length = -1);
    ~CUIString();

    // Returns the length used; a null text assigns the empty string.
    int Assign(LPCWSTR text, int length = -1);
    void Empty();
    void Append(LPCWSTR text);

    CUIString& operator=(const CUIString& src);
    CUIString& operator=(LPCWSTR text);
    CUIString& operator=(LPCSTR text);
    CUIString& operator=(wchar_t ch);

    CUIString& operator+=(const CUIString& src);
    CUIString& operator+=(LPCWSTR text);
    CUIString& operator+=(LPCSTR text);
    CUIString& operator+=(wchar_t ch);

    CUIString operator+(const CUIString& src) const;
    CUIString operator+(LPCWSTR text) const;

    LPCWSTR GetData() const { return m_pstr; }
    LPCWSTR GetText() const { return m_pstr; }
    operator LPCWSTR() const { return m_pstr; }

    int GetLength() const;
    bool IsEmpty() const { return m_pstr[0] == L'\0'; }

    // No bounds checks: the caller passes a valid index.
    wchar_t GetAt(int index) const { return m_pstr[index]; }
    wchar_t operator[](int index) const { return m_pstr[index]; }
    void SetAt(int index, wchar_t ch) { m_pstr[index] = ch; }

    int Compare(LPCWSTR text) const;
    int CompareNoCase(LPCWSTR text) const;
    bool operator==(LPCWSTR text) const { return Compare(text) == 0; }
    bool operator!=(LPCWSTR text) const { return Compare(text) != 0; }
    bool operator<(LPCWSTR text) const { return Compare(text) < 0; }
    bool operator<=(LPCWSTR text) const { return Compare(text) <= 0; }
    bool operator>(LPCWSTR text) const { return Compare(text) > 0; }
    bool operator>=(LPCWSTR text) const { return Compare(text) >= 0; }

    void MakeLower();
    void MakeUpper();
    CUIString ToLower() const;
    CUIString ToUpper() const;

    CUIString Left(int n) const;
    CUIString Mid(int start, int n = -1) const;
    CUIString Right(int n) const;

    int Find(LPCWSTR text, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    // Returns the number of replacements; an empty search text replaces nothing.
    int Replace(LPCWSTR search, LPCWSTR replacement);

    // printf-style with the platform's wide conventions (%s takes a wide text).
    int Format(LPCWSTR format, ...);
    int FormatV(LPCWSTR format, va_list args);
    // Output is cut at 63 characters; meant for short modifier texts.
    int FormatShort(LPCWSTR format, ...);

private:
    bool IsInline() const { return m_pstr == m_szBuffer; }

    LPWSTR m_pstr = m_szBuffer;
    wchar_t m_szBuffer[kMaxInline + 2] = {};
};

} // namespace ZvUI

#pragma once
// Single-pass, in-place parser for the skin's layout and resource markup.

#include <windows.h>

#include "xml/XmlNode.h"

namespace ZvUI {

// One element of the flat table; offsets count characters from the start of the text,
// links are table indices with 0 meaning none.
struct XmlElement {
    ULONG name;
    ULONG child;
    ULONG next;
    ULONG parent;
    ULONG data;
};

class CXmlDocument {
public:
    // Values of the encoding argument of LoadFromMem and LoadFromFile; any value other
    // than UTF-8 and ANSI means UTF-16 with a byte-order mark.
    static constexpr int kEncodingUtf8 = 0;
    static constexpr int kEncodingUtf16 = 1;
    static constexpr int kEncodingAnsi = 2;
    // Files and archive items above this many bytes are refused.
    static constexpr DWORD kMaxFileSize = 4 * 1024 * 1024;

    explicit CXmlDocument(LPCWSTR text = nullptr);
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;
    ~CXmlDocument();

    [[nodiscard]] bool Load(LPCWSTR text);
    // The bytes stay untouched: a big-endian input is swapped in the document's own copy.
    [[nodiscard]] bool LoadFromMem(const BYTE* data, DWORD size, int encoding = kEncodingUtf8);
    // Reads name under the resource folder, or the item of that name in the skin archive.
    [[nodiscard]] bool LoadFromFile(LPCWSTR name, int encoding = kEncodingUtf8);
    // Drops text and elements; the error texts stay.
    void Release();

    bool IsValid() const { return m_pElements != nullptr; }
    void SetPreserveWhitespace(bool preserve) { m_bPreserveWhitespace = preserve; }
    CXmlNode GetRoot();

    // Both copy at most count - 1 characters and always terminate (nothing for count <= 0).
    void GetLastErrorMessage(LPWSTR message, int count) const;
    void GetLastErrorLocation(LPWSTR location, int count) const;

private:
    friend class CXmlNode;

    bool TakeText(LPWSTR text);
    bool Parse();
    bool ParseElements();
    bool ParseAttributes(LPWSTR& pstr);
    void ParseData(LPWSTR& pstr, LPWSTR& pstrEnd, wchar_t stop);
    void SkipDeclaration(LPWSTR& pstr);
    bool ReserveElement(ULONG& index);
    bool Fail(LPCWSTR message, LPCWSTR location);
    void SetError(LPCWSTR message);
    ULONG Offset(LPCWSTR p) const { return static_cast<ULONG>(p - m_pstrXml); }

    LPWSTR m_pstrXml = nullptr;
    XmlElement* m_pElements = nullptr;
    int m_nElements = 0;
    int m_nReservedElements = 0;
    wchar_t m_szErrorMsg[100] = {};
    wchar_t m_szErrorXml[50] = {};
    bool m_bPreserveWhitespace = true;
};

} // namespace ZvUI

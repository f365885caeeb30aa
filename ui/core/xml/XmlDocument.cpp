// Single-pass, in-place parser for the skin's layout and resource markup.

#include "xml/XmlDocument.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <memory>
#include <new>

#include "utils/UIConvert.h"
#include "xml/XmlResourceHooks.h"

namespace ZvUI {

namespace {

constexpr DWORD kZipMoreData = 0x600;
constexpr int kMaxErrorMessage = 99;
constexpr int kMaxErrorLocation = 49;

bool IsSpace(wchar_t c)
{
    return c >= 1 && c <= 32;
}

bool IsIdentifier(wchar_t c)
{
    return c != L'\0' && (std::iswalnum(c) || c == L'_' || c == L':');
}

// CharNextW stops at the terminator; the guard keeps a loop moving should it ever stall.
LPWSTR Next(LPWSTR p)
{
    if (*p == L'\0') {
        return p;
    }
    LPWSTR next = ::CharNextW(p);
    return next > p ? next : p + 1;
}

void SkipWhitespace(LPWSTR& p)
{
    while (IsSpace(*p)) {
        p = Next(p);
    }
}

LPWSTR IdentifierEnd(LPWSTR p)
{
    while (IsIdentifier(*p)) {
        ++p;
    }
    return p;
}

// Copies at most count - 1 characters and terminates; nothing at all for count <= 0.
void CopyTerminated(LPWSTR target, int count, LPCWSTR source)
{
    if (target == nullptr || count <= 0) {
        return;
    }
    int i = 0;
    for (; i < count - 1 && source[i] != L'\0'; ++i) {
        target[i] = source[i];
    }
    target[i] = L'\0';
}

struct FileCloser {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, FileCloser>;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using WideBuffer = std::unique_ptr<wchar_t, FreeDeleter>;

LPWSTR AllocateText(size_t chars)
{
    return static_cast<LPWSTR>(std::malloc((chars + 1) * sizeof(wchar_t)));
}

} // namespace

// --- loading ---

CXmlDocument::CXmlDocument(LPCWSTR text)
{
    if (text != nullptr) {
        (void)Load(text);
    }
}

CXmlDocument::~CXmlDocument()
{
    Release();
}

void CXmlDocument::Release()
{
    std::free(m_pstrXml);
    m_pstrXml = nullptr;
    std::free(m_pElements);
    m_pElements = nullptr;
    m_nElements = 0;
    m_nReservedElements = 0;
}

bool CXmlDocument::Load(LPCWSTR text)
{
    Release();
    if (text == nullptr) {
        SetError(L"");
        return false;
    }
    const size_t length = std::wcslen(text);
    LPWSTR copy = AllocateText(length);
    if (copy == nullptr) {
        SetError(L"Out of memory");
        return false;
    }
    std::memcpy(copy, text, (length + 1) * sizeof(wchar_t));
    return TakeText(copy);
}

bool CXmlDocument::LoadFromMem(const BYTE* data, DWORD size, int encoding)
{
    Release();
    if (data == nullptr) {
        size = 0;
    }
    LPWSTR text = nullptr;
    if (encoding == kEncodingUtf8 || encoding == kEncodingAnsi) {
        const UINT codePage = encoding == kEncodingUtf8 ? CP_UTF8 : CP_ACP;
        if (encoding == kEncodingUtf8 && size > 2 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
            data += 3;
            size -= 3;
        }
        if (size > static_cast<DWORD>(INT_MAX)) {
            SetError(L"File too large");
            return false;
        }
        const auto bytes = reinterpret_cast<LPCSTR>(data);
        const int chars = size == 0 ? 0 : ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
        text = AllocateText(static_cast<size_t>(chars));
        if (text == nullptr) {
            SetError(L"Out of memory");
            return false;
        }
        if (chars > 0) {
            ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), text, chars);
        }
        text[chars] = L'\0';
    } else {
        const bool little = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
        const bool big = size >= 2 && data[0] == 0xFE && data[1] == 0xFF;
        if (!little && !big) {
            SetError(L"");
            return false;
        }
        const size_t chars = size / 2 - 1;
        text = AllocateText(chars);
        if (text == nullptr) {
            SetError(L"Out of memory");
            return false;
        }
        std::memcpy(text, data + 2, chars * sizeof(wchar_t));
        if (big) {
            // Swap the document's copy only: the caller's bytes may be read-only or reused.
            for (size_t i = 0; i < chars; ++i) {
                const auto c = static_cast<unsigned short>(text[i]);
                text[i] = static_cast<wchar_t>((c >> 8) | (c << 8));
            }
        }
        text[chars] = L'\0';
    }
    return TakeText(text);
}

bool CXmlDocument::LoadFromFile(LPCWSTR name, int encoding)
{
    Release();
    if (name == nullptr) {
        SetError(L"Error opening file");
        return false;
    }
    const XmlResourceHooks& hooks = GetXmlResourceHooks();
    const CUIString folder = hooks.GetResourceFolder != nullptr ? hooks.GetResourceFolder() : CUIString();
    const CUIString archive = hooks.GetResourceArchive != nullptr ? hooks.GetResourceArchive() : CUIString();

    std::unique_ptr<BYTE[]> bytes;
    DWORD size = 0;
    if (archive.IsEmpty()) {
        const CUIString path = folder + name;
        FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            file.release();
            SetError(L"Error opening file");
            return false;
        }
        LARGE_INTEGER fileSize = {};
        if (!::GetFileSizeEx(file.get(), &fileSize)) {
            SetError(L"Could not read file");
            return false;
        }
        if (fileSize.QuadPart == 0) {
            SetError(L"File is empty");
            return false;
        }
        if (fileSize.QuadPart > kMaxFileSize) {
            SetError(L"File too large");
            return false;
        }
        size = static_cast<DWORD>(fileSize.QuadPart);
        bytes.reset(new (std::nothrow) BYTE[size]);
        if (!bytes) {
            SetError(L"Out of memory");
            return false;
        }
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.get(), size, &read, nullptr) || read < size) {
            SetError(L"Could not read file");
            return false;
        }
    } else {
        void* zip = nullptr;
        const bool cached = hooks.IsResourceArchiveCached != nullptr && hooks.IsResourceArchiveCached();
        if (cached) {
            zip = hooks.GetResourceArchiveHandle != nullptr ? hooks.GetResourceArchiveHandle() : nullptr;
        } else if (hooks.ZipOpenFile != nullptr) {
            const CUIString password =
                hooks.GetResourceArchivePassword != nullptr ? hooks.GetResourceArchivePassword() : CUIString();
            std::unique_ptr<char[]> narrow(UnicodeToMultiByte(password, CP_ACP));
            zip = hooks.ZipOpenFile(folder + archive, narrow.get());
        }
        if (zip == nullptr) {
            SetError(L"Error opening zip file");
            return false;
        }
        // A cached archive belongs to the resource settings; one opened here is closed here.
        struct ZipCloser {
            void* zip;
            bool owned;
            void (*close)(void*);
            ~ZipCloser()
            {
                if (owned && close != nullptr) {
                    close(zip);
                }
            }
        } closer{zip, !cached, hooks.ZipClose};

        CUIString item(name);
        item.Replace(L"\\", L"/");
        int index = -1;
        if (hooks.ZipFindItem == nullptr || !hooks.ZipFindItem(zip, item, &index, &size)) {
            SetError(L"Could not find ziped file");
            return false;
        }
        if (size == 0) {
            SetError(L"File is empty");
            return false;
        }
        if (size > kMaxFileSize) {
            SetError(L"File too large");
            return false;
        }
        bytes.reset(new (std::nothrow) BYTE[size]);
        if (!bytes) {
            SetError(L"Out of memory");
            return false;
        }
        const DWORD result = hooks.ZipUnzipToMemory != nullptr
                                 ? hooks.ZipUnzipToMemory(zip, index, bytes.get(), size)
                                 : ~DWORD(0);
        if (result != 0 && result != kZipMoreData) {
            SetError(L"Could not unzip file");
            return false;
        }
    }
    return LoadFromMem(bytes.get(), size, encoding);
}

bool CXmlDocument::TakeText(LPWSTR text)
{
    m_pstrXml = text;
    if (!Parse()) {
        Release();
        return false;
    }
    return true;
}

CXmlNode CXmlDocument::GetRoot()
{
    return m_nElements > 1 ? CXmlNode(this, 1) : CXmlNode();
}

// --- errors ---

void CXmlDocument::SetError(LPCWSTR message)
{
    CopyTerminated(m_szErrorMsg, kMaxErrorMessage + 1, message);
    m_szErrorXml[0] = L'\0';
}

bool CXmlDocument::Fail(LPCWSTR message, LPCWSTR location)
{
    CopyTerminated(m_szErrorMsg, kMaxErrorMessage + 1, message);
    CopyTerminated(m_szErrorXml, kMaxErrorLocation + 1, location);
    return false;
}

void CXmlDocument::GetLastErrorMessage(LPWSTR message, int count) const
{
    CopyTerminated(message, count, m_szErrorMsg);
}

void CXmlDocument::GetLastErrorLocation(LPWSTR location, int count) const
{
    CopyTerminated(location, count, m_szErrorXml);
}

// --- parsing ---

bool CXmlDocument::ReserveElement(ULONG& index)
{
    if (m_nElements == 0) {
        m_nReservedElements = 0;
    }
    if (m_nElements >= m_nReservedElements) {
        const int capacity = m_nReservedElements + m_nReservedElements / 2 + 500;
        void* grown = std::realloc(m_pElements, static_cast<size_t>(capacity) * sizeof(XmlElement));
        if (grown == nullptr) {
            return false;
        }
        m_pElements = static_cast<XmlElement*>(grown);
        m_nReservedElements = capacity;
    }
    index = static_cast<ULONG>(m_nElements++);
    m_pElements[index] = XmlElement{};
    return true;
}

bool CXmlDocument::Parse()
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXml[0] = L'\0';
    ULONG placeholder = 0;
    if (!ReserveElement(placeholder)) {
        SetError(L"Out of memory");
        return false;
    }
    return ParseElements();
}

// Walks the nesting with the parent links of the table instead of recursion, so that no
// depth of nesting can exhaust the stack.
bool CXmlDocument::ParseElements()
{
    LPWSTR p = m_pstrXml;
    ULONG parent = 0;
    ULONG previous = 0;

    // Ends an element: its closing tag when it has content and one follows, then its name.
    auto closeElement = [&](ULONG element, bool hasContent) {
        LPWSTR name = m_pstrXml + m_pElements[element].name;
        LPWSTR nameEnd = IdentifierEnd(name);
        if (hasContent && p[0] == L'<' && p[1] == L'/') {
            *p = L'\0';
            p += 2;
            SkipWhitespace(p);
            const ptrdiff_t length = nameEnd - name;
            for (ptrdiff_t i = 0; i < length; ++i) {
                if (p[i] != name[i]) {
                    return Fail(L"Unmatched closing tag", p);
                }
            }
            p += length;
            SkipWhitespace(p);
            if (*p != L'>') {
                return Fail(L"Unmatched closing tag", p);
            }
            ++p;
        }
        *nameEnd = L'\0';
        SkipWhitespace(p);
        return true;
    };

    SkipWhitespace(p);
    for (;;) {
        // The text may end inside an unclosed top-level element or an unclosed child of the
        // first element; a closing tag belongs to the level above.
        bool levelDone = *p == L'\0' && parent <= 1;
        if (!levelDone) {
            SkipWhitespace(p);
            if (*p != L'<') {
                return Fail(L"Expected start tag", p);
            }
            levelDone = p[1] == L'/';
        }
        if (levelDone) {
            if (parent == 0) {
                return true;
            }
            const ULONG element = parent;
            parent = m_pElements[element].parent;
            previous = element;
            if (!closeElement(element, true)) {
                return false;
            }
            continue;
        }

        *p++ = L'\0'; // ends the text of the parent or of the previous sibling
        SkipWhitespace(p);
        if (*p == L'!' || *p == L'?') {
            SkipDeclaration(p);
            SkipWhitespace(p);
            continue;
        }

        SkipWhitespace(p);
        ULONG element = 0;
        if (!ReserveElement(element)) {
            return Fail(L"Out of memory", p);
        }
        m_pElements[element].name = Offset(p);
        m_pElements[element].parent = parent;
        if (previous != 0) {
            m_pElements[previous].next = element;
        } else if (parent != 0) {
            m_pElements[parent].child = element;
        }
        previous = element;

        p = IdentifierEnd(p);
        if (*p == L'\0') {
            return Fail(L"Error parsing element name", p);
        }
        if (!ParseAttributes(p)) {
            return false;
        }
        SkipWhitespace(p);
        const bool empty = p[0] == L'/' && p[1] == L'>';
        if (empty) {
            m_pElements[element].data = Offset(p);
            *p = L'\0';
            p += 2;
        } else {
            if (*p != L'>') {
                return Fail(L"Expected start-tag closing", p);
            }
            ++p;
            m_pElements[element].data = Offset(p);
            LPWSTR dataEnd = nullptr;
            ParseData(p, dataEnd, L'<');
            if (!(*p == L'\0' && parent <= 1)) {
                if (*p != L'<') {
                    return Fail(L"Expected end-tag start", p);
                }
                if (p[1] != L'/') {
                    parent = element;
                    previous = 0;
                    SkipWhitespace(p);
                    continue;
                }
            }
        }
        if (!closeElement(element, !empty)) {
            return false;
        }
    }
}

bool CXmlDocument::ParseAttributes(LPWSTR& p)
{
    if ((p[0] == L'/' && p[1] == L'>') || *p == L'>') {
        return true;
    }
    *p++ = L'\0';
    SkipWhitespace(p);
    for (;;) {
        if (*p == L'\0' || *p == L'>' || *p == L'/') {
            return true;
        }
        LPWSTR nameEnd = IdentifierEnd(p);
        p = nameEnd;
        SkipWhitespace(p);
        if (*p != L'=') {
            return Fail(L"Error while parsing attributes", p);
        }
        // MapAttributes finds the value again behind the name's terminator and blanks.
        *p++ = L' ';
        *nameEnd = L'\0';
        SkipWhitespace(p);
        if (*p != L'"') {
            return Fail(L"Expected attribute value", p);
        }
        ++p;
        LPWSTR valueEnd = nullptr;
        ParseData(p, valueEnd, L'"');
        if (*p == L'\0') {
            return Fail(L"Error while parsing attribute string", p);
        }
        *valueEnd = L'\0';
        if (p != valueEnd) {
            *p = L' ';
        }
        ++p;
        SkipWhitespace(p);
    }
}

void CXmlDocument::ParseData(LPWSTR& p, LPWSTR& end, wchar_t stop)
{
    LPWSTR out = p;
    while (*p != L'\0' && *p != stop) {
        if (*p == L'&') {
            while (*p == L'&') {
                ++p;
                if (std::wcsncmp(p, L"amp;", 4) == 0) {
                    *out++ = L'&';
                    p += 4;
                } else if (std::wcsncmp(p, L"lt;", 3) == 0) {
                    *out++ = L'<';
                    p += 3;
                } else if (std::wcsncmp(p, L"gt;", 3) == 0) {
                    *out++ = L'>';
                    p += 3;
                } else if (std::wcsncmp(p, L"quot;", 5) == 0) {
                    *out++ = L'"';
                    p += 5;
                } else if (std::wcsncmp(p, L"apos;", 5) == 0) {
                    *out++ = L'\'';
                    p += 5;
                } else {
                    *out++ = L'&';
                }
            }
            continue;
        }
        if (*p == L' ') {
            *out++ = *p++;
            if (!m_bPreserveWhitespace) {
                SkipWhitespace(p);
            }
            continue;
        }
        LPWSTR next = Next(p);
        while (p < next) {
            *out++ = *p++;
        }
    }
    end = out;
    if (out < p) {
        // Terminated at once: a text that the parse leaves unclosed must not run on into
        // what decoding left behind.
        *out = L'\0';
        for (LPWSTR q = out + 1; q < p; ++q) {
            *q = L' ';
        }
    }
}

// Skips a comment to its "-->", a processing instruction to its "?>" and any other
// declaration to its closing '>' (past a bracketed internal subset).
void CXmlDocument::SkipDeclaration(LPWSTR& p)
{
    LPWSTR found = nullptr;
    size_t markLength = 0;
    if (*p == L'?') {
        found = std::wcsstr(p, L"?>");
        markLength = 2;
    } else if (p[1] == L'-' && p[2] == L'-') {
        found = std::wcsstr(p + 3, L"-->");
        markLength = 3;
    } else {
        int depth = 0;
        for (LPWSTR q = p + 1; *q != L'\0'; ++q) {
            if (*q == L'[') {
                ++depth;
            } else if (*q == L']' && depth > 0) {
                --depth;
            } else if (*q == L'>' && depth == 0) {
                found = q;
                break;
            }
        }
        markLength = 1;
    }
    p = found != nullptr ? found + markLength : p + std::wcslen(p);
}

} // namespace ZvUI

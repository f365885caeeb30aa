// Paint manager resources: default colours, fonts and font files, class default
// attribute lists, styles and window custom attributes, each held per manager and process-wide.
#include "manager/PaintManagerUI.h"

#include <cwchar>
#include <initializer_list>
#include <memory>

#include "archive/ZipArchive.h"
#include "manager/DpiHelper.h"
#include "utils/UIConvert.h"

namespace ZvUI {

namespace {

CUIString FontKey(int id)
{
    CUIString key;
    key.Format(L"%d", id);
    return key;
}

UIFontInfo* FontAt(const CUIStringMap& fonts, int index)
{
    LPCWSTR key = fonts.GetAt(index);
    return key != nullptr ? static_cast<UIFontInfo*>(fonts.Find(key, false)) : nullptr;
}

bool FontMatches(const UIFontInfo& info, LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    return info.faceName == (face != nullptr ? face : L"") && info.size == size && info.bold == bold &&
           info.underline == underline && info.italic == italic;
}

// The stock GUI font's LOGFONTW with the caller's face, charset and flags; the height is set
// by the caller (scaled).
// The face as a font keeps it: at most 31 characters, terminated. False, and out untouched, for none.
bool CopyFaceName(LPCWSTR face, wchar_t (&out)[LF_FACESIZE])
{
    if (face == nullptr || face[0] == L'\0')
        return false;
    wcsncpy(out, face, LF_FACESIZE - 1);
    out[LF_FACESIZE - 1] = L'\0';
    return true;
}

LOGFONTW StockLogFont(LPCWSTR face)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    CopyFaceName(face, lf.lfFaceName);
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

// Selects a GDI object into a DC for the scope and selects the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { ::SelectObject(m_dc, m_old); }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

void Measure(HDC dc, UIFontInfo& info)
{
    if (dc == nullptr || info.handle == nullptr)
        return;
    SelectGuard select(dc, info.handle);
    ::GetTextMetricsW(dc, &info.metrics);
}

// One colour of a manager's own set and, when sharedSet is given, of the shared set: a manager
// that still had the shared value follows it; one with its own value keeps it.
void StoreColor(UIResourceSet& own, UIResourceSet* sharedSet, DWORD UIResourceSet::*field, DWORD color)
{
    if (sharedSet != nullptr) {
        if (own.*field == sharedSet->*field)
            own.*field = color;
        sharedSet->*field = color;
    } else {
        own.*field = color;
    }
}

// Whole file into a heap buffer; empty when it cannot be read completely.
std::unique_ptr<BYTE[]> ReadWholeFile(LPCWSTR path, DWORD& size)
{
    size = 0;
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    const DWORD length = ::GetFileSize(file, nullptr);
    std::unique_ptr<BYTE[]> bytes;
    if (length != INVALID_FILE_SIZE && length > 0) {
        bytes.reset(new BYTE[length]);
        DWORD read = 0;
        if (!::ReadFile(file, bytes.get(), length, &read, nullptr) || read != length)
            bytes.reset();
        else
            size = length;
    }
    ::CloseHandle(file);
    return bytes;
}

std::unique_ptr<BYTE[]> ReadArchiveItem(LPCWSTR name, DWORD& size)
{
    size = 0;
    ZipHandle* zip = CPaintManagerUI::GetResourceArchiveHandle();
    bool opened = false;
    if (!CPaintManagerUI::IsResourceArchiveCached() || zip == nullptr) {
        const CUIString path = CPaintManagerUI::GetResourceFolder() + CPaintManagerUI::GetResourceArchive();
        const CUIString& password = CPaintManagerUI::GetResourceArchivePassword();
        char* narrow = password.IsEmpty() ? nullptr : UnicodeToMultiByte(password, CP_ACP);
        zip = ZipOpenFile(path, narrow);
        delete[] narrow;
        opened = zip != nullptr;
    }
    if (zip == nullptr)
        return nullptr;
    CUIString item(name);
    item.Replace(L"\\", L"/");
    std::unique_ptr<BYTE[]> bytes;
    int index = -1;
    ZipEntry entry;
    if (ZipFindItem(zip, item, true, &index, &entry) == ZR_OK && index >= 0 && entry.unc_size > 0) {
        const auto length = static_cast<DWORD>(entry.unc_size);
        bytes.reset(new BYTE[length]);
        const ZipResult rc = ZipUnzipToMemory(zip, index, bytes.get(), length);
        if (rc != ZR_OK && rc != ZR_MORE)
            bytes.reset();
        else
            size = length;
    }
    if (opened)
        ZipClose(zip);
    return bytes;
}

} // namespace

// --- helpers shared with the destructor and Term ---

void CPaintManagerUI::FreeFonts(UIResourceSet& set)
{
    CUIStringMap& fonts = set.fonts;
    set.fontTable.Clear();
    for (int i = 0; i < fonts.GetSize(); ++i) {
        UIFontInfo* info = FontAt(fonts, i);
        if (info == nullptr)
            continue;
        if (info->handle != nullptr)
            ::DeleteObject(info->handle);
        delete info;
    }
    fonts.RemoveAll();
}

void CPaintManagerUI::FreeTextMap(CUIStringMap& texts)
{
    for (int i = 0; i < texts.GetSize(); ++i) {
        LPCWSTR key = texts.GetAt(i);
        if (key != nullptr)
            delete static_cast<CUIString*>(texts.Find(key, false));
    }
    texts.RemoveAll();
}

UIResourceSet& CPaintManagerUI::GetResourceSet(bool shared)
{
    return shared ? GetSharedResources() : m_ResInfo;
}

// --- colours ---

DWORD CPaintManagerUI::GetDisabledColor() const
{
    return m_ResInfo.disabledColor;
}

void CPaintManagerUI::SetDisabledColor(DWORD color, bool shared)
{
    StoreColor(m_ResInfo, shared ? &GetSharedResources() : nullptr, &UIResourceSet::disabledColor, color);
}

DWORD CPaintManagerUI::GetTextColor() const
{
    return m_ResInfo.textColor;
}

void CPaintManagerUI::SetTextColor(DWORD color, bool shared)
{
    StoreColor(m_ResInfo, shared ? &GetSharedResources() : nullptr, &UIResourceSet::textColor, color);
}

DWORD CPaintManagerUI::GetLinkColor() const
{
    return m_ResInfo.linkColor;
}

void CPaintManagerUI::SetLinkColor(DWORD color, bool shared)
{
    StoreColor(m_ResInfo, shared ? &GetSharedResources() : nullptr, &UIResourceSet::linkColor, color);
}

DWORD CPaintManagerUI::GetLinkHoverColor() const
{
    return m_ResInfo.linkHoverColor;
}

void CPaintManagerUI::SetLinkHoverColor(DWORD color, bool shared)
{
    StoreColor(m_ResInfo, shared ? &GetSharedResources() : nullptr, &UIResourceSet::linkHoverColor, color);
}

DWORD CPaintManagerUI::GetSelectedColor() const
{
    return m_ResInfo.selectedColor;
}

void CPaintManagerUI::SetSelectedColor(DWORD color, bool shared)
{
    StoreColor(m_ResInfo, shared ? &GetSharedResources() : nullptr, &UIResourceSet::selectedColor, color);
}

// --- fonts ---

void CPaintManagerUI::MeasureFont(UIFontInfo* info)
{
    if (info == nullptr || info->metrics.tmHeight != 0)
        return;
    if (m_hDcPaint != nullptr) {
        Measure(m_hDcPaint, *info);
        return;
    }
    // Before a window is attached the screen measures the same GDI font.
    HDC screen = ::GetDC(nullptr);
    Measure(screen, *info);
    ::ReleaseDC(nullptr, screen);
}

HFONT CPaintManagerUI::AddFont(int id, LPCWSTR face, int size, bool bold, bool underline, bool italic,
                               bool shared)
{
    LOGFONTW lf = StockLogFont(face);
    lf.lfHeight = -GetDpiHelper()->Scale(size);
    if (bold)
        lf.lfWeight = FW_BOLD;
    if (underline)
        lf.lfUnderline = TRUE;
    if (italic)
        lf.lfItalic = TRUE;
    HFONT font = ::CreateFontIndirectW(&lf);
    if (font == nullptr)
        return nullptr;

    auto* info = new UIFontInfo;
    info->handle = font;
    info->faceName = lf.lfFaceName;
    info->size = size;
    info->bold = bold;
    info->underline = underline;
    info->italic = italic;
    if (m_hDcPaint != nullptr)
        Measure(m_hDcPaint, *info);

    UIResourceSet& set = GetResourceSet(shared || m_bUseSharedResources);
    CUIStringMap& fonts = set.fonts;
    const CUIString key = FontKey(id);
    // The new font replaces the old one under the same id.
    auto* old = static_cast<UIFontInfo*>(fonts.Find(key, false));
    if (old != nullptr) {
        set.fontTable.Removed(old);
        if (old->handle != nullptr)
            ::DeleteObject(old->handle);
        delete old;
        fonts.Remove(key);
    }
    if (!fonts.Insert(key, info)) {
        ::DeleteObject(font);
        delete info;
        return nullptr;
    }
    set.fontTable.Added(key, info);
    return font;
}

void CPaintManagerUI::SetDefaultFont(LPCWSTR face, int size, bool bold, bool underline, bool italic,
                                     bool shared)
{
    LOGFONTW lf = StockLogFont(face);
    lf.lfHeight = -GetDpiHelper()->Scale(size);
    if (bold)
        lf.lfWeight += FW_BOLD;
    if (underline)
        lf.lfUnderline = TRUE;
    if (italic)
        lf.lfItalic = TRUE;
    HFONT font = ::CreateFontIndirectW(&lf);
    if (font == nullptr)
        return;
    UIFontInfo& info = GetResourceSet(shared).defaultFont;
    if (info.handle != nullptr)
        ::DeleteObject(info.handle);
    info.handle = font;
    info.faceName = lf.lfFaceName;
    info.size = size;
    info.bold = bold;
    info.underline = underline;
    info.italic = italic;
    info.metrics = TEXTMETRICW{};
    if (m_hDcPaint != nullptr)
        Measure(m_hDcPaint, info);
}

UIFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    UIFontInfo* info = m_ResInfo.defaultFont.faceName.IsEmpty() ? &GetSharedResources().defaultFont
                                                                 : &m_ResInfo.defaultFont;
    MeasureFont(info);
    return info;
}

HFONT CPaintManagerUI::GetFont(int id)
{
    if (id >= 0) {
        const CUIString key = FontKey(id);
        auto* info = static_cast<UIFontInfo*>(m_ResInfo.fonts.Find(key));
        if (info == nullptr)
            info = static_cast<UIFontInfo*>(GetSharedResources().fonts.Find(key));
        if (info != nullptr)
            return info->handle;
    }
    return GetDefaultFontInfo()->handle;
}

UIFontInfo* CPaintManagerUI::LookupFont(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    for (UIResourceSet* set : {&m_ResInfo, &GetSharedResources()}) {
        if (UIFontInfo* info = set->fontTable.Find(set->fonts, face, size, bold, underline, italic))
            return info;
    }
    return nullptr;
}

HFONT CPaintManagerUI::GetFont(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    const UIFontInfo* info = LookupFont(face, size, bold, underline, italic);
    return info != nullptr ? info->handle : nullptr;
}

UIFontInfo* CPaintManagerUI::FindFontInfo(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    // The face as AddFont keeps it; the stock font is asked only when there is none.
    wchar_t kept[LF_FACESIZE] = {};
    if (!CopyFaceName(face, kept))
        wcscpy(kept, StockLogFont(nullptr).lfFaceName);
    UIFontInfo* info = LookupFont(kept, size, bold, underline, italic);
    MeasureFont(info);
    return info;
}

int CPaintManagerUI::FindFreeFontId(int first, int count)
{
    FreeFontIds& ids = m_freeFontIds;
    const unsigned ownRemovals = m_ResInfo.fontTable.GetRemovals();
    const unsigned sharedRemovals = GetSharedResources().fontTable.GetRemovals();
    if (ids.first != first || ids.count != count || ids.ownRemovals != ownRemovals ||
        ids.sharedRemovals != sharedRemovals)
        ids = FreeFontIds{first, count, 0, ownRemovals, sharedRemovals};
    // The ids already tried were taken when they were tried, and no font has left a set since.
    for (; ids.tried < count; ++ids.tried) {
        const CUIString key = FontKey(first + ids.tried);
        if (m_ResInfo.fonts.Find(key, false) == nullptr && GetSharedResources().fonts.Find(key, false) == nullptr)
            return first + ids.tried;
    }
    return -1;
}

UIFontInfo* CPaintManagerUI::GetFontInfo(int id)
{
    if (id < 0)
        return GetDefaultFontInfo();
    const CUIString key = FontKey(id);
    auto* info = static_cast<UIFontInfo*>(m_ResInfo.fonts.Find(key));
    if (info == nullptr)
        info = static_cast<UIFontInfo*>(GetSharedResources().fonts.Find(key));
    if (info == nullptr)
        return GetDefaultFontInfo();
    MeasureFont(info);
    return info;
}

UIFontInfo* CPaintManagerUI::GetFontInfo(HFONT font)
{
    for (CUIStringMap* fonts : {&m_ResInfo.fonts, &GetSharedResources().fonts}) {
        for (int i = 0; i < fonts->GetSize(); ++i) {
            UIFontInfo* info = FontAt(*fonts, i);
            if (info != nullptr && info->handle == font) {
                MeasureFont(info);
                return info;
            }
        }
    }
    return GetDefaultFontInfo();
}

int CPaintManagerUI::GetFontIndex(HFONT font, bool shared)
{
    const CUIStringMap& fonts = GetResourceSet(shared).fonts;
    for (int i = 0; i < fonts.GetSize(); ++i) {
        UIFontInfo* info = FontAt(fonts, i);
        if (info != nullptr && info->handle == font)
            return _wtoi(fonts.GetAt(i));
    }
    return -1;
}

int CPaintManagerUI::GetFontIndex(LPCWSTR face, int size, bool bold, bool underline, bool italic, bool shared)
{
    const CUIStringMap& fonts = GetResourceSet(shared).fonts;
    for (int i = 0; i < fonts.GetSize(); ++i) {
        UIFontInfo* info = FontAt(fonts, i);
        if (info != nullptr && FontMatches(*info, face, size, bold, underline, italic))
            return _wtoi(fonts.GetAt(i));
    }
    return -1;
}

int CPaintManagerUI::GetFontCount(bool shared) const
{
    return shared ? GetSharedResources().fonts.GetSize() : m_ResInfo.fonts.GetSize();
}

void CPaintManagerUI::RemoveFont(int id, bool shared)
{
    CUIStringMap& fonts = GetResourceSet(shared).fonts;
    const CUIString key = FontKey(id);
    auto* info = static_cast<UIFontInfo*>(fonts.Find(key, false));
    if (info == nullptr)
        return;
    GetResourceSet(shared).fontTable.Removed(info);
    if (info->handle != nullptr)
        ::DeleteObject(info->handle);
    delete info;
    fonts.Remove(key);
}

void CPaintManagerUI::RemoveFont(HFONT font, bool shared)
{
    CUIStringMap& fonts = GetResourceSet(shared).fonts;
    for (int i = 0; i < fonts.GetSize(); ++i) {
        UIFontInfo* info = FontAt(fonts, i);
        if (info != nullptr && info->handle == font) {
            const CUIString key = fonts.GetAt(i);
            GetResourceSet(shared).fontTable.Removed(info);
            ::DeleteObject(info->handle);
            delete info;
            fonts.Remove(key);
            return;
        }
    }
}

void CPaintManagerUI::RemoveAllFonts(bool shared)
{
    FreeFonts(GetResourceSet(shared));
}

CUIStringMap* CPaintManagerUI::GetFontMap(bool shared)
{
    return &GetResourceSet(shared).fonts;
}

void CPaintManagerUI::AddFontFile(LPCWSTR name)
{
    if (name == nullptr || name[0] == L'\0')
        return;
    DWORD size = 0;
    std::unique_ptr<BYTE[]> bytes;
    if (GetResourceArchive().IsEmpty()) {
        const CUIString path = GetResourceFolder() + CUIString(name);
        bytes = ReadWholeFile(path, size);
    } else {
        bytes = ReadArchiveItem(name, size);
    }
    if (bytes == nullptr)
        bytes = ReadWholeFile(name, size);
    if (bytes == nullptr)
        return;
    DWORD count = 0;
    HANDLE handle = ::AddFontMemResourceEx(bytes.get(), size, nullptr, &count);
    if (handle != nullptr && !m_aFontMemHandles.Add(handle))
        ::RemoveFontMemResourceEx(handle);
}

// --- class defaults ---

void CPaintManagerUI::AddClassDefaults(LPCWSTR className, LPCWSTR attributes, bool shared)
{
    if (className == nullptr || className[0] == L'\0')
        return;
    CUIStringMap& map = GetResourceSet(shared || m_bUseSharedResources).classDefaults;
    auto* value = new CUIString(attributes);
    // The last list of a class wins.
    delete static_cast<CUIString*>(map.Set(className, value));
}

LPCWSTR CPaintManagerUI::GetClassDefaults(LPCWSTR className) const
{
    if (className == nullptr || className[0] == L'\0')
        return nullptr;
    auto* value = static_cast<CUIString*>(m_ResInfo.classDefaults.Find(className));
    if (value == nullptr)
        value = static_cast<CUIString*>(GetSharedResources().classDefaults.Find(className));
    return value != nullptr ? value->GetData() : nullptr;
}

bool CPaintManagerUI::RemoveClassDefaults(LPCWSTR className, bool shared)
{
    if (className == nullptr)
        return false;
    CUIStringMap& map = GetResourceSet(shared).classDefaults;
    auto* value = static_cast<CUIString*>(map.Find(className, false));
    if (value == nullptr)
        return false;
    delete value;
    return map.Remove(className);
}

void CPaintManagerUI::RemoveAllClassDefaults(bool shared)
{
    FreeTextMap(GetResourceSet(shared).classDefaults);
}

CUIStringMap* CPaintManagerUI::GetClassDefaultsMap(bool shared)
{
    return &GetResourceSet(shared).classDefaults;
}

// --- styles ---

void CPaintManagerUI::AddStyle(LPCWSTR name, LPCWSTR attributeList, bool shared)
{
    if (name == nullptr || name[0] == L'\0')
        return;
    CUIStringMap& map = GetResourceSet(shared || m_bUseSharedResources).styles;
    // The first style of a name wins.
    if (map.Find(name, false) != nullptr)
        return;
    auto* value = new CUIString(attributeList);
    if (!map.Insert(name, value))
        delete value;
}

LPCWSTR CPaintManagerUI::GetStyle(LPCWSTR name) const
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    auto* value = static_cast<CUIString*>(m_ResInfo.styles.Find(name));
    if (value == nullptr)
        value = static_cast<CUIString*>(GetSharedResources().styles.Find(name));
    return value != nullptr ? value->GetData() : nullptr;
}

bool CPaintManagerUI::RemoveStyle(LPCWSTR name, bool shared)
{
    if (name == nullptr)
        return true;
    CUIStringMap& map = GetResourceSet(shared).styles;
    auto* value = static_cast<CUIString*>(map.Find(name, false));
    if (value != nullptr) {
        delete value;
        map.Remove(name);
    }
    return true;
}

void CPaintManagerUI::RemoveAllStyles(bool shared)
{
    FreeTextMap(GetResourceSet(shared).styles);
}

CUIStringMap* CPaintManagerUI::GetStyleMap(bool shared)
{
    return &GetResourceSet(shared).styles;
}

// --- window custom attributes ---

void CPaintManagerUI::SetWindowAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == nullptr || name[0] == L'\0' || value == nullptr || value[0] == L'\0')
        return;
    // The first value of a name wins.
    if (m_mWindowCustomAttrHash.Find(name, false) != nullptr)
        return;
    auto* text = new CUIString(value);
    if (!m_mWindowCustomAttrHash.Insert(name, text))
        delete text;
}

LPCWSTR CPaintManagerUI::GetWindowAttribute(LPCWSTR name) const
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    auto* text = static_cast<CUIString*>(m_mWindowCustomAttrHash.Find(name));
    return text != nullptr ? text->GetData() : nullptr;
}

bool CPaintManagerUI::RemoveWindowAttribute(LPCWSTR name)
{
    if (name == nullptr || name[0] == L'\0')
        return false;
    auto* text = static_cast<CUIString*>(m_mWindowCustomAttrHash.Find(name, false));
    if (text == nullptr)
        return false;
    delete text;
    return m_mWindowCustomAttrHash.Remove(name);
}

void CPaintManagerUI::RemoveAllWindowAttributes()
{
    FreeTextMap(m_mWindowCustomAttrHash);
    m_mWindowCustomAttrHash.Resize(CUIStringMap::kDefaultBuckets);
}

} // namespace ZvUI

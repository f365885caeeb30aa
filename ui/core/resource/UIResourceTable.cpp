// Process-wide table of texts, image paths and layout paths by id.

#include "resource/UIResourceTable.h"

#include <algorithm>
#include <vector>

#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

// The last occurrence of each name counts, unlike CXmlNode's lookup by name.
void LastAttributes(const CXmlNode& node, LPCWSTR first, LPCWSTR& firstValue, LPCWSTR second, LPCWSTR& secondValue)
{
    firstValue = nullptr;
    secondValue = nullptr;
    const int count = node.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        LPCWSTR name = node.GetAttributeName(i);
        if (_wcsicmp(name, first) == 0) {
            firstValue = node.GetAttributeValue(i);
        } else if (_wcsicmp(name, second) == 0) {
            secondValue = node.GetAttributeValue(i);
        }
    }
}

void FreeStrings(CUIStringMap& map)
{
    for (int i = 0; i < map.GetSize(); ++i) {
        LPCWSTR key = map.GetAt(i);
        delete static_cast<CUIString*>(map.Find(key, false));
    }
    map.RemoveAll();
}

} // namespace

CUIResourceTable*& CUIResourceTable::Slot()
{
    static CUIResourceTable* table = new CUIResourceTable();
    return table;
}

CUIResourceTable* CUIResourceTable::Instance()
{
    CUIResourceTable*& table = Slot();
    if (table == nullptr) {
        table = new CUIResourceTable();
    }
    return table;
}

void CUIResourceTable::Release()
{
    CUIResourceTable*& table = Slot();
    delete table;
    table = nullptr;
}

CUIResourceTable::~CUIResourceTable()
{
    ResetResourceMap();
}

// --- loading ---

bool CUIResourceTable::LoadMarkup(LPCWSTR source)
{
    if (source == nullptr) {
        return false;
    }
    if (source[0] == L'<') {
        return m_xml.Load(source);
    }
    return m_xml.LoadFromFile(source, CXmlDocument::kEncodingUtf8);
}

bool CUIResourceTable::LoadFromResource(LPCWSTR name, LPCWSTR type)
{
    if (IS_INTRESOURCE(name)) {
        const HINSTANCE module = CPaintManagerUI::GetResourceModule();
        HRSRC resource = ::FindResourceW(module, name, type);
        if (resource == nullptr) {
            return false;
        }
        HGLOBAL loaded = ::LoadResource(module, resource);
        if (loaded == nullptr) {
            return false;
        }
        const DWORD size = ::SizeofResource(module, resource);
        const auto* bytes = static_cast<const BYTE*>(::LockResource(loaded));
        // Resource memory is read-only: the reader copies before it changes anything.
        const bool parsed = bytes != nullptr && m_xml.LoadFromMem(bytes, size, CXmlDocument::kEncodingUtf8);
        ::FreeResource(loaded);
        if (!parsed) {
            return false;
        }
    } else if (!LoadMarkup(name)) {
        return false;
    }
    return LoadResourceTable(m_xml.GetRoot());
}

// Walks the subtree by its links rather than by recursion: a resource file may nest deeply.
bool CUIResourceTable::LoadResourceTable(const CXmlNode& element)
{
    if (!element.IsValid()) {
        return false;
    }
    // Document order: children are pushed last first, so the first child comes off next.
    std::vector<CXmlNode> pending;
    auto pushChildren = [&pending](const CXmlNode& parent) {
        const size_t mark = pending.size();
        for (CXmlNode child = parent.GetChild(); child.IsValid(); child = child.GetSibling()) {
            pending.push_back(child);
        }
        std::reverse(pending.begin() + static_cast<ptrdiff_t>(mark), pending.end());
    };
    pushChildren(element);
    while (!pending.empty()) {
        const CXmlNode node = pending.back();
        pending.pop_back();
        if (node.HasChildren()) {
            pushChildren(node);
            continue;
        }
        LPCWSTR name = node.GetName();
        CUIStringMap* map = nullptr;
        if (_wcsicmp(name, L"Image") == 0) {
            map = &m_mapImagePaths;
        } else if (_wcsicmp(name, L"Xml") == 0) {
            map = &m_mapXmlPaths;
        }
        if (map == nullptr || !node.HasAttributes()) {
            continue;
        }
        LPCWSTR id = nullptr;
        LPCWSTR path = nullptr;
        LastAttributes(node, L"id", id, L"path", path);
        if (id == nullptr || path == nullptr) {
            continue;
        }
        // The first path of an id stays.
        auto* copy = new CUIString(path);
        if (!map->Insert(id, copy)) {
            delete copy;
        }
    }
    return true;
}

bool CUIResourceTable::LoadTextTable(LPCWSTR source)
{
    if (!LoadMarkup(source)) {
        return false;
    }
    const CXmlNode root = m_xml.GetRoot();
    if (!root.IsValid()) {
        return false;
    }
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (_wcsicmp(node.GetName(), L"Text") != 0 || !node.HasAttributes()) {
            continue;
        }
        LPCWSTR id = nullptr;
        LPCWSTR value = nullptr;
        LastAttributes(node, L"id", id, L"value", value);
        if (id == nullptr || value == nullptr) {
            continue;
        }
        delete static_cast<CUIString*>(m_mapTexts.Set(id, new CUIString(value)));
    }
    return true;
}

// --- lookups ---

CUIString CUIResourceTable::GetText(LPCWSTR id, LPCWSTR type)
{
    if (id == nullptr) {
        return CUIString();
    }
    auto* text = static_cast<CUIString*>(m_mapTexts.Find(id));
    if (text == nullptr && m_pQueryText != nullptr) {
        LPCWSTR answer = m_pQueryText->QueryControlText(id, type);
        if (answer != nullptr) {
            text = new CUIString(answer);
            m_mapTexts.Insert(id, text);
        }
    }
    return text != nullptr ? *text : CUIString(id);
}

LPCWSTR CUIResourceTable::GetImagePath(LPCWSTR id) const
{
    if (id == nullptr) {
        return nullptr;
    }
    const auto* path = static_cast<const CUIString*>(m_mapImagePaths.Find(id));
    return path != nullptr ? path->GetData() : nullptr;
}

LPCWSTR CUIResourceTable::GetXmlPath(LPCWSTR id) const
{
    if (id == nullptr) {
        return nullptr;
    }
    const auto* path = static_cast<const CUIString*>(m_mapXmlPaths.Find(id));
    return path != nullptr ? path->GetData() : nullptr;
}

void CUIResourceTable::ReloadTexts()
{
    if (m_pQueryText == nullptr) {
        return;
    }
    for (int i = 0; i < m_mapTexts.GetSize(); ++i) {
        LPCWSTR id = m_mapTexts.GetAt(i);
        LPCWSTR answer = m_pQueryText->QueryControlText(id, nullptr);
        if (answer != nullptr) {
            auto* text = static_cast<CUIString*>(m_mapTexts.Find(id, false));
            *text = answer;
        }
    }
}

// The maps are emptied as their strings are freed, so nothing points at freed memory.
void CUIResourceTable::ResetResourceMap()
{
    FreeStrings(m_mapImagePaths);
    FreeStrings(m_mapXmlPaths);
    FreeStrings(m_mapTexts);
}

void CUIResourceTable::ResetTextMap()
{
    FreeStrings(m_mapTexts);
}

} // namespace ZvUI

// Fonts of one resource set by face, size and styles.
#include "manager/UIFontTable.h"

#include <functional>

#include "manager/UIResources.h"
#include "utils/UIStringMap.h"

namespace ZvUI {

namespace {

unsigned Styles(bool bold, bool underline, bool italic)
{
    return (bold ? 1u : 0u) | (underline ? 2u : 0u) | (italic ? 4u : 0u);
}

} // namespace

size_t CUIFontTable::KeyHash::operator()(const Key& key) const
{
    return std::hash<std::wstring>()(key.face) ^ (static_cast<size_t>(key.size) * 8 + key.styles) * 0x9E3779B1u;
}

CUIFontTable::Key CUIFontTable::KeyOf(const UIFontInfo& info)
{
    return Key{info.faceName.GetData(), info.size, Styles(info.bold, info.underline, info.italic)};
}

UIFontInfo* CUIFontTable::Find(const CUIStringMap& fonts, LPCWSTR face, int size, bool bold, bool underline,
                               bool italic)
{
    if (m_stale || m_records != fonts.GetSize())
        Rebuild(fonts);
    const Key key{face != nullptr ? face : L"", size, Styles(bold, underline, italic)};
    auto found = m_entries.find(key);
    if (found == m_entries.end())
        return nullptr;
    if (fonts.Find(found->second.mapKey, false) != found->second.info) {
        // Replaced in the map behind the table's back: read the map again.
        Rebuild(fonts);
        found = m_entries.find(key);
        if (found == m_entries.end())
            return nullptr;
    }
    return found->second.info;
}

void CUIFontTable::Added(LPCWSTR key, UIFontInfo* info)
{
    ++m_records;
    Entry& entry = m_entries[KeyOf(*info)];
    if (entry.count++ == 0) {
        entry.info = info;
        entry.mapKey = key;
    }
}

void CUIFontTable::Removed(const UIFontInfo* info)
{
    --m_records;
    ++m_removals;
    const auto found = m_entries.find(KeyOf(*info));
    if (found == m_entries.end()) {
        m_stale = true;
        return;
    }
    Entry& entry = found->second;
    if (entry.info != info) {
        --entry.count;
    } else if (entry.count > 1) {
        // Another record of this key remains; which one is found by reading the map again.
        m_stale = true;
    } else {
        m_entries.erase(found);
    }
}

void CUIFontTable::Clear()
{
    m_entries.clear();
    m_records = 0;
    m_stale = false;
    ++m_removals;
}

void CUIFontTable::Rebuild(const CUIStringMap& fonts)
{
    Clear();
    for (int i = 0; i < fonts.GetSize(); ++i) {
        LPCWSTR key = fonts.GetAt(i);
        auto* info = key != nullptr ? static_cast<UIFontInfo*>(fonts.Find(key, false)) : nullptr;
        if (info != nullptr)
            Added(key, info);
    }
    // Null entries of the map count as records, so an unchanged map is not read again and again.
    m_records = fonts.GetSize();
}

} // namespace ZvUI

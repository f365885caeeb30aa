#pragma once
// Fonts of one resource set by face, size and styles, kept beside the map by id, so that a font
// asked for by these (the markup does so with every tag) is found at once.

#include <windows.h>

#include <cstddef>
#include <string>
#include <unordered_map>

#include "utils/UIString.h"

namespace ZvUI {

class CUIStringMap;
struct UIFontInfo;

class CUIFontTable {
public:
    // The record of fonts with exactly this face, size and styles, or null. Equal records under
    // several ids are one font here: one of them is answered. A map changed without the table
    // (through CPaintManagerUI::GetFontMap) is read again.
    UIFontInfo* Find(const CUIStringMap& fonts, LPCWSTR face, int size, bool bold, bool underline, bool italic);
    // The map has just taken info under key.
    void Added(LPCWSTR key, UIFontInfo* info);
    // info leaves the map (before it is freed).
    void Removed(const UIFontInfo* info);
    // The map is emptied.
    void Clear();
    // Grows whenever a font may have left the set: an id found taken stays taken until it changes.
    unsigned GetRemovals() const { return m_removals; }

private:
    struct Key {
        std::wstring face;
        int size = 0;
        unsigned styles = 0;
        bool operator==(const Key& other) const
        {
            return size == other.size && styles == other.styles && face == other.face;
        }
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    struct Entry {
        UIFontInfo* info = nullptr;
        // Where the map holds info, to see that it still does.
        CUIString mapKey;
        // Records with this key in the map, the answered one included.
        int count = 0;
    };

    static Key KeyOf(const UIFontInfo& info);
    void Rebuild(const CUIStringMap& fonts);

    std::unordered_map<Key, Entry, KeyHash> m_entries;
    int m_records = 0;
    bool m_stale = false;
    unsigned m_removals = 0;
};

} // namespace ZvUI

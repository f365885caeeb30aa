#pragma once
// String-keyed hash map of untyped pointers, with move-to-front lookups.

#include <windows.h>

namespace ZvUI {

// Owns its nodes and key copies, never the values.
class CUIStringMap {
public:
    static constexpr int kDefaultBuckets = 83;

    explicit CUIStringMap(int buckets = kDefaultBuckets);
    CUIStringMap(const CUIStringMap&) = delete;
    CUIStringMap& operator=(const CUIStringMap&) = delete;
    ~CUIStringMap();

    // h = h*33 + c over the characters from last to first, wrapping.
    static UINT HashKey(LPCWSTR key);

    // A found node moves to the head of its bucket when moveToFront is set.
    LPVOID Find(LPCWSTR key, bool moveToFront = true) const;
    // False when the key is present already or the map has no buckets.
    bool Insert(LPCWSTR key, LPVOID data);
    // Returns the previous value, or null when the key was new.
    LPVOID Set(LPCWSTR key, LPVOID data);
    bool Remove(LPCWSTR key);
    void RemoveAll();
    // Drops every item; n buckets afterwards (no minimum here).
    int Resize(int n);
    int GetSize() const { return m_nCount; }

    // Keys in bucket order, last bucket first; null past the end.
    LPCWSTR GetAt(int index) const;
    LPCWSTR operator[](int index) const { return GetAt(index); }

private:
    struct Node;
    Node* FindNode(LPCWSTR key, UINT* bucket) const;

    Node** m_aT = nullptr;
    int m_nBuckets = 0;
    int m_nCount = 0;
};

} // namespace ZvUI

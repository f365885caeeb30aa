// String-keyed hash map of untyped pointers, with move-to-front lookups.

#include "utils/UIStringMap.h"

#include "utils/UIString.h"

#include <new>

namespace ZvUI {

struct CUIStringMap::Node {
    CUIString key;
    LPVOID data = nullptr;
    Node* prev = nullptr;
    Node* next = nullptr;
};

namespace {

constexpr int kMinBuckets = 16;

LPCWSTR KeyText(LPCWSTR key)
{
    return key != nullptr ? key : L"";
}

} // namespace

CUIStringMap::CUIStringMap(int buckets)
{
    if (buckets < kMinBuckets) {
        buckets = kMinBuckets;
    }
    m_aT = new (std::nothrow) Node*[buckets]();
    m_nBuckets = m_aT != nullptr ? buckets : 0;
}

CUIStringMap::~CUIStringMap()
{
    Resize(0);
}

UINT CUIStringMap::HashKey(LPCWSTR key)
{
    key = KeyText(key);
    UINT hash = 0;
    size_t i = wcslen(key);
    while (i > 0) {
        hash = hash * 33u + static_cast<UINT>(key[--i]);
    }
    return hash;
}

CUIStringMap::Node* CUIStringMap::FindNode(LPCWSTR key, UINT* bucket) const
{
    *bucket = HashKey(key) % static_cast<UINT>(m_nBuckets);
    for (Node* node = m_aT[*bucket]; node != nullptr; node = node->next) {
        if (node->key == KeyText(key)) {
            return node;
        }
    }
    return nullptr;
}

LPVOID CUIStringMap::Find(LPCWSTR key, bool moveToFront) const
{
    if (m_nBuckets == 0 || m_nCount == 0) {
        return nullptr;
    }
    UINT bucket = 0;
    Node* node = FindNode(key, &bucket);
    if (node == nullptr) {
        return nullptr;
    }
    if (moveToFront && node->prev != nullptr) {
        node->prev->next = node->next;
        if (node->next != nullptr) {
            node->next->prev = node->prev;
        }
        node->prev = nullptr;
        node->next = m_aT[bucket];
        m_aT[bucket]->prev = node;
        m_aT[bucket] = node;
    }
    return node->data;
}

bool CUIStringMap::Insert(LPCWSTR key, LPVOID data)
{
    if (m_nBuckets == 0) {
        return false;
    }
    // Any present key refuses, a null value too: a second node would shadow the first.
    if (m_nCount > 0) {
        UINT bucket = 0;
        if (FindNode(key, &bucket) != nullptr) {
            Find(key, true);
            return false;
        }
    }
    Node* node = new (std::nothrow) Node;
    if (node == nullptr) {
        return false;
    }
    const UINT bucket = HashKey(key) % static_cast<UINT>(m_nBuckets);
    node->key = KeyText(key);
    node->data = data;
    node->next = m_aT[bucket];
    if (node->next != nullptr) {
        node->next->prev = node;
    }
    m_aT[bucket] = node;
    ++m_nCount;
    return true;
}

LPVOID CUIStringMap::Set(LPCWSTR key, LPVOID data)
{
    if (m_nBuckets == 0) {
        return data;
    }
    if (m_nCount > 0) {
        UINT bucket = 0;
        if (Node* node = FindNode(key, &bucket)) {
            LPVOID previous = node->data;
            node->data = data;
            return previous;
        }
    }
    Insert(key, data);
    return nullptr;
}

bool CUIStringMap::Remove(LPCWSTR key)
{
    if (m_nBuckets == 0 || m_nCount == 0) {
        return false;
    }
    UINT bucket = 0;
    Node* node = FindNode(key, &bucket);
    if (node == nullptr) {
        return false;
    }
    if (node->prev != nullptr) {
        node->prev->next = node->next;
    } else {
        m_aT[bucket] = node->next;
    }
    if (node->next != nullptr) {
        node->next->prev = node->prev;
    }
    delete node;
    --m_nCount;
    return true;
}

void CUIStringMap::RemoveAll()
{
    Resize(m_nBuckets);
}

int CUIStringMap::Resize(int n)
{
    for (int i = 0; i < m_nBuckets; ++i) {
        Node* node = m_aT[i];
        while (node != nullptr) {
            Node* next = node->next;
            delete node;
            node = next;
        }
    }
    delete[] m_aT;
    m_aT = nullptr;
    m_nBuckets = 0;
    m_nCount = 0;
    if (n < 0) {
        n = 0;
    }
    if (n > 0) {
        m_aT = new (std::nothrow) Node*[n]();
        m_nBuckets = m_aT != nullptr ? n : 0;
    }
    return n;
}

LPCWSTR CUIStringMap::GetAt(int index) const
{
    if (m_nBuckets == 0 || m_nCount == 0 || index < 0) {
        return nullptr;
    }
    int position = 0;
    for (int i = m_nBuckets - 1; i >= 0; --i) {
        for (Node* node = m_aT[i]; node != nullptr; node = node->next) {
            if (position++ == index) {
                return node->key.GetData();
            }
        }
    }
    return nullptr;
}

} // namespace ZvUI

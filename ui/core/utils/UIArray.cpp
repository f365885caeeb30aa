// Growable arrays of untyped pointers and of fixed-size elements.

#include "utils/UIArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace ZvUI {

namespace {

// Capacity after the array fills: 11 first, then doubling.
int GrownCapacity(int capacity)
{
    if (capacity == 0) {
        return 11;
    }
    return capacity > INT_MAX / 2 ? -1 : capacity * 2;
}

// Null when the block would pass INT_MAX bytes: element offsets are ints, and a 32-bit process could
// never have such a block, so both builds refuse it alike instead of one trying a huge allocation.
void* ReallocElements(void* block, int count, size_t elementSize)
{
    if (count < 0 || elementSize == 0 || static_cast<size_t>(count) > static_cast<size_t>(INT_MAX) / elementSize) {
        return nullptr;
    }
    return realloc(block, static_cast<size_t>(count) * elementSize);
}

} // namespace

// --- CUIPtrArray ---

CUIPtrArray::CUIPtrArray(int preallocSize)
{
    if (preallocSize > 0) {
        m_ppVoid = static_cast<LPVOID*>(ReallocElements(nullptr, preallocSize, sizeof(LPVOID)));
        m_nAllocated = m_ppVoid != nullptr ? preallocSize : 0;
    }
}

CUIPtrArray::CUIPtrArray(const CUIPtrArray& src)
{
    for (int i = 0; i < src.GetSize(); ++i) {
        Add(src.m_ppVoid[i]);
    }
}

CUIPtrArray::~CUIPtrArray()
{
    free(m_ppVoid);
}

void CUIPtrArray::Empty()
{
    free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = 0;
    m_nAllocated = 0;
}

void CUIPtrArray::Resize(int n)
{
    Empty();
    if (n <= 0) {
        return;
    }
    m_ppVoid = static_cast<LPVOID*>(calloc(static_cast<size_t>(n), sizeof(LPVOID)));
    if (m_ppVoid != nullptr) {
        m_nCount = n;
        m_nAllocated = n;
    }
}

bool CUIPtrArray::Add(LPVOID p)
{
    if (++m_nCount >= m_nAllocated) {
        const int capacity = GrownCapacity(m_nAllocated);
        void* block = capacity > 0 ? ReallocElements(m_ppVoid, capacity, sizeof(LPVOID)) : nullptr;
        if (block == nullptr) {
            --m_nCount;
            return false;
        }
        m_ppVoid = static_cast<LPVOID*>(block);
        m_nAllocated = capacity;
    }
    m_ppVoid[m_nCount - 1] = p;
    return true;
}

bool CUIPtrArray::InsertAt(int index, LPVOID p)
{
    if (index == m_nCount) {
        return Add(p);
    }
    if (index < 0 || index > m_nCount) {
        return false;
    }
    if (!Add(nullptr)) {
        return false;
    }
    memmove(&m_ppVoid[index + 1], &m_ppVoid[index], static_cast<size_t>(m_nCount - 1 - index) * sizeof(LPVOID));
    m_ppVoid[index] = p;
    return true;
}

bool CUIPtrArray::SetAt(int index, LPVOID p)
{
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    m_ppVoid[index] = p;
    return true;
}

bool CUIPtrArray::Remove(int index)
{
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    --m_nCount;
    memmove(&m_ppVoid[index], &m_ppVoid[index + 1], static_cast<size_t>(m_nCount - index) * sizeof(LPVOID));
    return true;
}

int CUIPtrArray::Find(LPVOID p) const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppVoid[i] == p) {
            return i;
        }
    }
    return -1;
}

LPVOID CUIPtrArray::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    return m_ppVoid[index];
}

// --- CUIValArray ---

CUIValArray::CUIValArray(int elementSize, int preallocSize)
    : m_iElementSize(elementSize)
{
    if (preallocSize > 0 && elementSize > 0) {
        m_pVoid = static_cast<LPBYTE>(ReallocElements(nullptr, preallocSize, static_cast<size_t>(elementSize)));
        m_nAllocated = m_pVoid != nullptr ? preallocSize : 0;
    }
}

CUIValArray::~CUIValArray()
{
    free(m_pVoid);
}

bool CUIValArray::Add(LPCVOID pData)
{
    const size_t elementSize = static_cast<size_t>(m_iElementSize > 0 ? m_iElementSize : 0);
    // pData may be one of our own elements; keep its offset across a reallocation.
    auto* source = static_cast<const BYTE*>(pData);
    const bool self = m_pVoid != nullptr && source >= m_pVoid && source < m_pVoid + m_nCount * elementSize;
    const size_t offset = self ? static_cast<size_t>(source - m_pVoid) : 0;

    if (++m_nCount >= m_nAllocated) {
        const int capacity = GrownCapacity(m_nAllocated);
        void* block = capacity > 0 ? ReallocElements(m_pVoid, capacity, elementSize) : nullptr;
        if (block == nullptr) {
            --m_nCount;
            return false;
        }
        m_pVoid = static_cast<LPBYTE>(block);
        m_nAllocated = capacity;
        if (self) {
            source = m_pVoid + offset;
        }
    }
    memcpy(m_pVoid + (m_nCount - 1) * elementSize, source, elementSize);
    return true;
}

bool CUIValArray::Remove(int index)
{
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    --m_nCount;
    const size_t elementSize = static_cast<size_t>(m_iElementSize);
    memmove(m_pVoid + index * elementSize, m_pVoid + (index + 1) * elementSize,
            static_cast<size_t>(m_nCount - index) * elementSize);
    return true;
}

LPVOID CUIValArray::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    return m_pVoid + static_cast<size_t>(index) * static_cast<size_t>(m_iElementSize);
}

} // namespace ZvUI

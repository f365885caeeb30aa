#pragma once
// Growable arrays: untyped pointers (CUIPtrArray) and fixed-size byte copies (CUIValArray).

#include <windows.h>

namespace ZvUI {

// Never owns what the stored pointers point to.
class CUIPtrArray {
public:
    explicit CUIPtrArray(int preallocSize = 0);
    CUIPtrArray(const CUIPtrArray& src);
    CUIPtrArray& operator=(const CUIPtrArray&) = delete;
    ~CUIPtrArray();

    void Empty();
    // Empties, then holds n null items.
    void Resize(int n);
    bool IsEmpty() const { return m_nCount == 0; }
    int GetSize() const { return m_nCount; }

    // False when the block cannot grow; the array is then unchanged.
    bool Add(LPVOID p);
    bool InsertAt(int index, LPVOID p);
    bool SetAt(int index, LPVOID p);
    bool Remove(int index);
    int Find(LPVOID p) const;

    // Null when out of range.
    LPVOID GetAt(int index) const;
    // No range test.
    LPVOID operator[](int index) const { return m_ppVoid[index]; }
    LPVOID* GetData() const { return m_ppVoid; }

private:
    LPVOID* m_ppVoid = nullptr;
    int m_nCount = 0;
    int m_nAllocated = 0;
};

// Stores byte copies of elements of one fixed size.
class CUIValArray {
public:
    explicit CUIValArray(int elementSize, int preallocSize = 0);
    CUIValArray(const CUIValArray&) = delete;
    CUIValArray& operator=(const CUIValArray&) = delete;
    ~CUIValArray();

    // Keeps the block for reuse.
    void Empty() { m_nCount = 0; }
    bool IsEmpty() const { return m_nCount == 0; }
    int GetSize() const { return m_nCount; }

    // Copies the element size in bytes from pData; false when the block cannot grow.
    bool Add(LPCVOID pData);
    bool Remove(int index);

    // Null when out of range.
    LPVOID GetAt(int index) const;
    // No range test.
    LPVOID operator[](int index) const { return m_pVoid + index * m_iElementSize; }
    LPVOID GetData() const { return m_pVoid; }

private:
    LPBYTE m_pVoid = nullptr;
    int m_iElementSize = 0;
    int m_nCount = 0;
    int m_nAllocated = 0;
};

} // namespace ZvUI

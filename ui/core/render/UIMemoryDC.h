#pragma once
// The memory DC an image blit selects its source into, lent from one kept per thread.

#include <windows.h>

namespace ZvUI {

// Every image blit needs a memory DC for its source; making and deleting one per blit costs
// more than a small blit itself, so each thread keeps one and lends it out.
struct SpareSourceDC {
    HDC dc = ::CreateCompatibleDC(nullptr);
    bool lent = false;
    SpareSourceDC() = default;
    SpareSourceDC(const SpareSourceDC&) = delete;
    SpareSourceDC& operator=(const SpareSourceDC&) = delete;
    ~SpareSourceDC()
    {
        if (dc != nullptr)
            ::DeleteDC(dc);
    }
};

class MemoryDC {
public:
    // compatible is used only when the thread's DC is already lent out.
    MemoryDC(HDC compatible, HBITMAP bitmap)
    {
        thread_local SpareSourceDC spare;
        if (spare.dc != nullptr && !spare.lent) {
            m_spare = &spare;
            spare.lent = true;
            m_dc = spare.dc;
        } else {
            m_dc = ::CreateCompatibleDC(compatible);
        }
        if (m_dc != nullptr)
            m_old = ::SelectObject(m_dc, bitmap);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC()
    {
        if (m_dc == nullptr)
            return;
        ::SelectObject(m_dc, m_old);
        if (m_spare != nullptr)
            m_spare->lent = false;
        else
            ::DeleteDC(m_dc);
    }
    HDC Get() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
    SpareSourceDC* m_spare = nullptr;
};

} // namespace ZvUI

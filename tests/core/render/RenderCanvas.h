#pragma once
// Test helper: a memory DC holding a 32-bit DIB (top-down unless asked) whose pixels the tests read
// directly.

#include <windows.h>

#include "render/UIRender.h"

class RenderCanvas {
public:
    RenderCanvas(int width, int height, DWORD fill = 0x00FFFFFF, bool bottomUp = false)
        : m_width(width), m_height(height), m_bottomUp(bottomUp)
    {
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ZvUI::CUIRender::CreateARGB32Bitmap(m_dc, width, bottomUp ? height : -height,
                                                       reinterpret_cast<BYTE**>(&m_bits));
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    RenderCanvas(const RenderCanvas&) = delete;
    RenderCanvas& operator=(const RenderCanvas&) = delete;
    ~RenderCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }

    HDC DC() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Fill(DWORD argb)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i) {
            m_bits[i] = argb;
        }
    }
    // Red, green and blue only: GDI leaves the alpha byte undefined.
    DWORD Rgb(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[Index(x, y)] & 0x00FFFFFF;
    }
    DWORD Raw(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[Index(x, y)];
    }
    void Set(int x, int y, DWORD argb)
    {
        ::GdiFlush();
        m_bits[Index(x, y)] = argb;
    }

private:
    int Index(int x, int y) const { return (m_bottomUp ? m_height - 1 - y : y) * m_width + x; }

    int m_width;
    int m_height;
    bool m_bottomUp;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};

inline int Channel(DWORD rgb, int shift)
{
    return static_cast<int>((rgb >> shift) & 0xFF);
}

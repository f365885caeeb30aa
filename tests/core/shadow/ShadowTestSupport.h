#pragma once
// Test helpers: a bottom-up 32-bit DIB like the one the shadow window gets, and BMP files on disk.

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "window/ShadowUI.h"
#include "../../support/BmpFile.h"

class ShadowBitmap {
public:
    // The shadow of host as the shadow window would show it; Drawn() is false when nothing was drawn.
    ShadowBitmap(const ZvUI::CShadowUI& shadow, HWND host)
    {
        RECT rcHost;
        ::GetWindowRect(host, &rcHost);
        const RECT rc = shadow.GetShadowRect(rcHost);
        m_width = rc.right - rc.left;
        m_height = rc.bottom - rc.top;
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = m_width;
        bmi.bmiHeader.biHeight = m_height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_dc = ::CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<DWORD*>(bits);
        m_old = ::SelectObject(m_dc, m_bitmap);
        m_drawn = shadow.DrawShadowBitmap(host, m_dc, m_bits);
        ::GdiFlush();
    }
    ShadowBitmap(const ShadowBitmap&) = delete;
    ShadowBitmap& operator=(const ShadowBitmap&) = delete;
    ~ShadowBitmap()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    bool Drawn() const { return m_drawn; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Row y counted from the top.
    DWORD At(int x, int y) const { return m_bits[(m_height - 1 - y) * m_width + x]; }
    int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }
    std::vector<DWORD> Pixels() const { return std::vector<DWORD>(m_bits, m_bits + m_width * m_height); }

private:
    int m_width = 0;
    int m_height = 0;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
    bool m_drawn = false;
};


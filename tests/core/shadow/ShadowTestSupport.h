#pragma once
// Test helpers: a bottom-up 32-bit DIB like the one the shadow window gets, and BMP files on disk.

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "window/ShadowUI.h"

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

// A 24-bit BMP in the temp folder whose pixel (x, y from the top) is color(x, y) as 0xRRGGBB.
inline std::wstring WriteBmp(LPCWSTR name, int width, int height, const std::function<DWORD(int, int)>& color)
{
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    std::vector<BYTE> pixels(stride * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const DWORD c = color(x, height - 1 - y);
            BYTE* p = &pixels[y * stride + x * 3];
            p[0] = static_cast<BYTE>(c);
            p[1] = static_cast<BYTE>(c >> 8);
            p[2] = static_cast<BYTE>(c >> 16);
        }
    }
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f != nullptr) {
        fwrite(&file, sizeof(file), 1, f);
        fwrite(&info, sizeof(info), 1, f);
        fwrite(pixels.data(), 1, pixels.size(), f);
        fclose(f);
    }
    return path;
}

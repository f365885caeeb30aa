#pragma once
// Test helpers for text drawing: ink bounds in a white DIB, a fixed test font, a strip bitmap on disk.

#include <windows.h>

#include <cstdio>
#include <vector>

#include "RenderCanvas.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIResources.h"

// Tahoma ships with Wine, so sizes and glyphs are the same on every run.
constexpr wchar_t kFace[] = L"Tahoma";

// The bounding box of every pixel that is not the white background; empty when there is none.
inline RECT InkBounds(const RenderCanvas& canvas, RECT area = RECT{0, 0, 0, 0})
{
    if (area.right == 0)
        area = RECT{0, 0, canvas.Width(), canvas.Height()};
    RECT ink = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (canvas.Rgb(x, y) != 0xFFFFFF) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
        }
    }
    if (ink.left == LONG_MAX)
        return RECT{0, 0, 0, 0};
    return ink;
}

inline int CountColor(const RenderCanvas& canvas, DWORD rgb, RECT area = RECT{0, 0, 0, 0})
{
    if (area.right == 0)
        area = RECT{0, 0, canvas.Width(), canvas.Height()};
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += canvas.Rgb(x, y) == rgb ? 1 : 0;
    return n;
}

// Width of text in a font, measured straight with GDI.
inline SIZE Extent(HFONT font, LPCWSTR text, int length = -1)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(dc, text, length < 0 ? lstrlenW(text) : length, &size);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return size;
}

inline int LineHeight(ZvUI::CPaintManagerUI& pm, int font)
{
    const TEXTMETRICW& tm = pm.GetFontInfo(font)->metrics;
    return tm.tmHeight + tm.tmExternalLeading;
}

// A 24-bit bottom-up BMP of cells of the given colours side by side, each cell x height pixels.
inline std::wstring WriteStripBmp(LPCWSTR name, const std::vector<DWORD>& colors, int cell, int height)
{
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    const int width = cell * static_cast<int>(colors.size());
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
            const DWORD c = colors[x / cell];
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

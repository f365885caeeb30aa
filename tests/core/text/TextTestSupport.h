#pragma once
// Test helpers for text drawing: ink bounds in a white DIB, a fixed test font, a strip bitmap on disk.

#include <windows.h>

#include <cstdio>
#include <vector>

#include "../../support/BmpFile.h"
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

// A 24-bit BMP of cells of the given colours side by side, each cell x height pixels.
inline std::wstring WriteStripBmp(LPCWSTR name, const std::vector<DWORD>& colors, int cell, int height)
{
    const int width = cell * static_cast<int>(colors.size());
    return WriteBmp(name, width, height, [&](int x, int) { return colors[x / cell]; });
}

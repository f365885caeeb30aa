#pragma once
// 32-bit DIB sections, the surface of every off-screen drawing: their header, and whether a DC
// draws into one pixel for pixel.

#include <windows.h>

#include <cstdlib>

namespace ZvUI {

// A negative height makes the rows run top-down.
inline BITMAPINFO Argb32Header(int width, int height)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(std::abs(height)) * 4;
    return bmi;
}

// No mapping between the DC's logical units and its bitmap's pixels.
inline bool IsIdentityMapped(HDC hDC)
{
    POINT window = {0, 0};
    POINT viewport = {0, 0};
    return ::GetMapMode(hDC) == MM_TEXT && ::GetGraphicsMode(hDC) == GM_COMPATIBLE &&
           ::GetWindowOrgEx(hDC, &window) && ::GetViewportOrgEx(hDC, &viewport) && window.x == 0 &&
           window.y == 0 && viewport.x == 0 && viewport.y == 0;
}

} // namespace ZvUI

#pragma once
// Test helper: a 24-bit BMP file, its pixels given by a function.

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Writes the file at path; pixel (x, y from the top) is color(x, y) as 0xRRGGBB.
inline void WriteBmpAt(const std::wstring& path, int width, int height, const std::function<DWORD(int, int)>& color)
{
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
}

// The same in the temp folder; returns the file's path.
inline std::wstring WriteBmp(LPCWSTR name, int width, int height, const std::function<DWORD(int, int)>& color)
{
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    WriteBmpAt(path, width, height, color);
    return path;
}

// Every pixel mid grey.
inline DWORD GreyPixel(int, int)
{
    return 0x808080;
}

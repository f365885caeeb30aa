#include "util/Bitmaps.h"

#include <objbase.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include <cstdint>
#include <new>
#include <vector>

#include "render/UIRender.h"
#include "util/FileHandle.h"

namespace ZVCore {

namespace {

constexpr DWORD kShadeColor = 0x8F000000;

struct WindowDc {
    HWND window;
    HDC dc = GetDC(window);
    ~WindowDc()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
};

struct MemoryDc {
    HDC dc;
    HGDIOBJ old = nullptr;
    MemoryDc(HDC like, HGDIOBJ select) : dc(CreateCompatibleDC(like)) { old = dc ? SelectObject(dc, select) : nullptr; }
    ~MemoryDc()
    {
        if (dc) {
            SelectObject(dc, old);
            DeleteDC(dc);
        }
    }
};

WORD DisplayBitsPerPixel()
{
    const HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    const int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 24;
    if (screen)
        DeleteDC(screen);
    if (bits <= 1)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    return 24;
}

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// A new empty file of a name nobody uses, in the folder of path; empty on failure.
std::wstring NewFileBeside(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
    wchar_t name[MAX_PATH] = {};
    if (folder.size() >= MAX_PATH - 14 || GetTempFileNameW(folder.c_str(), L"zvb", 0, name) == 0)
        return {};
    return name;
}

// Writes the whole file beside path and then moves it over path: a failure on the way leaves the
// old file as it was and no partial file behind.
bool WriteFileOver(const std::wstring& path, const BITMAPFILEHEADER& fileHeader, const std::vector<BYTE>& infoHeader,
                   const std::vector<BYTE>& pixels)
{
    const std::wstring partial = NewFileBeside(path);
    if (partial.empty())
        return false;
    bool written = false;
    {
        const CFileHandle out{CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
        written = out.IsOpen() && WriteAll(out.Get(), &fileHeader, sizeof(fileHeader)) &&
                  WriteAll(out.Get(), infoHeader.data(), static_cast<DWORD>(infoHeader.size())) &&
                  WriteAll(out.Get(), pixels.data(), static_cast<DWORD>(pixels.size())) && FlushFileBuffers(out.Get());
    }
    if (written && MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(partial.c_str());
    return false;
}

} // namespace

HBITMAP CaptureScreenRect(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    const HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (screen == nullptr)
        return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (bitmap != nullptr) {
        const MemoryDc memory(screen, bitmap);
        BitBlt(memory.dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
    }
    DeleteDC(screen);
    return bitmap;
}

HBITMAP CreateShadeBitmap(HWND window, const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const WindowDc windowDc{window};
    if (windowDc.dc == nullptr || width <= 0 || height <= 0)
        return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc.dc, width, height);
    if (bitmap != nullptr) {
        const MemoryDc memory(windowDc.dc, bitmap);
        ZvUI::CUIRender::DrawColor(memory.dc, RECT{0, 0, width, height}, kShadeColor);
    }
    return bitmap;
}

bool SaveBitmapToFile(HBITMAP bitmap, const std::wstring& path)
{
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return false;
    const WORD bits = DisplayBitsPerPixel();
    const DWORD paletteSize = bits <= 8 ? (1u << bits) * sizeof(RGBQUAD) : 0;
    // A BMP file states its size in 32 bits: a bitmap that cannot fit is refused, not wrapped.
    const uint64_t rowBytes = ((static_cast<uint64_t>(info.bmWidth) * bits + 31) / 32) * 4;
    const uint64_t pixelBytes = rowBytes * static_cast<uint64_t>(info.bmHeight);
    if (pixelBytes > 0x7FFFFFFFu - sizeof(BITMAPFILEHEADER) - sizeof(BITMAPINFOHEADER) - paletteSize)
        return false;

    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + paletteSize, 0);
    auto* bi = reinterpret_cast<BITMAPINFOHEADER*>(header.data());
    bi->biSize = sizeof(BITMAPINFOHEADER);
    bi->biWidth = info.bmWidth;
    bi->biHeight = info.bmHeight;
    bi->biPlanes = 1;
    bi->biBitCount = bits;
    bi->biCompression = BI_RGB;
    bi->biSizeImage = static_cast<DWORD>(pixelBytes);
    std::vector<BYTE> pixels;
    try {
        pixels.resize(static_cast<size_t>(pixelBytes));
    } catch (const std::bad_alloc&) {
        return false;
    }
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return false;
    // Depths up to 8 take the default palette with the pixels.
    const HPALETTE palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    const HPALETTE oldPalette = SelectPalette(screen, palette, FALSE);
    RealizePalette(screen);
    const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(header.data()), DIB_RGB_COLORS);
    SelectPalette(screen, oldPalette, TRUE);
    ReleaseDC(nullptr, screen);
    if (lines != info.bmHeight)
        return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + static_cast<DWORD>(header.size());
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixelBytes);
    return WriteFileOver(path, file, header, pixels);
}

bool LoadImageFileAsBitmap(const std::wstring& path, std::unique_ptr<Gdiplus::Bitmap>& bitmap)
{
    // GDI+ decodes the whole file at once: the bytes it gets are the ones held to the skin
    // images' limits, read once from the path itself.
    std::vector<BYTE> bytes;
    if (!ZvUI::CUIRender::ReadImageFile(path.c_str(), bytes))
        return false;
    IStream* stream = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream)
        return false;
    std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!image || image->GetLastStatus() != Gdiplus::Ok)
        return false;
    const Gdiplus::Rect whole(0, 0, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
    bitmap.reset(image->Clone(whole, PixelFormat32bppPARGB));
    return bitmap && bitmap->GetLastStatus() == Gdiplus::Ok;
}

} // namespace ZVCore

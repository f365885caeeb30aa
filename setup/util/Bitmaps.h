// Screen capture, shade bitmaps, BMP files and image files as GDI+ bitmaps.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace Gdiplus {
class Bitmap;
}

namespace ZVCore {

// A new bitmap holding that part of the screen; null on failure.
[[nodiscard]] HBITMAP CaptureScreenRect(const RECT& rect);
// A bitmap of the rectangle's size, compatible with the window's DC, filled with 0x8F000000.
[[nodiscard]] HBITMAP CreateShadeBitmap(HWND window, const RECT& rect);
// Writes the bitmap as a BMP file at the display's depth. The file is written beside path and moved
// over it, so on failure (false) an existing file at path is left as it was.
bool SaveBitmapToFile(HBITMAP bitmap, const std::wstring& path);
// Loads an image file through GDI+ as a 32-bit premultiplied ARGB copy; GDI+ must be started.
bool LoadImageFileAsBitmap(const std::wstring& path, std::unique_ptr<Gdiplus::Bitmap>& bitmap);

} // namespace ZVCore

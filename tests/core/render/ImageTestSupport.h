#pragma once
// Test helper: where the test images live, and direct reads of a decoded image's pixels.

#include <windows.h>

#include "manager/PaintManagerUI.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"
#include "utils/UIString.h"

// Made at build time by make_images.py (Wine maps Z: to the Linux root).
inline ZvUI::CUIString GeneratedImages()
{
    return ZvUI::CUIString(ZV_IMAGE_DIR) + L"\\";
}

// Real files copied from Debian packages.
inline ZvUI::CUIString RealImages()
{
    return ZvUI::CUIString(ZV_DATA_DIR) + L"\\";
}

// Resource settings back to a plain folder and no archive.
inline void UseFolder(LPCWSTR folder)
{
    ZvUI::CPaintManagerUI::SetResourceArchive(L"", false);
    ZvUI::CPaintManagerUI::SetResourceFolder(folder);
}

// Pixel (x, y) of a top-down decoded image as stored: premultiplied 0xAARRGGBB.
inline DWORD ImagePixel(const ZvUI::UIImageInfo* image, int x, int y)
{
    DIBSECTION ds = {};
    ::GetObjectW(image->bitmap, sizeof(ds), &ds);
    ::GdiFlush();
    return static_cast<const DWORD*>(ds.dsBm.bmBits)[y * image->width + x];
}

struct ImageDeleter {
    void operator()(ZvUI::UIImageInfo* image) const { ZvUI::CUIRender::FreeImage(image, true); }
};

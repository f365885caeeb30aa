// Render engine: a control, or a window's tree, rendered into a fresh 32-bit bitmap.

#include "render/UIRender.h"

#include "render/UIDib.h"

#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

HBITMAP Render(CPaintManagerUI* manager, CControlUI* painter, const RECT& rc, CControlUI* stopControl,
               DWORD bkColor)
{
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    // A manager without a window still renders, against the screen's format.
    HDC paintDC = manager->GetWindowDC();
    HDC screenDC = paintDC == nullptr ? ::GetDC(nullptr) : nullptr;
    if (paintDC == nullptr) {
        paintDC = screenDC;
    }

    // The control paints at its window coordinates, so the scratch bitmap reaches right and bottom.
    HDC memDC = ::CreateCompatibleDC(paintDC);
    HBITMAP scratch = ::CreateCompatibleBitmap(paintDC, rc.right, rc.bottom);
    HBITMAP result = nullptr;
    if (memDC != nullptr && scratch != nullptr && width > 0 && height > 0) {
        HGDIOBJ oldScratch = ::SelectObject(memDC, scratch);
        if (painter != nullptr) {
            painter->Paint(memDC, rc, stopControl);
        }

        BITMAPINFO bmi = Argb32Header(width, height);
        void* bits = nullptr;
        result = ::CreateDIBSection(paintDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (result != nullptr) {
            HDC copyDC = ::CreateCompatibleDC(paintDC);
            if (copyDC != nullptr) {
                HGDIOBJ oldResult = ::SelectObject(copyDC, result);
                ::BitBlt(copyDC, 0, 0, width, height, memDC, rc.left, rc.top, SRCCOPY);
                if ((bkColor >> 24) != 0) {
                    const RECT all = {0, 0, width, height};
                    CUIRender::DrawColor(copyDC, all, bkColor);
                }
                ::SelectObject(copyDC, oldResult);
                ::DeleteDC(copyDC);
            }
            ::GdiFlush();
        }
        ::SelectObject(memDC, oldScratch);
    }
    if (scratch != nullptr) {
        ::DeleteObject(scratch);
    }
    if (memDC != nullptr) {
        ::DeleteDC(memDC);
    }
    if (screenDC != nullptr) {
        ::ReleaseDC(nullptr, screenDC);
    }
    return result;
}

} // namespace

HBITMAP CUIRender::GenerateBitmap(CPaintManagerUI* manager, CControlUI* control, const RECT& rc, DWORD bkColor)
{
    if (manager == nullptr || control == nullptr) {
        return nullptr;
    }
    return Render(manager, control, rc, nullptr, bkColor);
}

HBITMAP CUIRender::GenerateBitmap(CPaintManagerUI* manager, const RECT& rc, CControlUI* stopControl, DWORD bkColor)
{
    if (manager == nullptr) {
        return nullptr;
    }
    return Render(manager, manager->GetRoot(), rc, stopControl, bkColor);
}

} // namespace ZvUI

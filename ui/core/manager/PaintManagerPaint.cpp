// The paint manager's WM_PAINT and WM_PRINTCLIENT: lazy layout, off-screen painting, layered
// composition with per-pixel alpha, and the surfaces kept between paints.
#include "manager/PaintManagerUI.h"

#include <cstring>

#include "control/ControlUI.h"
#include "manager/UIListWalk.h"
#include "render/UIClipGuard.h"
#include "render/UIDrawInfo.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

// Same signature as user32's UpdateLayeredWindow, looked up by name for old systems.
using UpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                              BLENDFUNCTION*, DWORD);

UpdateLayeredWindowProc GetUpdateLayeredWindow()
{
    static const auto proc = reinterpret_cast<UpdateLayeredWindowProc>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow"));
    return proc;
}

// A collected container is answered with itself, which makes the search skip its subtree: its own
// SetPos places the children, and the search would otherwise visit it a second time. Leaves answer
// null so that the search goes on to their siblings.
CControlUI* CollectUpdateNeeded(CControlUI* control, LPVOID data)
{
    auto* manager = static_cast<CPaintManagerUI*>(data);
    if (!control->IsUpdateNeeded() || control->GetManager() != manager)
        return nullptr;
    manager->GetSearchResults()->Add(control);
    return control->GetInterface(L"Container") != nullptr ? control : nullptr;
}

RECT Shrink(const RECT& rc, const RECT& inset)
{
    return RECT{rc.left + inset.left, rc.top + inset.top, rc.right - inset.right, rc.bottom - inset.bottom};
}

void DeleteSurface(HDC& dc, HBITMAP& bitmap, DWORD*& bits)
{
    if (dc != nullptr)
        ::DeleteDC(dc);
    if (bitmap != nullptr)
        ::DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
    bits = nullptr;
}

// Rows of the off-screen and background bitmaps are stored bottom-up.
template <typename Fn>
void ForEachPixel(DWORD* bits, int width, int height, const RECT& rc, Fn fn)
{
    if (bits == nullptr)
        return;
    const int left = rc.left < 0 ? 0 : rc.left;
    const int top = rc.top < 0 ? 0 : rc.top;
    const int right = rc.right > width ? width : rc.right;
    const int bottom = rc.bottom > height ? height : rc.bottom;
    for (int y = top; y < bottom; ++y) {
        DWORD* row = bits + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width);
        for (int x = left; x < right; ++x)
            fn(row[x], static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) + x);
    }
}

class MemoryBitmap {
public:
    MemoryBitmap(HDC compatible, int width, int height) : m_dc(::CreateCompatibleDC(compatible))
    {
        BYTE* bits = nullptr;
        m_bitmap = CUIRender::CreateARGB32Bitmap(compatible, width, height, &bits);
        m_bits = reinterpret_cast<DWORD*>(bits);
        if (m_dc != nullptr && m_bitmap != nullptr)
            m_old = ::SelectObject(m_dc, m_bitmap);
    }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;
    ~MemoryBitmap()
    {
        if (m_dc != nullptr) {
            if (m_old != nullptr)
                ::SelectObject(m_dc, m_old);
            ::DeleteDC(m_dc);
        }
        if (m_bitmap != nullptr)
            ::DeleteObject(m_bitmap);
    }
    bool IsValid() const { return m_dc != nullptr && m_bitmap != nullptr && m_bits != nullptr; }
    HDC DC() const { return m_dc; }
    DWORD* Bits() const { return m_bits; }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    HGDIOBJ m_old = nullptr;
};

// The after-paint controls draw in order; one may leave the list, or free another, as it draws.
void PostPaint(const CUIPtrArray& controls, HDC dc, const RECT& rcPaint)
{
    WalkListSnapshot<CControlUI>(
        controls,
        [dc, &rcPaint](CControlUI* control) {
            control->DoPostPaint(dc, rcPaint);
            return false;
        },
        [] { return true; });
}

} // namespace

bool CPaintManagerUI::OnPaintMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_PAINT:
        return OnPaint(result);
    case WM_PRINTCLIENT:
        result = 0;
        return OnPrintClient(wParam, lParam);
    case WM_DPICHANGED:
        ApplyDpi(LOWORD(wParam));
        result = 0;
        return true;
    default:
        // WM_SIZE: the surfaces follow the client size at the next full layout.
        return false;
    }
}

void CPaintManagerUI::ReleasePaintResources(bool destroying)
{
    ClearDrawInfoCache();
    RemoveAllImages();
    m_drawnImages.Clear();
    if (destroying) {
        DeleteSurface(m_hDcOffscreen, m_hbmpOffscreen, m_pOffscreenBits);
        DeleteSurface(m_hDcBackground, m_hbmpBackground, m_pBackgroundBits);
    }
}

bool CPaintManagerUI::OnPaint(LRESULT& result)
{
    result = 0;
    if (m_hWndPaint == nullptr)
        return false;
    if (m_pRoot == nullptr) {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWndPaint, &ps);
        CUIRender::DrawColor(ps.hdc, ps.rcPaint, 0xFF000000);
        ::EndPaint(m_hWndPaint, &ps);
        return true;
    }

    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(m_hWndPaint, &rcClient);
    RECT rcPaint = {0, 0, 0, 0};
    if (!::GetUpdateRect(m_hWndPaint, &rcPaint, FALSE))
        return true;

    if (m_bFocusNeeded)
        MoveTabFocus(true);

    m_bPainting = true;
    bool laidOut = false;
    const int width = rcClient.right - rcClient.left;
    const int height = rcClient.bottom - rcClient.top;

    if (m_bUpdateNeeded) {
        m_bUpdateNeeded = false;
        if (!::IsRectEmpty(&rcClient) && !::IsIconic(m_hWndPaint)) {
            if (m_pRoot->IsUpdateNeeded()) {
                // The surfaces are re-created at the new client size below.
                DeleteSurface(m_hDcOffscreen, m_hbmpOffscreen, m_pOffscreenBits);
                DeleteSurface(m_hDcBackground, m_hbmpBackground, m_pBackgroundBits);
                const RECT rcRoot = m_bLayered ? Shrink(rcClient, m_rcLayeredInset) : rcClient;
                m_pRoot->SetPos(rcRoot, true);
            } else {
                m_aFoundControls.Empty();
                m_pRoot->FindControl(CollectUpdateNeeded, this, FindVisible | FindUpdateTest | FindMeFirst);
                for (int i = 0; i < m_aFoundControls.GetSize(); ++i) {
                    auto* control = static_cast<CControlUI*>(m_aFoundControls[i]);
                    control->SetPos(control->IsFloat() ? control->GetRelativePos() : control->GetPos(), true);
                }
            }
            laidOut = true;
            // The move waited for this layout: made now, before this paint's BeginPaint validates
            // the invalidation that deferred it, and before "windowinit" handlers choose a focus.
            if (m_bFocusNeeded) {
                // Positions are known now, even when the layout asked for another round.
                const bool again = m_bUpdateNeeded;
                m_bUpdateNeeded = false;
                MoveTabFocus(true);
                m_bUpdateNeeded = m_bUpdateNeeded || again;
                RECT moved = {0, 0, 0, 0};
                if (::GetUpdateRect(m_hWndPaint, &moved, FALSE))
                    ::UnionRect(&rcPaint, &rcPaint, &moved);
            }
            if (m_bFirstLayout) {
                m_bFirstLayout = false;
                RaiseNotify(m_pRoot, L"windowinit", 0, 0, false);
                if (m_bLayered && m_bLayeredChanged) {
                    // The next WM_PAINT composes the picture the handlers just set up.
                    Invalidate();
                    m_bPainting = false;
                    return true;
                }
                m_shadow.Update(m_hWndPaint);
            }
        }
    } else if (m_bLayered && m_bLayeredChanged) {
        if (m_pOffscreenBits != nullptr) {
            ::GdiFlush();
            std::memset(m_pOffscreenBits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        }
        m_pRoot->SetPos(Shrink(rcClient, m_rcLayeredInset), true);
    }

    if (m_bLayered) {
        const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
        if ((exStyle & WS_EX_LAYERED) == 0)
            ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        m_bOffscreenPaint = true;
        ::UnionRect(&rcPaint, &rcPaint, &m_rcUpdate);
        if (rcPaint.right > rcClient.right)
            rcPaint.right = rcClient.right;
        if (rcPaint.bottom > rcClient.bottom)
            rcPaint.bottom = rcClient.bottom;
        m_rcUpdate = RECT{0, 0, 0, 0};
    }

    if (m_bOffscreenPaint && m_hbmpOffscreen == nullptr && width > 0 && height > 0) {
        m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
        BYTE* bits = nullptr;
        m_hbmpOffscreen = CUIRender::CreateARGB32Bitmap(m_hDcPaint, width, height, &bits);
        m_pOffscreenBits = reinterpret_cast<DWORD*>(bits);
    }

    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);
    if (m_bOffscreenPaint && m_hDcOffscreen != nullptr && m_hbmpOffscreen != nullptr) {
        HGDIOBJ oldBitmap = ::SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
        const int saved = ::SaveDC(m_hDcOffscreen);
        if (m_bLayered) {
            ::GdiFlush();
            ForEachPixel(m_pOffscreenBits, width, height, rcPaint, [](DWORD& px, size_t) { px = 0; });
        }
        m_pRoot->Paint(m_hDcOffscreen, rcPaint, nullptr);
        if (m_bLayered) {
            for (int i = 0; i < m_aChildWnds.GetSize();) {
                HWND child = static_cast<HWND>(m_aChildWnds[i]);
                if (!::IsWindow(child)) {
                    m_aChildWnds.Remove(i);
                    m_aChildWndControls.Remove(i);
                    continue;
                }
                ++i;
                if (!::IsWindowVisible(child))
                    continue;
                const RECT rcChild = GetChildWindowRect(child);
                RECT overlap;
                if (!::IntersectRect(&overlap, &rcChild, &rcPaint))
                    continue;
                const int cw = rcChild.right - rcChild.left;
                const int ch = rcChild.bottom - rcChild.top;
                MemoryBitmap image(m_hDcOffscreen, cw, ch);
                if (!image.IsValid())
                    continue;
                ::GdiFlush();
                std::memset(image.Bits(), 0, static_cast<size_t>(cw) * static_cast<size_t>(ch) * 4);
                ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(image.DC()),
                               PRF_CHECKVISIBLE | PRF_CLIENT | PRF_CHILDREN | PRF_OWNED);
                ::GdiFlush();
                // Native controls draw with GDI, which leaves alpha 0: whatever they drew is opaque.
                for (size_t p = 0; p < static_cast<size_t>(cw) * static_cast<size_t>(ch); ++p) {
                    if (image.Bits()[p] != 0)
                        image.Bits()[p] |= 0xFF000000;
                }
                ::BitBlt(m_hDcOffscreen, rcChild.left, rcChild.top, cw, ch, image.DC(), 0, 0, SRCCOPY);
            }
        }
        PostPaint(m_aPostPaintControls, m_hDcOffscreen, rcPaint);
        ::RestoreDC(m_hDcOffscreen, saved);
        if (m_bLayered)
            PaintLayered(rcClient, rcPaint, width, height);

        if (m_bLayered) {
            RECT rcWindow = {0, 0, 0, 0};
            ::GetWindowRect(m_hWndPaint, &rcWindow);
            POINT ptDest = {rcWindow.left, rcWindow.top};
            SIZE size = {width, height};
            POINT ptSrc = {0, 0};
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_nOpacity, AC_SRC_ALPHA};
            if (UpdateLayeredWindowProc update = GetUpdateLayeredWindow())
                update(m_hWndPaint, m_hDcPaint, &ptDest, &size, m_hDcOffscreen, &ptSrc, 0, &blend, ULW_ALPHA);
        } else {
            ::BitBlt(ps.hdc, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top,
                     m_hDcOffscreen, rcPaint.left, rcPaint.top, SRCCOPY);
        }
        ::SelectObject(m_hDcOffscreen, oldBitmap);

        if (m_bShowUpdateRect && !m_bLayered) {
            HGDIOBJ oldPen = ::SelectObject(ps.hdc, GetUpdateRectPen());
            HGDIOBJ oldBrush = ::SelectObject(ps.hdc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(ps.hdc, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
            ::SelectObject(ps.hdc, oldBrush);
            ::SelectObject(ps.hdc, oldPen);
        }
    } else {
        const int saved = ::SaveDC(ps.hdc);
        m_pRoot->Paint(ps.hdc, rcPaint, nullptr);
        PostPaint(m_aPostPaintControls, ps.hdc, rcPaint);
        ::RestoreDC(ps.hdc, saved);
    }
    ::EndPaint(m_hWndPaint, &ps);

    m_bPainting = false;
    m_bLayeredChanged = false;
    if (m_bUpdateNeeded)
        Invalidate();
    if (laidOut)
        RaiseNotify(m_pRoot, L"windowsize", 0, 0, true);
    return true;
}

// The alpha of a layered window: from the layered image when there is one, else every pixel
// that has colour but no alpha (plain GDI output) becomes opaque.
void CPaintManagerUI::PaintLayered(const RECT& rcClient, const RECT& rcPaint, int width, int height)
{
    ::GdiFlush();
    if (m_sLayeredImage.IsEmpty()) {
        ForEachPixel(m_pOffscreenBits, width, height, rcPaint, [](DWORD& px, size_t) {
            if ((px & 0xFF000000) == 0 && (px & 0x00FFFFFF) != 0)
                px |= 0xFF000000;
        });
        return;
    }
    const RECT rcLayered = Shrink(rcClient, m_rcLayeredInset);
    bool draw = false;
    if (m_hbmpBackground == nullptr) {
        m_hDcBackground = ::CreateCompatibleDC(m_hDcPaint);
        BYTE* bits = nullptr;
        m_hbmpBackground = CUIRender::CreateARGB32Bitmap(m_hDcPaint, width, height, &bits);
        m_pBackgroundBits = reinterpret_cast<DWORD*>(bits);
        if (m_hDcBackground == nullptr || m_hbmpBackground == nullptr || m_pBackgroundBits == nullptr) {
            DeleteSurface(m_hDcBackground, m_hbmpBackground, m_pBackgroundBits);
            return;
        }
        ::SelectObject(m_hDcBackground, m_hbmpBackground);
        draw = true;
    } else if (m_bLayeredChanged) {
        draw = true;
    }
    if (draw) {
        ::GdiFlush();
        std::memset(m_pBackgroundBits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        CUIClipGuard clip;
        CUIClipGuard::GenerateClip(m_hDcBackground, rcLayered, clip);
        const UIDrawInfo* info = GetCachedDrawInfo(m_sLayeredImage, nullptr);
        CUIRender::DrawImageInfo(m_hDcBackground, this, rcLayered, rcLayered, info);
        ::GdiFlush();
    }
    const DWORD* background = m_pBackgroundBits;
    ForEachPixel(m_pOffscreenBits, width, height, rcPaint, [background](DWORD& px, size_t index) {
        const DWORD a = background[index] >> 24;
        const DWORD b = (px & 0xFF) * a / 255;
        const DWORD g = ((px >> 8) & 0xFF) * a / 255;
        const DWORD r = ((px >> 16) & 0xFF) * a / 255;
        px = (a << 24) | (r << 16) | (g << 8) | b;
    });
}

bool CPaintManagerUI::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (m_pRoot == nullptr || m_hWndPaint == nullptr)
        return false;
    HDC target = reinterpret_cast<HDC>(wParam);
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(m_hWndPaint, &rc);
    const int saved = ::SaveDC(target);
    m_pRoot->Paint(target, rc, nullptr);
    if ((lParam & PRF_CHILDREN) != 0) {
        for (HWND child = ::GetWindow(m_hWndPaint, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT rcChild = {0, 0, 0, 0};
            ::GetWindowRect(child, &rcChild);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&rcChild), 2);
            ::SetWindowOrgEx(target, -rcChild.left, -rcChild.top, nullptr);
            ::SendMessageW(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(target, saved);
    // Not handled: the default processing follows.
    return false;
}

} // namespace ZvUI

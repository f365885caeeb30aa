// Paint manager window properties: lengths are stored at 96 dpi and returned
// scaled by the manager's DPI helper; the initial size is stored as given.
#include "manager/PaintManagerUI.h"

#include "control/ControlUI.h"
#include "manager/DpiHelper.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

using SetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using UpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                              BLENDFUNCTION*, DWORD);

// Looked up once per process; null when this User32 lacks it.
UpdateLayeredWindowProc UpdateLayeredWindowFunction()
{
    static const auto proc = reinterpret_cast<UpdateLayeredWindowProc>(
        ::GetProcAddress(::GetModuleHandleW(L"User32.dll"), "UpdateLayeredWindow"));
    return proc;
}

} // namespace

void CPaintManagerUI::SetInitialSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    if (m_hWndPaint != nullptr)
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

RECT CPaintManagerUI::GetCaptionRect()
{
    RECT rc = m_rcCaption;
    GetDpiHelper()->ScaleRect(rc);
    return rc;
}

RECT CPaintManagerUI::GetSizeBox()
{
    RECT rc = m_rcSizeBox;
    GetDpiHelper()->ScaleRect(rc);
    return rc;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner.cx = cx;
    m_szRoundCorner.cy = cy;
}

SIZE CPaintManagerUI::GetRoundCorner()
{
    SIZE sz = m_szRoundCorner;
    GetDpiHelper()->ScaleSize(sz);
    return sz;
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow.cx = cx;
    m_szMinWindow.cy = cy;
}

SIZE CPaintManagerUI::GetMinInfo()
{
    SIZE sz = m_szMinWindow;
    GetDpiHelper()->ScaleSize(sz);
    return sz;
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy)
{
    m_szMaxWindow.cx = cx;
    m_szMaxWindow.cy = cy;
}

SIZE CPaintManagerUI::GetMaxInfo()
{
    SIZE sz = m_szMaxWindow;
    GetDpiHelper()->ScaleSize(sz);
    return sz;
}

void CPaintManagerUI::SetOpacity(BYTE opacity)
{
    m_nOpacity = opacity;
    if (m_hWndPaint == nullptr)
        return;
    // Looked up on every call, as the window may live in a process without it.
    const auto setAttributes = reinterpret_cast<SetLayeredWindowAttributesProc>(
        ::GetProcAddress(::GetModuleHandleW(L"User32.dll"), "SetLayeredWindowAttributes"));
    if (setAttributes == nullptr)
        return;
    const LONG exStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0)
        ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    setAttributes(m_hWndPaint, 0, opacity, LWA_ALPHA);
}

void CPaintManagerUI::SetLayered(bool layered)
{
    m_bLayeredRequested = layered;
    if (m_hWndPaint == nullptr || layered == m_bLayered)
        return;
    // Child windows stay non-layered.
    if ((::GetWindowLongW(m_hWndPaint, GWL_STYLE) & WS_CHILD) != 0)
        return;
    if (UpdateLayeredWindowFunction() == nullptr)
        return;
    m_bLayered = layered;
    if (m_pRoot != nullptr)
        m_pRoot->NeedUpdate();
    Invalidate();
}

void CPaintManagerUI::SetLayeredBackground(LPCWSTR drawString)
{
    m_sLayeredImage = drawString;
    // Parsed and its image loaded now, so the first layered paint finds both ready.
    if (!m_sLayeredImage.IsEmpty()) {
        const RECT none = {0, 0, 0, 0};
        (void)CUIRender::DrawImageInfo(nullptr, this, none, none, GetCachedDrawInfo(m_sLayeredImage, nullptr));
    }
    m_bLayeredChanged = true;
    Invalidate();
}

void CPaintManagerUI::SetLayeredInset(const RECT& rc)
{
    m_rcLayeredInset = rc;
    m_bLayeredChanged = true;
    Invalidate();
}

void CPaintManagerUI::SetLayeredOpacity(BYTE opacity)
{
    m_nOpacity = opacity;
    m_bLayeredChanged = true;
    Invalidate();
}

} // namespace ZvUI

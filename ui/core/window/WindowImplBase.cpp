// Skinned window base: skin build at WM_CREATE, emulated caption and frame, caption buttons.
#include "window/WindowImplBase.h"

#include <windowsx.h>

#include <cwchar>

#include "control/ControlUI.h"
#include "layout/ContainerUI.h"

namespace ZvUI {

ZV_BEGIN_MESSAGE_TABLE(WindowImplBase, CNotifyPump)
ZV_ON_NOTIFY(L"click", OnCaptionButton)
ZV_END_MESSAGE_TABLE()

namespace {

// Classes over which the caption band still drags the window.
bool IsPassThroughClass(CControlUI* control)
{
    static const wchar_t* const kClasses[] = {
        L"controlui", L"textui", L"labelui", L"containerui", L"horizontallayoutui",
        L"verticallayoutui", L"tablayoutui", L"childlayoutui", L"dialoglayoutui",
        L"progresscontainerui"};
    LPCWSTR cls = control->GetClass();
    if (cls == nullptr)
        return false;
    const CUIString lower = CUIString(cls).ToLower();
    for (const wchar_t* name : kClasses) {
        if (wcscmp(lower, name) == 0)
            return true;
    }
    return false;
}

void SetControlVisible(CPaintManagerUI& pm, LPCWSTR name, bool visible)
{
    if (CControlUI* control = pm.FindControl(name))
        control->SetVisible(visible);
}

} // namespace

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

CUIString WindowImplBase::GetSkinType()
{
    return CUIString();
}

LPCWSTR WindowImplBase::GetManagerName()
{
    return nullptr;
}

LRESULT WindowImplBase::OnDefaultKey(WPARAM key)
{
    return key == VK_ESCAPE ? TRUE : FALSE;
}

LONG WindowImplBase::GetStyle()
{
    return ::GetWindowLongW(m_hWnd, GWL_STYLE) & ~WS_CAPTION;
}

CControlUI* WindowImplBase::CreateControl(LPCWSTR)
{
    return nullptr;
}

LPCWSTR WindowImplBase::QueryControlText(LPCWSTR, LPCWSTR)
{
    return nullptr;
}

void WindowImplBase::Notify(UINotifyMessage& msg)
{
    RouteNotify(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT msg, WPARAM wParam, LPARAM, bool&)
{
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return OnDefaultKey(wParam);
    return 0;
}

// --- dispatch ---

LRESULT WindowImplBase::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    BOOL handled = TRUE;
    switch (msg) {
    case WM_CREATE: result = OnCreate(msg, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(msg, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(msg, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(msg, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(msg, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(msg, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(msg, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(msg, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(msg, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(msg, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(msg, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(msg, wParam, lParam, handled); break;
    case WM_CHAR: result = OnChar(msg, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(msg, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(msg, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(msg, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(msg, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(msg, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMouseHover(msg, wParam, lParam, handled); break;
    default: handled = FALSE; break;
    }
    if (handled)
        return result;
    result = HandleCustomMessage(msg, wParam, lParam, handled);
    if (handled)
        return result;
    if (m_pm.HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

void WindowImplBase::OnFinalMessage(HWND)
{
    m_pm.RemoveEarlyMessageFilter(this);
    m_pm.RemoveNotifyListener(this);
    m_pm.ForgetControl(m_pm.GetRoot());
}

// --- default handlers ---

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (::IsIconic(m_hWnd))
        handled = FALSE;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&)
{
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    return 0;
}

// --- the emulated frame ---

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client;
    ::GetClientRect(m_hWnd, &client);

    if (!::IsZoomed(m_hWnd)) {
        const RECT box = m_pm.GetSizeBox();
        const bool left = pt.x < client.left + box.left;
        const bool right = pt.x > client.right - box.right;
        if (pt.y < client.top + box.top)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (pt.y > client.bottom - box.bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
    }

    RECT caption = m_pm.GetCaptionRect();
    // A negative bottom makes the whole height caption band.
    if (caption.bottom < 0)
        caption.bottom = client.bottom;
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
        pt.y >= caption.top && pt.y < caption.bottom) {
        if (IsCaptionPassThrough(m_pm.FindControl(pt)))
            return HTCAPTION;
    }
    return HTCLIENT;
}

bool WindowImplBase::IsCaptionPassThrough(CControlUI* control)
{
    if (control == nullptr || !IsPassThroughClass(control))
        return false;
    for (CControlUI* up = control->GetParent(); up != nullptr; up = up->GetParent()) {
        if (!IsPassThroughClass(up))
            return false;
    }
    return true;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT work = monitor.rcWork;
    // The maximised position is relative to the window's own monitor.
    if ((monitor.dwFlags & MONITORINFOF_PRIMARY) == 0)
        ::OffsetRect(&work, -work.left, -work.top);

    const int width = work.right - work.left;
    const int height = work.bottom - work.top;
    info->ptMaxPosition = {work.left, work.top};
    info->ptMaxSize = {width, height};
    const SIZE maxInfo = m_pm.GetMaxInfo();
    info->ptMaxTrackSize.x = maxInfo.cx != 0 ? maxInfo.cx : width;
    info->ptMaxTrackSize.y = maxInfo.cy != 0 ? maxInfo.cy : height;
    const SIZE minInfo = m_pm.GetMinInfo();
    info->ptMinTrackSize = {minInfo.cx, minInfo.cy};
    handled = TRUE;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const SIZE corner = m_pm.GetRoundCorner();
    if (!::IsIconic(m_hWnd)) {
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        ::OffsetRect(&rc, -rc.left, -rc.top);
        HRGN region = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, corner.cx,
                                           corner.cy);
        // The window owns the region from here on.
        if (region != nullptr && ::SetWindowRgn(m_hWnd, region, TRUE) == 0)
            ::DeleteObject(region);
    }
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (wParam == SC_CLOSE) {
        handled = TRUE;
        SendMessage(WM_CLOSE);
        return 0;
    }
    const bool wasZoomed = ::IsZoomed(m_hWnd) != FALSE;
    const LRESULT result = CWindowWnd::OnMessage(msg, wParam, lParam);
    const bool zoomed = ::IsZoomed(m_hWnd) != FALSE;
    if (zoomed == wasZoomed)
        return result;

    CControlUI* wrapper = m_pm.GetRootWrapper();
    auto* container =
        wrapper != nullptr ? static_cast<CContainerUI*>(wrapper->GetInterface(L"Container")) : nullptr;
    if (zoomed) {
        if (container != nullptr)
            container->SetInset(0, 0, 0, 0);
        SetControlVisible(m_pm, L"maxbtn", false);
        SetControlVisible(m_pm, L"restorebtn", true);
    } else {
        if (container != nullptr) {
            const RECT inset = m_pm.GetRootWrapperInset();
            container->SetInset(inset.left, inset.top, inset.right, inset.bottom);
        }
        SetControlVisible(m_pm, L"maxbtn", true);
        SetControlVisible(m_pm, L"restorebtn", false);
    }
    return result;
}

// --- skin ---

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);

    m_pm.AttachWindow(m_hWnd, GetManagerName());
    m_pm.AddEarlyMessageFilter(this);

    const CUIString skinFile = GetSkinFile();
    const CUIString skinType = GetSkinType();
    CLayoutBuilder builder;
    CControlUI* root = nullptr;
    if (skinType.IsEmpty()) {
        root = builder.Create(skinFile, nullptr, this, &m_pm, nullptr);
    } else {
        const WORD id = static_cast<WORD>(_wtoi(skinFile));
        root = builder.Create(MAKEINTRESOURCEW(id), skinType, this, &m_pm, nullptr);
    }

    if (root == nullptr) {
        CUIString text = L"加载资源文件失败：";
        text += skinFile;
        ::MessageBoxW(nullptr, text, L"ZvUI", MB_ICONERROR);
        ::ExitProcess(1);
    }
    m_pm.SetRootControl(root);
    m_pm.AddNotifyListener(this);
    InitWindow();
    handled = TRUE;
    return 0;
}

void WindowImplBase::OnCaptionButton(UINotifyMessage& msg)
{
    if (msg.sender == nullptr)
        return;
    const CUIString name = msg.sender->GetName();
    if (name == L"closebtn")
        Close(IDOK);
    else if (name == L"minbtn")
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn")
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn")
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

} // namespace ZvUI

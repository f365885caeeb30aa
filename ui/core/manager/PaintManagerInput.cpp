// Paint manager message handling and input: window messages to control events,
// hover and tooltip, the keyboard preview, PreTranslate and the message loop.
#include "manager/PaintManagerUI.h"

#include <cwchar>
#include <cwctype>

#include "control/ControlUI.h"
#include "manager/UIControlServices.h"
#include "render/UIRender.h"
#include "richedit/RichEditUI.h"

namespace ZvUI {

namespace {

constexpr UINT kAsyncMessage = WM_APP + 1;
// Child windows get their own WM_NOTIFY, WM_COMMAND and WM_CTLCOLOR* back at this offset.
constexpr UINT kReflectBase = 0x2000;

POINT PointFromLParam(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The screen point of a context-menu or wheel message, in the window's client coordinates.
POINT ClientPointFromScreen(HWND hwnd, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(hwnd, &pt);
    return pt;
}

// Mouse button events take their key state from the message's MK_ bits.
UIControlEvent MakeButtonEvent(int type, CControlUI* sender, POINT pt, WPARAM wParam, LPARAM lParam)
{
    UIControlEvent event = MakeEvent(type, sender);
    event.mousePoint = pt;
    event.wParam = wParam;
    event.lParam = lParam;
    event.keyState = LOWORD(wParam);
    return event;
}

bool ClassContains(CControlUI* control, LPCWSTR part)
{
    LPCWSTR name = control->GetClass();
    return name != nullptr && wcsstr(name, part) != nullptr;
}

struct ShortcutSearch {
    wchar_t ch = 0;
    bool matched = false;
};

CControlUI* ShortcutProc(CControlUI* control, LPVOID data)
{
    if (!control->IsVisible())
        return nullptr;
    auto* search = static_cast<ShortcutSearch*>(data);
    if (search->ch == static_cast<wchar_t>(::towupper(control->GetShortcut())))
        search->matched = true;
    // Labels never take focus: a label's shortcut selects the next control that is not one.
    if (ClassContains(control, L"LabelUI"))
        return nullptr;
    return search->matched ? control : nullptr;
}

} // namespace

WORD CPaintManagerUI::GetKeyStateFlags()
{
    WORD state = 0;
    if (::GetKeyState(VK_LBUTTON) < 0)
        state |= KeyStateLButton;
    if (::GetKeyState(VK_RBUTTON) < 0)
        state |= KeyStateRButton;
    if (::GetKeyState(VK_SHIFT) < 0)
        state |= KeyStateShift;
    if (::GetKeyState(VK_CONTROL) < 0)
        state |= KeyStateControl;
    if (::GetKeyState(VK_MENU) < 0)
        state |= KeyStateAlt;
    return state;
}

void CPaintManagerUI::SendControlEvent(CControlUI* control, UIControlEvent& event)
{
    if (control != nullptr)
        control->Event(event);
}

// --- the window procedure's part ---

bool CPaintManagerUI::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_hWndPaint == nullptr)
        return false;
    if (msg == WM_DESTROY)
        RevokeDropTarget();

    // Message filters first; the first that sets handled ends the message.
    for (int i = 0; i < m_aMessageFilters.GetSize(); ++i) {
        auto* filter = static_cast<IMessageFilterUI*>(m_aMessageFilters[i]);
        bool handled = false;
        const LRESULT answer = filter->MessageHandler(msg, wParam, lParam, handled);
        if (!handled)
            continue;
        result = answer;
        switch (msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            m_ptLastMousePos = PointFromLParam(lParam);
            break;
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL: {
            POINT pt = PointFromLParam(lParam);
            ::ScreenToClient(m_hWndPaint, &pt);
            m_ptLastMousePos = pt;
            break;
        }
        default:
            break;
        }
        return true;
    }

    // A layered window draws no frame of its own.
    if (m_bLayered) {
        switch (msg) {
        case WM_NCACTIVATE:
            if (!::IsIconic(m_hWndPaint)) {
                result = wParam == 0 ? TRUE : FALSE;
                return true;
            }
            break;
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            result = 0;
            return true;
        default:
            break;
        }
    }

    switch (msg) {
    case kAsyncMessage:
        ProcessAsyncWork();
        return false;

    case WM_CLOSE: {
        UIControlEvent event = MakeEvent(0, nullptr);
        event.mousePoint = m_ptLastMousePos;
        event.keyState = GetKeyStateFlags();
        if (m_pEventHover != nullptr) {
            event.type = EventMouseLeave;
            event.sender = m_pEventHover;
            m_pEventHover->Event(event);
        }
        if (m_pEventClick != nullptr) {
            event.type = EventButtonUp;
            event.sender = m_pEventClick;
            m_pEventClick->Event(event);
        }
        SetFocus(nullptr);
        // Hand the keyboard back to the owner before this window goes.
        if (::GetActiveWindow() == m_hWndPaint) {
            HWND owner = ::GetWindow(m_hWndPaint, GW_OWNER);
            if (owner != nullptr)
                ::SetFocus(owner);
        }
        if (m_hwndTooltip != nullptr) {
            ::DestroyWindow(m_hwndTooltip);
            m_hwndTooltip = nullptr;
        }
        return false;
    }

    case WM_ERASEBKGND:
        result = 1;
        return true;

    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_DPICHANGED:
        return OnPaintMessage(msg, wParam, lParam, result);

    case WM_GETMINMAXINFO: {
        // The stored values are used as stored (the window base scales its own copy).
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info == nullptr)
            return false;
        if (m_szMinWindow.cx > 0)
            info->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0)
            info->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) {
            info->ptMaxTrackSize.x = m_szMaxWindow.cx;
            info->ptMaxSize.x = m_szMaxWindow.cx;
        }
        if (m_szMaxWindow.cy > 0) {
            info->ptMaxTrackSize.y = m_szMaxWindow.cy;
            info->ptMaxSize.y = m_szMaxWindow.cy;
        }
        return false;
    }

    case WM_SIZE: {
        if (m_pFocus != nullptr) {
            UIControlEvent event = MakeEvent(EventWindowSize, m_pFocus);
            m_pFocus->Event(event);
        }
        if (m_pRoot != nullptr)
            m_pRoot->NeedUpdate();
        LRESULT ignored = 0;
        OnPaintMessage(msg, wParam, lParam, ignored);
        return true;
    }

    case WM_TIMER:
        for (int i = 0; i < m_aTimers.GetSize(); ++i) {
            auto* timer = static_cast<UITimerInfo*>(m_aTimers[i]);
            if (timer->window == m_hWndPaint && timer->windowTimerId == LOWORD(wParam) && !timer->killed) {
                UIControlEvent event = MakeEvent(EventTimer, timer->control);
                event.mousePoint = m_ptLastMousePos;
                event.keyState = GetKeyStateFlags();
                event.wParam = timer->callerId;
                event.lParam = lParam;
                timer->control->Event(event);
                break;
            }
        }
        return false;

    case WM_MOUSEHOVER:
        return OnMouseHover(wParam, lParam);

    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;

    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return false;

    case WM_LBUTTONDOWN: {
        POINT pt = {};
        CControlUI* control = PressedControl(lParam, pt);
        if (control == nullptr)
            return false;
        if (m_bDragMode && control->IsDragEnabled()) {
            m_bDragPending = true;
            if (m_hDragBitmap != nullptr)
                ::DeleteObject(m_hDragBitmap);
            m_hDragBitmap = CUIRender::GenerateBitmap(this, control, control->GetPos());
        }
        SetCapture();
        m_pEventClick = control;
        control->SetFocus();
        // A focus handler that freed the control made the manager forget it.
        if (m_pEventClick != control)
            return false;
        UIControlEvent event = MakeButtonEvent(EventButtonDown, control, pt, wParam, lParam);
        control->Event(event);
        return false;
    }

    case WM_LBUTTONDBLCLK: {
        POINT pt = {};
        CControlUI* control = PressedControl(lParam, pt);
        if (control == nullptr)
            return false;
        SetCapture();
        // Recorded before the event, as for a press: a handler that frees the control is
        // forgotten with it, and the button-up then finds nobody.
        m_pEventClick = control;
        UIControlEvent event = MakeButtonEvent(EventDoubleClick, control, pt, wParam, lParam);
        control->Event(event);
        return false;
    }

    case WM_LBUTTONUP: {
        const POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        if (m_pEventClick == nullptr)
            return false;
        ReleaseCapture();
        CControlUI* click = m_pEventClick;
        m_pEventClick = nullptr;
        UIControlEvent event = MakeButtonEvent(EventButtonUp, click, pt, wParam, lParam);
        click->Event(event);
        return false;
    }

    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        POINT pt = {};
        CControlUI* control = PressedControl(lParam, pt);
        if (control == nullptr)
            return false;
        m_pEventClick = control;
        control->SetFocus();
        if (m_pEventClick != control)
            return false;
        SetCapture();
        UIControlEvent event = MakeButtonEvent(msg == WM_RBUTTONDOWN ? EventRButtonDown : EventMButtonDown,
                                               control, pt, wParam, lParam);
        control->Event(event);
        return false;
    }

    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        if (m_bMouseCapture)
            ReleaseCapture();
        const POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        m_pEventClick = ControlAt(pt);
        if (m_pEventClick == nullptr)
            return false;
        UIControlEvent event = MakeButtonEvent(msg == WM_RBUTTONUP ? EventRButtonUp : EventMButtonUp,
                                               m_pEventClick, pt, wParam, lParam);
        m_pEventClick->Event(event);
        return false;
    }

    case WM_CONTEXTMENU: {
        if (m_pRoot == nullptr)
            return false;
        const POINT pt = ClientPointFromScreen(m_hWndPaint, lParam);
        m_ptLastMousePos = pt;
        if (m_pEventClick == nullptr)
            return false;
        ReleaseCapture();
        CControlUI* click = m_pEventClick;
        UIControlEvent event = MakeButtonEvent(EventContextMenu, click, pt, wParam,
                                               reinterpret_cast<LPARAM>(click));
        click->Event(event);
        m_pEventClick = nullptr;
        return false;
    }

    case WM_MOUSEWHEEL: {
        if (m_pRoot == nullptr)
            return false;
        const POINT pt = ClientPointFromScreen(m_hWndPaint, lParam);
        m_ptLastMousePos = pt;
        CControlUI* control = ControlAt(pt);
        if (control == nullptr || control->GetManager() != this)
            return false;
        const int delta = static_cast<short>(HIWORD(wParam));
        UIControlEvent event = MakeEvent(EventScrollWheel, control);
        event.mousePoint = pt;
        event.wParam = MAKEWPARAM(delta < 0 ? 1 : 0, delta);
        event.lParam = lParam;
        event.keyState = GetKeyStateFlags();
        control->Event(event);
        // Hover follows content that scrolled under the mouse.
        ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
        return false;
    }

    case WM_KEYDOWN:
    case WM_CHAR: {
        if (m_pRoot == nullptr || m_pFocus == nullptr)
            return false;
        CControlUI* focus = m_pFocus;
        UIControlEvent event = MakeEvent(msg == WM_KEYDOWN ? EventKeyDown : EventChar, focus);
        event.keyChar = static_cast<wchar_t>(LOWORD(wParam));
        event.wParam = wParam;
        event.lParam = lParam;
        event.mousePoint = m_ptLastMousePos;
        event.keyState = GetKeyStateFlags();
        // Recorded before the event: a handler that frees the control is forgotten with it.
        if (msg == WM_KEYDOWN)
            m_pEventKey = focus;
        focus->Event(event);
        return false;
    }

    case WM_KEYUP: {
        if (m_pRoot == nullptr || m_pEventKey == nullptr)
            return false;
        CControlUI* key = m_pEventKey;
        UIControlEvent event = MakeEvent(EventKeyUp, key);
        event.keyChar = static_cast<wchar_t>(LOWORD(wParam));
        event.wParam = wParam;
        event.lParam = lParam;
        event.mousePoint = m_ptLastMousePos;
        event.keyState = GetKeyStateFlags();
        key->Event(event);
        m_pEventKey = nullptr;
        return false;
    }

    case WM_SETFOCUS: {
        if (m_pFocus == nullptr)
            return false;
        UIControlEvent event = MakeEvent(EventSetFocus, m_pFocus);
        event.wParam = wParam;
        event.lParam = lParam;
        m_pFocus->Event(event);
        return false;
    }

    case WM_KILLFOCUS:
        if (m_bMouseCapture)
            ReleaseCapture();
        return false;

    case WM_SETCURSOR: {
        if (m_pRoot == nullptr || LOWORD(lParam) != HTCLIENT)
            return false;
        if (m_bMouseCapture)
            return true;
        POINT pt = {0, 0};
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWndPaint, &pt);
        CControlUI* control = ControlAt(pt);
        if (control == nullptr || (control->GetControlFlags() & ControlFlagSetCursor) == 0)
            return false;
        UIControlEvent event = MakeEvent(EventSetCursor, control);
        event.mousePoint = pt;
        event.wParam = wParam;
        event.lParam = lParam;
        event.keyState = GetKeyStateFlags();
        control->Event(event);
        return true;
    }

    case WM_NOTIFY: {
        if (lParam == 0)
            return false;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        result = ::SendMessageW(header->hwndFrom, msg + kReflectBase, wParam, lParam);
        return true;
    }

    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0)
            return false;
        result = ::SendMessageW(reinterpret_cast<HWND>(lParam), msg + kReflectBase, wParam, lParam);
        return result != 0;

    default:
        return false;
    }
}

// --- mouse move, hover and tooltip ---

CControlUI* CPaintManagerUI::PressedControl(LPARAM lParam, POINT& pt)
{
    if (!m_bNoActivate)
        ::SetFocus(m_hWndPaint);
    pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlUI* control = ControlAt(pt);
    return control != nullptr && control->GetManager() == this ? control : nullptr;
}

void CPaintManagerUI::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_bMouseTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWndPaint;
        tme.dwHoverTime = m_hwndTooltip == nullptr
                              ? static_cast<DWORD>(m_nHoverTime)
                              : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME,
                                                                  TTDT_INITIAL, 0));
        ::_TrackMouseEvent(&tme);
        m_bMouseTracking = true;
    }
    const POINT pt = PointFromLParam(lParam);
    const bool moved = pt.x != m_ptLastMousePos.x || pt.y != m_ptLastMousePos.y;
    m_ptLastMousePos = pt;
    CControlUI* newHover = ControlAt(pt);
    if (newHover != nullptr && newHover->GetManager() != this)
        return;
    if (moved && m_bDragMode && m_bDragPending && wParam == MK_LBUTTON) {
        StartDrag();
        return;
    }

    UIControlEvent event = MakeEvent(0, nullptr);
    event.mousePoint = pt;
    event.wParam = wParam;
    event.lParam = lParam;
    event.keyState = GetKeyStateFlags();
    if (!m_bMouseCapture) {
        newHover = ControlAt(pt);
        if (newHover != nullptr && newHover->GetManager() != this)
            return;
        if (newHover != m_pEventHover && m_pEventHover != nullptr) {
            CControlUI* oldHover = m_pEventHover;
            event.type = EventMouseLeave;
            event.sender = oldHover;
            // A copy: a watcher may leave the list from inside its handler.
            CUIPtrArray watchers(m_aNeedMouseLeaveNeeded);
            for (int i = 0; i < watchers.GetSize(); ++i)
                static_cast<CControlUI*>(watchers[i])->Event(event);
            oldHover->Event(event);
            m_pEventHover = nullptr;
            if (m_hwndTooltip != nullptr)
                ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
        }
        if (newHover != m_pEventHover && newHover != nullptr) {
            event.type = EventMouseEnter;
            event.sender = newHover;
            // Recorded first: an enter handler that frees the control is forgotten with it.
            m_pEventHover = newHover;
            newHover->Event(event);
            if (m_pEventHover != newHover)
                newHover = nullptr;
        }
    }
    if (m_pEventClick != nullptr) {
        event.type = EventMouseMove;
        event.sender = m_pEventClick;
        m_pEventClick->Event(event);
    } else if (newHover != nullptr) {
        event.type = EventMouseMove;
        event.sender = newHover;
        newHover->Event(event);
    }
}

bool CPaintManagerUI::OnMouseHover(WPARAM wParam, LPARAM lParam)
{
    m_bMouseTracking = false;
    const POINT pt = PointFromLParam(lParam);
    CControlUI* control = ControlAt(pt);
    if (control == nullptr)
        return false;
    if (m_pEventHover != nullptr) {
        UIControlEvent event = MakeEvent(EventMouseHover, m_pEventHover);
        event.mousePoint = pt;
        event.wParam = wParam;
        event.lParam = lParam;
        event.keyState = GetKeyStateFlags();
        m_pEventHover->Event(event);
        // The handler may have freed or moved what lay under the pointer.
        control = ControlAt(pt);
        if (control == nullptr)
            return true;
    }
    m_sToolTipText = control->GetToolTip();
    if (m_sToolTipText.IsEmpty())
        return true;
    // The record's size is that of this build's TOOLINFOW, so every message reads it whole.
    m_ToolTip = TOOLINFOW{};
    m_ToolTip.cbSize = sizeof(TOOLINFOW);
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = GetModule();
    m_ToolTip.lpszText = const_cast<LPWSTR>(m_sToolTipText.GetData());
    m_ToolTip.rect = control->GetPos();
    if (m_hwndTooltip == nullptr) {
        m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                          m_hWndPaint, nullptr, GetModule(), nullptr);
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
        ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    }
    if (m_hwndTooltip != nullptr && !::IsWindowVisible(m_hwndTooltip)) {
        ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
        ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    return true;
}

void CPaintManagerUI::OnMouseLeave()
{
    if (m_hwndTooltip != nullptr)
        ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    if (m_bMouseTracking) {
        POINT pt = {0, 0};
        RECT rcWnd = {0, 0, 0, 0};
        ::GetCursorPos(&pt);
        ::GetWindowRect(m_hWndPaint, &rcWnd);
        // The cursor may still be over the client area (over the tooltip, say): hover stays.
        if (!::IsIconic(m_hWndPaint) && ::GetActiveWindow() == m_hWndPaint && ::PtInRect(&rcWnd, pt) &&
            ::SendMessageW(m_hWndPaint, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTCLIENT) {
            ::ScreenToClient(m_hWndPaint, &pt);
            ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        } else {
            ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
        }
    }
    m_bMouseTracking = false;
}

// --- keyboard preview ---

bool CPaintManagerUI::HandleKeyboardPreview(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    for (int i = 0; i < m_aPreMessageFilters.GetSize(); ++i) {
        auto* filter = static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i]);
        bool handled = false;
        filter->MessageHandler(msg, wParam, lParam, handled);
        if (handled)
            return true;
    }
    (void)result;

    switch (msg) {
    case WM_KEYDOWN: {
        if (wParam != VK_TAB)
            return false;
        if (m_pFocus != nullptr && m_pFocus->IsVisible() && m_pFocus->IsEnabled()) {
            if (ClassContains(m_pFocus, L"RichEditUI")) {
                auto* richEdit = static_cast<CRichEditUI*>(m_pFocus->GetInterface(L"RichEdit"));
                if (richEdit != nullptr && richEdit->IsWantTab())
                    return false;
            }
            if (ClassContains(m_pFocus, L"WebViewUI"))
                return false;
        }
        MoveTabFocus(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    case WM_SYSKEYDOWN:
        if (m_pFocus != nullptr) {
            UIControlEvent event = MakeEvent(EventSysKey, nullptr);
            event.keyChar = static_cast<wchar_t>(LOWORD(wParam));
            event.mousePoint = m_ptLastMousePos;
            event.keyState = GetKeyStateFlags();
            m_pFocus->Event(event);
        }
        return false;
    case WM_SYSCHAR: {
        if (m_pRoot == nullptr)
            return false;
        ShortcutSearch search;
        search.ch = static_cast<wchar_t>(::towupper(static_cast<wint_t>(wParam)));
        CControlUI* control = m_pRoot->FindControl(ShortcutProc, &search, FindEnabled | FindTopFirst | FindMeFirst);
        if (control == nullptr)
            return false;
        control->SetFocus();
        control->Activate();
        return true;
    }
    default:
        return false;
    }
}

bool CPaintManagerUI::TranslateAccelerator(MSG* msg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        auto* translator = static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i]);
        if (translator->TranslateAccelerator(msg) == 0)
            return true;
    }
    return false;
}

bool CPaintManagerUI::PreTranslate(const MSG* msg)
{
    if (msg == nullptr)
        return false;
    MSG copy = *msg;
    CUIPtrArray& managers = *GetAllManagers();
    LRESULT result = 0;
    const LONG style = ::GetWindowLongW(msg->hwnd, GWL_STYLE);
    if ((style & WS_CHILD) != 0) {
        // A native child: every manager whose window is the message window or one of its
        // ancestors previews the message.
        for (int i = 0; i < managers.GetSize(); ++i) {
            auto* manager = static_cast<CPaintManagerUI*>(managers[i]);
            for (HWND parent = ::GetParent(msg->hwnd); parent != nullptr; parent = ::GetParent(parent)) {
                if (msg->hwnd == manager->GetWindowHandle() || parent == manager->GetWindowHandle()) {
                    if (manager->TranslateAccelerator(&copy))
                        return true;
                    manager->HandleKeyboardPreview(copy.message, copy.wParam, copy.lParam, result);
                }
            }
        }
        return false;
    }
    for (int i = 0; i < managers.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(managers[i]);
        if (msg->hwnd == manager->GetWindowHandle()) {
            if (manager->TranslateAccelerator(&copy))
                return true;
            return manager->HandleKeyboardPreview(copy.message, copy.wParam, copy.lParam, result);
        }
    }
    return false;
}

int CPaintManagerUI::RunMessageLoop()
{
    MSG msg = {};
    BOOL got = FALSE;
    // -1 is an error (a bad window handle); it ends the loop as 0 does.
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        if (PreTranslate(&msg))
            continue;
        ::TranslateMessage(&msg);
        try {
            ::DispatchMessageW(&msg);
        } catch (...) {
            // A handler's exception must not end the program's only message loop.
        }
    }
    return static_cast<int>(got);
}

} // namespace ZvUI

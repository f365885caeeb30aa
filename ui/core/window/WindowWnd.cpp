// Native window binding: registration, the two window procedures and the modal loop.
#include "window/WindowWnd.h"

#include <cstdio>
#include <exception>

#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

// One Create in progress on this thread. The final message of its window marks it, so Create
// learns that the window ended during its creation without reading the object, which that
// message may have freed.
struct CreationRecord {
    const CWindowWnd* object;
    bool finalGiven;
    CreationRecord* outer;
};

thread_local CreationRecord* t_creations = nullptr;

void MarkFinalGiven(const CWindowWnd* object)
{
    for (CreationRecord* record = t_creations; record != nullptr; record = record->outer) {
        if (record->object == object) {
            record->finalGiven = true;
            return;
        }
    }
}

void LogStoppedException(UINT msg, const char* what)
{
    char line[256] = {};
    std::snprintf(line, sizeof(line), "ZvUI: an exception left the handler of message 0x%04X%s%s\n", msg,
                  what != nullptr ? ": " : "", what != nullptr ? what : "");
    ::OutputDebugStringA(line);
}

// Window property that carries the object of a superclassed window; the class's own
// GWLP_USERDATA and extra bytes belong to the superclass.
constexpr wchar_t kObjectProp[] = L"WndX";

// The number of modal loops running over a window, and the window of the innermost one, kept
// on that window.
constexpr wchar_t kModalCountProp[] = L"ZvModalLoops";
constexpr wchar_t kModalWindowProp[] = L"ZvModalWindow";

// One modal loop's hold on its owner: the owner is disabled while any loop over it runs, so a
// box that ends under another one must not enable it.
class OwnerHold {
public:
    OwnerHold(HWND owner, HWND modal) : m_owner(owner)
    {
        if (m_owner != nullptr) {
            SetCount(Count() + 1);
            m_outer = static_cast<HWND>(::GetPropW(m_owner, kModalWindowProp));
            ::SetPropW(m_owner, kModalWindowProp, modal);
        }
        ::EnableWindow(m_owner, FALSE);
    }
    OwnerHold(const OwnerHold&) = delete;
    OwnerHold& operator=(const OwnerHold&) = delete;

    // Ends this hold, once; true when no other loop holds the owner any more.
    bool Release()
    {
        if (m_held && m_owner != nullptr) {
            SetCount(Count() - 1);
            if (m_outer != nullptr)
                ::SetPropW(m_owner, kModalWindowProp, m_outer);
            else
                ::RemovePropW(m_owner, kModalWindowProp);
        }
        m_held = false;
        return m_owner == nullptr || Count() == 0;
    }

private:
    int Count() const
    {
        return static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropW(m_owner, kModalCountProp)));
    }
    void SetCount(int count) const
    {
        if (count > 0)
            ::SetPropW(m_owner, kModalCountProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(count)));
        else
            ::RemovePropW(m_owner, kModalCountProp);
    }

    HWND m_owner;
    HWND m_outer = nullptr;
    bool m_held = true;
};

// The mouse message that the system is taking from this thread's queue, as the mouse hook of a
// modal loop saw it. A press that reaches a disabled window is dropped right after its
// WM_SETCURSOR, while GetMessagePos still tells the message read before it (Wine): only the hook
// sees where the press was.
struct PressSeen {
    bool valid = false;
    WPARAM message = 0;
    POINT pt = {};
};

thread_local PressSeen t_pressSeen;

LRESULT CALLBACK ModalMouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    // Outside a client area (a disabled window answers HTERROR) the hook sees the non-client form.
    WPARAM message = wParam;
    if (message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONUP)
        message += WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;
    if (code == HC_ACTION && (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) && lParam != 0) {
        t_pressSeen.valid = true;
        t_pressSeen.message = message;
        t_pressSeen.pt = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->pt;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook for as long as one modal loop runs.
class ModalMouseWatch {
public:
    ModalMouseWatch()
        : m_hook(::SetWindowsHookExW(WH_MOUSE, &ModalMouseHook, nullptr, ::GetCurrentThreadId()))
    {
    }
    ModalMouseWatch(const ModalMouseWatch&) = delete;
    ModalMouseWatch& operator=(const ModalMouseWatch&) = delete;
    ~ModalMouseWatch()
    {
        if (m_hook != nullptr)
            ::UnhookWindowsHookEx(m_hook);
    }

private:
    HHOOK m_hook;
};

// A left press or release that reached an owner disabled by a modal loop (WM_SETCURSOR with
// HTERROR) at a point of that loop's window: the user clicked the box they see, but the press
// would be dropped. Wine re-orders its own window stack from the X server's expose and pointer
// events, and a layered owner redrawn under its box (the dimmed main window at 200 %) can come
// out above the box there while the box still shows on top. The press is handed to the box.
// Restacking the box instead breaks Wine's drawing of it. On Windows an owned window always
// lies above its owner, so only clicks on the box's transparent corners get here.
bool HandOnToModalWindow(HWND owner, WORD mouseMsg)
{
    if (mouseMsg != WM_LBUTTONDOWN && mouseMsg != WM_LBUTTONUP)
        return false;
    const HWND modal = static_cast<HWND>(::GetPropW(owner, kModalWindowProp));
    if (modal == nullptr || !::IsWindowVisible(modal) || !::IsWindowEnabled(modal))
        return false;
    // Where the press happened: the pointer may have moved on before this thread read it.
    POINT pt = {};
    if (t_pressSeen.valid && t_pressSeen.message == mouseMsg) {
        pt = t_pressSeen.pt;
    } else {
        const DWORD pos = ::GetMessagePos();
        pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    }
    t_pressSeen.valid = false;
    RECT rc = {};
    if (!::GetWindowRect(modal, &rc) || !::PtInRect(&rc, pt) ||
        ::SendMessageW(modal, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) != HTCLIENT)
        return false;
    ::ScreenToClient(modal, &pt);
    ::PostMessageW(modal, mouseMsg, mouseMsg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(pt.x, pt.y));
    return true;
}

} // namespace

LPCWSTR CWindowWnd::GetSuperClassName() const
{
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

LRESULT CWindowWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_oldWndProc, m_hWnd, msg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*window*/) {}

// --- creation ---

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, int x, int y, int cx,
                        int cy, HMENU menu)
{
    // A delete still pending for an earlier window of this object (re-used from inside one of its
    // own handlers) belonged to that window; the new one decides afresh.
    m_pendingDelete = nullptr;
    CreationRecord record = {this, false, t_creations};
    t_creations = &record;
    const bool registered = GetSuperClassName() != nullptr ? RegisterSuperclass() : RegisterClass();
    const HWND window = registered ? ::CreateWindowExW(exStyle, GetWindowClassName(), name, style, x, y, cx,
                                                       cy, parent, menu, CPaintManagerUI::GetModule(), this)
                                   : nullptr;
    t_creations = record.outer;
    // Ended during its creation: the final message has run and may have freed this object.
    if (record.finalGiven)
        return nullptr;
    if (window == nullptr) {
        // Never bound, or refused without WM_NCDESTROY: the final message is still owed.
        m_hWnd = nullptr;
        OnFinalMessage(nullptr);
        return nullptr;
    }
    m_hWnd = window;
    return window;
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, const RECT& rc,
                        HMENU menu)
{
    return Create(parent, name, style, exStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, menu);
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle)
{
    return Create(parent, name, style, exStyle, 0, 0, 0, 0, nullptr);
}

bool CWindowWnd::RegisterClass()
{
    WNDCLASSW wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = CWindowWnd::MainWindowProc;
    wc.hInstance = CPaintManagerUI::GetModule();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWindowClassName();
    const ATOM atom = ::RegisterClassW(&wc);
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc)) {
        if (!::GetClassInfoExW(CPaintManagerUI::GetModule(), GetSuperClassName(), &wc))
            return false;
    }
    m_oldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = CWindowWnd::SuperclassWindowProc;
    wc.hInstance = CPaintManagerUI::GetModule();
    wc.lpszClassName = GetWindowClassName();
    const ATOM atom = ::RegisterClassExW(&wc);
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// --- subclassing ---

HWND CWindowWnd::Subclass(HWND window)
{
    // The pointer-sized calls: GWL_WNDPROC and SetWindowLongW would cut both the procedure
    // and the object pointer in a 64-bit build.
    const LONG_PTR old = ::SetWindowLongPtrW(window, GWLP_WNDPROC,
                                             reinterpret_cast<LONG_PTR>(CWindowWnd::MainWindowProc));
    if (old == 0)
        return nullptr;
    m_oldWndProc = reinterpret_cast<WNDPROC>(old);
    m_bSubclassed = true;
    m_hWnd = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hWnd;
}

void CWindowWnd::Unsubclass()
{
    if (!::IsWindow(m_hWnd) || !m_bSubclassed)
        return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldWndProc));
    m_oldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

// --- window procedures ---

LRESULT CALLBACK CWindowWnd::MainWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        self = static_cast<CWindowWnd*>(cs->lpCreateParams);
        // A window of this class created by someone else carries no object.
        if (self == nullptr)
            return ::DefWindowProcW(hWnd, msg, wParam, lParam);
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (msg == WM_NCDESTROY && self != nullptr)
            return EndWindow(self, hWnd, msg, wParam, lParam, false);
    }
    if (self != nullptr)
        return Dispatch(self, msg, wParam, lParam);
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::SuperclassWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        self = static_cast<CWindowWnd*>(cs->lpCreateParams);
        if (self == nullptr)
            return ::DefWindowProcW(hWnd, msg, wParam, lParam);
        ::SetPropW(hWnd, kObjectProp, self);
        self->m_hWnd = hWnd;
    } else {
        self = static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProp));
        if (msg == WM_NCDESTROY && self != nullptr)
            return EndWindow(self, hWnd, msg, wParam, lParam, true);
    }
    if (self != nullptr)
        return Dispatch(self, msg, wParam, lParam);
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::Dispatch(CWindowWnd* self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETCURSOR && LOWORD(lParam) == static_cast<WORD>(HTERROR) &&
        HandOnToModalWindow(self->m_hWnd, HIWORD(lParam)))
        return TRUE;
    ++self->m_nHandlerDepth;
    LRESULT result = 0;
    bool stopped = false;
    // A C++ exception must not unwind through the system's frames (it is lost there or ends the
    // process), and it must not leave the handler count raised: the object would never be freed.
    try {
        result = self->OnMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        LogStoppedException(msg, e.what());
        stopped = true;
    } catch (...) {
        LogStoppedException(msg, nullptr);
        stopped = true;
    }
    if (stopped) {
        // A half-made window is refused; anything else gets the answer no handler would change,
        // so a paint still validates and the system's defaults still apply.
        if (msg == WM_NCCREATE)
            result = FALSE;
        else if (msg == WM_CREATE)
            result = -1;
        else if (self->m_hWnd != nullptr)
            result = ::CallWindowProcW(self->m_oldWndProc, self->m_hWnd, msg, wParam, lParam);
    }
    if (--self->m_nHandlerDepth == 0 && self->m_pendingDelete != nullptr)
        self->m_pendingDelete(self);
    return result;
}

LRESULT CWindowWnd::EndWindow(CWindowWnd* self, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                              bool superclass)
{
    const LRESULT result = ::CallWindowProcW(self->m_oldWndProc, hWnd, msg, wParam, lParam);
    if (superclass) {
        if (self->m_bSubclassed)
            self->Unsubclass();
        ::RemovePropW(hWnd, kObjectProp);
    } else {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        if (self->m_bSubclassed)
            self->Unsubclass();
    }
    self->m_hWnd = nullptr;
    MarkFinalGiven(self);
    try {
        self->OnFinalMessage(hWnd);
    } catch (const std::exception& e) {
        LogStoppedException(msg, e.what());
    } catch (...) {
        LogStoppedException(msg, nullptr);
    }
    return result;
}

void CWindowWnd::ScheduleDelete(Deleter deleter)
{
    if (m_nHandlerDepth == 0)
        deleter(this);
    else
        m_pendingDelete = deleter;
}

// --- showing, the modal loop, closing ---

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (!::IsWindow(m_hWnd))
        return;
    ::ShowWindow(m_hWnd, !show ? SW_HIDE : (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE));
}

UINT CWindowWnd::RunModal()
{
    const HWND self = m_hWnd;
    const HWND owner = ::GetWindow(self, GW_OWNER);
    ::ShowWindow(self, SW_SHOWNORMAL);
    OwnerHold hold(owner, self);
    const ModalMouseWatch mouseWatch;
    UINT result = 0;
    MSG msg = {};
    for (;;) {
        // A press seen by the hook and then delivered is no dropped one.
        t_pressSeen.valid = false;
        if (!::IsWindow(self) || !::GetMessageW(&msg, nullptr, 0, 0))
            break;
        if (msg.message == WM_CLOSE && msg.hwnd == self) {
            result = static_cast<UINT>(msg.wParam);
            // Re-enabled before the close runs, so activation goes back to the owner; not
            // while another box is still open over it.
            if (hold.Release()) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (!CPaintManagerUI::PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (msg.message == WM_QUIT)
            break;
    }
    if (hold.Release()) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    // The outer loop must end too.
    if (msg.message == WM_QUIT)
        ::PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

void CWindowWnd::Close(UINT result)
{
    if (!::IsWindow(m_hWnd))
        return;
    ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(result), 0);
}

// --- placement and conveniences ---

void CWindowWnd::CentreOnOwner()
{
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    const int width = rcWindow.right - rcWindow.left;
    const int height = rcWindow.bottom - rcWindow.top;
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);

    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                      &mi);
    const RECT work = mi.rcWork;
    RECT centre = work;
    if (owner != nullptr)
        ::GetWindowRect(owner, &centre);

    int left = (centre.left + centre.right) / 2 - width / 2;
    int top = (centre.top + centre.bottom) / 2 - height / 2;
    // Left and top win over right and bottom: a window larger than the work area keeps its
    // caption and left edge on screen.
    if (left < work.left)
        left = work.left;
    else if (left + width > work.right)
        left = work.right - width;
    if (top < work.top)
        top = work.top;
    else if (top + height > work.bottom)
        top = work.bottom - height;
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT resourceId)
{
    // Both icons use the large size, rounded up to a multiple of 16.
    const int cx = (::GetSystemMetrics(SM_CXICON) + 15) & ~15;
    const int cy = (::GetSystemMetrics(SM_CYICON) + 15) & ~15;
    HANDLE big = ::LoadImageW(CPaintManagerUI::GetModule(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                              cx, cy, LR_DEFAULTCOLOR);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    HANDLE small = ::LoadImageW(CPaintManagerUI::GetModule(), MAKEINTRESOURCEW(resourceId),
                                IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}

bool CWindowWnd::SetClientSize(int cx, int cy)
{
    RECT rc = {};
    if (!::GetClientRect(m_hWnd, &rc))
        return false;
    if (cx != -1)
        rc.right = cx;
    if (cy != -1)
        rc.bottom = cy;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    const BOOL hasMenu = (style & WS_CHILD) == 0 && ::GetMenu(m_hWnd) != nullptr;
    if (!::AdjustWindowRectEx(&rc, style, hasMenu, exStyle))
        return false;
    return ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                          SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE) != FALSE;
}

} // namespace ZvUI

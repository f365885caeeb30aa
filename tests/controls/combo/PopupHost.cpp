// Test helper: a skin given as markup in a real window, real input messages and a notification log.
#include "PopupHost.h"

#include "builder/DialogBuilder.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;

PopupHost::PopupHost(LPCWSTR markup, RECT rc, int dpi, IDialogBuilderCallback* callback, bool firstPaint)
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    // The whole process at one DPI, as on a screen of that DPI: pop-ups take it for their fonts.
    CPaintManagerUI::SetGlobalDpi(dpi);
    m_hwnd = ::CreateWindowExW(0, host_support::ManagedWindowClass(), L"Popup host", WS_POPUP | WS_VISIBLE, rc.left,
                               rc.top, rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_pm));
    m_pm.AttachWindow(m_hwnd);
    CLayoutBuilder builder;
    CControlUI* root = builder.Create(markup, nullptr, callback, &m_pm);
    m_pm.SetRootControl(root);
    // Sized for 100 %; the window grows with the scale.
    m_pm.ApplyDpi(dpi);
    m_pm.AddNotifyListener(&log);
    ::SetForegroundWindow(m_hwnd);
    ::SetFocus(m_hwnd);
    if (!firstPaint) {
        RECT client = {};
        ::GetClientRect(m_hwnd, &client);
        m_pm.GetRoot()->SetPos(client, true);
        PrintClient(m_hwnd);
        log.entries.clear();
        return;
    }
    Update();
    // A shown window's paint would move the focus to the first tab stop; do it now, so that no
    // later paint takes the focus from a pop-up.
    if (m_pm.IsFocusNeeded()) {
        m_pm.GetRoot()->SetPos(m_pm.GetRoot()->GetPos(), false);
        m_pm.MoveTabFocus(true);
    }
    log.entries.clear();
}

PopupHost::~PopupHost()
{
    m_pm.RemoveNotifyListener(&log);
    ::DestroyWindow(m_hwnd);
    PumpMessages();
}

int PopupHost::Scale(int value)
{
    return m_pm.GetDpiHelper()->Scale(value);
}

void PopupHost::Update()
{
    PumpMessages();
    ::UpdateWindow(m_hwnd);
    PumpMessages();
}

void PopupHost::Move(POINT pt)
{
    ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

void PopupHost::Click(POINT pt)
{
    ClickWindow(m_hwnd, pt);
    Update();
}

void PopupHost::Key(UINT vk)
{
    KeyWindow(m_hwnd, vk);
    Update();
}

void PopupHost::Wheel(POINT pt, int notches)
{
    POINT screen = pt;
    ::ClientToScreen(m_hwnd, &screen);
    const int step = notches < 0 ? -WHEEL_DELTA : WHEEL_DELTA;
    for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
        ::SendMessageW(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, step), MAKELPARAM(screen.x, screen.y));
    Update();
}

void PrintClient(HWND hwnd, const std::function<void(HDC, int, int)>& read)
{
    RECT rc = {};
    ::GetClientRect(hwnd, &rc);
    HDC window = ::GetDC(hwnd);
    HDC memory = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(window, rc.right, rc.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    if (read)
        read(memory, rc.right, rc.bottom);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd, window);
}

void PumpMessages()
{
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 500 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void ClickWindow(HWND hwnd, POINT pt)
{
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    PumpMessages();
}

void KeyWindow(HWND hwnd, UINT vk)
{
    ::SendMessageW(hwnd, WM_KEYDOWN, vk, 1);
    ::SendMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
    PumpMessages();
}

POINT CenterOf(const CControlUI* control)
{
    const RECT& rc = control->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

RECT WorkArea()
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

DWORD GdiObjects()
{
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

DWORD UserObjects()
{
    return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
}

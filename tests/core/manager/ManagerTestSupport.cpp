// Test windows, recording controls and the message pump for the paint manager tests.
#include "ManagerTestSupport.h"

#include <commctrl.h>

using ZvUI::CControlUI;
using ZvUI::CPaintManagerUI;
using ZvUI::UIControlEvent;

namespace zvtest {

Log& Log::Get()
{
    static Log log;
    return log;
}

std::vector<std::wstring> Log::Lines(const std::wstring& prefix) const
{
    std::vector<std::wstring> lines;
    for (const Record& record : m_records) {
        if (record.line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(record.line);
    }
    return lines;
}

std::vector<Record> Log::Find(const std::wstring& prefix) const
{
    std::vector<Record> found;
    for (const Record& record : m_records) {
        if (record.line.compare(0, prefix.size(), prefix) == 0)
            found.push_back(record);
    }
    return found;
}

std::wstring NameOf(CControlUI* control)
{
    if (control == nullptr)
        return L"-";
    return control->GetName().GetData();
}

// --- TestControl ---

TestControl::TestControl(LPCWSTR name, LPCWSTR className, UINT flags) : m_class(className)
{
    SetName(name);
    SetControlFlags(flags);
}

TestControl::~TestControl()
{
    if (destroyed != nullptr)
        *destroyed = true;
}

void TestControl::Event(UIControlEvent& event)
{
    Record record;
    record.line = L"E " + NameOf(this) + L" " + std::to_wstring(event.type) + L" " + NameOf(event.sender);
    record.event = event;
    Log::Get().Add(record);
    CControlUI::Event(event);
}

void TestControl::DoEvent(UIControlEvent& event)
{
    if (onEvent)
        onEvent(*this, event);
    if (event.type == ZvUI::EventButtonUp && m_pManager != nullptr && ::PtInRect(&GetPos(), event.mousePoint))
        m_pManager->RaiseNotify(this, L"click");
    CControlUI::DoEvent(event);
}

bool TestControl::Activate()
{
    Record record;
    record.line = L"A " + NameOf(this);
    Log::Get().Add(record);
    return CControlUI::Activate();
}

void TestControl::SetFocus()
{
    Record record;
    record.line = L"F " + NameOf(this);
    Log::Get().Add(record);
    if (focusable)
        CControlUI::SetFocus();
}

// --- TestContainer ---

TestContainer::TestContainer(LPCWSTR name)
{
    SetName(name);
}

TestContainer::~TestContainer()
{
    for (CControlUI* item : m_items)
        delete item;
}

void TestContainer::Add(CControlUI* control)
{
    m_items.push_back(control);
    if (m_pManager != nullptr)
        m_pManager->BindControls(control, this);
    else
        control->SetManager(nullptr, this, false);
}

void TestContainer::Remove(CControlUI* control)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (*it == control) {
            m_items.erase(it);
            if (m_pManager != nullptr)
                m_pManager->QueueControlDeletion(control);
            else
                delete control;
            return;
        }
    }
}

void TestContainer::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    for (CControlUI* item : m_items)
        item->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

CControlUI* TestContainer::FindControl(ZvUI::FindControlProc proc, LPVOID data, UINT flags)
{
    if ((flags & ZvUI::FindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((flags & ZvUI::FindEnabled) != 0 && !IsEnabled())
        return nullptr;
    if ((flags & ZvUI::FindHitTest) != 0 && !::PtInRect(&GetPos(), *static_cast<const POINT*>(data)))
        return nullptr;
    if ((flags & ZvUI::FindMeFirst) != 0) {
        if (CControlUI* found = proc(this, data))
            return found;
    }
    const int count = static_cast<int>(m_items.size());
    for (int n = 0; n < count; ++n) {
        const int i = (flags & ZvUI::FindTopFirst) != 0 ? count - 1 - n : n;
        if (CControlUI* found = m_items[i]->FindControl(proc, data, flags))
            return found;
    }
    if ((flags & ZvUI::FindMeFirst) == 0)
        return proc(this, data);
    return nullptr;
}

void TestContainer::Event(UIControlEvent& event)
{
    Record record;
    record.line = L"E " + NameOf(this) + L" " + std::to_wstring(event.type) + L" " + NameOf(event.sender);
    record.event = event;
    Log::Get().Add(record);
    CControlUI::Event(event);
}

void NotifyRecorder::Notify(ZvUI::UINotifyMessage& msg)
{
    Record record;
    record.line = L"N " + std::wstring(msg.type.GetData()) + L" " + NameOf(msg.sender);
    record.notify.type = msg.type;
    record.notify.virtualWnd = msg.virtualWnd;
    record.notify.sender = msg.sender;
    record.notify.timestamp = msg.timestamp;
    record.notify.mousePoint = msg.mousePoint;
    record.notify.wParam = msg.wParam;
    record.notify.lParam = msg.lParam;
    Log::Get().Add(record);
}

// --- TestWindow ---

namespace {

constexpr wchar_t kClassName[] = L"ZvPaintManagerTestWindow";

void RegisterClassOnce(WNDPROC proc)
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
    registered = true;
}

} // namespace

namespace {

// Destroying (or hiding) a visible top-level window costs Wine two seconds without a window
// manager, so top-level test windows are kept and handed out again; idle ones wait in the
// screen's far corner, still mapped.
struct PooledWindow {
    HWND hwnd;
    DWORD style;
};

std::vector<PooledWindow>& Pool()
{
    static std::vector<PooledWindow> pool;
    return pool;
}

constexpr int kParkX = 1590;
constexpr int kParkY = 1190;

HWND TakePooled(DWORD style, int x, int y, int width, int height)
{
    std::vector<PooledWindow>& pool = Pool();
    for (auto it = pool.begin(); it != pool.end(); ++it) {
        if (it->style != style || !::IsWindow(it->hwnd))
            continue;
        HWND hwnd = it->hwnd;
        pool.erase(it);
        // Whatever the last user left queued for it (timers, WM_APP+1) goes; paint stays.
        MSG msg;
        while (::PeekMessageW(&msg, hwnd, 0, WM_PAINT - 1, PM_REMOVE)) {
        }
        while (::PeekMessageW(&msg, hwnd, WM_PAINT + 1, 0xFFFF, PM_REMOVE)) {
        }
        ::SetWindowLongW(hwnd, GWL_EXSTYLE, 0);
        ::SetWindowRgn(hwnd, nullptr, FALSE);
        ::SetWindowPos(hwnd, HWND_TOP, x, y, width, height, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return hwnd;
    }
    return nullptr;
}

} // namespace

TestWindow::TestWindow(int x, int y, int width, int height, DWORD style, HWND parent, LPCWSTR name)
{
    RegisterClassOnce(Proc);
    if (CPaintManagerUI::GetModule() == nullptr)
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    m_style = style;
    m_pooled = parent == nullptr && (style & WS_CHILD) == 0;
    if (m_pooled)
        m_hwnd = TakePooled(style, x, y, width, height);
    if (m_hwnd == nullptr)
        m_hwnd = ::CreateWindowExW(0, kClassName, L"zv test", style | WS_VISIBLE, x, y, width, height, parent,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_manager.AttachWindow(m_hwnd, name);
}

TestWindow::~TestWindow()
{
    if (!::IsWindow(m_hwnd))
        return;
    if (::GetCapture() == m_hwnd)
        ::ReleaseCapture();
    // The manager is destroyed after this body; from now on the window talks to nobody.
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    if (m_pooled) {
        ::SetWindowPos(m_hwnd, HWND_BOTTOM, kParkX, kParkY, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
        Pool().push_back(PooledWindow{m_hwnd, m_style});
    } else {
        ::DestroyWindow(m_hwnd);
    }
}

LPARAM TestWindow::ScreenLParam(int x, int y) const
{
    POINT pt = {x, y};
    ::ClientToScreen(m_hwnd, &pt);
    return MAKELPARAM(pt.x, pt.y);
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (window != nullptr) {
        LRESULT result = 0;
        if (window->hook && window->hook(msg, wParam, lParam, result))
            return result;
        window->seen.push_back(msg);
        if (window->m_manager.HandleWindowMessage(msg, wParam, lParam, result))
            return result;
        if (window->after && window->after(msg, wParam, lParam, result))
            return result;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

TestContainer* InstallRoot(TestWindow& window, std::vector<std::pair<CControlUI*, RECT>> children)
{
    auto* root = new TestContainer();
    RECT client = {};
    ::GetClientRect(window.hwnd(), &client);
    root->SetPos(client, false);
    for (auto& child : children) {
        child.first->SetPos(child.second, false);
        root->Add(child.first);
    }
    // The manager takes ownership of the root.
    window.manager().SetRootControl(root);
    // The first paint lays the tree out; the Tab move it defers lands on the second.
    ::InvalidateRect(window.hwnd(), nullptr, FALSE);
    ::UpdateWindow(window.hwnd());
    ::InvalidateRect(window.hwnd(), nullptr, FALSE);
    ::UpdateWindow(window.hwnd());
    return root;
}

// --- pump ---

void Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CPaintManagerUI::PreTranslate(&msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (::GetTickCount() - start >= ms)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeout)
            return done();
        Pump(5);
    }
    return true;
}

void WarpCursor(TestWindow& window, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(window.hwnd(), &pt);
    ::SetCursorPos(pt.x, pt.y);
    // The move the system makes of the warp is dropped; tests post the moves they mean.
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < 30) {
        while (::PeekMessageW(&msg, window.hwnd(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        }
        ::Sleep(2);
    }
}

void MoveMouse(TestWindow& window, int x, int y, WPARAM keys)
{
    WarpCursor(window, x, y);
    ::PostMessageW(window.hwnd(), WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    Pump(30);
}

void SetModifiers(bool shift, bool control, bool alt)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    auto set = [&keys](int vk, bool down) { keys[vk] = down ? 0x80 : 0; };
    set(VK_SHIFT, shift);
    set(VK_LSHIFT, shift);
    set(VK_CONTROL, control);
    set(VK_LCONTROL, control);
    set(VK_MENU, alt);
    set(VK_LMENU, alt);
    ::SetKeyboardState(keys);
}

} // namespace zvtest

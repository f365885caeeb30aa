// Test helpers for the layouts.
#include "LayoutTestSupport.h"

namespace layout_test {

int TestScrollBar::s_deleted = 0;

ZvUI::CControlUI* MakeBox(int width, int height, int minW, int minH, int maxW, int maxH, RECT padding)
{
    auto* box = new ZvUI::CControlUI;
    box->SetFixedWidth(width);
    box->SetFixedHeight(height);
    box->SetMinWidth(minW);
    box->SetMinHeight(minH);
    box->SetMaxWidth(maxW);
    box->SetMaxHeight(maxH);
    box->SetPadding(padding);
    return box;
}

namespace {

constexpr wchar_t kClassName[] = L"ZvLayoutTestWindow";

} // namespace

ManagedWindow::ManagedWindow(int width, int height, bool show)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ManagedWindow::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&wc);
    RECT rc = {0, 0, width, height};
    ::AdjustWindowRectEx(&rc, WS_POPUP, FALSE, 0);
    m_hwnd = ::CreateWindowExW(0, kClassName, L"layout test", WS_POPUP | (show ? WS_VISIBLE : 0), 0, 0,
                               rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, this);
    m_manager.AttachWindow(m_hwnd, L"layouttest");
}

ManagedWindow::~ManagedWindow()
{
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hwnd);
}

void ManagedWindow::SetRoot(ZvUI::CControlUI* root)
{
    m_manager.SetRootControl(root);
    Layout();
}

void ManagedWindow::Layout()
{
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    if (m_manager.GetRoot() != nullptr)
        m_manager.GetRoot()->SetPos(client, true);
}

void ManagedWindow::Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, m_hwnd, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

LRESULT CALLBACK ManagedWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<ManagedWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && self->m_manager.GetWindowHandle() == hwnd) {
        LRESULT result = 0;
        if (self->m_manager.HandleWindowMessage(msg, wParam, lParam, result))
            return result;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace layout_test

#pragma once
// Test helper: a hidden popup whose messages go to its paint manager, with real mouse input and a pump.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"

namespace scroll_test {

class HostWindow {
public:
    HostWindow(int width, int height)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &HostWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZvScrollTestHost";
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"scroll test", WS_POPUP, 0, 0, width, height, nullptr,
                                   nullptr, wc.hInstance, this);
        m_manager.AttachWindow(m_hwnd, L"scrolltest");
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow()
    {
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hwnd);
    }

    HWND Handle() const { return m_hwnd; }
    ZvUI::CPaintManagerUI& Manager() { return m_manager; }

    // The manager takes ownership of root; it is laid out over rc at once.
    void SetRoot(ZvUI::CControlUI* root, RECT rc)
    {
        m_manager.SetRootControl(root);
        root->SetPos(rc, true);
    }

    // Real mouse messages, in client coordinates.
    void Down(int x, int y) { Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
    void Move(int x, int y, WPARAM keys = MK_LBUTTON) { Send(WM_MOUSEMOVE, keys, x, y); }
    void Up(int x, int y) { Send(WM_LBUTTONUP, 0, x, y); }
    // Puts the system cursor on a client point (the repeat timer reads it).
    void PlaceCursor(int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(m_hwnd, &pt);
        ::SetCursorPos(pt.x, pt.y);
    }

    // Dispatches this thread's messages (timers included) for ms milliseconds.
    static void Pump(DWORD ms)
    {
        const DWORD start = ::GetTickCount();
        do {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::Sleep(2);
        } while (::GetTickCount() - start < ms);
    }
    // Pumps until done() holds or timeout passes; the result is done().
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeout = 3000)
    {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > timeout)
                return false;
            Pump(5);
        }
        return true;
    }

private:
    void Send(UINT msg, WPARAM keys, int x, int y)
    {
        ::SendMessageW(m_hwnd, msg, keys, MAKELPARAM(x, y));
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr && self->m_manager.GetWindowHandle() == hwnd) {
            LRESULT result = 0;
            if (self->m_manager.HandleWindowMessage(msg, wParam, lParam, result))
                return result;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    ZvUI::CPaintManagerUI m_manager;
    HWND m_hwnd = nullptr;
};

// Records notifications of one type, with their senders and parameters.
class NotifyLog : public ZvUI::INotifyUI {
public:
    explicit NotifyLog(LPCWSTR type) : m_type(type) {}
    void Notify(ZvUI::UINotifyMessage& msg) override
    {
        if (m_type == msg.type.GetData()) {
            senders.push_back(msg.sender);
            wParams.push_back(msg.wParam);
            lParams.push_back(msg.lParam);
        }
    }
    size_t Count() const { return senders.size(); }
    std::vector<ZvUI::CControlUI*> senders;
    std::vector<WPARAM> wParams;
    std::vector<LPARAM> lParams;

private:
    std::wstring m_type;
};

} // namespace scroll_test

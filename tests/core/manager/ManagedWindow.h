#pragma once
// Test helper: a bare top-level window whose messages go to a paint manager first.

#include <windows.h>

#include "manager/PaintManagerUI.h"

class ManagedWindow {
public:
    ManagedWindow(ZvUI::CPaintManagerUI& manager, int width, int height, DWORD exStyle = 0)
    {
        static const ATOM atom = Register();
        (void)atom;
        m_hwnd = ::CreateWindowExW(exStyle, L"ZvManagedTestWindow", L"managed", WS_POPUP, 100, 80, width, height,
                                   nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&manager));
        manager.AttachWindow(m_hwnd);
    }
    ManagedWindow(const ManagedWindow&) = delete;
    ManagedWindow& operator=(const ManagedWindow&) = delete;
    ~ManagedWindow()
    {
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hwnd);
    }
    HWND Get() const { return m_hwnd; }

    // Runs the queue until it is empty (posted and paint messages included).
    static void Pump()
    {
        MSG msg;
        for (int i = 0; i < 50 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

private:
    static ATOM Register()
    {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ZvManagedTestWindow";
        return ::RegisterClassExW(&wc);
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* manager = reinterpret_cast<ZvUI::CPaintManagerUI*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        LRESULT result = 0;
        if (manager != nullptr && manager->HandleWindowMessage(msg, wParam, lParam, result))
            return result;
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    HWND m_hwnd = nullptr;
};

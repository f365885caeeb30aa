#pragma once
// Test helpers shared by the list and pop-up hosts: a window class whose messages go first to
// the paint manager kept in the window's user data, and a log of notifications.

#include <windows.h>

#include <string>
#include <vector>

#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"

namespace host_support {

inline LRESULT CALLBACK ManagedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* manager = reinterpret_cast<ZvUI::CPaintManagerUI*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (manager != nullptr && manager->HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Registered on first use; double clicks arrive as such.
inline LPCWSTR ManagedWindowClass()
{
    static const ATOM atom = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ManagedWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ZvControlsHostWindow";
        return ::RegisterClassExW(&wc);
    }();
    (void)atom;
    return L"ZvControlsHostWindow";
}

struct NotifyLog : ZvUI::INotifyUI {
    struct Entry {
        std::wstring type;
        ZvUI::CControlUI* sender;
        WPARAM wParam;
        LPARAM lParam;
    };
    void Notify(ZvUI::UINotifyMessage& msg) override
    {
        entries.push_back({msg.type.GetData(), msg.sender, msg.wParam, msg.lParam});
    }
    int Count(LPCWSTR type) const { return static_cast<int>(Of(type).size()); }
    std::vector<Entry> Of(LPCWSTR type) const
    {
        std::vector<Entry> out;
        for (const Entry& e : entries) {
            if (e.type == type)
                out.push_back(e);
        }
        return out;
    }
    std::vector<Entry> entries;
};

} // namespace host_support

#pragma once
// Test helper: a hidden managed window with one control as its root, real mouse messages and a
// notification log.

#include <windows.h>

#include <string>
#include <vector>

#include "ManagedWindow.h"
#include "manager/PaintManagerUI.h"

struct NotifyLog : ZvUI::INotifyUI {
    struct Entry {
        std::wstring type;
        WPARAM wParam;
        ZvUI::CControlUI* sender;
    };
    void Notify(ZvUI::UINotifyMessage& msg) override { entries.push_back({msg.type.GetData(), msg.wParam, msg.sender}); }
    int Count(LPCWSTR type) const
    {
        int n = 0;
        for (const Entry& e : entries)
            n += e.type == type ? 1 : 0;
        return n;
    }
    std::vector<Entry> entries;
};

// The manager owns root; it lies at rc in the window's client area.
class RootWindow {
public:
    RootWindow(ZvUI::CPaintManagerUI& pm, ZvUI::CControlUI* root, RECT rc) : m_window(pm, 300, 200), m_pm(pm)
    {
        pm.SetRootControl(root);
        root->SetPos(rc, false);
        pm.AddNotifyListener(&log);
    }
    ~RootWindow() { m_pm.RemoveNotifyListener(&log); }
    HWND Get() const { return m_window.Get(); }
    void Send(UINT msg, int x, int y, WPARAM keys = 0) { ::SendMessageW(m_window.Get(), msg, keys, MAKELPARAM(x, y)); }
    void Down(int x, int y) { Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
    void Move(int x, int y, bool pressed = false) { Send(WM_MOUSEMOVE, x, y, pressed ? MK_LBUTTON : 0); }
    void Up(int x, int y) { Send(WM_LBUTTONUP, x, y); }
    void Click(int x, int y)
    {
        Move(x, y);
        Down(x, y);
        Up(x, y);
    }

    NotifyLog log;

private:
    ManagedWindow m_window;
    ZvUI::CPaintManagerUI& m_pm;
};

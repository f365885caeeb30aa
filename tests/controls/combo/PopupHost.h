#pragma once
// Test helper: a skin given as markup in a real window at a chosen place and DPI, with real input
// messages and a notification log; shared by the pop-up control tests.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "builder/DialogBuilder.h"
#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"

#include "HostWindowSupport.h"


class PopupHost {
public:
    // rc in screen pixels; dpi 96 is 100 %, 192 is 200 %. Without firstPaint the window is laid
    // out and drawn into a bitmap only, its first WM_PAINT (and the tab move it makes) still queued.
    PopupHost(LPCWSTR markup, RECT rc, int dpi = 96, ZvUI::IDialogBuilderCallback* callback = nullptr,
              bool firstPaint = true);
    PopupHost(const PopupHost&) = delete;
    PopupHost& operator=(const PopupHost&) = delete;
    ~PopupHost();

    HWND Handle() const { return m_hwnd; }
    ZvUI::CPaintManagerUI& Manager() { return m_pm; }
    ZvUI::CControlUI* Find(LPCWSTR name) { return m_pm.FindControl(name); }
    int Scale(int value);
    // Runs pending messages, layout and paint.
    void Update();

    void Click(POINT pt);
    void Key(UINT vk);
    void Wheel(POINT pt, int notches);
    void Move(POINT pt);

    host_support::NotifyLog log;

private:
    ZvUI::CPaintManagerUI m_pm;
    HWND m_hwnd = nullptr;
};

// Runs the thread's pending messages.
void PumpMessages();
// Draws the window's client area into a bitmap through WM_PRINTCLIENT, as a screenshot does;
// read, when given, sees the bitmap selected into a memory DC, with its width and height.
void PrintClient(HWND hwnd, const std::function<void(HDC, int, int)>& read = {});
// Real messages to any window, client coordinates.
void ClickWindow(HWND hwnd, POINT pt);
void KeyWindow(HWND hwnd, UINT vk);
POINT CenterOf(const ZvUI::CControlUI* control);
RECT WorkArea();
// GDI and USER object counts of the process.
DWORD GdiObjects();
DWORD UserObjects();

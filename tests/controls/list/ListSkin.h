#pragma once
// Test helper: the list test skin in a real window at a chosen DPI, real input messages and a
// notification log.

#include <windows.h>

#include <string>
#include <vector>

#include "list/ListUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"

#include "HostWindowSupport.h"
#include "tree/TreeViewUI.h"


class ListSkinWindow {
public:
    // dpi 96 is 100 %, 192 is 200 %; a shown window stays at the screen's top left.
    explicit ListSkinWindow(int dpi = 96, bool show = false);
    ListSkinWindow(const ListSkinWindow&) = delete;
    ListSkinWindow& operator=(const ListSkinWindow&) = delete;
    ~ListSkinWindow();

    HWND Handle() const { return m_hwnd; }
    ZvUI::CPaintManagerUI& Manager() { return m_pm; }
    // Runs pending layout and paint.
    void Update();
    int Scale(int value) { return m_pm.GetDpiHelper()->Scale(value); }
    ZvUI::CControlUI* Find(LPCWSTR name) { return m_pm.FindControl(name); }

    // keys: MK_CONTROL / MK_SHIFT, also held in the thread's keyboard state during the call.
    void Click(POINT pt, WPARAM keys = 0);
    void DoubleClick(POINT pt);
    void Drag(POINT from, POINT to);
    void Key(UINT vk, WPARAM keys = 0);
    void Wheel(POINT pt, int notches);
    void Move(POINT pt);

    ZvUI::CListUI* textList = nullptr;
    ZvUI::CListUI* boxList = nullptr;
    ZvUI::CTreeViewUI* tree = nullptr;
    host_support::NotifyLog log;

private:
    void HoldKeys(WPARAM keys);

    ZvUI::CPaintManagerUI m_pm;
    HWND m_hwnd = nullptr;
};

// The centre of a control's rectangle.
POINT CenterOf(const ZvUI::CControlUI* control);
// The pixel at (x, y) of a window's client area after a paint, as 0xRRGGBB.
COLORREF PixelAt(HWND hwnd, int x, int y);

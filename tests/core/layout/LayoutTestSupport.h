#pragma once
// Test helpers for the layouts: a scroll-bar stand-in, a window whose procedure feeds a paint
// manager, and small constructors for controls with fixed, minimum and maximum sizes.

#include <windows.h>

#include <string>
#include <vector>

#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "layout/ScrollBarServices.h"
#include "manager/PaintManagerUI.h"

namespace layout_test {

// Behaves as the scroll bar does toward its owner: 16 thick, clamps range and position, its
// visible flag is its own. Counts deletions so ownership can be checked.
class TestScrollBar : public ZvUI::CControlUI, public ZvUI::IScrollBarServicesUI {
public:
    TestScrollBar() { m_cxyFixed.cx = 16; }
    ~TestScrollBar() override { ++s_deleted; }

    LPCWSTR GetClass() const override { return L"ScrollBarUI"; }
    LPVOID GetInterface(LPCWSTR name) override
    {
        if (_wcsicmp(name, ZvUI::kScrollBarServicesInterface) == 0)
            return static_cast<ZvUI::IScrollBarServicesUI*>(this);
        if (_wcsicmp(name, ZvUI::kScrollBarInterface) == 0)
            return this;
        return CControlUI::GetInterface(name);
    }
    void SetVisible(bool visible) override
    {
        if (m_bVisible != visible) {
            m_bVisible = visible;
            m_bFocused = false;
        }
    }
    void SetAttribute(LPCWSTR name, LPCWSTR value) override
    {
        if (_wcsicmp(name, L"linesize") == 0)
            m_lineSize = _wtoi(value);
        else
            CControlUI::SetAttribute(name, value);
    }

    void SetOwner(ZvUI::CContainerUI* owner) override { m_owner = owner; }
    bool IsHorizontal() const override { return m_horizontal; }
    void SetHorizontal(bool horizontal) override
    {
        if (m_horizontal == horizontal)
            return;
        m_horizontal = horizontal;
        if (horizontal && m_cxyFixed.cy == 0) {
            m_cxyFixed.cy = 16;
            m_cxyFixed.cx = 0;
        } else if (!horizontal && m_cxyFixed.cx == 0) {
            m_cxyFixed.cx = 16;
            m_cxyFixed.cy = 0;
        }
    }
    int GetScrollPos() const override { return m_pos; }
    void SetScrollPos(int pos) override
    {
        if (pos < 0)
            pos = 0;
        if (pos > m_range)
            pos = m_range;
        m_pos = pos;
    }
    int GetScrollRange() const override { return m_range; }
    void SetScrollRange(int range) override
    {
        m_range = range < 0 ? 0 : range;
        if (m_pos > m_range)
            m_pos = m_range;
    }
    int GetLineSize() const override { return m_lineSize; }
    ZvUI::CContainerUI* GetOwner() const { return m_owner; }

    static ZvUI::CControlUI* Create() { return new TestScrollBar; }
    static int s_deleted;

private:
    bool m_horizontal = false;
    int m_pos = 0;
    int m_range = 0;
    int m_lineSize = 8;
    ZvUI::CContainerUI* m_owner = nullptr;
};

// The container's bar as the stand-in it is.
inline TestScrollBar* Bar(ZvUI::CScrollBarUI* bar)
{
    return static_cast<TestScrollBar*>(static_cast<void*>(bar));
}

// A control whose estimate is its fixed size (the base rule), with the limits set at once.
ZvUI::CControlUI* MakeBox(int width, int height, int minW = 0, int minH = 0, int maxW = 9999,
                          int maxH = 9999, RECT padding = RECT{0, 0, 0, 0});

// A hidden top-level window of the given client size whose messages go to its manager.
class ManagedWindow {
public:
    ManagedWindow(int width, int height, bool show = false);
    ManagedWindow(const ManagedWindow&) = delete;
    ManagedWindow& operator=(const ManagedWindow&) = delete;
    ~ManagedWindow();

    HWND Handle() const { return m_hwnd; }
    ZvUI::CPaintManagerUI& Manager() { return m_manager; }
    // Sets the root and lays it out over the client area, as the first paint does.
    void SetRoot(ZvUI::CControlUI* root);
    void Layout();
    // Delivers queued work (WM_APP+1, timers) that is already posted.
    void Pump();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    ZvUI::CPaintManagerUI m_manager;
    HWND m_hwnd = nullptr;
};

class RecordingListener : public ZvUI::INotifyUI {
public:
    void Notify(ZvUI::UINotifyMessage& msg) override
    {
        types.push_back(msg.type.GetData());
        wParams.push_back(msg.wParam);
    }
    std::vector<std::wstring> types;
    std::vector<WPARAM> wParams;
};

} // namespace layout_test

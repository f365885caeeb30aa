// The window base on real windows: placement, the monitor list, timers, creation through ShowZVWindow.
#include "AppTestSupport.h"
#include "ZVMsgBox.h"
#include "ZVObjectWnd.h"
#include "../../support/AccessViolationWatch.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

class ProbeWindow : public CZVObjectWnd {
public:
    ProbeWindow()
    {
        m_skinFile = L"<Window size=\"200,100\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\"/></Window>";
        m_className = L"zvprobewnd";
    }
    void OnFinalMessage(HWND window) override
    {
        WindowImplBase::OnFinalMessage(window);
        DeleteWhenUnwound(this);
    }
    LRESULT OnTimer(UINT, WPARAM id, LPARAM, BOOL&) override
    {
        lastTimer = id;
        return 0;
    }
    WPARAM lastTimer = 0;
};

// Windows whose creation the system ends, as it may refuse any: each counts its frees.
template <class Base>
class EndedInCreation : public Base {
public:
    EndedInCreation() { this->m_className = L"zvendedincreation"; }
    ~EndedInCreation() override { ++s_freed; }
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) override
    {
        if (s_destroy) {
            ::DestroyWindow(this->m_hWnd);
            return 0;
        }
        return -1;
    }
    inline static int s_freed = 0;
    inline static bool s_destroy = false;
};

RECT PrimaryMonitor()
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

RECT WindowRect(HWND window)
{
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    return rc;
}

class ObjectWnd : public ::testing::Test {
protected:
    ProbeWindow* Show(HWND parent)
    {
        ProbeWindow* window = ShowZVWindow<ProbeWindow>(parent, nullptr, false, L"probe", nullptr, nullptr,
                                                        WS_POPUP | WS_VISIBLE, 0, 1, 0);
        if (window != nullptr)
            m_windows[m_count++] = window->GetHandle();
        return window;
    }
    HWND MakeOwner(int x, int y, int cx, int cy)
    {
        m_windows[m_count] = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, x, y, cx, cy,
                                               nullptr, nullptr, nullptr, nullptr);
        return m_windows[m_count++];
    }
    void TearDown() override
    {
        // Owned windows first: they go with their owner otherwise.
        for (int i = m_count - 1; i >= 0; --i) {
            if (::IsWindow(m_windows[i]))
                ::DestroyWindow(m_windows[i]);
        }
        apptest::Pump(10);
    }

    HWND m_windows[8] = {};
    int m_count = 0;
};

} // namespace

TEST_F(ObjectWnd, WithoutOwnerTheWindowIsCentredOnThePrimaryMonitor)
{
    ProbeWindow* window = Show(nullptr);
    ASSERT_NE(window, nullptr);
    const RECT screen = PrimaryMonitor();
    const RECT rc = WindowRect(*window);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(rc.left, (screen.left + screen.right) / 2 - 100);
    EXPECT_EQ(rc.top, (screen.top + screen.bottom) / 2 - 50);
}

TEST_F(ObjectWnd, AVisibleOwnerGivesTheHorizontalCentreAndTheMonitorTheVertical)
{
    const HWND owner = MakeOwner(100, 40, 500, 300);
    ProbeWindow* window = Show(owner);
    ASSERT_NE(window, nullptr);
    const RECT screen = PrimaryMonitor();
    const RECT rc = WindowRect(*window);
    EXPECT_EQ(rc.left, (100 + 600) / 2 - 100);
    EXPECT_EQ(rc.top, (screen.top + screen.bottom) / 2 - 50);
}

TEST_F(ObjectWnd, AHiddenOrMinimisedOwnerIsIgnored)
{
    const RECT screen = PrimaryMonitor();
    const HWND owner = MakeOwner(100, 40, 500, 300);
    ::ShowWindow(owner, SW_MINIMIZE);
    ProbeWindow* window = Show(owner);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowRect(*window).left, (screen.left + screen.right) / 2 - 100);

    ::ShowWindow(owner, SW_HIDE);
    window->CenterOnOwner(RECT{}, POINT{10, -20});
    const RECT rc = WindowRect(*window);
    EXPECT_EQ(rc.left, (screen.left + screen.right) / 2 - 100 + 10);
    EXPECT_EQ(rc.top, (screen.top + screen.bottom) / 2 - 50 - 20);
}

TEST_F(ObjectWnd, ARectangleIsTheAnchorAndTheBound)
{
    ProbeWindow* window = Show(nullptr);
    ASSERT_NE(window, nullptr);
    struct Case {
        RECT bound;
        POINT offset;
        POINT expected;
    };
    const Case cases[] = {
        {{300, 200, 700, 600}, {0, 0}, {400, 350}},     // centred inside
        {{300, 200, 700, 600}, {500, 0}, {500, 350}},   // pushed back from the right edge
        {{300, 200, 700, 600}, {-500, -400}, {300, 200}}, // held at the left and top edges
        {{0, 0, 150, 80}, {0, 0}, {0, 0}},              // smaller than the window: the low edges win
    };
    for (const Case& c : cases) {
        window->CenterOnOwner(c.bound, c.offset);
        const RECT rc = WindowRect(*window);
        EXPECT_EQ(rc.left, c.expected.x) << c.bound.left << "," << c.offset.x;
        EXPECT_EQ(rc.top, c.expected.y) << c.bound.top << "," << c.offset.y;
    }
}

TEST_F(ObjectWnd, ShowZVWindowWiresTheChainAndTheIcon)
{
    int destroyed = 0;
    ZvBase top;
    ProbeWindow* window = ShowZVWindow<ProbeWindow>(nullptr, &top, false, L"probe", [&destroyed] { ++destroyed; },
                                                    nullptr, WS_POPUP | WS_VISIBLE, 0, 1, 42);
    ASSERT_NE(window, nullptr);
    const HWND handle = window->GetHandle();
    EXPECT_EQ(window->GetNextSink(), &top);
    EXPECT_EQ(window->GetUserValue(), 42);
    EXPECT_TRUE(::IsWindowVisible(handle));
    EXPECT_NE(::SendMessageW(handle, WM_GETICON, ICON_BIG, 0), 0);
    wchar_t className[32] = {};
    ::GetClassNameW(handle, className, 32);
    EXPECT_STREQ(className, L"zvprobewnd");

    ::SendMessageW(handle, WM_TIMER, 268, 0);
    EXPECT_EQ(window->lastTimer, 268u);

    ::DestroyWindow(handle); // the window frees itself, which runs the destroy callback
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjectWndLifetime, AWindowThatEndsInItsCreationIsFreedOnceByEachCaller)
{
    using Frame = EndedInCreation<ProbeWindow>;
    using Box = EndedInCreation<CZVMsgBox>;
    for (const bool destroy : {false, true}) {
        const AccessViolationWatch watch;
        Frame::s_freed = 0;
        Frame::s_destroy = destroy;
        for (const bool modal : {false, true}) {
            EXPECT_EQ(ShowZVWindow<Frame>(nullptr, nullptr, modal, L"ended", nullptr, nullptr, WS_POPUP, 0, 1, 0),
                      nullptr);
        }
        EXPECT_EQ(Frame::s_freed, 2) << "destroy " << destroy;
        Box::s_freed = 0;
        Box::s_destroy = destroy;
        EXPECT_EQ(RunZVMsgBox(new Box(), nullptr, L"box", L"t", L"m", L"ok", L"", nullptr, WS_POPUP, 0, true), 0);
        EXPECT_EQ(Box::s_freed, 1) << "destroy " << destroy;
        EXPECT_EQ(watch.Count(), 0) << "destroy " << destroy;
    }
}

TEST(MonitorList, ListsTheMonitorsWithThePrimaryOne)
{
    const ZVMonitorList monitors;
    ASSERT_GE(monitors.GetCount(), 1);
    ASSERT_NE(monitors.GetPrimary(), nullptr);
    const RECT screen = PrimaryMonitor();
    EXPECT_TRUE(::EqualRect(&monitors.GetPrimary()->monitorRect, &screen));
    EXPECT_TRUE(monitors.GetPrimary()->primary);
    EXPECT_STREQ(monitors.GetAt(0).label, L"显示器 1");
    EXPECT_EQ(ZVMonitorList::GetFirstList().GetCount(), monitors.GetCount());
}

TEST(MonitorList, StopsAtSixtyThreeMonitors)
{
    ZVMonitorList monitors(nullptr);
    const HMONITOR real = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    int accepted = 0;
    for (int i = 0; i < 70; ++i) {
        if (!monitors.Add(real, RECT{0, 0, 10, 10}))
            break;
        ++accepted;
    }
    EXPECT_EQ(monitors.GetCount(), 63);
    EXPECT_EQ(accepted, 62); // the 63rd entry is filled and ends the enumeration
    EXPECT_STREQ(monitors.GetAt(62).label, L"显示器 63");
    EXPECT_EQ(monitors.GetPrimaryIndex(), 0);
}

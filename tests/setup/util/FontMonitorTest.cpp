// Fonts, the union of monitors and the window under a point.
#include "ZVObjectWnd.h"
#include "util/FontMonitor.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace ZVCore;

namespace {

HMONITOR FakeMonitor(int n)
{
    return reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x1000 + n));
}

} // namespace

TEST(FontMonitor, MonitorsUniteIntoOneRectangle)
{
    ZVMonitorList none(nullptr);
    const RECT empty = GetMonitorsUnion(none);
    EXPECT_TRUE(::IsRectEmpty(&empty));

    ZVMonitorList one(nullptr);
    one.Add(FakeMonitor(1), RECT{0, 0, 1920, 1080});
    RECT all = GetMonitorsUnion(one);
    EXPECT_TRUE(::EqualRect(&all, &one.GetAt(0).enumRect));

    ZVMonitorList two(nullptr);
    two.Add(FakeMonitor(1), RECT{0, 0, 1920, 1080});
    two.Add(FakeMonitor(2), RECT{-1280, 100, 0, 1124});
    all = GetMonitorsUnion(two);
    EXPECT_EQ(all.left, -1280);
    EXPECT_EQ(all.top, 0);
    EXPECT_EQ(all.right, 1920);
    EXPECT_EQ(all.bottom, 1124);
}

TEST(FontMonitor, TheDeepestWindowUnderAPointIsFound)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // A plain window class: a static window is transparent to hit tests.
    WNDCLASSW plain = {};
    plain.lpfnWndProc = ::DefWindowProcW;
    plain.hInstance = instance;
    plain.lpszClassName = L"ZvPointProbe";
    ::RegisterClassW(&plain);
    const HWND parent = ::CreateWindowExW(WS_EX_TOPMOST, L"ZvPointProbe", L"parent", WS_POPUP | WS_VISIBLE, 200,
                                          200, 300, 200, nullptr, nullptr, instance, nullptr);
    const HWND child = ::CreateWindowExW(0, L"BUTTON", L"child", WS_CHILD | WS_VISIBLE, 20, 30, 100, 50, parent,
                                         nullptr, instance, nullptr);
    ASSERT_NE(child, nullptr);
    RECT rect = {};
    EXPECT_EQ(GetWindowRectAtPoint(rect, POINT{250, 250}), child);
    EXPECT_EQ(rect.left, 220);
    EXPECT_EQ(rect.top, 230);
    EXPECT_EQ(rect.right, 320);
    EXPECT_EQ(rect.bottom, 280);
    EXPECT_EQ(GetWindowRectAtPoint(rect, POINT{450, 350}), parent);
    ::EnableWindow(child, FALSE);
    EXPECT_EQ(GetWindowRectAtPoint(rect, POINT{250, 250}), parent); // disabled children are passed over
    ::DestroyWindow(parent);
}

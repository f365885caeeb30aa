// Shadow window: creation by the paint manager, click-through styles, following the host on show,
// hide, move, size, minimise and destruction (checked with GetWindowRect), and the nine-slice image.
#include "window/ShadowUI.h"

#include <gtest/gtest.h>

#include <memory>

#include "ManagedWindow.h"
#include "ShadowTestSupport.h"
#include "control/ControlUI.h"

using ZvUI::CControlUI;
using ZvUI::CPaintManagerUI;
using ZvUI::CShadowUI;

namespace {

RECT WindowRect(HWND hwnd)
{
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

// The shadow rectangle expected for the host's present window rectangle.
RECT Expected(CPaintManagerUI& pm, HWND host)
{
    return pm.GetShadow()->GetShadowRect(WindowRect(host));
}

::testing::AssertionResult SameRect(const RECT& a, const RECT& b)
{
    if (::EqualRect(&a, &b))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.left << "," << a.top << "," << a.right << "," << a.bottom
                                         << ") vs (" << b.left << "," << b.top << "," << b.right << "," << b.bottom
                                         << ")";
}

void EnableShadow(CPaintManagerUI& pm)
{
    CShadowUI* shadow = pm.GetShadow();
    shadow->SetShadowEnabled(true);
    ASSERT_TRUE(shadow->SetSize(10));
    ASSERT_TRUE(shadow->SetSharpness(5));
}

} // namespace

TEST(ShadowWindow, OffUntilEnabled)
{
    CPaintManagerUI pm;
    ManagedWindow host(pm, 100, 50);
    pm.SetRootControl(new CControlUI);
    EXPECT_EQ(pm.GetShadow()->GetShadowWindow(), nullptr);
    EXPECT_EQ(CShadowUI::GetShadowMap().count(host.Get()), 0u);
}

TEST(ShadowWindow, ClickThroughPopupOwnedByItsHost)
{
    CPaintManagerUI pm;
    EnableShadow(pm);
    HWND shadowWindow = nullptr;
    {
        ManagedWindow host(pm, 100, 50);
        pm.SetRootControl(new CControlUI);
        shadowWindow = pm.GetShadow()->GetShadowWindow();
        ASSERT_NE(shadowWindow, nullptr);
        const LONG_PTR exStyle = ::GetWindowLongPtrW(shadowWindow, GWL_EXSTYLE);
        EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT), WS_EX_LAYERED | WS_EX_TRANSPARENT);
        EXPECT_NE(::GetWindowLongPtrW(shadowWindow, GWL_STYLE) & WS_POPUP, 0);
        EXPECT_EQ(::GetWindow(shadowWindow, GW_OWNER), host.Get());
        wchar_t name[64] = {};
        ::GetClassNameW(shadowWindow, name, 64);
        EXPECT_STREQ(name, L"HaldenShadowWnd");
        EXPECT_FALSE(::IsWindowVisible(shadowWindow)) << "the host is hidden";
        EXPECT_EQ(CShadowUI::GetShadowMap().at(host.Get()), pm.GetShadow());

        pm.SetRootControl(new CControlUI);
        EXPECT_EQ(pm.GetShadow()->GetShadowWindow(), shadowWindow) << "a second root keeps the shadow";
        ManagedWindow::Pump();
    }
    EXPECT_FALSE(::IsWindow(shadowWindow)) << "goes with its host";
    EXPECT_TRUE(CShadowUI::GetShadowMap().empty());
}

TEST(ShadowWindow, ManagerEndingBeforeItsWindowUnhooksIt)
{
    auto pm = std::make_unique<CPaintManagerUI>();
    EnableShadow(*pm);
    ManagedWindow host(*pm, 100, 50);
    pm->SetRootControl(new CControlUI);
    HWND shadowWindow = pm->GetShadow()->GetShadowWindow();
    ASSERT_NE(shadowWindow, nullptr);
    ::SetWindowLongPtrW(host.Get(), GWLP_USERDATA, 0);
    pm.reset();
    EXPECT_FALSE(::IsWindow(shadowWindow));
    EXPECT_EQ(CShadowUI::GetShadowMap().count(host.Get()), 0u);
    // The window keeps working on its own procedure.
    EXPECT_TRUE(::SetWindowPos(host.Get(), nullptr, 50, 60, 120, 70, SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_EQ(WindowRect(host.Get()).right, 170);
}

TEST(ShadowWindow, FollowsItsHost)
{
    CPaintManagerUI pm;
    EnableShadow(pm);
    ManagedWindow host(pm, 100, 50);
    pm.SetRootControl(new CControlUI);
    HWND shadow = pm.GetShadow()->GetShadowWindow();
    HWND hwnd = host.Get();

    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ManagedWindow::Pump();
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), RECT{90, 70, 210, 140}));

    // Moves only reposition.
    ::SetWindowPos(hwnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(WindowRect(shadow), RECT{190, 140, 310, 210}));

    // Growing waits for the host's next paint.
    ::SetWindowPos(hwnd, nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(shadow).right - WindowRect(shadow).left, 120) << "still the old extent";
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ManagedWindow::Pump();
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(pm, hwnd)));
    EXPECT_EQ(WindowRect(shadow).right - WindowRect(shadow).left, 170);

    // Shrinking rebuilds at once.
    ::SetWindowPos(hwnd, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(pm, hwnd)));
    EXPECT_EQ(WindowRect(shadow).right - WindowRect(shadow).left, 100);

    // A setter shows at once while the shadow is up.
    ASSERT_TRUE(pm.GetShadow()->SetSize(12));
    EXPECT_EQ(WindowRect(shadow).right - WindowRect(shadow).left, 104);

    ::ShowWindow(hwnd, SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(shadow));
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ManagedWindow::Pump();
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(pm, hwnd)));

    ::ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_FALSE(::IsWindowVisible(shadow)) << "minimised";
    ::ShowWindow(hwnd, SW_RESTORE);
    ManagedWindow::Pump();
    EXPECT_TRUE(::IsWindowVisible(shadow)) << "restored";
    ::ShowWindow(hwnd, SW_MAXIMIZE);
    EXPECT_FALSE(::IsWindowVisible(shadow)) << "maximised";
    ::ShowWindow(hwnd, SW_RESTORE);
    ManagedWindow::Pump();
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(pm, hwnd)));

    // Suspended: hidden, and the host's moves are not followed until it resumes.
    pm.GetShadow()->SetSuspended(true);
    EXPECT_FALSE(::IsWindowVisible(shadow));
    ::SetWindowPos(hwnd, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(SameRect(WindowRect(shadow), Expected(pm, hwnd)));
    pm.GetShadow()->SetSuspended(false);
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(pm, hwnd)));
    ::ShowWindow(hwnd, SW_HIDE);
}

TEST(ShadowImage, NineSliceFrameWithAnEmptyCentre)
{
    // 3 x 3 cells of 10 pixels: red corners, green sides, blue centre.
    const std::wstring path = WriteBmp(L"zv_shadow_frame.bmp", 30, 30, [](int x, int y) -> DWORD {
        const bool sideX = x >= 10 && x < 20;
        const bool sideY = y >= 10 && y < 20;
        if (sideX && sideY)
            return 0x0000FF;
        return sideX || sideY ? 0x00FF00 : 0xFF0000;
    });
    CPaintManagerUI pm;
    ManagedWindow host(pm, 100, 50);
    CShadowUI* shadow = pm.GetShadow();
    shadow->SetShadowEnabled(true);
    ASSERT_TRUE(shadow->SetImage(path.c_str()));
    ASSERT_TRUE(shadow->SetCorner(10, 10, 10, 10));
    ASSERT_TRUE(shadow->SetSize(16));
    ASSERT_TRUE(shadow->SetPosition(5, 5));
    pm.SetRootControl(new CControlUI);

    RECT rcHost = WindowRect(host.Get());
    const RECT rc = shadow->GetShadowRect(rcHost);
    EXPECT_EQ(rc.left, rcHost.left - 16) << "offsets play no part";
    EXPECT_EQ(rc.top, rcHost.top - 16);
    ShadowBitmap bitmap(*shadow, host.Get());
    ASSERT_TRUE(bitmap.Drawn());
    ASSERT_EQ(bitmap.Width(), 132);
    ASSERT_EQ(bitmap.Height(), 82);
    struct Probe {
        int x, y;
        DWORD rgb;
    };
    const Probe probes[] = {
        {2, 2, 0xFF0000},   {129, 2, 0xFF0000}, {2, 79, 0xFF0000}, {129, 79, 0xFF0000},
        {66, 3, 0x00FF00},  {66, 78, 0x00FF00}, {3, 41, 0x00FF00}, {128, 41, 0x00FF00},
        {66, 41, 0x000000}, {20, 20, 0x000000}, {111, 61, 0x000000},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(bitmap.At(p.x, p.y) & 0xFFFFFF, p.rgb) << p.x << "," << p.y;
}

TEST(ShadowImage, EmptyOrMissingImageDrawsNothing)
{
    CPaintManagerUI pm;
    ManagedWindow host(pm, 100, 50);
    CShadowUI* shadow = pm.GetShadow();
    shadow->SetShadowEnabled(true);
    ASSERT_TRUE(shadow->SetSize(10));
    ASSERT_TRUE(shadow->SetImage(L""));
    pm.SetRootControl(new CControlUI);
    EXPECT_FALSE(ShadowBitmap(*shadow, host.Get()).Drawn()) << "image mode stays on with an empty name";
    ASSERT_TRUE(shadow->SetImage(L"zv_no_such_shadow.png"));
    EXPECT_FALSE(ShadowBitmap(*shadow, host.Get()).Drawn());
}

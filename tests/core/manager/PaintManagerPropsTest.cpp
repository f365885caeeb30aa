// Window properties of the paint manager: stored at 96 dpi, read scaled; layered
// mode and opacity on real windows.
#include <gtest/gtest.h>

#include "ManagerTestSupport.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;
using zvtest::TestWindow;

namespace {

void ExpectRect(const RECT& rc, LONG left, LONG top, LONG right, LONG bottom)
{
    EXPECT_EQ(rc.left, left);
    EXPECT_EQ(rc.top, top);
    EXPECT_EQ(rc.right, right);
    EXPECT_EQ(rc.bottom, bottom);
}

} // namespace

TEST(WindowProps, LengthsAreStoredAsGivenAndReadScaled)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.GetDpiHelper()->SetScale(144);
    m.SetCaptionRect(RECT{0, 0, 0, 50});
    m.SetSizeBox(RECT{4, 4, 6, 6});
    m.SetRoundCorner(4, 6);
    m.SetMinInfo(200, 100);
    m.SetMaxInfo(800, 600);
    ExpectRect(m.GetCaptionRect(), 0, 0, 0, 75);
    ExpectRect(m.GetSizeBox(), 6, 6, 9, 9);
    EXPECT_EQ(m.GetRoundCorner().cx, 6);
    EXPECT_EQ(m.GetRoundCorner().cy, 9);
    EXPECT_EQ(m.GetMinInfo().cx, 300);
    EXPECT_EQ(m.GetMinInfo().cy, 150);
    EXPECT_EQ(m.GetMaxInfo().cx, 1200);
    EXPECT_EQ(m.GetMaxInfo().cy, 900);
    // Back at 96 dpi the same stored values come back unscaled.
    m.GetDpiHelper()->SetScale(96);
    ExpectRect(m.GetCaptionRect(), 0, 0, 0, 50);
    EXPECT_EQ(m.GetMinInfo().cx, 200);
}

TEST(WindowProps, InitialSizeIsStoredAsGivenAndSizesTheWindow)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.GetDpiHelper()->SetScale(144);
    // The layout builder passes "700,420" already scaled at 144 dpi.
    m.SetInitialSize(1050, 630);
    EXPECT_EQ(m.GetInitialSize().cx, 1050);
    EXPECT_EQ(m.GetInitialSize().cy, 630);
    RECT rc = {};
    ::GetWindowRect(window.hwnd(), &rc);
    EXPECT_EQ(rc.right - rc.left, 1050);
    EXPECT_EQ(rc.bottom - rc.top, 630);
    // Position unchanged.
    EXPECT_EQ(rc.left, 100);
    m.GetDpiHelper()->SetScale(96);

    CPaintManagerUI detached;
    detached.SetInitialSize(10, 20);
    EXPECT_EQ(detached.GetInitialSize().cx, 10);
}

TEST(WindowProps, LayeredBeforeAttachOnlyRecordsTheRequest)
{
    CPaintManagerUI m;
    m.SetLayered(true);
    EXPECT_TRUE(m.IsLayeredRequested());
    EXPECT_FALSE(m.IsLayered());
}

TEST(WindowProps, LayeredOnAChildWindowChangesNothingButTheRequest)
{
    TestWindow parent;
    TestWindow child(0, 0, 50, 50, WS_CHILD, parent.hwnd());
    child.manager().SetLayered(true);
    EXPECT_TRUE(child.manager().IsLayeredRequested());
    EXPECT_FALSE(child.manager().IsLayered());
}

TEST(WindowProps, LayeredOnAPopupSwitchesTheModeAndMarksTheRoot)
{
    TestWindow window;
    auto* control = new zvtest::TestControl(L"x");
    zvtest::InstallRoot(window, {{control, {0, 0, 10, 10}}});
    zvtest::Pump(30);
    CPaintManagerUI& m = window.manager();
    ASSERT_FALSE(m.GetRoot()->IsUpdateNeeded());
    m.SetLayered(true);
    EXPECT_TRUE(m.IsLayered());
    EXPECT_TRUE(m.GetRoot()->IsUpdateNeeded());
    m.SetLayered(false);
    EXPECT_FALSE(m.IsLayered());
    EXPECT_FALSE(m.IsLayeredRequested());
}

TEST(WindowProps, OpacityMakesTheWindowLayeredAndSharesItsByte)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    EXPECT_EQ(m.GetLayeredOpacity(), 255);
    m.SetOpacity(128);
    EXPECT_NE(::GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(window.hwnd(), &key, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_NE(flags & LWA_ALPHA, 0u);
    EXPECT_EQ(m.GetLayeredOpacity(), 128);
    // The layered opacity is the same byte: the last setter wins.
    m.SetLayeredOpacity(90);
    EXPECT_EQ(m.GetLayeredOpacity(), 90);
    EXPECT_TRUE(m.IsLayeredChanged());
    m.SetOpacity(200);
    EXPECT_EQ(m.GetLayeredOpacity(), 200);

    CPaintManagerUI detached;
    detached.SetOpacity(10);
    EXPECT_EQ(detached.GetLayeredOpacity(), 10);
}

TEST(WindowProps, LayeredInsetAndBackgroundMarkTheLayerChanged)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    EXPECT_FALSE(m.IsLayeredChanged());
    m.SetLayeredInset(RECT{1, 2, 3, 4});
    ExpectRect(*m.GetLayeredInset(), 1, 2, 3, 4);
    EXPECT_TRUE(m.IsLayeredChanged());
    m.SetLayeredBackground(L"file='bk.png' corner='4,4,4,4'");
    EXPECT_STREQ(m.GetLayeredBackground(), L"file='bk.png' corner='4,4,4,4'");
    // Its draw description is parsed and cached before the first paint.
    EXPECT_EQ(m.GetResourceSet().drawInfos.GetSize(), 1);
}

TEST(WindowProps, PlainFlagsRoundTrip)
{
    CPaintManagerUI m;
    EXPECT_EQ(m.GetHoverTime(), 400);
    m.SetHoverTime(700);
    EXPECT_EQ(m.GetHoverTime(), 700);
    EXPECT_FALSE(m.IsNoActivate());
    m.SetNoActivate(true);
    EXPECT_TRUE(m.IsNoActivate());
    EXPECT_FALSE(m.IsShowUpdateRect());
    m.SetShowUpdateRect(true);
    EXPECT_TRUE(m.IsShowUpdateRect());
    EXPECT_FALSE(m.IsUseGdiplusText());
    m.SetUseGdiplusText(true);
    EXPECT_TRUE(m.IsUseGdiplusText());
    EXPECT_EQ(m.GetGdiplusTextRenderingHint(), 0);
    m.SetGdiplusTextRenderingHint(4);
    EXPECT_EQ(m.GetGdiplusTextRenderingHint(), 4);
    m.SetPainting(true);
    EXPECT_TRUE(m.IsPainting());
    EXPECT_EQ(m.GetMousePos().x, -1);
    EXPECT_EQ(m.GetMousePos().y, -1);
}

TEST(WindowProps, WrapRootPutsTheTreeInsideALayeredWrapperOnce)
{
    bool destroyed = false;
    {
        TestWindow window;
        auto* inner = new zvtest::TestControl(L"inner");
        inner->destroyed = &destroyed;
        zvtest::TestContainer* oldRoot = zvtest::InstallRoot(window, {{inner, {0, 0, 10, 10}}});
        CPaintManagerUI& m = window.manager();
        EXPECT_EQ(m.GetContentRoot(), oldRoot);
        EXPECT_EQ(m.GetRootWrapper(), nullptr);

        auto* wrapper = new CContainerUI();
        wrapper->SetInset(4, 5, 6, 7);
        // The manager takes ownership of the wrapper, the wrapper of the old root.
        m.WrapRoot(wrapper);
        EXPECT_TRUE(m.IsLayered());
        EXPECT_EQ(m.GetRoot(), wrapper);
        EXPECT_EQ(m.GetRootWrapper(), wrapper);
        EXPECT_EQ(m.GetContentRoot(), oldRoot);
        EXPECT_EQ(oldRoot->GetParent(), wrapper);
        EXPECT_EQ(wrapper->GetCount(), 1);
        ExpectRect(m.GetRootWrapperInset(), 4, 5, 6, 7);
        // Names stay bound; searches start at the wrapper.
        EXPECT_EQ(m.FindControl(L"inner"), inner);
        // After the next layout the wrapper holds the old tree inside its inset.
        zvtest::Pump(50);
        ::UpdateWindow(window.hwnd());
        EXPECT_EQ(wrapper->GetPos().right, 400);
        EXPECT_EQ(oldRoot->GetPos().left, 4);
        EXPECT_EQ(m.FindControl(POINT{5, 6}), inner);

        // Only once per manager.
        CContainerUI second;
        m.WrapRoot(&second);
        EXPECT_EQ(m.GetRoot(), wrapper);
        EXPECT_EQ(second.GetCount(), 0);
        zvtest::Pump(30);
        EXPECT_FALSE(destroyed);
    }
    // The manager's destruction deleted the wrapper and, through it, the old tree.
    EXPECT_TRUE(destroyed);
}

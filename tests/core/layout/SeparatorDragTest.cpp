// Separator dragging of the stacking layouts, driven by real mouse messages through the manager.
#include <gtest/gtest.h>

#include "../render/RenderCanvas.h"
#include "LayoutTestSupport.h"
#include "layout/HorizontalLayoutUI.h"
#include "layout/VerticalLayoutUI.h"
#include "manager/DpiHelper.h"

using ZvUI::CControlUI;
using ZvUI::CHorizontalLayoutUI;
using ZvUI::CVerticalLayoutUI;
using layout_test::MakeBox;
using layout_test::ManagedWindow;

namespace {

void Down(HWND hwnd, int x, int y)
{
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void Drag(HWND hwnd, int x, int y)
{
    ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}

void Up(HWND hwnd, int x, int y)
{
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// A 300 x 300 window: a vertical pane of fixed height 100 with a 5-pixel band along its bottom
// edge (minimum 40, maximum 200), holding one leaf, over an auto pane.
struct PaneFixture {
    explicit PaneFixture(bool immediate) : window(300, 300)
    {
        auto* root = new CVerticalLayoutUI;
        pane = new CVerticalLayoutUI;
        pane->SetFixedHeight(100);
        pane->SetMinHeight(40);
        pane->SetMaxHeight(200);
        pane->SetAttribute(L"sepheight", L"5");
        pane->SetAttribute(L"sepimm", immediate ? L"TRUE" : L"false");
        leaf = new CControlUI;
        pane->Add(leaf);
        rest = new CControlUI;
        root->Add(pane);
        root->Add(rest);
        window.SetRoot(root);
    }
    HWND Hwnd() const { return window.Handle(); }

    ManagedWindow window;
    CVerticalLayoutUI* pane = nullptr;
    CControlUI* leaf = nullptr;
    CControlUI* rest = nullptr;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

} // namespace

TEST(SeparatorDrag, PreviewMovesOnlyTheBandUntilRelease)
{
    PaneFixture f(false);
    ASSERT_EQ(f.pane->GetControlFlags(), ZvUI::ControlFlagSetCursor);
    ASSERT_TRUE(SameRect(f.pane->GetSeparatorRect(false), RECT{0, 95, 300, 100}));

    Down(f.Hwnd(), 150, 97);  // on the leaf, inside the band: the leaf passes it up
    EXPECT_EQ(f.window.Manager().GetAfterPaintControlCount(), 1);
    Drag(f.Hwnd(), 150, 120);
    EXPECT_TRUE(SameRect(f.pane->GetPos(), RECT{0, 0, 300, 100}));  // nothing moved yet
    EXPECT_TRUE(SameRect(f.pane->GetSeparatorRect(true), RECT{0, 118, 300, 123}));
    EXPECT_EQ(f.pane->GetFixedHeight(), 123);
    EXPECT_FALSE(f.window.Manager().GetRoot()->IsUpdateNeeded());  // no relayout asked for

    // The shaded band is drawn after everything else, at the new position.
    RenderCanvas canvas(300, 300, 0xFFFFFFFF);
    const RECT all = {0, 0, 300, 300};
    f.pane->DoPostPaint(canvas.DC(), all);
    const DWORD shaded = canvas.Rgb(150, 120) & 0xFF;
    EXPECT_LT(shaded, 0x70u);
    EXPECT_GT(shaded, 0x30u);
    EXPECT_EQ(canvas.Rgb(150, 110), 0xFFFFFFu);

    Up(f.Hwnd(), 150, 120);
    EXPECT_EQ(f.window.Manager().GetAfterPaintControlCount(), 0);
    EXPECT_TRUE(f.window.Manager().IsUpdateNeeded());
    f.window.Layout();
    EXPECT_TRUE(SameRect(f.pane->GetPos(), RECT{0, 0, 300, 123}));
    EXPECT_EQ(f.rest->GetPos().top, 123);
    canvas.Fill(0xFFFFFFFF);
    f.pane->DoPostPaint(canvas.DC(), all);
    EXPECT_EQ(canvas.Rgb(150, 120), 0xFFFFFFu);  // no band once released
}

TEST(SeparatorDrag, MinimumStopsTheBandAndThePointerMustComeBack)
{
    PaneFixture f(false);
    Down(f.Hwnd(), 10, 99);
    Drag(f.Hwnd(), 10, 30);  // would be 33 high: stops at the minimum
    EXPECT_EQ(f.pane->GetFixedHeight(), 40);
    Drag(f.Hwnd(), 10, 20);  // further up: ignored
    EXPECT_EQ(f.pane->GetFixedHeight(), 40);
    Drag(f.Hwnd(), 10, 30);  // down, but still above the band's top edge (35): ignored
    EXPECT_EQ(f.pane->GetFixedHeight(), 40);
    Drag(f.Hwnd(), 10, 38);  // back inside the band: grows by the step
    EXPECT_EQ(f.pane->GetFixedHeight(), 48);
    Drag(f.Hwnd(), 10, 400);  // far down: stops at the maximum
    EXPECT_EQ(f.pane->GetFixedHeight(), 200);
    Drag(f.Hwnd(), 10, 420);
    EXPECT_EQ(f.pane->GetFixedHeight(), 200);
    Drag(f.Hwnd(), 10, 300);  // up, but still below the band's bottom edge (200): ignored
    EXPECT_EQ(f.pane->GetFixedHeight(), 200);
    Drag(f.Hwnd(), 10, 190);  // above it: the whole step of 110 counts
    EXPECT_EQ(f.pane->GetFixedHeight(), 90);
    Up(f.Hwnd(), 10, 190);
    f.window.Layout();
    EXPECT_EQ(f.rest->GetPos().top, 90);
}

TEST(SeparatorDrag, ImmediateModeRelaysOutOnEveryStep)
{
    PaneFixture f(true);
    Down(f.Hwnd(), 150, 96);
    EXPECT_EQ(f.window.Manager().GetAfterPaintControlCount(), 0);
    Drag(f.Hwnd(), 150, 106);
    EXPECT_TRUE(SameRect(f.pane->GetPos(), RECT{0, 0, 300, 110}));
    EXPECT_TRUE(f.window.Manager().GetRoot()->IsUpdateNeeded());
    f.window.Layout();
    EXPECT_EQ(f.rest->GetPos().top, 110);
    Drag(f.Hwnd(), 150, 116);
    f.window.Layout();
    EXPECT_EQ(f.rest->GetPos().top, 120);
    // Switching preview on mid-drag does not leave the layout in the after-paint list.
    f.pane->SetSepImmediate(false);
    Up(f.Hwnd(), 150, 116);
    EXPECT_EQ(f.window.Manager().GetAfterPaintControlCount(), 0);
}

TEST(SeparatorDrag, PressOutsideTheBandIsTheContainersAndDisabledLayoutsIgnoreIt)
{
    PaneFixture f(false);
    Down(f.Hwnd(), 150, 50);
    Drag(f.Hwnd(), 150, 150);
    Up(f.Hwnd(), 150, 150);
    EXPECT_EQ(f.pane->GetFixedHeight(), 100);

    f.pane->SetEnabled(false);
    EXPECT_EQ(f.pane->GetControlFlags(), 0u);
    Down(f.Hwnd(), 150, 97);
    Drag(f.Hwnd(), 150, 150);
    Up(f.Hwnd(), 150, 150);
    EXPECT_EQ(f.pane->GetFixedHeight(), 100);

    // Disabled in the middle of a drag: what follows moves nothing.
    f.pane->SetEnabled(true);
    Down(f.Hwnd(), 150, 97);
    f.pane->SetEnabled(false);
    Drag(f.Hwnd(), 150, 150);
    Up(f.Hwnd(), 150, 150);
    EXPECT_EQ(f.pane->GetFixedHeight(), 100);
    EXPECT_EQ(f.window.Manager().GetAfterPaintControlCount(), 0);
}

TEST(SeparatorDrag, CursorOverTheBandIsTheSizingArrow)
{
    PaneFixture f(false);
    // Over a child the child's cursor counts: keep the leaf off the band.
    f.pane->SetInset(0, 0, 0, 5);
    f.window.Layout();
    ::SetCursorPos(150, 97);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(f.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZENS));

    CHorizontalLayoutUI row;
    row.SetSepWidth(4);
    row.SetPos(RECT{0, 0, 100, 20}, false);
    ZvUI::UIControlEvent event;
    event.type = ZvUI::EventSetCursor;
    event.mousePoint = POINT{98, 10};
    row.DoEvent(event);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
}

TEST(SeparatorDrag, LeftBandOfARowMovesItsLeftEdge)
{
    ManagedWindow window(300, 100);
    auto* root = new CHorizontalLayoutUI;
    auto* pane = new CHorizontalLayoutUI;
    pane->SetFixedWidth(100);
    pane->SetSepWidth(-6);
    root->Add(MakeBox(150, 0));
    root->Add(pane);
    window.SetRoot(root);
    ASSERT_TRUE(SameRect(pane->GetSeparatorRect(false), RECT{150, 0, 156, 100}));
    Down(window.Handle(), 152, 50);
    Drag(window.Handle(), 140, 50);
    EXPECT_TRUE(SameRect(pane->GetSeparatorRect(true), RECT{138, 0, 144, 100}));
    EXPECT_EQ(pane->GetFixedWidth(), 112);
    Drag(window.Handle(), 160, 50);  // back right from inside the band: the left edge follows
    EXPECT_EQ(pane->GetFixedWidth(), 92);
    Up(window.Handle(), 160, 50);
    window.Layout();
    EXPECT_EQ(pane->GetWidth(), 92);

    // Bands by extent sign; the row's is not clipped to its rectangle.
    CHorizontalLayoutUI thin;
    thin.SetSepWidth(30);
    thin.SetPos(RECT{10, 0, 20, 5}, false);
    EXPECT_TRUE(SameRect(thin.GetSeparatorRect(false), RECT{-10, 0, 20, 5}));
    CVerticalLayoutUI flat;
    flat.SetSepHeight(-30);
    flat.SetPos(RECT{0, 10, 5, 20}, false);
    EXPECT_TRUE(SameRect(flat.GetSeparatorRect(false), RECT{0, 10, 5, 20}));
    flat.SetSepHeight(30);
    EXPECT_TRUE(SameRect(flat.GetSeparatorRect(false), RECT{0, 10, 5, 20}));
}

TEST(SeparatorDrag, NoBandLeavesEverythingToTheContainer)
{
    CVerticalLayoutUI v;
    EXPECT_EQ(v.GetControlFlags(), 0u);
    v.SetPos(RECT{0, 0, 50, 50}, false);
    ZvUI::UIControlEvent down;
    down.type = ZvUI::EventButtonDown;
    down.mousePoint = POINT{25, 49};
    v.DoEvent(down);
    ZvUI::UIControlEvent move;
    move.type = ZvUI::EventMouseMove;
    move.mousePoint = POINT{25, 10};
    v.DoEvent(move);
    EXPECT_EQ(v.GetFixedHeight(), 0);
    EXPECT_TRUE(SameRect(v.GetSeparatorRect(true), RECT{0, 50, 50, 50}));
}

TEST(SeparatorDrag, DraggedExtentIsStoredAt96DpiWhenScaled)
{
    PaneFixture f(false);
    f.window.Manager().GetDpiHelper()->SetScale(144);
    f.window.Layout();
    ASSERT_EQ(f.pane->GetHeight(), 150);
    // Band of 5 unscaled pixels at the bottom of the 150-pixel pane.
    Down(f.Hwnd(), 20, 148);
    Drag(f.Hwnd(), 20, 178);
    Up(f.Hwnd(), 20, 178);
    EXPECT_EQ(f.pane->GetFixedHeight(), 180);  // 120 stored, read back scaled
    f.window.Layout();
    EXPECT_EQ(f.rest->GetPos().top, 180);
    f.window.Manager().GetDpiHelper()->SetScale(96);
}

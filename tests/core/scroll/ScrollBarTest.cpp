// Scroll bar: part geometry, clamping, attributes, outline and image painting into a DIB, and
// press, hold, rail paging and thumb drag driven by real mouse messages through the paint manager.
#include "control/ScrollBarUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "../render/RenderCanvas.h"
#include "HostWindow.h"
#include "layout/VerticalLayoutUI.h"
#include "manager/DpiHelper.h"

using ZvUI::CScrollBarUI;
using scroll_test::HostWindow;
using scroll_test::NotifyLog;

namespace {

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

RECT R(int l, int t, int r, int b)
{
    return RECT{l, t, r, b};
}

constexpr DWORD kOutline = 0x85E4FF;

} // namespace

// --- geometry ---

TEST(ScrollBarGeometry, PartsFollowLengthRangeAndPosition)
{
    struct Row {
        const char* what;
        bool horizontal;
        int extent;
        bool button1;
        bool button2;
        int range;
        int pos;
        RECT b1;
        RECT b2;
        RECT thumb;
    };
    const Row rows[] = {
        {"vertical, thumb of 22 at the middle", false, 100, true, true, 200, 100, R(0, 0, 16, 16), R(0, 84, 16, 100),
         R(0, 39, 16, 61)},
        {"vertical at the top", false, 100, true, true, 200, 0, R(0, 0, 16, 16), R(0, 84, 16, 100), R(0, 16, 16, 38)},
        {"vertical at the end", false, 100, true, true, 200, 200, R(0, 0, 16, 16), R(0, 84, 16, 100),
         R(0, 62, 16, 84)},
        {"too short for a thumb", false, 30, true, true, 200, 0, R(0, 0, 16, 15), R(0, 15, 16, 30), R(0, 0, 0, 0)},
        {"range 0 fills the rail", false, 100, true, true, 0, 0, R(0, 0, 16, 16), R(0, 84, 16, 100),
         R(0, 16, 16, 84)},
        {"no buttons, whole length", false, 100, false, false, 100, 100, R(0, 0, 0, 0), R(0, 100, 0, 100),
         R(0, 50, 16, 100)},
        {"thumb never thinner than the bar", false, 100, true, true, 10000, 10000, R(0, 0, 16, 16),
         R(0, 84, 16, 100), R(0, 68, 16, 84)},
        {"vertical share truncates", false, 100, true, true, 3, 1, R(0, 0, 16, 16), R(0, 84, 16, 100),
         R(0, 16, 16, 82)},
        {"horizontal in exact integers", true, 200, true, true, 100, 50, R(0, 0, 16, 16), R(184, 0, 200, 16),
         R(44, 0, 156, 16)},
        {"horizontal, only the first button", true, 200, true, false, 100, 100, R(0, 0, 16, 16), R(200, 0, 200, 0),
         R(78, 0, 200, 16)},
        {"horizontal too short", true, 20, true, true, 50, 0, R(0, 0, 10, 16), R(10, 0, 20, 16), R(0, 0, 0, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CScrollBarUI bar;
        bar.SetHorizontal(row.horizontal);
        bar.SetShowButton1(row.button1);
        bar.SetShowButton2(row.button2);
        bar.SetScrollRange(row.range);
        bar.SetScrollPos(row.pos);
        bar.SetPos(row.horizontal ? R(0, 0, row.extent, 16) : R(0, 0, 16, row.extent), false);
        EXPECT_EQ(Show(bar.GetButton1Rect()), Show(row.b1));
        EXPECT_EQ(Show(bar.GetButton2Rect()), Show(row.b2));
        EXPECT_EQ(Show(bar.GetThumbRect()), Show(row.thumb));
    }
}

TEST(ScrollBarGeometry, OffsetBarKeepsPartsInsideIt)
{
    CScrollBarUI bar;
    bar.SetScrollRange(200);
    bar.SetScrollPos(100);
    bar.SetPos(R(50, 20, 66, 120), false);
    EXPECT_EQ(Show(bar.GetButton1Rect()), "50,20,66,36");
    EXPECT_EQ(Show(bar.GetButton2Rect()), "50,104,66,120");
    EXPECT_EQ(Show(bar.GetThumbRect()), "50,59,66,81");
}

// --- state ---

TEST(ScrollBarState, PositionAndRangeAreClamped)
{
    CScrollBarUI bar;
    bar.SetPos(R(0, 0, 16, 100), false);
    bar.SetScrollRange(-3);
    EXPECT_EQ(bar.GetScrollRange(), 0);
    bar.SetScrollRange(50);
    bar.SetScrollPos(-5);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetScrollPos(51);
    EXPECT_EQ(bar.GetScrollPos(), 50);
    bar.SetScrollRange(20);
    EXPECT_EQ(bar.GetScrollPos(), 20);
    // The thumb follows the clamped position at once.
    EXPECT_EQ(bar.GetThumbRect().bottom, 84);
}

TEST(ScrollBarState, OrientationSwapsThicknessOnlyWhenUnset)
{
    CScrollBarUI bar;
    EXPECT_EQ(bar.GetFixedWidth(), 16);
    EXPECT_EQ(bar.GetFixedHeight(), 0);
    bar.SetAttribute(L"HOR", L"True");
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(bar.GetFixedWidth(), 0);
    EXPECT_EQ(bar.GetFixedHeight(), 16);
    bar.SetAttribute(L"hor", L"false");
    EXPECT_EQ(bar.GetFixedWidth(), 16);
    EXPECT_EQ(bar.GetFixedHeight(), 0);

    CScrollBarUI thin;
    thin.SetAttribute(L"width", L"9");
    thin.SetAttribute(L"height", L"9");
    thin.SetHorizontal(true);
    EXPECT_EQ(thin.GetFixedWidth(), 9);
    EXPECT_EQ(thin.GetFixedHeight(), 9);
}

TEST(ScrollBarState, AttributesReachTheirFields)
{
    CScrollBarUI bar;
    bar.SetAttribute(L"linesize", L"20px");
    bar.SetAttribute(L"range", L"300");
    bar.SetAttribute(L"value", L"120");
    bar.SetAttribute(L"showbutton1", L"false");
    bar.SetAttribute(L"ShowButton2", L"TRUE");
    bar.SetAttribute(L"thumbhotimage", L"thumb_hot.png");
    bar.SetAttribute(L"RailDisabledImage", L"rail_off.png");
    bar.SetAttribute(L"bkpushedimage", L"bk_down.png");
    EXPECT_EQ(bar.GetLineSize(), 20);
    EXPECT_EQ(bar.GetScrollRange(), 300);
    EXPECT_EQ(bar.GetScrollPos(), 120);
    EXPECT_FALSE(bar.GetShowButton1());
    EXPECT_TRUE(bar.GetShowButton2());
    EXPECT_STREQ(bar.GetThumbHotImage(), L"thumb_hot.png");
    EXPECT_STREQ(bar.GetRailDisabledImage(), L"rail_off.png");
    EXPECT_STREQ(bar.GetBkPushedImage(), L"bk_down.png");
    EXPECT_STREQ(bar.GetClass(), L"ScrollBarUI");
    EXPECT_EQ(bar.GetInterface(L"scrollbar"), &bar);
}

TEST(ScrollBarState, HidingClearsFocusAndDisablingClearsPartStates)
{
    CScrollBarUI bar;
    bar.SetVisible(false);
    EXPECT_FALSE(bar.IsVisible());
    bar.SetVisible(true);
    bar.SetEnabled(false);
    EXPECT_EQ(bar.GetButton1State(), 0u);
    EXPECT_EQ(bar.GetThumbState(), 0u);
}

// --- painting ---

TEST(ScrollBarPaint, PartsWithoutImagesGetTwoPixelOutlines)
{
    CScrollBarUI bar;
    bar.SetScrollRange(200);
    bar.SetScrollPos(100);
    bar.SetPos(R(0, 0, 16, 100), false);
    RenderCanvas canvas(20, 100);
    RECT all = R(0, 0, 20, 100);
    ASSERT_TRUE(bar.Paint(canvas.DC(), all, nullptr));

    // Button 1 (0,0,16,16), thumb (0,39,16,61), button 2 (0,84,16,100).
    EXPECT_EQ(canvas.Rgb(0, 0), kOutline);
    EXPECT_EQ(canvas.Rgb(15, 15), kOutline);
    EXPECT_EQ(canvas.Rgb(8, 8), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(8, 39), kOutline);
    EXPECT_EQ(canvas.Rgb(8, 42), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(8, 60), kOutline);
    EXPECT_EQ(canvas.Rgb(8, 62), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(8, 30), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(15, 99), kOutline);
    EXPECT_EQ(canvas.Rgb(17, 50), 0xFFFFFFu);
}

TEST(ScrollBarPaint, HiddenButtonsAndMissingThumbDrawNothing)
{
    CScrollBarUI bar;
    bar.SetShowButton1(false);
    bar.SetShowButton2(false);
    bar.SetPos(R(0, 0, 16, 12), false);
    RenderCanvas canvas(16, 12);
    RECT all = R(0, 0, 16, 12);
    ASSERT_TRUE(bar.Paint(canvas.DC(), all, nullptr));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(canvas.Rgb(x, y), 0xFFFFFFu) << x << "," << y;
}

namespace {

// A solid 32-bit bitmap handed to the manager's image cache under name.
void AddSolidImage(ZvUI::CPaintManagerUI& manager, LPCWSTR name, DWORD argb, int w, int h)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int i = 0; i < w * h; ++i)
        static_cast<DWORD*>(bits)[i] = argb;
    ASSERT_NE(manager.AddImage(name, bmp, w, h, false), nullptr);
}

} // namespace

TEST(ScrollBarPaint, StateImagesLandOnTheirParts)
{
    HostWindow window(100, 120);
    auto* bar = new CScrollBarUI;
    bar->SetThumbNormalImage(L"thumbred");
    bar->SetThumbDisabledImage(L"thumbblue");
    bar->SetButton2NormalImage(L"btngreen");
    bar->SetScrollRange(200);
    bar->SetScrollPos(100);
    window.SetRoot(bar, R(0, 0, 16, 100));
    // The images go in after the root: setting a root applies the DPI, which reloads the manager's images.
    AddSolidImage(window.Manager(), L"thumbred", 0xFFFF0000, 16, 16);
    AddSolidImage(window.Manager(), L"thumbblue", 0xFF0000FF, 16, 16);
    AddSolidImage(window.Manager(), L"btngreen", 0xFF00FF00, 16, 16);

    RenderCanvas canvas(20, 100);
    RECT all = R(0, 0, 20, 100);
    ASSERT_TRUE(bar->Paint(canvas.DC(), all, nullptr));
    EXPECT_EQ(canvas.Rgb(8, 38), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(0, 39), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(15, 60), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(8, 61), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(8, 90), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(0, 0), kOutline);

    // Disabled: the thumb shows its disabled image; button 2 falls back to its normal one.
    bar->SetEnabled(false);
    canvas.Fill(0x00FFFFFF);
    ASSERT_TRUE(bar->Paint(canvas.DC(), all, nullptr));
    EXPECT_EQ(canvas.Rgb(8, 50), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(8, 90), 0x00FF00u);
}

TEST(ScrollBarPaint, RailMarkCentresOnTheThumbAndBackgroundFollowsTheState)
{
    struct Row {
        const char* what;
        bool horizontal;
        RECT pos;
        POINT inMark;
        POINT besideMark;
    };
    // Horizontal thumb 44..156 (mark 92..108); vertical thumb 39..61 (mark 42..58).
    const Row rows[] = {
        {"horizontal", true, R(0, 0, 200, 16), {92, 8}, {91, 8}},
        {"vertical", false, R(0, 0, 16, 100), {8, 42}, {8, 41}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        HostWindow window(220, 120);
        auto* bar = new CScrollBarUI;
        bar->SetHorizontal(row.horizontal);
        bar->SetBkNormalImage(L"bkyellow");
        bar->SetBkDisabledImage(L"bkcyan");
        bar->SetRailNormalImage(L"railmagenta");
        bar->SetScrollRange(row.horizontal ? 100 : 200);
        bar->SetScrollPos(row.horizontal ? 50 : 100);
        window.SetRoot(bar, row.pos);
        AddSolidImage(window.Manager(), L"bkyellow", 0xFFFFFF00, 16, 16);
        AddSolidImage(window.Manager(), L"bkcyan", 0xFF00FFFF, 16, 16);
        AddSolidImage(window.Manager(), L"railmagenta", 0xFFFF00FF, 16, 16);

        RenderCanvas canvas(220, 120);
        RECT all = R(0, 0, 220, 120);
        ASSERT_TRUE(bar->Paint(canvas.DC(), all, nullptr));
        EXPECT_EQ(canvas.Rgb(row.inMark.x, row.inMark.y), 0xFF00FFu);
        EXPECT_EQ(canvas.Rgb(row.besideMark.x, row.besideMark.y), 0xFFFF00u);
        // The mark is as long as the bar is thick: 16 pixels from its first one.
        const POINT last = row.horizontal ? POINT{row.inMark.x + 15, row.inMark.y} : POINT{row.inMark.x, row.inMark.y + 15};
        const POINT past = row.horizontal ? POINT{row.inMark.x + 16, row.inMark.y} : POINT{row.inMark.x, row.inMark.y + 16};
        EXPECT_EQ(canvas.Rgb(last.x, last.y), 0xFF00FFu);
        EXPECT_EQ(canvas.Rgb(past.x, past.y), 0xFFFF00u);

        bar->SetEnabled(false);
        canvas.Fill(0x00FFFFFF);
        ASSERT_TRUE(bar->Paint(canvas.DC(), all, nullptr));
        EXPECT_EQ(canvas.Rgb(row.besideMark.x, row.besideMark.y), 0x00FFFFu);
        EXPECT_EQ(canvas.Rgb(row.inMark.x, row.inMark.y), 0xFF00FFu);
    }
}

// --- mouse input through the manager ---

class ScrollBarInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar = new CScrollBarUI;
        bar->SetScrollRange(200);
        window.SetRoot(bar, R(0, 0, 16, 100));
        ASSERT_TRUE(window.Manager().AddNotifyListener(&scrolls));
    }
    void TearDown() override { window.Manager().RemoveNotifyListener(&scrolls); }

    HostWindow window{60, 120};
    CScrollBarUI* bar = nullptr;
    NotifyLog scrolls{L"scroll"};
};

TEST_F(ScrollBarInput, HeldButtonStepsOnceThenRepeatsAfterADelay)
{
    const DWORD start = ::GetTickCount();
    window.Down(8, 92);
    EXPECT_EQ(bar->GetScrollPos(), 8);
    EXPECT_EQ(scrolls.Count(), 1u);
    EXPECT_NE(bar->GetButton2State() & 0x10, 0u);

    HostWindow::Pump(120);
    EXPECT_EQ(bar->GetScrollPos(), 8) << "no repeat before the sixth tick";
    ASSERT_TRUE(HostWindow::PumpUntil([&] { return bar->GetScrollPos() >= 16; }));
    EXPECT_GE(::GetTickCount() - start, 200u);
    ASSERT_TRUE(HostWindow::PumpUntil([&] { return bar->GetScrollPos() >= 32; }));
    EXPECT_GE(scrolls.Count(), 4u);

    window.Up(8, 92);
    EXPECT_EQ(bar->GetButton2State() & 0x10, 0u);
    const int stopped = bar->GetScrollPos();
    HostWindow::Pump(150);
    EXPECT_EQ(bar->GetScrollPos(), stopped);
    EXPECT_EQ(window.Manager().GetTimerCount() == 0 || window.Manager().GetTimerInfo(0)->killed, true);
}

TEST_F(ScrollBarInput, ButtonOneStepsBack)
{
    bar->SetScrollPos(100);
    window.Down(8, 4);
    window.Up(8, 4);
    EXPECT_EQ(bar->GetScrollPos(), 92);
}

TEST_F(ScrollBarInput, HeldRailPagesUntilTheThumbReachesTheCursor)
{
    bar->SetScrollRange(400);
    ASSERT_EQ(Show(bar->GetThumbRect()), "0,16,16,32");
    window.PlaceCursor(8, 60);
    window.Down(8, 60);
    EXPECT_EQ(bar->GetScrollPos(), 100);
    ASSERT_TRUE(HostWindow::PumpUntil([&] { return bar->GetScrollPos() >= 300; }));
    HostWindow::Pump(400);
    EXPECT_EQ(bar->GetScrollPos(), 300) << "stops once the thumb lies under the cursor";
    EXPECT_EQ(Show(bar->GetThumbRect()), "0,55,16,71");
    window.Up(8, 60);
}

TEST_F(ScrollBarInput, RailAboveThumbPagesBack)
{
    bar->SetScrollPos(200);
    window.PlaceCursor(8, 20);
    window.Down(8, 20);
    window.Up(8, 20);
    EXPECT_EQ(bar->GetScrollPos(), 100);
}

TEST_F(ScrollBarInput, DraggedThumbFollowsTheMouseOnTheTimer)
{
    window.Down(8, 20);
    EXPECT_EQ(bar->GetThumbState() & 0x50, 0x50u);
    window.Move(8, 43);
    // The position moves at the next tick: 23 of the 46 free pixels is half the range.
    ASSERT_TRUE(HostWindow::PumpUntil([&] { return bar->GetScrollPos() == 100; }));
    EXPECT_EQ(Show(bar->GetThumbRect()), "0,39,16,61");
    window.Move(8, 200);
    ASSERT_TRUE(HostWindow::PumpUntil([&] { return bar->GetScrollPos() == 200; }));
    window.Up(8, 200);
    EXPECT_EQ(bar->GetThumbState() & 0x50, 0u);
}

TEST_F(ScrollBarInput, DisabledBarIgnoresPresses)
{
    bar->SetEnabled(false);
    window.Down(8, 92);
    window.Up(8, 92);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(scrolls.Count(), 0u);
}

TEST(ScrollBarOwner, ButtonScrollsTheOwningContainer)
{
    HostWindow window(200, 100);
    auto* layout = new ZvUI::CVerticalLayoutUI;
    layout->SetAttribute(L"vscrollbar", L"true");
    auto* first = new ZvUI::CControlUI;
    first->SetFixedHeight(300);
    ASSERT_TRUE(layout->Add(first));
    window.SetRoot(layout, R(0, 0, 200, 100));
    layout->SetPos(R(0, 0, 200, 100), true);

    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetOwner(), layout);
    EXPECT_EQ(Show(bar->GetPos()), "184,0,200,100");
    EXPECT_EQ(bar->GetScrollRange(), 200);

    NotifyLog scrolls(L"scroll");
    ASSERT_TRUE(window.Manager().AddNotifyListener(&scrolls));
    window.Down(190, 95);
    window.Up(190, 95);
    const int moved = layout->GetScrollPos().cy;
    EXPECT_GT(moved, 0);
    EXPECT_EQ(bar->GetScrollPos(), moved);
    EXPECT_EQ(first->GetPos().top, -moved);
    // The container's own notice and the bar's.
    ASSERT_EQ(scrolls.Count(), 2u);
    EXPECT_EQ(scrolls.senders[0], layout);
    EXPECT_EQ(scrolls.senders[1], bar);

    // A rail press pages the owner by its visible height.
    window.PlaceCursor(190, 80);
    window.Down(190, 80);
    window.Up(190, 80);
    EXPECT_EQ(layout->GetScrollPos().cy, moved + 100 > 200 ? 200 : moved + 100);
    window.Manager().RemoveNotifyListener(&scrolls);
}

TEST_F(ScrollBarInput, HoverMarksButtonsAndTheThumbUnderTheMouse)
{
    window.Move(8, 50, 0);
    EXPECT_NE(bar->GetButton1State() & 0x08, 0u);
    EXPECT_NE(bar->GetButton2State() & 0x08, 0u);
    EXPECT_EQ(bar->GetThumbState() & 0x08, 0u);
    window.Move(8, 20, 0);
    EXPECT_NE(bar->GetThumbState() & 0x08, 0u);
    window.Move(8, 60, 0);
    EXPECT_EQ(bar->GetThumbState() & 0x08, 0u);
}

TEST(ScrollBarDpi, ThumbDragTracksTheMouseAtOneHundredFiftyPercent)
{
    HostWindow window(60, 200);
    auto* bar = new CScrollBarUI;
    bar->SetScrollRange(200);
    window.SetRoot(bar, R(0, 0, 16, 150));
    window.Manager().ApplyDpi(144);
    ASSERT_EQ(window.Manager().GetDpiHelper()->GetScale(), 150);
    bar->SetPos(R(0, 0, 24, 150), true);
    // 24-pixel buttons leave 102; the thumb is 150 * 102 / 350 = 43 long.
    ASSERT_EQ(Show(bar->GetThumbRect()), "0,24,24,67");
    window.Down(12, 30);
    // The thumb's whole free travel (102 - 43) is the whole range.
    window.Move(12, 30 + 59);
    ASSERT_TRUE(HostWindow::PumpUntil([&] { return bar->GetScrollPos() != 0; }));
    EXPECT_EQ(bar->GetScrollPos(), 200);
    EXPECT_EQ(Show(bar->GetThumbRect()), "0,83,24,126");
    window.Up(12, 89);
}

// --- large ranges ---

TEST_F(ScrollBarInput, LongThumbDragOverAHugeRangeClampsInsteadOfWrapping)
{
    // Over the 52 pixels the thumb travels, 1,500 pixels at a range of 1e8 is 2.9e9, and
    // 10,000 is 1.9e10: both beyond 32 bits before the position clamps them.
    bar->SetScrollRange(100000000);
    for (const int drag : {1500, 10000}) {
        SCOPED_TRACE(drag);
        bar->SetScrollPos(0);
        const RECT thumb = bar->GetThumbRect();
        const int grip = (thumb.top + thumb.bottom) / 2;
        window.Down(8, grip);
        window.Move(8, grip + drag);
        // The position moves on the repeat timer's next 50 ms tick.
        HostWindow::Pump(200);
        EXPECT_EQ(bar->GetScrollPos(), 100000000) << "a drag forward reaches the far end";
        window.Up(8, grip + drag);

        bar->SetScrollPos(50000000);
        const RECT middle = bar->GetThumbRect();
        const int from = (middle.top + middle.bottom) / 2;
        window.Down(8, from);
        window.Move(8, from - drag);
        ASSERT_TRUE(HostWindow::PumpUntil([&] { return bar->GetScrollPos() != 50000000; }));
        EXPECT_EQ(bar->GetScrollPos(), 0) << "a drag back reaches the start, not the far end";
        window.Up(8, from - drag);
    }
}

TEST_F(ScrollBarInput, LineStepAtTheEndOfTheLargestRangeStaysThere)
{
    bar->SetScrollRange(INT_MAX);
    bar->SetScrollPos(INT_MAX - 2);
    window.Down(8, 92);
    window.Up(8, 92);
    EXPECT_EQ(bar->GetScrollPos(), INT_MAX);
}

TEST(ScrollBarGeometry, ThumbOfALongBarOverAHugeRangeStaysOnTheRail)
{
    // 50,000 x 49,968 is beyond 32 bits: the thumb shrank to its least length.
    CScrollBarUI bar;
    bar.SetHorizontal(true);
    bar.SetScrollRange(50000);
    bar.SetPos(R(0, 0, 50000, 16), false);
    EXPECT_EQ(Show(bar.GetThumbRect()), "16,0,25000,16");
}

TEST(ScrollBarOwner, HeldButtonStopsRepeatingOnceItsOwnerIsHidden)
{
    HostWindow window(200, 100);
    auto* root = new ZvUI::CVerticalLayoutUI;
    auto* layout = new ZvUI::CVerticalLayoutUI;
    layout->SetAttribute(L"vscrollbar", L"true");
    auto* tall = new ZvUI::CControlUI;
    tall->SetFixedHeight(5000);
    ASSERT_TRUE(layout->Add(tall));
    ASSERT_TRUE(root->Add(layout));
    window.SetRoot(root, R(0, 0, 200, 100));
    root->SetPos(R(0, 0, 200, 100), true);
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->IsVisible());

    window.Down(190, 95);
    ASSERT_TRUE(HostWindow::PumpUntil([&] { return layout->GetScrollPos().cy > 2 * 30; }));
    layout->SetVisible(false);
    HostWindow::Pump(100);
    const int stopped = layout->GetScrollPos().cy;
    HostWindow::Pump(300);
    EXPECT_EQ(layout->GetScrollPos().cy, stopped) << "no paging of a container nobody sees";
    EXPECT_EQ(bar->GetButton2State() & 0x10, 0u);
    window.Up(190, 95);
}

// Group box, rolling text, colour palette, ring and two-line option: what they draw (on DIB
// pixels), their timers and notifications, and their attribute rules.
#include <gtest/gtest.h>

#include "ControlHost.h"
#include "layout/ContainerUI.h"
#include "option/OptionMultiLineUI.h"
#include "simple/ColorPaletteUI.h"
#include "simple/GroupBoxUI.h"
#include "simple/RingUI.h"
#include "simple/RollTextUI.h"

using control_test::Canvas;
using control_test::ControlHost;
using control_test::NotifyLog;
using control_test::SolidBmp;
using control_test::TempFile;
using ZvUI::CColorPaletteUI;
using ZvUI::CContainerUI;
using ZvUI::CGroupBoxUI;
using ZvUI::COptionMultiLineUI;
using ZvUI::CRingUI;
using ZvUI::CRollTextUI;

namespace {

constexpr DWORD kRed = 0xFF0000;

int CountColour(const Canvas& canvas, RECT rc, DWORD rgb)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += canvas.Rgb(x, y) == rgb ? 1 : 0;
    return n;
}

bool Near(DWORD a, DWORD b)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > 16 || d < -16)
            return false;
    }
    return true;
}

CGroupBoxUI* MakeGroupBox(ControlHost& host, LPCWSTR text, LPCWSTR borderSize)
{
    auto* box = new CGroupBoxUI;
    box->SetAttribute(L"bordersize", borderSize);
    box->SetAttribute(L"bordercolor", L"#FFFF0000");
    box->SetAttribute(L"bkcolor", L"#FFFFFFFF");
    box->SetText(text);
    host.SetRoot(box, RECT{0, 0, 200, 100});
    return box;
}

} // namespace

// --- group box ---

TEST(GroupBox, OutlineIsInsetAndBrokenBehindTheCaption)
{
    ControlHost host(200, 100);
    CGroupBoxUI* box = MakeGroupBox(host, L"Group", L"1");
    Canvas canvas(200, 100);
    canvas.Paint(*box);
    EXPECT_EQ(canvas.Rgb(5, 50), kRed);
    EXPECT_EQ(canvas.Rgb(150, 5), kRed);
    const RECT caption = box->GetCaptionRect();
    EXPECT_EQ(caption.left, 20);
    EXPECT_EQ(CountColour(canvas, RECT{caption.left, 5, caption.right, 6}, kRed), 0);
    EXPECT_GT(CountColour(canvas, caption, 0x000000), 0) << "the caption is drawn";
}

TEST(GroupBox, EmptyTextLeavesTheOutlineWholeAndNoBorderStillDrawsTheCaption)
{
    ControlHost host(200, 100);
    CGroupBoxUI* box = MakeGroupBox(host, L"", L"1");
    Canvas canvas(200, 100);
    canvas.Paint(*box);
    EXPECT_EQ(CountColour(canvas, RECT{20, 5, 60, 6}, kRed), 40);

    box->SetText(L"Group");
    box->SetAttribute(L"bordersize", L"0");
    Canvas second(200, 100);
    second.Paint(*box);
    EXPECT_EQ(CountColour(second, RECT{0, 0, 200, 100}, kRed), 0);
    EXPECT_GT(CountColour(second, box->GetCaptionRect(), 0x000000), 0);
}

TEST(GroupBox, AtDoubleScaleTheOutlineInsetAndCaptionIndentScale)
{
    ControlHost host(400, 200, 192);
    CGroupBoxUI* box = MakeGroupBox(host, L"Group", L"1");
    box->SetPos(RECT{0, 0, 400, 200}, false);
    Canvas canvas(400, 200);
    canvas.Paint(*box);
    EXPECT_EQ(canvas.Rgb(10, 100), kRed);
    EXPECT_NE(canvas.Rgb(5, 100), kRed);
    EXPECT_EQ(box->GetCaptionRect().left, 40);
}

// --- rolling text ---

TEST(RollText, FirstPaintMeasuresThenEachPaintMovesOneStep)
{
    ControlHost host(200, 60);
    auto* roll = new CRollTextUI;
    roll->SetText(L"Rolling");
    host.SetRoot(roll, RECT{0, 0, 200, 40});
    roll->BeginRoll(CRollTextUI::RollLeft, 1000, 60);
    Canvas first(200, 60);
    first.Paint(*roll);
    EXPECT_GT(roll->GetTextExtent(), 0);
    EXPECT_EQ(CountColour(first, RECT{0, 0, 200, 40}, 0x000000), 0) << "the measuring paint draws nothing";
    EXPECT_EQ(roll->GetScrollPos(), 0);

    Canvas second(200, 60);
    second.Paint(*roll);
    EXPECT_EQ(roll->GetScrollPos(), 5);
    // The text starts just outside the right edge.
    EXPECT_EQ(CountColour(second, RECT{0, 0, 200, 40}, 0x000000), 0);

    // Round the whole range and back to the start.
    const int paints = (200 + roll->GetTextExtent()) / 5 + 1;
    for (int i = 0; i < paints; ++i)
        second.Paint(*roll);
    EXPECT_LE(roll->GetScrollPos(), 5);
    roll->EndRoll();
    EXPECT_FALSE(roll->IsRolling());
    roll->EndRoll();
}

TEST(RollText, TimeLimitNotifiesOnceAndTheTextKeepsMoving)
{
    ControlHost host(200, 60);
    NotifyLog log;
    ASSERT_TRUE(host.Manager().AddNotifyListener(&log));
    auto* roll = new CRollTextUI;
    roll->SetText(L"Rolling");
    host.SetRoot(roll, RECT{0, 0, 200, 40});
    roll->BeginRoll(CRollTextUI::RollUp, 20, 1);
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return log.Count(L"textrollend") == 1; }, 4000));
    const int pos = roll->GetScrollPos();
    ControlHost::Pump(300);
    EXPECT_EQ(log.Count(L"textrollend"), 1u);
    EXPECT_TRUE(roll->IsRolling());
    EXPECT_NE(roll->GetScrollPos(), pos);
    roll->EndRoll();
}

// A negative limit once became a timer of about 49 days, and one past 4,294,967 seconds wrapped
// to a few hundred milliseconds.
TEST(RollText, TimeLimitsOutsideATimersRangeAreHeldToIt)
{
    ControlHost host(200, 60);
    NotifyLog log;
    ASSERT_TRUE(host.Manager().AddNotifyListener(&log));
    auto* roll = new CRollTextUI;
    roll->SetText(L"Rolling");
    host.SetRoot(roll, RECT{0, 0, 200, 40});
    roll->BeginRoll(CRollTextUI::RollLeft, -5, -1);
    EXPECT_TRUE(ControlHost::PumpUntil([&] { return log.Count(L"textrollend") == 1; }, 1000))
        << "a limit already passed ends at once";
    roll->BeginRoll(CRollTextUI::RollLeft, 10, 4294968);
    ControlHost::Pump(1200);
    EXPECT_EQ(log.Count(L"textrollend"), 1u);
    roll->EndRoll();
}

// --- colour palette ---

class Palette : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A child, not the root: children are initialised (and make their bitmap) when added.
        auto* root = new CContainerUI;
        palette = new CColorPaletteUI;
        palette->SetAttribute(L"barheight", L"20");
        root->Add(palette);
        host.SetRoot(root, RECT{0, 0, 400, 300});
        palette->SetPos(RECT{0, 0, 360, 230}, false);
        ASSERT_TRUE(host.Manager().AddNotifyListener(&log));
    }
    ControlHost host{400, 300};
    CColorPaletteUI* palette = nullptr;
    NotifyLog log;
};

TEST_F(Palette, DefaultIsSaturatedCyanWithFullAlphaAndTheBarHeightIsCapped)
{
    EXPECT_EQ(palette->GetSelectColor(), 0xFF00FFFFu);
    palette->SetAttribute(L"BarHeight", L"400");
    EXPECT_EQ(palette->GetBarHeight(), 20) << "names are exact";
    palette->SetAttribute(L"barheight", L"400");
    EXPECT_EQ(palette->GetBarHeight(), 150);
    palette->SetSelectColor(0x00FF0000);
    EXPECT_EQ(palette->GetSelectColor(), 0xFFFF0000u);
}

TEST_F(Palette, ClicksPickHueAndLightnessAndReleaseNotifies)
{
    host.Down(0, 0);
    host.Up(0, 0);
    EXPECT_EQ(palette->GetSelectColor(), 0xFFFFFFFFu);
    ASSERT_EQ(log.Count(L"colorchanged"), 1u);
    EXPECT_EQ(log.Params(L"colorchanged")[0], 0xFFFFFFFFu);

    host.Down(120, 199);
    host.Up(120, 199);
    EXPECT_EQ(palette->GetHue(), 120);
    EXPECT_LE(palette->GetLightness(), 1);
}

TEST_F(Palette, DraggingPastTheBarEndKeepsFullSaturation)
{
    host.Down(100, 220);
    EXPECT_EQ(palette->GetSaturation(), 100 * 200 / 360);
    host.Move(390, 220);
    EXPECT_EQ(palette->GetSaturation(), 200);
    host.Up(390, 220);
}

TEST_F(Palette, DisabledPaletteNeitherPicksNorNotifies)
{
    palette->SetEnabled(false);
    host.Down(10, 10);
    host.Move(200, 220);
    host.Up(10, 10);
    EXPECT_EQ(log.Count(L"colorchanged"), 0u);
    EXPECT_EQ(palette->GetSelectColor(), 0xFF00FFFFu) << "the press picked a colour";
    host.Down(100, 220);
    host.Up(100, 220);
    EXPECT_EQ(palette->GetSaturation(), 200);

    // Disabled in the middle of a drag: the drag ends there.
    palette->SetEnabled(true);
    host.Down(100, 220);
    const int saturation = palette->GetSaturation();
    palette->SetEnabled(false);
    host.Move(390, 220);
    palette->SetEnabled(true);
    host.Move(390, 220);
    EXPECT_EQ(palette->GetSaturation(), saturation);
    host.Up(390, 220);
}

TEST_F(Palette, PaintsThePaletteAndTheBarFromItsBitmap)
{
    Canvas canvas(400, 300);
    canvas.Paint(*palette);
    // Hue 0 at full saturation and mid lightness is red; the bar at the right end is the selected
    // cyan (halftone stretching blends a little).
    EXPECT_TRUE(Near(canvas.Rgb(1, 100), kRed)) << std::hex << canvas.Rgb(1, 100);
    EXPECT_TRUE(Near(canvas.Rgb(355, 225), 0x00FFFF)) << std::hex << canvas.Rgb(355, 225);
}

// --- ring ---

TEST(Ring, WithoutImageItDrawsNothingAndStartsNoTimer)
{
    ControlHost host(100, 100);
    auto* ring = new CRingUI;
    host.SetRoot(ring, RECT{0, 0, 40, 40});
    Canvas canvas(100, 100);
    canvas.Paint(*ring);
    EXPECT_FALSE(ring->IsImageLoaded());
    EXPECT_EQ(host.Manager().GetTimerCount(), 0);
}

TEST(Ring, TurnsByThirtySixDegreesAndKeepsTheImageForTheSameDescriptor)
{
    ControlHost host(100, 100);
    TempFile image(L"zv_ring.bmp", SolidBmp(8, 8, kRed));
    auto* ring = new CRingUI;
    ring->SetAttribute(L"bkimage", image.Path());
    host.SetRoot(ring, RECT{0, 0, 40, 40});
    Canvas canvas(100, 100);
    canvas.Paint(*ring);
    ASSERT_TRUE(ring->IsImageLoaded());
    EXPECT_EQ(canvas.Rgb(20, 20), kRed);
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return ring->GetAngle() >= 72.0f; }));

    ring->SetAttribute(L"bkimage", image.Path());
    EXPECT_TRUE(ring->IsImageLoaded());
    ring->SetAttribute(L"BkImage", L"other.bmp");
    EXPECT_TRUE(ring->IsImageLoaded()) << "other capitals go to the label";
    ring->SetAttribute(L"bkimage", L"missing.bmp");
    EXPECT_FALSE(ring->IsImageLoaded());
}

// --- two-line option ---

class TwoLineOption : public ::testing::Test {
protected:
    void SetUp() override
    {
        option = new COptionMultiLineUI;
        option->SetAttribute(L"secondtextcolor", L"#FF0000FF");
        option->SetAttribute(L"selectedsecondtextcolor", L"#FFFF0000");
        option->SetAttribute(L"disabledtextcolor", L"#FF00FF00");
        option->SetAttribute(L"secondtextpadding", L"0,20,0,0");
        host.SetRoot(option, RECT{0, 0, 200, 60});
    }
    int Count(DWORD rgb)
    {
        Canvas canvas(200, 60);
        canvas.Paint(*option);
        return CountColour(canvas, RECT{0, 0, 200, 60}, rgb);
    }
    ControlHost host{200, 60};
    COptionMultiLineUI* option = nullptr;
};

TEST_F(TwoLineOption, SecondLineTakesTheColourOfTheState)
{
    EXPECT_EQ(Count(0x0000FF), 0) << "no second text, no second line";
    option->SetAttribute(L"secondtext", L"HHHH");
    EXPECT_GT(Count(0x0000FF), 0);
    option->Selected(true);
    EXPECT_GT(Count(kRed), 0);
    EXPECT_EQ(Count(0x0000FF), 0);

    option->Selected(false);
    option->SetEnabled(false);
    EXPECT_GT(Count(0x00FF00), 0);
}

TEST_F(TwoLineOption, SelectedWithoutItsOwnColourUsesTheLabelTextColour)
{
    option->SetAttribute(L"secondtext", L"HHHH");
    option->SetAttribute(L"textcolor", L"#FFFF00FF");
    option->SetSelectedSecondTextColor(0);
    option->Selected(true);
    EXPECT_GT(Count(0xFF00FF), 0);
}

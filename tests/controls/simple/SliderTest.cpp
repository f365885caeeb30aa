// Slider: values from real mouse messages at the track's ends and while dragging, wheel steps,
// the disabled state, an empty range, and one scale for drawing and hit-testing at 200 %.
#include "slider/SliderUI.h"

#include <gtest/gtest.h>

#include <climits>

#include "ControlHost.h"

using control_test::Canvas;
using control_test::ControlHost;
using control_test::NotifyLog;
using control_test::SolidBmp;
using control_test::TempFile;
using ZvUI::CSliderUI;

namespace {

class Slider : public ::testing::Test {
protected:
    // A slider over rc, range 0..100, value 0, 10 x 10 thumb.
    CSliderUI* Make(RECT rc, bool horizontal = true)
    {
        slider = new CSliderUI;
        slider->SetAttribute(L"hor", horizontal ? L"true" : L"false");
        host.SetRoot(slider, rc);
        EXPECT_TRUE(host.Manager().AddNotifyListener(&log));
        return slider;
    }
    void Click(int x, int y)
    {
        host.Down(x, y);
        host.Up(x, y);
    }

    ControlHost host{300, 200};
    CSliderUI* slider = nullptr;
    NotifyLog log;
};

} // namespace

TEST_F(Slider, ClicksNearTheEndsGiveTheRangeLimits)
{
    Make(RECT{10, 10, 120, 30});
    slider->SetValue(50);
    Click(117, 20); // within half a thumb of the right edge
    EXPECT_EQ(slider->GetValue(), 100);
    Click(13, 20);
    EXPECT_EQ(slider->GetValue(), 0);
    Click(65, 20); // (65 - 10 - 5) * 100 / (110 - 10)
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_EQ(log.Count(L"valuechanged"), 3u);
}

TEST_F(Slider, VerticalSliderHasItsMaximumAtTheTop)
{
    Make(RECT{10, 10, 30, 120}, false);
    Click(20, 12);
    EXPECT_EQ(slider->GetValue(), 100);
    Click(20, 118);
    EXPECT_EQ(slider->GetValue(), 0);
    slider->SetValue(100);
    EXPECT_EQ(slider->GetThumbRect().top, 10);
}

TEST_F(Slider, DragWithSendMoveNotifiesEachMoveAndOnceOnRelease)
{
    Make(RECT{10, 10, 120, 30});
    slider->SetAttribute(L"sendmove", L"TRUE");
    host.Down(40, 20);
    host.Move(50, 20);
    host.Move(60, 20);
    host.Move(70, 20);
    EXPECT_EQ(slider->GetValue(), 55);
    EXPECT_EQ(log.Count(L"movevaluechanged"), 3u);
    EXPECT_EQ(log.Count(L"valuechanged"), 0u);
    host.Up(70, 20);
    EXPECT_EQ(log.Count(L"valuechanged"), 1u);
    EXPECT_EQ(slider->GetSliderState() & CSliderUI::kStatePushed, 0u);
}

TEST_F(Slider, WheelStepsAreRefusedWhileHeldButStillNotify)
{
    Make(RECT{10, 10, 120, 30});
    slider->SetAttribute(L"step", L"7");
    host.Wheel(60, 20, true);
    EXPECT_EQ(slider->GetValue(), 7);
    host.Down(15, 20);
    host.Wheel(15, 20, true);
    host.Wheel(15, 20, false);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(log.Count(L"valuechanged"), 3u);
}

TEST_F(Slider, WheelStepPastTheEndOfIntIsRefusedNotWrapped)
{
    Make(RECT{10, 10, 120, 30});
    slider->SetMinValue(INT_MIN);
    slider->SetMaxValue(INT_MAX);
    slider->SetAttribute(L"step", L"7");
    slider->SetValue(INT_MAX - 3);
    host.Wheel(60, 20, true);
    EXPECT_EQ(slider->GetValue(), INT_MAX - 3);
    slider->SetValue(INT_MIN + 3);
    host.Wheel(60, 20, false);
    EXPECT_EQ(slider->GetValue(), INT_MIN + 3);
}

TEST_F(Slider, DisabledSliderKeepsNoHotOrPushedState)
{
    Make(RECT{10, 10, 120, 30});
    host.Down(12, 20);
    host.Hover(14, 20);
    EXPECT_NE(slider->GetSliderState() & CSliderUI::kStateHot, 0u);
    slider->SetEnabled(false);
    EXPECT_EQ(slider->GetSliderState(), 0u);
    host.Move(15, 20, 0);
    host.Up(15, 20);
    EXPECT_EQ(slider->GetSliderState(), 0u);
    EXPECT_EQ(slider->GetValue(), 0);
}

// An empty range once divided by zero in placing the thumb and reading the mouse.
TEST_F(Slider, EmptyRangeKeepsTheThumbAtTheStart)
{
    Make(RECT{10, 10, 120, 30});
    slider->SetMinValue(50);
    slider->SetMaxValue(50);
    EXPECT_EQ(slider->GetThumbRect().left, 10);
    host.Down(60, 20);
    host.Move(70, 20);
    host.Up(70, 20);
    EXPECT_EQ(slider->GetThumbRect().left, 10);

    slider->SetHorizontal(false);
    slider->SetPos(RECT{10, 10, 30, 120}, false);
    EXPECT_EQ(slider->GetThumbRect().bottom, 120);
}

TEST(SliderAtDoubleScale, ThumbIsDrawnAndHitAtItsScaledSize)
{
    ControlHost host(300, 200, 192);
    TempFile thumb(L"zv_slider_thumb.bmp", SolidBmp(10, 10, 0xFF0000));
    auto* slider = new CSliderUI;
    slider->SetThumbImage(thumb.Path());
    host.SetRoot(slider, RECT{0, 0, 220, 40});

    // Half of the scaled thumb (10 px) from the left edge is still the minimum.
    host.Down(9, 20);
    host.Up(9, 20);
    EXPECT_EQ(slider->GetValue(), 0);
    host.Down(110, 20); // (110 - 10) * 100 / (220 - 20)
    host.Up(110, 20);
    EXPECT_EQ(slider->GetValue(), 50);

    const RECT rc = slider->GetThumbRect();
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.right - rc.left, 20);
    host.Hover(118, 20);
    EXPECT_NE(slider->GetSliderState() & CSliderUI::kStateHot, 0u);

    Canvas canvas(300, 200);
    canvas.Paint(*slider);
    EXPECT_EQ(canvas.Rgb(101, 11), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(118, 28), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(122, 20), 0xFFFFFFu);
}

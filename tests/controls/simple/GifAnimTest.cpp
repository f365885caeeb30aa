// Animated GIF: frame intervals from known delays (the decoder's own are unreliable after the
// first frame), frames advancing on the timer and drawn, hiding and showing, changing the image.
#include "gif/GifAnimUI.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <algorithm>
#include <gdiplus.h>

#include "ControlHost.h"

using control_test::Canvas;
using control_test::ControlHost;
using control_test::NotifyLog;
using control_test::SolidGif;
using control_test::TempFile;
using ZvUI::CGifAnimUI;

namespace {

constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kGreen = 0x00FF00;
constexpr DWORD kBlue = 0x0000FF;

struct DelayProperty {
    explicit DelayProperty(std::vector<LONG> delays, WORD type = 4) : values(std::move(delays))
    {
        item.id = 0x5100;
        item.type = type;
        item.length = static_cast<ULONG>(values.size() * sizeof(LONG));
        item.value = values.data();
    }
    std::vector<LONG> values;
    Gdiplus::PropertyItem item = {};
};

class Gif : public ::testing::Test {
protected:
    CGifAnimUI* Make(const wchar_t* file, bool autoPlay = true)
    {
        gif = new CGifAnimUI;
        gif->SetAttribute(L"autoplay", autoPlay ? L"true" : L"false");
        gif->SetAttribute(L"gifimage", file);
        host.SetRoot(gif, RECT{0, 0, 40, 40});
        EXPECT_TRUE(host.Manager().AddNotifyListener(&log));
        // The first paint loads the image when the tree has not been initialised yet.
        canvas.Paint(*gif);
        return gif;
    }

    TempFile anim{L"zv_anim.gif", SolidGif(8, {kRed, kGreen, kBlue}, {5, 0, 12})};
    ControlHost host{100, 100};
    CGifAnimUI* gif = nullptr;
    NotifyLog log;
    Canvas canvas{100, 100};
};

} // namespace

TEST(GifFrameIntervals, DelaysInHundredthsBecomeMillisecondsWithDefaultsForGaps)
{
    using V = std::vector<UINT>;
    EXPECT_EQ(CGifAnimUI::FrameIntervals(nullptr, 3), (V{100, 100, 100}));
    DelayProperty full({5, 0, 12});
    EXPECT_EQ(CGifAnimUI::FrameIntervals(&full.item, 3), (V{50, 100, 120}));
    // A property with fewer entries than frames is read only as far as it goes.
    DelayProperty shortOne({7});
    EXPECT_EQ(CGifAnimUI::FrameIntervals(&shortOne.item, 3), (V{70, 100, 100}));
    DelayProperty wrongType({5, 5}, 3);
    EXPECT_EQ(CGifAnimUI::FrameIntervals(&wrongType.item, 2), (V{100, 100}));
    DelayProperty negative({-4, 2});
    EXPECT_EQ(CGifAnimUI::FrameIntervals(&negative.item, 2), (V{100, 20}));
}

TEST_F(Gif, TimerAdvancesFramesWrapsToZeroAndPaintsTheCurrentOne)
{
    Make(anim.Path());
    ASSERT_EQ(gif->GetFrameCount(), 3u);
    EXPECT_EQ(gif->GetFrameInterval(0), 50u) << "the decoder reads the first delay right";
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return log.Count(L"gifindexchanged") >= 1; }));
    canvas.Paint(*gif);
    EXPECT_EQ(gif->GetCurrentFrame(), 1u);
    EXPECT_EQ(canvas.Rgb(20, 20), kGreen);
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return log.Count(L"gifindexchanged") >= 4; }));
    const std::vector<WPARAM> frames = log.Params(L"gifindexchanged");
    EXPECT_EQ(frames[0], 1u);
    EXPECT_EQ(frames[1], 2u);
    EXPECT_EQ(frames[2], 0u);
    EXPECT_EQ(frames[3], 1u);
}

TEST_F(Gif, HidingStopsAtFrameZeroAndShowingPlaysEvenWithoutAutoPlay)
{
    Make(anim.Path(), false);
    EXPECT_FALSE(gif->IsPlaying());
    gif->PlayGif();
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return gif->GetCurrentFrame() == 1; }));
    gif->SetVisible(false);
    EXPECT_FALSE(gif->IsPlaying());
    EXPECT_EQ(gif->GetCurrentFrame(), 0u);
    gif->SetVisible(true);
    EXPECT_TRUE(gif->IsPlaying());
    EXPECT_EQ(gif->GetCurrentFrame(), 0u);
}

TEST_F(Gif, ChangingTheImageFreesItAndTheNextPaintLoadsTheNewOne)
{
    TempFile still(L"zv_still.gif", SolidGif(8, {kBlue}, {}));
    Make(anim.Path());
    gif->SetGifImage(anim.Path());
    EXPECT_TRUE(gif->IsPlaying()) << "the same name changes nothing";
    gif->SetGifImage(still.Path());
    EXPECT_FALSE(gif->IsLoaded());
    EXPECT_FALSE(gif->IsPlaying());
    canvas.Paint(*gif);
    EXPECT_TRUE(gif->IsLoaded());
    EXPECT_EQ(canvas.Rgb(20, 20), kBlue);
    EXPECT_FALSE(gif->IsPlaying()) << "one frame is never animated";
}

TEST_F(Gif, FramesWithoutDelayPlayForAHundredMilliseconds)
{
    TempFile plain(L"zv_plain.gif", SolidGif(8, {kRed, kGreen}, {}));
    Make(plain.Path());
    EXPECT_EQ(gif->GetFrameCount(), 2u);
    EXPECT_EQ(gif->GetFrameInterval(0), 100u);
    EXPECT_EQ(gif->GetFrameInterval(1), 100u);
}

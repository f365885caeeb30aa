// Timer animation: the frames and hooks a run delivers on real timers, refusals, frame jumps,
// looping, and ending several animations at once.
#include "anim/UIAnimation.h"

#include <gtest/gtest.h>

#include <vector>

#include "ControlHost.h"
#include "control/ControlUI.h"

using control_test::ControlHost;
using ZvUI::CControlUI;
using ZvUI::CUIAnimation;

namespace {

// A control that animates and records what its hooks see.
class Probe : public CControlUI, public CUIAnimation {
public:
    Probe() : CUIAnimation(this) {}
    ~Probe() override { EndAnimation(0); }
    void DoEvent(ZvUI::UIControlEvent& event) override
    {
        if (event.type == ZvUI::EventTimer)
            OnAnimationTick(static_cast<int>(event.wParam));
    }
    void OnAnimationBegin(int /*id*/, bool first) override { begins.push_back(first); }
    void OnAnimationFrame(int /*total*/, int current, int /*id*/) override { frames.push_back(current); }
    void OnAnimationEnd(int /*id*/) override { ++ends; }

    std::vector<bool> begins;
    std::vector<int> frames;
    int ends = 0;
};

int LiveTimers(ZvUI::CPaintManagerUI& manager)
{
    int n = 0;
    for (int i = 0; i < manager.GetTimerCount(); ++i)
        n += manager.GetTimerInfo(i)->killed ? 0 : 1;
    return n;
}

class Animation : public ::testing::Test {
protected:
    void SetUp() override { host.SetRoot(probe, RECT{0, 0, 10, 10}); }
    ControlHost host{50, 50};
    Probe* probe = new Probe;
};

} // namespace

TEST_F(Animation, RunOfFifteenFramesDeliversZeroToFifteenThenEnds)
{
    EXPECT_FALSE(probe->BeginAnimation(0, 15, 1));
    EXPECT_FALSE(probe->BeginAnimation(10, 0, 1));
    CUIAnimation ownerless;
    EXPECT_FALSE(ownerless.BeginAnimation(10, 15, 1));
    ASSERT_TRUE(probe->BeginAnimation(10, 15, 1, false));
    EXPECT_FALSE(probe->BeginAnimation(10, 15, 1, false)) << "the id runs already";
    EXPECT_EQ(probe->GetFrameIndex(1), 0);
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return !probe->IsAnimating(1); }));
    std::vector<int> expected;
    for (int i = 0; i <= 15; ++i)
        expected.push_back(i);
    EXPECT_EQ(probe->frames, expected);
    EXPECT_EQ(probe->begins, std::vector<bool>{true});
    EXPECT_EQ(probe->ends, 1);
    EXPECT_EQ(probe->GetFrameIndex(1), -1);
    EXPECT_EQ(LiveTimers(host.Manager()), 0);
}

TEST_F(Animation, FrameIndexCanJumpToTheEndFrameButNotBeyond)
{
    ASSERT_TRUE(probe->BeginAnimation(10, 15, 3));
    EXPECT_FALSE(probe->SetFrameIndex(16, 3));
    EXPECT_FALSE(probe->SetFrameIndex(-1, 3));
    EXPECT_FALSE(probe->SetFrameIndex(1, 4));
    EXPECT_TRUE(probe->SetFrameIndex(15, 3));
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return !probe->IsAnimating(3); }));
    EXPECT_EQ(probe->frames, std::vector<int>{15});
    EXPECT_EQ(probe->ends, 1);
}

TEST_F(Animation, LoopRestartsAtFrameOneAndBeginsOnlyOnce)
{
    ASSERT_TRUE(probe->BeginAnimation(10, 2, 5, true));
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return probe->frames.size() >= 6; }));
    probe->EndAnimation(5);
    const std::vector<int> firstSix(probe->frames.begin(), probe->frames.begin() + 6);
    EXPECT_EQ(firstSix, (std::vector<int>{0, 1, 2, 1, 2, 1}));
    EXPECT_EQ(probe->begins.size(), 1u);
    EXPECT_GE(probe->ends, 2);
}

TEST_F(Animation, EndingIdZeroStopsEveryRunningAnimationAndItsTimer)
{
    ASSERT_TRUE(probe->BeginAnimation(1000, 5, 1));
    ASSERT_TRUE(probe->BeginAnimation(1000, 5, 2));
    ASSERT_TRUE(probe->BeginAnimation(1000, 5, 3));
    EXPECT_EQ(LiveTimers(host.Manager()), 3);
    probe->EndAnimation(0);
    EXPECT_EQ(LiveTimers(host.Manager()), 0);
    for (int id = 1; id <= 3; ++id)
        EXPECT_FALSE(probe->IsAnimating(id));
    // The same id starts again after an end.
    EXPECT_TRUE(probe->BeginAnimation(1000, 5, 2));
}

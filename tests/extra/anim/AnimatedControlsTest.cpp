// Animated tab layout and fading button under real timers and mouse messages, and every
// animated or timed control created, run and destroyed many times without leaks or stray ticks.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "ControlHost.h"
#include "anim/AnimationTabLayoutUI.h"
#include "anim/FadeButtonUI.h"
#include "builder/ControlFactory.h"
#include "gif/GifAnimUI.h"
#include "layout/ContainerUI.h"
#include "layout/TabLayoutUI.h"
#include "simple/HotKeyUI.h"
#include "simple/RingUI.h"
#include "simple/RollTextUI.h"

using control_test::Canvas;
using control_test::ControlHost;
using control_test::NotifyLog;
using control_test::SolidBmp;
using control_test::SolidGif;
using control_test::TempFile;
using ZvUI::CAnimationTabLayoutUI;
using ZvUI::CContainerUI;
using ZvUI::CControlUI;
using ZvUI::CFadeButtonUI;

namespace {

constexpr int kSlide = CAnimationTabLayoutUI::kSlideAnimation;

// Records the layout's place at the moment "tabselect" arrives.
class SelectWatch : public ZvUI::INotifyUI {
public:
    void Notify(ZvUI::UINotifyMessage& msg) override
    {
        if (msg.type == L"tabselect") {
            placeAtNotify = msg.sender->GetPos();
            ++count;
        }
    }
    RECT placeAtNotify = {};
    int count = 0;
};

class SlidingTabs : public ::testing::Test {
protected:
    // Three pages in a layout filling the window, whose size is place.
    void Build(int dpi = 96, bool vertical = false)
    {
        host = std::make_unique<ControlHost>(place.right, place.bottom, dpi);
        auto* root = new CContainerUI;
        tabs = new CAnimationTabLayoutUI;
        if (vertical)
            tabs->SetAttribute(L"animation_direction", L"Vertical");
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(tabs->Add(new CControlUI));
        root->Add(tabs);
        host->SetRoot(root, place);
        tabs->SetPos(place, false);
        ASSERT_TRUE(host->Manager().AddNotifyListener(&watch));
    }
    bool SlideEnds() { return ControlHost::PumpUntil([&] { return !tabs->IsAnimating(kSlide); }); }
    // Pumps until at least one frame has moved the layout; the frames delivered so far.
    int FramesDone()
    {
        EXPECT_TRUE(ControlHost::PumpUntil([&] { return tabs->GetFrameIndex(kSlide) >= 1; }));
        return tabs->GetFrameIndex(kSlide);
    }

    RECT place = {0, 0, 300, 200};
    std::unique_ptr<ControlHost> host;
    CAnimationTabLayoutUI* tabs = nullptr;
    SelectWatch watch;
};

} // namespace

TEST_F(SlidingTabs, LaterPageSlidesInFromTheRightAndReachesItsPlace)
{
    Build();
    EXPECT_TRUE(tabs->SelectItem(0));
    EXPECT_FALSE(tabs->IsAnimating(kSlide)) << "the current page neither slides nor notifies";
    ASSERT_TRUE(tabs->SelectItem(2));
    EXPECT_EQ(watch.count, 1);
    EXPECT_EQ(watch.placeAtNotify.left, 0) << "notified before anything moved";
    EXPECT_EQ(tabs->GetSlideDirection(), -1);
    EXPECT_TRUE(tabs->IsAnimating(kSlide));
    EXPECT_FALSE(tabs->GetItemAt(2)->IsVisible()) << "shown on the first frame";
    // From 300 - 52 to the right, 300 / 15 pixels a frame.
    int frames = FramesDone();
    if (frames < 15) {
        EXPECT_EQ(tabs->GetPos().left, 248 - 20 * frames);
    }
    EXPECT_TRUE(tabs->GetItemAt(2)->IsVisible());
    ASSERT_TRUE(SlideEnds());
    EXPECT_TRUE(::EqualRect(&tabs->GetPos(), &place));
    EXPECT_FALSE(tabs->GetItemAt(0)->IsVisible());

    ASSERT_TRUE(tabs->SelectItem(0));
    EXPECT_EQ(tabs->GetSlideDirection(), 1);
    frames = FramesDone();
    if (frames < 15) {
        EXPECT_EQ(tabs->GetPos().left, -248 + 20 * frames);
    }
    ASSERT_TRUE(SlideEnds());
    EXPECT_TRUE(::EqualRect(&tabs->GetPos(), &place));
}

TEST_F(SlidingTabs, VerticalSlideHasNoOvershootTerm)
{
    Build(96, true);
    ASSERT_TRUE(tabs->SelectItem(1));
    const int frames = FramesDone();
    if (frames < 15) {
        EXPECT_EQ(tabs->GetPos().top, 200 - 13 * frames);
    }
    EXPECT_EQ(tabs->GetPos().left, 0);
    ASSERT_TRUE(SlideEnds());
    EXPECT_TRUE(::EqualRect(&tabs->GetPos(), &place));
}

// A second selection mid-slide once took the displaced rectangle as the place to return to.
TEST_F(SlidingTabs, SelectionDuringASlideStillEndsOnThePlace)
{
    Build();
    ASSERT_TRUE(tabs->SelectItem(1));
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return tabs->GetFrameIndex(kSlide) >= 4; }));
    ASSERT_TRUE(tabs->SelectItem(2));
    EXPECT_EQ(tabs->GetFrameIndex(kSlide), 0);
    const int frames = FramesDone();
    if (frames < 15) {
        EXPECT_EQ(tabs->GetPos().left, 248 - 20 * frames);
    }
    ASSERT_TRUE(SlideEnds());
    EXPECT_TRUE(::EqualRect(&tabs->GetPos(), &place));
}

TEST_F(SlidingTabs, OvershootScalesWithTheWindow)
{
    place = RECT{0, 0, 400, 200};
    Build(192);
    ASSERT_TRUE(tabs->SelectItem(1));
    const int frames = FramesDone();
    if (frames < 15) {
        EXPECT_EQ(tabs->GetPos().left, 400 - 104 - 26 * frames);
    }
}

// The slide once kept a bare pointer to the page coming in: taken out before the first tick, the
// page was still shown by that tick (and, once deleted, used after it was freed).
TEST_F(SlidingTabs, APageTakenOutBeforeTheFirstTickIsLeftAlone)
{
    Build();
    tabs->SetAutoDestroy(false);
    ASSERT_TRUE(tabs->SelectItem(2));
    CControlUI* page = tabs->GetItemAt(2);
    ASSERT_TRUE(static_cast<CContainerUI*>(tabs)->Remove(page));
    ASSERT_TRUE(SlideEnds());
    EXPECT_FALSE(page->IsVisible()) << "the slide showed a page no longer in the layout";
    delete page;

    // Deleted by the layout's own removal, the page is not touched again either.
    tabs->SetAutoDestroy(true);
    ASSERT_TRUE(tabs->Add(new CControlUI));
    ASSERT_TRUE(tabs->SelectItem(2));
    ASSERT_TRUE(tabs->RemoveAt(2));
    ASSERT_TRUE(SlideEnds());
    ASSERT_TRUE(tabs->SelectItem(1));
    tabs->RemoveAll();
    ASSERT_TRUE(SlideEnds());
    EXPECT_TRUE(::EqualRect(&tabs->GetPos(), &place));
}

// --- fading button ---

class Fade : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* root = new CContainerUI;
        button = new CFadeButtonUI;
        button->SetAttribute(L"normalimage", normal.Path());
        button->SetAttribute(L"hotimage", hot.Path());
        root->Add(button);
        host.SetRoot(root, RECT{0, 0, 200, 100});
        button->SetPos(RECT{10, 10, 50, 30}, false);
    }
    DWORD Shown()
    {
        Canvas canvas(200, 100);
        canvas.Paint(*button);
        return canvas.Rgb(30, 20);
    }
    void Enter() { host.Hover(30, 20); }
    void Leave() { host.Hover(150, 80); }

    TempFile normal{L"zv_fade_normal.bmp", SolidBmp(8, 8, 0xFF0000)};
    TempFile hot{L"zv_fade_hot.bmp", SolidBmp(8, 8, 0x0000FF)};
    ControlHost host{200, 100};
    CFadeButtonUI* button = nullptr;
};

TEST_F(Fade, EntryFadesTheHotImageInAndLeavingFadesItOut)
{
    EXPECT_EQ(Shown(), 0xFF0000u);
    Enter();
    EXPECT_TRUE(button->IsAnimating(CFadeButtonUI::kFadeInAnimation));
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return button->GetFadeAlpha() >= 100 && button->GetFadeAlpha() < 200; }));
    const DWORD mid = Shown();
    EXPECT_NE(mid & 0xFF, 0u);
    EXPECT_NE(mid & 0xFF0000, 0u) << "both images show during the fade";
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return !button->IsAnimating(CFadeButtonUI::kFadeInAnimation); }));
    EXPECT_EQ(button->GetFadeAlpha(), 255);
    EXPECT_EQ(Shown(), 0x0000FFu);

    Leave();
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return !button->IsAnimating(CFadeButtonUI::kFadeOutAnimation); }));
    EXPECT_EQ(Shown(), 0xFF0000u);
}

TEST_F(Fade, QuickInAndOutSwitchesFadesFromZero)
{
    Enter();
    ControlHost::Pump(60);
    Leave();
    EXPECT_FALSE(button->IsAnimating(CFadeButtonUI::kFadeInAnimation));
    EXPECT_TRUE(button->IsAnimating(CFadeButtonUI::kFadeOutAnimation));
    EXPECT_EQ(button->GetFadeAlpha(), 0);
}

TEST_F(Fade, DisabledButtonDoesNotFadeAndShowsItsDisabledImage)
{
    TempFile disabled(L"zv_fade_disabled.bmp", SolidBmp(8, 8, 0x00FF00));
    button->SetDisabledImage(disabled.Path());
    button->SetEnabled(false);
    Enter();
    EXPECT_FALSE(button->IsAnimating(CFadeButtonUI::kFadeInAnimation));
    EXPECT_EQ(Shown(), 0x00FF00u);
    EXPECT_EQ(button->GetInterface(L"fadebutton"), nullptr) << "the interface name is case-sensitive";
}

// --- lifetime ---

namespace {

// Wine counts no GUI objects (GetGuiResources answers 0): there the committed bytes catch what a
// leak holds on to, such as the palette's 400 x 360 bitmap when its DC was never deleted.
struct Counts {
    DWORD gdi;
    DWORD user;
    SIZE_T committed;
};

Counts Now()
{
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory));
    return Counts{::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                  ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS), memory.PagefileUsage};
}

} // namespace

TEST(AnimatedLifetime, ThousandRunsLeaveNoObjectsAndNoTimers)
{
    TempFile gifFile(L"zv_life.gif", SolidGif(4, {0xFF0000, 0x00FF00}, {1, 1}));
    TempFile bmp(L"zv_life.bmp", SolidBmp(4, 4, 0xFF0000));
    ControlHost host(200, 100);
    auto* root = new CContainerUI;
    host.SetRoot(root, RECT{0, 0, 200, 100});
    Canvas canvas(200, 100);

    const wchar_t* names[] = {L"CAnimationTabLayoutUI", L"CFadeButtonUI", L"CHotKeyUI", L"CGifAnimUI",
                              L"CRollTextUI", L"CRingUI", L"CColorPaletteUI", L"CSliderUI",
                              L"CGroupBoxUI", L"COptionMultiLineUI"};
    constexpr size_t kinds = sizeof(names) / sizeof(names[0]);

    // Created by its factory name, started where it animates, painted (which loads images and
    // starts the ring), destroyed.
    auto runOnce = [&](size_t kind) {
        CControlUI* control = ZvUI::CControlFactory::GetInstance()->CreateControl(names[kind]);
        ASSERT_NE(control, nullptr) << kind;
        control->SetAttribute(L"gifimage", gifFile.Path());
        control->SetAttribute(L"bkimage", bmp.Path());
        control->SetAttribute(L"normalimage", bmp.Path());
        control->SetText(L"Text");
        if (kind == 0) {
            auto* tabs = static_cast<CAnimationTabLayoutUI*>(control);
            tabs->Add(new CControlUI);
            tabs->Add(new CControlUI);
        }
        root->Add(control);
        control->SetPos(RECT{10, 10, 110, 60}, false);
        if (kind == 0)
            static_cast<CAnimationTabLayoutUI*>(control)->SelectItem(1);
        else if (kind == 1)
            host.Move(20, 20, 0);
        else if (kind == 2)
            static_cast<ZvUI::CHotKeyUI*>(control)->SetHotKey('A', HOTKEYF_CONTROL);
        else if (kind == 3)
            static_cast<ZvUI::CGifAnimUI*>(control)->PlayGif();
        else if (kind == 4)
            static_cast<ZvUI::CRollTextUI*>(control)->BeginRoll(0, 10, 1);
        canvas.Paint(*control);
        ControlHost::Pump(0);
        root->Remove(control);
        host.Move(190, 90, 0);
        ControlHost::Pump(0);
    };

    // A first round loads what is loaded once per process (common controls, GDI+ codecs, fonts).
    for (size_t kind = 0; kind < kinds; ++kind)
        runOnce(kind);
    ControlHost::Pump(50);
    const Counts before = Now();
    for (size_t i = 0; i < 1000 * kinds; ++i)
        runOnce(i % kinds);
    ControlHost::Pump(50);
    const Counts after = Now();
    EXPECT_LE(after.gdi, before.gdi + 2) << "GDI objects";
    EXPECT_LE(after.user, before.user + 2) << "USER objects";
    EXPECT_LE(after.committed, before.committed + 2 * 1024 * 1024) << "committed bytes";
    std::printf("GDI %lu -> %lu, USER %lu -> %lu, committed %lu KB -> %lu KB\n", before.gdi, after.gdi, before.user,
                after.user, static_cast<unsigned long>(before.committed / 1024),
                static_cast<unsigned long>(after.committed / 1024));

    // Listening only now: the log would grow with every round's notifications.
    NotifyLog log;
    ASSERT_TRUE(host.Manager().AddNotifyListener(&log));
    ControlHost::Pump(300);
    EXPECT_EQ(log.Count(L"timer"), 0u);
    EXPECT_EQ(log.Count(L"gifindexchanged"), 0u);
    EXPECT_EQ(log.Count(L"textrollend"), 0u);
    EXPECT_EQ(host.Manager().GetTimerCount(), 0);
}

// --- no work out of sight ---

namespace {

// Running (not killed) timers of a control.
int LiveTimers(ZvUI::CPaintManagerUI& manager, const CControlUI* control)
{
    int live = 0;
    for (int i = 0; i < manager.GetTimerCount(); ++i) {
        const ZvUI::UITimerInfo* info = manager.GetTimerInfo(i);
        if (info != nullptr && info->control == control && !info->killed)
            ++live;
    }
    return live;
}

// The control under test sits in a container on the first page of a two-page tab layout.
class OutOfSight : public ::testing::Test {
protected:
    void Place(CControlUI* control)
    {
        auto* root = new CContainerUI;
        tabs = new ZvUI::CTabLayoutUI;
        page = new CContainerUI;
        ASSERT_TRUE(page->Add(control));
        ASSERT_TRUE(tabs->Add(page));
        ASSERT_TRUE(tabs->Add(new CControlUI));
        ASSERT_TRUE(root->Add(tabs));
        host.SetRoot(root, RECT{0, 0, 200, 100});
        control->SetPos(RECT{10, 10, 60, 60}, false);
        ASSERT_TRUE(host.Manager().AddNotifyListener(&log));
    }
    void TearDown() override { host.Manager().RemoveNotifyListener(&log); }
    void ShowOtherPage() { ASSERT_TRUE(tabs->SelectItem(1)); }
    void ShowFirstPage() { ASSERT_TRUE(tabs->SelectItem(0)); }

    ControlHost host{200, 100};
    ZvUI::CTabLayoutUI* tabs = nullptr;
    CContainerUI* page = nullptr;
    NotifyLog log;
};

} // namespace

TEST_F(OutOfSight, GifFramesWaitWhileItsPageIsNotShownAndGoOnAfter)
{
    TempFile file(L"zv_unseen.gif", SolidGif(4, {0xFF0000, 0x00FF00, 0x0000FF}, {2, 2, 2}));
    auto* gif = new ZvUI::CGifAnimUI;
    gif->SetAutoPlay(false);
    gif->SetGifImage(file.Path());
    Place(gif);
    Canvas canvas(200, 100);
    canvas.Paint(*gif);
    gif->PlayGif();
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return log.Count(L"gifindexchanged") >= 1; }));

    ShowOtherPage();
    const UINT frame = gif->GetCurrentFrame();
    const size_t changes = log.Count(L"gifindexchanged");
    ControlHost::Pump(200);
    EXPECT_EQ(LiveTimers(host.Manager(), gif), 0);
    EXPECT_EQ(gif->GetCurrentFrame(), frame);
    EXPECT_EQ(log.Count(L"gifindexchanged"), changes) << "no frames change for a page not shown";
    EXPECT_TRUE(gif->IsPlaying()) << "still asked to play";
    gif->SetVisible(true);
    EXPECT_EQ(LiveTimers(host.Manager(), gif), 0) << "its own flag does not show it on a hidden page";

    ShowFirstPage();
    EXPECT_EQ(LiveTimers(host.Manager(), gif), 1);
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return log.Count(L"gifindexchanged") > changes; }));
    EXPECT_EQ(gif->GetCurrentFrame(), (frame + 1) % 3) << "it goes on from the frame it stopped at";
}

TEST_F(OutOfSight, RingAndRollingTextRestWhileTheirContainerIsHidden)
{
    TempFile bmp(L"zv_unseen_ring.bmp", SolidBmp(4, 4, 0xFF0000));
    auto* ring = new ZvUI::CRingUI;
    ring->SetBkImage(bmp.Path());
    Place(ring);
    Canvas canvas(200, 100);
    canvas.Paint(*ring);
    ASSERT_TRUE(ring->IsImageLoaded());
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return ring->GetAngle() > 0.0f; }));

    page->SetVisible(false);
    const float angle = ring->GetAngle();
    ControlHost::Pump(350);
    EXPECT_EQ(ring->GetAngle(), angle) << "the ring does not turn while hidden";
    EXPECT_EQ(LiveTimers(host.Manager(), ring), 0);
    page->SetVisible(true);
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return ring->GetAngle() != angle; }));

    // The rolling text's stepping waits; its limit runs on in time.
    auto* roll = new ZvUI::CRollTextUI;
    roll->SetText(L"Rolling");
    ASSERT_TRUE(page->Add(roll));
    roll->BeginRoll(ZvUI::CRollTextUI::RollLeft, 10, 100);
    EXPECT_EQ(LiveTimers(host.Manager(), roll), 2);
    ShowOtherPage();
    EXPECT_EQ(LiveTimers(host.Manager(), roll), 1);
    ShowFirstPage();
    EXPECT_EQ(LiveTimers(host.Manager(), roll), 2);
    roll->EndRoll();
    page->SetVisible(false);
    roll->BeginRoll(ZvUI::CRollTextUI::RollUp, 10, 100);
    EXPECT_TRUE(roll->IsRolling());
    EXPECT_EQ(LiveTimers(host.Manager(), roll), 1) << "begun out of sight, it steps only once seen";
    page->SetVisible(true);
    EXPECT_EQ(LiveTimers(host.Manager(), roll), 2);
}

TEST_F(OutOfSight, FadeAndSlideNobodySeesEndAtOnce)
{
    TempFile normal(L"zv_unseen_normal.bmp", SolidBmp(8, 8, 0xFF0000));
    TempFile hot(L"zv_unseen_hot.bmp", SolidBmp(8, 8, 0x0000FF));
    auto* button = new CFadeButtonUI;
    button->SetAttribute(L"normalimage", normal.Path());
    button->SetAttribute(L"hotimage", hot.Path());
    Place(button);
    host.Hover(30, 20);
    ASSERT_TRUE(button->IsAnimating(CFadeButtonUI::kFadeInAnimation));
    ShowOtherPage();
    EXPECT_FALSE(button->IsAnimating(CFadeButtonUI::kFadeInAnimation));
    EXPECT_EQ(LiveTimers(host.Manager(), button), 0);
    ShowFirstPage();
    Canvas canvas(200, 100);
    canvas.Paint(*button);
    EXPECT_EQ(canvas.Rgb(30, 20), 0x0000FFu) << "shown again with the image the fade went to";

    auto* slider = new CAnimationTabLayoutUI;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(slider->Add(new CControlUI));
    ASSERT_TRUE(page->Add(slider));
    const RECT place = {0, 0, 150, 80};
    slider->SetPos(place, false);
    ASSERT_TRUE(slider->SelectItem(2));
    ASSERT_TRUE(slider->IsAnimating(kSlide));
    page->SetVisible(false);
    EXPECT_FALSE(slider->IsAnimating(kSlide));
    EXPECT_EQ(LiveTimers(host.Manager(), slider), 0);
    EXPECT_TRUE(::EqualRect(&slider->GetPos(), &place));
    EXPECT_TRUE(slider->GetItemAt(2)->IsVisibleOwn()) << "the new page stands in its place";
    EXPECT_FALSE(slider->SelectItem(0) && slider->IsAnimating(kSlide)) << "no slide starts out of sight";
    EXPECT_TRUE(slider->GetItemAt(0)->IsVisibleOwn());
}

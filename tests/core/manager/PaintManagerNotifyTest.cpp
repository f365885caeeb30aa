// Focus, timers, notifications, deferred deletion, searches and option groups,
// on real windows with real timers and the WM_APP+1 queue.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ManagerTestSupport.h"
#include "control/UIDelegate.h"
#include "layout/ContainerUI.h"

using namespace ZvUI;
using zvtest::InstallRoot;
using zvtest::Log;
using zvtest::NotifyRecorder;
using zvtest::Pump;
using zvtest::PumpUntil;
using zvtest::TestContainer;
using zvtest::TestControl;
using zvtest::TestWindow;

namespace {

using Lines = std::vector<std::wstring>;

constexpr UINT kAsync = WM_APP + 1;

class Notify : public ::testing::Test {
protected:
    void SetUp() override
    {
        Log::Get().Clear();
        window.manager().SetHoverTime(60000);
        window.manager().AddNotifyListener(&recorder);
        ::SetCursorPos(2, 2);
    }

    void InstallABC(UINT flags = 0)
    {
        a = new TestControl(L"a", L"TestUI", flags);
        b = new TestControl(L"b", L"TestUI", flags);
        c = new TestControl(L"c", L"TestUI", flags);
        root = InstallRoot(window, {{a, {10, 10, 110, 60}}, {b, {150, 10, 250, 60}}, {c, {10, 100, 110, 150}}});
        Pump(30);
        Log::Get().Clear();
    }

    const UITimerInfo* TimerOf(CControlUI* control, UINT callerId)
    {
        for (int i = 0; i < window.manager().GetTimerCount(); ++i) {
            const UITimerInfo* info = window.manager().GetTimerInfo(i);
            if (info->control == control && info->callerId == callerId)
                return info;
        }
        return nullptr;
    }

    size_t TimerEvents(const std::wstring& name, UINT callerId)
    {
        size_t count = 0;
        for (const auto& record : Log::Get().Find(L"E " + name + L" 27"))
            count += record.event.wParam == callerId ? 1 : 0;
        return count;
    }

    TestWindow window;
    NotifyRecorder recorder;
    TestContainer* root = nullptr;
    TestControl* a = nullptr;
    TestControl* b = nullptr;
    TestControl* c = nullptr;
};

// Counts WM_APP+1 messages that reach the manager, without handling them.
class AsyncCounter : public IMessageFilterUI {
public:
    LRESULT MessageHandler(UINT msg, WPARAM, LPARAM, bool&) override
    {
        if (msg == kAsync)
            ++count;
        return 0;
    }
    int count = 0;
};


// Members of the manager's lists that log their turn and may change the list meanwhile.
struct Member : IMessageFilterUI, INotifyUI, ITranslateAccelerator {
    Member(const wchar_t* n, Lines& ran) : name(n), log(ran) {}
    LRESULT MessageHandler(UINT msg, WPARAM, LPARAM, bool&) override
    {
        if (msg == WM_APP + 50)
            Turn();
        return 0;
    }
    void Notify(UINotifyMessage& msg) override
    {
        if (msg.type == L"walked")
            Turn();
    }
    LRESULT TranslateAccelerator(MSG*) override
    {
        Turn();
        return 1;
    }
    void Turn()
    {
        log.push_back(name);
        if (action)
            action();
    }
    std::wstring name;
    Lines& log;
    std::function<void()> action;
};

class PostPainter : public CControlUI {
public:
    PostPainter(const wchar_t* n, Lines& ran) : name(n), log(ran) {}
    void DoPostPaint(HDC, const RECT&) override
    {
        log.push_back(name);
        if (action)
            action();
    }
    std::wstring name;
    Lines& log;
    std::function<void()> action;
};
} // namespace

// --- focus ---

TEST_F(Notify, FocusMovesWithKillThenSetAndTheNewControlAsSender)
{
    InstallABC();
    window.manager().SetFocus(a);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"E a 24 a", L"N setfocus a"}));
    EXPECT_TRUE(a->IsFocused());
    Log::Get().Clear();
    window.manager().SetFocus(b);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"E a 23 b", L"N killfocus a", L"E b 24 b", L"N setfocus b"}));
    EXPECT_FALSE(a->IsFocused());

    // Focusing the focused control does nothing at all.
    Log::Get().Clear();
    window.manager().SetFocus(b);
    EXPECT_TRUE(Log::Get().Lines().empty());
}

TEST_F(Notify, FocusOnAnInvisibleDisabledOrForeignControlLeavesNone)
{
    InstallABC();
    CPaintManagerUI other;
    c->SetVisible(false);
    window.manager().SetFocus(a);
    Log::Get().Clear();
    window.manager().SetFocus(c);
    EXPECT_EQ(window.manager().GetFocus(), nullptr);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"E a 23 c", L"N killfocus a"}));

    b->SetEnabled(false);
    window.manager().SetFocus(b);
    EXPECT_EQ(window.manager().GetFocus(), nullptr);

    TestControl stray(L"stray");
    stray.SetManager(&other, nullptr, false);
    window.manager().SetFocus(&stray);
    EXPECT_EQ(window.manager().GetFocus(), nullptr);
    stray.SetManager(nullptr, nullptr, false);
}

TEST_F(Notify, ADisabledControlOrContainerGivesUpTheFocus)
{
    InstallABC(ControlFlagTabStop);
    window.manager().SetFocus(b);
    Log::Get().Clear();
    b->SetEnabled(false);
    EXPECT_EQ(window.manager().GetFocus(), nullptr);
    EXPECT_FALSE(b->IsFocused());
    EXPECT_EQ(Log::Get().Lines(L"N "), (Lines{L"N killfocus b"}));
    // Tab goes on from the first tab stop, not from nowhere.
    window.manager().MoveTabFocus(true);
    EXPECT_EQ(window.manager().GetFocus(), a);

}

TEST_F(Notify, ADisabledContainerTakesTheFocusFromItselfAndItsChildren)
{
    auto* box = new CContainerUI;
    auto* inner = new TestControl(L"inner", L"TestUI", ControlFlagTabStop);
    box->Add(inner);
    root = InstallRoot(window, {{box, {10, 10, 200, 100}}});
    Pump(30);
    window.manager().SetFocus(inner);
    ASSERT_EQ(window.manager().GetFocus(), inner);
    box->SetEnabled(false);
    EXPECT_EQ(window.manager().GetFocus(), nullptr);
    EXPECT_FALSE(inner->IsFocused());
    box->SetEnabled(true);
    window.manager().SetFocus(box);
    ASSERT_EQ(window.manager().GetFocus(), box);
    box->SetEnabled(false);
    EXPECT_EQ(window.manager().GetFocus(), nullptr);
    EXPECT_FALSE(box->IsFocused());
}

TEST_F(Notify, FocusNeededLandsOnTheControlAfterLayout)
{
    InstallABC(ControlFlagTabStop);
    window.manager().SetFocus(a);
    Log::Get().Clear();
    window.manager().SetFocusNeeded(c);
    EXPECT_TRUE(window.manager().IsFocusNeeded());
    // Resting on the tab stop before c, without events.
    EXPECT_EQ(window.manager().GetFocus(), b);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"E a 23 c", L"N killfocus a"}));
    // The paint that lays the root out makes the move too, whatever paints follow.
    ::UpdateWindow(window.hwnd());
    EXPECT_EQ(window.manager().GetFocus(), c) << "the move waits for an unrelated repaint";
    EXPECT_FALSE(window.manager().IsFocusNeeded());
    ::InvalidateRect(window.hwnd(), nullptr, FALSE);
    ::UpdateWindow(window.hwnd());
    EXPECT_EQ(window.manager().GetFocus(), c);
    EXPECT_FALSE(window.manager().IsFocusNeeded());
    EXPECT_EQ(Log::Get().Lines(L"N "), (Lines{L"N killfocus a", L"N killfocus b", L"N setfocus c"}));
}

TEST_F(Notify, TabWhileALayoutIsPendingMovesAfterThePaint)
{
    InstallABC(ControlFlagTabStop);
    window.manager().SetFocus(a);
    window.manager().NeedUpdate();
    EXPECT_TRUE(window.manager().MoveTabFocus(true));
    EXPECT_EQ(window.manager().GetFocus(), a);
    EXPECT_TRUE(window.manager().IsFocusNeeded());
    ::UpdateWindow(window.hwnd());
    EXPECT_EQ(window.manager().GetFocus(), b);
    EXPECT_FALSE(window.manager().IsFocusNeeded());
}

TEST_F(Notify, AFocusChosenWhileATabMoveWaitsForThePaintKeepsIt)
{
    // A new root waits for its first paint to focus the first tab stop; c is focused before it.
    a = new TestControl(L"a", L"TestUI", ControlFlagTabStop);
    c = new TestControl(L"c", L"TestUI", ControlFlagTabStop);
    root = new TestContainer();
    for (CControlUI* child : {static_cast<CControlUI*>(a), static_cast<CControlUI*>(c)})
        root->Add(child);
    window.manager().SetRootControl(root);
    ASSERT_TRUE(window.manager().IsFocusNeeded());
    window.manager().SetFocus(c);
    ::InvalidateRect(window.hwnd(), nullptr, FALSE);
    ::UpdateWindow(window.hwnd());
    EXPECT_EQ(window.manager().GetFocus(), c) << "the first paint's move took it";
    ::InvalidateRect(window.hwnd(), nullptr, FALSE);
    ::UpdateWindow(window.hwnd());
    EXPECT_EQ(window.manager().GetFocus(), c) << "a later paint's move took it";

    // A Tab move deferred by a pending layout gives way to a focus chosen after it.
    window.manager().SetFocus(a);
    window.manager().NeedUpdate();
    ASSERT_TRUE(window.manager().MoveTabFocus(true));
    ASSERT_TRUE(window.manager().IsFocusNeeded());
    window.manager().SetFocus(c);
    EXPECT_FALSE(window.manager().IsFocusNeeded());
    ::UpdateWindow(window.hwnd());
    EXPECT_EQ(window.manager().GetFocus(), c);
}

// --- capture ---

TEST_F(Notify, CaptureIsTheSystemCapture)
{
    window.manager().SetCapture();
    EXPECT_EQ(::GetCapture(), window.hwnd());
    EXPECT_TRUE(window.manager().IsCaptured());
    // Losing the keyboard focus ends the capture.
    ::SendMessageW(window.hwnd(), WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(window.manager().IsCaptured());
    EXPECT_EQ(::GetCapture(), nullptr);
}

// --- timers ---

TEST_F(Notify, ControlTimersFireThroughRealTimerIdsAndStopWhenKilled)
{
    InstallABC();
    ASSERT_TRUE(a->SetTimer(5, 15));
    const UITimerInfo* info = TimerOf(a, 5);
    ASSERT_NE(info, nullptr);
    // The first timer of a fresh manager.
    EXPECT_EQ(info->windowTimerId, 17u);
    EXPECT_EQ(info->window, window.hwnd());
    ASSERT_TRUE(PumpUntil([&] { return TimerEvents(L"a", 5) >= 2; }));
    const auto fired = Log::Get().Find(L"E a 27");
    EXPECT_EQ(fired[0].event.sender, a);
    // The default handling turns the timer event into a "timer" notification.
    EXPECT_FALSE(Log::Get().Lines(L"N timer a").empty());

    // Running already: refused.
    EXPECT_FALSE(window.manager().SetTimer(a, 5, 500));
    EXPECT_TRUE(window.manager().KillTimer(a, 5));
    EXPECT_FALSE(window.manager().KillTimer(a, 5));
    ASSERT_NE(TimerOf(a, 5), nullptr);
    EXPECT_TRUE(TimerOf(a, 5)->killed);
    Pump(60);
    Log::Get().Clear();
    Pump(120);
    EXPECT_EQ(TimerEvents(L"a", 5), 0u);
    // A posted WM_TIMER with a killed record's id reaches nobody.
    ::PostMessageW(window.hwnd(), WM_TIMER, 17, 0);
    Pump(20);
    EXPECT_EQ(TimerEvents(L"a", 5), 0u);

    // Restarting reuses the record and its window timer id.
    ASSERT_TRUE(window.manager().SetTimer(a, 5, 15));
    EXPECT_EQ(window.manager().GetTimerCount(), 1);
    EXPECT_EQ(TimerOf(a, 5)->windowTimerId, 17u);
    EXPECT_FALSE(TimerOf(a, 5)->killed);
    ASSERT_TRUE(PumpUntil([&] { return TimerEvents(L"a", 5) >= 1; }));
}

TEST_F(Notify, TimersGoWithTheirControl)
{
    InstallABC();
    ASSERT_TRUE(b->SetTimer(1, 15));
    ASSERT_TRUE(b->SetTimer(2, 15));
    ASSERT_TRUE(a->SetTimer(1, 15));
    const UINT idB1 = TimerOf(b, 1)->windowTimerId;
    EXPECT_EQ(window.manager().GetTimerCount(), 3);
    root->Remove(b);
    // Deleted on the next WM_APP+1; its timers with it.
    ASSERT_TRUE(PumpUntil([&] { return window.manager().GetTimerCount() == 1; }));
    EXPECT_EQ(TimerOf(a, 1)->control, a);
    // The system timer is gone too.
    EXPECT_FALSE(::KillTimer(window.hwnd(), idB1));
    Log::Get().Clear();
    ASSERT_TRUE(PumpUntil([&] { return TimerEvents(L"a", 1) >= 1; }));
    EXPECT_TRUE(Log::Get().Lines(L"E b").empty());
}

TEST_F(Notify, RotatingIdsPassOverIdsStillHeld)
{
    InstallABC();
    // a keeps window timer id 17 for the whole test.
    ASSERT_TRUE(a->SetTimer(1, 40));
    ASSERT_EQ(TimerOf(a, 1)->windowTimerId, 17u);
    // b takes and drops 239 timers: the rotation comes round to 17 again.
    for (UINT i = 0; i < 239; ++i) {
        ASSERT_TRUE(b->SetTimer(100 + i, 100000));
        window.manager().KillTimers(b);
    }
    ASSERT_TRUE(b->SetTimer(7, 15));
    const UINT idB = TimerOf(b, 7)->windowTimerId;
    EXPECT_NE(idB, 17u);
    EXPECT_EQ(idB, 18u);
    // Both timers live side by side.
    Log::Get().Clear();
    ASSERT_TRUE(PumpUntil([&] { return TimerEvents(L"a", 1) >= 1 && TimerEvents(L"b", 7) >= 1; }));

    // A killed record holds its id as well: the restart finds it free.
    window.manager().KillTimer(a, 1);
    for (UINT i = 0; i < 238; ++i) {
        ASSERT_TRUE(c->SetTimer(300 + i, 100000));
        window.manager().KillTimers(c);
    }
    ASSERT_TRUE(c->SetTimer(9, 100000));
    EXPECT_NE(TimerOf(c, 9)->windowTimerId, 17u);
    EXPECT_NE(TimerOf(c, 9)->windowTimerId, idB);
    ASSERT_TRUE(window.manager().SetTimer(a, 1, 15));
    EXPECT_EQ(TimerOf(a, 1)->windowTimerId, 17u);
}

TEST_F(Notify, TwoHundredTwentyFourthTimerUsesIdZeroAndAllIdsTakenRefuses)
{
    InstallABC();
    for (UINT i = 0; i < 224; ++i)
        ASSERT_TRUE(a->SetTimer(i, 100000)) << i;
    EXPECT_EQ(TimerOf(a, 222)->windowTimerId, 239u);
    EXPECT_EQ(TimerOf(a, 223)->windowTimerId, 0u);
    for (UINT i = 224; i < 240; ++i)
        ASSERT_TRUE(a->SetTimer(i, 100000)) << i;
    // Every one of the 240 ids is held: no new timer replaces one of them.
    EXPECT_FALSE(a->SetTimer(999, 100000));
    EXPECT_EQ(window.manager().GetTimerCount(), 240);
    window.manager().RemoveAllTimers();
    EXPECT_EQ(window.manager().GetTimerCount(), 0);
}

TEST_F(Notify, PostedTimerMessageReachesTheLiveRecordWithTheCallersId)
{
    InstallABC();
    ASSERT_TRUE(c->SetTimer(42, 100000));
    const UINT id = TimerOf(c, 42)->windowTimerId;
    Log::Get().Clear();
    // Sent, not posted: a dispatched WM_TIMER takes a non-zero lParam for a timer procedure.
    ::SendMessageW(window.hwnd(), WM_TIMER, id, 1234);
    const auto fired = Log::Get().Find(L"E c 27");
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].event.wParam, 42u);
    EXPECT_EQ(fired[0].event.lParam, 1234);
}

TEST_F(Notify, TimersTheWindowSetsItselfAreLeftToTheWindow)
{
    InstallABC();
    // Control timers may use the window's numbers as their own ids; they still run on ids below 240.
    ASSERT_TRUE(a->SetTimer(268, 100000));
    ASSERT_TRUE(a->SetTimer(286, 100000));
    EXPECT_LT(TimerOf(a, 268)->windowTimerId, 240u);
    std::vector<WPARAM> reachedWindow;
    window.after = [&reachedWindow](UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
        if (msg != WM_TIMER)
            return false;
        reachedWindow.push_back(wParam);
        result = 0;
        return true;
    };
    Log::Get().Clear();
    ::SendMessageW(window.hwnd(), WM_TIMER, 268, 0);
    ::SendMessageW(window.hwnd(), WM_TIMER, 286, 0);
    EXPECT_TRUE(Log::Get().Find(L"E a 27").empty());
    EXPECT_EQ(reachedWindow, (std::vector<WPARAM>{268, 286}));
    // A control timer's own message reaches its control and the window as well.
    ::SendMessageW(window.hwnd(), WM_TIMER, TimerOf(a, 286)->windowTimerId, 0);
    EXPECT_EQ(TimerEvents(L"a", 286), 1u);
    EXPECT_EQ(reachedWindow.size(), 3u);
    window.after = nullptr;
}

// --- notifications ---

TEST_F(Notify, AsyncNotificationsArriveOnceThroughOneWmApp1)
{
    InstallABC();
    AsyncCounter counter;
    window.manager().AddMessageFilter(&counter);
    b->SetVirtualWnd(L"page1");
    window.manager().RaiseNotify(b, L"first", 1, 2, true);
    window.manager().RaiseNotify(a, L"second", 3, 4, true);
    EXPECT_TRUE(Log::Get().Lines().empty());
    EXPECT_EQ(window.manager().GetQueuedNotifyCount(), 2);
    Pump(50);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"N first b", L"N second a"}));
    const auto first = Log::Get().Find(L"N first");
    EXPECT_EQ(first[0].notify.wParam, 1u);
    EXPECT_EQ(first[0].notify.lParam, 2);
    // Queued notifications carry no virtual-window name, even with the fill on.
    EXPECT_TRUE(window.manager().IsFillVirtualWindowName());
    EXPECT_STREQ(first[0].notify.virtualWnd, L"");
    EXPECT_EQ(window.manager().GetQueuedNotifyCount(), 0);

    // A synchronous one gets the sender's virtual window.
    Log::Get().Clear();
    window.manager().RaiseNotify(b, L"now");
    EXPECT_STREQ(Log::Get().Find(L"N now")[0].notify.virtualWnd, L"page1");

    // Nothing more is delivered later.
    Log::Get().Clear();
    Pump(50);
    EXPECT_TRUE(Log::Get().Lines().empty());
    EXPECT_EQ(counter.count, 1);
    window.manager().RemoveMessageFilter(&counter);
}

TEST_F(Notify, NotificationQueuedWhileDeliveringArrivesInTheSamePass)
{
    InstallABC();
    AsyncCounter counter;
    window.manager().AddMessageFilter(&counter);
    a->NotifyHandlers.Add(+[](void* param) -> bool {
        auto* msg = static_cast<UINotifyMessage*>(param);
        if (msg->type == L"ping")
            msg->sender->GetManager()->RaiseNotify(msg->sender, L"pong", 0, 0, true);
        return true;
    });
    window.manager().RaiseNotify(a, L"ping", 0, 0, true);
    Pump(50);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"N ping a", L"N pong a"}));
    // The second notification was queued while the pass ran: one more WM_APP+1 at most.
    EXPECT_LE(counter.count, 2);
    window.manager().RemoveMessageFilter(&counter);
}

TEST_F(Notify, WithoutSenderTheFillGivesAnEmptyName)
{
    window.manager().SetFillVirtualWindowName(true);
    UINotifyMessage msg;
    msg.type = L"plain";
    msg.virtualWnd = L"stale";
    window.manager().DispatchNotify(msg);
    ASSERT_EQ(Log::Get().Lines(), (Lines{L"N plain -"}));
    EXPECT_STREQ(Log::Get().Find(L"N plain")[0].notify.virtualWnd, L"");
}

TEST_F(Notify, SenderDelegatesRunBeforeTheListenersWhateverTheyAnswer)
{
    InstallABC();
    NotifyRecorder second;
    window.manager().AddNotifyListener(&second);
    a->NotifyHandlers.Add(+[](void*) -> bool {
        zvtest::Record record;
        record.line = L"D a";
        Log::Get().Add(record);
        return false;
    });
    window.manager().RaiseNotify(a, L"click", 7, 8);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"D a", L"N click a", L"N click a"}));
    const auto got = Log::Get().Find(L"N click");
    EXPECT_EQ(got[0].notify.wParam, 7u);
    EXPECT_EQ(got[0].notify.mousePoint.x, window.manager().GetMousePos().x);
    EXPECT_NE(got[0].notify.timestamp, 0u);
    EXPECT_TRUE(window.manager().RemoveNotifyListener(&second));
    EXPECT_FALSE(window.manager().RemoveNotifyListener(&second));
}

// --- deferred deletion ---

TEST_F(Notify, ControlRemovingItselfInItsHandlerIsDeletedOnWmApp1)
{
    InstallABC();
    bool destroyed = false;
    bool destroyedInHandler = true;
    b->destroyed = &destroyed;
    b->onEvent = [&](TestControl& self, UIControlEvent& event) {
        if (event.type != EventButtonUp)
            return;
        self.GetManager()->RaiseNotify(&self, L"removing", 0, 0, true);
        root->Remove(&self);
        destroyedInHandler = destroyed;
    };
    ::PostMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 20));
    ::PostMessageW(window.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(160, 20));
    EXPECT_EQ(window.manager().FindControl(L"b"), b);
    ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
    EXPECT_FALSE(destroyedInHandler);
    EXPECT_EQ(window.manager().GetDelayedCleanupCount(), 0);
    EXPECT_EQ(root->GetCount(), 2);
    EXPECT_EQ(window.manager().FindControl(L"b"), nullptr);
    EXPECT_EQ(window.manager().GetFocus(), nullptr);
    EXPECT_EQ(window.manager().GetClickControl(), nullptr);
    Pump(30);
    // The queued notification came after the deletion, with its sender cleared.
    const auto removing = Log::Get().Find(L"N removing");
    ASSERT_EQ(removing.size(), 1u);
    EXPECT_EQ(removing[0].notify.sender, nullptr);
}

TEST_F(Notify, OldRootIsDeletedOnTheNextWmApp1)
{
    InstallABC();
    bool destroyed = false;
    a->destroyed = &destroyed;
    auto* fresh = new TestContainer(L"fresh");
    window.manager().SetRootControl(fresh);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(window.manager().GetRoot(), fresh);
    ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
    EXPECT_EQ(window.manager().FindControl(L"a"), nullptr);
}

// --- names and searches ---

TEST_F(Notify, NameMapHoldsTheControlBoundLast)
{
    auto* first = new TestControl(L"same");
    auto* second = new TestControl(L"same");
    root = InstallRoot(window, {{first, {0, 0, 10, 10}}, {second, {10, 0, 20, 10}}});
    EXPECT_EQ(window.manager().FindControl(L"same"), second);
    // Forgetting the first control leaves the name with the second.
    root->Remove(first);
    Pump(30);
    EXPECT_EQ(window.manager().FindControl(L"same"), second);
}

TEST_F(Notify, SearchesByNameClassAndPoint)
{
    auto* x1 = new TestControl(L"Alpha", L"XUI");
    auto* y1 = new TestControl(L"", L"YUI");
    auto* x2 = new TestControl(L"beta", L"XUI");
    auto* x3 = new TestControl(L"gamma", L"XUI");
    root = InstallRoot(window, {{x1, {0, 0, 50, 50}}, {y1, {0, 0, 50, 50}}, {x2, {60, 0, 90, 50}}, {x3, {100, 0, 150, 50}}});
    CPaintManagerUI& m = window.manager();
    EXPECT_EQ(m.FindSubControlByName(nullptr, L"ALPHA"), x1);
    EXPECT_EQ(m.FindSubControlByName(nullptr, L""), nullptr);
    EXPECT_EQ(m.FindSubControlByClass(nullptr, L"XUI", 0), x1);
    EXPECT_EQ(m.FindSubControlByClass(nullptr, L"XUI", 2), x3);
    EXPECT_EQ(m.FindSubControlByClass(nullptr, L"XUI", 3), nullptr);
    // Without FindMeFirst the container comes after its children.
    EXPECT_EQ(m.FindSubControlByClass(nullptr, L"*", 0), x1);
    EXPECT_EQ(m.FindSubControlByClass(nullptr, L"*", 4), root);
    CUIPtrArray* all = m.FindSubControlsByClass(nullptr, L"XUI");
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->GetSize(), 3);
    EXPECT_EQ((*all)[1], x2);
    EXPECT_EQ(m.FindSubControlsByClass(nullptr, L"*")->GetSize(), 5);
    // Top first: of two controls under the point, the later one.
    EXPECT_EQ(m.FindControl(POINT{10, 10}), y1);
    EXPECT_EQ(m.FindSubControlByPoint(nullptr, POINT{70, 10}), x2);
    EXPECT_EQ(m.FindControl(POINT{95, 10}), root);
    y1->SetVisible(false);
    EXPECT_EQ(m.FindControl(POINT{10, 10}), x1);
    CPaintManagerUI empty;
    EXPECT_EQ(empty.FindSubControlsByClass(nullptr, L"XUI"), nullptr);
    EXPECT_EQ(empty.FindControl(POINT{1, 1}), nullptr);
}

TEST_F(Notify, OptionGroupsJoinOnceAndDisappearWhenEmpty)
{
    CPaintManagerUI& m = window.manager();
    TestControl one(L"one");
    TestControl two(L"two");
    EXPECT_TRUE(m.JoinOptionGroup(L"g", &one));
    EXPECT_FALSE(m.JoinOptionGroup(L"g", &one));
    EXPECT_TRUE(m.JoinOptionGroup(L"g", &two));
    ASSERT_NE(m.GetOptionGroup(L"g"), nullptr);
    EXPECT_EQ(m.GetOptionGroup(L"g")->GetSize(), 2);
    m.LeaveOptionGroup(L"g", &one);
    EXPECT_EQ(m.GetOptionGroup(L"g")->GetSize(), 1);
    m.LeaveOptionGroup(L"g", &two);
    EXPECT_EQ(m.GetOptionGroup(L"g"), nullptr);
    m.JoinOptionGroup(L"h", &one);
    m.RemoveAllOptionGroups();
    EXPECT_EQ(m.GetOptionGroup(L"h"), nullptr);
}

TEST_F(Notify, AfterPaintControlsChildWindowsAndWatchers)
{
    CPaintManagerUI& m = window.manager();
    TestControl one(L"one");
    TestControl two(L"two");
    m.AddAfterPaintControl(&one);
    m.AddAfterPaintControl(&two);
    EXPECT_TRUE(m.InsertAfterPaintControl(&two, 0));
    EXPECT_EQ(m.GetAfterPaintControlCount(), 2);
    EXPECT_EQ(m.GetAfterPaintControl(0), &two);
    EXPECT_TRUE(m.IsAfterPaintControl(&one));
    EXPECT_TRUE(m.RemoveAfterPaintControl(&one));
    EXPECT_FALSE(m.IsAfterPaintControl(&one));
    m.RemoveAfterPaintControl(&two);

    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 30, 40, 50, 20, window.hwnd(), nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(m.AttachChildWindow(nullptr, child));
    EXPECT_TRUE(m.AttachChildWindow(&one, child));
    EXPECT_FALSE(m.AttachChildWindow(&two, child));
    EXPECT_EQ(m.GetChildWindowCount(), 1);
    EXPECT_EQ(m.GetChildWindowControl(0), &one);
    const RECT rc = m.GetChildWindowRect(child);
    EXPECT_EQ(rc.left, 30);
    EXPECT_EQ(rc.top, 40);
    EXPECT_EQ(rc.right, 80);
    EXPECT_EQ(rc.bottom, 60);
    EXPECT_TRUE(m.DetachChildWindow(child));
    EXPECT_FALSE(m.DetachChildWindow(child));
    ::DestroyWindow(child);

    EXPECT_FALSE(m.AddMouseLeaveWatcher(nullptr));
    EXPECT_TRUE(m.AddMouseLeaveWatcher(&one));
    EXPECT_TRUE(m.RemoveMouseLeaveWatcher(&one));
    EXPECT_FALSE(m.RemoveMouseLeaveWatcher(&one));
}

// A handler that adds or removes members of the list being walked: each member of the pass runs
// in order unless it left before its turn, and one that joined waits for the next pass.
TEST_F(Notify, ListsChangedWhileTheyAreWalkedRunEachMemberOfThePass)
{
    InstallABC();
    CPaintManagerUI& m = window.manager();
    Lines ran;
    Member one(L"1", ran), two(L"2", ran), three(L"3", ran), four(L"4", ran);
    PostPainter p1(L"p1", ran), p2(L"p2", ran), p3(L"p3", ran), p4(L"p4", ran);
    const auto pass = [&](const std::function<void()>& walk) {
        ran.clear();
        walk();
        return ran;
    };
    MSG key = {window.hwnd(), WM_KEYDOWN, 'A', 0};
    const struct {
        const char* list;
        std::function<void(Member*)> add;
        std::function<void(Member*)> remove;
        std::function<void()> walk;
    } lists[] = {
        {"translators", [&](Member* x) { m.AddAcceleratorTranslator(x); },
         [&](Member* x) { m.RemoveAcceleratorTranslator(x); }, [&] { (void)m.TranslateAccelerator(&key); }},
        {"notify listeners", [&](Member* x) { m.AddNotifyListener(x); }, [&](Member* x) { m.RemoveNotifyListener(x); },
         [&] { m.RaiseNotify(a, L"walked"); }},
        {"message filters", [&](Member* x) { m.AddMessageFilter(x); }, [&](Member* x) { m.RemoveMessageFilter(x); },
         [&] { ::SendMessageW(window.hwnd(), WM_APP + 50, 0, 0); }},
    };
    for (const auto& list : lists) {
        for (Member* x : {&one, &two, &three})
            list.add(x);
        one.action = [&] {
            list.remove(&one);
            list.add(&four);
        };
        EXPECT_EQ(pass(list.walk), (Lines{L"1", L"2", L"3"})) << list.list;
        one.action = nullptr;
        two.action = [&] { list.remove(&three); };
        EXPECT_EQ(pass(list.walk), (Lines{L"2", L"4"})) << list.list;
        two.action = nullptr;
        for (Member* x : {&two, &four})
            list.remove(x);
    }

    m.AddAfterPaintControl(&p1);
    m.AddAfterPaintControl(&p2);
    m.AddAfterPaintControl(&p3);
    p1.action = [&] {
        m.RemoveAfterPaintControl(&p1);
        m.AddAfterPaintControl(&p4);
    };
    const auto paint = [&] {
        ::InvalidateRect(window.hwnd(), nullptr, FALSE);
        ::UpdateWindow(window.hwnd());
    };
    EXPECT_EQ(pass(paint), (Lines{L"p1", L"p2", L"p3"}));
    p1.action = nullptr;
    p2.action = [&] { m.RemoveAfterPaintControl(&p3); };
    EXPECT_EQ(pass(paint), (Lines{L"p2", L"p4"}));
    m.RemoveAfterPaintControl(&p2);
    m.RemoveAfterPaintControl(&p4);
}

TEST_F(Notify, ForgetControlDropsEveryReference)
{
    InstallABC();
    CPaintManagerUI& m = window.manager();
    m.SetFocus(a);
    m.AddMouseLeaveWatcher(a);
    m.AddAfterPaintControl(a);
    ASSERT_TRUE(a->SetTimer(3, 100000));
    m.RaiseNotify(a, L"later", 0, 0, true);
    m.ForgetControl(a);
    EXPECT_EQ(m.GetFocus(), nullptr);
    EXPECT_EQ(m.FindControl(L"a"), nullptr);
    EXPECT_EQ(m.GetTimerCount(), 0);
    EXPECT_FALSE(m.IsAfterPaintControl(a));
    EXPECT_FALSE(m.RemoveMouseLeaveWatcher(a));
    Pump(30);
    const auto later = Log::Get().Find(L"N later");
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].notify.sender, nullptr);
}

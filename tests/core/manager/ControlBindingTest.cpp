// A control and its window's manager: moving a control between windows, removing it with and
// without destroy, refusing it, and closing its window first leave no record behind that names
// it. Freed memory is poisoned, so any call through a forgotten pointer faults at once.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../../support/AccessViolationWatch.h"
#include "ManagedWindow.h"
#include "control/ButtonUI.h"
#include "control/ControlUI.h"
#include "layout/VerticalLayoutUI.h"
#include "manager/PaintManagerUI.h"
#include "richedit/RichEditUI.h"
#include "richedit/TxtWinHost.h"

using namespace ZvUI;

namespace {

void PumpFor(DWORD ms)
{
    const DWORD end = ::GetTickCount() + ms;
    do {
        ManagedWindow::Pump();
        ::Sleep(5);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

// Counts its timer ticks and key and button events; can free itself from inside one.
class Probe : public CControlUI {
public:
    explicit Probe(LPCWSTR name) { SetName(name); }
    LPCWSTR GetClass() const override { return L"ProbeUI"; }
    void DoEvent(UIControlEvent& event) override
    {
        if (event.type == EventTimer)
            ++ticks;
        if (event.type == deleteOn && removeFrom != nullptr) {
            removeFrom->Remove(this);
            return;
        }
        CControlUI::DoEvent(event);
    }
    int ticks = 0;
    // The container frees the control at once on this event.
    int deleteOn = -1;
    CContainerUI* removeFrom = nullptr;
};

// One window with a manager and a root layout that keeps what is removed from it.
struct Window {
    explicit Window(int x = 0)
        : manager(std::make_unique<CPaintManagerUI>()), window(std::make_unique<ManagedWindow>(*manager, 300, 200))
    {
        ::SetWindowPos(window->Get(), nullptr, 40 + x, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        root = new CVerticalLayoutUI;
        root->SetAutoDestroy(false);
        manager->SetRootControl(root);
        ::ShowWindow(window->Get(), SW_SHOWNA);
        PumpFor(30);
    }
    // The window goes first, then its manager, as a closed dialog's would.
    void Close()
    {
        window.reset();
        manager.reset();
    }
    HWND hwnd() const { return window->Get(); }

    std::unique_ptr<CPaintManagerUI> manager;
    std::unique_ptr<ManagedWindow> window;
    CVerticalLayoutUI* root = nullptr;
};

int TimersOf(const CPaintManagerUI& manager, CControlUI* control)
{
    int n = 0;
    for (int i = 0; i < manager.GetTimerCount(); ++i)
        n += manager.GetTimerInfo(i)->control == control ? 1 : 0;
    return n;
}

} // namespace

// --- moving between windows ---

TEST(ControlBinding, ControlMovedToAnotherWindowTakesNothingOfTheFirstWithIt)
{
    AccessViolationWatch watch;
    Window a;
    Window b(320);
    auto* probe = new Probe(L"probe");
    ASSERT_TRUE(a.root->Add(probe));
    ASSERT_TRUE(probe->SetTimer(3, 10));
    a.manager->SetFocus(probe);
    ASSERT_TRUE(a.root->Remove(probe));
    EXPECT_EQ(probe->GetManager(), nullptr);
    EXPECT_EQ(a.manager->FindControl(L"probe"), nullptr);
    ASSERT_TRUE(b.root->Add(probe));
    EXPECT_EQ(probe->GetManager(), b.manager.get());
    EXPECT_EQ(b.manager->FindControl(L"probe"), probe);
    EXPECT_EQ(TimersOf(*a.manager, probe), 0);
    EXPECT_EQ(a.manager->GetFocus(), nullptr);

    // Freed in the second window: the first one's timer no longer reaches it.
    ASSERT_TRUE(b.root->Remove(probe));
    delete probe;
    PumpFor(80);
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

TEST(ControlBinding, RichEditMovedToAnotherWindowFiltersOnlyThere)
{
    AccessViolationWatch watch;
    Window a;
    Window b(320);
    auto* edit = new CRichEditUI;
    ASSERT_TRUE(a.root->Add(edit));
    PumpFor(30);
    ASSERT_TRUE(a.root->Remove(edit));
    ASSERT_TRUE(b.root->Add(edit));
    // The caret timer went along.
    EXPECT_EQ(TimersOf(*a.manager, edit), 0);
    EXPECT_EQ(TimersOf(*b.manager, edit), 1);
    ASSERT_TRUE(b.root->Remove(edit));
    delete edit;
    ::SendMessageW(a.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    ::SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    PumpFor(30);
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

// --- controls that outlive their window ---

TEST(ControlBinding, ControlsKeptByTheCallerOutliveTheirWindow)
{
    AccessViolationWatch watch;
    Window a;
    auto* kept = new Probe(L"kept");
    auto* tree = new Probe(L"tree");
    ASSERT_TRUE(a.root->Add(kept));
    ASSERT_TRUE(a.root->Add(tree));
    ASSERT_TRUE(kept->SetTimer(1, 1000));
    ASSERT_TRUE(a.root->Remove(kept));
    // Refused: nothing of it changes, and the control of that name stays the one found.
    auto* refused = new Probe(L"tree");
    EXPECT_FALSE(a.root->AddAt(refused, 7));
    EXPECT_EQ(refused->GetManager(), nullptr);
    EXPECT_EQ(refused->GetParent(), nullptr);
    EXPECT_EQ(a.manager->FindControl(L"tree"), tree);
    delete refused;
    EXPECT_EQ(a.manager->FindControl(L"tree"), tree);

    // Bound, but out of the tree when the window closes: it is left with no manager.
    auto* apart = new Probe(L"apart");
    apart->SetManager(a.manager.get(), nullptr, false);
    a.Close();
    EXPECT_EQ(kept->GetManager(), nullptr);
    EXPECT_EQ(apart->GetManager(), nullptr);
    delete kept;
    delete apart;
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

// --- input to a control that is gone or going ---

TEST(ControlBinding, ControlFreedInsideItsKeyDownOrDoubleClickGetsNoKeyUpOrButtonUp)
{
    AccessViolationWatch watch;
    Window a;
    a.root->SetAutoDestroy(true);
    a.root->SetDelayedDestroy(false);
    auto* key = new Probe(L"key");
    key->SetFixedHeight(50);
    key->deleteOn = EventKeyDown;
    key->removeFrom = a.root;
    ASSERT_TRUE(a.root->Add(key));
    PumpFor(30);
    a.manager->SetFocus(key);
    ASSERT_EQ(a.manager->GetFocus(), key);
    ::SendMessageW(a.hwnd(), WM_KEYDOWN, 'A', 0);
    ::SendMessageW(a.hwnd(), WM_KEYUP, 'A', 0);
    EXPECT_EQ(a.manager->GetKeyControl(), nullptr);

    auto* click = new Probe(L"click");
    click->SetFixedHeight(50);
    click->deleteOn = EventDoubleClick;
    click->removeFrom = a.root;
    ASSERT_TRUE(a.root->Add(click));
    PumpFor(30);
    const RECT pos = click->GetPos();
    const LPARAM at = MAKELPARAM(pos.left + 5, pos.top + 5);
    ::SendMessageW(a.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(a.hwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(a.manager->GetClickControl(), nullptr);
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

TEST(ControlBinding, ButtonQueuedForDeletionTakesNoMoreKeys)
{
    struct Remover : INotifyUI {
        void Notify(UINotifyMessage& msg) override
        {
            if (msg.type != L"click")
                return;
            ++clicks;
            root->Remove(msg.sender);
        }
        CContainerUI* root = nullptr;
        int clicks = 0;
    };
    Window a;
    a.root->SetAutoDestroy(true);
    auto* button = new CButtonUI;
    button->SetFixedHeight(40);
    ASSERT_TRUE(a.root->Add(button));
    Remover remover;
    remover.root = a.root;
    a.manager->AddNotifyListener(&remover);
    PumpFor(30);
    a.manager->SetFocus(button);
    ASSERT_EQ(a.manager->GetFocus(), button);
    // Both Returns arrive before the queue runs.
    ::SendMessageW(a.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    ::SendMessageW(a.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(remover.clicks, 1);
    EXPECT_EQ(a.manager->GetFocus(), nullptr);
    EXPECT_EQ(a.manager->GetKeyControl(), nullptr);
    PumpFor(30);
    a.manager->RemoveNotifyListener(&remover);
}

// --- timers ---

TEST(ControlBinding, WindowRunsTimersForAnyNumberOfControlsOverItsLife)
{
    Window a;
    std::vector<Probe*> probes;
    for (int i = 0; i < 300; ++i) {
        auto* probe = new Probe(L"");
        ASSERT_TRUE(a.root->Add(probe));
        ASSERT_TRUE(probe->SetTimer(1, 100000)) << i;
        probe->KillTimer(1);
        probes.push_back(probe);
    }
    // A restart after the ids went round still runs.
    ASSERT_TRUE(probes[0]->SetTimer(1, 10));
    PumpFor(80);
    EXPECT_GT(probes[0]->ticks, 0);
}

TEST(ControlBinding, TextHostTimersKeepApartFromTheFieldsAndRestart)
{
    Window a;
    auto* edit = new CRichEditUI;
    ASSERT_TRUE(a.root->Add(edit));
    PumpFor(30);
    CTxtWinHost* host = edit->GetTextHost();
    if (host == nullptr)
        GTEST_SKIP() << "no text services";
    ASSERT_EQ(TimersOf(*a.manager, edit), 1);  // the caret's
    EXPECT_TRUE(host->TxSetTimer(5, 1000));
    // A running id restarts, as a window's own timer does.
    EXPECT_TRUE(host->TxSetTimer(5, 500));
    EXPECT_TRUE(host->TxSetTimer(6, 1000));
    host->TxKillTimer(5);
    EXPECT_TRUE(host->IsTimerRunning());
    // The host's id 20 is not the caret's.
    EXPECT_TRUE(host->TxSetTimer(20, 1000));
    host->TxKillTimer(20);
    host->TxKillTimer(6);
    EXPECT_FALSE(host->IsTimerRunning());
    int caretLive = 0;
    for (int i = 0; i < a.manager->GetTimerCount(); ++i) {
        const UITimerInfo* info = a.manager->GetTimerInfo(i);
        caretLive += info->control == edit && info->callerId == 20 && !info->killed ? 1 : 0;
    }
    EXPECT_EQ(caretLive, 1);
}

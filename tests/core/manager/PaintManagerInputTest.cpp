// Message handling and input: real windows, sent and posted messages, the control
// events they become and their order.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ManagerTestSupport.h"
#include "manager/DpiHelper.h"
#include "richedit/RichEditUI.h"

using namespace ZvUI;
using zvtest::InstallRoot;
using zvtest::Log;
using zvtest::MoveMouse;
using zvtest::NotifyRecorder;
using zvtest::Pump;
using zvtest::PumpUntil;
using zvtest::TestContainer;
using zvtest::TestControl;
using zvtest::TestWindow;

namespace {

using Lines = std::vector<std::wstring>;

constexpr RECT kRectA = {10, 10, 110, 60};
constexpr RECT kRectB = {150, 10, 250, 60};
constexpr RECT kRectC = {10, 100, 110, 150};

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        Log::Get().Clear();
        zvtest::SetModifiers(false);
        // Keep the system's own hover messages out of the way; tests post WM_MOUSEHOVER.
        window.manager().SetHoverTime(60000);
        window.manager().AddNotifyListener(&recorder);
        // Park the real cursor outside the window.
        ::SetCursorPos(2, 2);
    }
    void TearDown() override { zvtest::SetModifiers(false); }

    // a, b and c at their rectangles; none is a tab stop unless flags say so.
    void InstallABC(UINT flagsA = 0, UINT flagsB = 0, UINT flagsC = 0)
    {
        a = new TestControl(L"a", L"TestUI", flagsA);
        b = new TestControl(L"b", L"TestUI", flagsB);
        c = new TestControl(L"c", L"TestUI", flagsC);
        root = InstallRoot(window, {{a, kRectA}, {b, kRectB}, {c, kRectC}});
        Pump(30);
        Log::Get().Clear();
    }

    void Post(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        ::PostMessageW(window.hwnd(), msg, wParam, lParam);
        Pump(30);
    }

    TestWindow window;
    NotifyRecorder recorder;
    TestContainer* root = nullptr;
    TestControl* a = nullptr;
    TestControl* b = nullptr;
    TestControl* c = nullptr;
};

LPARAM At(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

} // namespace

// --- buttons, focus and capture ---

TEST_F(Input, LeftClickFocusesCapturesAndClicksInOrder)
{
    InstallABC();
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    EXPECT_EQ(::GetCapture(), window.hwnd());
    EXPECT_TRUE(window.manager().IsCaptured());
    EXPECT_EQ(window.manager().GetFocus(), a);
    EXPECT_EQ(window.manager().GetClickControl(), a);
    EXPECT_EQ(::GetFocus(), window.hwnd());
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 24 a", L"E a 13 a"}));
    EXPECT_EQ(Log::Get().Lines(L"N "), (Lines{L"N setfocus a"}));
    const auto down = Log::Get().Find(L"E a 13");
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].event.mousePoint.x, 20);
    EXPECT_EQ(down[0].event.mousePoint.y, 20);
    EXPECT_EQ(down[0].event.keyState, MK_LBUTTON);

    Log::Get().Clear();
    Post(WM_LBUTTONUP, 0, At(25, 22));
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"E a 14 a", L"N click a"}));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(window.manager().IsCaptured());
    EXPECT_EQ(window.manager().GetClickControl(), nullptr);
    EXPECT_EQ(window.manager().GetMousePos().x, 25);
}

TEST_F(Input, ButtonUpWithoutClickControlSendsNothingAndKeepsCapture)
{
    InstallABC();
    window.manager().SetCapture();
    Post(WM_LBUTTONUP, 0, At(20, 20));
    EXPECT_TRUE(Log::Get().Lines(L"E ").empty());
    EXPECT_TRUE(window.manager().IsCaptured());
    EXPECT_EQ(::GetCapture(), window.hwnd());
    window.manager().ReleaseCapture();
}

TEST_F(Input, NoActivateLeavesKeyboardFocusButTheControlStillGetsItsEvents)
{
    InstallABC();
    TestWindow other(600, 100, 100, 100);
    a->focusable = false;
    window.manager().SetNoActivate(true);
    ::SetFocus(other.hwnd());
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    EXPECT_EQ(::GetFocus(), other.hwnd());
    EXPECT_EQ(Log::Get().Lines(L"F "), (Lines{L"F a"}));
    EXPECT_EQ(Log::Get().Lines(L"E a 13"), (Lines{L"E a 13 a"}));
    Post(WM_LBUTTONUP, 0, At(20, 20));

    window.manager().SetNoActivate(false);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    EXPECT_EQ(::GetFocus(), window.hwnd());
    Post(WM_LBUTTONUP, 0, At(20, 20));
}

TEST_F(Input, RightButtonUpRetargetsTheClickControl)
{
    InstallABC();
    Post(WM_RBUTTONDOWN, MK_RBUTTON, At(20, 20));
    EXPECT_EQ(window.manager().GetClickControl(), a);
    EXPECT_TRUE(window.manager().IsCaptured());
    LRESULT result = 0;
    window.manager().HandleWindowMessage(WM_RBUTTONUP, 0, At(160, 20), result);
    EXPECT_EQ(window.manager().GetClickControl(), b);
    EXPECT_FALSE(window.manager().IsCaptured());
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 24 a", L"E a 15 a", L"E b 16 b"}));
    // Through the window, the default processing of the button up raises WM_CONTEXTMENU,
    // which goes to the re-targeted click control and ends the click.
    Post(WM_RBUTTONDOWN, MK_RBUTTON, At(20, 20));
    Log::Get().Clear();
    Post(WM_RBUTTONUP, 0, At(160, 20));
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E b 16 b", L"E b 20 b"}));
    EXPECT_EQ(window.manager().GetClickControl(), nullptr);
}

TEST_F(Input, MiddleButtonAndDoubleClick)
{
    InstallABC();
    Post(WM_MBUTTONDOWN, MK_MBUTTON, At(160, 20));
    Post(WM_MBUTTONUP, 0, At(160, 20));
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, At(20, 120));
    EXPECT_EQ(window.manager().GetClickControl(), c);
    Post(WM_LBUTTONUP, 0, At(20, 120));
    EXPECT_EQ(Log::Get().Lines(L"E "),
              (Lines{L"E b 24 b", L"E b 17 b", L"E b 18 b", L"E c 19 c", L"E c 14 c"}));
}

TEST_F(Input, ContextMenuGoesToTheClickControlWithItsPointer)
{
    InstallABC();
    Post(WM_RBUTTONDOWN, MK_RBUTTON, At(20, 20));
    Log::Get().Clear();
    Post(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.hwnd()), window.ScreenLParam(30, 30));
    const auto menu = Log::Get().Find(L"E a 20");
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].event.lParam, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(menu[0].event.mousePoint.x, 30);
    EXPECT_EQ(menu[0].event.mousePoint.y, 30);
    EXPECT_EQ(window.manager().GetClickControl(), nullptr);
    EXPECT_FALSE(window.manager().IsCaptured());
}

// --- mouse moves, hover and tooltip ---

TEST_F(Input, MovesSendLeaveThenEnterThenMove)
{
    InstallABC();
    TestControl* watcher = c;
    window.manager().AddMouseLeaveWatcher(watcher);
    EXPECT_FALSE(window.manager().AddMouseLeaveWatcher(watcher));
    MoveMouse(window, 20, 20);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 11 a", L"E a 9 a"}));
    EXPECT_EQ(window.manager().GetHoverControl(), a);
    Log::Get().Clear();
    MoveMouse(window, 160, 20);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E c 10 a", L"E a 10 a", L"E b 11 b", L"E b 9 b"}));
    EXPECT_EQ(window.manager().GetHoverControl(), b);
}

TEST_F(Input, CapturedMovesGoToTheClickControlOnly)
{
    InstallABC();
    MoveMouse(window, 20, 20);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    Log::Get().Clear();
    MoveMouse(window, 160, 20, MK_LBUTTON);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 9 a"}));
    EXPECT_EQ(window.manager().GetHoverControl(), a);
    Post(WM_LBUTTONUP, 0, At(160, 20));
    // Released outside a: the button up arrives, the click does not.
    EXPECT_EQ(Log::Get().Lines(L"N click"), Lines{});
}

TEST_F(Input, ControlOfAnotherManagerStopsTheMove)
{
    InstallABC();
    CPaintManagerUI other;
    MoveMouse(window, 20, 20);
    b->SetManager(&other, root, false);
    Log::Get().Clear();
    MoveMouse(window, 160, 20);
    EXPECT_TRUE(Log::Get().Lines(L"E ").empty());
    EXPECT_EQ(window.manager().GetHoverControl(), a);
    b->SetManager(&window.manager(), root, false);
}

TEST_F(Input, WheelInScreenCoordinatesCarriesDirectionAndDelta)
{
    InstallABC();
    zvtest::WarpCursor(window, 20, 20);
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), window.ScreenLParam(20, 20));
    auto wheel = Log::Get().Find(L"E a 21");
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(LOWORD(wheel[0].event.wParam), 1);
    EXPECT_EQ(static_cast<short>(HIWORD(wheel[0].event.wParam)), -WHEEL_DELTA);
    EXPECT_EQ(wheel[0].event.mousePoint.x, 20);
    // The follow-up move lets hover follow the content.
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 21 a", L"E a 11 a", L"E a 9 a"}));

    Log::Get().Clear();
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), window.ScreenLParam(20, 20));
    wheel = Log::Get().Find(L"E a 21");
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(LOWORD(wheel[0].event.wParam), 0);
    EXPECT_EQ(static_cast<short>(HIWORD(wheel[0].event.wParam)), WHEEL_DELTA);
}

TEST_F(Input, HoverShowsARealTooltipWindow)
{
    InstallABC();
    a->SetToolTip(L"Hello tip");
    MoveMouse(window, 20, 20);
    EXPECT_EQ(window.manager().GetTooltipWindow(), nullptr);
    Log::Get().Clear();
    Post(WM_MOUSEHOVER, 0, At(20, 20));
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 12 a"}));

    HWND tip = window.manager().GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(::IsWindow(tip));
    wchar_t cls[64] = {};
    ::GetClassNameW(tip, cls, 64);
    EXPECT_STREQ(cls, L"tooltips_class32");
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), window.hwnd());
    const LONG style = ::GetWindowLongW(tip, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP), WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), a->GetToolTipWidth());

    // The record is this build's TOOLINFOW, whole.
    EXPECT_EQ(window.manager().GetToolTipInfo().cbSize, sizeof(TOOLINFOW));
    wchar_t text[80] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = window.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(window.hwnd());
    info.lpszText = text;
    ASSERT_TRUE(::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, L"Hello tip");
    EXPECT_EQ(info.rect.left, kRectA.left);
    EXPECT_EQ(info.rect.bottom, kRectA.bottom);
    EXPECT_EQ(info.uFlags & TTF_IDISHWND, static_cast<UINT>(TTF_IDISHWND));

    // Another control's tip replaces the text of the one tool.
    b->SetToolTip(L"Second");
    MoveMouse(window, 160, 20);
    Post(WM_MOUSEHOVER, 0, At(160, 20));
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    text[0] = 0;
    ::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"Second");

    // Closing the window destroys the tooltip.
    window.after = [](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return msg == WM_CLOSE;
    };
    ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.manager().GetTooltipWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(tip));
}

TEST_F(Input, HoverEventCarriesTheMessagesKeysAndPoint)
{
    InstallABC();
    MoveMouse(window, 20, 20);
    Log::Get().Clear();
    Post(WM_MOUSEHOVER, MK_CONTROL | MK_SHIFT, At(22, 24));
    const auto hover = Log::Get().Find(L"E a 12");
    ASSERT_EQ(hover.size(), 1u);
    EXPECT_EQ(hover[0].event.wParam, static_cast<WPARAM>(MK_CONTROL | MK_SHIFT));
    EXPECT_EQ(hover[0].event.lParam, At(22, 24));
    EXPECT_EQ(hover[0].event.mousePoint.x, 22);
    EXPECT_EQ(hover[0].event.mousePoint.y, 24);
}

TEST_F(Input, HoverWithoutTooltipTextMakesNoTooltip)
{
    InstallABC();
    MoveMouse(window, 20, 20);
    LRESULT result = 0;
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_MOUSEHOVER, 0, At(20, 20), result));
    EXPECT_EQ(window.manager().GetTooltipWindow(), nullptr);
    // Nothing under the point: not handled.
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_MOUSEHOVER, 0, At(-5, -5), result));
}

TEST_F(Input, MouseLeaveWithTheCursorOutsideClearsHover)
{
    InstallABC();
    MoveMouse(window, 20, 20);
    ::SetCursorPos(2, 2);
    Log::Get().Clear();
    Post(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 10 a"}));
    EXPECT_EQ(window.manager().GetHoverControl(), nullptr);
    EXPECT_EQ(window.manager().GetMousePos().x, -1);
}

TEST_F(Input, MouseLeaveWithTheCursorStillInsideResendsTheMove)
{
    InstallABC();
    ::SetActiveWindow(window.hwnd());
    ASSERT_EQ(::GetActiveWindow(), window.hwnd());
    MoveMouse(window, 20, 20);
    // The cursor moved on to b without a move message (over a tooltip, say).
    zvtest::WarpCursor(window, 160, 20);
    Log::Get().Clear();
    LRESULT result = 0;
    window.manager().HandleWindowMessage(WM_MOUSELEAVE, 0, 0, result);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 10 a", L"E b 11 b", L"E b 9 b"}));
    EXPECT_EQ(window.manager().GetHoverControl(), b);
}

TEST_F(Input, SetCursorOnlyForControlsThatAskForIt)
{
    InstallABC(0, ControlFlagSetCursor);
    LRESULT result = 0;
    const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    POINT pt = {20, 20};
    ::ClientToScreen(window.hwnd(), &pt);
    ::SetCursorPos(pt.x, pt.y);
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd()), hit, result));
    EXPECT_TRUE(Log::Get().Lines(L"E ").empty());

    pt = {160, 20};
    ::ClientToScreen(window.hwnd(), &pt);
    ::SetCursorPos(pt.x, pt.y);
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd()), hit, result));
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E b 26 b"}));
    // Outside the client area the default applies.
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), result));

    Log::Get().Clear();
    window.manager().SetCapture();
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd()), hit, result));
    EXPECT_TRUE(Log::Get().Lines(L"E ").empty());
    window.manager().ReleaseCapture();
}

// --- keyboard ---

TEST_F(Input, KeysGoToTheFocusAndKeyUpToTheKeyControl)
{
    InstallABC();
    window.manager().SetFocus(a);
    Log::Get().Clear();
    Post(WM_KEYDOWN, 'K', 0x00250001);
    EXPECT_EQ(window.manager().GetKeyControl(), a);
    Post(WM_CHAR, L'k', 0x00250001);
    window.manager().SetFocus(b);
    Log::Get().Clear();
    Post(WM_KEYUP, 'K', 0xC0250001);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 4 a"}));
    EXPECT_EQ(window.manager().GetKeyControl(), nullptr);
    const auto up = Log::Get().Find(L"E a 4");
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].event.keyChar, L'K');
    EXPECT_EQ(up[0].event.lParam, static_cast<LPARAM>(0xC0250001));
}

TEST_F(Input, KeyDownAndCharCarryTheCharacter)
{
    InstallABC();
    window.manager().SetFocus(a);
    Log::Get().Clear();
    Post(WM_KEYDOWN, 'K', 0x00250001);
    auto down = Log::Get().Find(L"E a 3");
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].event.keyChar, L'K');
    // TranslateMessage made the WM_CHAR of the posted key down.
    const auto chars = Log::Get().Find(L"E a 5");
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].event.keyChar, L'k');
}

TEST_F(Input, TabAndShiftTabWalkTheTabStopsAndWrap)
{
    auto* d = new TestControl(L"d", L"TestUI", ControlFlagTabStop);
    auto* e = new TestControl(L"e", L"TestUI", ControlFlagTabStop);
    auto* f = new TestControl(L"f", L"TestUI", ControlFlagTabStop);
    e->SetVisible(false);
    f->SetEnabled(false);
    a = new TestControl(L"a", L"TestUI", ControlFlagTabStop);
    b = new TestControl(L"b");
    root = InstallRoot(window, {{a, kRectA}, {b, kRectB}, {d, kRectC}, {e, {0, 0, 5, 5}}, {f, {5, 5, 9, 9}}});
    Pump(30);
    // The first layout gave the first tab stop the focus.
    ASSERT_EQ(window.manager().GetFocus(), a);
    Log::Get().Clear();
    Post(WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_EQ(window.manager().GetFocus(), d);
    Post(WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_EQ(window.manager().GetFocus(), a);
    EXPECT_EQ(Log::Get().Lines(L"N "),
              (Lines{L"N killfocus a", L"N setfocus d", L"N killfocus d", L"N setfocus a"}));
    // PreTranslate consumed the Tab: no key event and no character reached a control.
    EXPECT_TRUE(Log::Get().Lines(L"E a 3").empty());
    EXPECT_TRUE(Log::Get().Lines(L"E d 5").empty());

    zvtest::SetModifiers(true);
    Post(WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_EQ(window.manager().GetFocus(), d);
    Post(WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_EQ(window.manager().GetFocus(), a);
}

TEST_F(Input, TabStaysWithARichEditThatWantsIt)
{
    for (const bool wantTab : {true, false}) {
        Log::Get().Clear();
        auto* rich = new ZvUI::CRichEditUI;
        rich->SetWantTab(wantTab);
        a = new TestControl(L"a", L"TestUI", ControlFlagTabStop);
        root = InstallRoot(window, {{rich, kRectA}, {a, kRectB}});
        Pump(30);
        window.manager().SetFocus(rich);
        Log::Get().Clear();
        MSG msg = {window.hwnd(), WM_KEYDOWN, VK_TAB, 0x000F0001};
        EXPECT_EQ(CPaintManagerUI::PreTranslate(&msg), !wantTab);
        if (wantTab) {
            EXPECT_EQ(window.manager().GetFocus(), rich);
        } else {
            EXPECT_EQ(window.manager().GetFocus(), a);
        }
        Pump(30);
    }
}

TEST_F(Input, AltShortcutOfALabelFocusesAndActivatesTheNextControl)
{
    auto* edit = new TestControl(L"edit", L"EditUI");
    auto* label = new TestControl(L"label", L"LabelUI");
    auto* button = new TestControl(L"button", L"ButtonUI");
    label->SetShortcut(L'N');
    button->SetShortcut(L'x');
    // The search looks at the last child first (top first): the label, then the edit.
    root = InstallRoot(window, {{button, kRectC}, {edit, kRectA}, {label, kRectB}});
    Pump(30);
    Log::Get().Clear();
    Post(WM_SYSCHAR, L'n', 0x20310001);
    EXPECT_EQ(window.manager().GetFocus(), edit);
    EXPECT_EQ(Log::Get().Lines(L"A "), (Lines{L"A edit"}));
    Post(WM_SYSCHAR, L'X', 0x202D0001);
    EXPECT_EQ(window.manager().GetFocus(), button);
    EXPECT_EQ(Log::Get().Lines(L"A "), (Lines{L"A edit", L"A button"}));
    MSG none = {window.hwnd(), WM_SYSCHAR, L'q', 0x20100001};
    EXPECT_FALSE(CPaintManagerUI::PreTranslate(&none));
}

TEST_F(Input, SysKeyDownGoesToTheFocusWithoutSender)
{
    InstallABC();
    window.manager().SetFocus(b);
    Log::Get().Clear();
    MSG msg = {window.hwnd(), WM_SYSKEYDOWN, 'F', 0x20210001};
    EXPECT_FALSE(CPaintManagerUI::PreTranslate(&msg));
    const auto key = Log::Get().Find(L"E b 6");
    ASSERT_EQ(key.size(), 1u);
    EXPECT_EQ(key[0].event.sender, nullptr);
    EXPECT_EQ(key[0].event.keyChar, L'F');
}

// --- filters, translators and the pre-translation walk ---

namespace {

class RecordingFilter : public IMessageFilterUI {
public:
    RecordingFilter(std::wstring name, UINT handles, LRESULT answer = 0)
        : m_name(std::move(name)), m_handles(handles), m_answer(answer)
    {
    }
    LRESULT MessageHandler(UINT msg, WPARAM, LPARAM, bool& handled) override
    {
        if (msg == m_watch) {
            zvtest::Record record;
            record.line = L"M " + m_name;
            Log::Get().Add(record);
        }
        if (msg == m_handles)
            handled = true;
        return m_answer;
    }
    UINT m_watch = WM_KEYDOWN;

private:
    std::wstring m_name;
    UINT m_handles;
    LRESULT m_answer;
};

class RecordingTranslator : public ITranslateAccelerator {
public:
    RecordingTranslator(std::wstring name, LRESULT answer) : m_name(std::move(name)), m_answer(answer) {}
    LRESULT TranslateAccelerator(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            zvtest::Record record;
            record.line = L"M " + m_name;
            Log::Get().Add(record);
        }
        return m_answer;
    }

private:
    std::wstring m_name;
    LRESULT m_answer;
};

} // namespace

TEST_F(Input, MessageFiltersRunInOrderAndTheFirstThatHandlesEndsTheMessage)
{
    InstallABC();
    RecordingFilter first(L"first", 0);
    RecordingFilter second(L"second", WM_MOUSEMOVE, 42);
    RecordingFilter third(L"third", 0);
    first.m_watch = second.m_watch = third.m_watch = WM_MOUSEMOVE;
    window.manager().AddMessageFilter(&first);
    window.manager().AddMessageFilter(&second);
    window.manager().AddMessageFilter(&third);
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, At(30, 40)), 42);
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"M first", L"M second"}));
    // The handled move still updates the mouse point.
    EXPECT_EQ(window.manager().GetMousePos().x, 30);
    EXPECT_EQ(window.manager().GetMousePos().y, 40);

    EXPECT_TRUE(window.manager().RemoveMessageFilter(&second));
    EXPECT_FALSE(window.manager().RemoveMessageFilter(&second));
    Log::Get().Clear();
    ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, At(20, 20));
    EXPECT_EQ(Log::Get().Lines(), (Lines{L"M first", L"M third", L"E a 11 a", L"E a 9 a"}));
    window.manager().RemoveMessageFilter(&first);
    window.manager().RemoveMessageFilter(&third);
}

TEST_F(Input, TranslatorsRunBeforeTheEarlyFiltersAndCanConsume)
{
    InstallABC();
    RecordingTranslator t1(L"t1", 1);
    RecordingTranslator t2(L"t2", 1);
    RecordingFilter e1(L"e1", 0);
    RecordingFilter e2(L"e2", 0);
    window.manager().AddAcceleratorTranslator(&t1);
    window.manager().AddAcceleratorTranslator(&t2);
    window.manager().AddEarlyMessageFilter(&e1);
    window.manager().AddEarlyMessageFilter(&e2);
    window.manager().SetFocus(a);
    Log::Get().Clear();
    Post(WM_KEYDOWN, 'Z', 0x002C0001);
    EXPECT_EQ(Log::Get().Lines(L"M "), (Lines{L"M t1", L"M t2", L"M e1", L"M e2"}));
    EXPECT_EQ(Log::Get().Lines(L"E a 3"), (Lines{L"E a 3 a"}));

    // A translator answering 0 consumes the message: the window never sees it.
    RecordingTranslator eater(L"eater", 0);
    window.manager().RemoveAcceleratorTranslator(&t2);
    window.manager().AddAcceleratorTranslator(&eater);
    Log::Get().Clear();
    window.seen.clear();
    Post(WM_KEYDOWN, 'Z', 0x002C0001);
    EXPECT_EQ(Log::Get().Lines(L"M "), (Lines{L"M t1", L"M eater"}));
    EXPECT_TRUE(Log::Get().Lines(L"E ").empty());
    for (UINT msg : window.seen)
        EXPECT_NE(msg, static_cast<UINT>(WM_KEYDOWN));

    // An early filter that handles the message consumes it too.
    window.manager().RemoveAcceleratorTranslator(&eater);
    RecordingFilter eaterFilter(L"early-eater", WM_KEYDOWN);
    window.manager().RemoveEarlyMessageFilter(&e1);
    window.manager().AddEarlyMessageFilter(&eaterFilter);
    Log::Get().Clear();
    MSG msg = {window.hwnd(), WM_KEYDOWN, 'Z', 0x002C0001};
    EXPECT_TRUE(CPaintManagerUI::PreTranslate(&msg));
    EXPECT_EQ(Log::Get().Lines(L"M "), (Lines{L"M t1", L"M e2", L"M early-eater"}));
    window.manager().RemoveAcceleratorTranslator(&t1);
    window.manager().RemoveEarlyMessageFilter(&e2);
    window.manager().RemoveEarlyMessageFilter(&eaterFilter);
}

TEST(InputPreTranslate, NativeChildAndNestedChildManagersPreviewInListOrder)
{
    Log::Get().Clear();
    TestWindow top(100, 100, 400, 300, WS_POPUP);
    TestWindow middle(0, 0, 300, 200, WS_CHILD, top.hwnd());
    TestWindow inner(0, 0, 200, 100, WS_CHILD, middle.hwnd());
    RecordingTranslator tTop(L"top", 1);
    RecordingTranslator tMiddle(L"middle", 1);
    RecordingTranslator tInner(L"inner", 1);
    top.manager().AddAcceleratorTranslator(&tTop);
    middle.manager().AddAcceleratorTranslator(&tMiddle);
    inner.manager().AddAcceleratorTranslator(&tInner);

    // A native child of the inner window: every manager up the parent chain, in list order.
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, inner.hwnd(), nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    MSG msg = {edit, WM_KEYDOWN, 'Z', 0x002C0001};
    EXPECT_FALSE(CPaintManagerUI::PreTranslate(&msg));
    EXPECT_EQ(Log::Get().Lines(L"M "), (Lines{L"M top", L"M middle", L"M inner"}));

    // The inner manager's own (child) window: its translators run once per ancestor.
    Log::Get().Clear();
    msg.hwnd = inner.hwnd();
    EXPECT_FALSE(CPaintManagerUI::PreTranslate(&msg));
    EXPECT_EQ(Log::Get().Lines(L"M "), (Lines{L"M top", L"M middle", L"M inner", L"M inner"}));

    // A top-level window: only its own manager.
    Log::Get().Clear();
    msg.hwnd = top.hwnd();
    EXPECT_FALSE(CPaintManagerUI::PreTranslate(&msg));
    EXPECT_EQ(Log::Get().Lines(L"M "), (Lines{L"M top"}));
    ::DestroyWindow(edit);
}

// --- child window notifications ---

namespace {

std::vector<UINT> g_reflected;

LRESULT CALLBACK ReflectProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (msg >= 0x2000 && msg < 0x3000) {
        g_reflected.push_back(msg);
        if (msg == 0x2000 + WM_COMMAND) {
            EXPECT_EQ(LOWORD(wParam), 77);
            EXPECT_EQ(HIWORD(wParam), BN_CLICKED);
            EXPECT_EQ(reinterpret_cast<HWND>(lParam), hwnd);
        }
        return 5;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(Input, NativeChildGetsItsCommandAndNotifyBack)
{
    InstallABC();
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"native", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 300, 200, 80,
                                    30, window.hwnd(), reinterpret_cast<HMENU>(77), ::GetModuleHandleW(nullptr),
                                    nullptr);
    ASSERT_NE(button, nullptr);
    ::SetWindowSubclass(button, ReflectProc, 1, 0);
    g_reflected.clear();
    // A real click of the native button: BN_CLICKED reaches the window as WM_COMMAND.
    ::SendMessageW(button, BM_CLICK, 0, 0);
    Pump(30);
    EXPECT_EQ(g_reflected, (std::vector<UINT>{0x2000 + WM_COMMAND}));

    NMHDR header = {button, 77, NM_CLICK};
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 5);
    LRESULT result = 0;
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_COMMAND, MAKEWPARAM(77, BN_CLICKED),
                                                     reinterpret_cast<LPARAM>(button), result));
    EXPECT_EQ(result, 5);
    // A menu command (no child window) is left to the default processing.
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_COMMAND, 5, 0, result));
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_NOTIFY, 5, 0, result));
    ::RemoveWindowSubclass(button, ReflectProc, 1);
    ::DestroyWindow(button);
}

// --- window-level messages ---

TEST_F(Input, CloseSendsLeaveAndButtonUpAndClearsFocus)
{
    InstallABC();
    MoveMouse(window, 20, 20);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    ASSERT_EQ(window.manager().GetFocus(), a);
    Log::Get().Clear();
    window.after = [](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return msg == WM_CLOSE;
    };
    ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E a 10 a", L"E a 14 a", L"E a 23 -"}));
    EXPECT_EQ(window.manager().GetFocus(), nullptr);
    EXPECT_TRUE(::IsWindow(window.hwnd()));
}

TEST_F(Input, SizeTellsTheFocusAndMarksTheRoot)
{
    InstallABC();
    window.manager().SetFocus(b);
    Log::Get().Clear();
    ::SetWindowPos(window.hwnd(), nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Log::Get().Lines(L"E "), (Lines{L"E b 25 b"}));
    EXPECT_TRUE(root->IsUpdateNeeded());
    EXPECT_TRUE(window.manager().IsUpdateNeeded());
}

TEST_F(Input, EraseBackgroundIsHandled)
{
    LRESULT result = 0;
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_ERASEBKGND, 0, 0, result));
    EXPECT_EQ(result, 1);
    CPaintManagerUI detached;
    EXPECT_FALSE(detached.HandleWindowMessage(WM_ERASEBKGND, 0, 0, result));
}

TEST_F(Input, MinMaxInfoUsesTheStoredValuesUnscaled)
{
    window.manager().GetDpiHelper()->SetScale(144);
    window.manager().SetMinInfo(200, 150);
    window.manager().SetMaxInfo(600, 0);
    MINMAXINFO info = {};
    info.ptMaxTrackSize = {5000, 5000};
    info.ptMaxSize = {4000, 4000};
    LRESULT result = 0;
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), result));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, 600);
    EXPECT_EQ(info.ptMaxSize.x, 600);
    EXPECT_EQ(info.ptMaxTrackSize.y, 5000);
    EXPECT_EQ(info.ptMaxSize.y, 4000);
    window.manager().GetDpiHelper()->SetScale(96);
}

TEST_F(Input, LayeredWindowAnswersItsFrameMessages)
{
    window.manager().SetLayered(true);
    ASSERT_TRUE(window.manager().IsLayered());
    LRESULT result = 7;
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_NCACTIVATE, FALSE, 0, result));
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_NCACTIVATE, TRUE, 0, result));
    EXPECT_EQ(result, 0);
    result = 7;
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_NCPAINT, 1, 0, result));
    EXPECT_EQ(result, 0);
    window.manager().SetLayered(false);
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_NCPAINT, 1, 0, result));
}

TEST_F(Input, RunMessageLoopEndsOnQuitWithItsResult)
{
    ::PostQuitMessage(0);
    EXPECT_EQ(CPaintManagerUI::RunMessageLoop(), 0);
}

TEST_F(Input, KeyStateFlagsFollowTheThreadsKeyState)
{
    zvtest::SetModifiers(true, true, false);
    EXPECT_EQ(CPaintManagerUI::GetKeyStateFlags(), KeyStateShift | KeyStateControl);
    zvtest::SetModifiers(false, false, true);
    EXPECT_EQ(CPaintManagerUI::GetKeyStateFlags(), KeyStateAlt);
    zvtest::SetModifiers(false);
    EXPECT_EQ(CPaintManagerUI::GetKeyStateFlags(), 0);
}

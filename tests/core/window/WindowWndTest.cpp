// Native window binding under a real window manager: classes, procedures, modal loop, placement.
#include "window/WindowWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <stdexcept>
#include <vector>

#include "manager/PaintManagerUI.h"

using ZvUI::CWindowWnd;

namespace {

constexpr UINT kSendClose = WM_APP + 10;
constexpr UINT kCheckOwner = WM_APP + 11;

class PlainWindow : public CWindowWnd {
public:
    LPCWSTR GetWindowClassName() const override { return L"ZvTestPlainWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(msg);
        if (msg == WM_CREATE)
            handleAtCreate = GetHandle();
        if (msg == kSendClose) {
            SendMessage(WM_CLOSE, 9, 0);
            return 0;
        }
        if (msg == kCheckOwner) {
            ownerEnabledDuringModal = ::IsWindowEnabled(::GetWindow(GetHandle(), GW_OWNER)) != FALSE;
            Close(3);
            return 0;
        }
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    }

    void OnFinalMessage(HWND window) override
    {
        finalWindow = window;
        handleAtFinal = GetHandle();
    }

    std::vector<UINT> messages;
    HWND handleAtCreate = nullptr;
    HWND finalWindow = nullptr;
    HWND handleAtFinal = reinterpret_cast<HWND>(1);
    bool ownerEnabledDuringModal = true;
};

class EditSuperclass : public CWindowWnd {
public:
    LPCWSTR GetWindowClassName() const override { return L"ZvTestEdit"; }
    LPCWSTR GetSuperClassName() const override { return L"EDIT"; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_SETTEXT)
            ++setTextSeen;
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { finalCalled = true; }

    int setTextSeen = 0;
    bool finalCalled = false;
};

class MissingSuperclass : public CWindowWnd {
public:
    LPCWSTR GetWindowClassName() const override { return L"ZvTestNoSuper"; }
    LPCWSTR GetSuperClassName() const override { return L"ZvNoSuchClassAnywhere"; }
};

// Refuses its creation and, as self-deleting wrappers do, ends its life on the final message;
// the storage is then filled with a pattern so any later write into it shows.
class RefusedSelfDeleting : public CWindowWnd {
public:
    static constexpr unsigned char kFreed = 0xDD;

    explicit RefusedSelfDeleting(bool superclass) : m_superclass(superclass) {}
    LPCWSTR GetWindowClassName() const override
    {
        return m_superclass ? L"ZvTestRefusedEdit" : L"ZvTestRefusedPlain";
    }
    LPCWSTR GetSuperClassName() const override { return m_superclass ? L"EDIT" : nullptr; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_CREATE)
            return -1;
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override
    {
        void* storage = this;
        this->~RefusedSelfDeleting();
        std::memset(storage, kFreed, sizeof(RefusedSelfDeleting));
    }

private:
    bool m_superclass;
};

class Subclasser : public CWindowWnd {
public:
    LPCWSTR GetWindowClassName() const override { return L"unused"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_APP + 20)
            return 42;
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { finalCalled = true; }
    bool finalCalled = false;
};

// Runs a second modal window over the same owner from inside its own modal loop.
class OuterDialog : public PlainWindow {
public:
    static constexpr UINT kRunInner = WM_APP + 12;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == kRunInner) {
            inner->PostMessage(kCheckOwner);
            innerResult = inner->RunModal();
            ownerEnabledAfterInner = ::IsWindowEnabled(::GetWindow(GetHandle(), GW_OWNER)) != FALSE;
            Close(4);
            return 0;
        }
        return PlainWindow::OnMessage(msg, wParam, lParam);
    }

    PlainWindow* inner = nullptr;
    UINT innerResult = 0;
    bool ownerEnabledAfterInner = true;
};

// A modal window that makes the system report a left press to its disabled owner at a point of
// its own, as Wine does when its window stack briefly holds the owner above the box.
class PressedOverOwner : public PlainWindow {
public:
    // Aims the pointer, then has a message read from there: the press is reported with it.
    static constexpr UINT kAim = WM_APP + 15;
    static constexpr UINT kPressOnOwner = WM_APP + 16;
    // Presses the owner outside the window for real and moves the pointer onto the window
    // before the press is read, as a quick user does while the program is busy.
    static constexpr UINT kPressAndMoveOn = WM_APP + 17;
    static constexpr UINT kFinish = WM_APP + 18;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == kAim) {
            const POINT centre = Centre();
            ::SetCursorPos(centre.x, centre.y);
            PostMessage(kPressOnOwner);
            return 0;
        }
        if (msg == kPressOnOwner) {
            const HWND owner = ::GetWindow(GetHandle(), GW_OWNER);
            ::SendMessageW(owner, WM_SETCURSOR, reinterpret_cast<WPARAM>(owner), MAKELPARAM(HTERROR, WM_LBUTTONDOWN));
            Close(6);
            return 0;
        }
        if (msg == kPressAndMoveOn) {
            const HWND owner = ::GetWindow(GetHandle(), GW_OWNER);
            RECT ownerRect = {};
            ::GetWindowRect(owner, &ownerRect);
            const POINT outside = {ownerRect.right - 20, ownerRect.bottom - 20};
            const int screenW = ::GetSystemMetrics(SM_CXSCREEN) - 1;
            const int screenH = ::GetSystemMetrics(SM_CYSCREEN) - 1;
            INPUT inputs[3] = {};
            for (INPUT& input : inputs) {
                input.type = INPUT_MOUSE;
                input.mi.dx = outside.x * 65535 / screenW;
                input.mi.dy = outside.y * 65535 / screenH;
            }
            inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
            inputs[2].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
            ::SendInput(3, inputs, sizeof(INPUT));
            ::Sleep(50); // busy: the press waits in the queue
            const POINT centre = Centre();
            ::SetCursorPos(centre.x, centre.y);
            ::SetTimer(GetHandle(), 1, 300, nullptr);
            return 0;
        }
        if (msg == WM_TIMER) {
            ::KillTimer(GetHandle(), 1);
            Close(7);
            return 0;
        }
        if (msg == WM_LBUTTONDOWN)
            pressedAt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        return PlainWindow::OnMessage(msg, wParam, lParam);
    }

    POINT Centre() const
    {
        RECT rc = {};
        ::GetWindowRect(GetHandle(), &rc);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }

    POINT pressedAt = {-1, -1};
};

// Owns itself, as the program's boxes and pop-ups do; its handlers read members after ending
// their own window. The storage is poisoned once freed, so a read of freed memory shows.
class SelfOwned : public CWindowWnd {
public:
    static constexpr UINT kEndInside = WM_APP + 13;
    static constexpr UINT kEndNested = WM_APP + 14;
    static constexpr LRESULT kMarker = 0x5A17;

    explicit SelfOwned(int* freed) : m_freed(freed) {}
    ~SelfOwned() { ++*m_freed; }
    LPCWSTR GetWindowClassName() const override { return L"ZvTestSelfOwned"; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == kEndInside) {
            ::DestroyWindow(m_hWnd);
            return m_marker;
        }
        if (msg == kEndNested) {
            const LRESULT inner = ::SendMessageW(m_hWnd, kEndInside, 0, 0);
            *static_cast<int*>(reinterpret_cast<void*>(lParam)) = *m_freed;
            return inner == m_marker ? m_marker : 0;
        }
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { DeleteWhenUnwound(this); }

private:
    LRESULT m_marker = kMarker;
    int* m_freed;
};

// Owns itself and counts its final messages and its frees; each mode ends its creation, or its
// life, in another way.
class Lifecycle : public CWindowWnd {
public:
    enum class Mode { Normal, UnknownSuperclass, RefuseNcCreate, RefuseCreate, DestroyInCreate, ThrowInCreate };
    static constexpr UINT kReuse = WM_APP + 30;
    static constexpr UINT kAsk = WM_APP + 31;
    static constexpr UINT kThrow = WM_APP + 32;
    static constexpr UINT kEndAndThrow = WM_APP + 33;
    static constexpr LRESULT kMarker = 0x7E57;

    Lifecycle(Mode mode, int* finals, int* freed) : m_mode(mode), m_finals(finals), m_freed(freed) {}
    ~Lifecycle() { ++*m_freed; }
    LPCWSTR GetWindowClassName() const override { return L"ZvTestLifecycle"; }
    LPCWSTR GetSuperClassName() const override
    {
        return m_mode == Mode::UnknownSuperclass ? L"ZvNoSuchClassAnywhere" : nullptr;
    }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case WM_NCCREATE:
            if (m_mode == Mode::RefuseNcCreate)
                return FALSE;
            break;
        case WM_CREATE:
            if (m_mode == Mode::RefuseCreate)
                return -1;
            if (m_mode == Mode::DestroyInCreate) {
                ::DestroyWindow(m_hWnd);
                return 0;
            }
            if (m_mode == Mode::ThrowInCreate)
                throw std::runtime_error("no window today");
            break;
        case kReuse:
            // Ends its window and takes a new one, all inside this handler.
            ::DestroyWindow(m_hWnd);
            *reinterpret_cast<HWND*>(lParam) = Create(nullptr, L"again", WS_POPUP, 0, 0, 0, 50, 50);
            return m_marker;
        case kAsk:
            return m_marker;
        case kThrow:
            throw std::runtime_error("handler failed");
        case kEndAndThrow:
            ::DestroyWindow(m_hWnd);
            throw std::bad_alloc();
        default:
            break;
        }
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override
    {
        ++*m_finals;
        DeleteWhenUnwound(this);
    }

private:
    Mode m_mode;
    LRESULT m_marker = kMarker;
    int* m_finals;
    int* m_freed;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ZvUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
};

// Pumps what is queued so posted messages are handled.
void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

} // namespace

TEST_F(WindowTest, RegisteredClassBindsTheObjectFromTheFirstMessage)
{
    PlainWindow w;
    HWND hwnd = w.Create(nullptr, L"plain", WS_OVERLAPPEDWINDOW, 0, 10, 10, 200, 100);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(w.GetHandle(), hwnd);
    EXPECT_EQ(static_cast<HWND>(w), hwnd);
    EXPECT_EQ(w.handleAtCreate, hwnd);

    wchar_t className[64] = {};
    ::GetClassNameW(hwnd, className, 64);
    EXPECT_STREQ(className, L"ZvTestPlainWnd");
    EXPECT_EQ(static_cast<UINT>(::GetClassLongPtrW(hwnd, GCL_STYLE)), static_cast<UINT>(CS_DBLCLKS));
    // The object pointer is kept pointer-sized in the user data.
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&w));

    EXPECT_EQ(w.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"renamed")), TRUE);
    wchar_t title[32] = {};
    ::GetWindowTextW(hwnd, title, 32);
    EXPECT_STREQ(title, L"renamed");

    // A second window of the class exists already: registration is skipped, not failed.
    PlainWindow second;
    HWND hwnd2 = second.Create(nullptr, L"second", WS_POPUP, 0);
    ASSERT_NE(hwnd2, nullptr);
    EXPECT_NE(hwnd2, hwnd);

    ::DestroyWindow(hwnd);
    ::DestroyWindow(hwnd2);
    // WM_NCDESTROY goes to the previous procedure only; the final call comes after the unbind.
    EXPECT_EQ(w.finalWindow, hwnd);
    EXPECT_EQ(w.handleAtFinal, nullptr);
    EXPECT_EQ(w.GetHandle(), nullptr);
    EXPECT_NE(std::find(w.messages.begin(), w.messages.end(), static_cast<UINT>(WM_DESTROY)),
              w.messages.end());
    EXPECT_EQ(std::find(w.messages.begin(), w.messages.end(), static_cast<UINT>(WM_NCDESTROY)),
              w.messages.end());
    EXPECT_EQ(second.finalWindow, hwnd2);
}

TEST_F(WindowTest, SuperclassKeepsTheSystemClassBehaviour)
{
    WNDCLASSEXW edit = {};
    edit.cbSize = sizeof(edit);
    ASSERT_TRUE(::GetClassInfoExW(nullptr, L"EDIT", &edit));

    EditSuperclass w;
    HWND hwnd = w.Create(nullptr, L"start", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 0, 120, 24);
    ASSERT_NE(hwnd, nullptr);
    WNDCLASSEXW ours = {};
    ours.cbSize = sizeof(ours);
    ASSERT_TRUE(::GetClassInfoExW(ZvUI::CPaintManagerUI::GetModule(), L"ZvTestEdit", &ours));
    EXPECT_EQ(ours.hCursor, edit.hCursor);
    EXPECT_EQ(ours.style, edit.style);
    EXPECT_EQ(ours.cbWndExtra, edit.cbWndExtra);

    // The object lives in a window property, not in the class's own storage.
    EXPECT_EQ(::GetPropW(hwnd, L"WndX"), static_cast<HANDLE>(&w));

    // Unhandled messages reach the edit procedure through the default OnMessage.
    ::SetWindowTextW(hwnd, L"typed");
    EXPECT_EQ(w.setTextSeen, 1);
    wchar_t text[32] = {};
    ::GetWindowTextW(hwnd, text, 32);
    EXPECT_STREQ(text, L"typed");
    EXPECT_EQ(::SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0) > 0, true);

    ::DestroyWindow(hwnd);
    EXPECT_TRUE(w.finalCalled);
    EXPECT_EQ(w.GetHandle(), nullptr);
}

TEST_F(WindowTest, UnknownSuperclassFailsCreate)
{
    MissingSuperclass w;
    EXPECT_EQ(w.Create(nullptr, L"x", WS_POPUP, 0), nullptr);
    EXPECT_EQ(w.GetHandle(), nullptr);
}

TEST_F(WindowTest, CreationRefusedAfterItsFirstMessageLeavesTheEndedObjectAlone)
{
    for (const bool superclass : {false, true}) {
        alignas(RefusedSelfDeleting) unsigned char storage[sizeof(RefusedSelfDeleting)];
        auto* w = new (storage) RefusedSelfDeleting(superclass);
        EXPECT_EQ(w->Create(nullptr, L"refused", WS_POPUP, 0), nullptr);
        const bool untouched = std::all_of(std::begin(storage), std::end(storage), [](unsigned char b) {
            return b == RefusedSelfDeleting::kFreed;
        });
        EXPECT_TRUE(untouched) << "written after its final message (superclass " << superclass << ")";
    }
}

TEST_F(WindowTest, SubclassAndUnsubclassSwapTheProcedure)
{
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"s", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    const LONG_PTR original = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    EXPECT_EQ(::SendMessageW(hwnd, WM_APP + 20, 0, 0), 0);

    Subclasser s;
    EXPECT_EQ(s.Subclass(hwnd), hwnd);
    EXPECT_EQ(s.GetHandle(), hwnd);
    EXPECT_EQ(::SendMessageW(hwnd, WM_APP + 20, 0, 0), 42);
    // Default handling still reaches the static control's own procedure.
    ::SetWindowTextW(hwnd, L"t");
    wchar_t text[8] = {};
    ::GetWindowTextW(hwnd, text, 8);
    EXPECT_STREQ(text, L"t");

    s.Unsubclass();
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(::SendMessageW(hwnd, WM_APP + 20, 0, 0), 0);

    // Subclassed windows unbind at WM_NCDESTROY too.
    Subclasser again;
    ASSERT_EQ(again.Subclass(hwnd), hwnd);
    ::DestroyWindow(hwnd);
    EXPECT_TRUE(again.finalCalled);
    EXPECT_EQ(again.GetHandle(), nullptr);

    Subclasser dead;
    EXPECT_EQ(dead.Subclass(hwnd), nullptr);
    EXPECT_EQ(dead.GetHandle(), nullptr);
}

TEST_F(WindowTest, RunModalReturnsTheCodeGivenToClose)
{
    PlainWindow w;
    ASSERT_NE(w.Create(nullptr, L"modal", WS_POPUP, 0, 0, 0, 100, 100), nullptr);
    w.Close(5);
    EXPECT_EQ(w.RunModal(), 5u);
    EXPECT_EQ(w.GetHandle(), nullptr);
    EXPECT_EQ(w.finalWindow != nullptr, true);
}

TEST_F(WindowTest, SentCloseIsNotSeenByTheModalLoop)
{
    PlainWindow w;
    ASSERT_NE(w.Create(nullptr, L"modal", WS_POPUP, 0, 0, 0, 100, 100), nullptr);
    w.PostMessage(kSendClose);
    EXPECT_EQ(w.RunModal(), 0u);
    EXPECT_EQ(w.GetHandle(), nullptr);
}

TEST_F(WindowTest, ModalLoopDisablesAndRestoresTheOwner)
{
    PlainWindow owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 300), nullptr);
    PlainWindow dialog;
    ASSERT_NE(dialog.Create(owner.GetHandle(), L"dialog", WS_POPUP, 0, 20, 20, 100, 100), nullptr);
    dialog.PostMessage(kCheckOwner);
    EXPECT_EQ(dialog.RunModal(), 3u);
    EXPECT_FALSE(dialog.ownerEnabledDuringModal);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHandle()));
    ::DestroyWindow(owner.GetHandle());
}

TEST_F(WindowTest, TheOwnerStaysDisabledUntilTheLastModalLoopOverItEnds)
{
    PlainWindow owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 300), nullptr);
    OuterDialog outer;
    ASSERT_NE(outer.Create(owner.GetHandle(), L"outer", WS_POPUP, 0, 20, 20, 100, 100), nullptr);
    PlainWindow inner;
    ASSERT_NE(inner.Create(owner.GetHandle(), L"inner", WS_POPUP, 0, 40, 40, 100, 100), nullptr);
    outer.inner = &inner;
    outer.PostMessage(OuterDialog::kRunInner);
    EXPECT_EQ(outer.RunModal(), 4u);
    EXPECT_EQ(outer.innerResult, 3u);
    EXPECT_FALSE(inner.ownerEnabledDuringModal);
    EXPECT_FALSE(outer.ownerEnabledAfterInner) << "the inner box ended and freed the owner under the outer one";
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHandle()));
    ::DestroyWindow(owner.GetHandle());
}

TEST_F(WindowTest, APressReportedToTheDisabledOwnerOverItsModalWindowReachesThatWindow)
{
    PlainWindow owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 300), nullptr);
    PressedOverOwner dialog;
    ASSERT_NE(dialog.Create(owner.GetHandle(), L"dialog", WS_POPUP, 0, 40, 40, 100, 80), nullptr);
    dialog.PostMessage(PressedOverOwner::kAim);
    EXPECT_EQ(dialog.RunModal(), 6u);
    EXPECT_EQ(dialog.pressedAt.x, 50) << "the press was dropped with the disabled owner";
    EXPECT_EQ(dialog.pressedAt.y, 40);
    EXPECT_TRUE(std::find(owner.messages.begin(), owner.messages.end(), static_cast<UINT>(WM_LBUTTONDOWN)) ==
                owner.messages.end());
    ::DestroyWindow(owner.GetHandle());
}

TEST_F(WindowTest, APressOnTheDisabledOwnerOutsideItsModalWindowStaysThereWhenThePointerMovesOn)
{
    PlainWindow owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 300), nullptr);
    PressedOverOwner dialog;
    ASSERT_NE(dialog.Create(owner.GetHandle(), L"dialog", WS_POPUP, 0, 40, 40, 100, 80), nullptr);
    dialog.PostMessage(PressedOverOwner::kPressAndMoveOn);
    EXPECT_EQ(dialog.RunModal(), 7u);
    EXPECT_EQ(dialog.pressedAt.x, -1) << "the window took a press made outside it";
    ::DestroyWindow(owner.GetHandle());
}

TEST_F(WindowTest, AWindowThatOwnsItselfIsFreedOnlyOnceItsHandlersHaveReturned)
{
    int freed = 0;
    // Ended by its own handler: alive until that handler returns.
    auto* first = new SelfOwned(&freed);
    HWND window = first->Create(nullptr, L"self", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::SendMessageW(window, SelfOwned::kEndInside, 0, 0), SelfOwned::kMarker);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(freed, 1);

    // Ended two handlers deep: alive until the outer one returns.
    auto* second = new SelfOwned(&freed);
    window = second->Create(nullptr, L"self", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(window, nullptr);
    int freedInside = -1;
    EXPECT_EQ(::SendMessageW(window, SelfOwned::kEndNested, 0, reinterpret_cast<LPARAM>(&freedInside)),
              SelfOwned::kMarker);
    EXPECT_EQ(freedInside, 1);
    EXPECT_EQ(freed, 2);

    // Ended from outside: freed at once.
    auto* third = new SelfOwned(&freed);
    window = third->Create(nullptr, L"self", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(window, nullptr);
    ::DestroyWindow(window);
    EXPECT_EQ(freed, 3);
}

TEST_F(WindowTest, AnObjectGivenANewWindowInsideItsOwnHandlerLivesOnWithThatWindow)
{
    int finals = 0;
    int freed = 0;
    auto* w = new Lifecycle(Lifecycle::Mode::Normal, &finals, &freed);
    const HWND first = w->Create(nullptr, L"first", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(first, nullptr);
    HWND second = nullptr;
    EXPECT_EQ(::SendMessageW(first, Lifecycle::kReuse, 0, reinterpret_cast<LPARAM>(&second)), Lifecycle::kMarker);
    EXPECT_FALSE(::IsWindow(first));
    ASSERT_TRUE(::IsWindow(second));
    EXPECT_EQ(w->GetHandle(), second);
    ASSERT_EQ(freed, 0) << "freed while its new window lives";
    EXPECT_EQ(::SendMessageW(second, Lifecycle::kAsk, 0, 0), Lifecycle::kMarker);
    ::DestroyWindow(second);
    EXPECT_EQ(finals, 2);
    EXPECT_EQ(freed, 1);
}

// However a creation fails, the object gets one final message before Create returns null, and
// an object that owns itself is freed by it: its caller has nothing left to free.
TEST_F(WindowTest, AFailedCreateGivesOneFinalMessageAndTheObjectFreesItself)
{
    using Mode = Lifecycle::Mode;
    const struct {
        Mode mode;
        const char* name;
    } cases[] = {{Mode::UnknownSuperclass, "class not registered"},
                 {Mode::RefuseNcCreate, "WM_NCCREATE refused"},
                 {Mode::RefuseCreate, "WM_CREATE refused"},
                 {Mode::DestroyInCreate, "destroyed in WM_CREATE"},
                 {Mode::ThrowInCreate, "exception in WM_CREATE"}};
    for (const auto& c : cases) {
        int finals = 0;
        int freed = 0;
        auto* w = new Lifecycle(c.mode, &finals, &freed);
        EXPECT_EQ(w->Create(nullptr, L"failing", WS_POPUP, 0, 0, 0, 50, 50), nullptr) << c.name;
        EXPECT_EQ(finals, 1) << c.name;
        EXPECT_EQ(freed, 1) << c.name;
    }
}

TEST_F(WindowTest, AnExceptionFromAHandlerStopsAtTheWindowProcedure)
{
    int finals = 0;
    int freed = 0;
    auto* w = new Lifecycle(Lifecycle::Mode::Normal, &finals, &freed);
    const HWND window = w->Create(nullptr, L"throws", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(window, nullptr);
    bool escaped = false;
    try {
        ::SendMessageW(window, Lifecycle::kThrow, 0, 0);
    } catch (...) {
        escaped = true;
    }
    EXPECT_FALSE(escaped);
    // The window goes on answering, and ends and frees its object as usual.
    EXPECT_EQ(::SendMessageW(window, Lifecycle::kAsk, 0, 0), Lifecycle::kMarker);
    ::DestroyWindow(window);
    EXPECT_EQ(freed, 1) << "the handler count stayed raised";

    // Thrown after the handler ended its own window: freed once the handler is left.
    w = new Lifecycle(Lifecycle::Mode::Normal, &finals, &freed);
    const HWND ending = w->Create(nullptr, L"ends", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(ending, nullptr);
    try {
        ::SendMessageW(ending, Lifecycle::kEndAndThrow, 0, 0);
    } catch (...) {
        escaped = true;
    }
    EXPECT_FALSE(escaped);
    EXPECT_FALSE(::IsWindow(ending));
    EXPECT_EQ(freed, 2);
    EXPECT_EQ(finals, 2);
}

TEST_F(WindowTest, QuitInsideTheModalLoopIsPostedAgain)
{
    PlainWindow w;
    HWND hwnd = w.Create(nullptr, L"modal", WS_POPUP, 0, 0, 0, 100, 100);
    ASSERT_NE(hwnd, nullptr);
    ::PostQuitMessage(7);
    EXPECT_EQ(w.RunModal(), 0u);
    EXPECT_TRUE(::IsWindow(hwnd));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    ::DestroyWindow(hwnd);
}

TEST_F(WindowTest, ClientSizeKeepsTheUnchangedDimension)
{
    PlainWindow w;
    ASSERT_NE(w.Create(nullptr, L"sized", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 200), nullptr);
    RECT before = {};
    ::GetClientRect(w.GetHandle(), &before);
    EXPECT_TRUE(w.SetClientSize(-1, 300));
    RECT after = {};
    ::GetClientRect(w.GetHandle(), &after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, 300);
    EXPECT_TRUE(w.SetClientSize(250, -1));
    ::GetClientRect(w.GetHandle(), &after);
    EXPECT_EQ(after.right, 250);
    EXPECT_EQ(after.bottom, 300);
    ::DestroyWindow(w.GetHandle());
    EXPECT_FALSE(w.SetClientSize(10, 10));
}

TEST_F(WindowTest, CentreOnOwnerAndClampToTheWorkArea)
{
    PlainWindow owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 100, 100, 600, 400), nullptr);
    PlainWindow child;
    ASSERT_NE(child.Create(owner.GetHandle(), L"child", WS_POPUP, 0, 0, 0, 200, 100), nullptr);
    child.CentreOnOwner();
    RECT rc = {};
    ::GetWindowRect(child.GetHandle(), &rc);
    EXPECT_EQ(rc.left, (100 + 700) / 2 - 100);
    EXPECT_EQ(rc.top, (100 + 500) / 2 - 50);
    EXPECT_EQ(rc.right - rc.left, 200);

    // Wider and taller than the work area: left and top edges win.
    PlainWindow huge;
    ASSERT_NE(huge.Create(nullptr, L"huge", WS_POPUP, 0, 50, 50, 100, 100), nullptr);
    const RECT work = WorkAreaOf(huge.GetHandle());
    const int w = work.right - work.left + 400;
    const int h = work.bottom - work.top + 300;
    ::SetWindowPos(huge.GetHandle(), nullptr, 50, 50, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(huge.GetHandle(), &rc);
    ASSERT_GT(rc.right - rc.left, work.right - work.left);
    ASSERT_GT(rc.bottom - rc.top, work.bottom - work.top);
    huge.CentreOnOwner();
    ::GetWindowRect(huge.GetHandle(), &rc);
    EXPECT_EQ(rc.left, work.left);
    EXPECT_EQ(rc.top, work.top);

    // A small window without owner sits in the middle of the work area.
    PlainWindow small;
    ASSERT_NE(small.Create(nullptr, L"small", WS_POPUP, 0, 0, 0, 100, 60), nullptr);
    small.CentreOnOwner();
    ::GetWindowRect(small.GetHandle(), &rc);
    EXPECT_EQ(rc.left, (work.left + work.right) / 2 - 50);
    EXPECT_EQ(rc.top, (work.top + work.bottom) / 2 - 30);

    ::DestroyWindow(small.GetHandle());
    ::DestroyWindow(huge.GetHandle());
    ::DestroyWindow(owner.GetHandle());
}

TEST_F(WindowTest, ShowCloseAndIconOnLiveAndDeadWindows)
{
    PlainWindow w;
    HWND hwnd = w.Create(nullptr, L"shown", WS_POPUP, 0, 0, 0, 80, 80);
    ASSERT_NE(hwnd, nullptr);
    w.ShowWindow(true, false);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    w.ShowWindow(false);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    // A missing icon resource gives a null icon and no failure.
    w.SetIcon(999);
    EXPECT_EQ(::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    ::DestroyWindow(hwnd);
    w.ShowWindow(true);
    w.Close(1);
    Pump();
    EXPECT_EQ(w.GetHandle(), nullptr);
}

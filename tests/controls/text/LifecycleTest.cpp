// A thousand create-focus-type-destroy cycles of each text-input control leave the process's
// GDI and USER object counts where they were.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

#include "../../support/AccessViolationWatch.h"
#include "TextInputTestSupport.h"
#include "datetime/DateTimeUI.h"
#include "edit/EditUI.h"
#include "edit/IPAddressExUI.h"
#include "ipaddress/IPAddressUI.h"
#include "simple/HotKeyUI.h"
#include "richedit/RichEditUI.h"

using texttest::HostWindow;

// While armed, deleted blocks are zeroed and held back instead of freed, so that a second
// delete of one block is seen (and harmless) and a read of a freed wrapper finds zeros.
namespace deletewatch {
bool armed = false;
void* held[256];
int heldCount = 0;
int doubleDeletes = 0;

void Disarm()
{
    armed = false;
    for (int i = 0; i < heldCount; ++i)
        std::free(held[i]);
    heldCount = 0;
}
} // namespace deletewatch

void* operator new(std::size_t size)
{
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept
{
    using namespace deletewatch;
    if (p == nullptr)
        return;
    if (!armed) {
        std::free(p);
        return;
    }
    for (int i = 0; i < heldCount; ++i) {
        if (held[i] == p) {
            ++doubleDeletes;
            return;
        }
    }
    std::memset(p, 0, _msize(p));
    if (heldCount < 256)
        held[heldCount++] = p;
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace {

// Adds a fresh control, focuses it, types into whatever window takes the keys, removes it.
void Cycle(HostWindow& host, const std::function<ZvUI::CControlUI*()>& make)
{
    ZvUI::CControlUI* control = make();
    control->SetFloat(true);
    control->SetAttribute(L"pos", L"10,10,210,40");
    host.root->Add(control);
    host.pm.SetFocus(control);
    HostWindow::Pump(1, 0);
    HWND keys = ::GetFocus();
    if (keys == nullptr)
        keys = host.Get();
    ::PostMessageW(keys, WM_CHAR, L'1', 1);
    HostWindow::Pump(1, 0);
    host.pm.SetFocus(nullptr);
    host.root->Remove(control);
    HostWindow::Pump(1, 0);
}

// GDI objects that 1000 bare native IP address windows leave behind by themselves (Wine's
// control keeps one per window); the wrapper must add nothing to them.
DWORD NativeIPAddressResidue(HostWindow& host)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&icc);
    const DWORD before = texttest::GuiObjects().first;
    for (int i = 0; i < 1000; ++i) {
        ::DestroyWindow(::CreateWindowExW(0, WC_IPADDRESSW, nullptr, WS_CHILD, 10, 10, 200, 30, host.Get(), nullptr,
                                          nullptr, nullptr));
    }
    return texttest::GuiObjects().first - before;
}

void ExpectNoLeak(const std::function<ZvUI::CControlUI*()>& make, bool nativeIPAddress = false, int dpi = 96,
                  int cycles = 1000)
{
    HostWindow host;
    if (dpi != 96) {
        host.pm.ApplyDpi(dpi);
        host.Settle();
    }
    const DWORD residue = nativeIPAddress ? NativeIPAddressResidue(host) : 0;
    // Warm-up: class registrations, fonts and library loads happen once.
    for (int i = 0; i < 5; ++i)
        Cycle(host, make);
    const auto before = texttest::GuiObjects();
    for (int i = 0; i < cycles; ++i)
        Cycle(host, make);
    HostWindow::Pump();
    const auto after = texttest::GuiObjects();
    if (residue == 0)
        EXPECT_EQ(after.first, before.first) << "GDI objects";
    else
        EXPECT_LE(after.first, before.first + residue) << "GDI objects beyond the native control's own";
    EXPECT_EQ(after.second, before.second) << "USER objects";
}

WNDPROC g_classProc = nullptr;

LRESULT CALLBACK RefuseCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        return -1;
    return ::CallWindowProcW(g_classProc, hwnd, msg, wParam, lParam);
}

// Makes every window of the wrapper's class fail in WM_CREATE, after WM_NCCREATE has bound it,
// while the object lives.
class RefusedCreation {
public:
    explicit RefusedCreation(ZvUI::CWindowWnd& registrar)
    {
        registrar.RegisterSuperclass();
        m_probe = ::CreateWindowExW(0, registrar.GetWindowClassName(), nullptr, WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, ZvUI::CPaintManagerUI::GetModule(), nullptr);
        if (m_probe != nullptr)
            g_classProc = reinterpret_cast<WNDPROC>(
                ::SetClassLongPtrW(m_probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefuseCreate)));
    }
    ~RefusedCreation()
    {
        if (m_probe == nullptr)
            return;
        ::SetClassLongPtrW(m_probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_classProc));
        ::DestroyWindow(m_probe);
    }
    bool Armed() const { return m_probe != nullptr && g_classProc != nullptr; }

private:
    HWND m_probe = nullptr;
};

template <class Control, class Wrapper>
void ExpectOneDeleteOnFailedCreation(LPCWSTR what)
{
    HostWindow host;
    auto* control = host.Add(new Control, RECT{10, 10, 210, 40});
    Wrapper registrar;
    RefusedCreation refuse(registrar);
    ASSERT_TRUE(refuse.Armed()) << what;
    deletewatch::doubleDeletes = 0;
    deletewatch::armed = true;
    host.pm.SetFocus(control);
    host.Click(20, 25);
    const int twice = deletewatch::doubleDeletes;
    deletewatch::Disarm();
    EXPECT_EQ(twice, 0) << what << ": the wrapper was deleted twice";
    EXPECT_EQ(control->GetNativeWindow(), nullptr) << what;
    host.pm.SetFocus(nullptr);
}

// Hides a page from its input's "textchanged", as a form that moves on at the first key does.
struct HidePageOnChange : ZvUI::INotifyUI {
    void Notify(ZvUI::UINotifyMessage& msg) override
    {
        if (msg.type == L"textchanged" && page != nullptr)
            page->SetVisible(false);
    }
    ZvUI::CControlUI* page = nullptr;
};

} // namespace

// Types into a native input whose "textchanged" handler hides its page, which destroys the
// window (and its object) inside the handler.
template <class Input>
void TypeWhileAHandlerHidesThePage(UINT message, WPARAM key, LPCWSTR text)
{
    HostWindow host;
    auto* page = host.Add(new ZvUI::CContainerUI, RECT{10, 10, 310, 60});
    auto* input = new Input;
    page->Add(input);
    host.Settle();
    HidePageOnChange hide;
    hide.page = page;
    host.pm.AddNotifyListener(&hide);
    host.pm.SetFocus(input);
    HostWindow::Pump(1, 0);
    HWND native = input->GetNativeWindow();
    ASSERT_NE(native, nullptr);

    AccessViolationWatch watch;
    deletewatch::armed = true;
    ::SendMessageW(native, message, key, 1);
    deletewatch::Disarm();
    HostWindow::Pump(1, 0);
    host.pm.RemoveNotifyListener(&hide);
    EXPECT_FALSE(::IsWindow(native)) << "hidden with its page";
    if (text != nullptr)
        EXPECT_EQ(input->GetText(), text);
    EXPECT_FALSE(input->GetText().IsEmpty());
    EXPECT_EQ(watch.Count(), 0) << "a read through the freed window object";
}

TEST(Lifecycle, AHandlerThatHidesTheTypingInputDestroysItsWindowSafely)
{
    TypeWhileAHandlerHidesThePage<ZvUI::CEditUI>(WM_CHAR, L'1', L"1");
    // The key's name is the keyboard layout's.
    TypeWhileAHandlerHidesThePage<ZvUI::CHotKeyUI>(WM_KEYDOWN, 'K', nullptr);
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Removes (and so deletes) an input while it has the focus and its native window is open: the
// window closing hands the focus back to the host, which must not reach the control again.
template <class Input>
void DestroyWhileFocused(LPCWSTR what)
{
    HostWindow host;
    auto* input = host.Add(new Input, RECT{10, 10, 210, 40});
    host.pm.SetFocus(input);
    HostWindow::Pump(1, 0);
    HWND native = input->GetNativeWindow();
    ASSERT_NE(native, nullptr) << what;
    const HWND focus = ::GetFocus();
    ASSERT_TRUE(focus == native || ::IsChild(native, focus)) << what;

    AccessViolationWatch watch;
    deletewatch::armed = true;
    // Deleted at once, as a container that is itself going deletes its children.
    host.root->SetDelayedDestroy(false);
    host.root->Remove(input);
    HostWindow::Pump(1, 0);
    int children = 0;
    ::EnumChildWindows(host.Get(), CountChild, reinterpret_cast<LPARAM>(&children));
    deletewatch::Disarm();
    EXPECT_EQ(watch.Count(), 0) << what << ": a call into the control being destroyed";
    EXPECT_EQ(children, 0) << what << ": a window opened again for the control being destroyed";
    EXPECT_EQ(host.pm.GetFocus(), nullptr) << what;
}

TEST(Lifecycle, AnInputDestroyedWhileEditingIsNotFocusedAgain)
{
    DestroyWhileFocused<ZvUI::CEditUI>(L"edit");
    DestroyWhileFocused<ZvUI::CHotKeyUI>(L"hot key");
    DestroyWhileFocused<ZvUI::CDateTimeUI>(L"date-time");
    DestroyWhileFocused<ZvUI::CIPAddressUI>(L"IP address");
}

// Removes and keeps an input while it is being edited, then gives it to a second window: its
// native window goes with the first and opens again in the second.
template <class Input>
void MoveWhileFocused(LPCWSTR what)
{
    HostWindow first;
    auto* input = first.Add(new Input, RECT{10, 10, 210, 40});
    first.pm.SetFocus(input);
    HostWindow::Pump(1, 0);
    HWND native = input->GetNativeWindow();
    ASSERT_NE(native, nullptr) << what;
    first.root->SetAutoDestroy(false);
    ASSERT_TRUE(first.root->Remove(input));
    HostWindow::Pump(1, 0);
    EXPECT_EQ(input->GetNativeWindow(), nullptr) << what;
    EXPECT_FALSE(::IsWindow(native)) << what << ": left open in the window the input left";

    HostWindow second;
    second.Add(input, RECT{10, 10, 210, 40});
    second.pm.SetFocus(input);
    HostWindow::Pump(1, 0);
    ASSERT_NE(input->GetNativeWindow(), nullptr) << what;
    EXPECT_EQ(::GetParent(input->GetNativeWindow()), second.Get()) << what;
    second.pm.SetFocus(nullptr);
}

TEST(Lifecycle, AnInputMovedWhileEditingOpensItsWindowInTheNewOne)
{
    MoveWhileFocused<ZvUI::CEditUI>(L"edit");
    MoveWhileFocused<ZvUI::CDateTimeUI>(L"date-time");
    MoveWhileFocused<ZvUI::CIPAddressUI>(L"IP address");
}

TEST(Lifecycle, FailedWindowCreationDeletesTheWrapperOnce)
{
    ExpectOneDeleteOnFailedCreation<ZvUI::CEditUI, ZvUI::CEditWnd>(L"edit");
    ExpectOneDeleteOnFailedCreation<ZvUI::CDateTimeUI, ZvUI::CDateTimeWnd>(L"date-time");
    ExpectOneDeleteOnFailedCreation<ZvUI::CIPAddressUI, ZvUI::CIPAddressWnd>(L"IP address");
}

TEST(Lifecycle, EveryInputLeavesNoObjectsAtDoubleDpi)
{
    ExpectNoLeak([] { return new ZvUI::CEditUI; }, false, 192, 100);
    ExpectNoLeak([] { return new ZvUI::CRichEditUI; }, false, 192, 100);
    ExpectNoLeak([] { return new ZvUI::CDateTimeUI; }, false, 192, 100);
    ExpectNoLeak([] { return new ZvUI::CIPAddressUI; }, true, 192, 100);
    ExpectNoLeak([] { return new ZvUI::CIPAddressExUI; }, false, 192, 100);
}

TEST(Lifecycle, EditLeavesNoObjects)
{
    ExpectNoLeak([] { return new ZvUI::CEditUI; });
}

TEST(Lifecycle, RichEditLeavesNoObjects)
{
    ExpectNoLeak([] { return new ZvUI::CRichEditUI; });
}

TEST(Lifecycle, DateTimeLeavesNoObjects)
{
    ExpectNoLeak([] { return new ZvUI::CDateTimeUI; });
}

TEST(Lifecycle, IPAddressLeavesNoObjects)
{
    ExpectNoLeak([] { return new ZvUI::CIPAddressUI; }, true);
}

TEST(Lifecycle, IPAddressEditorLeavesNoObjects)
{
    ExpectNoLeak([] { return new ZvUI::CIPAddressExUI; });
}

TEST(Lifecycle, ObjectCountsSeeCreationAndRelease)
{
    // The counter itself must notice one brush and one window, or the checks above prove nothing.
    // The thread's input-method window comes and goes with its first window: one stays open.
    HostWindow anchor;
    const auto start = texttest::GuiObjects();
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const auto during = texttest::GuiObjects();
    EXPECT_EQ(during.first, start.first + 1);
    EXPECT_EQ(during.second, start.second + 1);
    ::DestroyWindow(window);
    ::DeleteObject(brush);
    EXPECT_EQ(texttest::GuiObjects(), start);
}


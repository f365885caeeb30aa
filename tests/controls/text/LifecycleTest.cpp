// A thousand create-focus-type-destroy cycles of each text-input control leave the process's
// GDI and USER object counts where they were.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "TextInputTestSupport.h"
#include "datetime/DateTimeUI.h"
#include "edit/EditUI.h"
#include "edit/IPAddressExUI.h"
#include "ipaddress/IPAddressUI.h"
#include "richedit/RichEditUI.h"

using texttest::HostWindow;

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

void ExpectNoLeak(const std::function<ZvUI::CControlUI*()>& make, bool nativeIPAddress = false)
{
    HostWindow host;
    const DWORD residue = nativeIPAddress ? NativeIPAddressResidue(host) : 0;
    // Warm-up: class registrations, fonts and library loads happen once.
    for (int i = 0; i < 5; ++i)
        Cycle(host, make);
    const auto before = texttest::GuiObjects();
    for (int i = 0; i < 1000; ++i)
        Cycle(host, make);
    HostWindow::Pump();
    const auto after = texttest::GuiObjects();
    if (residue == 0)
        EXPECT_EQ(after.first, before.first) << "GDI objects";
    else
        EXPECT_LE(after.first, before.first + residue) << "GDI objects beyond the native control's own";
    EXPECT_EQ(after.second, before.second) << "USER objects";
}

} // namespace

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


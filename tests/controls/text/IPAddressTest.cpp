// IP address input over the native control, and the owner-drawn four-field IP editor driven by
// real mouse and key messages.
#include "edit/IPAddressExUI.h"
#include "ipaddress/IPAddressUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TextInputTestSupport.h"

using texttest::HostWindow;
using ZvUI::CIPAddressExUI;
using ZvUI::CIPAddressUI;

namespace {

// The editor lies at x 0..400 (quarters of 100), y 10..40.
class IPEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_host = std::make_unique<HostWindow>(450, 200);
        m_ip = m_host->Add(new CIPAddressExUI, RECT{0, 10, 400, 40});
        m_other = m_host->Add(new CIPAddressExUI, RECT{0, 60, 400, 90});
    }
    void TearDown() override { m_host.reset(); }
    void Keys(std::initializer_list<UINT> keys)
    {
        for (UINT vk : keys)
            HostWindow::Key(m_host->Get(), vk);
    }
    std::wstring Text() const { return m_ip->GetText().GetData(); }

    std::unique_ptr<HostWindow> m_host;
    CIPAddressExUI* m_ip = nullptr;
    CIPAddressExUI* m_other = nullptr;
};

class IPInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_host = std::make_unique<HostWindow>(450, 200);
        m_ip = m_host->Add(new CIPAddressUI, RECT{10, 10, 210, 40});
        m_other = m_host->Add(new CIPAddressExUI, RECT{10, 60, 210, 90});
    }
    void TearDown() override { m_host.reset(); }
    HWND Open()
    {
        m_host->pm.SetFocus(m_ip);
        HostWindow::Pump();
        return m_ip->GetNativeWindow();
    }
    // The native control's fields are child edit windows.
    HWND Field(HWND ip, int index)
    {
        HWND child = ::GetWindow(ip, GW_CHILD);
        std::vector<HWND> fields;
        for (; child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
            fields.push_back(child);
        // Creation order may be last-first; sort by x.
        std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
            RECT ra = {}, rb = {};
            ::GetWindowRect(a, &ra);
            ::GetWindowRect(b, &rb);
            return ra.left < rb.left;
        });
        return index < static_cast<int>(fields.size()) ? fields[index] : nullptr;
    }

    std::unique_ptr<HostWindow> m_host;
    CIPAddressUI* m_ip = nullptr;
    CIPAddressExUI* m_other = nullptr;
};

} // namespace

TEST_F(IPEditor, DigitsFillQuartersClampAndMoveOn)
{
    EXPECT_EQ(Text(), L"0.0.0.0");
    m_host->Click(50, 25);
    EXPECT_EQ(m_ip->GetActiveQuarter(), 1);
    Keys({'3', '0', '0'});
    EXPECT_EQ(Text(), L"255.0.0.0") << "300 is clamped";
    EXPECT_EQ(m_ip->GetActiveQuarter(), 2) << "three digits move on";
    Keys({'0'});
    EXPECT_EQ(Text(), L"255.0.0.0");
    EXPECT_EQ(m_ip->GetActiveQuarter(), 2) << "a single 0 stays";
    Keys({VK_NUMPAD1, VK_NUMPAD2});
    EXPECT_EQ(Text(), L"255.12.0.0");
    EXPECT_EQ(m_ip->GetActiveQuarter(), 3) << "0, 1, 2 are three digits";
    Keys({VK_UP, VK_UP, VK_DECIMAL, '9', VK_DOWN});
    EXPECT_EQ(Text(), L"255.12.2.8");
    EXPECT_EQ(m_ip->GetActiveQuarter(), 4);
    Keys({VK_RIGHT, VK_OEM_PERIOD});
    EXPECT_EQ(m_ip->GetActiveQuarter(), 4) << "the fourth quarter is the last";
    Keys({VK_LEFT, VK_BACK});
    EXPECT_EQ(Text(), L"255.12.0.8");
    // The wheel: wParam 0 (up) adds, anything else subtracts, within 0..255.
    ZvUI::UIControlEvent wheel;
    wheel.type = ZvUI::EventScrollWheel;
    wheel.wParam = 1;
    m_ip->Event(wheel);
    m_ip->Event(wheel);
    EXPECT_EQ(Text(), L"255.12.0.8");
    wheel.wParam = 0;
    m_ip->Event(wheel);
    EXPECT_EQ(Text(), L"255.12.1.8");
}

TEST_F(IPEditor, ClicksPickQuartersAndFocusLossDropsTheHighlight)
{
    const struct {
        int x;
        int quarter;
    } clicks[] = {{1, 1}, {100, 1}, {101, 2}, {200, 2}, {250, 3}, {301, 4}, {399, 4}};
    for (const auto& c : clicks) {
        m_host->Click(c.x, 25);
        EXPECT_EQ(m_ip->GetActiveQuarter(), c.quarter) << "x " << c.x;
    }
    Keys({'7'});
    m_host->Click(50, 75);
    EXPECT_EQ(m_ip->GetActiveQuarter(), 0);
    EXPECT_EQ(Text(), L"0.0.0.7") << "numbers stay";
}

TEST_F(IPEditor, KeysAndWheelWithoutAnActiveQuarterAreIgnored)
{
    m_host->pm.SetFocus(m_ip);
    ASSERT_EQ(m_ip->GetActiveQuarter(), 0);
    Keys({'5', VK_UP, VK_DOWN, VK_DELETE, VK_RIGHT, VK_LEFT});
    ZvUI::UIControlEvent wheel;
    wheel.type = ZvUI::EventScrollWheel;
    m_ip->Event(wheel);
    EXPECT_EQ(Text(), L"0.0.0.0");
    EXPECT_EQ(m_ip->GetActiveQuarter(), 0);
}

TEST_F(IPEditor, SetIPTakesFourPiecesClamped)
{
    const struct {
        LPCWSTR in;
        LPCWSTR out;
    } rows[] = {
        {L"192.168.1.20", L"192.168.1.20"},
        {L"300.-5.7.256", L"255.0.7.255"},
        {L"1.2.3", L"255.0.7.255"},
        {L"1.2.3.4.5", L"255.0.7.255"},
        {L"a.b.c.d", L"0.0.0.0"},
    };
    for (const auto& row : rows) {
        m_ip->SetIP(row.in);
        EXPECT_EQ(std::wstring(m_ip->GetIP()), row.out) << row.in;
        EXPECT_EQ(Text(), row.out);
    }
}

TEST_F(IPInput, EditingInTheNativeControlIsReadBack)
{
    m_ip->SetIP(0x0A000001);
    EXPECT_EQ(std::wstring(m_ip->GetText()), L"10.0.0.1");
    const HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    EXPECT_STREQ(cls, L"IPAddressWnd");
    DWORD shown = 0;
    ::SendMessageW(hwnd, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown, 0x0A000001u);

    // Type into the last field, move between fields: nothing is taken over yet.
    HWND last = Field(hwnd, 3);
    ASSERT_NE(last, nullptr);
    ::SetFocus(last);
    ::SendMessageW(last, EM_SETSEL, 0, -1);
    HostWindow::Type(last, L"99");
    ::SetFocus(Field(hwnd, 0));
    HostWindow::Pump();
    EXPECT_EQ(std::wstring(m_ip->GetText()), L"10.0.0.1");
    // Focus leaves the control: the address is read back and the window hides.
    m_host->Click(50, 75);
    EXPECT_EQ(std::wstring(m_ip->GetText()), L"10.0.0.99");
    EXPECT_EQ(m_ip->GetIP(), 0x0A000063u);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
}

TEST_F(IPInput, EscapeKeepsTheTextAndDeleteEmptiesIt)
{
    m_ip->SetIP(0xC0A80101);
    HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    HWND first = Field(hwnd, 0);
    ::SetFocus(first);
    HostWindow::Type(first, L"7");
    HostWindow::Key(first, VK_ESCAPE);
    HostWindow::Pump();
    EXPECT_EQ(m_ip->GetNativeWindow(), nullptr) << "Escape closes the window";
    EXPECT_EQ(std::wstring(m_ip->GetText()), L"192.168.1.1");

    m_host->pm.SetFocus(m_other);
    hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    first = Field(hwnd, 0);
    ::SetFocus(first);
    HostWindow::Key(first, VK_DELETE);
    HostWindow::Pump();
    EXPECT_EQ(m_ip->GetNativeWindow(), nullptr);
    EXPECT_EQ(std::wstring(m_ip->GetText()), L"");
    // The next opening starts from the local host's address.
    m_host->pm.SetFocus(m_other);
    hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    DWORD shown = 1;
    ::SendMessageW(hwnd, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown, CIPAddressUI::GetLocalAddress());
}

TEST_F(IPEditor, RealWheelNotchesStepBothWays)
{
    m_host->Click(250, 25);
    ASSERT_EQ(m_ip->GetActiveQuarter(), 3);
    m_ip->SetIP(L"1.2.5.4");
    POINT pt = {250, 25};
    ::ClientToScreen(m_host->Get(), &pt);
    const auto wheel = [&](int delta, int notches) {
        for (int i = 0; i < notches; ++i)
            ::SendMessageW(m_host->Get(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(pt.x, pt.y));
        HostWindow::Pump(1);
    };
    wheel(WHEEL_DELTA, 2);
    EXPECT_EQ(Text(), L"1.2.7.4") << "two notches up";
    wheel(-WHEEL_DELTA, 3);
    EXPECT_EQ(Text(), L"1.2.4.4") << "three notches down";
}

TEST_F(IPEditor, OnAHiddenPageItLosesAndRefusesTheFocus)
{
    auto* page = m_host->Add(new ZvUI::CContainerUI, RECT{0, 100, 400, 150});
    auto* hidden = new CIPAddressExUI;
    hidden->SetFloat(true);
    hidden->SetAttribute(L"pos", L"0,0,400,30");
    page->Add(hidden);
    m_host->Settle();
    m_host->pm.SetFocus(hidden);
    ASSERT_EQ(m_host->pm.GetFocus(), hidden);
    page->SetVisible(false);
    EXPECT_FALSE(hidden->IsVisible());
    EXPECT_NE(m_host->pm.GetFocus(), hidden) << "keeps the focus on a hidden page";
    m_host->pm.SetFocus(hidden);
    EXPECT_NE(m_host->pm.GetFocus(), hidden) << "takes the focus on a hidden page";
}

TEST_F(IPInput, KeptWindowReopensOverTheMovedControlWithTheCurrentFont)
{
    HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    m_host->Click(50, 75);
    ASSERT_FALSE(::IsWindowVisible(hwnd)) << "kept hidden for the next use";

    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    m_ip->SetPos(RECT{10, 200, 210, 260});
    m_host->pm.SetFocus(m_other);
    m_host->Click(20, 230);
    hwnd = m_ip->GetNativeWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(::IsWindowVisible(hwnd));
    RECT rc = {};
    ::GetWindowRect(hwnd, &rc);
    ::MapWindowPoints(nullptr, m_host->Get(), reinterpret_cast<POINT*>(&rc), 2);
    const RECT pos = m_ip->GetPos();
    EXPECT_TRUE(::EqualRect(&rc, &pos)) << "reopened at " << rc.left << "," << rc.top << " for " << pos.left << ","
                                        << pos.top;
    // The fields draw the text (Wine's control answers no WM_GETFONT of its own).
    for (int i = 0; i < 4; ++i) {
        const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(Field(hwnd, i), WM_GETFONT, 0, 0));
        EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "field " << i << ": a deleted font";
        EXPECT_EQ(font, m_host->pm.GetFont(m_ip->GetFont())) << "field " << i;
    }
}

TEST_F(IPInput, FocusWithoutAClickReopensTheKeptWindow)
{
    const HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    m_host->pm.SetFocus(m_other);
    ::SetFocus(m_host->Get());
    HostWindow::Pump();
    ASSERT_FALSE(::IsWindowVisible(hwnd));
    // Focus given without a click (the input is no tab stop, as the label it derives from).
    m_host->pm.SetFocus(m_ip);
    HostWindow::Pump();
    ASSERT_EQ(m_host->pm.GetFocus(), m_ip);
    EXPECT_TRUE(::IsWindowVisible(hwnd)) << "focus without a click leaves the window hidden";
    const HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == hwnd || ::IsChild(hwnd, focus));
}

TEST_F(IPInput, OpenWindowFollowsItsControlAndLeavesWithIt)
{
    HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(::IsWindowVisible(hwnd));
    // Laid out again while open, at a new DPI: over the control, with the rebuilt font.
    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    ASSERT_EQ(m_ip->GetNativeWindow(), hwnd);
    RECT rc = {};
    ::GetWindowRect(hwnd, &rc);
    ::MapWindowPoints(nullptr, m_host->Get(), reinterpret_cast<POINT*>(&rc), 2);
    const RECT pos = m_ip->GetPos();
    EXPECT_TRUE(::EqualRect(&rc, &pos)) << "at " << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom
                                        << " for " << pos.left << "," << pos.top << "," << pos.right << ","
                                        << pos.bottom;
    for (int i = 0; i < 4; ++i) {
        const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(Field(hwnd, i), WM_GETFONT, 0, 0));
        EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "field " << i << ": a deleted font";
    }
    // Hidden: the window goes at once, without a message pump.
    m_ip->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(hwnd)) << "the window stays over the hidden control";
}

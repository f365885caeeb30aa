// Date-time input over the native picker: values typed with real keys are read back, Escape
// restores, an emptied text starts from now, and the time part follows "showtime".
#include "datetime/DateTimeUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TextInputTestSupport.h"

using texttest::HostWindow;
using ZvUI::CDateTimeUI;

namespace {

class DateTime : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_host = std::make_unique<HostWindow>(450, 200);
        m_dt = m_host->Add(new CDateTimeUI, RECT{10, 10, 260, 40});
        m_other = m_host->Add(new CDateTimeUI, RECT{10, 60, 260, 90});
        SYSTEMTIME t = {};
        t.wYear = 2024;
        t.wMonth = 2;
        t.wDay = 28;
        t.wHour = 13;
        t.wMinute = 5;
        t.wSecond = 9;
        m_dt->SetTime(&t);
    }
    void TearDown() override { m_host.reset(); }
    HWND Open()
    {
        m_host->pm.SetFocus(m_dt);
        HostWindow::Pump();
        return m_dt->GetNativeWindow();
    }
    std::wstring Text() const { return m_dt->GetText().GetData(); }

    std::unique_ptr<HostWindow> m_host;
    CDateTimeUI* m_dt = nullptr;
    CDateTimeUI* m_other = nullptr;
};

} // namespace

TEST_F(DateTime, KeyEditsAreReadBackIntoTheText)
{
    EXPECT_EQ(Text(), L"2024-02-28 13:05:09");
    const HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    EXPECT_STREQ(cls, L"DateTimeWnd");
    SYSTEMTIME shown = {};
    EXPECT_EQ(::SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
    EXPECT_EQ(shown.wDay, 28);
    // A click on the picker's first field (the year) chooses it; the Up key steps it.
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 10));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(8, 10));
    HostWindow::Key(hwnd, VK_UP);
    EXPECT_EQ(m_dt->GetTime()->wYear, 2025);
    EXPECT_EQ(Text().substr(0, 4), L"2025");
    // Focus leaves without a drop-down: the picker closes, the value stays.
    m_host->pm.SetFocus(m_other);
    ::SetFocus(m_host->Get());
    HostWindow::Pump();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(Text().substr(0, 4), L"2025");
}

TEST_F(DateTime, EscapeRestoresTheValueAtOpening)
{
    const HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 10));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(8, 10));
    HostWindow::Key(hwnd, VK_DOWN);
    EXPECT_EQ(m_dt->GetTime()->wYear, 2023);
    HostWindow::Key(hwnd, VK_ESCAPE);
    HostWindow::Pump();
    EXPECT_EQ(Text(), L"2024-02-28 13:05:09");
    EXPECT_EQ(m_dt->GetNativeWindow(), nullptr);
}

TEST_F(DateTime, EmptiedTextStartsFromNowAndShowTimeWaitsForTheNextUpdate)
{
    m_dt->SetUpdateMode(CDateTimeUI::kUpdateEmpty);
    m_dt->UpdateText();
    EXPECT_EQ(Text(), L"");
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(m_dt->GetTime()->wYear, now.wYear);
    EXPECT_EQ(m_dt->GetTime()->wDayOfWeek, now.wDayOfWeek);

    m_other->SetAttribute(L"showtime", L"FALSE");
    const std::wstring before = m_other->GetText().GetData();
    EXPECT_EQ(before.size(), 19u) << "unchanged until the next update";
    m_other->SetUpdateMode(CDateTimeUI::kUpdateFormat);
    m_other->UpdateText();
    EXPECT_EQ(std::wstring(m_other->GetText()), before.substr(0, 10));
    EXPECT_NE(m_other->GetInterface(L"DateTime"), nullptr);
    EXPECT_EQ(m_other->GetInterface(L"datetime"), nullptr) << "the interface name is compared exactly";
}

TEST_F(DateTime, OpenPickerTakesTheRebuiltFont)
{
    const HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    m_host->pm.ApplyDpi(192);
    m_dt->SetPos(m_dt->GetPos());
    ASSERT_TRUE(::IsWindow(hwnd));
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "a deleted font";
    EXPECT_EQ(font, m_host->pm.GetFont(m_dt->GetFont()));
}

TEST_F(DateTime, HidingThePickerOrItsPageClosesItAtOnce)
{
    HWND hwnd = Open();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(::IsWindowVisible(hwnd));
    // No message pump in between: the picker must not stay over a hidden control until one runs.
    m_dt->SetVisible(false);
    EXPECT_FALSE(::IsWindow(hwnd)) << "the picker outlives its hidden control";
    EXPECT_EQ(m_dt->GetNativeWindow(), nullptr);
    EXPECT_EQ(Text(), L"2024-02-28 13:05:09");

    auto* page = m_host->Add(new ZvUI::CContainerUI, RECT{0, 100, 400, 150});
    auto* inPage = new CDateTimeUI;
    inPage->SetFloat(true);
    inPage->SetAttribute(L"pos", L"10,5,260,35");
    page->Add(inPage);
    m_host->Settle();
    m_host->pm.SetFocus(inPage);
    HostWindow::Pump();
    hwnd = inPage->GetNativeWindow();
    ASSERT_NE(hwnd, nullptr);
    page->SetVisible(false);
    EXPECT_FALSE(::IsWindow(hwnd)) << "the picker outlives its hidden page";
    EXPECT_EQ(inPage->GetNativeWindow(), nullptr);
    HostWindow::Pump();
    // Shown again, it opens anew on the next focus.
    page->SetVisible(true);
    m_host->Settle();
    m_host->pm.SetFocus(inPage);
    HostWindow::Pump();
    EXPECT_NE(inPage->GetNativeWindow(), nullptr);
}

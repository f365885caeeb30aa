// Edit field: the native edit window it opens on focus, typing with real key messages, the
// notifications, limits and modes, and the idle drawing of hint and password mask.
#include "edit/EditUI.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "TextInputTestSupport.h"

using texttest::HostWindow;
using ZvUI::CEditUI;

namespace {

class Edit : public ::testing::Test {
protected:
    void SetUp() override { m_host = std::make_unique<HostWindow>(); }
    void TearDown() override { m_host.reset(); }
    CEditUI* AddEdit(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes = {},
                     RECT rc = RECT{10, 10, 210, 40})
    {
        return m_host->Add(new CEditUI, rc, attributes);
    }
    HWND Open(CEditUI* edit)
    {
        m_host->pm.SetFocus(edit);
        HostWindow::Pump();
        return edit->GetNativeWindow();
    }
    std::wstring WindowText(HWND hwnd)
    {
        wchar_t text[256] = {};
        ::GetWindowTextW(hwnd, text, 256);
        return text;
    }
    // Anti-aliased glyphs reach the colour only roughly.
    static bool Near(COLORREF a, COLORREF b)
    {
        return abs(GetRValue(a) - GetRValue(b)) < 100 && abs(GetGValue(a) - GetGValue(b)) < 100 &&
               abs(GetBValue(a) - GetBValue(b)) < 100;
    }
    // '#' where the printed client area is near the colour, column by column over rc.
    std::wstring Find(const RECT& rc, COLORREF color)
    {
        const std::vector<COLORREF> pixels = m_host->Print();
        std::wstring marks;
        for (int x = rc.left; x < rc.right; ++x)
            for (int y = rc.top; y < rc.bottom; ++y)
                marks += Near(pixels[static_cast<size_t>(y) * m_host->PrintWidth() + x], color) ? L'#' : L'.';
        return marks;
    }

    std::unique_ptr<HostWindow> m_host;
};

} // namespace

TEST_F(Edit, FocusOpensTheNativeWindowAndTypingComesBack)
{
    CEditUI* edit = AddEdit();
    edit->SetText(L"ab");
    const HWND hwnd = Open(edit);
    ASSERT_NE(hwnd, nullptr);
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    EXPECT_STREQ(cls, L"EditWnd");
    EXPECT_EQ(::GetFocus(), hwnd);
    EXPECT_EQ(WindowText(hwnd), L"ab");
    // The native window lies inside the padded text area.
    RECT rc = {};
    ::GetWindowRect(hwnd, &rc);
    ::MapWindowPoints(nullptr, m_host->Get(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_GE(rc.left, 14);
    EXPECT_LE(rc.right, 206);

    m_host->log.Clear();
    HostWindow::Type(hwnd, L"c中");
    EXPECT_EQ(std::wstring(edit->GetText()), L"abc中");
    EXPECT_EQ(m_host->log.Count(L"textchanged", edit), 2);

    // Programmatic text while editing reaches the window, whose change is reported too.
    edit->SetText(L"new");
    EXPECT_EQ(WindowText(hwnd), L"new");
    EXPECT_EQ(m_host->log.Count(L"textchanged", edit), 3);

    HostWindow::Key(hwnd, VK_RETURN);
    EXPECT_EQ(m_host->log.Count(L"return", edit), 1);
    EXPECT_EQ(std::wstring(edit->GetText()), L"new") << "Return does not reach the edit procedure";

    // Losing the system focus closes the window; the text stays.
    m_host->pm.SetFocus(nullptr);
    HostWindow::Pump();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(edit->GetNativeWindow(), nullptr);
    EXPECT_EQ(std::wstring(edit->GetText()), L"new");
}

TEST_F(Edit, LimitModesAndSelectionReachTheWindow)
{
    CEditUI* edit = AddEdit({{L"maxchar", L"4"}, {L"password", L"TRUE"}, {L"numberonly", L"true"}});
    const HWND hwnd = Open(edit);
    ASSERT_NE(hwnd, nullptr);
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_NE(style & ES_PASSWORD, 0);
    EXPECT_NE(style & ES_NUMBER, 0);
    EXPECT_EQ(::SendMessageW(hwnd, EM_GETPASSWORDCHAR, 0, 0), L'*');
    HostWindow::Type(hwnd, L"123456");
    EXPECT_EQ(std::wstring(edit->GetText()), L"1234");
    edit->SetPasswordChar(L'#');
    EXPECT_EQ(::SendMessageW(hwnd, EM_GETPASSWORDCHAR, 0, 0), L'#');
    edit->SetPasswordMode(false);
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_PASSWORD, 0);
    edit->SetReadOnly(true);
    EXPECT_NE(::GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_READONLY, 0);

    edit->SetSel(1, 3);
    DWORD start = 0, end = 0;
    ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    edit->SetSelAll();
    ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 4u);
}

TEST_F(Edit, ClickingAFocusedIdleFieldSelectsAll)
{
    CEditUI* edit = AddEdit();
    auto* other = AddEdit({}, RECT{10, 60, 210, 90});
    edit->SetText(L"hello");
    m_host->pm.SetFocus(edit);
    HostWindow::Pump();
    // The window closes when the manager's window takes the system focus back.
    ::SetFocus(m_host->Get());
    HostWindow::Pump();
    ASSERT_EQ(edit->GetNativeWindow(), nullptr);
    ASSERT_TRUE(edit->IsFocused());
    m_host->Click(100, 25);
    const HWND hwnd = edit->GetNativeWindow();
    ASSERT_NE(hwnd, nullptr);
    DWORD start = 9, end = 9;
    ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);
    (void)other;
}

TEST_F(Edit, IdleDrawingShowsHintAndMask)
{
    CEditUI* hinted = AddEdit({{L"tipvalue", L"type here"}, {L"tipvaluecolor", L"#FF0000FF"}});
    CEditUI* masked = AddEdit({{L"password", L"true"}, {L"passwordchar", L"W"}, {L"textcolor", L"#FFFF0000"}}, RECT{10, 60, 210, 90});
    CEditUI* equal = AddEdit({{L"tipvalue", L"same"}, {L"tipvaluecolor", L"#FF0000FF"}}, RECT{10, 110, 210, 140});
    equal->SetText(L"same");
    masked->SetText(L"iii");
    HostWindow::Pump();
    const COLORREF blue = RGB(0, 0, 0xFF);
    EXPECT_NE(Find(hinted->GetPos(), blue).find(L'#'), std::wstring::npos) << "hint in the hint colour";
    EXPECT_NE(Find(equal->GetPos(), blue).find(L'#'), std::wstring::npos) << "a text equal to the hint";
    const std::wstring mask = Find(masked->GetPos(), RGB(0xFF, 0, 0));
    masked->SetPasswordMode(false);
    masked->SetText(L"WWW");
    HostWindow::Pump();
    EXPECT_NE(mask.find(L'#'), std::wstring::npos);
    EXPECT_EQ(Find(masked->GetPos(), RGB(0xFF, 0, 0)), mask) << "every character is drawn as the mask";
    masked->SetText(L"iii");
    HostWindow::Pump();
    EXPECT_NE(Find(masked->GetPos(), RGB(0xFF, 0, 0)), mask) << "without password mode the text shows";
    (void)hinted;
}

TEST_F(Edit, AttributesAndSize)
{
    CEditUI* edit = AddEdit({{L"autoselall", L"TRUE"}, {L"AutoSelAll", L"true"}, {L"passwordchar", L"@x"},
                             {L"nativebkcolor", L"#80FFFFFF"}, {L"maxchar", L"12"}});
    EXPECT_FALSE(edit->IsAutoSelAll()) << "autoselall's name and value are compared exactly";
    edit->SetAttribute(L"autoselall", L"true");
    EXPECT_TRUE(edit->IsAutoSelAll());
    EXPECT_EQ(edit->GetPasswordChar(), L'@');
    EXPECT_EQ(edit->GetNativeEditBkColor(), 0x80FFFFFFu);
    EXPECT_EQ(edit->GetMaxChar(), 12);
    EXPECT_EQ(edit->GetControlFlags(), static_cast<UINT>(ZvUI::ControlFlagTabStop | ZvUI::ControlFlagSetCursor));
    EXPECT_NE(edit->GetInterface(L"EDIT"), nullptr);
    // A see-through native background still opens and draws.
    edit->SetText(L"abc");
    const HWND hwnd = Open(edit);
    ASSERT_NE(hwnd, nullptr);
    ::UpdateWindow(hwnd);
    HostWindow::Pump();
    DWORD start = 9, end = 9;
    ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u) << "auto-select-all selects the whole text";
}

TEST_F(Edit, AtDoubleDpiTheNativeWindowLiesOnTheScaledTextArea)
{
    m_host->pm.ApplyDpi(192);
    HostWindow::Pump();
    CEditUI* edit = AddEdit({{L"text", L"scaled"}});
    const RECT item = edit->GetPos();
    EXPECT_EQ(item.right - item.left, 400) << "laid out at twice the size";
    // One press on the idle field opens the window and hands the press on, in the window's own
    // coordinates: a press right of the text puts the caret at its end.
    const int y = (item.top + item.bottom) / 2;
    const SIZE text = edit->MeasureText(L"scaled", -1);
    const int right = item.left + 8 + text.cx * 2 + 20;
    ::SendMessageW(m_host->Get(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right, y));
    const HWND hwnd = edit->GetNativeWindow();
    ASSERT_NE(hwnd, nullptr);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
    HostWindow::Pump();
    DWORD start = 0, end = 0;
    ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 6u);
    EXPECT_EQ(end, 6u);

    RECT rc = {};
    ::GetWindowRect(hwnd, &rc);
    ::MapWindowPoints(nullptr, m_host->Get(), reinterpret_cast<POINT*>(&rc), 2);
    // Padding 4 at 96 dpi is 8 here, on both sides; the line is centred in the item.
    EXPECT_EQ(rc.left, item.left + 8);
    EXPECT_EQ(rc.right, item.right - 8);
    EXPECT_NEAR((rc.top + rc.bottom) / 2, y, 2);
}

TEST_F(Edit, HidingTheParentEndsEditing)
{
    auto* page = m_host->Add(new ZvUI::CContainerUI, RECT{0, 0, 400, 200});
    auto* edit = new CEditUI;
    edit->SetFloat(true);
    edit->SetAttribute(L"pos", L"10,10,210,40");
    page->Add(edit);
    m_host->Settle();
    const HWND hwnd = Open(edit);
    ASSERT_NE(hwnd, nullptr);
    page->SetVisible(false);
    HostWindow::Pump();
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_NE(m_host->pm.GetFocus(), edit);
    EXPECT_FALSE(::IsWindow(hwnd)) << "the native window stays over the page";
    EXPECT_EQ(edit->GetNativeWindow(), nullptr);
}

TEST_F(Edit, LayeredPopupKeepsItsPlaceOnRelayout)
{
    m_host->pm.SetLayered(true);
    m_host->Settle();
    ASSERT_TRUE(m_host->pm.IsLayered());
    CEditUI* edit = AddEdit({{L"text", L"layered"}});
    const HWND hwnd = Open(edit);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_NE(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_POPUP, 0);
    RECT opened = {};
    ::GetWindowRect(hwnd, &opened);
    RECT host = {};
    ::GetWindowRect(m_host->Get(), &host);
    EXPECT_GE(opened.left, host.left + 14) << "screen coordinates, inside the field";

    edit->SetPos(edit->GetPos());
    RECT placed = {};
    ::GetWindowRect(hwnd, &placed);
    EXPECT_TRUE(::EqualRect(&placed, &opened)) << "SetPos put it at " << placed.left << "," << placed.top;

    // Move shifts the stored offset; the relayout it asks for places the control.
    edit->Move(SIZE{5, 7});
    RECT moved = {};
    ::GetWindowRect(hwnd, &moved);
    EXPECT_TRUE(::EqualRect(&moved, &opened)) << "Move put it at " << moved.left << "," << moved.top;
    m_host->Settle();
    ASSERT_TRUE(::IsWindow(hwnd));
    ::GetWindowRect(hwnd, &moved);
    EXPECT_EQ(moved.left, opened.left + 5);
    EXPECT_EQ(moved.top, opened.top + 7);
}

TEST_F(Edit, EstimatedHeightScalesItsPadding)
{
    for (int dpi : {96, 192}) {
        m_host->pm.ApplyDpi(dpi);
        HostWindow::Pump();
        auto* edit = new CEditUI;
        m_host->root->Add(edit);
        const LONG font = m_host->pm.GetFontInfo(edit->GetFont())->metrics.tmHeight;
        EXPECT_EQ(edit->EstimateSize(SIZE{400, 400}).cy, font + 6 * dpi / 96) << dpi << " dpi";
        m_host->root->Remove(edit);
    }
}

TEST_F(Edit, OpenWindowTakesTheRebuiltFontOnADpiChange)
{
    CEditUI* edit = AddEdit({{L"text", L"font"}});
    const HWND hwnd = Open(edit);
    ASSERT_NE(hwnd, nullptr);
    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    // A window still open after the change must draw with a live font.
    if (::IsWindow(hwnd)) {
        const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "a deleted font";
        EXPECT_EQ(font, m_host->pm.GetFont(edit->GetFont()));
    }
    // Opened again at the new scale it has the new font, and SetPos keeps it.
    m_host->pm.SetFocus(nullptr);
    HostWindow::Pump();
    const HWND again = Open(edit);
    ASSERT_NE(again, nullptr);
    m_host->pm.ApplyDpi(96);
    edit->SetPos(edit->GetPos());
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(again, WM_GETFONT, 0, 0));
    EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "a deleted font after SetPos";
    EXPECT_EQ(font, m_host->pm.GetFont(edit->GetFont()));
}

TEST_F(Edit, HidingTheFieldClosesItsWindowAtOnce)
{
    CEditUI* edit = AddEdit();
    const HWND hwnd = Open(edit);
    ASSERT_NE(hwnd, nullptr);
    HostWindow::Type(hwnd, L"kept");
    edit->SetVisible(false);
    // No message pump in between.
    EXPECT_FALSE(::IsWindow(hwnd)) << "the native window outlives its hidden field";
    EXPECT_EQ(edit->GetNativeWindow(), nullptr);
    EXPECT_EQ(std::wstring(edit->GetText().GetData()), L"kept");
}

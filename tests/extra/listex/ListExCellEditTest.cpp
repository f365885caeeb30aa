// Extended list: the cell edit stays open through the messages that follow its opening, whether a
// tab move still waits for the next paint or not, until the user leaves it, its row goes or the
// list scrolls.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "PopupHost.h"
#include "layout/TabLayoutUI.h"
#include "listex/ListExUI.h"
#include "listex/ListTextExtElementUI.h"

using namespace ZvUI;

namespace {

// The button before the list is the first tab stop: a tab move made late lands there.
constexpr wchar_t kSkin[] =
    L"<Window size=\"420,300\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<Button name=\"other\" height=\"30\" text=\"Other\"/>"
    L"<TabLayout name=\"pages\" selectedid=\"1\">"
    L"<VerticalLayout><Button name=\"away\" height=\"30\" text=\"Away\"/></VerticalLayout>"
    L"<VerticalLayout><ListEx name=\"list\" vscrollbar=\"true\">"
    L"<ListHeader height=\"24\">"
    L"<ListContainerHeaderItem text=\"Name\" width=\"200\" editable=\"true\"/>"
    L"<ListContainerHeaderItem text=\"Size\" width=\"100\"/>"
    L"</ListHeader>"
    L"<ListTextExtElement height=\"24\"/>"
    L"<ListTextExtElement height=\"24\"/>"
    L"<ListTextExtElement height=\"24\"/>"
    L"</ListEx></VerticalLayout></TabLayout></VerticalLayout></Window>";

// The program's own loop: every message offered to the framework's preview first; for forMs
// the timers are let through too.
void PumpWithPreview(DWORD forMs = 0)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CPaintManagerUI::PreTranslate(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (forMs > 0)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < forMs);
}

// What is still to come when the edit opens.
enum class Before {
    Nothing,       // the window painted, its first tab move made
    FirstPaint,    // laid out and drawn into a bitmap; its first WM_PAINT still queued
    PageSwitch,    // the list's page just selected: its tab move waits for the layout
};

// How the edit opens.
enum class Open { ByCall, ByClick };

struct Case {
    const char* name;
    Before before;
    Open open;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class ListExCellEdit : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        host = std::make_unique<PopupHost>(kSkin, RECT{0, 0, 420, 300}, 96, nullptr,
                                           GetParam().before != Before::FirstPaint);
        list = static_cast<CListExUI*>(host->Find(L"list"));
        ASSERT_NE(list, nullptr);
        list->RegisterNotify();
        for (int i = 0; i < 3; ++i)
            Row(i)->SetText(0, (L"file" + std::to_wstring(i)).c_str());
        if (GetParam().before == Before::PageSwitch) {
            auto* pages = static_cast<CTabLayoutUI*>(host->Find(L"pages"));
            ASSERT_TRUE(pages->SelectItem(0));
            host->Update();
            ASSERT_TRUE(pages->SelectItem(1));
        }
    }
    CListTextExtElementUI* Row(int i) { return static_cast<CListTextExtElementUI*>(list->GetItemAt(i)); }
    RECT CellOnWindow(int row, int column)
    {
        RECT rc = Row(row)->GetColumnRect(column);
        ::OffsetRect(&rc, list->GetPos().left, list->GetPos().top);
        return rc;
    }
    // Down and up on the cell, sent straight to the window: whatever was queued runs after.
    void Press(int row, int column)
    {
        const RECT rc = CellOnWindow(row, column);
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::SendMessageW(host->Handle(), WM_MOUSEMOVE, 0, at);
        ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, at);
    }
    void OpenOn(int row)
    {
        if (GetParam().open == Open::ByCall) {
            list->ShowCellEditor(row, 0, Row(row)->GetColumnRect(0), Row(row)->GetText(0));
            return;
        }
        // The button-up opens it while the list has the focus, which the press gives it.
        Press(row, 0);
    }
    CControlUI* Edit() { return host->Find(L"ListEx_Edit"); }
    int KillFocusOfEdit()
    {
        int n = 0;
        for (const auto& e : host->log.Of(L"killfocus"))
            n += e.sender != nullptr && e.sender == Edit() ? 1 : 0;
        return n;
    }
    // Shown over the cell, focused, and told nothing of losing the focus.
    ::testing::AssertionResult IsOpenOn(int row)
    {
        CControlUI* edit = Edit();
        if (edit == nullptr)
            return ::testing::AssertionFailure() << "no cell edit";
        if (!edit->IsVisible() || list->GetEditRow() != row || list->GetEditColumn() != 0)
            return ::testing::AssertionFailure()
                   << "closed (visible " << edit->IsVisible() << ", row " << list->GetEditRow() << ", killfocus "
                   << KillFocusOfEdit() << ", focus on "
                   << (host->Manager().GetFocus() != nullptr ? host->Manager().GetFocus()->GetName().GetData()
                                                             : L"nothing")
                   << ")";
        if (host->Manager().GetFocus() != edit || KillFocusOfEdit() != 0)
            return ::testing::AssertionFailure() << "shown, but without the focus";
        const RECT cell = CellOnWindow(row, 0);
        if (!::EqualRect(&edit->GetPos(), &cell))
            return ::testing::AssertionFailure() << "not over its cell";
        return ::testing::AssertionSuccess();
    }
    std::unique_ptr<PopupHost> host;
    CListExUI* list = nullptr;
};

} // namespace

TEST_P(ListExCellEdit, StaysOpenThroughTheMessagesThatFollowUntilTheUserLeavesIt)
{
    OpenOn(1);
    ASSERT_NE(Edit(), nullptr) << "nothing opened";
    PumpWithPreview();
    EXPECT_TRUE(IsOpenOn(1)) << "after the next pump";
    // The caret blinks, and the paints it asks for come and go.
    PumpWithPreview(700);
    EXPECT_TRUE(IsOpenOn(1)) << "after the timers";
    EXPECT_STREQ(Row(1)->GetText(0).GetData(), L"file1");

    // Typed into and left for another control: the text goes to its row.
    Edit()->SetText(L"renamed");
    host->Click(CenterOf(host->Find(L"other")));
    PumpWithPreview();
    EXPECT_FALSE(Edit()->IsVisible());
    EXPECT_EQ(list->GetEditRow(), -1);
    EXPECT_STREQ(Row(1)->GetText(0).GetData(), L"renamed");
}

TEST_P(ListExCellEdit, ClosesWhenItsRowGoesOrTheListScrolls)
{
    OpenOn(2);
    PumpWithPreview();
    ASSERT_TRUE(IsOpenOn(2));
    ASSERT_TRUE(list->RemoveAt(2));
    PumpWithPreview();
    EXPECT_FALSE(Edit()->IsVisible()) << "open over a row that is gone";

    for (int i = 0; i < 20; ++i) {
        auto* row = new CListTextExtElementUI;
        row->SetFixedHeight(24);
        ASSERT_TRUE(list->Add(row));
    }
    host->Update();
    host->log.entries.clear();
    OpenOn(0);
    PumpWithPreview();
    ASSERT_TRUE(IsOpenOn(0));
    Edit()->SetText(L"not kept");
    list->LineDown();
    PumpWithPreview();
    EXPECT_FALSE(Edit()->IsVisible()) << "open over another row after a scroll";
    EXPECT_STREQ(Row(0)->GetText(0).GetData(), L"file0") << "a scroll commits nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Opened, ListExCellEdit,
    ::testing::Values(Case{"ByCallInAPaintedWindow", Before::Nothing, Open::ByCall},
                      Case{"ByClickInAPaintedWindow", Before::Nothing, Open::ByClick},
                      Case{"ByCallBeforeTheFirstPaint", Before::FirstPaint, Open::ByCall},
                      Case{"ByClickBeforeTheFirstPaint", Before::FirstPaint, Open::ByClick},
                      Case{"ByCallAfterAPageSwitch", Before::PageSwitch, Open::ByCall},
                      Case{"ByClickAfterAPageSwitch", Before::PageSwitch, Open::ByClick}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

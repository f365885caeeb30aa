// Extended list: a header item resized step by step, a list that listens to its manager taken
// out of the tree, cell editors over cells that move, and disabled items.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

#include "PopupHost.h"
#include "../../support/BmpFile.h"
#include "combo/ComboBoxUI.h"
#include "list/ListElementUI.h"
#include "layout/ContainerUI.h"
#include "listex/ListContainerHeaderItemUI.h"
#include "listex/ListExUI.h"
#include "listex/ListTextExtElementUI.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kSkin[] =
    L"<Window size=\"420,300\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<ListEx name=\"list\">"
    L"<ListHeader height=\"24\">"
    L"<ListContainerHeaderItem name=\"h0\" text=\"Name\" width=\"150\" padding=\"0,0,10,0\" editable=\"true\"/>"
    L"<ListContainerHeaderItem name=\"h1\" text=\"Type\" width=\"100\" comboable=\"true\"/>"
    L"</ListHeader>"
    L"<ListTextExtElement height=\"24\"/>"
    L"<ListTextExtElement height=\"24\"/>"
    L"<ListTextExtElement height=\"24\"/>"
    L"</ListEx></VerticalLayout></Window>";

class ListExItemsTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        host = std::make_unique<PopupHost>(kSkin, RECT{0, 0, 420, 300}, GetParam());
        list = static_cast<CListExUI*>(host->Find(L"list"));
        ASSERT_NE(list, nullptr);
        host->Update();
    }
    std::unique_ptr<PopupHost> host;
    CListExUI* list = nullptr;
};

} // namespace

TEST_P(ListExItemsTest, AHeaderItemGrowsByTheDragAloneWhateverItsPaddingAndSteps)
{
    auto* item = static_cast<CListContainerHeaderItemUI*>(host->Find(L"h0"));
    ASSERT_NE(item, nullptr);
    const RECT before = item->GetPos();
    const int y = (before.top + before.bottom) / 2;
    const int x = before.right - 1;
    const int delta = host->Scale(40);
    host->Move(POINT{x, y});
    ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    // Two moves before the next layout.
    ::SendMessageW(host->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + delta / 2, y));
    ::SendMessageW(host->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + delta, y));
    ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x + delta, y));
    host->Update();
    const RECT after = item->GetPos();
    EXPECT_EQ(after.right - after.left, before.right - before.left + delta);
    EXPECT_EQ(list->GetListInfo()->columns[0].right, after.right);
}

TEST_P(ListExItemsTest, TheSeparatorIsHitAtTheWindowScale)
{
    CControlUI* item = host->Find(L"h1");
    const RECT rc = item->GetPos();
    const int y = (rc.top + rc.bottom) / 2;
    // The default separator is 4 wide with 4 of slack, both at the window's scale.
    ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right - host->Scale(8) + 1, y));
    ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(rc.right - host->Scale(8) + 1, y));
    host->Update();
    EXPECT_EQ(host->log.Count(L"listheaderclick"), 0);
    ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right - host->Scale(8) - 2, y));
    ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(rc.right - host->Scale(8) - 2, y));
    host->Update();
    EXPECT_EQ(host->log.Count(L"listheaderclick"), 1);
}

TEST_P(ListExItemsTest, AnEditedCellIsCommittedToItsRowAfterRowsAboveItWent)
{
    list->RegisterNotify();
    const auto row = [this](int i) { return static_cast<CListTextExtElementUI*>(list->GetItemAt(i)); };
    CListTextExtElementUI* edited = row(1);
    CListTextExtElementUI* below = row(2);
    edited->SetText(0, L"one");
    below->SetText(0, L"two");
    list->ShowCellEditor(1, 0, edited->GetColumnRect(0), L"one");
    CControlUI* edit = host->Find(L"ListEx_Edit");
    ASSERT_NE(edit, nullptr);
    edit->SetText(L"changed");
    ASSERT_TRUE(list->RemoveAt(0));
    list->SetFocus();
    host->Update();
    EXPECT_STREQ(edited->GetText(0).GetData(), L"changed");
    EXPECT_STREQ(below->GetText(0).GetData(), L"two");

    // A row removed under the edit takes nothing, and gives nothing to its neighbour.
    list->ShowCellEditor(0, 0, edited->GetColumnRect(0), L"changed");
    edit->SetText(L"lost");
    ASSERT_TRUE(list->RemoveAt(0));
    list->SetFocus();
    host->Update();
    EXPECT_STREQ(below->GetText(0).GetData(), L"two");
}

TEST_P(ListExItemsTest, RowsMovedOrGoneUnderTheCellEditEndTheEditFirst)
{
    list->RegisterNotify();
    const auto row = [this](int i) { return static_cast<CListTextExtElementUI*>(list->GetItemAt(i)); };
    for (int i = 0; i < 3; ++i)
        row(i)->SetText(0, (L"file" + std::to_wstring(i)).c_str());
    CControlUI* edit = nullptr;
    // Opens the edit on a row's first cell and types into it.
    const auto editCell = [&](int index, LPCWSTR typed) {
        list->ShowCellEditor(index, 0, row(index)->GetColumnRect(0), row(index)->GetText(0));
        edit = host->Find(L"ListEx_Edit");
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(edit->IsVisible());
        edit->SetText(typed);
    };
    const auto closed = [&] { return !edit->IsVisible() && list->GetEditRow() == -1; };

    // The edited row itself goes: the edit goes first, and leaves nothing to the row that moves up.
    editCell(1, L"typed");
    CListTextExtElementUI* next = row(2);
    ASSERT_TRUE(list->RemoveAt(1));
    EXPECT_TRUE(closed()) << "the edit stays over the row that took the place";
    list->SetFocus();
    host->Update();
    EXPECT_STREQ(next->GetText(0).GetData(), L"file2");

    // Moved by a move or an insertion above it: what was typed is in the row at once.
    editCell(1, L"moved");
    CListTextExtElementUI* moved = row(1);
    ASSERT_TRUE(list->SetItemIndex(moved, 0));
    EXPECT_TRUE(closed());
    EXPECT_STREQ(moved->GetText(0).GetData(), L"moved");
    editCell(1, L"pushed");
    CListTextExtElementUI* pushed = row(1);
    auto* added = new CListTextExtElementUI;
    ASSERT_TRUE(list->AddAt(added, 0));
    EXPECT_TRUE(closed());
    EXPECT_STREQ(pushed->GetText(0).GetData(), L"pushed");
    editCell(0, L"sorted");
    CListTextExtElementUI* sorted = row(0);
    const auto backwards = [](CControlUI* a, CControlUI* b, UINT_PTR) { return a < b ? 1 : a > b ? -1 : 0; };
    ASSERT_TRUE(list->SortItems(backwards, 0));
    EXPECT_TRUE(closed());
    EXPECT_STREQ(sorted->GetText(0).GetData(), L"sorted");

    // Rows below it, or a refused move, leave the edit open on its cell.
    editCell(0, L"open");
    ASSERT_TRUE(list->RemoveAt(2));
    EXPECT_FALSE(list->SetItemIndex(row(1), 7));
    EXPECT_TRUE(edit->IsVisible());
    EXPECT_EQ(list->GetEditRow(), 0);

    // Emptied: the edit goes first; nothing is left to commit to.
    list->RemoveAll();
    EXPECT_TRUE(closed());
    EXPECT_EQ(list->GetCount(), 0);
    list->SetFocus();
    host->Update();
}

TEST(ListExColumns, AColumnMovedOrGoneBeforeTheEditedOneEndsTheEdit)
{
    // Plain header items go through the list's own operations, and shift the editable column.
    PopupHost host(L"<Window size=\"420,200\"><VerticalLayout bkcolor=\"#FFFFFFFF\"><ListEx name=\"list\">"
                   L"<ListHeader height=\"24\"><ListHeaderItem name=\"mark\" text=\"#\" width=\"30\"/>"
                   L"<ListHeaderItem name=\"kind\" text=\"Kind\" width=\"60\"/>"
                   L"<ListContainerHeaderItem text=\"Name\" width=\"150\" editable=\"true\"/></ListHeader>"
                   L"<ListTextExtElement height=\"24\"/></ListEx></VerticalLayout></Window>",
                   RECT{0, 0, 420, 200});
    auto* list = static_cast<CListExUI*>(host.Find(L"list"));
    ASSERT_NE(list, nullptr);
    list->RegisterNotify();
    host.Update();
    auto* row = static_cast<CListTextExtElementUI*>(list->GetItemAt(0));
    list->ShowCellEditor(0, 2, row->GetColumnRect(2), L"");
    CControlUI* edit = host.Find(L"ListEx_Edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->IsVisible());
    edit->SetText(L"named");
    ASSERT_TRUE(list->SetItemIndex(host.Find(L"kind"), 0));
    EXPECT_TRUE(edit->IsVisible()) << "the edited column stays where it was";
    ASSERT_TRUE(list->Remove(host.Find(L"mark")));
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_EQ(list->GetEditColumn(), -1);
    EXPECT_STREQ(row->GetText(2).GetData(), L"named") << "given to the column it was typed in";
}

TEST_P(ListExItemsTest, TheCellComboAndItsDropDownCloseWhenTheirRowGoes)
{
    list->RegisterNotify();
    CControlUI* cellRow = list->GetItemAt(1);
    const RECT cell = static_cast<CListTextExtElementUI*>(cellRow)->GetColumnRect(1);
    list->ShowCellEditor(1, 1, cell, L"PDF");
    auto* combo = static_cast<CComboBoxUI*>(host->Find(L"ListEx_Combo"));
    ASSERT_NE(combo, nullptr);
    for (LPCWSTR text : {L"PDF", L"Word"}) {
        auto* item = new CListLabelElementUI;
        item->SetText(text);
        item->SetFixedHeight(20);
        combo->Add(item);
    }
    host->Update();
    ASSERT_TRUE(combo->IsVisible());
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    ASSERT_TRUE(list->Remove(cellRow));
    host->Update();
    EXPECT_FALSE(combo->IsVisible());
    EXPECT_EQ(combo->GetDropWindow(), nullptr) << "the drop-down stays open for a row that is gone";
}

TEST_P(ListExItemsTest, AListTakenOutOfTheTreeStopsListening)
{
    list->RegisterNotify();
    INotifyUI* listener = list;
    auto* root = static_cast<CContainerUI*>(host->Find(L"root"));
    ASSERT_TRUE(root->Remove(list));
    host->Update(); // the queued deletion runs
    // Only compares the pointer: the manager must no longer hold it.
    EXPECT_FALSE(host->Manager().RemoveNotifyListener(listener));
    host->Manager().RaiseNotify(root, L"scroll");
}

TEST_P(ListExItemsTest, AColumnAddedAfterTheEditedOneLeavesTheEditOpen)
{
    list->RegisterNotify();
    auto* edited = static_cast<CListTextExtElementUI*>(list->GetItemAt(2));
    list->ShowCellEditor(2, 0, edited->GetColumnRect(0), L"");
    CControlUI* edit = host->Find(L"ListEx_Edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->IsVisible());
    // Column 1 lies after the edited column 0, whatever the edited row's index.
    auto* column = new CListContainerHeaderItemUI;
    column->SetFixedWidth(60);
    ASSERT_TRUE(list->AddAt(column, 1));
    EXPECT_TRUE(edit->IsVisible());
    EXPECT_EQ(list->GetEditRow(), 2);
    EXPECT_EQ(list->GetEditColumn(), 0);
    // One before it moves the cell, and ends the edit.
    ASSERT_TRUE(list->AddAt(new CListContainerHeaderItemUI, 0));
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_EQ(list->GetEditColumn(), -1);
}

namespace {

// Writes the window as a BMP into the folder that ZV_LISTEX_SHOTS names, when it is set.
void ShotIfAsked(HWND hwnd, const std::wstring& name)
{
    const wchar_t* folder = _wgetenv(L"ZV_LISTEX_SHOTS");
    if (folder == nullptr || folder[0] == L'\0')
        return;
    PrintClient(hwnd, [&](HDC memory, int width, int height) {
        WriteBmpAt(std::wstring(folder) + L"\\" + name + L".bmp", width, height, [memory](int x, int y) {
            const COLORREF c = ::GetPixel(memory, x, y);
            return static_cast<DWORD>(GetRValue(c)) << 16 | static_cast<DWORD>(GetGValue(c)) << 8 | GetBValue(c);
        });
    });
}

bool Same(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

// The second column takes the list's width, so a wider list widens its cells.
constexpr wchar_t kLongSkin[] =
    L"<Window size=\"420,200\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<ListEx name=\"list\" itemtextcolor=\"#FF000000\" itemshowrowline=\"true\" itemlinecolor=\"#FF808080\" "
    L"vscrollbar=\"true\">"
    L"<ListHeader height=\"24\">"
    L"<ListContainerHeaderItem text=\"Type\" width=\"100\" comboable=\"true\"/>"
    L"<ListContainerHeaderItem text=\"Name\" editable=\"true\"/>"
    L"</ListHeader></ListEx></VerticalLayout></Window>";

class ListExEditorPlace : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        host = std::make_unique<PopupHost>(kLongSkin, RECT{0, 0, 420, 200}, GetParam());
        list = static_cast<CListExUI*>(host->Find(L"list"));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < 20; ++i) {
            auto* row = new CListTextExtElementUI;
            row->SetFixedHeight(24);
            ASSERT_TRUE(list->Add(row));
            row->SetText(0, L"PDF");
            row->SetText(1, (L"row " + std::to_wstring(i)).c_str());
        }
        host->Update();
    }
    CListTextExtElementUI* Row(int i) { return static_cast<CListTextExtElementUI*>(list->GetItemAt(i)); }
    // The cell's rectangle on the window.
    RECT CellOnWindow(int row, int column)
    {
        RECT rc = Row(row)->GetColumnRect(column);
        ::OffsetRect(&rc, list->GetPos().left, list->GetPos().top);
        return rc;
    }
    void Resize(int width)
    {
        RECT rc = {};
        ::GetWindowRect(host->Handle(), &rc);
        ::SetWindowPos(host->Handle(), nullptr, 0, 0, host->Scale(width), rc.bottom - rc.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        host->Update();
    }
    std::unique_ptr<PopupHost> host;
    CListExUI* list = nullptr;
};

} // namespace

// The list is not a notify receiver here, as in this program: no "scroll" notification reaches it.
TEST_P(ListExEditorPlace, TheCellEditsFollowAResizeAndCloseOnAScroll)
{
    const std::wstring dpi = std::to_wstring(GetParam());
    list->ShowCellEditor(2, 1, Row(2)->GetColumnRect(1), L"row 2");
    CControlUI* edit = host->Find(L"ListEx_Edit");
    ASSERT_NE(edit, nullptr);
    edit->SetText(L"EDITING ROW 2");
    host->Update();
    ASSERT_TRUE(edit->IsVisible());
    EXPECT_TRUE(Same(edit->GetPos(), CellOnWindow(2, 1)));

    // A wider window widens the column under the edit.
    Resize(520);
    EXPECT_TRUE(edit->IsVisible());
    EXPECT_TRUE(Same(edit->GetPos(), CellOnWindow(2, 1)))
        << "edit right " << edit->GetPos().right << ", cell right " << CellOnWindow(2, 1).right;
    ShotIfAsked(host->Handle(), L"listex-edit-before-scroll-" + dpi);

    // Two line-downs, as the scroll bar's arrow gives them: the edit goes, nothing is committed.
    list->LineDown();
    list->LineDown();
    host->Update();
    ShotIfAsked(host->Handle(), L"listex-edit-after-scroll-" + dpi);
    EXPECT_FALSE(edit->IsVisible()) << "the edit stays over other rows";
    EXPECT_EQ(list->GetEditRow(), -1);
    EXPECT_STREQ(Row(2)->GetText(1).GetData(), L"row 2");

    // The combo goes with a scroll the same way.
    list->ShowCellEditor(5, 0, Row(5)->GetColumnRect(0), L"PDF");
    CControlUI* combo = host->Find(L"ListEx_Combo");
    ASSERT_NE(combo, nullptr);
    host->Update();
    ASSERT_TRUE(combo->IsVisible());
    EXPECT_TRUE(Same(combo->GetPos(), CellOnWindow(5, 0)));
    list->LineDown();
    host->Update();
    EXPECT_FALSE(combo->IsVisible());
}

INSTANTIATE_TEST_SUITE_P(Scale, ListExEditorPlace, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

// --- disabled items ---

namespace {

constexpr wchar_t kCheckSkin[] =
    L"<Window size=\"420,200\"><VerticalLayout bkcolor=\"#FFFFFFFF\"><ListEx name=\"list\">"
    L"<ListHeader height=\"24\">"
    L"<ListContainerHeaderItem name=\"head\" text=\"Name\" width=\"200\" checkable=\"true\" "
    L"checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"</ListHeader>"
    L"<ListTextExtElement name=\"r0\" height=\"24\" checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"<ListTextExtElement name=\"r1\" height=\"24\" checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"<ListTextExtElement name=\"r2\" height=\"24\" checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"</ListEx></VerticalLayout></Window>";

POINT MiddleOf(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

} // namespace

TEST(ListExChecks, DisabledHeaderItemsAndRowsTickNothingAndSendNothing)
{
    PopupHost host(kCheckSkin, RECT{0, 0, 420, 200});
    auto* list = static_cast<CListExUI*>(host.Find(L"list"));
    auto* head = static_cast<CListContainerHeaderItemUI*>(host.Find(L"head"));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(head, nullptr);
    list->RegisterNotify();
    host.Update();
    const auto row = [&](int i) { return static_cast<CListTextExtElementUI*>(list->GetItemAt(i)); };
    const auto ticked = [&] {
        int n = 0;
        for (int i = 0; i < list->GetCount(); ++i)
            n += row(i)->GetCheck() ? 1 : 0;
        return n;
    };

    head->SetEnabled(false);
    host.Click(MiddleOf(head->GetCheckBoxRect()));
    EXPECT_FALSE(head->GetCheck());
    EXPECT_EQ(ticked(), 0);
    EXPECT_EQ(host.log.Count(L"listheaditemchecked"), 0);

    row(1)->SetEnabled(false);
    host.Click(MiddleOf(row(1)->GetCheckBoxRect()));
    EXPECT_FALSE(row(1)->GetCheck());
    EXPECT_EQ(host.log.Count(L"listitemchecked"), 0);

    // Disabled between the press and the release: the release ticks nothing either.
    const POINT box = MiddleOf(row(0)->GetCheckBoxRect());
    ::SendMessageW(host.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
    row(0)->SetEnabled(false);
    ::SendMessageW(host.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
    host.Update();
    row(0)->SetEnabled(true);
    host.Click(MiddleOf(row(0)->GetCheckBoxRect()));
    host.Click(MiddleOf(row(0)->GetCheckBoxRect()));
    EXPECT_FALSE(row(0)->GetCheck()) << "a press kept from while it was disabled";
    EXPECT_EQ(host.log.Count(L"listitemchecked"), 2);

    // Enabled again, the same click ticks the header and every row.
    head->SetEnabled(true);
    row(1)->SetEnabled(true);
    host.Click(MiddleOf(head->GetCheckBoxRect()));
    EXPECT_TRUE(head->GetCheck());
    EXPECT_EQ(ticked(), 3);

    // Inside a disabled list: nothing.
    list->SetEnabled(false);
    host.Click(MiddleOf(head->GetCheckBoxRect()));
    host.Click(MiddleOf(row(2)->GetCheckBoxRect()));
    EXPECT_TRUE(head->GetCheck());
    EXPECT_TRUE(row(2)->GetCheck());
    EXPECT_EQ(host.log.Count(L"listheaditemchecked"), 1);
    EXPECT_EQ(host.log.Count(L"listitemchecked"), 2);
}

INSTANTIATE_TEST_SUITE_P(Scale, ListExItemsTest, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

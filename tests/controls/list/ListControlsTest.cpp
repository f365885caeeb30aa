// The list, its header and its rows in the test skin, driven by real window messages: selection
// by mouse, keyboard and wheel, header resizing and clicks, sorting, rows that move, painting.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ListSkin.h"
#include "list/ListElementUI.h"
#include "list/ListHeaderItemUI.h"
#include "list/ListHeaderUI.h"
#include "control/ScrollBarUI.h"
#include "list/ListContainerElementUI.h"
#include "list/ListTextElementUI.h"

using namespace ZvUI;

namespace {

std::vector<int> Selection(CListUI* list)
{
    std::vector<int> out;
    for (int i = list->GetNextSelItem(-1); i >= 0; i = list->GetNextSelItem(i))
        out.push_back(i);
    return out;
}

POINT RowPoint(CListUI* list, int index)
{
    return CenterOf(list->GetItemAt(index));
}

class ListTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { w = std::make_unique<ListSkinWindow>(GetParam()); }
    std::unique_ptr<ListSkinWindow> w;
};

using Ints = std::vector<int>;

} // namespace

// --- selection by mouse ---

TEST_P(ListTest, ClickSelectsOneRowAndReportsItOnce)
{
    w->Click(RowPoint(w->boxList, 1));
    w->Click(RowPoint(w->boxList, 1));
    ASSERT_EQ(w->log.Count(L"itemselect"), 1);
    EXPECT_EQ(w->log.Of(L"itemselect")[0].wParam, 1u);
    EXPECT_EQ(w->log.Count(L"itemclick"), 2);
    w->Click(RowPoint(w->boxList, 2));
    EXPECT_EQ(Selection(w->boxList), Ints{2});
    EXPECT_FALSE(static_cast<IListItemUI*>(w->boxList->GetItemAt(1)->GetInterface(L"ListItem"))->IsSelected());
}

TEST_P(ListTest, CtrlAndShiftClicksExtendAMultipleSelection)
{
    CListUI* list = w->textList;
    w->Click(RowPoint(list, 1));
    w->Click(RowPoint(list, 3), MK_CONTROL);
    EXPECT_EQ(Selection(list), (Ints{1, 3}));
    w->Click(RowPoint(list, 1), MK_CONTROL);
    EXPECT_EQ(Selection(list), Ints{3});
    w->log.entries.clear();
    w->Click(RowPoint(list, 5), MK_SHIFT);
    EXPECT_EQ(Selection(list), (Ints{1, 2, 3, 4, 5})) << "the range runs from the anchor, row 1";
    ASSERT_EQ(w->log.Count(L"itemselect"), 1);
    EXPECT_EQ(w->log.Of(L"itemselect")[0].wParam, 5u);
    EXPECT_EQ(w->log.Of(L"itemselect")[0].lParam, 1);
}

TEST_P(ListTest, ModifierClicksInASingleSelectionListSelectOneRow)
{
    w->Click(RowPoint(w->boxList, 0));
    w->Click(RowPoint(w->boxList, 2), MK_CONTROL);
    EXPECT_EQ(Selection(w->boxList), Ints{2});
    w->boxList->SetAttribute(L"MultiSelect", L"true");
    EXPECT_FALSE(w->boxList->IsMultiSelect()) << "the attribute's name is matched exactly";
}

// --- keyboard and wheel ---

TEST_P(ListTest, ArrowsHomeAndEndMoveTheSelection)
{
    CListUI* list = w->boxList;
    w->Key(VK_DOWN);
    EXPECT_EQ(Selection(list), Ints{}) << "nothing selected: Down does nothing";
    w->Click(RowPoint(list, 1));
    w->Key(VK_DOWN);
    EXPECT_EQ(Selection(list), Ints{2});
    w->Key(VK_DOWN);
    w->Key(VK_DOWN);
    EXPECT_EQ(Selection(list), Ints{3}) << "Down stops at the last row";
    w->Key(VK_UP);
    EXPECT_EQ(Selection(list), Ints{2});
    w->Key(VK_HOME);
    EXPECT_EQ(Selection(list), Ints{0});
    w->Key(VK_END);
    EXPECT_EQ(Selection(list), Ints{3});

    list->GetItemAt(0)->SetEnabled(false);
    w->Key(VK_HOME);
    EXPECT_EQ(Selection(list), Ints{}) << "Home selects only the first row itself";
}

TEST_P(ListTest, PageDownAndWheelScrollTheBody)
{
    CListUI* list = w->textList;
    ASSERT_GT(list->GetScrollRange().cy, 0) << "twelve rows overflow the list";
    w->Click(RowPoint(list, 0));
    w->Key(VK_NEXT);
    const int afterPage = list->GetScrollPos().cy;
    EXPECT_GT(afterPage, 0);
    w->Key(VK_PRIOR);
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    w->Wheel(RowPoint(list, 1), -2);
    EXPECT_GT(list->GetScrollPos().cy, 0);
    // The header keeps its place while the rows scroll under it.
    EXPECT_LT(list->GetItemAt(0)->GetPos().top, list->GetHeader()->GetPos().bottom);
}

TEST_P(ListTest, ADisabledListNeitherScrollsNorSelects)
{
    CListUI* list = w->textList;
    ASSERT_GT(list->GetScrollRange().cy, 0);
    list->SetEnabled(false);
    w->Wheel(RowPoint(list, 1), -2);
    EXPECT_EQ(list->GetScrollPos().cy, 0) << "the wheel scrolled it";
    // The bar's arrow and rail, pressed.
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    const RECT rail = bar->GetPos();
    w->Click(POINT{(rail.left + rail.right) / 2, rail.bottom - 2});
    w->Click(POINT{(rail.left + rail.right) / 2, (rail.top + rail.bottom) / 2 + 10});
    EXPECT_EQ(list->GetScrollPos().cy, 0) << "the bar scrolled it";
    w->boxList->SetScrollSelect(true);
    w->boxList->SetEnabled(false);
    const Ints before = Selection(w->boxList);
    w->log.entries.clear();
    w->Wheel(RowPoint(w->boxList, 1), -1);
    EXPECT_EQ(Selection(w->boxList), before);
    EXPECT_EQ(w->log.Count(L"itemselect"), 0);
}

TEST_P(ListTest, WheelMovesTheSelectionWithScrollSelect)
{
    w->boxList->SetScrollSelect(true);
    w->Click(RowPoint(w->boxList, 1));
    w->log.entries.clear();
    w->Wheel(RowPoint(w->boxList, 1), -1);
    EXPECT_EQ(Selection(w->boxList), Ints{2});
    EXPECT_EQ(w->log.Count(L"itemselect"), 1);
    w->Wheel(RowPoint(w->boxList, 1), 2);
    EXPECT_EQ(Selection(w->boxList), Ints{0});
}

TEST_P(ListTest, CtrlASelectsEveryRow)
{
    w->Click(RowPoint(w->textList, 0));
    w->Key('A', MK_CONTROL);
    EXPECT_EQ(w->textList->GetSelectItemCount(), w->textList->GetCount());
}

// --- header ---

TEST_P(ListTest, DraggingTheSeparatorResizesTheColumnAndItsCells)
{
    auto* name = static_cast<CListHeaderItemUI*>(w->Find(L"colname"));
    const RECT before = name->GetPos();
    const int mid = (before.top + before.bottom) / 2;
    const int delta = w->Scale(30);
    w->Drag(POINT{before.right - 1, mid}, POINT{before.right - 1 + delta, mid});
    const RECT after = name->GetPos();
    EXPECT_EQ(after.right - after.left, before.right - before.left + delta);
    const UIListInfo* info = w->textList->GetListInfo();
    EXPECT_EQ(info->columns[0].right, after.right) << "the list's columns follow";
    EXPECT_EQ(info->columns[1].left, w->Find(L"colsize")->GetPos().left);
    EXPECT_EQ(w->log.Count(L"headerclick"), 0) << "a press on the separator is no click";
}

TEST_P(ListTest, AColumnWithRightPaddingGrowsOnlyByTheDrag)
{
    auto* name = static_cast<CListHeaderItemUI*>(w->Find(L"colname"));
    name->SetPadding(RECT{0, 0, 10, 0});
    w->Update();
    const RECT before = name->GetPos();
    const int mid = (before.top + before.bottom) / 2;
    const int delta = w->Scale(20);
    w->Drag(POINT{before.right - 1, mid}, POINT{before.right - 1 + delta, mid});
    const RECT after = name->GetPos();
    EXPECT_EQ(after.right - after.left, before.right - before.left + delta);
    // A press and release without a move changes nothing.
    w->Drag(POINT{after.right - 1, mid}, POINT{after.right - 1, mid});
    EXPECT_EQ(name->GetPos().right - name->GetPos().left, after.right - after.left);
}

TEST_P(ListTest, SeparatorIsHitWhereItIsDrawn)
{
    auto* name = static_cast<CListHeaderItemUI*>(w->Find(L"colname"));
    const RECT rc = name->GetPos();
    const int mid = (rc.top + rc.bottom) / 2;
    // 3 pixels of separator and 4 of slack at 96 dpi, both at the window's scale.
    const RECT thumb = name->GetThumbRect(true);
    EXPECT_EQ(thumb.right - thumb.left, w->Scale(7));
    w->Click(POINT{rc.right - w->Scale(7) + 1, mid});
    EXPECT_EQ(w->log.Count(L"headerclick"), 0);
    w->Click(POINT{rc.right - w->Scale(7) - 2, mid});
    EXPECT_EQ(w->log.Count(L"headerclick"), 1);
}

TEST_P(ListTest, TheSeparatorShowsTheSizingCursor)
{
    const RECT rc = w->Find(L"colname")->GetPos();
    const auto cursorAt = [this](POINT pt) {
        POINT screen = pt;
        ::ClientToScreen(w->Handle(), &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::SetCursor(nullptr);
        ::SendMessageW(w->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    const HCURSOR sizing = ::LoadCursorW(nullptr, IDC_SIZEWE);
    EXPECT_EQ(cursorAt(POINT{rc.right - w->Scale(2), (rc.top + rc.bottom) / 2}), sizing);
    EXPECT_NE(cursorAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}), sizing);
}

TEST_P(ListTest, HeaderClickSortsTheRows)
{
    CListUI* list = w->textList;
    w->Click(RowPoint(list, 2));
    const auto byName = [](CControlUI* a, CControlUI* b, UINT_PTR) {
        return wcscmp(static_cast<CListTextElementUI*>(a)->GetText(0), static_cast<CListTextElementUI*>(b)->GetText(0));
    };
    w->Click(CenterOf(w->Find(L"colname")));
    ASSERT_EQ(w->log.Count(L"headerclick"), 1);
    ASSERT_TRUE(list->SortItems(byName, 0));
    for (int i = 0; i < list->GetCount(); ++i) {
        auto* row = static_cast<CListTextElementUI*>(list->GetItemAt(i));
        EXPECT_EQ(row->GetIndex(), i);
        EXPECT_FALSE(row->IsSelected());
        if (i > 0)
            EXPECT_LE(wcscmp(static_cast<CListTextElementUI*>(list->GetItemAt(i - 1))->GetText(0), row->GetText(0)), 0);
    }
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(list->SortItems(nullptr, 0));
}

// --- rows that come, go and move ---

TEST_P(ListTest, SelectionFollowsRowsThatMove)
{
    CListUI* list = w->textList;
    w->Click(RowPoint(list, 3));
    w->Click(RowPoint(list, 5), MK_CONTROL);
    CControlUI* third = list->GetItemAt(3);
    CControlUI* fifth = list->GetItemAt(5);

    ASSERT_TRUE(list->RemoveAt(1));
    EXPECT_EQ(Selection(list), (Ints{2, 4}));
    auto* fresh = new CListTextElementUI;
    ASSERT_TRUE(list->AddAt(fresh, 0));
    EXPECT_EQ(Selection(list), (Ints{3, 5}));
    ASSERT_TRUE(list->SetItemIndex(fifth, 0));
    EXPECT_EQ(Selection(list), (Ints{4, 0}));
    EXPECT_EQ(list->GetItemAt(4), third);
    // The named rows are the selected ones, so deselecting by index reaches them.
    EXPECT_TRUE(list->UnSelectItem(4));
    EXPECT_FALSE(static_cast<CListTextElementUI*>(third)->IsSelected());
}

TEST_P(ListTest, RemovingTheSelectedRowSelectsTheRowAtItsPlace)
{
    CListUI* list = w->boxList;
    w->Click(RowPoint(list, 1));
    CControlUI* next = list->GetItemAt(2);
    ASSERT_TRUE(list->RemoveAt(1));
    EXPECT_EQ(Selection(list), Ints{1});
    EXPECT_EQ(list->GetItemAt(1), next);
    w->Click(RowPoint(list, 2));
    ASSERT_TRUE(list->RemoveAt(2));
    EXPECT_EQ(Selection(list), Ints{1}) << "past the end: the last row";
}

TEST_P(ListTest, HiddenOrDisabledRowsKeepOutOfTheSelection)
{
    CListUI* list = w->boxList;
    w->Click(RowPoint(list, 1));
    list->GetItemAt(1)->SetVisible(false);
    EXPECT_EQ(list->GetCurSel(), -1);
    list->GetItemAt(2)->SetEnabled(false);
    EXPECT_FALSE(list->SelectItem(2));
    w->Click(RowPoint(list, 2));
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_P(ListTest, ContainerRowDoubleClickActivatesIt)
{
    w->DoubleClick(RowPoint(w->boxList, 0));
    EXPECT_EQ(w->log.Count(L"itemactivate"), 1);
    EXPECT_EQ(w->log.Count(L"itemdbclick"), 1);
    w->Key(VK_RETURN);
    EXPECT_EQ(w->log.Count(L"itemactivate"), 2);
}

// --- looks ---

TEST_P(ListTest, RowsPaintTheirStateAtTheWindowScale)
{
    CListUI* list = w->boxList;
    const RECT row = list->GetItemAt(1)->GetPos();
    EXPECT_EQ(row.bottom - row.top, w->Scale(24));
    w->Click(RowPoint(list, 1));
    w->Move(POINT{1, 1});
    w->Update();
    // Low in the row, so a row drawn at the 100 % height would miss the point at 200 %.
    const int y = row.bottom - w->Scale(3);
    EXPECT_EQ(PixelAt(w->Handle(), row.right - w->Scale(4), y), 0xF2D49Cu) << "selected colour";
    EXPECT_EQ(PixelAt(w->Handle(), row.right - w->Scale(4), list->GetItemAt(0)->GetPos().bottom - w->Scale(3)),
              0xF6F6F6u)
        << "even rows keep the background colour";
    EXPECT_EQ(PixelAt(w->Handle(), row.right - w->Scale(4), list->GetItemAt(3)->GetPos().bottom - w->Scale(3)),
              0xFFFFFFu)
        << "odd rows under itemaltbk have none";
}

TEST_P(ListTest, TextRowsFollowTheHeaderColumns)
{
    CListUI* list = w->textList;
    auto* row = static_cast<CListTextElementUI*>(list->GetItemAt(0));
    EXPECT_STREQ(row->GetText(1), L"1 KB");
    row->SetText(7, L"ignored");
    EXPECT_EQ(row->GetText(7), nullptr) << "only columns of the header take text";
    EXPECT_EQ(list->GetListInfo()->columnCount, 3);
    const RECT size = w->Find(L"colsize")->GetPos();
    EXPECT_EQ(list->GetListInfo()->columns[1].left, size.left);
    EXPECT_EQ(list->GetListInfo()->columns[1].right, size.right);
    EXPECT_EQ(size.right - size.left, w->Scale(70));

    // The column table has 32 places; more header items are left out of it.
    for (int i = 0; i < 30; ++i)
        list->Add(new CListHeaderItemUI);
    EXPECT_EQ(list->GetHeader()->GetCount(), 33);
    EXPECT_EQ(list->GetListInfo()->columnCount, 32);
    w->Update();
    PixelAt(w->Handle(), 0, 0);
}

TEST_P(ListTest, ARemovedHeaderIsForgotten)
{
    CListUI* list = w->boxList;
    ASSERT_TRUE(list->Remove(list->GetHeader()));
    EXPECT_EQ(list->GetHeader(), nullptr);
    EXPECT_EQ(list->GetListInfo()->columnCount, 0);
    list->SetAttribute(L"header", L"hidden");
    list->NeedUpdate();
    w->Update();
    w->Click(RowPoint(list, 1));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, list->GetList()->GetPos().top) << "the rows take the room";
}

TEST_P(ListTest, LinksInTextRowsRaiseLinkInsteadOfItemClick)
{
    CListUI* list = w->textList;
    list->SetAttribute(L"itemshowhtml", L"true");
    auto* row = static_cast<CListTextElementUI*>(list->GetItemAt(0));
    row->SetText(0, L"<a>open</a>");
    w->Update();
    PixelAt(w->Handle(), 0, 0);  // a paint collects the link rectangles
    ASSERT_EQ(row->GetLinkCount(), 1);
    EXPECT_EQ(row->GetLinkContent(1), nullptr);
    const RECT cell = list->GetListInfo()->columns[0];
    const RECT rc = row->GetPos();
    w->Click(POINT{cell.left + w->Scale(4) + 3, (rc.top + rc.bottom) / 2});
    ASSERT_EQ(w->log.Count(L"link"), 1);
    EXPECT_EQ(w->log.Of(L"link")[0].wParam, 0u);
    EXPECT_EQ(w->log.Count(L"itemclick"), 0);
    w->Click(POINT{list->GetListInfo()->columns[2].left + w->Scale(20), (rc.top + rc.bottom) / 2});
    EXPECT_EQ(w->log.Count(L"itemclick"), 1) << "outside the link the row is clicked";
}

TEST_P(ListTest, LabelRowsMeasureByTheFontAndSelectWithTheRightButtonWhenAsked)
{
    CListUI* list = w->boxList;
    auto* label = new CListLabelElementUI;
    label->SetText(L"label row");
    ASSERT_TRUE(list->AddAt(label, 0));
    w->Update();
    const int fontHeight = w->Manager().GetDefaultFontInfo()->metrics.tmHeight;
    EXPECT_EQ(label->GetPos().bottom - label->GetPos().top, fontHeight + w->Scale(8));
    EXPECT_FALSE(list->ExpandItem(0)) << "plain rows do not expand";

    const POINT pt = CenterOf(label);
    ::SendMessageW(w->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(w->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(list->GetCurSel(), -1);
    list->SetAttribute(L"itemrselected", L"true");
    ::SendMessageW(w->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(w->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(list->GetCurSel(), 0);
}

TEST_P(ListTest, TheSelectionHandshakeKeepsRowsAndSetInStep)
{
    CListUI* list = w->textList;
    const auto row = [list](int i) { return static_cast<IListItemUI*>(list->GetItemAt(i)->GetInterface(L"ListItem")); };
    w->Click(RowPoint(list, 5));
    w->Click(RowPoint(list, 2), MK_CONTROL);
    EXPECT_EQ(Selection(list), (Ints{5, 2})) << "the set keeps the order of selecting";
    // Selecting an already selected row still makes it the only one.
    EXPECT_TRUE(row(2)->Select(true));
    EXPECT_EQ(Selection(list), Ints{2});
    EXPECT_FALSE(row(5)->IsSelected());

    list->GetItemAt(2)->SetEnabled(false);
    EXPECT_FALSE(row(2)->Select(false)) << "a disabled row can neither be selected nor deselected";
    EXPECT_FALSE(row(2)->SelectMulti(false));
    EXPECT_TRUE(row(2)->IsSelected());
    // A control that is no list row is never counted.
    list->GetList()->Add(new CControlUI);
    list->SelectAllItems();
    EXPECT_EQ(list->GetSelectItemCount(), list->GetCount() - 1);
}

namespace {

// Removes the row that the first "itemselect" of the list names.
struct RemoveOnSelect : INotifyUI {
    explicit RemoveOnSelect(CListUI* l) : list(l) {}
    void Notify(UINotifyMessage& msg) override
    {
        if (!done && msg.type == L"itemselect" && msg.sender == list) {
            done = true;
            list->RemoveAt(static_cast<int>(msg.wParam));
        }
    }
    CListUI* list;
    bool done = false;
};

// Removes the row that reports "buttondown".
struct RemoveOnButtonDown : INotifyUI {
    explicit RemoveOnButtonDown(CListUI* l) : list(l) {}
    void Notify(UINotifyMessage& msg) override
    {
        if (msg.type == L"buttondown")
            removed = list->Remove(msg.sender);
    }
    CListUI* list;
    bool removed = false;
};

} // namespace

TEST_P(ListTest, ARowRemovedOnItsButtonDownLeavesTheRowInItsPlaceUnselected)
{
    CListUI* list = w->boxList;
    list->GetItemAt(1)->SetRichEvent(true);
    CControlUI* next = list->GetItemAt(2);
    const POINT at = RowPoint(list, 1);
    RemoveOnButtonDown remover(list);
    w->Manager().AddNotifyListener(&remover);
    w->Click(at);
    w->Manager().RemoveNotifyListener(&remover);
    ASSERT_TRUE(remover.removed);
    EXPECT_EQ(list->GetItemAt(1), next);
    EXPECT_EQ(Selection(list), Ints{}) << "the press was on the removed row, not on the one now there";
    EXPECT_EQ(w->log.Count(L"itemselect"), 0);
}

TEST_P(ListTest, ARowRemovedByItsOwnItemSelectIsNeitherSelectedNorFocused)
{
    CListUI* list = w->boxList;
    CControlUI* doomed = list->GetItemAt(1);
    CControlUI* next = list->GetItemAt(2);
    RemoveOnSelect remover(list);
    w->Manager().AddNotifyListener(&remover);
    EXPECT_FALSE(list->SelectItem(1, true));
    w->Manager().RemoveNotifyListener(&remover);
    ASSERT_TRUE(remover.done);
    EXPECT_NE(w->Manager().GetFocus(), doomed);
    // The removal itself selected the row that took the place.
    EXPECT_EQ(list->GetItemAt(1), next);
    EXPECT_EQ(Selection(list), Ints{1});
    w->Update();
    EXPECT_NE(w->Manager().GetFocus(), doomed);
}

TEST_P(ListTest, SetItemIndexOutOfRangeKeepsTheRow)
{
    CListUI* list = w->textList;
    CControlUI* row = list->GetItemAt(3);
    const int count = list->GetCount();
    EXPECT_FALSE(list->SetItemIndex(row, count));
    EXPECT_FALSE(list->SetItemIndex(row, -5));
    ASSERT_EQ(list->GetCount(), count);
    EXPECT_EQ(list->GetItemAt(3), row);
    CControlUI* column = w->Find(L"coltype");
    EXPECT_FALSE(list->SetItemIndex(column, 3));
    EXPECT_EQ(list->GetHeader()->GetCount(), 3);
    EXPECT_EQ(list->GetHeader()->GetItemAt(2), column);
}

namespace {

// Texts "r<row>c<column>" and a colour per state; records each cell asked for.
struct RecordingCallback : IListTextCallbackUI {
    CUIString GetItemText(CControlUI*, int index, int subItem) override
    {
        CUIString text;
        text.Format(L"r%dc%d", index, subItem);
        return text;
    }
    DWORD GetItemTextColor(CControlUI*, int index, int subItem, int state) override
    {
        asked.push_back(index * 100 + subItem * 10 + state);
        return 0xFF000000;
    }
    std::vector<int> asked;
};

} // namespace

TEST_P(ListTest, TextCallbackSuppliesEveryCellWithTheRowState)
{
    RecordingCallback callback;
    w->textList->SetTextCallback(&callback);
    w->Click(RowPoint(w->textList, 1));
    PixelAt(w->Handle(), 0, 0);
    const auto has = [&callback](int code) {
        return std::find(callback.asked.begin(), callback.asked.end(), code) != callback.asked.end();
    };
    EXPECT_TRUE(has(0 * 100 + 2 * 10 + ListItemStateNormal)) << "row 0, column 2";
    EXPECT_TRUE(has(1 * 100 + 0 * 10 + ListItemStateSelected));
    EXPECT_FALSE(has(0 * 100 + 3 * 10 + ListItemStateNormal)) << "three columns only";
    w->textList->SetTextCallback(nullptr);
}

TEST_P(ListTest, AnAttachedBarServesTheBodyAndStaysTheCallers)
{
    auto* bar = new CScrollBarUI;
    bar->SetFixedWidth(10);
    w->textList->AttachVerticalScrollBar(bar);
    EXPECT_EQ(w->textList->GetVerticalScrollBar(), bar);
    EXPECT_EQ(w->textList->GetList()->GetVerticalScrollBar(), bar);
    EXPECT_TRUE(w->textList->GetList()->IsVerticalScrollBarExternal());
    w->textList->NeedUpdate();
    w->Update();
    EXPECT_TRUE(bar->IsVisible()) << "twelve rows outgrow the body";
    EXPECT_GT(bar->GetScrollRange(), 0);
    // The list is done with; the bar is still the caller's to delete.
    static_cast<CContainerUI*>(w->textList->GetParent())->Remove(w->textList);
    w->Update();
    delete bar;
}

TEST_P(ListTest, ScaledHeaderItemsTakeTheirShareOfTheWidth)
{
    CListHeaderUI* header = w->boxList->GetHeader();
    header->SetAttribute(L"scaleheader", L"true");
    static_cast<CListHeaderItemUI*>(header->GetItemAt(0))->SetAttribute(L"scale", L"25");
    static_cast<CListHeaderItemUI*>(header->GetItemAt(1))->SetAttribute(L"scale", L"75");
    w->boxList->NeedUpdate();
    w->Update();
    const int width = header->GetPos().right - header->GetPos().left;
    EXPECT_EQ(header->GetItemAt(0)->GetWidth(), width * 25 / 100);
    EXPECT_EQ(header->GetItemAt(1)->GetWidth(), width * 75 / 100);
    // Container rows put their cells under the columns.
    auto* row = static_cast<CListContainerElementUI*>(w->boxList->GetItemAt(0));
    EXPECT_EQ(row->GetItemAt(1)->GetPos().left, header->GetItemAt(1)->GetPos().left);
}

TEST_P(ListTest, FixedWidthContainerRowsTileAPlainList)
{
    CListUI* list = w->boxList;
    list->SetAttribute(L"header", L"hidden");
    for (int i = 0; i < list->GetCount(); ++i)
        list->GetItemAt(i)->SetFixedWidth(100);
    list->NeedUpdate();
    w->Update();
    // 216 pixels wide at 96 dpi: two tiles a line.
    const RECT first = list->GetItemAt(0)->GetPos();
    const RECT second = list->GetItemAt(1)->GetPos();
    const RECT third = list->GetItemAt(2)->GetPos();
    EXPECT_EQ(second.top, first.top);
    EXPECT_EQ(second.left, first.left + w->Scale(100));
    EXPECT_EQ(third.left, first.left);
    EXPECT_EQ(third.top, first.bottom);
}

INSTANTIATE_TEST_SUITE_P(Scale, ListTest, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return info.param == 96 ? "At100" : "At200"; });

// Extended list: header and row check boxes kept in step, columns resized by their separators,
// cells edited and committed through the in-cell edit and combo, at 100 % and 200 %.
#include <gtest/gtest.h>

#include "PopupHost.h"
#include "combo/ComboBoxUI.h"
#include "combo/ComboWnd.h"
#include "list/ListElementUI.h"
#include "list/ListHeaderUI.h"
#include "listex/ListContainerHeaderItemUI.h"
#include "listex/ListExUI.h"
#include "listex/ListTextExtElementUI.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kSkin[] =
    L"<Window size=\"420,300\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<ListEx name=\"list\" itemtextpadding=\"4,0,4,0\">"
    L"<ListHeader height=\"24\">"
    L"<ListContainerHeaderItem name=\"h0\" text=\"Name\" width=\"150\" checkable=\"true\" editable=\"true\" "
    L"checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"<ListContainerHeaderItem name=\"h1\" text=\"Type\" width=\"100\" comboable=\"true\"/>"
    L"<ListContainerHeaderItem name=\"h2\" text=\"Size\" width=\"100\" sepwidth=\"-4\"/>"
    L"</ListHeader>"
    L"<ListTextExtElement height=\"24\" checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"<ListTextExtElement height=\"24\" checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"<ListTextExtElement height=\"24\" checkboxwidth=\"14\" checkboxheight=\"14\"/>"
    L"</ListEx></VerticalLayout></Window>";

struct TypeFiller : IListComboCallbackUI {
    void FillCombo(CComboBoxUI* combo, int row, int column) override
    {
        calls.push_back({row, column});
        for (LPCWSTR text : {L"PDF", L"Word", L"Image"}) {
            auto* item = new CListLabelElementUI;
            item->SetText(text);
            item->SetFixedHeight(20);
            combo->Add(item);
        }
    }
    std::vector<std::pair<int, int>> calls;
};

POINT Centre(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class ListExTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        host = std::make_unique<PopupHost>(kSkin, RECT{0, 0, 420, 300}, GetParam());
        list = static_cast<CListExUI*>(host->Find(L"list"));
        ASSERT_NE(list, nullptr);
        list->RegisterNotify();
        for (int i = 0; i < list->GetCount(); ++i) {
            rows.push_back(static_cast<CListTextExtElementUI*>(list->GetItemAt(i)));
            rows.back()->SetText(0, (L"file" + std::to_wstring(i)).c_str());
            rows.back()->SetText(1, L"PDF");
        }
        header0 = static_cast<CListContainerHeaderItemUI*>(host->Find(L"h0"));
        host->Update();
    }
    void TearDown() override { host.reset(); }

    std::unique_ptr<PopupHost> host;
    CListExUI* list = nullptr;
    CListContainerHeaderItemUI* header0 = nullptr;
    std::vector<CListTextExtElementUI*> rows;
};

} // namespace

TEST_P(ListExTest, HeaderAndRowCheckBoxesStayInStep)
{
    ASSERT_EQ(rows.size(), 3u);
    // One scale for header and rows: the same offset from the left edge and the same size.
    const RECT head = header0->GetCheckBoxRect();
    const RECT row = rows[0]->GetCheckBoxRect();
    EXPECT_EQ(head.left - header0->GetPos().left, host->Scale(6));
    EXPECT_EQ(row.left - rows[0]->GetPos().left, head.left - header0->GetPos().left);
    EXPECT_EQ(row.right - row.left, host->Scale(14));
    EXPECT_EQ(head.bottom - head.top, host->Scale(14));

    host->Click(Centre(head));
    for (auto* r : rows)
        EXPECT_TRUE(r->GetCheck());
    EXPECT_TRUE(header0->GetCheck());
    EXPECT_EQ(host->log.Count(L"listitemchecked"), 0);

    host->Click(Centre(rows[1]->GetCheckBoxRect()));
    EXPECT_FALSE(rows[1]->GetCheck());
    EXPECT_FALSE(header0->GetCheck());
    host->Click(Centre(rows[1]->GetCheckBoxRect()));
    EXPECT_TRUE(rows[1]->GetCheck());
    EXPECT_TRUE(header0->GetCheck());
    auto checks = host->log.Of(L"listitemchecked");
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_EQ(LOWORD(checks[1].wParam), 1);
    EXPECT_EQ(checks[1].lParam, 1);
}

TEST_P(ListExTest, ColumnsResizeByDraggingTheirSeparators)
{
    const RECT before = header0->GetPos();
    const POINT from = {before.right - 1, (before.top + before.bottom) / 2};
    const POINT to = {from.x + host->Scale(40), from.y};
    host->Move(from);
    ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    ::SendMessageW(host->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    host->Update();
    EXPECT_EQ(header0->GetPos().right - header0->GetPos().left, before.right - before.left + host->Scale(40));
    // The rows' columns follow the header.
    EXPECT_EQ(list->GetListInfo()->columns[0].right, header0->GetPos().right);

    // A separator on the left edge drags that edge.
    auto* header2 = static_cast<CListContainerHeaderItemUI*>(host->Find(L"h2"));
    const RECT b2 = header2->GetPos();
    const POINT f2 = {b2.left + 1, (b2.top + b2.bottom) / 2};
    const POINT t2 = {f2.x - host->Scale(20), f2.y};
    host->Move(f2);
    ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(f2.x, f2.y));
    ::SendMessageW(host->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(t2.x, t2.y));
    ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(t2.x, t2.y));
    host->Update();
    EXPECT_EQ(header2->GetPos().right - header2->GetPos().left, b2.right - b2.left + host->Scale(20));
}

TEST_P(ListExTest, CellEditIsCommittedWhenItLosesTheFocus)
{
    const RECT cell = rows[2]->GetColumnRect(0);
    POINT pt = {cell.left + host->Scale(40), cell.top + host->Scale(10)};
    pt.x += list->GetPos().left;
    pt.y += list->GetPos().top;
    host->Click(pt);
    CControlUI* edit = host->Find(L"ListEx_Edit");
    ASSERT_NE(edit, nullptr);
    EXPECT_STREQ(edit->GetClass(), L"RichEditUI");
    EXPECT_TRUE(edit->IsVisible());
    EXPECT_EQ(list->GetEditRow(), 2);
    EXPECT_EQ(list->GetEditColumn(), 0);
    EXPECT_STREQ(edit->GetText().GetData(), L"file2");
    // Over the cell, in window pixels.
    EXPECT_EQ(edit->GetPos().left, cell.left + list->GetPos().left);
    EXPECT_EQ(edit->GetPos().top, cell.top + list->GetPos().top);
    edit->SetText(L"renamed.pdf");
    list->SetFocus();
    host->Update();
    EXPECT_STREQ(rows[2]->GetText(0).GetData(), L"renamed.pdf");
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_EQ(list->GetEditRow(), -1);

    // A click in a column that takes no editor hides an open edit; the focus leaving it commits.
    host->Click(pt);
    ASSERT_TRUE(edit->IsVisible());
    edit->SetText(L"lost");
    const RECT plain = rows[2]->GetColumnRect(2);
    host->Click(POINT{Centre(plain).x + list->GetPos().left, Centre(plain).y + list->GetPos().top});
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_STREQ(rows[2]->GetText(0).GetData(), L"lost");

    // The wheel hides it without committing: the focus stays in the edit.
    host->Click(pt);
    ASSERT_TRUE(edit->IsVisible());
    edit->SetText(L"dropped");
    host->Wheel(CenterOf(rows[0]), -1);
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_STREQ(rows[2]->GetText(0).GetData(), L"lost");
}

TEST_P(ListExTest, CellComboChoiceIsTakenIntoTheRow)
{
    TypeFiller filler;
    list->SetComboCallback(&filler);
    const RECT cell = rows[1]->GetColumnRect(1);
    const POINT pt = {Centre(cell).x + list->GetPos().left, Centre(cell).y + list->GetPos().top};
    host->Click(pt);
    auto* combo = static_cast<CComboBoxUI*>(host->Find(L"ListEx_Combo"));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->IsVisible());
    ASSERT_FALSE(filler.calls.empty());
    EXPECT_EQ(filler.calls.back(), std::make_pair(1, 1));
    EXPECT_EQ(combo->GetCount(), 3);
    // Open it by a click and choose "Image" with a click in the pop-up.
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    ClickWindow(combo->GetDropWindow()->GetHandle(), CenterOf(combo->GetItemAt(2)));
    host->Update();
    EXPECT_STREQ(rows[1]->GetText(1).GetData(), L"Image");
    EXPECT_FALSE(combo->IsVisible());
}

INSTANTIATE_TEST_SUITE_P(Dpi, ListExTest, ::testing::Values(96, 192));

TEST(ListExRow, RowsOutsideAnExtendedListAndOutOfRangeColumnsAreSafe)
{
    PopupHost host(L"<Window size=\"300,200\"><List name=\"plain\"><ListHeader height=\"20\">"
                   L"<ListHeaderItem text=\"A\" width=\"100\"/></ListHeader>"
                   L"<ListTextExtElement height=\"24\" checkboxwidth=\"14\" checkboxheight=\"14\"/>"
                   L"</List></Window>",
                   RECT{0, 0, 300, 200});
    auto* list = static_cast<CListUI*>(host.Find(L"plain"));
    ASSERT_NE(list, nullptr);
    auto* row = static_cast<CListTextExtElementUI*>(list->GetItemAt(0));
    ASSERT_NE(row, nullptr);
    row->SetText(0, L"alone");
    host.Click(CenterOf(row));
    host.Click(Centre(row->GetCheckBoxRect()));
    EXPECT_FALSE(row->GetCheck());
    EXPECT_STREQ(row->GetText(0).GetData(), L"alone");
    row->SetText(5, L"past the columns");
    EXPECT_TRUE(row->GetText(5).IsEmpty());
    DWORD color = 0;
    row->SetColumnBkColor(40, 0xFF00FF00);
    row->SetColumnBkColor(-1, 0xFF00FF00);
    EXPECT_FALSE(row->GetColumnBkColor(40, color));
    row->SetColumnBkColor(31, 0xFF00FF00);
    EXPECT_TRUE(row->GetColumnBkColor(31, color));
    EXPECT_EQ(color, 0xFF00FF00u);
}

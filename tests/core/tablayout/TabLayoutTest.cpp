// Tab layout: page selection and "tabselect", the current index across add, insert and remove,
// the "selectedid" attribute and placement of the current page.
#include "layout/TabLayoutUI.h"

#include <gtest/gtest.h>

#include <string>

#include "../scroll/HostWindow.h"

using ZvUI::CControlUI;
using ZvUI::CTabLayoutUI;
using scroll_test::HostWindow;
using scroll_test::NotifyLog;

namespace {

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Which pages are visible, as "1000" for only page 0.
std::string Visibility(CTabLayoutUI& tab)
{
    std::string s;
    for (int i = 0; i < tab.GetCount(); ++i)
        s += tab.GetItemAt(i)->IsVisible() ? '1' : '0';
    return s;
}

// A tab layout with n pages, the root of a hidden window, laid out over 200 x 100.
class TabWindow : public ::testing::Test {
protected:
    void Build(int n)
    {
        tab = new CTabLayoutUI;
        for (int i = 0; i < n; ++i) {
            pages.push_back(new CControlUI);
            pages.back()->SetName((L"page" + std::to_wstring(i)).c_str());
            ASSERT_TRUE(tab->Add(pages.back()));
        }
        window.SetRoot(tab, RECT{0, 0, 200, 100});
        ASSERT_TRUE(window.Manager().AddNotifyListener(&selects));
    }
    void TearDown() override { window.Manager().RemoveNotifyListener(&selects); }

    HostWindow window{200, 100};
    CTabLayoutUI* tab = nullptr;
    std::vector<CControlUI*> pages;
    NotifyLog selects{L"tabselect"};
};

} // namespace

TEST_F(TabWindow, FirstVisiblePageIsCurrentAndLaterOnesAreHidden)
{
    Build(4);
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_EQ(Visibility(*tab), "1000");
    EXPECT_EQ(selects.Count(), 0u);
}

TEST_F(TabWindow, SelectingAPageShowsItAloneAndNotifiesOnce)
{
    Build(4);
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_EQ(Visibility(*tab), "0010");
    ASSERT_EQ(selects.Count(), 1u);
    EXPECT_EQ(selects.senders[0], tab);
    EXPECT_EQ(selects.wParams[0], 2u);
    EXPECT_EQ(selects.lParams[0], 0);

    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_EQ(selects.Count(), 1u) << "the current page again raises nothing";

    EXPECT_FALSE(tab->SelectItem(4));
    EXPECT_FALSE(tab->SelectItem(-1));
    EXPECT_EQ(tab->GetCurSel(), 2);

    EXPECT_TRUE(tab->SelectItem(pages[3]));
    ASSERT_EQ(selects.Count(), 2u);
    EXPECT_EQ(selects.wParams[1], 3u);
    EXPECT_EQ(selects.lParams[1], 2);
    CControlUI stranger;
    EXPECT_FALSE(tab->SelectItem(&stranger));
    EXPECT_EQ(Visibility(*tab), "0001");
}

TEST_F(TabWindow, SelectedPageFillsTheInsetArea)
{
    Build(3);
    tab->SetInset(5, 6, 7, 8);
    pages[1]->SetPadding(RECT{2, 3, 0, 0});
    pages[2]->SetFixedWidth(50);
    pages[2]->SetFixedHeight(20);
    ASSERT_TRUE(tab->SelectItem(1));
    tab->SetPos(RECT{0, 0, 200, 100}, true);
    EXPECT_EQ(Show(pages[1]->GetPos()), "7,9,193,92");
    ASSERT_TRUE(tab->SelectItem(2));
    // A fixed page sits at the top left of the padded area.
    EXPECT_EQ(Show(pages[2]->GetPos()), "5,6,55,26");
}

TEST_F(TabWindow, RemovingTheShownPageFallsBackToPageZeroSilently)
{
    Build(4);
    ASSERT_TRUE(tab->SelectItem(2));
    const size_t before = selects.Count();
    EXPECT_TRUE(tab->Remove(pages[2]));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_EQ(tab->GetCount(), 3);
    EXPECT_EQ(Visibility(*tab), "100");
    EXPECT_EQ(selects.Count(), before);
}

TEST_F(TabWindow, RemovingAnEarlierPageKeepsTheShownOne)
{
    Build(4);
    ASSERT_TRUE(tab->SelectItem(2));
    EXPECT_TRUE(tab->Remove(pages[0]));
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_EQ(tab->GetItemAt(1), pages[2]);
    EXPECT_EQ(Visibility(*tab), "010");
    // A later page leaves the index alone; RemoveAt goes the same way.
    EXPECT_TRUE(tab->RemoveAt(2));
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_FALSE(tab->Remove(nullptr));
}

TEST_F(TabWindow, InsertingBeforeTheShownPageMovesItsIndex)
{
    Build(3);
    ASSERT_TRUE(tab->SelectItem(1));
    auto* extra = new CControlUI;
    ASSERT_TRUE(tab->AddAt(extra, 0));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_EQ(tab->GetItemAt(2), pages[1]);
    EXPECT_EQ(Visibility(*tab), "0010");

    auto* after = new CControlUI;
    ASSERT_TRUE(tab->AddAt(after, 4));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_EQ(Visibility(*tab), "00100");

    // At the current index itself the new page goes before it, hidden.
    auto* at = new CControlUI;
    ASSERT_TRUE(tab->AddAt(at, 2));
    EXPECT_EQ(tab->GetCurSel(), 3);
    EXPECT_EQ(tab->GetItemAt(3), pages[1]);
    EXPECT_EQ(Visibility(*tab), "000100");
}

TEST_F(TabWindow, MovingPagesKeepsTheShownPageCurrent)
{
    Build(4);
    ASSERT_TRUE(tab->SelectItem(1));
    // The shown page moves to the end, then another page moves in front of it.
    ASSERT_TRUE(tab->SetItemIndex(pages[1], 3));
    EXPECT_EQ(tab->GetCurSel(), 3);
    EXPECT_EQ(Visibility(*tab), "0001");
    ASSERT_TRUE(tab->SetItemIndex(pages[0], 3));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_EQ(tab->GetItemAt(2), pages[1]);
    EXPECT_EQ(Visibility(*tab), "0010");
    EXPECT_FALSE(tab->SetItemIndex(pages[1], 4));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_TRUE(tab->SelectItem(0));
    EXPECT_EQ(tab->GetItemAt(0), pages[2]);
    EXPECT_EQ(Visibility(*tab), "1000");
}

TEST_F(TabWindow, RemoveAllForgetsTheCurrentPage)
{
    Build(2);
    tab->RemoveAll();
    EXPECT_EQ(tab->GetCurSel(), -1);
    EXPECT_EQ(tab->GetCount(), 0);
    EXPECT_FALSE(tab->SelectItem(0));
    // The next visible page becomes current again.
    auto* fresh = new CControlUI;
    ASSERT_TRUE(tab->Add(fresh));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(fresh->IsVisible());
}

TEST(TabLayout, HiddenPagesDoNotBecomeCurrent)
{
    CTabLayoutUI tab;
    tab.SetDelayedDestroy(false);
    auto* hidden = new CControlUI;
    hidden->SetVisible(false);
    ASSERT_TRUE(tab.Add(hidden));
    EXPECT_EQ(tab.GetCurSel(), -1);
    auto* shown = new CControlUI;
    ASSERT_TRUE(tab.AddAt(shown, 0));
    EXPECT_EQ(tab.GetCurSel(), 0);
    auto* last = new CControlUI;
    ASSERT_TRUE(tab.Add(last));
    EXPECT_FALSE(last->IsVisible());
    EXPECT_EQ(tab.GetCurSel(), 0);
    // Removing the last page empties the selection.
    CTabLayoutUI single;
    single.SetDelayedDestroy(false);
    auto* only = new CControlUI;
    ASSERT_TRUE(single.Add(only));
    ASSERT_TRUE(single.Remove(only));
    EXPECT_EQ(single.GetCurSel(), -1);
}

TEST(TabLayout, SelectedIdWorksOnceThePagesExist)
{
    CTabLayoutUI tab;
    tab.SetAttribute(L"selectedid", L"1");
    EXPECT_EQ(tab.GetCurSel(), -1);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(tab.Add(new CControlUI));
    tab.SetAttribute(L"SelectedId", L"2");
    EXPECT_EQ(tab.GetCurSel(), 2);
    EXPECT_EQ(Visibility(tab), "001");
    EXPECT_STREQ(tab.GetClass(), L"TabLayoutUI");
    EXPECT_EQ(tab.GetInterface(L"tablayout"), &tab);
    EXPECT_NE(tab.GetInterface(L"Container"), nullptr);
}

// Tile layout: column count from the item size, tile arithmetic with child padding, centring,
// row heights and the needed height that drives the vertical bar.
#include "layout/TileLayoutUI.h"

#include <gtest/gtest.h>

#include <string>

#include "../scroll/HostWindow.h"
#include "control/ScrollBarUI.h"

using ZvUI::CControlUI;
using ZvUI::CTileLayoutUI;
using scroll_test::HostWindow;

namespace {

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

CControlUI* Box(int w, int h)
{
    auto* c = new CControlUI;
    c->SetFixedWidth(w);
    c->SetFixedHeight(h);
    return c;
}

} // namespace

TEST(TileLayout, ItemWidthDecidesTheColumns)
{
    struct Row {
        const wchar_t* itemsize;
        const wchar_t* columns;
        int width;
        int expectColumns;
        const char* secondChild;
    };
    const Row rows[] = {
        {L"100,60", L"5", 300, 3, "110,0,190,40"},
        {L"400,60", L"5", 300, 1, "110,40,190,80"},
        {L"0,0", L"2", 300, 2, "185,0,265,40"},
        {L"70,10", L"1", 300, 4, "72,0,152,40"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " wide, expect " + std::to_string(row.expectColumns));
        HostWindow window(400, 200);
        auto* tile = new CTileLayoutUI;
        tile->SetAttribute(L"columns", row.columns);
        tile->SetAttribute(L"itemsize", row.itemsize);
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(tile->Add(Box(80, 40)));
        window.SetRoot(tile, RECT{0, 0, row.width, 200});
        EXPECT_EQ(tile->GetColumns(), row.expectColumns);
        EXPECT_EQ(Show(tile->GetItemAt(1)->GetPos()), row.secondChild);
    }
}

TEST(TileLayout, ChildPaddingSplitsBetweenInnerColumns)
{
    HostWindow window(300, 200);
    auto* tile = new CTileLayoutUI;
    tile->SetColumns(2);
    tile->SetChildPadding(10);
    tile->SetInset(4, 2, 4, 0);
    for (int i = 0; i < 3; ++i) {
        auto* c = new CControlUI;
        c->SetFixedHeight(30);
        ASSERT_TRUE(tile->Add(c));
    }
    window.SetRoot(tile, RECT{0, 0, 208, 200});
    // Tiles of 100 from x 4; the outer edges keep the half gap, the inner ones lose it.
    EXPECT_EQ(Show(tile->GetItemAt(0)->GetPos()), "4,2,99,32");
    EXPECT_EQ(Show(tile->GetItemAt(1)->GetPos()), "109,2,204,32");
    EXPECT_EQ(Show(tile->GetItemAt(2)->GetPos()), "4,42,99,72");
}

TEST(TileLayout, RowIsAsTallAsItsTallestMemberAndChildrenAreCentred)
{
    HostWindow window(300, 300);
    auto* tile = new CTileLayoutUI;
    tile->SetColumns(3);
    ASSERT_TRUE(tile->Add(Box(20, 10)));
    ASSERT_TRUE(tile->Add(Box(20, 50)));
    auto* padded = Box(20, 10);
    padded->SetPadding(RECT{0, 6, 0, 4});
    ASSERT_TRUE(tile->Add(padded));
    ASSERT_TRUE(tile->Add(Box(30, 30)));
    auto* hidden = Box(30, 30);
    hidden->SetVisible(false);
    ASSERT_TRUE(tile->Add(hidden));
    ASSERT_TRUE(tile->Add(Box(30, 10)));
    window.SetRoot(tile, RECT{0, 0, 300, 300});
    EXPECT_EQ(Show(tile->GetItemAt(0)->GetPos()), "40,20,60,30");
    EXPECT_EQ(Show(tile->GetItemAt(1)->GetPos()), "140,0,160,50");
    // Padding shrinks the tile from the top: centred in 6..50.
    EXPECT_EQ(Show(tile->GetItemAt(2)->GetPos()), "240,23,260,33");
    EXPECT_EQ(Show(tile->GetItemAt(3)->GetPos()), "35,50,65,80");
    // The hidden child takes no tile.
    EXPECT_EQ(Show(tile->GetItemAt(5)->GetPos()), "135,60,165,70");
}

TEST(TileLayout, NeededHeightIsTheLastTileBottom)
{
    HostWindow window(200, 100);
    auto* tile = new CTileLayoutUI;
    tile->SetColumns(2);
    tile->EnableScrollBar(true, false);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(tile->Add(Box(40, 50)));
    window.SetRoot(tile, RECT{0, 0, 200, 100});
    ZvUI::CScrollBarUI* bar = tile->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->IsVisible());
    // Three rows of 50 in 100 pixels.
    EXPECT_EQ(bar->GetScrollRange(), 50);
    EXPECT_EQ(Show(bar->GetPos()), "184,0,200,100");
    // Columns share the width left of the bar.
    EXPECT_EQ(Show(tile->GetItemAt(1)->GetPos()), "118,0,158,50");
    EXPECT_EQ(Show(tile->GetItemAt(4)->GetPos()), "26,100,66,150");

    tile->SetScrollPos(SIZE{0, 50});
    EXPECT_EQ(tile->GetItemAt(4)->GetPos().top, 50);
    tile->SetPos(RECT{0, 0, 200, 100}, true);
    EXPECT_EQ(tile->GetItemAt(4)->GetPos().top, 50) << "relayout keeps the scrolled place";
    EXPECT_EQ(bar->GetScrollRange(), 50);
}

TEST(TileLayout, AttributesAndSetters)
{
    CTileLayoutUI tile;
    tile.SetAttribute(L"itemsize", L"120,80");
    EXPECT_EQ(tile.GetItemSize().cx, 120);
    EXPECT_EQ(tile.GetItemSize().cy, 80);
    tile.SetAttribute(L"ItemSize", L"64");
    EXPECT_EQ(tile.GetItemSize().cx, 64);
    EXPECT_EQ(tile.GetItemSize().cy, 0);
    tile.SetAttribute(L"columns", L"4");
    EXPECT_EQ(tile.GetColumns(), 4);
    tile.SetAttribute(L"columns", L"0");
    tile.SetColumns(-2);
    EXPECT_EQ(tile.GetColumns(), 4);
    EXPECT_STREQ(tile.GetClass(), L"TileLayoutUI");
    EXPECT_EQ(tile.GetInterface(L"TILELAYOUT"), &tile);
}

TEST(TileLayout, EmptyLayoutHidesItsBar)
{
    HostWindow window(200, 100);
    auto* tile = new CTileLayoutUI;
    tile->EnableScrollBar(true, false);
    window.SetRoot(tile, RECT{0, 0, 200, 100});
    ASSERT_NE(tile->GetVerticalScrollBar(), nullptr);
    EXPECT_FALSE(tile->GetVerticalScrollBar()->IsVisible());
}

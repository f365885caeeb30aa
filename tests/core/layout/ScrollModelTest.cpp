// Scroll bars of the stacking layouts on generated content: which bars show, their ranges, where
// the children go at a scroll position, checked against a model of the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "LayoutTestSupport.h"
#include "control/ScrollBarUI.h"
#include "layout/HorizontalLayoutUI.h"
#include "layout/VerticalLayoutUI.h"

using ZvUI::CContainerUI;
using ZvUI::CControlUI;
using layout_test::Bar;
using layout_test::MakeBox;
using layout_test::ManagedWindow;
using layout_test::TestScrollBar;

namespace {

constexpr int kBar = 16;

struct Item {
    int fixedW, fixedH, minW, minH, maxW, maxH;
    RECT pad;
};

struct Case {
    bool vertical;
    bool vbar, hbar;
    int width, height;
    RECT inset;
    int gap;
    std::vector<Item> items;
};

struct Expect {
    bool vVisible = false, hVisible = false;
    int vRange = 0, hRange = 0;
    std::vector<RECT> rects;  // at scroll position 0
};

int Clamp(int v, int lo, int hi)
{
    return std::min(std::max(v, lo), hi);
}

Expect ModelOf(const Case& c)
{
    // Along the stacking axis the content adds up; across it the widest child counts.
    int along = 0;
    int across = 0;
    for (size_t i = 0; i < c.items.size(); ++i) {
        const Item& it = c.items[i];
        const int mainSize = c.vertical ? Clamp(it.fixedH, it.minH, it.maxH) : Clamp(it.fixedW, it.minW, it.maxW);
        const int crossSize = c.vertical ? Clamp(it.fixedW, it.minW, it.maxW) : Clamp(it.fixedH, it.minH, it.maxH);
        along += mainSize + (c.vertical ? it.pad.top + it.pad.bottom : it.pad.left + it.pad.right);
        across = std::max<int>(across, crossSize + (c.vertical ? it.pad.left + it.pad.right : it.pad.top + it.pad.bottom));
    }
    if (!c.items.empty())
        along += (static_cast<int>(c.items.size()) - 1) * c.gap;
    const int needW = c.vertical ? across : along;
    const int needH = c.vertical ? along : across;

    // New bars start shown; settle on the state that agrees with itself.
    Expect e;
    bool v = c.vbar;
    bool h = c.hbar;
    int viewW = 0;
    int viewH = 0;
    for (int round = 0; round < 8; ++round) {
        viewW = c.width - c.inset.left - c.inset.right - (v ? kBar : 0);
        viewH = c.height - c.inset.top - c.inset.bottom - (h ? kBar : 0);
        const bool nv = c.vbar && needH > viewH;
        const bool nh = c.hbar && needW > viewW;
        if (nv == v && nh == h)
            break;
        v = nv;
        h = nh;
    }
    e.vVisible = v;
    e.hVisible = h;
    e.vRange = v ? needH - viewH : 0;
    e.hRange = h ? needW - viewW : 0;

    const int left = c.inset.left;
    const int top = c.inset.top;
    // The vertical layout widens its room by the horizontal range; the row never does.
    const int availW = viewW + (c.vertical ? e.hRange : 0);
    const int availH = viewH + e.vRange;
    int pos = c.vertical ? top : left;
    for (const Item& it : c.items) {
        RECT r = {};
        if (c.vertical) {
            const int fill = availW - it.pad.left - it.pad.right;
            const int limit = it.fixedW < 1 ? it.maxW : it.fixedW;
            int w = it.fixedW > 0 ? it.fixedW : fill;
            w = std::max(std::min(w, std::min(fill, limit)), it.minW);
            const int hgt = Clamp(it.fixedH, it.minH, it.maxH);
            r = RECT{left + it.pad.left, pos + it.pad.top, left + it.pad.left + w, pos + it.pad.top + hgt};
            pos += it.pad.top + hgt + it.pad.bottom + c.gap;
        } else {
            const int fill = availH - it.pad.top - it.pad.bottom;
            const int limit = it.fixedH < 1 ? it.maxH : it.fixedH;
            int hgt = it.maxH != 0 ? it.maxH : fill;
            hgt = std::max(std::min(std::max(hgt, 0), std::min(fill, limit)), it.minH);
            const int w = Clamp(it.fixedW, it.minW, it.maxW);
            r = RECT{pos + it.pad.left, top + it.pad.top, pos + it.pad.left + w, top + it.pad.top + hgt};
            pos += it.pad.left + w + it.pad.right + c.gap;
        }
        r.right = std::max(r.right, r.left);
        r.bottom = std::max(r.bottom, r.top);
        e.rects.push_back(r);
    }
    return e;
}

Case MakeCase(std::mt19937& rng)
{
    const auto range = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Case c;
    c.vertical = range(0, 1) == 0;
    c.vbar = range(0, 3) != 0;
    c.hbar = range(0, 3) != 0;
    c.width = range(60, 400);
    c.height = range(60, 300);
    c.inset = RECT{range(0, 5), range(0, 5), range(0, 5), range(0, 5)};
    c.gap = range(0, 1) == 0 ? 0 : range(1, 6);
    const int count = range(1, 8);
    for (int i = 0; i < count; ++i) {
        // Sized along the stacking axis: auto children would take the range itself.
        Item it = {range(0, 2) == 0 ? 0 : range(1, 450), range(1, 160), 0, 0, 9999, 9999, RECT{0, 0, 0, 0}};
        if (!c.vertical && it.fixedW == 0)
            it.fixedW = range(1, 200);
        if (c.vertical && range(0, 3) == 0)
            it.fixedH = range(1, 60);
        if (range(0, 4) == 0)
            it.minW = range(0, 300);
        if (range(0, 4) == 0)
            it.minH = range(1, 100);
        if (range(0, 5) == 0)
            it.maxW = range(1, 200);
        if (range(0, 5) == 0)
            it.maxH = range(1, 120);
        if (range(0, 2) == 0)
            it.pad = RECT{range(0, 6), range(0, 6), range(0, 6), range(0, 6)};
        c.items.push_back(it);
    }
    return c;
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// The bar as a control, whichever kind the container made.
CControlUI* AsControl(ZvUI::CScrollBarUI* bar, bool real)
{
    if (bar == nullptr)
        return nullptr;
    return real ? static_cast<CControlUI*>(bar) : static_cast<CControlUI*>(Bar(bar));
}

void RunGeneratedCases(bool realBars)
{
    ZvUI::SetScrollBarCreator(realBars ? nullptr : &TestScrollBar::Create);
    ManagedWindow window(400, 300);
    std::mt19937 rng(20261209);
    int scrolled = 0;
    for (int n = 0; n < 300; ++n) {
        const Case c = MakeCase(rng);
        const Expect e = ModelOf(c);
        CContainerUI* layout = c.vertical ? static_cast<CContainerUI*>(new ZvUI::CVerticalLayoutUI)
                                          : static_cast<CContainerUI*>(new ZvUI::CHorizontalLayoutUI);
        layout->EnableScrollBar(c.vbar, c.hbar);
        layout->SetInset(c.inset.left, c.inset.top, c.inset.right, c.inset.bottom);
        layout->SetChildPadding(c.gap);
        for (const Item& it : c.items)
            layout->Add(MakeBox(it.fixedW, it.fixedH, it.minW, it.minH, it.maxW, it.maxH, it.pad));
        window.Manager().SetRootControl(layout);
        const std::string what = "case " + std::to_string(n) + (c.vertical ? " vertical" : " horizontal");
        layout->SetPos(RECT{0, 0, c.width, c.height}, true);
        // The first layout already settles the bars and their ranges.
        EXPECT_EQ(layout->GetScrollRange().cy, e.vRange) << what << " first layout";
        EXPECT_EQ(layout->GetScrollRange().cx, e.hRange) << what << " first layout";
        // It sets a new range after placing the children, though; the next layout uses it.
        layout->SetPos(RECT{0, 0, c.width, c.height}, true);
        const SIZE range = layout->GetScrollRange();
        CControlUI* v = AsControl(layout->GetVerticalScrollBar(), realBars);
        CControlUI* h = AsControl(layout->GetHorizontalScrollBar(), realBars);
        ASSERT_EQ(v != nullptr && v->IsVisible(), e.vVisible) << what;
        ASSERT_EQ(h != nullptr && h->IsVisible(), e.hVisible) << what;
        ASSERT_EQ(range.cy, e.vRange) << what;
        ASSERT_EQ(range.cx, e.hRange) << what;
        if (e.vVisible) {
            const RECT bar = {c.width - c.inset.right - kBar, c.inset.top, c.width - c.inset.right,
                              c.height - c.inset.bottom - (e.hVisible ? kBar : 0)};
            ASSERT_TRUE(::EqualRect(&v->GetPos(), &bar)) << what << " bar " << Show(v->GetPos());
        }
        for (size_t i = 0; i < e.rects.size(); ++i) {
            ASSERT_TRUE(::EqualRect(&layout->GetItemAt(static_cast<int>(i))->GetPos(), &e.rects[i]))
                << what << " child " << i << ": " << Show(layout->GetItemAt(static_cast<int>(i))->GetPos())
                << " instead of " << Show(e.rects[i]);
        }

        // Scroll somewhere (past the ends too): children move by the clamped position, and a new
        // layout at that position puts them in the same place.
        const SIZE want = {std::uniform_int_distribution<int>(-20, e.hRange + 20)(rng),
                           std::uniform_int_distribution<int>(-20, e.vRange + 20)(rng)};
        layout->SetScrollPos(want);
        const SIZE at = {Clamp(want.cx, 0, e.hRange), Clamp(want.cy, 0, e.vRange)};
        ASSERT_EQ(layout->GetScrollPos().cx, at.cx) << what;
        ASSERT_EQ(layout->GetScrollPos().cy, at.cy) << what;
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t i = 0; i < e.rects.size(); ++i) {
                RECT moved = e.rects[i];
                ::OffsetRect(&moved, -at.cx, -at.cy);
                ASSERT_TRUE(::EqualRect(&layout->GetItemAt(static_cast<int>(i))->GetPos(), &moved))
                    << what << " pass " << pass << " child " << i << ": "
                    << Show(layout->GetItemAt(static_cast<int>(i))->GetPos()) << " instead of " << Show(moved);
            }
            layout->SetPos(RECT{0, 0, c.width, c.height}, true);
        }
        if (at.cx != 0 || at.cy != 0)
            ++scrolled;
        window.Pump();
    }
    EXPECT_GT(scrolled, 100);
    ZvUI::SetScrollBarCreator(nullptr);
}

} // namespace

TEST(ScrollModel, GeneratedContentGetsTheBarsRangesAndOffsetsOfTheModel)
{
    RunGeneratedCases(false);
}

TEST(ScrollModel, TheSameWithRealScrollBars)
{
    RunGeneratedCases(true);
}

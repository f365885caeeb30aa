// Container: ownership of children, searches, floating placement, attributes, scroll bars and
// scrolling, and clipped painting into a DIB.
#include "layout/ContainerUI.h"

#include "control/ScrollBarUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "../render/RenderCanvas.h"
#include "LayoutTestSupport.h"
#include "layout/VerticalLayoutUI.h"
#include "manager/DpiHelper.h"
#include "manager/UIControlServices.h"

using ZvUI::CContainerUI;
using ZvUI::CControlUI;
using ZvUI::CVerticalLayoutUI;
using ZvUI::UIControlEvent;
using layout_test::Bar;
using layout_test::MakeBox;
using layout_test::ManagedWindow;
using layout_test::RecordingListener;
using layout_test::TestScrollBar;

namespace {

// Sets a flag when deleted.
class Tracked : public CControlUI {
public:
    explicit Tracked(bool* deleted) : m_deleted(deleted) {}
    ~Tracked() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

class ListItem : public CControlUI {
public:
    LPVOID GetInterface(LPCWSTR name) override
    {
        if (_wcsicmp(name, ZvUI::kListItemInterface) == 0)
            return this;
        return CControlUI::GetInterface(name);
    }
};

CControlUI* HitProc(CControlUI* control, LPVOID)
{
    return control;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Installs the stand-in bar for one test.
class WithScrollBars : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZvUI::SetScrollBarCreator(&TestScrollBar::Create);
        TestScrollBar::s_deleted = 0;
    }
    void TearDown() override { ZvUI::SetScrollBarCreator(nullptr); }
};

} // namespace

// --- children and ownership ---

TEST(ContainerChildren, AddRefusesNullAndOutOfRangeIndexes)
{
    CContainerUI c;
    EXPECT_FALSE(c.Add(nullptr));
    EXPECT_FALSE(c.AddAt(nullptr, 0));
    CControlUI* a = new CControlUI;
    EXPECT_TRUE(c.Add(a));
    CControlUI* b = new CControlUI;
    EXPECT_FALSE(c.AddAt(b, 5));
    EXPECT_TRUE(c.AddAt(b, 0));
    EXPECT_EQ(c.GetCount(), 2);
    EXPECT_EQ(c.GetItemAt(0), b);
    EXPECT_EQ(c.GetItemAt(1), a);
    EXPECT_EQ(c.GetItemAt(2), nullptr);
    EXPECT_EQ(c.GetItemAt(-1), nullptr);
    EXPECT_EQ(c.GetItemIndex(a), 1);
    EXPECT_EQ(c.GetItemIndex(nullptr), -1);
}

TEST(ContainerChildren, ReorderingKeepsEveryChild)
{
    CContainerUI c;
    CControlUI* items[4];
    for (CControlUI*& item : items) {
        item = new CControlUI;
        c.Add(item);
    }
    EXPECT_TRUE(c.SetItemIndex(items[0], 3));
    EXPECT_EQ(c.GetItemAt(3), items[0]);
    EXPECT_EQ(c.GetItemAt(0), items[1]);
    CControlUI stranger;
    EXPECT_FALSE(c.SetItemIndex(&stranger, 0));

    // A place outside the children is refused and every child stays where it was.
    for (int bad : {4, -1, 100}) {
        EXPECT_FALSE(c.SetItemIndex(items[2], bad)) << bad;
        ASSERT_EQ(c.GetCount(), 4) << bad;
        EXPECT_EQ(c.GetItemIndex(items[2]), 1) << bad;
    }

    c.ShiftItem(items[1], true);  // already first: stays
    EXPECT_EQ(c.GetItemAt(0), items[1]);
    c.ShiftItem(items[1], false);
    EXPECT_EQ(c.GetItemAt(0), items[2]);
    EXPECT_EQ(c.GetItemAt(1), items[1]);
    c.ShiftItem(items[0], false);  // already last: stays
    EXPECT_EQ(c.GetItemAt(3), items[0]);
    EXPECT_EQ(c.GetCount(), 4);
}

TEST(ContainerChildren, RemoveDeletesOnlyWhileAutoDestroyIsOn)
{
    bool deleted = false;
    auto* kept = new Tracked(&deleted);
    {
        CContainerUI c;
        c.SetAutoDestroy(false);
        c.Add(kept);
        CControlUI stranger;
        EXPECT_FALSE(c.Remove(&stranger));
        EXPECT_FALSE(c.Remove(nullptr));
        EXPECT_FALSE(c.RemoveAt(3));
        EXPECT_EQ(c.GetCount(), 1);
        EXPECT_TRUE(c.Remove(kept));
        EXPECT_EQ(c.GetCount(), 0);
    }
    EXPECT_FALSE(deleted);
    delete kept;
    EXPECT_TRUE(deleted);

    bool gone = false;
    CContainerUI c;
    c.Add(new Tracked(&gone));
    EXPECT_TRUE(c.RemoveAt(0));
    EXPECT_TRUE(gone);  // no manager: at once
}

TEST(ContainerChildren, DestructorDeletesChildrenAtOnceEvenWithAManager)
{
    ManagedWindow w(200, 100);
    bool gone = false;
    auto* root = new CContainerUI;
    auto* inner = new CContainerUI;
    root->Add(inner);
    inner->Add(new Tracked(&gone));
    w.SetRoot(root);
    root->Remove(inner);  // queued: inner and its child still live
    EXPECT_FALSE(gone);
    EXPECT_EQ(w.Manager().GetDelayedCleanupCount(), 1);
    w.Pump();  // WM_APP+1 deletes inner, whose destructor deletes the child without queueing
    EXPECT_TRUE(gone);
    EXPECT_EQ(w.Manager().GetDelayedCleanupCount(), 0);
}

TEST(ContainerChildren, RemovalInsideAHandlerWaitsForTheQueue)
{
    ManagedWindow w(200, 100);
    bool aGone = false;
    bool bGone = false;
    auto* root = new CContainerUI;
    root->Add(new Tracked(&aGone));
    root->Add(new Tracked(&bGone));
    w.SetRoot(root);
    root->RemoveAll();
    EXPECT_EQ(root->GetCount(), 0);
    EXPECT_FALSE(aGone);
    EXPECT_FALSE(bGone);
    w.Pump();
    EXPECT_TRUE(aGone);
    EXPECT_TRUE(bGone);

    bool now = false;
    root->SetDelayedDestroy(false);
    root->Add(new Tracked(&now));
    root->RemoveAt(0);
    EXPECT_TRUE(now);
}

TEST(ContainerChildren, VisibilityFollowsTheContainer)
{
    CContainerUI c;
    c.SetVisible(false);
    CControlUI* child = new CControlUI;
    c.Add(child);
    EXPECT_FALSE(child->IsVisible());
    EXPECT_TRUE(child->IsVisibleOwn());
    c.SetVisible(true);
    EXPECT_TRUE(child->IsVisible());
    c.SetInternVisible(false);
    EXPECT_FALSE(child->IsVisible());
    c.SetInternVisible(true);
    EXPECT_TRUE(child->IsVisible());

    c.SetEnabled(false);
    EXPECT_FALSE(child->IsEnabled());
}

TEST(ContainerChildren, BindingSetsManagerAndParent)
{
    ManagedWindow w(100, 100);
    auto* root = new CContainerUI;
    w.SetRoot(root);
    CControlUI* child = new CControlUI;
    child->SetName(L"leaf");
    root->Add(child);
    EXPECT_EQ(child->GetManager(), &w.Manager());
    EXPECT_EQ(child->GetParent(), root);
    EXPECT_EQ(root->FindNamedSubControl(L"leaf"), child);
    EXPECT_TRUE(root->SetNamedSubControlText(L"leaf", L"hello"));
    EXPECT_STREQ(root->GetNamedSubControlText(L"leaf").GetData(), L"hello");
    EXPECT_TRUE(root->SetNamedSubControlFixedHeight(L"leaf", 17));
    EXPECT_EQ(root->GetNamedSubControlFixedHeight(L"leaf"), 17);
    EXPECT_EQ(root->GetNamedSubControlFixedWidth(L"nobody"), -1);
    EXPECT_FALSE(root->SetNamedSubControlUserData(L"nobody", L"x"));
    EXPECT_TRUE(root->GetNamedSubControlUserData(L"nobody").IsEmpty());

    CContainerUI detached;
    EXPECT_EQ(detached.FindNamedSubControl(L"leaf"), nullptr);
}

TEST(ContainerChildren, InterfacesAndClass)
{
    CContainerUI c;
    EXPECT_STREQ(c.GetClass(), L"ContainerUI");
    EXPECT_EQ(c.GetInterface(L"icontainer"), static_cast<ZvUI::IContainerUI*>(&c));
    EXPECT_EQ(c.GetInterface(L"Container"), &c);
    CVerticalLayoutUI v;
    EXPECT_EQ(v.GetInterface(L"verticallayout"), &v);
    EXPECT_EQ(v.GetInterface(L"IContainer"), static_cast<ZvUI::IContainerUI*>(&v));
    // Through the interface, as the layout builder adds.
    auto* face = static_cast<ZvUI::IContainerUI*>(v.GetInterface(L"IContainer"));
    EXPECT_TRUE(face->Add(new CControlUI));
    EXPECT_EQ(v.GetCount(), 1);
}

// --- searches ---

TEST(ContainerSearch, TopFirstHitFindsTheLastChildAndTheInsetFindsTheContainer)
{
    CContainerUI c;
    c.SetInset(10, 10, 10, 10);
    CControlUI* kids[10];
    for (CControlUI*& kid : kids) {
        kid = new CControlUI;
        c.Add(kid);
    }
    c.SetPos(RECT{0, 0, 100, 100}, false);  // base placement: every child over the client area
    POINT inside = {50, 50};
    const UINT flags = ZvUI::FindVisible | ZvUI::FindHitTest | ZvUI::FindTopFirst;
    EXPECT_EQ(c.FindControl(HitProc, &inside, flags), kids[9]);
    EXPECT_EQ(c.FindControl(HitProc, &inside, ZvUI::FindVisible | ZvUI::FindHitTest), kids[0]);
    kids[9]->SetVisible(false);
    EXPECT_EQ(c.FindControl(HitProc, &inside, flags), kids[8]);

    POINT inset = {5, 50};
    kids[0]->SetPos(RECT{0, 0, 100, 100}, false);  // reaches into the inset, but is not floating
    EXPECT_EQ(c.FindControl(HitProc, &inset, flags), &c);
    kids[0]->SetFloat(true);
    EXPECT_EQ(c.FindControl(HitProc, &inset, flags), kids[0]);

    POINT outside = {150, 50};
    EXPECT_EQ(c.FindControl(HitProc, &outside, flags), nullptr);

    c.SetMouseChildEnabled(false);
    EXPECT_EQ(c.FindControl(HitProc, &inside, flags), &c);
    c.SetMouseChildEnabled(true);
    c.SetMouseEnabled(false);
    // The container itself is not a hit, but its children still are.
    EXPECT_EQ(c.FindControl(HitProc, &inside, flags), kids[8]);
    EXPECT_EQ(c.FindControl(HitProc, &inside, flags | ZvUI::FindMeFirst), kids[8]);
    c.SetMouseEnabled(true);
    EXPECT_EQ(c.FindControl(HitProc, &inside, flags | ZvUI::FindMeFirst), &c);
}

TEST(ContainerSearch, FindSelectableSkipsHiddenDisabledAndNonItems)
{
    CContainerUI c;
    EXPECT_EQ(c.FindSelectable(0, true), -1);
    for (int i = 0; i < 9; ++i)
        c.Add(new ListItem);
    c.Add(new CControlUI);  // not a list item
    for (int i = 0; i <= 5; ++i)
        c.GetItemAt(i)->SetEnabled(false);
    c.GetItemAt(7)->SetVisible(false);
    EXPECT_EQ(c.FindSelectable(5, false), 6);  // nothing backward: forward from 0
    EXPECT_EQ(c.FindSelectable(-3, true), 6);
    EXPECT_EQ(c.FindSelectable(7, true), 8);
    EXPECT_EQ(c.FindSelectable(9, true), -1);
    EXPECT_EQ(c.FindSelectable(40, false), 8);
    EXPECT_EQ(c.FindSelectable(7, false), 6);
}

// --- floating children ---

struct FloatRow {
    const char* what;
    UINT align;
    SIZE xy;
    double percent[4];
    RECT expected;
};

// Container at (10, 20), 200 x 100; child fixed 50 x 30.
const FloatRow kFloatRows[] = {
    {"center bottom", DT_CENTER | DT_BOTTOM, {3, 4}, {0, 0, 0, 0}, {85, 90, 135, 120}},
    {"right vcenter", DT_RIGHT | DT_VCENTER, {3, 4}, {0, 0, 0, 0}, {160, 55, 210, 85}},
    {"align keeps xy on a free axis", DT_CENTER, {3, 4}, {0, 0, 0, 0}, {85, 24, 135, 54}},
    {"plain offset", 0, {3, 4}, {0, 0, 0, 0}, {13, 24, 63, 54}},
    {"negative x anchors right", 0, {-60, 4}, {0, 0, 0, 0}, {150, 24, 200, 54}},
    {"negative y anchors bottom", 0, {3, -40}, {0, 0, 0, 0}, {13, 80, 63, 110}},
    {"percent stretches", 0, {0, 0}, {0.5, 0.25, 1.0, 0.5}, {110, 45, 260, 100}},
    {"percent truncates", 0, {0, 0}, {0.333, 0.333, 0.333, 0.333}, {76, 53, 126, 83}},
};

TEST(ContainerFloat, PlacementByAlignOffsetAndPercent)
{
    for (const FloatRow& row : kFloatRows) {
        CContainerUI c;
        c.SetInset(7, 7, 7, 7);  // ignored by floating placement
        CControlUI* child = MakeBox(50, 30);
        child->SetFloat(true);
        child->SetFixedXY(row.xy);
        child->SetFloatAlign(row.align);
        child->SetFloatPercent(row.percent[0], row.percent[1], row.percent[2], row.percent[3]);
        c.Add(child);
        c.SetPos(RECT{10, 20, 210, 120}, false);
        EXPECT_TRUE(SameRect(child->GetPos(), row.expected)) << row.what << ": " << Show(child->GetPos());
    }
}

TEST(ContainerFloat, BasePlacementFillsTheClientAreaWithinLimits)
{
    CContainerUI c;
    c.SetInset(5, 6, 7, 8);
    CControlUI* free = MakeBox(0, 0);
    CControlUI* capped = MakeBox(0, 0, 0, 0, 40, 30);
    CControlUI* floor = MakeBox(0, 0, 300, 200);
    CControlUI* hidden = MakeBox(0, 0);
    hidden->SetVisible(false);
    c.Add(free);
    c.Add(capped);
    c.Add(floor);
    c.Add(hidden);
    c.SetPos(RECT{0, 0, 100, 100}, false);
    EXPECT_TRUE(SameRect(free->GetPos(), RECT{5, 6, 93, 92})) << Show(free->GetPos());
    EXPECT_TRUE(SameRect(capped->GetPos(), RECT{5, 6, 45, 36}));
    EXPECT_TRUE(SameRect(floor->GetPos(), RECT{5, 6, 305, 206}));
    EXPECT_TRUE(SameRect(hidden->GetPos(), RECT{0, 0, 0, 0}));
    EXPECT_TRUE(SameRect(c.GetClientPos(), RECT{5, 6, 93, 92}));
}

// --- attributes ---

TEST(ContainerAttributes, InsetPaddingAlignAndStep)
{
    CContainerUI c;
    c.SetAttribute(L"inset", L"1,2,3,4");
    EXPECT_TRUE(SameRect(c.GetInset(), RECT{1, 2, 3, 4}));
    c.SetAttribute(L"INSET", L"5 6 7");
    EXPECT_TRUE(SameRect(c.GetInset(), RECT{5, 6, 7, 0}));
    c.SetAttribute(L"childpadding", L"9px");
    EXPECT_EQ(c.GetChildPadding(), 9);

    c.SetAttribute(L"childalign", L"center");
    EXPECT_EQ(c.GetChildAlign(), static_cast<UINT>(DT_CENTER));
    c.SetAttribute(L"childalign", L"Right");  // values are case-sensitive
    EXPECT_EQ(c.GetChildAlign(), static_cast<UINT>(DT_CENTER));
    c.SetAttribute(L"ChildAlign", L"right");  // and so is the name
    EXPECT_EQ(c.GetChildAlign(), static_cast<UINT>(DT_CENTER));
    c.SetAttribute(L"childalign", L"right");
    EXPECT_EQ(c.GetChildAlign(), static_cast<UINT>(DT_RIGHT));
    c.SetAttribute(L"childvalign", L"vcenter");
    EXPECT_EQ(c.GetChildVAlign(), static_cast<UINT>(DT_VCENTER));
    c.SetAttribute(L"childvalign", L"bottom");
    EXPECT_EQ(c.GetChildVAlign(), static_cast<UINT>(DT_BOTTOM));
    c.SetAttribute(L"childvalign", L"middle");
    EXPECT_EQ(c.GetChildVAlign(), static_cast<UINT>(DT_BOTTOM));

    c.SetAttribute(L"scrollstepsize", L"12");
    EXPECT_EQ(c.GetScrollStepSize(), 12);
    c.SetAttribute(L"scrollstepsize", L"0");
    c.SetAttribute(L"scrollstepsize", L"-4");
    EXPECT_EQ(c.GetScrollStepSize(), 12);
    c.SetAttribute(L"mousechild", L"FALSE");
    EXPECT_FALSE(c.IsMouseChildEnabled());
    c.SetAttribute(L"mousechild", L"True");
    EXPECT_TRUE(c.IsMouseChildEnabled());
    c.SetAttribute(L"width", L"33");  // falls through to the control base
    EXPECT_EQ(c.GetFixedWidth(), 33);
}

TEST(ContainerAttributes, ScaledReadsFollowTheManagersDpi)
{
    ManagedWindow w(100, 100);
    auto* root = new CContainerUI;
    w.SetRoot(root);
    w.Manager().GetDpiHelper()->SetScale(144);
    root->SetInset(10, 4, 2, 0);
    root->SetChildPadding(6);
    root->SetScrollStepSize(10);
    EXPECT_EQ(root->GetChildPadding(), 9);
    EXPECT_EQ(root->GetScrollStepSize(), 15);
    const RECT inset = root->GetInset();
    EXPECT_EQ(inset.left, 15);
    EXPECT_EQ(inset.top, 6);
    w.Manager().GetDpiHelper()->SetScale(96);
}

// --- scroll bars ---

TEST(ContainerScrollBars, RealBarsByDefault)
{
    CVerticalLayoutUI c;
    c.SetAttribute(L"vscrollbar", L"true");
    c.SetAttribute(L"hscrollbar", L"true");
    ZvUI::CScrollBarUI* v = c.GetVerticalScrollBar();
    ZvUI::CScrollBarUI* h = c.GetHorizontalScrollBar();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(v->GetClass(), L"ScrollBarUI");
    EXPECT_FALSE(v->IsHorizontal());
    EXPECT_TRUE(h->IsHorizontal());
    EXPECT_EQ(v->GetOwner(), &c);
    EXPECT_EQ(h->GetOwner(), &c);
    c.Add(MakeBox(40, 300));
    c.SetPos(RECT{0, 0, 100, 200}, false);
    EXPECT_FALSE(h->IsVisible());
    EXPECT_TRUE(v->IsVisible());
    EXPECT_EQ(c.GetScrollRange().cy, 100);
    EXPECT_TRUE(SameRect(v->GetPos(), RECT{84, 0, 100, 200})) << Show(v->GetPos());
    c.SetScrollPos(SIZE{0, 250});
    EXPECT_EQ(v->GetScrollPos(), 100);
    EXPECT_EQ(c.GetItemAt(0)->GetPos().top, -100);
}

TEST_F(WithScrollBars, AttributesMakeBarsWithClassDefaultsAndStyles)
{
    ManagedWindow w(200, 200);
    auto* root = new CContainerUI;
    w.SetRoot(root);
    w.Manager().AddClassDefaults(L"VScrollBar", L"width=\"9\" linesize=\"20\"");
    w.Manager().AddStyle(L"thinbar", L"height=\"5\"");
    root->SetAttribute(L"vscrollbar", L"true");
    TestScrollBar* v = Bar(root->GetVerticalScrollBar());
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetOwner(), root);
    EXPECT_EQ(v->GetManager(), &w.Manager());
    EXPECT_EQ(v->GetParent(), nullptr);
    EXPECT_EQ(v->GetFixedWidth(), 9);
    EXPECT_EQ(v->GetLineSize(), 20);
    EXPECT_TRUE(v->IsVisible());  // starts visible until the first layout decides

    root->SetAttribute(L"hscrollbarstyle", L"thinbar");
    TestScrollBar* h = Bar(root->GetHorizontalScrollBar());
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(h->IsHorizontal());
    EXPECT_EQ(h->GetFixedHeight(), 5);
    EXPECT_EQ(Bar(root->GetVerticalScrollBar()), v);  // the vertical one stays

    root->SetAttribute(L"vscrollbarstyle", L"width=\"11\"");
    EXPECT_EQ(v->GetFixedWidth(), 11);

    root->SetAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(root->GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(TestScrollBar::s_deleted, 1);
    EXPECT_NE(root->GetHorizontalScrollBar(), nullptr);
}

TEST_F(WithScrollBars, OverflowShowsTheBarWithTheExcessAsRange)
{
    CVerticalLayoutUI v;
    v.EnableScrollBar(true, false);
    v.Add(MakeBox(0, 300));
    v.SetPos(RECT{0, 0, 100, 200}, false);
    TestScrollBar* bar = Bar(v.GetVerticalScrollBar());
    ASSERT_TRUE(bar->IsVisible());
    // 16 of the width go to the bar; the range is what does not fit.
    EXPECT_EQ(v.GetScrollRange().cy, 100);
    EXPECT_EQ(v.GetScrollPos().cy, 0);
    EXPECT_TRUE(SameRect(bar->GetPos(), RECT{84, 0, 100, 200})) << Show(bar->GetPos());
    EXPECT_TRUE(SameRect(v.GetItemAt(0)->GetPos(), RECT{0, 0, 84, 300}));

    // Shrinking the content hides the bar and gives the width back.
    v.GetItemAt(0)->SetFixedHeight(150);
    v.SetPos(RECT{0, 0, 100, 200}, false);
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 0);
    EXPECT_TRUE(SameRect(v.GetItemAt(0)->GetPos(), RECT{0, 0, 100, 150}));
}

TEST_F(WithScrollBars, HidingTheHorizontalBarGivesTheVerticalOneTheFullHeight)
{
    // Both bars start shown; only the vertical one is needed. The first layout must size the
    // vertical bar and its range for the full height, not for the bar that just went away.
    CVerticalLayoutUI v;
    v.EnableScrollBar(true, true);
    v.Add(MakeBox(50, 300));
    v.SetPos(RECT{0, 0, 100, 200}, false);
    EXPECT_FALSE(Bar(v.GetHorizontalScrollBar())->IsVisible());
    ASSERT_TRUE(Bar(v.GetVerticalScrollBar())->IsVisible());
    EXPECT_EQ(v.GetScrollRange().cy, 100);
    EXPECT_TRUE(SameRect(Bar(v.GetVerticalScrollBar())->GetPos(), RECT{84, 0, 100, 200}))
        << Show(Bar(v.GetVerticalScrollBar())->GetPos());
    v.SetScrollPos(SIZE{0, 1000});
    EXPECT_EQ(v.GetItemAt(0)->GetPos().bottom, 200);  // the end of the content meets the end of the view
}

TEST_F(WithScrollBars, ScrollingMovesChildrenAndNotifiesOncePerChange)
{
    ManagedWindow w(100, 200);
    auto* v = new CVerticalLayoutUI;
    v->EnableScrollBar(true, false);
    CControlUI* tall = MakeBox(0, 500);
    CControlUI* floating = MakeBox(10, 10);
    floating->SetFloat(true);
    v->Add(tall);
    v->Add(floating);
    w.SetRoot(v);
    RecordingListener listener;
    w.Manager().AddNotifyListener(&listener);
    TestScrollBar* bar = Bar(v->GetVerticalScrollBar());
    ASSERT_EQ(v->GetScrollRange().cy, 300);

    v->SetScrollPos(SIZE{0, 45});
    EXPECT_EQ(tall->GetPos().top, -45);
    EXPECT_EQ(floating->GetPos().top, 0);  // floating children stay
    ASSERT_EQ(listener.types.size(), 1u);
    EXPECT_EQ(listener.types[0], L"scroll");
    EXPECT_EQ(listener.wParams[0], static_cast<WPARAM>((45 + 8) / 8));

    v->SetScrollPos(SIZE{0, 45});  // unchanged
    v->SetScrollPos(SIZE{0, 45}, false);
    EXPECT_EQ(listener.types.size(), 1u);
    v->SetScrollPos(SIZE{0, 1000});  // clamped to the range
    EXPECT_EQ(v->GetScrollPos().cy, 300);
    EXPECT_EQ(tall->GetPos().top, -300);
    v->SetScrollPos(SIZE{0, 5000});  // clamped to the same place: nothing
    EXPECT_EQ(listener.types.size(), 2u);

    // A zero line size (possible through "linesize") must not divide.
    bar->SetAttribute(L"linesize", L"0");
    v->SetScrollPos(SIZE{0, 10});
    ASSERT_EQ(listener.types.size(), 3u);
    EXPECT_EQ(listener.wParams[2], static_cast<WPARAM>(11));
    w.Manager().RemoveNotifyListener(&listener);
}

TEST_F(WithScrollBars, KeysAndWheelScrollTheVerticalBarFirst)
{
    ManagedWindow w(100, 100);
    auto* v = new CVerticalLayoutUI;
    v->EnableScrollBar(true, true);
    v->SetScrollStepSize(7);
    v->SetInset(0, 5, 0, 5);
    v->Add(MakeBox(400, 1000));
    w.SetRoot(v);
    ASSERT_TRUE(Bar(v->GetVerticalScrollBar())->IsVisible());
    ASSERT_TRUE(Bar(v->GetHorizontalScrollBar())->IsVisible());
    const SIZE range = v->GetScrollRange();

    struct Step {
        int type;
        WPARAM key;
        SIZE expected;
    };
    const int page = 100 - 10 - 16;  // item height - inset - horizontal bar
    const Step steps[] = {
        {ZvUI::EventKeyDown, VK_DOWN, {0, 7}},
        {ZvUI::EventKeyDown, VK_DOWN, {0, 14}},
        {ZvUI::EventKeyDown, VK_UP, {0, 7}},
        {ZvUI::EventKeyDown, VK_NEXT, {0, 7 + page}},
        {ZvUI::EventKeyDown, VK_PRIOR, {0, 7}},
        {ZvUI::EventKeyDown, VK_END, {0, range.cy}},
        {ZvUI::EventKeyDown, VK_HOME, {0, 0}},
        {ZvUI::EventScrollWheel, 1, {0, 7}},
        {ZvUI::EventScrollWheel, 0, {0, 0}},
        {ZvUI::EventKeyDown, VK_UP, {0, 0}},
        {ZvUI::EventKeyDown, VK_RIGHT, {0, 0}},  // left and right are not the container's
    };
    for (const Step& step : steps) {
        UIControlEvent event;
        event.type = step.type;
        event.keyChar = static_cast<wchar_t>(step.key);
        event.wParam = step.type == ZvUI::EventScrollWheel ? step.key : step.key;
        v->DoEvent(event);
        EXPECT_EQ(v->GetScrollPos().cx, step.expected.cx) << step.type << " " << step.key;
        EXPECT_EQ(v->GetScrollPos().cy, step.expected.cy) << step.type << " " << step.key;
    }

    // Without the vertical bar the same keys scroll horizontally.
    v->EnableScrollBar(false, true);
    w.Layout();
    const int hpage = 100 - 0;  // no vertical bar
    const Step across[] = {
        {ZvUI::EventKeyDown, VK_DOWN, {7, 0}},
        {ZvUI::EventScrollWheel, 1, {14, 0}},
        {ZvUI::EventKeyDown, VK_UP, {7, 0}},
        {ZvUI::EventKeyDown, VK_NEXT, {7 + hpage, 0}},
        {ZvUI::EventKeyDown, VK_HOME, {0, 0}},
        {ZvUI::EventKeyDown, VK_END, {v->GetScrollRange().cx, 0}},
    };
    for (const Step& step : across) {
        UIControlEvent event;
        event.type = step.type;
        event.keyChar = static_cast<wchar_t>(step.key);
        event.wParam = step.key;
        v->DoEvent(event);
        EXPECT_EQ(v->GetScrollPos().cx, step.expected.cx) << step.type << " " << step.key;
    }
}

TEST_F(WithScrollBars, DefaultLineStepIsTheFontHeightPlusEight)
{
    CVerticalLayoutUI alone;
    alone.EnableScrollBar(true, true);
    alone.Add(MakeBox(500, 500));
    alone.SetPos(RECT{0, 0, 100, 100}, false);
    alone.LineDown();
    alone.LineRight();
    EXPECT_EQ(alone.GetScrollPos().cy, 8);
    EXPECT_EQ(alone.GetScrollPos().cx, 8);

    ManagedWindow w(100, 100);
    auto* v = new CVerticalLayoutUI;
    v->EnableScrollBar(true, false);
    v->Add(MakeBox(0, 500));
    w.SetRoot(v);
    const int font = w.Manager().GetDefaultFontInfo()->metrics.tmHeight;
    ASSERT_GT(font, 0);
    v->LineDown();
    EXPECT_EQ(v->GetScrollPos().cy, font + 8);

    // At 200 % the margin grows with the font; the horizontal step likewise.
    w.Manager().ApplyDpi(192);
    v->EnableScrollBar(true, true);
    v->Add(MakeBox(500, 0));
    w.Layout();
    v->SetScrollPos(SIZE{0, 0});
    const int bigFont = w.Manager().GetDefaultFontInfo()->metrics.tmHeight;
    ASSERT_GT(bigFont, font);
    v->LineDown();
    EXPECT_EQ(v->GetScrollPos().cy, bigFont + 16);
    v->LineRight();
    EXPECT_EQ(v->GetScrollPos().cx, 16);
}

TEST_F(WithScrollBars, LineStepAtTheEndOfTheLargestContentStaysAtTheEnd)
{
    // A view shorter than one line over content of INT_MAX pixels: the step past the end
    // wrapped to a negative position, which the bar took for the start.
    CVerticalLayoutUI v;
    v.EnableScrollBar(true, false);
    v.Add(MakeBox(0, INT_MAX, 0, 0, 9999, INT_MAX));
    v.SetPos(RECT{0, 0, 100, 4}, false);
    ASSERT_EQ(v.GetScrollRange().cy, INT_MAX - 4);
    v.EndDown();
    ASSERT_EQ(v.GetScrollPos().cy, INT_MAX - 4);
    v.LineDown();
    EXPECT_EQ(v.GetScrollPos().cy, INT_MAX - 4);
}

TEST_F(WithScrollBars, AnAttachedBarBelongsToWhoeverAttachedIt)
{
    auto* external = new TestScrollBar;
    {
        CVerticalLayoutUI v;
        v.EnableScrollBar(true, false);  // an owned bar first
        v.AttachVerticalScrollBar(external);
        EXPECT_EQ(TestScrollBar::s_deleted, 1);  // the owned bar is not leaked
        EXPECT_TRUE(v.IsVerticalScrollBarExternal());
        EXPECT_EQ(Bar(v.GetVerticalScrollBar()), external);
        EXPECT_EQ(external->GetOwner(), &v);
        EXPECT_FALSE(external->IsVisible());

        // Turning the bar off forgets the attached bar instead of deleting it.
        v.EnableScrollBar(false, false);
        EXPECT_EQ(TestScrollBar::s_deleted, 1);
        EXPECT_EQ(v.GetVerticalScrollBar(), nullptr);
        EXPECT_FALSE(v.IsVerticalScrollBarExternal());

        // A bar made after that is the container's again, and goes with it.
        v.EnableScrollBar(true, false);
        EXPECT_FALSE(v.IsVerticalScrollBarExternal());
        v.AttachVerticalScrollBar(external);
        EXPECT_EQ(TestScrollBar::s_deleted, 2);
        auto* second = new TestScrollBar;
        v.AttachVerticalScrollBar(second);  // replacing an attached bar leaves it alone
        EXPECT_EQ(TestScrollBar::s_deleted, 2);
        v.AttachVerticalScrollBar(nullptr);
        EXPECT_EQ(Bar(v.GetVerticalScrollBar()), second);
        v.AttachVerticalScrollBar(external);
        delete second;
        EXPECT_EQ(TestScrollBar::s_deleted, 3);
    }
    // The container's destructor leaves the attached bar to its owner.
    EXPECT_EQ(TestScrollBar::s_deleted, 3);
    delete external;
}

TEST_F(WithScrollBars, AnAttachedBarTakesNoWidthFromTheVerticalLayout)
{
    TestScrollBar external;
    CVerticalLayoutUI v;
    v.AttachVerticalScrollBar(&external);
    external.SetVisible(true);
    v.Add(MakeBox(0, 50));
    v.SetPos(RECT{0, 0, 100, 100}, false);
    EXPECT_EQ(v.GetItemAt(0)->GetPos().right, 100);
    // The bar stays the list's to place: keys do not scroll through it.
    UIControlEvent down;
    down.type = ZvUI::EventKeyDown;
    down.keyChar = VK_DOWN;
    v.DoEvent(down);
    EXPECT_EQ(v.GetScrollPos().cy, 0);
    v.AttachVerticalScrollBar(nullptr);
    v.EnableScrollBar(false, false);  // forget the stack object before it goes
}

// --- events ---

namespace {

class RecordingParent : public CContainerUI {
public:
    void DoEvent(UIControlEvent& event) override { seen.push_back(event.type); }
    std::vector<int> seen;
};

} // namespace

TEST_F(WithScrollBars, MouseDisabledContainerHandsMouseEventsToItsParent)
{
    RecordingParent parent;
    auto* c = new CVerticalLayoutUI;
    parent.Add(c);
    c->SetManager(nullptr, &parent, false);
    c->EnableScrollBar(true, false);
    c->Add(MakeBox(0, 500));
    c->SetPos(RECT{0, 0, 100, 100}, false);
    c->SetMouseEnabled(false);
    EXPECT_FALSE(Bar(c->GetVerticalScrollBar())->IsMouseEnabled());

    UIControlEvent wheel;
    wheel.type = ZvUI::EventScrollWheel;
    wheel.wParam = 1;
    c->DoEvent(wheel);  // a mouse event: the parent's, no scrolling
    EXPECT_EQ(c->GetScrollPos().cy, 0);
    UIControlEvent key;
    key.type = ZvUI::EventKeyDown;
    key.keyChar = VK_DOWN;
    c->DoEvent(key);  // keys stay the container's
    EXPECT_EQ(c->GetScrollPos().cy, 8);
    UIControlEvent focus;
    focus.type = ZvUI::EventSetFocus;
    c->DoEvent(focus);
    EXPECT_TRUE(c->IsFocused());
    focus.type = ZvUI::EventKillFocus;
    c->DoEvent(focus);
    EXPECT_FALSE(c->IsFocused());
    UIControlEvent up;
    up.type = ZvUI::EventKeyUp;  // not the container's: up to the parent by the base
    c->DoEvent(up);
    ASSERT_EQ(parent.seen.size(), 2u);
    EXPECT_EQ(parent.seen[0], ZvUI::EventScrollWheel);
    EXPECT_EQ(parent.seen[1], ZvUI::EventKeyUp);
}

// --- painting ---

TEST(ContainerPaint, ChildrenAreClippedToTheInsetButFloatingOnesAreNot)
{
    RenderCanvas canvas(60, 60, 0xFF000000);
    CContainerUI c;
    c.SetBkColor(0xFF0000FF);
    c.SetInset(10, 10, 10, 10);
    CControlUI* child = new CControlUI;
    child->SetBkColor(0xFF00FF00);
    c.Add(child);
    CControlUI* badge = MakeBox(10, 10);
    badge->SetFloat(true);
    badge->SetBkColor(0xFFFF0000);
    c.Add(badge);
    c.SetPos(RECT{0, 0, 60, 60}, false);
    child->SetPos(RECT{0, 0, 60, 60}, false);  // reaches into the inset
    const RECT all = {0, 0, 60, 60};
    EXPECT_TRUE(c.Paint(canvas.DC(), all, nullptr));
    EXPECT_EQ(canvas.Rgb(30, 30), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(15, 30), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(5, 30), 0x0000FFu);   // the inset shows the container
    EXPECT_EQ(canvas.Rgb(55, 55), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(5, 5), 0xFF0000u);    // floating badge over the inset
    EXPECT_EQ(canvas.Rgb(30, 59), 0x0000FFu);

    // A paint request that misses the client area paints only floating children.
    canvas.Fill(0xFF000000);
    const RECT corner = {0, 0, 8, 8};
    EXPECT_TRUE(c.Paint(canvas.DC(), corner, nullptr));
    EXPECT_EQ(canvas.Rgb(5, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(30, 30), 0x000000u);  // outside the request

    // Painting stops at the stop control.
    canvas.Fill(0xFF000000);
    EXPECT_FALSE(c.Paint(canvas.DC(), all, badge));
    EXPECT_EQ(canvas.Rgb(30, 30), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(5, 5), 0x0000FFu);
}

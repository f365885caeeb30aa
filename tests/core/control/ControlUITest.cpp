// Control base: attribute table, attribute lists, geometry requests, states, texts and delegates.
#include "control/ControlUI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"

using ZvUI::CControlUI;
using ZvUI::CPaintManagerUI;
using ZvUI::UIControlEvent;

namespace {

std::wstring Str(const ZvUI::CUIString& s)
{
    return std::wstring(s.GetData());
}

// --- colour attributes ---

struct ColorRow {
    const wchar_t* name;
    const wchar_t* value;
    DWORD (CControlUI::*getter)() const;
    DWORD expected;
};

const ColorRow kColorRows[] = {
    {L"bkcolor", L"#FF112233", &CControlUI::GetBkColor, 0xFF112233},
    {L"bkcolor", L"  #FF112233", &CControlUI::GetBkColor, 0xFF112233},
    {L"BKCOLOR", L"\t#FF112233", &CControlUI::GetBkColor, 0xFF112233},
    {L"bkcolor1", L"FF00FF00", &CControlUI::GetBkColor, 0xFF00FF00},
    {L"bkcolor2", L"#80ABCDEF", &CControlUI::GetBkColor2, 0x80ABCDEF},
    {L"bkcolor3", L" #00000001", &CControlUI::GetBkColor3, 0x00000001},
    {L"forecolor", L"#002C7CCA", &CControlUI::GetForeColor, 0x002C7CCA},
    {L"bordercolor", L"#FF010203", &CControlUI::GetBorderColor, 0xFF010203},
    {L"bordercolor", L" #FF010203", &CControlUI::GetBorderColor, 0},
    {L"focusbordercolor", L"#FFFFFFFF", &CControlUI::GetFocusBorderColor, 0xFFFFFFFF},
    {L"focusbordercolor", L"zz", &CControlUI::GetFocusBorderColor, 0},
};

// --- integer attributes (no manager: getters give the stored 96-dpi values) ---

struct IntRow {
    const wchar_t* name;
    const wchar_t* value;
    int (CControlUI::*getter)() const;
    int expected;
};

const IntRow kIntRows[] = {
    {L"width", L"120", &CControlUI::GetFixedWidth, 120},
    {L"width", L"12px", &CControlUI::GetFixedWidth, 12},
    {L"width", L"abc", &CControlUI::GetFixedWidth, 0},
    {L"width", L"-5", &CControlUI::GetFixedWidth, 0},
    {L"height", L"30", &CControlUI::GetFixedHeight, 30},
    {L"minwidth", L"7", &CControlUI::GetMinWidth, 7},
    {L"minheight", L"8", &CControlUI::GetMinHeight, 8},
    {L"maxwidth", L"500", &CControlUI::GetMaxWidth, 500},
    {L"maxwidth", L"-1", &CControlUI::GetMaxWidth, 9999},
    {L"maxheight", L"400", &CControlUI::GetMaxHeight, 400},
    {L"bordersize", L"2", &CControlUI::GetBorderSize, 2},
    {L"leftbordersize", L"3", &CControlUI::GetLeftBorderSize, 3},
    {L"topbordersize", L"4", &CControlUI::GetTopBorderSize, 4},
    {L"rightbordersize", L"5", &CControlUI::GetRightBorderSize, 5},
    {L"bottombordersize", L"6", &CControlUI::GetBottomBorderSize, 6},
    {L"borderstyle", L"2", &CControlUI::GetBorderStyle, 2},
};

// --- boolean attributes ---

struct BoolRow {
    const wchar_t* name;
    bool (CControlUI::*getter)() const;
    bool initial;
};

const BoolRow kBoolRows[] = {
    {L"enabled", &CControlUI::IsEnabled, true},
    {L"mouse", &CControlUI::IsMouseEnabled, true},
    {L"keyboard", &CControlUI::IsKeyboardEnabled, true},
    {L"visible", &CControlUI::IsVisible, true},
    {L"drag", &CControlUI::IsDragEnabled, false},
    {L"drop", &CControlUI::IsDropEnabled, false},
    {L"resourcetext", &CControlUI::IsResourceText, false},
    {L"richevent", &CControlUI::IsRichEvent, false},
    {L"menu", &CControlUI::IsContextMenuUsed, false},
    {L"colorhsl", &CControlUI::IsColorHSL, false},
    {L"autotextsizeenable", &CControlUI::IsAutoTextSize, false},
};

// A parent that counts what reaches its DoEvent.
class RecordingParent : public CControlUI {
public:
    void DoEvent(UIControlEvent& event) override { seen.push_back(event.type); }
    std::vector<int> seen;
};

class Listener : public ZvUI::INotifyUI {
public:
    void Notify(ZvUI::UINotifyMessage& msg) override { types.push_back(Str(msg.type)); }
    std::vector<std::wstring> types;
};

} // namespace

TEST(ControlAttributes, ColoursParseAsTheirKindAllows)
{
    for (const ColorRow& row : kColorRows) {
        CControlUI c;
        c.SetAttribute(row.name, row.value);
        EXPECT_EQ((c.*row.getter)(), row.expected) << row.name << "=" << row.value;
    }
}

TEST(ControlAttributes, IntegersReadTheLeadingNumber)
{
    for (const IntRow& row : kIntRows) {
        CControlUI c;
        c.SetAttribute(row.name, row.value);
        EXPECT_EQ((c.*row.getter)(), row.expected) << row.name << "=" << row.value;
    }
}

TEST(ControlAttributes, BooleansAreTrueOnlyForTrue)
{
    const struct {
        const wchar_t* value;
        bool result;
    } values[] = {{L"true", true}, {L"TRUE", true}, {L"True", true}, {L"1", false},
                  {L"yes", false}, {L"", false},    {L"true ", false}};
    for (const BoolRow& row : kBoolRows) {
        CControlUI fresh;
        EXPECT_EQ((fresh.*row.getter)(), row.initial) << row.name;
        for (const auto& v : values) {
            CControlUI c;
            c.SetAttribute(row.name, v.value);
            EXPECT_EQ((c.*row.getter)(), v.result) << row.name << "=" << v.value;
        }
    }
}

TEST(ControlAttributes, PosGivesPositionAndSize)
{
    const struct {
        const wchar_t* value;
        LONG x, y, cx, cy;
    } rows[] = {
        {L"10,20,110,70", 10, 20, 100, 50},
        {L"-1,-1,-101,-31", -101, -31, 100, 30},
        {L"0,0,0,0", 0, 0, 0, 0},
        {L"5,6", 5, 6, 5, 6},
        {L"", 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        CControlUI c;
        c.SetAttribute(L"pos", row.value);
        EXPECT_EQ(c.GetFixedXY().cx, row.x) << row.value;
        EXPECT_EQ(c.GetFixedXY().cy, row.y) << row.value;
        EXPECT_EQ(c.GetFixedWidth(), row.cx) << row.value;
        EXPECT_EQ(c.GetFixedHeight(), row.cy) << row.value;
    }
}

TEST(ControlAttributes, FloatTakesAFlagOrFourPercents)
{
    CControlUI a;
    a.SetAttribute(L"float", L"true");
    EXPECT_TRUE(a.IsFloat());
    double l = -1, t = -1, r = -1, b = -1;
    a.GetFloatPercent(l, t, r, b);
    EXPECT_EQ(l + t + r + b, 0.0);

    CControlUI c;
    c.SetAttribute(L"float", L"0.5,0,1,0.25");
    EXPECT_TRUE(c.IsFloat());
    c.GetFloatPercent(l, t, r, b);
    EXPECT_DOUBLE_EQ(l, 0.5);
    EXPECT_DOUBLE_EQ(t, 0.0);
    EXPECT_DOUBLE_EQ(r, 1.0);
    EXPECT_DOUBLE_EQ(b, 0.25);
}

TEST(ControlAttributes, FloatAlignWordsCombine)
{
    const struct {
        const wchar_t* value;
        UINT start;
        UINT expected;
    } rows[] = {
        {L"right,bottom", 0, DT_RIGHT | DT_BOTTOM},
        {L"right bottom", 0, DT_RIGHT | DT_BOTTOM},
        {L"center,vcenter", DT_RIGHT | DT_BOTTOM, DT_CENTER | DT_VCENTER},
        {L"null,right", DT_CENTER | DT_VCENTER, DT_RIGHT},
        {L"left,top", DT_RIGHT | DT_BOTTOM, 0},
        {L"sideways", DT_RIGHT, DT_RIGHT},
        {L"right,null", 0, 0},
    };
    for (const auto& row : rows) {
        CControlUI c;
        c.SetFloatAlign(row.start);
        c.SetAttribute(L"floatalign", row.value);
        EXPECT_EQ(c.GetFloatAlign(), row.expected) << row.value;
    }
}

TEST(ControlAttributes, BorderSizeSingleOrPerSide)
{
    CControlUI c;
    c.SetAttribute(L"bordersize", L"1,0,1,0");
    EXPECT_EQ(c.GetBorderSize(), 0);
    RECT sides = c.GetBorderRectSize();
    EXPECT_EQ(sides.left, 1);
    EXPECT_EQ(sides.top, 0);
    EXPECT_EQ(sides.right, 1);
    EXPECT_EQ(sides.bottom, 0);

    c.SetAttribute(L"bordersize", L"2");
    EXPECT_EQ(c.GetBorderSize(), 2);
    sides = c.GetBorderRectSize();
    EXPECT_EQ(sides.left + sides.top + sides.right + sides.bottom, 0);

    c.SetAttribute(L"bordersize", L"3,3,3,3");
    EXPECT_EQ(c.GetBorderSize(), 2);
    EXPECT_EQ(c.GetBorderRectSize().bottom, 3);

    c.SetAttribute(L"borderround", L"6,8");
    EXPECT_EQ(c.GetBorderRound().cx, 6);
    EXPECT_EQ(c.GetBorderRound().cy, 8);
}

TEST(ControlAttributes, PaddingTextsAndNames)
{
    CControlUI c;
    c.SetAttribute(L"padding", L"1,2,3,4");
    const RECT p = c.GetPadding();
    EXPECT_EQ(p.left, 1);
    EXPECT_EQ(p.top, 2);
    EXPECT_EQ(p.right, 3);
    EXPECT_EQ(p.bottom, 4);
    c.SetAttribute(L"Name", L"installBtn");
    c.SetAttribute(L"text", L"立即安装");
    c.SetAttribute(L"tooltip", L"tip");
    c.SetAttribute(L"userdata", L"ud");
    c.SetAttribute(L"shortcut", L"Xy");
    c.SetAttribute(L"gradient", L"hor");
    c.SetAttribute(L"bkimage", L"file='a.png' corner='1,1,1,1'");
    c.SetAttribute(L"foreimage", L"b.png");
    c.SetAttribute(L"virtualwnd", L"page0");
    EXPECT_EQ(Str(c.GetName()), L"installBtn");
    EXPECT_EQ(Str(c.GetText()), L"立即安装");
    EXPECT_EQ(Str(c.GetToolTip()), L"tip");
    EXPECT_EQ(Str(c.GetUserData()), L"ud");
    EXPECT_EQ(c.GetShortcut(), L'X');
    EXPECT_EQ(Str(c.GetGradient()), L"hor");
    EXPECT_EQ(Str(c.GetBkImage()), L"file='a.png' corner='1,1,1,1'");
    EXPECT_EQ(Str(c.GetForeImage()), L"b.png");
    EXPECT_EQ(Str(c.GetOwnVirtualWnd()), L"page0");
}

TEST(ControlAttributes, CursorNamesMapBothWays)
{
    const struct {
        const wchar_t* name;
        WORD id;
    } rows[] = {
        {L"arrow", 32512},    {L"ibeam", 32513},  {L"wait", 32514},    {L"cross", 32515},
        {L"uparrow", 32516},  {L"size", 32640},   {L"icon", 32641},    {L"sizenwse", 32642},
        {L"sizenesw", 32643}, {L"sizewe", 32644}, {L"sizens", 32645},  {L"sizeall", 32646},
        {L"no", 32648},       {L"hand", 32649},
    };
    for (const auto& row : rows) {
        CControlUI c;
        c.SetAttribute(L"cursor", row.name);
        EXPECT_EQ(c.GetCursor(), row.id) << row.name;
        EXPECT_EQ(Str(c.GetCursorName()), row.name);
    }
    CControlUI c;
    c.SetAttribute(L"cursor", L"hand");
    c.SetAttribute(L"cursor", L"pointer");
    EXPECT_EQ(c.GetCursor(), 32649);
    c.SetCursor(32647);
    EXPECT_EQ(Str(c.GetCursorName()), L"");
}

TEST(ControlAttributes, UnknownNamesBecomeCustomAttributes)
{
    CControlUI c;
    c.SetAttribute(L"kx_flag", L"first");
    c.SetAttribute(L"kx_flag", L"second");
    c.SetAttribute(L"empty", L"");
    EXPECT_STREQ(c.GetCustomAttribute(L"kx_flag"), L"first");
    EXPECT_EQ(c.GetCustomAttribute(L"empty"), nullptr);
    EXPECT_EQ(c.GetCustomAttribute(L""), nullptr);
    EXPECT_EQ(c.GetCustomAttribute(nullptr), nullptr);
    // Without a manager "style" cannot resolve and ends as a custom attribute.
    c.SetAttribute(L"style", L"big");
    EXPECT_STREQ(c.GetCustomAttribute(L"style"), L"big");

    EXPECT_TRUE(c.RemoveCustomAttribute(L"kx_flag"));
    EXPECT_FALSE(c.RemoveCustomAttribute(L"kx_flag"));
    EXPECT_FALSE(c.RemoveCustomAttribute(nullptr));
    c.AddCustomAttribute(L"a", L"1");
    c.AddCustomAttribute(L"b", L"2");
    c.RemoveAllCustomAttributes();
    EXPECT_EQ(c.GetCustomAttribute(L"a"), nullptr);
    c.AddCustomAttribute(L"a", L"3");
    EXPECT_STREQ(c.GetCustomAttribute(L"a"), L"3");
}

TEST(ControlAttributeList, PairsAndSeparators)
{
    const struct {
        const wchar_t* list;
        const wchar_t* name;
        const wchar_t* text;
        const wchar_t* oddName;  // a custom attribute expected to exist, or null
    } rows[] = {
        {L"name=\"a\" text=\"b\"", L"a", L"b", nullptr},
        {L"name=\"a\",text=\"b\"", L"a", L"", nullptr},
        {L"name=\"a\" ,text=\"b\"", L"a", L"", L",text"},
        {L"name=\"a\";,text=\"b\"", L"a", L"b", nullptr},
        {L"name=\"a\"  text=\"b\"", L"a", L"", L" text"},
        {L"name=\"&quot;q&quot;\"", L"", L"", nullptr},
        {L"name=a text=\"b\"", L"", L"", nullptr},
        {L"name=\"a\" text=\"unterminated", L"a", L"", nullptr},
        {L"name=\"a\" text", L"a", L"", nullptr},
        {L"name=\"a\"x", L"a", L"", nullptr},
        {L"", L"", L"", nullptr},
    };
    for (const auto& row : rows) {
        CControlUI c;
        c.ApplyAttributeList(row.list);
        EXPECT_EQ(Str(c.GetName()), row.name) << row.list;
        EXPECT_EQ(Str(c.GetText()), row.text) << row.list;
        if (row.oddName != nullptr)
            EXPECT_NE(c.GetCustomAttribute(row.oddName), nullptr) << row.list;
    }
}

TEST(ControlAttributeList, QuotEntityBecomesAQuote)
{
    CControlUI c;
    c.ApplyAttributeList(L"text=\"say &quot;hi\" name=\"n\"");
    // The entity turns into a quote before parsing, so it ends the value.
    EXPECT_EQ(Str(c.GetText()), L"say ");
    EXPECT_EQ(Str(c.GetName()), L"");
    c.ApplyAttributeList(L"userdata=\"&quot;\"");
    EXPECT_EQ(Str(c.GetUserData()), L"");
}

TEST(ControlAttributeList, StylesResolveThroughTheManager)
{
    CPaintManagerUI pm;
    pm.AddStyle(L"big", L"width=\"200\" height=\"40\"");
    pm.AddStyle(L"loop", L"style=\"loop\" name=\"x\"");
    pm.AddStyle(L"self", L"self");
    CControlUI c;
    c.SetManager(&pm, nullptr, false);
    c.SetAttribute(L"style", L"big");
    EXPECT_EQ(c.GetFixedWidth(), 200);
    EXPECT_EQ(c.GetFixedHeight(), 40);
    EXPECT_EQ(c.GetCustomAttribute(L"style"), nullptr);

    CControlUI d;
    d.SetManager(&pm, nullptr, false);
    d.ApplyAttributeList(L"big");
    EXPECT_EQ(d.GetFixedWidth(), 200);

    // A style that names itself must end, not recurse until the stack runs out.
    CControlUI e;
    e.SetManager(&pm, nullptr, false);
    e.SetAttribute(L"style", L"loop");
    EXPECT_EQ(Str(e.GetName()), L"x");
    e.ApplyAttributeList(L"self");

    CControlUI f;
    f.SetManager(&pm, nullptr, false);
    f.SetAttribute(L"style", L"unknown");
    EXPECT_STREQ(f.GetCustomAttribute(L"style"), L"unknown");
    f.SetManager(nullptr, nullptr, false);
    e.SetManager(nullptr, nullptr, false);
    d.SetManager(nullptr, nullptr, false);
    c.SetManager(nullptr, nullptr, false);
}

TEST(ControlTexts, EscapesTurnIntoLineBreaks)
{
    CControlUI c;
    c.SetText(L"a{\\n}b");
    EXPECT_EQ(Str(c.GetText()), L"a\nb");
    c.SetToolTip(L"a<n>b<n>");
    EXPECT_EQ(Str(c.GetToolTip()), L"a\r\nb\r\n");
    c.SetText(nullptr);
    EXPECT_EQ(Str(c.GetText()), L"");
}

TEST(ControlGeometry, GettersScaleWithTheManagersDpi)
{
    CPaintManagerUI pm;
    pm.GetDpiHelper()->SetScale(120);
    CControlUI c;
    c.SetManager(&pm, nullptr, false);
    c.SetFixedWidth(9);
    c.SetFixedHeight(11);
    c.SetPadding(RECT{1, 2, 5, 6});
    c.SetBorderSize(4);
    EXPECT_EQ(c.GetFixedWidth(), 11);
    EXPECT_EQ(c.GetFixedHeight(), 14);
    EXPECT_EQ(c.GetMaxWidth(), 12499);
    EXPECT_EQ(c.GetMaxHeight(), 12499);
    EXPECT_EQ(c.GetBorderSize(), 5);
    EXPECT_EQ(c.GetToolTipWidth(), 375);
    const RECT p = c.GetPadding();
    EXPECT_EQ(p.left, 1);
    EXPECT_EQ(p.top, 3);
    EXPECT_EQ(p.right, 1 + 5);  // width 4 -> 5
    EXPECT_EQ(p.bottom, 3 + 5);
    EXPECT_EQ(c.EstimateSize(SIZE{1000, 1000}).cx, 11);
    c.SetManager(nullptr, nullptr, false);
    EXPECT_EQ(c.GetFixedWidth(), 9);
}

TEST(ControlGeometry, SizeSettersIgnoreNegativeAndUnchangedLimits)
{
    CPaintManagerUI pm;
    CControlUI c;
    c.SetManager(&pm, nullptr, false);
    c.SetPos(RECT{0, 0, 10, 10}, false);
    ASSERT_FALSE(c.IsUpdateNeeded());

    c.SetFixedWidth(-3);
    EXPECT_EQ(c.GetFixedWidth(), 0);
    EXPECT_FALSE(c.IsUpdateNeeded());
    c.SetFixedWidth(0);  // equal: no re-layout
    EXPECT_FALSE(c.IsUpdateNeeded());
    c.SetFixedWidth(4);
    EXPECT_TRUE(c.IsUpdateNeeded());

    c.SetPos(RECT{0, 0, 10, 10}, false);
    c.SetMinWidth(0);  // equal: no re-layout
    c.SetMaxHeight(9999);
    c.SetMinHeight(-1);
    EXPECT_FALSE(c.IsUpdateNeeded());
    c.SetMinWidth(5);
    EXPECT_TRUE(c.IsUpdateNeeded());
    EXPECT_EQ(c.GetMinWidth(), 5);
    EXPECT_TRUE(pm.IsUpdateNeeded());
    c.SetManager(nullptr, nullptr, false);
}

TEST(ControlGeometry, UnchangedPlacementAsksForNoLayout)
{
    CPaintManagerUI pm;
    CControlUI c;
    c.SetManager(&pm, nullptr, false);
    c.SetFixedHeight(20);
    c.SetFixedXY(SIZE{3, 4});
    c.SetPadding(RECT{1, 2, 3, 4});
    c.SetFloatPercent(0, 0, 1, 0.5);
    c.SetFloatAlign(DT_CENTER);
    const auto settled = [&] {
        c.SetPos(RECT{0, 0, 10, 10}, false);
        return !c.IsUpdateNeeded();
    };
    const auto asksForLayout = [&](auto set) {
        EXPECT_TRUE(settled());
        set();
        return c.IsUpdateNeeded();
    };
    EXPECT_FALSE(asksForLayout([&] { c.SetFixedHeight(20); }));
    EXPECT_FALSE(asksForLayout([&] { c.SetFixedXY(SIZE{3, 4}); }));
    EXPECT_FALSE(asksForLayout([&] { c.SetPadding(RECT{1, 2, 3, 4}); }));
    EXPECT_FALSE(asksForLayout([&] { c.SetFloatPercent(0, 0, 1, 0.5); }));
    EXPECT_FALSE(asksForLayout([&] { c.SetFloatAlign(DT_CENTER); }));
    EXPECT_FALSE(asksForLayout([&] { c.SetFixedHeight(-1); }));
    EXPECT_TRUE(asksForLayout([&] { c.SetFixedHeight(21); }));
    EXPECT_TRUE(asksForLayout([&] { c.SetFixedXY(SIZE{3, 5}); }));
    EXPECT_TRUE(asksForLayout([&] { c.SetPadding(RECT{1, 2, 3, 5}); }));
    EXPECT_TRUE(asksForLayout([&] { c.SetFloatPercent(0, 0, 1, 1); }));
    EXPECT_TRUE(asksForLayout([&] { c.SetFloatAlign(DT_RIGHT); }));
    EXPECT_EQ(c.GetFixedHeight(), 21);
    EXPECT_EQ(c.GetFixedXY().cy, 5);
    c.SetManager(nullptr, nullptr, false);
}

TEST(ControlGeometry, SetPosNormalisesAndFiresSizeHandlersOnce)
{
    static int fired = 0;
    fired = 0;
    CControlUI c;
    c.SizeHandlers.Add([](void* p) {
        ++fired;
        // A nested SetPos from a size handler must not fire the handlers again.
        static_cast<CControlUI*>(p)->SetPos(RECT{1, 1, 2, 2}, false);
        return true;
    });
    c.SetPos(RECT{10, 10, 5, 5}, false);
    EXPECT_EQ(fired, 0);  // no manager: only stored
    EXPECT_EQ(c.GetPos().right, 10);
    EXPECT_EQ(c.GetPos().bottom, 10);

    CPaintManagerUI pm;
    c.SetManager(&pm, nullptr, false);
    c.SetPos(RECT{0, 0, 50, 20}, true);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(c.GetWidth(), 1);  // the handler's own placement stands
    c.SetManager(nullptr, nullptr, false);
}

TEST(ControlGeometry, RelativePosAndLayoutSize)
{
    CControlUI parent;
    CControlUI child;
    child.SetManager(nullptr, &parent, false);
    parent.SetPos(RECT{100, 50, 300, 250});
    child.SetPos(RECT{110, 70, 150, 90});
    const RECT rel = child.GetRelativePos();
    EXPECT_EQ(rel.left, 10);
    EXPECT_EQ(rel.top, 20);
    EXPECT_EQ(rel.right, 50);
    EXPECT_EQ(rel.bottom, 40);
    EXPECT_EQ(parent.GetRelativePos().left, 0);

    child.SetFixedWidth(7);
    EXPECT_EQ(child.GetLayoutWidth(), 7);
    child.SetFloat(true);
    EXPECT_EQ(child.GetLayoutWidth(), 40);

    child.SetFixedXY(SIZE{3, 4});
    child.Move(SIZE{2, -1});
    EXPECT_EQ(child.GetFixedXY().cx, 5);
    EXPECT_EQ(child.GetFixedXY().cy, 3);
}

TEST(ControlState, HidingTheFocusedControlClearsTheFocus)
{
    CPaintManagerUI pm;
    CControlUI c;
    c.SetManager(&pm, nullptr, false);
    Listener listener;
    pm.AddNotifyListener(&listener);
    c.SetFocus();
    EXPECT_EQ(pm.GetFocus(), &c);
    EXPECT_TRUE(c.IsFocused());
    c.SetVisible(false);
    EXPECT_EQ(pm.GetFocus(), nullptr);
    EXPECT_FALSE(c.IsFocused());
    EXPECT_FALSE(c.IsVisible());
    EXPECT_EQ(listener.types, (std::vector<std::wstring>{L"setfocus", L"killfocus"}));

    // Invisible or disabled controls cannot take the focus.
    c.SetFocus();
    EXPECT_EQ(pm.GetFocus(), nullptr);
    c.SetVisible(true);
    c.SetEnabled(false);
    c.SetFocus();
    EXPECT_EQ(pm.GetFocus(), nullptr);
    c.SetEnabled(true);

    c.SetFocus();
    c.SetInternVisible(false);
    EXPECT_EQ(pm.GetFocus(), nullptr);
    EXPECT_TRUE(c.IsVisibleOwn());
    EXPECT_FALSE(c.IsVisible());
    EXPECT_FALSE(c.Activate());
    pm.RemoveNotifyListener(&listener);
    c.SetManager(nullptr, nullptr, false);
}

TEST(ControlState, DestroyedControlIsForgottenByItsManager)
{
    CPaintManagerUI pm;
    static void* destroyed = nullptr;
    auto* c = new CControlUI;
    c->SetManager(&pm, nullptr, false);
    c->SetFocus();
    ASSERT_EQ(pm.GetFocus(), c);
    c->DestroyHandlers.Add([](void* p) {
        destroyed = p;
        return true;
    });
    delete c;
    EXPECT_EQ(destroyed, c);
    EXPECT_EQ(pm.GetFocus(), nullptr);
}

TEST(ControlEvents, HandlersMayVetoTheDefault)
{
    CControlUI c;
    UIControlEvent event;
    event.type = ZvUI::EventSetFocus;
    c.EventHandlers.Add([](void* p) {
        return static_cast<UIControlEvent*>(p)->type != ZvUI::EventSetFocus;
    });
    c.Event(event);
    EXPECT_FALSE(c.IsFocused());
    c.EventHandlers.Clear();
    c.Event(event);
    EXPECT_TRUE(c.IsFocused());
    event.type = ZvUI::EventKillFocus;
    c.Event(event);
    EXPECT_FALSE(c.IsFocused());
}

TEST(ControlEvents, UnhandledEventsGoToTheParent)
{
    RecordingParent parent;
    CControlUI child;
    child.SetManager(nullptr, &parent, false);
    UIControlEvent event;
    for (int type : {ZvUI::EventButtonDown, ZvUI::EventMouseMove, ZvUI::EventContextMenu,
                     ZvUI::EventSetFocus, ZvUI::EventSetCursor}) {
        event.type = type;
        child.Event(event);
    }
    EXPECT_EQ(parent.seen,
              (std::vector<int>{ZvUI::EventButtonDown, ZvUI::EventMouseMove, ZvUI::EventContextMenu}));
    // With a context menu in use the event becomes a "menu" notification instead.
    CPaintManagerUI pm;
    Listener listener;
    pm.AddNotifyListener(&listener);
    child.SetManager(&pm, &parent, false);
    child.SetContextMenuUsed(true);
    event.type = ZvUI::EventContextMenu;
    child.Event(event);
    event.type = ZvUI::EventTimer;
    child.Event(event);
    EXPECT_EQ(listener.types, (std::vector<std::wstring>{L"menu", L"timer"}));
    EXPECT_EQ(parent.seen.size(), 3u);
    child.SetManager(nullptr, nullptr, false);
}

TEST(ControlEvents, NotifyHandlersRunBeforeListeners)
{
    static std::vector<std::wstring> order;
    order.clear();
    class OrderListener : public ZvUI::INotifyUI {
    public:
        void Notify(ZvUI::UINotifyMessage& msg) override { order.push_back(L"listener:" + Str(msg.type)); }
    } listener;
    CPaintManagerUI pm;
    pm.AddNotifyListener(&listener);
    CControlUI c;
    c.SetManager(&pm, nullptr, false);
    c.NotifyHandlers.Add([](void* p) {
        order.push_back(L"delegate:" + Str(static_cast<ZvUI::UINotifyMessage*>(p)->type));
        return false;  // listeners still run
    });
    pm.RaiseNotify(&c, L"click");
    EXPECT_EQ(order, (std::vector<std::wstring>{L"delegate:click", L"listener:click"}));
    c.SetManager(nullptr, nullptr, false);
}

TEST(ControlTree, InitRunsDoInitThenInitHandlers)
{
    static int inits = 0;
    inits = 0;
    CControlUI parent;
    CControlUI c;
    c.InitHandlers.Add([](void*) {
        ++inits;
        return true;
    });
    c.SetManager(nullptr, nullptr, true);  // no parent: no Init
    EXPECT_EQ(inits, 0);
    c.SetManager(nullptr, &parent, true);
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(c.GetParent(), &parent);
}

TEST(ControlTree, VirtualWindowIsInheritedAndFillsNotifications)
{
    CPaintManagerUI pm;
    CControlUI parent;
    CControlUI child;
    parent.SetManager(&pm, nullptr, false);
    child.SetManager(&pm, &parent, false);
    EXPECT_FALSE(pm.IsFillVirtualWindowName());
    parent.SetVirtualWnd(L"page1");
    EXPECT_TRUE(pm.IsFillVirtualWindowName());
    EXPECT_EQ(Str(child.GetVirtualWnd()), L"page1");
    EXPECT_EQ(Str(child.GetOwnVirtualWnd()), L"");
    child.SetVirtualWnd(L"inner");
    EXPECT_EQ(Str(child.GetVirtualWnd()), L"inner");
    child.SetManager(nullptr, nullptr, false);
    parent.SetManager(nullptr, nullptr, false);
}

TEST(ControlTree, FindControlHonoursFlags)
{
    CControlUI c;
    c.SetPos(RECT{0, 0, 20, 20});
    auto self = [](CControlUI* control, LPVOID) -> CControlUI* { return control; };
    POINT inside = {5, 5};
    POINT outside = {25, 5};
    EXPECT_EQ(c.FindControl(self, &inside, ZvUI::FindHitTest), &c);
    EXPECT_EQ(c.FindControl(self, &outside, ZvUI::FindHitTest), nullptr);
    c.SetMouseEnabled(false);
    EXPECT_EQ(c.FindControl(self, &inside, ZvUI::FindHitTest), nullptr);
    EXPECT_EQ(c.FindControl(self, &inside, 0), &c);
    c.SetEnabled(false);
    EXPECT_EQ(c.FindControl(self, nullptr, ZvUI::FindEnabled), nullptr);
    c.SetVisible(false);
    EXPECT_EQ(c.FindControl(self, nullptr, ZvUI::FindVisible), nullptr);
    EXPECT_EQ(c.GetInterface(L"control"), &c);
    EXPECT_EQ(c.GetInterface(L"Button"), nullptr);
    EXPECT_STREQ(c.GetClass(), L"ControlUI");
}

TEST(ControlPaint, StopControlAndEmptyRects)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    CControlUI c;
    EXPECT_TRUE(c.Paint(dc, RECT{0, 0, 100, 100}, nullptr));  // empty item rect: nothing to do
    c.SetPos(RECT{10, 10, 30, 30});
    EXPECT_FALSE(c.Paint(dc, RECT{0, 0, 100, 100}, &c));
    EXPECT_TRUE(c.Paint(dc, RECT{0, 0, 20, 20}, nullptr));
    EXPECT_EQ(c.GetPaintRect().left, 10);
    EXPECT_EQ(c.GetPaintRect().right, 20);
    ::DeleteDC(dc);
}

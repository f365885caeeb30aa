// Label: attributes to text style, size estimates, default colours and painting.
#include "control/LabelUI.h"

#include <gtest/gtest.h>

#include "ManagedWindow.h"
#include "TextTestSupport.h"
#include "manager/DpiHelper.h"

using ZvUI::CLabelUI;
using ZvUI::CPaintManagerUI;

namespace {

class Label : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pm.AddFont(3, kFace, 14, false, false, false);
        m_label.SetManager(&m_pm, nullptr, false);
    }
    CPaintManagerUI m_pm;
    CLabelUI m_label;
};

struct StyleCase {
    LPCWSTR name;
    LPCWSTR value;
    UINT before;
    UINT after;
};

} // namespace

TEST(LabelStyle, AttributesChangeTheStyleInOrder)
{
    const StyleCase cases[] = {
        {L"align", L"center", 0x24, 0x25},
        {L"align", L"right", 0x25, 0x26},
        {L"align", L"center right", 0x24, 0x26},
        {L"align", L"left", 0x27, 0x24},
        {L"valign", L"top", 0x3C, 0x20},
        {L"valign", L"vcenter", 0x18, 0x24},
        {L"valign", L"bottom", 0x14, 0x28},
        {L"valign", L"Top", 0x24, 0x24},
        {L"endellipsis", L"true", 0x24, 0x8024},
        {L"endellipsis", L"TRUE", 0x24, 0x8024},
        {L"endellipsis", L"false", 0x8024, 0x24},
        {L"wordbreak", L"true", 0x24, 0x2014},
        {L"wordbreak", L"false", 0x2014, 0x24},
        {L"noprefix", L"true", 0x24, 0x824},
        {L"NoPrefix", L"false", 0x824, 0x24},
    };
    for (const StyleCase& c : cases) {
        CLabelUI label;
        label.SetTextStyle(c.before);
        label.SetAttribute(c.name, c.value);
        EXPECT_EQ(label.GetTextStyle(), c.after) << std::hex << c.before << " -> " << c.after;
    }
    CLabelUI label;
    EXPECT_EQ(label.GetTextStyle(), 0x24u);
    label.SetAttribute(L"valign", L"top");
    label.SetAttribute(L"wordbreak", L"true");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_WORDBREAK | DT_EDITCONTROL)) << "multi-line, top";
    label.SetAttribute(L"valign", L"vcenter");
    EXPECT_EQ(label.GetTextStyle() & DT_SINGLELINE, static_cast<UINT>(DT_SINGLELINE));
}

TEST(LabelStyle, ColoursFontPaddingAndFlags)
{
    CLabelUI label;
    label.SetAttribute(L"textcolor", L"#FF333333");
    EXPECT_EQ(label.GetTextColor(), 0xFF333333u);
    label.SetAttribute(L"textcolor", L"FF334455");
    EXPECT_EQ(label.GetTextColor(), 0xFF334455u);
    label.SetAttribute(L"disabledtextcolor", L"#80A0A0A0");
    EXPECT_EQ(label.GetDisabledTextColor(), 0x80A0A0A0u);
    label.SetAttribute(L"font", L"4");
    EXPECT_EQ(label.GetFont(), 4);
    label.SetAttribute(L"textpadding", L"1,2,3,4");
    const RECT padding = label.GetTextPadding();
    EXPECT_EQ(padding.left, 1);
    EXPECT_EQ(padding.top, 2);
    EXPECT_EQ(padding.right, 3);
    EXPECT_EQ(padding.bottom, 4);
    label.SetAttribute(L"textpadding", L"7");
    EXPECT_EQ(label.GetTextPadding().left, 7);
    label.SetAttribute(L"showhtml", L"true");
    label.SetAttribute(L"autocalcwidth", L"true");
    label.SetAttribute(L"autocalcheight", L"True");
    EXPECT_TRUE(label.IsShowHtml());
    EXPECT_TRUE(label.GetAutoCalcWidth());
    EXPECT_TRUE(label.GetAutoCalcHeight());
    label.SetAttribute(L"name", L"status");
    EXPECT_STREQ(label.GetName(), L"status") << "other names reach the control base";
    EXPECT_STREQ(label.GetClass(), L"LabelUI");
    EXPECT_EQ(label.GetInterface(L"label"), &label);
    EXPECT_EQ(label.GetInterface(L"Button"), nullptr);
}

TEST_F(Label, SingleLineHeightFromTheFont)
{
    m_label.SetFont(3);
    m_label.SetTextPadding(0, 2, 0, 3);
    const int height = m_pm.GetFontInfo(3)->metrics.tmHeight;
    const SIZE size = m_label.EstimateSize(SIZE{200, 100});
    EXPECT_EQ(size.cx, 0) << "the free axis is left to the layout";
    EXPECT_EQ(size.cy, height + 8 + 5);

    // At 200 % the margin is scaled like the font and the padding.
    m_pm.GetDpiHelper()->SetScale(192);
    m_label.SetText(L"again");
    const int bigHeight = m_pm.GetFontInfo(3)->metrics.tmHeight;
    EXPECT_EQ(m_label.EstimateSize(SIZE{200, 100}).cy, bigHeight + 16 + 10);
}

TEST_F(Label, FixedSizeIsNotMeasured)
{
    m_label.SetFixedWidth(120);
    m_label.SetFixedHeight(29);
    m_label.SetText(L"a text much wider than one hundred and twenty pixels, surely");
    const SIZE size = m_label.EstimateSize(SIZE{500, 500});
    EXPECT_EQ(size.cx, 120);
    EXPECT_EQ(size.cy, 29);
}

TEST_F(Label, AutoWidthFollowsTheText)
{
    m_label.SetFont(3);
    m_label.SetAutoCalcWidth(true);
    m_label.SetTextPadding(4, 0, 6, 0);
    m_label.SetText(L"Short");
    const SIZE first = m_label.EstimateSize(SIZE{500, 40});
    EXPECT_EQ(first.cx, Extent(m_pm.GetFont(3), L"Short").cx + 10);
    m_label.SetText(L"Somewhat longer");
    const SIZE second = m_label.EstimateSize(SIZE{500, 40});
    EXPECT_EQ(second.cx, Extent(m_pm.GetFont(3), L"Somewhat longer").cx + 10) << "same available size";
}

TEST_F(Label, AutoHeightWrapsAtTheWidth)
{
    m_label.SetFont(3);
    m_label.SetAttribute(L"wordbreak", L"true");
    m_label.SetAutoCalcHeight(true);
    m_label.SetFixedWidth(Extent(m_pm.GetFont(3), L"one two").cx + 2);
    m_label.SetText(L"one two three four");
    RECT direct = {0, 0, m_label.GetFixedWidth(), 9999};
    RenderCanvas canvas(8, 8);
    HGDIOBJ old = ::SelectObject(canvas.DC(), m_pm.GetFont(3));
    ::DrawTextW(canvas.DC(), L"one two three four", -1, &direct, m_label.GetTextStyle() | DT_CALCRECT);
    ::SelectObject(canvas.DC(), old);
    EXPECT_EQ(m_label.EstimateSize(SIZE{500, 500}).cy, direct.bottom);
    EXPECT_GE(direct.bottom, 3 * LineHeight(m_pm, 3));
    m_label.SetShowHtml(true);
    // "one two", "three", "four".
    EXPECT_EQ(m_label.EstimateSize(SIZE{500, 500}).cy, 3 * LineHeight(m_pm, 3)) << "markup wraps at words";
}

TEST_F(Label, PaintTakesTheManagersColoursForGood)
{
    m_pm.SetTextColor(0xFF0000FF);
    m_pm.SetDisabledColor(0xFF00FF00);
    m_label.SetFont(3);
    m_label.SetPos(RECT{0, 0, 100, 30}, false);
    m_label.SetText(L"WWW");
    RenderCanvas canvas(100, 30, 0x00FFFFFF);
    m_label.Paint(canvas.DC(), RECT{0, 0, 100, 30}, nullptr);
    EXPECT_GT(CountColor(canvas, 0x0000FF), 0);
    EXPECT_EQ(m_label.GetTextColor(), 0xFF0000FFu);
    EXPECT_EQ(m_label.GetDisabledTextColor(), 0xFF00FF00u);
    m_pm.SetTextColor(0xFFFF0000);
    m_label.SetEnabled(false);
    canvas.Fill(0x00FFFFFF);
    m_label.Paint(canvas.DC(), RECT{0, 0, 100, 30}, nullptr);
    EXPECT_GT(CountColor(canvas, 0x00FF00), 0);
    EXPECT_EQ(CountColor(canvas, 0xFF0000), 0);
}

TEST_F(Label, PaintsMarkupAndKeepsInsideThePadding)
{
    m_label.SetFont(3);
    m_label.SetTextColor(0xFF000000);
    m_label.SetPos(RECT{0, 0, 200, 30}, false);
    m_label.SetTextPadding(20, 0, 0, 0);
    m_label.SetShowHtml(true);
    m_label.SetText(L"<c #FF0000>WW</c>WW");
    RenderCanvas canvas(200, 30, 0x00FFFFFF);
    m_label.Paint(canvas.DC(), RECT{0, 0, 200, 30}, nullptr);
    EXPECT_GE(InkBounds(canvas).left, 20);
    EXPECT_GT(CountColor(canvas, 0xFF0000), 0);
    EXPECT_GT(CountColor(canvas, 0x000000), 0);
}

TEST_F(Label, MeasureTextIsInDpiUnits)
{
    ManagedWindow window(m_pm, 50, 50);
    m_pm.AddFont(3, kFace, 14, false, false, false);
    const SIZE plain = Extent(m_pm.GetFont(3), L"Install");
    const SIZE measured = m_label.MeasureText(L"Install", 3);
    EXPECT_EQ(measured.cx, m_pm.GetDpiHelper()->Unscale(plain.cx));
    EXPECT_EQ(measured.cy, m_pm.GetDpiHelper()->Unscale(plain.cy));
    CLabelUI orphan;
    EXPECT_EQ(orphan.MeasureText(L"Install", 3).cx, 0);
}

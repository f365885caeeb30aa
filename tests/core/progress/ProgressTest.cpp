// Progress bar: value rules and attribute order, percentage text, and the filled pixels of the fore
// colour and fore image (stretched and cut) painted into a 32-bit DIB.
#include "control/ProgressUI.h"

#include <gtest/gtest.h>

#include <string>

#include "../render/RenderCanvas.h"
#include "../scroll/HostWindow.h"

using ZvUI::CProgressUI;
using scroll_test::HostWindow;

namespace {

constexpr DWORD kWhite = 0xFFFFFF;
constexpr DWORD kFill = 0x2C7CCA;

// The bar as the root of a hidden window, over rc.
CProgressUI* Install(HostWindow& window, RECT rc)
{
    auto* bar = new CProgressUI;
    window.SetRoot(bar, rc);
    return bar;
}

void PaintInto(CProgressUI& bar, RenderCanvas& canvas)
{
    canvas.Fill(0x00FFFFFF);
    RECT all = {0, 0, canvas.Width(), canvas.Height()};
    ASSERT_TRUE(bar.Paint(canvas.DC(), all, nullptr));
}

// The first column of row y that is not filled.
int FilledWidth(RenderCanvas& canvas, int y)
{
    int x = 0;
    while (x < canvas.Width() && canvas.Rgb(x, y) == kFill)
        ++x;
    return x;
}

} // namespace

// --- value and range ---

TEST(Progress, ValueOutsideTheRangeIsIgnored)
{
    CProgressUI bar;
    struct Step {
        int value;
        int expect;
    };
    const Step steps[] = {{150, 0}, {100, 100}, {-1, 100}, {0, 0}, {37, 37}, {101, 37}};
    for (const Step& s : steps) {
        bar.SetValue(s.value);
        EXPECT_EQ(bar.GetValue(), s.expect) << "after SetValue(" << s.value << ")";
    }
}

TEST(Progress, AttributeOrderMatters)
{
    CProgressUI early;
    early.SetAttribute(L"value", L"150");
    early.SetAttribute(L"max", L"200");
    EXPECT_EQ(early.GetValue(), 0) << "checked against the default range";

    CProgressUI late;
    late.SetAttribute(L"MAX", L"200");
    late.SetAttribute(L"min", L"-50");
    late.SetAttribute(L"Value", L"150");
    late.SetAttribute(L"hor", L"false");
    late.SetAttribute(L"isstretchfore", L"no");
    EXPECT_EQ(late.GetValue(), 150);
    EXPECT_EQ(late.GetMinValue(), -50);
    EXPECT_EQ(late.GetMaxValue(), 200);
    EXPECT_FALSE(late.IsHorizontal());
    EXPECT_FALSE(late.IsStretchForeImage());
}

TEST(Progress, DefaultsOfTheConstructor)
{
    CProgressUI bar;
    EXPECT_EQ(bar.GetFixedHeight(), 12);
    EXPECT_EQ(bar.GetTextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_CENTER));
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_TRUE(bar.IsStretchForeImage());
    EXPECT_FALSE(bar.IsShowText());
    EXPECT_STREQ(bar.GetClass(), L"ProgressUI");
    EXPECT_EQ(bar.GetInterface(L"progress"), &bar);
    EXPECT_NE(bar.GetInterface(L"Label"), nullptr);
}

TEST(Progress, PercentTextFollowsTheValue)
{
    struct Row {
        int min;
        int max;
        int value;
        const wchar_t* text;
    };
    const Row rows[] = {
        {0, 100, 50, L"50%"}, {0, 3, 1, L"33%"}, {0, 3, 2, L"67%"}, {0, 3, 3, L"100%"},
        // Halves round away from zero, as the C runtime formats them.
        {-10, 10, 5, L"75%"}, {0, 200, 1, L"1%"}, {0, 8, 1, L"13%"},
    };
    for (const Row& row : rows) {
        CProgressUI bar;
        bar.SetShowText(true);
        bar.SetMaxValue(row.max);
        bar.SetMinValue(row.min);
        bar.SetValue(row.value);
        EXPECT_STREQ(bar.GetText(), row.text) << row.value << " of " << row.min << "-" << row.max;
    }
}

TEST(Progress, ShowTextOffClearsAndOnWaitsForAChange)
{
    CProgressUI bar;
    bar.SetValue(40);
    bar.SetShowText(true);
    EXPECT_STREQ(bar.GetText(), L"");
    bar.SetValue(41);
    EXPECT_STREQ(bar.GetText(), L"41%");
    bar.SetShowText(false);
    EXPECT_STREQ(bar.GetText(), L"");
    bar.SetValue(42);
    EXPECT_STREQ(bar.GetText(), L"");
}

TEST(Progress, EmptyRangeLeavesTheTextAlone)
{
    CProgressUI bar;
    bar.SetShowText(true);
    bar.SetValue(10);
    bar.SetMinValue(50);
    bar.SetMaxValue(50);
    bar.SetValue(50);
    EXPECT_STREQ(bar.GetText(), L"10%");
}

// --- painting ---

TEST(ProgressPaint, ForeColourFillsExactlyTheValueShare)
{
    struct Row {
        int min;
        int max;
        int value;
        int filled;
    };
    // 594 pixels wide, as the setup program's bar.
    const Row rows[] = {
        {0, 100, 0, 0},     {0, 100, 50, 297}, {0, 100, 100, 594}, {0, 100, 1, 5},
        {0, 100, 99, 588},  {-100, 100, 0, 297}, {0, 7, 3, 254},
        // Products past 32 bits.
        {0, 2000000000, 1000000000, 297}, {-2000000000, 2000000000, 0, 297},
    };
    HostWindow window(600, 20);
    CProgressUI* bar = Install(window, RECT{0, 0, 594, 14});
    bar->SetForeColor(0xFF000000 | kFill);
    RenderCanvas canvas(600, 14);
    for (const Row& row : rows) {
        bar->SetMaxValue(row.max);
        bar->SetMinValue(row.min);
        bar->SetValue(row.value);
        ASSERT_EQ(bar->GetValue(), row.value);
        PaintInto(*bar, canvas);
        EXPECT_EQ(FilledWidth(canvas, 0), row.filled) << row.value << " of " << row.min << "-" << row.max;
        EXPECT_EQ(FilledWidth(canvas, 13), row.filled);
        EXPECT_EQ(canvas.Rgb(596, 7), kWhite);
    }
}

TEST(ProgressPaint, EqualBoundsAreRepairedAndStored)
{
    HostWindow window(120, 20);
    CProgressUI* bar = Install(window, RECT{0, 0, 100, 10});
    bar->SetForeColor(0xFF000000 | kFill);
    bar->SetMaxValue(50);
    bar->SetMinValue(50);
    RenderCanvas canvas(120, 10);
    PaintInto(*bar, canvas);
    EXPECT_EQ(bar->GetMaxValue(), 51);
    EXPECT_EQ(bar->GetValue(), 50);
    EXPECT_EQ(FilledWidth(canvas, 5), 0);
    bar->SetValue(51);
    PaintInto(*bar, canvas);
    EXPECT_EQ(FilledWidth(canvas, 5), 100);
}

TEST(ProgressPaint, VerticalBarFillsFromTheBottom)
{
    HostWindow window(20, 120);
    CProgressUI* bar = Install(window, RECT{0, 0, 10, 100});
    bar->SetForeColor(0xFF000000 | kFill);
    bar->SetHorizontal(false);
    bar->SetValue(25);
    RenderCanvas canvas(12, 100);
    PaintInto(*bar, canvas);
    EXPECT_EQ(canvas.Rgb(5, 74), kWhite);
    EXPECT_EQ(canvas.Rgb(0, 75), kFill);
    EXPECT_EQ(canvas.Rgb(9, 99), kFill);
    EXPECT_EQ(canvas.Rgb(10, 99), kWhite);
}

TEST(ProgressPaint, NoForeColourDrawsNoFill)
{
    HostWindow window(120, 20);
    CProgressUI* bar = Install(window, RECT{0, 0, 100, 10});
    bar->SetValue(80);
    RenderCanvas canvas(100, 10);
    PaintInto(*bar, canvas);
    EXPECT_EQ(canvas.Rgb(10, 5), kWhite);
}

namespace {

// 100 x 10: left half red, right half blue, handed to the manager's cache.
void AddHalvesImage(ZvUI::CPaintManagerUI& manager)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 100;
    bmi.bmiHeader.biHeight = -10;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x)
            static_cast<DWORD*>(bits)[y * 100 + x] = x < 50 ? 0xFFFF0000 : 0xFF0000FF;
    ASSERT_NE(manager.AddImage(L"halves", bmp, 100, 10, false), nullptr);
}

} // namespace

TEST(ProgressPaint, ForeImageIsSqueezedOrCutToTheValue)
{
    HostWindow window(120, 20);
    CProgressUI* bar = Install(window, RECT{0, 0, 100, 10});
    AddHalvesImage(window.Manager());
    bar->SetForeImage(L"halves");
    bar->SetValue(50);
    RenderCanvas canvas(100, 10);

    PaintInto(*bar, canvas);
    EXPECT_EQ(canvas.Rgb(5, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(20, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(30, 5), 0x0000FFu) << "the whole image in the filled half";
    EXPECT_EQ(canvas.Rgb(45, 5), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(55, 5), kWhite);

    bar->SetStretchForeImage(false);
    PaintInto(*bar, canvas);
    EXPECT_EQ(canvas.Rgb(5, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(45, 5), 0xFF0000u) << "only the image's own left half shows";
    EXPECT_EQ(canvas.Rgb(55, 5), kWhite);

    bar->SetValue(0);
    PaintInto(*bar, canvas);
    EXPECT_EQ(canvas.Rgb(0, 5), kWhite);

    // Equal bounds are repaired before the image is cut: nothing filled, no division by zero.
    bar->SetMinValue(7);
    bar->SetMaxValue(7);
    PaintInto(*bar, canvas);
    EXPECT_EQ(bar->GetMaxValue(), 8);
    EXPECT_EQ(canvas.Rgb(0, 5), kWhite);
}

// DPI scale arithmetic, checked against rounded-to-nearest values worked out by hand.
#include "manager/DpiHelper.h"

#include <gtest/gtest.h>

using ZvUI::CDpiHelper;

namespace {

struct ScaleRow {
    int dpi;
    int value;
    int scaled;
    int unscaled;  // Unscale(value)
};

const ScaleRow kScaleRows[] = {
    {96, 9, 9, 9},      {96, -7, -7, -7},  {120, 9, 11, 7},   {120, 11, 14, 9},
    {144, 5, 8, 3},     {144, 3, 5, 2},    {192, 10, 20, 5},  {168, 100, 175, 57},
    {120, 9999, 12499, 7999}, {144, -5, -8, -3},
    // Lengths beyond 32 bits once scaled saturate rather than turn into -1.
    {192, 2000000000, 2147483647, 1000000000}, {192, -2000000000, -2147483647, -1000000000},
};

} // namespace

TEST(DpiHelper, ScaleAndUnscaleRoundToNearest)
{
    for (const ScaleRow& row : kScaleRows) {
        CDpiHelper dpi;
        dpi.SetScale(row.dpi);
        EXPECT_EQ(dpi.Scale(row.value), row.scaled) << row.dpi << " " << row.value;
        EXPECT_EQ(dpi.Unscale(row.value), row.unscaled) << row.dpi << " " << row.value;
    }
}

TEST(DpiHelper, ScaleReportsPercentAndDpi)
{
    CDpiHelper dpi;
    EXPECT_EQ(dpi.GetScale(), 100);
    dpi.SetScale(144);
    EXPECT_EQ(dpi.GetScale(), 150);
    EXPECT_EQ(dpi.GetDpi(), 144);
}

TEST(DpiHelper, RectOriginAndExtentScaleApart)
{
    CDpiHelper dpi;
    dpi.SetScale(144);
    RECT rc = {1, 0, 4, 50};
    dpi.ScaleRect(rc);
    // 1..4 becomes 2..7 (origin 1.5 -> 2, width 4.5 -> 5), not 2..6.
    EXPECT_EQ(rc.left, 2);
    EXPECT_EQ(rc.right, 7);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.bottom, 75);
    RECT back = rc;
    dpi.UnscaleRect(back);
    EXPECT_EQ(back.left, 1);
    EXPECT_EQ(back.right, 4);
    EXPECT_EQ(back.bottom, 50);
}

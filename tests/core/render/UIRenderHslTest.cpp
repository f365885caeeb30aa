// HSL conversions and the colour shift against tables generated with Python's colorsys.

#include "render/UIRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using ZvUI::CUIRender;

namespace {

struct ColorToHslRow { DWORD color; double h; double s; double l; };
struct HslToColorRow { float h; float s; float l; double r; double g; double b; };
struct AdjustColorRow { DWORD color; short h; short s; short l; double r; double g; double b; };

#include "HslTable.inc"

// The reference gives the scaled value before truncation; single precision may land on the other
// side of a whole number when the reference lies within a hair of it.
void ExpectByte(double reference, int actual, double hair)
{
    const int truncated = static_cast<int>(reference);
    if (actual == truncated) {
        return;
    }
    const double fraction = reference - std::floor(reference);
    const bool nearWhole = fraction < hair || fraction > 1.0 - hair;
    EXPECT_TRUE(nearWhole && std::abs(actual - static_cast<int>(std::lround(reference))) <= 1)
        << "reference " << reference << " actual " << actual;
}

} // namespace

TEST(RenderHsl, ColorToHslMatchesColorsys)
{
    for (const ColorToHslRow& row : kColorToHsl) {
        float h = -1;
        float s = -1;
        float l = -1;
        CUIRender::ColorToHsl(0xFF000000 | row.color, h, s, l);
        SCOPED_TRACE(::testing::Message() << std::hex << row.color);
        // Hues just under 360 and at 0 are the same colour.
        const double dh = std::fmod(std::abs(h - row.h), 360.0);
        EXPECT_LT(std::min(dh, 360.0 - dh), 1e-3);
        EXPECT_NEAR(row.s, s, 1e-5);
        EXPECT_NEAR(row.l, l, 1e-6);
        EXPECT_GE(h, 0.0f);
        EXPECT_LT(h, 360.0f);
    }
}

TEST(RenderHsl, HslToColorMatchesColorsysAndKeepsAlpha)
{
    for (const HslToColorRow& row : kHslToColor) {
        DWORD color = 0x5A000000;
        CUIRender::HslToColor(color, row.h, row.s, row.l);
        SCOPED_TRACE(::testing::Message() << row.h << "," << row.s << "," << row.l);
        EXPECT_EQ(0x5Au, color >> 24);
        ExpectByte(row.r, static_cast<int>((color >> 16) & 0xFF), 1e-3);
        ExpectByte(row.g, static_cast<int>((color >> 8) & 0xFF), 1e-3);
        ExpectByte(row.b, static_cast<int>(color & 0xFF), 1e-3);
    }
}

TEST(RenderHsl, AdjustColorMatchesColorsys)
{
    for (const AdjustColorRow& row : kAdjustColor) {
        const DWORD shifted = CUIRender::AdjustColor(row.color, row.h, row.s, row.l);
        SCOPED_TRACE(::testing::Message() << std::hex << row.color << std::dec << " by " << row.h << "/" << row.s
                                          << "/" << row.l);
        EXPECT_EQ(row.color >> 24, shifted >> 24);
        ExpectByte(row.r, static_cast<int>((shifted >> 16) & 0xFF), 2e-2);
        ExpectByte(row.g, static_cast<int>((shifted >> 8) & 0xFF), 2e-2);
        ExpectByte(row.b, static_cast<int>(shifted & 0xFF), 2e-2);
    }
}

TEST(RenderHsl, NeutralShiftLeavesEveryColourBitForBit)
{
    std::mt19937 rng(180);
    for (int i = 0; i < 5000; ++i) {
        const DWORD color = rng();
        EXPECT_EQ(color, CUIRender::AdjustColor(color, 180, 100, 100));
    }
}

TEST(RenderHsl, SmallHueShiftKeepsRedDominant)
{
    const DWORD shifted = CUIRender::AdjustColor(0xFFFF0000, 181, 100, 100);
    EXPECT_EQ(0xFFu, shifted >> 24);
    const int r = static_cast<int>((shifted >> 16) & 0xFF);
    EXPECT_GT(r, static_cast<int>((shifted >> 8) & 0xFF));
    EXPECT_GT(r, static_cast<int>(shifted & 0xFF));
}

TEST(RenderHsl, GreysHaveNoHueOrSaturation)
{
    for (int v = 0; v < 256; ++v) {
        float h = -1;
        float s = -1;
        float l = -1;
        CUIRender::ColorToHsl(static_cast<DWORD>(v * 0x010101), h, s, l);
        EXPECT_EQ(0.0f, h);
        EXPECT_EQ(0.0f, s);
        EXPECT_NEAR(v / 255.0, l, 1e-6);
    }
}

// Gradients where msimg32 is not loaded: bands of solid colour, blended by the AlphaBlend stand-in.

#include "render/UIRender.h"

#include "RenderCanvas.h"

#include <gtest/gtest.h>

#include <set>

using ZvUI::CUIRender;

namespace {

std::set<DWORD> RowColours(const RenderCanvas& canvas, int y)
{
    std::set<DWORD> colours;
    for (int x = 0; x < canvas.Width(); ++x) {
        colours.insert(canvas.Rgb(x, y));
    }
    return colours;
}

} // namespace

// This binary never loads msimg32, so the engine finds no GradientFill or AlphaBlend.
TEST(GradientBands, RunWithoutMsimg32)
{
    ASSERT_EQ(nullptr, ::GetModuleHandleW(L"msimg32.dll"))
        << "msimg32 is loaded in this process; the band tests would not reach the bands";
    EXPECT_NE(nullptr, reinterpret_cast<void*>(CUIRender::GetAlphaBlend()));
}

TEST(GradientBands, StepCountPicksTheNumberOfBands)
{
    struct Row { int steps; size_t bands; };
    const Row rows[] = {{0, 2}, {3, 2}, {4, 4}, {7, 4}, {8, 8}, {16, 16}, {31, 16}, {32, 32}, {63, 32}, {64, 64},
                        {500, 64}};
    for (const Row& row : rows) {
        RenderCanvas canvas(128, 4);
        CUIRender::DrawGradient(canvas.DC(), RECT{0, 0, 128, 4}, 0xFF000000, 0xFF0000FF, false, row.steps);
        EXPECT_EQ(row.bands, RowColours(canvas, 0).size()) << row.steps << " steps";
    }
}

TEST(GradientBands, SecondColourLiesAtTheRightOrBottomEdge)
{
    RenderCanvas across(64, 4);
    CUIRender::DrawGradient(across.DC(), RECT{0, 0, 64, 4}, 0xFFFF0000, 0xFF00FF00, false, 64);
    EXPECT_EQ(0x00FF00u, across.Rgb(63, 0));
    // The far band is one sixty-fourth short of the first colour: (255 * 63) >> 6 = 251.
    EXPECT_EQ(0xFB0003u & 0xFF0000u, across.Rgb(0, 0) & 0xFF0000u);

    RenderCanvas down(4, 64);
    CUIRender::DrawGradient(down.DC(), RECT{0, 0, 4, 64}, 0xFF000000, 0xFFFFFFFF, true, 2);
    EXPECT_EQ(0xFFFFFFu, down.Rgb(0, 63));
    EXPECT_EQ(0xFFFFFFu, down.Rgb(0, 32));
    // (255 * 1 + 0 * 1) >> 1 = 127 in the upper band.
    EXPECT_EQ(0x7F7F7Fu, down.Rgb(0, 0));
    EXPECT_EQ(0x7F7F7Fu, down.Rgb(0, 31));
}

TEST(GradientBands, TranslucentBandsBlendThroughTheStandIn)
{
    RenderCanvas canvas(16, 16);
    // Mean alpha 0x40: f = 255 * 64 / 255 / 255; 0x10 over white gives int(16 f + 255 (1 - f)) = 195.
    CUIRender::DrawGradient(canvas.DC(), RECT{0, 0, 16, 16}, 0x40101010, 0x40101010, false, 64);
    EXPECT_EQ(0xC3C3C3u, canvas.Rgb(0, 0));
    EXPECT_EQ(0xC3C3C3u, canvas.Rgb(15, 15));
}

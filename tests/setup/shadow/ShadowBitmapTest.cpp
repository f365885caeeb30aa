#include "ShadowReference.h"
#include "WndShadow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

using shadowtest::ExpectedShadow;
using shadowtest::RowsOfRect;
using shadowtest::RowsOfRegion;
using shadowtest::ShadowPixel;
using shadowtest::Span;

namespace {

constexpr std::uint32_t kGuard = 0xDEADBEEF;
constexpr int kGuardPixels = 64;

CWndShadow::Look MakeLook(int size, unsigned sharpness, unsigned darkness, int x, int y, COLORREF color)
{
    CWndShadow::Look look;
    look.size = size;
    look.sharpness = sharpness;
    look.darkness = darkness;
    look.x = x;
    look.y = y;
    look.color = color;
    return look;
}

CWndShadow::Look MainFrameLook(int x = 0, int y = 0)
{
    return MakeLook(8, 10, 24, x, y, 0x646464);
}

// A drawn shadow, top-down, with a check that nothing was written past the bitmap.
struct Drawn {
    bool made = false;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool guardsIntact = true;

    std::uint32_t At(int row, int col) const { return pixels[static_cast<size_t>(row) * width + col]; }
    unsigned AlphaAt(int row, int col) const { return At(row, col) >> 24; }
};

Drawn Draw(HRGN region, int width, int height, const CWndShadow::Look& look)
{
    Drawn drawn;
    drawn.width = width + 2 * look.size;
    drawn.height = height + 2 * look.size;
    const size_t count = drawn.width > 0 && drawn.height > 0 ? static_cast<size_t>(drawn.width) * drawn.height : 0;
    std::vector<std::uint32_t> buffer(count + 2 * kGuardPixels, kGuard);
    std::fill(buffer.begin() + kGuardPixels, buffer.end() - kGuardPixels, 0u);
    drawn.made = CWndShadow::MakeShadow(buffer.data() + kGuardPixels, region, width, height, look);
    for (int i = 0; i < kGuardPixels; ++i)
        drawn.guardsIntact = drawn.guardsIntact && buffer[i] == kGuard && buffer[buffer.size() - 1 - i] == kGuard;
    if (count != 0)
        drawn.pixels = shadowtest::TopDown(buffer.data() + kGuardPixels, drawn.width, drawn.height);
    return drawn;
}

Drawn DrawRect(int width, int height, const CWndShadow::Look& look)
{
    HRGN region = CreateRectRgn(0, 0, width, height);
    Drawn drawn = Draw(region, width, height, look);
    DeleteObject(region);
    return drawn;
}

// The first differing pixel, or "" when the two bitmaps agree.
std::string FirstDifference(const Drawn& drawn, const std::vector<std::uint32_t>& expected)
{
    if (drawn.pixels.size() != expected.size())
        return "sizes differ: " + std::to_string(drawn.pixels.size()) + " vs " + std::to_string(expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        if (drawn.pixels[i] != expected[i]) {
            char text[96];
            snprintf(text, sizeof(text), "row %d col %d: %08x, expected %08x", static_cast<int>(i / drawn.width),
                static_cast<int>(i % drawn.width), drawn.pixels[i], expected[i]);
            return text;
        }
    }
    return "";
}

} // namespace

// --- the main frame's look ---

TEST(ShadowBitmap, MainFrameLookExtendsEightPixelsWithASoftEdgeAndCutsOutTheParent)
{
    const Drawn drawn = DrawRect(100, 80, MainFrameLook());
    ASSERT_TRUE(drawn.made);
    EXPECT_TRUE(drawn.guardsIntact);
    EXPECT_EQ(116, drawn.width);
    EXPECT_EQ(96, drawn.height);

    // The outline shrinks by two pixels and the 21 x 21 kernel reaches ten pixels beyond it: alpha
    // (1 - d / 11) x 24 at distance d, nothing past distance 10.
    const int mid = 48;
    EXPECT_EQ(ShadowPixel(0x646464, 2), drawn.At(mid, 0));    // d = 10
    EXPECT_EQ(ShadowPixel(0x646464, 17), drawn.At(mid, 7));   // d = 3
    EXPECT_EQ(ShadowPixel(0x646464, 17), drawn.At(88, 60));   // d = 3 below
    EXPECT_EQ(0u, drawn.At(0, 0));                            // d = 14.1
    EXPECT_EQ(2u, drawn.AlphaAt(3, 3));                       // d = 9.9
    for (int r = 8; r < 88; ++r)
        for (int c = 8; c < 108; ++c)
            ASSERT_EQ(0u, drawn.At(r, c)) << r << "," << c;

    EXPECT_EQ("", FirstDifference(drawn, ExpectedShadow(RowsOfRect(100, 80), 100, 80, MainFrameLook())));
}

TEST(ShadowBitmap, MainFrameLookShowsTheFullDarknessWhereTheParentMovesAway)
{
    // Displaced 20 pixels right, the parent uncovers the shrunk outline: there the shadow has alpha 24.
    const Drawn drawn = DrawRect(100, 80, MainFrameLook(20, 0));
    ASSERT_TRUE(drawn.made);
    EXPECT_EQ(ShadowPixel(0x646464, 24), drawn.At(48, 100));
    EXPECT_EQ(0x18090909u, drawn.At(48, 100));
    EXPECT_EQ(0u, drawn.At(48, 87));
    EXPECT_EQ("", FirstDifference(drawn, ExpectedShadow(RowsOfRect(100, 80), 100, 80, MainFrameLook(20, 0))));
}

// --- sizes, sharpness and darkness against the model ---

struct LookCase {
    const char* name;
    int width;
    int height;
    CWndShadow::Look look;
};

void PrintTo(const LookCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShadowBitmapLooks : public ::testing::TestWithParam<LookCase> {};

TEST_P(ShadowBitmapLooks, RectangleMatchesTheDistanceModel)
{
    const LookCase& c = GetParam();
    const Drawn drawn = DrawRect(c.width, c.height, c.look);
    ASSERT_TRUE(drawn.made);
    EXPECT_TRUE(drawn.guardsIntact);
    EXPECT_EQ("", FirstDifference(drawn, ExpectedShadow(RowsOfRect(c.width, c.height), c.width, c.height, c.look)));
}

TEST_P(ShadowBitmapLooks, RoundedRegionMatchesTheDistanceModel)
{
    const LookCase& c = GetParam();
    HRGN region = CreateRoundRectRgn(0, 0, c.width + 1, c.height + 1, 24, 24);
    const Drawn drawn = Draw(region, c.width, c.height, c.look);
    const std::vector<Span> rows = RowsOfRegion(region, c.width, c.height);
    DeleteObject(region);
    ASSERT_TRUE(drawn.made);
    EXPECT_TRUE(drawn.guardsIntact);
    EXPECT_EQ("", FirstDifference(drawn, ExpectedShadow(rows, c.width, c.height, c.look)));
}

INSTANTIATE_TEST_SUITE_P(Looks, ShadowBitmapLooks,
    ::testing::Values(LookCase{"defaults", 60, 40, CWndShadow::Look{}},
        LookCase{"mainframe", 90, 70, MainFrameLook()},
        LookCase{"mainframe_offset", 90, 70, MainFrameLook(-7, 4)},
        LookCase{"size_over_sharpness", 50, 44, MakeLook(12, 4, 200, 0, 0, 0x123456)},
        LookCase{"size_equals_sharpness", 50, 44, MakeLook(6, 6, 255, 2, -3, 0xFFFFFF)},
        LookCase{"hard_edge", 40, 30, MakeLook(3, 0, 90, -2, 1, 0x0000FF)},
        LookCase{"negative_size", 60, 50, MakeLook(-5, 3, 120, 4, 4, 0x00FF00)},
        LookCase{"negative_size_no_sharpness", 60, 50, MakeLook(-20, 0, 255, 20, -20, 0xFF0000)},
        LookCase{"largest_offsets", 64, 48, MakeLook(20, 20, 255, 20, 20, 0x808080)},
        LookCase{"smallest_offsets", 64, 48, MakeLook(20, 20, 255, -20, -20, 0x808080)},
        LookCase{"kernel_wider_than_parent", 8, 6, MakeLook(2, 20, 200, 0, 0, 0x404040)}),
    [](const ::testing::TestParamInfo<LookCase>& info) { return std::string(info.param.name); });

TEST(ShadowBitmap, SizeZeroAndSharpnessZeroFillTheOutlineDisplacedByTheOffsets)
{
    const CWndShadow::Look look = MakeLook(0, 0, 150, 5, 5, RGB(255, 0, 0));
    const Drawn drawn = DrawRect(40, 30, look);
    ASSERT_TRUE(drawn.made);
    ASSERT_EQ(40, drawn.width);
    ASSERT_EQ(30, drawn.height);
    // The parent sits 5 pixels up and left of the shadow: its area is clear, the rest is solid.
    for (int r = 0; r < 30; ++r)
        for (int c = 0; c < 40; ++c)
            ASSERT_EQ(r < 25 && c < 35 ? 0u : 0x96960000u, drawn.At(r, c)) << r << "," << c;
}

TEST(ShadowBitmap, NegativeSizeMakesTheBitmapSmallerThanTheParent)
{
    const CWndShadow::Look look = MakeLook(-4, 0, 255, 0, 0, 0);
    const Drawn drawn = DrawRect(30, 20, look);
    ASSERT_TRUE(drawn.made);
    EXPECT_EQ(22, drawn.width);
    EXPECT_EQ(12, drawn.height);
    EXPECT_TRUE(drawn.guardsIntact);
    // Without offsets the parent covers the whole smaller bitmap.
    for (std::uint32_t px : drawn.pixels)
        ASSERT_EQ(0u, px);
}

TEST(ShadowBitmap, WindowWithoutRegionCastsNoShadow)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const Drawn drawn = Draw(region, 50, 40, MainFrameLook(6, 6));
    DeleteObject(region);
    ASSERT_TRUE(drawn.made);
    for (std::uint32_t px : drawn.pixels)
        ASSERT_EQ(0u, px);
}

TEST(ShadowBitmap, SizeThatLeavesNoPixelsWritesNothing)
{
    // 2 x -20 takes away more than the parent's height (or all of its width).
    Drawn drawn = DrawRect(100, 30, MakeLook(-20, 5, 150, 0, 0, 0));
    EXPECT_FALSE(drawn.made);
    EXPECT_TRUE(drawn.guardsIntact);
    drawn = DrawRect(40, 100, MakeLook(-20, 5, 150, 0, 0, 0));
    EXPECT_FALSE(drawn.made);
    EXPECT_TRUE(drawn.guardsIntact);
}

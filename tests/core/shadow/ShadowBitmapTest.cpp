// Shadow bitmap: setter ranges, premultiplication, and the computed alpha profile around a
// rectangular or shaped host, with offsets and sharpness, read from the 32-bit DIB.
#include "window/ShadowUI.h"

#include <gtest/gtest.h>

#include "ManagedWindow.h"
#include "ShadowTestSupport.h"

using ZvUI::CPaintManagerUI;
using ZvUI::CShadowUI;

namespace {

// A hidden 100 x 50 host at (100, 80).
class ShadowBitmapTest : public ::testing::Test {
protected:
    ShadowBitmapTest() : m_host(m_pm, 100, 50) {}
    void Configure(int size, int sharpness, int darkness = 150)
    {
        m_shadow.SetShadowEnabled(true);
        ASSERT_TRUE(m_shadow.SetSize(size));
        ASSERT_TRUE(m_shadow.SetSharpness(static_cast<unsigned>(sharpness)));
        ASSERT_TRUE(m_shadow.SetDarkness(static_cast<unsigned>(darkness)));
    }

    CPaintManagerUI m_pm;
    ManagedWindow m_host;
    CShadowUI m_shadow;
};

} // namespace

TEST(ShadowSettings, OutOfRangeValuesAreRefusedAndKept)
{
    CPaintManagerUI pm;
    ManagedWindow host(pm, 100, 50);
    CShadowUI shadow;
    ASSERT_TRUE(shadow.SetSize(10));
    ASSERT_TRUE(shadow.SetPosition(2, 3));
    struct Row {
        const char* what;
        bool accepted;
        bool (*apply)(CShadowUI&);
    };
    const Row rows[] = {
        {"size 36", false, [](CShadowUI& s) { return s.SetSize(36); }},
        {"size -36", false, [](CShadowUI& s) { return s.SetSize(-36); }},
        {"sharpness 36", false, [](CShadowUI& s) { return s.SetSharpness(36); }},
        {"position 0,36", false, [](CShadowUI& s) { return s.SetPosition(0, 36); }},
        {"position -36,0", false, [](CShadowUI& s) { return s.SetPosition(-36, 0); }},
        {"corner -1", false, [](CShadowUI& s) { return s.SetCorner(-1, 0, 0, 0); }},
        {"darkness 256", false, [](CShadowUI& s) { return s.SetDarkness(256); }},
        {"image null", false, [](CShadowUI& s) { return s.SetImage(nullptr); }},
        {"darkness 255", true, [](CShadowUI& s) { return s.SetDarkness(255); }},
        {"colour", true, [](CShadowUI& s) { return s.SetColor(0x123456); }},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.apply(shadow), row.accepted) << row.what;
        RECT rcHost;
        ::GetWindowRect(host.Get(), &rcHost);
        const RECT rc = shadow.GetShadowRect(rcHost);
        EXPECT_EQ(rc.left, rcHost.left + 2 - 10) << row.what;
        EXPECT_EQ(rc.top, rcHost.top + 3 - 10) << row.what;
        EXPECT_EQ(rc.right - rc.left, 120) << row.what;
    }
}

TEST(ShadowSettings, PreMultiplyScalesTheThreeLowBytes)
{
    struct Row {
        DWORD color;
        BYTE alpha;
        DWORD expected;
    };
    const Row rows[] = {
        {0xFFFFFFFF, 255, 0x00FFFFFF}, {0x00FF8040, 128, 0x00804020},
        {0x00102030, 0, 0x00000000},   {0x000000FF, 1, 0x00000001},
        {0x00FFFFFF, 150, 0x00969696},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CShadowUI::PreMultiply(row.color, row.alpha), row.expected) << std::hex << row.color;
}

TEST_F(ShadowBitmapTest, DefaultsDrawNothing)
{
    m_shadow.SetShadowEnabled(true);
    ShadowBitmap bitmap(m_shadow, m_host.Get());
    EXPECT_FALSE(bitmap.Drawn()) << "size 0 and no image";
}

TEST_F(ShadowBitmapTest, RectangularHostProfile)
{
    Configure(10, 5);
    ShadowBitmap bitmap(m_shadow, m_host.Get());
    ASSERT_TRUE(bitmap.Drawn());
    ASSERT_EQ(bitmap.Width(), 120);
    ASSERT_EQ(bitmap.Height(), 70);
    for (int y = 10; y < 60; ++y)
        for (int x = 10; x < 110; ++x)
            ASSERT_EQ(bitmap.At(x, y), 0u) << "under the host at " << x << "," << y;
    // Outward from each side's middle: 5 solid pixels, then the integer part of the kernel's
    // fall-off (1 - k / 6) * 150, exact where it is a whole number (100, 50, 25) in every build.
    const int profile[10] = {150, 150, 150, 150, 150, 125, 100, 75, 50, 25};
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(bitmap.Alpha(9 - d, 35), profile[d]) << "left, distance " << d + 1;
        EXPECT_EQ(bitmap.Alpha(110 + d, 35), profile[d]) << "right, distance " << d + 1;
        EXPECT_EQ(bitmap.Alpha(60, 9 - d), profile[d]) << "top, distance " << d + 1;
        EXPECT_EQ(bitmap.Alpha(60, 60 + d), profile[d]) << "bottom, distance " << d + 1;
    }
    // Black shadow: premultiplied colour stays 0.
    EXPECT_EQ(bitmap.At(5, 35), 0x96000000u);
    EXPECT_EQ(bitmap.Alpha(0, 0), 0) << "the far corner lies beyond the kernel";
}

TEST_F(ShadowBitmapTest, ColourIsPremultiplied)
{
    Configure(10, 5);
    m_shadow.SetColor(0x00FF0000);
    ShadowBitmap bitmap(m_shadow, m_host.Get());
    EXPECT_EQ(bitmap.At(5, 35), 0x96960000u);
    EXPECT_EQ(bitmap.At(0, 35), 0x19190000u) << "alpha 25, red 255 * 25 / 255";
}

TEST_F(ShadowBitmapTest, DarknessScalesTheProfile)
{
    Configure(10, 5, 255);
    ShadowBitmap bitmap(m_shadow, m_host.Get());
    EXPECT_EQ(bitmap.Alpha(5, 35), 255);
    EXPECT_EQ(bitmap.Alpha(0, 35), 42) << "(1 - 5 / 6) * 255";
}

TEST_F(ShadowBitmapTest, OffsetMovesTheHoleAgainstTheWindow)
{
    Configure(10, 5);
    ASSERT_TRUE(m_shadow.SetPosition(3, 4));
    RECT rcHost;
    ::GetWindowRect(m_host.Get(), &rcHost);
    const RECT rc = m_shadow.GetShadowRect(rcHost);
    EXPECT_EQ(rc.left, rcHost.left - 7);
    EXPECT_EQ(rc.top, rcHost.top - 6);
    ShadowBitmap bitmap(m_shadow, m_host.Get());
    // The host covers shadow pixels [7, 107) x [6, 56).
    for (int y = 6; y < 56; ++y)
        for (int x = 7; x < 107; ++x)
            ASSERT_EQ(bitmap.At(x, y), 0u) << x << "," << y;
    EXPECT_EQ(bitmap.Alpha(107, 30), 150) << "just right of the host";
    EXPECT_EQ(bitmap.Alpha(60, 56), 150) << "just below the host";
    EXPECT_GT(bitmap.Alpha(6, 30), 0) << "the left edge shows a thinner band";
}

TEST_F(ShadowBitmapTest, SharpnessAboveSizeStartsInsideTheHost)
{
    Configure(3, 8);
    ShadowBitmap bitmap(m_shadow, m_host.Get());
    ASSERT_EQ(bitmap.Width(), 106);
    // Eroded 5 pixels, kernel radius 8: at distance d from column 8 alpha is the integer part of
    // (1 - d / 9) * 150.
    EXPECT_EQ(bitmap.Alpha(0, 25), 16);
    EXPECT_EQ(bitmap.Alpha(1, 25), 33);
    EXPECT_EQ(bitmap.Alpha(2, 25), 50) << "6 / 9 of 150 is exactly 50";
    EXPECT_EQ(bitmap.Alpha(3, 25), 0) << "under the host";
}

TEST_F(ShadowBitmapTest, NegativeSizeStaysInsideTheBitmap)
{
    Configure(-5, 5);
    ShadowBitmap bitmap(m_shadow, m_host.Get());
    ASSERT_TRUE(bitmap.Drawn());
    EXPECT_EQ(bitmap.Width(), 90);
    EXPECT_EQ(bitmap.Height(), 40);
    // The host covers the whole bitmap.
    for (DWORD p : bitmap.Pixels())
        ASSERT_EQ(p, 0u);
}

TEST_F(ShadowBitmapTest, WindowRegionShapesTheShadow)
{
    Configure(10, 5);
    {
        ShadowBitmap plain(m_shadow, m_host.Get());
        EXPECT_EQ(plain.At(25, 25), 0u) << "under the rectangular host";
    }
    // A 20 x 20 notch cut out of the top-left corner.
    HRGN shape = ::CreateRectRgn(0, 0, 100, 50);
    HRGN notch = ::CreateRectRgn(0, 0, 20, 20);
    ::CombineRgn(shape, shape, notch, RGN_DIFF);
    ::DeleteObject(notch);
    ASSERT_NE(::SetWindowRgn(m_host.Get(), shape, FALSE), 0);  // the window takes the region
    ShadowBitmap shaped(m_shadow, m_host.Get());
    EXPECT_EQ(shaped.Alpha(25, 25), 150) << "the notch's inner corner casts a shadow";
    EXPECT_EQ(shaped.At(35, 35), 0u) << "still under the host";
    EXPECT_EQ(shaped.Alpha(5, 35), 150) << "the left side below the notch";
    ::SetWindowRgn(m_host.Get(), nullptr, FALSE);
}

TEST_F(ShadowBitmapTest, CopySettingsToTakesTheComputedLook)
{
    Configure(8, 3, 200);
    m_shadow.SetColor(0x00204080);
    ASSERT_TRUE(m_shadow.SetPosition(-2, 5));
    CShadowUI copy;
    ASSERT_TRUE(copy.SetImage(L"left.png"));
    ASSERT_TRUE(m_shadow.CopySettingsTo(&copy));
    EXPECT_TRUE(copy.IsShadowEnabled());
    ShadowBitmap original(m_shadow, m_host.Get());
    // Image mode stays on in the copy; a fresh copy in computed mode matches pixel for pixel.
    CShadowUI fresh;
    ASSERT_TRUE(m_shadow.CopySettingsTo(&fresh));
    ShadowBitmap copied(fresh, m_host.Get());
    ASSERT_TRUE(copied.Drawn());
    EXPECT_EQ(original.Pixels(), copied.Pixels());
    RECT rcHost;
    ::GetWindowRect(m_host.Get(), &rcHost);
    EXPECT_EQ(fresh.GetShadowRect(rcHost).left, m_shadow.GetShadowRect(rcHost).left);
    EXPECT_EQ(copy.GetShadowRect(rcHost).left, rcHost.left - 8) << "image mode ignores the copied offsets";
}

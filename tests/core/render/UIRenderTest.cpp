// Colour fills, gradients, outlines and the AlphaBlend stand-in, painted into 32-bit DIBs.

#include "render/UIRender.h"

#include "RenderCanvas.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <set>
#include <vector>

using ZvUI::CUIRender;

namespace {

// GDI+ runs for the whole binary, as the paint manager keeps it for the process; msimg32 is loaded
// as the paint manager's constructor does.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ::LoadLibraryW(L"msimg32.dll");
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

void ExpectNear(DWORD expected, DWORD actual, int tolerance)
{
    for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(Channel(expected, shift), Channel(actual, shift), tolerance)
            << std::hex << "expected " << expected << " actual " << actual;
    }
}

// Counts pixels of one colour in a region.
int CountColor(const RenderCanvas& canvas, const RECT& rc, DWORD rgb)
{
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            count += canvas.Rgb(x, y) == rgb ? 1 : 0;
        }
    }
    return count;
}

} // namespace

// --- bitmaps ---

TEST(RenderBitmap, NegativeHeightGivesATopDown32BitSection)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP bitmap = CUIRender::CreateARGB32Bitmap(dc, 7, -3, &bits);
    ASSERT_NE(nullptr, bitmap);
    ASSERT_NE(nullptr, bits);
    DIBSECTION dib = {};
    ASSERT_EQ(static_cast<int>(sizeof(dib)), ::GetObjectW(bitmap, sizeof(dib), &dib));
    EXPECT_EQ(7, dib.dsBmih.biWidth);
    EXPECT_EQ(32, dib.dsBmih.biBitCount);

    // Top-down: row 0 is the first row in memory.
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SetPixelV(dc, 2, 0, RGB(1, 2, 3));
    ::GdiFlush();
    EXPECT_EQ(0x010203u, reinterpret_cast<DWORD*>(bits)[2] & 0x00FFFFFF);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

// --- solid fills ---

TEST(RenderColor, OpaqueFillCoversExactlyTheRectangle)
{
    RenderCanvas canvas(20, 20);
    CUIRender::DrawColor(canvas.DC(), RECT{3, 4, 13, 9}, 0xFF2C7CCA);
    EXPECT_EQ(50, CountColor(canvas, RECT{3, 4, 13, 9}, 0x2C7CCA));
    EXPECT_EQ(350, CountColor(canvas, RECT{0, 0, 20, 20}, 0xFFFFFF));
}

TEST(RenderColor, ZeroAlphaDrawsNothingAndLowAlphaBlends)
{
    RenderCanvas canvas(4, 4);
    CUIRender::DrawColor(canvas.DC(), RECT{0, 0, 4, 4}, 0x00FFFFFF);
    CUIRender::DrawColor(canvas.DC(), RECT{0, 0, 4, 4}, 0x00000000);
    EXPECT_EQ(16, CountColor(canvas, RECT{0, 0, 4, 4}, 0xFFFFFF));

    CUIRender::DrawColor(canvas.DC(), RECT{0, 0, 2, 2}, 0x01000000);
    ExpectNear(0xFEFEFE, canvas.Rgb(0, 0), 1);
    EXPECT_NE(0xFFFFFFu, canvas.Rgb(0, 0));

    CUIRender::DrawColor(canvas.DC(), RECT{2, 2, 4, 4}, 0x80FF0000);
    ExpectNear(0xFF7F7F, canvas.Rgb(3, 3), 1);
}

// --- gradients ---

TEST(RenderGradient, OpaqueEndsCarryTheTwoColours)
{
    struct Row { bool vertical; DWORD first; DWORD second; };
    const Row rows[] = {
        {false, 0xFF000000, 0xFFFFFFFF},
        {false, 0xFFFF0000, 0xFF0000FF},
        {true, 0xFF00FF00, 0xFF000000},
        {true, 0xFF102030, 0xFFF0E0D0},
    };
    for (const Row& row : rows) {
        RenderCanvas canvas(64, 64, 0x00808080);
        const RECT rc = {0, 0, 64, 64};
        CUIRender::DrawGradient(canvas.DC(), rc, row.first, row.second, row.vertical, 64);
        const DWORD start = canvas.Rgb(0, 0);
        const DWORD end = row.vertical ? canvas.Rgb(0, 63) : canvas.Rgb(63, 0);
        SCOPED_TRACE(row.vertical ? "vertical" : "horizontal");
        EXPECT_EQ(row.first & 0x00FFFFFF, start);
        // The far edge is one step short of the second colour at most.
        ExpectNear(row.second & 0x00FFFFFF, end, 5);
        // Constant across the gradient's direction.
        EXPECT_EQ(canvas.Rgb(10, 10), row.vertical ? canvas.Rgb(50, 10) : canvas.Rgb(10, 50));
    }
}

TEST(RenderGradient, StaysInsideItsRectangle)
{
    RenderCanvas canvas(30, 30);
    CUIRender::DrawGradient(canvas.DC(), RECT{5, 6, 25, 16}, 0xFF000000, 0xFF0000FF, false, 64);
    EXPECT_EQ(0u, canvas.Rgb(5, 6));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(4, 6));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(25, 10));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(10, 16));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(10, 5));
}

TEST(RenderGradient, AlphaAveragingToZeroDrawsNothing)
{
    RenderCanvas canvas(8, 8);
    CUIRender::DrawGradient(canvas.DC(), RECT{0, 0, 8, 8}, 0x01000000, 0x00FFFFFF, false, 64);
    EXPECT_EQ(64, CountColor(canvas, RECT{0, 0, 8, 8}, 0xFFFFFF));
}

TEST(RenderGradient, TranslucentGradientBlendsAtTheMeanAlpha)
{
    RenderCanvas canvas(16, 16);
    // Mean alpha (0x80 + 0x81) / 2 = 0x80: black over white lands half-way.
    CUIRender::DrawGradient(canvas.DC(), RECT{0, 0, 16, 16}, 0x80000000, 0x81000000, true, 64);
    ExpectNear(0x7F7F7F, canvas.Rgb(0, 0), 1);
    ExpectNear(0x7F7F7F, canvas.Rgb(15, 15), 1);

    // 255 and 254 average to 254: through the bitmap, not straight onto the DC.
    RenderCanvas white(16, 16);
    CUIRender::DrawGradient(white.DC(), RECT{0, 0, 16, 16}, 0xFF000000, 0xFE000000, true, 64);
    ExpectNear(0x010101, white.Rgb(8, 8), 1);
}

// --- outlines ---

TEST(RenderOutline, OnePixelRectangleLiesOnTheEdgePixels)
{
    RenderCanvas canvas(20, 20);
    const RECT rc = {2, 3, 12, 10};
    CUIRender::DrawRect(canvas.DC(), rc, 1, 0xFF0000FF);
    for (int x = rc.left; x < rc.right; ++x) {
        EXPECT_EQ(0x0000FFu, canvas.Rgb(x, rc.top)) << x;
        EXPECT_EQ(0x0000FFu, canvas.Rgb(x, rc.bottom - 1)) << x;
    }
    for (int y = rc.top; y < rc.bottom; ++y) {
        EXPECT_EQ(0x0000FFu, canvas.Rgb(rc.left, y)) << y;
        EXPECT_EQ(0x0000FFu, canvas.Rgb(rc.right - 1, y)) << y;
    }
    // Nothing inside, nothing outside: 2 * 10 + 2 * 5 border pixels.
    EXPECT_EQ(30, CountColor(canvas, RECT{0, 0, 20, 20}, 0x0000FF));
}

// A thicker outline (a scaled one-pixel border) is drawn by an inset pen: all of it inside the
// item's rectangle, as deep as the size, on every side alike.
TEST(RenderOutline, ThickSolidOutlineFillsTheOuterBandOfTheRectangle)
{
    for (int size : {2, 3}) {
        SCOPED_TRACE(size);
        RenderCanvas canvas(24, 24);
        const RECT rc = {4, 5, 18, 16};
        CUIRender::DrawRect(canvas.DC(), rc, size, 0xFF0000FF);
        const RECT inner = {rc.left + size, rc.top + size, rc.right - size, rc.bottom - size};
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                const POINT p = {x, y};
                const bool band = ::PtInRect(&rc, p) && !::PtInRect(&inner, p);
                EXPECT_EQ(band ? 0x0000FFu : 0xFFFFFFu, canvas.Rgb(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(RenderOutline, LineRunsBetweenTheCorners)
{
    RenderCanvas canvas(30, 10);
    CUIRender::DrawLine(canvas.DC(), RECT{2, 5, 20, 5}, 1, 0xFFFF0000);
    for (int x = 3; x < 19; ++x) {
        EXPECT_EQ(0xFF0000u, canvas.Rgb(x, 5)) << x;
    }
    EXPECT_EQ(0, CountColor(canvas, RECT{0, 0, 30, 4}, 0xFF0000));
    EXPECT_EQ(0, CountColor(canvas, RECT{0, 7, 30, 10}, 0xFF0000));
    EXPECT_EQ(0, CountColor(canvas, RECT{22, 0, 30, 10}, 0xFF0000));
}

TEST(RenderOutline, RoundRectUsesOnlyTheCornerWidth)
{
    RenderCanvas a(30, 30);
    RenderCanvas b(30, 30);
    const RECT rc = {2, 2, 28, 28};
    CUIRender::DrawRoundRect(a.DC(), rc, 1, 8, 2, 0xFF000000);
    CUIRender::DrawRoundRect(b.DC(), rc, 1, 8, 20, 0xFF000000);
    int drawn = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            ASSERT_EQ(a.Rgb(x, y), b.Rgb(x, y)) << x << "," << y;
            drawn += a.Rgb(x, y) != 0xFFFFFF ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 80);
    // The corner pixel is cut away; the middle of each edge is drawn.
    EXPECT_EQ(0xFFFFFFu, a.Rgb(2, 2));
    EXPECT_NE(0xFFFFFFu, a.Rgb(15, 2));
    EXPECT_NE(0xFFFFFFu, a.Rgb(2, 15));
    EXPECT_EQ(0xFFFFFFu, a.Rgb(15, 15));
}

TEST(RenderOutline, DashedRectLeavesGapsOnTheEdge)
{
    RenderCanvas canvas(40, 20);
    {
        Gdiplus::Graphics graphics(canvas.DC());
        ZvUI::UIPenStyle style;
        style.dashStyle = Gdiplus::DashStyleCustom;
        style.dashLengths[0] = 3.0f;
        style.dashLengths[1] = 3.0f;
        CUIRender::DrawDashedRect(graphics, RECT{0, 0, 40, 20}, 1, 0xFF000000, style);
    }
    const int drawn = CountColor(canvas, RECT{0, 0, 40, 1}, 0x000000);
    EXPECT_GT(drawn, 10);
    EXPECT_LT(drawn, 30);
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(20, 10));
}

// --- colour arithmetic ---

// A DIB section takes opaque fills and one-pixel outlines straight into its pixels; a device
// bitmap goes through GDI+. Both must come out the same, clip regions and edges included.
class DeviceCanvas {
public:
    DeviceCanvas(int width, int height) : m_width(width), m_height(height)
    {
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, width, height};
        ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    DeviceCanvas(const DeviceCanvas&) = delete;
    DeviceCanvas& operator=(const DeviceCanvas&) = delete;
    ~DeviceCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC DC() const { return m_dc; }
    std::vector<DWORD> Rgb() const
    {
        std::vector<DWORD> px(static_cast<size_t>(m_width) * m_height);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = m_width;
        bmi.bmiHeader.biHeight = -m_height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        ::SelectObject(m_dc, m_old);
        ::GetDIBits(m_dc, m_bitmap, 0, m_height, px.data(), &bmi, DIB_RGB_COLORS);
        ::SelectObject(m_dc, m_bitmap);
        for (DWORD& p : px)
            p &= 0x00FFFFFF;
        return px;
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

TEST(RenderColor, DibFillsAndOutlinesMatchTheGdiplusOnes)
{
    constexpr int kW = 24;
    constexpr int kH = 20;
    const RECT shapes[] = {{2, 3, 15, 11}, {-4, -2, 6, 5}, {18, 14, 30, 26}, {5, 5, 7, 7}, {9, 1, 9, 8}};
    for (bool clipped : {false, true}) {
        for (bool outline : {false, true}) {
            SCOPED_TRACE(testing::Message() << (clipped ? "clipped " : "") << (outline ? "outline" : "fill"));
            RenderCanvas dib(kW, kH, 0xFFFFFFFF);
            DeviceCanvas ddb(kW, kH);
            for (HDC dc : {dib.DC(), ddb.DC()}) {
                if (clipped) {
                    // Two separate bands: a region of more than one rectangle.
                    HRGN a = ::CreateRectRgn(0, 0, kW, 6);
                    HRGN b = ::CreateRectRgn(4, 9, 20, 16);
                    ::CombineRgn(a, a, b, RGN_OR);
                    ::SelectClipRgn(dc, a);
                    ::DeleteObject(a);
                    ::DeleteObject(b);
                }
                for (const RECT& rc : shapes) {
                    if (outline)
                        CUIRender::DrawRect(dc, rc, 1, 0xFF3366CC);
                    else
                        CUIRender::DrawColor(dc, rc, 0xFF3366CC);
                }
                ::SelectClipRgn(dc, nullptr);
            }
            const std::vector<DWORD> expected = ddb.Rgb();
            int differing = 0;
            for (int y = 0; y < kH; ++y) {
                for (int x = 0; x < kW; ++x)
                    differing += dib.Rgb(x, y) != expected[static_cast<size_t>(y) * kW + x] ? 1 : 0;
            }
            EXPECT_EQ(differing, 0);
            // What was drawn is opaque, as GDI+ leaves it; the rest keeps its alpha.
            EXPECT_EQ(dib.Raw(outline ? 5 : 6, outline ? 3 : 4), 0xFF3366CCu);
            EXPECT_EQ(dib.Raw(0, 19), 0xFFFFFFFFu);
        }
    }
}

TEST(RenderColorMath, AvoidPureBlackTouchesOnlyBlack)
{
    struct Row { DWORD in; DWORD out; };
    const Row rows[] = {{0xFF000000, 0xFF000001}, {0x00000000, 0x00000001}, {0xFF010000, 0xFF010000},
                        {0x80000100, 0x80000100}, {0xFFFFFFFF, 0xFFFFFFFF}};
    for (const Row& row : rows) {
        DWORD color = row.in;
        EXPECT_EQ(row.out, CUIRender::AvoidPureBlack(color));
        EXPECT_EQ(row.out, color);
    }
}

TEST(RenderColorMath, MixColorsTruncatesEachChannelAndDropsAlpha)
{
    struct Row { DWORD a; double fa; DWORD b; double fb; DWORD out; };
    const Row rows[] = {
        {0xFF102030, 0.5, 0xFF203040, 0.5, 0x00182838},
        {0xFFFFFFFF, 1.0, 0xFF000000, 0.0, 0x00FFFFFF},
        {0xFFFFFFFF, 0.999, 0xFF000000, 0.0, 0x00FEFEFE},
        {0x00FF0000, 0.25, 0x000000FF, 0.75, 0x003F00BF},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.out, CUIRender::MixColors(row.a, row.fa, row.b, row.fb));
    }
}

// --- AlphaBlend stand-in ---

TEST(RenderAlphaBlend, GetAlphaBlendGivesMsimg32sOwnWhenLoaded)
{
    HMODULE module = ::GetModuleHandleW(L"msimg32.dll");
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(module, "AlphaBlend")),
              reinterpret_cast<void*>(CUIRender::GetAlphaBlend()));
}

TEST(RenderAlphaBlend, FallbackBlendsStraightAlphaWithTheConstant)
{
    struct Row { DWORD src; BYTE constant; DWORD dst; DWORD out; };
    // f = src alpha * constant / 255 / 255; each channel int(src * f + dst * (1 - f)).
    // Values chosen away from whole numbers, so extended-precision arithmetic truncates alike.
    const Row rows[] = {
        {0xFFFF0000, 255, 0x000000FF, 0xFF0000},
        {0x00FF0000, 255, 0x000000FF, 0x0000FF},
        {0x80FF0000, 128, 0x000000FF, 0x4000BE},
        {0x80000000, 128, 0x00FFFFFF, 0xBEBEBE},
        {0xC0FFFFFF, 200, 0x00000000, 0x969696},
    };
    for (const Row& row : rows) {
        RenderCanvas src(4, 4, row.src);
        RenderCanvas dst(8, 8, row.dst);
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, row.constant, AC_SRC_ALPHA};
        ASSERT_TRUE(CUIRender::AlphaBlendFallback(dst.DC(), 2, 2, 4, 4, src.DC(), 0, 0, 4, 4, blend));
        EXPECT_EQ(row.out, dst.Rgb(2, 2)) << std::hex << row.src;
        EXPECT_EQ(row.out, dst.Rgb(5, 5)) << std::hex << row.src;
        EXPECT_EQ(row.dst & 0x00FFFFFF, dst.Rgb(1, 1));
        EXPECT_EQ(row.dst & 0x00FFFFFF, dst.Rgb(6, 6));
    }
}

TEST(RenderAlphaBlend, FallbackStretchesTheSource)
{
    RenderCanvas src(2, 2, 0xFF000000);
    src.Set(1, 1, 0xFFFFFFFF);
    RenderCanvas dst(4, 4, 0x00808080);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(CUIRender::AlphaBlendFallback(dst.DC(), 0, 0, 4, 4, src.DC(), 0, 0, 2, 2, blend));
    EXPECT_EQ(0x000000u, dst.Rgb(0, 0));
    EXPECT_EQ(0x000000u, dst.Rgb(1, 1));
    EXPECT_EQ(0xFFFFFFu, dst.Rgb(2, 2));
    EXPECT_EQ(0xFFFFFFu, dst.Rgb(3, 3));
}

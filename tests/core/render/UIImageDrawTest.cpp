// Image descriptors (parsing, DPI scaling, the resolution-specific file, the draw-info cache) and
// the nine-slice blit, checked pixel by pixel in memory DIBs.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "RenderCanvas.h"
#include "control/ControlUI.h"
#include "manager/DpiHelper.h"
#include "render/UIDrawInfo.h"

using namespace ZvUI;

namespace {

// grid.png: pixel (x, y) is (x*6, y*6, 100), opaque.
DWORD Grid(int x, int y)
{
    return static_cast<DWORD>((x * 6) << 16 | (y * 6) << 8 | 100);
}

// tile.png: 4 x 3, pixel (x, y) is (x*60, y*80, 7).
DWORD Tile(int x, int y)
{
    return static_cast<DWORD>((x * 60) << 16 | (y * 80) << 8 | 7);
}

constexpr DWORD kWhite = 0x00FFFFFF;

bool Near(DWORD a, DWORD b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

class ImageDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        UseFolder(GeneratedImages());
        CPaintManagerUI::SetGlobalDpi(96);
        m_manager = new CPaintManagerUI();
    }
    void TearDown() override
    {
        delete m_manager;
        CPaintManagerUI::SetGlobalDpi(96);
        UseFolder(L"");
        Gdiplus::GdiplusShutdown(m_token);
    }

    bool Draw(RenderCanvas& canvas, const RECT& item, LPCWSTR descriptor, LPCWSTR modify = nullptr)
    {
        const RECT paint = {0, 0, canvas.Width(), canvas.Height()};
        return CUIRender::DrawImageString(canvas.DC(), m_manager, item, paint, descriptor, modify);
    }

    CPaintManagerUI* m_manager = nullptr;

private:
    ULONG_PTR m_token = 0;
};

struct ParseRow {
    const wchar_t* descriptor;
    const wchar_t* modify;
    const wchar_t* name;
    int fade;
    RECT corner;
    DWORD mask;
    bool hole;
};

const ParseRow kParseRows[] = {
    {L"file='a.png' fade='128'", L"fade='255'", L"a.png", 255, {0, 0, 0, 0}, 0, false},
    {L"file='a.png' fade='128'", L"fade='300'", L"a.png", 44, {0, 0, 0, 0}, 0, false},
    {L"file='a.png'fade='128'", nullptr, L"a.png", 255, {0, 0, 0, 0}, 0, false},
    {L"file=a.png", nullptr, L"file=a.png", 255, {0, 0, 0, 0}, 0, false},
    {L"Install uninstall\\table_bg_install_01.png", nullptr, L"Install uninstall\\table_bg_install_01.png", 255,
     {0, 0, 0, 0}, 0, false},
    {L"file='btn_return.png' corner='20,0,1,0'", nullptr, L"btn_return.png", 255, {20, 0, 1, 0}, 0, false},
    {L"res='7' corner='4,5' mask='#FFFF00FF' hole='TRUE'", nullptr, L"7", 255, {4, 5, 0, 0}, 0xFFFF00FF, true},
    {L"  file  =  'b.png' File='c.png' mask='ff00ff'", nullptr, L"b.png", 255, {0, 0, 0, 0}, 0xFF00FF, false},
    {L"file='a.png' fade=''", L"file='b.png' hole='yes'", L"b.png", 255, {0, 0, 0, 0}, 0, false},
    {L"file='a.png' corner='1,2,3,4", nullptr, L"a.png", 255, {0, 0, 0, 0}, 0, false},
};

} // namespace

TEST(DrawInfoParse, TableOfDescriptors)
{
    for (const ParseRow& row : kParseRows) {
        UIDrawInfo info;
        info.Parse(row.descriptor, row.modify, nullptr);
        EXPECT_STREQ(info.imageName.GetData(), row.name) << row.descriptor;
        EXPECT_EQ(info.fade, row.fade) << row.descriptor;
        EXPECT_TRUE(::EqualRect(&info.corner, &row.corner)) << row.descriptor;
        EXPECT_EQ(info.mask, row.mask) << row.descriptor;
        EXPECT_EQ(info.hole, row.hole) << row.descriptor;
        EXPECT_EQ(info.imageFactor, 1.0);
    }
}

TEST(DrawInfoParse, AllKeysWithoutManagerStayUnscaled)
{
    UIDrawInfo info;
    info.Parse(L"file='x.png' restype='PNG' dest='1,2,3,4' source='5,6,7,8' xtiled='true' ytiled='True' "
               L"hsl='true' size='16,12' align='right bottom' padding='1,2,3,4'",
               nullptr, nullptr);
    EXPECT_STREQ(info.resourceType.GetData(), L"PNG");
    EXPECT_EQ(info.dest.right, 3);
    EXPECT_EQ(info.source.bottom, 8);
    EXPECT_TRUE(info.xtiled);
    EXPECT_TRUE(info.ytiled);
    EXPECT_TRUE(info.hsl);
    EXPECT_EQ(info.size.cx, 16);
    EXPECT_EQ(info.size.cy, 12);
    EXPECT_STREQ(info.align.GetData(), L"right bottom");
    EXPECT_EQ(info.padding.bottom, 4);
}

TEST_F(ImageDraw, ManagerScalesRectanglesButNotSize)
{
    m_manager->GetDpiHelper()->SetScale(144);
    UIDrawInfo info;
    info.Parse(L"file='none.png' dest='10,5,30,25' corner='20,0,1,0' size='16,16'", nullptr, m_manager);
    // Origin and extent scale apart: 5 -> 8 (7.5 rounded), height 20 -> 30.
    EXPECT_EQ(info.dest.left, 15);
    EXPECT_EQ(info.dest.top, 8);
    EXPECT_EQ(info.dest.right, 45);
    EXPECT_EQ(info.dest.bottom, 38);
    // Corners scale as a rectangle too: right = 30 + Scale(1 - 20) = 30 - 29.
    EXPECT_EQ(info.corner.left, 30);
    EXPECT_EQ(info.corner.right, 1);
    EXPECT_EQ(info.size.cx, 16);
}

namespace {

struct VariantRow {
    int dpi;
    const wchar_t* name;
    const wchar_t* found;
    double factor;
};

// btn has @1.5x and @2x; only has @1.25x alone.
const VariantRow kVariantRows[] = {
    {96, L"btn.png", L"btn.png", 1.0},           {144, L"btn.png", L"btn@1.5x.png", 1.5},
    {192, L"btn.png", L"btn@2x.png", 2.0},       {168, L"btn.png", L"btn@1.5x.png", 1.5},
    {120, L"btn.png", L"btn.png", 1.0},          {192, L"only.png", L"only@1.25x.png", 1.25},
    {144, L"only.png", L"only@1.25x.png", 1.25}, {72, L"btn.png", L"btn.png", 1.0},
    {144, L"missing.png", L"missing.png", 1.0},
};

} // namespace

TEST_F(ImageDraw, ResolutionSpecificFileSearch)
{
    for (const VariantRow& row : kVariantRows) {
        m_manager->GetDpiHelper()->SetScale(row.dpi);
        UIDrawInfo info;
        info.Parse(CUIString(L"file='") + row.name + L"'", nullptr, m_manager);
        EXPECT_STREQ(info.imageName.GetData(), row.found) << row.dpi << " " << row.name;
        EXPECT_EQ(info.imageFactor, row.factor) << row.dpi << " " << row.name;
        // Finding the file reads headers only: nothing is decoded until it is drawn.
        EXPECT_EQ(m_manager->FindImage(row.found), nullptr) << row.dpi << " " << row.name;
        EXPECT_EQ(m_manager->FindImage(L"btn@1.25x.png"), nullptr);
    }
}

TEST_F(ImageDraw, DrawInfoCacheJoinsBothStrings)
{
    const UIDrawInfo* joined = m_manager->GetCachedDrawInfo(L"ab", L"");
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(m_manager->GetCachedDrawInfo(L"a", L"b"), joined);
    EXPECT_EQ(m_manager->GetCachedDrawInfo(L"ab", nullptr), joined);
    EXPECT_EQ(m_manager->GetCachedDrawInfo(L"", nullptr), nullptr);
    EXPECT_EQ(m_manager->GetCachedDrawInfo(nullptr, nullptr), nullptr);
    m_manager->ClearDrawInfoCache();
    const UIDrawInfo* again = m_manager->GetCachedDrawInfo(L"a", L"b");
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again->imageName.GetData(), L"a");
}

TEST_F(ImageDraw, OneToOneCopyAndMissingImage)
{
    RenderCanvas canvas(50, 50, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{5, 5, 45, 45}, L"grid.png"));
    for (int y = 0; y < 40; y += 3) {
        for (int x = 0; x < 40; x += 3)
            ASSERT_EQ(canvas.Rgb(5 + x, 5 + y), Grid(x, y)) << x << "," << y;
    }
    EXPECT_EQ(canvas.Rgb(4, 4), kWhite);
    EXPECT_EQ(canvas.Rgb(45, 45), kWhite);
    EXPECT_FALSE(Draw(canvas, RECT{0, 0, 10, 10}, L"missing.png"));
    EXPECT_FALSE(Draw(canvas, RECT{0, 0, 10, 10}, L""));
}

TEST_F(ImageDraw, DestIsRelativeToTheItemAndClippedByPaint)
{
    RenderCanvas canvas(200, 100, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{100, 50, 180, 100}, L"file='grid.png' dest='10,5,30,25' source='0,0,20,20'"));
    EXPECT_EQ(canvas.Rgb(110, 55), Grid(0, 0));
    EXPECT_EQ(canvas.Rgb(129, 74), Grid(19, 19));
    EXPECT_EQ(canvas.Rgb(109, 55), kWhite);
    EXPECT_EQ(canvas.Rgb(130, 75), kWhite);

    // Only the part inside the paint rectangle is copied.
    RenderCanvas partial(50, 50, kWhite);
    const RECT paint = {0, 0, 20, 50};
    EXPECT_TRUE(CUIRender::DrawImageString(partial.DC(), m_manager, RECT{0, 0, 40, 40}, paint, L"grid.png"));
    EXPECT_EQ(partial.Rgb(19, 10), Grid(19, 10));
    EXPECT_EQ(partial.Rgb(20, 10), kWhite);
}

TEST_F(ImageDraw, NineSliceKeepsCornersAndStretchesTheMiddle)
{
    // corner 20,0,1,0 on a 40-pixel-wide image drawn 80 wide: columns 0..19 and 39 keep their size.
    RenderCanvas canvas(80, 40, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{0, 0, 80, 40}, L"file='grid.png' corner='20,0,1,0'"));
    for (int y = 0; y < 40; y += 7) {
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(canvas.Rgb(x, y), Grid(x, y)) << x << "," << y;
        EXPECT_EQ(canvas.Rgb(79, y), Grid(39, y));
        // The middle stretches columns 20..38 over 20..78.
        const DWORD mid = canvas.Rgb(49, y);
        EXPECT_TRUE(Near(mid, Grid(29, y), 12)) << std::hex << mid;
    }
}

TEST_F(ImageDraw, HoleLeavesTheCentreAndOverlappingCornersStayWhole)
{
    RenderCanvas canvas(40, 40, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{0, 0, 40, 40}, L"file='grid.png' corner='4,4,4,4' hole='true'"));
    EXPECT_EQ(canvas.Rgb(0, 0), Grid(0, 0));
    EXPECT_EQ(canvas.Rgb(20, 2), Grid(20, 2));
    EXPECT_EQ(canvas.Rgb(39, 39), Grid(39, 39));
    EXPECT_EQ(canvas.Rgb(2, 20), Grid(2, 20));
    EXPECT_EQ(canvas.Rgb(4, 4), kWhite);
    EXPECT_EQ(canvas.Rgb(35, 35), kWhite);

    // corner 8,8,8,8 on 10 x 10: four 8 x 8 corner pieces overlap, no centre or edges.
    RenderCanvas small(10, 10, kWhite);
    EXPECT_TRUE(Draw(small, RECT{0, 0, 10, 10}, L"file='grid.png' corner='8,8,8,8'"));
    EXPECT_EQ(small.Rgb(0, 0), Grid(0, 0));
    EXPECT_EQ(small.Rgb(9, 0), Grid(39, 0));
    EXPECT_EQ(small.Rgb(0, 9), Grid(0, 39));
    // The bottom-right piece comes last and covers the overlap.
    EXPECT_EQ(small.Rgb(5, 5), Grid(35, 35));
    EXPECT_EQ(small.Rgb(9, 9), Grid(39, 39));
}

TEST_F(ImageDraw, TilingRepeatsAndCutsTheLastTiles)
{
    RenderCanvas both(10, 7, kWhite);
    EXPECT_TRUE(Draw(both, RECT{0, 0, 10, 7}, L"file='tile.png' xtiled='true' ytiled='true'"));
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(both.Rgb(x, y), Tile(x % 4, y % 3)) << x << "," << y;
    }
    RenderCanvas across(10, 3, kWhite);
    EXPECT_TRUE(Draw(across, RECT{0, 0, 10, 3}, L"file='tile.png' xtiled='true'"));
    for (int x = 0; x < 10; ++x)
        ASSERT_EQ(across.Rgb(x, 2), Tile(x % 4, 2)) << x;
    RenderCanvas down(4, 8, kWhite);
    EXPECT_TRUE(Draw(down, RECT{0, 0, 4, 8}, L"file='tile.png' ytiled='true'"));
    for (int y = 0; y < 8; ++y)
        ASSERT_EQ(down.Rgb(3, y), Tile(3, y % 3)) << y;
    // A tiled border image: corners fixed, tiles of the inner part.
    RenderCanvas framed(12, 3, kWhite);
    EXPECT_TRUE(Draw(framed, RECT{0, 0, 12, 3}, L"file='tile.png' corner='1,0,1,0' xtiled='true'"));
    EXPECT_EQ(framed.Rgb(0, 1), Tile(0, 1));
    EXPECT_EQ(framed.Rgb(11, 1), Tile(3, 1));
    EXPECT_EQ(framed.Rgb(1, 1), Tile(1, 1));
    EXPECT_EQ(framed.Rgb(3, 1), Tile(1, 1));
    EXPECT_EQ(framed.Rgb(4, 1), Tile(2, 1));
}

TEST_F(ImageDraw, FadeAndTranslucentPixelsBlendPremultiplied)
{
    RenderCanvas canvas(4, 2, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{0, 0, 2, 2}, L"file='opaque.png' fade='128'"));
    // (1, 2, 3) * 128/255 + 255 * 127/255, give or take AlphaBlend's rounding.
    EXPECT_TRUE(Near(canvas.Rgb(0, 0), 0x7F7F7F, 2)) << std::hex << canvas.Rgb(0, 0);
    EXPECT_EQ(canvas.Rgb(2, 0), kWhite);

    RenderCanvas over(2, 1, kWhite);
    EXPECT_TRUE(Draw(over, RECT{0, 0, 2, 1}, L"half.png"));
    // Premultiplied (100, 50, 25) at alpha 128 over white: 100 + 127, 50 + 127, 25 + 127.
    EXPECT_TRUE(Near(over.Rgb(0, 0), 0xE3B198, 1)) << std::hex << over.Rgb(0, 0);
    EXPECT_EQ(over.Rgb(1, 0), 0x0A141Eu);

    RenderCanvas faded(2, 1, 0x00000000);
    EXPECT_TRUE(Draw(faded, RECT{0, 0, 2, 1}, L"half.png", L"fade='0'"));
    EXPECT_EQ(faded.Rgb(0, 0), 0u);
    EXPECT_EQ(faded.Rgb(1, 0), 0u);
}

namespace {

struct AlignRow {
    const wchar_t* modify;
    RECT expected;
};

const AlignRow kAlignRows[] = {
    {L"align='vcenter'", {12, 12, 28, 28}},
    {L"align='center'", {12, 0, 28, 40}},
    {L"align='right bottom'", {24, 24, 40, 40}},
    {L"align='left top'", {0, 0, 16, 16}},
    {L"align='right bottom' padding='0,0,4,4'", {20, 20, 36, 36}},
    {L"align='left top' padding='30,30,0,0'", {30, 30, 40, 40}},
    {L"", {0, 0, 40, 40}},
};

} // namespace

TEST(AlignImageRect, KeywordsAndPadding)
{
    const RECT item = {0, 0, 40, 40};
    for (const AlignRow& row : kAlignRows) {
        UIDrawInfo info;
        info.Parse(L"file='x.png' size='16,16'", row.modify, nullptr);
        RECT rc = item;
        CUIRender::AlignImageRect(item, info.size, info.align, info.padding, rc);
        EXPECT_TRUE(::EqualRect(&rc, &row.expected))
            << row.modify << ": " << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    }
}

TEST_F(ImageDraw, AlignedImageLandsWhereAlignSaysAndIsCutAtTheItem)
{
    RenderCanvas canvas(40, 40, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{0, 0, 40, 40}, L"file='grid.png' source='0,0,16,16' size='16,16' align='vcenter'"));
    EXPECT_EQ(canvas.Rgb(12, 12), Grid(0, 0));
    EXPECT_EQ(canvas.Rgb(27, 27), Grid(15, 15));
    EXPECT_EQ(canvas.Rgb(11, 11), kWhite);
    EXPECT_EQ(canvas.Rgb(28, 28), kWhite);
}

TEST_F(ImageDraw, ScaledFileIsDrawnOneToOne)
{
    CPaintManagerUI::SetGlobalDpi(144);
    m_manager->GetDpiHelper()->SetScale(144);
    RenderCanvas canvas(12, 12, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{0, 0, 6, 6}, L"file='btn.png' corner='2,2,2,2'"));
    // btn@1.5x.png (green, 6 x 6) rather than btn.png (red).
    EXPECT_EQ(canvas.Rgb(0, 0), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(3, 3), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(5, 5), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(6, 6), kWhite);
}

TEST_F(ImageDraw, UnscaledFileDividesTheCornersForTheSource)
{
    // At 200 % with no grid@2x.png the 10-pixel corners read back as 20 and take 10 source pixels.
    CPaintManagerUI::SetGlobalDpi(192);
    m_manager->GetDpiHelper()->SetScale(192);
    RenderCanvas canvas(80, 80, kWhite);
    EXPECT_TRUE(Draw(canvas, RECT{0, 0, 80, 80}, L"file='grid.png' corner='10,10,10,10'"));
    EXPECT_TRUE(Near(canvas.Rgb(0, 0), Grid(0, 0), 6));
    EXPECT_TRUE(Near(canvas.Rgb(79, 79), Grid(39, 39), 6));
    EXPECT_TRUE(Near(canvas.Rgb(19, 0), Grid(9, 0), 6)) << std::hex << canvas.Rgb(19, 0);
    // The centre shows the image's middle (about column 20), not nothing.
    EXPECT_TRUE(Near(canvas.Rgb(40, 40), Grid(20, 20), 12)) << std::hex << canvas.Rgb(40, 40);
}

TEST_F(ImageDraw, ControlBackgroundImageGoesThroughTheDescriptor)
{
    CControlUI control;
    control.SetManager(m_manager, nullptr, false);
    control.SetBkImage(L"file='tile.png' xtiled='true' ytiled='true'");
    control.SetPos(RECT{2, 2, 10, 8}, false);
    RenderCanvas canvas(12, 10, kWhite);
    const RECT paint = {0, 0, 12, 10};
    control.Paint(canvas.DC(), paint, nullptr);
    EXPECT_EQ(canvas.Rgb(2, 2), Tile(0, 0));
    EXPECT_EQ(canvas.Rgb(9, 7), Tile(3, 2));
    EXPECT_EQ(canvas.Rgb(7, 5), Tile(1, 0));
    EXPECT_EQ(canvas.Rgb(1, 1), kWhite);
    EXPECT_EQ(canvas.Rgb(10, 8), kWhite);
    control.SetManager(nullptr, nullptr, false);
}

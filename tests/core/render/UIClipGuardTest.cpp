// Nested, round and elliptic clips, and painting outside a guard for a moment.

#include "render/UIClipGuard.h"

#include "RenderCanvas.h"

#include <gtest/gtest.h>

using ZvUI::CUIClipGuard;

namespace {

RECT ClipBox(HDC dc)
{
    RECT box = {};
    ::GetClipBox(dc, &box);
    return box;
}

void ExpectRect(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

// Fills the whole canvas with GDI through whatever clip is in force.
void FillAll(const RenderCanvas& canvas, COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    const RECT all = {0, 0, canvas.Width(), canvas.Height()};
    ::FillRect(canvas.DC(), &all, brush);
    ::DeleteObject(brush);
}

int Count(const RenderCanvas& canvas, DWORD rgb)
{
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            n += canvas.Rgb(x, y) == rgb ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(ClipGuard, NestedGuardsNarrowToTheIntersectionAndRestoreTheBox)
{
    RenderCanvas canvas(40, 40);
    const RECT before = ClipBox(canvas.DC());
    {
        CUIClipGuard outer;
        CUIClipGuard::GenerateClip(canvas.DC(), RECT{5, 5, 25, 25}, outer);
        ExpectRect(RECT{5, 5, 25, 25}, ClipBox(canvas.DC()));
        {
            CUIClipGuard inner;
            CUIClipGuard::GenerateClip(canvas.DC(), RECT{15, 0, 40, 20}, inner);
            ExpectRect(RECT{15, 5, 25, 20}, ClipBox(canvas.DC()));
            FillAll(canvas, RGB(255, 0, 0));
        }
        ExpectRect(RECT{5, 5, 25, 25}, ClipBox(canvas.DC()));
    }
    ExpectRect(before, ClipBox(canvas.DC()));

    EXPECT_EQ(10 * 15, Count(canvas, 0xFF0000));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(15, 5));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(24, 19));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(14, 5));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(24, 20));
}

TEST(ClipGuard, DisjointNestedGuardPaintsNothing)
{
    RenderCanvas canvas(20, 20);
    CUIClipGuard outer;
    CUIClipGuard::GenerateClip(canvas.DC(), RECT{0, 0, 5, 5}, outer);
    CUIClipGuard inner;
    CUIClipGuard::GenerateClip(canvas.DC(), RECT{10, 10, 15, 15}, inner);
    FillAll(canvas, RGB(0, 0, 0));
    EXPECT_EQ(0, Count(canvas, 0x000000));
}

TEST(ClipGuard, OldClipCanBeUsedForAMomentInsideAGuard)
{
    RenderCanvas canvas(30, 30);
    CUIClipGuard outer;
    CUIClipGuard::GenerateClip(canvas.DC(), RECT{0, 0, 20, 20}, outer);
    CUIClipGuard inner;
    CUIClipGuard::GenerateClip(canvas.DC(), RECT{5, 5, 10, 10}, inner);

    CUIClipGuard::UseOldClipBegin(canvas.DC(), inner);
    ExpectRect(RECT{0, 0, 20, 20}, ClipBox(canvas.DC()));
    FillAll(canvas, RGB(0, 255, 0));
    CUIClipGuard::UseOldClipEnd(canvas.DC(), inner);
    ExpectRect(RECT{5, 5, 10, 10}, ClipBox(canvas.DC()));
    FillAll(canvas, RGB(0, 0, 255));

    EXPECT_EQ(400 - 25, Count(canvas, 0x00FF00));
    EXPECT_EQ(25, Count(canvas, 0x0000FF));
}

TEST(ClipGuard, RoundClipCutsTheCorners)
{
    RenderCanvas canvas(40, 40);
    {
        CUIClipGuard clip;
        const RECT item = {10, 10, 30, 30};
        CUIClipGuard::GenerateRoundClip(canvas.DC(), RECT{0, 0, 40, 40}, item, 10, 10, clip);
        FillAll(canvas, RGB(0, 0, 0));
    }
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(10, 10));
    EXPECT_EQ(0x000000u, canvas.Rgb(20, 10));
    EXPECT_EQ(0x000000u, canvas.Rgb(20, 20));
    // Round regions stop a pixel short of right and bottom; the + 1 makes the clip the item's rectangle.
    EXPECT_EQ(0x000000u, canvas.Rgb(29, 20));
    EXPECT_EQ(0x000000u, canvas.Rgb(20, 29));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(30, 20));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(20, 30));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(9, 20));
}

TEST(ClipGuard, RoundClipIsAlsoBoundByTheClipRectangle)
{
    RenderCanvas canvas(40, 40);
    {
        CUIClipGuard clip;
        CUIClipGuard::GenerateRoundClip(canvas.DC(), RECT{0, 0, 20, 40}, RECT{10, 10, 30, 30}, 4, 4, clip);
        FillAll(canvas, RGB(0, 0, 0));
    }
    EXPECT_EQ(0x000000u, canvas.Rgb(19, 20));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(20, 20));
}

TEST(ClipGuard, EllipseClipKeepsTheCentreOnly)
{
    RenderCanvas canvas(40, 40);
    {
        CUIClipGuard clip;
        CUIClipGuard::GenerateEllipseClip(canvas.DC(), RECT{0, 0, 40, 40}, RECT{0, 0, 40, 40}, clip);
        FillAll(canvas, RGB(0, 0, 0));
    }
    EXPECT_EQ(0x000000u, canvas.Rgb(20, 20));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(1, 1));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(38, 38));
}

TEST(ClipGuard, UnusedGuardLeavesTheDcAlone)
{
    RenderCanvas canvas(10, 10);
    const RECT before = ClipBox(canvas.DC());
    { CUIClipGuard unused; }
    ExpectRect(before, ClipBox(canvas.DC()));
}

// Rectangle, size and point wrappers.

#include "utils/UIGeometry.h"

#include <gtest/gtest.h>

using ZvUI::CUIPoint;
using ZvUI::CUIRect;
using ZvUI::CUISize;

namespace {

void ExpectRect(const RECT& rc, LONG l, LONG t, LONG r, LONG b)
{
    EXPECT_EQ(l, rc.left);
    EXPECT_EQ(t, rc.top);
    EXPECT_EQ(r, rc.right);
    EXPECT_EQ(b, rc.bottom);
}

} // namespace

TEST(UIRect, ConstructionAndMeasures)
{
    const CUIRect none;
    EXPECT_TRUE(none.IsNull());
    const RECT raw = {1, 2, 11, 32};
    const CUIRect rc(raw);
    EXPECT_EQ(10, rc.GetWidth());
    EXPECT_EQ(30, rc.GetHeight());
    EXPECT_FALSE(rc.IsNull());
    EXPECT_FALSE(CUIRect(0, 0, 0, 1).IsNull());
    CUIRect copy = rc;
    copy.Empty();
    EXPECT_TRUE(copy.IsNull());
}

TEST(UIRect, PassesWhereARectIsExpected)
{
    CUIRect rc(0, 0, 10, 10);
    const RECT other = {5, 5, 20, 20};
    RECT out;
    ASSERT_TRUE(::IntersectRect(&out, &rc, &other));
    ExpectRect(out, 5, 5, 10, 10);
}

TEST(UIRect, EdgeOperations)
{
    struct Row {
        CUIRect start;
        int op;
        RECT arg;
        RECT expected;
    };
    // op: 0 Join, 1 Union, 2 Offset(arg.left, arg.top), 3 Inflate, 4 Deflate, 5 ResetOffset, 6 Normalize.
    const Row rows[] = {
        {CUIRect(10, 10, 20, 20), 0, {0, 15, 30, 18}, {0, 10, 30, 20}},
        // Join grows even over an empty rectangle; Union ignores it.
        {CUIRect(10, 10, 20, 20), 0, {0, 0, 0, 0}, {0, 0, 20, 20}},
        {CUIRect(10, 10, 20, 20), 1, {0, 0, 0, 0}, {10, 10, 20, 20}},
        {CUIRect(10, 10, 20, 20), 1, {15, 0, 40, 12}, {10, 0, 40, 20}},
        {CUIRect(10, 10, 20, 20), 2, {-5, 7, 0, 0}, {5, 17, 15, 27}},
        {CUIRect(10, 10, 20, 20), 3, {2, 3, 0, 0}, {8, 7, 22, 23}},
        {CUIRect(10, 10, 20, 20), 4, {2, 3, 0, 0}, {12, 13, 18, 17}},
        {CUIRect(-3, 4, 7, 9), 5, {}, {0, 0, 10, 5}},
        {CUIRect(10, 20, 0, 5), 6, {}, {0, 5, 10, 20}},
        {CUIRect(0, 5, 10, 20), 6, {}, {0, 5, 10, 20}},
    };
    for (const Row& row : rows) {
        CUIRect rc = row.start;
        switch (row.op) {
        case 0: rc.Join(row.arg); break;
        case 1: rc.Union(row.arg); break;
        case 2: rc.Offset(row.arg.left, row.arg.top); break;
        case 3: rc.Inflate(row.arg.left, row.arg.top); break;
        case 4: rc.Deflate(row.arg.left, row.arg.top); break;
        case 5: rc.ResetOffset(); break;
        default: rc.Normalize(); break;
        }
        SCOPED_TRACE(row.op);
        ExpectRect(rc, row.expected.left, row.expected.top, row.expected.right, row.expected.bottom);
    }
}

TEST(UISize, FromPartsAndFromARect)
{
    const CUISize zero;
    EXPECT_EQ(0, zero.cx);
    EXPECT_EQ(0, zero.cy);
    const RECT rc = {3, 4, 13, 24};
    const CUISize fromRect(rc);
    EXPECT_EQ(10, fromRect.cx);
    EXPECT_EQ(20, fromRect.cy);
    const SIZE raw = {7, 8};
    const CUISize copy(raw);
    EXPECT_EQ(7, copy.cx);
    EXPECT_EQ(8, CUISize(1, 8).cy);
}

TEST(UIPoint, MouseLParamWordsAreSigned)
{
    struct Row { LPARAM lParam; LONG x; LONG y; };
    const Row rows[] = {
        {static_cast<LPARAM>(0xFFFF0005u), 5, -1},
        {MAKELPARAM(100, 200), 100, 200},
        {static_cast<LPARAM>(0x8000FFF6u), -10, -32768},
        {MAKELPARAM(0x7FFF, 0), 32767, 0},
    };
    for (const Row& row : rows) {
        const CUIPoint pt(row.lParam);
        EXPECT_EQ(row.x, pt.x);
        EXPECT_EQ(row.y, pt.y);
    }
    const POINT raw = {3, 4};
    EXPECT_EQ(3, CUIPoint(raw).x);
    EXPECT_EQ(4, CUIPoint(9, 4).y);
    EXPECT_EQ(0, CUIPoint().x);
}

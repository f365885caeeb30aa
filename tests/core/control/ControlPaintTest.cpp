// Control painting by layer, checked on the pixels of an in-memory 32-bit bitmap.
#include "control/ControlUI.h"

#include <gtest/gtest.h>

#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

using ZvUI::CControlUI;
using ZvUI::CPaintManagerUI;

namespace {

constexpr int kSize = 40;

// A zeroed top-down DIB selected into a memory DC; pixels read back as 0x00RRGGBB.
class Canvas {
public:
    Canvas()
    {
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ZvUI::CUIRender::CreateARGB32Bitmap(m_dc, kSize, -kSize, &m_bits);
        m_old = ::SelectObject(m_dc, m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    DWORD rgb(int x, int y) const
    {
        ::GdiFlush();
        const BYTE* p = m_bits + (y * kSize + x) * 4;
        return (DWORD(p[2]) << 16) | (DWORD(p[1]) << 8) | p[0];
    }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    BYTE* m_bits = nullptr;
};

const RECT kAll = {0, 0, kSize, kSize};

class ControlLayers : public ::testing::Test {
protected:
    // GDI+ lives as long as a manager does.
    CPaintManagerUI m_pm;
};

} // namespace

TEST_F(ControlLayers, OpaqueBackgroundFillsTheItemOnly)
{
    Canvas canvas;
    CControlUI c;
    c.SetPos(RECT{10, 10, 30, 30});
    c.SetBkColor(0xFF0000FF);
    EXPECT_TRUE(c.Paint(canvas.dc(), kAll, nullptr));
    EXPECT_EQ(canvas.rgb(10, 10), 0x0000FFu);
    EXPECT_EQ(canvas.rgb(29, 29), 0x0000FFu);
    EXPECT_EQ(canvas.rgb(9, 10), 0u);
    EXPECT_EQ(canvas.rgb(30, 30), 0u);
}

TEST_F(ControlLayers, PaintRequestClipsTheLayers)
{
    Canvas canvas;
    CControlUI c;
    c.SetPos(RECT{0, 0, 40, 40});
    c.SetBkColor(0x80FF0000);  // translucent: drawn over the item, clipped to the request
    EXPECT_TRUE(c.Paint(canvas.dc(), RECT{0, 0, 20, 20}, nullptr));
    EXPECT_NE(canvas.rgb(5, 5), 0u);
    EXPECT_EQ(canvas.rgb(25, 25), 0u);
}

TEST_F(ControlLayers, StopControlPaintsNothing)
{
    Canvas canvas;
    CControlUI c;
    c.SetPos(RECT{0, 0, 40, 40});
    c.SetBkColor(0xFF00FF00);
    EXPECT_FALSE(c.Paint(canvas.dc(), kAll, &c));
    EXPECT_EQ(canvas.rgb(5, 5), 0u);
}

TEST_F(ControlLayers, ThreeColourGradientSplitsAtTheMiddle)
{
    Canvas canvas;
    CControlUI c;
    c.SetPos(RECT{0, 0, 40, 40});
    c.SetBkColor(0xFFFF0000);
    c.SetBkColor2(0xFF00FF00);
    c.SetBkColor3(0xFF0000FF);
    c.SetGradient(L"hor");
    EXPECT_TRUE(c.Paint(canvas.dc(), kAll, nullptr));
    // Upper half runs red to green from left to right, lower half green to blue.
    EXPECT_GT((canvas.rgb(1, 5) >> 16) & 0xFF, 0xC0u);
    EXPECT_GT((canvas.rgb(38, 5) >> 8) & 0xFF, 0xC0u);
    EXPECT_GT((canvas.rgb(1, 35) >> 8) & 0xFF, 0xC0u);
    EXPECT_GT(canvas.rgb(38, 35) & 0xFF, 0xC0u);
}

TEST_F(ControlLayers, SideBordersLieOnTheLastColumnAndRow)
{
    Canvas canvas;
    CControlUI c;
    c.SetPos(RECT{5, 5, 35, 35});
    c.SetBorderColor(0xFFFF0000);
    c.SetFocusBorderColor(0xFF00FF00);
    c.SetBorderRectSize(RECT{0, 0, 1, 1});
    // Focused without a border size: the side lines keep the ordinary colour.
    ZvUI::UIControlEvent focus;
    focus.type = ZvUI::EventSetFocus;
    c.Event(focus);
    ASSERT_TRUE(c.IsFocused());
    EXPECT_TRUE(c.Paint(canvas.dc(), kAll, nullptr));
    EXPECT_EQ(canvas.rgb(34, 20), 0xFF0000u);
    EXPECT_EQ(canvas.rgb(20, 34), 0xFF0000u);
    EXPECT_EQ(canvas.rgb(35, 20), 0u);
    EXPECT_EQ(canvas.rgb(5, 20), 0u);  // no left side
    EXPECT_EQ(canvas.rgb(20, 5), 0u);  // no top side
}

TEST_F(ControlLayers, FocusBorderColourFramesAFocusedControl)
{
    Canvas canvas;
    CControlUI c;
    c.SetPos(RECT{5, 5, 35, 35});
    c.SetBorderColor(0xFFFF0000);
    c.SetFocusBorderColor(0xFF00FF00);
    c.SetBorderSize(1);
    EXPECT_TRUE(c.Paint(canvas.dc(), kAll, nullptr));
    EXPECT_EQ(canvas.rgb(5, 20), 0xFF0000u);
    ZvUI::UIControlEvent focus;
    focus.type = ZvUI::EventSetFocus;
    c.Event(focus);
    EXPECT_TRUE(c.Paint(canvas.dc(), kAll, nullptr));
    EXPECT_EQ(canvas.rgb(5, 20), 0x00FF00u);
    EXPECT_EQ(canvas.rgb(34, 20), 0x00FF00u);
    EXPECT_EQ(canvas.rgb(20, 20), 0u);
}

TEST_F(ControlLayers, ColourHslShiftsOnlyWhenTheControlAsks)
{
    CControlUI c;
    CPaintManagerUI::SetHSL(true, 300, 100, 100);  // hue +120 degrees: red turns green
    EXPECT_EQ(c.GetAdjustColor(0xFFFF0000), 0xFFFF0000u);
    c.SetColorHSL(true);
    const DWORD shifted = c.GetAdjustColor(0xFFFF0000);
    EXPECT_EQ(shifted >> 24, 0xFFu);
    EXPECT_GT((shifted >> 8) & 0xFF, 0xF0u);
    EXPECT_LT((shifted >> 16) & 0xFF, 0x10u);
    CPaintManagerUI::SetHSL(false, 180, 100, 100);
    EXPECT_EQ(c.GetAdjustColor(0xFFFF0000), 0xFFFF0000u);
}

// Counts the red pixels along row 5 between the item's left and right edges.
int RedOnTopEdge(const Canvas& canvas)
{
    int red = 0;
    for (int x = 5; x < 35; ++x)
        red += canvas.rgb(x, 5) == 0xFF0000u ? 1 : 0;
    return red;
}

TEST_F(ControlLayers, BorderStyleFromTheSkinShapesEveryOutline)
{
    struct Case {
        const wchar_t* style;
        bool sides;  // per-side widths instead of one border size
        int minRed, maxRed;
    };
    const Case cases[] = {
        {L"0", false, 30, 30},  // solid: the whole edge
        {L"1", false, 8, 26},   // dashes leave gaps
        {L"2", false, 8, 26},   // dots
        {L"5", false, 0, 0},    // the null pen draws nothing
        {L"0", true, 30, 30},
        {L"1", true, 8, 26},
        {L"5", true, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "style " << k.style << (k.sides ? " sides" : " rect"));
        Canvas canvas;
        CControlUI c;
        c.SetPos(RECT{5, 5, 35, 35});
        c.SetAttribute(L"bordercolor", L"#FFFF0000");
        c.SetAttribute(L"bordersize", k.sides ? L"0,1,0,0" : L"1");
        c.SetAttribute(L"borderstyle", k.style);
        EXPECT_EQ(c.GetBorderStyle(), _wtoi(k.style));
        EXPECT_TRUE(c.Paint(canvas.dc(), kAll, nullptr));
        const int red = RedOnTopEdge(canvas);
        EXPECT_GE(red, k.minRed);
        EXPECT_LE(red, k.maxRed);
    }
}

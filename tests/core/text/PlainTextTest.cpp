// Plain text drawing and measuring: DrawTextW agreement, the entity glyph, GDI+ text and CJK fonts.
#include <gtest/gtest.h>

#include <string>

#include "TextTestSupport.h"
#include "render/UIRender.h"

using ZvUI::CPaintManagerUI;
using ZvUI::CUIRender;

namespace {

class PlainText : public ::testing::Test {
protected:
    void SetUp() override { m_pm.AddFont(1, kFace, 16, false, false, false); }

    // Both measured in the same kind of DC with the same font.
    RECT Calc(LPCWSTR text, UINT style, RECT rc)
    {
        RenderCanvas canvas(8, 8);
        CUIRender::DrawText(canvas.DC(), &m_pm, rc, text, 0xFF000000, 1, style | DT_CALCRECT);
        return rc;
    }
    RECT Direct(LPCWSTR text, UINT style, RECT rc)
    {
        RenderCanvas canvas(8, 8);
        HGDIOBJ old = ::SelectObject(canvas.DC(), m_pm.GetFont(1));
        ::DrawTextW(canvas.DC(), text, -1, &rc, style | DT_CALCRECT);
        ::SelectObject(canvas.DC(), old);
        return rc;
    }

    CPaintManagerUI m_pm;
};

struct CalcCase {
    LPCWSTR text;
    UINT style;
    RECT rc;
};

} // namespace

TEST_F(PlainText, CalcRectAgreesWithDrawTextW)
{
    const CalcCase cases[] = {
        {L"Install", DT_SINGLELINE, {0, 0, 400, 40}},
        {L"Install now", DT_SINGLELINE | DT_CENTER | DT_VCENTER, {10, 5, 300, 40}},
        {L"two words that wrap around twice", DT_WORDBREAK, {0, 0, 90, 400}},
        {L"line one\nline two\nline three", 0, {0, 0, 400, 400}},
        {L"a rather long line cut short", DT_SINGLELINE | DT_END_ELLIPSIS, {0, 0, 60, 30}},
        {L"&Prefix and &&", DT_SINGLELINE, {0, 0, 400, 40}},
        {L"", DT_SINGLELINE, {0, 0, 400, 40}},
    };
    for (const CalcCase& c : cases) {
        const RECT ours = Calc(c.text, c.style, c.rc);
        const RECT theirs = Direct(c.text, c.style, c.rc);
        EXPECT_TRUE(::EqualRect(&ours, &theirs)) << "text: " << std::wstring(c.text).size() << " chars, style "
                                                 << c.style << ": " << ours.right << "x" << ours.bottom
                                                 << " against " << theirs.right << "x" << theirs.bottom;
    }
}

TEST_F(PlainText, TextSizeIsTheFontExtent)
{
    for (LPCWSTR text : {L"W", L"Velmora PDF", L"安装"}) {
        RenderCanvas canvas(8, 8);
        const SIZE ours = CUIRender::GetTextSize(canvas.DC(), &m_pm, text, 1);
        const SIZE theirs = Extent(m_pm.GetFont(1), text);
        EXPECT_EQ(ours.cx, theirs.cx);
        EXPECT_EQ(ours.cy, theirs.cy);
    }
    RenderCanvas canvas(8, 8);
    EXPECT_EQ(CUIRender::GetTextSize(canvas.DC(), nullptr, L"x", 1).cx, 0);
    EXPECT_EQ(CUIRender::GetTextSize(canvas.DC(), &m_pm, nullptr, 1).cx, 0);
}

TEST_F(PlainText, DrawsInTheColourInsideTheRect)
{
    RenderCanvas canvas(120, 40, 0x00FFFFFF);
    RECT rc = {10, 5, 60, 35};
    CUIRender::DrawText(canvas.DC(), &m_pm, rc, L"WWWWWWWWWWWW", 0xFF0000FF, 1, DT_SINGLELINE | DT_VCENTER);
    const RECT ink = InkBounds(canvas);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 60) << "DrawTextW clips to the rect";
    EXPECT_GT(CountColor(canvas, 0x0000FF), 0);
}

TEST_F(PlainText, MissingTextOrManagerDrawsNothing)
{
    RenderCanvas canvas(40, 20, 0x00FFFFFF);
    RECT rc = {0, 0, 40, 20};
    CUIRender::DrawText(canvas.DC(), nullptr, rc, L"W", 0xFF000000, 1, DT_SINGLELINE);
    CUIRender::DrawText(canvas.DC(), &m_pm, rc, nullptr, 0xFF000000, 1, DT_SINGLELINE);
    CUIRender::DrawTextWithBackground(canvas.DC(), &m_pm, rc, nullptr, 0xFF000000, 1, DT_SINGLELINE, 0xFFFF0000);
    EXPECT_EQ(InkBounds(canvas).right, 0);
}

TEST_F(PlainText, BackgroundIsFilledBeforeTheText)
{
    RenderCanvas canvas(60, 30, 0x00FFFFFF);
    RECT rc = {5, 5, 55, 25};
    CUIRender::DrawTextWithBackground(canvas.DC(), &m_pm, rc, L"Ab", 0xFF000000, 1, DT_SINGLELINE, 0xFF00FF00);
    EXPECT_EQ(canvas.Rgb(6, 6), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(4, 4), 0xFFFFFFu);
    EXPECT_GT(CountColor(canvas, 0x000000), 0);
}

TEST_F(PlainText, EntityDrawsOnlyItsCharacter)
{
    struct EntityCase {
        LPCWSTR text;
        wchar_t shown;
    };
    const EntityCase cases[] = {
        {L"&#xE600;", 0xE600},
        {L"ab&#x41", L'A'},
        {L"&#x42 ", L'B'},
        {L"&#x0057;trailing", L'W'},
    };
    for (const EntityCase& c : cases) {
        const RECT ours = Calc(c.text, DT_SINGLELINE, RECT{0, 0, 400, 40});
        const wchar_t single[2] = {c.shown, 0};
        const RECT theirs = Direct(single, DT_SINGLELINE, RECT{0, 0, 400, 40});
        EXPECT_EQ(ours.right, theirs.right) << "shown U+" << std::hex << int(c.shown);
    }
}

TEST_F(PlainText, GdiplusTextDrawsAndMeasuresOnePixelMore)
{
    m_pm.SetUseGdiplusText(true);
    RenderCanvas canvas(200, 40, 0x00FFFFFF);
    RECT calc = {10, 5, 200, 40};
    CUIRender::DrawText(canvas.DC(), &m_pm, calc, L"Velmora && Co", 0xFF000000, 1, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(calc.left, 10);
    EXPECT_EQ(calc.top, 5);
    const SIZE gdi = Extent(m_pm.GetFont(1), L"Velmora & Co");
    EXPECT_NEAR(calc.right - calc.left, gdi.cx + 1, 6) << "\"&&\" is measured as one \"&\"";
    EXPECT_NEAR(calc.bottom - calc.top, gdi.cy + 1, 6);
    EXPECT_EQ(InkBounds(canvas).right, 0) << "measuring draws nothing";

    RECT rc = {10, 5, 200, 40};
    CUIRender::DrawText(canvas.DC(), &m_pm, rc, L"Velmora", 0x00000000, 1, DT_SINGLELINE);
    // Alpha 0 in the colour is ignored: the brush is always 0xFE opaque.
    const RECT ink = InkBounds(canvas);
    EXPECT_GE(ink.left, 10);
    EXPECT_GT(ink.right, 30);
}

TEST(CjkText, MappedFontsHaveTheGlyphs)
{
    // The test prefix maps these faces to WenQuanYi Micro Hei; without it CJK shows as boxes.
    for (LPCWSTR face : {L"微软雅黑", L"Microsoft YaHei", L"宋体", L"SimSun"}) {
        CPaintManagerUI pm;
        pm.AddFont(0, face, 16, false, false, false);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, pm.GetFont(0));
        const wchar_t text[] = L"立即安装下载失败";
        WORD glyphs[8] = {};
        ASSERT_EQ(::GetGlyphIndicesW(dc, text, 8, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 8u);
        for (WORD g : glyphs)
            EXPECT_NE(g, 0xFFFF);
        wchar_t actual[LF_FACESIZE] = {};
        ::GetTextFaceW(dc, LF_FACESIZE, actual);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        EXPECT_STRNE(actual, L"DejaVu Sans");
    }
}

TEST(CjkText, GdiplusTextUsesTheFaceGdiSelected)
{
    // Layered windows draw text with GDI+, which alone would not resolve a mapped face name.
    auto draw = [](LPCWSTR face, RenderCanvas& canvas) {
        CPaintManagerUI pm;
        pm.SetUseGdiplusText(true);
        pm.AddFont(0, face, 16, false, false, false);
        RECT rc = {4, 4, 196, 36};
        CUIRender::DrawText(canvas.DC(), &pm, rc, L"立即安装", 0xFF000000, 0, DT_SINGLELINE);
    };
    RenderCanvas mapped(200, 40);
    RenderCanvas real(200, 40);
    draw(L"微软雅黑", mapped);
    draw(L"WenQuanYi Micro Hei", real);
    int differing = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            differing += mapped.Rgb(x, y) != real.Rgb(x, y) ? 1 : 0;
    EXPECT_GT(InkBounds(mapped).right, 40);
    EXPECT_EQ(differing, 0);
}

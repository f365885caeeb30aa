// The HTML-like markup: tags and their fonts and colours, escapes, raw text, lines, links, images,
// alignment and the end ellipsis, measured with DT_CALCRECT and checked on DIB pixels.
#include <gtest/gtest.h>

#include <string>

#include "TextTestSupport.h"
#include "render/UIRender.h"
#include "utils/UIString.h"

using ZvUI::CPaintManagerUI;
using ZvUI::CUIRender;
using ZvUI::CUIString;

namespace {

constexpr int kFont = 1;
constexpr int kBig = 2;

class HtmlText : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pm.AddFont(kFont, kFace, 14, false, false, false);
        m_pm.AddFont(kBig, kFace, 28, false, false, false);
    }

    RECT Calc(LPCWSTR text, UINT style = DT_SINGLELINE, RECT rc = RECT{0, 0, 9999, 100}, int font = kFont)
    {
        RenderCanvas canvas(8, 8);
        int none = 0;
        CUIRender::DrawHtmlText(canvas.DC(), &m_pm, rc, text, 0xFF000000, nullptr, nullptr, none, font,
                                style | DT_CALCRECT);
        return rc;
    }
    int CalcWidth(LPCWSTR text, int font = kFont) { return Calc(text, DT_SINGLELINE, {0, 0, 9999, 100}, font).right; }
    int Plain(LPCWSTR text, int font = kFont) { return Extent(m_pm.GetFont(font), text).cx; }
    void Draw(RenderCanvas& canvas, LPCWSTR text, DWORD color, UINT style, RECT rc, int font = kFont)
    {
        int none = 0;
        CUIRender::DrawHtmlText(canvas.DC(), &m_pm, rc, text, color, nullptr, nullptr, none, font, style);
    }

    CPaintManagerUI m_pm;
};

} // namespace

// --- tags and escapes ---

TEST_F(HtmlText, BoldCoversItsWordOnly)
{
    HFONT bold = m_pm.AddFont(9, kFace, 14, true, false, false);
    EXPECT_EQ(CalcWidth(L"<b>WWW</b>"), Extent(bold, L"WWW").cx);
    EXPECT_EQ(CalcWidth(L"<b>WW</b>WW"), Extent(bold, L"WW").cx + Plain(L"WW"));
    EXPECT_GT(CalcWidth(L"<b>WWW</b>"), Plain(L"WWW"));
}

TEST_F(HtmlText, WordsInBracketsAreText)
{
    EXPECT_EQ(CalcWidth(L"<bold>"), Plain(L"<bold>"));
    EXPECT_EQ(CalcWidth(L"a<3 b"), Plain(L"a<3 b"));
}

TEST_F(HtmlText, BraceAndMixedTagsActLikeAngleTags)
{
    const int angle = CalcWidth(L"<b>Wide</b> text");
    EXPECT_EQ(CalcWidth(L"{b}Wide{/b} text"), angle);
    EXPECT_EQ(CalcWidth(L"<b}Wide{/b> text"), angle);
}

TEST_F(HtmlText, EscapesDrawOneBracket)
{
    struct EscapeCase {
        LPCWSTR markup;
        LPCWSTR shown;
    };
    const EscapeCase cases[] = {
        {L"<{>", L"{"}, {L"<}>", L"}"}, {L"{<}", L"<"}, {L"{>}", L">"}, {L"a<{>b<}>c", L"a{b}c"},
    };
    for (const EscapeCase& c : cases)
        EXPECT_EQ(CalcWidth(c.markup), Plain(c.shown)) << std::wstring(c.shown).size();
}

TEST_F(HtmlText, RawTextKeepsItsTags)
{
    EXPECT_EQ(CalcWidth(L"<r><b>x</b></r>"), Plain(L"<b>x</b>"));
    EXPECT_EQ(CalcWidth(L"<r>{b} a</r>x"), Plain(L"{b} ax"));
    // Closed in the other bracket form, then tags work again.
    HFONT bold = m_pm.AddFont(9, kFace, 14, true, false, false);
    EXPECT_EQ(CalcWidth(L"<r>a{/r><b>W</b>"), Plain(L"a") + Extent(bold, L"W").cx);
}

TEST_F(HtmlText, LineTagsAndLineFeeds)
{
    const int line = LineHeight(m_pm, kFont);
    EXPECT_EQ(Calc(L"one<n>two", DT_SINGLELINE).bottom, line) << "n is ignored on one line";
    EXPECT_EQ(Calc(L"one<n>two", 0).bottom, 2 * line);
    EXPECT_EQ(Calc(L"one\ntwo\nthree", 0).bottom, 3 * line);
    EXPECT_EQ(Calc(L"<x 20>W").right, 20 + Plain(L"W"));
    EXPECT_EQ(Calc(L"<y 40>W").bottom, 40);
    EXPECT_EQ(Calc(L"<p 10>W</p>", 0).bottom, line + 10);
    EXPECT_EQ(Calc(L"ab<p>cd</p>ef", 0).bottom, 3 * line) << "a paragraph starts and ends its own lines";
}

TEST_F(HtmlText, LineTagsAreHeldToWhatALineCanUse)
{
    const int line = LineHeight(m_pm, kFont);
    const int w = Plain(L"W");
    struct LineCase {
        LPCWSTR markup;
        LONG right;
        LONG bottom;
    };
    // Heights up to 32767 pixels, nothing below 0; moves along the line between its edges.
    const LineCase cases[] = {
        {L"<y 2147483647>W\nW\nW", w, 32767 + 2 * line},
        {L"<y -100>W\nW\nW", w, 2 * line},
        {L"<y -2147483647>W\nW", w, line},
        {L"<p 2147483647>W\nW", w, 2 * (line + 32767)},
        {L"<p -100>W\nW</p>W", w, 3 * line},
        {L"<x 2147483647>W", 200, 2 * line},
        {L"W<x -2147483647>W", w, line},
        {L"<x -100>W", w, line},
    };
    for (const LineCase& c : cases) {
        const RECT rc = Calc(c.markup, 0, RECT{0, 0, 200, 100});
        EXPECT_EQ(rc.right, c.right) << std::wstring(c.markup).size() << " characters";
        EXPECT_EQ(rc.bottom, c.bottom) << std::wstring(c.markup).size() << " characters";
    }
    // The lines after a line asked to be less than nothing still show.
    RenderCanvas canvas(200, 100, 0x00FFFFFF);
    Draw(canvas, L"<y -100>W\nW\nW", 0xFF000000, 0, RECT{0, 0, 200, 100});
    const RECT ink = InkBounds(canvas);
    EXPECT_LT(ink.top, line);
    EXPECT_GT(ink.bottom, line);
}

TEST_F(HtmlText, FontTagsByIndexAndFace)
{
    EXPECT_EQ(Calc(L"<f 2>W</f>").bottom, LineHeight(m_pm, kBig));
    EXPECT_EQ(Calc(L"<f 2>W</f>").right, Plain(L"W", kBig));
    Calc(L"<f Tahoma 20 Bold Italic>W</f>");
    EXPECT_NE(m_pm.GetFont(kFace, 20, true, false, true), nullptr) << "the face form creates its font";
    Calc(L"<f Tahoma underline>W</f>");
    EXPECT_NE(m_pm.GetFont(kFace, 10, false, true, false), nullptr) << "size 10 when none is given";
}

TEST_F(HtmlText, NestedVariantsKeepEveryFontAlive)
{
    // Each variant gets its own id, so a later one never frees a font still on the stack.
    RenderCanvas canvas(300, 40, 0x00FFFFFF);
    Draw(canvas, L"<b>a<i>b<u>c</u>d</i>e</b>f", 0xFF000000, DT_SINGLELINE, RECT{0, 0, 300, 40});
    HFONT bold = m_pm.GetFont(kFace, 14, true, false, false);
    HFONT boldItalic = m_pm.GetFont(kFace, 14, true, false, true);
    HFONT all = m_pm.GetFont(kFace, 14, true, true, true);
    ASSERT_NE(bold, nullptr);
    ASSERT_NE(boldItalic, nullptr);
    ASSERT_NE(all, nullptr);
    LOGFONTW lf = {};
    EXPECT_NE(::GetObjectW(bold, sizeof(lf), &lf), 0);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_NE(::GetObjectW(boldItalic, sizeof(lf), &lf), 0);
    EXPECT_GE(m_pm.GetFontIndex(bold), 30000);
    EXPECT_NE(m_pm.GetFontIndex(bold), m_pm.GetFontIndex(boldItalic));
    // Drawing again reuses the variants.
    const int count = m_pm.GetFontCount();
    Draw(canvas, L"<b>a<i>b</i></b>", 0xFF000000, DT_SINGLELINE, RECT{0, 0, 300, 40});
    EXPECT_EQ(m_pm.GetFontCount(), count);
}

TEST_F(HtmlText, FaceVariantsAreMadeOnceWhateverTheFaceAsked)
{
    // A face longer than a font keeps, and none at all: the second draw finds the first's font.
    RenderCanvas canvas(300, 40, 0x00FFFFFF);
    for (LPCWSTR markup : {L"<f ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij 12>W</f>", L"<f >W</f>", L"<f Tahoma 13>W"}) {
        Draw(canvas, markup, 0xFF000000, DT_SINGLELINE, RECT{0, 0, 300, 40});
        const int count = m_pm.GetFontCount();
        Draw(canvas, markup, 0xFF000000, DT_SINGLELINE, RECT{0, 0, 300, 40});
        Calc(markup);
        EXPECT_EQ(m_pm.GetFontCount(), count) << std::wstring(markup).size() << " characters";
    }
}

TEST_F(HtmlText, SpentVariantIdsKeepTheCurrentFontUntilOneIsFree)
{
    for (int id = 30000; id < 30256; ++id)
        m_pm.AddFont(id, kFace, 40, false, false, false);
    const int count = m_pm.GetFontCount();
    EXPECT_EQ(CalcWidth(L"<b>WW</b>"), Plain(L"WW"));
    EXPECT_EQ(CalcWidth(L"<f Tahoma 30>WW</f>"), Plain(L"WW"));
    EXPECT_EQ(m_pm.GetFontCount(), count);
    // A freed id takes the next variant, and the variant stays for the tags after it.
    m_pm.RemoveFont(30100);
    const int boldWidth = Extent(m_pm.AddFont(9, kFace, 14, true, false, false), L"WW").cx;
    m_pm.RemoveFont(9);
    EXPECT_EQ(CalcWidth(L"<b>WW</b><b>WW</b>"), 2 * boldWidth);
    EXPECT_EQ(m_pm.GetFontIndex(kFace, 14, true, false, false), 30100);
}

TEST_F(HtmlText, ClosingTagPopsWhatItsTagPushed)
{
    // b on an already bold font pushes it again; its closing tag must not drop the f font.
    m_pm.AddFont(3, kFace, 28, true, false, false);
    EXPECT_EQ(CalcWidth(L"<f 3><b>W</b>W</f>"), 2 * Extent(m_pm.GetFont(3), L"W").cx);
}

// --- colours ---

TEST_F(HtmlText, ColourTagsKeepTheirFullValue)
{
    struct ColorCase {
        LPCWSTR markup;
        DWORD rgb;
    };
    const ColorCase cases[] = {
        {L"<c #FF112233>WWW</c>", 0x112233},
        {L"<c FF2040C0>WWW</c>", 0x2040C0},
        {L"<c #00FF00>WWW</c>", 0x00FF00},
        {L"<c 80C00000>WWW</c>", 0xC00000},
    };
    for (const ColorCase& c : cases) {
        RenderCanvas canvas(200, 50, 0x00FFFFFF);
        Draw(canvas, c.markup, 0xFF000000, DT_SINGLELINE, RECT{0, 0, 200, 50}, kBig);
        EXPECT_GT(CountColor(canvas, c.rgb), 20) << std::hex << c.rgb;
        EXPECT_EQ(CountColor(canvas, 0x000000), 0) << std::hex << c.rgb;
    }
}

TEST_F(HtmlText, ClosingColourReturnsToTheOuterOne)
{
    RenderCanvas canvas(300, 50, 0x00FFFFFF);
    Draw(canvas, L"<c #0000FF>WW<c #FF0000>WW</c>WW</c>WW", 0xFF00FF00, DT_SINGLELINE, RECT{0, 0, 300, 50}, kBig);
    const int w = Plain(L"WW", kBig);
    EXPECT_GT(CountColor(canvas, 0x0000FF, RECT{0, 0, w, 50}), 0);
    EXPECT_GT(CountColor(canvas, 0xFF0000, RECT{w, 0, 2 * w, 50}), 0);
    EXPECT_GT(CountColor(canvas, 0x0000FF, RECT{2 * w, 0, 3 * w, 50}), 0);
    EXPECT_GT(CountColor(canvas, 0x00FF00, RECT{3 * w, 0, 4 * w, 50}), 0);
}

TEST_F(HtmlText, UnderlineAndSelection)
{
    RenderCanvas canvas(200, 50, 0x00FFFFFF);
    Draw(canvas, L"<u>    </u>", 0xFF0000FF, DT_SINGLELINE, RECT{0, 0, 200, 50}, kBig);
    const RECT ink = InkBounds(canvas);
    EXPECT_GT(ink.right - ink.left, Plain(L"   ", kBig)) << "the blanks carry the underline";
    EXPECT_LE(ink.bottom - ink.top, 4);

    m_pm.SetSelectedColor(0xFF00FF00);
    RenderCanvas selected(200, 50, 0x00FFFFFF);
    Draw(selected, L"ab<s>cd</s>ef", 0xFF000000, DT_SINGLELINE, RECT{0, 0, 200, 50}, kBig);
    const int before = Plain(L"ab", kBig);
    const int span = Plain(L"cd", kBig);
    EXPECT_GT(CountColor(selected, 0x00FF00, RECT{before + 1, 0, before + span - 1, 50}), span * 10);
    EXPECT_EQ(CountColor(selected, 0x00FF00, RECT{0, 0, before - 1, 50}), 0);
}

// --- lines ---

TEST_F(HtmlText, WordBreakMovesWholeWords)
{
    const int line = LineHeight(m_pm, kFont);
    const int width = Plain(L"alpha beta") + 2;
    const RECT two = Calc(L"alpha beta gamma", DT_WORDBREAK, RECT{0, 0, width, 9999});
    EXPECT_EQ(two.bottom, 2 * line);
    EXPECT_LE(two.right, width);
    // "gamma" would have fitted as "gam" on the first line without word breaking.
    const RECT tight = Calc(L"alpha gamma", DT_WORDBREAK, RECT{0, 0, Plain(L"alpha gam") + 1, 9999});
    EXPECT_EQ(tight.bottom, 2 * line);
    EXPECT_EQ(tight.right, Plain(L"gamma"));
}

TEST_F(HtmlText, EndEllipsisStaysInsideTheRect)
{
    RenderCanvas canvas(200, 30, 0x00FFFFFF);
    const int right = 80;
    Draw(canvas, L"abcdefghijklmnopqrstuvwxyz", 0xFF000000, DT_SINGLELINE | DT_END_ELLIPSIS,
         RECT{0, 0, right, 30});
    const RECT ink = InkBounds(canvas);
    EXPECT_LE(ink.right, right);
    EXPECT_GT(ink.right, right - Plain(L"mm"));
    // The dots: the last ink columns have ink only near the bottom of the text.
    const RECT tail = InkBounds(canvas, RECT{ink.right - 2, 0, ink.right, 30});
    EXPECT_LE(tail.bottom - tail.top, 3);
    const RECT calc = Calc(L"abcdefghijklmnopqrstuvwxyz", DT_SINGLELINE | DT_END_ELLIPSIS, RECT{0, 0, right, 30});
    EXPECT_EQ(calc.right, right);
}

TEST_F(HtmlText, AlignmentOfSingleAndMultipleLines)
{
    const int w = Plain(L"WWW", kBig);
    RenderCanvas centred(300, 60, 0x00FFFFFF);
    RECT rc = {0, 0, 300, 60};
    Draw(centred, L"WWW", 0xFF000000, DT_SINGLELINE | DT_CENTER | DT_VCENTER, rc, kBig);
    RECT ink = InkBounds(centred);
    EXPECT_NEAR((ink.left + ink.right) / 2, 150, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, 6);

    RenderCanvas right(300, 60, 0x00FFFFFF);
    Draw(right, L"WWW", 0xFF000000, DT_SINGLELINE | DT_RIGHT, RECT{0, 0, 300, 60}, kBig);
    EXPECT_NEAR(InkBounds(right).right, 300, 3);

    // Every line of a multi-line text is centred as a whole, runs staying side by side.
    RenderCanvas lines(300, 120, 0x00FFFFFF);
    Draw(lines, L"W W\nWWW WWW", 0xFF000000, DT_CENTER, RECT{0, 0, 300, 120}, kBig);
    const int line = LineHeight(m_pm, kBig);
    const RECT first = InkBounds(lines, RECT{0, 0, 300, line});
    const RECT second = InkBounds(lines, RECT{0, line, 300, 2 * line});
    EXPECT_NEAR((first.left + first.right) / 2, 150, 4);
    EXPECT_NEAR((second.left + second.right) / 2, 150, 4);
    EXPECT_NEAR(second.right - second.left, 2 * w + Plain(L" ", kBig), 6);
}

// --- links ---

TEST_F(HtmlText, LinksReportRectanglesAndTexts)
{
    RenderCanvas canvas(400, 40, 0x00FFFFFF);
    RECT rects[4] = {};
    CUIString texts[4];
    int count = 4;
    RECT rc = {10, 5, 400, 40};
    CUIRender::DrawHtmlText(canvas.DC(), &m_pm, rc, L"go <a http://one>first</a> and <a  two>second</a>!",
                            0xFF000000, rects, texts, count, kFont, 0);
    ASSERT_EQ(count, 2);
    EXPECT_STREQ(texts[0], L"http://one");
    EXPECT_STREQ(texts[1], L"two") << "leading blanks are skipped";
    HFONT underline = m_pm.GetFont(kFace, 14, false, true, false);
    ASSERT_NE(underline, nullptr);
    EXPECT_EQ(rects[0].left, 10 + Plain(L"go "));
    EXPECT_EQ(rects[0].right, rects[0].left + Extent(underline, L"first").cx);
    EXPECT_EQ(rects[0].top, 5);
    EXPECT_EQ(rects[0].bottom, 5 + LineHeight(m_pm, kFont));
    EXPECT_GT(rects[1].left, rects[0].right);
    // The link is drawn in the given colour, underlined.
    EXPECT_GT(CountColor(canvas, 0x000000, rects[0]), 0);
}

TEST_F(HtmlText, LinkColourFallsBackToTheWindowsOne)
{
    m_pm.SetLinkColor(0xFF0000FF);
    RenderCanvas canvas(300, 50, 0x00FFFFFF);
    Draw(canvas, L"<a x>WWW</a>", 0, DT_SINGLELINE, RECT{0, 0, 300, 50}, kBig);
    EXPECT_GT(CountColor(canvas, 0x0000FF), 20);
}

TEST_F(HtmlText, WrappedLinkGivesTwoEntriesWithinCapacity)
{
    const int width = Plain(L"see the") + 2;
    RECT rects[4] = {};
    CUIString texts[4];
    int count = 4;
    RenderCanvas canvas(200, 200, 0x00FFFFFF);
    RECT rc = {0, 0, width, 200};
    CUIRender::DrawHtmlText(canvas.DC(), &m_pm, rc, L"see <a target>the long agreement</a>", 0xFF000000, rects,
                            texts, count, kFont, DT_WORDBREAK);
    ASSERT_GE(count, 2);
    EXPECT_STREQ(texts[0], L"target");
    EXPECT_STREQ(texts[1], L"target");
    EXPECT_EQ(rects[1].left, 0);
    EXPECT_EQ(rects[1].top, rects[0].bottom);

    RECT one[1] = {};
    CUIString oneText[1];
    int capacity = 1;
    RECT rc1 = {0, 0, width, 200};
    CUIRender::DrawHtmlText(canvas.DC(), &m_pm, rc1, L"see <a target>the long agreement</a>", 0xFF000000, one,
                            oneText, capacity, kFont, DT_WORDBREAK);
    EXPECT_EQ(capacity, 1);
    EXPECT_TRUE(::EqualRect(&one[0], &rects[0]));

    int none = 0;
    RECT rc0 = {0, 0, width, 200};
    CUIRender::DrawHtmlText(canvas.DC(), &m_pm, rc0, L"<a t>x</a>", 0xFF000000, one, oneText, none, kFont, 0);
    EXPECT_EQ(none, 0);
}

// --- inline images ---

class HtmlImages : public HtmlText {
protected:
    void SetUp() override
    {
        HtmlText::SetUp();
        m_strip = WriteStripBmp(L"zv_text_strip.bmp", {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}, 10, 12);
    }
    std::wstring m_strip;
};

TEST_F(HtmlImages, CellOfAStripIsDrawn)
{
    RenderCanvas canvas(100, 40, 0x00FFFFFF);
    const std::wstring markup = L"<i " + m_strip + L" 4 2>";
    Draw(canvas, markup.c_str(), 0xFF000000, DT_SINGLELINE, RECT{0, 0, 100, 40});
    const RECT ink = InkBounds(canvas);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, 10);
    EXPECT_EQ(ink.bottom - ink.top, 12);
    EXPECT_EQ(CountColor(canvas, 0x0000FF), 120) << "the third quarter";
    const RECT calc = Calc(markup.c_str());
    EXPECT_EQ(calc.right, 10);
}

TEST_F(HtmlImages, KeyedFormAndBadIndexes)
{
    RenderCanvas canvas(100, 40, 0x00FFFFFF);
    const std::wstring keyed = L"<i file='" + m_strip + L"' 4 1>";
    Draw(canvas, keyed.c_str(), 0xFF000000, DT_SINGLELINE, RECT{0, 0, 100, 40});
    EXPECT_EQ(CountColor(canvas, 0x00FF00), 120);

    RenderCanvas wrong(100, 40, 0x00FFFFFF);
    const std::wstring outside = L"<i " + m_strip + L" 4 9>";
    Draw(wrong, outside.c_str(), 0xFF000000, DT_SINGLELINE, RECT{0, 0, 100, 40});
    EXPECT_EQ(CountColor(wrong, 0xFF0000), 120) << "an index outside the count shows the first cell";

    EXPECT_EQ(CalcWidth(L"a<i no_such_image.png>b"), Plain(L"ab")) << "a missing image is left out";
}

TEST_F(HtmlImages, ImageThatDoesNotFitMovesToTheNextLine)
{
    RenderCanvas canvas(40, 80, 0x00FFFFFF);
    const std::wstring markup = L"<i " + m_strip + L" 4 0><i " + m_strip + L" 4 1>";
    Draw(canvas, markup.c_str(), 0xFF000000, 0, RECT{0, 0, 15, 80});
    // The font's line is taller than the image: each image sits centred on its own line.
    const int line = LineHeight(m_pm, kFont);
    EXPECT_EQ(CountColor(canvas, 0xFF0000, RECT{0, 0, 10, line}), 120);
    EXPECT_EQ(CountColor(canvas, 0x00FF00, RECT{0, line, 10, 2 * line}), 120);
    EXPECT_EQ(InkBounds(canvas, RECT{10, 0, 40, 80}).right, 0) << "nothing beside the first image";
    EXPECT_EQ(Calc(markup.c_str(), 0, RECT{0, 0, 15, 999}).bottom, 2 * line);
    // A line that has only just begun takes the image even when it is too wide.
    RenderCanvas narrow(40, 40, 0x00FFFFFF);
    const std::wstring single = L"<i " + m_strip + L" 2 0>";
    Draw(narrow, single.c_str(), 0xFF000000, 0, RECT{0, 0, 15, 40});
    EXPECT_EQ(CountColor(narrow, 0xFF0000), 10 * 12);
    EXPECT_EQ(CountColor(narrow, 0x00FF00), 5 * 12) << "the cell is clipped at the rect's right";
}

TEST_F(HtmlImages, ImageIsCentredOnATallerLine)
{
    RenderCanvas canvas(100, 60, 0x00FFFFFF);
    const std::wstring markup = L"<y 40><i " + m_strip + L" 4 0>";
    Draw(canvas, markup.c_str(), 0xFF000000, DT_SINGLELINE, RECT{0, 0, 100, 60});
    const RECT ink = InkBounds(canvas);
    EXPECT_EQ(ink.top, 14);
    EXPECT_EQ(ink.bottom, 26);
}

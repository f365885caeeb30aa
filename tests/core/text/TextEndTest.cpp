// Texts that end where the next page has no access: the markup reader and plain text drawing must
// stop at the terminator, whatever tag, escape or entity the text breaks off in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/PageEnd.h"
#include "TextTestSupport.h"
#include "render/UIRender.h"
#include "utils/UIString.h"

using ZvUI::CPaintManagerUI;
using ZvUI::CUIRender;
using ZvUI::CUIString;

namespace {

// The text as a test failure names it: controls written out.
std::string Shown(const std::wstring& text)
{
    std::string out = "\"";
    for (wchar_t c : text) {
        if (c == L'\n')
            out += "\\n";
        else if (c >= 0x20 && c < 0x7F)
            out += static_cast<char>(c);
        else
            out += "?";
    }
    return out + "\"";
}

struct Way {
    const char* name;
    bool markup;
    bool gdiplus;
    UINT style;
    RECT rc;
};

// Each tail is read in every way the controls use: measured, drawn on one line and on several,
// wrapped at a narrow width, cut with an ellipsis, centred; and as plain text through GDI and GDI+.
const Way kWays[] = {
    {"markup measured", true, false, DT_CALCRECT | DT_SINGLELINE, {0, 0, 9999, 100}},
    {"markup measured, lines", true, false, DT_CALCRECT | DT_WORDBREAK, {0, 0, 12, 9999}},
    {"markup drawn", true, false, 0, {0, 0, 120, 40}},
    {"markup wrapped", true, false, DT_WORDBREAK, {0, 0, 12, 40}},
    {"markup ellipsis", true, false, DT_SINGLELINE | DT_END_ELLIPSIS, {0, 0, 14, 20}},
    {"markup centred", true, false, DT_SINGLELINE | DT_CENTER | DT_VCENTER, {0, 0, 120, 40}},
    {"plain GDI", false, false, DT_SINGLELINE, {0, 0, 120, 40}},
    {"plain GDI+", false, true, DT_SINGLELINE | DT_CALCRECT, {0, 0, 120, 40}},
};

class TextEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_pages.Ready());
        m_pm.AddFont(1, kFace, 12, false, false, false);
    }

    // The ways that read past the text's end, empty when none does.
    std::string Overruns(const std::wstring& text, const std::vector<Way>& ways = {std::begin(kWays), std::end(kWays)})
    {
        std::string failed;
        RenderCanvas canvas(120, 40);
        for (const Way& way : ways) {
            m_pm.SetUseGdiplusText(way.gdiplus);
            LPCWSTR placed = m_pages.Place(text);
            RECT rc = way.rc;
            if (way.markup) {
                RECT links[2] = {};
                CUIString texts[2];
                int count = 2;
                CUIRender::DrawHtmlText(canvas.DC(), &m_pm, rc, placed, 0xFF000000, links, texts, count, 1,
                                        way.style);
            } else {
                CUIRender::DrawText(canvas.DC(), &m_pm, rc, placed, 0xFF000000, 1, way.style);
            }
            if (m_pages.Overruns() > 0)
                failed += std::string(failed.empty() ? "" : ", ") + way.name;
        }
        m_pm.SetUseGdiplusText(false);
        return failed;
    }

    PageEnd m_pages;
    CPaintManagerUI m_pm;
};

// Everything that can come before the tail: nothing, a word, a word that fills the narrow line,
// an open link and raw text.
const wchar_t* const kLeads[] = {L"", L"x", L"xxxx ", L"<a go>x", L"<r>"};

} // namespace

TEST_F(TextEnd, NoTailReadsPastTheTerminator)
{
    const wchar_t* const tails[] = {
        // openers and escapes cut short
        L"<", L"{", L"<{", L"<}", L"{<", L"{>", L"<<", L"{{",
        // tags cut before their closer
        L"</", L"{/", L"</b", L"</a", L"</r", L"<a", L"<a ", L"<a go", L"<b", L"<b ", L"<c", L"<c ", L"<c #",
        L"<c #ff", L"<f", L"<f ", L"<f 1", L"<f Tahoma", L"<f Tahoma ", L"<f Tahoma 12", L"<f Tahoma 12 bold",
        L"<i", L"<i ", L"<i a", L"<i a 2", L"<i a 2 1", L"<i file='", L"<i file='a", L"<i file='a'",
        L"<i file='a' ", L"<i file='a' restype='", L"<n", L"<p", L"<p ", L"<p 4", L"<r", L"<r ", L"<s", L"<u",
        L"<x", L"<x ", L"<x 3", L"<y", L"<y ", L"<y 9", L"<z ",
        // raw text cut in its closing tag
        L"<r>y<", L"<r>y</", L"<r>y</r", L"<r>y{/r",
        // entities of plain text
        L"&", L"&#", L"&#x", L"&#x4", L"&#x41", L"&#x41;", L"&#x41 ",
        // blanks and line ends
        L" ", L"\n", L"x\n<",
    };
    for (const wchar_t* tail : tails) {
        for (const wchar_t* lead : kLeads) {
            const std::wstring text = std::wstring(lead) + tail;
            EXPECT_EQ(Overruns(text), "") << Shown(text);
        }
    }
}

TEST_F(TextEnd, NoShortTailOfMarkupCharactersReadsPast)
{
    // Every tail of up to three characters over the characters the reader looks at.
    const std::wstring alphabet = L"<{>}/ abcfinprsuxy#&;='1W";
    std::vector<std::wstring> tails;
    for (wchar_t a : alphabet) {
        tails.push_back(std::wstring(1, a));
        for (wchar_t b : alphabet) {
            tails.push_back(std::wstring{a, b});
            for (wchar_t c : alphabet)
                tails.push_back(std::wstring{a, b, c});
        }
    }
    // The reader's paths, less the ways that only cut or align the same runs.
    const std::vector<Way> ways = {kWays[0], kWays[2], kWays[3], kWays[6]};
    int failures = 0;
    for (const std::wstring& tail : tails) {
        for (const wchar_t* lead : {L"x", L"<r>"}) {
            const std::wstring text = lead + tail;
            const std::string failed = Overruns(text, ways);
            if (!failed.empty() && ++failures <= 20)
                ADD_FAILURE() << Shown(text) << " reads past its end: " << failed;
        }
    }
    EXPECT_EQ(failures, 0) << "of " << 2 * tails.size() << " texts";
}

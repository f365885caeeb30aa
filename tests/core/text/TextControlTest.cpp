// Text control: links collected while painting, the hand cursor, and "link" on a real click.
#include "control/TextUI.h"

#include <gtest/gtest.h>

#include <memory>

#include "ControlsTestSupport.h"
#include "TextTestSupport.h"

using ZvUI::CPaintManagerUI;
using ZvUI::CTextUI;
using ZvUI::UIControlEvent;

namespace {

class TextControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_text = new CTextUI;
        m_window = std::make_unique<RootWindow>(m_pm, m_text, RECT{0, 0, 300, 100});
        m_pm.AddFont(1, kFace, 14, false, false, false);
        m_text->SetFont(1);
        m_text->SetShowHtml(true);
        m_text->SetText(L"See the <a agreement>agreement</a> and <a privacy>terms</a>.");
        PaintOnce();
    }
    void PaintOnce()
    {
        RenderCanvas canvas(300, 100, 0x00FFFFFF);
        m_text->Paint(canvas.DC(), RECT{0, 0, 300, 100}, nullptr);
    }
    POINT Centre(int link) const
    {
        const RECT rc = m_text->GetLinkRect(link);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }

    CPaintManagerUI m_pm;
    CTextUI* m_text = nullptr;
    std::unique_ptr<RootWindow> m_window;
};

} // namespace

TEST_F(TextControl, DefaultsAndIdentity)
{
    CTextUI text;
    EXPECT_EQ(text.GetTextStyle(), static_cast<UINT>(DT_WORDBREAK));
    EXPECT_EQ(text.GetTextPadding().left, 2);
    EXPECT_EQ(text.GetTextPadding().right, 2);
    EXPECT_EQ(text.GetTextPadding().top, 0);
    EXPECT_STREQ(text.GetClass(), L"TextUI");
    EXPECT_EQ(text.GetInterface(L"text"), &text);
    EXPECT_EQ(text.GetInterface(L"Label"), static_cast<ZvUI::CLabelUI*>(&text));
    EXPECT_EQ(text.GetLinkContent(0), nullptr);
    EXPECT_EQ(text.GetControlFlags(), 0u) << "no links, no hand cursor";
}

TEST_F(TextControl, PaintingCollectsTheLinks)
{
    ASSERT_EQ(m_text->GetLinkCount(), 2);
    EXPECT_STREQ(*m_text->GetLinkContent(0), L"agreement");
    EXPECT_STREQ(*m_text->GetLinkContent(1), L"privacy");
    EXPECT_EQ(m_text->GetLinkContent(2), nullptr);
    EXPECT_EQ(m_text->GetLinkContent(-1), nullptr);
    EXPECT_EQ(m_text->GetControlFlags(), static_cast<UINT>(ZvUI::ControlFlagSetCursor));
    // The padding of 2 pixels moves the text.
    EXPECT_EQ(m_text->GetLinkRect(0).left, 2 + Extent(m_pm.GetFont(1), L"See the ").cx);
}

TEST_F(TextControl, ClickOnALinkSendsItsIndex)
{
    const POINT second = Centre(1);
    m_window->Click(second.x, second.y);
    ASSERT_EQ(m_window->log.Count(L"link"), 1);
    for (const NotifyLog::Entry& e : m_window->log.entries) {
        if (e.type == L"link") {
            EXPECT_EQ(e.wParam, 1u);
            EXPECT_EQ(e.sender, m_text);
        }
    }
    const POINT first = Centre(0);
    m_window->Click(first.x, first.y);
    EXPECT_EQ(m_window->log.Count(L"link"), 2);
    EXPECT_EQ(m_window->log.entries.back().wParam, 0u);
}

TEST_F(TextControl, ReleaseOutsideTheLinksSendsNothing)
{
    const POINT link = Centre(0);
    m_window->Move(link.x, link.y);
    m_window->Down(link.x, link.y);
    m_window->Move(290, 90, true);
    m_window->Up(290, 90);
    EXPECT_EQ(m_window->log.Count(L"link"), 0);
    m_window->Click(290, 90);
    EXPECT_EQ(m_window->log.Count(L"link"), 0);
}

TEST_F(TextControl, DisabledOrPlainTextSendsNoLink)
{
    m_text->SetEnabled(false);
    PaintOnce();
    const POINT link = Centre(0);
    m_window->Click(link.x, link.y);
    EXPECT_EQ(m_window->log.Count(L"link"), 0);
    EXPECT_EQ(m_text->GetControlFlags(), 0u);

    m_text->SetEnabled(true);
    m_text->SetShowHtml(false);
    PaintOnce();
    EXPECT_EQ(m_text->GetLinkCount(), 0) << "plain text has no links to hit";
    m_window->Click(link.x, link.y);
    EXPECT_EQ(m_window->log.Count(L"link"), 0);
}

TEST_F(TextControl, HandCursorOverALinkOnly)
{
    UIControlEvent event;
    event.type = ZvUI::EventSetCursor;
    event.sender = m_text;
    event.mousePoint = Centre(0);
    m_text->Event(event);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    event.mousePoint = POINT{290, 90};
    m_text->Event(event);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(TextControl, HoverFollowsTheMouseAndRecolours)
{
    m_pm.SetLinkHoverColor(0xFFFF0000);
    m_text->SetTextColor(0xFF000000);
    const POINT link = Centre(1);
    m_window->Move(link.x, link.y);
    EXPECT_EQ(m_text->GetHoverLink(), 1);
    RenderCanvas canvas(300, 100, 0x00FFFFFF);
    m_text->Paint(canvas.DC(), RECT{0, 0, 300, 100}, nullptr);
    EXPECT_GT(CountColor(canvas, 0xFF0000, m_text->GetLinkRect(1)), 0);
    EXPECT_EQ(CountColor(canvas, 0xFF0000, m_text->GetLinkRect(0)), 0);
    m_window->Move(290, 90);
    EXPECT_EQ(m_text->GetHoverLink(), -1);
}

TEST_F(TextControl, FewerLinksLeaveNoStaleRectangles)
{
    m_text->SetText(L"only <a one>one</a> link");
    PaintOnce();
    EXPECT_EQ(m_text->GetLinkCount(), 1);
    const RECT gone = m_text->GetLinkRect(1);
    EXPECT_TRUE(::IsRectEmpty(&gone));
    m_text->SetText(L"");
    PaintOnce();
    EXPECT_EQ(m_text->GetLinkCount(), 0);
}

TEST_F(TextControl, EstimateWithAutoWidthStoresTheTextWidth)
{
    m_text->SetAutoCalcWidth(true);
    m_text->SetShowHtml(false);
    m_text->SetText(L"Velmora");
    const SIZE size = m_text->EstimateSize(SIZE{500, 500});
    EXPECT_EQ(size.cx, Extent(m_pm.GetFont(1), L"Velmora").cx + 4);
}

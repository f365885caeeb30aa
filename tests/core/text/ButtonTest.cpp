// Button: real clicks and drags through the manager, keys, rich events, state looks cut from one
// strip and checked on DIB pixels, colours, and the tab binding.
#include "control/ButtonUI.h"

#include <gtest/gtest.h>

#include <memory>

#include "ControlsTestSupport.h"
#include "TextTestSupport.h"
#include "layout/TabLayoutUI.h"
#include "layout/VerticalLayoutUI.h"

using ZvUI::CButtonUI;
using ZvUI::CControlUI;
using ZvUI::CLabelUI;
using ZvUI::CPaintManagerUI;
using ZvUI::UIControlEvent;

namespace {

constexpr RECT kButton = {20, 20, 80, 50};

class Button : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_button = new CButtonUI;
        m_button->SetName(L"installBtn");
        m_window = std::make_unique<RootWindow>(m_pm, m_button, kButton);
    }
    void Key(WPARAM key)
    {
        UIControlEvent event;
        event.type = ZvUI::EventKeyDown;
        event.sender = m_button;
        event.keyChar = static_cast<wchar_t>(key);
        m_button->Event(event);
    }
    UINT State() const { return m_button->GetButtonState(); }

    CPaintManagerUI m_pm;
    CButtonUI* m_button = nullptr;
    std::unique_ptr<RootWindow> m_window;
};

// Records what reaches it from a child that is not mouse-enabled.
class EventSink : public CControlUI {
public:
    void DoEvent(UIControlEvent& event) override { last = event.type; }
    int last = 0;
};

} // namespace

TEST_F(Button, ClickSendsOneNotification)
{
    m_window->Click(50, 35);
    EXPECT_EQ(m_window->log.Count(L"click"), 1);
    EXPECT_EQ(State() & (ZvUI::ButtonStatePushed | ZvUI::ButtonStateCaptured), 0u);
    EXPECT_NE(State() & ZvUI::ButtonStateHot, 0u);
}

TEST_F(Button, DragOutAndReleaseIsNoClick)
{
    m_window->Move(50, 35);
    m_window->Down(50, 35);
    EXPECT_NE(State() & ZvUI::ButtonStatePushed, 0u);
    EXPECT_NE(State() & ZvUI::ButtonStateCaptured, 0u);
    m_window->Move(150, 120, true);
    EXPECT_EQ(State() & ZvUI::ButtonStatePushed, 0u) << "the pushed look goes with the pointer";
    m_window->Up(150, 120);
    EXPECT_EQ(m_window->log.Count(L"click"), 0);
    EXPECT_EQ(State() & (ZvUI::ButtonStatePushed | ZvUI::ButtonStateCaptured), 0u);
}

TEST_F(Button, DragOutAndBackStillClicks)
{
    m_window->Move(50, 35);
    m_window->Down(50, 35);
    m_window->Move(150, 120, true);
    m_window->Move(60, 40, true);
    EXPECT_NE(State() & ZvUI::ButtonStatePushed, 0u);
    m_window->Up(60, 40);
    EXPECT_EQ(m_window->log.Count(L"click"), 1);
}

TEST_F(Button, DoubleClickPressesAgainButOnlyTheUpClicks)
{
    m_window->Click(50, 35);
    m_window->Send(WM_LBUTTONDBLCLK, 50, 35, MK_LBUTTON);
    EXPECT_EQ(m_window->log.Count(L"click"), 1);
    EXPECT_NE(State() & ZvUI::ButtonStatePushed, 0u);
    m_window->Up(50, 35);
    EXPECT_EQ(m_window->log.Count(L"click"), 2);
}

TEST_F(Button, DisabledButtonIgnoresPresses)
{
    m_button->SetRichEvent(true);
    m_button->SetEnabled(false);
    EXPECT_EQ(State(), static_cast<UINT>(ZvUI::ButtonStateDisabled));
    m_window->Click(50, 35);
    EXPECT_EQ(m_window->log.Count(L"click"), 0);
    EXPECT_EQ(m_window->log.Count(L"buttondown"), 0);
    EXPECT_EQ(State() & ZvUI::ButtonStateCaptured, 0u);
    EXPECT_FALSE(m_button->Activate());
    m_button->SetEnabled(true);
    EXPECT_EQ(State(), 0u);
    EXPECT_TRUE(m_button->Activate());
    EXPECT_EQ(m_window->log.Count(L"click"), 1);
}

TEST_F(Button, SpaceAndReturnClickOtherKeysDoNot)
{
    Key(VK_SPACE);
    Key(VK_RETURN);
    Key('A');
    EXPECT_EQ(m_window->log.Count(L"click"), 2);
    m_button->SetKeyboardEnabled(false);
    Key(VK_SPACE);
    EXPECT_EQ(m_window->log.Count(L"click"), 2);
    EXPECT_EQ(m_button->GetControlFlags(), static_cast<UINT>(ZvUI::ControlFlagSetCursor));
    m_button->SetKeyboardEnabled(true);
    EXPECT_EQ(m_button->GetControlFlags(), static_cast<UINT>(ZvUI::ControlFlagSetCursor | ZvUI::ControlFlagTabStop));
}

TEST_F(Button, RichEventsOnlyWhenAskedFor)
{
    m_window->Click(50, 35);
    m_window->Move(150, 120);
    EXPECT_EQ(m_window->log.Count(L"buttondown"), 0);
    EXPECT_EQ(m_window->log.Count(L"mouseenter"), 0);
    m_button->SetRichEvent(true);
    m_window->Click(50, 35);
    m_window->Move(150, 120);
    EXPECT_EQ(m_window->log.Count(L"buttondown"), 1);
    EXPECT_EQ(m_window->log.Count(L"mouseenter"), 1);
    EXPECT_EQ(m_window->log.Count(L"mouseleave"), 1);
    EXPECT_EQ(State() & ZvUI::ButtonStateHot, 0u);
}

TEST(ButtonParent, MouseDisabledButtonPassesEventsUp)
{
    CPaintManagerUI pm;
    EventSink parent;
    CButtonUI button;
    button.SetManager(&pm, &parent, false);
    button.SetPos(kButton, false);
    button.SetMouseEnabled(false);
    UIControlEvent event;
    event.type = ZvUI::EventButtonDown;
    event.mousePoint = POINT{50, 35};
    button.Event(event);
    EXPECT_EQ(parent.last, ZvUI::EventButtonDown);
    EXPECT_EQ(button.GetButtonState(), 0u);
}

// --- looks ---

class ButtonLooks : public Button {
protected:
    void SetUp() override
    {
        Button::SetUp();
        // Normal red, hot green, pushed blue, disabled yellow; 10 x 10 each.
        m_strip = WriteStripBmp(L"zv_button_strip.bmp", {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}, 10, 10);
    }
    DWORD Look()
    {
        RenderCanvas canvas(100, 70, 0x00FFFFFF);
        m_button->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
        return canvas.Rgb(50, 35);
    }
    std::wstring m_strip;
};

TEST_F(ButtonLooks, StripGivesEveryStateItsFrame)
{
    m_button->SetAttribute(L"stateimage", m_strip.c_str());
    m_button->SetAttribute(L"statecount", L"4");
    EXPECT_EQ(Look(), 0xFF0000u);
    EXPECT_NE(m_button->GetNormalImage().Find(L"source='0,0,10,10'"), -1);
    EXPECT_NE(m_button->GetHotImage().Find(L"source='10,0,20,10'"), -1);
    EXPECT_NE(m_button->GetPushedImage().Find(L"source='20,0,30,10'"), -1);
    EXPECT_NE(m_button->GetDisabledImage().Find(L"source='30,0,40,10'"), -1);
    EXPECT_TRUE(m_button->GetFocusedImage().IsEmpty());
    m_window->Move(50, 35);
    EXPECT_EQ(Look(), 0x00FF00u);
    m_window->Down(50, 35);
    EXPECT_EQ(Look(), 0x0000FFu);
    m_window->Up(50, 35);
    m_button->SetEnabled(false);
    EXPECT_EQ(Look(), 0xFFFF00u);
}

TEST_F(ButtonLooks, TwoFramesPushShowsTheHotFrame)
{
    const std::wstring pair = WriteStripBmp(L"zv_button_pair.bmp", {0xFF0000, 0x00FF00}, 10, 10);
    m_button->SetAttribute(L"stateimage", pair.c_str());
    m_button->SetAttribute(L"statecount", L"2");
    m_window->Move(50, 35);
    m_window->Down(50, 35);
    EXPECT_EQ(Look(), 0x00FF00u);
    EXPECT_TRUE(m_button->GetDisabledImage().IsEmpty());
}

TEST_F(ButtonLooks, NormalImageOrderDecidesTheCut)
{
    const std::wstring blue = L"file='" + m_strip + L"' source='20,0,30,10'";
    m_button->SetAttribute(L"normalimage", blue.c_str());
    m_button->SetAttribute(L"stateimage", m_strip.c_str());
    m_button->SetAttribute(L"statecount", L"4");
    EXPECT_EQ(Look(), 0xFF0000u) << "the strip replaces an earlier normal image";

    m_button->SetAttribute(L"normalimage", blue.c_str());
    EXPECT_EQ(Look(), 0x0000FFu) << "a later normal image stays and nothing is cut";
}

TEST_F(ButtonLooks, DisabledWindowShowsTheNormalLook)
{
    m_button->SetAttribute(L"stateimage", m_strip.c_str());
    m_button->SetAttribute(L"statecount", L"4");
    m_window->Move(50, 35);
    ::EnableWindow(m_window->Get(), FALSE);
    EXPECT_EQ(Look(), 0xFF0000u);
    ::EnableWindow(m_window->Get(), TRUE);
}

TEST_F(ButtonLooks, FocusedImageWhenNothingElseApplies)
{
    const std::wstring yellow = L"file='" + m_strip + L"' source='30,0,40,10'";
    m_button->SetAttribute(L"stateimage", m_strip.c_str());
    m_button->SetAttribute(L"statecount", L"2");
    m_button->SetAttribute(L"focusedimage", yellow.c_str());
    m_pm.SetFocus(m_button);
    EXPECT_EQ(Look(), 0xFFFF00u);
    EXPECT_NE(State() & ZvUI::ButtonStateFocused, 0u);
}

TEST_F(ButtonLooks, BackgroundColoursByState)
{
    m_button->SetAttribute(L"bkcolor", L"#FFFFFFFF");
    m_button->SetAttribute(L"hotbkcolor", L"#FF00FF00");
    m_button->SetAttribute(L"pushedbkcolor", L"FF0000FF");
    m_button->SetAttribute(L"disabledbkcolor", L"#FF808080");
    EXPECT_EQ(Look(), 0xFFFFFFu);
    m_window->Move(50, 35);
    EXPECT_EQ(Look(), 0x00FF00u);
    m_window->Down(50, 35);
    EXPECT_EQ(Look(), 0x0000FFu);
    m_window->Up(50, 35);
    m_button->SetEnabled(false);
    EXPECT_EQ(Look(), 0x808080u);
}

TEST_F(ButtonLooks, TextColourAndFontByState)
{
    m_pm.AddFont(1, kFace, 20, false, false, false);
    m_pm.AddFont(2, kFace, 10, false, false, false);
    m_button->SetFont(1);
    m_button->SetText(L"WWW");
    m_button->SetAttribute(L"textcolor", L"#FF000000");
    m_button->SetAttribute(L"hottextcolor", L"#FFFF0000");
    m_button->SetAttribute(L"pushedtextcolor", L"#FF0000FF");
    m_button->SetAttribute(L"pushedfont", L"2");
    RenderCanvas canvas(100, 70, 0x00FFFFFF);
    m_button->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
    EXPECT_GT(CountColor(canvas, 0x000000), 0);
    const RECT normal = InkBounds(canvas);
    EXPECT_NEAR((normal.left + normal.right) / 2, 50, 2) << "centred on one line";

    m_window->Move(50, 35);
    canvas.Fill(0x00FFFFFF);
    m_button->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
    EXPECT_GT(CountColor(canvas, 0xFF0000), 0);
    EXPECT_EQ(CountColor(canvas, 0x000000), 0);

    m_window->Down(50, 35);
    canvas.Fill(0x00FFFFFF);
    m_button->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
    EXPECT_GT(CountColor(canvas, 0x0000FF), 0);
    const RECT pushed = InkBounds(canvas);
    EXPECT_LT(pushed.right - pushed.left, normal.right - normal.left) << "the smaller pushed font";
    m_window->Up(50, 35);
}

// --- sized to its text ---

TEST(ButtonAutoSize, OnceSizedItPaintsWithoutAskingForLayoutAtEveryScale)
{
    // Below 100 % a width stored at 96 dpi does not always survive the trip to the screen and
    // back (at 75 % every fourth width from 2 on, at 50 % every odd one); the text's own width
    // does, the padding added to it may not.
    for (int dpi : {48, 72, 96, 120, 144, 192})
    for (LPCWSTR text : {L"a", L"ab", L"abc", L"Velmora", L"Velmora setup"}) {
        CPaintManagerUI pm;
        auto* root = new ZvUI::CVerticalLayoutUI;
        auto* button = new CButtonUI;
        button->SetText(text);
        button->SetAttribute(L"textpadding", L"1,0,0,0");
        button->SetAttribute(L"autotextsizeenable", L"true");
        root->Add(button);
        RootWindow window(pm, root, RECT{0, 0, 300, 60});
        pm.ApplyDpi(dpi);
        const RECT all = {0, 0, 300, 60};
        root->SetPos(all, false);
        button->Paint(pm.GetWindowDC(), all, nullptr);
        EXPECT_GT(button->GetFixedWidth(), 0) << dpi;
        for (int paint = 0; paint < 3; ++paint) {
            root->SetPos(all, false);
            button->Paint(pm.GetWindowDC(), all, nullptr);
            EXPECT_FALSE(root->IsUpdateNeeded()) << "paint " << paint << " at " << dpi << " dpi";
        }
    }
}

// --- attributes and tab binding ---

TEST(ButtonAttributes, StoredAsGiven)
{
    CButtonUI button;
    EXPECT_EQ(button.GetTextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
    EXPECT_STREQ(button.GetClass(), L"ButtonUI");
    EXPECT_EQ(button.GetInterface(L"button"), &button);
    EXPECT_EQ(button.GetInterface(L"Label"), static_cast<CLabelUI*>(&button));
    button.SetAttribute(L"focuedfont", L"5");
    button.SetAttribute(L"HotFont", L"6");
    button.SetAttribute(L"focusedtextcolor", L"#FF010203");
    button.SetAttribute(L"bindtabindex", L"2");
    button.SetAttribute(L"bindtabindex", L"-1");
    button.SetAttribute(L"bindtablayoutname", L"tabInstall");
    EXPECT_EQ(button.GetFocusedFont(), 5);
    EXPECT_EQ(button.GetHotFont(), 6);
    EXPECT_EQ(button.GetFocusedTextColor(), 0xFF010203u);
    EXPECT_EQ(button.GetBindTabLayoutIndex(), 2) << "a negative index is not stored";
    EXPECT_STREQ(button.GetBindTabLayoutName(), L"tabInstall");
    button.SetBindTabLayoutName(nullptr);
    EXPECT_STREQ(button.GetBindTabLayoutName(), L"tabInstall");
    button.RemoveBindTabLayout();
    EXPECT_EQ(button.GetBindTabLayoutIndex(), -1);
    EXPECT_TRUE(button.GetBindTabLayoutName().IsEmpty());
}

TEST_F(Button, TabBindingToSomethingElseIsIgnored)
{
    // The root is the button itself: the bound name names a button, not a tab layout.
    m_button->SetAttribute(L"bindtabindex", L"2");
    m_button->SetAttribute(L"bindtablayoutname", L"installBtn");
    m_window->Click(50, 35);
    EXPECT_EQ(m_window->log.Count(L"click"), 1);
    EXPECT_EQ(m_window->log.Count(L"tabselect"), 0);
    m_button->SetAttribute(L"bindtablayoutname", L"noSuchControl");
    m_window->Click(50, 35);
    EXPECT_EQ(m_window->log.Count(L"click"), 2);
}

TEST(ButtonTabBinding, EachClickSelectsTheBoundPage)
{
    CPaintManagerUI pm;
    auto* root = new ZvUI::CVerticalLayoutUI;
    auto* button = new CButtonUI;
    auto* tabs = new ZvUI::CTabLayoutUI;
    tabs->SetName(L"tabInstall");
    for (int i = 0; i < 4; ++i)
        tabs->Add(new CControlUI);
    root->Add(button);
    root->Add(tabs);
    RootWindow window(pm, root, RECT{0, 0, 300, 200});
    button->SetAttribute(L"bindtabindex", L"2");
    button->SetAttribute(L"bindtablayoutname", L"tabInstall");
    ASSERT_EQ(tabs->GetCurSel(), 0);
    EXPECT_TRUE(button->Activate());
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_EQ(window.log.Count(L"tabselect"), 1);
    tabs->SelectItem(0);
    EXPECT_TRUE(button->Activate());
    EXPECT_EQ(tabs->GetCurSel(), 2);
    button->BindTabLayout(3);
    EXPECT_EQ(tabs->GetCurSel(), 3) << "an explicit index wins over the bound one";
    // The first "click" is raised before the page changes.
    EXPECT_EQ(window.log.entries.front().type, L"click");
}

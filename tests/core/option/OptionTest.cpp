// Option and check box: group selection and toggling driven by real mouse messages with the
// notification order, attributes, group membership, and the selected looks on DIB pixels.
#include "control/OptionUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "TextTestSupport.h"
#include "control/CheckBoxUI.h"
#include "layout/ContainerUI.h"

using ZvUI::CCheckBoxUI;
using ZvUI::CContainerUI;
using ZvUI::COptionUI;
using ZvUI::CPaintManagerUI;

namespace {

// Three options side by side, 40 x 20 each, at x = 10, 60, 110; a check box below at (10, 50).
class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* root = new CContainerUI;
        for (int i = 0; i < 3; ++i) {
            m_options[i] = new COptionUI;
            root->Add(m_options[i]);
        }
        m_check = new CCheckBoxUI;
        root->Add(m_check);
        m_options[0]->SetAttribute(L"group", L"g");
        m_options[1]->SetAttribute(L"group", L"g");
        m_options[2]->SetAttribute(L"group", L"g");
        m_options[0]->SetAttribute(L"selected", L"true");
        m_window = std::make_unique<RootWindow>(m_pm, root, RECT{0, 0, 300, 200});
        for (int i = 0; i < 3; ++i)
            m_options[i]->SetPos(RECT{10 + 50 * i, 10, 50 + 50 * i, 30}, false);
        m_check->SetPos(RECT{10, 50, 50, 70}, false);
    }
    void ClickOption(int i) { m_window->Click(30 + 50 * i, 20); }
    // The option notifications as "type:sender-index:wParam" entries.
    std::vector<std::wstring> Log() const
    {
        std::vector<std::wstring> out;
        for (const auto& e : m_window->log.entries) {
            // Focus moves with the press; its notifications are the manager's, not the option's.
            if (e.type == L"setfocus" || e.type == L"killfocus")
                continue;
            int who = e.sender == m_check ? 9 : -1;
            for (int i = 0; i < 3; ++i)
                who = e.sender == m_options[i] ? i : who;
            out.push_back(e.type + L":" + std::to_wstring(who) + L":" + std::to_wstring(e.wParam));
        }
        return out;
    }

    CPaintManagerUI m_pm;
    COptionUI* m_options[3] = {};
    CCheckBoxUI* m_check = nullptr;
    std::unique_ptr<RootWindow> m_window;
};

using Entries = std::vector<std::wstring>;

} // namespace

TEST_F(Options, GroupSelectsOne)
{
    ASSERT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 3);
    ASSERT_TRUE(m_options[0]->IsSelected());
    ClickOption(1);
    EXPECT_EQ(Log(), (Entries{L"click:1:0", L"selectchanged:1:0"})) << "the deselected member stays silent";
    EXPECT_FALSE(m_options[0]->IsSelected());
    EXPECT_TRUE(m_options[1]->IsSelected());
    EXPECT_FALSE(m_options[2]->IsSelected());
    EXPECT_NE(m_options[1]->GetButtonState() & ZvUI::ButtonStateSelected, 0u);
    EXPECT_EQ(m_options[0]->GetButtonState() & ZvUI::ButtonStateSelected, 0u);
}

TEST_F(Options, ClickOnTheSelectedMemberOnlyClicks)
{
    ClickOption(0);
    EXPECT_EQ(Log(), (Entries{L"click:0:0"}));
    EXPECT_TRUE(m_options[0]->IsSelected());
}

TEST_F(Options, WithoutGroupItToggles)
{
    m_options[2]->SetGroup(L"");
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 2);
    ClickOption(2);
    EXPECT_TRUE(m_options[2]->IsSelected());
    EXPECT_TRUE(m_options[0]->IsSelected()) << "no longer in the group";
    ClickOption(2);
    EXPECT_FALSE(m_options[2]->IsSelected());
    EXPECT_EQ(Log(), (Entries{L"click:2:0", L"selectchanged:2:0", L"click:2:0", L"selectchanged:2:0"}));
}

TEST_F(Options, AttributeOrderUnderTheManager)
{
    // "group" then "selected": the members before it are deselected.
    auto* late = new COptionUI;
    static_cast<CContainerUI*>(m_pm.GetRoot())->Add(late);
    late->SetAttribute(L"group", L"g");
    late->SetAttribute(L"selected", L"true");
    EXPECT_FALSE(m_options[0]->IsSelected());
    EXPECT_TRUE(late->IsSelected());
    // "selected" before "group" excludes nobody.
    auto* early = new COptionUI;
    static_cast<CContainerUI*>(m_pm.GetRoot())->Add(early);
    early->SetAttribute(L"selected", L"TRUE");
    early->SetAttribute(L"group", L"g");
    EXPECT_TRUE(late->IsSelected());
    EXPECT_TRUE(early->IsSelected());
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 5);
}

TEST_F(Options, RemovedOptionLeavesItsGroup)
{
    static_cast<CContainerUI*>(m_pm.GetRoot())->Remove(m_options[2]);
    ManagedWindow::Pump();
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 2);
    ClickOption(1);
    EXPECT_TRUE(m_options[1]->IsSelected());
}

TEST_F(Options, OptionMovedToAnotherManagerLeavesTheOldGroup)
{
    CPaintManagerUI other;
    auto* root = static_cast<CContainerUI*>(m_pm.GetRoot());
    root->SetAutoDestroy(false);
    root->Remove(m_options[2]);
    root->SetAutoDestroy(true);
    std::unique_ptr<COptionUI> moved(m_options[2]);
    moved->SetManager(&other, nullptr, true);
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 2);
    ASSERT_NE(other.GetOptionGroup(L"g"), nullptr);
    moved.reset();
    EXPECT_EQ(other.GetOptionGroup(L"g"), nullptr) << "an emptied group goes";
    ClickOption(1);
    EXPECT_TRUE(m_options[1]->IsSelected());
}

TEST_F(Options, AutoCheckTogglesOnThePress)
{
    m_check->SetAttribute(L"EnableAutoCheck", L"true");
    m_window->Move(30, 60);
    m_window->Down(30, 60);
    EXPECT_TRUE(m_check->IsChecked());
    EXPECT_EQ(Log(), (Entries{L"selectchanged:9:1", L"checkclick:9:0"}));
    m_window->Up(30, 60);
    EXPECT_EQ(m_window->log.Count(L"click"), 0) << "no click on release";
    m_window->Down(30, 60);
    m_window->Up(30, 60);
    EXPECT_FALSE(m_check->IsChecked());
    EXPECT_EQ(Log().at(2), L"selectchanged:9:0");
    EXPECT_EQ(Log().at(3), L"checkclick:9:0");
}

TEST_F(Options, CheckBoxWithoutAutoCheckIsAnOption)
{
    m_window->Click(30, 60);
    EXPECT_TRUE(m_check->IsChecked());
    EXPECT_EQ(Log(), (Entries{L"click:9:0", L"selectchanged:9:1"}));
    m_check->SetCheck(false);
    EXPECT_EQ(Log().back(), L"selectchanged:9:0");
    m_check->SetEnabled(false);
    m_window->Click(30, 60);
    EXPECT_EQ(Log().size(), 3u) << "a disabled box ignores the mouse";
}

// A parent that counts the presses passed on to it.
class PressCountingContainer : public CContainerUI {
public:
    void DoEvent(ZvUI::UIControlEvent& event) override
    {
        if (event.type == ZvUI::EventButtonDown)
            ++presses;
        CContainerUI::DoEvent(event);
    }
    int presses = 0;
};

TEST(CheckBoxMouse, MouseDisabledAutoCheckBoxPassesThePressToItsParent)
{
    CPaintManagerUI pm;
    auto* root = new PressCountingContainer;
    auto* check = new CCheckBoxUI;
    root->Add(check);
    RootWindow window(pm, root, RECT{0, 0, 300, 200});
    check->SetPos(RECT{10, 50, 50, 70}, false);
    check->SetAttribute(L"EnableAutoCheck", L"true");
    check->SetMouseEnabled(false);

    ZvUI::UIControlEvent press;
    press.type = ZvUI::EventButtonDown;
    press.mousePoint = POINT{30, 60};
    press.sender = check;
    check->DoEvent(press);
    EXPECT_FALSE(check->IsChecked());
    EXPECT_EQ(root->presses, 1);
    EXPECT_EQ(window.log.Count(L"checkclick"), 0);

    check->SetMouseEnabled(true);
    check->DoEvent(press);
    EXPECT_TRUE(check->IsChecked());
    EXPECT_EQ(root->presses, 1);
    EXPECT_EQ(window.log.Count(L"checkclick"), 1);
}

TEST(OptionIdentity, ClassesAndInterfaces)
{
    COptionUI option;
    CCheckBoxUI check;
    EXPECT_STREQ(option.GetClass(), L"OptionUI");
    EXPECT_STREQ(check.GetClass(), L"CheckBoxUI");
    EXPECT_EQ(option.GetInterface(L"option"), &option);
    EXPECT_EQ(check.GetInterface(L"CheckBox"), &check);
    EXPECT_EQ(check.GetInterface(L"Option"), static_cast<COptionUI*>(&check));
    EXPECT_NE(option.GetInterface(L"Button"), nullptr);
    EXPECT_EQ(option.GetInterface(L"CheckBox"), nullptr);
    // Without a manager only the flag changes.
    option.SetAttribute(L"group", L"g");
    option.Selected(true);
    EXPECT_TRUE(option.IsSelected());
}

// --- looks ---

namespace {

class OptionLooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_option = new COptionUI;
        m_window = std::make_unique<RootWindow>(m_pm, m_option, RECT{20, 20, 80, 50});
        // Selected red, selected hot green, selected pushed blue; normal yellow.
        m_strip = WriteStripBmp(L"zv_option_strip.bmp", {0xFF0000, 0x00FF00, 0x0000FF}, 30, 10);
        m_yellow = WriteStripBmp(L"zv_option_yellow.bmp", {0xFFFF00}, 10, 10);
    }
    DWORD Look()
    {
        RenderCanvas canvas(100, 70, 0x00FFFFFF);
        m_option->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
        return canvas.Rgb(50, 35);
    }

    CPaintManagerUI m_pm;
    COptionUI* m_option = nullptr;
    std::unique_ptr<RootWindow> m_window;
    std::wstring m_strip;
    std::wstring m_yellow;
};

} // namespace

TEST_F(OptionLooks, SelectedStripGivesThreeFrames)
{
    m_option->SetAttribute(L"normalimage", m_yellow.c_str());
    m_option->SetAttribute(L"selectedstateimage", m_strip.c_str());
    m_option->SetAttribute(L"selectedstatecount", L"3");
    EXPECT_EQ(Look(), 0xFFFF00u) << "not selected: the button's look";
    m_option->Selected(true);
    EXPECT_EQ(Look(), 0xFF0000u);
    EXPECT_NE(m_option->GetSelectedImage().Find(L"source='0,0,30,10'"), -1);
    EXPECT_NE(m_option->GetSelectedHotImage().Find(L"source='30,0,60,10'"), -1);
    EXPECT_NE(m_option->GetSelectedPushedImage().Find(L"source='60,0,90,10'"), -1);
    m_window->Move(50, 35);
    EXPECT_EQ(Look(), 0x00FF00u);
    m_window->Down(50, 35);
    EXPECT_EQ(Look(), 0x0000FFu);
    m_window->Up(50, 35);
    EXPECT_FALSE(m_option->IsSelected()) << "the release toggled it back";
    EXPECT_EQ(Look(), 0xFFFF00u);
}

TEST_F(OptionLooks, SelectedWithoutImagesDrawsNoStatusImage)
{
    m_option->SetAttribute(L"normalimage", m_yellow.c_str());
    m_option->Selected(true);
    EXPECT_EQ(Look(), 0xFFFFFFu) << "the normal image is never drawn for a selected option";
}

TEST_F(OptionLooks, SelectedBackgroundReplacesTheOwn)
{
    m_option->SetAttribute(L"bkcolor", L"#FF00FF00");
    EXPECT_EQ(Look(), 0x00FF00u);
    m_option->Selected(true);
    EXPECT_EQ(Look(), 0xFFFFFFu) << "no selected colour: no background at all";
    m_option->SetAttribute(L"selectedbkcolor", L"#FF0000FF");
    EXPECT_EQ(Look(), 0x0000FFu);
}

TEST_F(OptionLooks, SelectedForeImageOverTheFore)
{
    const std::wstring blue = L"file='" + m_strip + L"' source='60,0,90,10'";
    m_option->SetAttribute(L"foreimage", m_yellow.c_str());
    m_option->SetAttribute(L"selectedforeimage", blue.c_str());
    EXPECT_EQ(Look(), 0xFFFF00u);
    m_option->Selected(true);
    EXPECT_EQ(Look(), 0x0000FFu);
}

TEST_F(OptionLooks, EnableCycleKeepsTheSelectedLooks)
{
    m_pm.AddFont(1, kFace, 20, false, false, false);
    m_option->SetFont(1);
    m_option->SetText(L"WWW");
    m_option->SetAttribute(L"textcolor", L"#FF000000");
    m_option->SetAttribute(L"selectedtextcolor", L"#FFFF0000");
    m_option->SetAttribute(L"selectedstateimage", m_strip.c_str());
    m_option->SetAttribute(L"selectedstatecount", L"3");
    m_option->Selected(true);
    m_option->SetEnabled(false);
    m_option->SetEnabled(true);
    EXPECT_TRUE(m_option->IsSelected());
    RenderCanvas canvas(100, 70, 0x00FFFFFF);
    m_option->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
    EXPECT_EQ(canvas.Rgb(22, 22), 0xFF0000u) << "the selected image";
    EXPECT_GT(CountColor(canvas, 0xFF0000, RECT{20, 20, 80, 50}), 0);
    m_option->SetBkImage(L"");
    // The text alone, on white: drawn in the selected colour, not the normal one.
    m_option->SetSelectedImage(L"");
    m_option->SetSelectedStateImage(L"");
    canvas.Fill(0x00FFFFFF);
    m_option->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
    EXPECT_GT(CountColor(canvas, 0xFF0000), 0);
    EXPECT_EQ(CountColor(canvas, 0x000000), 0);
    EXPECT_EQ(m_option->GetTextColor(), 0xFF000000u) << "the label's own colour is put back";
}

TEST_F(OptionLooks, SelectedFontReplacesTheLabelFont)
{
    m_pm.AddFont(1, kFace, 20, false, false, false);
    m_pm.AddFont(2, kFace, 10, false, false, false);
    m_option->SetFont(1);
    m_option->SetText(L"WWW");
    m_option->SetAttribute(L"textcolor", L"#FF000000");
    RenderCanvas canvas(100, 70, 0x00FFFFFF);
    m_option->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
    const RECT normal = InkBounds(canvas);
    m_option->SetAttribute(L"selectedfont", L"2");
    m_option->Selected(true);
    canvas.Fill(0x00FFFFFF);
    m_option->Paint(canvas.DC(), RECT{0, 0, 100, 70}, nullptr);
    const RECT selected = InkBounds(canvas);
    EXPECT_LT(selected.right - selected.left, normal.right - normal.left);
    EXPECT_GT(CountColor(canvas, 0x000000), 0) << "no selected colour: the label's";
}

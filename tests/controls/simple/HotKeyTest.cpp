// Hot-key input: a combination typed as real key messages into the native control, clearing,
// Enter, the disabled state, closing on focus loss, key names, and an input destroyed mid-edit.
#include "simple/HotKeyUI.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "ControlHost.h"
#include "layout/ContainerUI.h"

using control_test::ControlHost;
using control_test::NotifyLog;
using ZvUI::CContainerUI;
using ZvUI::CHotKeyUI;
using ZvUI::CUIString;

namespace {

CUIString LayoutName(WORD virtualKey, bool extended)
{
    LONG scan = static_cast<LONG>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    if (extended)
        scan |= 0x01000000;
    wchar_t name[261] = {};
    ::GetKeyNameTextW(scan, name, 260);
    return CUIString(name);
}

class HotKey : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = new CContainerUI;
        input = new CHotKeyUI;
        root->Add(input);
        host.SetRoot(root, RECT{0, 0, 200, 100});
        input->SetPos(RECT{10, 10, 190, 40}, false);
        ASSERT_TRUE(host.Manager().AddNotifyListener(&log));
    }
    void Key(WPARAM vk) { ::SendMessageW(input->GetNativeWindow(), WM_KEYDOWN, vk, 0); }
    void Focus()
    {
        host.Manager().SetFocus(input);
        ASSERT_NE(input->GetNativeWindow(), nullptr);
    }

    ControlHost host{200, 100};
    CContainerUI* root = nullptr;
    CHotKeyUI* input = nullptr;
    NotifyLog log;
};

} // namespace

TEST_F(HotKey, TypedCombinationBecomesTheTextAndNotifies)
{
    Focus();
    Key(VK_CONTROL);
    Key(VK_SHIFT);
    Key('A');
    EXPECT_EQ(input->GetHotKey(), ((HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8) | 'A');
    const CUIString expected =
        LayoutName(VK_CONTROL, false) + L" + " + LayoutName(VK_SHIFT, false) + L" + " + LayoutName('A', false);
    EXPECT_STREQ(input->GetText().GetData(), expected.GetData());
    EXPECT_GE(log.Count(L"textchanged"), 1u);
}

TEST_F(HotKey, ModifierAloneClearsTheKeyToNone)
{
    Focus();
    Key('B');
    Key(VK_MENU);
    WORD vk = 1;
    WORD modifiers = 1;
    input->GetHotKey(vk, modifiers);
    EXPECT_EQ(vk, 0);
    EXPECT_EQ(modifiers, 0);
    EXPECT_STREQ(input->GetText().GetData(), L"无");
}

TEST_F(HotKey, EnterNotifiesReturnAndLeavesTheCombination)
{
    Focus();
    Key('C');
    const WORD before = input->GetHotKey();
    Key(VK_RETURN);
    EXPECT_EQ(log.Count(L"return"), 1u);
    EXPECT_EQ(input->GetHotKey(), before);
}

TEST_F(HotKey, DisabledInputOpensNoWindowAndShowsNoHotState)
{
    input->SetEnabled(false);
    host.Manager().SetFocus(input);
    EXPECT_EQ(input->GetNativeWindow(), nullptr);
    host.Move(50, 20, 0);
    EXPECT_EQ(input->GetHotKeyState() & ZvUI::ButtonStateHot, 0u);
}

TEST_F(HotKey, LosingFocusClosesTheNativeWindowAndKeepsTheText)
{
    Focus();
    Key('D');
    const HWND native = input->GetNativeWindow();
    ::SetFocus(host.Handle());
    ASSERT_TRUE(ControlHost::PumpUntil([&] { return input->GetNativeWindow() == nullptr; }));
    EXPECT_FALSE(::IsWindow(native));
    EXPECT_STREQ(input->GetText().GetData(), LayoutName('D', false).GetData());
    EXPECT_EQ(input->GetHotKey() & 0xFF, 'D');
}

TEST_F(HotKey, NavigationKeysAreNamedAsExtendedKeys)
{
    for (WORD vk : {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_INSERT, VK_DELETE})
        EXPECT_STREQ(CHotKeyUI::KeyNameText(vk, 0).GetData(), LayoutName(vk, true).GetData()) << vk;
    EXPECT_STREQ(CHotKeyUI::KeyNameText(0, 0).GetData(), L"");
}

// The native window once kept reporting to the input after the input was freed.
TEST_F(HotKey, DestroyingTheInputWhileEditingClosesItsWindow)
{
    Focus();
    const HWND native = input->GetNativeWindow();
    root->Remove(input);
    ControlHost::Pump(20);
    EXPECT_FALSE(::IsWindow(native));
}

// At 200 % the height once added an unscaled margin to the scaled font.
TEST(HotKeyAtDoubleScale, EstimatedSizeScalesItsWidthAndMargin)
{
    ControlHost host(400, 200, 192);
    auto* root = new CContainerUI;
    auto* input = new CHotKeyUI;
    input->SetFixedWidth(100);
    root->Add(input);
    host.SetRoot(root, RECT{0, 0, 400, 200});
    const ZvUI::UIFontInfo* font = host.Manager().GetFontInfo(input->GetFont());
    ASSERT_NE(font, nullptr);
    const SIZE size = input->EstimateSize(SIZE{400, 200});
    EXPECT_EQ(size.cx, 200);
    EXPECT_EQ(size.cy, font->metrics.tmHeight + 12);
}

namespace {

RECT ClientRectOf(HWND child, HWND parent)
{
    RECT rc = {};
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

} // namespace

// The native window was placed once: a relaid input left it where it had opened.
TEST_F(HotKey, NativeWindowFollowsTheInputToItsNewPlace)
{
    Focus();
    const HWND native = input->GetNativeWindow();
    const RECT opened = ClientRectOf(native, host.Handle());
    input->SetPos(RECT{30, 50, 170, 80}, false);
    ASSERT_TRUE(::IsWindow(native));
    const RECT placed = ClientRectOf(native, host.Handle());
    EXPECT_EQ(placed.left, opened.left + 20);
    EXPECT_EQ(placed.top, opened.top + 40);
    EXPECT_EQ(placed.right, opened.right - 20);
    EXPECT_EQ(placed.bottom - placed.top, opened.bottom - opened.top);
}

// After a DPI change the open window kept the font the change had deleted.
TEST_F(HotKey, OpenWindowTakesTheRebuiltFontOnADpiChange)
{
    Focus();
    const HWND native = input->GetNativeWindow();
    host.Manager().ApplyDpi(192);
    input->SetPos(input->GetPos(), false);
    ASSERT_TRUE(::IsWindow(native));
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(native, WM_GETFONT, 0, 0));
    EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "a deleted font";
    EXPECT_EQ(font, host.Manager().GetFont(input->GetFont()));
    host.Manager().ApplyDpi(96);
}

// A hidden page kept the native window over it until the message queue ran.
TEST_F(HotKey, HiddenParentClosesTheNativeWindowAtOnce)
{
    Focus();
    const HWND native = input->GetNativeWindow();
    root->SetVisible(false);
    EXPECT_FALSE(::IsWindow(native));
    EXPECT_EQ(input->GetNativeWindow(), nullptr);
}

TEST_F(HotKey, HidingTheInputItselfClosesTheNativeWindowAtOnce)
{
    Focus();
    const HWND native = input->GetNativeWindow();
    input->SetVisible(false);
    EXPECT_FALSE(::IsWindow(native)) << "the window stays over the hidden input until the queue runs";
    EXPECT_EQ(input->GetNativeWindow(), nullptr);
}

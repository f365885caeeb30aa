// Every animated and simple control built by name from one layout, laid out and drawn in a real
// window at the screen's DPI. With ZV_GALLERY_HOLD_MS set the window stays up that long, its
// tabs and fading button cycling, for screenshots.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ControlHost.h"
#include "anim/AnimationTabLayoutUI.h"
#include "anim/FadeButtonUI.h"
#include "builder/DialogBuilder.h"
#include "gif/GifAnimUI.h"
#include "manager/DpiHelper.h"
#include "simple/HotKeyUI.h"
#include "simple/RollTextUI.h"

using control_test::ControlHost;
using control_test::SolidBmp;
using control_test::SolidGif;
using control_test::TempFile;
using ZvUI::CControlUI;

namespace {

std::wstring Replace(std::wstring text, const std::wstring& key, const std::wstring& value)
{
    for (size_t at = text.find(key); at != std::wstring::npos; at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
    return text;
}

// Element, name and the class the factory must make of it.
struct Expected {
    const wchar_t* name;
    const wchar_t* className;
};

constexpr Expected kExpected[] = {
    {L"tabs", L"AnimationTabLayoutUI"}, {L"fade", L"FadeButtonUI"},   {L"hotkey", L"HotKeyUI"},
    {L"slider", L"SliderUI"},           {L"gif", L"GifAnimUI"},        {L"twoline", L"OptionMultiLineUI"},
    {L"group", L"GroupBoxUI"},          {L"roll", L"RollTextUI"},      {L"palette", L"ColorPaletteUI"},
    {L"ring", L"RingUI"},
};

const wchar_t kLayout[] = LR"(<Window size="640,420">
<VerticalLayout bkcolor="#FFF4F4F4" inset="10,10,10,10" childpadding="8">
 <HorizontalLayout height="150" childpadding="10">
  <AnimationTabLayout name="tabs" width="200" bordersize="1" bordercolor="#FF808080">
   <Control bkcolor="#FFE06060" />
   <Control bkcolor="#FF60B060" />
   <Control bkcolor="#FF6080E0" />
  </AnimationTabLayout>
  <GroupBox name="group" text="Group box" width="200" bordersize="1" bordercolor="#FF3060A0" bkcolor="#FFF4F4F4">
   <OptionMultiLine name="twoline" height="44" text="First line" secondtext="Second line" valign="top"
     align="left" secondtextpadding="0,22,0,0" secondtextcolor="#FF808080" selected="true"
     selectedsecondtextcolor="#FF3060A0" />
   <Slider name="slider" height="20" value="40" thumbsize="12,18" thumbimage="file='@THUMB@'"
     foreimage="file='@FORE@'" bkcolor="#FFD0D0D0" />
  </GroupBox>
  <VerticalLayout childpadding="6">
   <FadeButton name="fade" height="36" text="Fading button" normalimage="file='@NORMAL@'"
     hotimage="file='@HOT@'" textcolor="#FFFFFFFF" />
   <HotKey name="hotkey" height="26" bordersize="1" bordercolor="#FF808080" />
   <RollText name="roll" height="26" text="Rolling text goes round and round" bkcolor="#FFFFFFE0" />
  </VerticalLayout>
 </HorizontalLayout>
 <HorizontalLayout height="220" childpadding="10">
  <ColorPalette name="palette" width="300" palletheight="180" barheight="20" thumbimage="file='@THUMB@'" />
  <GifAnim name="gif" width="64" height="64" gifimage="@GIF@" />
  <Ring name="ring" width="64" height="64" bkimage="@RING@" />
 </HorizontalLayout>
</VerticalLayout>
</Window>)";

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

TEST(SkinGallery, EveryElementIsBuiltLaidOutAndDrawn)
{
    TempFile normal(L"zv_gallery_normal.bmp", SolidBmp(8, 8, 0x3060A0));
    TempFile hot(L"zv_gallery_hot.bmp", SolidBmp(8, 8, 0xE07030));
    TempFile thumb(L"zv_gallery_thumb.bmp", SolidBmp(4, 4, 0x202020));
    TempFile fore(L"zv_gallery_fore.bmp", SolidBmp(4, 4, 0x40A040));
    TempFile ring(L"zv_gallery_ring.bmp", SolidBmp(16, 4, 0xC03030));
    TempFile gif(L"zv_gallery.gif", SolidGif(16, {0xE04040, 0x40C040, 0x4060E0}, {30, 30, 30}));
    std::wstring layout = kLayout;
    layout = Replace(layout, L"@NORMAL@", normal.Path());
    layout = Replace(layout, L"@HOT@", hot.Path());
    layout = Replace(layout, L"@THUMB@", thumb.Path());
    layout = Replace(layout, L"@FORE@", fore.Path());
    layout = Replace(layout, L"@RING@", ring.Path());
    layout = Replace(layout, L"@GIF@", gif.Path());

    const int dpi = ScreenDpi();
    const int scale = ::MulDiv(dpi, 100, 96);
    ControlHost host(::MulDiv(640, scale, 100), ::MulDiv(420, scale, 100), dpi);
    ZvUI::CLayoutBuilder builder;
    CControlUI* root = builder.Create(layout.c_str(), nullptr, nullptr, &host.Manager(), nullptr);
    ASSERT_NE(root, nullptr);
    // The layout's own size is at 96 dpi.
    ::SetWindowPos(host.Handle(), nullptr, 0, 0, ::MulDiv(640, scale, 100), ::MulDiv(420, scale, 100),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    ::GetClientRect(host.Handle(), &client);
    host.SetRoot(root, client);
    for (const Expected& e : kExpected) {
        CControlUI* control = host.Manager().FindControl(e.name);
        ASSERT_NE(control, nullptr) << e.name;
        EXPECT_STREQ(control->GetClass(), e.className);
    }
    ::SetWindowTextW(host.Handle(), L"Animated and simple controls");
    ::InvalidateRect(host.Handle(), nullptr, FALSE);
    ControlHost::Pump(100);

    auto* tabs = static_cast<ZvUI::CAnimationTabLayoutUI*>(host.Manager().FindControl(L"tabs"));
    auto* roll = static_cast<ZvUI::CRollTextUI*>(host.Manager().FindControl(L"roll"));
    auto* hotkey = static_cast<ZvUI::CHotKeyUI*>(host.Manager().FindControl(L"hotkey"));
    hotkey->SetHotKey('S', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    ::SetFocus(host.Handle());
    roll->BeginRoll(ZvUI::CRollTextUI::RollLeft, 40, 60);
    EXPECT_TRUE(ControlHost::PumpUntil([&] { return hotkey->GetNativeWindow() == nullptr; }));
    EXPECT_FALSE(hotkey->GetText().IsEmpty());
    const RECT fade = host.Manager().FindControl(L"fade")->GetPos();
    const POINT overFade = {(fade.left + fade.right) / 2, (fade.top + fade.bottom) / 2};

    const RECT tabsPlace = tabs->GetPos();
    const char* hold = std::getenv("ZV_GALLERY_HOLD_MS");
    const DWORD holdMs = hold != nullptr ? static_cast<DWORD>(std::atoi(hold)) : 600;
    const DWORD start = ::GetTickCount();
    for (int step = 0; ::GetTickCount() - start < holdMs; ++step) {
        ASSERT_TRUE(tabs->SelectItem((step + 1) % 3));
        host.Hover(step % 2 == 0 ? overFade.x : 5, step % 2 == 0 ? overFade.y : 5);
        ControlHost::Pump(900);
    }
    EXPECT_TRUE(ControlHost::PumpUntil([&] { return !tabs->IsAnimating(1); }));
    EXPECT_TRUE(::EqualRect(&tabs->GetPos(), &tabsPlace));
    roll->EndRoll();
}

// One shown window: its own WM_PAINT lays the tree out and paints it, a preview drag of a
// separator shows the shaded band on screen until the release, and EndDown paints before scrolling.
#include <gtest/gtest.h>

#include "../render/RenderCanvas.h"
#include "LayoutTestSupport.h"
#include "layout/HorizontalLayoutUI.h"
#include "layout/VerticalLayoutUI.h"

using ZvUI::CControlUI;
using ZvUI::CHorizontalLayoutUI;
using ZvUI::CVerticalLayoutUI;
using layout_test::MakeBox;
using layout_test::ManagedWindow;

namespace {

constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kGreen = 0xFF00FF00;
constexpr DWORD kBlue = 0xFF0000FF;
constexpr DWORD kWhite = 0xFFFFFFFF;

CControlUI* Coloured(CControlUI* control, DWORD colour)
{
    control->SetBkColor(colour);
    return control;
}

// Copies what the window shows on the screen.
void Grab(HWND hwnd, RenderCanvas& canvas)
{
    HDC dc = ::GetDC(hwnd);
    ::BitBlt(canvas.DC(), 0, 0, canvas.Width(), canvas.Height(), dc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, dc);
}

bool ShowsUp(HWND hwnd)
{
    for (int i = 0; i < 400 && !::IsWindowVisible(hwnd); ++i)
        ::Sleep(10);
    // Without a window manager the first map can lag: paint until the screen holds the picture.
    RenderCanvas probe(4, 4);
    for (int i = 0; i < 300; ++i) {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
        Grab(hwnd, probe);
        if (probe.Rgb(1, 1) == (kRed & 0xFFFFFF))
            return true;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
    return false;
}

} // namespace

TEST(LayoutWindow, OwnPaintLaysOutPaintsShowsTheDragBandAndScrollsToTheNewEnd)
{
    ManagedWindow window(320, 240, true);
    auto* root = new CVerticalLayoutUI;
    root->SetBkColor(kWhite);
    CControlUI* header = Coloured(MakeBox(0, 40), kRed);
    auto* body = new CHorizontalLayoutUI;
    auto* side = new CHorizontalLayoutUI;
    side->SetFixedWidth(100);
    side->SetMinWidth(60);
    side->SetSepWidth(4);
    Coloured(side, kGreen);
    ZvUI::SetScrollBarCreator(&layout_test::TestScrollBar::Create);
    auto* content = new CVerticalLayoutUI;
    Coloured(content, kBlue);
    content->EnableScrollBar(true, false);
    content->Add(MakeBox(0, 100));
    body->Add(side);
    body->Add(content);
    root->Add(header);
    root->Add(body);
    root->Add(MakeBox(0, 30));
    // Set without laying out: the window's first paint does that.
    window.Manager().SetRootControl(root);
    ASSERT_TRUE(ShowsUp(window.Handle()));

    EXPECT_EQ(body->GetPos().top, 40);
    EXPECT_EQ(body->GetPos().bottom, 210);
    EXPECT_EQ(side->GetPos().right, 100);
    EXPECT_EQ(content->GetPos().left, 100);
    EXPECT_EQ(content->GetPos().right, 320);

    RenderCanvas canvas(320, 240);
    ::SendMessageW(window.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
    EXPECT_EQ(canvas.Rgb(5, 5), kRed & 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(50, 100), kGreen & 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(200, 100), kBlue & 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(200, 230), kWhite & 0xFFFFFFu);

    // Press on the band at the side pane's right edge and drag it right by 50.
    const HWND hwnd = window.Handle();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(98, 120));
    ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(148, 120));
    ::UpdateWindow(hwnd);
    Grab(hwnd, canvas);
    // The band is shaded over the blue content; the panes themselves have not moved.
    const DWORD band = canvas.Rgb(148, 120);
    EXPECT_LT(band & 0xFF, 0x80u) << std::hex << band;
    EXPECT_GT(band & 0xFF, 0x20u) << std::hex << band;
    EXPECT_EQ(canvas.Rgb(120, 120), kBlue & 0xFFFFFFu);
    EXPECT_EQ(content->GetPos().left, 100);

    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(148, 120));
    ::UpdateWindow(hwnd);
    EXPECT_EQ(side->GetPos().right, 150);
    EXPECT_EQ(content->GetPos().left, 150);
    Grab(hwnd, canvas);
    EXPECT_EQ(canvas.Rgb(120, 120), kGreen & 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(148, 120), kGreen & 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(160, 120), kBlue & 0xFFFFFFu);

    // Content added after the last paint: scrolling to the end first lets the window paint, so
    // the end is that of the new content (500 high in a 170-high view).
    EXPECT_EQ(content->GetScrollRange().cy, 0);
    content->Add(MakeBox(0, 400));
    content->EndDown();
    EXPECT_EQ(content->GetScrollRange().cy, 330);
    EXPECT_EQ(content->GetScrollPos().cy, 330);
    EXPECT_EQ(content->GetItemAt(1)->GetPos().bottom, 210);
    ZvUI::SetScrollBarCreator(nullptr);
}

// WM_PAINT and WM_PRINTCLIENT of real windows: lazy layout with "windowinit" once and
// "windowsize" after each layout, painting through the off-screen bitmap, and the layered
// composition read back from that bitmap (no screen grabs).
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "ManagedWindow.h"
#include "control/ControlUI.h"
#include "layout/VerticalLayoutUI.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

class NotifyLog : public INotifyUI {
public:
    void Notify(UINotifyMessage& msg) override { types.push_back(msg.type.GetData()); }
    int Count(const wchar_t* type) const
    {
        int n = 0;
        for (const std::wstring& t : types)
            n += t == type ? 1 : 0;
        return n;
    }
    std::vector<std::wstring> types;
};

// Paints given GDI and render-engine fills, and as an after-paint control remembers the
// bitmap selected into the off-screen DC, so the test can read the composed pixels.
class ProbeControl : public CControlUI {
public:
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stop) override
    {
        ++paints;
        if (gdiFill) {
            // Plain GDI output: colour with alpha 0.
            HBRUSH brush = ::CreateSolidBrush(RGB(255, 0, 0));
            const RECT left = {m_rcItem.left, m_rcItem.top, m_rcItem.left + 10, m_rcItem.bottom};
            ::FillRect(hDC, &left, brush);
            ::DeleteObject(brush);
        }
        return CControlUI::DoPaint(hDC, rcPaint, stop);
    }
    void DoPostPaint(HDC hDC, const RECT& /*rcPaint*/) override
    {
        surface = static_cast<HBITMAP>(::GetCurrentObject(hDC, OBJ_BITMAP));
    }
    // Off-screen rows are bottom-up.
    DWORD Pixel(int x, int y) const
    {
        DIBSECTION ds = {};
        if (::GetObjectW(surface, sizeof(ds), &ds) != sizeof(ds))
            return 0xDEADBEEF;
        ::GdiFlush();
        const int height = ds.dsBm.bmHeight;
        return static_cast<const DWORD*>(ds.dsBm.bmBits)[(height - 1 - y) * ds.dsBm.bmWidth + x];
    }
    void SetPos(RECT rc, bool invalidate) override
    {
        ++placements;
        CControlUI::SetPos(rc, invalidate);
    }
    int paints = 0;
    int placements = 0;
    bool gdiFill = false;
    HBITMAP surface = nullptr;
};

class PaintWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = new ManagedWindow(m_manager, 60, 40);
        m_manager.AddNotifyListener(&m_log);
        m_root = new ProbeControl();
        m_root->SetBkColor(0xFF336699);
        // The manager takes ownership of the root.
        m_manager.SetRootControl(m_root);
        m_manager.AddAfterPaintControl(m_root);
    }
    void TearDown() override
    {
        delete m_window;
    }
    void Show()
    {
        ::ShowWindow(m_window->Get(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_window->Get());
        ManagedWindow::Pump();
    }
    void Repaint()
    {
        ::InvalidateRect(m_window->Get(), nullptr, FALSE);
        ::UpdateWindow(m_window->Get());
        ManagedWindow::Pump();
    }

    CPaintManagerUI m_manager;
    ManagedWindow* m_window = nullptr;
    NotifyLog m_log;
    ProbeControl* m_root = nullptr;
};

std::vector<DWORD> PrintClient(HWND hwnd, int width, int height)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP bitmap = CUIRender::CreateARGB32Bitmap(dc, width, -height, &bits);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::GdiFlush();
    std::vector<DWORD> pixels(reinterpret_cast<DWORD*>(bits), reinterpret_cast<DWORD*>(bits) + width * height);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return pixels;
}

} // namespace

TEST_F(PaintWindow, FirstPaintLaysOutOnceAndPaintsOffscreen)
{
    EXPECT_TRUE(m_manager.IsFocusNeeded());
    // No update region: nothing happens, not even focus placement.
    ::ValidateRect(m_window->Get(), nullptr);
    ::SendMessageW(m_window->Get(), WM_PAINT, 0, 0);
    EXPECT_EQ(m_log.Count(L"windowinit"), 0);
    EXPECT_TRUE(m_manager.IsFocusNeeded());

    Show();
    EXPECT_EQ(m_log.Count(L"windowinit"), 1);
    EXPECT_EQ(m_log.Count(L"windowsize"), 1);
    EXPECT_GE(m_root->paints, 1);
    const RECT pos = m_root->GetPos();
    EXPECT_EQ(pos.right - pos.left, 60);
    EXPECT_EQ(pos.bottom - pos.top, 40);
    ASSERT_NE(m_root->surface, nullptr);
    EXPECT_EQ(m_root->Pixel(0, 0) & 0x00FFFFFF, 0x336699u);
    EXPECT_EQ(m_root->Pixel(59, 39) & 0x00FFFFFF, 0x336699u);

    // A repaint without a layout request raises neither notification again.
    Repaint();
    EXPECT_EQ(m_log.Count(L"windowinit"), 1);
    EXPECT_EQ(m_log.Count(L"windowsize"), 1);
    // A layout request: "windowsize" again, "windowinit" never.
    m_manager.NeedUpdate();
    Repaint();
    EXPECT_EQ(m_log.Count(L"windowinit"), 1);
    EXPECT_EQ(m_log.Count(L"windowsize"), 2);

    // WM_PRINTCLIENT paints the tree straight into the caller's DC.
    const std::vector<DWORD> printed = PrintClient(m_window->Get(), 60, 40);
    EXPECT_EQ(printed[0] & 0x00FFFFFF, 0x336699u);
    EXPECT_EQ(printed[40 * 60 - 1] & 0x00FFFFFF, 0x336699u);

    // A resize lays the root out again at the new size, with a new off-screen bitmap.
    ::SetWindowPos(m_window->Get(), nullptr, 0, 0, 80, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_root->NeedUpdate();
    Repaint();
    EXPECT_EQ(m_root->GetPos().right, 80);
    EXPECT_EQ(m_root->Pixel(79, 49) & 0x00FFFFFF, 0x336699u);
}

TEST_F(PaintWindow, LayeredWithoutImageMakesColouredPixelsOpaque)
{
    m_root->SetBkColor(0);
    m_root->gdiFill = true;
    m_manager.SetLayered(true);
    Show();
    ASSERT_TRUE(m_manager.IsLayered());
    EXPECT_NE(::GetWindowLongW(m_window->Get(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    ASSERT_NE(m_root->surface, nullptr);
    // GDI red (alpha 0) became opaque; the untouched area stays fully transparent.
    EXPECT_EQ(m_root->Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(m_root->Pixel(9, 39), 0xFFFF0000u);
    EXPECT_EQ(m_root->Pixel(10, 0), 0u);
    EXPECT_EQ(m_root->Pixel(59, 39), 0u);
}

TEST_F(PaintWindow, LayeredImageGivesTheWindowItsAlpha)
{
    m_root->SetBkColor(0);
    m_root->gdiFill = true;
    CPaintManagerUI::SetResourceArchive(L"", false);
    CPaintManagerUI::SetResourceFolder(CUIString(ZV_IMAGE_DIR) + L"\\");
    m_manager.SetLayered(true);
    m_manager.SetLayeredBackground(L"file='grid_half.png'");
    // Loaded at once, before the window has painted anything.
    EXPECT_NE(m_manager.FindImage(L"grid_half.png"), nullptr);
    const int before = m_root->paints;
    ::ShowWindow(m_window->Get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_window->Get());
    // The first layout of a changed layered window only raises "windowinit" and asks again.
    EXPECT_EQ(m_log.Count(L"windowinit"), 1);
    EXPECT_EQ(m_root->paints, before);
    ManagedWindow::Pump();
    ::UpdateWindow(m_window->Get());
    ASSERT_GT(m_root->paints, before);
    ASSERT_NE(m_root->surface, nullptr);
    // Red under an alpha-128 image pixel: 255 * 128 / 255 = 128, alpha 128.
    EXPECT_EQ(m_root->Pixel(0, 0), 0x80800000u);
    EXPECT_EQ(m_root->Pixel(5, 20), 0x80800000u);
    // Nothing drawn there: colour 0 times any alpha, alpha from the image.
    EXPECT_EQ(m_root->Pixel(30, 20), 0x80000000u);
    CPaintManagerUI::SetResourceFolder(L"");
}

class CountingLayout : public CVerticalLayoutUI {
public:
    void SetPos(RECT rc, bool invalidate) override
    {
        ++placements;
        CVerticalLayoutUI::SetPos(rc, invalidate);
    }
    int placements = 0;
};

TEST(PaintManagerLayout, OnlyControlsThatAskedAreLaidOutAgain)
{
    CPaintManagerUI manager;
    ManagedWindow window(manager, 40, 30);
    auto* root = new CountingLayout();
    auto* first = new ProbeControl();
    auto* second = new ProbeControl();
    first->SetFixedHeight(10);
    root->Add(first);
    root->Add(second);
    // The manager takes ownership of the root.
    manager.SetRootControl(root);
    ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.Get());
    ManagedWindow::Pump();
    ASSERT_EQ(root->placements, 1);
    EXPECT_EQ(second->GetPos().top, 10);
    const int firstBefore = first->placements;
    const int secondBefore = second->placements;

    second->NeedUpdate();
    ::UpdateWindow(window.Get());
    ManagedWindow::Pump();
    EXPECT_EQ(root->placements, 1) << "the root did not ask";
    EXPECT_EQ(first->placements, firstBefore);
    EXPECT_EQ(second->placements, secondBefore + 1);
    EXPECT_EQ(second->GetPos().top, 10);

    root->NeedUpdate();
    ::UpdateWindow(window.Get());
    ManagedWindow::Pump();
    EXPECT_EQ(root->placements, 2);
}

// A flagged container places its own children: the partial layout must not find it, or them, twice.
TEST(PaintManagerLayout, FlaggedContainerAndItsChildrenArePlacedOncePerPaint)
{
    CPaintManagerUI manager;
    ManagedWindow window(manager, 40, 30);
    auto* root = new CountingLayout();
    auto* inner = new CountingLayout();
    auto* child = new ProbeControl();
    auto* sibling = new ProbeControl();
    inner->Add(child);
    root->Add(inner);
    root->Add(sibling);
    // The manager takes ownership of the root.
    manager.SetRootControl(root);
    ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.Get());
    ManagedWindow::Pump();
    ASSERT_EQ(root->placements, 1);

    for (const bool childToo : {false, true}) {
        SCOPED_TRACE(childToo ? "container and child flagged" : "container flagged");
        const int innerBefore = inner->placements;
        const int childBefore = child->placements;
        const int siblingBefore = sibling->placements;
        inner->NeedUpdate();
        if (childToo) {
            child->NeedUpdate();
            sibling->NeedUpdate();
        }
        ::UpdateWindow(window.Get());
        ManagedWindow::Pump();
        EXPECT_EQ(root->placements, 1);
        EXPECT_EQ(inner->placements, innerBefore + 1);
        EXPECT_EQ(child->placements, childBefore + 1);
        // A flagged leaf after the skipped container is still found.
        EXPECT_EQ(sibling->placements, siblingBefore + (childToo ? 1 : 0));
    }
}

TEST(PaintManagerNoRoot, PaintValidatesTheWindow)
{
    CPaintManagerUI manager;
    ManagedWindow window(manager, 30, 20);
    ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.Get());
    RECT rc;
    EXPECT_FALSE(::GetUpdateRect(window.Get(), &rc, FALSE));
    // WM_PRINTCLIENT without a root is left to the default processing.
    LRESULT result = 0;
    EXPECT_FALSE(manager.OnPaintMessage(WM_PRINTCLIENT, 0, PRF_CLIENT, result));
}

TEST(PaintManagerInvalidate, EmptyOrOutsideRectanglesLeaveNothingToPaint)
{
    CPaintManagerUI manager;
    ManagedWindow window(manager, 30, 20);
    ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.Get());
    RECT rc;
    ASSERT_FALSE(::GetUpdateRect(window.Get(), &rc, FALSE));
    // An unplaced control asks with 0,0,0,0; one left of the window is clamped to nothing.
    manager.Invalidate(RECT{0, 0, 0, 0});
    manager.Invalidate(RECT{-20, 5, -10, 15});
    EXPECT_FALSE(::GetUpdateRect(window.Get(), &rc, FALSE));
    manager.Invalidate(RECT{2, 3, 12, 13});
    ASSERT_TRUE(::GetUpdateRect(window.Get(), &rc, FALSE));
    EXPECT_EQ(rc.left, 2);
    EXPECT_EQ(rc.bottom, 13);
}

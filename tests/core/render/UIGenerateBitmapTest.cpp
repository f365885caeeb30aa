// A control, and a window's tree, rendered into a fresh bottom-up 32-bit bitmap.

#include "render/UIRender.h"

#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

using ZvUI::CControlUI;
using ZvUI::CPaintManagerUI;
using ZvUI::CUIRender;

namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// Paints red with a blue bottom row, at its window coordinates.
class StripedControl : public CControlUI {
public:
    bool DoPaint(HDC hDC, const RECT& /*rcPaint*/, CControlUI* /*stopControl*/) override
    {
        const RECT& rc = GetPos();
        CUIRender::DrawColor(hDC, rc, 0xFFFF0000);
        CUIRender::DrawColor(hDC, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, 0xFF0000FF);
        return true;
    }
};

struct Dib {
    explicit Dib(HBITMAP bitmap) : handle(bitmap)
    {
        if (handle != nullptr) {
            ::GetObjectW(handle, sizeof(section), &section);
        }
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    ~Dib()
    {
        if (handle != nullptr) {
            ::DeleteObject(handle);
        }
    }
    // Rows in memory order: row 0 is the first row of the block.
    DWORD Memory(int x, int row) const
    {
        auto* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
        return bits[row * section.dsBm.bmWidth + x] & 0x00FFFFFF;
    }

    HBITMAP handle;
    DIBSECTION section = {};
};

} // namespace

TEST(GenerateBitmap, ControlComesOutBottomUpAtItsSize)
{
    CPaintManagerUI manager;
    StripedControl control;
    const RECT rc = {100, 100, 150, 120};
    control.SetPos(rc, false);

    Dib dib(CUIRender::GenerateBitmap(&manager, &control, rc, 0));
    ASSERT_NE(nullptr, dib.handle);
    EXPECT_EQ(50, dib.section.dsBmih.biWidth);
    EXPECT_EQ(20, dib.section.dsBmih.biHeight);
    EXPECT_EQ(32, dib.section.dsBmih.biBitCount);
    // Bottom-up: the control's bottom row is first in memory.
    for (int x = 0; x < 50; ++x) {
        ASSERT_EQ(0x0000FFu, dib.Memory(x, 0)) << x;
        ASSERT_EQ(0xFF0000u, dib.Memory(x, 1)) << x;
        ASSERT_EQ(0xFF0000u, dib.Memory(x, 19)) << x;
    }
}

TEST(GenerateBitmap, OpaqueBackgroundCoversThePicture)
{
    CPaintManagerUI manager;
    StripedControl control;
    const RECT rc = {10, 10, 30, 20};
    control.SetPos(rc, false);

    Dib dib(CUIRender::GenerateBitmap(&manager, &control, rc, 0xFF00FF00));
    ASSERT_NE(nullptr, dib.handle);
    for (int row = 0; row < 10; ++row) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(0x00FF00u, dib.Memory(x, row));
        }
    }
}

TEST(GenerateBitmap, MissingManagerOrControlGivesNull)
{
    CPaintManagerUI manager;
    StripedControl control;
    const RECT rc = {0, 0, 10, 10};
    EXPECT_EQ(nullptr, CUIRender::GenerateBitmap(nullptr, &control, rc, 0));
    EXPECT_EQ(nullptr, CUIRender::GenerateBitmap(&manager, nullptr, rc, 0));
    EXPECT_EQ(nullptr, CUIRender::GenerateBitmap(nullptr, rc, nullptr, 0));
}

TEST(GenerateBitmap, TreeWithoutRootShowsOnlyTheBackground)
{
    CPaintManagerUI manager;
    ASSERT_EQ(nullptr, manager.GetRoot());
    Dib dib(CUIRender::GenerateBitmap(&manager, RECT{5, 5, 15, 9}, nullptr, 0xFF123456));
    ASSERT_NE(nullptr, dib.handle);
    EXPECT_EQ(10, dib.section.dsBmih.biWidth);
    EXPECT_EQ(4, dib.section.dsBmih.biHeight);
    EXPECT_EQ(0x123456u, dib.Memory(0, 0));
    EXPECT_EQ(0x123456u, dib.Memory(9, 3));
}

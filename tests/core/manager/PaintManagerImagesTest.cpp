// The paint manager's image caches: replacing, the bitmap overload, resources by id, the shared
// map, reloading after the source changed, and the HSL copy of the pixels.
#include <gtest/gtest.h>

#include "manager/PaintManagerUI.h"
#include "render/UIDrawInfo.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

CUIString Images()
{
    return CUIString(ZV_IMAGE_DIR) + L"\\";
}

DWORD PixelOf(const UIImageInfo* image, int x, int y)
{
    DIBSECTION ds = {};
    ::GetObjectW(image->bitmap, sizeof(ds), &ds);
    ::GdiFlush();
    return static_cast<const DWORD*>(ds.dsBm.bmBits)[y * image->width + x];
}

class ImageCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetResourceArchive(L"", false);
        CPaintManagerUI::SetResourceFolder(Images());
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    }
    void TearDown() override
    {
        CPaintManagerUI::SetHSL(false, 180, 100, 100);
        CPaintManagerUI::SetResourceFolder(L"");
    }
};

} // namespace

TEST_F(ImageCache, AddReplacesAndCachedLoadsOnce)
{
    CPaintManagerUI manager;
    UIImageInfo* first = manager.AddImage(L"pic");
    EXPECT_EQ(first, nullptr);  // "pic" is no file
    UIImageInfo* half = manager.AddImage(L"half.png");
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(manager.FindImage(L"half.png"), half);
    UIImageInfo* again = manager.AddImage(L"half.png", L"", 0xFF0A141E);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(manager.FindImage(L"half.png"), again);
    EXPECT_EQ(again->mask, 0xFF0A141Eu);
    EXPECT_EQ(PixelOf(again, 1, 0), 0u);

    UIImageInfo* cached = manager.LoadImageCached(L"tile.png");
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(manager.LoadImageCached(L"tile.png", nullptr, 0xFFFFFFFF), cached);
    EXPECT_EQ(manager.LoadImageCached(L"missing.png"), nullptr);
    EXPECT_EQ(manager.AddImage(L""), nullptr);
    EXPECT_EQ(manager.AddImage(nullptr), nullptr);

    EXPECT_TRUE(manager.RemoveImage(L"tile.png"));
    EXPECT_FALSE(manager.RemoveImage(L"tile.png"));
    EXPECT_EQ(manager.FindImage(L"tile.png"), nullptr);
    manager.RemoveAllImages();
    EXPECT_EQ(manager.FindImage(L"half.png"), nullptr);
}

TEST_F(ImageCache, ResourceTypeNeedsADecimalId)
{
    CPaintManagerUI manager;
    UIImageInfo* image = manager.AddImage(L"113", L"ZVPNG");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 16);
    EXPECT_STREQ(image->resourceType.GetData(), L"ZVPNG");
    EXPECT_EQ(manager.AddImage(L"HALFPNG", L"ZVPNG"), nullptr);
    EXPECT_EQ(manager.AddImage(L"115", L"ZVPNG"), nullptr);
}

TEST_F(ImageCache, BitmapOverloadRefusesAnExistingName)
{
    CPaintManagerUI manager;
    HDC screen = ::GetDC(nullptr);
    HBITMAP first = ::CreateCompatibleBitmap(screen, 3, 3);
    HBITMAP second = ::CreateCompatibleBitmap(screen, 3, 3);
    HBITMAP third = ::CreateCompatibleBitmap(screen, 3, 3);
    ::ReleaseDC(nullptr, screen);
    UIImageInfo* image = manager.AddImage(L"made", first, 3, 3, true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bitmap, first);
    EXPECT_TRUE(image->alpha);
    EXPECT_EQ(manager.AddImage(L"made", second, 3, 3, false), nullptr);
    BITMAP info;
    EXPECT_EQ(::GetObjectW(second, sizeof(info), &info), 0) << "the refused bitmap is freed";
    EXPECT_EQ(manager.FindImage(L"made"), image);
    EXPECT_EQ(manager.AddImage(L"flat", third, 0, 3, false), nullptr);
    EXPECT_NE(::GetObjectW(third, sizeof(info), &info), 0) << "bad arguments leave it with the caller";
    ::DeleteObject(third);
}

TEST_F(ImageCache, SharedImagesServeEveryManager)
{
    CPaintManagerUI one;
    CPaintManagerUI two;
    UIImageInfo* shared = one.AddImage(L"tile.png", L"", 0, false, true);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(two.FindImage(L"tile.png"), shared);
    // The manager's own image comes first.
    UIImageInfo* own = two.AddImage(L"tile.png");
    EXPECT_EQ(two.FindImage(L"tile.png"), own);
    EXPECT_EQ(one.FindImage(L"tile.png"), shared);

    CPaintManagerUI third;
    third.SetUseSharedResources(true);
    UIImageInfo* viaShared = third.LoadImageCached(L"half.png");
    EXPECT_EQ(one.FindImage(L"half.png"), viaShared);
    one.RemoveAllImages(true);
    EXPECT_EQ(one.FindImage(L"tile.png"), nullptr);
}

TEST_F(ImageCache, ReloadDropsLostOwnImagesButKeepsSharedOnes)
{
    // Only managers attached to a window are registered for the reload.
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CPaintManagerUI manager;
    manager.AttachWindow(window);
    ASSERT_NE(manager.AddImage(L"half.png"), nullptr);
    UIImageInfo* shared = manager.AddImage(L"grid.png", L"", 0, false, true);
    ASSERT_NE(shared, nullptr);
    const DWORD before = PixelOf(shared, 3, 5);
    ASSERT_NE(manager.GetCachedDrawInfo(L"half.png"), nullptr);

    // The same folder: everything reloads.
    EXPECT_GE(CPaintManagerUI::ReloadAllImages(), 1);
    ASSERT_NE(manager.FindImage(L"half.png"), nullptr);
    EXPECT_EQ(PixelOf(manager.FindImage(L"half.png"), 0, 0), 0x80643219u);

    // A source without the files.
    CPaintManagerUI::SetResourceFolder(L"Z:\\nonexistent-folder");
    CPaintManagerUI::ReloadAllImages();
    EXPECT_EQ(manager.FindImage(L"half.png"), nullptr);
    UIImageInfo* kept = manager.FindImage(L"grid.png");
    ASSERT_EQ(kept, shared);
    ASSERT_NE(kept->bitmap, nullptr);
    EXPECT_EQ(PixelOf(kept, 3, 5), before);
    manager.RemoveAllImages(true);
    ::DestroyWindow(window);
}

TEST_F(ImageCache, HslCopyComesFromTheImagesOwnPixels)
{
    CPaintManagerUI manager;
    UIImageInfo* image = manager.AddImage(L"tile.png", L"", 0, true);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(image->bits, nullptr);
    ASSERT_NE(image->savedBits, nullptr);
    const DWORD original = PixelOf(image, 1, 1);  // (60, 80, 7)
    CPaintManagerUI::SetHSL(true, 180, 100, 40);
    manager.AdjustImagesHsl();
    const DWORD darker = PixelOf(image, 1, 1);
    EXPECT_NE(darker, original);
    EXPECT_EQ(darker >> 24, 0xFFu);
    EXPECT_LT((darker >> 8) & 0xFF, (original >> 8) & 0xFF);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    manager.AdjustImagesHsl();
    EXPECT_EQ(PixelOf(image, 1, 1), original);

    // An image without reachable pixels takes no copy and the shift leaves it alone.
    HDC screen = ::GetDC(nullptr);
    HBITMAP ddb = ::CreateCompatibleBitmap(screen, 2, 2);
    ::ReleaseDC(nullptr, screen);
    UIImageInfo* plain = manager.AddImage(L"ddb", ddb, 2, 2, false);
    ASSERT_NE(plain, nullptr);
    plain->hsl = true;
    CUIRender::AdjustImage(true, plain, 200, 50, 50);
    EXPECT_EQ(plain->savedBits, nullptr);
    EXPECT_EQ(plain->bitmap, ddb);
}

TEST_F(ImageCache, SetHslReTintsOwnAndSharedImagesAndOffRestoresThem)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CPaintManagerUI manager;
    manager.AttachWindow(window);
    UIImageInfo* own = manager.AddImage(L"tile.png", L"", 0, true);
    UIImageInfo* shared = manager.AddImage(L"grid.png", L"", 0, true, true);
    ASSERT_NE(own, nullptr);
    ASSERT_NE(shared, nullptr);
    const DWORD ownBefore = PixelOf(own, 1, 1);
    const DWORD sharedBefore = PixelOf(shared, 3, 5);

    CPaintManagerUI::SetHSL(true, 180, 100, 40);
    EXPECT_NE(PixelOf(own, 1, 1), ownBefore);
    EXPECT_NE(PixelOf(shared, 3, 5), sharedBefore);

    // Off with the same values: the images get their own colours back.
    CPaintManagerUI::SetHSL(false, 180, 100, 40);
    EXPECT_EQ(PixelOf(own, 1, 1), ownBefore);
    EXPECT_EQ(PixelOf(shared, 3, 5), sharedBefore);
    manager.RemoveAllImages(true);
    ::DestroyWindow(window);
}

TEST_F(ImageCache, ImageByDrawStringUsesNameTypeAndMaskOnly)
{
    CPaintManagerUI manager;
    UIImageInfo* image = manager.GetImageByDrawString(L"file='magenta.png' mask='#FFFF00FF' corner='1,1,1,1'");
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->alpha);
    EXPECT_EQ(PixelOf(image, 0, 0), 0u);
    UIImageInfo* byRes = manager.GetImageByDrawString(L"res='113' restype='ZVPNG'");
    ASSERT_NE(byRes, nullptr);
    EXPECT_EQ(byRes->width, 16);
}

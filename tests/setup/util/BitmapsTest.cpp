// Shade bitmaps, BMP files and image files read back through GDI+.
#include "TestFolder.h"
#include "util/Bitmaps.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

using namespace ZVCore;

TEST(Bitmaps, ABitmapSurvivesTheTripThroughABmpFile)
{
    CTestFolder folder(L"bitmaps");
    const HWND window = ::GetDesktopWindow();
    const HBITMAP shade = CreateShadeBitmap(window, RECT{10, 10, 50, 30});
    ASSERT_NE(shade, nullptr);
    BITMAP info = {};
    ::GetObjectW(shade, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 40);
    EXPECT_EQ(info.bmHeight, 20);

    const std::wstring file = folder.Sub(L"shade.bmp");
    ASSERT_TRUE(SaveBitmapToFile(shade, file));
    std::ifstream in(file.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const auto* bi = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + sizeof(BITMAPFILEHEADER));
    EXPECT_EQ(bi->biWidth, 40);
    EXPECT_EQ(bi->biHeight, 20);

    std::unique_ptr<Gdiplus::Bitmap> loaded;
    ASSERT_TRUE(LoadImageFileAsBitmap(file, loaded));
    EXPECT_EQ(loaded->GetWidth(), 40u);
    EXPECT_EQ(loaded->GetHeight(), 20u);
    EXPECT_EQ(loaded->GetPixelFormat(), PixelFormat32bppPARGB);
    EXPECT_FALSE(SaveBitmapToFile(shade, folder.Sub(L"missing\\x.bmp")));
    ::DeleteObject(shade);

    EXPECT_EQ(CaptureScreenRect(RECT{5, 5, 5, 9}), nullptr);
}

// Shade bitmaps, BMP files and image files read back through GDI+.
#include "../../support/BmpFile.h"
#include "TestFolder.h"
#include "util/Bitmaps.h"

#include "manager/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <cstring>
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

    // Wider than any skin image: refused from its header.
    const HBITMAP wide = ::CreateBitmap(4097, 1, 1, 32, nullptr);
    const std::wstring wideFile = folder.Sub(L"wide.bmp");
    ASSERT_TRUE(SaveBitmapToFile(wide, wideFile));
    ::DeleteObject(wide);
    EXPECT_FALSE(LoadImageFileAsBitmap(wideFile, loaded));

    EXPECT_EQ(CaptureScreenRect(RECT{5, 5, 5, 9}), nullptr);
}


// A relative path names a file in the working folder, whatever the skin folder holds under the
// same name: the file GDI+ decodes is the one held to the image limits.
TEST(Bitmaps, ARelativePathIsCheckedWhereItIsRead)
{
    CTestFolder folder(L"bitmaps-relative");
    ASSERT_TRUE(::CreateDirectoryW(folder.Sub(L"skin").c_str(), nullptr));
    WriteBmpAt(folder.Sub(L"skin\\pic.bmp"), 4097, 1, GreyPixel);
    WriteBmpAt(folder.Sub(L"pic.bmp"), 6, 3, GreyPixel);
    WriteBmpAt(folder.Sub(L"skin\\other.bmp"), 6, 3, GreyPixel);
    WriteBmpAt(folder.Sub(L"other.bmp"), 4097, 1, GreyPixel);
    {
        // The system's decoder reads the wide file: only the limits keep it out.
        Gdiplus::Bitmap wide(folder.Sub(L"other.bmp").c_str());
        ASSERT_EQ(wide.GetLastStatus(), Gdiplus::Ok);
        ASSERT_EQ(wide.GetWidth(), 4097u);
    }

    wchar_t working[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, working);
    ZvUI::CPaintManagerUI::SetResourceFolder(folder.Sub(L"skin").c_str());
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));
    std::unique_ptr<Gdiplus::Bitmap> loaded;
    EXPECT_TRUE(LoadImageFileAsBitmap(L"pic.bmp", loaded)) << "refused for the skin's file of the same name";
    if (loaded)
        EXPECT_EQ(loaded->GetWidth(), 6u);
    EXPECT_FALSE(LoadImageFileAsBitmap(L"other.bmp", loaded)) << "the skin's file was checked, this one decoded";
    ::SetCurrentDirectoryW(working);
    ZvUI::CPaintManagerUI::SetResourceFolder(L"");
}

namespace {

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int FilesIn(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry = {};
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    int count = 0;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        count += (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return count;
}

} // namespace

// A save that cannot be done once wiped the old file first and still reported success.
TEST(Bitmaps, AFailedSaveKeepsTheOldFileAndLeavesNothingBeside)
{
    CTestFolder folder(L"bitmaps-over");
    const std::wstring file = folder.Sub(L"kept.bmp");
    {
        std::ofstream out(file.c_str(), std::ios::binary);
        out << "old picture";
    }
    // Its pixels at the display's depth need more than a BMP file can state (the bits are only
    // reserved, never touched).
    const HBITMAP huge = ::CreateBitmap(65536, 65536, 1, 1, nullptr);
    ASSERT_NE(huge, nullptr);
    EXPECT_FALSE(SaveBitmapToFile(huge, file));
    EXPECT_EQ(ReadAll(file), "old picture");
    EXPECT_EQ(FilesIn(folder.Path()), 1);
    ::DeleteObject(huge);

    const HBITMAP shade = CreateShadeBitmap(::GetDesktopWindow(), RECT{0, 0, 6, 4});
    ASSERT_NE(shade, nullptr);
    ASSERT_TRUE(SaveBitmapToFile(shade, file));
    EXPECT_EQ(ReadAll(file).substr(0, 2), "BM");
    EXPECT_EQ(FilesIn(folder.Path()), 1);
    ::DeleteObject(shade);
}

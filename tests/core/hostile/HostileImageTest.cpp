// Damaged and oversized images: refused as a failed load, quickly, through every loading path.
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>

#include "HostileTestSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIDrawInfo.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

class HostileImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

    // Both decoders: the cached-bitmap loader and the GDI+ one used for animations.
    static void ExpectRefused(const ScratchSkin& skin, const wchar_t* name, const Bytes& bytes)
    {
        skin.Write(name, bytes);
        const Stopwatch clock;
        ImagePtr image(CUIRender::LoadImage(name, nullptr, 0, nullptr));
        EXPECT_EQ(image, nullptr) << name;
        std::unique_ptr<Gdiplus::Image> gdip(
            CUIRender::GdiplusImageFromMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
        EXPECT_EQ(gdip, nullptr) << name;
        std::unique_ptr<Gdiplus::Image> named(CUIRender::LoadGdiplusImage(name));
        EXPECT_EQ(named, nullptr) << name;
        EXPECT_LT(clock.Ms(), 1000u) << name;
    }

private:
    ULONG_PTR m_token = 0;
};

} // namespace

TEST_F(HostileImage, DamagedAndOversizedImagesAreRefused)
{
    const ScratchSkin skin;
    Bytes bmpPastEnd = MakeBmp(4, 4);
    bmpPastEnd[10] = 0xF0;
    bmpPastEnd[11] = 0xFF;
    bmpPastEnd[12] = 0xFF;
    bmpPastEnd[13] = 0x7F;
    ExpectRefused(skin, L"notable.gif", MakeGif(false));
    ExpectRefused(skin, L"pastend.bmp", bmpPastEnd);
    ExpectRefused(skin, L"zeros.png", MakePng(20000, 20000, false));
    ExpectRefused(skin, L"wide.png", MakePng(16385, 1, false));
    ExpectRefused(skin, L"area.png", MakePng(8193, 8193, false));
    ExpectRefused(skin, L"cut.jpg", MakeJpegHeader(8000, 8000));
    ExpectRefused(skin, L"huge.bmp", MakeBmp(20000, -20000, false));
    // Sound pixels, then a chunk that runs past the end of the file: the system's PNG decoder
    // read past its buffer.
    Bytes runaway = MakePng(6, 5, true);
    runaway.resize(runaway.size() - 12);
    runaway.insert(runaway.end(), {0x00, 0x00, 0x26, 0x33, 0x40, 0x00, 0x1C, 0x29});
    ExpectRefused(skin, L"runaway.png", runaway);
    ExpectRefused(skin, L"empty.png", Bytes());
    ExpectRefused(skin, L"garbage.png", Bytes(64, 0xFF));
}

TEST_F(HostileImage, SoundImagesStillLoad)
{
    const ScratchSkin skin;
    skin.Write(L"ok.png", MakePng(16, 8, true));
    skin.Write(L"ok.bmp", MakeBmp(5, 3));
    ImagePtr png(CUIRender::LoadImage(L"ok.png", nullptr, 0, nullptr));
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->width, 16);
    EXPECT_EQ(png->height, 8);
    ImagePtr bmp(CUIRender::LoadImage(L"ok.bmp", nullptr, 0, nullptr));
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->width, 5);
    std::unique_ptr<Gdiplus::Image> gdip(CUIRender::LoadGdiplusImage(L"file='ok.png'"));
    ASSERT_NE(gdip, nullptr);
    EXPECT_EQ(gdip->GetWidth(), 16u);
}

// A BMP file is held to what it holds, not to where its pixels start: the decoders read the rows
// its header declares, past the end of the bytes.
TEST_F(HostileImage, BmpFilesCutShortOfTheirRowsAreRefused)
{
    const ScratchSkin skin;
    Bytes cut = MakeBmp(3840, 2160);
    cut.resize(54 + 64);
    ExpectRefused(skin, L"cut4k.bmp", cut);
    Bytes lastRow = MakeBmp(7, 5);
    lastRow.pop_back();
    ExpectRefused(skin, L"lastrow.bmp", lastRow);
    Bytes table = MakeBmp(7, 5);
    table[46] = 0xFF; // 255 colours used, their table past the end of the file
    ExpectRefused(skin, L"table.bmp", table);
}

// Byte-flipped files either load as a sane image or fail; none may crash or take long.
TEST_F(HostileImage, FlippedBytesNeverCrash)
{
    const ScratchSkin skin;
    const Bytes sources[] = {MakePng(12, 9, true), MakeBmp(7, 5), MakeGif(false),
                             MakeJpegHeader(16, 16)};
    const Stopwatch clock;
    for (const Bytes& valid : sources) {
        for (unsigned seed = 1; seed <= 150; ++seed) {
            const Bytes bytes = FlipBits(valid, seed, 1 + static_cast<int>(seed % 6));
            skin.Write(L"flip.img", bytes);
            ImagePtr image(CUIRender::LoadImage(L"flip.img", nullptr, 0, nullptr));
            if (image != nullptr) {
                EXPECT_GT(image->width, 0);
                EXPECT_LE(image->width, kMaxImageSide);
            }
            std::unique_ptr<Gdiplus::Image> gdip(
                CUIRender::GdiplusImageFromMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
            if (gdip != nullptr)
                EXPECT_LE(gdip->GetWidth(), static_cast<UINT>(kMaxImageSide));
        }
    }
    EXPECT_LT(clock.Ms(), 20000u);
}

// At 200 % the "@2x" twin is chosen only when its header is sound; a damaged or oversized
// twin falls back to the plain file without being decoded.
TEST_F(HostileImage, ScaledTwinIsCheckedWithoutDecoding)
{
    const ScratchSkin skin;
    CPaintManagerUI manager;
    manager.GetDpiHelper()->SetScale(192);
    ASSERT_EQ(manager.GetDpiHelper()->GetScale(), 200);
    skin.Write(L"good.png", MakePng(4, 4, true));
    skin.Write(L"good@2x.png", MakePng(8, 8, true));
    skin.Write(L"big.png", MakePng(4, 4, true));
    skin.Write(L"big@2x.png", MakePng(20000, 20000, false));
    skin.Write(L"bad.png", MakePng(4, 4, true));
    skin.Write(L"bad@2x.png", Bytes(40, 0x11));

    UIDrawInfo info;
    info.Parse(L"file='good.png'", nullptr, &manager);
    EXPECT_EQ(info.imageName, L"good@2x.png");
    EXPECT_DOUBLE_EQ(info.imageFactor, 2.0);
    const Stopwatch clock;
    info.Parse(L"file='big.png'", nullptr, &manager);
    EXPECT_EQ(info.imageName, L"big.png");
    info.Parse(L"file='bad.png'", nullptr, &manager);
    EXPECT_EQ(info.imageName, L"bad.png");
    EXPECT_DOUBLE_EQ(info.imageFactor, 1.0);
    EXPECT_LT(clock.Ms(), 1000u);
}

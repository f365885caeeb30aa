// Image loading: the four byte sources, the premultiplied conversion, the mask, refused inputs,
// and real PNG, GIF, BMP and JPEG files decoded as GDI+ decodes them.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "ImageTestSupport.h"

using namespace ZvUI;

namespace {

using ImagePtr = std::unique_ptr<UIImageInfo, ImageDeleter>;

ImagePtr Load(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0)
{
    return ImagePtr(CUIRender::LoadImage(name, type, mask, nullptr));
}

class ImageLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        UseFolder(GeneratedImages());
    }
    void TearDown() override
    {
        UseFolder(L"");
        Gdiplus::GdiplusShutdown(m_token);
    }

private:
    ULONG_PTR m_token = 0;
};

} // namespace

TEST_F(ImageLoad, HalfTransparentPixelIsPremultipliedBgra)
{
    ImagePtr image = Load(L"half.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_TRUE(image->alpha);
    // (200, 100, 50, 128): blue 50*128/255 = 25, green 50, red 100.
    EXPECT_EQ(ImagePixel(image.get(), 0, 0), 0x80643219u);
    EXPECT_EQ(ImagePixel(image.get(), 1, 0), 0xFF0A141Eu);
    EXPECT_EQ(image->bits, nullptr);
    EXPECT_EQ(image->savedBits, nullptr);
    EXPECT_FALSE(image->hsl);
}

TEST_F(ImageLoad, MaskMatchesWithItsAlphaByte)
{
    ImagePtr plain = Load(L"opaque.png");
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->alpha);

    ImagePtr masked = Load(L"magenta.png", nullptr, 0xFFFF00FF);
    ASSERT_NE(masked, nullptr);
    EXPECT_TRUE(masked->alpha);
    EXPECT_EQ(ImagePixel(masked.get(), 0, 0), 0u);
    EXPECT_EQ(ImagePixel(masked.get(), 1, 1), 0u);
    EXPECT_EQ(ImagePixel(masked.get(), 1, 0), 0xFF008000u);

    // Without the alpha byte the mask never matches an opaque pixel.
    ImagePtr rgbOnly = Load(L"magenta.png", nullptr, 0x00FF00FF);
    ASSERT_NE(rgbOnly, nullptr);
    EXPECT_FALSE(rgbOnly->alpha);
    EXPECT_EQ(ImagePixel(rgbOnly.get(), 0, 0), 0xFFFF00FFu);
}

TEST_F(ImageLoad, ArchiveLookupIgnoresCaseAndBackslashes)
{
    CPaintManagerUI::SetResourceArchive(L"skin.zip", false);
    ImagePtr image = Load(L"IMG\\Sub\\GRID.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 40);
    EXPECT_EQ(ImagePixel(image.get(), 3, 5), 0xFF121E64u);

    // Folder files are not consulted while an archive is set.
    EXPECT_EQ(Load(L"tile.png"), nullptr);
    // A name missing from the archive still loads as a plain path.
    ImagePtr absolute = Load(GeneratedImages() + L"tile.png");
    ASSERT_NE(absolute, nullptr);
    EXPECT_EQ(absolute->width, 4);

    CPaintManagerUI::SetResourceArchive(L"skin.zip", true);
    ImagePtr cached = Load(L"img/sub/grid.png");
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(ImagePixel(cached.get(), 39, 39), 0xFFEAEA64u);
    CPaintManagerUI::SetResourceArchive(L"", false);
}

TEST_F(ImageLoad, RefusesEmptyBrokenOversizedAndMissingSources)
{
    EXPECT_EQ(Load(L"empty.png"), nullptr);
    EXPECT_EQ(Load(L"broken.png"), nullptr);
    EXPECT_EQ(Load(L"no-such-file.png"), nullptr);
    EXPECT_EQ(Load(L""), nullptr);
    EXPECT_EQ(CUIRender::LoadImage(nullptr), nullptr);

    CPaintManagerUI::SetResourceArchive(L"skin.zip", false);
    EXPECT_EQ(Load(L"zero.png"), nullptr);
    // The central directory claims about 2 GB for a 16-byte item: refused before allocating.
    CPaintManagerUI::SetResourceArchive(L"huge.zip", false);
    EXPECT_EQ(Load(L"big.png"), nullptr);
    CPaintManagerUI::SetResourceArchive(L"", false);
}

TEST_F(ImageLoad, ProgramResourcesByIdAndByName)
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    ImagePtr byId(CUIRender::LoadImageById(113, L"ZVPNG"));
    ASSERT_NE(byId, nullptr);
    EXPECT_EQ(byId->width, 16);
    EXPECT_EQ(byId->height, 16);
    ImagePtr missing(CUIRender::LoadImageById(114, L"ZVPNG"));
    EXPECT_EQ(missing, nullptr);
    ImagePtr byName = Load(L"HALFPNG", L"ZVPNG");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(ImagePixel(byName.get(), 0, 0), 0x80643219u);
}

TEST_F(ImageLoad, GdiplusImageFromDescriptor)
{
    std::unique_ptr<Gdiplus::Image> image(CUIRender::LoadGdiplusImage(L"file='tile.png' corner='1,1,1,1'"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 4u);
    EXPECT_EQ(image->GetHeight(), 3u);
    std::unique_ptr<Gdiplus::Image> gif(CUIRender::LoadGdiplusImage(RealImages() + L"redhat.gif"));
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(gif->GetWidth(), 44u);
    EXPECT_EQ(CUIRender::LoadGdiplusImage(L"file='broken.png'"), nullptr);
    EXPECT_EQ(CUIRender::LoadGdiplusImage(L"no-such.png"), nullptr);
}

namespace {

struct RealFile {
    const wchar_t* name;
    int tolerance;  // per channel; JPEG decoders differ in their IDCT and upsampling
};

const RealFile kRealFiles[] = {
    {L"python-file.png", 0}, {L"git-logo.png", 0}, {L"redhat.gif", 0}, {L"pilrcic.bmp", 0}, {L"qt-footer.jpg", 24},
};

} // namespace

TEST_F(ImageLoad, RealFilesDecodeAsGdiplusDecodesThem)
{
    for (const RealFile& file : kRealFiles) {
        const CUIString path = RealImages() + file.name;
        ImagePtr ours = Load(path);
        ASSERT_NE(ours, nullptr) << path.GetData();
        Gdiplus::Bitmap reference(path.GetData());
        ASSERT_EQ(reference.GetLastStatus(), Gdiplus::Ok);
        ASSERT_EQ(static_cast<UINT>(ours->width), reference.GetWidth());
        ASSERT_EQ(static_cast<UINT>(ours->height), reference.GetHeight());
        Gdiplus::BitmapData data;
        Gdiplus::Rect all(0, 0, ours->width, ours->height);
        ASSERT_EQ(reference.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data), Gdiplus::Ok);
        int worst = 0;
        long long total = 0;
        bool anyTransparent = false;
        for (int y = 0; y < ours->height; ++y) {
            const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
            for (int x = 0; x < ours->width; ++x) {
                const DWORD ref = row[x];
                const DWORD a = ref >> 24;
                anyTransparent = anyTransparent || a < 255;
                DWORD expected = a << 24;
                for (int shift = 0; shift < 24; shift += 8)
                    expected |= (((ref >> shift) & 0xFF) * a / 255) << shift;
                const DWORD got = ImagePixel(ours.get(), x, y);
                for (int shift = 0; shift < 32; shift += 8) {
                    const int d = std::abs(static_cast<int>((got >> shift) & 0xFF) -
                                           static_cast<int>((expected >> shift) & 0xFF));
                    worst = d > worst ? d : worst;
                    total += d;
                }
            }
        }
        reference.UnlockBits(&data);
        EXPECT_LE(worst, file.tolerance) << path.GetData();
        if (file.tolerance > 0)
            EXPECT_LE(total / (ours->width * ours->height * 4), 2) << path.GetData();
        EXPECT_EQ(ours->alpha, anyTransparent) << path.GetData();
    }
}

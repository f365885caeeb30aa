// What a decoder is handed is bounded by what it really costs: formats without a rule never reach
// one, GIF codes and frames, PNG data and memory are counted as the decoders spend them.
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HostileTestSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIDecodeBudget.h"
#include "render/UIDrawInfo.h"
#include "render/UIImageInfo.h"
#include "render/UIImageLimits.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

class ImageCost : public ::testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override
    {
        CPaintManagerUI::SetResourceArchive(L"", false);
        Gdiplus::GdiplusShutdown(m_token);
    }

    // Through the skin folder to both decoders, and from memory to GDI+: refused fast, with a log
    // line that names the image and says why.
    static void ExpectRefused(const ScratchSkin& skin, const std::wstring& name, const Bytes& bytes,
                              const std::wstring& why)
    {
        SCOPED_TRACE(::testing::PrintToString(name));
        skin.Write(name, bytes);
        const DebugLog log;
        const Stopwatch clock;
        ImagePtr image(CUIRender::LoadImage(name.c_str(), nullptr, 0, nullptr));
        std::unique_ptr<Gdiplus::Image> named(CUIRender::LoadGdiplusImage(name.c_str()));
        std::unique_ptr<Gdiplus::Image> memory(
            CUIRender::GdiplusImageFromMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
        EXPECT_EQ(image, nullptr);
        EXPECT_EQ(named, nullptr);
        EXPECT_EQ(memory, nullptr);
        EXPECT_LT(clock.Ms(), kRefusalMs);
        EXPECT_TRUE(log.Has(name));
        EXPECT_TRUE(log.Has(why));
    }

private:
    ULONG_PTR m_token = 0;
};

} // namespace

// 16-bit PNM crashed our decoder, an HDR header cost a full-size float decode, and header-only
// TGA, PNM and PSD files loaded as 4K images of pixels never read: whatever their name or source.
TEST_F(ImageCost, FormatsWithoutARuleAreRefusedByName)
{
    const ScratchSkin skin;
    Bytes pnm = Text("P6\n64 64\n65535\n");
    pnm.resize(pnm.size() + 64 * 64 * 6, 0x5A);
    Bytes psd = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0x08, 0x70, 0, 0, 0x0F, 0, 0, 8, 0, 3};
    psd.resize(40, 0);
    const Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x0F, 0x70, 0x08, 32, 0x28};
    const struct {
        const wchar_t* name;
        Bytes bytes;
        const wchar_t* why;
    } cases[] = {
        {L"deep.ppm", pnm, L"PNM"},
        {L"deephead.png", Text("P6 3840 2160 65535\n"), L"PNM"},
        {L"light.hdr", Text("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2160 +X 3840\n"), L"HDR"},
        {L"layers.psd", psd, L"PSD"},
        {L"header.tga", tga, L"none with a rule"},
    };
    for (const auto& c : cases)
        ExpectRefused(skin, c.name, c.bytes, c.why);

    // From the skin zip too.
    const Bytes zip = MakeZip({{"deep.png", pnm}});
    CPaintManagerUI::SetResourceArchive(zip.data(), static_cast<int>(zip.size()));
    const DebugLog log;
    ImagePtr zipped(CUIRender::LoadImage(L"deep.png", nullptr, 0, nullptr));
    EXPECT_EQ(zipped, nullptr);
    EXPECT_TRUE(log.Has(L"PNM"));
}

// After each clear code every code stood for a string one pixel longer than the last: a 1 x 1
// GIF of 100 KB cost our decoder most of a second (4 MB: half a minute).
TEST_F(ImageCost, GifCodesThatDecodeToMoreThanTheFrameAreRefused)
{
    const ScratchSkin skin;
    ExpectRefused(skin, L"longcodes.gif", MakeGifLongCodes(100 * 1024), L"codes decode");

    skin.Write(L"pixels.gif", MakeGifPixels(300, 200));
    ImagePtr ordinary(CUIRender::LoadImage(L"pixels.gif", nullptr, 0, nullptr));
    ASSERT_NE(ordinary, nullptr);
    EXPECT_EQ(ordinary->width, 300);
}

// 100,000 frames of one pixel took GDI+ ten seconds to open: frames are counted by number too.
TEST_F(ImageCost, GifFramesAreCappedByNumber)
{
    const ScratchSkin skin;
    skin.Write(L"cap.gif", MakeGifFrames(static_cast<unsigned>(kMaxGifFrames)));
    std::unique_ptr<Gdiplus::Image> cap(CUIRender::LoadGdiplusImage(L"cap.gif"));
    ASSERT_NE(cap, nullptr);
    GUID dimension = {};
    ASSERT_EQ(cap->GetFrameDimensionsList(&dimension, 1), Gdiplus::Ok);
    EXPECT_EQ(cap->GetFrameCount(&dimension), static_cast<UINT>(kMaxGifFrames));

    ExpectRefused(skin, L"past.gif", MakeGifFrames(static_cast<unsigned>(kMaxGifFrames) + 1), L"frames");
}

// The data may hold exactly what the rows need for the colour type, depth and interlace: an
// 8-bit grey image used to be let inflate to eight times its rows.
TEST_F(ImageCost, PngDataAreHeldToTheExactBytesTheirRowsNeed)
{
    const ScratchSkin skin;
    const struct {
        unsigned width;
        unsigned height;
        int depth;
        int colour;
        bool interlaced;
    } shapes[] = {{37, 5, 1, 0, false}, {37, 5, 2, 0, true}, {16, 9, 8, 0, false}, {16, 9, 8, 2, false},
                  {13, 7, 16, 4, false}, {13, 7, 16, 6, true}, {3, 3, 8, 6, true}, {1, 1, 4, 0, true}};
    for (const auto& s : shapes) {
        const std::wstring name = L"shape" + std::to_wstring(s.width) + L"x" + std::to_wstring(s.height) + L"d" +
                                  std::to_wstring(s.depth) + L"c" + std::to_wstring(s.colour) +
                                  (s.interlaced ? L"i" : L"");
        skin.Write(name + L".png", MakeShapedPng(s.width, s.height, s.depth, s.colour, s.interlaced, 4));
        ImagePtr exact(CUIRender::LoadImage((name + L".png").c_str(), nullptr, 0, nullptr));
        ASSERT_NE(exact, nullptr) << ::testing::PrintToString(name);
        EXPECT_EQ(exact->width, static_cast<int>(s.width));
        ExpectRefused(skin, name + L"over.png",
                      MakeShapedPng(s.width, s.height, s.depth, s.colour, s.interlaced, 4, 1), L"rows need");
    }
    ExpectRefused(skin, L"grey8x.png", MakeShapedPng(512, 512, 8, 0, false, 0, 7 * 513 * 512), L"rows need");
}

// A 16-bit or interlaced PNG at the full size took seconds and over 256 MiB (4K, 16-bit,
// interlaced: 4.6 s): such files are held to a lower pixel limit, from their header.
TEST_F(ImageCost, SixteenBitAndInterlacedPngAreHeldToALowerPixelLimit)
{
    const ScratchSkin skin;
    const unsigned width = 2400;
    const struct {
        int depth;
        bool interlaced;
        long long limit;
    } costly[] = {{16, false, kMaxPngCostlyPixels}, {8, true, kMaxPngCostlyPixels}, {16, true, kMaxPngCostliestPixels}};
    for (const auto& c : costly) {
        const std::wstring name = L"costly" + std::to_wstring(c.depth) + (c.interlaced ? L"i" : L"");
        const unsigned atLimit = static_cast<unsigned>(c.limit / width);
        skin.Write(name + L"at.png", MakeShapedPng(width, atLimit, c.depth, 6, c.interlaced, 0, 0, false));
        skin.Write(name + L"past.png", MakeShapedPng(width, atLimit + 1, c.depth, 6, c.interlaced, 0, 0, false));
        EXPECT_TRUE(CUIRender::ProbeImage((name + L"at.png").c_str())) << ::testing::PrintToString(name);
        EXPECT_FALSE(CUIRender::ProbeImage((name + L"past.png").c_str())) << ::testing::PrintToString(name);
    }
    skin.Write(L"plain8.png", MakeShapedPng(3840, 2160, 8, 6, false, 0, 0, false));
    EXPECT_TRUE(CUIRender::ProbeImage(L"plain8.png"));

    ExpectRefused(skin, L"deep4k.png", MakeShapedPng(3840, 2160, 16, 6, true, 4), L"16-bit");
}

// A progressive JPEG's scans may visit 16 full-size planes of blocks, what libjpeg's colour files
// need at 4:4:4 and more: at 32, a four-component file at the size limit cost three times a
// full-size PNG. A 2 x 2-sampled component is counted at its own, full, size: its scans cost as
// much as a 1 x 1 file's. The check alone judges them here, nothing is decoded.
TEST_F(ImageCost, JpegScansVisitAtMostSixteenFullSizePlanes)
{
    struct Row {
        const wchar_t* name;
        bool subsampled;
        int scans;
        bool accepted;
    };
    const Row rows[] = {
        {L"planes16.jpg", false, 16, true},
        {L"planes17.jpg", false, 17, false},
        {L"planes16-420.jpg", true, 16, true},
        {L"planes17-420.jpg", true, 17, false},
        {L"planes64-420.jpg", true, 64, false},
    };
    const ScratchSkin skin;
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.name)));
        skin.Write(row.name, MakeProgressiveJpeg(3840, 2160, row.scans, row.subsampled));
        std::vector<BYTE> bytes;
        const DebugLog log;
        EXPECT_EQ(CUIRender::ReadImageFile((skin.Folder() + row.name).c_str(), bytes), row.accepted)
            << (row.accepted ? "refused" : "accepted");
        EXPECT_EQ(log.Has(L"blocks"), !row.accepted) << "the log's word on the blocks";
    }
}

// CMYK and YCCK files cost four planes and a colour conversion whatever their scans.
TEST_F(ImageCost, FourComponentJpegsAreHeldToHalfThePixels)
{
    const ScratchSkin skin;
    skin.Write(L"cmyk-half.jpg", MakeCostlyProgressiveJpeg(3840, 1080, 0));
    skin.Write(L"cmyk-over.jpg", MakeCostlyProgressiveJpeg(3840, 1088, 0));
    std::vector<BYTE> bytes;
    EXPECT_TRUE(CUIRender::ReadImageFile((skin.Folder() + L"cmyk-half.jpg").c_str(), bytes));
    const DebugLog log;
    EXPECT_FALSE(CUIRender::ReadImageFile((skin.Folder() + L"cmyk-over.jpg").c_str(), bytes));
    EXPECT_TRUE(log.Has(L"four-component"));
}

// Every buffer of a decode is counted: the encoded bytes, the decoder's own and the bitmap.
TEST_F(ImageCost, DecodesAreHeldToTheMemoryBudget)
{
    const ScratchSkin skin;
    skin.Write(L"budget1.png", MakeZeroPng(1024, 1024));
    skin.Write(L"budget2.png", MakeZeroPng(1024, 1024));
    {
        UIDecodeBudget measured;
        ImagePtr image(CUIRender::LoadImage(L"budget1.png", nullptr, 0, nullptr));
        ASSERT_NE(image, nullptr);
        // The decoded pixels and the bitmap at least, and nothing like the whole budget.
        EXPECT_GE(measured.Peak(), 8ll << 20);
        EXPECT_LT(measured.Peak(), 32ll << 20);
    }
    UIDecodeBudget outer;
    ASSERT_TRUE(outer.Take(kMaxImageMemory - (6ll << 20)));
    const DebugLog log;
    ImagePtr refused(CUIRender::LoadImage(L"budget2.png", nullptr, 0, nullptr));
    EXPECT_EQ(refused, nullptr);
    EXPECT_TRUE(outer.Exhausted());
    EXPECT_TRUE(log.Has(L"budget2.png"));
    EXPECT_TRUE(log.Has(L"MiB"));
    outer.Release(kMaxImageMemory - (6ll << 20));
}

// Each share of a decode is counted with the others: given room for all but half of one share
// (the bitmap made from the pixels, the encoded bytes), the image is refused, and the log names
// the budget.
TEST_F(ImageCost, EachShareOfADecodeCountsAgainstTheMemoryBudget)
{
    constexpr unsigned kSide = 2048;
    constexpr size_t kMetadata = 24u << 20;
    const ScratchSkin skin;
    // A grey file's decoder holds less than its four-channel pixels and the bitmap together.
    skin.Write(L"bitmapshare.png", MakeShapedPng(kSide, kSide, 8, 0, false));
    // A small picture behind metadata the decoder skips.
    skin.Write(L"bytesshare.jpg", MakeJpegBehindMetadata(16, 16, kMetadata));
    const auto peakOf = [](auto load) {
        UIDecodeBudget measured;
        EXPECT_TRUE(load());
        return measured.Peak();
    };
    const auto refusedWithin = [](LPCWSTR name, long long room) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(name)));
        UIDecodeBudget outer;
        ASSERT_TRUE(outer.Take(kMaxImageMemory - room));
        const DebugLog log;
        ImagePtr image(CUIRender::LoadImage(name, nullptr, 0, nullptr));
        EXPECT_TRUE(image == nullptr) << "loaded in " << (room >> 10) << " KiB";
        EXPECT_TRUE(log.Has(name));
        EXPECT_TRUE(log.Has(L"its decode would hold more than 256 MiB"));
        outer.Release(kMaxImageMemory - room);
    };

    // The path to the system's decoders decodes with ours first, and makes no bitmap.
    const long long decoder = peakOf([] {
        return std::unique_ptr<Gdiplus::Image>(CUIRender::LoadGdiplusImage(L"bitmapshare.png")) != nullptr;
    });
    const long long bitmap = 4ll * kSide * kSide;
    ASSERT_LT(decoder + bitmap / 2, 2 * bitmap) << "the decoder alone holds the pixels and a bitmap's worth";
    refusedWithin(L"bitmapshare.png", decoder + bitmap / 2);

    const long long whole =
        peakOf([] { return ImagePtr(CUIRender::LoadImage(L"bytesshare.jpg", nullptr, 0, nullptr)) != nullptr; });
    ASSERT_GT(whole, static_cast<long long>(kMetadata)) << "the encoded bytes are not counted";
    refusedWithin(L"bytesshare.jpg", whole - static_cast<long long>(kMetadata) / 2);
}

// The check passed it and the decoder did not (a critical chunk it does not know): the image is
// named in the log all the same.
TEST_F(ImageCost, ADecoderRefusalIsNamedInTheLog)
{
    const ScratchSkin skin;
    const Bytes png = MakePng(4, 4, true);
    Bytes unknown(png.begin(), png.begin() + 33);
    unknown.insert(unknown.end(), {0, 0, 0, 0, 'Z', 'Z', 'Z', 'Z', 0x2D, 0x2F, 0xC7, 0x43});
    unknown.insert(unknown.end(), png.begin() + 33, png.end());
    skin.Write(L"unknownchunk.png", unknown);
    const DebugLog log;
    ImagePtr image(CUIRender::LoadImage(L"unknownchunk.png", nullptr, 0, nullptr));
    EXPECT_EQ(image, nullptr);
    EXPECT_TRUE(log.Has(L"unknownchunk.png"));
    EXPECT_TRUE(log.Has(L"decoder"));
}

// A JPEG twin with 70 KB of metadata before its frame header was never chosen at 200 %.
TEST_F(ImageCost, AJpegTwinWithItsFrameHeaderPastTheStartIsChosen)
{
    const ScratchSkin skin;
    skin.Write(L"photo.jpg", MakeJpeg(8, 8, false));
    skin.Write(L"photo@2x.jpg", MakeJpegBehindMetadata(16, 16, 70 * 1024));
    CPaintManagerUI manager;
    manager.GetDpiHelper()->SetScale(192);
    UIDrawInfo info;
    info.Parse(L"file='photo.jpg'", nullptr, &manager);
    EXPECT_EQ(info.imageName, L"photo@2x.jpg");
    EXPECT_DOUBLE_EQ(info.imageFactor, 2.0);
    ImagePtr twin(CUIRender::LoadImage(L"photo@2x.jpg", nullptr, 0, nullptr));
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->width, 16);
}

// Image bombs: a declared size no skin needs is refused from the header, fast, on every loading
// path, with a line in the debug log, and the control is drawn without the image.
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "HostileTestSupport.h"
#include "RenderCanvas.h"
#include "control/ControlUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIDrawInfo.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

class ImageBomb : public ::testing::Test {
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

private:
    ULONG_PTR m_token = 0;
};

} // namespace

// 1.7 MB that inflate to 256 MB: the framework's decoder took seconds on it.
TEST_F(ImageBomb, ZeroPngOf8192IsRefusedFromTheFolderAndTheSkinZip)
{
    const ScratchSkin skin;
    const Bytes zeros = MakeZeroPng(8192, 8192);
    skin.Write(L"zeros8192.png", zeros);
    const DebugLog log;
    Stopwatch clock;
    ImagePtr image(CUIRender::LoadImage(L"zeros8192.png", nullptr, 0, nullptr));
    EXPECT_EQ(image, nullptr);
    EXPECT_LT(clock.Ms(), kRefusalMs);
    EXPECT_TRUE(log.Has(L"zeros8192.png"));

    const Bytes zip = MakeZip({{"skin/zeros8192z.png", zeros}});
    CPaintManagerUI::SetResourceArchive(zip.data(), static_cast<int>(zip.size()));
    clock = Stopwatch();
    for (int i = 0; i < 3; ++i)
        image.reset(CUIRender::LoadImage(L"skin\\zeros8192z.png", nullptr, 0, nullptr));
    EXPECT_EQ(image, nullptr);
    EXPECT_LT(clock.Ms(), kRefusalMs);
    EXPECT_TRUE(log.Has(L"zeros8192z.png"));
}

// A small declared size over the same data: our decoder inflated all of it before finding out.
TEST_F(ImageBomb, SmallPngOverHugeDataIsRefused)
{
    const ScratchSkin skin;
    Bytes bomb = MakeZeroPng(8192, 8192);
    for (int at : {16, 20}) {
        bomb[at] = 0;
        bomb[at + 1] = 0;
        bomb[at + 2] = 0;
        bomb[at + 3] = 64;
    }
    skin.Write(L"small64.png", bomb);
    // The same as Apple's CgBI form: a chunk before the header and raw deflate data.
    Bytes apple(bomb.begin(), bomb.begin() + 8);
    apple.insert(apple.end(), {0, 0, 0, 4, 'C', 'g', 'B', 'I', 0x50, 0, 0x20, 0x06, 0, 0, 0, 0});
    apple.insert(apple.end(), bomb.begin() + 8, bomb.begin() + 33);
    const uint32_t idat = static_cast<uint32_t>(bomb[33]) << 24 | bomb[34] << 16 | bomb[35] << 8 | bomb[36];
    const uint32_t rawLength = idat - 6;
    apple.insert(apple.end(), {static_cast<unsigned char>(rawLength >> 24), static_cast<unsigned char>(rawLength >> 16),
                               static_cast<unsigned char>(rawLength >> 8), static_cast<unsigned char>(rawLength),
                               'I', 'D', 'A', 'T'});
    apple.insert(apple.end(), bomb.begin() + 43, bomb.begin() + 41 + idat - 4);
    apple.insert(apple.end(), {0, 0, 0, 0, 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    skin.Write(L"apple64.png", apple);
    const DebugLog log;
    const Stopwatch clock;
    ImagePtr image(CUIRender::LoadImage(L"small64.png", nullptr, 0, nullptr));
    std::unique_ptr<Gdiplus::Image> gdip(CUIRender::GdiplusImageFromMemory(bomb.data(), static_cast<DWORD>(bomb.size())));
    ImagePtr fromApple(CUIRender::LoadImage(L"apple64.png", nullptr, 0, nullptr));
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(gdip, nullptr);
    EXPECT_EQ(fromApple, nullptr);
    EXPECT_LT(clock.Ms(), kRefusalMs);
    EXPECT_TRUE(log.Has(L"small64.png"));
    EXPECT_TRUE(log.Has(L"apple64.png"));
}

namespace {

// Written to the skin folder and loaded by name, and handed to the GDI+ loader from memory: both
// refuse it fast and name it in the debug log.
void ExpectRefusedByBothLoaders(const ScratchSkin& skin, const wchar_t* name, const Bytes& bytes)
{
    SCOPED_TRACE(::testing::PrintToString(std::wstring(name)));
    skin.Write(name, bytes);
    const DebugLog log;
    const Stopwatch clock;
    ImagePtr image(CUIRender::LoadImage(name, nullptr, 0, nullptr));
    std::unique_ptr<Gdiplus::Image> gdip(CUIRender::GdiplusImageFromMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(gdip, nullptr);
    EXPECT_LT(clock.Ms(), kRefusalMs);
    EXPECT_TRUE(log.Has(name));
}

} // namespace

// A declared 16 x 16 over 64 MB of zeros, in shapes zlib refuses and our decoder reads: a window
// size over 32 KB, and a Huffman code that leaves codes unused. Both loaders refuse them unread.
TEST_F(ImageBomb, PngDataThatZlibRefusesAreRefused)
{
    const ScratchSkin skin;
    const unsigned long long zeros = 64ull << 20;
    const struct {
        const wchar_t* name;
        Bytes bytes;
    } cases[] = {
        {L"window.png", MakeDeflatedPng(16, 16, zeros, 0x88, 0x1C)},
        {L"window16.png", MakeDeflatedPng(16, 16, 16 * 65, 0x88, 0x1C)},
        {L"huffman.png", MakeLenientPng(16, 16, zeros)},
    };
    for (const auto& c : cases)
        ExpectRefusedByBothLoaders(skin, c.name, c.bytes);
    // The usual header over the data 16 x 16 needs.
    skin.Write(L"usual16.png", MakeDeflatedPng(16, 16, 16 * 65));
    ImagePtr usual(CUIRender::LoadImage(L"usual16.png", nullptr, 0, nullptr));
    ASSERT_NE(usual, nullptr);
    EXPECT_EQ(usual->width, 16);
}

// Data cut before their stream ends: our decoder reads zeros past the end, here one literal after
// another without bound.
TEST_F(ImageBomb, PngDataEndingBeforeTheirStreamAreRefused)
{
    const ScratchSkin skin;
    ExpectRefusedByBothLoaders(skin, L"cut.png", MakeLenientPng(16, 16, 1000, true));
}

// Each scan of a JPEG costs a pass over the blocks it names, whatever its few bytes say: an
// ordinary progressive file loads, more scans than any real file has, or scans that visit a
// full-size picture's blocks too often, are refused by both loaders.
TEST_F(ImageBomb, JpegScansPastTheLimitsAreRefused)
{
    const ScratchSkin skin;
    skin.Write(L"scans10.jpg", MakeProgressiveJpeg(64, 48, 10));
    ImagePtr ordinary(CUIRender::LoadImage(L"scans10.jpg", nullptr, 0, nullptr));
    ASSERT_NE(ordinary, nullptr);
    EXPECT_EQ(ordinary->width, 64);
    EXPECT_EQ(ordinary->height, 48);

    const struct {
        const wchar_t* name;
        Bytes bytes;
    } cases[] = {
        {L"scans65.jpg", MakeProgressiveJpeg(64, 48, 65)},
        {L"full40.jpg", MakeProgressiveJpeg(3840, 2160, 40)},
    };
    for (const auto& c : cases)
        ExpectRefusedByBothLoaders(skin, c.name, c.bytes);
}

// The animation loader: its header check let 4096 x 4096 through to both decoders.
TEST_F(ImageBomb, ZeroPngOf4096IsRefusedByTheGdiplusLoader)
{
    const ScratchSkin skin;
    const Bytes zeros = MakeZeroPng(4096, 4096);
    skin.Write(L"zeros4096.png", zeros);
    const DebugLog log;
    const Stopwatch clock;
    std::unique_ptr<Gdiplus::Image> named(CUIRender::LoadGdiplusImage(L"file='zeros4096.png'"));
    std::unique_ptr<Gdiplus::Image> memory(
        CUIRender::GdiplusImageFromMemory(zeros.data(), static_cast<DWORD>(zeros.size())));
    EXPECT_EQ(named, nullptr);
    EXPECT_EQ(memory, nullptr);
    EXPECT_LT(clock.Ms(), kRefusalMs);
    EXPECT_TRUE(log.Has(L"zeros4096.png"));
    EXPECT_TRUE(log.Has(L"(memory)"));
}

// Decoders fill a cut scan with grey: the 8000 x 8000 result stalled every paint.
TEST_F(ImageBomb, CutJpegOf8000LeavesTheControlDrawnWithoutIt)
{
    const ScratchSkin skin;
    skin.Write(L"cut8000.jpg", MakeJpeg(8000, 8000, true));
    CPaintManagerUI manager;
    CControlUI control;
    control.SetManager(&manager, nullptr, false);
    control.SetBkColor(0xFF00FF00);
    control.SetBkImage(L"file='cut8000.jpg'");
    control.SetPos(RECT{0, 0, 40, 30}, false);
    RenderCanvas canvas(40, 30, 0x000000FF);
    const DebugLog log;
    const Stopwatch clock;
    for (int i = 0; i < 3; ++i)
        control.Paint(canvas.DC(), RECT{0, 0, 40, 30}, nullptr);
    EXPECT_LT(clock.Ms(), kRefusalMs);
    EXPECT_EQ(canvas.Rgb(20, 15), 0x00FF00u);
    EXPECT_EQ(manager.LoadImageCached(L"cut8000.jpg"), nullptr);
    EXPECT_TRUE(log.Has(L"cut8000.jpg"));
    control.SetManager(nullptr, nullptr, false);
}

// At 200 % the twin is chosen on its header alone: when its data then fail, the control is drawn
// with the plain image, as where there is no twin, not without one.
TEST_F(ImageBomb, ATwinWhoseDataFailGivesWayToThePlainImage)
{
    const ScratchSkin skin;
    skin.Write(L"twin.bmp", MakeBmp(4, 4));
    skin.Write(L"twin@2x.bmp", MakeLenientPng(8, 8, 1000, true));
    CPaintManagerUI manager;
    manager.GetDpiHelper()->SetScale(192);
    UIDrawInfo info;
    info.Parse(L"file='twin.bmp'", nullptr, &manager);
    ASSERT_EQ(info.imageName, L"twin@2x.bmp");
    CControlUI control;
    control.SetManager(&manager, nullptr, false);
    control.SetBkImage(L"file='twin.bmp'");
    control.SetPos(RECT{0, 0, 40, 30}, false);
    RenderCanvas canvas(40, 30, 0x000000FF);
    control.Paint(canvas.DC(), RECT{0, 0, 40, 30}, nullptr);
    EXPECT_NE(canvas.Rgb(20, 15), 0x0000FFu);
    control.SetManager(nullptr, nullptr, false);
}

// A full-screen background at 200 % on a 4K screen, either way up, is the largest a skin needs.
TEST_F(ImageBomb, TheLimitAdmitsA4kScreenAt200PercentAndNoMore)
{
    const ScratchSkin skin;
    const struct {
        unsigned width;
        unsigned height;
        bool accepted;
    } cases[] = {{3840, 2160, true}, {2160, 3840, true}, {4096, 2025, true}, {1, 4096, true},
                 {3841, 2160, false}, {4096, 4096, false}, {4097, 1, false}, {1, 8192, false}};
    for (const auto& c : cases) {
        const std::wstring name = L"side" + std::to_wstring(c.width) + L"x" + std::to_wstring(c.height) + L".png";
        skin.Write(name, MakePng(c.width, c.height, false));
        EXPECT_EQ(CUIRender::ProbeImage(name.c_str()), c.accepted) << c.width << " x " << c.height;
    }
    // The largest of them decodes whole.
    skin.Write(L"full.png", MakeZeroPng(3840, 2160));
    ImagePtr image(CUIRender::LoadImage(L"full.png", nullptr, 0, nullptr));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3840);
    EXPECT_EQ(image->height, 2160);
}

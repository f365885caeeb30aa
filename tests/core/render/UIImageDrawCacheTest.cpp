// Images kept as drawn: the kept copy gives the pixels of the direct nine-slice blit, is made
// again when anything that changes the pixels changes, and stays within its memory limit.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RenderCanvas.h"
#include "manager/PaintManagerUI.h"
#include "render/UIImageInfo.h"

using namespace ZvUI;

namespace {

// A premultiplied picture with translucent borders, an opaque middle and some clear pixels.
HBITMAP MakeImage(int width, int height, int seed, bool opaque = false)
{
    BYTE* raw = nullptr;
    HBITMAP bitmap = CUIRender::CreateARGB32Bitmap(nullptr, width, -height, &raw);
    auto* px = reinterpret_cast<DWORD*>(raw);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool edge = x < 6 || y < 6 || x >= width - 6 || y >= height - 6;
            DWORD a = opaque ? 255 : edge ? static_cast<DWORD>((x * 37 + y * 11 + seed) % 256) : 255;
            if (!opaque && x == width / 2 && y < 3)
                a = 0;
            const DWORD r = ((x * 9 + seed) % 256) * a / 255;
            const DWORD g = ((y * 7 + seed * 3) % 256) * a / 255;
            const DWORD b = ((x + y + seed) % 256) * a / 255;
            px[y * width + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return bitmap;
}

void FillBackground(RenderCanvas& canvas)
{
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            canvas.Set(x, y, 0xFF000000u | static_cast<DWORD>((x * 5) % 256) << 16 |
                                 static_cast<DWORD>((y * 3) % 256) << 8 | static_cast<DWORD>((x ^ y) & 0xFF));
}

std::vector<DWORD> Pixels(const RenderCanvas& canvas)
{
    std::vector<DWORD> out;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            out.push_back(canvas.Raw(x, y));
    return out;
}

class ImageDrawCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetGlobalDpi(96);
        m_manager = new CPaintManagerUI();
        // Draws every image straight through the nine-slice blit, for comparison.
        m_direct = new CPaintManagerUI();
        m_direct->GetImageDrawCache().SetMemoryLimit(0);
        AddBoth(L"frame", 48, 40, 1, false);
        AddBoth(L"solid", 30, 24, 2, true);
    }
    void TearDown() override
    {
        delete m_direct;
        delete m_manager;
        CPaintManagerUI::SetGlobalDpi(96);
    }
    void AddBoth(LPCWSTR name, int width, int height, int seed, bool opaque)
    {
        ASSERT_NE(m_manager->AddImage(name, MakeImage(width, height, seed, opaque), width, height, !opaque), nullptr);
        ASSERT_NE(m_direct->AddImage(name, MakeImage(width, height, seed, opaque), width, height, !opaque), nullptr);
    }
    CUIImageDrawCache& Cache() { return m_manager->GetImageDrawCache(); }

    // The picture of one draw over a patterned background, clipped to the paint rectangle as a
    // control's paint is, and optionally to a second rectangle.
    std::vector<DWORD> DrawWith(CPaintManagerUI* manager, LPCWSTR descriptor, const RECT& item,
                                const RECT& paint, LPCWSTR modify, const RECT* clip) const
    {
        RenderCanvas canvas(160, 120, 0x00FFFFFF, m_bottomUp);
        FillBackground(canvas);
        RECT rc = paint;
        if (clip != nullptr)
            ::IntersectRect(&rc, &paint, clip);
        HRGN region = ::CreateRectRgnIndirect(&rc);
        ::SelectClipRgn(canvas.DC(), region);
        CUIRender::DrawImageString(canvas.DC(), manager, item, paint, descriptor, modify);
        ::SelectClipRgn(canvas.DC(), nullptr);
        ::DeleteObject(region);
        return Pixels(canvas);
    }
    std::vector<DWORD> Draw(LPCWSTR descriptor, const RECT& item, const RECT& paint, LPCWSTR modify = nullptr,
                            const RECT* clip = nullptr)
    {
        return DrawWith(m_manager, descriptor, item, paint, modify, clip);
    }
    std::vector<DWORD> DrawDirect(LPCWSTR descriptor, const RECT& item, const RECT& paint, LPCWSTR modify = nullptr,
                                  const RECT* clip = nullptr)
    {
        return DrawWith(m_direct, descriptor, item, paint, modify, clip);
    }

    CPaintManagerUI* m_manager = nullptr;
    CPaintManagerUI* m_direct = nullptr;
    // The window's own off-screen bitmap is bottom-up.
    bool m_bottomUp = false;
};

// The colour shift of tests: a 48 x 40 image's pixels rewritten in place.
void Shift(UIImageInfo* image)
{
    ASSERT_NE(image, nullptr);
    DIBSECTION ds = {};
    ASSERT_EQ(::GetObjectW(image->bitmap, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    image->hsl = true;
    image->bits = static_cast<DWORD*>(ds.dsBm.bmBits);
    image->savedBits = new DWORD[count];
    std::memcpy(image->savedBits, image->bits, count * sizeof(DWORD));
    CUIRender::AdjustImage(true, image, 60, 100, 60);
}

const RECT kAll = {0, 0, 160, 120};

TEST_F(ImageDrawCache, KeptImageGivesThePixelsOfTheDirectBlitEveryTime)
{
    struct Row {
        const wchar_t* descriptor;
        RECT item;
        RECT paint;
        bool clipped;
    };
    const Row rows[] = {
        {L"file='frame' corner='12,10,12,10'", {7, 5, 140, 101}, kAll, false},
        {L"file='frame' corner='12,10,12,10' fade='96'", {3, 9, 133, 117}, kAll, false},
        {L"file='frame' source='12,10,36,30' fade='150'", {11, 13, 97, 88}, kAll, false},
        {L"file='frame' corner='6,6,6,6' xtiled='true' ytiled='true'", {5, 4, 151, 111}, kAll, false},
        {L"file='frame' corner='6,6,6,6' ytiled='true' hole='true'", {9, 2, 77, 119}, kAll, false},
        {L"file='frame' source='0,0,20,20'", {21, 17, 41, 37}, kAll, false},
        {L"file='frame' corner='12,10,12,10'", {7, 5, 140, 101}, {30, 20, 90, 70}, false},
        {L"file='frame' corner='12,10,12,10' fade='200'", {7, 5, 140, 101}, kAll, true},
        {L"file='solid' corner='5,5,5,5'", {13, 7, 121, 93}, kAll, false},
        {L"file='solid' corner='5,5,5,5' fade='128'", {13, 7, 121, 93}, kAll, true},
        {L"file='solid'", {40, 30, 70, 54}, {45, 35, 60, 50}, false},
    };
    const RECT clip = {20, 15, 100, 60};
    // The window's own off-screen bitmap is bottom-up; the copies are kept top-down.
    for (const bool bottomUp : {false, true}) {
        m_bottomUp = bottomUp;
        Cache().Clear();
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::PrintToString(std::wstring(row.descriptor)) + (bottomUp ? " bottom-up" : ""));
            const RECT* c = row.clipped ? &clip : nullptr;
            const std::vector<DWORD> direct = DrawDirect(row.descriptor, row.item, row.paint, nullptr, c);
            EXPECT_TRUE(Draw(row.descriptor, row.item, row.paint, nullptr, c) == direct) << "first draw";
            EXPECT_TRUE(Draw(row.descriptor, row.item, row.paint, nullptr, c) == direct) << "kept copy";
            // The same image elsewhere comes from the same copy.
            const RECT moved = {row.item.left + 3, row.item.top + 1, row.item.right + 3, row.item.bottom + 1};
            const RECT paint = {row.paint.left + 3, row.paint.top + 1, row.paint.right + 3, row.paint.bottom + 1};
            EXPECT_TRUE(Draw(row.descriptor, moved, paint, nullptr, c) ==
                        DrawDirect(row.descriptor, moved, paint, nullptr, c));
        }
    }
    EXPECT_GT(Cache().GetCount(), 0);
    EXPECT_GT(Cache().GetMemory(), 0u);
}

TEST_F(ImageDrawCache, ChangesGiveTheNewPixelsNotTheKeptOnes)
{
    const wchar_t* frame = L"file='frame' corner='12,10,12,10' fade='180'";
    const RECT item = {4, 6, 120, 90};
    const std::vector<DWORD> first = Draw(frame, item, kAll);
    ASSERT_TRUE(Draw(frame, item, kAll) == first);

    // Another fade.
    EXPECT_TRUE(Draw(frame, item, kAll, L"fade='90'") == DrawDirect(frame, item, kAll, L"fade='90'"));
    // Another size.
    const RECT smaller = {4, 6, 100, 70};
    EXPECT_TRUE(Draw(frame, smaller, kAll) == DrawDirect(frame, smaller, kAll));

    // The image replaced under its name.
    ASSERT_TRUE(m_manager->RemoveImage(L"frame"));
    ASSERT_TRUE(m_direct->RemoveImage(L"frame"));
    AddBoth(L"frame", 48, 40, 77, false);
    const std::vector<DWORD> replaced = Draw(frame, item, kAll);
    EXPECT_FALSE(replaced == first);
    EXPECT_TRUE(replaced == DrawDirect(frame, item, kAll));

    // Pixels shifted in place by the colour shift.
    Shift(m_manager->FindImage(L"frame"));
    Shift(m_direct->FindImage(L"frame"));
    const std::vector<DWORD> shifted = Draw(frame, item, kAll);
    EXPECT_FALSE(shifted == replaced);
    EXPECT_TRUE(shifted == DrawDirect(frame, item, kAll));

    // A new scale scales the corners and drops what was kept.
    EXPECT_GT(Cache().GetCount(), 0);
    m_manager->ApplyDpi(192);
    m_direct->ApplyDpi(192);
    EXPECT_EQ(Cache().GetCount(), 0);
    EXPECT_EQ(Cache().GetMemory(), 0u);
    AddBoth(L"frame", 48, 40, 77, false);
    const std::vector<DWORD> scaled = Draw(frame, item, kAll);
    EXPECT_FALSE(scaled == replaced);
    EXPECT_TRUE(scaled == DrawDirect(frame, item, kAll));
}

TEST_F(ImageDrawCache, MemoryStaysWithinTheLimitAndGoesWithTheImages)
{
    const wchar_t* frame = L"file='frame' corner='12,10,12,10'";
    const size_t limit = 3 * 100 * 80 * 4;
    Cache().SetMemoryLimit(limit);
    EXPECT_EQ(Cache().GetMemoryLimit(), limit);
    for (int i = 0; i < 12; ++i) {
        const RECT item = {0, 0, 100 + i, 80};
        // Kept at the second draw.
        (void)Draw(frame, item, kAll);
        const std::vector<DWORD> kept = Draw(frame, item, kAll);
        EXPECT_LE(Cache().GetMemory(), limit);
        EXPECT_TRUE(kept == DrawDirect(frame, item, kAll));
    }
    EXPECT_GT(Cache().GetMemory(), 2u * 100 * 80 * 4);

    // One image larger than the limit is drawn directly and keeps nothing.
    Cache().SetMemoryLimit(1000);
    const RECT big = {0, 0, 150, 110};
    (void)Draw(frame, big, kAll);
    EXPECT_TRUE(Draw(frame, big, kAll) == DrawDirect(frame, big, kAll));
    EXPECT_EQ(Cache().GetMemory(), 0u);

    // Removing the images frees their kept copies.
    Cache().SetMemoryLimit(CUIImageDrawCache::kDefaultMemoryLimit);
    EXPECT_EQ(Cache().GetCount(), 0);
    (void)Draw(frame, big, kAll);
    EXPECT_EQ(Cache().GetMemory(), 0u) << "nothing is kept for a picture drawn once";
    (void)Draw(frame, big, kAll);
    EXPECT_EQ(Cache().GetMemory(), 150u * 110 * 4);
    m_manager->RemoveAllImages();
    EXPECT_EQ(Cache().GetMemory(), 0u);
    EXPECT_EQ(Cache().GetCount(), 0);
}

// Two draws that differ in one thing only: what was kept of the first never stands in for the
// second. Each row changes one thing that changes the pixels as drawn.
TEST_F(ImageDrawCache, EachThingThatChangesThePixelsKeepsItsOwnCopy)
{
    struct Row {
        const char* what;
        const wchar_t* first;
        const wchar_t* second;
        RECT secondItem;
    };
    const RECT item = {6, 5, 126, 105};
    const wchar_t* frame = L"file='frame' corner='12,10,12,10'";
    const Row rows[] = {
        {"source", L"file='frame' source='0,0,24,20'", L"file='frame' source='24,20,48,40'", item},
        {"corner", frame, L"file='frame' corner='4,4,4,4'", item},
        {"width", frame, frame, {6, 5, 116, 105}},
        {"height", frame, frame, {6, 5, 126, 95}},
        {"fade", L"file='frame' corner='12,10,12,10' fade='200'", L"file='frame' corner='12,10,12,10' fade='90'", item},
        {"hole", frame, L"file='frame' corner='12,10,12,10' hole='true'", item},
        {"xtiled", frame, L"file='frame' corner='12,10,12,10' xtiled='true'", item},
        {"ytiled", frame, L"file='frame' corner='12,10,12,10' ytiled='true'", item},
    };
    for (const bool bottomUp : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (bottomUp ? " bottom-up" : " top-down"));
            m_bottomUp = bottomUp;
            Cache().Clear();
            (void)Draw(row.first, item, kAll);
            ASSERT_TRUE(Draw(row.first, item, kAll) == DrawDirect(row.first, item, kAll));
            const std::vector<DWORD> direct = DrawDirect(row.second, row.secondItem, kAll);
            ASSERT_FALSE(direct == DrawDirect(row.first, item, kAll)) << "the row changes nothing";
            EXPECT_TRUE(Draw(row.second, row.secondItem, kAll) == direct);
            EXPECT_TRUE(Draw(row.second, row.secondItem, kAll) == direct);
        }
    }
}

// The same image and descriptor under another process-wide image scale, another file factor,
// or drawn blended instead of copied (a layered window draws every image blended).
TEST_F(ImageDrawCache, ScaleFactorAndBlendingKeepTheirOwnCopies)
{
    const wchar_t* frame = L"file='frame' corner='12,10,12,10'";
    const RECT item = {6, 5, 126, 105};
    const std::vector<DWORD> atOne = Draw(frame, item, kAll);
    ASSERT_TRUE(Draw(frame, item, kAll) == atOne);
    CPaintManagerUI::SetGlobalDpi(192);
    const std::vector<DWORD> atTwo = DrawDirect(frame, item, kAll);
    EXPECT_FALSE(atTwo == atOne);
    EXPECT_TRUE(Draw(frame, item, kAll) == atTwo) << "image scale";
    EXPECT_TRUE(Draw(frame, item, kAll) == atTwo) << "image scale";
    CPaintManagerUI::SetGlobalDpi(96);

    const auto drawFile = [&](CPaintManagerUI* manager, double factor) {
        RenderCanvas canvas(160, 120);
        FillBackground(canvas);
        CUIRender::DrawImageFile(canvas.DC(), manager, item, kAll, L"frame", nullptr, item, RECT{0, 0, 0, 0},
                                 RECT{12, 10, 12, 10}, 0, factor, 255, false, false, false);
        return Pixels(canvas);
    };
    (void)drawFile(m_manager, 1.0);
    ASSERT_TRUE(drawFile(m_manager, 1.0) == drawFile(m_direct, 1.0));
    const std::vector<DWORD> halved = drawFile(m_direct, 2.0);
    EXPECT_FALSE(halved == drawFile(m_direct, 1.0));
    EXPECT_TRUE(drawFile(m_manager, 2.0) == halved) << "file factor";
    EXPECT_TRUE(drawFile(m_manager, 2.0) == halved) << "file factor";

    // Translucent pixels in a record that says it has none: copied as they are, until drawn blended.
    for (CPaintManagerUI* manager : {m_manager, m_direct})
        ASSERT_NE(manager->AddImage(L"unflagged", MakeImage(48, 40, 5), 48, 40, false), nullptr);
    const wchar_t* unflagged = L"file='unflagged' corner='12,10,12,10'";
    (void)Draw(unflagged, item, kAll);
    const std::vector<DWORD> copied = Draw(unflagged, item, kAll);
    ASSERT_TRUE(copied == DrawDirect(unflagged, item, kAll));
    m_manager->FindImage(L"unflagged")->alpha = true;
    m_direct->FindImage(L"unflagged")->alpha = true;
    const std::vector<DWORD> blended = DrawDirect(unflagged, item, kAll);
    EXPECT_FALSE(blended == copied);
    EXPECT_TRUE(Draw(unflagged, item, kAll) == blended) << "blending";
    EXPECT_TRUE(Draw(unflagged, item, kAll) == blended) << "blending";
}

// Through the public draw call into a DC whose bitmap is smaller than the item and the paint
// rectangle, with no clip region: a kept image reads and writes only the bitmap's own pixels.
TEST_F(ImageDrawCache, KeptImagePastTheTargetBitmapTouchesOnlyItsPixels)
{
    const wchar_t* frame = L"file='frame' corner='12,10,12,10' fade='200'";
    const RECT paint = {0, 0, 400, 300};
    const RECT items[] = {{-20, -20, 40, 40}, {100, 100, 160, 150}, {30, 20, 130, 110}, {-30, 40, 50, 90}};
    for (const bool bottomUp : {false, true}) {
        for (const RECT& item : items) {
            SCOPED_TRACE(::testing::Message() << item.left << "," << item.top << (bottomUp ? " bottom-up" : ""));
            const auto draw = [&](CPaintManagerUI* manager) {
                RenderCanvas canvas(64, 64, 0, bottomUp);
                FillBackground(canvas);
                CUIRender::DrawImageString(canvas.DC(), manager, item, paint, frame);
                return Pixels(canvas);
            };
            const std::vector<DWORD> direct = draw(m_direct);
            EXPECT_TRUE(draw(m_manager) == direct);
            EXPECT_TRUE(draw(m_manager) == direct);
        }
    }
}

} // namespace

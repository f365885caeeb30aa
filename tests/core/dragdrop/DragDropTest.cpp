// OLE drag and drop: the data object and its enumerator, the drop target's choices, the manager
// as drop target of real windows, and a drag from a control dropped on another window.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../support/BmpFile.h"
#include "ManagerTestSupport.h"
#include "dragdrop/DataObject.h"
#include "dragdrop/DropTarget.h"

using namespace ZvUI;
using zvtest::Pump;
using zvtest::TestControl;
using zvtest::TestWindow;

namespace {

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
};
const auto* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

FORMATETC Format(CLIPFORMAT format, DWORD tymed)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, tymed};
}

// A counted data object that the test releases at the end of its scope.
struct DataObjectRef {
    CIDataObject* object = new CIDataObject(nullptr);
    DataObjectRef() { object->AddRef(); }
    ~DataObjectRef() { object->Release(); }
    CIDataObject* operator->() const { return object; }
};

HGLOBAL GlobalBytes(const void* bytes, size_t size)
{
    HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(handle), bytes, size);
    ::GlobalUnlock(handle);
    return handle;
}

// A packed 4 x 2 DIB of 32-bit pixels; cut bytes are taken off its end.
HGLOBAL MakeDib(size_t cut = 0)
{
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 4 * 2 * 4, 0x7F);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = 4;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    std::memcpy(block.data(), &header, sizeof(header));
    return GlobalBytes(block.data(), block.size() - cut);
}

// A CF_HDROP block naming one file.
HGLOBAL MakeFileList(const std::wstring& file)
{
    std::vector<BYTE> block(sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t), 0);
    auto* files = reinterpret_cast<DROPFILES*>(block.data());
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(block.data() + sizeof(DROPFILES), file.c_str(), file.size() * sizeof(wchar_t));
    return GlobalBytes(block.data(), block.size());
}

void SetGlobal(CIDataObject* data, CLIPFORMAT format, HGLOBAL handle)
{
    FORMATETC fe = Format(format, TYMED_HGLOBAL);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = handle;
    ASSERT_EQ(data->SetData(&fe, &medium, TRUE), S_OK);
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// A drop target that keeps what it was handed.
class RecordingTarget : public CIDropTarget {
public:
    bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD*) override
    {
        dropped.push_back(format->cfFormat);
        lastMedium = medium;
        return release;
    }
    std::vector<CLIPFORMAT> dropped;
    STGMEDIUM lastMedium = {};
    bool release = true;
};

// What a drop target window was sent by its manager.
struct WindowRecord {
    std::vector<UINT> messages;
    std::vector<HBITMAP> images;
    LPARAM buttonUp = 0;

    void Watch(TestWindow& window)
    {
        window.hook = [this](UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
            if (msg == STM_SETIMAGE) {
                messages.push_back(msg);
                images.push_back(reinterpret_cast<HBITMAP>(lParam));
                result = 0;
                return true;
            }
            if (msg == STM_GETIMAGE) { // it keeps what it was given
                result = images.empty() ? 0 : reinterpret_cast<LRESULT>(images.back());
                return true;
            }
            if (msg == WM_LBUTTONUP) {
                messages.push_back(msg);
                buttonUp = lParam;
            }
            return false;
        };
    }
    ~WindowRecord()
    {
        for (HBITMAP image : images)
            ::DeleteObject(image);
    }
};

// Drops data on window's manager as OLE would, with the given keys and offered effects.
DWORD DropOn(TestWindow& window, IDataObject* data, DWORD keys, DWORD offered)
{
    DWORD effect = offered;
    CPaintManagerUI& pm = window.manager();
    pm.DragEnter(data, keys, POINTL{0, 0}, &effect);
    effect = offered;
    pm.Drop(data, keys, POINTL{0, 0}, &effect);
    return effect;
}

// Live GDI objects of this process, from its GDI handle table (the PEB's GdiSharedHandleTable,
// 24-byte entries on 64-bit), each confirmed with GetObjectType: Wine answers 0 from GetGuiResources.
DWORD GdiObjects()
{
    if (const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return counted;
#if defined(_WIN64)
    const auto* peb = reinterpret_cast<const BYTE*>(__readgsqword(0x60));
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
    DWORD count = 0;
    for (ULONG_PTR index = 0; table != nullptr && index < 0x10000; ++index) {
        const BYTE* entry = table + index * 24;
        const ULONG_PTR unique = *reinterpret_cast<const USHORT*>(entry + 12);
        if (entry[14] != 0 && ::GetObjectType(reinterpret_cast<HGDIOBJ>(index | (unique << 16))) != 0)
            ++count;
    }
    return count;
#else
    return 0;
#endif
}

// Counts its references; the medium's release object of a source that owns its data.
class Owner : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = iid == IID_IUnknown ? this : nullptr;
        if (*object == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
    ULONG STDMETHODCALLTYPE Release() override { return --count; }
    ULONG count = 1;
};

ULONG References(IUnknown& object)
{
    object.AddRef();
    return object.Release();
}

} // namespace

// --- data object and format enumerator ---

TEST(DataObject, QueryGetDataTellsTymedFromFormatAndKeepsTheFirstMatch)
{
    DataObjectRef data;
    FORMATETC none = Format(CF_BITMAP, TYMED_GDI);
    EXPECT_EQ(data->QueryGetData(&none), DV_E_TYMED);
    SetGlobal(data.object, CF_DIB, MakeDib());
    SetGlobal(data.object, CF_TEXT, MakeDib());

    FORMATETC dib = Format(CF_DIB, TYMED_HGLOBAL);
    EXPECT_EQ(data->QueryGetData(&dib), S_OK); // a later CF_TEXT entry must not overturn it
    FORMATETC otherFormat = Format(CF_HDROP, TYMED_HGLOBAL);
    EXPECT_EQ(data->QueryGetData(&otherFormat), DV_E_CLIPFORMAT);
    FORMATETC otherTymed = Format(CF_DIB, TYMED_GDI);
    EXPECT_EQ(data->QueryGetData(&otherTymed), DV_E_TYMED);
    FORMATETC thumbnail = Format(CF_DIB, TYMED_HGLOBAL);
    thumbnail.dwAspect = DVASPECT_THUMBNAIL;
    EXPECT_EQ(data->QueryGetData(&thumbnail), DV_E_DVASPECT);
    EXPECT_EQ(data->QueryGetData(nullptr), E_INVALIDARG);
}

// A copy handed out with the source's release object was never freed by ReleaseStgMedium.
TEST(DataObject, ACopiedHandleIsTheReceiversToFree)
{
    Owner owner;
    {
        DataObjectRef data;
        FORMATETC fe = Format(CF_DIB, TYMED_HGLOBAL);
        STGMEDIUM stored = {};
        stored.tymed = TYMED_HGLOBAL;
        stored.hGlobal = MakeDib();
        stored.pUnkForRelease = &owner;
        ASSERT_EQ(data->SetData(&fe, &stored, FALSE), S_OK); // the object keeps a copy
        STGMEDIUM copy = {};
        ASSERT_EQ(data->GetData(&fe, &copy), S_OK);
        EXPECT_NE(copy.hGlobal, stored.hGlobal);
        EXPECT_EQ(copy.pUnkForRelease, nullptr);
        ::ReleaseStgMedium(&copy);
        ::GlobalFree(stored.hGlobal);
    }
    EXPECT_EQ(owner.count, 1u);
}

TEST(DataObject, EnumeratorNeedsAFetchedCountAndSkipsOnlyShortOfTheEnd)
{
    DataObjectRef data;
    SetGlobal(data.object, CF_DIB, MakeDib());
    SetGlobal(data.object, CF_HDROP, MakeFileList(L"C:\\a.bmp"));
    SetGlobal(data.object, CF_TEXT, MakeDib());
    IEnumFORMATETC* formats = nullptr;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);

    FORMATETC got[3] = {};
    EXPECT_EQ(formats->Next(2, got, nullptr), S_FALSE); // two need a fetched count
    EXPECT_EQ(formats->Next(1, got, nullptr), S_OK);
    EXPECT_EQ(got[0].cfFormat, CF_DIB);
    EXPECT_EQ(formats->Skip(2), S_FALSE); // exactly the rest: no move
    ULONG fetched = 0;
    EXPECT_EQ(formats->Next(3, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(got[1].cfFormat, CF_TEXT);
    formats->Release();
}

// --- drop target ---

TEST(DropTarget, KeysChooseTheEffectAmongThoseOffered)
{
    RecordingTarget target;
    target.AddSupportedFormat(Format(CF_DIB, TYMED_HGLOBAL));
    DataObjectRef data;
    SetGlobal(data.object, CF_DIB, MakeDib());
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target.DragEnter(data.object, 0, POINTL{0, 0}, &effect), S_OK);
    ASSERT_TRUE(target.IsDropAllowed());

    struct Case {
        DWORD keys;
        DWORD offered;
        DWORD expected;
    };
    const Case cases[] = {
        {0, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE},
        {0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK | DROPEFFECT_COPY, DROPEFFECT_LINK},
    };
    for (const Case& c : cases) {
        effect = c.offered;
        EXPECT_EQ(target.QueryDrop(c.keys, &effect), c.expected != DROPEFFECT_NONE);
        EXPECT_EQ(effect, c.expected) << "keys " << c.keys << " offered " << c.offered;
    }

    EXPECT_EQ(target.DragLeave(), S_OK);
    effect = DROPEFFECT_COPY;
    EXPECT_FALSE(target.QueryDrop(0, &effect));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST(DropTarget, DropHandsOverTheFirstSupportedFormatAndReportsNoEffect)
{
    RecordingTarget target;
    target.AddSupportedFormat(Format(CF_BITMAP, TYMED_GDI));
    target.AddSupportedFormat(Format(CF_HDROP, TYMED_HGLOBAL));
    target.AddSupportedFormat(Format(CF_DIB, TYMED_HGLOBAL));
    DataObjectRef data;
    SetGlobal(data.object, CF_DIB, MakeDib());
    SetGlobal(data.object, CF_HDROP, MakeFileList(L"C:\\a.bmp"));

    DWORD effect = DROPEFFECT_COPY;
    target.DragEnter(data.object, 0, POINTL{0, 0}, &effect);
    ASSERT_NE(target.GetMatchedFormat(), nullptr);
    EXPECT_EQ(target.GetMatchedFormat()->cfFormat, CF_HDROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target.Drop(data.object, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(target.dropped.size(), 1u);
    EXPECT_EQ(target.dropped[0], CF_HDROP);
    EXPECT_EQ(target.GetMatchedFormat(), nullptr);
    EXPECT_FALSE(target.IsDropAllowed());

    // A drop the keys refuse hands nothing over.
    target.DragEnter(data.object, 0, POINTL{0, 0}, &effect);
    effect = DROPEFFECT_MOVE;
    target.Drop(data.object, MK_CONTROL, POINTL{0, 0}, &effect);
    EXPECT_EQ(target.dropped.size(), 1u);
}

// --- the manager as drop target of its window ---

TEST(ManagerDropTarget, DroppedDibBecomesTheWindowsBitmap)
{
    TestWindow window(40, 40, 120, 80);
    WindowRecord record;
    record.Watch(window);
    ASSERT_TRUE(window.manager().EnableDragDrop(true));
    EXPECT_FALSE(window.manager().EnableDragDrop(true)); // registered once
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);

    DataObjectRef data;
    SetGlobal(data.object, CF_DIB, MakeDib());
    EXPECT_EQ(DropOn(window, data.object, 0, DROPEFFECT_COPY), static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(record.messages, (std::vector<UINT>{WM_LBUTTONUP, STM_SETIMAGE}));
    EXPECT_EQ(record.buttonUp, MAKELPARAM(cursor.x, cursor.y));
    const SIZE size = BitmapSize(record.images[0]);
    EXPECT_EQ(size.cx, 4);
    EXPECT_EQ(size.cy, 2);
}

TEST(ManagerDropTarget, ATruncatedDibIsRefused)
{
    TestWindow window(40, 40, 120, 80);
    WindowRecord record;
    record.Watch(window);
    ASSERT_TRUE(window.manager().EnableDragDrop(true));
    for (size_t cut : {size_t{4}, size_t{32}, sizeof(BITMAPINFOHEADER) + 30}) {
        DataObjectRef data;
        SetGlobal(data.object, CF_DIB, MakeDib(cut));
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    EXPECT_TRUE(record.images.empty());
    EXPECT_EQ(record.messages, (std::vector<UINT>(3, WM_LBUTTONUP)));
}

TEST(ManagerDropTarget, ADroppedFileOverTheImageLimitsIsNotDecoded)
{
    TestWindow window(40, 40, 120, 80);
    WindowRecord record;
    record.Watch(window);
    ASSERT_TRUE(window.manager().EnableDragDrop(true));
    const std::wstring small = WriteBmp(L"zv_drop_small.bmp", 6, 3, GreyPixel);
    const std::wstring wide = WriteBmp(L"zv_drop_wide.bmp", 4097, 1, GreyPixel);
    ASSERT_FALSE(small.empty());
    ASSERT_FALSE(wide.empty());
    for (const std::wstring& file : {wide, small}) {
        DataObjectRef data;
        SetGlobal(data.object, CF_HDROP, MakeFileList(file));
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    ASSERT_EQ(record.images.size(), 1u) << "the file of 4097 pixels a side was decoded";
    EXPECT_EQ(BitmapSize(record.images[0]).cx, 6);
    ::DeleteFileW(small.c_str());
    ::DeleteFileW(wide.c_str());
}

// A BMP file of the given header fields and pixel bytes: no colour table unless given, pixels
// right after the headers unless a gap is asked for.
std::vector<BYTE> BmpFileBytes(LONG width, LONG height, WORD bits, const std::vector<BYTE>& pixels,
                               const std::vector<BYTE>& colours = {}, DWORD gap = 0)
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = bits;
    info.biClrUsed = static_cast<DWORD>(colours.size() / 4);
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof(file) + sizeof(info) + colours.size() + gap);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::vector<BYTE> out(reinterpret_cast<const BYTE*>(&file), reinterpret_cast<const BYTE*>(&file) + sizeof(file));
    out.insert(out.end(), reinterpret_cast<const BYTE*>(&info), reinterpret_cast<const BYTE*>(&info) + sizeof(info));
    out.insert(out.end(), colours.begin(), colours.end());
    out.insert(out.end(), gap, 0xEE);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::wstring WriteTempFile(LPCWSTR name, const std::vector<BYTE>& bytes)
{
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f == nullptr)
        return std::wstring();
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return path;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return colour;
}

// The system's loader read a dropped BMP again by its path after the check, and read what its
// header declared: 118 bytes declaring 3840 x 2160 at 32 bits with 64 pixel bytes crashed it.
// The bitmap is now made from the bytes that were checked, which must hold what they declare.
TEST(ManagerDropTarget, ADroppedBmpFileIsMadeFromTheBytesItHolds)
{
    TestWindow window(40, 40, 120, 80);
    WindowRecord record;
    record.Watch(window);
    ASSERT_TRUE(window.manager().EnableDragDrop(true));
    const std::wstring cut = WriteTempFile(L"zv_drop_cut.bmp", BmpFileBytes(3840, 2160, 32, std::vector<BYTE>(64, 0x55)));
    const std::wstring shortRows = WriteTempFile(L"zv_drop_rows.bmp", BmpFileBytes(4, 3, 24, std::vector<BYTE>(16 * 2, 0x55)));
    // Sound files of other shapes: 8 bits with a colour table, pixels after a gap, top-down rows.
    std::vector<BYTE> rows8(4 * 2, 1);
    rows8[4] = 0; // rows are stored bottom first: the top row starts with colour 0, red
    const std::wstring paletted = WriteTempFile(
        L"zv_drop_8.bmp", BmpFileBytes(3, 2, 8, rows8, {0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0}, 20));
    std::vector<BYTE> topDown(2 * 2 * 4, 0);
    topDown[0] = 0xFF; // the first pixel is the top left one: blue
    const std::wstring upright = WriteTempFile(L"zv_drop_down.bmp", BmpFileBytes(2, -2, 32, topDown));
    for (const std::wstring* file : {&cut, &shortRows, &paletted, &upright}) {
        ASSERT_FALSE(file->empty());
        DataObjectRef data;
        SetGlobal(data.object, CF_HDROP, MakeFileList(*file));
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    ASSERT_EQ(record.images.size(), 2u) << "a BMP file cut short was decoded";
    EXPECT_EQ(BitmapSize(record.images[0]).cx, 3);
    EXPECT_EQ(PixelOf(record.images[0], 0, 0), RGB(0xFF, 0x00, 0x00));
    EXPECT_EQ(PixelOf(record.images[0], 0, 1), RGB(0x00, 0xFF, 0x00));
    EXPECT_EQ(BitmapSize(record.images[1]).cy, 2);
    EXPECT_EQ(PixelOf(record.images[1], 0, 0), RGB(0x00, 0x00, 0xFF));
    EXPECT_EQ(PixelOf(record.images[1], 1, 1), RGB(0, 0, 0));
    for (const std::wstring* file : {&cut, &shortRows, &paletted, &upright})
        ::DeleteFileW(file->c_str());
}

// A packed 8-bit RLE DIB of one colour whose data are one end-of-bitmap code: 46 bytes, whatever
// size it declares.
HGLOBAL MakeRleDib(LONG width, LONG height)
{
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 4 + 2, 0);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biCompression = BI_RLE8;
    header.biSizeImage = 2;
    header.biClrUsed = 1;
    std::memcpy(block.data(), &header, sizeof(header));
    block[sizeof(header) + 4] = 0x00;
    block[sizeof(header) + 5] = 0x01;
    return GlobalBytes(block.data(), block.size());
}

// A metafile whose bounds reach (right, bottom): two pixels, at the origin and there.
void SetMetafile(CIDataObject* data, int right, int bottom)
{
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(recorder, nullptr);
    ::SetPixel(recorder, 0, 0, RGB(255, 0, 0));
    ::SetPixel(recorder, right, bottom, RGB(0, 0, 255));
    FORMATETC fe = Format(CF_ENHMETAFILE, TYMED_ENHMF);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_ENHMF;
    medium.hEnhMetaFile = ::CloseEnhMetaFile(recorder);
    ASSERT_NE(medium.hEnhMetaFile, nullptr);
    ASSERT_EQ(data->SetData(&fe, &medium, TRUE), S_OK);
}

// Dropped data that are not files: GDI makes what the header declares, so a DIB or a metafile
// over the image limits is refused before it sees it; the same within the limits is taken.
TEST(ManagerDropTarget, DibsAndMetafilesOverTheImageLimitsAreNotDecoded)
{
    TestWindow window(40, 40, 120, 80);
    WindowRecord record;
    record.Watch(window);
    ASSERT_TRUE(window.manager().EnableDragDrop(true));
    const ULONGLONG start = ::GetTickCount64();
    {
        DataObjectRef data;
        SetGlobal(data.object, CF_DIB, MakeRleDib(16384, 16384));
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    {
        DataObjectRef data;
        SetMetafile(data.object, 5000, 5000);
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    EXPECT_LT(::GetTickCount64() - start, 1500u);
    EXPECT_TRUE(record.images.empty()) << "a bitmap over the limits was made";

    {
        DataObjectRef data;
        SetGlobal(data.object, CF_DIB, MakeRleDib(16, 12));
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    {
        DataObjectRef data;
        SetMetafile(data.object, 40, 30);
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    ASSERT_EQ(record.images.size(), 2u);
    EXPECT_EQ(BitmapSize(record.images[0]).cx, 16);
    EXPECT_EQ(BitmapSize(record.images[0]).cy, 12);
    EXPECT_EQ(BitmapSize(record.images[1]).cx, 40);
    EXPECT_EQ(BitmapSize(record.images[1]).cy, 30);
}

// A metafile of `count` records that each cover width x height: filled rectangles, or a 1 x 1
// DIB stretched over the whole bounds; with a negative count, one polygon of that many points.
void SetCoveringMetafile(CIDataObject* data, int width, int height, int count, bool stretchedDibs)
{
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(recorder, nullptr);
    BITMAPINFO one = {};
    one.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB};
    const DWORD pixel = 0x00204080;
    if (count < 0) { // one polygon of -count points zig-zagging over the whole height
        std::vector<POINT> points;
        for (int i = 0; i < -count; ++i)
            points.push_back(POINT{width * i / -count, i % 2 == 0 ? 0 : height});
        ::Polygon(recorder, points.data(), -count);
    }
    for (int i = 0; i < count; ++i) {
        if (stretchedDibs)
            ::StretchDIBits(recorder, 0, 0, width, height, 0, 0, 1, 1, &pixel, &one, DIB_RGB_COLORS, SRCCOPY);
        else
            ::Rectangle(recorder, 0, 0, width, height);
    }
    FORMATETC fe = Format(CF_ENHMETAFILE, TYMED_ENHMF);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_ENHMF;
    medium.hEnhMetaFile = ::CloseEnhMetaFile(recorder);
    ASSERT_NE(medium.hEnhMetaFile, nullptr);
    ASSERT_EQ(data->SetData(&fe, &medium, TRUE), S_OK);
}

// The record count was capped, but not what each record draws: 1,003 full-size rectangles took
// over a second, 1,003 stretched 1 x 1 DIBs over three, 99,003 rectangles more than a minute,
TEST(ManagerDropTarget, WhatAMetafilesRecordsDrawIsBounded)
{
    TestWindow window(40, 40, 120, 80);
    WindowRecord record;
    record.Watch(window);
    ASSERT_TRUE(window.manager().EnableDragDrop(true));
    // a zig-zag polygon of 885 points over 2160 rows two seconds, 1,571 small alpha blends half
    // a second (each record's bitmap is converted on its own; here 4,000 small DIBs stand for them).
    const struct {
        const char* what;
        int width;
        int height;
        int count;
        bool dibs;
    } costly[] = {{"rectangles", 3840, 2160, 1003, false},
                  {"stretched DIBs", 3840, 2160, 1003, true},
                  {"polygon", 265, 2160, -885, false},
                  {"small DIBs", 57, 37, 4000, true}};
    for (const auto& c : costly) {
        DataObjectRef data;
        SetCoveringMetafile(data.object, c.width, c.height, c.count, c.dibs);
        const ULONGLONG start = ::GetTickCount64();
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
        EXPECT_LT(::GetTickCount64() - start, 700u) << c.what;
    }
    EXPECT_TRUE(record.images.empty()) << "a metafile over the drawing budget was played";

    // Within the budget: records of nearly full size (the play rectangle, rounded up from the
    // frame, must stay within the limits too), hundreds of small ones, a polygon of 100 points.
    for (const SIZE size : {SIZE{3800, 2100}, SIZE{64, 48}}) {
        DataObjectRef data;
        SetCoveringMetafile(data.object, size.cx, size.cy, size.cx > 100 ? 4 : 500, true);
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    {
        DataObjectRef data;
        SetCoveringMetafile(data.object, 400, 300, -100, false);
        DropOn(window, data.object, 0, DROPEFFECT_COPY);
    }
    ASSERT_EQ(record.images.size(), 3u);
    EXPECT_EQ(PixelOf(record.images[0], 100, 100), RGB(0x20, 0x40, 0x80));
    EXPECT_EQ(PixelOf(record.images[1], 10, 10), RGB(0x20, 0x40, 0x80));
}

// --- a real drag between two windows ---

TEST(DragAndDrop, AControlDraggedOntoAnotherWindowHandsItsImageOver)
{
    TestWindow source(20, 20, 200, 120);
    TestWindow target(300, 20, 200, 120);
    WindowRecord record;
    record.Watch(target);
    auto* tile = new TestControl(L"tile");
    tile->SetBkColor(0xFF2040C0);
    tile->SetDragEnabled(true);
    zvtest::InstallRoot(source, {{tile, RECT{10, 10, 70, 50}}});
    Pump(30);
    ASSERT_TRUE(source.manager().EnableDragDrop(true));
    ASSERT_TRUE(target.manager().EnableDragDrop(true));

    // Other programs' windows must not cover the drop point.
    ::SetWindowPos(target.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The real cursor waits over the target; no button is really down, so OLE drops at once.
    POINT over = {100, 60};
    ::ClientToScreen(target.hwnd(), &over);
    ::SetCursorPos(over.x, over.y);
    ::SendMessageW(source.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    ::SendMessageW(source.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 35));
    Pump(30);

    ASSERT_EQ(record.images.size(), 1u);
    EXPECT_EQ(record.messages, (std::vector<UINT>{WM_LBUTTONUP, STM_SETIMAGE}));
    EXPECT_EQ(record.buttonUp, MAKELPARAM(over.x, over.y));
    const SIZE size = BitmapSize(record.images[0]);
    EXPECT_EQ(size.cx, 60);
    EXPECT_EQ(size.cy, 40);
    // The dropped image is the control as it was painted.
    HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, record.images[0]);
    EXPECT_EQ(::GetPixel(dc, 30, 20), RGB(0x20, 0x40, 0xC0));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    // The drag is over: another move starts nothing.
    ::SendMessageW(source.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 40));
    EXPECT_EQ(record.images.size(), 1u);
    ::SendMessageW(source.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 40));
    ::SetWindowPos(target.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// OLE holds the manager while its window is registered; the target was once revoked only in the
// manager's destructor, after the window was gone, so OLE kept a pointer to a freed manager.
TEST(ManagerDropTarget, DestroyingTheWindowRevokesTheTarget)
{
    TestWindow window(40, 40, 120, 80);
    CPaintManagerUI& pm = window.manager();
    ASSERT_TRUE(pm.EnableDragDrop(true));
    EXPECT_GT(References(pm), 1u);
    ::DestroyWindow(window.hwnd());
    EXPECT_FALSE(pm.IsDragDropEnabled());
    EXPECT_EQ(References(pm), 0u) << "OLE still holds the manager of a destroyed window";
}

// A dropped bitmap of a source that owns it (a release object) once kept the source's bitmap in
// the window and never released the medium; an image the window does not keep was never deleted.
TEST(ManagerDropTarget, EveryDroppedMediumAndImageIsReleased)
{
    TestWindow keeper(40, 40, 120, 80);
    WindowRecord record;
    record.Watch(keeper);
    ASSERT_TRUE(keeper.manager().EnableDragDrop(true));
    Owner owner;
    const HBITMAP bitmap = ::CreateBitmap(5, 3, 1, 32, nullptr);
    FORMATETC fe = Format(CF_BITMAP, TYMED_GDI);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = bitmap;
    medium.pUnkForRelease = &owner;
    owner.AddRef(); // handed over with the medium
    DWORD effect = DROPEFFECT_COPY;
    const bool release = keeper.manager().OnDrop(&fe, medium, &effect);
    EXPECT_TRUE(release) << "the medium is never released";
    if (release)
        ::ReleaseStgMedium(&medium);
    EXPECT_EQ(owner.count, 1u);
    ASSERT_EQ(record.images.size(), 1u);
    EXPECT_NE(record.images[0], bitmap) << "the window keeps a copy of its own";
    EXPECT_EQ(BitmapSize(record.images[0]).cx, 5);
    EXPECT_NE(::GetObjectType(bitmap), 0u) << "the source's bitmap is the source's";
    ::DeleteObject(bitmap);

    // The manager's own window keeps no image.
    TestWindow plain(200, 40, 120, 80);
    ASSERT_TRUE(plain.manager().EnableDragDrop(true));
    const DWORD before = GdiObjects();
    for (int i = 0; i < 40; ++i) {
        DataObjectRef data;
        SetGlobal(data.object, CF_DIB, MakeDib());
        DropOn(plain, data.object, 0, DROPEFFECT_COPY);
    }
    EXPECT_LT(GdiObjects(), before + 10) << "dropped images the window does not keep were leaked";
}

// Render engine: image loading (resources, folder, archive, plain path), the HSL image shift and
// descriptor drawing with the nine-slice blit.
#include "render/UIRender.h"

#include "render/UIDecodeBudget.h"
#include "render/UIDib.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>

#include <objidl.h>
#include <gdiplus.h>
#include <zlib.h>

#define STBI_NO_STDIO
#include "stb_image.h"

#include "archive/ZipArchive.h"
#include "manager/PaintManagerUI.h"
#include "render/UIDrawInfo.h"
#include "render/UIImageDrawCache.h"
#include "render/UIImageInfo.h"
#include "render/UIImageLimits.h"
#include "render/UIMemoryDC.h"
#include "resource/UIResourceTable.h"
#include "utils/UIConvert.h"

namespace ZvUI {

namespace {

// Enough of a file or archive item to read the declared size of every format we decode.
constexpr DWORD kHeaderPeekBytes = 64u * 1024u;

struct ByteBlock {
    std::unique_ptr<BYTE[]> data;
    DWORD size = 0;
    bool Empty() const { return data == nullptr || size == 0; }
};

bool Allocate(ByteBlock& block, long long size)
{
    if (size <= 0 || size > kMaxImageBytes)
        return false;
    block.data.reset(new (std::nothrow) BYTE[static_cast<size_t>(size)]);
    if (block.data == nullptr)
        return false;
    block.size = static_cast<DWORD>(size);
    return true;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : m_h(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_h);
    }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

// A file that is empty, too large, declares a refused size or is shorter than it claimed gives
// nothing. With headerOnly only its start is read.
ByteBlock ReadWholeFile(LPCWSTR path, bool headerOnly = false)
{
    ByteBlock block;
    FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return block;
    DWORD high = 0;
    const DWORD low = ::GetFileSize(file.Get(), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        return block;
    if (!ImageByteCountAcceptable(static_cast<long long>(high) << 32 | low, path))
        return block;
    const DWORD head = low < kHeaderPeekBytes ? low : kHeaderPeekBytes;
    if (!Allocate(block, headerOnly ? head : low))
        return block;
    DWORD read = 0;
    if (!::ReadFile(file.Get(), block.data.get(), head, &read, nullptr) || read != head ||
        !CheckImageBytes(block.data.get(), head, UIImageBytes::FileStart, path))
        return ByteBlock();
    if (head < block.size &&
        (!::ReadFile(file.Get(), block.data.get() + head, block.size - head, &read, nullptr) ||
         read != block.size - head))
        return ByteBlock();
    return block;
}

// What tells a file apart from the one seen before under the same path; empty when there is none.
std::wstring FileIdentity(LPCWSTR path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::wstring();
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"%lx.%lx.%lx.%lx", data.nFileSizeHigh, data.nFileSizeLow,
                  data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    return text;
}

ByteBlock ReadResourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type)
{
    ByteBlock block;
    HMODULE module = instance != nullptr ? instance : CPaintManagerUI::GetResourceModule();
    HRSRC found = ::FindResourceW(module, name, type);
    if (found == nullptr)
        return block;
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    if (loaded == nullptr)
        return block;
    const void* data = ::LockResource(loaded);
    if (data != nullptr && ImageByteCountAcceptable(size, IS_INTRESOURCE(name) ? L"(resource)" : name) &&
        Allocate(block, size))
        std::memcpy(block.data.get(), data, block.size);
    ::FreeResource(loaded);
    return block;
}

class ArchiveLookup {
public:
    // The cached archive's handle, or one opened for this lookup alone.
    ArchiveLookup()
    {
        if (CPaintManagerUI::IsResourceArchiveCached()) {
            m_zip = CPaintManagerUI::GetResourceArchiveHandle();
            return;
        }
        const CUIString path = CPaintManagerUI::GetResourceFolder() + CPaintManagerUI::GetResourceArchive();
        const CUIString& password = CPaintManagerUI::GetResourceArchivePassword();
        char* narrow = password.IsEmpty() ? nullptr : UnicodeToMultiByte(password, CP_ACP);
        m_zip = ZipOpenFile(path, narrow);
        delete[] narrow;
        m_owned = m_zip != nullptr;
    }
    ArchiveLookup(const ArchiveLookup&) = delete;
    ArchiveLookup& operator=(const ArchiveLookup&) = delete;
    ~ArchiveLookup()
    {
        if (m_owned)
            ZipClose(m_zip);
    }

    // With headerOnly only the item's start is inflated.
    ByteBlock Read(LPCWSTR name, bool headerOnly = false) const
    {
        ByteBlock block;
        int index = -1;
        ZipEntry entry;
        if (!Find(name, index, entry))
            return block;
        // A negative, zero or absurd declared size is refused before anything is allocated;
        // the item reader fails an item that ends before its declared size. Only the start is
        // inflated until the image's own header has been read.
        if (!ImageByteCountAcceptable(entry.unc_size, name))
            return block;
        const DWORD whole = static_cast<DWORD>(entry.unc_size);
        const DWORD head = whole < kHeaderPeekBytes ? whole : kHeaderPeekBytes;
        if (!Allocate(block, headerOnly ? head : whole))
            return block;
        ZipResult r = ZipUnzipToMemory(m_zip, index, block.data.get(), head);
        if (head < whole) {
            const bool sound = r == ZR_MORE && CheckImageBytes(block.data.get(), head, UIImageBytes::FileStart, name);
            if (!sound || headerOnly) {
                // The item stays half read otherwise: the next reader of the same index would go on.
                ZipEntry closed;
                (void)ZipGetItem(m_zip, index, &closed);
                return sound ? std::move(block) : ByteBlock();
            }
            r = ZipUnzipToMemory(m_zip, index, block.data.get() + head, block.size - head);
        }
        if (r != ZR_OK && r != ZR_MORE)
            return ByteBlock();
        return block;
    }

    // The item's identity in this archive; empty when it is not there.
    std::wstring Identity(LPCWSTR name) const
    {
        int index = -1;
        ZipEntry entry;
        if (!Find(name, index, entry))
            return std::wstring();
        wchar_t text[96] = {};
        std::swprintf(text, 96, L"%d.%lx.%lx.%lx.%lx", index,
                      static_cast<unsigned long>(entry.unc_size), static_cast<unsigned long>(entry.comp_size),
                      entry.mtime.dwHighDateTime, entry.mtime.dwLowDateTime);
        return text;
    }

private:
    bool Find(LPCWSTR name, int& index, ZipEntry& entry) const
    {
        if (m_zip == nullptr)
            return false;
        CUIString key(name);
        key.Replace(L"\\", L"/");
        return ZipFindItem(m_zip, key, true, &index, &entry) == ZR_OK && index >= 0;
    }

    ZipHandle* m_zip = nullptr;
    bool m_owned = false;
};

ByteBlock ReadFromArchive(LPCWSTR name)
{
    const ArchiveLookup lookup;
    return lookup.Read(name);
}

// Folder or archive, then the name as a plain path.
ByteBlock ReadNamedBytes(LPCWSTR name, bool withArchive)
{
    ByteBlock block;
    if (!withArchive || CPaintManagerUI::GetResourceArchive().IsEmpty())
        block = ReadWholeFile(CPaintManagerUI::GetResourceFolder() + name);
    else
        block = ReadFromArchive(name);
    if (block.Empty())
        block = ReadWholeFile(name);
    return block;
}

// Why the decoder gave up, for the log line.
void ReportDecodeFailure(LPCWSTR name, const UIDecodeBudget& budget)
{
    wchar_t why[96] = {};
    if (budget.Exhausted()) {
        std::swprintf(why, 96, L"its decode would hold more than %lld MiB", kMaxImageMemory >> 20);
    } else {
        const char* reason = stbi_failure_reason();
        std::swprintf(why, 96, L"%hs", reason != nullptr ? reason : "no reason given");
    }
    ReportDecoderRefusal(name, why);
}

// The encoded bytes are the first share of a decode's budget; a refusal is named like the others.
bool TakeEncodedBytes(UIDecodeBudget& budget, DWORD size, LPCWSTR name)
{
    if (budget.Take(size))
        return true;
    ReportDecodeFailure(name, budget);
    return false;
}

// Decoded pixels, freed with the decoder's own free.
struct DecodedPixels {
    stbi_uc* rgba = nullptr;
    int width = 0;
    int height = 0;
    DecodedPixels() = default;
    DecodedPixels(const DecodedPixels&) = delete;
    DecodedPixels& operator=(const DecodedPixels&) = delete;
    ~DecodedPixels()
    {
        if (rgba != nullptr)
            stbi_image_free(rgba);
    }
};

// Our decoder on bytes the check accepted, within the image's memory budget; a refusal is logged.
bool Decode(const BYTE* data, DWORD size, LPCWSTR name, UIDecodeBudget& budget, DecodedPixels& pixels)
{
    int channels = 0;
    pixels.rgba = stbi_load_from_memory(data, static_cast<int>(size), &pixels.width, &pixels.height, &channels, 4);
    if (pixels.rgba == nullptr) {
        ReportDecodeFailure(name, budget);
        return false;
    }
    return ImageSizeAcceptable(pixels.width, pixels.height);
}

// The system's decoders crash on some damaged files (a PNG whose chunks disagree with its data)
// that our own decoder refuses cleanly: only what it decodes (the first frame of a GIF) reaches
// them.
bool DecodesCleanly(const BYTE* data, DWORD size, LPCWSTR name)
{
    if (!CheckImageBytes(data, size, UIImageBytes::File, name))
        return false;
    UIDecodeBudget budget;
    DecodedPixels pixels;
    return TakeEncodedBytes(budget, size, name) && Decode(data, size, name, budget, pixels);
}

// The encoded bytes are freed as soon as they are decoded: they, the decoder's buffers and the
// bitmap are counted together against the image's memory budget.
UIImageInfo* DecodeImage(ByteBlock bytes, DWORD mask, LPCWSTR name)
{
    if (bytes.Empty() || !CheckImageBytes(bytes.data.get(), bytes.size, UIImageBytes::File, name))
        return nullptr;
    UIDecodeBudget budget;
    DecodedPixels decoded;
    const DWORD encoded = bytes.size;
    if (!TakeEncodedBytes(budget, encoded, name))
        return nullptr;
    const bool sound = Decode(bytes.data.get(), bytes.size, name, budget, decoded);
    bytes = ByteBlock();
    budget.Release(encoded);
    if (!sound)
        return nullptr;
    const int width = decoded.width;
    const int height = decoded.height;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (!budget.Take(static_cast<long long>(count) * 4)) {
        ReportDecodeFailure(name, budget);
        return nullptr;
    }
    BITMAPINFO bmi = Argb32Header(width, -height);
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr || pixels == nullptr) {
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    bool alpha = false;
    auto* dst = static_cast<DWORD*>(pixels);
    const stbi_uc* rgba = decoded.rgba;
    // Whole pixels at a time: this loop took as long as the decoding of a full-window image.
    for (size_t i = 0; i < count; ++i) {
        const BYTE* s = rgba + i * 4;
        const DWORD a = s[3];
        DWORD value;
        if (a == 255) {
            value = 0xFF000000u | (DWORD{s[0]} << 16) | (DWORD{s[1]} << 8) | s[2];
        } else {
            value = (a << 24) | (DWORD{s[0]} * a / 255 << 16) | (DWORD{s[1]} * a / 255 << 8) | (DWORD{s[2]} * a / 255);
            alpha = true;
        }
        if (value == mask) {
            value = 0;
            alpha = true;
        }
        dst[i] = value;
    }
    auto* info = new (std::nothrow) UIImageInfo;
    if (info == nullptr) {
        ::DeleteObject(bitmap);
        return nullptr;
    }
    info->bitmap = bitmap;
    info->width = width;
    info->height = height;
    info->alpha = alpha;
    return info;
}


bool Intersects(const RECT& a, const RECT& b)
{
    RECT tmp;
    return ::IntersectRect(&tmp, &a, &b) != FALSE;
}

// One blit of the nine-slice: blended through AlphaBlend, else copied or stretched.
struct Blitter {
    HDC dst;
    HDC src;
    const RECT& paint;
    bool blended;
    BLENDFUNCTION blend;
    AlphaBlendProc alphaBlend;

    void Piece(int x, int y, int w, int h, int sx, int sy, int sw, int sh) const
    {
        const RECT rc = {x, y, x + w, y + h};
        if (w <= 0 || h <= 0 || !Intersects(rc, paint))
            return;
        if (blended)
            alphaBlend(dst, x, y, w, h, src, sx, sy, sw, sh, blend);
        else if (w == sw && h == sh)
            ::BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY);
        else
            ::StretchBlt(dst, x, y, w, h, src, sx, sy, sw, sh, SRCCOPY);
    }
};

int Trunc(double v)
{
    return static_cast<int>(v);
}

} // namespace

// --- loading ---

namespace {

// With no type the name may be an image id of the resource table.
LPCWSTR MappedName(LPCWSTR name, LPCWSTR type)
{
    if (type == nullptr && !IS_INTRESOURCE(name)) {
        LPCWSTR mapped = CUIResourceTable::Instance()->GetImagePath(name);
        if (mapped != nullptr && mapped[0] != L'\0')
            return mapped;
    }
    return name;
}

ByteBlock ReadSourceBytes(LPCWSTR name, LPCWSTR type, HINSTANCE instance)
{
    const bool intName = IS_INTRESOURCE(name);
    ByteBlock bytes;
    if (type != nullptr && (IS_INTRESOURCE(type) || type[0] != L'\0'))
        bytes = ReadResourceBytes(instance, name, type);
    else if (!intName)
        bytes = CPaintManagerUI::GetResourceArchive().IsEmpty() ? ReadWholeFile(CPaintManagerUI::GetResourceFolder() + name)
                                                                : ReadFromArchive(name);
    if (bytes.Empty() && !intName && name[0] != L'\0')
        bytes = ReadWholeFile(name);
    return bytes;
}

} // namespace

UIImageInfo* CUIRender::LoadImage(LPCWSTR name, LPCWSTR type, DWORD mask, HINSTANCE instance)
{
    if (name == nullptr)
        return nullptr;
    return LoadImageFromSource(MappedName(name, type), type, mask, instance);
}

namespace {

// The "@2x" lookup asks again for every new descriptor at any scale but 100 %: the answer for a
// path is kept with what identifies the file or item it was read from.
class ProbeMemo {
public:
    template <typename ReadHead>
    bool Answer(const std::wstring& path, const std::wstring& identity, LPCWSTR name, ReadHead readHead)
    {
        {
            const std::lock_guard<std::mutex> hold(m_lock);
            const auto found = m_answers.find(path);
            if (found != m_answers.end() && found->second.identity == identity)
                return found->second.accepted;
        }
        const ByteBlock head = readHead();
        UIImageVerdict verdict;
        // A start that is sound but shows no size (a JPEG's frame header behind large metadata)
        // is left to the full load, which falls back to the plain image when it fails.
        const bool accepted = !head.Empty() &&
                              CheckImageBytes(head.data.get(), head.size, UIImageBytes::FileStart, name, &verdict) &&
                              (verdict.width > 0 || head.size >= kHeaderPeekBytes);
        const std::lock_guard<std::mutex> hold(m_lock);
        if (m_answers.size() >= kMaxAnswers)
            m_answers.clear();
        m_answers[path] = Remembered{identity, accepted};
        return accepted;
    }

private:
    static constexpr size_t kMaxAnswers = 1024;
    struct Remembered {
        std::wstring identity;
        bool accepted = false;
    };
    std::mutex m_lock;
    std::unordered_map<std::wstring, Remembered> m_answers;
};

ProbeMemo& Probes()
{
    static ProbeMemo* memo = new ProbeMemo;
    return *memo;
}

bool ProbePlainFile(const CUIString& path, LPCWSTR name)
{
    const std::wstring identity = FileIdentity(path);
    return !identity.empty() &&
           Probes().Answer(L"file:" + std::wstring(path.GetData()), identity, name,
                           [&] { return ReadWholeFile(path, true); });
}

} // namespace

bool CUIRender::ProbeImage(LPCWSTR name)
{
    if (name == nullptr || IS_INTRESOURCE(name) || name[0] == L'\0')
        return false;
    LPCWSTR mapped = MappedName(name, nullptr);
    // Where LoadImage would look: the archive or the folder, then the name as a plain path.
    bool accepted = false;
    if (CPaintManagerUI::GetResourceArchive().IsEmpty()) {
        accepted = ProbePlainFile(CPaintManagerUI::GetResourceFolder() + mapped, mapped);
    } else {
        const ArchiveLookup lookup;
        const std::wstring identity = lookup.Identity(mapped);
        wchar_t archive[32] = {};
        if (CPaintManagerUI::IsResourceArchiveCached())
            std::swprintf(archive, 32, L"%p", static_cast<const void*>(CPaintManagerUI::GetResourceArchiveHandle()));
        const std::wstring path = L"zip:" + std::wstring(CPaintManagerUI::GetResourceFolder().GetData()) +
                                  CPaintManagerUI::GetResourceArchive().GetData() + L"|" + archive + L"|" + mapped;
        accepted = !identity.empty() &&
                   Probes().Answer(path, identity, mapped,
                                   [&] { return lookup.Read(mapped, true); });
    }
    return accepted || ProbePlainFile(mapped, mapped);
}

bool CUIRender::ReadImageFile(LPCWSTR path, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (path == nullptr || path[0] == L'\0')
        return false;
    const ByteBlock block = ReadWholeFile(path);
    if (block.Empty() || !CheckImageBytes(block.data.get(), block.size, UIImageBytes::File, path))
        return false;
    bytes.assign(block.data.get(), block.data.get() + block.size);
    return true;
}

UIImageInfo* CUIRender::LoadImageById(UINT id, LPCWSTR type, DWORD mask, HINSTANCE instance)
{
    return LoadImageFromSource(MAKEINTRESOURCEW(id), type, mask, instance);
}

UIImageInfo* CUIRender::LoadImageFromSource(LPCWSTR name, LPCWSTR type, DWORD mask, HINSTANCE instance)
{
    if (name == nullptr)
        return nullptr;
    return DecodeImage(ReadSourceBytes(name, type, instance), mask, IS_INTRESOURCE(name) ? L"(resource)" : name);
}

void CUIRender::FreeImage(UIImageInfo* image, bool deleteRecord)
{
    if (image == nullptr)
        return;
    if (image->bitmap != nullptr)
        ::DeleteObject(image->bitmap);
    image->bitmap = nullptr;
    // bits point into the DIB section, which went with the bitmap.
    image->bits = nullptr;
    delete[] image->savedBits;
    image->savedBits = nullptr;
    if (deleteRecord)
        delete image;
}

namespace {

// The checked bytes in a block GDI+ can own through its stream.
HGLOBAL CheckedGlobalCopy(const void* data, DWORD length, LPCWSTR name)
{
    if (data == nullptr || length == 0 || !DecodesCleanly(static_cast<const BYTE*>(data), length, name))
        return nullptr;
    HGLOBAL global = ::GlobalAlloc(GMEM_FIXED, length);
    if (global != nullptr)
        std::memcpy(reinterpret_cast<void*>(global), data, length);
    return global;
}

Gdiplus::Image* GdiplusImageFromGlobal(HGLOBAL global, LPCWSTR name)
{
    if (global == nullptr)
        return nullptr;
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(global, TRUE, &stream)) || stream == nullptr) {
        ::GlobalFree(global);
        return nullptr;
    }
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
    // GDI+ keeps its own reference to the stream for the image's lifetime.
    stream->Release();
    // The decoder may read a different size than the header check did; a frame count of 0 means
    // nothing can be drawn or animated.
    GUID dimension = {};
    const bool sound = image != nullptr && image->GetLastStatus() == Gdiplus::Ok && image->GetWidth() > 0 &&
                       image->GetHeight() > 0 && ImageSizeAcceptable(image->GetWidth(), image->GetHeight()) &&
                       image->GetFrameDimensionsCount() > 0 &&
                       image->GetFrameDimensionsList(&dimension, 1) == Gdiplus::Ok &&
                       image->GetFrameCount(&dimension) > 0;
    if (!sound) {
        delete image;
        ReportDecoderRefusal(name, L"GDI+ could not open it");
        return nullptr;
    }
    return image;
}

} // namespace

Gdiplus::Image* CUIRender::LoadGdiplusImage(LPCWSTR descriptor)
{
    if (descriptor == nullptr)
        return nullptr;
    UIDrawInfo info;
    info.Parse(descriptor, nullptr, nullptr);
    if (info.imageName.IsEmpty())
        return nullptr;
    HGLOBAL global = nullptr;
    {
        // The bytes as read go before GDI+ decodes its own copy of them.
        const ByteBlock bytes = ReadNamedBytes(info.imageName, true);
        if (bytes.Empty())
            return nullptr;
        global = CheckedGlobalCopy(bytes.data.get(), bytes.size, info.imageName);
    }
    return GdiplusImageFromGlobal(global, info.imageName);
}

Gdiplus::Image* CUIRender::GdiplusImageFromMemory(const void* data, DWORD length)
{
    return GdiplusImageFromGlobal(CheckedGlobalCopy(data, length, nullptr), nullptr);
}

void CUIRender::AdjustImage(bool enable, UIImageInfo* image, short h, short s, short l)
{
    if (image == nullptr || !image->hsl || image->bitmap == nullptr || image->bits == nullptr ||
        image->savedBits == nullptr)
        return;
    // What was kept of the old pixels is never drawn again.
    image->generation = NextImageGeneration();
    ::GdiFlush();
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    if (!enable || (h == 180 && s == 100 && l == 100)) {
        std::memcpy(image->bits, image->savedBits, count * sizeof(DWORD));
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const DWORD saved = image->savedBits[i];
        image->bits[i] = (AdjustColor(saved, h, s, l) & 0x00FFFFFF) | (saved & 0xFF000000);
    }
}

// --- drawing ---

bool CUIRender::DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                                LPCWSTR descriptor, LPCWSTR modify, HINSTANCE instance)
{
    if (hDC == nullptr || manager == nullptr)
        return false;
    const UIDrawInfo* info = manager->GetCachedDrawInfo(descriptor, modify);
    if (info == nullptr)
        return false;
    return DrawImageInfo(hDC, manager, rcItem, rcPaint, info, instance);
}

bool CUIRender::DrawImageInfo(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                              const UIDrawInfo* info, HINSTANCE instance)
{
    // Without a DC the image is only loaded into the cache: a trial load before the first paint.
    if (manager == nullptr || info == nullptr)
        return false;
    RECT dest = rcItem;
    const RECT& d = info->dest;
    if (d.left != 0 || d.top != 0 || d.right != 0 || d.bottom != 0)
        dest = RECT{rcItem.left + d.left, rcItem.top + d.top, rcItem.left + d.right, rcItem.top + d.bottom};
    if (info->size.cx > 0 && info->size.cy > 0)
        AlignImageRect(rcItem, info->size, info->align, info->padding, dest);
    if (DrawImageFile(hDC, manager, rcItem, rcPaint, info->imageName, info->resourceType, dest, info->source,
                      info->corner, info->mask, info->imageFactor, info->fade, info->hole, info->xtiled,
                      info->ytiled, instance))
        return true;
    // The twin was chosen on its header alone; when its data fail, the plain image is drawn as it
    // is where there is no twin.
    if (info->plainImageName.IsEmpty())
        return false;
    return DrawImageFile(hDC, manager, rcItem, rcPaint, info->plainImageName, info->resourceType, dest, info->source,
                         info->corner, info->mask, 1.0, info->fade, info->hole, info->xtiled, info->ytiled, instance);
}

namespace {

// Shared by the scaled and unscaled twins: the cached image, its source limited to the image,
// and whether there is anything to draw.
UIImageInfo* PrepareImage(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                          LPCWSTR name, LPCWSTR type, const RECT& dest, RECT& source, DWORD mask,
                          HINSTANCE instance, bool& visible)
{
    visible = false;
    if (manager == nullptr || name == nullptr || name[0] == L'\0')
        return nullptr;
    UIImageInfo* image = manager->LoadImageCached(name, (type != nullptr && type[0] != L'\0') ? type : nullptr,
                                                  mask, false, instance);
    if (image == nullptr)
        return nullptr;
    if (source.left == 0 && source.top == 0 && source.right == 0 && source.bottom == 0)
        source = RECT{0, 0, image->width, image->height};
    if (source.right > image->width)
        source.right = image->width;
    if (source.bottom > image->height)
        source.bottom = image->height;
    visible = hDC != nullptr && Intersects(dest, rcItem) && Intersects(dest, rcPaint);
    return image;
}

} // namespace

bool CUIRender::DrawImageFile(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                              LPCWSTR name, LPCWSTR type, RECT dest, RECT source, RECT corner, DWORD mask,
                              double factor, BYTE fade, bool hole, bool xtiled, bool ytiled, HINSTANCE instance)
{
    bool visible = false;
    UIImageInfo* image = PrepareImage(hDC, manager, rcItem, rcPaint, name, type, dest, source, mask, instance,
                                      visible);
    if (image == nullptr)
        return false;
    if (visible) {
        const bool alpha = manager->IsLayered() || image->alpha;
        UIImageDrawKey key;
        key.bitmap = image->bitmap;
        key.generation = image->generation;
        key.source = source;
        key.corner = corner;
        key.width = dest.right - dest.left;
        key.height = dest.bottom - dest.top;
        key.imageScale = CPaintManagerUI::GetImageScaleFactor();
        key.factor = factor;
        key.fade = fade;
        key.alpha = alpha;
        key.hole = hole;
        key.xtiled = xtiled;
        key.ytiled = ytiled;
        if (!manager->GetImageDrawCache().Draw(hDC, key, dest, rcPaint))
            DrawImageScaled(hDC, image->bitmap, dest, rcPaint, source, corner, alpha, factor, fade, hole, xtiled,
                            ytiled);
    }
    return true;
}

bool CUIRender::DrawImageFileUnscaled(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                                      LPCWSTR name, LPCWSTR type, RECT dest, RECT source, RECT corner, DWORD mask,
                                      BYTE fade, bool hole, bool xtiled, bool ytiled, HINSTANCE instance)
{
    bool visible = false;
    UIImageInfo* image = PrepareImage(hDC, manager, rcItem, rcPaint, name, type, dest, source, mask, instance,
                                      visible);
    if (image == nullptr)
        return false;
    if (visible) {
        const bool alpha = manager->IsLayered() || image->alpha;
        DrawImage(hDC, image->bitmap, dest, rcPaint, source, corner, alpha, fade, hole, xtiled, ytiled);
    }
    return true;
}

void CUIRender::DrawImage(HDC hDC, HBITMAP bitmap, const RECT& dest, const RECT& rcPaint, const RECT& source,
                          const RECT& corner, bool alpha, BYTE fade, bool hole, bool xtiled, bool ytiled)
{
    DrawImageScaled(hDC, bitmap, dest, rcPaint, source, corner, alpha, 1.0, fade, hole, xtiled, ytiled);
}

void CUIRender::DrawImageScaled(HDC hDC, HBITMAP bitmap, const RECT& D, const RECT& rcPaint, const RECT& S,
                                const RECT& corner, bool alpha, double factor, BYTE fade, bool hole, bool xtiled,
                                bool ytiled)
{
    if (hDC == nullptr || bitmap == nullptr)
        return;
    const MemoryDC mem(hDC, bitmap);
    if (mem.Get() == nullptr)
        return;
    ::SetStretchBltMode(hDC, HALFTONE);

    const bool blended = alpha || fade < 255;
    const Blitter blit{hDC, mem.Get(), rcPaint, blended, BLENDFUNCTION{AC_SRC_OVER, 0, fade, AC_SRC_ALPHA},
                       blended ? GetAlphaBlend() : nullptr};
    if (blended && blit.alphaBlend == nullptr)
        return;

    const int cl = corner.left;
    const int ct = corner.top;
    const int cr = corner.right;
    const int cb = corner.bottom;
    const int dw = D.right - D.left;
    const int dh = D.bottom - D.top;
    const int sw = S.right - S.left;
    const int sh = S.bottom - S.top;

    if (!blended && dw == sw && dh == sh && cl == 0 && ct == 0 && cr == 0 && cb == 0) {
        RECT part;
        if (::IntersectRect(&part, &D, &rcPaint))
            ::BitBlt(hDC, part.left, part.top, part.right - part.left, part.bottom - part.top, mem.Get(),
                     S.left + part.left - D.left, S.top + part.top - D.top, SRCCOPY);
        return;
    }

    // The source side of each border: the destination corner divided by f. The blended path
    // rounds the near borders down and the far ones up; the opaque path truncates each value.
    double f = CPaintManagerUI::GetImageScaleFactor() / (factor > 0.0 ? factor : 1.0);
    if (f <= 0.0)
        f = 1.0;
    double L = cl / f;
    double T = ct / f;
    double R = cr / f;
    double B = cb / f;
    if (blended) {
        L = std::floor(L);
        T = std::floor(T);
        R = std::ceil(R);
        B = std::ceil(B);
    }

    // 1. Centre, stretched or tiled from the centre's source origin.
    if (!hole) {
        const RECT C = {D.left + cl, D.top + ct, D.right - cr, D.bottom - cb};
        const int cw = C.right - C.left;
        const int ch = C.bottom - C.top;
        const int sx = Trunc(S.left + L);
        const int sy = Trunc(S.top + T);
        const int siw = Trunc(sw - L - R);
        const int sih = Trunc(sh - T - B);
        if (cw > 0 && ch > 0) {
            if (!xtiled && !ytiled) {
                blit.Piece(C.left, C.top, cw, ch, sx, sy, siw, sih);
            } else if (ytiled && !xtiled) {
                for (int y = C.top; sih > 0 && y < C.bottom; y += sih) {
                    const int h = y + sih > C.bottom ? C.bottom - y : sih;
                    blit.Piece(C.left, y, cw, h, sx, sy, siw, h);
                }
            } else if (xtiled && !ytiled) {
                for (int x = C.left; siw > 0 && x < C.right; x += siw) {
                    const int w = x + siw > C.right ? C.right - x : siw;
                    blit.Piece(x, C.top, w, ch, sx, sy, w, sih);
                }
            } else {
                for (int y = C.top; siw > 0 && sih > 0 && y < C.bottom; y += sih) {
                    const int h = y + sih > C.bottom ? C.bottom - y : sih;
                    for (int x = C.left; x < C.right; x += siw) {
                        const int w = x + siw > C.right ? C.right - x : siw;
                        blit.Piece(x, y, w, h, sx, sy, w, h);
                    }
                }
            }
        }
    }

    // 2..9. Borders and corners; corner pieces keep their size even where they overlap.
    const int midW = dw - cl - cr;
    const int midH = dh - ct - cb;
    const int srcMidW = Trunc(sw - L - R);
    const int srcMidH = Trunc(sh - T - B);
    const int sLeftIn = Trunc(S.left + L);
    const int sTopIn = Trunc(S.top + T);
    const int sRightIn = Trunc(S.right - R);
    const int sBottomIn = Trunc(S.bottom - B);
    if (cl > 0 && ct > 0)
        blit.Piece(D.left, D.top, cl, ct, S.left, S.top, Trunc(L), Trunc(T));
    if (ct > 0)
        blit.Piece(D.left + cl, D.top, midW, ct, sLeftIn, S.top, srcMidW, Trunc(T));
    if (cr > 0 && ct > 0)
        blit.Piece(D.right - cr, D.top, cr, ct, sRightIn, S.top, Trunc(R), Trunc(T));
    if (cl > 0)
        blit.Piece(D.left, D.top + ct, cl, midH, S.left, sTopIn, Trunc(L), srcMidH);
    if (cr > 0)
        blit.Piece(D.right - cr, D.top + ct, cr, midH, sRightIn, sTopIn, Trunc(R), srcMidH);
    if (cl > 0 && cb > 0)
        blit.Piece(D.left, D.bottom - cb, cl, cb, S.left, sBottomIn, Trunc(L), Trunc(B));
    if (cb > 0)
        blit.Piece(D.left + cl, D.bottom - cb, midW, cb, sLeftIn, sBottomIn, srcMidW, Trunc(B));
    if (cr > 0 && cb > 0)
        blit.Piece(D.right - cr, D.bottom - cb, cr, cb, sRightIn, sBottomIn, Trunc(R), Trunc(B));
}

void CUIRender::AlignImageRect(const RECT& rcItem, SIZE size, LPCWSTR align, const RECT& padding, RECT& rc)
{
    const CUIString text(align);
    const int itemW = rcItem.right - rcItem.left;
    const int itemH = rcItem.bottom - rcItem.top;
    // Substring matches: "vcenter" also centres across.
    if (text.Find(L"left") >= 0) {
        rc.left = rcItem.left;
        rc.right = rc.left + size.cx;
    } else if (text.Find(L"center") >= 0) {
        rc.left = rcItem.left + (itemW - size.cx) / 2;
        rc.right = rc.left + size.cx;
    } else if (text.Find(L"right") >= 0) {
        rc.left = rcItem.right - size.cx;
        rc.right = rc.left + size.cx;
    }
    if (text.Find(L"top") >= 0) {
        rc.top = rcItem.top;
        rc.bottom = rc.top + size.cy;
    } else if (text.Find(L"vcenter") >= 0) {
        rc.top = rcItem.top + (itemH - size.cy) / 2;
        rc.bottom = rc.top + size.cy;
    } else if (text.Find(L"bottom") >= 0) {
        rc.top = rcItem.bottom - size.cy;
        rc.bottom = rc.top + size.cy;
    }
    ::OffsetRect(&rc, padding.left, padding.top);
    ::OffsetRect(&rc, -padding.right, -padding.bottom);
    if (rc.right > rcItem.right)
        rc.right = rcItem.right;
    if (rc.bottom > rcItem.bottom)
        rc.bottom = rcItem.bottom;
}

} // namespace ZvUI

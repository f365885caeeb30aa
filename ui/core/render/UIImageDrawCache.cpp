// The drawn-image cache: nine-slice frames composed once at their drawn size, fade applied once,
// then one 1:1 blend (or copy) per paint.
#include "render/UIImageDrawCache.h"

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/UIDib.h"
#include "render/UIMemoryDC.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// 32-bit pixels of a DIB section: the first row in memory and the step from one row of the
// picture to the next (negative for bottom-up sections).
struct DibPixels {
    DWORD* bits = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;

    DWORD* Row(int y) const { return stride > 0 ? bits + y * stride : bits + (height - 1 - y) * -stride; }
};

// Top-down until told otherwise: the section's header as GetObject reports it does not keep the
// sign of its height, so the row order is found with ProbeRowOrder.
bool GetDibPixels(HBITMAP bitmap, DibPixels& out)
{
    DIBSECTION ds = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBits == nullptr ||
        ds.dsBm.bmBitsPixel != 32 || ds.dsBmih.biCompression != BI_RGB)
        return false;
    out.bits = static_cast<DWORD*>(ds.dsBm.bmBits);
    out.width = ds.dsBm.bmWidth;
    out.height = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
    out.stride = out.width;
    return out.width > 0 && out.height > 0;
}

// Which memory row the DC shows at row y (any row but the middle one, which is the same
// either way): one pixel is marked in memory and read back through the DC.
bool ProbeRowOrder(HDC dc, DibPixels& pixels, int x, int y)
{
    DWORD* topDown = pixels.bits + static_cast<ptrdiff_t>(y) * pixels.width + x;
    DWORD* bottomUp = pixels.bits + static_cast<ptrdiff_t>(pixels.height - 1 - y) * pixels.width + x;
    if (topDown == bottomUp)
        return true;
    ::GdiFlush();
    const DWORD saved = *topDown;
    *topDown = *bottomUp ^ 0x00FFFFFFu;
    const DWORD mark = *topDown;
    const COLORREF seen = ::GetPixel(dc, x, y);
    *topDown = saved;
    if (seen == CLR_INVALID)
        return false;
    const COLORREF marked = RGB((mark >> 16) & 0xFF, (mark >> 8) & 0xFF, mark & 0xFF);
    pixels.stride = seen == marked ? pixels.width : -static_cast<ptrdiff_t>(pixels.width);
    return true;
}

class ScopedDC {
public:
    explicit ScopedDC(HBITMAP bitmap) : m_dc(::CreateCompatibleDC(nullptr))
    {
        if (m_dc != nullptr)
            m_old = ::SelectObject(m_dc, bitmap);
    }
    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;
    ~ScopedDC()
    {
        if (m_dc == nullptr)
            return;
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
    }
    // Null unless the bitmap went in.
    HDC Get() const { return m_old != nullptr ? m_dc : nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

class ScopedRegion {
public:
    explicit ScopedRegion(HRGN region) : m_region(region) {}
    ScopedRegion(const ScopedRegion&) = delete;
    ScopedRegion& operator=(const ScopedRegion&) = delete;
    ~ScopedRegion()
    {
        if (m_region != nullptr)
            ::DeleteObject(m_region);
    }
    HRGN Get() const { return m_region; }

private:
    HRGN m_region;
};

// --- the 1:1 blend of premultiplied pixels ---
// The same arithmetic as the system's AlphaBlend with constant alpha 255 gives under Wine, for
// premultiplied sources: per channel c = s + (d * (255 - sa) + 127) / 255.

inline DWORD Div255(DWORD t)
{
    return (t + 1 + (t >> 8)) >> 8;
}

inline DWORD BlendPixel(DWORD d, DWORD s)
{
    const DWORD a = s >> 24;
    if (a == 255)
        return s;
    const DWORD inv = 255 - a;
    DWORD out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const DWORD dc = (d >> shift) & 0xFF;
        out |= (((s >> shift) & 0xFF) + Div255(dc * inv + 127)) << shift;
    }
    return out;
}

void BlendRow(DWORD* dst, const DWORD* src, int count)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i ff = _mm_set1_epi16(255);
    const __m128i bias = _mm_set1_epi16(127);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i sa = _mm_and_si128(s, alphaMask);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sa, alphaMask)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
            continue;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF)
            continue;
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        auto half = [&](__m128i s8, __m128i d8) {
            const __m128i s16 = s8;
            const __m128i d16 = d8;
            // The alpha word of each pixel, spread over its four words.
            __m128i a16 = _mm_shufflelo_epi16(s16, _MM_SHUFFLE(3, 3, 3, 3));
            a16 = _mm_shufflehi_epi16(a16, _MM_SHUFFLE(3, 3, 3, 3));
            const __m128i t = _mm_add_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(ff, a16)), bias);
            const __m128i q = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, one), _mm_srli_epi16(t, 8)), 8);
            return _mm_add_epi16(s16, q);
        };
        const __m128i lo = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < count; ++i) {
        const DWORD s = src[i];
        if (s != 0)
            dst[i] = BlendPixel(dst[i], s);
    }
}

// A DC that draws straight into a 32-bit DIB section under the identity mapping.
bool TargetPixels(HDC hDC, DibPixels& out)
{
    return GetDibPixels(static_cast<HBITMAP>(::GetCurrentObject(hDC, OBJ_BITMAP)), out) && IsIdentityMapped(hDC);
}

// The clip rectangles of the DC inside target; false when they cannot be read.
bool ClipRects(HDC hDC, const RECT& target, std::vector<RECT>& rects)
{
    rects.clear();
    ScopedRegion clip(::CreateRectRgn(0, 0, 0, 0));
    if (clip.Get() == nullptr)
        return false;
    const int has = ::GetClipRgn(hDC, clip.Get());
    if (has < 0)
        return false;
    if (has == 0) {
        rects.push_back(target);
        return true;
    }
    ScopedRegion box(::CreateRectRgnIndirect(&target));
    if (box.Get() == nullptr || ::CombineRgn(clip.Get(), clip.Get(), box.Get(), RGN_AND) == ERROR)
        return false;
    const DWORD size = ::GetRegionData(clip.Get(), 0, nullptr);
    if (size < sizeof(RGNDATAHEADER))
        return false;
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size]);
    if (buffer == nullptr)
        return false;
    auto* data = reinterpret_cast<RGNDATA*>(buffer.get());
    if (::GetRegionData(clip.Get(), size, data) != size)
        return false;
    const auto* r = reinterpret_cast<const RECT*>(data->Buffer);
    rects.assign(r, r + data->rdh.nCount);
    return true;
}

bool BlendOnto(HDC hDC, const RECT& target, const DibPixels& src, int srcX, int srcY)
{
    DibPixels dst;
    if (!TargetPixels(hDC, dst))
        return false;
    std::vector<RECT> rects;
    if (!ClipRects(hDC, target, rects))
        return false;
    // A clip region, or none, may reach past the bitmap: only its pixels are read or written,
    // the row-order probe's included.
    const RECT surface = {0, 0, dst.width, dst.height};
    for (RECT& rc : rects) {
        if (!::IntersectRect(&rc, &rc, &surface))
            rc = RECT{0, 0, 0, 0};
    }
    for (const RECT& rc : rects) {
        if (rc.right <= rc.left || rc.bottom <= rc.top)
            continue;
        // The probe point must be inside the clip, where GetPixel answers.
        const int y = 2 * rc.top + 1 != dst.height ? rc.top : rc.top + 1;
        if (y >= rc.bottom)
            continue;
        if (!ProbeRowOrder(hDC, dst, rc.left, y))
            return false;
        break;
    }
    ::GdiFlush();
    for (const RECT& rc : rects) {
        for (int y = rc.top; y < rc.bottom; ++y)
            BlendRow(dst.Row(y) + rc.left, src.Row(srcY + y - target.top) + srcX + rc.left - target.left,
                     rc.right - rc.left);
    }
    return true;
}

// Pixels of a kept image: all opaque, all premultiplied, or neither.
enum class PixelClass { Opaque, Premultiplied, Other };

PixelClass Classify(const DibPixels& pixels, int x, int y, int width, int height)
{
    bool opaque = true;
    for (int row = 0; row < height; ++row) {
        const DWORD* p = pixels.Row(y + row) + x;
        for (int i = 0; i < width; ++i) {
            const DWORD v = p[i];
            const DWORD a = v >> 24;
            if (a == 255)
                continue;
            opaque = false;
            if (((v >> 16) & 0xFF) > a || ((v >> 8) & 0xFF) > a || (v & 0xFF) > a)
                return PixelClass::Other;
        }
    }
    return opaque ? PixelClass::Opaque : PixelClass::Premultiplied;
}

// The blit of the nine-slice itself, onto a bitmap of the drawn size.
void Compose(HDC dc, const UIImageDrawKey& key)
{
    const RECT all = {0, 0, key.width, key.height};
    CUIRender::DrawImageScaled(dc, key.bitmap, all, all, key.source, key.corner, key.alpha, key.factor,
                               key.fade, key.hole, key.xtiled, key.ytiled);
    ::GdiFlush();
}

template <typename T>
void Mix(size_t& seed, const T& value)
{
    seed ^= std::hash<T>()(value) + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2);
}

} // namespace

bool UIImageDrawKey::operator==(const UIImageDrawKey& other) const
{
    return generation == other.generation && SameRect(source, other.source) && SameRect(corner, other.corner) &&
           width == other.width && height == other.height && imageScale == other.imageScale &&
           factor == other.factor && fade == other.fade && alpha == other.alpha && hole == other.hole &&
           xtiled == other.xtiled && ytiled == other.ytiled;
}

size_t UIImageDrawKeyHash::operator()(const UIImageDrawKey& key) const
{
    size_t seed = std::hash<unsigned long long>()(key.generation);
    for (LONG v : {key.source.left, key.source.top, key.source.right, key.source.bottom, key.corner.left,
                   key.corner.top, key.corner.right, key.corner.bottom})
        Mix(seed, v);
    Mix(seed, key.width);
    Mix(seed, key.height);
    Mix(seed, key.imageScale);
    Mix(seed, key.factor);
    Mix(seed, (key.fade << 8) | (key.alpha << 0) | (key.hole << 1) | (key.xtiled << 2) | (key.ytiled << 3));
    return seed;
}

CUIImageDrawCache::~CUIImageDrawCache()
{
    Clear();
}

void CUIImageDrawCache::Clear()
{
    while (!m_entries.empty())
        Erase(m_entries.begin());
}

void CUIImageDrawCache::Forget(unsigned long long generation)
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        auto next = std::next(it);
        if (it->key.generation == generation)
            Erase(it);
        it = next;
    }
}

void CUIImageDrawCache::SetMemoryLimit(size_t bytes)
{
    // Entries refused under the old limit may fit the new one.
    Clear();
    m_limit = bytes;
}

void CUIImageDrawCache::Erase(EntryList::iterator it)
{
    if (it->bitmap != nullptr)
        ::DeleteObject(it->bitmap);
    m_bytes -= it->bytes;
    m_index.erase(it->key);
    m_entries.erase(it);
}

void CUIImageDrawCache::EvictFor(size_t bytes)
{
    while (!m_entries.empty() && (m_bytes + bytes > m_limit || m_entries.size() >= kMaxEntries))
        Erase(std::prev(m_entries.end()));
}

CUIImageDrawCache::Entry* CUIImageDrawCache::Find(const UIImageDrawKey& key)
{
    auto found = m_index.find(key);
    if (found == m_index.end())
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return &*found->second;
}

void CUIImageDrawCache::Make(Entry& entry)
{
    const UIImageDrawKey& key = entry.key;
    entry.kind = Kind::Direct;
    const RECT& s = key.source;
    const RECT& c = key.corner;
    const bool blended = key.alpha || key.fade < 255;
    DibPixels source;
    // Pieces that overlap would blend twice; what GDI makes of damaged rectangles is left to GDI.
    const bool sound = key.width > 0 && key.height > 0 && s.left >= 0 && s.top >= 0 &&
                       s.right > s.left && s.bottom > s.top && c.left >= 0 && c.top >= 0 && c.right >= 0 &&
                       c.bottom >= 0 && c.left + c.right <= key.width && c.top + c.bottom <= key.height &&
                       GetDibPixels(key.bitmap, source) && s.right <= source.width && s.bottom <= source.height;
    const bool oneToOne = c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0 && !key.hole &&
                          !key.xtiled && !key.ytiled && key.fade == 255 && key.width == s.right - s.left &&
                          key.height == s.bottom - s.top;
    const size_t bytes = static_cast<size_t>(key.width) * static_cast<size_t>(key.height) * 4;
    if (!sound) {
        entry.kind = Kind::Direct;
    } else if (oneToOne) {
        // Drawn from its own pixels: nothing to keep but what they are.
        entry.blitSource = key.bitmap;
        entry.originX = s.left;
        entry.originY = s.top;
        if (!blended) {
            entry.kind = Kind::Copy;
        } else {
            bool probed = false;
            {
                ScopedDC dc(key.bitmap);
                probed = dc.Get() != nullptr && ProbeRowOrder(dc.Get(), source, 0, 0);
            }
            ::GdiFlush();
            const PixelClass pc = probed ? Classify(source, s.left, s.top, key.width, key.height) : PixelClass::Other;
            entry.kind = pc == PixelClass::Opaque ? Kind::Copy
                         : pc == PixelClass::Premultiplied ? Kind::Blend
                                                           : Kind::Direct;
            entry.bottomUp = source.stride < 0;
        }
    } else if (bytes <= m_limit && key.width <= 16384 && key.height <= 16384) {
        BYTE* raw = nullptr;
        HBITMAP kept = CUIRender::CreateARGB32Bitmap(nullptr, key.width, -key.height, &raw);
        DibPixels pixels;
        if (kept != nullptr && GetDibPixels(kept, pixels)) {
            bool covered = true;
            {
                ScopedDC dc(kept);
                if (dc.Get() == nullptr) {
                    covered = false;
                } else if (!blended) {
                    // Copied pieces leave untouched what they do not cover: compose over two
                    // backgrounds and keep the image only when both agree everywhere.
                    std::memset(pixels.bits, 0xFF, bytes);
                    Compose(dc.Get(), key);
                    std::vector<DWORD> first(pixels.bits, pixels.bits + bytes / 4);
                    std::memset(pixels.bits, 0, bytes);
                    Compose(dc.Get(), key);
                    covered = std::memcmp(first.data(), pixels.bits, bytes) == 0;
                } else {
                    std::memset(pixels.bits, 0, bytes);
                    Compose(dc.Get(), key);
                }
            }
            Kind kind = Kind::Direct;
            if (covered && !blended) {
                kind = Kind::Copy;
            } else if (covered) {
                const PixelClass pc = Classify(pixels, 0, 0, key.width, key.height);
                kind = pc == PixelClass::Opaque ? Kind::Copy
                       : pc == PixelClass::Premultiplied ? Kind::Blend
                                                         : Kind::Direct;
            }
            if (kind != Kind::Direct) {
                // The entry itself is first in the list: what goes is older.
                EvictFor(bytes);
                entry.kind = kind;
                entry.bitmap = kept;
                entry.blitSource = kept;
                entry.bytes = bytes;
                kept = nullptr;
            }
        }
        if (kept != nullptr)
            ::DeleteObject(kept);
    }
    m_bytes += entry.bytes;
}

bool CUIImageDrawCache::Draw(HDC hDC, const UIImageDrawKey& key, const RECT& dest, const RECT& rcPaint)
{
    if (hDC == nullptr || m_limit == 0 || key.generation == 0)
        return false;
    Entry* entry = Find(key);
    if (entry == nullptr) {
        EvictFor(0);
        Entry pending;
        pending.key = key;
        m_entries.push_front(pending);
        m_index[key] = m_entries.begin();
        return false;
    }
    if (entry->kind == Kind::Pending)
        Make(*entry);
    if (entry->kind == Kind::Direct)
        return false;
    RECT target;
    if (!::IntersectRect(&target, &dest, &rcPaint))
        return true;
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    const int sx = entry->originX + target.left - dest.left;
    const int sy = entry->originY + target.top - dest.top;
    if (entry->kind == Kind::Copy) {
        const MemoryDC src(nullptr, entry->blitSource);
        if (src.Get() != nullptr)
            ::BitBlt(hDC, target.left, target.top, w, h, src.Get(), sx, sy, SRCCOPY);
        return true;
    }
    DibPixels pixels;
    const bool read = GetDibPixels(entry->blitSource, pixels);
    if (entry->bottomUp)
        pixels.stride = -pixels.stride;
    if (read && BlendOnto(hDC, target, pixels, sx, sy))
        return true;
    const MemoryDC src(nullptr, entry->blitSource);
    if (src.Get() != nullptr)
        CUIRender::GetAlphaBlend()(hDC, target.left, target.top, w, h, src.Get(), sx, sy, w, h,
                                   BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    return true;
}

} // namespace ZvUI

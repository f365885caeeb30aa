// Render engine: colour model, 32-bit bitmaps, fills, the AlphaBlend stand-in and outlines.

#include "render/UIRender.h"

#include "render/UIDib.h"

#include <objidl.h>
#include <algorithm>
#include <gdiplus.h>

namespace ZvUI {

namespace {

using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

struct Msimg32 {
    AlphaBlendProc alphaBlend = nullptr;
    GradientFillProc gradientFill = nullptr;
};

// Looked up once per process; the paint manager has loaded msimg32 by then.
const Msimg32& Entries()
{
    static const Msimg32 entries = [] {
        Msimg32 e;
        if (HMODULE module = ::GetModuleHandleW(L"msimg32.dll")) {
            e.alphaBlend = reinterpret_cast<AlphaBlendProc>(
                reinterpret_cast<void*>(::GetProcAddress(module, "AlphaBlend")));
            e.gradientFill = reinterpret_cast<GradientFillProc>(
                reinterpret_cast<void*>(::GetProcAddress(module, "GradientFill")));
        }
        return e;
    }();
    return entries;
}

BOOL WINAPI FallbackAdapter(HDC hDC, int x, int y, int width, int height, HDC hSrcDC, int srcX, int srcY,
                            int srcWidth, int srcHeight, BLENDFUNCTION blend)
{
    return CUIRender::AlphaBlendFallback(hDC, x, y, width, height, hSrcDC, srcX, srcY, srcWidth, srcHeight, blend)
               ? TRUE
               : FALSE;
}

constexpr BYTE Alpha(DWORD c) { return static_cast<BYTE>(c >> 24); }
constexpr BYTE Red(DWORD c) { return static_cast<BYTE>(c >> 16); }
constexpr BYTE Green(DWORD c) { return static_cast<BYTE>(c >> 8); }
constexpr BYTE Blue(DWORD c) { return static_cast<BYTE>(c); }

// --- opaque fills of 32-bit DIB sections ---
// GDI+ spends most of a fill on setting itself up for the DC. An opaque solid fill of a 32-bit
// DIB section under the identity mapping goes through a GDI brush instead: a one-pixel 32-bit
// pattern keeps its alpha byte, so the target gets the very pixels GDI+ writes (the colour with
// alpha 255), inside the DC's clip region and in either row order.

struct OnePixelPattern {
    BITMAPINFOHEADER header;
    DWORD pixel;
};

HBRUSH CreateOpaqueBrush(DWORD color)
{
    OnePixelPattern pattern = {};
    pattern.header.biSize = sizeof(BITMAPINFOHEADER);
    pattern.header.biWidth = 1;
    pattern.header.biHeight = 1;
    pattern.header.biPlanes = 1;
    pattern.header.biBitCount = 32;
    pattern.header.biCompression = BI_RGB;
    pattern.pixel = color;
    return ::CreateDIBPatternBrushPt(&pattern, DIB_RGB_COLORS);
}

// Not every GDI keeps the pattern's alpha byte: tried once on a scratch bitmap.
bool PatternKeepsAlpha()
{
    static const bool keeps = [] {
        constexpr DWORD probe = 0xFF102030;
        bool ok = false;
        HDC dc = ::CreateCompatibleDC(nullptr);
        BYTE* bits = nullptr;
        HBITMAP bitmap = dc != nullptr ? CUIRender::CreateARGB32Bitmap(dc, 1, 1, &bits) : nullptr;
        HBRUSH brush = CreateOpaqueBrush(probe);
        if (bitmap != nullptr && bits != nullptr && brush != nullptr) {
            HGDIOBJ old = ::SelectObject(dc, bitmap);
            *reinterpret_cast<DWORD*>(bits) = 0;
            const RECT rc = {0, 0, 1, 1};
            ::FillRect(dc, &rc, brush);
            ::GdiFlush();
            ok = *reinterpret_cast<DWORD*>(bits) == probe;
            ::SelectObject(dc, old);
        }
        if (brush != nullptr)
            ::DeleteObject(brush);
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
        if (dc != nullptr)
            ::DeleteDC(dc);
        return ok;
    }();
    return keeps;
}

bool IsIdentityMapped32BitDib(HDC hDC)
{
    HGDIOBJ bitmap = ::GetCurrentObject(hDC, OBJ_BITMAP);
    DIBSECTION ds = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBits == nullptr ||
        ds.dsBm.bmBitsPixel != 32 || ds.dsBmih.biCompression != BI_RGB)
        return false;
    return IsIdentityMapped(hDC);
}

// False leaves the fill to GDI+.
bool FillOpaque(HDC hDC, const RECT* rects, int count, DWORD color)
{
    if (Alpha(color) != 0xFF || !IsIdentityMapped32BitDib(hDC) || !PatternKeepsAlpha())
        return false;
    HBRUSH brush = CreateOpaqueBrush(color);
    if (brush == nullptr)
        return false;
    for (int i = 0; i < count; ++i) {
        if (rects[i].right > rects[i].left && rects[i].bottom > rects[i].top)
            ::FillRect(hDC, &rects[i], brush);
    }
    ::DeleteObject(brush);
    return true;
}

bool IsNullPen(int style) { return (style & PS_STYLE_MASK) == PS_NULL; }

// GDI's PS_DASH to PS_DASHDOTDOT have the numbers of GDI+'s dash styles; the rest draw solid.
void SetDash(Gdiplus::Pen& pen, int style)
{
    const int dash = style & PS_STYLE_MASK;
    if (dash >= PS_DASH && dash <= PS_DASHDOTDOT)
        pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(dash));
}


// Selects an object into a DC for one scope.
class SelectGuard {
public:
    SelectGuard(HDC hDC, HGDIOBJ object) : m_hDC(hDC), m_old(::SelectObject(hDC, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { ::SelectObject(m_hDC, m_old); }

private:
    HDC m_hDC;
    HGDIOBJ m_old;
};

void FillBands(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    int shift = 1;
    if (steps >= 64) {
        shift = 6;
    } else if (steps >= 32) {
        shift = 5;
    } else if (steps >= 16) {
        shift = 4;
    } else if (steps > 7) {
        shift = 3;
    } else if (steps > 3) {
        shift = 2;
    }
    const int bands = 1 << shift;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    for (int i = 0; i < bands; ++i) {
        // Band 0 carries the second colour and lies at the bottom or right edge.
        auto mix = [&](BYTE a, BYTE b) { return static_cast<BYTE>((b * (bands - i) + a * i) >> shift); };
        const COLORREF color = RGB(mix(Red(first), Red(second)), mix(Green(first), Green(second)),
                                   mix(Blue(first), Blue(second)));
        RECT band = rc;
        if (vertical) {
            band.top = rc.bottom - (((i + 1) * height) >> shift);
            band.bottom = rc.bottom - ((i * height) >> shift);
        } else {
            band.left = rc.right - (((i + 1) * width) >> shift);
            band.right = rc.right - ((i * width) >> shift);
        }
        if (band.right <= band.left || band.bottom <= band.top) {
            continue;
        }
        HBRUSH brush = ::CreateSolidBrush(color);
        ::FillRect(hDC, &band, brush);
        ::DeleteObject(brush);
    }
}

void FillGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    GradientFillProc gradientFill = Entries().gradientFill;
    if (gradientFill == nullptr) {
        FillBands(hDC, rc, first, second, vertical, steps);
        return;
    }
    TRIVERTEX vertices[2] = {};
    vertices[0].x = rc.left;
    vertices[0].y = rc.top;
    vertices[0].Red = static_cast<COLOR16>(Red(first) << 8);
    vertices[0].Green = static_cast<COLOR16>(Green(first) << 8);
    vertices[0].Blue = static_cast<COLOR16>(Blue(first) << 8);
    vertices[0].Alpha = 0xFF00;
    vertices[1].x = rc.right;
    vertices[1].y = rc.bottom;
    vertices[1].Red = static_cast<COLOR16>(Red(second) << 8);
    vertices[1].Green = static_cast<COLOR16>(Green(second) << 8);
    vertices[1].Blue = static_cast<COLOR16>(Blue(second) << 8);
    vertices[1].Alpha = 0xFF00;
    GRADIENT_RECT mesh = {0, 1};
    gradientFill(hDC, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

float HueValue(float p, float q, float x)
{
    if (6.0f * x < 1.0f) {
        return p + (q - p) * 6.0f * x;
    }
    if (2.0f * x < 1.0f) {
        return q;
    }
    if (3.0f * x < 2.0f) {
        return p + (q - p) * (0.6666667f - x) * 6.0f;
    }
    return p;
}

BYTE ToByte(float value)
{
    const float scaled = value * 255.0f;
    if (scaled <= 0.0f) {
        return 0;
    }
    if (scaled >= 255.0f) {
        return 255;
    }
    return static_cast<BYTE>(scaled);
}

} // namespace

// --- bitmaps ---

HBITMAP CUIRender::CreateARGB32Bitmap(HDC hDC, int width, int height, BYTE** bits)
{
    BITMAPINFO bmi = Argb32Header(width, height);
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height < 0 ? -height : height) * 4;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits != nullptr) {
        *bits = static_cast<BYTE*>(pixels);
    }
    return bitmap;
}

AlphaBlendProc CUIRender::GetAlphaBlend()
{
    AlphaBlendProc alphaBlend = Entries().alphaBlend;
    return alphaBlend != nullptr ? alphaBlend : &FallbackAdapter;
}

bool CUIRender::AlphaBlendFallback(HDC hDC, int x, int y, int width, int height, HDC hSrcDC, int srcX, int srcY,
                                   int srcWidth, int srcHeight, BLENDFUNCTION blend)
{
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC srcCopyDC = ::CreateCompatibleDC(hDC);
    if (srcCopyDC == nullptr) {
        return false;
    }
    HDC dstCopyDC = ::CreateCompatibleDC(hDC);
    BITMAPINFO bmi = Argb32Header(width, height);
    void* srcBits = nullptr;
    void* dstBits = nullptr;
    HBITMAP srcBitmap = ::CreateDIBSection(hSrcDC, &bmi, DIB_RGB_COLORS, &srcBits, nullptr, 0);
    HBITMAP dstBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &dstBits, nullptr, 0);
    bool drawn = false;
    if (dstCopyDC != nullptr && srcBitmap != nullptr && dstBitmap != nullptr) {
        SelectGuard srcSelect(srcCopyDC, srcBitmap);
        SelectGuard dstSelect(dstCopyDC, dstBitmap);
        ::StretchBlt(srcCopyDC, 0, 0, width, height, hSrcDC, srcX, srcY, srcWidth, srcHeight, SRCCOPY);
        ::BitBlt(dstCopyDC, 0, 0, width, height, hDC, x, y, SRCCOPY);
        ::GdiFlush();

        // The source counts as straight alpha whatever the blend function's format says.
        auto* src = static_cast<const DWORD*>(srcBits);
        auto* dst = static_cast<DWORD*>(dstBits);
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        for (size_t i = 0; i < count; ++i) {
            double f = static_cast<double>(Alpha(src[i])) * blend.SourceConstantAlpha / 255.0 / 255.0;
            if (f < 0.0) {
                f = 0.0;
            }
            dst[i] = MixColors(src[i], f, dst[i], 1.0 - f);
        }
        ::BitBlt(hDC, x, y, width, height, dstCopyDC, 0, 0, SRCCOPY);
        drawn = true;
    }
    if (srcBitmap != nullptr) {
        ::DeleteObject(srcBitmap);
    }
    if (dstBitmap != nullptr) {
        ::DeleteObject(dstBitmap);
    }
    if (dstCopyDC != nullptr) {
        ::DeleteDC(dstCopyDC);
    }
    ::DeleteDC(srcCopyDC);
    return drawn;
}

// --- fills and shapes ---

void CUIRender::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    if (color <= 0x00FFFFFF) {
        return;
    }
    if (FillOpaque(hDC, &rc, 1, color))
        return;
    Gdiplus::Graphics graphics(hDC);
    Gdiplus::SolidBrush brush(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)));
    graphics.FillRectangle(&brush, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                           static_cast<INT>(rc.right - rc.left), static_cast<INT>(rc.bottom - rc.top));
}

void CUIRender::DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    const BYTE alpha = static_cast<BYTE>((Alpha(first) + Alpha(second)) / 2);
    if (alpha == 0) {
        return;
    }
    if (alpha == 255) {
        FillGradient(hDC, rc, first, second, vertical, steps);
        return;
    }
    // Translucent: paint opaque into a bitmap, then blend it at constant alpha.
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    // A 32-bit section rather than a compatible bitmap: GDI's band fills leave alpha 0, which the
    // blend would read as fully transparent, so the pixels are made opaque before blending.
    HDC memDC = ::CreateCompatibleDC(hDC);
    DWORD* pixels = nullptr;
    HBITMAP bitmap = CreateARGB32Bitmap(hDC, width, height, reinterpret_cast<BYTE**>(&pixels));
    if (memDC != nullptr && bitmap != nullptr && pixels != nullptr) {
        {
            SelectGuard select(memDC, bitmap);
            const RECT target = {0, 0, width, height};
            FillGradient(memDC, target, first, second, vertical, steps);
            ::GdiFlush();
            const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
            for (size_t i = 0; i < count; ++i) {
                pixels[i] |= 0xFF000000;
            }
            const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
            GetAlphaBlend()(hDC, rc.left, rc.top, width, height, memDC, 0, 0, width, height, blend);
        }
    }
    if (bitmap != nullptr) {
        ::DeleteObject(bitmap);
    }
    if (memDC != nullptr) {
        ::DeleteDC(memDC);
    }
}

void CUIRender::DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style)
{
    if (IsNullPen(style))
        return;
    Gdiplus::Graphics graphics(hDC);
    Gdiplus::Pen pen(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)), static_cast<Gdiplus::REAL>(size));
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    SetDash(pen, style);
    graphics.DrawLine(&pen, static_cast<INT>(rc.left), static_cast<INT>(rc.top), static_cast<INT>(rc.right),
                      static_cast<INT>(rc.bottom));
}

void CUIRender::DrawRect(HDC hDC, const RECT& rc, int size, DWORD color, int style)
{
    if (IsNullPen(style))
        return;
    // A solid outline drawn with an inset pen is the item's outermost rows and columns, size deep.
    if (size >= 1 && (style & PS_STYLE_MASK) == PS_SOLID && rc.right - rc.left >= 2 * size &&
        rc.bottom - rc.top >= 2 * size) {
        const RECT sides[] = {{rc.left, rc.top, rc.right, rc.top + size},
                              {rc.left, rc.bottom - size, rc.right, rc.bottom},
                              {rc.left, rc.top + size, rc.left + size, rc.bottom - size},
                              {rc.right - size, rc.top + size, rc.right, rc.bottom - size}};
        if (FillOpaque(hDC, sides, 4, color))
            return;
    }
    Gdiplus::Graphics graphics(hDC);
    Gdiplus::Pen pen(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)), static_cast<Gdiplus::REAL>(size));
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    SetDash(pen, style);
    graphics.DrawRectangle(&pen, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                           static_cast<INT>(rc.right - rc.left - 1), static_cast<INT>(rc.bottom - rc.top - 1));
}

void CUIRender::DrawRoundRect(HDC hDC, const RECT& rc, int size, int cornerWidth, int /*cornerHeight*/, DWORD color,
                              int style)
{
    if (IsNullPen(style))
        return;
    const Gdiplus::REAL x = static_cast<Gdiplus::REAL>(rc.left);
    const Gdiplus::REAL y = static_cast<Gdiplus::REAL>(rc.top);
    const Gdiplus::REAL w = static_cast<Gdiplus::REAL>(rc.right - rc.left - 1);
    const Gdiplus::REAL h = static_cast<Gdiplus::REAL>(rc.bottom - rc.top - 1);
    const Gdiplus::REAL r = static_cast<Gdiplus::REAL>(cornerWidth / 2);
    const Gdiplus::REAL d = 2 * r;

    Gdiplus::Graphics graphics(hDC);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    Gdiplus::GraphicsPath path;
    path.AddLine(x + r, y, x + w - r, y);
    path.AddArc(x + w - d, y, d, d, 270, 90);
    path.AddLine(x + w, y + r, x + w, y + h - r);
    path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
    path.AddLine(x + w - r, y + h, x + r, y + h);
    path.AddArc(x, y + h - d, d, d, 90, 90);
    path.AddLine(x, y + h - r, x, y + r);
    path.AddArc(x, y, d, d, 180, 90);
    path.CloseFigure();
    Gdiplus::Pen pen(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)), static_cast<Gdiplus::REAL>(size));
    SetDash(pen, style);
    graphics.DrawPath(&pen, &path);
}

void CUIRender::DrawDashedRect(Gdiplus::Graphics& graphics, const RECT& rc, int size, DWORD color,
                               const UIPenStyle& style)
{
    Gdiplus::Pen pen(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)), static_cast<Gdiplus::REAL>(size));
    pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(style.dashStyle));
    pen.SetDashPattern(style.dashLengths, 2);
    pen.SetDashOffset(style.dashOffset);
    pen.SetDashCap(static_cast<Gdiplus::DashCap>(style.dashCap));
    pen.SetStartCap(static_cast<Gdiplus::LineCap>(style.startCap));
    pen.SetEndCap(static_cast<Gdiplus::LineCap>(style.endCap));
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    graphics.DrawRectangle(&pen, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                           static_cast<INT>(rc.right - rc.left - 1), static_cast<INT>(rc.bottom - rc.top - 1));
}

// --- colours ---

DWORD CUIRender::AdjustColor(DWORD color, short h, short s, short l)
{
    if (h == 180 && s == 100 && l == 100) {
        return color;
    }
    float hue = 0.0f;
    float saturation = 0.0f;
    float lightness = 0.0f;
    ColorToHsl(color, hue, saturation, lightness);
    hue += static_cast<float>(h - 180);
    if (hue <= 0.0f) {
        hue += 360.0f;
    }
    saturation = saturation * static_cast<float>(s) / 100.0f;
    lightness = lightness * static_cast<float>(l) / 100.0f;
    HslToColor(color, hue, saturation, lightness);
    return color;
}

DWORD CUIRender::AvoidPureBlack(DWORD& color)
{
    if ((color & 0x00FFFFFF) == 0) {
        color += 1;
    }
    return color;
}

void CUIRender::ColorToHsl(DWORD color, float& h, float& s, float& l)
{
    const float r = static_cast<float>(Red(color)) / 255.0f;
    const float g = static_cast<float>(Green(color)) / 255.0f;
    const float b = static_cast<float>(Blue(color)) / 255.0f;
    const float maxValue = std::max(r, std::max(g, b));
    const float minValue = std::min(r, std::min(g, b));
    l = (maxValue + minValue) / 2.0f;
    if (maxValue == minValue) {
        h = 0.0f;
        s = 0.0f;
        return;
    }
    const float delta = maxValue - minValue;
    float sector = 0.0f;
    if (r == minValue) {
        sector = 3.0f - (g - b) / delta;
    } else if (g != minValue) {
        sector = 1.0f - (r - g) / delta;
    } else {
        sector = 5.0f - (b - r) / delta;
    }
    if (sector >= 6.0f) {
        sector -= 6.0f;
    }
    h = 60.0f * sector;
    s = 2.0f * l <= 1.0f ? delta / (maxValue + minValue) : delta / (2.0f - maxValue - minValue);
}

void CUIRender::HslToColor(DWORD& color, float h, float s, float l)
{
    const float q = 2.0f * l < 1.0f ? l * (1.0f + s) : l + s - l * s;
    const float p = 2.0f * l - q;
    const float t = h / 360.0f;
    float points[3] = {t + 0.33333334f, t, t - 0.33333334f};
    for (float& x : points) {
        if (x < 0.0f) {
            x += 1.0f;
        } else if (x > 1.0f) {
            x -= 1.0f;
        }
    }
    const DWORD red = ToByte(HueValue(p, q, points[0]));
    const DWORD green = ToByte(HueValue(p, q, points[1]));
    const DWORD blue = ToByte(HueValue(p, q, points[2]));
    color = (color & 0xFF000000) | (red << 16) | (green << 8) | blue;
}

DWORD CUIRender::MixColors(DWORD a, double fa, DWORD b, double fb)
{
    auto mix = [&](BYTE ca, BYTE cb) {
        return static_cast<DWORD>(static_cast<BYTE>(static_cast<int>(ca * fa + cb * fb)));
    };
    return (mix(Red(a), Red(b)) << 16) | (mix(Green(a), Green(b)) << 8) | mix(Blue(a), Blue(b));
}

} // namespace ZvUI

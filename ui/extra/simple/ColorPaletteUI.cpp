// Colour palette: the HSL bitmap it draws from, the thumbs, and picking by click and drag.
#include "simple/ColorPaletteUI.h"

#include <algorithm>
#include <cwchar>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

constexpr int kThumbSize = 8;
constexpr int kBarTop = 210;
constexpr int kStride = CColorPaletteUI::kBitmapWidth * 4;

double HueToChannel(double p, double q, double t)
{
    if (t < 0.0)
        t += 1.0;
    if (t > 1.0)
        t -= 1.0;
    if (t < 1.0 / 6.0)
        return p + (q - p) * 6.0 * t;
    if (t < 1.0 / 2.0)
        return q;
    if (t < 2.0 / 3.0)
        return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

DWORD ToByte(double channel)
{
    // Truncated, but not below a whole value that rounding error missed by a hair
    // ((2/3 - 1/2) * 6 comes out just under 1).
    const double value = std::min(1.0, std::max(0.0, channel)) * 255.0 + 1e-9;
    return static_cast<DWORD>(value);
}

class SavedDC {
public:
    explicit SavedDC(HDC hDC) : m_hDC(hDC), m_id(::SaveDC(hDC)) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() { ::RestoreDC(m_hDC, m_id); }

private:
    HDC m_hDC;
    int m_id;
};

} // namespace

CColorPaletteUI::CColorPaletteUI() = default;

CColorPaletteUI::~CColorPaletteUI()
{
    FreeBitmap();
}

void CColorPaletteUI::FreeBitmap()
{
    // The bitmap cannot be deleted while a DC holds it: put the DC's own bitmap back first.
    if (m_hMemDC != nullptr) {
        if (m_hOldBitmap != nullptr)
            ::SelectObject(m_hMemDC, m_hOldBitmap);
        ::DeleteDC(m_hMemDC);
    }
    if (m_hMemBitmap != nullptr)
        ::DeleteObject(m_hMemBitmap);
    m_hMemDC = nullptr;
    m_hMemBitmap = nullptr;
    m_hOldBitmap = nullptr;
    m_pBits = nullptr;
}

LPCWSTR CColorPaletteUI::GetClass() const
{
    return L"ColorPaletteUI";
}

LPVOID CColorPaletteUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && wcscmp(name, L"ColorPalette") == 0)
        return static_cast<CColorPaletteUI*>(this);
    return CControlUI::GetInterface(name);
}

// --- colours ---

DWORD CColorPaletteUI::HslToRgb(double h, double s, double l)
{
    double r = l;
    double g = l;
    double b = l;
    if (s != 0.0) {
        const double q = l < 0.5 ? l * (1.0 + s) : l + s - l * s;
        const double p = 2.0 * l - q;
        r = HueToChannel(p, q, h + 1.0 / 3.0);
        g = HueToChannel(p, q, h);
        b = HueToChannel(p, q, h - 1.0 / 3.0);
    }
    return (ToByte(r) << 16) | (ToByte(g) << 8) | ToByte(b);
}

void CColorPaletteUI::RgbToHsl(DWORD rgb, double& h, double& s, double& l)
{
    const double r = static_cast<double>((rgb >> 16) & 0xFF) / 255.0;
    const double g = static_cast<double>((rgb >> 8) & 0xFF) / 255.0;
    const double b = static_cast<double>(rgb & 0xFF) / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    l = (high + low) / 2.0;
    if (high == low) {
        h = 0.0;
        s = 0.0;
        return;
    }
    const double d = high - low;
    s = l > 0.5 ? d / (2.0 - high - low) : d / (high + low);
    if (high == r)
        h = (g - b) / d + (g < b ? 6.0 : 0.0);
    else if (high == g)
        h = (b - r) / d + 2.0;
    else
        h = (r - g) / d + 4.0;
    h /= 6.0;
}

DWORD CColorPaletteUI::GetSelectColor() const
{
    return 0xFF000000 | HslToRgb(m_nCurH / 360.0, m_nCurS / 200.0, m_nCurB / 200.0);
}

void CColorPaletteUI::SetSelectColor(DWORD color)
{
    double h = 0.0;
    double s = 0.0;
    double l = 0.0;
    RgbToHsl(color & 0x00FFFFFF, h, s, l);
    m_nCurH = static_cast<int>(h * 360.0);
    m_nCurS = static_cast<int>(s * 200.0);
    m_nCurB = static_cast<int>(l * 200.0);
    UpdatePalletData();
    NeedUpdate();
}

// --- attributes ---

void CColorPaletteUI::SetBarHeight(int height)
{
    m_nBarHeight = std::min(height, kMaxBarHeight);
}

void CColorPaletteUI::SetThumbImage(LPCWSTR descriptor)
{
    if (descriptor == nullptr || m_sThumbImage == descriptor)
        return;
    m_sThumbImage = descriptor;
    NeedUpdate();
}

void CColorPaletteUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    // Exact names, unlike most controls.
    if (wcscmp(name, L"palletheight") == 0)
        SetPalletHeight(_wtoi(value));
    else if (wcscmp(name, L"barheight") == 0)
        SetBarHeight(_wtoi(value));
    else if (wcscmp(name, L"thumbimage") == 0)
        SetThumbImage(value);
    else
        CControlUI::SetAttribute(name, value);
}

// --- the bitmap ---

void CColorPaletteUI::DoInit()
{
    FreeBitmap();
    HDC window = m_pManager != nullptr ? m_pManager->GetWindowDC() : nullptr;
    m_hMemDC = ::CreateCompatibleDC(window);
    if (m_hMemDC == nullptr)
        return;
    // A 32-bit DIB section whatever the screen's depth: three bytes a pixel always fit.
    m_hMemBitmap = CUIRender::CreateARGB32Bitmap(m_hMemDC, kBitmapWidth, -kBitmapHeight, &m_pBits);
    if (m_hMemBitmap == nullptr || m_pBits == nullptr) {
        FreeBitmap();
        return;
    }
    m_hOldBitmap = ::SelectObject(m_hMemDC, m_hMemBitmap);
}

void CColorPaletteUI::WritePixel(int row, int column, DWORD rgb)
{
    // Pure black would be taken for a hole by layered drawing.
    if (rgb == 0)
        rgb = 0x010000;
    BYTE* pixel = m_pBits + row * kStride + column * 4;
    pixel[0] = static_cast<BYTE>(rgb & 0xFF);
    pixel[1] = static_cast<BYTE>((rgb >> 8) & 0xFF);
    pixel[2] = static_cast<BYTE>((rgb >> 16) & 0xFF);
}

void CColorPaletteUI::UpdatePalletData()
{
    if (m_pBits == nullptr)
        return;
    ::GdiFlush();
    const double s = m_nCurS / 200.0;
    for (int i = 0; i < 200; ++i) {
        const double l = i / 200.0;
        for (int j = 0; j < 360; ++j)
            WritePixel(200 - i, j, HslToRgb(j / 360.0, s, l));
    }
}

void CColorPaletteUI::UpdateBarData()
{
    if (m_pBits == nullptr)
        return;
    ::GdiFlush();
    const double h = m_nCurH / 360.0;
    const double l = m_nCurB / 200.0;
    for (int row = kBarTop; row < kBarTop + m_nBarHeight && row < kBitmapHeight; ++row) {
        for (int j = 0; j < 200; ++j)
            WritePixel(row, j, HslToRgb(h, j / 200.0, l));
    }
}

// --- geometry ---

int CColorPaletteUI::PalletHeightPx() const
{
    return ScaleValue(m_nPalletHeight);
}

int CColorPaletteUI::BarHeightPx() const
{
    return ScaleValue(m_nBarHeight);
}

void CColorPaletteUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    const int width = m_rcItem.right - m_rcItem.left;
    m_ptLastPalletMouse.x = m_rcItem.left + width * m_nCurH / 360;
    m_ptLastPalletMouse.y = m_rcItem.top + (200 - m_nCurB) * PalletHeightPx() / 200;
    UpdatePalletData();
    UpdateBarData();
}

// --- painting ---

void CColorPaletteUI::PaintBkColor(HDC hDC)
{
    PaintPallet(hDC);
}

void CColorPaletteUI::PaintPallet(HDC hDC)
{
    if (m_hMemDC == nullptr)
        return;
    SavedDC saved(hDC);
    ::SetStretchBltMode(hDC, HALFTONE);
    const int width = m_rcItem.right - m_rcItem.left;
    const int barHeight = BarHeightPx();
    ::StretchBlt(hDC, m_rcItem.left, m_rcItem.top, width, PalletHeightPx(), m_hMemDC, 0, 1, 360, 200, SRCCOPY);
    ::StretchBlt(hDC, m_rcItem.left, m_rcItem.bottom - barHeight, width, barHeight, m_hMemDC, 0, kBarTop, 200,
                 m_nBarHeight, SRCCOPY);
    if (m_sThumbImage.IsEmpty() || m_pManager == nullptr)
        return;
    const int thumb = ScaleValue(kThumbSize);
    auto square = [thumb](int x, int y) {
        return RECT{x - thumb / 2, y - thumb / 2, x - thumb / 2 + thumb, y - thumb / 2 + thumb};
    };
    (void)CUIRender::DrawImageString(hDC, m_pManager, square(m_ptLastPalletMouse.x, m_ptLastPalletMouse.y), m_rcPaint,
                                     m_sThumbImage);
    (void)CUIRender::DrawImageString(hDC, m_pManager,
                                     square(m_rcItem.left + width * m_nCurS / 200, m_rcItem.bottom - barHeight / 2),
                                     m_rcPaint, m_sThumbImage);
}

// --- events ---

void CColorPaletteUI::PickInPallet(POINT pt)
{
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = PalletHeightPx();
    if (width <= 0 || height <= 0)
        return;
    m_nCurH = std::min(360, std::max(0, static_cast<int>((pt.x - m_rcItem.left) * 360 / width)));
    const int c = std::min(200, std::max(0, static_cast<int>((pt.y - m_rcItem.top) * 200 / height)));
    m_nCurB = 200 - c;
    m_ptLastPalletMouse.x = std::min<LONG>(std::max<LONG>(pt.x, m_rcItem.left), m_rcItem.right);
    m_ptLastPalletMouse.y = std::min<LONG>(std::max<LONG>(pt.y, m_rcItem.top), m_rcItem.top + height);
    UpdateBarData();
}

void CColorPaletteUI::DoEvent(UIControlEvent& event)
{
    CControlUI::DoEvent(event);
    const POINT pt = event.mousePoint;
    const int width = m_rcItem.right - m_rcItem.left;
    const int palletBottom = m_rcItem.top + PalletHeightPx();
    const int barTop = m_rcItem.bottom - BarHeightPx();
    // The manager hands presses to disabled controls too: a disabled palette picks nothing, and
    // a drag it was disabled in ends there.
    if (!IsEnabled() && (event.type == EventButtonDown || event.type == EventButtonUp ||
                         event.type == EventMouseMove || event.type == EventDoubleClick)) {
        m_uButtonState &= ~kStatePressed;
        m_bIsInPallet = false;
        m_bIsInBar = false;
        return;
    }
    switch (event.type) {
    case EventButtonDown:
        if (pt.x >= m_rcItem.left && pt.x < m_rcItem.right && pt.y >= m_rcItem.top && pt.y < palletBottom) {
            PickInPallet(pt);
            m_uButtonState |= kStatePressed;
            m_bIsInPallet = true;
            m_bIsInBar = false;
        } else if (pt.x >= m_rcItem.left && pt.x < m_rcItem.right && pt.y >= barTop && pt.y < m_rcItem.bottom &&
                   width > 0) {
            m_nCurS = static_cast<int>((pt.x - m_rcItem.left) * 200 / width);
            m_uButtonState |= kStatePressed;
            m_bIsInBar = true;
            m_bIsInPallet = false;
            UpdatePalletData();
        }
        Invalidate();
        return;
    case EventButtonUp:
        if (IsEnabled() && m_pManager != nullptr)
            m_pManager->RaiseNotify(this, L"colorchanged", GetSelectColor(), 0);
        m_uButtonState &= ~kStatePressed;
        m_bIsInPallet = false;
        m_bIsInBar = false;
        Invalidate();
        return;
    case EventMouseMove:
        if ((m_uButtonState & kStatePressed) == 0) {
            m_bIsInBar = false;
            m_bIsInPallet = false;
        }
        if (m_bIsInPallet && pt.x - m_rcItem.left >= 0 && pt.x - m_rcItem.left <= width &&
            pt.y - m_rcItem.top >= 0 && pt.y - m_rcItem.top <= PalletHeightPx()) {
            PickInPallet(pt);
        } else if (m_bIsInBar && width > 0) {
            m_nCurS = std::min(200, std::max(0, static_cast<int>((pt.x - m_rcItem.left) * 200 / width)));
            UpdatePalletData();
        }
        Invalidate();
        return;
    default:
        return;
    }
}

} // namespace ZvUI

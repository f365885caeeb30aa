#pragma once
// The render engine: static drawing functions on device contexts (colours, bitmaps, shapes, clip bitmaps).

#include <windows.h>

namespace Gdiplus {
class Graphics;
}

namespace ZvUI {

class CControlUI;
class CPaintManagerUI;

// Pen of DrawDashedRect; the enumerations are GDI+ DashStyle, DashCap and LineCap values.
struct UIPenStyle {
    int dashStyle = 0;
    float dashLengths[2] = {1.0f, 1.0f};
    float dashOffset = 0.0f;
    int dashCap = 0;
    int startCap = 0;
    int endCap = 0;
};

// Same signature as msimg32's AlphaBlend.
using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

class CUIRender {
public:
    CUIRender() = delete;

    // --- bitmaps ---
    // A negative height gives a top-down bitmap; *bits receives the pixels (bytes B, G, R, A).
    [[nodiscard]] static HBITMAP CreateARGB32Bitmap(HDC hDC, int width, int height, BYTE** bits);
    // msimg32's AlphaBlend, or AlphaBlendFallback's adapter where msimg32 has none.
    static AlphaBlendProc GetAlphaBlend();
    static bool AlphaBlendFallback(HDC hDC, int x, int y, int width, int height, HDC hSrcDC, int srcX, int srcY,
                                   int srcWidth, int srcHeight, BLENDFUNCTION blend);

    // --- fills and shapes (colours are ARGB; alpha 0 draws nothing in the fills) ---
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps);
    static void DrawLine(HDC hDC, const RECT& rc, int size, DWORD color);
    static void DrawRect(HDC hDC, const RECT& rc, int size, DWORD color);
    // Only the corner width counts; the height is kept for the callers' symmetry.
    static void DrawRoundRect(HDC hDC, const RECT& rc, int size, int cornerWidth, int cornerHeight, DWORD color);
    static void DrawDashedRect(Gdiplus::Graphics& graphics, const RECT& rc, int size, DWORD color,
                               const UIPenStyle& style);

    // --- colours ---
    // H is a hue shift in degrees around 180; S and L are percentages around 100.
    static DWORD AdjustColor(DWORD color, short h, short s, short l);
    // Pure black becomes 0x000001 (alpha kept): layered windows treat pure black text as transparent.
    static DWORD AvoidPureBlack(DWORD& color);
    // H in degrees [0, 360), S and L in [0, 1].
    static void ColorToHsl(DWORD color, float& h, float& s, float& l);
    // Replaces red, green and blue; keeps alpha.
    static void HslToColor(DWORD& color, float h, float s, float l);
    // Per channel the integer part of a*fa + b*fb; the result's alpha is 0.
    static DWORD MixColors(DWORD a, double fa, DWORD b, double fb);

    // --- bitmap generation; the caller owns the returned DIB section ---
    [[nodiscard]] static HBITMAP GenerateBitmap(CPaintManagerUI* manager, CControlUI* control, const RECT& rc,
                                                DWORD bkColor = 0);
    [[nodiscard]] static HBITMAP GenerateBitmap(CPaintManagerUI* manager, const RECT& rc, CControlUI* stopControl,
                                                DWORD bkColor = 0);
};

} // namespace ZvUI

#pragma once
// The render engine: static drawing functions on device contexts (colours, bitmaps, shapes, clip bitmaps).

#include <windows.h>

#include <vector>

namespace Gdiplus {
class Graphics;
class Image;
}

namespace ZvUI {

class CControlUI;
class CPaintManagerUI;
class CUIString;
struct UIDrawInfo;
struct UIImageInfo;

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
    // The outlines take a GDI pen style (PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT;
    // PS_NULL draws nothing).
    static void DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
    static void DrawRect(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
    // Only the corner width counts; the height is kept for the callers' symmetry.
    static void DrawRoundRect(HDC hDC, const RECT& rc, int size, int cornerWidth, int cornerHeight, DWORD color,
                              int style = PS_SOLID);
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

    // --- images (UIRenderImage.cpp) ---
    // Null type: the name may be a resource-table id; the record is the caller's (FreeImage).
    [[nodiscard]] static UIImageInfo* LoadImage(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0,
                                                HINSTANCE instance = nullptr);
    [[nodiscard]] static UIImageInfo* LoadImageById(UINT id, LPCWSTR type, DWORD mask = 0,
                                                    HINSTANCE instance = nullptr);
    [[nodiscard]] static UIImageInfo* LoadImageFromSource(LPCWSTR name, LPCWSTR type, DWORD mask,
                                                          HINSTANCE instance);
    // Whether LoadImage with no type would find the image and its header declares an acceptable
    // size. Only the header is read, and the answer is kept per path for as long as the file or
    // archive item keeps its size and time.
    [[nodiscard]] static bool ProbeImage(LPCWSTR name);
    // A plain file (no resource folder, no archive) read whole and held to the image limits
    // (UIImageLimits.h); false and nothing when refused.
    [[nodiscard]] static bool ReadImageFile(LPCWSTR path, std::vector<BYTE>& bytes);
    static void FreeImage(UIImageInfo* image, bool deleteRecord = true);
    // The caller deletes the GDI+ image.
    [[nodiscard]] static Gdiplus::Image* LoadGdiplusImage(LPCWSTR descriptor);
    [[nodiscard]] static Gdiplus::Image* GdiplusImageFromMemory(const void* data, DWORD length);
    static void AdjustImage(bool enable, UIImageInfo* image, short h, short s, short l);

    static bool DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                                LPCWSTR descriptor, LPCWSTR modify = nullptr, HINSTANCE instance = nullptr);
    static bool DrawImageInfo(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                              const UIDrawInfo* info, HINSTANCE instance = nullptr);
    static bool DrawImageFile(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                              LPCWSTR name, LPCWSTR type, RECT dest, RECT source, RECT corner, DWORD mask,
                              double factor, BYTE fade, bool hole, bool xtiled, bool ytiled,
                              HINSTANCE instance = nullptr);
    static bool DrawImageFileUnscaled(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem, const RECT& rcPaint,
                                      LPCWSTR name, LPCWSTR type, RECT dest, RECT source, RECT corner,
                                      DWORD mask, BYTE fade, bool hole, bool xtiled, bool ytiled,
                                      HINSTANCE instance = nullptr);
    // The nine-slice blit; corners are in destination pixels, the source side divided by
    // image scale / factor.
    static void DrawImageScaled(HDC hDC, HBITMAP bitmap, const RECT& dest, const RECT& rcPaint, const RECT& source,
                                const RECT& corner, bool alpha, double factor, BYTE fade = 255, bool hole = false,
                                bool xtiled = false, bool ytiled = false);
    static void DrawImage(HDC hDC, HBITMAP bitmap, const RECT& dest, const RECT& rcPaint, const RECT& source,
                          const RECT& corner, bool alpha, BYTE fade = 255, bool hole = false, bool xtiled = false,
                          bool ytiled = false);
    static void AlignImageRect(const RECT& rcItem, SIZE size, LPCWSTR align, const RECT& padding, RECT& rc);

    // --- text ---
    // Colours are ARGB; font indexes name fonts of the manager (a missing one gives the default
    // font); style holds DT_ flags. With DT_CALCRECT nothing is drawn and rc receives the size.
    static void DrawText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color, int font,
                         UINT style);
    static void DrawTextWithBackground(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text,
                                       DWORD textColor, int font, UINT style, DWORD bkColor);
    [[nodiscard]] static SIZE GetTextSize(HDC hDC, CPaintManagerUI* manager, LPCWSTR text, int font);
    // linkCount is the capacity of both link arrays on entry (and the number of rects of the last
    // call, for hover) and the number of entries filled on return.
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color,
                             RECT* linkRects, CUIString* linkTexts, int& linkCount, int font, UINT style);
};

} // namespace ZvUI

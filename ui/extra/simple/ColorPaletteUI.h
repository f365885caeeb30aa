#pragma once
// A colour picker on the HSL model: a hue and lightness palette above a saturation bar.

#include <windows.h>

#include "control/ControlUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CColorPaletteUI : public CControlUI {
public:
    static constexpr int kBitmapWidth = 400;
    static constexpr int kBitmapHeight = 360;
    static constexpr int kMaxBarHeight = 150;
    // The button-state bit of a press that started on the control.
    static constexpr UINT kStatePressed = 0x10;

    CColorPaletteUI();
    ~CColorPaletteUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void DoInit() override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintBkColor(HDC hDC) override;
    virtual void PaintPallet(HDC hDC);

    // ARGB with alpha 0xFF.
    DWORD GetSelectColor() const;
    void SetSelectColor(DWORD color);

    int GetHue() const { return m_nCurH; }
    int GetSaturation() const { return m_nCurS; }
    int GetLightness() const { return m_nCurB; }
    // At 96 dpi.
    int GetPalletHeight() const { return m_nPalletHeight; }
    void SetPalletHeight(int height) { m_nPalletHeight = height; }
    int GetBarHeight() const { return m_nBarHeight; }
    // Values above kMaxBarHeight are stored as kMaxBarHeight.
    void SetBarHeight(int height);
    const CUIString& GetThumbImage() const { return m_sThumbImage; }
    void SetThumbImage(LPCWSTR descriptor);
    POINT GetPalletThumb() const { return m_ptLastPalletMouse; }

    // HSL fractions (0..1) to 0x00RRGGBB, each channel x 255 truncated.
    static DWORD HslToRgb(double h, double s, double l);
    // 0x00RRGGBB to HSL fractions.
    static void RgbToHsl(DWORD rgb, double& h, double& s, double& l);

private:
    void UpdatePalletData();
    void UpdateBarData();
    void WritePixel(int row, int column, DWORD rgb);
    void FreeBitmap();
    int PalletHeightPx() const;
    int BarHeightPx() const;
    void PickInPallet(POINT pt);

    HDC m_hMemDC = nullptr;
    HBITMAP m_hMemBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    // Top-down 32-bit rows of the bitmap, edited in place.
    BYTE* m_pBits = nullptr;
    UINT m_uButtonState = 0;
    bool m_bIsInBar = false;
    bool m_bIsInPallet = false;
    int m_nCurH = 180;
    int m_nCurS = 200;
    int m_nCurB = 100;
    int m_nPalletHeight = 200;
    int m_nBarHeight = 10;
    POINT m_ptLastPalletMouse = {0, 0};
    CUIString m_sThumbImage;
};

} // namespace ZvUI

#pragma once
// The control that draws one text in its rectangle, plain or as markup, and can size itself to it.

#include <windows.h>

#include "control/ControlUI.h"

namespace ZvUI {

class CLabelUI : public CControlUI {
public:
    CLabelUI();
    ~CLabelUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetText(LPCWSTR text) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    void PaintText(HDC hDC) override;

    virtual bool GetAutoCalcWidth() const;
    virtual void SetAutoCalcWidth(bool autoCalc);
    virtual bool GetAutoCalcHeight() const;
    virtual void SetAutoCalcHeight(bool autoCalc);

    // Colours are ARGB; 0 takes the manager's default at the next paint.
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(DWORD color);
    // -1 is the manager's default font.
    int GetFont() const { return m_iFont; }
    void SetFont(int index);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT style);
    // Scaled by the manager's DPI; the stored 96-dpi value without a manager.
    RECT GetTextPadding() const;
    void SetTextPadding(int left, int top, int right, int bottom);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool showHtml);

protected:
    // Replaces colours left at 0 by the manager's defaults, for good.
    void TakeDefaultColors();
    // Measures text in rc with the label's font and style plus DT_CALCRECT.
    RECT MeasureIn(RECT rc, LPCWSTR text, UINT style);
    // The item rectangle less the scaled text padding.
    RECT GetTextRect() const;
    // Draws text in the text rectangle with the label's style, as markup when showhtml is on.
    void DrawTextIn(HDC hDC, const CUIString& text, DWORD color, int font);

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT m_rcTextPadding = {0, 0, 0, 0};
    bool m_bShowHtml = false;
    bool m_bAutoCalcWidth = false;
    bool m_bAutoCalcHeight = false;
    SIZE m_szAvailableLast = {0, 0};
    SIZE m_cxyFixedLast = {0, 0};
    bool m_bNeedEstimateSize = false;
};

} // namespace ZvUI

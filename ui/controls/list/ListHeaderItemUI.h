#pragma once
// One column header: a state image and a caption, "headerclick", and a separator to drag its width.

#include "layout/ContainerUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CListHeaderItemUI : public CContainerUI {
public:
    CListHeaderItemUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    SIZE EstimateSize(SIZE available) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool IsDragable() const { return m_bDragable; }
    // Off also ends a drag in progress.
    void SetDragable(bool dragable);
    // 96-dpi units; positive: at the right edge, negative: at the left edge, 0: none.
    int GetSepWidth() const { return m_iSepWidth; }
    void SetSepWidth(int width) { m_iSepWidth = width; }
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color) { m_dwTextColor = color; }
    int GetFont() const { return m_iFont; }
    void SetFont(int font) { m_iFont = font; }
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT style) { m_uTextStyle = style; }
    // 96-dpi units.
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT padding);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool showHtml);
    void SetNormalImage(LPCWSTR descriptor);
    void SetHotImage(LPCWSTR descriptor);
    void SetPushedImage(LPCWSTR descriptor);
    void SetFocusedImage(LPCWSTR descriptor);
    void SetSepImage(LPCWSTR descriptor);
    // Percent of the header's width while the header's scale flag is on.
    int GetScale() const { return m_iScale; }
    void SetScale(int scale) { m_iScale = scale; }
    UINT GetState() const { return m_uButtonState; }

    // The separator in window pixels; for hit tests widened by 4 pixels into the item.
    RECT GetThumbRect(bool forHitTest = false) const;

private:
    void SetImage(CUIString& field, LPCWSTR descriptor);

    bool m_bDragable = true;
    UINT m_uButtonState = 0;
    int m_iSepWidth = 4;
    DWORD m_dwTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    bool m_bShowHtml = false;
    RECT m_rcTextPadding = {2, 0, 2, 0};
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sSepImage;
    CUIString m_sSepImageModify;
    int m_iScale = 0;
    POINT m_ptLastMouse = {0, 0};
};

} // namespace ZvUI

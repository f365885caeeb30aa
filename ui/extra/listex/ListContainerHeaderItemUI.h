#pragma once
// A column header of the extended list: holds controls, resizes by its separator, carries a check box
// and marks its column editable, comboable or checkable.

#include "layout/HorizontalLayoutUI.h"
#include "listex/ListExCheckBox.h"

namespace ZvUI {

class CListContainerHeaderItemUI : public CHorizontalLayoutUI {
public:
    CListContainerHeaderItemUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool GetCheck() const { return m_checkBox.IsChecked(); }
    void SetCheck(bool checked);
    // The separator band; negative widths put it on the left edge.
    RECT GetThumbRect() const;
    RECT GetCheckBoxRect() const;

    bool IsDragable() const { return m_bDragable; }
    void SetDragable(bool dragable);
    int GetSepWidth() const { return m_iSepWidth; }
    void SetSepWidth(int width) { m_iSepWidth = width; }
    bool IsColumnEditable() const { return m_bEditable; }
    void SetColumnEditable(bool editable) { m_bEditable = editable; }
    bool IsColumnComboable() const { return m_bComboable; }
    void SetColumnComboable(bool comboable) { m_bComboable = comboable; }
    bool IsColumnCheckable() const { return m_bCheckable; }
    void SetColumnCheckable(bool checkable) { m_bCheckable = checkable; }
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color) { m_dwTextColor = color; }
    int GetFont() const { return m_iFont; }
    void SetFont(int font) { m_iFont = font; }
    UINT GetTextStyle() const { return m_uTextStyle; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT padding);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool showHtml);
    void SetNormalImage(LPCWSTR descriptor) { SetImage(m_sNormalImage, descriptor); }
    void SetHotImage(LPCWSTR descriptor) { SetImage(m_sHotImage, descriptor); }
    void SetPushedImage(LPCWSTR descriptor) { SetImage(m_sPushedImage, descriptor); }
    void SetFocusedImage(LPCWSTR descriptor) { SetImage(m_sFocusedImage, descriptor); }
    void SetSepImage(LPCWSTR descriptor) { SetImage(m_sSepImage, descriptor); }

private:
    void SetImage(CUIString& image, LPCWSTR descriptor);
    // The separator widened toward the inside, for hit tests.
    RECT GetThumbHitRect() const;

    POINT m_ptLastMouse = {0, 0};
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
    bool m_bEditable = false;
    bool m_bComboable = false;
    bool m_bCheckable = false;
    CListExCheckBox m_checkBox;
};

} // namespace ZvUI

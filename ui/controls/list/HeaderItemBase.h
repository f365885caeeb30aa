#pragma once
// What every column header item shares, whatever container it is: the separator and its drag,
// the state looks, the caption and their attributes. CListHeaderItemUI and the extended list's
// CListContainerHeaderItemUI build on it.

#include <windows.h>

#include "utils/UIString.h"

namespace ZvUI {

struct UIControlEvent;

template <class Base>
class CHeaderItemBase : public Base {
public:
    UINT GetControlFlags() const override;

    bool IsDragable() const { return m_bDragable; }
    // Off also ends a drag in progress.
    void SetDragable(bool dragable);
    // 96-dpi units; positive: at the right edge, negative: at the left edge.
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
    void SetNormalImage(LPCWSTR descriptor) { SetImage(m_sNormalImage, descriptor); }
    void SetHotImage(LPCWSTR descriptor) { SetImage(m_sHotImage, descriptor); }
    void SetPushedImage(LPCWSTR descriptor) { SetImage(m_sPushedImage, descriptor); }
    void SetFocusedImage(LPCWSTR descriptor) { SetImage(m_sFocusedImage, descriptor); }
    void SetSepImage(LPCWSTR descriptor) { SetImage(m_sSepImage, descriptor); }
    UINT GetState() const { return m_uButtonState; }

protected:
    // clickNotification is raised by a press outside the separator; with zeroIsNone a separator
    // width of 0 has no separator at all, else a hit band at the right edge.
    CHeaderItemBase(LPCWSTR clickNotification, bool zeroIsNone);

    // The separator in window pixels; for hit tests widened by 4 pixels into the item.
    RECT SeparatorRect(bool forHitTest) const;
    // The attributes every header item has; false for any other name.
    bool SetHeaderAttribute(LPCWSTR name, LPCWSTR value);
    // Mouse events: the press, the separator drag, the sizing cursor and the hot look. False when
    // the event is the container's to handle.
    bool HandleHeaderEvent(UIControlEvent& event);
    // The state image, then the separator image.
    void PaintHeaderStatus(HDC hDC);
    // The caption in the item less the text padding and leftInset pixels on the left.
    void PaintHeaderText(HDC hDC, int leftInset, UINT extraStyle);

    UINT m_uButtonState = 0;

private:
    void SetImage(CUIString& field, LPCWSTR descriptor);

    LPCWSTR m_pszClickNotification;
    bool m_bZeroIsNone;
    bool m_bDragable = true;
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
    POINT m_ptLastMouse = {0, 0};
};

} // namespace ZvUI

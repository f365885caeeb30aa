#pragma once
// A drop-down list: a closed field showing the selected row's text, with a pop-up that lists the rows.

#include "control/ButtonUI.h"
#include "layout/ContainerUI.h"
#include "list/ListInterfaces.h"
#include "control/StateImages.h"

namespace ZvUI {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    CUIString GetText() const override;
    void SetPos(RECT rc, bool invalidate = true) override;
    // Leaving its window closes an open drop-down first: the rows come back to the combo.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    // The rows live in the pop-up, so they do not follow the field.
    void Move(SIZE offset, bool invalidate = true) override { CControlUI::Move(offset, invalidate); }
    void SetEnabled(bool enable = true) override;
    void DoInit() override {}
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // --- rows; the combo takes ownership of added controls ---
    bool SetItemIndex(CControlUI* control, int newIndex) override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // --- IListOwnerUI ---
    int GetListKind() const override { return ListKindCombo; }
    UIListInfo* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false) override;
    bool SelectMultiItem(int index, bool takeFocus = false) override { return SelectItem(index, takeFocus); }
    bool UnSelectItem(int /*index*/, bool /*others*/ = false) override { return false; }

    // --- the pop-up ---
    CComboWnd* GetDropWindow() const { return m_pWindow; }
    // Called by the pop-up on its final message.
    void DropWindowClosed();
    // Gives the rows back and destroys an open drop-down at once.
    void CloseDropWindowNow();
    const CUIString& GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
    void SetDropBoxAttributeList(LPCWSTR list) { m_sDropBoxAttributes = list; }
    // Scaled to the window's DPI.
    SIZE GetDropBoxSize() const;
    void SetDropBoxSize(SIZE size) { m_szDropBox = size; }
    RECT GetDropBoxInset() const { return m_rcDropBoxInset; }
    void SetDropBoxInset(RECT inset) { m_rcDropBoxInset = inset; }
    int GetDropDownStyle() const { return m_iDropDownStyle; }
    void SetDropDownStyle(int style) { m_iDropDownStyle = style; }
    bool IsScrollSelect() const { return m_bScrollSelect; }
    void SetScrollSelect(bool scrollSelect) { m_bScrollSelect = scrollSelect; }
    bool IsShowShadow() const { return m_bShowShadow; }
    void SetShowShadow(bool show);

    // --- the field ---
    RECT GetTextPadding() const;
    void SetTextPadding(RECT padding);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color) { m_dwTextColor = color; }
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(DWORD color) { m_dwDisabledTextColor = color; }
    int GetFont() const { return m_iFont; }
    void SetFont(int font) { m_iFont = font; }
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT style) { m_uTextStyle = style; }
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool showHtml);
    const CUIString& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCWSTR descriptor) { SetImage(m_sNormalImage, descriptor); }
    const CUIString& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCWSTR descriptor) { SetImage(m_sHotImage, descriptor); }
    const CUIString& GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(LPCWSTR descriptor) { SetImage(m_sPushedImage, descriptor); }
    const CUIString& GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCWSTR descriptor) { SetImage(m_sFocusedImage, descriptor); }
    const CUIString& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCWSTR descriptor) { SetImage(m_sDisabledImage, descriptor); }
    UINT GetButtonState() const { return m_uButtonState; }

    // --- looks of the rows ---
    void SetItemFont(int font);
    void SetItemTextStyle(UINT style);
    void SetItemTextPadding(RECT padding);
    void SetItemTextColor(DWORD color);
    void SetItemShowHtml(bool showHtml);


protected:
    // Focused and disabled bits from the control's state.
    void UpdateFocusAndEnabledBits() { ZvUI::UpdateFocusAndEnabledBits(*this, m_uButtonState); }
    void SelectNeighbour(int index, bool forward);

    UINT m_uButtonState = 0;

private:
    void SetImage(CUIString& image, LPCWSTR descriptor);
    void Renumber(int from);

    CComboWnd* m_pWindow = nullptr;
    int m_iCurSel = -1;
    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT m_rcTextPadding = {0, 0, 0, 0};
    bool m_bShowHtml = false;
    bool m_bShowShadow = false;
    CUIString m_sDropBoxAttributes;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    bool m_bScrollSelect = true;
    UIListInfo m_ListInfo;
    SIZE m_szDropBox = {0, 150};
    RECT m_rcDropBoxInset = {0, 0, 0, 0};
    int m_iDropDownStyle = 0;
};

} // namespace ZvUI

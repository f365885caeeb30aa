#pragma once
// A list row that is itself a horizontal container of any controls, with an optional value bar.

#include "layout/HorizontalLayoutUI.h"
#include "list/ListInterfaces.h"

namespace ZvUI {

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
public:
    CListContainerElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void PaintBkImage(HDC hDC) override;
    void PaintForeImage(HDC hDC) override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int index) override { m_iIndex = index; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool select = true) override;
    bool SelectMulti(bool select = true) override;
    bool IsExpanded() const override { return false; }
    bool Expand(bool /*expand*/ = true) override { return false; }
    void DrawItemText(HDC /*hDC*/, const RECT& /*rcItem*/) override {}

    virtual void DrawItemBk(HDC hDC, const RECT& rcItem);

    // Clipped to what the parent shows.
    void Invalidate();
    bool IsHot() const { return (m_uButtonState & kHot) != 0; }

    // The foreground value bar.
    int GetValue() const { return m_nValue; }
    // Ignored when unchanged or outside minimum..maximum.
    void SetValue(int value);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int value) { m_nMin = value; }
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int value) { m_nMax = value; }
    bool IsHorizontalValue() const { return m_bHorizontal; }
    void SetHorizontalValue(bool horizontal) { m_bHorizontal = horizontal; }
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool stretch) { m_bStretchForeImage = stretch; }

protected:
    static constexpr UINT kHot = 0x08;

    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;

private:
    void DrawValueBar(HDC hDC);

    bool m_bStretchForeImage = true;
    CUIString m_sForeImageModify;
    bool m_bHorizontal = true;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nValue = 0;
};

} // namespace ZvUI

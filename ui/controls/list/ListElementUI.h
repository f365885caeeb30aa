#pragma once
// Plain list rows: the row base that keeps the selection handshake, and the row that draws one text.

#include "control/ControlUI.h"
#include "list/ListInterfaces.h"

namespace ZvUI {

class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int index) override { m_iIndex = index; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool select = true) override;
    bool SelectMulti(bool select = true) override;
    bool IsExpanded() const override { return false; }
    bool Expand(bool /*expand*/ = true) override { return false; }
    // The base row has no text of its own.
    void DrawItemText(HDC /*hDC*/, const RECT& /*rcItem*/) override {}

    // Clipped to what the parent shows.
    void Invalidate();
    bool IsHot() const { return (m_uButtonState & kHot) != 0; }

protected:
    static constexpr UINT kHot = 0x08;

    void DrawItemBk(HDC hDC);

    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

class CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    SIZE EstimateSize(SIZE available) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

} // namespace ZvUI

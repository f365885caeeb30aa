#pragma once
// What every list row shares, whichever control it is built on: owner, index, selection, hot state.

#include <windows.h>

#include "control/ButtonUI.h"
#include "control/ControlUI.h"
#include "list/ListInterfaces.h"
#include "list/ListSupport.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIControlServices.h"

namespace ZvUI {

// Base is CControlUI or a control derived from it.
template <class Base>
class CListRowBase : public Base, public IListItemUI {
public:
    LPVOID GetInterface(LPCWSTR name) override
    {
        // The name the core looks for when it counts selectable rows.
        if (list_support::Is(name, kListItemInterface))
            return static_cast<IListItemUI*>(this);
        return Base::GetInterface(name);
    }
    UINT GetControlFlags() const override { return kWantReturn; }

    bool Activate() override
    {
        if (!CControlUI::Activate())
            return false;
        if (this->m_pManager != nullptr)
            this->m_pManager->RaiseNotify(this, L"itemactivate", 0, 0);
        return true;
    }

    void SetVisible(bool visible = true) override
    {
        Base::SetVisible(visible);
        // A hidden row cannot stay selected.
        if (!this->IsVisible() && m_bSelected) {
            m_bSelected = false;
            if (m_pOwner != nullptr)
                m_pOwner->SelectItem(-1, false);
        }
    }

    void SetEnabled(bool enable = true) override
    {
        // The row alone: a container row's children keep their own state.
        CControlUI::SetEnabled(enable);
        if (!this->IsEnabled())
            m_uButtonState = 0;
    }

    void SetAttribute(LPCWSTR name, LPCWSTR value) override
    {
        // Any value selects: the attribute only marks the row that starts selected.
        if (list_support::Is(name, L"selected"))
            Select(true);
        else
            Base::SetAttribute(name, value);
    }

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int index) override { m_iIndex = index; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* owner) override
    {
        m_pOwner = owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface(L"IListOwner")) : nullptr;
    }
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool select = true) override
    {
        return list_support::SelectRow(*this, m_pOwner, m_iIndex, m_bSelected, select);
    }
    bool SelectMulti(bool select = true) override { return list_support::SelectRowMulti(*this, m_bSelected, select); }
    bool IsExpanded() const override { return false; }
    bool Expand(bool /*expand*/ = true) override { return false; }
    void DrawItemText(HDC /*hDC*/, const RECT& /*rcItem*/) override {}

    // Clipped to what the parent shows.
    void Invalidate() { list_support::InvalidateRow(*this); }
    bool IsHot() const { return (m_uButtonState & ButtonStateHot) != 0; }

protected:
    // Mouse events of a row that takes no mouse input go to its owner; true when passed on.
    bool PassMouseToOwner(UIControlEvent& event)
    {
        if (this->IsMouseEnabled() || !IsMouseEvent(event.type))
            return false;
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            Base::DoEvent(event);
        return true;
    }
    // What a row leaves alone is the owner's, or the control base's without one.
    void PassToOwner(UIControlEvent& event)
    {
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CControlUI::DoEvent(event);
    }

    static constexpr UINT kWantReturn = 4;

    // The owner's looks for this row's index and state.
    void DrawRowBk(HDC hDC)
    {
        if (m_pOwner != nullptr && m_pOwner->GetListInfo() != nullptr)
            list_support::DrawRowBackground(hDC, *this, *m_pOwner->GetListInfo(), m_iIndex, IsHot(), m_bSelected);
    }

    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

} // namespace ZvUI

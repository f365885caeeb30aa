// A column header of the extended list: holds controls, resizes by its separator, carries a check box.
#include "listex/ListContainerHeaderItemUI.h"

#include "list/ListSupport.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

using list_support::Is;
using list_support::IsTrue;

// A separator width of 0 still leaves a band to drag at the right edge.
CListContainerHeaderItemUI::CListContainerHeaderItemUI() : CHeaderItemBase(L"listheaderclick", false)
{
}

LPCWSTR CListContainerHeaderItemUI::GetClass() const
{
    return L"ListContainerHeaderItemUI";
}

LPVOID CListContainerHeaderItemUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"ListContainerHeaderItem"))
        return this;
    return CContainerUI::GetInterface(name);
}

void CListContainerHeaderItemUI::SetCheck(bool checked)
{
    if (m_checkBox.SetChecked(checked))
        Invalidate();
}

RECT CListContainerHeaderItemUI::GetCheckBoxRect() const
{
    return m_checkBox.GetRect(*this, m_rcItem);
}

// --- events ---

void CListContainerHeaderItemUI::DoEvent(UIControlEvent& event)
{
    if (IsMouseEnabled() && m_bCheckable && m_checkBox.HandleEvent(*this, event, GetCheckBoxRect()) &&
        m_pParent != nullptr && m_pManager != nullptr) {
        auto* header = static_cast<IContainerUI*>(m_pParent->GetInterface(L"IContainer"));
        const int index = header != nullptr ? header->GetItemIndex(this) : -1;
        m_pManager->RaiseNotify(this, L"listheaditemchecked", static_cast<WPARAM>(index),
                                m_checkBox.IsChecked() ? 1 : 0);
    }
    if (event.type == EventSetFocus || event.type == EventKillFocus) {
        Invalidate();
        return;
    }
    if (!HandleHeaderEvent(event))
        CContainerUI::DoEvent(event);
}

// --- attributes ---

void CListContainerHeaderItemUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (m_checkBox.SetAttribute(name, value) || SetHeaderAttribute(name, value))
        return;
    if (Is(name, L"editable"))
        SetColumnEditable(IsTrue(value));
    else if (Is(name, L"comboable"))
        SetColumnComboable(IsTrue(value));
    else if (Is(name, L"checkable"))
        SetColumnCheckable(IsTrue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

// --- size and painting ---

SIZE CListContainerHeaderItemUI::EstimateSize(SIZE available)
{
    if (m_cxyFixed.cy != 0)
        return CControlUI::EstimateSize(available);
    int height = ScaleValue(14);
    if (m_pManager != nullptr) {
        if (UIFontInfo* info = m_pManager->GetDefaultFontInfo())
            height += info->metrics.tmHeight;
    }
    return {GetFixedWidth(), height};
}

void CListContainerHeaderItemUI::PaintStatusImage(HDC hDC)
{
    PaintHeaderStatus(hDC);
    if (m_bCheckable)
        m_checkBox.Paint(hDC, *this, GetCheckBoxRect());
}

void CListContainerHeaderItemUI::PaintText(HDC hDC)
{
    PaintHeaderText(hDC, m_bCheckable ? m_checkBox.GetScaledWidth(*this) : 0, DT_SINGLELINE);
}

} // namespace ZvUI

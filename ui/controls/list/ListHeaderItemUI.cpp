// List header item: state looks, "headerclick", and resizing by dragging the separator.
#include "list/ListHeaderItemUI.h"

#include "list/ListSupport.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

using list_support::Is;

CListHeaderItemUI::CListHeaderItemUI() : CHeaderItemBase(L"headerclick", true)
{
}

LPCWSTR CListHeaderItemUI::GetClass() const
{
    return L"ListHeaderItemUI";
}

LPVOID CListHeaderItemUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"ListHeaderItem"))
        return this;
    return CContainerUI::GetInterface(name);
}

void CListHeaderItemUI::SetEnabled(bool enable)
{
    CContainerUI::SetEnabled(enable);
    if (!IsEnabled())
        m_uButtonState = 0;
}

void CListHeaderItemUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventSetFocus || event.type == EventKillFocus)
        Invalidate();
    else if (HandleHeaderEvent(event))
        return;
    CContainerUI::DoEvent(event);
}

SIZE CListHeaderItemUI::EstimateSize(SIZE available)
{
    if (GetFixedHeight() != 0 || m_pManager == nullptr)
        return CContainerUI::EstimateSize(available);
    return SIZE{GetFixedWidth(), m_pManager->GetDefaultFontInfo()->metrics.tmHeight + list_support::Scale(*this, 14)};
}

void CListHeaderItemUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (SetHeaderAttribute(name, value))
        return;
    if (Is(name, L"scale"))
        SetScale(attr::ParseInt(value));
    else
        CContainerUI::SetAttribute(name, value);
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC)
{
    PaintHeaderStatus(hDC);
}

void CListHeaderItemUI::PaintText(HDC hDC)
{
    PaintHeaderText(hDC, 0, 0);
}

} // namespace ZvUI

// The list of a menu window: takes menu items only, and sizes itself to its widest item.
#include "menu/MenuUI.h"

#include <algorithm>

#include "list/ListHeaderUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "menu/MenuElementUI.h"

namespace ZvUI {

namespace {

bool IsMenuItem(CControlUI* control)
{
    return control != nullptr && control->GetInterface(L"MenuElement") != nullptr;
}

// Nested items belong to the sub-menu and stay out of this menu until it opens.
void HideNestedItems(CControlUI* control)
{
    auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
    if (container == nullptr)
        return;
    for (int i = 0; i < container->GetCount(); ++i) {
        CControlUI* child = container->GetItemAt(i);
        if (IsMenuItem(child))
            child->SetInternVisible(false);
    }
}

} // namespace

CMenuUI::CMenuUI()
{
    if (GetHeader() != nullptr)
        GetHeader()->SetVisible(false);
}

LPCWSTR CMenuUI::GetClass() const
{
    return L"MenuUI";
}

LPVOID CMenuUI::GetInterface(LPCWSTR name)
{
    if (list_support::Is(name, L"Menu"))
        return this;
    return CListUI::GetInterface(name);
}

SIZE CMenuUI::EstimateSize(SIZE available)
{
    int width = 0;
    int height = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (!item->IsVisible())
            continue;
        const SIZE sz = item->EstimateSize(available);
        width = std::max<int>(width, sz.cx);
        height += sz.cy;
    }
    const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (item->IsVisible())
            item->SetFixedWidth(scale > 0 ? ::MulDiv(width, 100, scale) : width);
    }
    return {width, height};
}

int CMenuUI::GetItemIndex(CControlUI* control) const
{
    return IsMenuItem(control) ? CListUI::GetItemIndex(control) : -1;
}

bool CMenuUI::SetItemIndex(CControlUI* control, int newIndex)
{
    return IsMenuItem(control) && CListUI::SetItemIndex(control, newIndex);
}

bool CMenuUI::Add(CControlUI* control)
{
    if (!IsMenuItem(control))
        return false;
    HideNestedItems(control);
    return CListUI::Add(control);
}

bool CMenuUI::AddAt(CControlUI* control, int index)
{
    if (!IsMenuItem(control))
        return false;
    HideNestedItems(control);
    return CListUI::AddAt(control, index);
}

// A row that leaves the menu takes its open sub-menu down with it, rather than leave it listing
// the row's nested rows until the row is deleted.
void CMenuUI::CloseSubMenuOf(CControlUI* control)
{
    static_cast<CMenuElementUI*>(control->GetInterface(L"MenuElement"))->CloseSubMenuNow();
}

bool CMenuUI::Remove(CControlUI* control)
{
    if (!IsMenuItem(control) || GetItemIndex(control) < 0)
        return false;
    CloseSubMenuOf(control);
    return CListUI::Remove(control);
}

void CMenuUI::RemoveAll()
{
    for (int i = 0; i < GetCount(); ++i) {
        if (IsMenuItem(GetItemAt(i)))
            CloseSubMenuOf(GetItemAt(i));
    }
    CListUI::RemoveAll();
}

} // namespace ZvUI

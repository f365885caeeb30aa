// Helpers shared by the list family's sources.
#include "list/ListSupport.h"

#include <cwchar>

#include "control/ScrollBarUI.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI::list_support {

UINT ApplyHorizontalAlign(UINT style, LPCWSTR value)
{
    if (wcsstr(value, L"left") != nullptr)
        style &= ~(DT_CENTER | DT_RIGHT);
    if (wcsstr(value, L"center") != nullptr) {
        style &= ~DT_RIGHT;
        style |= DT_CENTER;
    }
    if (wcsstr(value, L"right") != nullptr) {
        style &= ~DT_CENTER;
        style |= DT_RIGHT;
    }
    return style;
}

UINT ApplyVerticalAlign(UINT style, LPCWSTR value)
{
    if (wcsstr(value, L"top") != nullptr)
        style &= ~(DT_VCENTER | DT_BOTTOM);
    if (wcsstr(value, L"vcenter") != nullptr) {
        style &= ~(DT_BOTTOM | DT_WORDBREAK);
        style |= DT_VCENTER | DT_SINGLELINE;
    }
    if (wcsstr(value, L"bottom") != nullptr) {
        style &= ~DT_VCENTER;
        style |= DT_BOTTOM;
    }
    return style;
}


int Scale(const CControlUI& control, int value)
{
    CPaintManagerUI* manager = control.GetManager();
    return manager != nullptr ? manager->GetDpiHelper()->Scale(value) : value;
}

RECT ScaleRect(const CControlUI& control, RECT rc)
{
    CPaintManagerUI* manager = control.GetManager();
    if (manager != nullptr)
        manager->GetDpiHelper()->ScaleRect(rc);
    return rc;
}

int RowState(bool hot, bool selected, bool enabled)
{
    int state = ListItemStateNormal;
    if (hot)
        state = ListItemStateHot;
    if (selected)
        state = ListItemStateSelected;
    if (!enabled)
        state = ListItemStateDisabled;
    return state;
}

DWORD RowTextColor(const UIListInfo& info, bool hot, bool selected, bool enabled)
{
    DWORD color = info.textColor;
    if (hot)
        color = info.hotTextColor;
    if (selected)
        color = info.selectedTextColor;
    if (!enabled)
        color = info.disabledTextColor;
    return color;
}

void DrawRowBackground(HDC hDC, CControlUI& row, const UIListInfo& info, int index, bool hot, bool selected)
{
    const bool oddPlain = info.alternateBk && index % 2 != 0;
    DWORD color = oddPlain ? 0 : info.bkColor;
    if (hot && info.hotBkColor != 0)
        color = info.hotBkColor;
    if (selected && info.selectedBkColor != 0)
        color = info.selectedBkColor;
    if (!row.IsEnabled() && info.disabledBkColor != 0)
        color = info.disabledBkColor;
    if (color != 0)
        CUIRender::DrawColor(hDC, row.GetPos(), row.GetAdjustColor(color));

    // A state image that draws replaces everything below it, grid lines included.
    if (!row.IsEnabled() && !info.disabledImage.IsEmpty() && row.DrawImage(hDC, info.disabledImage))
        return;
    if (selected && !info.selectedImage.IsEmpty() && row.DrawImage(hDC, info.selectedImage))
        return;
    if (hot && !info.hotImage.IsEmpty() && row.DrawImage(hDC, info.hotImage))
        return;

    if (!row.GetBkImage().IsEmpty()) {
        if (!oddPlain)
            row.DrawImage(hDC, row.GetBkImage());
    } else if (!info.bkImage.IsEmpty() && row.DrawImage(hDC, info.bkImage)) {
        return;
    }

    if (info.lineColor == 0)
        return;
    const RECT& rc = row.GetPos();
    if (info.showRowLine)
        CUIRender::DrawLine(hDC, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom - 1}, 1,
                            row.GetAdjustColor(info.lineColor));
    if (info.showColumnLine) {
        for (int i = 0; i < info.columnCount && i < kListMaxColumns; ++i) {
            const int x = info.columns[i].right - 1;
            CUIRender::DrawLine(hDC, RECT{x, rc.top, x, rc.bottom}, 1, row.GetAdjustColor(info.lineColor));
        }
    }
}

bool SelectRow(CControlUI& row, IListOwnerUI* owner, int index, bool& selected, bool select)
{
    if (!row.IsEnabled())
        return false;
    if (owner != nullptr)
        owner->UnSelectItem(index, true);
    if (select == selected)
        return true;
    selected = select;
    if (owner != nullptr) {
        if (select)
            owner->SelectItem(index, false);
        else
            owner->UnSelectItem(index, false);
    }
    InvalidateRow(row);
    return true;
}

bool SelectRowMulti(CControlUI& row, bool& selected, bool select)
{
    if (!row.IsEnabled())
        return false;
    if (select == selected)
        return true;
    selected = select;
    InvalidateRow(row);
    return true;
}

namespace {

bool IsListed(CControlUI& row)
{
    CControlUI* parent = row.GetParent();
    auto* rows = parent != nullptr ? static_cast<IContainerUI*>(parent->GetInterface(L"IContainer")) : nullptr;
    return rows != nullptr && rows->GetItemIndex(&row) >= 0;
}

} // namespace

bool HandleRowMouse(CControlUI& row, IListItemUI& item, UINT& state, UIControlEvent& event)
{
    constexpr UINT hot = 0x08;
    IListOwnerUI* owner = item.GetOwner();
    CPaintManagerUI* manager = row.GetManager();
    const bool rightSelects = owner != nullptr && owner->GetListInfo() != nullptr && owner->GetListInfo()->rightSelects;
    switch (event.type) {
    case EventRButtonDown:
        if (!rightSelects)
            return false;
        [[fallthrough]];
    case EventButtonDown:
        if (!row.IsEnabled())
            return true;
        if (event.type == EventButtonDown && row.IsRichEvent() && manager != nullptr) {
            manager->RaiseNotify(&row, L"buttondown", 0, 0);
            // A handler that took the row out leaves its index naming the row now in its place.
            if (!IsListed(row))
                return true;
        }
        if (::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_SHIFT) >= 0)
            item.Select(true);
        else if (owner != nullptr)
            owner->SelectMultiItem(item.GetIndex(), false);
        return true;
    case EventButtonUp:
        if (row.IsEnabled() && manager != nullptr)
            manager->RaiseNotify(&row, L"itemclick", 0, 0);
        return true;
    case EventMouseEnter:
        if (row.IsEnabled()) {
            state |= hot;
            InvalidateRow(row);
            if (row.IsRichEvent() && manager != nullptr)
                manager->RaiseNotify(&row, L"mouseenter", 0, 0);
        }
        return true;
    case EventMouseLeave:
        if ((state & hot) != 0) {
            state &= ~hot;
            InvalidateRow(row);
            if (row.IsRichEvent() && manager != nullptr)
                manager->RaiseNotify(&row, L"mouseleave", 0, 0);
        }
        return true;
    default:
        return false;
    }
}

RECT ShownArea(CContainerUI& container, bool lessVerticalBar)
{
    RECT area = container.GetPos();
    const RECT inset = container.GetInset();
    area.left += inset.left;
    area.top += inset.top;
    area.right -= inset.right;
    area.bottom -= inset.bottom;
    CScrollBarUI* vertical = container.GetVerticalScrollBar();
    if (lessVerticalBar && vertical != nullptr && vertical->IsVisible())
        area.right -= vertical->GetFixedWidth();
    CScrollBarUI* horizontal = container.GetHorizontalScrollBar();
    if (horizontal != nullptr && horizontal->IsVisible())
        area.bottom -= horizontal->GetFixedHeight();
    return area;
}

namespace {

CControlUI* ForgetInManager(CControlUI* control, LPVOID manager)
{
    static_cast<CPaintManagerUI*>(manager)->ForgetControl(control);
    return nullptr;
}

} // namespace

void ReturnLentRow(IContainerUI& popupList, CPaintManagerUI& popupManager, CControlUI* row, CControlUI& owner)
{
    if (row == nullptr || popupList.GetItemIndex(row) < 0)
        return;
    popupList.Remove(row);
    row->FindControl(ForgetInManager, &popupManager, 0);
    row->SetManager(owner.GetManager(), &owner, false);
}

void InvalidateRow(CControlUI& row)
{
    if (!row.IsVisible())
        return;
    CControlUI* parent = row.GetParent();
    auto* container = parent != nullptr ? static_cast<CContainerUI*>(parent->GetInterface(L"Container")) : nullptr;
    if (container == nullptr) {
        row.Invalidate();
        return;
    }
    const RECT client = ShownArea(*container, true);
    RECT rc = {};
    if (!::IntersectRect(&rc, &row.GetPos(), &client))
        return;
    for (CControlUI* ancestor = parent->GetParent(); ancestor != nullptr; ancestor = ancestor->GetParent()) {
        if (!::IntersectRect(&rc, &rc, &ancestor->GetPos()))
            return;
    }
    if (row.GetManager() != nullptr)
        row.GetManager()->Invalidate(rc);
}

} // namespace ZvUI::list_support

// Tab layout: page selection with "tabselect", and keeping the current index right as pages come and go.
#include "layout/TabLayoutUI.h"

#include <cwchar>
#include <cstdlib>

#include "layout/LayoutLimits.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

CTabLayoutUI::CTabLayoutUI() = default;
CTabLayoutUI::~CTabLayoutUI() = default;

LPCWSTR CTabLayoutUI::GetClass() const
{
    return L"TabLayoutUI";
}

LPVOID CTabLayoutUI::GetInterface(LPCWSTR name)
{
    if (_wcsicmp(name, L"TabLayout") == 0)
        return this;
    return CContainerUI::GetInterface(name);
}

// --- children ---

bool CTabLayoutUI::Add(CControlUI* control)
{
    if (!CContainerUI::Add(control))
        return false;
    if (m_iCurSel == -1 && control->IsVisible())
        m_iCurSel = GetItemIndex(control);
    else
        control->SetVisible(false);
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index)
{
    if (!CContainerUI::AddAt(control, index))
        return false;
    if (m_iCurSel == -1 && control->IsVisible()) {
        m_iCurSel = GetItemIndex(control);
    } else {
        if (m_iCurSel != -1 && index <= m_iCurSel)
            ++m_iCurSel;
        control->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control)
{
    if (control == nullptr)
        return false;
    const int index = GetItemIndex(control);
    if (!CContainerUI::Remove(control))
        return false;
    if (index == m_iCurSel) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

bool CTabLayoutUI::SetItemIndex(CControlUI* control, int newIndex)
{
    CControlUI* current = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(control, newIndex))
        return false;
    if (current != nullptr)
        m_iCurSel = GetItemIndex(current);
    return true;
}

// --- selection ---

bool CTabLayoutUI::SelectItem(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    if (index == m_iCurSel)
        return true;

    const int old = m_iCurSel;
    m_iCurSel = index;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (i == index) {
            child->SetVisible(true);
            child->SetFocus();
            SetPos(m_rcItem, true);
        } else {
            child->SetVisible(false);
        }
    }
    NeedParentUpdate();
    if (m_pManager != nullptr) {
        m_pManager->MoveTabFocus(true);
        m_pManager->RaiseNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(old));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control)
{
    const int index = GetItemIndex(control);
    if (index == -1)
        return false;
    return SelectItem(index);
}

// --- layout and attributes ---

void CTabLayoutUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    RECT area = GetInsetRect();

    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (IsPlacedApart(child, i))
            continue;
        if (i != m_iCurSel)
            continue;

        const RECT pad = child->GetPadding();
        RECT page = area;
        page.left += pad.left;
        page.top += pad.top;
        page.right -= pad.right;
        page.bottom -= pad.bottom;
        const int width = page.right - page.left;
        const int height = page.bottom - page.top;
        SIZE sz = child->EstimateSize(SIZE{width, height});
        if (sz.cx == 0)
            sz.cx = width > 0 ? width : 0;
        sz.cx = layout_limits::Clamp(sz.cx, child->GetMinWidth(), child->GetMaxWidth());
        if (sz.cy == 0)
            sz.cy = height > 0 ? height : 0;
        sz.cy = layout_limits::Clamp(sz.cy, child->GetMinHeight(), child->GetMaxHeight());
        child->SetPos(RECT{page.left, page.top, page.left + sz.cx, page.top + sz.cy}, true);
    }
}

void CTabLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (_wcsicmp(name, L"selectedid") == 0)
        (void)SelectItem(_wtoi(value));
    CContainerUI::SetAttribute(name, value);
}

} // namespace ZvUI

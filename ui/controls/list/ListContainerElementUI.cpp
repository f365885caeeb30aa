// List container row: the selection handshake of a row on a horizontal container, tiles and columns.
#include "list/ListContainerElementUI.h"

#include "list/ListHeaderUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

using list_support::Is;

LPCWSTR CListContainerElementUI::GetClass() const
{
    return L"ListContainerElementUI";
}

LPVOID CListContainerElementUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"ListContainerElement"))
        return this;
    return CListRowBase<CHorizontalLayoutUI>::GetInterface(name);
}

void CListContainerElementUI::SetValue(int value)
{
    if (value == m_nValue || value < m_nMin || value > m_nMax)
        return;
    m_nValue = value;
    Invalidate();
}

void CListContainerElementUI::DoEvent(UIControlEvent& event)
{
    if (PassMouseToOwner(event))
        return;
    if (list_support::HandleRowMouse(*this, *this, m_uButtonState, event))
        return;
    switch (event.type) {
    case EventDoubleClick:
        if (IsEnabled()) {
            Activate();
            Invalidate();
            if (m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"itemdbclick", 0, 0);
            return;
        }
        break;
    case EventKeyDown:
        if (event.keyChar == VK_RETURN && IsEnabled()) {
            Activate();
            Invalidate();
            return;
        }
        break;
    case EventTimer:
    case EventContextMenu:
        // The control base raises "timer", and "menu" when the row uses a context menu.
        if (event.type == EventTimer || IsContextMenuUsed()) {
            CControlUI::DoEvent(event);
            return;
        }
        break;
    default:
        break;
    }
    PassToOwner(event);
}

void CListContainerElementUI::SetPos(RECT rc, bool invalidate)
{
    const int kind = m_pOwner != nullptr ? m_pOwner->GetListKind() : -1;
    const int tileWidth = GetFixedWidth();
    if (kind == ListKindList && tileWidth > 0) {
        const int perLine = (rc.right - rc.left) / tileWidth;
        if (perLine > 0) {
            const int height = rc.bottom - rc.top;
            rc.left += tileWidth * (m_iIndex % perLine);
            rc.right = rc.left + tileWidth;
            const int up = (m_iIndex - m_iIndex / perLine) * height;
            rc.top -= up;
            rc.bottom -= up;
        }
    }
    CHorizontalLayoutUI::SetPos(rc, invalidate);
    if (kind != ListKindList && kind != ListKindTree)
        return;

    // The cells follow the header's columns.
    auto* list = dynamic_cast<IListUI*>(m_pOwner);
    CListHeaderUI* header = list != nullptr ? list->GetHeader() : nullptr;
    if (header == nullptr || !header->IsVisible())
        return;
    for (int i = 0; i < m_items.GetSize() && i < header->GetCount(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        const RECT& column = header->GetItemAt(i)->GetPos();
        if (column.left == 0 && column.right == 0)
            continue;
        const RECT& own = child->GetPos();
        child->SetPos(RECT{column.left, own.top, column.right, own.bottom}, false);
    }
}

bool CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    DrawItemBk(hDC, m_rcItem);
    if (!CHorizontalLayoutUI::DoPaint(hDC, rcPaint, stopControl))
        return false;
    // The value bar lies over the children.
    DrawValueBar(hDC);
    return true;
}

void CListContainerElementUI::PaintBkImage(HDC /*hDC*/)
{
    // The row background already drew it (or left it out for an odd row under alternateBk).
}

void CListContainerElementUI::PaintForeImage(HDC /*hDC*/)
{
    // Drawn as the value bar after the children.
}

void CListContainerElementUI::DrawItemBk(HDC hDC, const RECT& /*rcItem*/)
{
    DrawRowBk(hDC);
}

void CListContainerElementUI::DrawValueBar(HDC hDC)
{
    if (m_sForeImage.IsEmpty())
        return;
    if (m_nMax <= m_nMin)
        m_nMax = m_nMin + 1;
    if (m_nValue < m_nMin)
        m_nValue = m_nMin;
    if (m_nValue > m_nMax)
        m_nValue = m_nMax;
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = m_rcItem.bottom - m_rcItem.top;
    RECT bar = {0, 0, width, height};
    if (m_bHorizontal)
        bar.right = (m_nValue - m_nMin) * width / (m_nMax - m_nMin);
    else
        bar.top = height * (m_nMax - m_nValue) / (m_nMax - m_nMin);
    // Descriptor rectangles are read at 96 dpi and scaled when drawn.
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->UnscaleRect(bar);
    const int l = bar.left;
    const int t = bar.top;
    const int r = bar.right;
    const int b = bar.bottom;
    if (m_bStretchForeImage)
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d'", l, t, r, b);
    else
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", l, t, r, b, l, t, r, b);
    DrawImage(hDC, m_sForeImage, m_sForeImageModify);
}

} // namespace ZvUI

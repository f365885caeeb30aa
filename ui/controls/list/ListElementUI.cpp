// Plain list rows: selection handshake, row events and the one-text row's painting.
#include "list/ListElementUI.h"

#include "list/ListSupport.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

using list_support::Is;

// --- CListElementUI ---

LPCWSTR CListElementUI::GetClass() const
{
    return L"ListElementUI";
}

LPVOID CListElementUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"ListElement"))
        return this;
    return CListRowBase<CControlUI>::GetInterface(name);
}

void CListElementUI::DoEvent(UIControlEvent& event)
{
    if (PassMouseToOwner(event))
        return;
    if ((event.type == EventDoubleClick || (event.type == EventKeyDown && event.keyChar == VK_RETURN)) &&
        IsEnabled()) {
        Activate();
        Invalidate();
        return;
    }
    PassToOwner(event);
}

// --- CListLabelElementUI ---

LPCWSTR CListLabelElementUI::GetClass() const
{
    return L"ListLabelElementUI";
}

LPVOID CListLabelElementUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"ListLabelElement"))
        return this;
    return CListElementUI::GetInterface(name);
}

void CListLabelElementUI::DoEvent(UIControlEvent& event)
{
    if (PassMouseToOwner(event))
        return;
    if (list_support::HandleRowMouse(*this, *this, m_uButtonState, event))
        return;
    CListElementUI::DoEvent(event);
}

SIZE CListLabelElementUI::EstimateSize(SIZE available)
{
    if (m_pOwner == nullptr || m_pOwner->GetListInfo() == nullptr)
        return SIZE{0, 0};
    const UIListInfo& info = *m_pOwner->GetListInfo();
    SIZE size = GetFixedSize();
    if (size.cy == 0 && m_pManager != nullptr) {
        const RECT padding = list_support::ScaleRect(*this, info.textPadding);
        size.cy = m_pManager->GetFontInfo(info.font)->metrics.tmHeight + list_support::Scale(*this, 8) +
                  padding.top + padding.bottom;
    }
    if (size.cx == 0)
        size.cx = available.cx;
    return size;
}

bool CListLabelElementUI::DoPaint(HDC hDC, const RECT& /*rcPaint*/, CControlUI* /*stopControl*/)
{
    DrawRowBk(hDC);
    DrawItemText(hDC, m_rcItem);
    return true;
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_sText.IsEmpty() || m_pOwner == nullptr || m_pOwner->GetListInfo() == nullptr)
        return;
    const UIListInfo& info = *m_pOwner->GetListInfo();
    const DWORD color = list_support::RowTextColor(info, IsHot(), m_bSelected, IsEnabled());
    const RECT padding = list_support::ScaleRect(*this, info.textPadding);
    RECT rc = {rcItem.left + padding.left, rcItem.top + padding.top, rcItem.right - padding.right,
               rcItem.bottom - padding.bottom};
    if (info.showHtml) {
        int links = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, links, info.font,
                                info.textStyle);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, m_sText, color, info.font, info.textStyle);
    }
}

} // namespace ZvUI

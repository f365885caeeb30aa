// A text row of the extended list: one text per column, links, per-column backgrounds and a check box.
#include "listex/ListTextExtElementUI.h"

#include "list/ListSupport.h"
#include "list/ListUI.h"
#include "listex/ListExUI.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

LPCWSTR CListTextExtElementUI::GetClass() const
{
    return L"ListTextExElementUI";
}

LPVOID CListTextExtElementUI::GetInterface(LPCWSTR name)
{
    if (list_support::Is(name, L"ListTextExElement"))
        return this;
    return CListLabelElementUI::GetInterface(name);
}

UINT CListTextExtElementUI::GetControlFlags() const
{
    return kWantReturn | (IsEnabled() && m_nLinks > 0 ? ControlFlagSetCursor : 0);
}

void CListTextExtElementUI::SetOwner(CControlUI* owner)
{
    CListLabelElementUI::SetOwner(owner);
    m_pOwnerList = owner != nullptr ? static_cast<CListUI*>(owner->GetInterface(L"List")) : nullptr;
}

CListExUI* CListTextExtElementUI::OwnerListEx() const
{
    // Rows may sit in a plain list: the extended operations exist only on an extended one.
    return m_pOwnerList != nullptr ? static_cast<CListExUI*>(m_pOwnerList->GetInterface(L"ListEx")) : nullptr;
}

int CListTextExtElementUI::ColumnCount() const
{
    if (m_pOwner == nullptr || m_pOwner->GetListInfo() == nullptr)
        return 0;
    return std::min(m_pOwner->GetListInfo()->columnCount, kListMaxColumns);
}

bool CListTextExtElementUI::HasCheckableColumn() const
{
    CListExUI* list = OwnerListEx();
    if (list == nullptr)
        return false;
    for (int i = 0; i < ColumnCount(); ++i) {
        if (list->IsColumnCheckable(i))
            return true;
    }
    return false;
}

// --- texts, checks and backgrounds ---

CUIString CListTextExtElementUI::GetText(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_texts.size()))
        return CUIString();
    return m_texts[static_cast<size_t>(column)];
}

void CListTextExtElementUI::SetText(int column, LPCWSTR text)
{
    if (m_pOwner == nullptr || column < 0 || column >= ColumnCount())
        return;
    if (static_cast<int>(m_texts.size()) < ColumnCount())
        m_texts.resize(static_cast<size_t>(ColumnCount()));
    CUIString& entry = m_texts[static_cast<size_t>(column)];
    if (entry == (text != nullptr ? text : L""))
        return;
    entry = text != nullptr ? text : L"";
    Invalidate();
}

void CListTextExtElementUI::SetCheck(bool checked)
{
    if (m_checkBox.SetChecked(checked))
        Invalidate();
}

void CListTextExtElementUI::SetColumnBkColor(int column, DWORD color)
{
    if (column < 0 || column >= static_cast<int>(m_columnBk.size()))
        return;
    m_columnBk[static_cast<size_t>(column)] = {true, color};
    Invalidate();
}

bool CListTextExtElementUI::GetColumnBkColor(int column, DWORD& color) const
{
    if (column < 0 || column >= static_cast<int>(m_columnBk.size()) || !m_columnBk[static_cast<size_t>(column)].set)
        return false;
    color = m_columnBk[static_cast<size_t>(column)].color;
    return true;
}

const CUIString* CListTextExtElementUI::GetLinkContent(int index) const
{
    return index >= 0 && index < m_nLinks ? &m_sLinks[index] : nullptr;
}

// --- geometry ---

RECT CListTextExtElementUI::GetCheckBoxRect() const
{
    return m_checkBox.GetRect(*this, m_rcItem);
}

RECT CListTextExtElementUI::GetColumnRect(int column) const
{
    if (m_pOwner == nullptr || m_pOwnerList == nullptr || column < 0 || column >= ColumnCount())
        return RECT{0, 0, 0, 0};
    const RECT& col = m_pOwner->GetListInfo()->columns[column];
    RECT rc = {col.left + 1, 1, col.right - 1, m_rcItem.bottom - m_rcItem.top - 1};
    const RECT& list = m_pOwnerList->GetPos();
    ::OffsetRect(&rc, -list.left, m_rcItem.top - list.top);
    return rc;
}

int CListTextExtElementUI::HitTestColumn(POINT pt) const
{
    if (m_pOwner == nullptr)
        return -1;
    const UIListInfo& info = *m_pOwner->GetListInfo();
    const RECT padding = list_support::ScaleRect(*this, info.textPadding);
    for (int i = 0; i < ColumnCount(); ++i) {
        RECT rc = {info.columns[i].left + padding.left, m_rcItem.top + padding.top,
                   info.columns[i].right - padding.right, m_rcItem.bottom - padding.bottom};
        if (::PtInRect(&rc, pt))
            return i;
    }
    return -1;
}

// --- events ---

void CListTextExtElementUI::DoEvent(UIControlEvent& event)
{
    if (PassMouseToOwner(event))
        return;
    if (event.type == EventSetCursor) {
        for (int i = 0; i < m_nLinks; ++i) {
            if (::PtInRect(&m_rcLinks[i], event.mousePoint)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return;
            }
        }
    }
    if (event.type == EventButtonUp && IsEnabled()) {
        for (int i = 0; i < m_nLinks; ++i) {
            if (::PtInRect(&m_rcLinks[i], event.mousePoint)) {
                if (m_pManager != nullptr)
                    m_pManager->RaiseNotify(this, L"link", static_cast<WPARAM>(i), 0);
                return;
            }
        }
    }
    if (m_nLinks > 0 && event.type == EventMouseMove) {
        int hover = -1;
        for (int i = 0; i < m_nLinks; ++i) {
            if (::PtInRect(&m_rcLinks[i], event.mousePoint))
                hover = i;
        }
        if (hover != m_nHoverLink) {
            m_nHoverLink = hover;
            Invalidate();
        }
    }
    if (m_nLinks > 0 && event.type == EventMouseLeave && m_nHoverLink != -1) {
        m_nHoverLink = -1;
        Invalidate();
    }
    CListExUI* list = OwnerListEx();
    const RECT box = GetCheckBoxRect();
    const bool onBox = HasCheckableColumn() && ::PtInRect(&box, event.mousePoint);
    // A click on the check box ticks it; an editor opened there would cover the box.
    if (event.type == EventButtonUp && IsEnabled() && list != nullptr && !onBox &&
        (list->IsFocused() || IsFocused())) {
        const int column = HitTestColumn(event.mousePoint);
        const RECT rc = column >= 0 ? GetColumnRect(column) : RECT{0, 0, 0, 0};
        list->ShowCellEditor(m_iIndex, column, rc, GetText(column).GetData());
    }
    // One box per row, however many columns are checkable: a click toggles it once.
    if (HasCheckableColumn() && m_checkBox.HandleEvent(*this, event, GetCheckBoxRect()) && m_pManager != nullptr)
        m_pManager->RaiseNotify(this, L"listitemchecked", MAKEWPARAM(m_iIndex, 0), m_checkBox.IsChecked() ? 1 : 0);
    CListLabelElementUI::DoEvent(event);
}

void CListTextExtElementUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (!m_checkBox.SetAttribute(name, value))
        CListLabelElementUI::SetAttribute(name, value);
}

// --- size and painting ---

SIZE CListTextExtElementUI::EstimateSize(SIZE available)
{
    SIZE size = {GetFixedWidth(), GetFixedHeight()};
    if (size.cy == 0 && m_pManager != nullptr && m_pOwner != nullptr && m_pOwner->GetListInfo() != nullptr) {
        const UIListInfo& info = *m_pOwner->GetListInfo();
        const RECT padding = list_support::ScaleRect(*this, info.textPadding);
        size.cy = m_pManager->GetFontInfo(info.font)->metrics.tmHeight + padding.top + padding.bottom + ScaleValue(8);
    }
    (void)available;
    return size;
}

bool CListTextExtElementUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* /*stopControl*/)
{
    RECT rcTemp = {};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem))
        return true;
    DrawRowBk(hDC);
    PaintStatusImage(hDC);
    DrawItemText(hDC, m_rcItem);
    return true;
}

void CListTextExtElementUI::PaintStatusImage(HDC hDC)
{
    if (HasCheckableColumn())
        m_checkBox.Paint(hDC, *this, GetCheckBoxRect());
}

void CListTextExtElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pOwner == nullptr || m_pOwner->GetListInfo() == nullptr)
        return;
    const UIListInfo& info = *m_pOwner->GetListInfo();
    const DWORD color = list_support::RowTextColor(info, IsHot(), m_bSelected, IsEnabled());
    IListTextCallbackUI* callback = m_pOwnerList != nullptr ? m_pOwnerList->GetTextCallback() : nullptr;
    CListExUI* list = OwnerListEx();
    const RECT padding = list_support::ScaleRect(*this, info.textPadding);
    m_nLinks = 0;
    for (int i = 0; i < ColumnCount(); ++i) {
        RECT cell = {info.columns[i].left, rcItem.top, info.columns[i].right, rcItem.bottom};
        if (m_columnBk[static_cast<size_t>(i)].set)
            CUIRender::DrawColor(hDC, cell, m_columnBk[static_cast<size_t>(i)].color);
        cell.left += padding.left;
        cell.top += padding.top;
        cell.right -= padding.right;
        cell.bottom -= padding.bottom;
        if (list != nullptr && list->IsColumnCheckable(i))
            cell.left += m_checkBox.GetScaledWidth(*this);
        const CUIString text = callback != nullptr ? callback->GetItemText(this, m_iIndex, i) : GetText(i);
        if (info.showHtml) {
            int links = kMaxLinks - m_nLinks;
            CUIRender::DrawHtmlText(hDC, m_pManager, cell, text.GetData(), color, &m_rcLinks[m_nLinks],
                                    &m_sLinks[m_nLinks], links, info.font, info.textStyle | DT_SINGLELINE);
            m_nLinks += links;
        } else {
            CUIRender::DrawText(hDC, m_pManager, cell, text.GetData(), color, info.font,
                                info.textStyle | DT_SINGLELINE);
        }
    }
    for (int i = m_nLinks; i < kMaxLinks; ++i) {
        ::SetRectEmpty(&m_rcLinks[i]);
        m_sLinks[i].Empty();
    }
}

} // namespace ZvUI

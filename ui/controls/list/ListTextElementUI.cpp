// List text row: per-column texts and colours aligned to the header's columns, with links.
#include "list/ListTextElementUI.h"

#include <cwchar>

#include "list/ListSupport.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "resource/UIResourceTable.h"

namespace ZvUI {

using list_support::Is;

namespace {

DWORD ColorAt(const CUIPtrArray& colors, int index)
{
    return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(colors.GetAt(index)));
}

LPVOID ColorSlot(DWORD color)
{
    return reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(color));
}

} // namespace

CListTextElementUI::~CListTextElementUI()
{
    for (int i = 0; i < m_aTexts.GetSize(); ++i)
        delete static_cast<CUIString*>(m_aTexts[i]);
}

LPCWSTR CListTextElementUI::GetClass() const
{
    return L"ListTextElementUI";
}

LPVOID CListTextElementUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"ListTextElement"))
        return this;
    return CListLabelElementUI::GetInterface(name);
}

UINT CListTextElementUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? 4 | ControlFlagSetCursor : 4;
}

void CListTextElementUI::SetOwner(CControlUI* owner)
{
    CListElementUI::SetOwner(owner);
    m_pListOwner = owner != nullptr ? static_cast<IListUI*>(owner->GetInterface(L"IList")) : nullptr;
}

bool CListTextElementUI::IsColumnOfOwner(int column) const
{
    return m_pListOwner != nullptr && column >= 0 && column < m_pListOwner->GetListInfo()->columnCount;
}

LPCWSTR CListTextElementUI::GetText(int column) const
{
    auto* text = static_cast<CUIString*>(m_aTexts.GetAt(column));
    if (text == nullptr)
        return nullptr;
    if (!IsResourceText())
        return text->GetData();
    m_sResourceText = CUIResourceTable::Instance()->GetText(text->GetData(), nullptr);
    return m_sResourceText.GetData();
}

void CListTextElementUI::SetText(int column, LPCWSTR text)
{
    if (!IsColumnOfOwner(column))
        return;
    while (m_aTexts.GetSize() < m_pListOwner->GetListInfo()->columnCount)
        m_aTexts.Add(nullptr);
    auto* old = static_cast<CUIString*>(m_aTexts[column]);
    if ((old == nullptr && text == nullptr) || (old != nullptr && text != nullptr && *old == text))
        return;
    delete old;
    m_aTexts.SetAt(column, text != nullptr ? new CUIString(text) : nullptr);
    Invalidate();
}

DWORD CListTextElementUI::GetTextColor(int column) const
{
    const DWORD fallback = m_pOwner != nullptr ? m_pOwner->GetListInfo()->textColor : 0xFF000000;
    if (!IsColumnOfOwner(column) || column >= m_aTextColors.GetSize())
        return fallback;
    return ColorAt(m_aTextColors, column);
}

void CListTextElementUI::SetTextColor(int column, DWORD color)
{
    if (!IsColumnOfOwner(column))
        return;
    const UIListInfo& info = *m_pListOwner->GetListInfo();
    while (m_aTextColors.GetSize() < info.columnCount)
        m_aTextColors.Add(ColorSlot(info.textColor));
    m_aTextColors.SetAt(column, ColorSlot(color));
    Invalidate();
}

const CUIString* CListTextElementUI::GetLinkContent(int index) const
{
    if (index < 0 || index >= m_nLinks)
        return nullptr;
    return &m_sLinks[index];
}

void CListTextElementUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pListOwner != nullptr)
            m_pListOwner->DoEvent(event);
        else
            CListLabelElementUI::DoEvent(event);
        return;
    }
    const auto linkAt = [this](POINT pt) {
        for (int i = 0; i < m_nLinks; ++i) {
            if (::PtInRect(&m_rcLinks[i], pt))
                return i;
        }
        return -1;
    };
    switch (event.type) {
    case EventSetCursor:
        if (linkAt(event.mousePoint) >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case EventButtonUp:
        if (IsEnabled()) {
            const int link = linkAt(event.mousePoint);
            if (link >= 0) {
                if (m_pManager != nullptr)
                    m_pManager->RaiseNotify(this, L"link", static_cast<WPARAM>(link), 0);
                return;
            }
        }
        break;
    case EventMouseMove:
        if (m_nLinks > 0) {
            const int hover = linkAt(event.mousePoint);
            if (hover != m_nHoverLink) {
                m_nHoverLink = hover;
                Invalidate();
                return;
            }
        }
        break;
    case EventMouseLeave:
        if (m_nLinks > 0 && m_nHoverLink != -1) {
            m_nHoverLink = -1;
            Invalidate();
        }
        break;
    default:
        break;
    }
    CListLabelElementUI::DoEvent(event);
}

SIZE CListTextElementUI::EstimateSize(SIZE /*available*/)
{
    SIZE size = GetFixedSize();
    if (m_pOwner == nullptr)
        return size;
    if (size.cy == 0 && m_pManager != nullptr) {
        const UIListInfo& info = *m_pOwner->GetListInfo();
        const RECT padding = list_support::ScaleRect(*this, info.textPadding);
        size.cy = m_pManager->GetFontInfo(info.font)->metrics.tmHeight + list_support::Scale(*this, 8) +
                  padding.top + padding.bottom;
    }
    return size;
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pListOwner == nullptr)
        return;
    const UIListInfo& info = *m_pListOwner->GetListInfo();
    IListTextCallbackUI* callback = m_pListOwner->GetTextCallback();
    const bool hot = IsHot();
    const int state = list_support::RowState(hot, m_bSelected, IsEnabled());
    const RECT padding = list_support::ScaleRect(*this, info.textPadding);
    m_nLinks = 0;
    for (int column = 0; column < info.columnCount && column < kListMaxColumns; ++column) {
        RECT cell = {info.columns[column].left + padding.left, rcItem.top + padding.top,
                     info.columns[column].right - padding.right, rcItem.bottom - padding.bottom};
        CUIString text;
        DWORD color = 0;
        if (callback != nullptr) {
            text = callback->GetItemText(this, m_iIndex, column);
            color = callback->GetItemTextColor(this, m_iIndex, column, state);
        } else {
            LPCWSTR own = GetText(column);
            text = own != nullptr ? own : L"";
            color = GetTextColor(column);
            if (hot)
                color = info.hotTextColor;
            if (m_bSelected)
                color = info.selectedTextColor;
            if (!IsEnabled())
                color = info.disabledTextColor;
        }
        if (info.showHtml) {
            // Never more links than slots are left.
            int links = kMaxLinks - m_nLinks;
            CUIRender::DrawHtmlText(hDC, m_pManager, cell, text, color, &m_rcLinks[m_nLinks], &m_sLinks[m_nLinks],
                                    links, info.font, info.textStyle);
            m_nLinks += links;
        } else {
            CUIRender::DrawText(hDC, m_pManager, cell, text, color, info.font, info.textStyle);
        }
    }
    for (int i = m_nLinks; i < kMaxLinks; ++i) {
        ::SetRectEmpty(&m_rcLinks[i]);
        m_sLinks[i].Empty();
    }
}

} // namespace ZvUI

// A column header of the extended list: holds controls, resizes by its separator, carries a check box.
#include "listex/ListContainerHeaderItemUI.h"

#include <cwchar>

#include "control/ButtonUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

using list_support::Is;
using list_support::IsTrue;

CListContainerHeaderItemUI::CListContainerHeaderItemUI()
{
    SetMinWidth(16);
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

UINT CListContainerHeaderItemUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepWidth != 0 ? ControlFlagSetCursor : 0;
}

void CListContainerHeaderItemUI::SetCheck(bool checked)
{
    if (m_checkBox.SetChecked(checked))
        Invalidate();
}

void CListContainerHeaderItemUI::SetDragable(bool dragable)
{
    m_bDragable = dragable;
    if (!dragable)
        m_uButtonState &= ~ButtonStateCaptured;
}

void CListContainerHeaderItemUI::SetTextPadding(RECT padding)
{
    m_rcTextPadding = padding;
    Invalidate();
}

void CListContainerHeaderItemUI::SetShowHtml(bool showHtml)
{
    if (m_bShowHtml == showHtml)
        return;
    m_bShowHtml = showHtml;
    Invalidate();
}

void CListContainerHeaderItemUI::SetImage(CUIString& image, LPCWSTR descriptor)
{
    image = descriptor;
    Invalidate();
}

// --- geometry ---

RECT CListContainerHeaderItemUI::GetThumbRect() const
{
    const int width = ScaleValue(m_iSepWidth);
    if (width < 0)
        return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left - width, m_rcItem.bottom};
    return RECT{m_rcItem.right - width, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
}

RECT CListContainerHeaderItemUI::GetThumbHitRect() const
{
    // The slack is scaled like the separator it widens, so the press lands where it is drawn.
    RECT rc = GetThumbRect();
    const int slack = ScaleValue(4);
    if (m_iSepWidth < 0)
        rc.right += slack;
    else
        rc.left -= slack;
    return rc;
}

RECT CListContainerHeaderItemUI::GetCheckBoxRect() const
{
    return m_checkBox.GetRect(*this, m_rcItem);
}

// --- events ---

void CListContainerHeaderItemUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    if (m_bCheckable && m_checkBox.HandleEvent(*this, event, GetCheckBoxRect()) && m_pParent != nullptr &&
        m_pManager != nullptr) {
        auto* header = static_cast<IContainerUI*>(m_pParent->GetInterface(L"IContainer"));
        const int index = header != nullptr ? header->GetItemIndex(this) : -1;
        m_pManager->RaiseNotify(this, L"listheaditemchecked", static_cast<WPARAM>(index),
                                m_checkBox.IsChecked() ? 1 : 0);
    }
    const RECT thumb = GetThumbHitRect();
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus:
        Invalidate();
        return;
    case EventButtonDown:
    case EventDoubleClick:
        if (!IsEnabled())
            return;
        if (!::PtInRect(&thumb, event.mousePoint)) {
            m_uButtonState |= ButtonStatePushed;
            if (m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"listheaderclick");
            Invalidate();
        } else if (m_bDragable) {
            m_uButtonState |= ButtonStateCaptured;
            m_ptLastMouse = event.mousePoint;
        }
        return;
    case EventButtonUp:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            m_uButtonState &= ~ButtonStateCaptured;
            if (m_pParent != nullptr)
                m_pParent->NeedParentUpdate();
        } else if ((m_uButtonState & ButtonStatePushed) != 0) {
            m_uButtonState &= ~ButtonStatePushed;
            Invalidate();
        }
        return;
    case EventMouseMove:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            RECT rc = m_rcItem;
            const int dx = event.mousePoint.x - m_ptLastMouse.x;
            if (m_iSepWidth >= 0)
                rc.right += dx;
            else
                rc.left += dx;
            // The header lays an item out as its width plus its right padding; only the width is
            // the item's own, or each drag step would add the padding again.
            const int width = rc.right - rc.left - GetPadding().right;
            if (GetMinWidth() < width) {
                const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
                SetFixedWidth(scale > 0 ? ::MulDiv(width, 100, scale) : width);
                m_ptLastMouse = event.mousePoint;
                // Moves that come before the next layout build on this edge, not the old one.
                m_rcItem = rc;
                if (m_pParent != nullptr)
                    m_pParent->NeedParentUpdate();
            }
        }
        return;
    case EventSetCursor:
        if (IsEnabled() && m_bDragable && ::PtInRect(&thumb, event.mousePoint)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    case EventMouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= ButtonStateHot;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState &= ~ButtonStateHot;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

// --- attributes ---

void CListContainerHeaderItemUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (m_checkBox.SetAttribute(name, value))
        return;
    if (Is(name, L"dragable")) {
        SetDragable(IsTrue(value));
    } else if (Is(name, L"sepwidth")) {
        SetSepWidth(_wtoi(value));
    } else if (Is(name, L"align")) {
        m_uTextStyle = list_support::ApplyHorizontalAlign(m_uTextStyle, value);
    } else if (Is(name, L"endellipsis")) {
        m_uTextStyle = IsTrue(value) ? (m_uTextStyle | DT_END_ELLIPSIS) : (m_uTextStyle & ~DT_END_ELLIPSIS);
    } else if (Is(name, L"font")) {
        SetFont(_wtoi(value));
    } else if (Is(name, L"textcolor")) {
        SetTextColor(list_support::ParseColor(value));
    } else if (Is(name, L"textpadding")) {
        SetTextPadding(list_support::ParseRect(value));
    } else if (Is(name, L"showhtml")) {
        SetShowHtml(IsTrue(value));
    } else if (Is(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, L"hotimage")) {
        SetHotImage(value);
    } else if (Is(name, L"pushedimage")) {
        SetPushedImage(value);
    } else if (Is(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, L"sepimage")) {
        SetSepImage(value);
    } else if (Is(name, L"editable")) {
        SetColumnEditable(IsTrue(value));
    } else if (Is(name, L"comboable")) {
        SetColumnComboable(IsTrue(value));
    } else if (Is(name, L"checkable")) {
        SetColumnCheckable(IsTrue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
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
    m_uButtonState = IsFocused() ? (m_uButtonState | ButtonStateFocused) : (m_uButtonState & ~ButtonStateFocused);
    const auto drawOver = [this, hDC](const CUIString& image) {
        if (image.IsEmpty())
            DrawImage(hDC, m_sNormalImage.GetData());
        else
            DrawImage(hDC, image.GetData());
    };
    if ((m_uButtonState & ButtonStatePushed) != 0)
        drawOver(m_sPushedImage);
    else if ((m_uButtonState & ButtonStateHot) != 0)
        drawOver(m_sHotImage);
    else if ((m_uButtonState & ButtonStateFocused) != 0)
        drawOver(m_sFocusedImage);
    else if (!m_sNormalImage.IsEmpty())
        DrawImage(hDC, m_sNormalImage.GetData());

    if (!m_sSepImage.IsEmpty()) {
        const RECT thumb = GetThumbRect();
        const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
        const auto unscale = [scale](int v) { return scale > 0 ? ::MulDiv(v, 100, scale) : v; };
        m_sSepImageModify.Format(L"dest='%d,%d,%d,%d'", unscale(thumb.left - m_rcItem.left),
                                 unscale(thumb.top - m_rcItem.top), unscale(thumb.right - m_rcItem.left),
                                 unscale(thumb.bottom - m_rcItem.top));
        DrawImage(hDC, m_sSepImage.GetData(), m_sSepImageModify.GetData());
    }
    if (m_bCheckable)
        m_checkBox.Paint(hDC, *this, GetCheckBoxRect());
}

void CListContainerHeaderItemUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    if (m_dwTextColor == 0)
        m_dwTextColor = m_pManager->GetTextColor();
    const RECT padding = ScaleRectValue(m_rcTextPadding);
    RECT rc = {m_rcItem.left + padding.left, m_rcItem.top + padding.top, m_rcItem.right - padding.right,
               m_rcItem.bottom - padding.bottom};
    if (m_bCheckable)
        rc.left += m_checkBox.GetScaledWidth(*this);
    if (m_sText.IsEmpty())
        return;
    if (m_bShowHtml) {
        int links = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, m_sText, m_dwTextColor, nullptr, nullptr, links, m_iFont,
                                m_uTextStyle | DT_SINGLELINE);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, m_sText, m_dwTextColor, m_iFont, m_uTextStyle | DT_SINGLELINE);
    }
}

} // namespace ZvUI

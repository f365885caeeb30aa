// List header item: state looks, "headerclick", and resizing by dragging the separator.
#include "list/ListHeaderItemUI.h"

#include <algorithm>
#include <cstdlib>

#include "control/ButtonUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

using list_support::Is;
using list_support::IsTrue;

namespace {

// How far into the item the separator's hit area reaches beyond what is drawn.
constexpr int kThumbSlack = 4;

} // namespace

CListHeaderItemUI::CListHeaderItemUI()
{
    SetMinWidth(16);
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

UINT CListHeaderItemUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepWidth != 0 ? ControlFlagSetCursor : 0;
}

void CListHeaderItemUI::SetEnabled(bool enable)
{
    CContainerUI::SetEnabled(enable);
    if (!IsEnabled())
        m_uButtonState = 0;
}

void CListHeaderItemUI::SetDragable(bool dragable)
{
    m_bDragable = dragable;
    if (!m_bDragable)
        m_uButtonState &= ~ButtonStateCaptured;
}

void CListHeaderItemUI::SetTextPadding(RECT padding)
{
    m_rcTextPadding = padding;
    Invalidate();
}

void CListHeaderItemUI::SetShowHtml(bool showHtml)
{
    if (m_bShowHtml == showHtml)
        return;
    m_bShowHtml = showHtml;
    Invalidate();
}

void CListHeaderItemUI::SetImage(CUIString& field, LPCWSTR descriptor)
{
    field = descriptor != nullptr ? descriptor : L"";
    Invalidate();
}

void CListHeaderItemUI::SetNormalImage(LPCWSTR descriptor)
{
    SetImage(m_sNormalImage, descriptor);
}

void CListHeaderItemUI::SetHotImage(LPCWSTR descriptor)
{
    SetImage(m_sHotImage, descriptor);
}

void CListHeaderItemUI::SetPushedImage(LPCWSTR descriptor)
{
    SetImage(m_sPushedImage, descriptor);
}

void CListHeaderItemUI::SetFocusedImage(LPCWSTR descriptor)
{
    SetImage(m_sFocusedImage, descriptor);
}

void CListHeaderItemUI::SetSepImage(LPCWSTR descriptor)
{
    SetImage(m_sSepImage, descriptor);
}

RECT CListHeaderItemUI::GetThumbRect(bool forHitTest) const
{
    // The separator is drawn and hit-tested at the window's scale, like everything around it.
    const int width = list_support::Scale(*this, std::abs(m_iSepWidth));
    const int slack = forHitTest ? list_support::Scale(*this, kThumbSlack) : 0;
    if (m_iSepWidth > 0)
        return RECT{m_rcItem.right - width - slack, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    if (m_iSepWidth < 0)
        return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left + width + slack, m_rcItem.bottom};
    return RECT{0, 0, 0, 0};
}

// --- events ---

void CListHeaderItemUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    const RECT thumb = GetThumbRect(true);
    const bool onThumb = ::PtInRect(&thumb, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus:
        Invalidate();
        break;
    case EventButtonDown:
    case EventDoubleClick:
        if (!IsEnabled())
            return;
        if (onThumb) {
            if (m_bDragable) {
                m_uButtonState |= ButtonStateCaptured;
                m_ptLastMouse = event.mousePoint;
            }
        } else {
            m_uButtonState |= ButtonStatePushed;
            if (m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"headerclick", 0, 0);
            Invalidate();
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
            if (m_iSepWidth >= 0)
                rc.right -= m_ptLastMouse.x - event.mousePoint.x;
            else
                rc.left -= m_ptLastMouse.x - event.mousePoint.x;
            // The header lays an item out as its width plus its right padding; only the width is
            // the item's own, or each drag step would add the padding again.
            const int width = rc.right - rc.left - GetPadding().right;
            if (width > GetMinWidth()) {
                // The fixed width is kept at 96 dpi, like every length of the skin.
                const int stored = m_pManager != nullptr ? m_pManager->GetDpiHelper()->Unscale(width) : width;
                m_cxyFixed.cx = stored;
                m_ptLastMouse = event.mousePoint;
                // Moves that come before the next layout build on this edge, not the old one.
                m_rcItem = rc;
                if (m_pParent != nullptr)
                    m_pParent->NeedParentUpdate();
            }
        }
        return;
    case EventSetCursor:
        if (IsEnabled() && m_bDragable && onThumb) {
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

SIZE CListHeaderItemUI::EstimateSize(SIZE available)
{
    if (GetFixedHeight() != 0 || m_pManager == nullptr)
        return CContainerUI::EstimateSize(available);
    return SIZE{GetFixedWidth(), m_pManager->GetDefaultFontInfo()->metrics.tmHeight + list_support::Scale(*this, 14)};
}

void CListHeaderItemUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (value == nullptr)
        value = L"";
    if (Is(name, L"dragable"))
        SetDragable(IsTrue(value));
    else if (Is(name, L"sepwidth"))
        SetSepWidth(_wtoi(value));
    else if (Is(name, L"align"))
        m_uTextStyle = list_support::ApplyHorizontalAlign(m_uTextStyle, value);
    else if (Is(name, L"endellipsis"))
        m_uTextStyle = IsTrue(value) ? (m_uTextStyle | DT_END_ELLIPSIS) : (m_uTextStyle & ~DT_END_ELLIPSIS);
    else if (Is(name, L"font"))
        SetFont(_wtoi(value));
    else if (Is(name, L"textcolor"))
        SetTextColor(list_support::ParseColor(value));
    else if (Is(name, L"textpadding"))
        SetTextPadding(list_support::ParseRect(value));
    else if (Is(name, L"showhtml"))
        SetShowHtml(IsTrue(value));
    else if (Is(name, L"normalimage"))
        SetNormalImage(value);
    else if (Is(name, L"hotimage"))
        SetHotImage(value);
    else if (Is(name, L"pushedimage"))
        SetPushedImage(value);
    else if (Is(name, L"focusedimage"))
        SetFocusedImage(value);
    else if (Is(name, L"sepimage"))
        SetSepImage(value);
    else if (Is(name, L"scale"))
        SetScale(_wtoi(value));
    else
        CContainerUI::SetAttribute(name, value);
}

// --- painting ---

void CListHeaderItemUI::PaintStatusImage(HDC hDC)
{
    if (IsFocused())
        m_uButtonState |= ButtonStateFocused;
    else
        m_uButtonState &= ~ButtonStateFocused;

    const auto drawState = [&](const CUIString& image) {
        if (image.IsEmpty())
            DrawImage(hDC, m_sNormalImage);
        else
            DrawImage(hDC, image);
    };
    if ((m_uButtonState & ButtonStatePushed) != 0)
        drawState(m_sPushedImage);
    else if ((m_uButtonState & ButtonStateHot) != 0)
        drawState(m_sHotImage);
    else if ((m_uButtonState & ButtonStateFocused) != 0)
        drawState(m_sFocusedImage);
    else if (!m_sNormalImage.IsEmpty())
        DrawImage(hDC, m_sNormalImage);

    if (m_sSepImage.IsEmpty())
        return;
    RECT thumb = GetThumbRect(false);
    ::OffsetRect(&thumb, -m_rcItem.left, -m_rcItem.top);
    // The descriptor's dest is read at 96 dpi and scaled again when drawn.
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->UnscaleRect(thumb);
    m_sSepImageModify.Format(L"dest='%d,%d,%d,%d'", static_cast<int>(thumb.left), static_cast<int>(thumb.top),
                             static_cast<int>(thumb.right), static_cast<int>(thumb.bottom));
    DrawImage(hDC, m_sSepImage, m_sSepImageModify);
}

void CListHeaderItemUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    if (m_dwTextColor == 0)
        m_dwTextColor = m_pManager->GetTextColor();
    if (m_sText.IsEmpty())
        return;
    const RECT padding = list_support::ScaleRect(*this, m_rcTextPadding);
    RECT rc = {m_rcItem.left + padding.left, m_rcItem.top + padding.top, m_rcItem.right - padding.right,
               m_rcItem.bottom - padding.bottom};
    if (m_bShowHtml) {
        int links = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, m_sText, m_dwTextColor, nullptr, nullptr, links, m_iFont,
                                m_uTextStyle);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, m_sText, m_dwTextColor, m_iFont, m_uTextStyle);
    }
}

} // namespace ZvUI

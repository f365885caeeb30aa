// Column header items: separator drag, state looks and caption, for both kinds of header item.
#include "list/HeaderItemBase.h"

#include <cstdlib>

#include "control/ButtonUI.h"
#include "layout/ContainerUI.h"
#include "layout/HorizontalLayoutUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIEvents.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

// How far into the item the separator's hit area reaches beyond what is drawn.
constexpr int kThumbSlack = 4;

} // namespace

template <class Base>
CHeaderItemBase<Base>::CHeaderItemBase(LPCWSTR clickNotification, bool zeroIsNone)
    : m_pszClickNotification(clickNotification), m_bZeroIsNone(zeroIsNone)
{
    this->SetMinWidth(16);
}

template <class Base>
UINT CHeaderItemBase<Base>::GetControlFlags() const
{
    return this->IsEnabled() && m_iSepWidth != 0 ? ControlFlagSetCursor : 0;
}

template <class Base>
void CHeaderItemBase<Base>::SetDragable(bool dragable)
{
    m_bDragable = dragable;
    if (!m_bDragable)
        m_uButtonState &= ~ButtonStateCaptured;
}

template <class Base>
void CHeaderItemBase<Base>::SetTextPadding(RECT padding)
{
    m_rcTextPadding = padding;
    this->Invalidate();
}

template <class Base>
void CHeaderItemBase<Base>::SetShowHtml(bool showHtml)
{
    if (m_bShowHtml == showHtml)
        return;
    m_bShowHtml = showHtml;
    this->Invalidate();
}

template <class Base>
void CHeaderItemBase<Base>::SetImage(CUIString& field, LPCWSTR descriptor)
{
    field = descriptor != nullptr ? descriptor : L"";
    this->Invalidate();
}

template <class Base>
RECT CHeaderItemBase<Base>::SeparatorRect(bool forHitTest) const
{
    // Drawn and hit-tested at the window's scale, like everything around it.
    const RECT& item = this->m_rcItem;
    const int width = list_support::Scale(*this, std::abs(m_iSepWidth));
    const int slack = forHitTest ? list_support::Scale(*this, kThumbSlack) : 0;
    if (m_iSepWidth > 0)
        return RECT{item.right - width - slack, item.top, item.right, item.bottom};
    if (m_iSepWidth < 0)
        return RECT{item.left, item.top, item.left + width + slack, item.bottom};
    if (m_bZeroIsNone)
        return RECT{0, 0, 0, 0};
    return RECT{item.right - slack, item.top, item.right, item.bottom};
}

template <class Base>
bool CHeaderItemBase<Base>::SetHeaderAttribute(LPCWSTR name, LPCWSTR value)
{
    using list_support::Is;
    using list_support::IsTrue;
    if (value == nullptr)
        value = L"";
    if (Is(name, L"dragable"))
        SetDragable(IsTrue(value));
    else if (Is(name, L"sepwidth"))
        SetSepWidth(attr::ParseInt(value));
    else if (Is(name, L"align"))
        m_uTextStyle = list_support::ApplyHorizontalAlign(m_uTextStyle, value);
    else if (Is(name, L"endellipsis"))
        m_uTextStyle = IsTrue(value) ? (m_uTextStyle | DT_END_ELLIPSIS) : (m_uTextStyle & ~DT_END_ELLIPSIS);
    else if (Is(name, L"font"))
        SetFont(attr::ParseInt(value));
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
    else
        return false;
    return true;
}

template <class Base>
bool CHeaderItemBase<Base>::HandleHeaderEvent(UIControlEvent& event)
{
    CControlUI* parent = this->m_pParent;
    CPaintManagerUI* manager = this->m_pManager;
    if (HandOverMouseEvent<CContainerUI>(*this, event))
        return true;
    // Disabled in the middle of a press or a drag: the press ends there and nothing moves.
    if (!this->IsEnabled() && (event.type == EventButtonUp || event.type == EventMouseMove)) {
        m_uButtonState &= ~(ButtonStateCaptured | ButtonStatePushed);
        return true;
    }
    const RECT thumb = SeparatorRect(true);
    const bool onThumb = ::PtInRect(&thumb, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (!this->IsEnabled())
            return true;
        if (onThumb) {
            if (m_bDragable) {
                m_uButtonState |= ButtonStateCaptured;
                m_ptLastMouse = event.mousePoint;
            }
        } else {
            m_uButtonState |= ButtonStatePushed;
            if (manager != nullptr)
                manager->RaiseNotify(this, m_pszClickNotification, 0, 0);
            this->Invalidate();
        }
        return true;
    case EventButtonUp:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            m_uButtonState &= ~ButtonStateCaptured;
            if (parent != nullptr)
                parent->NeedParentUpdate();
        } else if ((m_uButtonState & ButtonStatePushed) != 0) {
            m_uButtonState &= ~ButtonStatePushed;
            this->Invalidate();
        }
        return true;
    case EventMouseMove:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            RECT rc = this->m_rcItem;
            const int dx = event.mousePoint.x - m_ptLastMouse.x;
            if (m_iSepWidth >= 0)
                rc.right += dx;
            else
                rc.left += dx;
            // The header lays an item out as its width plus its right padding; only the width is
            // the item's own, or each drag step would add the padding again.
            const int width = rc.right - rc.left - this->GetPadding().right;
            if (width > this->GetMinWidth()) {
                // The fixed width is kept at 96 dpi, like every length of the skin.
                this->m_cxyFixed.cx = manager != nullptr ? manager->GetDpiHelper()->Unscale(width) : width;
                m_ptLastMouse = event.mousePoint;
                // Moves that come before the next layout build on this edge, not the old one.
                this->m_rcItem = rc;
                if (parent != nullptr)
                    parent->NeedParentUpdate();
            }
        }
        return true;
    case EventSetCursor:
        if (this->IsEnabled() && m_bDragable && onThumb) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return true;
        }
        return false;
    case EventMouseEnter:
    case EventMouseLeave:
        if (this->IsEnabled()) {
            if (event.type == EventMouseEnter)
                m_uButtonState |= ButtonStateHot;
            else
                m_uButtonState &= ~ButtonStateHot;
            this->Invalidate();
        }
        return true;
    default:
        return false;
    }
}

template <class Base>
void CHeaderItemBase<Base>::PaintHeaderStatus(HDC hDC)
{
    if (this->IsFocused())
        m_uButtonState |= ButtonStateFocused;
    else
        m_uButtonState &= ~ButtonStateFocused;
    // A state without its own image shows the normal one.
    const auto drawState = [&](const CUIString& image) {
        this->DrawImage(hDC, image.IsEmpty() ? m_sNormalImage : image);
    };
    if ((m_uButtonState & ButtonStatePushed) != 0)
        drawState(m_sPushedImage);
    else if ((m_uButtonState & ButtonStateHot) != 0)
        drawState(m_sHotImage);
    else if ((m_uButtonState & ButtonStateFocused) != 0)
        drawState(m_sFocusedImage);
    else if (!m_sNormalImage.IsEmpty())
        this->DrawImage(hDC, m_sNormalImage);

    if (m_sSepImage.IsEmpty())
        return;
    RECT thumb = SeparatorRect(false);
    ::OffsetRect(&thumb, -this->m_rcItem.left, -this->m_rcItem.top);
    // The descriptor's dest is read at 96 dpi and scaled again when drawn.
    if (this->m_pManager != nullptr)
        this->m_pManager->GetDpiHelper()->UnscaleRect(thumb);
    m_sSepImageModify.Format(L"dest='%d,%d,%d,%d'", static_cast<int>(thumb.left), static_cast<int>(thumb.top),
                             static_cast<int>(thumb.right), static_cast<int>(thumb.bottom));
    this->DrawImage(hDC, m_sSepImage, m_sSepImageModify);
}

template <class Base>
void CHeaderItemBase<Base>::PaintHeaderText(HDC hDC, int leftInset, UINT extraStyle)
{
    CPaintManagerUI* manager = this->m_pManager;
    if (manager == nullptr)
        return;
    if (m_dwTextColor == 0)
        m_dwTextColor = manager->GetTextColor();
    const CUIString& text = this->m_sText;
    if (text.IsEmpty())
        return;
    const RECT padding = list_support::ScaleRect(*this, m_rcTextPadding);
    const RECT& item = this->m_rcItem;
    RECT rc = {item.left + padding.left + leftInset, item.top + padding.top, item.right - padding.right,
               item.bottom - padding.bottom};
    if (m_bShowHtml) {
        int links = 0;
        CUIRender::DrawHtmlText(hDC, manager, rc, text, m_dwTextColor, nullptr, nullptr, links, m_iFont,
                                m_uTextStyle | extraStyle);
    } else {
        CUIRender::DrawText(hDC, manager, rc, text, m_dwTextColor, m_iFont, m_uTextStyle | extraStyle);
    }
}

template class CHeaderItemBase<CContainerUI>;
template class CHeaderItemBase<CHorizontalLayoutUI>;

} // namespace ZvUI

// Text control: markup with clickable links, the hand cursor over them and the "link" notification.
#include "control/TextUI.h"

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

CTextUI::CTextUI()
{
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding = RECT{2, 0, 2, 0};
}

CTextUI::~CTextUI() = default;

LPCWSTR CTextUI::GetClass() const
{
    return L"TextUI";
}

LPVOID CTextUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"Text") == 0)
        return static_cast<CTextUI*>(this);
    return CLabelUI::GetInterface(name);
}

UINT CTextUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? ControlFlagSetCursor : 0;
}

const CUIString* CTextUI::GetLinkContent(int n) const
{
    if (n < 0 || n >= m_nLinks)
        return nullptr;
    return &m_sLinks[n];
}

RECT CTextUI::GetLinkRect(int n) const
{
    if (n < 0 || n >= m_nLinks)
        return RECT{0, 0, 0, 0};
    return m_rcLinks[n];
}

int CTextUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt))
            return i;
    }
    return -1;
}

void CTextUI::DoEvent(UIControlEvent& event)
{
    if (HandOverMouseEvent<CLabelUI>(*this, event))
        return;
    switch (event.type) {
    case EventSetCursor:
        if (LinkAt(event.mousePoint) >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled() && LinkAt(event.mousePoint) >= 0) {
            Invalidate();
            return;
        }
        break;
    case EventButtonUp:
        if (IsEnabled()) {
            const int link = LinkAt(event.mousePoint);
            if (link >= 0) {
                if (m_pManager != nullptr)
                    m_pManager->RaiseNotify(this, L"link", static_cast<WPARAM>(link), 0);
                return;
            }
        }
        break;
    case EventContextMenu:
        return;
    case EventMouseMove:
        if (m_nLinks > 0 && IsEnabled()) {
            const int link = LinkAt(event.mousePoint);
            if (link != m_nHoverLink) {
                m_nHoverLink = link;
                Invalidate();
                return;
            }
        }
        break;
    case EventMouseLeave:
        if (m_nLinks > 0 && IsEnabled() && m_nHoverLink != -1) {
            m_nHoverLink = -1;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE available)
{
    if (m_pManager != nullptr) {
        const RECT padding = GetTextPadding();
        const int width = m_bAutoCalcWidth ? 9999 : GetFixedWidth();
        const RECT rc = MeasureIn(RECT{padding.left, 0, width - padding.right, 9999}, GetText(), m_uTextStyle);
        if (m_bAutoCalcWidth) {
            const int measured = (rc.right - rc.left) + padding.left + padding.right;
            m_cxyFixed.cx = ::MulDiv(measured, 100, m_pManager->GetDpiHelper()->GetScale());
        }
    }
    return CControlUI::EstimateSize(available);
}

void CTextUI::PaintText(HDC hDC)
{
    const CUIString text = GetText();
    if (text.IsEmpty() || m_pManager == nullptr) {
        m_nLinks = 0;
        return;
    }
    TakeDefaultColors();
    // The padding is scaled as in the estimate, so text wraps where it was measured.
    RECT rc = GetTextRect();
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml) {
        m_nLinks = kMaxLinks;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, text, color, m_rcLinks, m_sLinks, m_nLinks, m_iFont,
                                m_uTextStyle);
        // Entries past the links found must not answer hit tests with last paint's places.
        for (int i = m_nLinks; i < kMaxLinks; ++i) {
            m_rcLinks[i] = RECT{0, 0, 0, 0};
            m_sLinks[i].Empty();
        }
    } else {
        m_nLinks = 0;
        CUIRender::DrawText(hDC, m_pManager, rc, text, color, m_iFont, m_uTextStyle);
    }
    if (m_nHoverLink >= m_nLinks)
        m_nHoverLink = -1;
}

} // namespace ZvUI

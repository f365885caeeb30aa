// Label: text attributes, painting through the render engine and the size estimate.
#include "control/LabelUI.h"

#include <cwchar>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIResources.h"
#include "render/UIRender.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using attr::Is;
using attr::ParseColor;
using attr::IsTrue;
using attr::ParseRect;

namespace {

// The window's DC, or the screen's before a window is attached (the same fonts measure alike).
class MeasureDC {
public:
    explicit MeasureDC(HDC window) : m_hDC(window)
    {
        if (m_hDC == nullptr) {
            m_hDC = ::GetDC(nullptr);
            m_screen = true;
        }
    }
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    ~MeasureDC()
    {
        if (m_screen)
            ::ReleaseDC(nullptr, m_hDC);
    }
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
    bool m_screen = false;
};

} // namespace

CLabelUI::CLabelUI() = default;

CLabelUI::~CLabelUI() = default;

LPCWSTR CLabelUI::GetClass() const
{
    return L"LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"Label") == 0)
        return static_cast<CLabelUI*>(this);
    return CControlUI::GetInterface(name);
}

UINT CLabelUI::GetControlFlags() const
{
    return IsEnabled() ? ControlFlagSetCursor : 0;
}

void CLabelUI::SetText(LPCWSTR text)
{
    CControlUI::SetText(text);
    m_bNeedEstimateSize = true;
    if (m_bAutoCalcWidth || m_bAutoCalcHeight)
        NeedParentUpdate();
}

void CLabelUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventSetFocus) {
        m_bFocused = true;
        return;
    }
    if (event.type == EventKillFocus) {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

// --- accessors ---

bool CLabelUI::GetAutoCalcWidth() const
{
    return m_bAutoCalcWidth;
}

void CLabelUI::SetAutoCalcWidth(bool autoCalc)
{
    m_bAutoCalcWidth = autoCalc;
}

bool CLabelUI::GetAutoCalcHeight() const
{
    return m_bAutoCalcHeight;
}

void CLabelUI::SetAutoCalcHeight(bool autoCalc)
{
    m_bAutoCalcHeight = autoCalc;
}

void CLabelUI::SetTextColor(DWORD color)
{
    m_dwTextColor = color;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD color)
{
    m_dwDisabledTextColor = color;
    Invalidate();
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    m_bNeedEstimateSize = true;
    Invalidate();
}

void CLabelUI::SetTextStyle(UINT style)
{
    m_uTextStyle = style;
    Invalidate();
}

RECT CLabelUI::GetTextPadding() const
{
    return ScaleRectValue(m_rcTextPadding);
}

void CLabelUI::SetTextPadding(int left, int top, int right, int bottom)
{
    m_rcTextPadding = RECT{left, top, right, bottom};
    m_bNeedEstimateSize = true;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool showHtml)
{
    if (m_bShowHtml == showHtml)
        return;
    m_bShowHtml = showHtml;
    m_bNeedEstimateSize = true;
    Invalidate();
}

// --- attributes ---

void CLabelUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"align")) {
        if (wcsstr(value, L"left") != nullptr)
            m_uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        if (wcsstr(value, L"center") != nullptr) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (wcsstr(value, L"right") != nullptr) {
            m_uTextStyle &= ~DT_CENTER;
            m_uTextStyle |= DT_RIGHT;
        }
    } else if (Is(name, L"valign")) {
        if (wcsstr(value, L"top") != nullptr) {
            m_uTextStyle &= ~(DT_VCENTER | DT_BOTTOM | DT_WORDBREAK);
            m_uTextStyle |= DT_TOP | DT_SINGLELINE;
        }
        if (wcsstr(value, L"vcenter") != nullptr) {
            m_uTextStyle &= ~(DT_BOTTOM | DT_WORDBREAK);
            m_uTextStyle |= DT_VCENTER | DT_SINGLELINE;
        }
        if (wcsstr(value, L"bottom") != nullptr) {
            m_uTextStyle &= ~(DT_VCENTER | DT_WORDBREAK);
            m_uTextStyle |= DT_BOTTOM | DT_SINGLELINE;
        }
    } else if (Is(name, L"endellipsis")) {
        if (IsTrue(value))
            m_uTextStyle |= DT_END_ELLIPSIS;
        else
            m_uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (Is(name, L"wordbreak")) {
        if (IsTrue(value)) {
            m_uTextStyle &= ~DT_SINGLELINE;
            m_uTextStyle |= DT_WORDBREAK | DT_EDITCONTROL;
        } else {
            m_uTextStyle &= ~(DT_WORDBREAK | DT_EDITCONTROL);
            m_uTextStyle |= DT_SINGLELINE;
        }
    } else if (Is(name, L"noprefix")) {
        if (IsTrue(value))
            m_uTextStyle |= DT_NOPREFIX;
        else
            m_uTextStyle &= ~DT_NOPREFIX;
    } else if (Is(name, L"font")) {
        SetFont(_wtoi(value));
    } else if (Is(name, L"textcolor")) {
        SetTextColor(ParseColor(value));
    } else if (Is(name, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseColor(value));
    } else if (Is(name, L"textpadding")) {
        const RECT rc = ParseRect(value);
        SetTextPadding(rc.left, rc.top, rc.right, rc.bottom);
    } else if (Is(name, L"showhtml")) {
        SetShowHtml(IsTrue(value));
    } else if (Is(name, L"autocalcwidth")) {
        SetAutoCalcWidth(IsTrue(value));
    } else if (Is(name, L"autocalcheight")) {
        SetAutoCalcHeight(IsTrue(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

// --- size ---

RECT CLabelUI::MeasureIn(RECT rc, LPCWSTR text, UINT style)
{
    MeasureDC dc(m_pManager->GetWindowDC());
    if (m_bShowHtml) {
        int none = 0;
        CUIRender::DrawHtmlText(dc.Get(), m_pManager, rc, text, 0, nullptr, nullptr, none, m_iFont,
                                style | DT_CALCRECT);
    } else {
        CUIRender::DrawText(dc.Get(), m_pManager, rc, text, 0, m_iFont, style | DT_CALCRECT);
    }
    return rc;
}

SIZE CLabelUI::EstimateSize(SIZE available)
{
    if (m_pManager == nullptr)
        return SIZE{0, 0};
    if (m_cxyFixed.cx >= 1 && m_cxyFixed.cy >= 1)
        return GetFixedSize();
    if (available.cx != m_szAvailableLast.cx || available.cy != m_szAvailableLast.cy)
        m_bNeedEstimateSize = true;
    if (!m_bNeedEstimateSize)
        return m_cxyFixedLast;

    m_bNeedEstimateSize = false;
    m_szAvailableLast = available;
    const CUIString text = GetText();
    SIZE size = GetFixedSize();
    const RECT padding = GetTextPadding();
    if ((m_uTextStyle & DT_SINGLELINE) != 0) {
        if (size.cy == 0)
            size.cy = m_pManager->GetFontInfo(m_iFont)->metrics.tmHeight + ScaleValue(8) + padding.top + padding.bottom;
        if (size.cx == 0 && m_bAutoCalcWidth) {
            const RECT rc = MeasureIn(RECT{0, 0, 9999, size.cy}, text, m_uTextStyle & ~(DT_CENTER | DT_RIGHT));
            size.cx = (rc.right - rc.left) +
                      m_pManager->GetDpiHelper()->Scale(m_rcTextPadding.left + m_rcTextPadding.right);
        }
    } else if (size.cy == 0 && m_bAutoCalcHeight) {
        // Without a fixed width the text wraps at the width on offer.
        const int width = size.cx > 0 ? size.cx : available.cx;
        const RECT rc = MeasureIn(RECT{padding.left, 0, width - padding.right, 9999}, text, m_uTextStyle);
        size.cy = (rc.bottom - rc.top) + padding.top + padding.bottom;
    }
    m_cxyFixedLast = size;
    return size;
}

// --- painting ---

void CLabelUI::TakeDefaultColors()
{
    if (m_pManager == nullptr)
        return;
    if (m_dwTextColor == 0)
        m_dwTextColor = m_pManager->GetTextColor();
    if (m_dwDisabledTextColor == 0)
        m_dwDisabledTextColor = m_pManager->GetDisabledColor();
}

RECT CLabelUI::GetTextRect() const
{
    RECT rc = m_rcItem;
    const RECT padding = GetTextPadding();
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right;
    rc.bottom -= padding.bottom;
    return rc;
}

void CLabelUI::DrawTextIn(HDC hDC, const CUIString& text, DWORD color, int font)
{
    RECT rc = GetTextRect();
    if (m_bShowHtml) {
        int none = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, text, color, nullptr, nullptr, none, font, m_uTextStyle);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, text, color, font, m_uTextStyle);
    }
}

void CLabelUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    TakeDefaultColors();
    const CUIString text = GetText();
    if (text.IsEmpty())
        return;
    DrawTextIn(hDC, text, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont);
}

} // namespace ZvUI

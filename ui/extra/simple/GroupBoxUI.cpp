// Group box: the outline inset from the rectangle and the caption painted over it.
#include "simple/GroupBoxUI.h"

#include <algorithm>
#include <cwchar>

#include "utils/UIAttributeValues.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

// At 96 dpi: the outline's inset, the caption's distance from the left edge, its measuring height.
constexpr int kOutlineInset = 5;
constexpr int kCaptionIndent = 20;
constexpr int kCaptionHeight = 20;

} // namespace

using attr::Is;
using attr::ParseColor;

CGroupBoxUI::CGroupBoxUI()
{
    SetInset(20, 25, 20, 20);
}

CGroupBoxUI::~CGroupBoxUI() = default;

LPCWSTR CGroupBoxUI::GetClass() const
{
    return L"GroupBoxUI";
}

LPVOID CGroupBoxUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && Is(name, L"GroupBox"))
        return static_cast<CGroupBoxUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

void CGroupBoxUI::SetTextColor(DWORD color)
{
    m_dwTextColor = color;
    Invalidate();
}

void CGroupBoxUI::SetDisabledTextColor(DWORD color)
{
    m_dwDisabledTextColor = color;
    Invalidate();
}

void CGroupBoxUI::SetFont(int font)
{
    m_iFont = font;
    Invalidate();
}

void CGroupBoxUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"textcolor"))
        SetTextColor(ParseColor(value));
    else if (Is(name, L"disabledtextcolor"))
        SetDisabledTextColor(ParseColor(value));
    else if (Is(name, L"font"))
        SetFont(_wtoi(value));
    // Every attribute, these three included, also goes to the layout.
    CVerticalLayoutUI::SetAttribute(name, value);
}

RECT CGroupBoxUI::GetCaptionRect()
{
    const CUIString text = GetText();
    if (text.IsEmpty() || m_pManager == nullptr)
        return RECT{0, 0, 0, 0};
    const int inset = ScaleValue(kOutlineInset);
    const int width = (m_rcItem.right - m_rcItem.left) - 2 * inset;
    RECT measure = {0, 0, std::max<int>(width, GetFixedXY().cx), ScaleValue(kCaptionHeight)};
    CUIRender::DrawText(m_pManager->GetWindowDC(), m_pManager, measure, text, 0, m_iFont, m_uTextStyle | DT_CALCRECT);
    const int left = m_rcItem.left + ScaleValue(kCaptionIndent);
    return RECT{left, m_rcItem.top, left + (measure.right - measure.left), m_rcItem.top + (measure.bottom - measure.top)};
}

void CGroupBoxUI::PaintText(HDC hDC)
{
    const CUIString text = GetText();
    if (text.IsEmpty() || m_pManager == nullptr)
        return;
    if (m_dwTextColor == 0)
        m_dwTextColor = m_pManager->GetTextColor();
    if (m_dwDisabledTextColor == 0)
        m_dwDisabledTextColor = m_pManager->GetDisabledColor();
    RECT caption = GetCaptionRect();
    // The caption's own fill breaks the outline behind it.
    CUIRender::DrawTextWithBackground(hDC, m_pManager, caption, text,
                                      IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont,
                                      m_uTextStyle, GetAdjustColor(GetBkColor()));
}

void CGroupBoxUI::PaintBorder(HDC hDC)
{
    const int size = GetBorderSize();
    const SIZE round = GetBorderRound();
    if (size > 0) {
        RECT outline = m_rcItem;
        const int inset = ScaleValue(kOutlineInset);
        ::InflateRect(&outline, -inset, -inset);
        const DWORD color = IsFocused() && GetFocusBorderColor() != 0 ? GetFocusBorderColor() : GetBorderColor();
        if (round.cx > 0 || round.cy > 0)
            CUIRender::DrawRoundRect(hDC, outline, size, round.cx, round.cy, GetAdjustColor(color));
        else
            CUIRender::DrawRect(hDC, outline, size, GetAdjustColor(color));
    }
    // After the outline, so the caption always lies on top of it.
    PaintText(hDC);
}

} // namespace ZvUI

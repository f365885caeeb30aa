// Two-line option: the option's own text, then the second text in the look of the current state.
#include "option/OptionMultiLineUI.h"

#include <cwchar>

#include "utils/UIAttributeValues.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

using attr::Is;
using attr::ParseColor;

COptionMultiLineUI::COptionMultiLineUI() = default;

COptionMultiLineUI::~COptionMultiLineUI() = default;

LPCWSTR COptionMultiLineUI::GetClass() const
{
    return L"OptionMultiLineUI";
}

LPVOID COptionMultiLineUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && Is(name, L"OptionMultiLine"))
        return static_cast<COptionMultiLineUI*>(this);
    return COptionUI::GetInterface(name);
}

void COptionMultiLineUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"secondtext"))
        SetSecondText(value);
    else if (Is(name, L"secondtextfont"))
        SetSecondTextFont(_wtoi(value));
    else if (Is(name, L"secondtextpadding"))
        SetSecondTextPadding(attr::ParseRect(value));
    else if (Is(name, L"secondtextcolor"))
        SetSecondTextColor(ParseColor(value));
    else if (Is(name, L"secondhottextcolor"))
        SetSecondHotTextColor(ParseColor(value));
    else if (Is(name, L"secondpushedtextcolor"))
        SetSecondPushedTextColor(ParseColor(value));
    else if (Is(name, L"selectedsecondtextcolor"))
        SetSelectedSecondTextColor(ParseColor(value));
    else if (Is(name, L"selectedhotsecondtextcolor"))
        SetSelectedHotSecondTextColor(ParseColor(value));
    else if (Is(name, L"selectedpushedsecondtextcolor"))
        SetSelectedPushedSecondTextColor(ParseColor(value));
    else
        COptionUI::SetAttribute(name, value);
}

void COptionMultiLineUI::ChooseSecondLook(DWORD& color, int& font)
{
    if (IsSelected()) {
        DWORD textColor = m_dwTextColor;
        if ((m_uButtonState & ButtonStateSelected) != 0 && m_dwSelectedSecondTextColor != 0)
            textColor = m_dwSelectedSecondTextColor;
        if ((m_uButtonState & ButtonStatePushed) != 0 && !GetSelectedPushedImage().IsEmpty()) {
            if (m_dwSelectedPushedSecondTextColor != 0)
                textColor = m_dwSelectedPushedSecondTextColor;
        } else if ((m_uButtonState & ButtonStateHot) != 0 && !GetSelectedHotImage().IsEmpty()) {
            if (m_dwSelectedHotSecondTextColor != 0)
                textColor = m_dwSelectedHotSecondTextColor;
        }
        color = IsEnabled() ? textColor : m_dwDisabledTextColor;
        font = GetSelectedFont() != -1 ? GetSelectedFont() : m_iSecondTextFont;
        return;
    }

    UpdateFocusAndEnabledBits();
    color = IsEnabled() ? m_dwSecondTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & ButtonStatePushed) != 0 && m_dwSecondPushedTextColor != 0)
        color = m_dwSecondPushedTextColor;
    else if ((m_uButtonState & ButtonStateHot) != 0 && m_dwSecondHotTextColor != 0)
        color = m_dwSecondHotTextColor;
    else if ((m_uButtonState & ButtonStateFocused) != 0 && GetFocusedTextColor() != 0)
        color = m_dwSecondTextColor;

    font = m_iSecondTextFont;
    if ((m_uButtonState & ButtonStatePushed) != 0 && GetPushedFont() != -1)
        font = GetPushedFont();
    else if ((m_uButtonState & ButtonStateHot) != 0 && GetHotFont() != -1)
        font = GetHotFont();
    else if ((m_uButtonState & ButtonStateFocused) != 0 && GetFocusedFont() != -1)
        font = GetFocusedFont();
}

void COptionMultiLineUI::PaintText(HDC hDC)
{
    COptionUI::PaintText(hDC);
    if (m_sSecondText.IsEmpty() || m_pManager == nullptr)
        return;
    TakeDefaultColors();

    DWORD color = 0;
    int font = -1;
    ChooseSecondLook(color, font);

    RECT rc = m_rcItem;
    const RECT padding = ScaleRectValue(m_rcSecondTextPadding);
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right;
    rc.bottom -= padding.bottom;
    if (m_bShowHtml) {
        int none = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, m_sSecondText, color, nullptr, nullptr, none, font,
                                m_uTextStyle);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, m_sSecondText, color, font, m_uTextStyle);
    }
}

} // namespace ZvUI

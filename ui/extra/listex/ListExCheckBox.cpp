// The check box drawn inside an extended-list header item or row: its images, state and input.
#include "listex/ListExCheckBox.h"

#include <cwchar>

#include "control/ButtonUI.h"
#include "control/ControlUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "control/StateImages.h"

namespace ZvUI {

namespace {

int Unscale(const CControlUI& control, int value)
{
    CPaintManagerUI* manager = control.GetManager();
    const int scale = manager != nullptr ? manager->GetDpiHelper()->GetScale() : 100;
    return scale > 0 ? ::MulDiv(value, 100, scale) : value;
}

} // namespace

bool CListExCheckBox::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    using list_support::Is;
    if (Is(name, L"checkboxwidth"))
        m_nWidth = _wtoi(value);
    else if (Is(name, L"checkboxheight"))
        m_nHeight = _wtoi(value);
    else if (Is(name, L"checkboxnormalimage"))
        m_sNormal = value;
    else if (Is(name, L"checkboxhotimage"))
        m_sHot = value;
    else if (Is(name, L"checkboxpushedimage"))
        m_sPushed = value;
    else if (Is(name, L"checkboxfocusedimage"))
        m_sFocused = value;
    else if (Is(name, L"checkboxdisabledimage"))
        m_sDisabled = value;
    else if (Is(name, L"checkboxselectedimage"))
        m_sSelected = value;
    else if (Is(name, L"checkboxforeimage"))
        m_sFore = value;
    else
        return false;
    return true;
}

int CListExCheckBox::GetScaledWidth(const CControlUI& control) const
{
    return list_support::Scale(control, m_nWidth);
}

RECT CListExCheckBox::GetRect(const CControlUI& control, const RECT& rcItem) const
{
    // Header and rows share one offset and one size, so the boxes line up at every DPI.
    const int width = list_support::Scale(control, m_nWidth);
    const int height = list_support::Scale(control, m_nHeight);
    const int left = rcItem.left + list_support::Scale(control, 6);
    const int top = rcItem.top + (rcItem.bottom - rcItem.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

bool CListExCheckBox::SetChecked(bool checked)
{
    if (m_bChecked == checked)
        return false;
    m_bChecked = checked;
    if (checked)
        m_uState |= ButtonStateSelected;
    else
        m_uState &= ~ButtonStateSelected;
    return true;
}

bool CListExCheckBox::HandleEvent(CControlUI& control, const UIControlEvent& event, const RECT& box)
{
    // The manager hands presses to disabled controls too. A disabled item keeps no press either,
    // so a release after it is enabled again ticks nothing.
    if (!control.IsEnabled()) {
        const UINT before = m_uState;
        m_uState &= ~(ButtonStatePushed | ButtonStateCaptured | ButtonStateHot);
        if (before != m_uState)
            control.Invalidate();
        return false;
    }
    const bool inside = ::PtInRect(&box, event.mousePoint) != FALSE;
    const UINT before = m_uState;
    bool toggled = false;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (inside)
            m_uState |= ButtonStatePushed | ButtonStateCaptured;
        break;
    case EventMouseMove:
        if ((m_uState & ButtonStateCaptured) != 0)
            m_uState = inside ? (m_uState | ButtonStatePushed) : (m_uState & ~ButtonStatePushed);
        else
            m_uState = inside ? (m_uState | ButtonStateHot) : (m_uState & ~ButtonStateHot);
        break;
    case EventButtonUp:
        if ((m_uState & ButtonStateCaptured) != 0) {
            if (inside) {
                SetChecked(!m_bChecked);
                toggled = true;
            }
            m_uState &= ~(ButtonStatePushed | ButtonStateCaptured);
        }
        break;
    case EventMouseEnter:
        if (inside)
            m_uState |= ButtonStateHot;
        break;
    case EventMouseLeave:
        m_uState &= ~ButtonStateHot;
        break;
    default:
        break;
    }
    if (before != m_uState || toggled)
        control.Invalidate();
    return toggled;
}

bool CListExCheckBox::DrawInto(HDC hDC, CControlUI& control, const CUIString& image, const RECT& box)
{
    if (image.IsEmpty())
        return false;
    // The modify string is read in 96-dpi units, relative to the control.
    const RECT& item = control.GetPos();
    wchar_t modify[96] = {};
    swprintf(modify, 96, L"dest='%d,%d,%d,%d'", Unscale(control, box.left - item.left),
             Unscale(control, box.top - item.top), Unscale(control, box.right - item.left),
             Unscale(control, box.bottom - item.top));
    return control.DrawImage(hDC, image.GetData(), modify);
}

void CListExCheckBox::Paint(HDC hDC, CControlUI& control, const RECT& box)
{
    m_uState &= ~ButtonStatePushed;
    bool drawn = (m_uState & ButtonStateSelected) != 0 && DrawInto(hDC, control, m_sSelected, box);
    if (!drawn) {
        UpdateFocusAndEnabledBits(control, m_uState);
        const CUIString* pick = PickStateImage(m_uState, {{ButtonStateDisabled, m_sDisabled},
                                                          {ButtonStatePushed, m_sPushed},
                                                          {ButtonStateHot, m_sHot},
                                                          {ButtonStateFocused, m_sFocused}});
        if ((pick != nullptr && DrawInto(hDC, control, *pick, box)) || DrawInto(hDC, control, m_sNormal, box))
            return;
    }
    DrawInto(hDC, control, m_sFore, box);
}

} // namespace ZvUI

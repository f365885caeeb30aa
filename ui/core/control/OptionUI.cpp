// Option: selection with group exclusion, the selected looks, and the selected strip cut.
#include "control/OptionUI.h"

#include <cwchar>

#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "utils/UIAttributeValues.h"
#include "control/StateImages.h"

namespace ZvUI {

using attr::Is;
using attr::ParseColor;

COptionUI::~COptionUI()
{
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr)
        m_pManager->LeaveOptionGroup(m_sGroupName, this);
}

LPCWSTR COptionUI::GetClass() const
{
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"Option") == 0)
        return static_cast<COptionUI*>(this);
    return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // A group left behind in another manager would keep a pointer to this option after it dies.
    if (m_pManager != nullptr && m_pManager != manager && !m_sGroupName.IsEmpty())
        m_pManager->LeaveOptionGroup(m_sGroupName, this);
    CButtonUI::SetManager(manager, parent, init);
    if (init && !m_sGroupName.IsEmpty() && m_pManager != nullptr)
        m_pManager->JoinOptionGroup(m_sGroupName, this);
}

void COptionUI::SetGroup(LPCWSTR name)
{
    const CUIString group = name != nullptr ? name : L"";
    if (group == m_sGroupName)
        return;
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr)
        m_pManager->LeaveOptionGroup(m_sGroupName, this);
    m_sGroupName = group;
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty())
        m_pManager->JoinOptionGroup(m_sGroupName, this);
    Selected(m_bSelected, true);
}

void COptionUI::Selected(bool select, bool notify)
{
    ApplySelected(select, notify, 0);
}

void COptionUI::ApplySelected(bool select, bool notify, WPARAM wParam)
{
    if (select == m_bSelected)
        return;
    m_bSelected = select;
    if (select)
        m_uButtonState |= ButtonStateSelected;
    else
        m_uButtonState &= ~ButtonStateSelected;
    if (m_pManager != nullptr) {
        if (!m_sGroupName.IsEmpty()) {
            // Members deselect silently: only the newly selected one reports.
            if (!select) {
                Invalidate();
                return;
            }
            CUIPtrArray* group = m_pManager->GetOptionGroup(m_sGroupName);
            for (int i = 0; group != nullptr && i < group->GetSize(); ++i) {
                auto* control = static_cast<CControlUI*>((*group)[i]);
                auto* option = control != nullptr ? static_cast<COptionUI*>(control->GetInterface(L"Option")) : nullptr;
                if (option != nullptr && option != this)
                    option->Selected(false, notify);
            }
        }
        if (notify)
            m_pManager->RaiseNotify(this, L"selectchanged", wParam, 0, false);
    }
    Invalidate();
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate())
        return false;
    if (!m_sGroupName.IsEmpty())
        Selected(true, true);
    else
        Selected(!m_bSelected, true);
    return true;
}

void COptionUI::SetEnabled(bool enable)
{
    CButtonUI::SetEnabled(enable);
    // The state word is rebuilt from scratch; the selected look must survive it.
    if (m_bSelected)
        m_uButtonState |= ButtonStateSelected;
}

// --- accessors ---

CUIString COptionUI::GetSelectedStateImage() const
{
    return m_sSelectedStateImage;
}

void COptionUI::SetSelectedStateImage(LPCWSTR descriptor)
{
    m_sSelectedStateImage = descriptor;
    Invalidate();
}

void COptionUI::SetSelectedImage(LPCWSTR descriptor)
{
    m_sSelectedImage = descriptor;
    Invalidate();
}

void COptionUI::SetSelectedHotImage(LPCWSTR descriptor)
{
    m_sSelectedHotImage = descriptor;
    Invalidate();
}

void COptionUI::SetSelectedPushedImage(LPCWSTR descriptor)
{
    m_sSelectedPushedImage = descriptor;
    Invalidate();
}

void COptionUI::SetSelectedDisabledImage(LPCWSTR descriptor)
{
    m_sSelectedDisabledImage = descriptor;
    Invalidate();
}

void COptionUI::SetSelectedForeImage(LPCWSTR descriptor)
{
    m_sSelectedForeImage = descriptor;
    Invalidate();
}

void COptionUI::SetSelectedStateCount(int count)
{
    m_nSelectedStateCount = count;
    Invalidate();
}

void COptionUI::SetSelectedFont(int index)
{
    m_iSelectedFont = index;
    Invalidate();
}

DWORD COptionUI::GetSelectedTextColor()
{
    if (m_dwSelectedTextColor == 0 && m_pManager != nullptr)
        m_dwSelectedTextColor = m_pManager->GetTextColor();
    return m_dwSelectedTextColor;
}

// --- attributes ---

void COptionUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"group"))
        SetGroup(value);
    else if (Is(name, L"selected"))
        Selected(attr::IsTrue(value), true);
    else if (Is(name, L"selectedimage"))
        SetSelectedImage(value);
    else if (Is(name, L"selectedhotimage"))
        SetSelectedHotImage(value);
    else if (Is(name, L"selectedpushedimage"))
        SetSelectedPushedImage(value);
    else if (Is(name, L"selecteddisableimage"))
        SetSelectedDisabledImage(value);
    else if (Is(name, L"selectedforeimage"))
        SetSelectedForeImage(value);
    else if (Is(name, L"selectedstateimage"))
        SetSelectedStateImage(value);
    else if (Is(name, L"selectedstatecount"))
        SetSelectedStateCount(_wtoi(value));
    else if (Is(name, L"selectedbkcolor"))
        SetSelectedBkColor(ParseColor(value));
    else if (Is(name, L"selectedtextcolor"))
        SetSelectedTextColor(ParseColor(value));
    else if (Is(name, L"selectedhottextcolor"))
        SetSelectedHotTextColor(ParseColor(value));
    else if (Is(name, L"selectedpushedtextcolor"))
        SetSelectedPushedTextColor(ParseColor(value));
    else if (Is(name, L"selectedfont"))
        SetSelectedFont(_wtoi(value));
    else
        CButtonUI::SetAttribute(name, value);
}

// --- painting ---

void COptionUI::PaintBkColor(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintBkColor(hDC);
        return;
    }
    if (m_dwSelectedBkColor != 0)
        CUIRender::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
}

void COptionUI::CutSelectedStateImages()
{
    // The selected strip has no disabled frame.
    CutStrip(m_sSelectedStateImage, m_nSelectedStateCount, m_sSelectedImage, m_sSelectedHotImage,
             m_sSelectedPushedImage, nullptr);
}

void COptionUI::PaintStatusImage(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintStatusImage(hDC);
        return;
    }
    CutSelectedStateImages();
    // Unlike the button's, a state without its own selected image falls through to the next one.
    const CUIString* chosen = PickStateImage(m_uButtonState,
                                             {{ButtonStatePushed, m_sSelectedPushedImage},
                                              {ButtonStateHot, m_sSelectedHotImage},
                                              {ButtonStateDisabled, m_sSelectedDisabledImage}},
                                             true);
    if (chosen != nullptr && DrawImage(hDC, *chosen))
        return;
    if (!m_sSelectedImage.IsEmpty())
        DrawImage(hDC, m_sSelectedImage);
}

void COptionUI::PaintForeImage(HDC hDC)
{
    if (m_bSelected && !m_sSelectedForeImage.IsEmpty() && DrawImage(hDC, m_sSelectedForeImage))
        return;
    CButtonUI::PaintForeImage(hDC);
}

void COptionUI::PaintText(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintText(hDC);
        return;
    }
    if (m_pManager == nullptr)
        return;
    const DWORD keptTextColor = m_dwTextColor;
    if ((m_uButtonState & ButtonStateSelected) != 0 && m_dwSelectedTextColor != 0)
        m_dwTextColor = m_dwSelectedTextColor;
    if ((m_uButtonState & ButtonStatePushed) != 0 && !m_sSelectedPushedImage.IsEmpty()) {
        if (m_dwSelectedPushedTextColor != 0)
            m_dwTextColor = m_dwSelectedPushedTextColor;
    } else if ((m_uButtonState & ButtonStateHot) != 0 && !m_sSelectedHotImage.IsEmpty()) {
        if (m_dwSelectedHotTextColor != 0)
            m_dwTextColor = m_dwSelectedHotTextColor;
    }
    TakeDefaultColors();
    const int font = m_iSelectedFont != -1 ? m_iSelectedFont : m_iFont;

    const CUIString text = GetText();
    if (!text.IsEmpty())
        DrawTextIn(hDC, text, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, font);
    m_dwTextColor = keptTextColor;
}

} // namespace ZvUI

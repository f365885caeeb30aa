#pragma once
// The check box drawn inside an extended-list header item or row: its images, state and input.

#include <windows.h>

#include "manager/UIEvents.h"
#include "utils/UIString.h"

namespace ZvUI {

class CControlUI;

class CListExCheckBox {
public:
    // The nine "checkbox..." attributes; false for any other name.
    bool SetAttribute(LPCWSTR name, LPCWSTR value);
    // Beside the left edge of rcItem, centred vertically; offset and size scaled to the DPI.
    RECT GetRect(const CControlUI& control, const RECT& rcItem) const;
    // Scaled width, what the text gives up on the left.
    int GetScaledWidth(const CControlUI& control) const;
    // Mouse input on the box; true when the check toggled.
    bool HandleEvent(CControlUI& control, const UIControlEvent& event, const RECT& box);
    void Paint(HDC hDC, CControlUI& control, const RECT& box);

    bool IsChecked() const { return m_bChecked; }
    // False when unchanged.
    bool SetChecked(bool checked);
    UINT GetState() const { return m_uState; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

private:
    bool DrawInto(HDC hDC, CControlUI& control, const CUIString& image, const RECT& box);

    UINT m_uState = 0;
    bool m_bChecked = false;
    CUIString m_sNormal;
    CUIString m_sHot;
    CUIString m_sPushed;
    CUIString m_sFocused;
    CUIString m_sDisabled;
    CUIString m_sSelected;
    CUIString m_sFore;
    int m_nWidth = 0;
    int m_nHeight = 0;
};

} // namespace ZvUI

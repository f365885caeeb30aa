#pragma once
// An option that draws a second text with its own font, padding and colours per state.

#include <windows.h>

#include "control/OptionUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class COptionMultiLineUI : public COptionUI {
public:
    COptionMultiLineUI();
    ~COptionMultiLineUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintText(HDC hDC) override;

    // The setters store without repainting. Colours are ARGB, 0 = not set.
    const CUIString& GetSecondText() const { return m_sSecondText; }
    void SetSecondText(LPCWSTR text) { m_sSecondText = text; }
    // -1: the label's font rules.
    int GetSecondTextFont() const { return m_iSecondTextFont; }
    void SetSecondTextFont(int font) { m_iSecondTextFont = font; }
    // At 96 dpi.
    RECT GetSecondTextPadding() const { return m_rcSecondTextPadding; }
    void SetSecondTextPadding(RECT padding) { m_rcSecondTextPadding = padding; }
    DWORD GetSecondTextColor() const { return m_dwSecondTextColor; }
    void SetSecondTextColor(DWORD color) { m_dwSecondTextColor = color; }
    DWORD GetSecondHotTextColor() const { return m_dwSecondHotTextColor; }
    void SetSecondHotTextColor(DWORD color) { m_dwSecondHotTextColor = color; }
    DWORD GetSecondPushedTextColor() const { return m_dwSecondPushedTextColor; }
    void SetSecondPushedTextColor(DWORD color) { m_dwSecondPushedTextColor = color; }
    DWORD GetSelectedSecondTextColor() const { return m_dwSelectedSecondTextColor; }
    void SetSelectedSecondTextColor(DWORD color) { m_dwSelectedSecondTextColor = color; }
    DWORD GetSelectedHotSecondTextColor() const { return m_dwSelectedHotSecondTextColor; }
    void SetSelectedHotSecondTextColor(DWORD color) { m_dwSelectedHotSecondTextColor = color; }
    DWORD GetSelectedPushedSecondTextColor() const { return m_dwSelectedPushedSecondTextColor; }
    void SetSelectedPushedSecondTextColor(DWORD color) { m_dwSelectedPushedSecondTextColor = color; }

private:
    // The colour and font the second text takes in the current state.
    void ChooseSecondLook(DWORD& color, int& font);

    CUIString m_sSecondText;
    int m_iSecondTextFont = -1;
    RECT m_rcSecondTextPadding = {0, 0, 0, 0};
    DWORD m_dwSecondTextColor = 0;
    DWORD m_dwSecondHotTextColor = 0;
    DWORD m_dwSecondPushedTextColor = 0;
    DWORD m_dwSelectedSecondTextColor = 0;
    DWORD m_dwSelectedHotSecondTextColor = 0;
    DWORD m_dwSelectedPushedSecondTextColor = 0;
};

} // namespace ZvUI

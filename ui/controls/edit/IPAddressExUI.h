#pragma once
// IPv4 address field in four quarters, edited and drawn by the framework without a native window.

#include <windows.h>

#include "edit/EditUI.h"

namespace ZvUI {

class CIPAddressExUI : public CEditUI {
public:
    CIPAddressExUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void DoEvent(UIControlEvent& event) override;
    void PaintText(HDC hDC) override;

    // "%d.%d.%d.%d" of the four numbers.
    CUIString GetIP() const;
    // Four dot-separated pieces; each is clamped to 0..255. Other texts leave the numbers.
    void SetIP(LPCWSTR text);
    // 0 none, 1 to 4.
    int GetActiveQuarter() const { return m_nActiveSection; }

private:
    void UpdateText();
    // Adds delta to the active number, kept within 0..255; nothing without an active quarter.
    void StepActive(int delta);
    void TypeDigit(wchar_t digit);

    int m_nIP[4] = {0, 0, 0, 0};
    int m_nActiveSection = 0;
    wchar_t m_chNum = 0;
    CUIString m_strNum;
};

} // namespace ZvUI

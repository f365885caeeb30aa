#pragma once
// A label that shows a value between a minimum and a maximum as a filled part of its rectangle.

#include <windows.h>

#include "control/LabelUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    ~CProgressUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintForeColor(HDC hDC) override;
    void PaintForeImage(HDC hDC) override;

    int GetMinValue() const { return m_nMin; }
    // Stored without any check; painting repairs the range.
    void SetMinValue(int value);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int value);
    int GetValue() const { return m_nValue; }
    // Ignored when equal or outside [minimum, maximum].
    void SetValue(int value);
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal);
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool stretch);
    bool IsShowText() const { return m_bShowText; }
    void SetShowText(bool show);

    // With show text on: the percentage of the value in the range, as "50%".
    virtual void UpdateText();

private:
    // Maximum above minimum, value within them; stored.
    void RepairRange();

    bool m_bShowText = false;
    bool m_bHorizontal = true;
    bool m_bStretchForeImage = true;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nValue = 0;
    CUIString m_sForeImageModify;
};

} // namespace ZvUI

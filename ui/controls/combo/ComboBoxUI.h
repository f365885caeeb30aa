#pragma once
// The combo with a drop arrow cut from a five-frame strip, whose selected row draws its own text.

#include "combo/ComboUI.h"

namespace ZvUI {

class CComboBoxUI : public CComboUI {
public:
    CComboBoxUI() = default;

    LPCWSTR GetClass() const override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    const CUIString& GetArrowImage() const { return m_sArrowImage; }
    void SetArrowImage(LPCWSTR descriptor) { m_sArrowImage = descriptor; }
    // Width of one arrow frame, as of the last paint.
    int GetArrowWidth() const { return m_nArrowWidth; }

private:
    CUIString m_sArrowImage;
    int m_nArrowWidth = 0;
};

} // namespace ZvUI

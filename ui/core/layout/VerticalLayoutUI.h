#pragma once
// Stacks its visible, non-floating children from top to bottom; optional separator band.

#include "layout/ContainerUI.h"
#include "layout/SeparatorDragState.h"

namespace ZvUI {

class CVerticalLayoutUI : public CContainerUI {
public:
    CVerticalLayoutUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

    // Pixels, not scaled; positive along the bottom edge, negative along the top, 0 none.
    int GetSepHeight() const { return m_separator.GetExtent(); }
    void SetSepHeight(int height) { m_separator.SetExtent(height); }
    bool IsSepImmediate() const { return m_separator.IsImmediate(); }
    void SetSepImmediate(bool immediate) { m_separator.SetImmediate(*this, immediate); }
    RECT GetSeparatorRect(bool useNewPosition) const { return m_separator.GetBand(m_rcItem, useNewPosition); }

private:
    SeparatorDragState m_separator{true};
};

} // namespace ZvUI

#pragma once
// Stacks its visible, non-floating children from left to right; optional separator band.

#include "layout/ContainerUI.h"
#include "layout/SeparatorDragState.h"

namespace ZvUI {

class CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

    // Pixels, not scaled; positive along the right edge, negative along the left, 0 none.
    int GetSepWidth() const { return m_separator.GetExtent(); }
    void SetSepWidth(int width) { m_separator.SetExtent(width); }
    bool IsSepImmediate() const { return m_separator.IsImmediate(); }
    void SetSepImmediate(bool immediate) { m_separator.SetImmediate(*this, immediate); }
    RECT GetSeparatorRect(bool useNewPosition) const { return m_separator.GetBand(m_rcItem, useNewPosition); }

private:
    SeparatorDragState m_separator{false};
};

} // namespace ZvUI

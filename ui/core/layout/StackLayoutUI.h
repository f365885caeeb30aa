#pragma once
// What the vertical and horizontal layouts share: stacking along one axis and the separator band.

#include "layout/ContainerUI.h"
#include "layout/SeparatorDragState.h"

namespace ZvUI {

class CStackLayoutUI : public CContainerUI {
public:
    UINT GetControlFlags() const override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

    bool IsSepImmediate() const { return m_separator.IsImmediate(); }
    void SetSepImmediate(bool immediate) { m_separator.SetImmediate(*this, immediate); }
    RECT GetSeparatorRect(bool useNewPosition) const { return m_separator.GetBand(m_rcItem, useNewPosition); }

protected:
    // vertical stacks top to bottom, else left to right; extentAttribute names the band's extent.
    CStackLayoutUI(bool vertical, LPCWSTR extentAttribute)
        : m_bVertical(vertical), m_extentAttribute(extentAttribute), m_separator(vertical)
    {
    }

    // Pixels, not scaled; positive along the far edge, negative along the near one, 0 none.
    int GetSepExtent() const { return m_separator.GetExtent(); }
    void SetSepExtent(int extent) { m_separator.SetExtent(extent); }

private:
    bool m_bVertical;
    LPCWSTR m_extentAttribute;
    SeparatorDragState m_separator;
};

} // namespace ZvUI

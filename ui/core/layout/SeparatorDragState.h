#pragma once
// The draggable separator band that vertical and horizontal layouts share, one axis each.

#include <windows.h>

#include "manager/UIEvents.h"

namespace ZvUI {

class CControlUI;

class SeparatorDragState {
public:
    // vertical: the band lies along the bottom (extent > 0) or top (extent < 0) edge.
    explicit SeparatorDragState(bool vertical) : m_bVertical(vertical) {}

    int GetExtent() const { return m_iExtent; }
    void SetExtent(int extent) { m_iExtent = extent; }
    bool IsImmediate() const { return m_bImmediate; }
    void SetImmediate(CControlUI& layout, bool immediate);
    bool IsCaptured() const { return (m_uState & kCaptured) != 0; }
    const RECT& GetNewPos() const { return m_rcNewPos; }

    // The band of item, or of the dragged position while a drag runs and useNewPosition is set.
    RECT GetBand(const RECT& item, bool useNewPosition) const;
    // True when the event belonged to the separator. item and fixedSize are the layout's own
    // item rectangle and stored (96-dpi) fixed size, which a drag changes.
    bool HandleEvent(CControlUI& layout, RECT& item, SIZE& fixedSize, const UIControlEvent& event);
    void PostPaint(HDC hDC, const RECT& item) const;

private:
    static constexpr UINT kCaptured = 0x40;

    bool OnMouseMove(CControlUI& layout, RECT& item, SIZE& fixedSize, POINT pt);

    bool m_bVertical;
    int m_iExtent = 0;
    UINT m_uState = 0;
    POINT m_ptLastMouse = {0, 0};
    RECT m_rcNewPos = {0, 0, 0, 0};
    bool m_bImmediate = false;
};

} // namespace ZvUI

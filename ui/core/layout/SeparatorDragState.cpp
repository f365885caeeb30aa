// Separator band of the stacking layouts: hit band, drag arithmetic with limits, shaded preview.
#include "layout/SeparatorDragState.h"

#include <algorithm>

#include "control/ControlUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "utils/UIGeometry.h"

namespace ZvUI {

namespace {

constexpr DWORD kPreviewColor = 0xAA000000;

} // namespace

void SeparatorDragState::SetImmediate(CControlUI& layout, bool immediate)
{
    if (m_bImmediate == immediate)
        return;
    if (IsCaptured() && !m_bImmediate && layout.GetManager() != nullptr)
        layout.GetManager()->RemoveAfterPaintControl(&layout);
    m_bImmediate = immediate;
}

RECT SeparatorDragState::GetBand(const RECT& item, bool useNewPosition) const
{
    const RECT r = useNewPosition && IsCaptured() ? m_rcNewPos : item;
    const int s = m_iExtent;
    if (m_bVertical) {
        if (s >= 0)
            return RECT{r.left, std::max<LONG>(r.top, r.bottom - s), r.right, r.bottom};
        return RECT{r.left, r.top, r.right, std::min<LONG>(r.top - s, r.bottom)};
    }
    // The horizontal band is not clipped to the rectangle.
    if (s >= 0)
        return RECT{r.right - s, r.top, r.right, r.bottom};
    return RECT{r.left, r.top, r.left - s, r.bottom};
}

bool SeparatorDragState::HandleEvent(CControlUI& layout, RECT& item, SIZE& fixedSize,
                                     const UIControlEvent& event)
{
    if (m_iExtent == 0)
        return false;
    CPaintManagerUI* manager = layout.GetManager();

    if (event.type == EventButtonDown && layout.IsEnabled()) {
        const RECT band = GetBand(item, false);
        if (!::PtInRect(&band, event.mousePoint))
            return false;
        m_uState |= kCaptured;
        m_ptLastMouse = event.mousePoint;
        m_rcNewPos = item;
        if (!m_bImmediate && manager != nullptr)
            manager->AddAfterPaintControl(&layout);
        return true;
    }
    // Disabled in the middle of a drag: the drag ends there and the layout keeps its size.
    if (!layout.IsEnabled() && IsCaptured() && (event.type == EventMouseMove || event.type == EventButtonUp)) {
        m_uState &= ~kCaptured;
        if (!m_bImmediate && manager != nullptr)
            manager->RemoveAfterPaintControl(&layout);
        return true;
    }
    if (event.type == EventButtonUp && IsCaptured()) {
        m_uState &= ~kCaptured;
        item = m_rcNewPos;
        if (!m_bImmediate && manager != nullptr)
            manager->RemoveAfterPaintControl(&layout);
        layout.NeedParentUpdate();
        return true;
    }
    if (event.type == EventMouseMove && IsCaptured())
        return OnMouseMove(layout, item, fixedSize, event.mousePoint);
    if (event.type == EventSetCursor && layout.IsEnabled()) {
        const RECT band = GetBand(item, false);
        if (!::PtInRect(&band, event.mousePoint))
            return false;
        ::SetCursor(::LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    return false;
}

bool SeparatorDragState::OnMouseMove(CControlUI& layout, RECT& item, SIZE& fixedSize, POINT pt)
{
    const int s = m_iExtent;
    const int d = m_bVertical ? pt.y - m_ptLastMouse.y : pt.x - m_ptLastMouse.x;
    m_ptLastMouse = pt;
    const int at = m_bVertical ? pt.y : pt.x;
    RECT rc = m_rcNewPos;
    // The moving edge and the one that stays, on the layout's axis.
    const bool endEdge = s >= 0;
    LONG& moving = m_bVertical ? (endEdge ? rc.bottom : rc.top) : (endEdge ? rc.right : rc.left);
    const LONG fixed = m_bVertical ? (endEdge ? rc.top : rc.bottom) : (endEdge ? rc.left : rc.right);
    const int minimum = m_bVertical ? layout.GetMinHeight() : layout.GetMinWidth();
    const int maximum = m_bVertical ? layout.GetMaxHeight() : layout.GetMaxWidth();

    // A pointer that has left the band on the far side waits until it is back.
    if (endEdge) {
        if ((d > 0 && at < moving - s) || (d < 0 && at > moving))
            return true;
    } else {
        if ((d > 0 && at < moving) || (d < 0 && at > moving - s))
            return true;
    }
    const int before = endEdge ? moving - fixed : fixed - moving;
    moving += d;
    const int sign = endEdge ? 1 : -1;
    int extent = endEdge ? moving - fixed : fixed - moving;
    if (extent <= minimum) {
        if (before <= minimum)
            return true;
        moving = fixed + sign * minimum;
        extent = minimum;
    }
    if (extent >= maximum) {
        if (before >= maximum)
            return true;
        moving = fixed + sign * maximum;
        extent = maximum;
    }

    const RECT oldBand = GetBand(item, true);
    m_rcNewPos = rc;
    // Stored directly: a setter would relayout the parent in the middle of a preview drag.
    CPaintManagerUI* manager = layout.GetManager();
    const int stored = manager != nullptr ? manager->GetDpiHelper()->Unscale(extent) : extent;
    if (m_bVertical)
        fixedSize.cy = stored;
    else
        fixedSize.cx = stored;

    if (!m_bImmediate) {
        CUIRect dirty(oldBand);
        dirty.Join(GetBand(item, true));
        dirty.Join(GetBand(item, false));
        if (manager != nullptr)
            manager->Invalidate(static_cast<const RECT&>(dirty));
    } else {
        item = m_rcNewPos;
        layout.NeedParentUpdate();
    }
    return true;
}

void SeparatorDragState::PostPaint(HDC hDC, const RECT& item) const
{
    if (!IsCaptured() || m_bImmediate)
        return;
    CUIRender::DrawColor(hDC, GetBand(item, true), kPreviewColor);
}

} // namespace ZvUI

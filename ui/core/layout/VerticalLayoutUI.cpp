// Vertical stacking: fixed children keep their height, auto children share what is left.
#include "layout/VerticalLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "layout/LayoutLimits.h"

namespace ZvUI {

using layout_limits::Clamp;
using layout_limits::LimitToChild;

LPCWSTR CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"VerticalLayout") == 0)
        return static_cast<CVerticalLayoutUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_separator.GetExtent() != 0 ? ControlFlagSetCursor : 0;
}

void CVerticalLayoutUI::SetPos(RECT rect, bool invalidate)
{
    CControlUI::SetPos(rect, invalidate);
    RECT rc = GetInsetRect();
    if (IsVScrollVisible() && !m_bExternalVScroll)
        rc.right -= GetVScrollWidth();
    if (IsHScrollVisible())
        rc.bottom -= GetHScrollHeight();
    if (m_items.IsEmpty()) {
        UpdateScrollBars(rc, 0, 0);
        return;
    }

    SIZE avail = {rc.right - rc.left, rc.bottom - rc.top};
    if (IsHScrollVisible())
        avail.cx += GetHScrollRange();
    if (IsVScrollVisible())
        avail.cy += GetVScrollRange();
    const int childPadding = GetChildPadding();

    // Measuring pass.
    int count = 0;
    int autoCount = 0;
    int fixedTotal = 0;
    int widthNeeded = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (!child->IsVisible() || child->IsFloat())
            continue;
        ++count;
        const RECT p = child->GetPadding();
        SIZE sz = child->EstimateSize(LimitToChild(SIZE{avail.cx - p.left - p.right, avail.cy}, *child));
        if (sz.cy == 0)
            ++autoCount;
        else
            sz.cy = Clamp(sz.cy, child->GetMinHeight(), child->GetMaxHeight());
        fixedTotal += sz.cy + p.top + p.bottom;
        sz.cx = Clamp(std::max<LONG>(sz.cx, 0), child->GetMinWidth(), child->GetMaxWidth());
        widthNeeded = std::max<int>(widthNeeded, sz.cx + p.left + p.right);
    }
    fixedTotal += (count - 1) * childPadding;
    const int expand = autoCount > 0 ? std::max(0, static_cast<int>(avail.cy - fixedTotal) / autoCount) : 0;

    int y = rc.top;
    if (IsVScrollVisible()) {
        y -= GetVScrollPos();
    } else if (autoCount == 0) {
        if (m_iChildVAlign == DT_VCENTER)
            y += (avail.cy - fixedTotal) / 2;
        else if (m_iChildVAlign == DT_BOTTOM)
            y += avail.cy - fixedTotal;
    }

    // Placing pass.
    int remaining = avail.cy;
    int fixedLeft = fixedTotal;
    int heightNeeded = 0;
    int placed = 0;
    int autoDone = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (!child->IsVisible())
            continue;
        if (child->IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        ++placed;
        const RECT p = child->GetPadding();
        remaining -= p.top;
        const SIZE available = LimitToChild(SIZE{avail.cx - p.left - p.right, remaining}, *child);
        fixedLeft -= p.top + p.bottom;
        if (placed > 1)
            fixedLeft -= childPadding;
        SIZE sz = child->EstimateSize(available);
        if (sz.cy == 0) {
            ++autoDone;
            sz.cy = expand;
            // The last auto child takes the rounding remainder and what others gave up.
            if (autoDone == autoCount)
                sz.cy = std::max(0, remaining - static_cast<int>(p.bottom) - fixedLeft);
            sz.cy = Clamp(sz.cy, child->GetMinHeight(), child->GetMaxHeight());
        } else {
            sz.cy = Clamp(sz.cy, child->GetMinHeight(), child->GetMaxHeight());
            fixedLeft -= sz.cy;
        }

        sz.cx = std::max<LONG>(sz.cx, 0);
        if (sz.cx == 0)
            sz.cx = avail.cx - p.left - p.right;
        sz.cx = std::min(sz.cx, available.cx);
        sz.cx = std::max<LONG>(sz.cx, child->GetMinWidth());

        RECT rcChild = {};
        if (m_iChildAlign == DT_CENTER) {
            int cx = (rc.left + rc.right) / 2;
            if (IsHScrollVisible())
                cx += GetHScrollRange() / 2 - GetHScrollPos();
            rcChild = RECT{cx - sz.cx / 2, y + p.top, cx + sz.cx - sz.cx / 2, y + p.top + sz.cy};
        } else if (m_iChildAlign == DT_RIGHT) {
            int r = rc.right;
            if (IsHScrollVisible())
                r += GetHScrollRange() - GetHScrollPos();
            rcChild = RECT{r - p.right - sz.cx, y + p.top, r - p.right, y + p.top + sz.cy};
        } else {
            int l = rc.left;
            if (IsHScrollVisible())
                l -= GetHScrollPos();
            rcChild = RECT{l + p.left, y + p.top, l + p.left + sz.cx, y + p.top + sz.cy};
        }
        child->SetPos(rcChild, false);

        y += sz.cy + childPadding + p.top + p.bottom;
        heightNeeded += sz.cy + p.top + p.bottom;
        remaining -= sz.cy + childPadding + p.bottom;
    }
    heightNeeded += (count - 1) * childPadding;
    UpdateScrollBars(rc, widthNeeded, heightNeeded);
}

void CVerticalLayoutUI::DoEvent(UIControlEvent& event)
{
    if (m_separator.HandleEvent(*this, m_rcItem, m_cxyFixed, event))
        return;
    CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name != nullptr && value != nullptr && _wcsicmp(name, L"sepheight") == 0)
        SetSepHeight(_wtoi(value));
    else if (name != nullptr && value != nullptr && _wcsicmp(name, L"sepimm") == 0)
        SetSepImmediate(_wcsicmp(value, L"true") == 0);
    else
        CContainerUI::SetAttribute(name, value);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    m_separator.PostPaint(hDC, m_rcItem);
}

} // namespace ZvUI

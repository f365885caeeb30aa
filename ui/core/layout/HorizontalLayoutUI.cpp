// Horizontal stacking: fixed children keep their width, auto children share what is left.
#include "layout/HorizontalLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "layout/LayoutLimits.h"

namespace ZvUI {

using layout_limits::Clamp;
using layout_limits::LimitToChild;

LPCWSTR CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"HorizontalLayout") == 0)
        return static_cast<CHorizontalLayoutUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_separator.GetExtent() != 0 ? ControlFlagSetCursor : 0;
}

void CHorizontalLayoutUI::SetPos(RECT rect, bool invalidate)
{
    CControlUI::SetPos(rect, invalidate);
    RECT rc = GetInsetRect();
    // Unlike the vertical layout, an attached vertical bar takes room here too.
    if (IsVScrollVisible())
        rc.right -= GetVScrollWidth();
    if (IsHScrollVisible())
        rc.bottom -= GetHScrollHeight();
    if (m_items.IsEmpty()) {
        UpdateScrollBars(rc, 0, 0);
        return;
    }

    SIZE avail = {rc.right - rc.left, rc.bottom - rc.top};
    if (IsVScrollVisible())
        avail.cy += GetVScrollRange();
    const int childPadding = GetChildPadding();

    // Measuring pass.
    int count = 0;
    int autoCount = 0;
    int fixedTotal = 0;
    int heightNeeded = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (!child->IsVisible() || child->IsFloat())
            continue;
        ++count;
        const RECT p = child->GetPadding();
        SIZE sz = child->EstimateSize(LimitToChild(SIZE{avail.cx, avail.cy - p.top - p.bottom}, *child));
        if (sz.cx == 0)
            ++autoCount;
        else
            sz.cx = Clamp(sz.cx, child->GetMinWidth(), child->GetMaxWidth());
        fixedTotal += sz.cx + p.left + p.right;
        sz.cy = Clamp(std::max<LONG>(sz.cy, 0), child->GetMinHeight(), child->GetMaxHeight());
        heightNeeded = std::max<int>(heightNeeded, sz.cy + p.top + p.bottom);
    }
    fixedTotal += (count - 1) * childPadding;
    const int expand = autoCount > 0 ? std::max(0, static_cast<int>(avail.cx - fixedTotal) / autoCount) : 0;

    int x = rc.left;
    if (IsHScrollVisible()) {
        x -= GetHScrollPos();
    } else if (autoCount == 0) {
        if (m_iChildAlign == DT_CENTER)
            x += (avail.cx - fixedTotal) / 2;
        else if (m_iChildAlign == DT_RIGHT)
            x += avail.cx - fixedTotal;
    }

    // Placing pass.
    int remaining = avail.cx;
    int fixedLeft = fixedTotal;
    int widthNeeded = 0;
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
        remaining -= p.left;
        const SIZE available = LimitToChild(SIZE{remaining, avail.cy - p.top - p.bottom}, *child);
        fixedLeft -= p.left + p.right;
        if (placed > 1)
            fixedLeft -= childPadding;
        SIZE sz = child->EstimateSize(available);
        if (sz.cx == 0) {
            ++autoDone;
            sz.cx = expand;
            // The last auto child takes the rounding remainder and what others gave up.
            if (autoDone == autoCount)
                sz.cx = std::max(0, remaining - static_cast<int>(p.right) - fixedLeft);
            sz.cx = Clamp(sz.cx, child->GetMinWidth(), child->GetMaxWidth());
        } else {
            sz.cx = Clamp(sz.cx, child->GetMinWidth(), child->GetMaxWidth());
            fixedLeft -= sz.cx;
        }

        // The cross size comes from the maximum height, so children fill the row by default.
        sz.cy = child->GetMaxHeight();
        if (sz.cy == 0)
            sz.cy = avail.cy - p.top - p.bottom;
        sz.cy = std::max<LONG>(sz.cy, 0);
        sz.cy = std::min(sz.cy, available.cy);
        sz.cy = std::max<LONG>(sz.cy, child->GetMinHeight());

        RECT rcChild = {};
        if (m_iChildVAlign == DT_VCENTER) {
            int cy = (rc.top + rc.bottom) / 2;
            if (IsVScrollVisible())
                cy += GetVScrollRange() / 2 - GetVScrollPos();
            rcChild = RECT{x + p.left, cy - sz.cy / 2, x + p.left + sz.cx, cy + sz.cy - sz.cy / 2};
        } else if (m_iChildVAlign == DT_BOTTOM) {
            int b = rc.bottom;
            if (IsVScrollVisible())
                b += GetVScrollRange() - GetVScrollPos();
            rcChild = RECT{x + p.left, b - p.bottom - sz.cy, x + p.left + sz.cx, b - p.bottom};
        } else {
            int t = rc.top;
            if (IsVScrollVisible())
                t -= GetVScrollPos();
            rcChild = RECT{x + p.left, t + p.top, x + p.left + sz.cx, t + p.top + sz.cy};
        }
        child->SetPos(rcChild, false);

        x += sz.cx + childPadding + p.left + p.right;
        widthNeeded += sz.cx + p.left + p.right;
        remaining -= sz.cx + childPadding + p.right;
    }
    UpdateScrollBars(rc, widthNeeded + (count - 1) * childPadding, heightNeeded);
}

void CHorizontalLayoutUI::DoEvent(UIControlEvent& event)
{
    if (m_separator.HandleEvent(*this, m_rcItem, m_cxyFixed, event))
        return;
    CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name != nullptr && value != nullptr && _wcsicmp(name, L"sepwidth") == 0)
        SetSepWidth(_wtoi(value));
    else if (name != nullptr && value != nullptr && _wcsicmp(name, L"sepimm") == 0)
        SetSepImmediate(_wcsicmp(value, L"true") == 0);
    else
        CContainerUI::SetAttribute(name, value);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    m_separator.PostPaint(hDC, m_rcItem);
}

} // namespace ZvUI

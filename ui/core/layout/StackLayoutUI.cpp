// Stacking along one axis: fixed children keep their extent, auto children share what is left.
#include "layout/StackLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "layout/LayoutLimits.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using layout_limits::Clamp;
using layout_limits::LimitToChild;

namespace {

// Names the stacking axis "main" and the other one "cross", so one routine serves both layouts.
struct Axis {
    bool vertical;

    LONG Main(const SIZE& s) const { return vertical ? s.cy : s.cx; }
    LONG Cross(const SIZE& s) const { return vertical ? s.cx : s.cy; }
    LONG& Main(SIZE& s) const { return vertical ? s.cy : s.cx; }
    LONG& Cross(SIZE& s) const { return vertical ? s.cx : s.cy; }
    // Edges of a rectangle, or the paddings of a padding rectangle.
    LONG MainStart(const RECT& r) const { return vertical ? r.top : r.left; }
    LONG MainEnd(const RECT& r) const { return vertical ? r.bottom : r.right; }
    LONG CrossStart(const RECT& r) const { return vertical ? r.left : r.top; }
    LONG CrossEnd(const RECT& r) const { return vertical ? r.right : r.bottom; }
    LONG MainPadding(const RECT& p) const { return MainStart(p) + MainEnd(p); }
    LONG CrossPadding(const RECT& p) const { return CrossStart(p) + CrossEnd(p); }

    int MinMain(const CControlUI& c) const { return vertical ? c.GetMinHeight() : c.GetMinWidth(); }
    int MaxMain(const CControlUI& c) const { return vertical ? c.GetMaxHeight() : c.GetMaxWidth(); }
    int MinCross(const CControlUI& c) const { return vertical ? c.GetMinWidth() : c.GetMinHeight(); }
    int MaxCross(const CControlUI& c) const { return vertical ? c.GetMaxWidth() : c.GetMaxHeight(); }

    RECT Make(int mainStart, int mainEnd, int crossStart, int crossEnd) const
    {
        return vertical ? RECT{crossStart, mainStart, crossEnd, mainEnd} : RECT{mainStart, crossStart, mainEnd, crossEnd};
    }
};

} // namespace

UINT CStackLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_separator.GetExtent() != 0 ? ControlFlagSetCursor : 0;
}

void CStackLayoutUI::SetPos(RECT rect, bool invalidate)
{
    const Axis axis{m_bVertical};
    // The bar that scrolls along each axis.
    const auto mainBar = [this] { return m_bVertical ? IsVScrollVisible() : IsHScrollVisible(); };
    const auto crossBar = [this] { return m_bVertical ? IsHScrollVisible() : IsVScrollVisible(); };
    const auto mainBarPos = [this] { return m_bVertical ? GetVScrollPos() : GetHScrollPos(); };
    const auto crossBarPos = [this] { return m_bVertical ? GetHScrollPos() : GetVScrollPos(); };
    const auto crossBarRange = [this] { return m_bVertical ? GetHScrollRange() : GetVScrollRange(); };

    CControlUI::SetPos(rect, invalidate);
    RECT rc = GetInsetRect();
    // An attached vertical bar takes no room in the vertical layout, but does in the horizontal one.
    if (IsVScrollVisible() && !(m_bVertical && m_bExternalVScroll))
        rc.right -= GetVScrollWidth();
    if (IsHScrollVisible())
        rc.bottom -= GetHScrollHeight();
    if (m_items.IsEmpty()) {
        UpdateScrollBars(rc, 0, 0);
        return;
    }

    SIZE avail = {rc.right - rc.left, rc.bottom - rc.top};
    // The horizontal layout never widens its room by its own bar's range.
    if (m_bVertical && IsHScrollVisible())
        avail.cx += GetHScrollRange();
    if (IsVScrollVisible())
        avail.cy += GetVScrollRange();
    const int availMain = axis.Main(avail);
    const int childPadding = GetChildPadding();

    // Measuring pass.
    int count = 0;
    int autoCount = 0;
    int fixedTotal = 0;
    int crossNeeded = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (!child->IsVisible() || child->IsFloat())
            continue;
        ++count;
        const RECT p = child->GetPadding();
        SIZE room = avail;
        axis.Cross(room) -= axis.CrossPadding(p);
        SIZE sz = child->EstimateSize(LimitToChild(room, *child));
        LONG& main = axis.Main(sz);
        LONG& cross = axis.Cross(sz);
        if (main == 0)
            ++autoCount;
        else
            main = Clamp(main, axis.MinMain(*child), axis.MaxMain(*child));
        fixedTotal += main + axis.MainPadding(p);
        cross = Clamp(std::max<LONG>(cross, 0), axis.MinCross(*child), axis.MaxCross(*child));
        crossNeeded = std::max<int>(crossNeeded, cross + axis.CrossPadding(p));
    }
    fixedTotal += (count - 1) * childPadding;
    const int expand = autoCount > 0 ? std::max(0, (availMain - fixedTotal) / autoCount) : 0;

    int pos = axis.MainStart(rc);
    if (mainBar()) {
        pos -= mainBarPos();
    } else if (autoCount == 0) {
        const UINT align = m_bVertical ? m_iChildVAlign : m_iChildAlign;
        if (align == (m_bVertical ? DT_VCENTER : DT_CENTER))
            pos += (availMain - fixedTotal) / 2;
        else if (align == (m_bVertical ? DT_BOTTOM : DT_RIGHT))
            pos += availMain - fixedTotal;
    }

    // Placing pass.
    int remaining = availMain;
    int fixedLeft = fixedTotal;
    int mainNeeded = 0;
    int placed = 0;
    int autoDone = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (IsPlacedApart(child, i))
            continue;
        ++placed;
        const RECT p = child->GetPadding();
        remaining -= axis.MainStart(p);
        SIZE room = avail;
        axis.Cross(room) -= axis.CrossPadding(p);
        axis.Main(room) = remaining;
        const SIZE available = LimitToChild(room, *child);
        fixedLeft -= axis.MainPadding(p);
        if (placed > 1)
            fixedLeft -= childPadding;
        SIZE sz = child->EstimateSize(available);
        LONG& main = axis.Main(sz);
        LONG& cross = axis.Cross(sz);
        if (main == 0) {
            ++autoDone;
            main = expand;
            // The last auto child takes the rounding remainder and what others gave up.
            if (autoDone == autoCount)
                main = std::max(0, remaining - static_cast<int>(axis.MainEnd(p)) - fixedLeft);
            main = Clamp(main, axis.MinMain(*child), axis.MaxMain(*child));
        } else {
            main = Clamp(main, axis.MinMain(*child), axis.MaxMain(*child));
            fixedLeft -= main;
        }

        const int crossFill = axis.Cross(avail) - axis.CrossPadding(p);
        if (m_bVertical) {
            cross = std::max<LONG>(cross, 0);
            if (cross == 0)
                cross = crossFill;
        } else {
            // The cross size comes from the maximum height, so children fill the row by default.
            cross = child->GetMaxHeight();
            if (cross == 0)
                cross = crossFill;
            cross = std::max<LONG>(cross, 0);
        }
        cross = std::min(cross, axis.Cross(available));
        cross = std::max<LONG>(cross, axis.MinCross(*child));

        const UINT align = m_bVertical ? m_iChildAlign : m_iChildVAlign;
        int crossStart = 0;
        int crossEnd = 0;
        if (align == (m_bVertical ? DT_CENTER : DT_VCENTER)) {
            int c = (axis.CrossStart(rc) + axis.CrossEnd(rc)) / 2;
            if (crossBar())
                c += crossBarRange() / 2 - crossBarPos();
            crossStart = c - cross / 2;
            crossEnd = c + cross - cross / 2;
        } else if (align == (m_bVertical ? DT_RIGHT : DT_BOTTOM)) {
            int e = axis.CrossEnd(rc);
            if (crossBar())
                e += crossBarRange() - crossBarPos();
            crossEnd = e - axis.CrossEnd(p);
            crossStart = crossEnd - cross;
        } else {
            int s = axis.CrossStart(rc);
            if (crossBar())
                s -= crossBarPos();
            crossStart = s + axis.CrossStart(p);
            crossEnd = crossStart + cross;
        }
        const int mainStart = pos + axis.MainStart(p);
        child->SetPos(axis.Make(mainStart, mainStart + main, crossStart, crossEnd), false);

        pos += main + childPadding + axis.MainPadding(p);
        mainNeeded += main + axis.MainPadding(p);
        remaining -= main + childPadding + axis.MainEnd(p);
    }
    mainNeeded += (count - 1) * childPadding;
    if (m_bVertical)
        UpdateScrollBars(rc, crossNeeded, mainNeeded);
    else
        UpdateScrollBars(rc, mainNeeded, crossNeeded);
}

void CStackLayoutUI::DoEvent(UIControlEvent& event)
{
    if (m_separator.HandleEvent(*this, m_rcItem, m_cxyFixed, event))
        return;
    CContainerUI::DoEvent(event);
}

void CStackLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name != nullptr && value != nullptr && _wcsicmp(name, m_extentAttribute) == 0)
        SetSepExtent(_wtoi(value));
    else if (name != nullptr && value != nullptr && _wcsicmp(name, L"sepimm") == 0)
        SetSepImmediate(attr::IsTrue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

void CStackLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    m_separator.PostPaint(hDC, m_rcItem);
}

} // namespace ZvUI

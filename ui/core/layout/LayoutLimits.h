#pragma once
// Size-limit arithmetic shared by the stacking layouts (internal to the layout folder).

#include "control/ControlUI.h"

namespace ZvUI::layout_limits {

// The room a child may measure in: its fixed size, else its maximum, wherever that is smaller.
inline SIZE LimitToChild(SIZE available, const CControlUI& child)
{
    const int widthLimit = child.GetFixedWidth() < 1 ? child.GetMaxWidth() : child.GetFixedWidth();
    const int heightLimit = child.GetFixedHeight() < 1 ? child.GetMaxHeight() : child.GetFixedHeight();
    if (widthLimit < available.cx)
        available.cx = widthLimit;
    if (heightLimit < available.cy)
        available.cy = heightLimit;
    return available;
}

// Below lo becomes lo, then above hi becomes hi: the maximum wins when they cross.
inline int Clamp(int value, int lo, int hi)
{
    if (value < lo)
        value = lo;
    if (value > hi)
        value = hi;
    return value;
}

} // namespace ZvUI::layout_limits

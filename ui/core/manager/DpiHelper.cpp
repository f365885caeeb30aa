// DPI scale arithmetic of one window.
#include "manager/DpiHelper.h"

namespace ZvUI {

CDpiHelper::CDpiHelper()
{
    SetScale(96);
}

void CDpiHelper::SetScale(int dpi)
{
    m_nScale = ::MulDiv(dpi, 100, 96);
    if (m_nInitialScale == 0)
        m_nInitialScale = m_nScale;
}

int CDpiHelper::GetScale() const
{
    if (m_nAwareness == kUnaware)
        return 100;
    if (m_nAwareness == kSystemAware)
        return m_nInitialScale;
    return m_nScale;
}

int CDpiHelper::GetDpi() const
{
    if (m_nAwareness == kUnaware)
        return 96;
    return ::MulDiv(GetScale(), 96, 100);
}

int CDpiHelper::Scale(int value) const
{
    if (m_nAwareness == kUnaware)
        return value;
    return ::MulDiv(value, GetScale(), 100);
}

int CDpiHelper::Unscale(int value) const
{
    if (m_nAwareness == kUnaware)
        return value;
    return ::MulDiv(value, 100, GetScale());
}

void CDpiHelper::ScaleRect(RECT& rc) const
{
    const int width = Scale(rc.right - rc.left);
    const int height = Scale(rc.bottom - rc.top);
    rc.left = Scale(rc.left);
    rc.top = Scale(rc.top);
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
}

void CDpiHelper::UnscaleRect(RECT& rc) const
{
    const int width = Unscale(rc.right - rc.left);
    const int height = Unscale(rc.bottom - rc.top);
    rc.left = Unscale(rc.left);
    rc.top = Unscale(rc.top);
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
}

RECT CDpiHelper::ScaleRectValues(int left, int top, int right, int bottom) const
{
    RECT rc = {left, top, right, bottom};
    ScaleRect(rc);
    return rc;
}

void CDpiHelper::ScalePoint(POINT& pt) const
{
    pt.x = Scale(pt.x);
    pt.y = Scale(pt.y);
}

void CDpiHelper::ScaleSize(SIZE& sz) const
{
    sz.cx = Scale(sz.cx);
    sz.cy = Scale(sz.cy);
}

POINT CDpiHelper::ScaleXY(int x, int y) const
{
    return POINT{Scale(x), Scale(y)};
}

SIZE CDpiHelper::ScaleSizeXY(int cx, int cy) const
{
    return SIZE{Scale(cx), Scale(cy)};
}

} // namespace ZvUI

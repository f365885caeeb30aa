// Thin wrappers of RECT, SIZE and POINT.

#include "utils/UIGeometry.h"

namespace ZvUI {

// --- CUIRect ---

CUIRect::CUIRect()
{
    left = top = right = bottom = 0;
}

CUIRect::CUIRect(const RECT& src)
{
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CUIRect::CUIRect(int iLeft, int iTop, int iRight, int iBottom)
{
    left = iLeft;
    top = iTop;
    right = iRight;
    bottom = iBottom;
}

void CUIRect::Empty()
{
    left = top = right = bottom = 0;
}

bool CUIRect::IsNull() const
{
    return left == 0 && top == 0 && right == 0 && bottom == 0;
}

void CUIRect::Join(const RECT& rc)
{
    if (rc.left < left) {
        left = rc.left;
    }
    if (rc.top < top) {
        top = rc.top;
    }
    if (rc.right > right) {
        right = rc.right;
    }
    if (rc.bottom > bottom) {
        bottom = rc.bottom;
    }
}

void CUIRect::Union(const RECT& rc)
{
    const RECT self = *this;
    ::UnionRect(this, &self, &rc);
}

void CUIRect::Offset(int cx, int cy)
{
    ::OffsetRect(this, cx, cy);
}

void CUIRect::ResetOffset()
{
    ::OffsetRect(this, -left, -top);
}

void CUIRect::Inflate(int cx, int cy)
{
    ::InflateRect(this, cx, cy);
}

void CUIRect::Deflate(int cx, int cy)
{
    ::InflateRect(this, -cx, -cy);
}

void CUIRect::Normalize()
{
    if (left > right) {
        const LONG t = left;
        left = right;
        right = t;
    }
    if (top > bottom) {
        const LONG t = top;
        top = bottom;
        bottom = t;
    }
}

// --- CUISize ---

CUISize::CUISize()
{
    cx = cy = 0;
}

CUISize::CUISize(const SIZE& src)
{
    cx = src.cx;
    cy = src.cy;
}

CUISize::CUISize(int iCx, int iCy)
{
    cx = iCx;
    cy = iCy;
}

CUISize::CUISize(const RECT& rc)
{
    cx = rc.right - rc.left;
    cy = rc.bottom - rc.top;
}

// --- CUIPoint ---

CUIPoint::CUIPoint()
{
    x = y = 0;
}

CUIPoint::CUIPoint(const POINT& src)
{
    x = src.x;
    y = src.y;
}

CUIPoint::CUIPoint(int iX, int iY)
{
    x = iX;
    y = iY;
}

CUIPoint::CUIPoint(LPARAM lParam)
{
    x = static_cast<short>(LOWORD(lParam));
    y = static_cast<short>(HIWORD(lParam));
}

} // namespace ZvUI

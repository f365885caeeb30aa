#pragma once
// Thin wrappers of RECT, SIZE and POINT that pass wherever the platform records are expected.

#include <windows.h>

namespace ZvUI {

class CUIRect : public RECT {
public:
    CUIRect();
    CUIRect(const RECT& src);
    CUIRect(int iLeft, int iTop, int iRight, int iBottom);

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }
    void Empty();
    bool IsNull() const;
    // Grows this rectangle over rc, empty or not.
    void Join(const RECT& rc);
    void Union(const RECT& rc);
    void Offset(int cx, int cy);
    // Moves left and top to 0, keeping the size.
    void ResetOffset();
    void Inflate(int cx, int cy);
    void Deflate(int cx, int cy);
    void Normalize();
};

class CUISize : public SIZE {
public:
    CUISize();
    CUISize(const SIZE& src);
    CUISize(int cx, int cy);
    explicit CUISize(const RECT& rc);
};

class CUIPoint : public POINT {
public:
    CUIPoint();
    CUIPoint(const POINT& src);
    CUIPoint(int x, int y);
    // From a mouse message: both words sign-extended, so off-window positions are negative.
    explicit CUIPoint(LPARAM lParam);
};

static_assert(sizeof(CUIRect) == sizeof(RECT), "CUIRect must stay layout-compatible with RECT");
static_assert(sizeof(CUISize) == sizeof(SIZE), "CUISize must stay layout-compatible with SIZE");
static_assert(sizeof(CUIPoint) == sizeof(POINT), "CUIPoint must stay layout-compatible with POINT");

} // namespace ZvUI

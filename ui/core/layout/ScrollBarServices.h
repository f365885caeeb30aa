#pragma once
// What a container calls on its scroll bars: all it needs of CScrollBarUI.

#include <windows.h>

namespace ZvUI {

class CControlUI;
class CContainerUI;

// Interface name a scroll bar answers with static_cast<IScrollBarServicesUI*>(this).
constexpr wchar_t kScrollBarServicesInterface[] = L"ScrollBarServices";
// Interface name a scroll bar answers with itself (the CScrollBarUI object).
constexpr wchar_t kScrollBarInterface[] = L"ScrollBar";

// CScrollBarUI derives from CControlUI and from this interface.
class IScrollBarServicesUI {
public:
    virtual void SetOwner(CContainerUI* owner) = 0;
    virtual bool IsHorizontal() const = 0;
    virtual void SetHorizontal(bool horizontal) = 0;
    virtual int GetScrollPos() const = 0;
    // Clamps to 0..range and re-places the bar.
    virtual void SetScrollPos(int pos) = 0;
    virtual int GetScrollRange() const = 0;
    // Negative becomes 0; the position is clamped to the new range.
    virtual void SetScrollRange(int range) = 0;
    virtual int GetLineSize() const = 0;

protected:
    ~IScrollBarServicesUI() = default;
};

// Makes the bars of EnableScrollBar instead of CScrollBarUI (tests substitute their own);
// null restores CScrollBarUI. The caller owns the result.
using ScrollBarCreator = CControlUI* (*)();
void SetScrollBarCreator(ScrollBarCreator creator);
ScrollBarCreator GetScrollBarCreator();

} // namespace ZvUI

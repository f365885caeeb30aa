#pragma once
// The scrolling body of a list: stacks the rows, keeps the header in step with horizontal scrolling, sorts.

#include <vector>

#include "layout/VerticalLayoutUI.h"

namespace ZvUI {

class CListUI;

// Negative, zero or positive, like strcmp; context is the caller's value.
using ListCompareFn = int (*)(CControlUI* first, CControlUI* second, UINT_PTR context);

class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner) : m_pOwner(owner) {}

    void SetPos(RECT rc, bool invalidate = true) override;
    void SetScrollPos(SIZE pos, bool notify = true) override;
    int GetScrollStepSize() const override;
    void DoEvent(UIControlEvent& event) override;
    // Paints only the rows that reach into the paint rectangle, found by bisection.
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;

    // Renumbers every row and clears the selection; false without a compare function.
    bool SortItems(ListCompareFn compare, UINT_PTR context);
    CListUI* GetOwner() const { return m_pOwner; }

private:
    // An attached bar is shown, ranged and hidden here rather than by the container.
    void UpdateAttachedBars(RECT rc, int requiredWidth, int requiredHeight);
    // Moves the header's items with the rows and copies their rectangles into the columns.
    void ShiftColumns(int dx);

    CListUI* m_pOwner = nullptr;
    // The rows the last layout stacked, top to bottom; empty when it placed them otherwise
    // (floating rows, tiles), and then every child is painted as a container does.
    std::vector<CControlUI*> m_stacked;
    ListCompareFn m_pCompare = nullptr;
    UINT_PTR m_compareContext = 0;
};

} // namespace ZvUI

#pragma once
// The scrolling body of a list: stacks the rows, keeps the header in step with horizontal scrolling, sorts.

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

    // Renumbers every row and clears the selection; false without a compare function.
    bool SortItems(ListCompareFn compare, UINT_PTR context);
    CListUI* GetOwner() const { return m_pOwner; }

private:
    // An attached bar is shown, ranged and hidden here rather than by the container.
    void UpdateAttachedBars(RECT rc, int requiredWidth, int requiredHeight);
    // Moves the header's items with the rows and copies their rectangles into the columns.
    void ShiftColumns(int dx);

    CListUI* m_pOwner = nullptr;
    ListCompareFn m_pCompare = nullptr;
    UINT_PTR m_compareContext = 0;
};

} // namespace ZvUI

// Tile layout: rows of equal-width tiles, row height from the tallest member, vertical scrolling only.
#include "layout/TileLayoutUI.h"

#include <cwchar>
#include <cstdlib>

#include "control/ScrollBarUI.h"
#include "layout/LayoutLimits.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using layout_limits::Clamp;

CTileLayoutUI::CTileLayoutUI() = default;
CTileLayoutUI::~CTileLayoutUI() = default;

LPCWSTR CTileLayoutUI::GetClass() const
{
    return L"TileLayoutUI";
}

LPVOID CTileLayoutUI::GetInterface(LPCWSTR name)
{
    if (_wcsicmp(name, L"TileLayout") == 0)
        return this;
    return CContainerUI::GetInterface(name);
}

SIZE CTileLayoutUI::GetItemSize() const
{
    return ScaleSizeValue(m_szItem);
}

void CTileLayoutUI::SetItemSize(int cx, int cy)
{
    if (m_szItem.cx == cx && m_szItem.cy == cy)
        return;
    m_szItem = SIZE{cx, cy};
    NeedUpdate();
}

void CTileLayoutUI::SetColumns(int columns)
{
    if (columns <= 0)
        return;
    m_nColumns = columns;
    NeedUpdate();
}

void CTileLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (_wcsicmp(name, L"itemsize") == 0) {
        const SIZE size = attr::ParseSize(value);
        SetItemSize(size.cx, size.cy);
    } else if (_wcsicmp(name, L"columns") == 0) {
        SetColumns(_wtoi(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CTileLayoutUI::SetPos(RECT rcPos, bool invalidate)
{
    CControlUI::SetPos(rcPos, invalidate);
    RECT rc = GetInsetRect();
    if (GetCount() == 0) {
        UpdateScrollBars(rc, 0, 0);
        return;
    }

    CScrollBarUI* vbar = GetVerticalScrollBar();
    CScrollBarUI* hbar = GetHorizontalScrollBar();
    const bool vVisible = vbar != nullptr && vbar->IsVisible();
    const bool hVisible = hbar != nullptr && hbar->IsVisible();
    if (vVisible)
        rc.right -= vbar->GetFixedWidth();
    if (hVisible)
        rc.bottom -= hbar->GetFixedHeight();

    const SIZE item = GetItemSize();
    if (item.cx > 0) {
        m_nColumns = (rc.right - rc.left) / item.cx;
        if (m_nColumns == 0)
            m_nColumns = 1;
    }
    const int columns = m_nColumns;
    int width = rc.right - rc.left;
    if (hVisible)
        width += hbar->GetScrollRange();
    const int w = width / columns;

    const int x0 = rc.left - (hVisible ? hbar->GetScrollPos() : 0);
    int x = x0;
    int y = rc.top - (vVisible ? vbar->GetScrollPos() : 0);
    const int childPadding = GetChildPadding();
    const int half = childPadding / 2;
    int placed = 0;
    int rowHeight = 0;
    int heightNeeded = 0;

    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (IsPlacedApart(child, i))
            continue;

        if (placed % columns == 0) {
            // The row is as tall as its tallest member at the width it will get.
            int j = 0;
            for (int k = i; k < GetCount() && j < columns; ++k) {
                CControlUI* member = GetItemAt(k);
                if (!member->IsVisible() || member->IsFloat())
                    continue;
                const RECT p = member->GetPadding();
                const int gap = (j == 0 || j + 1 == columns) ? half : childPadding;
                const int available =
                    Clamp(w - p.left - p.right - gap, member->GetMinWidth(), member->GetMaxWidth());
                SIZE sz = member->EstimateSize(SIZE{available, 9999});
                sz.cy = Clamp(sz.cy, member->GetMinHeight(), member->GetMaxHeight());
                if (sz.cy + p.top + p.bottom > rowHeight)
                    rowHeight = sz.cy + p.top + p.bottom;
                ++j;
            }
        }

        const int column = placed % columns;
        const RECT p = child->GetPadding();
        RECT tile = {x + p.left + half, y + p.top, x + w - p.right - half, y + rowHeight};
        if (column == 0)
            tile.left = x + p.left;
        if (column + 1 == columns)
            tile.right = x + w - p.right;

        SIZE sz = child->EstimateSize(SIZE{tile.right - tile.left, tile.bottom - tile.top});
        if (sz.cx == 0)
            sz.cx = tile.right - tile.left;
        if (sz.cy == 0)
            sz.cy = tile.bottom - tile.top;
        sz.cx = Clamp(sz.cx, child->GetMinWidth(), child->GetMaxWidth());
        sz.cy = Clamp(sz.cy, child->GetMinHeight(), child->GetMaxHeight());
        const int left = (tile.left + tile.right - sz.cx) / 2;
        const int top = (tile.top + tile.bottom - sz.cy) / 2;
        child->SetPos(RECT{left, top, left + sz.cx, top + sz.cy}, true);

        ++placed;
        if (placed % columns == 0) {
            x = x0;
            y += rowHeight + childPadding;
            rowHeight = 0;
        } else {
            x += w;
        }
        heightNeeded = tile.bottom - rc.top + (vVisible ? vbar->GetScrollPos() : 0);
    }

    UpdateScrollBars(rc, 0, heightNeeded);
}

} // namespace ZvUI

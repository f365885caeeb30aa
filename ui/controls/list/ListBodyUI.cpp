// List body: row placement under the header's width, scrolling that carries the columns, sorting.
#include "list/ListBodyUI.h"

#include <algorithm>

#include "layout/LayoutLimits.h"
#include "layout/ScrollBarServices.h"
#include "list/ListHeaderUI.h"
#include "list/ListInterfaces.h"
#include "list/ListSupport.h"
#include "list/ListUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIClipGuard.h"

namespace ZvUI {

using layout_limits::Clamp;

void CListBodyUI::SetPos(RECT rect, bool invalidate)
{
    CControlUI::SetPos(rect, invalidate);
    m_stacked.clear();
    RECT rc = GetInsetRect();
    // An attached bar lies outside the body and takes no room here.
    const bool keepBarRoom = m_pOwner != nullptr && m_pOwner->IsFixedScrollbar() && m_pVerticalScrollBar != nullptr;
    if (!m_bExternalVScroll && (keepBarRoom || IsVScrollVisible()))
        rc.right -= GetVScrollWidth();
    if (IsHScrollVisible())
        rc.bottom -= GetHScrollHeight();
    if (m_items.IsEmpty()) {
        if (m_bExternalVScroll)
            UpdateAttachedBars(rc, 0, 0);
        else
            UpdateScrollBars(rc, 0, 0);
        return;
    }

    SIZE avail = {rc.right - rc.left, rc.bottom - rc.top};
    if (IsHScrollVisible())
        avail.cx += GetHScrollRange();
    const int childPadding = GetChildPadding();

    // Measuring pass.
    int count = 0;
    int autoCount = 0;
    int fixedHeight = 0;
    int neededWidth = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* row = static_cast<CControlUI*>(m_items[i]);
        if (!row->IsVisible() || row->IsFloat())
            continue;
        ++count;
        const RECT p = row->GetPadding();
        SIZE sz = row->EstimateSize(avail);
        if (sz.cy == 0)
            ++autoCount;
        else
            sz.cy = Clamp(sz.cy, row->GetMinHeight(), row->GetMaxHeight());
        fixedHeight += sz.cy + p.top + p.bottom;
        const int width = Clamp(std::max<int>(sz.cx, 0), row->GetMinWidth(), row->GetMaxWidth());
        neededWidth = std::max(neededWidth, width + static_cast<int>(p.left + p.right));
    }
    if (count > 1)
        fixedHeight += (count - 1) * childPadding;

    // Rows are as wide as the header's columns.
    CListHeaderUI* header = m_pOwner != nullptr ? m_pOwner->GetHeader() : nullptr;
    if (header != nullptr && header->GetCount() > 0) {
        neededWidth = std::max<int>(0, header->EstimateSize(SIZE{rc.right - rc.left, rc.bottom - rc.top}).cx);
        if (IsHScrollVisible() && header->IsVisible()) {
            RECT headerRc = header->GetPos();
            const int shift = (rc.left - GetHScrollPos()) - headerRc.left;
            if (shift != 0) {
                ::OffsetRect(&headerRc, shift, 0);
                headerRc.right = std::max<LONG>(headerRc.right, headerRc.left + neededWidth);
                header->SetPos(headerRc, false);
            }
        }
    }

    // Placing pass.
    const int expand = autoCount > 0 ? std::max<int>(0, (avail.cy - fixedHeight) / autoCount) : 0;
    int y = rc.top - (IsVScrollVisible() ? GetVScrollPos() : 0);
    const int x = rc.left - (IsHScrollVisible() ? GetHScrollPos() : 0);
    int remaining = static_cast<int>(avail.cy) - fixedHeight;
    int autoDone = 0;
    int neededHeight = 0;
    CControlUI* firstRow = nullptr;
    bool stacked = true;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* row = static_cast<CControlUI*>(m_items[i]);
        if (IsPlacedApart(row, i)) {
            stacked = stacked && !(row->IsVisible() && row->IsFloat());
            continue;
        }
        if (firstRow == nullptr)
            firstRow = row;
        m_stacked.push_back(row);
        const RECT p = row->GetPadding();
        SIZE sz = row->EstimateSize(avail);
        if (sz.cy == 0) {
            ++autoDone;
            sz.cy = autoDone == autoCount ? std::max<int>(0, remaining) : expand;
            remaining -= expand;
        }
        sz.cy = Clamp(sz.cy, row->GetMinHeight(), row->GetMaxHeight());
        int width = std::max<int>(neededWidth, avail.cx - p.left - p.right);
        width = Clamp(width, row->GetMinWidth(), row->GetMaxWidth());
        const RECT placed = {x + p.left, y + p.top, x + p.left + width, y + p.top + sz.cy};
        row->SetPos(placed, false);
        y += sz.cy + p.top + p.bottom + childPadding;
        neededHeight += sz.cy + p.top + p.bottom;
    }
    if (count > 1)
        neededHeight += (count - 1) * childPadding;

    // Container rows of a fixed width lay themselves out as tiles.
    if (m_pOwner != nullptr && m_pOwner->GetListKind() == ListKindList && firstRow != nullptr &&
        firstRow->GetFixedWidth() > 0) {
        const int perLine = avail.cx / firstRow->GetFixedWidth();
        if (perLine > 0) {
            neededHeight = ((count - 1) / perLine + 1) * firstRow->GetFixedHeight();
            stacked = false;
        }
    }
    if (!stacked)
        m_stacked.clear();

    if (m_bExternalVScroll)
        UpdateAttachedBars(rc, neededWidth, neededHeight);
    else
        UpdateScrollBars(rc, neededWidth, neededHeight);
    if (m_pOwner != nullptr)
        m_pOwner->OnRowsMoved(false);
}

void CListBodyUI::UpdateAttachedBars(RECT rc, int requiredWidth, int requiredHeight)
{
    const auto follow = [](CControlUI* bar, IScrollBarServicesUI* services, int overflow) {
        // Returns +1 when the bar appeared, -1 when it went, 0 otherwise.
        if (bar == nullptr || services == nullptr)
            return 0;
        if (overflow > 0) {
            if (!bar->IsVisible()) {
                bar->SetVisible(true);
                services->SetScrollRange(overflow);
                services->SetScrollPos(0);
                return 1;
            }
            if (services->GetScrollRange() != overflow)
                services->SetScrollRange(overflow);
            return 0;
        }
        if (!bar->IsVisible())
            return 0;
        bar->SetVisible(false);
        services->SetScrollRange(0);
        services->SetScrollPos(0);
        return -1;
    };
    if (follow(m_pHorizontalScrollBar, m_pHorizontalBar, requiredWidth - (rc.right - rc.left)) != 0 ||
        (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())) {
        const int height = GetHScrollHeight();
        m_pHorizontalScrollBar->SetPos(RECT{rc.left, rc.bottom, rc.right, rc.bottom + height}, true);
    }
    const int change = follow(m_pVerticalScrollBar, m_pVerticalBar, requiredHeight - (rc.bottom - rc.top));
    if (change != 0 && m_pOwner != nullptr) {
        // The list makes room beside itself for the bar that now shows, and gives it back.
        RECT padding = m_pOwner->GetPadding();
        int width = GetVScrollWidth();
        if (m_pManager != nullptr) {
            m_pManager->GetDpiHelper()->UnscaleRect(padding);
            width = m_pManager->GetDpiHelper()->Unscale(width);
        }
        padding.right = std::max<LONG>(0, padding.right + change * width);
        m_pOwner->SetPadding(padding);
    }
}

void CListBodyUI::SetScrollPos(SIZE pos, bool notify)
{
    // The header moves first, so container rows that align to it see its new columns.
    const SIZE before = GetScrollPos();
    const int range = GetScrollRange().cx;
    const int dx = std::min(std::max<int>(pos.cx, 0), range) - before.cx;
    if (dx != 0)
        ShiftColumns(dx);
    CVerticalLayoutUI::SetScrollPos(pos, notify);
    // Told whether or not anyone listens to the "scroll" notification.
    const SIZE after = GetScrollPos();
    if (m_pOwner != nullptr && (after.cx != before.cx || after.cy != before.cy))
        m_pOwner->OnRowsMoved(true);
}

void CListBodyUI::ShiftColumns(int dx)
{
    if (m_pOwner == nullptr)
        return;
    m_pOwner->RefreshColumnCount();
    CListHeaderUI* header = m_pOwner->GetHeader();
    if (header == nullptr)
        return;
    UIListInfo* info = m_pOwner->GetListInfo();
    const bool hidden = !header->IsVisible();
    for (int i = 0; i < info->columnCount; ++i) {
        CControlUI* item = header->GetItemAt(i);
        if (hidden)
            item->SetInternVisible(true);
        if (item->IsVisible() && !item->IsFloat()) {
            RECT rc = item->GetPos();
            ::OffsetRect(&rc, -dx, 0);
            item->SetPos(rc, false);
            info->columns[i] = rc;
        }
        if (hidden)
            item->SetInternVisible(false);
    }
    header->Invalidate();
}

bool CListBodyUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    // A pending layout may have left rows that are gone; a stop control needs the full walk.
    if (m_stacked.empty() || IsUpdateNeeded() || stopControl != nullptr)
        return CVerticalLayoutUI::DoPaint(hDC, rcPaint, stopControl);
    RECT temp = {};
    if (!::IntersectRect(&temp, &rcPaint, &m_rcItem))
        return true;
    CUIClipGuard clip;
    CUIClipGuard::GenerateClip(hDC, temp, clip);
    CControlUI::DoPaint(hDC, rcPaint, stopControl);

    RECT inner = {};
    const RECT view = GetViewRect();
    if (::IntersectRect(&inner, &rcPaint, &view)) {
        CUIClipGuard rowClip;
        CUIClipGuard::GenerateClip(hDC, inner, rowClip);
        // Scrolling moves every row by the same amount, so the stacked order holds.
        const auto first = std::partition_point(m_stacked.begin(), m_stacked.end(), [&inner](CControlUI* row) {
            return row->GetPos().bottom <= inner.top;
        });
        for (auto it = first; it != m_stacked.end(); ++it) {
            CControlUI* row = *it;
            const RECT& pos = row->GetPos();
            if (pos.top >= inner.bottom)
                break;
            RECT meet = {};
            if (row->IsVisible() && ::IntersectRect(&meet, &pos, &inner))
                row->Paint(hDC, rcPaint, nullptr);
        }
    }
    for (CControlUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        RECT meet = {};
        if (bar != nullptr && bar->IsVisible() && ::IntersectRect(&meet, &bar->GetPos(), &rcPaint))
            bar->Paint(hDC, rcPaint, nullptr);
    }
    return true;
}

int CListBodyUI::GetScrollStepSize() const
{
    return m_pOwner != nullptr ? m_pOwner->GetScrollStepSize() : CVerticalLayoutUI::GetScrollStepSize();
}

void CListBodyUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type) && m_pOwner != nullptr) {
        m_pOwner->DoEvent(event);
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

bool CListBodyUI::SortItems(ListCompareFn compare, UINT_PTR context)
{
    if (compare == nullptr)
        return false;
    m_pCompare = compare;
    m_compareContext = context;
    auto** first = reinterpret_cast<CControlUI**>(m_items.GetData());
    std::stable_sort(first, first + m_items.GetSize(), [this](CControlUI* a, CControlUI* b) {
        if (a == nullptr || b == nullptr)
            return false;
        return m_pCompare(a, b, m_compareContext) < 0;
    });
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* row = static_cast<IListItemUI*>(static_cast<CControlUI*>(m_items[i])->GetInterface(L"ListItem"));
        if (row != nullptr) {
            row->SetIndex(i);
            row->Select(false);
        }
    }
    if (m_pOwner != nullptr)
        m_pOwner->SelectItem(-1, false);
    if (m_pManager != nullptr) {
        SetPos(GetPos(), true);
        Invalidate();
    }
    return true;
}

} // namespace ZvUI

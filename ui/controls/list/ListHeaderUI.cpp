// List header: measures and places its items left to right; the list copies their rectangles.
#include "list/ListHeaderUI.h"

#include <algorithm>

#include "control/ScrollBarUI.h"
#include "list/ListHeaderItemUI.h"
#include "list/ListSupport.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

using list_support::Is;

namespace {

int ClampTo(int value, int lo, int hi)
{
    return std::min(std::max(value, lo), hi);
}

} // namespace

LPCWSTR CListHeaderUI::GetClass() const
{
    return L"ListHeaderUI";
}

LPVOID CListHeaderUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"ListHeader"))
        return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

SIZE CListHeaderUI::EstimateSize(SIZE available)
{
    SIZE size = {0, GetFixedHeight()};
    if (size.cy == 0 && m_pManager != nullptr) {
        for (int i = 0; i < m_items.GetSize(); ++i)
            size.cy = std::max<LONG>(size.cy, static_cast<CControlUI*>(m_items[i])->EstimateSize(available).cy);
        const int least = m_pManager->GetDefaultFontInfo()->metrics.tmHeight + list_support::Scale(*this, 6);
        size.cy = std::max<LONG>(size.cy, least);
    }
    for (int i = 0; i < m_items.GetSize(); ++i)
        size.cx += static_cast<CControlUI*>(m_items[i])->EstimateSize(available).cx;
    size.cx = std::max<LONG>(size.cx, available.cx);
    return size;
}

void CListHeaderUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    rc = GetInsetRect();
    if (m_items.IsEmpty())
        return;

    SIZE avail = {rc.right - rc.left, rc.bottom - rc.top};
    const int childPadding = GetChildPadding();

    int adjustable = 0;
    int fixed = 0;
    int count = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* item = static_cast<CControlUI*>(m_items[i]);
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const SIZE sz = item->EstimateSize(avail);
        const RECT p = item->GetPadding();
        if (sz.cx == 0)
            ++adjustable;
        else
            fixed += ClampTo(sz.cx, item->GetMinWidth(), item->GetMaxWidth());
        fixed += p.left + p.right;
        ++count;
    }
    if (count > 1)
        fixed += (count - 1) * childPadding;

    // The rows lose the width of the body's vertical bar; the header follows them.
    int scaleWidth = avail.cx;
    auto* parentContainer = m_pParent != nullptr ? static_cast<CContainerUI*>(m_pParent->GetInterface(L"Container")) : nullptr;
    if (parentContainer != nullptr) {
        CScrollBarUI* bar = parentContainer->GetVerticalScrollBar();
        if (bar != nullptr && bar->IsVisible()) {
            avail.cx -= bar->GetFixedWidth();
            scaleWidth -= bar->GetFixedWidth();
        }
    }
    const int share = adjustable > 0 ? std::max<int>(0, (avail.cx - fixed) / adjustable) : 0;

    int x = rc.left;
    int remaining = avail.cx;
    int adjustableDone = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* item = static_cast<CControlUI*>(m_items[i]);
        if (IsPlacedApart(item, i))
            continue;
        const RECT p = item->GetPadding();
        remaining -= p.left;
        int width = 0;
        auto* headerItem = static_cast<CListHeaderItemUI*>(item->GetInterface(L"ListHeaderItem"));
        if (m_bScaleHeader && headerItem != nullptr)
            width = scaleWidth * headerItem->GetScale() / 100;
        else
            width = item->EstimateSize(SIZE{remaining, avail.cy}).cx;
        if (width == 0) {
            ++adjustableDone;
            width = adjustableDone == adjustable ? std::max<int>(0, remaining - static_cast<int>(p.right)) : share;
        }
        if (width != 0)
            width = ClampTo(width, item->GetMinWidth(), item->GetMaxWidth());
        int height = item->GetFixedHeight();
        if (height == 0)
            height = std::max<int>(0, rc.bottom - rc.top - p.top - p.bottom);
        height = ClampTo(height, item->GetMinHeight(), item->GetMaxHeight());
        const RECT placed = {x + p.left, rc.top + p.top, x + p.left + width + p.right, rc.top + p.top + height};
        item->SetPos(placed, false);
        x += width + p.left + p.right + childPadding;
        remaining -= width + childPadding + p.right;
    }
}

void CListHeaderUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"scaleheader"))
        m_bScaleHeader = list_support::IsTrue(value);
    else
        CHorizontalLayoutUI::SetAttribute(name, value);
}

} // namespace ZvUI

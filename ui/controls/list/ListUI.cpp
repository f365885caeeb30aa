// List control: header and body, selection bookkeeping, keyboard and wheel, looks of the rows.
#include "list/ListUI.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "control/ScrollBarUI.h"
#include "list/ListHeaderItemUI.h"
#include "list/ListHeaderUI.h"
#include "list/ListSupport.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

using list_support::Is;
using list_support::IsTrue;
using list_support::ParseColor;

namespace {

LPVOID Slot(int index)
{
    return reinterpret_cast<LPVOID>(static_cast<INT_PTR>(index));
}

int IndexAt(const CUIPtrArray& set, int i)
{
    return static_cast<int>(reinterpret_cast<INT_PTR>(set.GetAt(i)));
}

bool IsHeaderItem(CControlUI* control)
{
    return wcsstr(control->GetClass(), L"ListHeaderItemUI") != nullptr;
}

} // namespace

CListUI::CListUI()
{
    m_pList = new CListBodyUI(this);
    m_pHeader = new CListHeaderUI;
    Add(m_pHeader);
    Add(m_pList);
}

LPCWSTR CListUI::GetClass() const
{
    return L"ListUI";
}

LPVOID CListUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"List"))
        return this;
    if (Is(name, L"IList"))
        return static_cast<IListUI*>(this);
    if (Is(name, L"IListOwner"))
        return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

UINT CListUI::GetControlFlags() const
{
    return ControlFlagTabStop;
}

// --- rows ---

IListItemUI* CListUI::RowAt(int index) const
{
    CControlUI* row = m_pList->GetItemAt(index);
    return row != nullptr ? static_cast<IListItemUI*>(row->GetInterface(L"ListItem")) : nullptr;
}

CControlUI* CListUI::GetItemAt(int index) const
{
    return m_pList->GetItemAt(index);
}

int CListUI::GetCount() const
{
    return m_pList->GetCount();
}

int CListUI::GetItemIndex(CControlUI* control) const
{
    if (control == nullptr)
        return -1;
    if (control->GetInterface(L"ListHeader") != nullptr)
        return CVerticalLayoutUI::GetItemIndex(control);
    if (IsHeaderItem(control) && m_pHeader != nullptr)
        return m_pHeader->GetItemIndex(control);
    return m_pList->GetItemIndex(control);
}

void CListUI::RefreshColumnCount()
{
    m_ListInfo.columnCount = m_pHeader != nullptr ? std::min(m_pHeader->GetCount(), kListMaxColumns) : 0;
}

void CListUI::AddHeaderItem(CControlUI* item, int index)
{
    if (index < 0)
        m_pHeader->Add(item);
    else
        m_pHeader->AddAt(item, index);
    RefreshColumnCount();
}

void CListUI::RenumberRows(int from)
{
    for (int i = std::max(from, 0); i < m_pList->GetCount(); ++i) {
        IListItemUI* row = RowAt(i);
        if (row != nullptr)
            row->SetIndex(i);
    }
}

void CListUI::RenumberSelection(int from, int to, int delta)
{
    // Rows in from..to (inclusive) moved by delta; the set keeps naming the same rows.
    for (int i = 0; i < m_aSelItems.GetSize(); ++i) {
        const int index = IndexAt(m_aSelItems, i);
        if (index >= from && index <= to)
            m_aSelItems.SetAt(i, Slot(index + delta));
    }
}

bool CListUI::Add(CControlUI* control)
{
    if (control == nullptr)
        return false;
    if (auto* header = static_cast<CListHeaderUI*>(control->GetInterface(L"ListHeader"))) {
        if (header != m_pHeader && (m_pHeader == nullptr || m_pHeader->GetCount() == 0)) {
            if (m_pHeader != nullptr)
                CVerticalLayoutUI::Remove(m_pHeader);
            m_pHeader = header;
        }
        RefreshColumnCount();
        return CVerticalLayoutUI::AddAt(control, 0);
    }
    if (IsHeaderItem(control)) {
        if (m_pHeader == nullptr)
            return false;
        AddHeaderItem(control, -1);
        return true;
    }
    if (auto* row = static_cast<IListItemUI*>(control->GetInterface(L"ListItem"))) {
        row->SetOwner(this);
        row->SetIndex(GetCount());
        return m_pList->Add(control);
    }
    return CVerticalLayoutUI::Add(control);
}

bool CListUI::AddAt(CControlUI* control, int index)
{
    if (control == nullptr)
        return false;
    if (control->GetInterface(L"ListHeader") != nullptr || (IsHeaderItem(control) && m_pHeader == nullptr))
        return Add(control);
    if (IsHeaderItem(control)) {
        if (!m_pHeader->AddAt(control, index))
            return false;
        RefreshColumnCount();
        return true;
    }
    if (!m_pList->AddAt(control, index))
        return false;
    auto* row = static_cast<IListItemUI*>(control->GetInterface(L"ListItem"));
    if (row != nullptr) {
        row->SetOwner(this);
        row->SetIndex(index);
    }
    RenumberRows(index + 1);
    // Every selected row at or after the new one moved down by one.
    RenumberSelection(index, INT_MAX - 1, 1);
    if (m_iCurSel >= index)
        ++m_iCurSel;
    if (m_iAnchor >= index)
        ++m_iAnchor;
    if (m_iExpandedItem >= index)
        ++m_iExpandedItem;
    return true;
}

bool CListUI::Remove(CControlUI* control)
{
    if (control == nullptr)
        return false;
    if (control->GetInterface(L"ListHeader") != nullptr) {
        // The list forgets a header it no longer holds, so nothing reaches it once it is freed.
        const bool removed = CVerticalLayoutUI::Remove(control);
        if (removed && control == m_pHeader) {
            m_pHeader = nullptr;
            RefreshColumnCount();
        }
        return removed;
    }
    if (IsHeaderItem(control) && m_pHeader != nullptr && m_pHeader->GetItemIndex(control) >= 0) {
        const bool removed = m_pHeader->Remove(control);
        RefreshColumnCount();
        return removed;
    }
    const int index = m_pList->GetItemIndex(control);
    if (index < 0)
        return false;
    if (!m_pList->RemoveAt(index))
        return false;
    RenumberRows(index);
    const bool wasCurrent = index == m_iCurSel;

    // The removed row leaves the set and every later row moves up by one.
    RemoveSelected(index);
    RenumberSelection(index + 1, INT_MAX - 1, -1);
    if (m_iAnchor == index)
        m_iAnchor = -1;
    else if (m_iAnchor > index)
        --m_iAnchor;
    if (m_iExpandedItem == index)
        m_iExpandedItem = -1;
    else if (m_iExpandedItem > index)
        --m_iExpandedItem;

    if (wasCurrent) {
        m_iCurSel = -1;
        SelectItem(FindSelectableRow(index, false), false);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

bool CListUI::RemoveAt(int index)
{
    CControlUI* row = m_pList->GetItemAt(index);
    return row != nullptr && Remove(row);
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iAnchor = -1;
    m_iExpandedItem = -1;
    m_aSelItems.Empty();
    m_pList->RemoveAll();
}

bool CListUI::SetItemIndex(CControlUI* control, int newIndex)
{
    if (control == nullptr)
        return false;
    // Each container refuses a place outside its children before it moves anything.
    if (control->GetInterface(L"ListHeader") != nullptr)
        return CVerticalLayoutUI::SetItemIndex(control, newIndex);
    if (IsHeaderItem(control) && m_pHeader != nullptr && m_pHeader->GetItemIndex(control) >= 0)
        return m_pHeader->SetItemIndex(control, newIndex);
    const int oldIndex = m_pList->GetItemIndex(control);
    if (oldIndex < 0)
        return false;
    if (oldIndex == newIndex)
        return true;
    if (!m_pList->SetItemIndex(control, newIndex))
        return false;
    RenumberRows(std::min(oldIndex, newIndex));

    // The selection follows its rows: the moved one jumps, those between shift by one.
    const auto moved = [oldIndex, newIndex](int index) {
        if (index == oldIndex)
            return newIndex;
        if (oldIndex < newIndex && index > oldIndex && index <= newIndex)
            return index - 1;
        if (newIndex < oldIndex && index >= newIndex && index < oldIndex)
            return index + 1;
        return index;
    };
    for (int i = 0; i < m_aSelItems.GetSize(); ++i)
        m_aSelItems.SetAt(i, Slot(moved(IndexAt(m_aSelItems, i))));
    if (m_iCurSel >= 0)
        m_iCurSel = moved(m_iCurSel);
    if (m_iAnchor >= 0)
        m_iAnchor = moved(m_iAnchor);
    if (m_iExpandedItem >= 0)
        m_iExpandedItem = moved(m_iExpandedItem);
    return true;
}

// --- selection ---

bool CListUI::HasSelected(int index) const
{
    return m_aSelItems.Find(Slot(index)) >= 0;
}

void CListUI::RemoveSelected(int index)
{
    const int at = m_aSelItems.Find(Slot(index));
    if (at >= 0)
        m_aSelItems.Remove(at);
    if (m_iCurSel == index)
        m_iCurSel = -1;
}

bool CListUI::IsSelectableRow(int index) const
{
    CControlUI* row = m_pList->GetItemAt(index);
    return row != nullptr && row->GetInterface(L"ListItem") != nullptr && row->IsVisible() && row->IsEnabled();
}

int CListUI::FindSelectableRow(int index, bool forward) const
{
    const int count = m_pList->GetCount();
    if (count == 0)
        return -1;
    index = std::min(std::max(index, 0), count - 1);
    for (int i = index; i >= 0 && i < count; i += forward ? 1 : -1) {
        if (IsSelectableRow(i))
            return i;
    }
    return -1;
}

void CListUI::RaiseItemSelect(int index, int anchor)
{
    if (m_pManager != nullptr)
        m_pManager->RaiseNotify(this, L"itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(anchor));
}

int CListUI::GetCurSel() const
{
    return m_aSelItems.IsEmpty() ? -1 : IndexAt(m_aSelItems, 0);
}

int CListUI::GetNextSelItem(int after) const
{
    if (m_aSelItems.IsEmpty())
        return -1;
    if (after < 0)
        return IndexAt(m_aSelItems, 0);
    const int at = m_aSelItems.Find(Slot(after));
    if (at < 0 || at + 1 >= m_aSelItems.GetSize())
        return -1;
    return IndexAt(m_aSelItems, at + 1);
}

bool CListUI::SelectItem(int index, bool takeFocus)
{
    m_iAnchor = -1;
    UnSelectItem(index, true);
    if (index < 0)
        return false;
    if (HasSelected(index))
        return true;
    CControlUI* control = m_pList->GetItemAt(index);
    IListItemUI* row = RowAt(index);
    if (row == nullptr || !row->Select(true))
        return false;
    // The row's Select comes back here and raises "itemselect", whose handler may have removed
    // or moved the row: then it is not ours to add or focus.
    if (m_pList->GetItemAt(index) != control)
        return false;
    const int previous = m_iCurSel;
    m_iCurSel = index;
    if (!HasSelected(index))
        m_aSelItems.Add(Slot(index));
    EnsureVisible(index);
    if (takeFocus)
        control->SetFocus();
    if (previous != m_iCurSel)
        RaiseItemSelect(index, 0);
    return true;
}

bool CListUI::SelectMultiItem(int index, bool takeFocus)
{
    if (!m_bMultiSel)
        return SelectItem(index, takeFocus);
    if (index < 0) {
        UnSelectAllItems();
        return true;
    }
    if (m_iAnchor == -1)
        m_iAnchor = m_iCurSel >= 0 ? m_iCurSel : index;
    CControlUI* control = m_pList->GetItemAt(index);
    IListItemUI* row = RowAt(index);
    if (row == nullptr || !control->IsEnabled())
        return false;

    const auto addOne = [&] {
        if (!row->SelectMulti(true))
            return false;
        m_iCurSel = index;
        if (!HasSelected(index))
            m_aSelItems.Add(Slot(index));
        EnsureVisible(index);
        if (takeFocus)
            control->SetFocus();
        RaiseItemSelect(index, 0);
        return true;
    };

    if (::GetKeyState(VK_CONTROL) < 0) {
        if (!row->IsSelected())
            return addOne();
        if (!row->SelectMulti(false))
            return false;
        RemoveSelected(index);
        return true;
    }
    if (::GetKeyState(VK_SHIFT) < 0) {
        const int anchor = m_iAnchor;
        UnSelectAllItems();
        m_iAnchor = anchor;
        for (int i = std::min(anchor, index); i <= std::max(anchor, index); ++i) {
            CControlUI* each = m_pList->GetItemAt(i);
            IListItemUI* eachRow = RowAt(i);
            if (eachRow == nullptr || !each->IsEnabled() || !eachRow->SelectMulti(true))
                continue;
            if (!HasSelected(i))
                m_aSelItems.Add(Slot(i));
        }
        m_iCurSel = index;
        EnsureVisible(index);
        if (takeFocus)
            control->SetFocus();
        RaiseItemSelect(index, anchor);
        return true;
    }
    return addOne();
}

bool CListUI::UnSelectItem(int index, bool others)
{
    if (!others) {
        if (index < 0)
            return false;
        CControlUI* control = m_pList->GetItemAt(index);
        IListItemUI* row = RowAt(index);
        if (row == nullptr || !control->IsEnabled() || !HasSelected(index) || !row->SelectMulti(false))
            return false;
        RemoveSelected(index);
        return true;
    }
    for (int i = m_aSelItems.GetSize() - 1; i >= 0; --i) {
        const int selected = IndexAt(m_aSelItems, i);
        if (selected == index)
            continue;
        CControlUI* control = m_pList->GetItemAt(selected);
        IListItemUI* row = RowAt(selected);
        if (row == nullptr || !control->IsEnabled() || !row->SelectMulti(false))
            continue;
        m_aSelItems.Remove(i);
        if (m_iCurSel == selected)
            m_iCurSel = -1;
    }
    return true;
}

void CListUI::SelectAllItems()
{
    for (int i = 0; i < m_pList->GetCount(); ++i) {
        CControlUI* control = m_pList->GetItemAt(i);
        IListItemUI* row = RowAt(i);
        if (row == nullptr || !control->IsVisible() || !control->IsEnabled() || !row->SelectMulti(true))
            continue;
        if (!HasSelected(i))
            m_aSelItems.Add(Slot(i));
        m_iCurSel = i;
    }
}

void CListUI::UnSelectAllItems()
{
    for (int i = 0; i < m_aSelItems.GetSize(); ++i) {
        const int selected = IndexAt(m_aSelItems, i);
        CControlUI* control = m_pList->GetItemAt(selected);
        IListItemUI* row = RowAt(selected);
        if (row != nullptr && control->IsEnabled())
            row->SelectMulti(false);
    }
    m_aSelItems.Empty();
    m_iCurSel = -1;
}

void CListUI::SetMultiSelect(bool multiSelect)
{
    m_bMultiSel = multiSelect;
    if (!multiSelect)
        UnSelectAllItems();
}

bool CListUI::ExpandItem(int index, bool expand)
{
    if (m_iExpandedItem >= 0 && !m_ListInfo.multiExpandable) {
        IListItemUI* expanded = RowAt(m_iExpandedItem);
        if (expanded != nullptr)
            expanded->Expand(false);
        m_iExpandedItem = -1;
    }
    if (expand) {
        CControlUI* control = m_pList->GetItemAt(index);
        IListItemUI* row = RowAt(index);
        if (row == nullptr || !control->IsVisible())
            return false;
        m_iExpandedItem = index;
        if (!row->Expand(true)) {
            m_iExpandedItem = -1;
            return false;
        }
    }
    NeedUpdate();
    return true;
}

void CListUI::EnsureVisible(int index)
{
    if (m_iCurSel < 0)
        return;
    CControlUI* row = m_pList->GetItemAt(index);
    if (row == nullptr)
        return;
    RECT item = row->GetPos();
    const RECT area = list_support::ShownArea(*m_pList, false);
    int dy = 0;
    if (item.top < area.top)
        dy = item.top - area.top;
    else if (item.bottom > area.bottom)
        dy = item.bottom - area.bottom;
    if (dy == 0)
        return;
    SIZE pos = m_pList->GetScrollPos();
    pos.cy += dy;
    m_pList->SetScrollPos(pos);
}

bool CListUI::SortItems(ListCompareFn compare, UINT_PTR context)
{
    if (m_pList == nullptr || !m_pList->SortItems(compare, context))
        return false;
    // Every row was deselected and renumbered: nothing in the set names a row any more.
    m_aSelItems.Empty();
    m_iCurSel = -1;
    m_iAnchor = -1;
    m_iExpandedItem = -1;
    return true;
}

bool CListUI::IsColumnEditable(int /*column*/)
{
    return false;
}

CControlUI* CListUI::GetCellEditor()
{
    return nullptr;
}

bool CListUI::IsColumnComboable(int /*column*/)
{
    return false;
}

CControlUI* CListUI::GetCellCombo()
{
    return nullptr;
}

void CListUI::OnRowsMoved(bool /*scrolled*/) {}

// --- layout ---

void CListUI::SetPos(RECT rc, bool invalidate)
{
    CVerticalLayoutUI::SetPos(rc, invalidate);
    if (m_pHeader == nullptr)
        return;
    RefreshColumnCount();
    // A hidden header is still laid out, flat, so that the rows get their columns.
    const bool hidden = !m_pHeader->IsVisible();
    if (hidden) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i)
            m_pHeader->GetItemAt(i)->SetInternVisible(true);
        m_pHeader->SetPos(RECT{rc.left, rc.top, rc.right, rc.top}, false);
    }
    for (int i = 0; i < m_ListInfo.columnCount; ++i) {
        CControlUI* item = m_pHeader->GetItemAt(i);
        if (!item->IsVisible() || item->IsFloat())
            continue;
        m_ListInfo.columns[i] = item->GetPos();
    }
    if (hidden) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i)
            m_pHeader->GetItemAt(i)->SetInternVisible(false);
    }
    m_pList->SetPos(m_pList->GetPos(), invalidate);
}

void CListUI::Move(SIZE offset, bool invalidate)
{
    CVerticalLayoutUI::Move(offset, invalidate);
    if (m_pHeader != nullptr && !m_pHeader->IsVisible())
        m_pHeader->Move(offset, false);
}

// --- events ---

void CListUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CVerticalLayoutUI::DoEvent(event);
        return;
    }
    // A disabled list neither selects nor scrolls; the wheel goes on to what holds it.
    if (!IsEnabled() && (event.type == EventKeyDown || event.type == EventScrollWheel)) {
        CVerticalLayoutUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetFocus:
        m_bFocused = true;
        return;
    case EventKillFocus:
        m_bFocused = false;
        return;
    case EventKeyDown:
        switch (event.keyChar) {
        case VK_RETURN:
            if (m_iCurSel >= 0 && m_pList->GetItemAt(m_iCurSel) != nullptr)
                m_pList->GetItemAt(m_iCurSel)->Activate();
            return;
        case VK_PRIOR:
            m_pList->PageUp();
            return;
        case VK_NEXT:
            m_pList->PageDown();
            return;
        case VK_HOME:
            // Only the first row itself, when it can be selected; else the selection clears.
            SelectItem(IsSelectableRow(0) ? 0 : -1, true);
            return;
        case VK_END:
            SelectItem(IsSelectableRow(GetCount() - 1) ? GetCount() - 1 : -1, true);
            return;
        case VK_UP:
        case VK_DOWN:
            if (!m_aSelItems.IsEmpty()) {
                const bool down = event.keyChar == VK_DOWN;
                int edge = IndexAt(m_aSelItems, 0);
                for (int i = 1; i < m_aSelItems.GetSize(); ++i)
                    edge = down ? std::max(edge, IndexAt(m_aSelItems, i)) : std::min(edge, IndexAt(m_aSelItems, i));
                // Hidden rows (a collapsed branch of a tree) and disabled ones are stepped over; at
                // either end the selection stays on the edge row.
                int target = FindSelectableRow(down ? edge + 1 : edge - 1, down);
                if (target < 0 || (down ? target <= edge : target >= edge))
                    target = edge;
                UnSelectAllItems();
                SelectItem(target, true);
            }
            return;
        case L'A':
            if (m_bMultiSel && ::GetKeyState(VK_CONTROL) < 0) {
                SelectAllItems();
                return;
            }
            break;
        default:
            break;
        }
        break;
    case EventScrollWheel:
        if (m_bScrollSelect && !m_bMultiSel) {
            const int current = m_iCurSel;
            if (LOWORD(event.wParam) == 0)
                SelectItem(FindSelectableRow(current - 1, false), true);
            else if (LOWORD(event.wParam) == 1)
                SelectItem(FindSelectableRow(current + 1, true), true);
            return;
        }
        if (LOWORD(event.wParam) == 0)
            m_pList->LineUp();
        else if (LOWORD(event.wParam) == 1)
            m_pList->LineDown();
        return;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

// --- passed to the body ---

SIZE CListUI::GetScrollPos() const
{
    return m_pList->GetScrollPos();
}

SIZE CListUI::GetScrollRange() const
{
    return m_pList->GetScrollRange();
}

void CListUI::SetScrollPos(SIZE pos, bool notify)
{
    m_pList->SetScrollPos(pos, notify);
}

void CListUI::LineUp()
{
    m_pList->LineUp();
}

void CListUI::LineDown()
{
    m_pList->LineDown();
}

void CListUI::PageUp()
{
    m_pList->PageUp();
}

void CListUI::PageDown()
{
    m_pList->PageDown();
}

void CListUI::HomeUp()
{
    m_pList->HomeUp();
}

void CListUI::EndDown()
{
    m_pList->EndDown();
}

void CListUI::LineLeft()
{
    m_pList->LineLeft();
}

void CListUI::LineRight()
{
    m_pList->LineRight();
}

void CListUI::PageLeft()
{
    m_pList->PageLeft();
}

void CListUI::PageRight()
{
    m_pList->PageRight();
}

void CListUI::HomeLeft()
{
    m_pList->HomeLeft();
}

void CListUI::EndRight()
{
    m_pList->EndRight();
}

void CListUI::EnableScrollBar(bool vertical, bool horizontal)
{
    m_pList->EnableScrollBar(vertical, horizontal);
}

void CListUI::AttachVerticalScrollBar(CControlUI* bar)
{
    m_pList->AttachVerticalScrollBar(bar);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const
{
    return m_pList->GetVerticalScrollBar();
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const
{
    return m_pList->GetHorizontalScrollBar();
}

int CListUI::GetChildPadding() const
{
    return m_pList->GetChildPadding();
}

void CListUI::SetChildPadding(int padding)
{
    m_pList->SetChildPadding(padding);
}

bool CListUI::IsDelayedDestroy() const
{
    return m_pList->IsDelayedDestroy();
}

void CListUI::SetDelayedDestroy(bool delayed)
{
    m_pList->SetDelayedDestroy(delayed);
}

// --- looks of the rows ---

void CListUI::SetFixedScrollbar(bool fixed)
{
    m_bFixedScrollbar = fixed;
    Invalidate();
}

void CListUI::SetItemTextStyle(UINT style)
{
    m_ListInfo.textStyle = style;
    NeedUpdate();
}

void CListUI::SetItemTextPadding(RECT padding)
{
    m_ListInfo.textPadding = padding;
    NeedUpdate();
}

namespace {

template <class T>
void Store(CListUI& list, T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    list.Invalidate();
}

} // namespace

void CListUI::SetItemTextColor(DWORD color)
{
    Store(*this, m_ListInfo.textColor, color);
}

void CListUI::SetItemBkColor(DWORD color)
{
    Store(*this, m_ListInfo.bkColor, color);
}

void CListUI::SetItemBkImage(LPCWSTR descriptor)
{
    Store(*this, m_ListInfo.bkImage, CUIString(descriptor));
}

void CListUI::SetAlternateBk(bool alternate)
{
    Store(*this, m_ListInfo.alternateBk, alternate);
}

void CListUI::SetSelectedItemTextColor(DWORD color)
{
    Store(*this, m_ListInfo.selectedTextColor, color);
}

void CListUI::SetSelectedItemBkColor(DWORD color)
{
    Store(*this, m_ListInfo.selectedBkColor, color);
}

void CListUI::SetSelectedItemImage(LPCWSTR descriptor)
{
    Store(*this, m_ListInfo.selectedImage, CUIString(descriptor));
}

void CListUI::SetHotItemTextColor(DWORD color)
{
    Store(*this, m_ListInfo.hotTextColor, color);
}

void CListUI::SetHotItemBkColor(DWORD color)
{
    Store(*this, m_ListInfo.hotBkColor, color);
}

void CListUI::SetHotItemImage(LPCWSTR descriptor)
{
    Store(*this, m_ListInfo.hotImage, CUIString(descriptor));
}

void CListUI::SetDisabledItemTextColor(DWORD color)
{
    Store(*this, m_ListInfo.disabledTextColor, color);
}

void CListUI::SetDisabledItemBkColor(DWORD color)
{
    Store(*this, m_ListInfo.disabledBkColor, color);
}

void CListUI::SetDisabledItemImage(LPCWSTR descriptor)
{
    Store(*this, m_ListInfo.disabledImage, CUIString(descriptor));
}

void CListUI::SetItemLineColor(DWORD color)
{
    Store(*this, m_ListInfo.lineColor, color);
}

void CListUI::SetItemShowRowLine(bool show)
{
    Store(*this, m_ListInfo.showRowLine, show);
}

void CListUI::SetItemShowColumnLine(bool show)
{
    Store(*this, m_ListInfo.showColumnLine, show);
}

void CListUI::SetItemShowHtml(bool showHtml)
{
    if (m_ListInfo.showHtml == showHtml)
        return;
    m_ListInfo.showHtml = showHtml;
    NeedUpdate();
}

void CListUI::SetRightSelects(bool rightSelects)
{
    if (m_ListInfo.rightSelects == rightSelects)
        return;
    m_ListInfo.rightSelects = rightSelects;
    NeedUpdate();
}

// --- attributes ---

void CListUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == nullptr)
        return;
    if (value == nullptr)
        value = L"";
    // These two names and their value are matched exactly.
    if (wcscmp(name, L"multiselect") == 0) {
        SetMultiSelect(wcscmp(value, L"true") == 0);
        return;
    }
    if (wcscmp(name, L"itemrselected") == 0) {
        SetRightSelects(wcscmp(value, L"true") == 0);
        return;
    }
    if (Is(name, L"header")) {
        if (m_pHeader != nullptr)
            m_pHeader->SetVisible(_wcsicmp(value, L"hidden") != 0);
    } else if (Is(name, L"headerbkimage")) {
        if (m_pHeader != nullptr)
            m_pHeader->SetBkImage(value);
    } else if (Is(name, L"scrollselect"))
        SetScrollSelect(IsTrue(value));
    else if (Is(name, L"fixedscrollbar"))
        SetFixedScrollbar(IsTrue(value));
    else if (Is(name, L"multiexpanding"))
        SetMultiExpanding(IsTrue(value));
    else if (Is(name, L"itemfont"))
        SetItemFont(_wtoi(value));
    else if (Is(name, L"itemalign"))
        SetItemTextStyle(list_support::ApplyHorizontalAlign(m_ListInfo.textStyle, value));
    else if (Is(name, L"itemvalign"))
        SetItemTextStyle(list_support::ApplyVerticalAlign(m_ListInfo.textStyle, value));
    else if (Is(name, L"itemendellipsis"))
        SetItemTextStyle(IsTrue(value) ? (m_ListInfo.textStyle | DT_END_ELLIPSIS)
                                       : (m_ListInfo.textStyle & ~DT_END_ELLIPSIS));
    else if (Is(name, L"itemtextpadding"))
        SetItemTextPadding(list_support::ParseRect(value));
    else if (Is(name, L"itemtextcolor"))
        SetItemTextColor(ParseColor(value));
    else if (Is(name, L"itembkcolor"))
        SetItemBkColor(ParseColor(value));
    else if (Is(name, L"itembkimage"))
        SetItemBkImage(value);
    else if (Is(name, L"itemaltbk"))
        SetAlternateBk(IsTrue(value));
    else if (Is(name, L"itemselectedtextcolor"))
        SetSelectedItemTextColor(ParseColor(value));
    else if (Is(name, L"itemselectedbkcolor"))
        SetSelectedItemBkColor(ParseColor(value));
    else if (Is(name, L"itemselectedimage"))
        SetSelectedItemImage(value);
    else if (Is(name, L"itemhottextcolor"))
        SetHotItemTextColor(ParseColor(value));
    else if (Is(name, L"itemhotbkcolor"))
        SetHotItemBkColor(ParseColor(value));
    else if (Is(name, L"itemhotimage"))
        SetHotItemImage(value);
    else if (Is(name, L"itemdisabledtextcolor"))
        SetDisabledItemTextColor(ParseColor(value));
    else if (Is(name, L"itemdisabledbkcolor"))
        SetDisabledItemBkColor(ParseColor(value));
    else if (Is(name, L"itemdisabledimage"))
        SetDisabledItemImage(value);
    else if (Is(name, L"itemlinecolor"))
        SetItemLineColor(ParseColor(value));
    else if (Is(name, L"itemshowrowline"))
        SetItemShowRowLine(IsTrue(value));
    else if (Is(name, L"itemshowcolumnline"))
        SetItemShowColumnLine(IsTrue(value));
    else if (Is(name, L"itemshowhtml"))
        SetItemShowHtml(IsTrue(value));
    else if (Is(name, L"vscrollbar") || Is(name, L"hscrollbar") || Is(name, L"vscrollbarstyle") ||
             Is(name, L"hscrollbarstyle"))
        m_pList->SetAttribute(name, value);  // the body scrolls, so the body has the bars
    else
        CVerticalLayoutUI::SetAttribute(name, value);
}

} // namespace ZvUI

#pragma once
// The framework's list view: a header over a scrolling body of rows, with single or multiple selection.

#include "layout/VerticalLayoutUI.h"
#include "list/ListBodyUI.h"
#include "list/ListInterfaces.h"
#include "utils/UIArray.h"

namespace ZvUI {

class CListHeaderUI;

class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void Move(SIZE offset, bool invalidate = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    // --- rows (the list's container operations act on the body) ---
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int newIndex) override;
    int GetCount() const override;
    // The list takes ownership of control.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // --- scrolling, passed to the body ---
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE pos, bool notify = true) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool vertical = true, bool horizontal = false) override;
    void AttachVerticalScrollBar(CControlUI* bar) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;
    int GetChildPadding() const override;
    void SetChildPadding(int padding) override;
    bool IsDelayedDestroy() const override;
    void SetDelayedDestroy(bool delayed) override;

    // --- IListOwnerUI / IListUI ---
    int GetListKind() const override { return ListKindList; }
    UIListInfo* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override;
    bool SelectItem(int index, bool takeFocus = false) override;
    bool SelectMultiItem(int index, bool takeFocus = false) override;
    bool UnSelectItem(int index, bool others = false) override;
    CListHeaderUI* GetHeader() const override { return m_pHeader; }
    CContainerUI* GetList() const override { return m_pList; }
    IListTextCallbackUI* GetTextCallback() const override { return m_pCallback; }
    void SetTextCallback(IListTextCallbackUI* callback) override { m_pCallback = callback; }
    bool ExpandItem(int index, bool expand = true) override;
    int GetExpandedItem() const override { return m_iExpandedItem; }
    void SetMultiSelect(bool multiSelect) override;
    bool IsMultiSelect() const override { return m_bMultiSel; }
    void SelectAllItems() override;
    void UnSelectAllItems() override;
    int GetSelectItemCount() const override { return m_aSelItems.GetSize(); }
    int GetNextSelItem(int after) const override;

    // Hooks of the extended list: no editable cells here.
    virtual bool IsColumnEditable(int column);
    virtual CControlUI* GetCellEditor();
    virtual bool IsColumnComboable(int column);
    virtual CControlUI* GetCellCombo();
    // The body placed its rows again, or scrolled them: what lies over a cell follows or goes.
    virtual void OnRowsMoved(bool scrolled);

    virtual bool SortItems(ListCompareFn compare, UINT_PTR context);
    // Scrolls the body so the row lies wholly inside its visible area.
    void EnsureVisible(int index);
    // The header's item count, at most the size of the column table.
    void RefreshColumnCount();

    bool IsScrollSelect() const { return m_bScrollSelect; }
    void SetScrollSelect(bool scrollSelect) { m_bScrollSelect = scrollSelect; }
    bool IsFixedScrollbar() const { return m_bFixedScrollbar; }
    void SetFixedScrollbar(bool fixed);

    // The list's looks of its rows.
    void SetItemFont(int font) { m_ListInfo.font = font; }
    void SetItemTextStyle(UINT style);
    void SetItemTextPadding(RECT padding);
    void SetItemTextColor(DWORD color);
    void SetItemBkColor(DWORD color);
    void SetItemBkImage(LPCWSTR descriptor);
    void SetAlternateBk(bool alternate);
    void SetSelectedItemTextColor(DWORD color);
    void SetSelectedItemBkColor(DWORD color);
    void SetSelectedItemImage(LPCWSTR descriptor);
    void SetHotItemTextColor(DWORD color);
    void SetHotItemBkColor(DWORD color);
    void SetHotItemImage(LPCWSTR descriptor);
    void SetDisabledItemTextColor(DWORD color);
    void SetDisabledItemBkColor(DWORD color);
    void SetDisabledItemImage(LPCWSTR descriptor);
    void SetItemLineColor(DWORD color);
    void SetItemShowRowLine(bool show);
    void SetItemShowColumnLine(bool show);
    void SetItemShowHtml(bool showHtml);
    void SetMultiExpanding(bool multiExpanding) { m_ListInfo.multiExpandable = multiExpanding; }
    void SetRightSelects(bool rightSelects);

private:
    bool HasSelected(int index) const;
    void RemoveSelected(int index);
    // After rows moved: every selected index i becomes map(i); a removed row's index leaves.
    void RenumberSelection(int from, int to, int delta);
    void RenumberRows(int from);
    IListItemUI* RowAt(int index) const;
    // The row itself when it is visible, enabled and a list row; the nearest such row in the
    // given direction otherwise, -1 when there is none.
    int FindSelectableRow(int index, bool forward) const;
    bool IsSelectableRow(int index) const;
    void RaiseItemSelect(int index, int anchor);
    void AddHeaderItem(CControlUI* item, int index);

    bool m_bScrollSelect = false;
    bool m_bFixedScrollbar = false;
    bool m_bMultiSel = false;
    int m_iCurSel = -1;
    int m_iAnchor = -1;
    // Row indices in the order they were selected, each once.
    CUIPtrArray m_aSelItems;
    int m_iExpandedItem = -1;
    IListTextCallbackUI* m_pCallback = nullptr;
    CListBodyUI* m_pList = nullptr;
    CListHeaderUI* m_pHeader = nullptr;
    UIListInfo m_ListInfo;
};

} // namespace ZvUI

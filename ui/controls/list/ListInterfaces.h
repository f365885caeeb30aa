#pragma once
// The contract between a control that owns list rows and the rows: interfaces and the shared looks.

#include <windows.h>

#include "manager/UIEvents.h"
#include "utils/UIString.h"

namespace ZvUI {

class CContainerUI;
class CControlUI;
class CListHeaderUI;

// What GetListKind answers; rows lay themselves out by it.
enum UIListKind {
    ListKindList = 0,
    ListKindCombo = 1,
    ListKindTree = 2,
};

// Row states of the text callback and the painters; the later one wins.
enum UIListItemState {
    ListItemStateNormal = 0,
    ListItemStateHot = 1,
    ListItemStateSelected = 2,
    ListItemStateDisabled = 3,
};

constexpr int kListMaxColumns = 32;

// One per owner, embedded in it; rows read it through a pointer and never copy or free it.
struct UIListInfo {
    int columnCount = 0;
    // Window-pixel rectangles of the header columns, written by the list's layout and scrolling.
    RECT columns[kListMaxColumns] = {};
    int font = -1;
    UINT textStyle = DT_VCENTER | DT_SINGLELINE;
    // 96-dpi units.
    RECT textPadding = {0, 0, 0, 0};
    DWORD textColor = 0xFF000000;
    DWORD bkColor = 0;
    CUIString bkImage;
    bool alternateBk = false;
    DWORD selectedTextColor = 0xFF000000;
    DWORD selectedBkColor = 0xFFC1E3FF;
    CUIString selectedImage;
    DWORD hotTextColor = 0xFF000000;
    DWORD hotBkColor = 0xFFE9F5FF;
    CUIString hotImage;
    DWORD disabledTextColor = 0xFFCCCCCC;
    DWORD disabledBkColor = 0xFFFFFFFF;
    CUIString disabledImage;
    // 0: no grid lines at all.
    DWORD lineColor = 0;
    bool showRowLine = false;
    bool showColumnLine = false;
    bool showHtml = false;
    bool multiExpandable = false;
    bool rightSelects = false;
};

class IListOwnerUI {
public:
    virtual int GetListKind() const = 0;
    virtual UIListInfo* GetListInfo() = 0;
    // -1 when nothing is selected.
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    // Extends the selection by the modifier keys held at the time of the call.
    virtual bool SelectMultiItem(int index, bool takeFocus = false) = 0;
    // others false: deselect index; others true: deselect every row except index.
    virtual bool UnSelectItem(int index, bool others = false) = 0;
    virtual void DoEvent(UIControlEvent& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

class IListTextCallbackUI;

class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;
    virtual IListTextCallbackUI* GetTextCallback() const = 0;
    // The list does not own the callback.
    virtual void SetTextCallback(IListTextCallbackUI* callback) = 0;
    virtual bool ExpandItem(int index, bool expand = true) = 0;
    virtual int GetExpandedItem() const = 0;
    virtual void SetMultiSelect(bool multiSelect) = 0;
    virtual bool IsMultiSelect() const = 0;
    virtual void SelectAllItems() = 0;
    virtual void UnSelectAllItems() = 0;
    virtual int GetSelectItemCount() const = 0;
    // In the order rows were selected; the first for a negative after, -1 at the end.
    virtual int GetNextSelItem(int after) const = 0;

protected:
    ~IListUI() = default;
};

class IListItemUI {
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    // User-level selection that keeps the owner's bookkeeping in step.
    virtual bool Select(bool select = true) = 0;
    // The row's flag only; the caller updates the owner.
    virtual bool SelectMulti(bool select = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expand = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

// Implemented by an application that supplies row texts itself.
class IListTextCallbackUI {
public:
    virtual CUIString GetItemText(CControlUI* row, int index, int subItem) = 0;
    virtual DWORD GetItemTextColor(CControlUI* row, int index, int subItem, int state) = 0;

protected:
    ~IListTextCallbackUI() = default;
};

} // namespace ZvUI

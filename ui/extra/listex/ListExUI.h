#pragma once
// The list with editable cells: a rich edit or a combo box over a cell, and check boxes per column.

#include "list/ListUI.h"

namespace ZvUI {

class CComboBoxUI;
class CRichEditUI;

// Fills the in-cell combo before it is shown.
class IListComboCallbackUI {
public:
    virtual void FillCombo(CComboBoxUI* combo, int row, int column) = 0;

protected:
    ~IListComboCallbackUI() = default;
};

class CListExUI : public CListUI, public INotifyUI {
public:
    CListExUI() = default;
    ~CListExUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void DoEvent(UIControlEvent& event) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    bool IsColumnEditable(int column) override;
    CControlUI* GetCellEditor() override;
    bool IsColumnComboable(int column) override;
    CControlUI* GetCellCombo() override;
    void Notify(UINotifyMessage& msg) override;
    // Rows that move or go under an open cell editor end the edit first (see EndCellEdit).
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    bool SetItemIndex(CControlUI* control, int newIndex) override;
    bool SortItems(ListCompareFn compare, UINT_PTR context) override;

    virtual bool IsColumnCheckable(int column);
    virtual IListComboCallbackUI* GetComboCallback() const { return m_pComboCallback; }
    // Not owned.
    virtual void SetComboCallback(IListComboCallbackUI* callback) { m_pComboCallback = callback; }

    void SetCellBkColor(int row, int column, DWORD color);
    bool GetCellBkColor(int row, int column, DWORD& color);
    // Once per list, after it has a manager: commits the cell editors and keeps check boxes in step.
    void RegisterNotify();
    // rc is relative to the list's top-left corner; a negative column hides the editors.
    void ShowCellEditor(int row, int column, RECT rc, LPCWSTR text);
    void HideCellEditors();
    void OnListItemChecked(int row, int column, bool checked);
    int GetEditRow() const { return m_nRow; }
    int GetEditColumn() const { return m_nColumn; }

private:
    CControlUI* HeaderItemAt(int column) const;
    void PlaceOverCell(CControlUI* editor, RECT rc);
    void HideEditor(CControlUI* editor);
    void CommitToCell(CControlUI* editor);
    bool IsCellEditOpen() const;
    // Where the edited row, or column for a header item, now is; -1 when it is gone.
    int EditedIndex(bool header) const;
    bool IsInHeader(CControlUI* control) const;
    // Hides the editors, then gives what was typed to its row while that row is still there.
    void EndCellEdit();

    CRichEditUI* m_pEdit = nullptr;
    CComboBoxUI* m_pCombo = nullptr;
    bool m_bRegistered = false;
    // The manager the list listens to; it must forget the list before the list is gone.
    CPaintManagerUI* m_pNotifyManager = nullptr;
    int m_nRow = -1;
    int m_nColumn = -1;
    // The row the editor was opened on; only compared, never used, as it may be gone.
    const CControlUI* m_pEditRow = nullptr;
    IListComboCallbackUI* m_pComboCallback = nullptr;
};

} // namespace ZvUI

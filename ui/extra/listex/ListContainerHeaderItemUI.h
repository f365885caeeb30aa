#pragma once
// A column header of the extended list: holds controls, resizes by its separator, carries a check box
// and marks its column editable, comboable or checkable.

#include "layout/HorizontalLayoutUI.h"
#include "list/HeaderItemBase.h"
#include "listex/ListExCheckBox.h"

namespace ZvUI {

class CListContainerHeaderItemUI : public CHeaderItemBase<CHorizontalLayoutUI> {
public:
    CListContainerHeaderItemUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool GetCheck() const { return m_checkBox.IsChecked(); }
    void SetCheck(bool checked);
    // The separator band; negative widths put it on the left edge.
    RECT GetThumbRect() const { return SeparatorRect(false); }
    RECT GetCheckBoxRect() const;

    bool IsColumnEditable() const { return m_bEditable; }
    void SetColumnEditable(bool editable) { m_bEditable = editable; }
    bool IsColumnComboable() const { return m_bComboable; }
    void SetColumnComboable(bool comboable) { m_bComboable = comboable; }
    bool IsColumnCheckable() const { return m_bCheckable; }
    void SetColumnCheckable(bool checkable) { m_bCheckable = checkable; }

private:
    bool m_bEditable = false;
    bool m_bComboable = false;
    bool m_bCheckable = false;
    CListExCheckBox m_checkBox;
};

} // namespace ZvUI

#pragma once
// A text row of the extended list: one text per column, links, per-column backgrounds and a check box.

#include <array>
#include <vector>

#include "list/ListElementUI.h"
#include "listex/ListExCheckBox.h"

namespace ZvUI {

class CListExUI;
class CListUI;

class CListTextExtElementUI : public CListLabelElementUI {
public:
    CListTextExtElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void PaintStatusImage(HDC hDC) override;
    void SetOwner(CControlUI* owner) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    CUIString GetText(int column) const;
    void SetText(int column, LPCWSTR text);
    bool GetCheck() const { return m_checkBox.IsChecked(); }
    void SetCheck(bool checked);
    // Columns outside the table are ignored.
    void SetColumnBkColor(int column, DWORD color);
    bool GetColumnBkColor(int column, DWORD& color) const;
    // Null outside 0 to the link count - 1.
    const CUIString* GetLinkContent(int index) const;
    RECT GetCheckBoxRect() const;
    // Relative to the list's top-left corner.
    RECT GetColumnRect(int column) const;
    // -1 when the point is in no column.
    int HitTestColumn(POINT pt) const;

    static constexpr int kMaxLinks = 8;

private:
    // The owner as an extended list, null when it is some other list.
    CListExUI* OwnerListEx() const;
    bool HasCheckableColumn() const;
    int ColumnCount() const;

    int m_nLinks = 0;
    RECT m_rcLinks[kMaxLinks] = {};
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink = -1;
    CListUI* m_pOwnerList = nullptr;
    std::vector<CUIString> m_texts;
    CListExCheckBox m_checkBox;
    struct ColumnBk {
        bool set = false;
        DWORD color = 0;
    };
    std::array<ColumnBk, 32> m_columnBk = {};
};

} // namespace ZvUI

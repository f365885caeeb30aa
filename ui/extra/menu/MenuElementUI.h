#pragma once
// One row of a skinned menu: icon, text, expand arrow or a separator line; nested items form its sub-menu.

#include "list/ListContainerElementUI.h"

namespace ZvUI {

class CMenuWnd;

class CMenuElementUI : public CListContainerElementUI {
public:
    CMenuElementUI();
    ~CMenuElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    // The nested rows an open sub-menu shows are its to place: this row's own layout moves them
    // too, so the sub-menu lays them out again before its next paint.
    void SetPos(RECT rc, bool invalidate = true) override;
    void Move(SIZE offset, bool invalidate = true) override;
    // Leaving its window closes an open sub-menu first: the items come back to this one.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;

    // Nested rows changed while the sub-menu is open change it too.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    bool SetItemIndex(CControlUI* control, int newIndex) override;

    void SetLineType();
    bool IsLineType() const { return m_bLineType; }
    void SetLineColor(DWORD color) { m_dwLineColor = color; }
    DWORD GetLineColor() const { return m_dwLineColor; }
    void SetLinePadding(RECT padding) { m_rcLinePadding = padding; }
    // Scaled to the DPI.
    RECT GetLinePadding() const;
    void SetIcon(LPCWSTR descriptor) { m_sIcon = descriptor; }
    void SetIconSize(SIZE size) { m_szIcon = size; }
    // Scaled to the DPI.
    SIZE GetIconSize() const;
    void SetCheckItem(bool checkItem) { m_bCheckItem = checkItem; }
    bool IsCheckItem() const { return m_bCheckItem; }
    void SetExpand(bool expand) { m_bExpand = expand; }
    bool IsExpand() const { return m_bExpand; }
    // False without a name or a check-state table.
    bool IsChecked() const;
    void SetChecked(bool checked);

    CMenuWnd* GetSubMenuWindow() const { return m_pWindow; }
    // Called by the sub-menu window on its final message.
    void SubMenuClosed();
    void CreateMenuWnd();
    // Destroys an open sub-menu window at once; its rows come back to this item.
    void CloseSubMenuNow();
    // Makes the nested items visible; true when there is at least one.
    bool ShowNestedItems();

private:
    void DrawIcon(HDC hDC);
    void DrawExpandArrow(HDC hDC);
    void PostCommand();
    void RelayoutSubMenu();
    // A nested row joins the open sub-menu, or stays hidden in this item's own menu.
    void JoinSubMenu(CControlUI* control);
    // The row's place among the nested rows, as the sub-menu lists them.
    int SubMenuIndexOf(CControlUI* control) const;
    int Unscale(int value) const;

    CMenuWnd* m_pWindow = nullptr;
    bool m_bLineType = false;
    DWORD m_dwLineColor = 0xFFBCBFC4;
    RECT m_rcLinePadding = {29, 0, 7, 0};
    SIZE m_szIcon = {16, 16};
    CUIString m_sIcon;
    bool m_bCheckItem = false;
    bool m_bExpand = false;
};

} // namespace ZvUI

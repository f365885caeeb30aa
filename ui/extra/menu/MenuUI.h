#pragma once
// The list of a menu window: takes menu items only, and sizes itself to its widest item.

#include "list/ListUI.h"

namespace ZvUI {

class CMenuWnd;

// What a menu answers to GetListKind.
constexpr int ListKindMenu = 3;

class CMenuUI : public CListUI {
public:
    CMenuUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    SIZE EstimateSize(SIZE available) override;

    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int newIndex) override;
    // Menu items only; the menu takes ownership of an accepted item.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    int GetListKind() const override { return ListKindMenu; }

    CMenuWnd* GetMenuWnd() const { return m_pWindow; }
    void SetMenuWnd(CMenuWnd* window) { m_pWindow = window; }

private:
    static void CloseSubMenuOf(CControlUI* control);

    CMenuWnd* m_pWindow = nullptr;
};

} // namespace ZvUI

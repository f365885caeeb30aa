#pragma once
// A skinned pop-up menu window: a root menu built from a layout, or the sub-menu of one item.

#include "builder/DialogBuilder.h"
#include "manager/PaintManagerUI.h"
#include "menu/MenuObserver.h"
#include "window/WindowWnd.h"

namespace ZvUI {

class CMenuElementUI;
class CMenuUI;

// Alignment bits: the menu's right edge, or its bottom edge, at the base point.
constexpr UINT MenuAlignRight = 8;
constexpr UINT MenuAlignBottom = 16;

class CMenuWnd : public CWindowWnd, public MenuReceiverImpl, public INotifyUI, public IDialogBuilderCallback {
public:
    CMenuWnd() = default;

    // The window deletes itself on its final message. A root menu (no owner item) needs the owner
    // manager; the check-state table stays the caller's. Null when the window cannot be made (the
    // object is gone then).
    static CMenuWnd* CreateMenu(CMenuElementUI* ownerItem, LPCWSTR layout, POINT point,
                                CPaintManagerUI* ownerManager, CUIStringMap* checkStates = nullptr,
                                UINT alignment = 6, bool autoPlace = true);
    // False when the window cannot be made: it has had its final message and is gone.
    bool Init(CMenuElementUI* ownerItem, LPCWSTR layout, POINT point, CPaintManagerUI* ownerManager,
              CUIStringMap* checkStates = nullptr, UINT alignment = 6);
    void CloseMenu();
    bool IsClosing() const { return m_bClosing; }
    void SetDpi(int dpi);
    CPaintManagerUI& GetManager() { return m_pm; }
    // Rows the owner item gains, loses or moves while its sub-menu is open, so that the sub-menu
    // never lists a row its item has let go; index counts the item's nested rows only.
    void LendItem(CControlUI* item, int index);
    void TakeBackItem(CControlUI* item);
    void MoveItem(CControlUI* item, int index);
    // Sizes and places a sub-menu again after its rows changed.
    void FitSubMenu();

    LPCWSTR GetWindowClassName() const override { return L"ZvMenuWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;
    CControlUI* CreateControl(LPCWSTR tag) override;
    void Notify(UINotifyMessage& msg) override;
    bool OnBroadcast(MenuBroadcastParam param) override;

private:
    LRESULT OnCreate();
    void PlaceRoot();
    void PlaceSubMenu();
    bool IsMenuWindow(HWND window) const;

    bool m_bClosing = false;
    POINT m_ptBase = {0, 0};
    bool m_bAutoPlace = true;
    CUIString m_sLayout;
    CPaintManagerUI m_pm;
    CMenuElementUI* m_pOwner = nullptr;
    CMenuUI* m_pLayout = nullptr;
    UINT m_uAlignment = 6;
};

} // namespace ZvUI

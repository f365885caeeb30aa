#pragma once
// The combo's drop-down: a top-level tool window with a paint manager of its own, lent the combo's rows.

#include "manager/PaintManagerUI.h"
#include "window/WindowWnd.h"

namespace ZvUI {

class CComboUI;
class CControlUI;
class CVerticalLayoutUI;

class CComboWnd : public CWindowWnd, public INotifyUI {
public:
    CComboWnd() = default;

    // Places the pop-up below the field (above it when the work area ends first) and shows it.
    void Init(CComboUI* owner);
    LPCWSTR GetWindowClassName() const override { return L"ComboWnd"; }
    UINT GetClassStyle() const override { return 0; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;
    void Notify(UINotifyMessage& msg) override;

    // Scrolls the row into the pop-up's view.
    void EnsureVisible(int index);
    void Scroll(int dx, int dy);
    CPaintManagerUI& GetManager() { return m_pm; }
    CVerticalLayoutUI* GetLayout() const { return m_pLayout; }
    // Gives the rows back to the combo; safe to call more than once.
    void ReturnItems();
    // Rows the combo gains, loses or moves while the pop-up is open, so that its layout never
    // holds a row the combo has deleted.
    void LendItem(CControlUI* item, int index);
    void TakeBackItem(CControlUI* item);
    void TakeBackAllItems();
    void MoveItem(CControlUI* item, int index);

private:
    LRESULT OnCreate();
    bool IsHitItem(POINT pt) const;

    CPaintManagerUI m_pm;
    CComboUI* m_pOwner = nullptr;
    CVerticalLayoutUI* m_pLayout = nullptr;
    int m_iOldSel = -1;
    bool m_bHitItem = false;
    bool m_bItemsLent = false;
};

} // namespace ZvUI

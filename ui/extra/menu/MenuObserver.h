#pragma once
// The process-wide observer of open menu windows, the command record a chosen item posts and the
// table of check states kept for the owner window.

#include <windows.h>

#include "utils/UIArray.h"
#include "utils/UIStringMap.h"

namespace ZvUI {

class CPaintManagerUI;

// Posted to the owner window with wParam = a new MenuCommandInfo (the receiver deletes it) and
// lParam = the item.
constexpr UINT WM_MENUCLICK = WM_USER + 3;

struct MenuCommandInfo {
    wchar_t name[256];
    wchar_t userData[1024];
    wchar_t text[1024];
    int checked;
};

struct MenuCheckInfo {
    wchar_t name[256];
    bool checked;
};

enum MenuBroadcastType {
    MenuCloseAll = 1,
    // Closes the menus whose window has the given window as an ancestor.
    MenuCloseBelow = 2,
};

struct MenuBroadcastParam {
    UINT type;
    HWND window;
};

class MenuMenuReceiverImplBase;

class MenuMenuObserverImplBase {
public:
    virtual void AttachReceiver(MenuMenuReceiverImplBase* receiver) = 0;
    virtual void DetachReceiver(MenuMenuReceiverImplBase* receiver) = 0;
    virtual void Broadcast(MenuBroadcastParam param) = 0;

protected:
    ~MenuMenuObserverImplBase() = default;
};

class MenuMenuReceiverImplBase {
public:
    virtual void AttachObserver(MenuMenuObserverImplBase* observer) = 0;
    virtual void DetachFromObservers() = 0;
    virtual bool OnBroadcast(MenuBroadcastParam param) = 0;

protected:
    ~MenuMenuReceiverImplBase() = default;
};

class MenuObserverImpl : public MenuMenuObserverImplBase {
public:
    MenuObserverImpl() = default;
    MenuObserverImpl(const MenuObserverImpl&) = delete;
    MenuObserverImpl& operator=(const MenuObserverImpl&) = delete;
    virtual ~MenuObserverImpl() = default;

    void AttachReceiver(MenuMenuReceiverImplBase* receiver) override;
    void DetachReceiver(MenuMenuReceiverImplBase* receiver) override;
    // From the last attached receiver to the first.
    void Broadcast(MenuBroadcastParam param) override;
    // Null means no owner. The owner and its check-state table are forgotten together once the
    // owner's window is gone: both belong to that window, and a later menu must not reach them.
    virtual void SetOwnerManager(CPaintManagerUI* manager);
    virtual CPaintManagerUI* GetOwnerManager() const;
    // Not owned; null means no table.
    virtual void SetCheckStateMap(CUIStringMap* map);
    virtual CUIStringMap* GetCheckStateMap() const;

    int GetReceiverCount() const { return m_receivers.GetSize(); }
    MenuMenuReceiverImplBase* GetReceiver(int index) const;

private:
    void ForgetGoneOwner() const;

    CUIPtrArray m_receivers;
    mutable CPaintManagerUI* m_pOwnerManager = nullptr;
    // The owner's window when it was set; null when the owner had none.
    mutable HWND m_hwndOwner = nullptr;
    mutable CUIStringMap* m_pCheckStates = nullptr;
};

class MenuReceiverImpl : public MenuMenuReceiverImplBase {
public:
    MenuReceiverImpl() = default;

    void AttachObserver(MenuMenuObserverImplBase* observer) override;
    void DetachFromObservers() override;
    bool OnBroadcast(MenuBroadcastParam /*param*/) override { return false; }

private:
    CUIPtrArray m_observers;
};

MenuObserverImpl& GetMenuObserver();

// --- check states, in the observer's table ---
// Null for an empty name or without a table.
MenuCheckInfo* SetMenuCheckState(LPCWSTR name, bool checked);
MenuCheckInfo* GetMenuCheckInfo(LPCWSTR name);
// Frees every entry of the table and empties it.
void ClearMenuCheckStates();

} // namespace ZvUI

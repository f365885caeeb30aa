// The process-wide observer of open menu windows and the table of check states.
#include "menu/MenuObserver.h"

#include <cwchar>

#include "manager/PaintManagerUI.h"

namespace ZvUI {

void MenuObserverImpl::AttachReceiver(MenuMenuReceiverImplBase* receiver)
{
    if (receiver == nullptr)
        return;
    m_receivers.Add(receiver);
    receiver->AttachObserver(this);
}

void MenuObserverImpl::DetachReceiver(MenuMenuReceiverImplBase* receiver)
{
    const int index = m_receivers.Find(receiver);
    if (index >= 0)
        m_receivers.Remove(index);
}

void MenuObserverImpl::Broadcast(MenuBroadcastParam param)
{
    for (int i = m_receivers.GetSize() - 1; i >= 0; --i) {
        // A receiver may detach others while it handles the broadcast.
        if (i >= m_receivers.GetSize())
            continue;
        if (auto* receiver = static_cast<MenuMenuReceiverImplBase*>(m_receivers[i]))
            receiver->OnBroadcast(param);
    }
}

void MenuObserverImpl::ForgetGoneOwner() const
{
    if (m_hwndOwner == nullptr || ::IsWindow(m_hwndOwner))
        return;
    m_pOwnerManager = nullptr;
    m_hwndOwner = nullptr;
    m_pCheckStates = nullptr;
}

void MenuObserverImpl::SetOwnerManager(CPaintManagerUI* manager)
{
    ForgetGoneOwner();
    m_pOwnerManager = manager;
    m_hwndOwner = manager != nullptr ? manager->GetWindowHandle() : nullptr;
}

CPaintManagerUI* MenuObserverImpl::GetOwnerManager() const
{
    ForgetGoneOwner();
    return m_pOwnerManager;
}

void MenuObserverImpl::SetCheckStateMap(CUIStringMap* map)
{
    ForgetGoneOwner();
    m_pCheckStates = map;
}

CUIStringMap* MenuObserverImpl::GetCheckStateMap() const
{
    ForgetGoneOwner();
    return m_pCheckStates;
}

MenuMenuReceiverImplBase* MenuObserverImpl::GetReceiver(int index) const
{
    return static_cast<MenuMenuReceiverImplBase*>(m_receivers.GetAt(index));
}

void MenuReceiverImpl::AttachObserver(MenuMenuObserverImplBase* observer)
{
    m_observers.Add(observer);
}

void MenuReceiverImpl::DetachFromObservers()
{
    for (int i = 0; i < m_observers.GetSize(); ++i) {
        if (auto* observer = static_cast<MenuMenuObserverImplBase*>(m_observers[i]))
            observer->DetachReceiver(this);
    }
    m_observers.Empty();
}

MenuObserverImpl& GetMenuObserver()
{
    static MenuObserverImpl observer;
    return observer;
}

// --- check states ---

MenuCheckInfo* SetMenuCheckState(LPCWSTR name, bool checked)
{
    CUIStringMap* map = GetMenuObserver().GetCheckStateMap();
    if (name == nullptr || name[0] == L'\0' || map == nullptr)
        return nullptr;
    auto* info = static_cast<MenuCheckInfo*>(map->Find(name));
    if (info == nullptr) {
        info = new MenuCheckInfo{};
        wcsncpy(info->name, name, 255);
        map->Insert(name, info);
    }
    info->checked = checked;
    return info;
}

MenuCheckInfo* GetMenuCheckInfo(LPCWSTR name)
{
    CUIStringMap* map = GetMenuObserver().GetCheckStateMap();
    if (name == nullptr || map == nullptr)
        return nullptr;
    return static_cast<MenuCheckInfo*>(map->Find(name));
}

void ClearMenuCheckStates()
{
    CUIStringMap* map = GetMenuObserver().GetCheckStateMap();
    if (map == nullptr)
        return;
    for (int i = 0; i < map->GetSize(); ++i) {
        if (LPCWSTR key = map->GetAt(i))
            delete static_cast<MenuCheckInfo*>(map->Find(key, false));
    }
    map->RemoveAll();
}

} // namespace ZvUI

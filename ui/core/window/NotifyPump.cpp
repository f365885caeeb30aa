// Notification routing through message tables and virtual windows.
#include "window/NotifyPump.h"

#include "control/ControlUI.h"

namespace ZvUI {

const UIMessageTableEntry CNotifyPump::s_messageEntries[] = {
    {L"", L"", UISigEnd, nullptr},
};

const UIMessageTable CNotifyPump::s_messageTable = {nullptr, &CNotifyPump::s_messageEntries[0]};

const UIMessageTable* CNotifyPump::GetMessageTable() const
{
    return &s_messageTable;
}

bool CNotifyPump::RegisterVirtualWindow(CUIString name, CNotifyPump* pump)
{
    if (m_virtualWnds.Find(name, false) != nullptr)
        return false;
    return m_virtualWnds.Insert(name, pump);
}

bool CNotifyPump::UnregisterVirtualWindow(CUIString name)
{
    if (m_virtualWnds.Find(name, false) == nullptr)
        return false;
    return m_virtualWnds.Remove(name);
}

bool CNotifyPump::RouteNotify(UINotifyMessage& msg)
{
    if (!msg.virtualWnd.IsEmpty()) {
        for (int i = 0; i < m_virtualWnds.GetSize(); ++i) {
            LPCWSTR key = m_virtualWnds.GetAt(i);
            if (key == nullptr || _wcsicmp(key, msg.virtualWnd) != 0)
                continue;
            auto* pump = static_cast<CNotifyPump*>(m_virtualWnds.Find(key, false));
            if (pump != nullptr && pump->DispatchByMessageTable(msg))
                return true;
        }
    }
    return DispatchByMessageTable(msg);
}

bool CNotifyPump::DispatchByMessageTable(UINotifyMessage& msg)
{
    for (const UIMessageTable* table = GetMessageTable(); table != nullptr; table = table->base) {
        const UIMessageTableEntry* entry = FindMessageEntry(table->entries, msg);
        if (entry == nullptr)
            continue;
        switch (entry->signature) {
        case UISigParams: {
            auto fn = reinterpret_cast<void (CNotifyPump::*)(WPARAM, LPARAM)>(entry->handler);
            (this->*fn)(msg.wParam, msg.lParam);
            return true;
        }
        case UISigNotify: {
            auto fn = reinterpret_cast<void (CNotifyPump::*)(UINotifyMessage&)>(entry->handler);
            (this->*fn)(msg);
            return true;
        }
        default:
            return false;
        }
    }
    return false;
}

const UIMessageTableEntry* CNotifyPump::FindMessageEntry(const UIMessageTableEntry* entries,
                                                         const UINotifyMessage& msg)
{
    if (entries == nullptr)
        return nullptr;
    // A sender may be gone (queued notifications about deleted controls): it has no name then.
    const CUIString senderName = msg.sender != nullptr ? msg.sender->GetName() : CUIString();
    const UIMessageTableEntry* anySender = nullptr;
    for (const UIMessageTableEntry* e = entries; e->signature != UISigEnd; ++e) {
        if (e->type != msg.type.GetData())
            continue;
        if (e->controlName.IsEmpty())
            anySender = e;
        else if (e->controlName == senderName.GetData())
            return e;
    }
    return anySender;
}

} // namespace ZvUI

// Delegate list: owning copies, fired in order until one says stop.
#include "control/UIDelegate.h"

namespace ZvUI {

CDelegateList::~CDelegateList()
{
    Clear();
}

void CDelegateList::Add(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* existing = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (existing != nullptr && existing->Equals(d))
            return;
    }
    CDelegateBase* copy = d.Copy();
    if (!m_aDelegates.Add(copy))
        delete copy;
}

void CDelegateList::Add(CDelegateStatic::Fn fn)
{
    Add(CDelegateStatic(fn));
}

void CDelegateList::Remove(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* existing = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (existing != nullptr && existing->Equals(d)) {
            delete existing;
            m_aDelegates.Remove(i);
            return;
        }
    }
}

void CDelegateList::Remove(CDelegateStatic::Fn fn)
{
    Remove(CDelegateStatic(fn));
}

bool CDelegateList::Invoke(void* param)
{
    // The count is read again before every call: a handler may add to the list.
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* d = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (d != nullptr && !d->Invoke(param))
            return false;
    }
    return true;
}

void CDelegateList::Clear()
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_aDelegates[i]);
    m_aDelegates.Empty();
}

} // namespace ZvUI

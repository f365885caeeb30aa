#pragma once
// Walks a manager's list while the handlers it calls may change that list.

#include "manager/PaintManagerUI.h"
#include "utils/UIArray.h"

namespace ZvUI {

// Visits, in order, each entry that was in list when the walk began, unless it has left the list
// before its turn; entries added meanwhile wait for the next walk. visit returns true to end the
// walk, and the result tells whether it did. ownerAlive is asked after each visit: once it says
// false, the list went with its owner and the walk ends without reading it again.
template <class T, class Visit, class OwnerAlive>
bool WalkListSnapshot(const CUIPtrArray& list, Visit visit, OwnerAlive ownerAlive)
{
    const CUIPtrArray snapshot(list);
    for (int i = 0; i < snapshot.GetSize(); ++i) {
        auto* entry = static_cast<T*>(snapshot[i]);
        if (list.Find(entry) < 0)
            continue;
        if (visit(entry))
            return true;
        if (!ownerAlive())
            return false;
    }
    return false;
}

// For WalkListSnapshot over a manager's own list: whether the manager is still alive. One that
// was attached when the walk began is alive while it is still listed; a handler may have closed
// its window and freed it.
inline auto ManagerAlive(const CPaintManagerUI* manager)
{
    auto* self = const_cast<CPaintManagerUI*>(manager);
    const bool listed = CPaintManagerUI::GetAllManagers()->Find(self) >= 0;
    return [self, listed] { return !listed || CPaintManagerUI::GetAllManagers()->Find(self) >= 0; };
}

} // namespace ZvUI

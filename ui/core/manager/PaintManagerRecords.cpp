// The manager's records listed for tests: what each one points at, by kind.
#include "manager/PaintManagerUI.h"

namespace ZvUI {

void CPaintManagerUI::ForEachRecord(const std::function<void(const char* kind, const void* pointer)>& visit) const
{
    auto one = [&visit](const char* kind, const void* pointer) {
        if (pointer != nullptr)
            visit(kind, pointer);
    };
    auto each = [&one](const char* kind, const CUIPtrArray& list) {
        for (int i = 0; i < list.GetSize(); ++i)
            one(kind, list[i]);
    };
    one("focus", m_pFocus);
    one("hover", m_pEventHover);
    one("click", m_pEventClick);
    one("key", m_pEventKey);
    for (int i = 0; i < m_aTimers.GetSize(); ++i)
        one("timer", static_cast<const UITimerInfo*>(m_aTimers[i])->control);
    for (int i = 0; i < m_mNameHash.GetSize(); ++i) {
        LPCWSTR key = m_mNameHash.GetAt(i);
        if (key != nullptr)
            one("name", m_mNameHash.Find(key, false));
    }
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
        LPCWSTR key = m_mOptionGroup.GetAt(i);
        const auto* group = key != nullptr ? static_cast<const CUIPtrArray*>(m_mOptionGroup.Find(key, false)) : nullptr;
        if (group != nullptr)
            each("option group", *group);
    }
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i)
        one("queued notification", static_cast<const UINotifyMessage*>(m_aAsyncNotify[i])->sender);
    each("after-paint control", m_aPostPaintControls);
    each("child window control", m_aChildWndControls);
    each("mouse-leave watcher", m_aNeedMouseLeaveNeeded);
    each("notify listener", m_aNotifiers);
    each("accelerator translator", m_aTranslateAccelerator);
    each("early filter", m_aPreMessageFilters);
    each("message filter", m_aMessageFilters);
}

} // namespace ZvUI

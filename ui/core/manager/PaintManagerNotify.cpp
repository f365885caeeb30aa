// Paint manager services for controls: focus and Tab order, capture, timers,
// notifications and their queue, listener lists, searches and option groups.
#include "manager/PaintManagerUI.h"
#include "manager/UIListWalk.h"

#include <cwchar>

#include "control/ControlUI.h"

namespace ZvUI {

namespace {

constexpr UINT kAsyncMessage = WM_APP + 1;
// Window timer ids rotate through 0..239.
constexpr UINT kTimerIdRange = 240;

void DeleteOwnedArrays(CUIStringMap& map)
{
    for (int i = 0; i < map.GetSize(); ++i) {
        LPCWSTR key = map.GetAt(i);
        if (key != nullptr)
            delete static_cast<CUIPtrArray*>(map.Find(key, false));
    }
    map.RemoveAll();
}

bool RemoveFirst(CUIPtrArray& list, LPVOID item)
{
    const int index = list.Find(item);
    if (index < 0)
        return false;
    return list.Remove(index);
}

// --- search visitors ---

struct TabSearch {
    CControlUI* start = nullptr;
    CControlUI* last = nullptr;
    bool forward = true;
    bool passed = false;
};

CControlUI* TabProc(CControlUI* control, LPVOID data)
{
    auto* info = static_cast<TabSearch*>(data);
    if (control == info->start) {
        if (info->forward)
            info->passed = true;
        return info->forward ? nullptr : info->last;
    }
    if ((control->GetControlFlags() & ControlFlagTabStop) == 0)
        return nullptr;
    info->last = control;
    if (info->passed || info->start == nullptr)
        return control;
    return nullptr;
}

CControlUI* PointProc(CControlUI* control, LPVOID data)
{
    return ::PtInRect(&control->GetPos(), *static_cast<const POINT*>(data)) ? control : nullptr;
}

CControlUI* NameProc(CControlUI* control, LPVOID data)
{
    auto name = static_cast<LPCWSTR>(data);
    const CUIString own = control->GetName();
    if (own.IsEmpty())
        return nullptr;
    return own.CompareNoCase(name) == 0 ? control : nullptr;
}

struct ClassSearch {
    LPCWSTR className;
    CUIPtrArray* results;
};

bool ClassMatches(CControlUI* control, LPCWSTR className)
{
    return wcscmp(className, L"*") == 0 || wcscmp(control->GetClass(), className) == 0;
}

CControlUI* ClassSlotProc(CControlUI* control, LPVOID data)
{
    auto* search = static_cast<ClassSearch*>(data);
    if (!ClassMatches(control, search->className))
        return nullptr;
    CUIPtrArray& slots = *search->results;
    const int count = slots.GetSize();
    for (int i = 0; i < count; ++i) {
        if (slots[i] == nullptr) {
            slots.SetAt(i, control);
            return i == count - 1 ? control : nullptr;
        }
    }
    return nullptr;
}

CControlUI* ClassAppendProc(CControlUI* control, LPVOID data)
{
    auto* search = static_cast<ClassSearch*>(data);
    if (ClassMatches(control, search->className) && control->GetManager() != nullptr)
        control->GetManager()->GetSearchResults()->Add(control);
    return nullptr;
}

} // namespace

// --- focus ---

void CPaintManagerUI::SetFocus(CControlUI* control)
{
    if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint && control != m_pFocus)
        ::SetFocus(m_hWndPaint);
    if (control == m_pFocus)
        return;
    if (m_pFocus != nullptr) {
        CControlUI* old = m_pFocus;
        UIControlEvent event = MakeEvent(EventKillFocus, control);
        old->Event(event);
        RaiseNotify(old, L"killfocus");
        m_pFocus = nullptr;
    }
    if (control != nullptr && control->GetManager() == this && control->IsVisible() &&
        control->IsEnabled()) {
        m_pFocus = control;
        // A focus chosen now outranks a tab move still waiting for a paint (the window's first,
        // or one a page switch deferred): made after it, that move would take the focus away.
        m_bFocusNeeded = false;
        UIControlEvent event = MakeEvent(EventSetFocus, control);
        control->Event(event);
        RaiseNotify(control, L"setfocus");
    }
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* control)
{
    if (m_hWndPaint != nullptr)
        ::SetFocus(m_hWndPaint);
    if (control == nullptr)
        return;
    if (m_pFocus != nullptr) {
        CControlUI* old = m_pFocus;
        UIControlEvent event = MakeEvent(EventKillFocus, control);
        old->Event(event);
        RaiseNotify(old, L"killfocus");
        m_pFocus = nullptr;
    }
    // Focus rests on the tab stop before the control, without events, so that the forward
    // move after layout lands on the control itself.
    m_pFocus = FindTabStop(control, false);
    m_bFocusNeeded = true;
    if (m_pRoot != nullptr)
        m_pRoot->NeedUpdate();
}

CControlUI* CPaintManagerUI::FindTabStop(CControlUI* start, bool forward) const
{
    if (m_pRoot == nullptr)
        return nullptr;
    TabSearch info;
    info.start = start;
    info.forward = forward;
    return m_pRoot->FindControl(TabProc, &info, FindVisible | FindEnabled | FindMeFirst);
}

bool CPaintManagerUI::MoveTabFocus(bool forward)
{
    if (m_bUpdateNeeded && forward) {
        m_bFocusNeeded = true;
        Invalidate();
        return true;
    }
    CControlUI* next = nullptr;
    if (m_pRoot != nullptr) {
        TabSearch info;
        info.start = m_pFocus;
        info.forward = forward;
        next = m_pRoot->FindControl(TabProc, &info, FindVisible | FindEnabled | FindMeFirst);
        if (next == nullptr) {
            if (!forward) {
                next = info.last;
            } else {
                TabSearch again;
                again.forward = true;
                next = m_pRoot->FindControl(TabProc, &again, FindVisible | FindEnabled | FindMeFirst);
            }
        }
    }
    if (next != nullptr)
        next->SetFocus();
    m_bFocusNeeded = false;
    return true;
}

// --- capture ---

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
    m_bDragPending = false;
}

// --- timers ---

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT callerId, UINT elapse)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<UITimerInfo*>(m_aTimers[i]);
        if (timer->control == control && timer->window == m_hWndPaint && timer->callerId == callerId) {
            if (!timer->killed)
                return false;
            if (::SetTimer(m_hWndPaint, timer->windowTimerId, elapse, nullptr) == 0)
                return false;
            timer->killed = false;
            timer->elapse = elapse;
            return true;
        }
    }
    // The rotation passes over ids that a record of this window still holds (live, or killed
    // and kept for a restart): ::SetTimer with a held id would silently replace that timer.
    bool found = false;
    for (UINT tries = 0; tries < kTimerIdRange && !found; ++tries) {
        m_uTimerID = (m_uTimerID + 1) % kTimerIdRange;
        found = true;
        for (int i = 0; i < m_aTimers.GetSize(); ++i) {
            auto* timer = static_cast<UITimerInfo*>(m_aTimers[i]);
            if (timer->window == m_hWndPaint && timer->windowTimerId == m_uTimerID) {
                found = false;
                break;
            }
        }
    }
    if (!found) {
        // Every id is held. A killed record only keeps its id for a restart: the oldest one
        // gives it up (its restart takes a new id), so that a window runs timers for any
        // number of controls over its life. Only 240 live timers at once are refused.
        for (int i = 0; i < m_aTimers.GetSize() && !found; ++i) {
            auto* timer = static_cast<UITimerInfo*>(m_aTimers[i]);
            if (timer->window == m_hWndPaint && timer->killed) {
                m_uTimerID = timer->windowTimerId;
                delete timer;
                m_aTimers.Remove(i);
                found = true;
            }
        }
    }
    if (!found)
        return false;
    if (m_hWndPaint == nullptr || ::SetTimer(m_hWndPaint, m_uTimerID, elapse, nullptr) == 0)
        return false;
    auto* timer = new UITimerInfo;
    timer->control = control;
    timer->callerId = callerId;
    timer->window = m_hWndPaint;
    timer->windowTimerId = m_uTimerID;
    timer->killed = false;
    timer->elapse = elapse;
    if (!m_aTimers.Add(timer)) {
        ::KillTimer(m_hWndPaint, timer->windowTimerId);
        delete timer;
        return false;
    }
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT callerId)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<UITimerInfo*>(m_aTimers[i]);
        if (timer->control == control && timer->window == m_hWndPaint && timer->callerId == callerId &&
            !timer->killed) {
            if (::IsWindow(m_hWndPaint))
                ::KillTimer(timer->window, timer->windowTimerId);
            timer->killed = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimers(CControlUI* control)
{
    for (int i = 0; i < m_aTimers.GetSize();) {
        auto* timer = static_cast<UITimerInfo*>(m_aTimers[i]);
        if (timer->control == control && timer->window == m_hWndPaint) {
            if (!timer->killed && ::IsWindow(timer->window))
                ::KillTimer(timer->window, timer->windowTimerId);
            delete timer;
            m_aTimers.Remove(i);
        } else {
            ++i;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<UITimerInfo*>(m_aTimers[i]);
        if (timer->window == m_hWndPaint && !timer->killed && ::IsWindow(m_hWndPaint))
            ::KillTimer(timer->window, timer->windowTimerId);
        delete timer;
    }
    m_aTimers.Empty();
}

const UITimerInfo* CPaintManagerUI::GetTimerInfo(int index) const
{
    return static_cast<const UITimerInfo*>(m_aTimers.GetAt(index));
}

// --- notifications ---

bool CPaintManagerUI::AddNotifyListener(INotifyUI* listener)
{
    return m_aNotifiers.Add(listener);
}

bool CPaintManagerUI::RemoveNotifyListener(INotifyUI* listener)
{
    return RemoveFirst(m_aNotifiers, listener);
}

void CPaintManagerUI::RaiseNotify(CControlUI* sender, LPCWSTR type, WPARAM wParam, LPARAM lParam,
                                  bool async)
{
    UINotifyMessage msg;
    msg.sender = sender;
    msg.type = type;
    msg.wParam = wParam;
    msg.lParam = lParam;
    DispatchNotify(msg, async);
}

void CPaintManagerUI::DispatchNotify(UINotifyMessage& msg, bool async)
{
    msg.mousePoint = m_ptLastMousePos;
    msg.timestamp = ::GetTickCount();
    if (m_bFillVirtualWnd) {
        // A notification without a sender belongs to no virtual window.
        if (msg.sender != nullptr)
            msg.virtualWnd = msg.sender->GetVirtualWnd();
        else
            msg.virtualWnd.Empty();
    }
    if (async) {
        // The queued copy carries no virtual-window name: routing by it is for synchronous
        // notifications only.
        auto* queued = new UINotifyMessage;
        queued->sender = msg.sender;
        queued->type = msg.type;
        queued->wParam = msg.wParam;
        queued->lParam = msg.lParam;
        queued->mousePoint = msg.mousePoint;
        queued->timestamp = msg.timestamp;
        if (!m_aAsyncNotify.Add(queued)) {
            delete queued;
            return;
        }
        PostAsyncNotify();
        return;
    }
    DeliverNotify(msg);
}

void CPaintManagerUI::DeliverNotify(UINotifyMessage& msg)
{
    if (msg.sender != nullptr && msg.sender->NotifyHandlers.HasDelegates())
        msg.sender->NotifyHandlers.Invoke(&msg);
    // A listener may add or remove listeners, itself included, while it runs.
    WalkListSnapshot<INotifyUI>(
        m_aNotifiers,
        [&msg](INotifyUI* listener) {
            if (listener != nullptr)
                listener->Notify(msg);
            return false;
        },
        ManagerAlive(this));
}

void CPaintManagerUI::PostAsyncNotify()
{
    if (m_bAsyncNotifyPosted || m_hWndPaint == nullptr)
        return;
    if (::PostMessageW(m_hWndPaint, kAsyncMessage, 0, 0))
        m_bAsyncNotifyPosted = true;
}

void CPaintManagerUI::ProcessAsyncWork()
{
    ProcessDelayedCleanup();
    m_bAsyncNotifyPosted = false;
    // Notifications queued during this delivery arrive in the same pass.
    while (m_aAsyncNotify.GetSize() > 0) {
        auto* msg = static_cast<UINotifyMessage*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*msg);
        delete msg;
    }
}

// --- listener lists ---

bool CPaintManagerUI::AddAcceleratorTranslator(ITranslateAccelerator* translator)
{
    return m_aTranslateAccelerator.Add(translator);
}

bool CPaintManagerUI::RemoveAcceleratorTranslator(ITranslateAccelerator* translator)
{
    return RemoveFirst(m_aTranslateAccelerator, translator);
}

bool CPaintManagerUI::AddEarlyMessageFilter(IMessageFilterUI* filter)
{
    return m_aPreMessageFilters.Add(filter);
}

bool CPaintManagerUI::RemoveEarlyMessageFilter(IMessageFilterUI* filter)
{
    return RemoveFirst(m_aPreMessageFilters, filter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter)
{
    return m_aMessageFilters.Add(filter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter)
{
    return RemoveFirst(m_aMessageFilters, filter);
}

bool CPaintManagerUI::AddAfterPaintControl(CControlUI* control)
{
    return m_aPostPaintControls.Add(control);
}

bool CPaintManagerUI::InsertAfterPaintControl(CControlUI* control, int index)
{
    RemoveFirst(m_aPostPaintControls, control);
    return m_aPostPaintControls.InsertAt(index, control);
}

bool CPaintManagerUI::RemoveAfterPaintControl(CControlUI* control)
{
    return RemoveFirst(m_aPostPaintControls, control);
}

CControlUI* CPaintManagerUI::GetAfterPaintControl(int index) const
{
    return static_cast<CControlUI*>(m_aPostPaintControls.GetAt(index));
}

bool CPaintManagerUI::IsAfterPaintControl(CControlUI* control) const
{
    return m_aPostPaintControls.Find(control) >= 0;
}

bool CPaintManagerUI::AttachChildWindow(CControlUI* control, HWND child)
{
    if (control == nullptr || child == nullptr)
        return false;
    RECT rc = GetChildWindowRect(child);
    Invalidate(rc);
    if (m_aChildWnds.Find(child) >= 0)
        return false;
    if (!m_aChildWnds.Add(child))
        return false;
    if (!m_aChildWndControls.Add(control)) {
        m_aChildWnds.Remove(m_aChildWnds.GetSize() - 1);
        return false;
    }
    return true;
}

bool CPaintManagerUI::DetachChildWindow(HWND child)
{
    const int index = m_aChildWnds.Find(child);
    if (index < 0)
        return false;
    m_aChildWnds.Remove(index);
    m_aChildWndControls.Remove(index);
    return true;
}

RECT CPaintManagerUI::GetChildWindowRect(HWND child) const
{
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(child, &rc);
    POINT topLeft = {rc.left, rc.top};
    POINT bottomRight = {rc.right, rc.bottom};
    ::ScreenToClient(m_hWndPaint, &topLeft);
    ::ScreenToClient(m_hWndPaint, &bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

HWND CPaintManagerUI::GetChildWindow(int index) const
{
    return static_cast<HWND>(m_aChildWnds.GetAt(index));
}

CControlUI* CPaintManagerUI::GetChildWindowControl(int index) const
{
    return static_cast<CControlUI*>(m_aChildWndControls.GetAt(index));
}

bool CPaintManagerUI::AddMouseLeaveWatcher(CControlUI* control)
{
    if (control == nullptr || m_aNeedMouseLeaveNeeded.Find(control) >= 0)
        return false;
    return m_aNeedMouseLeaveNeeded.Add(control);
}

bool CPaintManagerUI::RemoveMouseLeaveWatcher(CControlUI* control)
{
    return RemoveFirst(m_aNeedMouseLeaveNeeded, control);
}

// --- searches ---

CControlUI* CPaintManagerUI::FindControl(LPCWSTR name) const
{
    if (name == nullptr)
        return nullptr;
    return static_cast<CControlUI*>(m_mNameHash.Find(name));
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    return FindSubControlByPoint(nullptr, pt);
}

CControlUI* CPaintManagerUI::ControlAt(POINT pt) const
{
    return FindSubControlByPoint(nullptr, pt);
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* parent, POINT pt) const
{
    if (parent == nullptr)
        parent = m_pRoot;
    if (parent == nullptr)
        return nullptr;
    return parent->FindControl(PointProc, &pt, FindVisible | FindHitTest | FindTopFirst);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, LPCWSTR name)
{
    if (parent == nullptr)
        parent = m_pRoot;
    if (parent == nullptr || name == nullptr)
        return nullptr;
    return parent->FindControl(NameProc, const_cast<LPWSTR>(name), 0);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, LPCWSTR className, int index)
{
    if (parent == nullptr)
        parent = m_pRoot;
    if (parent == nullptr || className == nullptr || index < 0)
        return nullptr;
    m_aFoundControls.Resize(index + 1);
    ClassSearch search = {className, &m_aFoundControls};
    parent->FindControl(ClassSlotProc, &search, 0);
    return static_cast<CControlUI*>(m_aFoundControls[index]);
}

CUIPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* parent, LPCWSTR className)
{
    if (parent == nullptr)
        parent = m_pRoot;
    if (parent == nullptr || className == nullptr)
        return nullptr;
    m_aFoundControls.Empty();
    ClassSearch search = {className, &m_aFoundControls};
    parent->FindControl(ClassAppendProc, &search, 0);
    return &m_aFoundControls;
}

// --- option groups ---

bool CPaintManagerUI::JoinOptionGroup(LPCWSTR name, CControlUI* control)
{
    if (name == nullptr)
        return false;
    auto* group = static_cast<CUIPtrArray*>(m_mOptionGroup.Find(name));
    if (group != nullptr) {
        if (group->Find(control) >= 0)
            return false;
        return group->Add(control);
    }
    group = new CUIPtrArray(6);
    if (!group->Add(control) || !m_mOptionGroup.Insert(name, group)) {
        delete group;
        return false;
    }
    return true;
}

CUIPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR name) const
{
    if (name == nullptr)
        return nullptr;
    return static_cast<CUIPtrArray*>(m_mOptionGroup.Find(name));
}

void CPaintManagerUI::LeaveOptionGroup(LPCWSTR name, CControlUI* control)
{
    if (name == nullptr)
        return;
    auto* group = static_cast<CUIPtrArray*>(m_mOptionGroup.Find(name));
    if (group == nullptr)
        return;
    RemoveFirst(*group, control);
    if (group->IsEmpty()) {
        delete group;
        m_mOptionGroup.Remove(name);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    DeleteOwnedArrays(m_mOptionGroup);
}

} // namespace ZvUI

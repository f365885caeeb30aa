#pragma once
// Event and notification records, control and search flags, and the one-method listener interfaces.

#include <windows.h>

#include "utils/UIString.h"

namespace ZvUI {

class CControlUI;

// Codes 0-2 and 7 are unassigned; 8 and 22 are never sent: they are the exclusive
// bounds by which containers recognise a mouse event (type > 8 and < 22).
enum UIEventType {
    EventKeyDown = 3,
    EventKeyUp = 4,
    EventChar = 5,
    EventSysKey = 6,
    EventMouseBegin = 8,
    EventMouseMove = 9,
    EventMouseLeave = 10,
    EventMouseEnter = 11,
    EventMouseHover = 12,
    EventButtonDown = 13,
    EventButtonUp = 14,
    EventRButtonDown = 15,
    EventRButtonUp = 16,
    EventMButtonDown = 17,
    EventMButtonUp = 18,
    EventDoubleClick = 19,
    EventContextMenu = 20,
    EventScrollWheel = 21,
    EventMouseEnd = 22,
    EventKillFocus = 23,
    EventSetFocus = 24,
    EventWindowSize = 25,
    EventSetCursor = 26,
    EventTimer = 27,
};

// The events that come from the mouse: the ones a mouse-disabled control passes to its parent.
constexpr bool IsMouseEvent(int type)
{
    return type > EventMouseBegin && type < EventMouseEnd;
}

// Key-state bits built from GetKeyState (bit 0x10 is never set).
constexpr WORD KeyStateLButton = 0x01;
constexpr WORD KeyStateRButton = 0x02;
constexpr WORD KeyStateShift = 0x04;
constexpr WORD KeyStateControl = 0x08;
constexpr WORD KeyStateAlt = 0x20;

// The record the manager builds for one control; zero-filled, then filled per event.
struct UIControlEvent {
    int type = 0;
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT mousePoint = {0, 0};
    wchar_t keyChar = 0;
    WORD keyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// An event of type for sender, stamped with the tick count.
inline UIControlEvent MakeEvent(int type, CControlUI* sender)
{
    UIControlEvent event;
    event.type = type;
    event.sender = sender;
    event.timestamp = ::GetTickCount();
    return event;
}

// Class-specific bits the manager reads from CControlUI::GetControlFlags.
constexpr UINT ControlFlagTabStop = 0x00000001;
constexpr UINT ControlFlagSetCursor = 0x00000002;

// Flags of CControlUI::FindControl.
constexpr UINT FindVisible = 0x00000001;
constexpr UINT FindEnabled = 0x00000002;
constexpr UINT FindHitTest = 0x00000004;
constexpr UINT FindUpdateTest = 0x00000008;
constexpr UINT FindTopFirst = 0x00000010;
constexpr UINT FindMeFirst = 0x80000000;

// Visitor of a control search: returns the control to stop at, or null to go on.
using FindControlProc = CControlUI* (*)(CControlUI* control, LPVOID data);

// One notification ("click", "selectchanged", "windowinit"...).
struct UINotifyMessage {
    CUIString type;
    // Filled only while the manager's fill flag is on; empty for queued notifications.
    CUIString virtualWnd;
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT mousePoint = {0, 0};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// One control timer of a manager.
struct UITimerInfo {
    CControlUI* control = nullptr;
    UINT callerId = 0;
    HWND window = nullptr;
    UINT windowTimerId = 0;
    // The system timer is stopped; the record stays so a restart reuses its id.
    bool killed = false;
    UINT elapse = 0;
};

// A timer that ran when its control left its manager; the control's next manager starts it.
struct UIParkedTimer {
    UINT callerId = 0;
    UINT elapse = 0;
};

class INotifyUI {
public:
    virtual void Notify(UINotifyMessage& msg) = 0;

protected:
    ~INotifyUI() = default;
};

class IMessageFilterUI {
public:
    // Setting handled ends the message with the returned result.
    virtual LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

class ITranslateAccelerator {
public:
    // 0 means the message was translated and is consumed.
    virtual LRESULT TranslateAccelerator(MSG* msg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

} // namespace ZvUI

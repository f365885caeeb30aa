// Shared helpers of the setup program's window tests: the skin, message pumping, real clicks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "manager/PaintManagerUI.h"

namespace apptest {

// Dispatches the thread's messages for about ms milliseconds.
void Pump(DWORD ms);
// Pumps until ready() holds or ms pass; the last value of ready().
bool PumpUntil(const std::function<bool()>& ready, DWORD ms);

// The paint manager of a window, or null.
ZvUI::CPaintManagerUI* ManagerOf(HWND window);
// Posts a left click at the centre of the named control; false when it has no place yet.
bool PostClick(ZvUI::CPaintManagerUI& pm, LPCWSTR control);

// Runs step on the UI thread every 30 ms while a modal loop (or Pump) dispatches, until it
// returns true; the box steps below are made for it.
class CTimerScript {
public:
    using Step = std::function<bool()>;
    explicit CTimerScript(Step step);
    ~CTimerScript();
    CTimerScript(const CTimerScript&) = delete;
    CTimerScript& operator=(const CTimerScript&) = delete;
    [[nodiscard]] bool IsDone() const { return m_done; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    Step m_step;
    UINT_PTR m_timer = 0;
    bool m_done = false;
};

// The window of that class open on this thread, or null.
HWND FindBox(LPCWSTR className);
// A step that clicks the named control of the open box of that class once the box is laid out.
CTimerScript::Step ClickInBox(LPCWSTR className, LPCWSTR control);
// The same for the program's message box.
HWND FindMsgBox();
CTimerScript::Step ClickInMsgBox(LPCWSTR control);

} // namespace apptest

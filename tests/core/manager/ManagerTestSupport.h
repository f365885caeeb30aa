#pragma once
// Real windows driven by a paint manager, small recording controls and a test container, and a
// message pump that offers every message to CPaintManagerUI::PreTranslate as the modal loop does.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"

namespace zvtest {

// One line per event or notification, in arrival order: "E <receiver> <type> <sender>" or
// "N <type> <sender>" ("-" stands for no control).
struct Record {
    std::wstring line;
    ZvUI::UIControlEvent event;
    ZvUI::UINotifyMessage notify;
};

class Log {
public:
    static Log& Get();
    void Clear() { m_records.clear(); }
    void Add(Record record) { m_records.push_back(std::move(record)); }
    const std::vector<Record>& Records() const { return m_records; }
    // The lines that start with prefix, in order.
    std::vector<std::wstring> Lines(const std::wstring& prefix = L"") const;
    // The records whose line starts with prefix.
    std::vector<Record> Find(const std::wstring& prefix) const;

private:
    std::vector<Record> m_records;
};

std::wstring NameOf(ZvUI::CControlUI* control);

// Records every event it receives, raises "click" on a button up inside itself as a button does.
class TestControl : public ZvUI::CControlUI {
public:
    explicit TestControl(LPCWSTR name, LPCWSTR className = L"TestUI", UINT flags = 0);
    ~TestControl() override;

    LPCWSTR GetClass() const override { return m_class.c_str(); }
    void Event(ZvUI::UIControlEvent& event) override;
    void DoEvent(ZvUI::UIControlEvent& event) override;
    bool Activate() override;
    // Logs "F <name>"; focuses through the manager unless focusable is false.
    void SetFocus() override;
    bool focusable = true;

    // Runs inside DoEvent, before the default handling.
    std::function<void(TestControl&, ZvUI::UIControlEvent&)> onEvent;
    // Set to true by the destructor.
    bool* destroyed = nullptr;

private:
    std::wstring m_class;
};

// Holds children at the positions the test gives them and searches them like a container:
// itself first with FindMeFirst, children last-to-first with FindTopFirst.
class TestContainer : public ZvUI::CControlUI {
public:
    explicit TestContainer(LPCWSTR name = L"root");
    ~TestContainer() override;

    LPCWSTR GetClass() const override { return L"TestContainerUI"; }
    // The container takes ownership of control.
    void Add(ZvUI::CControlUI* control);
    // The control goes to the manager's deletion queue (delayed destroy).
    void Remove(ZvUI::CControlUI* control);
    void SetManager(ZvUI::CPaintManagerUI* manager, ZvUI::CControlUI* parent, bool init = true) override;
    ZvUI::CControlUI* FindControl(ZvUI::FindControlProc proc, LPVOID data, UINT flags) override;
    void Event(ZvUI::UIControlEvent& event) override;
    int GetCount() const { return static_cast<int>(m_items.size()); }

private:
    std::vector<ZvUI::CControlUI*> m_items;
};

// Logs every notification as "N <type> <sender>".
class NotifyRecorder : public ZvUI::INotifyUI {
public:
    void Notify(ZvUI::UINotifyMessage& msg) override;
};

// A visible popup window (client area = window area, no frame) whose procedure hands every
// message to its manager first.
class TestWindow {
public:
    explicit TestWindow(int x = 100, int y = 100, int width = 400, int height = 300, DWORD style = WS_POPUP,
                        HWND parent = nullptr, LPCWSTR name = nullptr);
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow();

    HWND hwnd() const { return m_hwnd; }
    ZvUI::CPaintManagerUI& manager() { return m_manager; }
    // Client point to screen, packed as a mouse-message LPARAM.
    LPARAM ScreenLParam(int x, int y) const;
    // Runs before the manager; return true to answer with result.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> hook;
    // Runs when the manager left the message unhandled; return true to answer with result
    // instead of the default processing.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> after;
    // Messages that reached the window procedure (after the hook).
    std::vector<UINT> seen;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    ZvUI::CPaintManagerUI m_manager;
    HWND m_hwnd = nullptr;
    bool m_pooled = false;
    DWORD m_style = 0;
};

// A root with the given children already placed, handed to the manager and laid out by one
// synchronous paint.
TestContainer* InstallRoot(TestWindow& window, std::vector<std::pair<ZvUI::CControlUI*, RECT>> children);

// Dispatches queued messages (PreTranslate first) for ms milliseconds.
void Pump(DWORD ms = 50);
// Pumps until done() holds or timeout passes; the result is done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeout = 3000);

// Puts the real cursor on the client point, then posts WM_MOUSEMOVE there, so that the
// system's own mouse tracking agrees with the posted position.
void MoveMouse(TestWindow& window, int x, int y, WPARAM keys = 0);
// Puts the real cursor on the client point and drops the move the system makes of it.
void WarpCursor(TestWindow& window, int x, int y);

// Sets or clears the Shift, Control and Alt bits of this thread's key state.
void SetModifiers(bool shift, bool control = false, bool alt = false);

} // namespace zvtest

#pragma once
// Test helpers: a skinned window built from layout text, a message pump, the test control's record.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AxTestServer.h"
#include "window/WindowImplBase.h"

// A top-level skinned window whose layout is given as text; records the notifications it gets.
class HostWindow : public ZvUI::WindowImplBase {
public:
    explicit HostWindow(std::wstring skin) : m_skin(std::move(skin)) {}
    LPCWSTR GetWindowClassName() const override { return L"ZvHostedControlsTest"; }
    ZvUI::CUIString GetSkinFile() override { return m_skin.c_str(); }
    void Notify(ZvUI::UINotifyMessage& msg) override
    {
        notifications.push_back(msg.type.GetData());
        WindowImplBase::Notify(msg);
    }
    // Creates the window shown at (0, 0) and lets the first layout run.
    bool Open(int cx = 400, int cy = 300);
    template <class T>
    T* Find(LPCWSTR name)
    {
        return static_cast<T*>(GetPaintManager().FindControl(name));
    }
    int Count(LPCWSTR type) const;

    std::vector<std::wstring> notifications;

private:
    std::wstring m_skin;
};

// Runs posted and sent messages for up to ms milliseconds, or until done answers true.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);
void Pump(DWORD ms = 50);

// The test control's process-wide record, from the server beside the test program.
AxTestStats* TestStats();
void ReleaseHeldSite();
// Makes the media-like object's late call on the frame it kept, then lets the frame go.
void CallHeldFrame();
// The browser-like object's document calls the UI handler it holds; false when it holds none.
bool CallDocumentHandler();
// Clears the record between tests (the live-object count is checked, not reset).
void ResetTestStats();
// Brace form of a class id for layout attributes.
std::wstring ClsidText(const CLSID& clsid);
// Full path of a file beside the test program.
std::wstring BesideProgram(LPCWSTR name);
// Destroys the window, then the control tree (the window base leaves the tree to its owner),
// then the window object with its manager.
void CloseHost(std::unique_ptr<HostWindow>& wnd);

// Test helpers: a skinned window built from layout text, a message pump, the test control's record.
#include "HostTestSupport.h"

#include <ocidl.h>

#include <algorithm>

#include "control/ControlUI.h"

bool HostWindow::Open(int cx, int cy)
{
    if (Create(nullptr, L"hosted", WS_POPUP | WS_VISIBLE, 0, 0, 0, cx, cy) == nullptr)
        return false;
    ::UpdateWindow(*this);
    Pump(50);
    return true;
}

int HostWindow::Count(LPCWSTR type) const
{
    return static_cast<int>(std::count(notifications.begin(), notifications.end(), type));
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done && done())
            return true;
        if (::GetTickCount() - start >= ms)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Pump(DWORD ms)
{
    PumpUntil(nullptr, ms);
}

std::wstring BesideProgram(LPCWSTR name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

namespace {

HMODULE Server()
{
    static HMODULE module = ::LoadLibraryW(BesideProgram(L"AxTestServer.dll").c_str());
    return module;
}

} // namespace

AxTestStats* TestStats()
{
    auto fn = reinterpret_cast<AxTestStatsFn>(
        reinterpret_cast<void*>(::GetProcAddress(Server(), "AxTestGetStats")));
    return fn != nullptr ? fn() : nullptr;
}

void ReleaseHeldSite()
{
    auto fn = reinterpret_cast<AxTestReleaseHeldSiteFn>(
        reinterpret_cast<void*>(::GetProcAddress(Server(), "AxTestReleaseHeldSite")));
    if (fn != nullptr)
        fn();
}

void CallHeldFrame()
{
    auto fn = reinterpret_cast<AxTestCallHeldFrameFn>(
        reinterpret_cast<void*>(::GetProcAddress(Server(), "AxTestCallHeldFrame")));
    if (fn != nullptr)
        fn();
}

bool CallDocumentHandler()
{
    auto fn = reinterpret_cast<AxTestCallDocumentHandlerFn>(
        reinterpret_cast<void*>(::GetProcAddress(Server(), "AxTestCallDocumentHandler")));
    return fn != nullptr && fn();
}

void ResetTestStats()
{
    AxTestStats* stats = TestStats();
    const LONG live = stats->liveObjects;
    *stats = AxTestStats{};
    stats->liveObjects = live;
    stats->hitAnswer = HITRESULT_HIT;
}

std::wstring ClsidText(const CLSID& clsid)
{
    wchar_t text[64] = {};
    ::StringFromGUID2(clsid, text, 64);
    return text;
}

void CloseHost(std::unique_ptr<HostWindow>& wnd)
{
    if (wnd == nullptr)
        return;
    // ZV_HOLD_MS keeps the window up for a screenshot.
    wchar_t hold[16] = {};
    if (::GetEnvironmentVariableW(L"ZV_HOLD_MS", hold, 16) > 0)
        Pump(static_cast<DWORD>(_wtoi(hold)));
    if (::IsWindow(*wnd))
        ::DestroyWindow(*wnd);
    // The manager deletes the tree, and with it the hosted objects, when the window object goes.
    wnd.reset();
}

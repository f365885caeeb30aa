#include "AppTestSupport.h"

#include "SkinPackage.h"
#include "WndShadow.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <gdiplus.h>

#include <cwchar>
#include <map>
#include <string>

#include "control/ControlUI.h"
#include "utils/UIArray.h"

using namespace ZvUI;

namespace apptest {

namespace {

// The process set up as the program's start-up does it: COM, GDI+, the skin from the resources.
class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_gdiplus, &input, nullptr);
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        CPaintManagerUI::SetInstance(instance);
        CPaintManagerUI::SetGlobalDpi(96);
        ASSERT_TRUE(LoadSkinPackage());
        CWndShadow::Initialize(instance);
    }
    void TearDown() override
    {
        Gdiplus::GdiplusShutdown(m_gdiplus);
        ::CoUninitialize();
    }

private:
    ULONG_PTR m_gdiplus = 0;
};

// Without a window manager, Wine waits two seconds for every managed window that is hidden or
// destroyed. Under Wine this binary therefore marks itself unmanaged in its own AppDefaults key
// and, when the key was not there at its start, runs its tests in a child that reads it.
bool IsWine()
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring AppDefaultsKey()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = wcsrchr(path, L'\\');
    return std::wstring(L"Software\\Wine\\AppDefaults\\") + (name ? name + 1 : path) + L"\\X11 Driver";
}

// True when the setting was missing and had to be written now.
bool MarkUnmanaged()
{
    const std::wstring key = AppDefaultsKey();
    wchar_t value[8] = {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"Managed", RRF_RT_REG_SZ, nullptr, value, &size) ==
            ERROR_SUCCESS &&
        wcscmp(value, L"N") == 0)
        return false;
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const bool written =
        ::RegSetValueExW(handle, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t)) ==
        ERROR_SUCCESS;
    ::RegCloseKey(handle);
    return written;
}

int RunInChild()
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    std::wstring commandLine = ::GetCommandLineW();
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
        return 1;
    ::WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(child.hProcess, &code);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    return static_cast<int>(code);
}

std::map<UINT_PTR, CTimerScript*>& Scripts()
{
    static std::map<UINT_PTR, CTimerScript*> scripts;
    return scripts;
}

} // namespace

void Pump(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& ready, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ready())
            return true;
        if (::GetTickCount() - start >= ms)
            return ready();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

CPaintManagerUI* ManagerOf(HWND window)
{
    CUIPtrArray* managers = CPaintManagerUI::GetAllManagers();
    for (int i = 0; managers != nullptr && i < managers->GetSize(); ++i) {
        auto* pm = static_cast<CPaintManagerUI*>(managers->GetAt(i));
        if (pm != nullptr && pm->GetWindowHandle() == window)
            return pm;
    }
    return nullptr;
}

bool PostClick(CPaintManagerUI& pm, LPCWSTR name)
{
    CControlUI* control = pm.FindControl(name);
    if (control == nullptr || !control->IsVisible())
        return false;
    const RECT rc = control->GetPos();
    if (::IsRectEmpty(&rc))
        return false;
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    const HWND window = pm.GetWindowHandle();
    ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
    return true;
}

CTimerScript::CTimerScript(Step step) : m_step(std::move(step))
{
    m_timer = ::SetTimer(nullptr, 0, 30, Tick);
    Scripts()[m_timer] = this;
}

CTimerScript::~CTimerScript()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    Scripts().erase(m_timer);
}

void CALLBACK CTimerScript::Tick(HWND, UINT, UINT_PTR id, DWORD)
{
    auto found = Scripts().find(id);
    if (found == Scripts().end() || found->second->m_done)
        return;
    CTimerScript* script = found->second;
    if (script->m_step()) {
        script->m_done = true;
        ::KillTimer(nullptr, script->m_timer);
    }
}

HWND FindBox(LPCWSTR className)
{
    HWND box = ::FindWindowW(className, nullptr);
    return box != nullptr && ::GetWindowThreadProcessId(box, nullptr) == ::GetCurrentThreadId() ? box : nullptr;
}

CTimerScript::Step ClickInBox(LPCWSTR className, LPCWSTR control)
{
    const std::wstring boxClass = className;
    const std::wstring name = control;
    return [boxClass, name] {
        const HWND box = FindBox(boxClass.c_str());
        CPaintManagerUI* pm = box != nullptr ? ManagerOf(box) : nullptr;
        return pm != nullptr && PostClick(*pm, name.c_str());
    };
}

HWND FindMsgBox()
{
    return FindBox(L"zvmsgbox");
}

CTimerScript::Step ClickInMsgBox(LPCWSTR control)
{
    return ClickInBox(L"zvmsgbox", control);
}

} // namespace apptest

int main(int argc, char** argv)
{
    if (apptest::IsWine() && apptest::MarkUnmanaged())
        return apptest::RunInChild();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new apptest::ProgramEnvironment);
    return RUN_ALL_TESTS();
}

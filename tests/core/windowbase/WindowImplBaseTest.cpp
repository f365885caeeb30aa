// Window base on real windows: hit testing, min/max info, region, caption buttons, skin failure.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>

#include "../../support/AccessViolationWatch.h"
#include "control/ControlUI.h"
#include "window/WindowImplBase.h"

using namespace ZvUI;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,200\" caption=\"0,0,0,50\" sizebox=\"4,4,4,4\" roundcorner=\"6,6\">"
    L"<VerticalLayout name=\"root\">"
    L"<HorizontalLayout height=\"50\"><Label name=\"title\" width=\"100\"/>"
    L"<Button name=\"maxbtn\" width=\"40\"/><Button name=\"restorebtn\" width=\"40\" visible=\"false\"/>"
    L"<Button name=\"closebtn\" width=\"40\"/></HorizontalLayout>"
    L"<Label name=\"body\"/></VerticalLayout></Window>";

class TestWindow : public WindowImplBase {
public:
    explicit TestWindow(LPCWSTR skin) : m_skin(skin) {}
    LPCWSTR GetWindowClassName() const override { return L"ZvWindowBaseTest"; }
    CUIString GetSkinFile() override { return m_skin; }
    void InitWindow() override { ++inits; }
    LRESULT OnDefaultKey(WPARAM key) override
    {
        keys += static_cast<wchar_t>(key);
        return WindowImplBase::OnDefaultKey(key);
    }
    int inits = 0;
    std::wstring keys;

private:
    CUIString m_skin;
};

void Pump()
{
    MSG msg;
    for (int i = 0; i < 200 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class WindowBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_wnd.Create(nullptr, L"base", WS_POPUP | WS_VISIBLE, 0, 100, 100, 300, 200), nullptr);
        ::UpdateWindow(m_wnd);
        Pump();
    }
    void TearDown() override
    {
        if (::IsWindow(m_wnd))
            ::DestroyWindow(m_wnd);
    }
    LRESULT HitAt(int x, int y)
    {
        RECT rc;
        ::GetWindowRect(m_wnd, &rc);
        return m_wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.left + x, rc.top + y));
    }
    TestWindow m_wnd{kSkin};
};

TEST_F(WindowBase, BuildsTheSkinAndCallsInitWindowOnce)
{
    EXPECT_EQ(m_wnd.inits, 1);
    ASSERT_NE(m_wnd.GetPaintManager().FindControl(L"title"), nullptr);
    EXPECT_EQ(::GetWindowLongW(m_wnd, GWL_STYLE) & WS_CAPTION, 0);
}

TEST(WindowBaseLifetime, ClosedWindowsTreeIsDeletedWithTheObject)
{
    static int destroyed = 0;
    destroyed = 0;
    {
        TestWindow wnd{kSkin};
        ASSERT_NE(wnd.Create(nullptr, L"base", WS_POPUP, 0, 100, 100, 300, 200), nullptr);
        CControlUI* body = wnd.GetPaintManager().FindControl(L"body");
        ASSERT_NE(body, nullptr);
        body->DestroyHandlers.Add([](void*) {
            ++destroyed;
            return true;
        });
        ::DestroyWindow(wnd);
        EXPECT_EQ(destroyed, 0) << "the tree outlives the window until its object goes";
    }
    EXPECT_EQ(destroyed, 1);
}

// Owns itself and ends its own window from a click handler, as a close answered in place does;
// the manager goes on with that click after the handler.
class SelfEndingWindow : public TestWindow {
public:
    static constexpr int kMarker = 0x2B1D;

    SelfEndingWindow() : TestWindow(kSkin) {}
    ~SelfEndingWindow() override { ++freed; }
    void OnCaptionButton(UINotifyMessage&) override
    {
        ::DestroyWindow(m_hWnd);
        markerAfterEnd = m_marker;
    }
    void OnFinalMessage(HWND window) override
    {
        WindowImplBase::OnFinalMessage(window);
        DeleteWhenUnwound(this);
    }

    static int freed;
    static int markerAfterEnd;

private:
    int m_marker = kMarker;
};

int SelfEndingWindow::freed = 0;
int SelfEndingWindow::markerAfterEnd = 0;

TEST(WindowBaseLifetime, AWindowEndedByItsOwnClickIsFreedOnceTheClickIsHandled)
{
    AccessViolationWatch violations;
    auto* wnd = new SelfEndingWindow();
    HWND window = wnd->Create(nullptr, L"base", WS_POPUP | WS_VISIBLE, 0, 100, 100, 300, 200);
    ASSERT_NE(window, nullptr);
    Pump();
    const RECT button = wnd->GetPaintManager().FindControl(L"closebtn")->GetPos();
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(SelfEndingWindow::freed, 1);
    EXPECT_EQ(SelfEndingWindow::markerAfterEnd, SelfEndingWindow::kMarker) << "read from freed memory";
    EXPECT_EQ(violations.Count(), 0);
}

TEST_F(WindowBase, HitTestingOfSizeBoxAndCaption)
{
    struct Case {
        int x, y;
        LRESULT hit;
    };
    const Case cases[] = {
        {2, 2, HTTOPLEFT},     {299, 199, HTBOTTOMRIGHT}, {150, 1, HTTOP},    {298, 2, HTTOPRIGHT},
        {1, 100, HTLEFT},      {299, 100, HTRIGHT},       {150, 199, HTBOTTOM}, {1, 198, HTBOTTOMLEFT},
        {50, 30, HTCAPTION},   {120, 30, HTCLIENT},       {50, 60, HTCLIENT},
        {50, 4, HTCAPTION},    {296, 100, HTCLIENT}};
    for (const Case& c : cases)
        EXPECT_EQ(HitAt(c.x, c.y), c.hit) << c.x << "," << c.y;
}

TEST_F(WindowBase, MinMaxInfoFollowsTheWorkArea)
{
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    MINMAXINFO info = {};
    m_wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxPosition.x, work.left);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top);
    EXPECT_EQ(info.ptMaxTrackSize.x, work.right - work.left);
    EXPECT_EQ(info.ptMinTrackSize.x, 0);
}

TEST_F(WindowBase, SizeSetsARoundedRegion)
{
    ::SetWindowPos(m_wnd, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(m_wnd, rgn), ERROR);
    // The corner pixel lies outside a rounded rectangle, the centre inside.
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(rgn, 160, 110));
    ::DeleteObject(rgn);
}

TEST_F(WindowBase, MaximiseAndRestoreSwapTheCaptionButtons)
{
    CPaintManagerUI& pm = m_wnd.GetPaintManager();
    m_wnd.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(::IsZoomed(m_wnd));
    EXPECT_FALSE(pm.FindControl(L"maxbtn")->IsVisible());
    EXPECT_TRUE(pm.FindControl(L"restorebtn")->IsVisible());
    m_wnd.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsZoomed(m_wnd));
    EXPECT_TRUE(pm.FindControl(L"maxbtn")->IsVisible());
    EXPECT_FALSE(pm.FindControl(L"restorebtn")->IsVisible());
}

TEST_F(WindowBase, CloseButtonEndsRunModalWithOk)
{
    CPaintManagerUI& pm = m_wnd.GetPaintManager();
    pm.RaiseNotify(pm.FindControl(L"closebtn"), L"click");
    EXPECT_EQ(m_wnd.RunModal(), static_cast<UINT>(IDOK));
    EXPECT_FALSE(::IsWindow(m_wnd));
}

TEST_F(WindowBase, SystemCloseBecomesASentClose)
{
    m_wnd.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(m_wnd));
}

TEST_F(WindowBase, ReturnAndEscapeReachTheDefaultKeyOnly)
{
    const WPARAM keys[] = {VK_RETURN, 'A', VK_ESCAPE};
    for (WPARAM key : keys)
        ::PostMessageW(m_wnd, WM_KEYDOWN, key, 0);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!CPaintManagerUI::PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    EXPECT_EQ(m_wnd.keys, std::wstring() + wchar_t(VK_RETURN) + wchar_t(VK_ESCAPE));
    EXPECT_TRUE(::IsWindow(m_wnd));
}

// --- a skin that cannot be loaded ---

struct BoxSearch {
    HWND box = nullptr;
};

BOOL CALLBACK HasText(HWND child, LPARAM param)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(child, text, 256);
    if (wcsstr(text, L"加载资源文件失败：missing-skin.xml") != nullptr)
        *reinterpret_cast<bool*>(param) = true;
    return TRUE;
}

TEST(WindowBaseFailure, MissingSkinShowsTheBoxAndExitsWithOne)
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = std::wstring(L"\"") + self + L"\" --zv-missing-skin";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND box = nullptr;
    for (int i = 0; i < 300 && box == nullptr; ++i) {
        box = ::FindWindowW(nullptr, L"ZvUI");
        if (box == nullptr)
            ::Sleep(50);
    }
    ASSERT_NE(box, nullptr);
    bool found = false;
    ::EnumChildWindows(box, HasText, reinterpret_cast<LPARAM>(&found));
    EXPECT_TRUE(found);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 1u);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

// The child side: runs before gtest's main and never returns when the flag is given.
const bool g_childRun = [] {
    if (wcsstr(::GetCommandLineW(), L"--zv-missing-skin") == nullptr)
        return false;
    TestWindow wnd(L"missing-skin.xml");
    wnd.Create(nullptr, L"fail", WS_POPUP, 0, 0, 0, 100, 100);
    ::ExitProcess(7);  // not reached when the window base ends the process
    return true;
}();

} // namespace

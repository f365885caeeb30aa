// Applying a DPI to a manager: the window keeps its corner and scales its size, fonts are rebuilt
// at the new scale, images and draw infos are dropped; and a process started at 144 DPI sees it.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "ManagedWindow.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIResources.h"
#include "render/UIImageInfo.h"
#include "control/ControlUI.h"

using namespace ZvUI;

namespace {

SIZE WindowSize(HWND hwnd)
{
    RECT rc = {};
    ::GetWindowRect(hwnd, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

int FontHeight(HFONT font)
{
    LOGFONTW lf = {};
    ::GetObjectW(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

} // namespace

TEST(ApplyDpi, ResizesFromTheTopLeftAndRebuildsFonts)
{
    CPaintManagerUI::SetGlobalDpi(96);
    CPaintManagerUI manager;
    ManagedWindow window(manager, 700, 420);
    RECT before = {};
    ::GetWindowRect(window.Get(), &before);
    HFONT font = manager.AddFont(1, L"Tahoma", 12, false, false, false);
    ASSERT_NE(font, nullptr);
    ASSERT_NE(manager.GetCachedDrawInfo(L"x.png"), nullptr);

    manager.ApplyDpi(144);
    RECT after = {};
    ::GetWindowRect(window.Get(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, 1050);
    EXPECT_EQ(after.bottom - after.top, 630);
    EXPECT_EQ(manager.GetDpiHelper()->GetScale(), 150);
    EXPECT_EQ(FontHeight(manager.GetFont(1)), -18);
    UIFontInfo* info = manager.GetFontInfo(1);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->size, 12) << "the record keeps the skin's size";
    EXPECT_NE(info->metrics.tmHeight, 0) << "measured again on the window's DC";

    // Back to 100 %: 1050 * 100 / 150.
    manager.ApplyDpi(96);
    const SIZE back = WindowSize(window.Get());
    EXPECT_EQ(back.cx, 700);
    EXPECT_EQ(back.cy, 420);
    EXPECT_EQ(FontHeight(manager.GetFont(1)), -12);

    // The notice WM_USER+2 was posted to the window.
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, window.Get(), WM_USER + 2, WM_USER + 2, PM_REMOVE));
}

TEST(ApplyDpi, ToAllManagersAndWithoutAWindow)
{
    CPaintManagerUI loose;
    loose.ApplyDpi(120);
    EXPECT_EQ(loose.GetDpiHelper()->GetScale(), 125);
    CPaintManagerUI other;
    ManagedWindow window(other, 200, 100);
    CPaintManagerUI::ApplyDpiToAll(192);
    EXPECT_EQ(other.GetDpiHelper()->GetScale(), 200);
    EXPECT_EQ(WindowSize(window.Get()).cx, 400);
    other.ApplyDpi(96);
}

TEST(ApplyDpi, SkinImagesSurviveAnUnchangedScale)
{
    CPaintManagerUI::SetGlobalDpi(96);
    CPaintManagerUI manager;
    ManagedWindow window(manager, 200, 100);
    const CUIString file = CUIString(ZV_IMAGE_DIR) + L"\\btn.png";
    ASSERT_NE(manager.AddImage(file, nullptr, 0xFFFF00FF, false, false), nullptr);
    // A new root applies the process DPI again: the image and its mask stay.
    manager.SetRootControl(new CControlUI());
    ASSERT_NE(manager.FindImage(file), nullptr);
    EXPECT_EQ(manager.FindImage(file)->mask, 0xFFFF00FFu);
    manager.ApplyDpi(96);
    EXPECT_NE(manager.FindImage(file), nullptr);
    // A real change drops it, to be loaded again at the new scale.
    manager.ApplyDpi(144);
    EXPECT_EQ(manager.FindImage(file), nullptr);
    manager.ApplyDpi(96);
}

TEST(ScaleRectByFactor, OriginAndExtentTruncate)
{
    const RECT rc = CPaintManagerUI::ScaleRectByFactor(RECT{1, 3, 4, 10}, 1.5);
    EXPECT_EQ(rc.left, 1);
    EXPECT_EQ(rc.top, 4);
    EXPECT_EQ(rc.right, 5);   // 1 + trunc(4.5)
    EXPECT_EQ(rc.bottom, 14); // 4 + trunc(10.5)
}

TEST(DpiHelperAwareness, UnawareScalesNothing)
{
    CDpiHelper dpi;
    dpi.SetScale(144);
    // Wine has no Shcore awareness switch for a started process, or refuses it: either way the
    // level asked for is the one that counts.
    dpi.SetAwareness(CDpiHelper::kUnaware);
    if (dpi.GetAwareness() != CDpiHelper::kUnaware)
        GTEST_SKIP() << "awareness cannot be lowered here";
    EXPECT_EQ(dpi.Scale(10), 10);
    EXPECT_EQ(dpi.GetDpi(), 96);
    EXPECT_EQ(dpi.GetScale(), 100);
}

// Runs in a child process started after LogPixels was set to 144.
TEST(ScreenDpi, ChildSeesTheScreenDpiAndScalesAWindow)
{
    if (std::getenv("ZV_DPI_CHILD") == nullptr)
        GTEST_SKIP() << "runs in the child process only";
    const int dpi = CDpiHelper::GetMainMonitorDpi();
    ASSERT_EQ(dpi, 144);
    CPaintManagerUI manager;
    ManagedWindow window(manager, 700, 420);
    CPaintManagerUI::SetGlobalDpi(dpi);
    EXPECT_EQ(CPaintManagerUI::GetImageScaleFactor(), 1.5);
    CPaintManagerUI::ApplyDpiToAll(CPaintManagerUI::GetGlobalDpi());
    const SIZE size = WindowSize(window.Get());
    EXPECT_EQ(size.cx, 1050);
    EXPECT_EQ(size.cy, 630);
    EXPECT_EQ(manager.GetDpiHelper()->Scale(50), 75);
}

TEST(ScreenDpi, ProcessStartedAt144Dpi)
{
    if (std::getenv("ZV_DPI_CHILD") != nullptr)
        GTEST_SKIP();
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD old = 96;
    DWORD size = sizeof(old);
    const bool hadOld = ::RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old),
                                           &size) == ERROR_SUCCESS;
    DWORD value = 144;
    ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));

    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=ScreenDpi.ChildSeesTheScreenDpiAndScalesAWindow";
    ::SetEnvironmentVariableW(L"ZV_DPI_CHILD", L"1");
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL started = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableW(L"ZV_DPI_CHILD", nullptr);
    DWORD code = 1;
    if (started) {
        ::WaitForSingleObject(pi.hProcess, 60000);
        ::GetExitCodeProcess(pi.hProcess, &code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    if (hadOld)
        ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof(old));
    else
        ::RegDeleteValueW(key, L"LogPixels");
    ::RegCloseKey(key);
    ASSERT_TRUE(started);
    EXPECT_EQ(code, 0u);
}

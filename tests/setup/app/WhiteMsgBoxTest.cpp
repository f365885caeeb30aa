// The white message box from its own skin archive, driven by real clicks while it runs, and the
// finish page's shortcut writer.
#include "AppTestSupport.h"
#include "InstallOptions.h"
#include "SkinPackage.h"
#include "TestFolder.h"
#include "ZVInstallPages.h"
#include "ZVWhiteMsgBox.h"
#include "util/FontMonitor.h"
#include "util/ZVReg.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "control/ControlUI.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;
using apptest::CTimerScript;

namespace {

HWND FindWhiteBox()
{
    return apptest::FindBox(L"zvwhitemsgbox");
}

CTimerScript::Step ClickInWhiteBox(LPCWSTR control)
{
    return apptest::ClickInBox(L"zvwhitemsgbox", control);
}

bool IsShown(CPaintManagerUI& pm, LPCWSTR name)
{
    CControlUI* control = pm.FindControl(name);
    return control != nullptr && control->IsVisible();
}

// The white box's skin is its own archive (resource 112 of this binary, the alternative skin
// source); the program's skin comes back afterwards.
class WhiteMsgBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetResourceArchive(L"", false); // lets another memory archive in
        ASSERT_TRUE(ZVCore::LoadSkinResource());
    }
    void TearDown() override
    {
        CPaintManagerUI::SetResourceArchive(L"", false);
        ASSERT_TRUE(LoadSkinPackage());
    }

    static int Show(HWND parent, LPCWSTR ok, LPCWSTR cancel, bool closeButton, CTimerScript::Step step)
    {
        CTimerScript script(std::move(step));
        return ShowZVWhiteMsgBox(parent, kZvWindowCaption, L"提示", L"白色提示框的内容", ok, cancel, nullptr,
                                 kZvWindowStyle, kZvWindowExStyle, closeButton, 7);
    }
};

} // namespace

TEST_F(WhiteMsgBox, EachButtonEndsTheBoxWithItsResult)
{
    struct Case {
        LPCWSTR control;
        int result;
    };
    for (const Case& c : {Case{L"okBtn", 1}, Case{L"cancelBtn", 2}, Case{L"closebtn", 0}})
        EXPECT_EQ(Show(nullptr, L"确定", L"取消", true, ClickInWhiteBox(c.control)), c.result) << c.control;
    EXPECT_EQ(FindWhiteBox(), nullptr);

    // The close button hidden: the two captions still give 1 and 2.
    EXPECT_EQ(Show(nullptr, L"好", L"不", false, ClickInWhiteBox(L"cancelBtn")), 2);
    EXPECT_EQ(Show(nullptr, L"好", L"不", false, ClickInWhiteBox(L"okBtn")), 1);
}

TEST_F(WhiteMsgBox, ContentSitsInsideItsShadowFrame)
{
    bool okShown = true, cancelShown = true, closeShown = false;
    RECT content = {}, client = {}, caption = {};
    const RECT kInside = {16, 16, 416, 216};
    SIZE initial = {};
    const int result = Show(nullptr, L"", L"", true, [&] {
        const HWND box = FindWhiteBox();
        CPaintManagerUI* pm = box ? apptest::ManagerOf(box) : nullptr;
        if (pm == nullptr || pm->GetContentRoot() == nullptr)
            return false;
        const RECT laidOut = pm->GetContentRoot()->GetPos();
        if (::IsRectEmpty(&laidOut))
            return false;
        okShown = IsShown(*pm, L"okBtn");
        cancelShown = IsShown(*pm, L"cancelBtn");
        closeShown = IsShown(*pm, L"closebtn");
        content = pm->FindControl(L"zv_center_ver")->GetPos();
        ::GetClientRect(box, &client);
        caption = pm->GetCaptionRect();
        initial = pm->GetInitialSize();
        return apptest::PostClick(*pm, L"closebtn");
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(okShown);
    EXPECT_FALSE(cancelShown);
    EXPECT_TRUE(closeShown);
    // The skin's 400 x 200 content, 16 pixels in on every side of a 432 x 232 window.
    EXPECT_EQ(initial.cx, 432);
    EXPECT_EQ(client.bottom, 232);
    EXPECT_TRUE(::EqualRect(&content, &kInside));
    EXPECT_EQ(caption.bottom, 40 + 16);
}

TEST_F(WhiteMsgBox, FitTimerSpreadsTheBoxOverItsOwnerAndCentresTheContent)
{
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 50, 60, 800, 500, nullptr,
                                         nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    RECT boxRect = {};
    RECT padding = {};
    bool sent = false;
    const int result = Show(owner, L"确定", L"取消", true, [&] {
        const HWND box = FindWhiteBox();
        CPaintManagerUI* pm = box ? apptest::ManagerOf(box) : nullptr;
        if (pm == nullptr)
            return false;
        if (!sent) {
            ::SendMessageW(box, WM_TIMER, CZVWhiteMsgBox::kFitOwnerTimer, 0);
            sent = true;
            return false;
        }
        ::GetWindowRect(box, &boxRect);
        padding = pm->FindControl(L"zv_center_ver")->GetPadding();
        return apptest::PostClick(*pm, L"okBtn");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(boxRect.left, 50);
    EXPECT_EQ(boxRect.top, 60);
    EXPECT_EQ(boxRect.right, 850);
    EXPECT_EQ(boxRect.bottom, 560);
    EXPECT_EQ(padding.left, (800 - 400) / 2);
    EXPECT_EQ(padding.top, (500 - 200) / 2);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

// --- the finish page's shortcut writer ---

TEST(FinishPage, WriteShortcutsMakesTheUninstallEntryAndStartMenuLinks)
{
    CInstallOptions& options = CInstallOptions::Instance();
    const std::wstring before = options.GetInstallFolder();
    CTestFolder folder(L"shortcuts");
    options.SetInstallFolder(folder.Path());
    const std::wstring product = folder.Path() + L"\\Velmora";

    CPaintManagerUI pm;
    CZVInstallPage3 page(pm);
    EXPECT_TRUE(page.WriteShortcuts());
    options.SetInstallFolder(before);

    wchar_t programs[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE));
    const std::wstring menu = std::wstring(programs) + L"\\Tessaly";
    EXPECT_NE(::GetFileAttributesW((menu + L"\\Tessaly.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW((menu + L"\\卸载Tessaly.lnk").c_str()), INVALID_FILE_ATTRIBUTES);

    wchar_t location[MAX_PATH] = {};
    DWORD size = sizeof(location);
    const std::wstring entry = ZVCore::GetUninstallEntryPath();
    EXPECT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, entry.c_str(), L"InstallLocation",
                             RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, nullptr, location, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(location), product);

    ::DeleteFileW((menu + L"\\Tessaly.lnk").c_str());
    ::DeleteFileW((menu + L"\\卸载Tessaly.lnk").c_str());
    ::RemoveDirectoryW(menu.c_str());
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, entry.c_str(), KEY_WOW64_32KEY, 0);
}

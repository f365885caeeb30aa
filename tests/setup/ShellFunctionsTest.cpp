#include "ShellFunctions.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <thread>

namespace {

struct ItemList {
    PIDLIST_ABSOLUTE items = nullptr;
    ~ItemList() { CoTaskMemFree(items); }
};

struct ComScope {
    HRESULT result = CoInitialize(nullptr);
    ~ComScope() { if (SUCCEEDED(result)) CoUninitialize(); }
};

// Presses a button of the first dialog that appears on thread, from another thread, after the
// dialog has had time to open at its start folder. Gives up after ten seconds.
class CDialogPresser {
public:
    CDialogPresser(DWORD thread, int button)
        : m_worker([this, thread, button] { Press(thread, button); })
    {
    }
    ~CDialogPresser() { m_worker.join(); }
    [[nodiscard]] bool Pressed() const { return m_pressed; }

private:
    static BOOL CALLBACK FindDialog(HWND window, LPARAM found)
    {
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (IsWindowVisible(window) && std::wstring(className) == L"#32770") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    void Press(DWORD thread, int button)
    {
        for (int i = 0; i < 200; ++i) {
            HWND dialog = nullptr;
            EnumThreadWindows(thread, &CDialogPresser::FindDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog) {
                Sleep(500);
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                m_pressed = true;
                return;
            }
            Sleep(50);
        }
    }

    std::atomic<bool> m_pressed{false};
    std::thread m_worker;
};

} // namespace

TEST(ShellFunctions, ProgramFolderIsTheModuleFolderWithoutSeparator)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring path = module;
    EXPECT_EQ(GetProgramFolder(), path.substr(0, path.find_last_of(L'\\')));
    EXPECT_NE(GetProgramFolder().back(), L'\\');
}

TEST(ShellFunctions, DefaultInstallFolderIsUnderProgramFiles)
{
    const std::wstring programFiles = GetSpecialFolder(CSIDL_PROGRAM_FILES);
    ASSERT_FALSE(programFiles.empty());
    EXPECT_EQ(GetDefaultInstallFolder(), programFiles + L"\\Velmora");
    EXPECT_EQ(GetSpecialFolder(-12345), L"");
}

TEST(ShellFunctions, ScreenDpiIsTheMeanOfBothAxes)
{
    HDC screen = GetDC(nullptr);
    const int x = GetDeviceCaps(screen, LOGPIXELSX);
    const int y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetScreenDpi(), (x + y) / 2);
}

TEST(ShellFunctions, MakeDirectoryPathCreatesEachMissingLevel)
{
    CTestFolder root(L"mkpath");
    EXPECT_TRUE(MakeDirectoryPath(root.Sub(L"one\\two")));
    EXPECT_TRUE(FolderExists(root.Sub(L"one")));
    EXPECT_TRUE(FolderExists(root.Sub(L"one\\two")));
    // Mixed separators and a trailing one; the existing levels are left alone.
    EXPECT_TRUE(MakeDirectoryPath(root.Path() + L"/one/three/"));
    EXPECT_TRUE(FolderExists(root.Sub(L"one\\three")));
    EXPECT_TRUE(FolderExists(root.Sub(L"one\\two")));
}

TEST(ShellFunctions, MakeDirectoryPathRefusesPathsBeyondItsLimit)
{
    CTestFolder root(L"mklong");
    std::wstring path = root.Path() + L"\\first\\";
    path += std::wstring(260 - path.size(), L'x');
    ASSERT_EQ(path.size(), 260u);
    EXPECT_FALSE(MakeDirectoryPath(path));
    EXPECT_FALSE(FolderExists(root.Sub(L"first"))); // nothing half-made
    EXPECT_FALSE(MakeDirectoryPath(L""));

    std::wstring fits = root.Path() + L"\\a\\";
    fits += std::wstring(259 - fits.size(), L'y');
    // At the limit the path is accepted (the file system may still refuse the last level).
    MakeDirectoryPath(fits);
    EXPECT_TRUE(FolderExists(root.Sub(L"a")));
}

TEST(ShellFunctions, PathFromItemListIsEmptyForVirtualItems)
{
    ComScope com;
    CTestFolder root(L"pidl");
    ItemList folder;
    ASSERT_EQ(SHParseDisplayName(root.Path().c_str(), nullptr, &folder.items, 0, nullptr), S_OK);
    EXPECT_EQ(_wcsicmp(PathFromItemList(folder.items).c_str(), root.Path().c_str()), 0);

    ItemList computer; // "My Computer" has no file-system path
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer.items), S_OK);
    EXPECT_EQ(PathFromItemList(computer.items), L"");
    EXPECT_EQ(PathFromItemList(nullptr), L"");
}

TEST(ShellFunctions, BrowseForFolderOpensAtTheStartFolder)
{
    ComScope com;
    CTestFolder root(L"browse");
    std::wstring chosen;
    {
        CDialogPresser presser(GetCurrentThreadId(), IDOK);
        chosen = BrowseForFolder(nullptr, root.Path());
        EXPECT_TRUE(presser.Pressed());
    }
    EXPECT_EQ(_wcsicmp(chosen.c_str(), root.Path().c_str()), 0) << chosen;
}

TEST(ShellFunctions, BrowseForFolderCancelledGivesEmptyText)
{
    ComScope com;
    std::wstring chosen = L"unchanged";
    {
        CDialogPresser presser(GetCurrentThreadId(), IDCANCEL);
        chosen = BrowseForFolder(nullptr, L"C:\\does\\not\\exist");
        EXPECT_TRUE(presser.Pressed());
    }
    EXPECT_EQ(chosen, L"");
}

#include "ShellFunctions.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <thread>
#include <utility>

namespace {

struct ItemList {
    PIDLIST_ABSOLUTE items = nullptr;
    ~ItemList() { CoTaskMemFree(items); }
};

struct ComScope {
    HRESULT result = CoInitialize(nullptr);
    ~ComScope() { if (SUCCEEDED(result)) CoUninitialize(); }
};

// Presses a button of the first dialog that appears on thread, from another thread, once its
// edit box shows readyText (or at once when that is empty). Gives up after ten seconds.
class CDialogPresser {
public:
    CDialogPresser(DWORD thread, int button, std::wstring readyText = L"")
        : m_readyText(std::move(readyText)), m_worker([this, thread, button] { Press(thread, button); })
    {
    }
    ~CDialogPresser() { m_worker.join(); }
    [[nodiscard]] bool Pressed() const { return m_pressed; }
    [[nodiscard]] bool WasReady() const { return m_ready; }

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

    static BOOL CALLBACK FindEdit(HWND window, LPARAM found)
    {
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (_wcsicmp(className, L"Edit") == 0) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    bool IsReady(HWND dialog) const
    {
        if (m_readyText.empty())
            return true;
        HWND edit = nullptr;
        EnumChildWindows(dialog, &CDialogPresser::FindEdit, reinterpret_cast<LPARAM>(&edit));
        wchar_t text[MAX_PATH] = {};
        if (edit)
            SendMessageW(edit, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
        return _wcsicmp(text, m_readyText.c_str()) == 0;
    }

    void Press(DWORD thread, int button)
    {
        HWND dialog = nullptr;
        for (int i = 0; i < 200 && !dialog; ++i) {
            EnumThreadWindows(thread, &CDialogPresser::FindDialog, reinterpret_cast<LPARAM>(&dialog));
            Sleep(50);
        }
        if (!dialog)
            return;
        for (int i = 0; i < 100 && !m_ready; ++i) {
            m_ready = IsReady(dialog);
            Sleep(50);
        }
        Sleep(100);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        m_pressed = true;
    }

    std::wstring m_readyText;
    std::atomic<bool> m_pressed{false};
    std::atomic<bool> m_ready{false};
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

TEST(ShellFunctions, DefaultInstallFolderIsThe32BitProgramFiles)
{
    // Both builds offer the folder of 32-bit programs: "Program Files (x86)" on 64-bit Windows.
    const std::wstring programFiles = GetSpecialFolder(CSIDL_PROGRAM_FILESX86);
    ASSERT_FALSE(programFiles.empty());
    EXPECT_EQ(GetDefaultInstallFolder(), programFiles + L"\\Velmora");
#ifdef _WIN64
    EXPECT_NE(GetDefaultInstallFolder().find(L"Program Files (x86)\\Velmora"), std::wstring::npos);
#endif
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
    const std::wstring leaf = root.Path().substr(root.Path().find_last_of(L'\\') + 1);
    // Wine's picker now and then ignores the selection sent at start-up; one of three tries
    // must open at the start folder.
    bool opened = false;
    std::wstring chosen;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
        CDialogPresser presser(GetCurrentThreadId(), IDOK, leaf);
        chosen = BrowseForFolder(nullptr, root.Path());
        EXPECT_TRUE(presser.Pressed());
        opened = presser.WasReady();
    }
    ASSERT_TRUE(opened);
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

// Shell links written in a temporary folder and resolved back to their targets.
#include "TestFolder.h"
#include "util/Shortcuts.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <fstream>
#include <string>

using namespace ZVCore;

namespace {

struct ComScope {
    HRESULT result = CoInitialize(nullptr);
    ~ComScope()
    {
        if (SUCCEEDED(result))
            CoUninitialize();
    }
};

struct LinkInfo {
    std::wstring target;
    std::wstring folder;
    std::wstring description;
};

bool ReadLink(const std::wstring& file, LinkInfo& info)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* persist = nullptr;
    bool read = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
                SUCCEEDED(persist->Load(file.c_str(), STGM_READ));
    if (read) {
        wchar_t text[MAX_PATH] = {};
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        info.target = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        info.folder = text;
        link->GetDescription(text, MAX_PATH);
        info.description = text;
    }
    if (persist)
        persist->Release();
    link->Release();
    return read;
}

} // namespace

TEST(Shortcuts, ALinkResolvesToItsTargetAndKeepsItsDetails)
{
    ComScope com;
    CTestFolder folder(L"links");
    const std::wstring target = folder.Sub(L"app.exe");
    std::ofstream(target.c_str()) << "MZ";
    const std::wstring link = folder.Sub(L"app.lnk");
    ASSERT_TRUE(CreateShortcut(target, folder.Path(), L"位置: app", target, 3, link));

    LinkInfo info;
    ASSERT_TRUE(ReadLink(link, info));
    wchar_t longTarget[MAX_PATH] = {};
    GetLongPathNameW(info.target.c_str(), longTarget, MAX_PATH);
    EXPECT_EQ(std::wstring(longTarget), target);
    EXPECT_EQ(info.folder, folder.Path());
    EXPECT_EQ(info.description, L"位置: app");

    EXPECT_FALSE(CreateShortcut(target, folder.Path(), L"", target, 0, folder.Sub(L"missing\\x.lnk")));
}

TEST(Shortcuts, ProgramAndUninstallerLinksGoIntoTheirFolder)
{
    ComScope com;
    CTestFolder folder(L"startmenu");
    const std::wstring menu = folder.Sub(L"Tessaly");
    ASSERT_TRUE(CreateShortcutsIn(menu, L"C:\\P\\ZVApp.exe", L"C:\\P\\ZVUnInstall.exe", L"C:\\P", L"Tessaly",
                                  L"位置: Tessaly(C:\\P)"));
    LinkInfo info;
    ASSERT_TRUE(ReadLink(menu + L"\\Tessaly.lnk", info));
    EXPECT_EQ(info.target, L"C:\\P\\ZVApp.exe");
    EXPECT_EQ(info.description, L"位置: Tessaly(C:\\P)");
    ASSERT_TRUE(ReadLink(menu + L"\\卸载Tessaly.lnk", info));
    EXPECT_EQ(info.target, L"C:\\P\\ZVUnInstall.exe");
    EXPECT_EQ(info.folder, L"C:\\P");
}

// Without a temporary folder the pin once made and deleted "name.lnk" in the current folder.
TEST(Shortcuts, PinningWithoutATemporaryFolderFailsAndTouchesNothing)
{
    ComScope com;
    CTestFolder folder(L"pin");
    const std::wstring target = folder.Sub(L"app.exe");
    std::ofstream(target.c_str()) << "MZ";
    const std::wstring mine = folder.Sub(L"Tessaly.lnk");
    std::ofstream(mine.c_str()) << "someone's own file";

    wchar_t oldFolder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, oldFolder);
    wchar_t oldTmp[1024] = {};
    const bool hadTmp = GetEnvironmentVariableW(L"TMP", oldTmp, 1024) > 0;
    SetCurrentDirectoryW(folder.Path().c_str());
    // A folder name longer than any path: the temporary folder cannot be had.
    SetEnvironmentVariableW(L"TMP", (L"C:\\" + std::wstring(300, L't')).c_str());

    const bool pinned = PinToTaskbar(target, folder.Path(), L"", L"Tessaly", 0);

    SetEnvironmentVariableW(L"TMP", hadTmp ? oldTmp : nullptr);
    SetCurrentDirectoryW(oldFolder);
    EXPECT_FALSE(pinned);
    std::ifstream in(mine.c_str());
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "someone's own file");
}

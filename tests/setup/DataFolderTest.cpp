#include "DataFolder.h"
#include "ShellFunctions.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>

namespace {

struct FolderCase {
    std::wstring local;
    std::wstring roaming;
    std::wstring expected;
};

bool IsUpperHex(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F');
}

} // namespace

TEST(DataFolder, DerivedFromTheLocalFolderOnlyWhenItCanBeCut)
{
    const FolderCase cases[] = {
        {L"C:\\users\\me\\AppData\\Local", L"C:\\users\\me\\AppData\\Roaming", L"C:\\users\\me\\AppData\\Roaming\\Velmora"},
        {L"C:\\Users\\me\\AppData\\LOCAL", L"R:\\x", L"C:\\Users\\me\\AppData\\Roaming\\Velmora"},
        {L"D:\\Local", L"R:\\x", L"D:\\Roaming\\Velmora"},
        // Too short or not ending in "\Local": cutting would make a wrong path.
        {L"\\Local", L"R:\\roam", L"R:\\roam\\Velmora"},
        {L"Local", L"R:\\roam", L"R:\\roam\\Velmora"},
        {L"C:\\", L"R:\\roam", L"R:\\roam\\Velmora"},
        {L"", L"R:\\roam", L"R:\\roam\\Velmora"},
        {L"E:\\Profiles\\me\\LocalData", L"E:\\Profiles\\me\\Roaming", L"E:\\Profiles\\me\\Roaming\\Velmora"},
        {L"", L"", L""},
    };
    for (const FolderCase& c : cases)
        EXPECT_EQ(DataFolderFrom(c.local, c.roaming), c.expected) << c.local;
}

TEST(DataFolder, TheShellsFoldersGiveRoamingVelmora)
{
    const std::wstring roaming = GetSpecialFolder(CSIDL_APPDATA);
    ASSERT_FALSE(roaming.empty());
    EXPECT_EQ(_wcsicmp(GetDataFolder().c_str(), (roaming + L"\\Velmora").c_str()), 0) << GetDataFolder();
    const std::wstring prepared = PrepareDataFolder();
    EXPECT_EQ(prepared, GetDataFolder());
    EXPECT_TRUE(FolderExists(prepared));
}

TEST(DataFolder, CreateDirectoryChainMakesEveryLevel)
{
    CTestFolder root(L"chain");
    EXPECT_TRUE(CreateDirectoryChain(root.Sub(L"a\\b\\c")));
    EXPECT_TRUE(FolderExists(root.Sub(L"a\\b\\c")));
    EXPECT_TRUE(CreateDirectoryChain(root.Sub(L"a\\d\\")));
    EXPECT_TRUE(FolderExists(root.Sub(L"a\\d")));
    EXPECT_TRUE(CreateDirectoryChain(root.Sub(L"a\\b\\c"))); // already there
}

TEST(DataFolder, CreateDirectoryChainFailsWhereALevelCannotBeMade)
{
    CTestFolder root(L"chainfail");
    const std::wstring file = root.Sub(L"file");
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
    EXPECT_FALSE(CreateDirectoryChain(file + L"\\below\\deeper"));
    EXPECT_FALSE(CreateDirectoryChain(L""));
}

TEST(DataFolder, CreateDirectoryChainRefusesPathsOverItsBuffer)
{
    CTestFolder root(L"chainlong");
    std::wstring path = root.Path() + L"\\first\\";
    path += std::wstring(261 - path.size(), L'x');
    EXPECT_FALSE(CreateDirectoryChain(path));
    EXPECT_FALSE(FolderExists(root.Sub(L"first")));
}

TEST(DataFolder, DownloadTargetIsANewGuidWithExe)
{
    std::set<std::wstring> seen;
    for (int i = 0; i < 20; ++i) {
        const std::wstring target = MakeDownloadTarget(L"C:\\data");
        ASSERT_EQ(target.size(), std::wstring(L"C:\\data\\").size() + 32 + 4) << target;
        EXPECT_EQ(target.substr(0, 8), L"C:\\data\\");
        EXPECT_EQ(target.substr(target.size() - 4), L".exe");
        for (size_t k = 8; k < 40; ++k)
            EXPECT_TRUE(IsUpperHex(target[k])) << target;
        seen.insert(target);
    }
    EXPECT_EQ(seen.size(), 20u);
    EXPECT_EQ(MakeDownloadTarget(L""), L"") << "no name at the root of the current drive";

    // The name must fit where the download writes it: 259 characters at most.
    const std::wstring longest = L"C:\\" + std::wstring(259 - 3 - 37, L'd');
    EXPECT_EQ(MakeDownloadTarget(longest).size(), 259u);
    EXPECT_EQ(MakeDownloadTarget(longest + L"d"), L"") << "a name past MAX_PATH";
}

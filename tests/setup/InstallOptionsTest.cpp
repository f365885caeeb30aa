#include "InstallOptions.h"
#include "ShellFunctions.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <thread>
#include <vector>

TEST(InstallOptions, StartsWithTheDefaultFolderCreatedAndBothFlagsOn)
{
    CInstallOptions& options = CInstallOptions::Instance();
    const std::wstring expected = GetSpecialFolder(CSIDL_PROGRAM_FILESX86) + L"\\Velmora";
    EXPECT_EQ(options.GetInstallFolder(), expected);
    EXPECT_TRUE(FolderExists(expected));
    EXPECT_TRUE(options.IsDesktopShortcut());
    EXPECT_TRUE(options.IsTaskbar());
    EXPECT_EQ(options.ProductFolder(), expected + L"\\Velmora");
}

TEST(InstallOptions, EveryThreadGetsTheSameObject)
{
    std::vector<CInstallOptions*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &CInstallOptions::Instance(); });
    for (std::thread& t : threads)
        t.join();
    for (CInstallOptions* options : seen)
        EXPECT_EQ(options, &CInstallOptions::Instance());
}

TEST(InstallOptions, ChangesAreSeenByLaterCallers)
{
    CInstallOptions& options = CInstallOptions::Instance();
    const std::wstring saved = options.GetInstallFolder();
    options.SetInstallFolder(L"D:\\Tools");
    options.SetDesktopShortcut(false);
    options.SetTaskbar(false);
    EXPECT_EQ(CInstallOptions::Instance().GetInstallFolder(), L"D:\\Tools");
    EXPECT_EQ(CInstallOptions::Instance().ProductFolder(), L"D:\\Tools\\Velmora");
    EXPECT_FALSE(CInstallOptions::Instance().IsDesktopShortcut());
    EXPECT_FALSE(CInstallOptions::Instance().IsTaskbar());
    options.SetInstallFolder(saved);
    options.SetDesktopShortcut(true);
    options.SetTaskbar(true);
}

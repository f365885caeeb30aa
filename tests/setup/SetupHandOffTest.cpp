#include "SetupHandOff.h"
#include "SetupUrls.h"

#include <gtest/gtest.h>

TEST(SetupHandOff, ParametersCarryFolderAndShortcutFlag)
{
    EXPECT_EQ(MakeHandOffParameters(L"C:\\Program Files (x86)\\Velmora", true),
              L"-instdir=C:\\Program Files (x86)\\Velmora -dsc=true");
    EXPECT_EQ(MakeHandOffParameters(L"D:\\\u8f6f\u4ef6", false), L"-instdir=D:\\\u8f6f\u4ef6 -dsc=false");
    EXPECT_EQ(MakeHandOffParameters(L"", true), L"-instdir= -dsc=true");
}

TEST(SetupUrls, FixedPathsOnTheBuildTimeHosts)
{
    const std::wstring download = GetDownloadUrl();
    const std::wstring tail = L"/openapi/download?ch=10009&app=50001";
    ASSERT_GT(download.size(), tail.size());
    EXPECT_EQ(download.substr(download.size() - tail.size()), tail);
    EXPECT_EQ(download.find(L"://"), download.find(L':')); // a scheme, then host[:port]

    const std::wstring agreement = GetAgreementUrl();
    EXPECT_EQ(agreement.substr(agreement.size() - 15), L"/agreement.html");
}

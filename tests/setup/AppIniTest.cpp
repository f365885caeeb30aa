#include "AppIni.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

std::wstring ReadRaw(const std::wstring& file, const wchar_t* key)
{
    wchar_t value[260] = {};
    GetPrivateProfileStringW(L"Install", key, L"<none>", value, 260, file.c_str());
    return value;
}

void WriteRaw(const std::wstring& file, const wchar_t* key, const wchar_t* value)
{
    WritePrivateProfileStringW(L"Install", key, value, file.c_str());
}

} // namespace

TEST(AppIni, NamesAppIniInTheDataFolder)
{
    EXPECT_EQ(CAppIni(L"C:\\data").GetPath(), L"C:\\data\\APP.ini");
    EXPECT_EQ(CAppIni(L"").GetPath(), L"");
}

TEST(AppIni, FirstInstallRequestWritesChannelAndActive)
{
    CTestFolder data(L"ini-new");
    const CAppIni ini(data.Path());
    EXPECT_TRUE(ini.PrepareInstall());
    EXPECT_EQ(ReadRaw(ini.GetPath(), L"channel"), L"darozeved");
    EXPECT_EQ(ReadRaw(ini.GetPath(), L"active"), L"0");
    EXPECT_FALSE(ini.IsSetupActive());
}

TEST(AppIni, AProductChannelIsKeptAndActiveIsReset)
{
    CTestFolder data(L"ini-kept");
    const CAppIni ini(data.Path());
    WriteRaw(ini.GetPath(), L"channel", L"store42");
    WriteRaw(ini.GetPath(), L"active", L"1");
    EXPECT_TRUE(ini.IsSetupActive());
    EXPECT_TRUE(ini.PrepareInstall());
    EXPECT_EQ(ReadRaw(ini.GetPath(), L"channel"), L"store42");
    EXPECT_EQ(ReadRaw(ini.GetPath(), L"active"), L"0");
}

TEST(AppIni, ChannelReadingErrorIsReplaced)
{
    CTestFolder data(L"ini-error");
    const CAppIni ini(data.Path());
    WriteRaw(ini.GetPath(), L"channel", L"error");
    EXPECT_TRUE(ini.PrepareInstall());
    EXPECT_EQ(ReadRaw(ini.GetPath(), L"channel"), L"darozeved");
}

TEST(AppIni, OnlyOneMeansActive)
{
    CTestFolder data(L"ini-active");
    const CAppIni ini(data.Path());
    EXPECT_EQ(ini.ReadInstallValue(L"active"), L"error");
    EXPECT_FALSE(ini.IsSetupActive());
    const wchar_t* notActive[] = {L"0", L"2", L"11", L"yes", L""};
    for (const wchar_t* value : notActive) {
        WriteRaw(ini.GetPath(), L"active", value);
        EXPECT_FALSE(ini.IsSetupActive()) << value;
    }
    WriteRaw(ini.GetPath(), L"active", L"1");
    EXPECT_TRUE(ini.IsSetupActive());
}

TEST(AppIni, NoDataFolderFailsQuietly)
{
    const CAppIni ini(L"");
    EXPECT_FALSE(ini.PrepareInstall());
    EXPECT_FALSE(ini.IsSetupActive());
    EXPECT_FALSE(ini.WriteInstallValue(L"active", L"0"));
}

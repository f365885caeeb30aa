// Duration, size and time texts, GUID texts and the system facts that need no set-up.
#include "util/SystemInfo.h"
#include "util/TextConvert.h"
#include "util/TimeText.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

using namespace ZVCore;

TEST(TimeText, DurationsFormatAndParse)
{
    EXPECT_EQ(FormatDurationMs(3661.5), L"01:01:01.500");
    EXPECT_EQ(FormatDurationMs(-1.0), L"00:00:00.000");
    EXPECT_EQ(FormatDurationMs(59.25), L"00:00:59.250");
    EXPECT_EQ(FormatDuration(59), L"00:00:59");
    EXPECT_EQ(FormatDuration(36000 + 61), L"10:01:01");
    EXPECT_EQ(ParseDuration(L"01:02:03"), 3723);
    EXPECT_EQ(ParseDuration(L"1:2"), 0);
    EXPECT_EQ(ParseDurationMs(L"1:00:02.250"), 3602250);
    EXPECT_EQ(ParseDurationMs(L"25:00:00.000"), 90000000LL);
}

TEST(TimeText, SizeThresholdsDifferBetweenTheTwoForms)
{
    EXPECT_EQ(FormatSize(1048576.0), L"1024.0 KB"); // exclusive
    EXPECT_EQ(FormatSize64(1048576ull), L"1.0MB");  // inclusive
    EXPECT_EQ(FormatSize(1048577.0), L"1.0 MB");
    EXPECT_EQ(FormatSize(3.5 * 1073741824.0), L"3.5 GB");
    EXPECT_EQ(FormatSize64(1073741824ull), L"1.0GB");
    EXPECT_EQ(FormatSize64(512ull), L"0.5KB");
    EXPECT_EQ(FormatSize(0.0), L"0.0 KB");
}

TEST(TimeText, LocalTimeRoundTripsAndGuidsHaveTheirShape)
{
    SYSTEMTIME time = {};
    time.wYear = 2024;
    time.wMonth = 2;
    time.wDay = 29;
    time.wHour = 13;
    time.wMinute = 14;
    time.wSecond = 15;
    const int64_t seconds = SystemTimeToTime64(time);
    const SYSTEMTIME back = Time64ToSystemTime(seconds);
    EXPECT_EQ(back.wYear, 2024);
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wSecond, 15);
    EXPECT_EQ(back.wMilliseconds, 0);
    EXPECT_GT(GetCurrentTimeMs(), 1600000000000LL);

    const std::wstring braced = NewGuidString(true);
    ASSERT_EQ(braced.size(), 38u);
    EXPECT_EQ(braced[0], L'{');
    EXPECT_EQ(braced[9], L'-');
    const std::wstring bare = NewGuidString(false);
    ASSERT_EQ(bare.size(), 32u);
    for (wchar_t c : bare)
        EXPECT_TRUE(std::iswdigit(c) || (c >= L'A' && c <= L'F')) << bare;
    EXPECT_NE(bare, NewGuidString(false));
}

TEST(SystemInfo, DpiFactorsBitnessAndConversions)
{
    EXPECT_EQ(DpiScaleFactorFor(72), 1.0);
    EXPECT_EQ(DpiScaleFactorFor(96), 1.0);
    EXPECT_EQ(DpiScaleFactorFor(119), 1.0);
    EXPECT_EQ(DpiScaleFactorFor(120), 1.25);
    EXPECT_EQ(DpiScaleFactorFor(144), 1.5);
    EXPECT_EQ(DpiScaleFactorFor(192), 2.0);
    EXPECT_GE(GetDpiScaleFactor(), 1.0);

    EXPECT_TRUE(IsOs64Bit());
    EXPECT_TRUE(IsOn64BitWindows());
    if (sizeof(void*) == 8)
        EXPECT_FALSE(IsWow64()); // a 64-bit process is never under WOW64

    EXPECT_EQ(StringUtf8ToWide("\xE4\xB8\xAD"), L"\u4E2D");
    EXPECT_EQ(StringWideToUtf8(L"\u4E2D"), "\xE4\xB8\xAD");
    EXPECT_EQ(StringAnsiToWide(StringWideToAnsi(L"plain")), L"plain");
    EXPECT_EQ(StringUtf8ToAnsi(StringAnsiToUtf8("abc")), "abc");

    std::wstring ethernet = L"x", wireless = L"y", bluetooth = L"z";
    const bool found = GetMacAddresses(ethernet, wireless, bluetooth);
    EXPECT_TRUE(wireless.empty());
    EXPECT_TRUE(bluetooth.empty());
    EXPECT_EQ(found, !ethernet.empty());
    if (found)
        EXPECT_EQ(ethernet.size(), 17u);
}

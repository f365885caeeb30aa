// Duration and size texts and the system facts that need no set-up.
#include "util/SystemInfo.h"
#include "util/TimeText.h"

#include <gtest/gtest.h>

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

TEST(SystemInfo, DpiFactorsBitnessAndConversions)
{
    EXPECT_EQ(DpiScaleFactorFor(72), 1.0);
    EXPECT_EQ(DpiScaleFactorFor(119), 1.0);
    EXPECT_EQ(DpiScaleFactorFor(120), 1.25);
    EXPECT_EQ(DpiScaleFactorFor(144), 1.5);
    EXPECT_GE(GetDpiScaleFactor(), 1.0);

    EXPECT_TRUE(IsOs64Bit());
    EXPECT_TRUE(IsOn64BitWindows());
    if (sizeof(void*) == 8)
        EXPECT_FALSE(IsWow64()); // a 64-bit process is never under WOW64
}

#include "util/CodePage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>

using namespace ZVCore;

namespace {

const std::string kUtf8EAcuteHan = "\xC3\xA9\xE4\xB8\xAD"; // "é中"
const std::string kGbkZhongWen = "\xD6\xD0\xCE\xC4";      // "中文" in code page 936

} // namespace

TEST(CodePage, Utf8AndWideConvertBothWays)
{
    EXPECT_EQ(CodePageToWide(kUtf8EAcuteHan, CP_UTF8), L"\u00E9\u4E2D");
    EXPECT_EQ(WideToCodePage(L"\u00E9\u4E2D", CP_UTF8), kUtf8EAcuteHan);
}

TEST(CodePage, OtherCodePagesUseTheirOwnBytes)
{
    EXPECT_EQ(WideToCodePage(L"\u4E2D\u6587", 936), kGbkZhongWen);
    EXPECT_EQ(CodePageToWide(kGbkZhongWen, 936), L"\u4E2D\u6587");
    EXPECT_EQ(CodePageToAnsi(kUtf8EAcuteHan, CP_UTF8), WideToCodePage(L"\u00E9\u4E2D", CP_ACP));
}

TEST(CodePage, EmptyTextGivesEmptyResult)
{
    EXPECT_EQ(CodePageToWide("", CP_UTF8), L"");
    EXPECT_EQ(WideToCodePage(L"", CP_UTF8), "");
    EXPECT_EQ(AnsiToWide(""), L"");
}

TEST(CodePage, ZeroTerminatedConversionsStopAtTheFirstZero)
{
    EXPECT_EQ(CodePageToWide(std::string("ab\0cd", 5), CP_UTF8), L"ab");
    EXPECT_EQ(WideToCodePage(std::wstring(L"ab\0cd", 5), CP_UTF8), "ab");
}

TEST(CodePage, AnsiToWideKeepsTheWholeLength)
{
    EXPECT_EQ(AnsiToWide("/S /D=C:\\x"), L"/S /D=C:\\x");
    EXPECT_EQ(AnsiToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(CodePage, CodePageZeroIsACopy)
{
    const std::string bytes = "\xFF\x01 plain";
    EXPECT_EQ(AnsiToCodePage(bytes, 0), bytes);
    EXPECT_EQ(CodePageToAnsi(bytes, 0), bytes);
    EXPECT_EQ(AnsiToCodePage("plain ascii", CP_UTF8), "plain ascii");
}

TEST(CodePage, AnsiCharsToWideWritesIntoTheBuffer)
{
    wchar_t buffer[8] = {};
    EXPECT_EQ(AnsiCharsToWide("abc", 3, buffer, 8), 3);
    EXPECT_EQ(std::wstring(buffer), L"abc");
    EXPECT_EQ(AnsiCharsToWide("abc", 3, nullptr, 8), 0);
}

TEST(CodePage, CopyToBufferRefusesATooSmallBuffer)
{
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(CopyToBuffer(L"abc", buffer, 4), 0);
    EXPECT_EQ(std::wstring(buffer), L"abc");
    EXPECT_EQ(CopyToBuffer(L"abcd", buffer, 4), ERANGE);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(CopyToBuffer(L"a", nullptr, 4), EINVAL);
    EXPECT_EQ(CopyWide(static_cast<const wchar_t*>(nullptr)), L"");
}

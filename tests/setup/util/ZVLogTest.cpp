// The log file: lines appended in order with their time stamp, in the Chinese code page.
#include "util/AppFolders.h"
#include "util/Shortcuts.h"
#include "util/ZVLog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

using namespace ZVCore;

namespace {

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileW(GetLogPath().c_str()); }
    // Everything the log made lives below the local data folder's "zv".
    void TearDown() override { DeleteFolderTree(GetLocalAppDataFolder() + L"\\zv"); }
};

} // namespace

TEST_F(LogTest, LinesAreAppendedInOrderWithATimeStamp)
{
    const std::wstring path = GetLogPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path, GetLocalAppDataFolder() + L"\\zv\\data\\zvlog\\ll.log");
    WriteLog(L"first");
    WriteLog(L"second\r\nwith a break");
    const std::string text = ReadAll(path);
    const std::regex lines(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] - first\r\n)"
                           R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] - second\r\nwith a break\r\n)");
    EXPECT_TRUE(std::regex_match(text, lines)) << text;

    // A later writer never truncates what is there.
    WriteLog(L"third");
    EXPECT_EQ(ReadAll(path).compare(0, text.size(), text), 0);
}

TEST_F(LogTest, ChineseTextIsWrittenInItsNarrowCodePage)
{
    WriteLog(L"注册表写入失败!");
    const std::string text = ReadAll(GetLogPath());
    // "注册表写入失败!" in code page 936.
    EXPECT_NE(text.find("\xD7\xA2\xB2\xE1\xB1\xED\xD0\xB4\xC8\xEB\xCA\xA7\xB0\xDC!"), std::string::npos) << text;
}

TEST_F(LogTest, FormatReturnsTheFormattersResult)
{
    EXPECT_EQ(LogFormat(L"%ls=%d", L"count", 42), 8);
    EXPECT_NE(ReadAll(GetLogPath()).find("] - count=42\r\n"), std::string::npos);
    // Long texts grow the buffer instead of being lost.
    EXPECT_EQ(LogFormat(L"%ls", std::wstring(3000, L'q').c_str()), 3000);
}

TEST_F(LogTest, ShellErrorsAreLoggedOnlyForFailures)
{
    EXPECT_EQ(ShellExecuteErrorText(33), 33);
    EXPECT_EQ(ReadAll(GetLogPath()), "");
    EXPECT_EQ(ShellExecuteErrorText(2), 2);
    EXPECT_EQ(ShellExecuteErrorText(99 - 90), 9);
    const std::string text = ReadAll(GetLogPath());
    EXPECT_NE(text.find("] - The specified file was not found.\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("] - Unknow error 9\r\n"), std::string::npos) << text;
    EXPECT_EQ(ShellExecuteErrorMessage(32), L"The specified dynamic-link library was not found.");
}

// The echo once went through the C runtime's wide output in the "C" locale, which stopped at the
// first Chinese character and lost the rest of the line with its end.
TEST_F(LogTest, TheEchoCarriesTheWholeLine)
{
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 1 << 16));
    std::fflush(stdout);
    const int saved = _dup(1);
    const int pipeFd = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_WRONLY | _O_BINARY);
    ASSERT_GE(pipeFd, 0);
    ASSERT_EQ(_dup2(pipeFd, 1), 0); // also the process's standard output handle

    WriteLog(L"[2024] 注册表 abc");

    std::fflush(stdout);
    _dup2(saved, 1);
    _close(saved);
    _close(pipeFd);
    std::string echoed;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        echoed.append(buffer, got);
    CloseHandle(readEnd);
    // "注册表" in code page 936.
    EXPECT_TRUE(std::regex_search(echoed, std::regex("\\] \\[2024\\] \xD7\xA2\xB2\xE1\xB1\xED abc\r?\n$")))
        << echoed;
}

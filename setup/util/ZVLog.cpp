#include "util/ZVLog.h"

#include "ShellFunctions.h"
#include "util/AppFolders.h"
#include "util/FileHandle.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <vector>

namespace ZVCore {

namespace {

// The log is written in the simplified-Chinese narrow code page.
constexpr UINT kLogCodePage = 936;
constexpr size_t kMaxLogLine = 1 << 20;

std::wstring TimeStamp()
{
    wchar_t buffer[128] = {};
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::wcsftime(buffer, 128, L"[%Y-%m-%d %X]", local);
    return buffer;
}

std::string ToLogBytes(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(kLogCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kLogCodePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

// The console line, whole: the C runtime's wide output in the "C" locale stops at the first
// character outside ASCII. A console takes the wide text; a file or a pipe gets the log's bytes.
void EchoLine(const std::wstring& line)
{
    std::fflush(stdout);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    const std::string bytes = ToLogBytes(line);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

std::wstring GetLogPath()
{
    const std::wstring folder = GetLogFolder();
    if (folder.empty())
        return {};
    if (!PathIsDirectoryW(folder.c_str()))
        MakeDirectoryPath(folder);
    return folder + L"\\ll.log";
}

void WriteLog(const std::wstring& text)
{
    const std::wstring stamp = TimeStamp();
    EchoLine(stamp + L" " + text + L"\r\n");

    const std::wstring path = GetLogPath();
    if (path.empty())
        return;
    // Shared for reading and writing, so a second writer or a viewer never blocks a line.
    const CFileHandle file{CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!file.IsOpen())
        return;
    // One write per line: lines of concurrent writers never interleave.
    const std::string line = ToLogBytes(stamp + L" - " + text + L"\r\n");
    DWORD written = 0;
    WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int LogFormat(const wchar_t* format, ...)
{
    if (format == nullptr)
        return -1;
    // A wide formatter reports a too-small buffer only as failure: grow until it fits.
    std::vector<wchar_t> buffer(512);
    int result = -1;
    while (buffer.size() <= kMaxLogLine) {
        va_list args;
        va_start(args, format);
        result = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (result >= 0 && static_cast<size_t>(result) < buffer.size() - 1)
            break;
        result = -1;
        buffer.resize(buffer.size() * 4);
    }
    if (result >= 0)
        WriteLog(std::wstring(buffer.data(), static_cast<size_t>(result)));
    return result;
}

} // namespace ZVCore

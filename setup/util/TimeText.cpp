#include "util/TimeText.h"

#include <objbase.h>
#include <sys/timeb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace ZVCore {

namespace {

template <class... Args>
std::wstring Format(const wchar_t* format, Args... args)
{
    wchar_t text[128] = {};
    std::swprintf(text, 128, format, args...);
    return text;
}

constexpr double kKiB = 1024.0;
constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kGiB = 1024.0 * 1024.0 * 1024.0;

} // namespace

std::wstring FormatDurationMs(double seconds)
{
    if (seconds < 0)
        return L"00:00:00.000";
    const int whole = static_cast<int>(seconds);
    const int ms = static_cast<int>(static_cast<long long>(seconds * 1000.0) - static_cast<long long>(whole) * 1000);
    return Format(L"%02d:%02d:%02d.%03d", whole / 3600, whole % 3600 / 60, whole % 60, ms);
}

std::wstring FormatDuration(int seconds)
{
    return Format(L"%02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}

int ParseDuration(const std::wstring& text)
{
    const size_t first = text.find(L':');
    const size_t second = first == std::wstring::npos ? std::wstring::npos : text.find(L':', first + 1);
    if (second == std::wstring::npos)
        return 0;
    const int h = _wtoi(text.substr(0, first).c_str());
    const int m = _wtoi(text.substr(first + 1, second - first - 1).c_str());
    const int s = _wtoi(text.substr(second + 1).c_str());
    return h * 3600 + m * 60 + s;
}

int64_t ParseDurationMs(const std::wstring& text)
{
    int h = 0, m = 0, s = 0, ms = 0;
    if (std::swscanf(text.c_str(), L"%d:%d:%d.%d", &h, &m, &s, &ms) < 3)
        return 0;
    return static_cast<int64_t>(h) * 3600000 + static_cast<int64_t>(m) * 60000 + static_cast<int64_t>(s) * 1000 + ms;
}

std::wstring FormatSize(double bytes)
{
    if (bytes > kGiB)
        return Format(L"%.1f GB", bytes / kGiB);
    if (bytes > kMiB)
        return Format(L"%.1f MB", bytes / kMiB);
    return Format(L"%.1f KB", bytes / kKiB);
}

std::wstring FormatSize64(uint64_t bytes)
{
    if (bytes >= (1ull << 30))
        return Format(L"%.01fGB", static_cast<double>(bytes / (1ull << 20)) / 1024.0);
    if (bytes >= (1ull << 20))
        return Format(L"%.01fMB", static_cast<double>(bytes / 1024) / 1024.0);
    return Format(L"%.01fKB", static_cast<double>(bytes) / 1024.0);
}

int64_t SystemTimeToTime64(const SYSTEMTIME& time)
{
    std::tm fields = {};
    fields.tm_year = time.wYear - 1900;
    fields.tm_mon = time.wMonth - 1;
    fields.tm_mday = time.wDay;
    fields.tm_hour = time.wHour;
    fields.tm_min = time.wMinute;
    fields.tm_sec = time.wSecond;
    fields.tm_isdst = 0;
    return _mktime64(&fields);
}

SYSTEMTIME Time64ToSystemTime(int64_t seconds)
{
    SYSTEMTIME result = {};
    const __time64_t value = seconds;
    std::tm fields = {};
    if (_localtime64_s(&fields, &value) != 0)
        return result;
    result.wYear = static_cast<WORD>(fields.tm_year + 1900);
    result.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    result.wDay = static_cast<WORD>(fields.tm_mday);
    result.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    result.wHour = static_cast<WORD>(fields.tm_hour);
    result.wMinute = static_cast<WORD>(fields.tm_min);
    result.wSecond = static_cast<WORD>(fields.tm_sec);
    return result;
}

int64_t GetCurrentTimeMs()
{
    __timeb64 now = {};
    _ftime64(&now);
    return static_cast<int64_t>(now.time) * 1000 + now.millitm;
}

std::wstring NewGuidString(bool braces)
{
    GUID g = {};
    if (FAILED(CoCreateGuid(&g)))
        return {};
    const wchar_t* format = braces ? L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}"
                                   : L"%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X";
    return Format(format, static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
                  g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}

} // namespace ZVCore

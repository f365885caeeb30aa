// Duration, size and time texts and new GUID texts of the utility module.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace ZVCore {

// "hh:mm:ss.mmm"; a negative value gives "00:00:00.000".
[[nodiscard]] std::wstring FormatDurationMs(double seconds);
// "hh:mm:ss".
[[nodiscard]] std::wstring FormatDuration(int seconds);
// "h:m:s" to seconds.
[[nodiscard]] int ParseDuration(const std::wstring& text);
// "h:m:s.ms" to milliseconds; 0 when the text does not match.
[[nodiscard]] int64_t ParseDurationMs(const std::wstring& text);
// "%.1f GB/MB/KB", thresholds exclusive.
[[nodiscard]] std::wstring FormatSize(double bytes);
// "%.01fGB/MB/KB", thresholds inclusive.
[[nodiscard]] std::wstring FormatSize64(uint64_t bytes);

// Local time without daylight saving, to seconds since 1970 and back (milliseconds 0).
[[nodiscard]] int64_t SystemTimeToTime64(const SYSTEMTIME& time);
[[nodiscard]] SYSTEMTIME Time64ToSystemTime(int64_t seconds);
// Milliseconds since 1970.
[[nodiscard]] int64_t GetCurrentTimeMs();

// A new GUID in upper-case hexadecimal, with braces and dashes or as 32 bare digits; empty when
// none could be made.
[[nodiscard]] std::wstring NewGuidString(bool braces);

} // namespace ZVCore

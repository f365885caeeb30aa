// The utility module's log: time-stamped lines appended to ll.log and echoed to the console.
#pragma once

#include <string>

namespace ZVCore {

// The log file's path (local application data + "\zv\data\zvlog\ll.log"); its folder is
// created when missing. Empty when the shell does not know the local data folder.
[[nodiscard]] std::wstring GetLogPath();
// Appends "[time stamp] - text" and a line end; a line that cannot be written is lost silently.
void WriteLog(const std::wstring& text);
// Formats printf-style, logs the result and returns the formatter's result (negative on failure,
// in which case nothing is logged).
int LogFormat(const wchar_t* format, ...);

} // namespace ZVCore

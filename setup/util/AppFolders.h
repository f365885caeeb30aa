// Data folders and files of the utility module: paths, locked files, folder removal, progress files.
#pragma once

#include <cstdint>
#include <string>

namespace ZVCore {

// The local application-data folder; empty when the shell does not know it.
[[nodiscard]] std::wstring GetLocalAppDataFolder();
// Local application data + "\zv\data", and the places below it.
[[nodiscard]] std::wstring GetDataFolder();
[[nodiscard]] std::wstring GetDataSubFolder();   // + "\zv"
[[nodiscard]] std::wstring GetIniPath();         // + "\zv\zv.ini"
[[nodiscard]] std::wstring GetPaintingIniPath(); // + "\zv\zvpainting.ini"
[[nodiscard]] std::wstring GetImagesFolder();    // + "\images"
[[nodiscard]] std::wstring GetLogsFolder();      // + "\logs"
[[nodiscard]] std::wstring GetLogFolder();       // + "\zvlog", the log's folder
[[nodiscard]] std::wstring GetDesktopFolder();
// Roaming application data + "\Roaming\data\zv\data", and user.ini in it.
[[nodiscard]] std::wstring GetRoamingDataFolder();
[[nodiscard]] std::wstring GetUserIniPath();

// True when the file cannot be opened for reading and writing with sharing denied.
[[nodiscard]] bool IsFileLocked(const std::wstring& path);
// Deletes the folder with everything in it. Junctions and symbolic links inside are removed
// as links: what they point to is never entered. False for a path shorter than 2 characters or
// one that matches nothing; single deletions that fail are skipped.
bool DeleteFolderTree(const std::wstring& path);

struct ProgressRecord {
    int finished = 0;
    int64_t outTime = 0;
    int64_t totalSize = 0;
};
// Reads the last lines of a progress file ("out_time_ms=", "total_size=", "progress=end");
// all zero when the file cannot be opened.
[[nodiscard]] ProgressRecord ReadProgressFile(const std::wstring& path);

} // namespace ZVCore

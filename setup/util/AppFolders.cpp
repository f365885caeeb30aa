#include "util/AppFolders.h"

#include "ShellFunctions.h"

#include <windows.h>
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cstdio>
#include <cwchar>

namespace ZVCore {

namespace {

std::wstring ShellFolder(int csidl)
{
    // The call writes up to MAX_PATH characters, whatever the buffer.
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return {};
    return path;
}

std::wstring Below(const std::wstring& folder, const wchar_t* rest)
{
    return folder.empty() ? std::wstring() : folder + rest;
}

bool IsDotEntry(const wchar_t* name)
{
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

// Removes a file or a link even when it is read-only.
void DeleteEntry(const std::wstring& path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    // A junction or a folder link: only the link goes, its target stays.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(path.c_str());
    else
        DeleteFileW(path.c_str());
}

// Empties folder (which ends in "\") depth first; false when nothing matched.
bool DeleteContents(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry = {};
    const HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (IsDotEntry(entry.cFileName))
            continue;
        const std::wstring path = folder + entry.cFileName;
        const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink) {
            DeleteContents(path + L"\\");
            RemoveDirectoryW(path.c_str());
        } else {
            DeleteEntry(path, entry.dwFileAttributes);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return true;
}

int64_t NumberAfter(const wchar_t* line, size_t prefix)
{
    return _wtoi64(line + prefix);
}

} // namespace

std::wstring GetLocalAppDataFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA); }
std::wstring GetDataFolder() { return Below(GetLocalAppDataFolder(), L"\\zv\\data"); }
std::wstring GetDataSubFolder() { return Below(GetDataFolder(), L"\\zv"); }
std::wstring GetIniPath() { return Below(GetDataSubFolder(), L"\\zv.ini"); }
std::wstring GetPaintingIniPath() { return Below(GetDataSubFolder(), L"\\zvpainting.ini"); }
std::wstring GetImagesFolder() { return Below(GetDataFolder(), L"\\images"); }
std::wstring GetLogsFolder() { return Below(GetDataFolder(), L"\\logs"); }
std::wstring GetLogFolder() { return Below(GetDataFolder(), L"\\zvlog"); }
std::wstring GetDesktopFolder() { return ShellFolder(CSIDL_DESKTOPDIRECTORY); }
std::wstring GetRoamingDataFolder() { return Below(GetSpecialFolder(CSIDL_APPDATA), L"\\Roaming\\data\\zv\\data"); }
std::wstring GetUserIniPath() { return Below(GetRoamingDataFolder(), L"\\user.ini"); }

bool IsFileLocked(const std::wstring& path)
{
    int fd = -1;
    if (_wsopen_s(&fd, path.c_str(), _O_RDWR, _SH_DENYRW, _S_IREAD | _S_IWRITE) != 0 || fd < 0)
        return true;
    _close(fd);
    return false;
}

bool DeleteFolderTree(const std::wstring& path)
{
    if (path.size() < 2)
        return false;
    std::wstring folder = path;
    if (folder.back() != L'\\')
        folder += L'\\';
    // The folder given may itself be a link: then only the link goes.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        DeleteEntry(path, attributes);
        return true;
    }
    if (!DeleteContents(folder))
        return false;
    RemoveDirectoryW(path.c_str());
    return true;
}

ProgressRecord ReadProgressFile(const std::wstring& path)
{
    ProgressRecord record;
    FILE* file = nullptr;
    if (_wfopen_s(&file, path.c_str(), L"rt") != 0 || file == nullptr)
        return record;
    // Only the tail matters: the last block of a progress file holds the latest values.
    if (std::fseek(file, -230L, SEEK_END) != 0)
        std::fseek(file, 0, SEEK_SET);
    wchar_t line[512] = {};
    while (std::fgetws(line, 512, file) != nullptr) {
        if (wcsncmp(line, L"out_time_ms=", 12) == 0) {
            record.outTime = NumberAfter(line, 12);
        } else if (wcsncmp(line, L"total_size=", 11) == 0) {
            record.totalSize = NumberAfter(line, 11);
        } else if (wcsncmp(line, L"progress=end", 12) == 0) {
            if (record.totalSize > 0)
                record.finished = 1;
            break;
        }
    }
    std::fclose(file);
    return record;
}

} // namespace ZVCore

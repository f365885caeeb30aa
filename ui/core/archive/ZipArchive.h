#pragma once
// Handle-based reader of zip archives in memory, in a file or behind a file handle.

#include <windows.h>

namespace ZvUI {

class CZipReader;

// Result codes of the archive functions; ZipFormatMessage gives their texts.
enum ZipResult : DWORD {
    ZR_OK = 0x00000000,
    ZR_NODUPH = 0x00000100,
    ZR_NOFILE = 0x00000200,
    ZR_NOALLOC = 0x00000300,
    ZR_WRITE = 0x00000400,
    ZR_NOTFOUND = 0x00000500,
    ZR_MORE = 0x00000600,
    ZR_CORRUPT = 0x00000700,
    ZR_READ = 0x00000800,
    ZR_PASSWORD = 0x00001000,
    ZR_ARGS = 0x00010000,
    ZR_NOTMMAP = 0x00020000,
    ZR_MEMSIZE = 0x00030000,
    ZR_FAILED = 0x00040000,
    ZR_ENDED = 0x00050000,
    ZR_MISSIZE = 0x00060000,
    ZR_PARTIALUNZ = 0x00070000,
    ZR_ZMODE = 0x00080000,
    ZR_NOTINITED = 0x01000000,
    ZR_SEEK = 0x02000000,
    ZR_NOCHANGE = 0x04000000,
    ZR_FLATE = 0x05000000,
};

// Passed to ZipFormatMessage for the result of the last archive call.
constexpr DWORD ZR_RECENT = 1;

// One item of an archive; index -1 asks ZipGetItem for the summary record.
struct ZipEntry {
    int index = 0;             // in the summary record: the number of items
    wchar_t name[MAX_PATH] = {};
    DWORD attr = 0;            // FILE_ATTRIBUTE_* flags
    FILETIME atime = {};       // UTC
    FILETIME ctime = {};
    FILETIME mtime = {};
    LONG comp_size = 0;
    LONG unc_size = 0;
};

// What the open functions return; opaque to callers.
struct ZipHandle {
    LONG kind = 0;             // kZipKindReader for every handle made here
    CZipReader* reader = nullptr;
};

constexpr LONG kZipKindReader = 1;

// The open functions return null on failure; the reason is the last result.
[[nodiscard]] ZipHandle* ZipOpenMemory(const void* data, unsigned int length, const char* password);
[[nodiscard]] ZipHandle* ZipOpenFile(const wchar_t* fileName, const char* password);
// The handle must stand at the archive's start; it stays the caller's.
[[nodiscard]] ZipHandle* ZipOpenHandle(HANDLE file, const char* password);

// Closes the archive and frees the handle.
ZipResult ZipClose(ZipHandle* zip);
[[nodiscard]] bool ZipIsHandle(const ZipHandle* zip);

// index and entry may be null; a missing item sets *index to -1.
[[nodiscard]] ZipResult ZipFindItem(ZipHandle* zip, const wchar_t* name, bool ignoreCase, int* index,
                                    ZipEntry* entry);
[[nodiscard]] ZipResult ZipGetItem(ZipHandle* zip, int index, ZipEntry* entry);

// ZR_MORE: the buffer is full; call again with the same index for the next part.
[[nodiscard]] ZipResult ZipUnzipToMemory(ZipHandle* zip, int index, void* buffer, unsigned int size);
// A relative target counts from the base folder (the current directory at open).
[[nodiscard]] ZipResult ZipUnzipToFile(ZipHandle* zip, int index, const wchar_t* target);
// The handle stays the caller's and is not closed.
[[nodiscard]] ZipResult ZipUnzipToHandle(ZipHandle* zip, int index, HANDLE file);
ZipResult ZipSetBaseDir(ZipHandle* zip, const wchar_t* folder);

// Returns the full length of the code's text (ZR_RECENT: the last result); writes at most
// length - 1 characters and a terminator.
unsigned int ZipFormatMessage(DWORD code, wchar_t* buffer, unsigned int length);

} // namespace ZvUI

#pragma once
// One open archive: item lookup, item records and unpacking to memory, files and handles.

#include "archive/ZipArchive.h"

#include <unzip.h>

#include <memory>

namespace ZvUI {

class CZipItemDecoder;

class CZipReader {
public:
    enum UnzipMode { UnzipToHandle = 1, UnzipToFile = 2, UnzipToMemory = 3 };

    // password may be null; the reader keeps its own copy.
    explicit CZipReader(const char* password);
    ~CZipReader();
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;

    // kind is a ZipStreamKind; length counts only for memory.
    [[nodiscard]] ZipResult Open(const void* source, DWORD length, int kind);
    ZipResult Close();

    [[nodiscard]] ZipResult Find(const wchar_t* name, bool ignoreCase, int* index, ZipEntry* entry);
    [[nodiscard]] ZipResult Get(int index, ZipEntry* entry);
    // target: a HANDLE, a wide file name or a buffer of size bytes, after mode.
    [[nodiscard]] ZipResult Unzip(int index, void* target, DWORD size, UnzipMode mode);
    ZipResult SetBaseDir(const wchar_t* folder);

private:
    int ItemCount() const;
    bool GoTo(int index);
    void CloseItem();
    ZipResult ReadEntry(int index, ZipEntry* entry);
    ZipResult UnzipToMemoryItem(int index, void* buffer, DWORD size);
    ZipResult UnzipToFileOrHandle(int index, void* target, UnzipMode mode);

    unzFile m_archive = nullptr;
    int m_openItem = -1;
    ZipEntry m_cachedEntry;
    int m_cachedIndex = -1;
    std::unique_ptr<char[]> m_password;
    std::unique_ptr<BYTE[]> m_unzipBuffer;
    wchar_t m_baseDir[MAX_PATH] = {};
    std::unique_ptr<CZipItemDecoder> m_item;   // decoder of m_openItem
};

} // namespace ZvUI

#pragma once
// Paths, manifests and scratch folders for the archive tests.

#include <windows.h>

#include <string>
#include <vector>

namespace ZvTest {

// One item as Python's zipfile reads it (or as the script wrote it).
struct ManifestItem {
    std::wstring name;
    DWORD size = 0;
    DWORD crc = 0;
    bool isDir = false;
    // Unix times of the local "UT" block as zipfile sees it; -1 where absent.
    long long mtime = -1;
    long long atime = -1;
};

// A file of the build-time archive folder, as a Windows path.
std::wstring ArchivePath(const std::wstring& name);
// A file of the folder the Info-ZIP archives were made from.
std::wstring TreePath(const std::wstring& relative);
std::vector<ManifestItem> LoadManifest(const std::wstring& archive);
// Empty for a file that cannot be read.
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& data);
DWORD Crc32(const void* data, size_t size);
std::wstring Utf8ToWide(const std::string& text);
unsigned long long FileTimeValue(const FILETIME& ft);
// The FILETIME of a Unix time.
unsigned long long UnixToFileTime(long long t);

// A fresh folder under the temporary folder, removed with everything in it.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    // With a trailing backslash.
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// Names directly inside folder (files and folders, without "." and "..").
std::vector<std::wstring> ListFolder(const std::wstring& folder);

} // namespace ZvTest

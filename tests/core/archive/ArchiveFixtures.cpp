#include "ArchiveFixtures.h"

#include <zlib.h>

#include <sstream>

namespace ZvTest {

namespace {

void RemoveTree(const std::wstring& folder)
{
    for (const std::wstring& name : ListFolder(folder)) {
        const std::wstring path = folder + name;
        const DWORD attr = GetFileAttributesW(path.c_str());
        if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) {
            RemoveTree(path + L"\\");
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::wstring ArchivePath(const std::wstring& name)
{
    return Utf8ToWide(ZV_ARCHIVE_DIR) + L"\\" + name;
}

std::wstring TreePath(const std::wstring& relative)
{
    return ArchivePath(L"tree\\" + relative);
}

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::vector<ManifestItem> LoadManifest(const std::wstring& archive)
{
    std::vector<ManifestItem> items;
    std::istringstream in(ReadWholeFile(ArchivePath(archive + L".manifest")));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, size, crc, dir, mtime, atime;
        std::getline(fields, name, '\t');
        std::getline(fields, size, '\t');
        std::getline(fields, crc, '\t');
        std::getline(fields, dir, '\t');
        std::getline(fields, mtime, '\t');
        std::getline(fields, atime, '\t');
        ManifestItem item;
        item.name = Utf8ToWide(name);
        item.size = static_cast<DWORD>(std::stoul(size));
        item.crc = static_cast<DWORD>(std::stoul(crc));
        item.isDir = dir == "1";
        if (!mtime.empty())
            item.mtime = std::stoll(mtime);
        if (!atime.empty())
            item.atime = std::stoll(atime);
        items.push_back(item);
    }
    return items;
}

std::string ReadWholeFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string data(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    if (!data.empty() && !ReadFile(h, &data[0], static_cast<DWORD>(data.size()), &got, nullptr))
        got = 0;
    CloseHandle(h);
    data.resize(got);
    return data;
}

void WriteWholeFile(const std::wstring& path, const std::string& data)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
}

DWORD Crc32(const void* data, size_t size)
{
    return static_cast<DWORD>(crc32(crc32(0, nullptr, 0), static_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

unsigned long long FileTimeValue(const FILETIME& ft)
{
    return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

unsigned long long UnixToFileTime(long long t)
{
    return static_cast<unsigned long long>(t * 10000000LL + 116444736000000000LL);
}

std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..")
            names.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

CScratchFolder::CScratchFolder()
{
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"zvzip" + std::to_wstring(GetCurrentProcessId()) + L"_"
        + std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(m_path.c_str(), nullptr);
}

CScratchFolder::~CScratchFolder()
{
    RemoveTree(m_path);
}

} // namespace ZvTest

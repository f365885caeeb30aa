#include "archive/ZipReader.h"

#include "archive/ZipInputStream.h"
#include "archive/ZipItemDecoder.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace ZvUI {

namespace {

constexpr DWORD kUnzipBufferSize = 0x4000;

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsAbsolute(const wchar_t* path)
{
    return IsSeparator(path[0]) || (path[0] && path[1] == L':');
}

// "..", and the forms Windows reads as "..": dots and blanks only, two dots or more.
bool ClimbsUp(const std::wstring& name, size_t begin, size_t end)
{
    int dots = 0;
    for (size_t i = begin; i < end; ++i) {
        if (name[i] == L'.')
            ++dots;
        else if (name[i] != L' ')
            return false;
    }
    return dots >= 2;
}

// Stored names come from whoever made the archive: strip drives, roots and every step that
// climbs, so that a name can only ever point inside the folder it is unpacked to.
std::wstring SanitizeName(std::wstring name)
{
    for (;;) {
        if (name.size() >= 2 && name[1] == L':') {
            name.erase(0, 2);
            continue;
        }
        if (!name.empty() && IsSeparator(name[0])) {
            name.erase(0, 1);
            continue;
        }
        size_t cut = std::wstring::npos;
        size_t begin = 0;
        for (size_t i = 0; i <= name.size(); ++i) {
            if (i < name.size() && !IsSeparator(name[i]))
                continue;
            if (ClimbsUp(name, begin, i))
                cut = i < name.size() ? i + 1 : i;
            begin = i + 1;
        }
        if (cut == std::wstring::npos)
            return name;
        name.erase(0, cut);
    }
}

FILETIME DosToFileTime(DWORD dosDate)
{
    const WORD date = HIWORD(dosDate);
    const WORD time = LOWORD(dosDate);
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(date / 512 + 1980);
    st.wMonth = static_cast<WORD>((date >> 5) & 0x0f);
    st.wDay = static_cast<WORD>(date & 0x1f);
    st.wHour = static_cast<WORD>((time >> 11) & 0x1f);
    st.wMinute = static_cast<WORD>((time >> 5) & 0x3f);
    st.wSecond = static_cast<WORD>((time & 0x1f) * 2);
    FILETIME local = {};
    FILETIME utc = {};
    if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc))
        return FILETIME{};
    return utc;
}

FILETIME TimeTToFileTime(LONG t)
{
    const long long v = static_cast<long long>(t) * 10000000LL + 116444736000000000LL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(v);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<unsigned long long>(v) >> 32);
    return ft;
}

// The extended timestamp block ("UT"): flags, then one Unix time per set bit. Blocks and
// times are read only as far as both the block and the field reach.
void ReadExtraTimes(const BYTE* extra, size_t size, ZipEntry* entry)
{
    size_t pos = 0;
    while (size - pos >= 5) {
        const unsigned tag = extra[pos] | (extra[pos + 1] << 8);
        const size_t blockSize = extra[pos + 2] | (extra[pos + 3] << 8);
        if (tag == 0x5455) {
            const BYTE* data = extra + pos + 4;
            const size_t avail = blockSize < size - pos - 4 ? blockSize : size - pos - 4;
            if (avail < 1)
                return;
            const BYTE flags = data[0];
            size_t off = 1;
            FILETIME* targets[3] = {&entry->mtime, &entry->atime, &entry->ctime};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit)))
                    continue;
                if (off + 4 > avail)
                    return;
                LONG t;
                std::memcpy(&t, data + off, 4);
                *targets[bit] = TimeTToFileTime(t);
                off += 4;
            }
            return;
        }
        pos += 4 + blockSize;
        if (pos > size)
            return;
    }
}

DWORD AttributesOf(const unz_file_info& info)
{
    const unsigned host = (info.version >> 8) & 0xff;
    const DWORD ext = info.external_fa;
    if (host == 0 || host == 7 || host == 11 || host == 14)
        return ext & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                      | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
    DWORD attr = FILE_ATTRIBUTE_ARCHIVE;
    if (ext & 0x40000000)
        attr |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(ext & 0x800000))
        attr |= FILE_ATTRIBUTE_READONLY;
    return attr;
}

// Every folder along path (its last component included) exists afterwards.
void CreateDirectories(const wchar_t* base, const std::wstring& path)
{
    const std::wstring root = base ? base : L"";
    if (!root.empty() && GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(root.c_str(), nullptr);
    if (path.empty())
        return;
    const size_t last = path.find_last_of(L"\\/");
    if (last != std::wstring::npos)
        CreateDirectories(base, path.substr(0, last));
    const std::wstring full = root + path;
    if (full.size() >= MAX_PATH)
        return;
    if (GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(full.c_str(), nullptr);
}

void CopyWithSlash(wchar_t* target, const wchar_t* folder)
{
    size_t n = std::wcslen(folder);
    if (n > MAX_PATH - 2)
        n = MAX_PATH - 2;
    std::wmemcpy(target, folder, n);
    if (n == 0 || !IsSeparator(target[n - 1]))
        target[n++] = L'\\';
    target[n] = 0;
}

// RAII for a file this reader created.
// A file unpacked beside its target and moved over it only once it is complete: a damaged
// item or a failed write leaves the old file as it was and no partial file behind.
class CFileBeside {
public:
    CFileBeside() = default;
    CFileBeside(const CFileBeside&) = delete;
    CFileBeside& operator=(const CFileBeside&) = delete;
    ~CFileBeside()
    {
        Close();
        if (!m_partial.empty())
            DeleteFileW(m_partial.c_str());
    }

    // A new empty file in target's folder; false when none can be made there or target names
    // no file (no name, or a folder).
    bool Open(const std::wstring& target)
    {
        const size_t slash = target.find_last_of(L"\\/");
        const DWORD existing = GetFileAttributesW(target.c_str());
        if (target.empty() || slash + 1 == target.size() ||
            (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0))
            return false;
        const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : target.substr(0, slash + 1);
        wchar_t name[MAX_PATH] = {};
        if (folder.size() >= MAX_PATH - 14 || GetTempFileNameW(folder.c_str(), L"zvz", 0, name) == 0)
            return false;
        m_partial = name;
        m_target = target;
        m_handle = CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_handle != INVALID_HANDLE_VALUE;
    }
    [[nodiscard]] HANDLE Handle() const { return m_handle; }

    // Moves the complete file over the target and gives it the item's attributes.
    bool Commit(DWORD attributes)
    {
        Close();
        if (!MoveFileExW(m_partial.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        m_partial.clear();
        if (attributes != FILE_ATTRIBUTE_NORMAL)
            SetFileAttributesW(m_target.c_str(), attributes);
        return true;
    }

private:
    void Close()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

    std::wstring m_partial;
    std::wstring m_target;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

ZipResult ReadFailure(int code)
{
    if (code == CZipItemDecoder::kBadCrc)
        return ZR_CORRUPT;
    if (code == CZipItemDecoder::kReadFailed)
        return ZR_READ;
    return ZR_FLATE;
}

} // namespace

CZipReader::CZipReader(const char* password)
{
    if (password) {
        const size_t n = std::strlen(password);
        m_password.reset(new char[n + 1]);
        std::memcpy(m_password.get(), password, n + 1);
    }
}

CZipReader::~CZipReader()
{
    Close();
}

ZipResult CZipReader::Open(const void* source, DWORD length, int kind)
{
    wchar_t current[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, current);
    if (n == 0 || n >= MAX_PATH)
        current[0] = 0;
    CopyWithSlash(m_baseDir, current);

    if (kind == static_cast<int>(ZipStreamKind::Handle)) {
        SetLastError(NO_ERROR);
        if (SetFilePointer(static_cast<HANDLE>(const_cast<void*>(source)), 0, nullptr, FILE_CURRENT)
                == INVALID_SET_FILE_POINTER
            && GetLastError() != NO_ERROR)
            return ZR_SEEK;
    }
    ZipInputStream* stream = nullptr;
    const DWORD r = ZipStreamOpen(source, length, kind, &stream);
    if (r != ZR_OK)
        return static_cast<ZipResult>(r);

    // From here the library owns the stream and closes it, on failure too.
    zlib_filefunc_def funcs;
    ZipStreamFillFileFuncs(&funcs);
    m_archive = unzOpen2(reinterpret_cast<const char*>(stream), &funcs);
    return m_archive ? ZR_OK : ZR_NOFILE;
}

ZipResult CZipReader::Close()
{
    CloseItem();
    if (m_archive) {
        unzClose(m_archive);
        m_archive = nullptr;
    }
    return ZR_OK;
}

int CZipReader::ItemCount() const
{
    unz_global_info gi = {};
    if (!m_archive || unzGetGlobalInfo(m_archive, &gi) != UNZ_OK)
        return 0;
    return gi.number_entry > 0x7fffffffUL ? 0x7fffffff : static_cast<int>(gi.number_entry);
}

bool CZipReader::GoTo(int index)
{
    long current = -1;
    unz_file_pos pos = {};
    if (unzGetFilePos(m_archive, &pos) == UNZ_OK)
        current = static_cast<long>(pos.num_of_file);
    if (current < 0 || current > index) {
        if (unzGoToFirstFile(m_archive) != UNZ_OK)
            return false;
        current = 0;
    }
    for (; current < index; ++current) {
        if (unzGoToNextFile(m_archive) != UNZ_OK)
            return false;
    }
    return true;
}

void CZipReader::CloseItem()
{
    m_item.reset();
    m_openItem = -1;
}

ZipResult CZipReader::Find(const wchar_t* name, bool ignoreCase, int* index, ZipEntry* entry)
{
    CloseItem();
    char utf8[MAX_PATH + 1] = {};
    const bool converted = name
        && WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof(utf8), nullptr, nullptr) > 0;
    if (!converted || unzLocateFile(m_archive, utf8, ignoreCase ? 2 : 1) != UNZ_OK) {
        if (index)
            *index = -1;
        if (entry) {
            *entry = ZipEntry{};
            entry->index = -1;
        }
        return ZR_NOTFOUND;
    }
    unz_file_pos pos = {};
    if (unzGetFilePos(m_archive, &pos) != UNZ_OK)
        return ZR_CORRUPT;
    const int found = static_cast<int>(pos.num_of_file);
    if (index)
        *index = found;
    return entry ? Get(found, entry) : ZR_OK;
}

ZipResult CZipReader::Get(int index, ZipEntry* entry)
{
    const int count = ItemCount();
    if (index < -1 || index >= count)
        return ZR_ARGS;
    CloseItem();
    if (index != -1 && index == m_cachedIndex) {
        *entry = m_cachedEntry;
        return ZR_OK;
    }
    if (index == -1) {
        *entry = ZipEntry{};
        entry->index = count;
        return ZR_OK;
    }
    if (!GoTo(index))
        return ZR_CORRUPT;
    return ReadEntry(index, entry);
}

// The library stands at the item already.
ZipResult CZipReader::ReadEntry(int index, ZipEntry* entry)
{
    unz_file_info info = {};
    char rawName[MAX_PATH + 1] = {};
    if (unzGetCurrentFileInfo(m_archive, &info, rawName, MAX_PATH, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZR_CORRUPT;
    rawName[info.size_filename < MAX_PATH ? info.size_filename : MAX_PATH] = 0;

    // Opening raw checks the local header and finds its extra field; no password is needed.
    if (unzOpenCurrentFile2(m_archive, nullptr, nullptr, 1) != UNZ_OK)
        return ZR_CORRUPT;
    const int extraSize = unzGetLocalExtrafield(m_archive, nullptr, 0);
    std::unique_ptr<BYTE[]> extra;
    if (extraSize > 0) {
        extra.reset(new BYTE[extraSize]);
        if (unzGetLocalExtrafield(m_archive, extra.get(), extraSize) != extraSize) {
            unzCloseCurrentFile(m_archive);
            return ZR_READ;
        }
    }
    unzCloseCurrentFile(m_archive);

    ZipEntry e;
    e.index = index;
    wchar_t wide[MAX_PATH + 2] = {};
    MultiByteToWideChar(CP_UTF8, 0, rawName, -1, wide, MAX_PATH + 1);
    const std::wstring clean = SanitizeName(wide);
    const size_t n = clean.size() < MAX_PATH - 1 ? clean.size() : MAX_PATH - 1;
    std::wmemcpy(e.name, clean.c_str(), n);
    e.name[n] = 0;
    e.attr = AttributesOf(info);
    e.mtime = DosToFileTime(info.dosDate);
    e.atime = e.mtime;
    e.ctime = e.mtime;
    if (extraSize > 0)
        ReadExtraTimes(extra.get(), static_cast<size_t>(extraSize), &e);
    e.comp_size = static_cast<LONG>(info.compressed_size);
    e.unc_size = static_cast<LONG>(info.uncompressed_size);

    m_cachedEntry = e;
    m_cachedIndex = index;
    *entry = e;
    return ZR_OK;
}

ZipResult CZipReader::SetBaseDir(const wchar_t* folder)
{
    if (!folder)
        return ZR_ARGS;
    CopyWithSlash(m_baseDir, folder);
    return ZR_OK;
}

ZipResult CZipReader::Unzip(int index, void* target, DWORD size, UnzipMode mode)
{
    // -1 means "the summary" only to ZipGetItem; no negative index names an item here.
    if (index < 0)
        return ZR_ARGS;
    if (mode == UnzipToMemory)
        return target || size == 0 ? UnzipToMemoryItem(index, target, size) : ZR_ARGS;
    if (!target)
        return ZR_ARGS;
    if (mode == UnzipToFile || mode == UnzipToHandle)
        return UnzipToFileOrHandle(index, target, mode);
    return ZR_ARGS;
}

ZipResult CZipReader::UnzipToMemoryItem(int index, void* buffer, DWORD size)
{
    if (index != m_openItem) {
        CloseItem();
        if (index >= ItemCount())
            return ZR_ARGS;
        if (!GoTo(index))
            return ZR_CORRUPT;
        auto decoder = std::make_unique<CZipItemDecoder>(m_archive);
        const DWORD r = decoder->Open(m_password.get());
        if (r != ZR_OK)
            return static_cast<ZipResult>(r);
        m_item = std::move(decoder);
        m_openItem = index;
    }
    bool atEnd = false;
    const int got = m_item->Read(buffer, size, &atEnd);
    if (got <= 0)
        CloseItem();
    if (got < 0)
        return ReadFailure(got);
    if (atEnd)
        return ZR_OK;
    return got > 0 ? ZR_MORE : ZR_FLATE;
}

ZipResult CZipReader::UnzipToFileOrHandle(int index, void* target, UnzipMode mode)
{
    CloseItem();
    if (index >= ItemCount())
        return ZR_ARGS;
    if (!GoTo(index))
        return ZR_CORRUPT;
    ZipEntry entry;
    const ZipResult er = index == m_cachedIndex ? (entry = m_cachedEntry, ZR_OK) : ReadEntry(index, &entry);
    if (er != ZR_OK)
        return er;

    const wchar_t* targetName = mode == UnzipToFile ? static_cast<const wchar_t*>(target) : nullptr;
    if (entry.attr & FILE_ATTRIBUTE_DIRECTORY) {
        if (targetName)
            CreateDirectories(IsAbsolute(targetName) ? nullptr : m_baseDir, targetName);
        return ZR_OK;
    }

    // Open the item first, so a wrong password never leaves an emptied file behind.
    CZipItemDecoder decoder(m_archive);
    const DWORD opened = decoder.Open(m_password.get());
    if (opened != ZR_OK)
        return static_cast<ZipResult>(opened);

    CFileBeside created;
    HANDLE out = static_cast<HANDLE>(target);
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (targetName) {
        const std::wstring whole = targetName;
        const size_t split = whole.find_last_of(L"\\/");
        const std::wstring folder = split == std::wstring::npos ? L"" : whole.substr(0, split + 1);
        const std::wstring file = split == std::wstring::npos ? whole : whole.substr(split + 1);
        std::wstring path;
        if (!folder.empty() && IsAbsolute(folder.c_str())) {
            path = folder + file;
            CreateDirectories(nullptr, folder);
        } else {
            path = m_baseDir + folder + file;
            CreateDirectories(m_baseDir, folder);
        }
        if (path.size() >= MAX_PATH || !created.Open(path))
            return ZR_NOFILE;
        const DWORD attr = entry.attr & ~FILE_ATTRIBUTE_DIRECTORY;
        attributes = attr != 0 ? attr : FILE_ATTRIBUTE_NORMAL;
        out = created.Handle();
    }

    if (!m_unzipBuffer)
        m_unzipBuffer.reset(new BYTE[kUnzipBufferSize]);
    for (;;) {
        bool atEnd = false;
        const int got = decoder.Read(m_unzipBuffer.get(), kUnzipBufferSize, &atEnd);
        if (got < 0)
            return ReadFailure(got);
        if (got > 0) {
            DWORD written = 0;
            if (!WriteFile(out, m_unzipBuffer.get(), static_cast<DWORD>(got), &written, nullptr)
                || written != static_cast<DWORD>(got))
                return ZR_WRITE;
        }
        if (atEnd)
            break;
        if (got == 0)
            return ZR_FLATE;
    }
    SetFileTime(out, &entry.ctime, &entry.atime, &entry.mtime);
    if (targetName && !created.Commit(attributes))
        return ZR_WRITE;
    return ZR_OK;
}

} // namespace ZvUI

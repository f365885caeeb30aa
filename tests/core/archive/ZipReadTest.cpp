// Opening archives, finding items, item records and result texts.

#include "ArchiveFixtures.h"

#include "archive/ZipArchive.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ZvUI;
using namespace ZvTest;

namespace {

struct ZipCloser {
    void operator()(ZipHandle* zip) const { (void)ZipClose(zip); }
};
using ZipPtr = std::unique_ptr<ZipHandle, ZipCloser>;

ZipPtr Open(const std::wstring& archive, const char* password = nullptr)
{
    return ZipPtr(ZipOpenFile(ArchivePath(archive).c_str(), password));
}

std::wstring LastText()
{
    wchar_t text[128];
    ZipFormatMessage(ZR_RECENT, text, 128);
    return text;
}

ZipEntry Lookup(ZipHandle* zip, const std::wstring& rawName)
{
    ZipEntry e;
    int index = -7;
    EXPECT_EQ(ZR_OK, ZipFindItem(zip, rawName.c_str(), false, &index, &e)) << rawName;
    EXPECT_EQ(index, e.index);
    return e;
}

// The DOS time as Windows reads it back: the local wall-clock time of the UTC value.
SYSTEMTIME LocalWallClock(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    return st;
}

} // namespace

// --- opening ---

TEST(ZipOpen, EveryToolsArchiveListsWhatZipfileLists)
{
    for (const wchar_t* archive :
         {L"infozip_deflate.zip", L"infozip_stored.zip", L"infozip_password.zip", L"infozip_streamed.zip",
          L"python.zip"}) {
        SCOPED_TRACE(archive);
        const auto manifest = LoadManifest(archive);
        ASSERT_FALSE(manifest.empty());
        ZipPtr zip = Open(archive);
        ASSERT_TRUE(zip);
        EXPECT_TRUE(ZipIsHandle(zip.get()));

        ZipEntry summary;
        ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), -1, &summary));
        EXPECT_EQ(static_cast<int>(manifest.size()), summary.index);
        EXPECT_STREQ(L"", summary.name);
        EXPECT_EQ(0, summary.unc_size);

        for (size_t i = 0; i < manifest.size(); ++i) {
            ZipEntry e;
            int index = -1;
            ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), manifest[i].name.c_str(), false, &index, &e))
                << manifest[i].name;
            EXPECT_EQ(static_cast<int>(i), index);
            EXPECT_EQ(static_cast<LONG>(manifest[i].size), e.unc_size);
            EXPECT_EQ(manifest[i].isDir, (e.attr & FILE_ATTRIBUTE_DIRECTORY) != 0) << manifest[i].name;

            ZipEntry byIndex;
            ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), static_cast<int>(i), &byIndex));
            EXPECT_STREQ(e.name, byIndex.name);
            EXPECT_EQ(e.unc_size, byIndex.unc_size);
        }
    }
}

TEST(ZipOpen, MemoryAndHandleSourcesReadTheSameArchive)
{
    const std::string bytes = ReadWholeFile(ArchivePath(L"infozip_deflate.zip"));
    ASSERT_FALSE(bytes.empty());
    ZipPtr fromMemory(ZipOpenMemory(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr));
    ASSERT_TRUE(fromMemory);

    HANDLE h = CreateFileW(ArchivePath(L"infozip_deflate.zip").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    {
        ZipPtr fromHandle(ZipOpenHandle(h, nullptr));
        ASSERT_TRUE(fromHandle);
        for (ZipHandle* zip : {fromMemory.get(), fromHandle.get()}) {
            ZipEntry e;
            ASSERT_EQ(ZR_OK, ZipFindItem(zip, L"skin/images/logo.png", false, nullptr, &e));
            EXPECT_EQ(100000, e.unc_size);
        }
    }
    // The caller's handle outlives the archive.
    EXPECT_NE(INVALID_SET_FILE_POINTER, SetFilePointer(h, 0, nullptr, FILE_BEGIN));
    EXPECT_TRUE(CloseHandle(h));
}

TEST(ZipOpen, HandleInsideALargerFileCountsFromItsPosition)
{
    HANDLE h = CreateFileW(ArchivePath(L"embedded.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    SetFilePointer(h, 1000, nullptr, FILE_BEGIN);
    {
        ZipPtr zip(ZipOpenHandle(h, nullptr));
        ASSERT_TRUE(zip);
        ZipEntry e;
        ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"readme.txt", false, nullptr, &e));
        std::string text(e.unc_size, '\0');
        ASSERT_EQ(ZR_OK, ZipUnzipToMemory(zip.get(), e.index, &text[0], e.unc_size));
        EXPECT_EQ(ReadWholeFile(TreePath(L"readme.txt")), text);
    }
    CloseHandle(h);
}

TEST(ZipOpen, FailuresAreNamedByTheLastResult)
{
    EXPECT_FALSE(ZipOpenFile(ArchivePath(L"no-such.zip").c_str(), nullptr));
    EXPECT_EQ(L"Couldn't create/open file", LastText());

    for (const wchar_t* broken : {L"notazip.zip", L"empty.zip", L"truncated.zip", L"truncated_tail.zip"}) {
        EXPECT_FALSE(Open(broken)) << broken;
        EXPECT_EQ(L"Couldn't create/open file", LastText()) << broken;
    }

    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_FALSE(ZipOpenHandle(readEnd, nullptr));
    EXPECT_EQ(L"Zip-bug: trying to seek the unseekable", LastText());
    CloseHandle(readEnd);
    CloseHandle(writeEnd);

    EXPECT_FALSE(ZipOpenMemory(nullptr, 100, nullptr));
    EXPECT_EQ(L"Caller: faulty arguments", LastText());
    EXPECT_FALSE(ZipOpenMemory("PK", 2, nullptr));
    EXPECT_EQ(L"Couldn't create/open file", LastText());
}

TEST(ZipOpen, NullAndForeignHandlesAreRefused)
{
    ZipHandle foreign;
    foreign.kind = 2;
    ZipEntry e;
    char buffer[4];
    EXPECT_EQ(ZR_ARGS, ZipClose(nullptr));
    EXPECT_EQ(ZR_ARGS, ZipGetItem(nullptr, 0, &e));
    EXPECT_EQ(ZR_ARGS, ZipFindItem(nullptr, L"a", true, nullptr, nullptr));
    EXPECT_EQ(ZR_ARGS, ZipUnzipToMemory(nullptr, 0, buffer, 4));
    EXPECT_EQ(ZR_ARGS, ZipSetBaseDir(nullptr, L"C:\\"));
    EXPECT_EQ(ZR_ZMODE, ZipClose(&foreign));
    EXPECT_EQ(ZR_ZMODE, ZipGetItem(&foreign, 0, &e));
    EXPECT_EQ(ZR_ZMODE, ZipUnzipToFile(&foreign, 0, L"x"));
    EXPECT_EQ(ZR_ZMODE, ZipUnzipToHandle(&foreign, 0, nullptr));
    EXPECT_FALSE(ZipIsHandle(nullptr));
    EXPECT_FALSE(ZipIsHandle(&foreign));
}

// --- lookup ---

TEST(ZipFind, IgnoreCaseFindsMixedCaseNamesAndExactDoesNot)
{
    for (const wchar_t* archive : {L"infozip_deflate.zip", L"python.zip"}) {
        SCOPED_TRACE(archive);
        ZipPtr zip = Open(archive);
        ASSERT_TRUE(zip);
        int index = -7;
        ZipEntry e;
        EXPECT_EQ(ZR_OK, ZipFindItem(zip.get(), L"SKIN/main.xml", true, &index, &e));
        EXPECT_GE(index, 0);
        EXPECT_EQ(index, e.index);

        EXPECT_EQ(ZR_NOTFOUND, ZipFindItem(zip.get(), L"SKIN/main.xml", false, &index, &e));
        EXPECT_EQ(-1, index);
        EXPECT_EQ(-1, e.index);
        EXPECT_STREQ(L"", e.name);
        EXPECT_EQ(L"File not found in the zipfile", LastText());
    }
}

TEST(ZipFind, BackslashAndUnicodeNamesAreFoundAsStored)
{
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);
    ZipEntry e;
    EXPECT_EQ(ZR_OK, ZipFindItem(zip.get(), L"DIR\\Sub\\BACK.txt", true, nullptr, &e));
    EXPECT_STREQ(L"dir\\sub\\back.txt", e.name);
    // Callers turn backslashes into slashes themselves; the reader does not guess.
    EXPECT_EQ(ZR_NOTFOUND, ZipFindItem(zip.get(), L"dir/sub/back.txt", true, nullptr, nullptr));

    EXPECT_EQ(ZR_OK, ZipFindItem(zip.get(), L"皮肤/图标.png", false, nullptr, &e));
    EXPECT_STREQ(L"皮肤/图标.png", e.name);
    EXPECT_EQ(29, e.unc_size);

    int index = 5;
    EXPECT_EQ(ZR_NOTFOUND, ZipFindItem(zip.get(), nullptr, true, &index, nullptr));
    EXPECT_EQ(-1, index);
}

// --- item records ---

TEST(ZipGetItem, IndicesOutsideTheArchiveAreRefused)
{
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);
    ZipEntry summary;
    ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), -1, &summary));
    for (int bad : {-2, -100, INT_MIN, summary.index, summary.index + 1}) {
        ZipEntry e;
        e.index = 99;
        e.unc_size = 99;
        EXPECT_EQ(ZR_ARGS, ZipGetItem(zip.get(), bad, &e)) << bad;
        EXPECT_EQ(0, e.index);
        EXPECT_EQ(0, e.unc_size);
    }
    EXPECT_EQ(ZR_ARGS, ZipGetItem(zip.get(), 0, nullptr));
    // Going back after the end still works.
    ZipEntry first;
    EXPECT_EQ(ZR_OK, ZipGetItem(zip.get(), summary.index - 1, &first));
    EXPECT_EQ(ZR_OK, ZipGetItem(zip.get(), 0, &first));
    EXPECT_STREQ(L"Skin/Main.XML", first.name);
}

TEST(ZipGetItem, NamesNeverLeaveTheTargetFolder)
{
    const struct {
        const wchar_t* stored;
        const wchar_t* name;
    } rows[] = {
        {L"C:\\skin\\a.png", L"skin\\a.png"},
        {L"/images/b.png", L"images/b.png"},
        {L"x/../y.png", L"y.png"},
        {L"a\\..\\b", L"b"},
        {L"a/b/../c", L"c"},
        {L"../../evil.txt", L"evil.txt"},
        {L"..\\..\\evil2.txt", L"evil2.txt"},
        {L"a/b/..", L""},
        {L"D:/..\\x/../z.txt", L"z.txt"},
        {L"q/.. /r.txt", L"r.txt"},
        {L"\\\\server\\share\\s.txt", L"server\\share\\s.txt"},
        {L"dir\\sub\\back.txt", L"dir\\sub\\back.txt"},
    };
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);
    for (const auto& row : rows)
        EXPECT_STREQ(row.name, Lookup(zip.get(), row.stored).name) << row.stored;
}

TEST(ZipGetItem, AttributesFollowTheHostSystem)
{
    const struct {
        const wchar_t* stored;
        DWORD attr;
    } rows[] = {
        {L"dos_attrs.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                               | FILE_ATTRIBUTE_ARCHIVE},
        {L"dos_plain.txt", FILE_ATTRIBUTE_ARCHIVE},
        {L"unix_dir/", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE},
        {L"unix_file.txt", FILE_ATTRIBUTE_ARCHIVE},
        {L"unix_ro.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
    };
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);
    for (const auto& row : rows)
        EXPECT_EQ(row.attr, Lookup(zip.get(), row.stored).attr) << row.stored;

    // Info-ZIP on Linux writes Unix modes: the folder and the files it made.
    ZipPtr info = Open(L"infozip_deflate.zip");
    ASSERT_TRUE(info);
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE, Lookup(info.get(), L"skin/").attr);
    EXPECT_EQ(FILE_ATTRIBUTE_ARCHIVE, Lookup(info.get(), L"readme.txt").attr);
}

TEST(ZipGetItem, TimesComeFromTheTimestampBlockWithinItsBounds)
{
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);

    // Without a block all three are the DOS time 2021-03-04 05:06:08, read as local time.
    const ZipEntry plain = Lookup(zip.get(), L"unix_file.txt");
    const SYSTEMTIME st = LocalWallClock(plain.mtime);
    EXPECT_EQ(2021, st.wYear);
    EXPECT_EQ(3, st.wMonth);
    EXPECT_EQ(4, st.wDay);
    EXPECT_EQ(5, st.wHour);
    EXPECT_EQ(6, st.wMinute);
    EXPECT_EQ(8, st.wSecond);
    const unsigned long long dos = FileTimeValue(plain.mtime);
    EXPECT_EQ(dos, FileTimeValue(plain.atime));
    EXPECT_EQ(dos, FileTimeValue(plain.ctime));

    const struct {
        const wchar_t* stored;
        unsigned long long mtime, atime, ctime;
    } rows[] = {
        {L"ut_full.txt", UnixToFileTime(1500000000), UnixToFileTime(1500000100), UnixToFileTime(1500000200)},
        {L"ut_short.txt", UnixToFileTime(1500000000), dos, dos},
        {L"ut_overrun.txt", UnixToFileTime(1500000000), dos, dos},
        {L"ut_after_other.txt", UnixToFileTime(1500000300), dos, dos},
    };
    for (const auto& row : rows) {
        const ZipEntry e = Lookup(zip.get(), row.stored);
        EXPECT_EQ(row.mtime, FileTimeValue(e.mtime)) << row.stored;
        EXPECT_EQ(row.atime, FileTimeValue(e.atime)) << row.stored;
        EXPECT_EQ(row.ctime, FileTimeValue(e.ctime)) << row.stored;
    }

    // Info-ZIP writes modification and access time; Python reads the same block.
    for (const wchar_t* archive : {L"infozip_stored.zip", L"infozip_password.zip"}) {
        ZipPtr info = Open(archive);
        ASSERT_TRUE(info);
        for (const ManifestItem& item : LoadManifest(archive)) {
            ASSERT_NE(-1, item.mtime) << item.name;
            ASSERT_NE(-1, item.atime) << item.name;
            const ZipEntry e = Lookup(info.get(), item.name);
            EXPECT_EQ(UnixToFileTime(item.mtime), FileTimeValue(e.mtime)) << item.name;
            EXPECT_EQ(UnixToFileTime(item.atime), FileTimeValue(e.atime)) << item.name;
        }
        // The folder's files got their modification time from os.utime.
        EXPECT_EQ(UnixToFileTime(1600000000), FileTimeValue(Lookup(info.get(), L"skin/images/logo.png").mtime));
    }
}

TEST(ZipGetItem, SizesOfStoredAndDeflatedItems)
{
    ZipPtr stored = Open(L"infozip_stored.zip");
    ZipPtr deflated = Open(L"infozip_deflate.zip");
    ASSERT_TRUE(stored && deflated);
    const ZipEntry s = Lookup(stored.get(), L"skin/Main.XML");
    const ZipEntry d = Lookup(deflated.get(), L"skin/Main.XML");
    EXPECT_EQ(1153, s.unc_size);
    EXPECT_EQ(1153, s.comp_size);
    EXPECT_EQ(1153, d.unc_size);
    EXPECT_LT(d.comp_size, d.unc_size);
}

// --- result texts ---

TEST(ZipFormatMessage, EveryCodeHasItsText)
{
    const struct {
        DWORD code;
        const wchar_t* text;
    } rows[] = {
        {ZR_OK, L"Success"},
        {ZR_NODUPH, L"Culdn't duplicate handle"},
        {ZR_NOFILE, L"Couldn't create/open file"},
        {ZR_NOALLOC, L"Failed to allocate memory"},
        {ZR_WRITE, L"Error writing to file"},
        {ZR_NOTFOUND, L"File not found in the zipfile"},
        {ZR_MORE, L"Still more data to unzip"},
        {ZR_CORRUPT, L"Zipfile is corrupt or not a zipfile"},
        {ZR_READ, L"Error reading file"},
        {ZR_PASSWORD, L"Correct password required"},
        {ZR_ARGS, L"Caller: faulty arguments"},
        {ZR_NOTMMAP, L"Caller: can only get memory of a memory zipfile"},
        {ZR_MEMSIZE, L"Caller: not enough space allocated for memory zipfile"},
        {ZR_FAILED, L"Caller: there was a previous error"},
        {ZR_ENDED, L"Caller: additions to the zip have already been ended"},
        {ZR_MISSIZE, L"Zip-bug: the anticipated size turned out wrong"},
        {ZR_PARTIALUNZ, L"Caller: the file had already been partially unzipped"},
        {ZR_ZMODE, L"Caller: mixing creation and opening of zip"},
        {ZR_NOTINITED, L"Zip-bug: internal initialisation not completed"},
        {ZR_SEEK, L"Zip-bug: trying to seek the unseekable"},
        {ZR_NOCHANGE, L"Zip-bug: tried to change mind, but not allowed"},
        {ZR_FLATE, L"Zip-bug: an internal error during flation"},
        {0x12345, L"unknown zip result code"},
        {2, L"unknown zip result code"},
    };
    for (const auto& row : rows) {
        wchar_t text[128];
        EXPECT_EQ(std::wcslen(row.text), ZipFormatMessage(row.code, text, 128)) << row.code;
        EXPECT_STREQ(row.text, text) << row.code;
    }
}

TEST(ZipFormatMessage, ShortBuffersAndTheLastResult)
{
    EXPECT_EQ(ZR_ARGS, ZipClose(nullptr));
    const std::wstring full = L"Caller: faulty arguments";
    EXPECT_EQ(full.size(), ZipFormatMessage(ZR_RECENT, nullptr, 0));

    wchar_t text[10];
    wmemset(text, L'#', 10);
    EXPECT_EQ(full.size(), ZipFormatMessage(ZR_RECENT, text, 10));
    EXPECT_EQ(full.substr(0, 9), std::wstring(text));

    wchar_t one[1] = {L'#'};
    EXPECT_EQ(full.size(), ZipFormatMessage(ZR_RECENT, one, 1));
    EXPECT_EQ(L'\0', one[0]);

    wchar_t exact[25];
    EXPECT_EQ(full.size(), ZipFormatMessage(ZR_ARGS, exact, 25));
    EXPECT_EQ(full, exact);
}

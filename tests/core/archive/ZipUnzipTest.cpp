// Unpacking to memory, files and handles; passwords; damaged archives.

#include "ArchiveFixtures.h"

#include "archive/ZipArchive.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

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

// Whole item in one call into a buffer of its uncompressed size, the way the skin loaders read.
ZipResult UnzipWhole(ZipHandle* zip, const std::wstring& name, std::string* data)
{
    ZipEntry e;
    ZipResult r = ZipFindItem(zip, name.c_str(), true, nullptr, &e);
    if (r != ZR_OK)
        return r;
    data->assign(static_cast<size_t>(e.unc_size), '\0');
    return ZipUnzipToMemory(zip, e.index, data->empty() ? nullptr : &(*data)[0], e.unc_size);
}

std::wstring Backslashed(std::wstring name)
{
    for (wchar_t& c : name)
        if (c == L'/')
            c = L'\\';
    return name;
}

const std::set<DWORD> kKnownResults = {ZR_OK,      ZR_NOFILE, ZR_WRITE,    ZR_NOTFOUND, ZR_MORE, ZR_CORRUPT,
                                       ZR_READ,    ZR_PASSWORD, ZR_ARGS,   ZR_FLATE};

} // namespace

// --- to memory ---

TEST(ZipUnzipToMemory, WholeItemsMatchTheFilesTheyWereMadeFrom)
{
    for (const wchar_t* archive : {L"infozip_deflate.zip", L"infozip_stored.zip", L"infozip_streamed.zip"}) {
        SCOPED_TRACE(archive);
        ZipPtr zip = Open(archive);
        ASSERT_TRUE(zip);
        for (const ManifestItem& item : LoadManifest(archive)) {
            if (item.isDir)
                continue;
            std::string data;
            ASSERT_EQ(ZR_OK, UnzipWhole(zip.get(), item.name, &data)) << item.name;
            EXPECT_EQ(ReadWholeFile(TreePath(Backslashed(item.name))), data) << item.name;
        }
    }
}

TEST(ZipUnzipToMemory, EveryPythonItemMatchesZipfilesCrc)
{
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);
    const auto manifest = LoadManifest(L"python.zip");
    for (size_t i = 0; i < manifest.size(); ++i) {
        std::string data(manifest[i].size, '\0');
        ASSERT_EQ(ZR_OK, ZipUnzipToMemory(zip.get(), static_cast<int>(i), data.empty() ? nullptr : &data[0],
                                          manifest[i].size))
            << manifest[i].name;
        EXPECT_EQ(manifest[i].crc, Crc32(data.data(), data.size())) << manifest[i].name;
    }
    std::string big;
    ASSERT_EQ(ZR_OK, UnzipWhole(zip.get(), L"big.bin", &big));
    const std::string logo = ReadWholeFile(TreePath(L"skin\\images\\logo.png"));
    EXPECT_EQ(logo + logo, big);
}

TEST(ZipUnzipToMemory, PiecesContinueWhereTheLastOneStopped)
{
    const std::string logo = ReadWholeFile(TreePath(L"skin\\images\\logo.png"));
    for (const wchar_t* archive : {L"infozip_deflate.zip", L"infozip_stored.zip"}) {
        for (unsigned piece : {1u, 999u, 16384u, 40000u}) {
            SCOPED_TRACE(testing::Message() << archive << " piece " << piece);
            ZipPtr zip = Open(archive);
            ASSERT_TRUE(zip);
            int index = -1;
            ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"skin/images/logo.png", false, &index, nullptr));
            std::string joined;
            std::string buffer(piece, '\0');
            ZipResult r = ZR_MORE;
            int calls = 0;
            while (r == ZR_MORE && calls < 200000) {
                r = ZipUnzipToMemory(zip.get(), index, &buffer[0], piece);
                joined.append(buffer.data(), std::min<size_t>(piece, logo.size() - joined.size()));
                ++calls;
            }
            EXPECT_EQ(ZR_OK, r);
            EXPECT_EQ(static_cast<int>((logo.size() + piece - 1) / piece), calls);
            EXPECT_EQ(logo, joined);
            // The item stays open after its last bytes; one more call delivers nothing and ends it.
            EXPECT_EQ(ZR_OK, ZipUnzipToMemory(zip.get(), index, &buffer[0], piece));
        }
    }
}

TEST(ZipUnzipToMemory, AnyOtherCallRestartsAnItemReadInPieces)
{
    ZipPtr zip = Open(L"infozip_deflate.zip");
    ASSERT_TRUE(zip);
    const std::string logo = ReadWholeFile(TreePath(L"skin\\images\\logo.png"));
    int logoIndex = -1;
    ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"skin/images/logo.png", false, &logoIndex, nullptr));
    char part[500];
    ASSERT_EQ(ZR_MORE, ZipUnzipToMemory(zip.get(), logoIndex, part, sizeof(part)));
    ASSERT_EQ(ZR_MORE, ZipUnzipToMemory(zip.get(), logoIndex, part, sizeof(part)));
    EXPECT_EQ(logo.substr(500, 500), std::string(part, sizeof(part)));

    ZipEntry e;
    ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), 0, &e));
    ASSERT_EQ(ZR_MORE, ZipUnzipToMemory(zip.get(), logoIndex, part, sizeof(part)));
    EXPECT_EQ(logo.substr(0, 500), std::string(part, sizeof(part)));

    // Reading another item in between also starts the first one over.
    std::string readme;
    ASSERT_EQ(ZR_OK, UnzipWhole(zip.get(), L"readme.txt", &readme));
    ASSERT_EQ(ZR_MORE, ZipUnzipToMemory(zip.get(), logoIndex, part, sizeof(part)));
    EXPECT_EQ(logo.substr(0, 500), std::string(part, sizeof(part)));
}

TEST(ZipUnzipToMemory, EmptyItemsAndFolders)
{
    ZipPtr zip = Open(L"infozip_deflate.zip");
    ASSERT_TRUE(zip);
    std::string data = "x";
    EXPECT_EQ(ZR_OK, UnzipWhole(zip.get(), L"empty.txt", &data));
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(ZR_OK, UnzipWhole(zip.get(), L"skin/", &data));
}

TEST(ZipUnzip, NegativeAndTooLargeIndicesAreRefused)
{
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);
    ZipEntry summary;
    ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), -1, &summary));
    CScratchFolder scratch;
    ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), scratch.Path().c_str()));
    HANDLE h = CreateFileW((scratch.Path() + L"h.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    char buffer[64];
    for (int bad : {-1, -2, -1000, INT_MIN, summary.index, summary.index + 5}) {
        EXPECT_EQ(ZR_ARGS, ZipUnzipToMemory(zip.get(), bad, buffer, sizeof(buffer))) << bad;
        EXPECT_EQ(ZR_ARGS, ZipUnzipToFile(zip.get(), bad, L"out.bin")) << bad;
        EXPECT_EQ(ZR_ARGS, ZipUnzipToHandle(zip.get(), bad, h)) << bad;
    }
    CloseHandle(h);
    EXPECT_EQ(std::vector<std::wstring>{L"h.bin"}, ListFolder(scratch.Path()));
    EXPECT_EQ(ZR_ARGS, ZipUnzipToMemory(zip.get(), 0, nullptr, 10));
}

// --- to files and handles ---

TEST(ZipUnzipToFile, ExtractingEveryItemRebuildsTheTree)
{
    for (const wchar_t* archive : {L"infozip_deflate.zip", L"infozip_stored.zip"}) {
        SCOPED_TRACE(archive);
        CScratchFolder scratch;
        ZipPtr zip = Open(archive);
        ASSERT_TRUE(zip);
        ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), (scratch.Path() + L"out").c_str()));
        ZipEntry summary;
        ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), -1, &summary));
        for (int i = 0; i < summary.index; ++i) {
            ZipEntry e;
            ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), i, &e));
            ASSERT_EQ(ZR_OK, ZipUnzipToFile(zip.get(), i, e.name)) << e.name;
        }
        const std::wstring out = scratch.Path() + L"out\\";
        EXPECT_TRUE(GetFileAttributesW((out + L"skin\\images").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        for (const wchar_t* file : {L"skin\\images\\logo.png", L"skin\\Main.XML", L"readme.txt", L"empty.txt"}) {
            EXPECT_EQ(ReadWholeFile(TreePath(file)), ReadWholeFile(out + file)) << file;
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((out + file).c_str())) << file;
        }

        // The file carries the item's times.
        HANDLE h = CreateFileW((out + L"skin\\images\\logo.png").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        FILETIME c, a, m;
        ASSERT_TRUE(GetFileTime(h, &c, &a, &m));
        CloseHandle(h);
        EXPECT_EQ(UnixToFileTime(1600000000), FileTimeValue(m));
    }
}

TEST(ZipUnzipToFile, HostileNamesStayInsideTheBaseFolder)
{
    CScratchFolder jail;
    ZipPtr zip = Open(L"python.zip");
    ASSERT_TRUE(zip);
    const std::wstring base = jail.Path() + L"out\\";
    ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), base.c_str()));
    ZipEntry summary;
    ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), -1, &summary));
    for (int i = 0; i < summary.index; ++i) {
        ZipEntry e;
        ASSERT_EQ(ZR_OK, ZipGetItem(zip.get(), i, &e));
        // Some names cannot be files on Windows (an empty one); they fail, nothing else happens.
        const ZipResult r = ZipUnzipToFile(zip.get(), i, e.name);
        EXPECT_TRUE(r == ZR_OK || r == ZR_NOFILE) << e.name << " " << r;
    }
    EXPECT_EQ(std::vector<std::wstring>{L"out"}, ListFolder(jail.Path()));
    EXPECT_EQ("content of ../../evil.txt\n", ReadWholeFile(base + L"evil.txt"));
    EXPECT_EQ("content of ..\\..\\evil2.txt\n", ReadWholeFile(base + L"evil2.txt"));
    EXPECT_EQ("content of C:\\skin\\a.png\n", ReadWholeFile(base + L"skin\\a.png"));
    EXPECT_EQ("content of \\\\server\\share\\s.txt\n", ReadWholeFile(base + L"server\\share\\s.txt"));
    EXPECT_EQ("content of 皮肤/图标.png\n", ReadWholeFile(base + L"皮肤\\图标.png"));
    EXPECT_TRUE(GetFileAttributesW((base + L"unix_dir").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(ZipUnzipToFile, AbsoluteTargetsIgnoreTheBaseFolder)
{
    CScratchFolder scratch;
    ZipPtr zip = Open(L"infozip_deflate.zip");
    ASSERT_TRUE(zip);
    ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), (scratch.Path() + L"base/").c_str()));
    int index = -1;
    ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"readme.txt", false, &index, nullptr));
    const std::wstring target = scratch.Path() + L"elsewhere\\deep\\copy.txt";
    ASSERT_EQ(ZR_OK, ZipUnzipToFile(zip.get(), index, target.c_str()));
    EXPECT_EQ(ReadWholeFile(TreePath(L"readme.txt")), ReadWholeFile(target));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((scratch.Path() + L"base\\elsewhere").c_str()));

    // A relative target with folders lands under the base folder.
    ASSERT_EQ(ZR_OK, ZipUnzipToFile(zip.get(), index, L"x/y\\z.txt"));
    EXPECT_EQ(ReadWholeFile(TreePath(L"readme.txt")), ReadWholeFile(scratch.Path() + L"base\\x\\y\\z.txt"));
}

TEST(ZipUnzipToHandle, WritesIntoTheCallersOpenFile)
{
    CScratchFolder scratch;
    ZipPtr zip = Open(L"infozip_deflate.zip");
    ASSERT_TRUE(zip);
    int logo = -1;
    int folder = -1;
    ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"skin/images/logo.png", false, &logo, nullptr));
    ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"skin/images/", false, &folder, nullptr));
    const std::wstring path = scratch.Path() + L"joined.bin";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ASSERT_EQ(ZR_OK, ZipUnzipToHandle(zip.get(), logo, h));
    ASSERT_EQ(ZR_OK, ZipUnzipToHandle(zip.get(), folder, h));
    ASSERT_EQ(ZR_OK, ZipUnzipToHandle(zip.get(), logo, h));
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, "end", 3, &written, nullptr));
    EXPECT_TRUE(CloseHandle(h));
    const std::string logoBytes = ReadWholeFile(TreePath(L"skin\\images\\logo.png"));
    EXPECT_EQ(logoBytes + logoBytes + "end", ReadWholeFile(path));
}

TEST(ZipUnzipToHandle, AReadOnlyHandleFailsToWrite)
{
    ZipPtr zip = Open(L"infozip_deflate.zip");
    ASSERT_TRUE(zip);
    int index = -1;
    ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"readme.txt", false, &index, nullptr));
    HANDLE h = CreateFileW(TreePath(L"readme.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(ZR_WRITE, ZipUnzipToHandle(zip.get(), index, h));
    CloseHandle(h);
}

// --- passwords ---

TEST(ZipPassword, TheRightPasswordUnpacksEveryItem)
{
    ZipPtr zip = Open(L"infozip_password.zip", "secret");
    ASSERT_TRUE(zip);
    for (const ManifestItem& item : LoadManifest(L"infozip_password.zip")) {
        if (item.isDir)
            continue;
        std::string data;
        ASSERT_EQ(ZR_OK, UnzipWhole(zip.get(), item.name, &data)) << item.name;
        EXPECT_EQ(ReadWholeFile(TreePath(Backslashed(item.name))), data) << item.name;
    }
    CScratchFolder scratch;
    ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), scratch.Path().c_str()));
    int index = -1;
    ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"skin/images/logo.png", false, &index, nullptr));
    ASSERT_EQ(ZR_OK, ZipUnzipToFile(zip.get(), index, L"logo.png"));
    EXPECT_EQ(ReadWholeFile(TreePath(L"skin\\images\\logo.png")), ReadWholeFile(scratch.Path() + L"logo.png"));
}

TEST(ZipPassword, AWrongOrMissingPasswordIsNamed)
{
    for (const char* password : {static_cast<const char*>(nullptr), "wrong", "", "Secret"}) {
        SCOPED_TRACE(password ? password : "(none)");
        ZipPtr zip = Open(L"infozip_password.zip", password);
        ASSERT_TRUE(zip);
        // Names, sizes and times need no password.
        ZipEntry e;
        ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"skin/Main.XML", false, nullptr, &e));
        EXPECT_EQ(1153, e.unc_size);
        std::string data;
        EXPECT_EQ(ZR_PASSWORD, UnzipWhole(zip.get(), L"skin/Main.XML", &data));
        wchar_t text[64];
        ZipFormatMessage(ZR_RECENT, text, 64);
        EXPECT_STREQ(L"Correct password required", text);

        // No file is made (or emptied) for an item that cannot be read.
        CScratchFolder scratch;
        WriteWholeFile(scratch.Path() + L"keep.xml", "precious");
        ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), scratch.Path().c_str()));
        EXPECT_EQ(ZR_PASSWORD, ZipUnzipToFile(zip.get(), e.index, L"keep.xml"));
        EXPECT_EQ("precious", ReadWholeFile(scratch.Path() + L"keep.xml"));
    }
}

// --- damaged archives ---

TEST(ZipDamaged, ACrcMismatchIsAnErrorNotSuccess)
{
    ZipPtr zip = Open(L"crc_bad.zip");
    ASSERT_TRUE(zip);
    for (const wchar_t* name : {L"stored.txt", L"deflated.txt"}) {
        std::string data;
        EXPECT_EQ(ZR_CORRUPT, UnzipWhole(zip.get(), name, &data)) << name;

        // In pieces, every piece but the last is fine; the last one tells.
        int index = -1;
        ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), name, false, &index, nullptr));
        char piece[100];
        ZipResult r = ZR_MORE;
        for (int calls = 0; r == ZR_MORE && calls < 1000; ++calls)
            r = ZipUnzipToMemory(zip.get(), index, piece, sizeof(piece));
        EXPECT_EQ(ZR_CORRUPT, r) << name;

        CScratchFolder scratch;
        ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), scratch.Path().c_str()));
        EXPECT_EQ(ZR_CORRUPT, ZipUnzipToFile(zip.get(), index, L"out.txt")) << name;
        HANDLE h = CreateFileW((scratch.Path() + L"h.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
        EXPECT_EQ(ZR_CORRUPT, ZipUnzipToHandle(zip.get(), index, h)) << name;
        CloseHandle(h);
    }
    std::string good;
    EXPECT_EQ(ZR_OK, UnzipWhole(zip.get(), L"good.txt", &good));
    EXPECT_EQ("this one is fine\n", good);
}

TEST(ZipDamaged, ADamagedItemLeavesTheFileItWouldReplaceAsItWas)
{
    ZipPtr zip = Open(L"crc_bad.zip");
    ASSERT_TRUE(zip);
    CScratchFolder scratch;
    ASSERT_EQ(ZR_OK, ZipSetBaseDir(zip.get(), scratch.Path().c_str()));
    for (const wchar_t* name : {L"stored.txt", L"deflated.txt"}) {
        WriteWholeFile(scratch.Path() + L"kept.txt", "precious");
        int index = -1;
        ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), name, false, &index, nullptr));
        EXPECT_EQ(ZR_CORRUPT, ZipUnzipToFile(zip.get(), index, L"kept.txt")) << name;
        EXPECT_EQ("precious", ReadWholeFile(scratch.Path() + L"kept.txt")) << name;
        EXPECT_EQ(ListFolder(scratch.Path()), std::vector<std::wstring>{L"kept.txt"}) << "a partial file stayed";
    }
    // A good item replaces the old file whole.
    int index = -1;
    ASSERT_EQ(ZR_OK, ZipFindItem(zip.get(), L"good.txt", false, &index, nullptr));
    ASSERT_EQ(ZR_OK, ZipUnzipToFile(zip.get(), index, L"kept.txt"));
    EXPECT_EQ("this one is fine\n", ReadWholeFile(scratch.Path() + L"kept.txt"));
    EXPECT_EQ(ListFolder(scratch.Path()), std::vector<std::wstring>{L"kept.txt"});
}

TEST(ZipDamaged, ABadLocalSignatureSpoilsOnlyItsItem)
{
    ZipPtr zip = Open(L"badsig.zip");
    ASSERT_TRUE(zip);
    int index = -1;
    ZipEntry e;
    EXPECT_EQ(ZR_CORRUPT, ZipFindItem(zip.get(), L"readme.txt", false, &index, &e));
    EXPECT_GE(index, 0);
    char buffer[64];
    EXPECT_EQ(ZR_CORRUPT, ZipUnzipToMemory(zip.get(), index, buffer, sizeof(buffer)));
    EXPECT_EQ(ZR_CORRUPT, ZipUnzipToFile(zip.get(), index, L"never.txt"));
    std::string data;
    EXPECT_EQ(ZR_OK, UnzipWhole(zip.get(), L"skin/Main.XML", &data));
    EXPECT_EQ(ReadWholeFile(TreePath(L"skin\\Main.XML")), data);
}

TEST(ZipDamaged, FlippedBytesInDeflatedDataAreAnError)
{
    ZipPtr zip = Open(L"flipped.zip");
    ASSERT_TRUE(zip);
    std::string data;
    const ZipResult r = UnzipWhole(zip.get(), L"skin/images/logo.png", &data);
    EXPECT_TRUE(r == ZR_FLATE || r == ZR_CORRUPT) << r;
    EXPECT_EQ(ZR_OK, UnzipWhole(zip.get(), L"readme.txt", &data));
}

TEST(ZipDamaged, ABrokenCentralRecordIsCorruptFromThereOn)
{
    ZipPtr zip = Open(L"cd_flipped.zip");
    if (!zip) {
        // The library may refuse the whole directory; that is an answer too.
        wchar_t text[64];
        ZipFormatMessage(ZR_RECENT, text, 64);
        EXPECT_STREQ(L"Couldn't create/open file", text);
        return;
    }
    ZipEntry e;
    EXPECT_EQ(ZR_OK, ZipGetItem(zip.get(), 0, &e));
    EXPECT_EQ(ZR_CORRUPT, ZipGetItem(zip.get(), 1, &e));
    EXPECT_EQ(ZR_CORRUPT, ZipGetItem(zip.get(), 3, &e));
    char buffer[16];
    EXPECT_EQ(ZR_CORRUPT, ZipUnzipToMemory(zip.get(), 2, buffer, sizeof(buffer)));
    EXPECT_EQ(ZR_OK, ZipGetItem(zip.get(), 0, &e));
}

// Every single flipped byte and every cut of a small archive: known answers, never a crash.
TEST(ZipDamaged, EveryFlippedByteAndEveryCutIsAnsweredCalmly)
{
    const std::string src = ReadWholeFile(ArchivePath(L"crc_bad.zip"));
    ASSERT_FALSE(src.empty());
    std::string buffer(4096, '\0');
    auto exercise = [&](const std::string& bytes) {
        ZipHandle* zip = ZipOpenMemory(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr);
        if (!zip)
            return;
        ZipEntry summary;
        EXPECT_EQ(ZR_OK, ZipGetItem(zip, -1, &summary));
        for (int i = 0; i < summary.index && i < 8; ++i) {
            ZipEntry e;
            const ZipResult g = ZipGetItem(zip, i, &e);
            EXPECT_TRUE(kKnownResults.count(g)) << g;
            ZipResult r = ZR_MORE;
            for (int calls = 0; r == ZR_MORE && calls < 64; ++calls)
                r = ZipUnzipToMemory(zip, i, &buffer[0], static_cast<unsigned>(buffer.size()));
            EXPECT_TRUE(kKnownResults.count(r)) << r;
        }
        EXPECT_EQ(ZR_OK, ZipClose(zip));
    };
    for (size_t pos = 0; pos < src.size(); ++pos) {
        std::string bytes = src;
        bytes[pos] = static_cast<char>(bytes[pos] ^ 0x5A);
        exercise(bytes);
    }
    for (size_t len = 0; len < src.size(); len += 7)
        exercise(src.substr(0, len));
}

// Loading markup from memory in each encoding, from files under the resource folder and
// from items of the skin archive.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlTestSupport.h"
#include "xml/XmlDocument.h"
#include "xml/XmlResourceHooks.h"

extern "C" {
#include "unzip.h"
// After unzip.h, which brings the declarations iowin32.h builds on.
#include "iowin32.h"
}

using ZvUI::CUIString;
using ZvUI::CXmlDocument;
using ZvUI::XmlResourceHooks;
using ZvUITest::CorpusFolder;
using ZvUITest::DumpTree;
using ZvUITest::LastError;
using ZvUITest::LastLocation;
using ZvUITest::ReadLines;
using ZvUITest::TempFolder;

namespace {

const BYTE* Bytes(const std::string& s)
{
    return reinterpret_cast<const BYTE*>(s.data());
}

DWORD Size(const std::string& s)
{
    return static_cast<DWORD>(s.size());
}

// --- memory ---

TEST(XmlLoadFromMem, Utf8WithAndWithoutMarkReadAlike)
{
    const std::string plain = "<a t=\"\xE4\xB8\xAD\xE6\x96\x87\"/>";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromMem(Bytes(plain), Size(plain)));
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"t"), L"\x4E2D\x6587");
    const std::string marked = "\xEF\xBB\xBF" + plain;
    ASSERT_TRUE(document.LoadFromMem(Bytes(marked), Size(marked), CXmlDocument::kEncodingUtf8));
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"t"), L"\x4E2D\x6587");
}

TEST(XmlLoadFromMem, MarkOnlyOrNothingIsAnEmptyDocument)
{
    CXmlDocument document;
    EXPECT_TRUE(document.LoadFromMem(reinterpret_cast<const BYTE*>("\xEF\xBB\xBF"), 3));
    EXPECT_FALSE(document.GetRoot().IsValid());
    EXPECT_TRUE(document.LoadFromMem(reinterpret_cast<const BYTE*>(""), 0));
    EXPECT_FALSE(document.GetRoot().IsValid());
}

TEST(XmlLoadFromMem, Utf16NeedsAByteOrderMark)
{
    const std::string little("\xFF\xFE<\0a\0/\0>\0", 10);
    const std::string big("\xFE\xFF\0<\0a\0/\0>", 10);
    const std::string bare("<\0a\0/\0>\0", 8);
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromMem(Bytes(little), Size(little), CXmlDocument::kEncodingUtf16));
    EXPECT_STREQ(document.GetRoot().GetName(), L"a");
    ASSERT_TRUE(document.LoadFromMem(Bytes(big), Size(big), 7));
    EXPECT_STREQ(document.GetRoot().GetName(), L"a");
    EXPECT_FALSE(document.LoadFromMem(Bytes(bare), Size(bare), CXmlDocument::kEncodingUtf16));
    EXPECT_FALSE(document.IsValid());
    EXPECT_FALSE(document.LoadFromMem(reinterpret_cast<const BYTE*>("\xFF"), 1, CXmlDocument::kEncodingUtf16));
    // An odd last byte is dropped.
    const std::string odd = little + "x";
    ASSERT_TRUE(document.LoadFromMem(Bytes(odd), Size(odd), CXmlDocument::kEncodingUtf16));
    EXPECT_STREQ(document.GetRoot().GetName(), L"a");
}

TEST(XmlLoadFromMem, BigEndianInputIsSwappedInTheCopyOnly)
{
    const std::string big("\xFE\xFF\0<\0a\0 \0k\0=\0\"\x4E\x2D\0\"\0/\0>", 22);
    std::vector<BYTE> caller(big.begin(), big.end());
    const std::vector<BYTE> before = caller;
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromMem(caller.data(), static_cast<DWORD>(caller.size()), CXmlDocument::kEncodingUtf16));
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"k"), L"\x4E2D");
    EXPECT_EQ(caller, before);
    // Loading the same bytes twice gives the same tree, as it would not after an in-place swap.
    ASSERT_TRUE(document.LoadFromMem(caller.data(), static_cast<DWORD>(caller.size()), CXmlDocument::kEncodingUtf16));
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"k"), L"\x4E2D");
}

TEST(XmlLoadFromMem, AnsiUsesTheProcessCodePage)
{
    const std::string text = "<a k=\"plain ascii\"/>";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromMem(Bytes(text), Size(text), CXmlDocument::kEncodingAnsi));
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"k"), L"plain ascii");
    // No byte-order mark is skipped for ANSI.
    const std::string marked = "\xEF\xBB\xBF" + text;
    EXPECT_FALSE(document.LoadFromMem(Bytes(marked), Size(marked), CXmlDocument::kEncodingAnsi));
    EXPECT_EQ(LastError(document), L"Expected start tag");
}

TEST(XmlLoadFromMem, TextEndsAtAnEmbeddedTerminator)
{
    const std::string text("<a/>\0<<garbage", 14);
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromMem(Bytes(text), Size(text)));
    EXPECT_STREQ(document.GetRoot().GetName(), L"a");
    EXPECT_FALSE(document.GetRoot().HasSiblings());
}

// --- files under the resource folder ---

struct FolderSettings {
    static CUIString folder;
    static CUIString Folder() { return folder; }
};
CUIString FolderSettings::folder;

class XmlLoadFromFile : public testing::Test {
protected:
    void SetUp() override
    {
        FolderSettings::folder = m_folder.Path().c_str();
        XmlResourceHooks hooks;
        hooks.GetResourceFolder = &FolderSettings::Folder;
        ZvUI::SetXmlResourceHooks(hooks);
    }
    void TearDown() override { ZvUI::SetXmlResourceHooks(XmlResourceHooks()); }

    TempFolder m_folder;
};

TEST_F(XmlLoadFromFile, ReadsUnderTheResourceFolder)
{
    m_folder.Write(L"main.xml", "\xEF\xBB\xBF<Window><Button text=\"\xE7\xA1\xAE\xE5\xAE\x9A\"/></Window>");
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(L"main.xml"));
    EXPECT_STREQ(document.GetRoot().GetChild().GetAttributeValue(L"text"), L"\x786E\x5B9A");
}

TEST_F(XmlLoadFromFile, ReportsMissingEmptyAndOversizedFiles)
{
    const std::string exact = "<a>" + std::string(CXmlDocument::kMaxFileSize - 7, 'x') + "</a>";
    m_folder.Write(L"empty.xml", "");
    m_folder.Write(L"exact.xml", exact);
    m_folder.Write(L"big.xml", exact + " ");
    m_folder.Write(L"broken.xml", "<a>");
    m_folder.Write(L"bad.xml", "<a></b>");
    struct Row {
        const wchar_t* name;
        bool loads;
        const wchar_t* message;
    };
    const Row rows[] = {
        {L"missing.xml", false, L"Error opening file"},
        {L"empty.xml", false, L"File is empty"},
        {L"big.xml", false, L"File too large"},
        {L"exact.xml", true, L""},
        {L"broken.xml", true, L""},
        {L"bad.xml", false, L"Unmatched closing tag"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CXmlDocument document;
        EXPECT_EQ(document.LoadFromFile(row.name), row.loads);
        EXPECT_EQ(LastError(document), row.message);
        EXPECT_EQ(document.IsValid(), row.loads);
        if (!row.loads && std::wstring(row.message) != L"Unmatched closing tag") {
            EXPECT_EQ(LastLocation(document), L"");
        }
    }
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(L"exact.xml"));
    EXPECT_EQ(wcslen(document.GetRoot().GetValue()), CXmlDocument::kMaxFileSize - 7);
}

TEST_F(XmlLoadFromFile, FolderIsAPlainPrefix)
{
    const std::wstring path = m_folder.Write(L"plain.xml", "<p/>");
    FolderSettings::folder = L"";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(path.c_str()));
    EXPECT_STREQ(document.GetRoot().GetName(), L"p");
    ZvUI::SetXmlResourceHooks(XmlResourceHooks());
    ASSERT_TRUE(document.LoadFromFile(path.c_str()));
    EXPECT_FALSE(document.LoadFromFile(nullptr));
}

// --- items of the skin archive ---

// Stands in for the archive reader: minizip over the generated skin.zip.
struct ZipSettings {
    static CUIString folder;
    static CUIString archive;
    static CUIString password;
    static bool cached;
    static void* handle;
    static int opens;
    static int closes;
    static std::string lastPassword;
    static DWORD unzipResult;

    static CUIString Folder() { return folder; }
    static CUIString Archive() { return archive; }
    static CUIString Password() { return password; }
    static bool Cached() { return cached; }
    static void* Handle() { return handle; }

    static void* Open(LPCWSTR path, const char* pw)
    {
        ++opens;
        lastPassword = pw != nullptr ? pw : "(null)";
        zlib_filefunc64_def io;
        fill_win32_filefunc64W(&io);
        return unzOpen2_64(path, &io);
    }
    static void Close(void* zip)
    {
        ++closes;
        unzClose(zip);
    }
    static bool Find(void* zip, LPCWSTR name, int* index, DWORD* size)
    {
        char narrow[MAX_PATH * 3] = {};
        ::WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
        if (unzLocateFile(zip, narrow, 2) != UNZ_OK) {
            return false;
        }
        unz_file_info64 info = {};
        unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
        *index = 0;
        *size = static_cast<DWORD>(info.uncompressed_size);
        return true;
    }
    // Reads the item that Find located last.
    static DWORD Unzip(void* zip, int, void* buffer, DWORD size)
    {
        if (unzipResult != 0) {
            return unzipResult;
        }
        if (unzOpenCurrentFile(zip) != UNZ_OK) {
            return 0x5000000;
        }
        const int read = unzReadCurrentFile(zip, buffer, size);
        unzCloseCurrentFile(zip);
        return read == static_cast<int>(size) ? 0 : 0x5000000;
    }

    static XmlResourceHooks Hooks()
    {
        XmlResourceHooks hooks;
        hooks.GetResourceFolder = &Folder;
        hooks.GetResourceArchive = &Archive;
        hooks.GetResourceArchivePassword = &Password;
        hooks.IsResourceArchiveCached = &Cached;
        hooks.GetResourceArchiveHandle = &Handle;
        hooks.ZipOpenFile = &Open;
        hooks.ZipClose = &Close;
        hooks.ZipFindItem = &Find;
        hooks.ZipUnzipToMemory = &Unzip;
        return hooks;
    }
};
CUIString ZipSettings::folder;
CUIString ZipSettings::archive;
CUIString ZipSettings::password;
bool ZipSettings::cached = false;
void* ZipSettings::handle = nullptr;
int ZipSettings::opens = 0;
int ZipSettings::closes = 0;
std::string ZipSettings::lastPassword;
DWORD ZipSettings::unzipResult = 0;

class XmlLoadFromArchive : public testing::Test {
protected:
    void SetUp() override
    {
        ZipSettings::folder = CorpusFolder().c_str();
        ZipSettings::archive = L"skin.zip";
        ZipSettings::password = L"";
        ZipSettings::cached = false;
        ZipSettings::handle = nullptr;
        ZipSettings::opens = 0;
        ZipSettings::closes = 0;
        ZipSettings::unzipResult = 0;
        ZvUI::SetXmlResourceHooks(ZipSettings::Hooks());
    }
    void TearDown() override { ZvUI::SetXmlResourceHooks(XmlResourceHooks()); }
};

TEST_F(XmlLoadFromArchive, FindsItemsByBackslashNamesInAnyCase)
{
    const std::vector<std::string> expected = ReadLines(CorpusFolder() + L"mainframe.tree");
    ASSERT_FALSE(expected.empty());
    for (const wchar_t* name : {L"Skin/Main.XML", L"skin\\main.xml", L"SKIN\\MAIN.xml"}) {
        SCOPED_TRACE(testing::Message() << ZvUITest::Escape(name));
        CXmlDocument document;
        ASSERT_TRUE(document.LoadFromFile(name)) << ZvUITest::Escape(LastError(document).c_str());
        EXPECT_EQ(DumpTree(document), expected);
    }
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(L"skin\\sub\\res.XML"));
    EXPECT_EQ(DumpTree(document), ReadLines(CorpusFolder() + L"res.tree"));
}

TEST_F(XmlLoadFromArchive, ReportsMissingEmptyOversizedAndBrokenItems)
{
    struct Row {
        const wchar_t* name;
        DWORD unzipResult;
        bool loads;
        const wchar_t* message;
    };
    const Row rows[] = {
        {L"nothere.xml", 0, false, L"Could not find ziped file"},
        {L"empty.xml", 0, false, L"File is empty"},
        {L"big.xml", 0, false, L"File too large"},
        {L"exact.xml", 0, true, L""},
        {L"skin/main.xml", 0x5000000, false, L"Could not unzip file"},
        {L"skin/main.xml", 0x1000, false, L"Could not unzip file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(ZvUITest::Escape(row.name));
        ZipSettings::unzipResult = row.unzipResult;
        CXmlDocument document;
        EXPECT_EQ(document.LoadFromFile(row.name), row.loads);
        EXPECT_EQ(LastError(document), row.message);
        EXPECT_EQ(LastLocation(document), L"");
    }
    // Every archive opened for a load is closed again, failures included.
    EXPECT_EQ(ZipSettings::opens, 6);
    EXPECT_EQ(ZipSettings::closes, 6);
}

TEST_F(XmlLoadFromArchive, MissingArchiveIsReported)
{
    ZipSettings::archive = L"nothere.zip";
    CXmlDocument document;
    EXPECT_FALSE(document.LoadFromFile(L"skin/main.xml"));
    EXPECT_EQ(LastError(document), L"Error opening zip file");
    ZipSettings::cached = true;
    EXPECT_FALSE(document.LoadFromFile(L"skin/main.xml"));
    EXPECT_EQ(LastError(document), L"Error opening zip file");
}

TEST_F(XmlLoadFromArchive, CachedArchiveIsUsedAndLeftOpen)
{
    ZipSettings::cached = true;
    ZipSettings::handle = ZipSettings::Open((CorpusFolder() + L"skin.zip").c_str(), nullptr);
    ASSERT_NE(ZipSettings::handle, nullptr);
    ZipSettings::opens = 0;
    CXmlDocument document;
    EXPECT_TRUE(document.LoadFromFile(L"skin/main.xml"));
    EXPECT_FALSE(document.LoadFromFile(L"nothere.xml"));
    EXPECT_EQ(ZipSettings::opens, 0);
    EXPECT_EQ(ZipSettings::closes, 0);
    ZipSettings::Close(ZipSettings::handle);
}

TEST_F(XmlLoadFromArchive, PasswordIsPassedInTheAnsiCodePage)
{
    ZipSettings::password = L"secret";
    CXmlDocument document;
    EXPECT_TRUE(document.LoadFromFile(L"skin/main.xml"));
    EXPECT_EQ(ZipSettings::lastPassword, "secret");
}

} // namespace

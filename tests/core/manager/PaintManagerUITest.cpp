// Process-wide resource settings: folder, modules, archive, HSL, plug-ins, managers.
#include "manager/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive/ZipArchive.h"
#include "builder/ControlFactory.h"
#include "manager/DpiHelper.h"
#include "render/UIRender.h"
#include "resource/UIResourceTable.h"
#include "xml/XmlDocument.h"
#include "xml/XmlNode.h"

using ZvUI::CPaintManagerUI;
using ZvUI::CUIString;

namespace {

// A zip with "skin.xml" and "img/a.txt" ("hello archive"), made with Python's zipfile.
const unsigned char kSkinZip[] = {
0x50, 0x4b, 0x03, 0x04, 0x14, 0x00, 0x00, 0x00, 0x08, 0x00, 0x2d, 0x2d, 0x89, 0x5d, 0xe7, 0xfb,
0x74, 0xe0, 0x19, 0x00, 0x00, 0x00, 0x17, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x73, 0x6b,
0x69, 0x6e, 0x2e, 0x78, 0x6d, 0x6c, 0xb3, 0x09, 0xcf, 0xcc, 0x4b, 0xc9, 0x2f, 0x57, 0x28, 0xce,
0xac, 0x4a, 0xb5, 0x55, 0x32, 0x34, 0x30, 0xd0, 0x31, 0x35, 0x50, 0xd2, 0xb7, 0x03, 0x00, 0x50,
0x4b, 0x03, 0x04, 0x14, 0x00, 0x00, 0x00, 0x08, 0x00, 0x2d, 0x2d, 0x89, 0x5d, 0x69, 0x1a, 0x5c,
0x48, 0x0f, 0x00, 0x00, 0x00, 0x0d, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x69, 0x6d, 0x67,
0x2f, 0x61, 0x2e, 0x74, 0x78, 0x74, 0xcb, 0x48, 0xcd, 0xc9, 0xc9, 0x57, 0x48, 0x2c, 0x4a, 0xce,
0xc8, 0x2c, 0x4b, 0x05, 0x00, 0x50, 0x4b, 0x01, 0x02, 0x14, 0x03, 0x14, 0x00, 0x00, 0x00, 0x08,
0x00, 0x2d, 0x2d, 0x89, 0x5d, 0xe7, 0xfb, 0x74, 0xe0, 0x19, 0x00, 0x00, 0x00, 0x17, 0x00, 0x00,
0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x01, 0x00,
0x00, 0x00, 0x00, 0x73, 0x6b, 0x69, 0x6e, 0x2e, 0x78, 0x6d, 0x6c, 0x50, 0x4b, 0x01, 0x02, 0x14,
0x03, 0x14, 0x00, 0x00, 0x00, 0x08, 0x00, 0x2d, 0x2d, 0x89, 0x5d, 0x69, 0x1a, 0x5c, 0x48, 0x0f,
0x00, 0x00, 0x00, 0x0d, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
0x00, 0x00, 0x00, 0x80, 0x01, 0x3f, 0x00, 0x00, 0x00, 0x69, 0x6d, 0x67, 0x2f, 0x61, 0x2e, 0x74,
0x78, 0x74, 0x50, 0x4b, 0x05, 0x06, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x6d, 0x00,
0x00, 0x00, 0x75, 0x00, 0x00, 0x00, 0x00, 0x00};

std::wstring TempFolder(const wchar_t* leaf)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + leaf;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

void WriteFile(const std::wstring& path, const void* data, DWORD size)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, data, size, &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, size);
}

bool ArchiveHas(ZvUI::ZipHandle* zip, const wchar_t* name)
{
    int index = -1;
    return zip != nullptr && ZvUI::ZipFindItem(zip, name, true, &index, nullptr) == ZvUI::ZR_OK &&
           index >= 0;
}

} // namespace

TEST(ResourceSettings, FolderGetsOneTrailingSeparator)
{
    struct Row {
        const wchar_t* in;
        const wchar_t* stored;
    };
    const Row rows[] = {
        {L"C:\\skin", L"C:\\skin\\"}, {L"C:\\skin\\", L"C:\\skin\\"}, {L"skin/", L"skin/"},
        {L"", L""},                   {L"a", L"a\\"},
    };
    for (const Row& row : rows) {
        CPaintManagerUI::SetResourceFolder(row.in);
        EXPECT_STREQ(CPaintManagerUI::GetResourceFolder(), row.stored) << row.in;
    }
    CPaintManagerUI::SetResourceFolder(nullptr);
    EXPECT_STREQ(CPaintManagerUI::GetResourceFolder(), L"");
}

TEST(ResourceSettings, ResourceModuleFallsBackToInstance)
{
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    CPaintManagerUI::SetInstance(self);
    CPaintManagerUI::SetResourceModule(nullptr);
    EXPECT_EQ(CPaintManagerUI::GetModule(), self);
    EXPECT_EQ(CPaintManagerUI::GetResourceModule(), self);
    HINSTANCE kernel = ::GetModuleHandleW(L"kernel32.dll");
    CPaintManagerUI::SetResourceModule(kernel);
    EXPECT_EQ(CPaintManagerUI::GetResourceModule(), kernel);
    EXPECT_EQ(CPaintManagerUI::GetModule(), self);
    CPaintManagerUI::SetResourceModule(nullptr);
}

TEST(ResourceSettings, ModuleFolderIsTheExecutablesFolder)
{
    CPaintManagerUI::SetInstance(nullptr);
    EXPECT_STREQ(CPaintManagerUI::GetModuleFolder(), L"");
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring expected(path);
    expected.erase(expected.rfind(L'\\') + 1);
    EXPECT_EQ(std::wstring(CPaintManagerUI::GetModuleFolder()), expected);
}

TEST(ResourceSettings, KindAndCurrentPathRoundTrip)
{
    CPaintManagerUI::SetResourceKind(3);
    EXPECT_EQ(CPaintManagerUI::GetResourceKind(), 3);
    CPaintManagerUI::SetResourceKind(0);

    const CUIString before = CPaintManagerUI::GetCurrentPath();
    const std::wstring folder = TempFolder(L"zv_curpath");
    CPaintManagerUI::SetCurrentPath(folder.c_str());
    std::wstring now(CPaintManagerUI::GetCurrentPath());
    EXPECT_EQ(now + L"\\", folder);
    CPaintManagerUI::SetCurrentPath(before);
}

TEST(ResourceSettings, HslIsClampedAndOffStaysOff)
{
    struct Row {
        short h, s, l;
        short eh, es, el;
    };
    const Row rows[] = {
        {400, -5, 250, 360, 0, 200}, {-1, 201, 0, 0, 200, 0}, {90, 50, 150, 90, 50, 150},
    };
    short h = 0, s = 0, l = 0;
    for (const Row& row : rows) {
        CPaintManagerUI::SetHSL(true, row.h, row.s, row.l);
        EXPECT_TRUE(CPaintManagerUI::GetHSL(h, s, l));
        EXPECT_EQ(h, row.eh);
        EXPECT_EQ(s, row.es);
        EXPECT_EQ(l, row.el);
    }
    CPaintManagerUI::SetHSL(false, 180, 100, 100);
    EXPECT_FALSE(CPaintManagerUI::GetHSL(h, s, l));
    EXPECT_EQ(h, 180);
    // Both off: the values are not touched.
    CPaintManagerUI::SetHSL(false, 10, 10, 10);
    CPaintManagerUI::GetHSL(h, s, l);
    EXPECT_EQ(h, 180);
    EXPECT_EQ(s, 100);
}

TEST(ResourceSettings, CachedArchiveOpensOnceAndSwitchesCleanly)
{
    const std::wstring folder = TempFolder(L"zv_archive");
    WriteFile(folder + L"skin.zip", kSkinZip, sizeof(kSkinZip));
    WriteFile(folder + L"other.zip", kSkinZip, sizeof(kSkinZip));
    CPaintManagerUI::SetResourceFolder(folder.c_str());

    CPaintManagerUI::SetResourceArchive(L"skin.zip", true, nullptr);
    ZvUI::ZipHandle* first = CPaintManagerUI::GetResourceArchiveHandle();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(ArchiveHas(first, L"skin.xml"));
    EXPECT_TRUE(CPaintManagerUI::IsResourceArchiveCached());
    EXPECT_STREQ(CPaintManagerUI::GetResourceArchive(), L"skin.zip");

    CPaintManagerUI::SetResourceArchive(L"skin.zip", true, nullptr);
    EXPECT_EQ(CPaintManagerUI::GetResourceArchiveHandle(), first);

    CPaintManagerUI::SetResourceArchive(L"other.zip", true, L"secret");
    ZvUI::ZipHandle* second = CPaintManagerUI::GetResourceArchiveHandle();
    EXPECT_TRUE(ArchiveHas(second, L"IMG/A.TXT"));
    EXPECT_STREQ(CPaintManagerUI::GetResourceArchivePassword(), L"secret");

    // Not cached: readers open it themselves; nothing stays open.
    CPaintManagerUI::SetResourceArchive(L"skin.zip", false, nullptr);
    EXPECT_EQ(CPaintManagerUI::GetResourceArchiveHandle(), nullptr);
    EXPECT_FALSE(CPaintManagerUI::IsResourceArchiveCached());

    // A missing archive leaves the handle null and readers fall back.
    CPaintManagerUI::SetResourceArchive(L"missing.zip", true, nullptr);
    EXPECT_EQ(CPaintManagerUI::GetResourceArchiveHandle(), nullptr);

    CPaintManagerUI::Term();
    CPaintManagerUI::SetResourceFolder(L"");
}

TEST(ResourceSettings, FirstMemoryArchiveStays)
{
    CPaintManagerUI::SetResourceArchive(kSkinZip, static_cast<int>(sizeof(kSkinZip)), nullptr);
    ZvUI::ZipHandle* first = CPaintManagerUI::GetResourceArchiveHandle();
    EXPECT_STREQ(CPaintManagerUI::GetResourceArchive(), L"membuffer");
    EXPECT_TRUE(CPaintManagerUI::IsResourceArchiveCached());
    EXPECT_TRUE(ArchiveHas(first, L"skin.xml"));

    static const unsigned char junk[16] = {};
    CPaintManagerUI::SetResourceArchive(junk, static_cast<int>(sizeof(junk)), nullptr);
    EXPECT_EQ(CPaintManagerUI::GetResourceArchiveHandle(), first);

    CPaintManagerUI::Term();
    EXPECT_EQ(CPaintManagerUI::GetResourceArchiveHandle(), nullptr);
    CPaintManagerUI::SetResourceArchive(L"", false, nullptr);
}

namespace {
ZvUI::CControlUI* CreateNothing()
{
    return nullptr;
}
} // namespace

TEST(ResourceSettings, TermReleasesTablesFactoryAndSharedImages)
{
    ASSERT_TRUE(ZvUI::CUIResourceTable::Instance()->LoadTextTable(
        L"<Root><Text id=\"greeting\" value=\"hello\"/></Root>"));
    ASSERT_EQ(ZvUI::CUIResourceTable::Instance()->GetText(L"greeting"), L"hello");
    ZvUI::CControlFactory::GetInstance()->RegisterControl(L"CTermProbeUI", CreateNothing);
    ASSERT_TRUE(ZvUI::CControlFactory::GetInstance()->IsRegistered(L"CTermProbeUI"));
    {
        CPaintManagerUI manager;
        BYTE* bits = nullptr;
        HBITMAP bitmap = ZvUI::CUIRender::CreateARGB32Bitmap(nullptr, 2, 2, &bits);
        ASSERT_NE(manager.AddImage(L"term-shared", bitmap, 2, 2, false, true), nullptr);
    }

    CPaintManagerUI::Term();
    CPaintManagerUI manager;
    EXPECT_EQ(manager.FindImage(L"term-shared"), nullptr);
    EXPECT_EQ(CPaintManagerUI::GetSharedResources().images.GetSize(), 0);
    // A fresh table and factory: the run-time entries are gone, the built-in classes are back.
    EXPECT_EQ(ZvUI::CUIResourceTable::Instance()->GetText(L"greeting"), L"greeting");
    EXPECT_FALSE(ZvUI::CControlFactory::GetInstance()->IsRegistered(L"CTermProbeUI"));
    EXPECT_TRUE(ZvUI::CControlFactory::GetInstance()->IsRegistered(L"CButtonUI"));
}

TEST(ResourceSettings, MarkupReaderFindsTheFolderAndTheArchive)
{
    const std::wstring folder = TempFolder(L"zv_markup");
    const char layout[] = "<Window size=\"30,20\"/>";
    WriteFile(folder + L"plain.xml", layout, sizeof(layout) - 1);
    WriteFile(folder + L"skin.zip", kSkinZip, sizeof(kSkinZip));
    CPaintManagerUI::SetResourceFolder(folder.c_str());

    ZvUI::CXmlDocument fromFolder;
    ASSERT_TRUE(fromFolder.LoadFromFile(L"plain.xml"));
    EXPECT_STREQ(fromFolder.GetRoot().GetAttributeValue(L"size"), L"30,20");

    for (bool cached : {false, true}) {
        CPaintManagerUI::SetResourceArchive(L"skin.zip", cached, nullptr);
        ZvUI::CXmlDocument fromArchive;
        ASSERT_TRUE(fromArchive.LoadFromFile(L"skin.xml")) << cached;
        EXPECT_STREQ(fromArchive.GetRoot().GetName(), L"Window");
        EXPECT_STREQ(fromArchive.GetRoot().GetAttributeValue(L"size"), L"100,50");
        ZvUI::CXmlDocument missing;
        EXPECT_FALSE(missing.LoadFromFile(L"plain.xml")) << cached;
    }
    CPaintManagerUI::Term();
    CPaintManagerUI::SetResourceArchive(L"", false, nullptr);
    CPaintManagerUI::SetResourceFolder(L"");
}

TEST(ResourceSettings, ExtractWritesEveryItemAndReportsProgress)
{
    const std::wstring src = TempFolder(L"zv_extract_src");
    const std::wstring dst = TempFolder(L"zv_extract_dst");
    WriteFile(src + L"skin.zip", kSkinZip, sizeof(kSkinZip));
    static int calls = 0;
    static int lastDone = -1;
    static int lastCount = -1;
    calls = 0;
    const bool extracted = CPaintManagerUI::ExtractResourceArchive(
        (src + L"skin.zip").c_str(), dst.c_str(),
        [](int done, int count) {
            ++calls;
            lastDone = done;
            lastCount = count;
        },
        nullptr);
    EXPECT_TRUE(extracted);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(lastDone, 2);
    EXPECT_EQ(lastCount, 2);
    EXPECT_NE(::GetFileAttributesW((dst + L"skin.xml").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW((dst + L"img\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ResourceSettings, ExtractReportsADamagedItemAndKeepsItsOldFile)
{
    const std::wstring src = TempFolder(L"zv_extract_bad_src");
    const std::wstring dst = TempFolder(L"zv_extract_bad_dst");
    // The deflated data of "img/a.txt" no longer matches its checksum.
    unsigned char damaged[sizeof(kSkinZip)];
    std::memcpy(damaged, kSkinZip, sizeof(kSkinZip));
    damaged[0x66 + 5] ^= 0x20;
    WriteFile(src + L"bad.zip", damaged, sizeof(damaged));
    ::CreateDirectoryW((dst + L"img").c_str(), nullptr);
    const char old[] = "the old text";
    WriteFile(dst + L"img\\a.txt", old, sizeof(old) - 1);

    EXPECT_FALSE(CPaintManagerUI::ExtractResourceArchive((src + L"bad.zip").c_str(), dst.c_str(), nullptr, nullptr));
    EXPECT_NE(::GetFileAttributesW((dst + L"skin.xml").c_str()), INVALID_FILE_ATTRIBUTES) << "the good item";
    HANDLE file = ::CreateFileW((dst + L"img\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char text[64] = {};
    DWORD got = 0;
    ::ReadFile(file, text, sizeof(text), &got, nullptr);
    ::CloseHandle(file);
    EXPECT_EQ(std::string(text, got), old);
    WIN32_FIND_DATAW found;
    int names = 0;
    HANDLE search = ::FindFirstFileW((dst + L"img\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
        names += found.cFileName[0] != L'.';
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    EXPECT_EQ(names, 1) << "a partial file stayed beside the old one";

    EXPECT_FALSE(CPaintManagerUI::ExtractResourceArchive((src + L"missing.zip").c_str(), dst.c_str(), nullptr, nullptr));
}

TEST(ResourceSettings, PluginsNeedALibraryWithCreateControl)
{
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(nullptr));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"zv_no_such_plugin.dll"));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"kernel32.dll"));
    EXPECT_EQ(CPaintManagerUI::GetPlugins()->GetSize(), 0);
}

TEST(ResourceSettings, FindManagerMatchesNameExactly)
{
    HWND w1 = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND w2 = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    {
        CPaintManagerUI a;
        CPaintManagerUI b;
        a.AttachWindow(w1, L"main");
        b.AttachWindow(w2, L"msgbox");
        EXPECT_EQ(CPaintManagerUI::FindManager(L"main"), &a);
        EXPECT_EQ(CPaintManagerUI::FindManager(L"msgbox"), &b);
        EXPECT_EQ(CPaintManagerUI::FindManager(L"MAIN"), nullptr);
        EXPECT_EQ(CPaintManagerUI::FindManager(L""), nullptr);
        EXPECT_EQ(CPaintManagerUI::FindManager(nullptr), nullptr);
        EXPECT_EQ(CPaintManagerUI::GetAllManagers()->GetSize(), 2);
        EXPECT_NE(a.GetWindowDC(), nullptr);
    }
    // A destroyed manager leaves the process list.
    EXPECT_EQ(CPaintManagerUI::FindManager(L"main"), nullptr);
    EXPECT_EQ(CPaintManagerUI::GetAllManagers()->GetSize(), 0);
    ::DestroyWindow(w1);
    ::DestroyWindow(w2);
}

TEST(ResourceSettings, NewManagersTakeTheProcessDpi)
{
    CPaintManagerUI::SetGlobalDpi(144);
    EXPECT_DOUBLE_EQ(CPaintManagerUI::GetImageScaleFactor(), 1.5);
    CPaintManagerUI pm;
    EXPECT_EQ(pm.GetDpiHelper()->GetScale(), 150);
    CPaintManagerUI::SetGlobalDpi(96);
    EXPECT_NE(CPaintManagerUI::GetUpdateRectPen(), nullptr);
}

// The process-wide resource table: loading entries and texts, lookups and the text source.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "manager/PaintManagerUI.h"
#include "resource/UIResourceTable.h"

using ZvUI::CPaintManagerUI;
using ZvUI::CUIResourceTable;
using ZvUI::CUIString;
using ZvUI::IQueryControlText;

namespace {

class ResourceTable : public testing::Test {
protected:
    void SetUp() override { CUIResourceTable::Release(); }
    void TearDown() override { CUIResourceTable::Release(); }

    static CUIResourceTable& Table() { return *CUIResourceTable::Instance(); }
    static std::wstring Text(LPCWSTR id, LPCWSTR type = nullptr) { return Table().GetText(id, type).GetData(); }
    static std::wstring Image(LPCWSTR id)
    {
        LPCWSTR path = Table().GetImagePath(id);
        return path != nullptr ? path : L"(none)";
    }
    static std::wstring Xml(LPCWSTR id)
    {
        LPCWSTR path = Table().GetXmlPath(id);
        return path != nullptr ? path : L"(none)";
    }
};

// Answers from a map and counts the questions.
class MapTextSource : public IQueryControlText {
public:
    LPCWSTR QueryControlText(LPCWSTR id, LPCWSTR type) override
    {
        ++asked[id];
        lastType = type != nullptr ? type : L"(null)";
        const auto found = texts.find(id);
        return found != texts.end() ? found->second.c_str() : nullptr;
    }

    std::map<std::wstring, std::wstring> texts;
    std::map<std::wstring, int> asked;
    std::wstring lastType;
};

TEST_F(ResourceTable, InstanceIsOneTableUntilReleased)
{
    CUIResourceTable* first = CUIResourceTable::Instance();
    EXPECT_EQ(CUIResourceTable::Instance(), first);
    ASSERT_TRUE(first->LoadFromResource(L"<R><Image id=\"a\" path=\"a.png\"/></R>", nullptr));
    CUIResourceTable::Release();
    EXPECT_EQ(Image(L"a"), L"(none)");
}

TEST_F(ResourceTable, MissingTextFallsBackToTheId)
{
    EXPECT_EQ(Text(nullptr), L"");
    EXPECT_EQ(Text(L"btn.ok"), L"btn.ok");
    EXPECT_EQ(Image(L"logo"), L"(none)");
    EXPECT_EQ(Xml(nullptr), L"(none)");
}

TEST_F(ResourceTable, TextSourceIsAskedOncePerId)
{
    MapTextSource source;
    source.texts[L"ok"] = L"\x786E\x5B9A";
    Table().SetTextSource(&source);
    EXPECT_EQ(Text(L"ok", L"Button"), L"\x786E\x5B9A");
    EXPECT_EQ(source.lastType, L"Button");
    EXPECT_EQ(Text(L"ok"), L"\x786E\x5B9A");
    EXPECT_EQ(source.asked[L"ok"], 1);
    // No answer is not cached: the source may learn the id later.
    EXPECT_EQ(Text(L"cancel"), L"cancel");
    source.texts[L"cancel"] = L"\x53D6\x6D88";
    EXPECT_EQ(Text(L"cancel"), L"\x53D6\x6D88");
    EXPECT_EQ(source.asked[L"cancel"], 2);
    Table().SetTextSource(nullptr);
}

TEST_F(ResourceTable, ReloadTextsAsksAgainForEveryCachedId)
{
    MapTextSource source;
    Table().SetTextSource(&source);
    ASSERT_TRUE(Table().LoadTextTable(L"<Texts><Text id=\"title\" value=\"Velmora\"/><Text id=\"keep\" value=\"k\"/></Texts>"));
    source.texts[L"title"] = L"Velmora PDF";
    Table().ReloadTexts();
    EXPECT_EQ(source.lastType, L"(null)");
    EXPECT_EQ(source.asked[L"title"], 1);
    EXPECT_EQ(source.asked[L"keep"], 1);
    EXPECT_EQ(Text(L"title"), L"Velmora PDF");
    EXPECT_EQ(Text(L"keep"), L"k");
    Table().SetTextSource(nullptr);
    Table().ReloadTexts();
}

TEST_F(ResourceTable, ReadsImageAndXmlEntriesAnywhereInTheTree)
{
    ASSERT_TRUE(Table().LoadFromResource(
        L"<Resource>"
        L"<Images><Image id=\"logo\" path=\"images/logo.png\"/><Image id=\"logo\" path=\"images/other.png\"/>"
        L"<Group><Group><IMAGE ID=\"deep\" Path=\"deep.png\"/></Group></Group></Images>"
        L"<Image id=\"parent\" path=\"p.png\"><Image id=\"inner\" path=\"inner.png\"/></Image>"
        L"<Image id=\"first\" id=\"second\" path=\"x.png\" path=\"y.png\"/>"
        L"<Image id=\"nopath\"/><Image path=\"noid.png\"/><Image/>"
        L"<Font id=\"font\" path=\"f.ttf\"/>"
        L"<xml id=\"main\" path=\"ZVMainFrame.xml\"/>"
        L"</Resource>",
        nullptr));
    EXPECT_EQ(Image(L"logo"), L"images/logo.png");
    EXPECT_EQ(Image(L"deep"), L"deep.png");
    EXPECT_EQ(Image(L"inner"), L"inner.png");
    EXPECT_EQ(Image(L"parent"), L"(none)");
    EXPECT_EQ(Image(L"second"), L"y.png");
    EXPECT_EQ(Image(L"first"), L"(none)");
    EXPECT_EQ(Image(L"nopath"), L"(none)");
    EXPECT_EQ(Image(L"font"), L"(none)");
    EXPECT_EQ(Image(L"LOGO"), L"(none)");
    EXPECT_EQ(Xml(L"main"), L"ZVMainFrame.xml");
    EXPECT_EQ(Xml(L"logo"), L"(none)");
}

TEST_F(ResourceTable, LoadingAddsAndFailuresLeaveTheTableAlone)
{
    ASSERT_TRUE(Table().LoadFromResource(L"<R><Image id=\"a\" path=\"a.png\"/></R>", nullptr));
    ASSERT_TRUE(Table().LoadFromResource(L"<R><Image id=\"b\" path=\"b.png\"/><Image id=\"a\" path=\"x\"/></R>", nullptr));
    EXPECT_FALSE(Table().LoadFromResource(L"<R><Image id=\"c\" path=\"c.png\"/></Q>", nullptr));
    EXPECT_FALSE(Table().LoadFromResource(L"<!-- empty -->", nullptr));
    EXPECT_EQ(Image(L"a"), L"a.png");
    EXPECT_EQ(Image(L"b"), L"b.png");
    EXPECT_EQ(Image(L"c"), L"(none)");
    EXPECT_FALSE(Table().LoadResourceTable(ZvUI::CXmlNode()));
}

TEST_F(ResourceTable, ReadsAListFromTheProgramsResources)
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(Table().LoadFromResource(MAKEINTRESOURCEW(101), L"ZVXML"));
    EXPECT_EQ(Image(L"fromres"), L"res.png");
    EXPECT_EQ(Xml(L"frame"), L"ZVMainFrame.xml");
    EXPECT_FALSE(Table().LoadFromResource(MAKEINTRESOURCEW(102), L"ZVXML"));
    EXPECT_FALSE(Table().LoadFromResource(MAKEINTRESOURCEW(101), L"OTHER"));
}

TEST_F(ResourceTable, ReadsFilesUnderTheResourceFolder)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zvrestable" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\res.xml";
    const char markup[] = "\xEF\xBB\xBF<Resource><Image id=\"bk\" path=\"\xE8\x83\x8C\xE6\x99\xAF.png\"/>"
                          "<Text id=\"t\" value=\"\xE7\xA1\xAE\xE5\xAE\x9A\"/></Resource>";
    HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(h, markup, sizeof markup - 1, &written, nullptr);
    ::CloseHandle(h);

    CPaintManagerUI::SetResourceFolder(folder.c_str());
    EXPECT_TRUE(Table().LoadFromResource(L"res.xml", nullptr));
    EXPECT_TRUE(Table().LoadTextTable(L"res.xml"));
    EXPECT_FALSE(Table().LoadTextTable(L"missing.xml"));
    CPaintManagerUI::SetResourceFolder(L"");
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());

    EXPECT_EQ(Image(L"bk"), L"\x80CC\x666F.png");
    EXPECT_EQ(Text(L"t"), L"\x786E\x5B9A");
}

TEST_F(ResourceTable, TextTableTakesTheLastValue)
{
    ASSERT_TRUE(Table().LoadTextTable(
        L"<Texts><Text id=\"a\" value=\"1\"/><TEXT ID=\"a\" VALUE=\"2\"/><Text id=\"b\" value=\"x\" value=\"y\"/>"
        L"<Text id=\"novalue\"/><Label id=\"c\" value=\"3\"/><Text/></Texts>"));
    EXPECT_EQ(Text(L"a"), L"2");
    EXPECT_EQ(Text(L"b"), L"y");
    EXPECT_EQ(Text(L"novalue"), L"novalue");
    EXPECT_EQ(Text(L"c"), L"c");
    ASSERT_TRUE(Table().LoadTextTable(L"<Texts><Text id=\"a\" value=\"3\"/></Texts>"));
    EXPECT_EQ(Text(L"a"), L"3");
    EXPECT_EQ(Text(L"b"), L"y");
    EXPECT_FALSE(Table().LoadTextTable(L"<Texts><Text id=\"z\" value=\"1\"/>"
                                       L"</Txets>"));
    EXPECT_FALSE(Table().LoadTextTable(L"< "));
    EXPECT_FALSE(Table().LoadTextTable(nullptr));
    EXPECT_EQ(Text(L"z"), L"z");
}

TEST_F(ResourceTable, ResetsEmptyTheMaps)
{
    ASSERT_TRUE(Table().LoadFromResource(L"<R><Image id=\"i\" path=\"i.png\"/><Xml id=\"x\" path=\"x.xml\"/></R>", nullptr));
    ASSERT_TRUE(Table().LoadTextTable(L"<T><Text id=\"t\" value=\"v\"/></T>"));
    Table().ResetTextMap();
    EXPECT_EQ(Text(L"t"), L"t");
    EXPECT_EQ(Image(L"i"), L"i.png");
    ASSERT_TRUE(Table().LoadTextTable(L"<T><Text id=\"t\" value=\"v\"/></T>"));
    Table().ResetResourceMap();
    EXPECT_EQ(Text(L"t"), L"t");
    EXPECT_EQ(Image(L"i"), L"(none)");
    EXPECT_EQ(Xml(L"x"), L"(none)");
    ASSERT_TRUE(Table().LoadFromResource(L"<R><Image id=\"i\" path=\"new.png\"/></R>", nullptr));
    EXPECT_EQ(Image(L"i"), L"new.png");
}

TEST_F(ResourceTable, DeeplyNestedListIsWalkedWithoutRecursion)
{
    const int depth = 200000;
    std::wstring markup;
    for (int i = 0; i < depth; ++i) {
        markup += L"<G>";
    }
    markup += L"<Image id=\"bottom\" path=\"b.png\"/>";
    for (int i = 0; i < depth; ++i) {
        markup += L"</G>";
    }
    ASSERT_TRUE(Table().LoadFromResource(markup.c_str(), nullptr));
    EXPECT_EQ(Image(L"bottom"), L"b.png");
}

} // namespace

// Hostile layouts: include and child-layout cycles, huge counts, deep nesting and huge values end
// in a clean result, quickly, with the window going on.
#include <gtest/gtest.h>

#include <string>

#include "../scroll/HostWindow.h"
#include "HostileTestSupport.h"
#include "builder/DialogBuilder.h"
#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "resource/UIResourceTable.h"

using namespace ZvUI;
using scroll_test::HostWindow;

namespace {

constexpr RECT kArea = {0, 0, 400, 300};

// Builds a layout file into a live window, lays it out and paints it into a bitmap.
class Built {
public:
    explicit Built(LPCWSTR file) : m_window(kArea.right, kArea.bottom)
    {
        CLayoutBuilder builder;
        m_root = builder.Create(file, nullptr, nullptr, &m_window.Manager(), nullptr);
        if (m_root != nullptr)
            m_window.SetRoot(m_root, kArea);
    }

    CControlUI* Root() const { return m_root; }
    HostWindow& Window() { return m_window; }
    int Count(LPCWSTR name) { return m_window.Manager().FindSubControlsByClass(m_root, name)->GetSize(); }

    void Paint()
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kArea.right, kArea.bottom);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        m_root->Paint(dc, kArea, nullptr);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    }

private:
    HostWindow m_window;
    CControlUI* m_root = nullptr;
};

std::string Window(const std::string& body)
{
    return "<Window size=\"400,300\"><VerticalLayout name=\"root\">" + body + "</VerticalLayout></Window>";
}

} // namespace

// A layout that includes itself, directly, through a second file, through the resource table or
// many times over, is built once per file: the repeated include is skipped.
TEST(HostileLayout, IncludeCyclesAreSkipped)
{
    const ScratchSkin skin;
    skin.WriteText(L"self.xml", Window("<Label/><Include source=\"self.xml\"/>"));
    skin.WriteText(L"selfcount.xml", Window("<Label/><Include source=\"selfcount.xml\" count=\"3\"/>"));
    skin.WriteText(L"a.xml", Window("<Label/><Include source=\"b.xml\"/>"));
    skin.WriteText(L"b.xml", "<Window><Label/><Include source=\"a.xml\"/></Window>");
    skin.WriteText(L"mapped.xml", Window("<Label/><Include source=\"page\"/>"));
    ASSERT_TRUE(CUIResourceTable::Instance()->LoadFromResource(
        L"<Res><Xml id=\"page\" path=\"mapped.xml\"/><Xml id=\"loop\" path=\"loop\"/></Res>", nullptr));
    skin.WriteText(L"loop", Window("<Label/><Include source=\"loop\"/>"));

    const struct {
        const wchar_t* file;
        int labels;
    } cases[] = {{L"self.xml", 1}, {L"selfcount.xml", 1}, {L"a.xml", 2}, {L"page", 1}, {L"loop", 1}};
    for (const auto& c : cases) {
        const Stopwatch clock;
        Built built(c.file);
        ASSERT_NE(built.Root(), nullptr) << c.file;
        EXPECT_EQ(built.Count(L"LabelUI"), c.labels) << c.file;
        EXPECT_LT(clock.Ms(), 1000u) << c.file;
    }
}

// A child layout whose file holds the child layout itself, directly or through a second file,
// attaches once and stops.
TEST(HostileLayout, ChildLayoutCyclesStop)
{
    const ScratchSkin skin;
    skin.WriteText(L"child.xml", Window("<Label/><ChildLayout xmlfile=\"child.xml\"/>"));
    skin.WriteText(L"one.xml", Window("<Label/><ChildLayout xmlfile=\"two.xml\"/>"));
    skin.WriteText(L"two.xml", Window("<Label/><ChildLayout xmlfile=\"one.xml\"/>"));
    skin.WriteText(L"mixed.xml", Window("<Label/><ChildLayout xmlfile=\"inc.xml\"/>"));
    skin.WriteText(L"inc.xml", Window("<Label/><Include source=\"mixed.xml\"/>"));
    const struct {
        const wchar_t* file;
        int labels;
    } cases[] = {{L"child.xml", 2}, {L"one.xml", 3}, {L"mixed.xml", 3}};
    for (const auto& c : cases) {
        const Stopwatch clock;
        Built built(c.file);
        ASSERT_NE(built.Root(), nullptr) << c.file;
        EXPECT_LE(built.Count(L"LabelUI"), c.labels) << c.file;
        built.Paint();
        EXPECT_LT(clock.Ms(), 1000u) << c.file;
    }
}

// An include count of a million is cut to a bound; so is a chain of counts that multiply.
TEST(HostileLayout, IncludeCountsAreBounded)
{
    const ScratchSkin skin;
    skin.WriteText(L"item.xml", "<Window><Label/></Window>");
    skin.WriteText(L"million.xml", Window("<Include source=\"item.xml\" count=\"1000000\"/>"));
    skin.WriteText(L"negative.xml", Window("<Label/><Include source=\"item.xml\" count=\"-5\"/>"));
    skin.WriteText(L"row.xml", "<Window><Include source=\"item.xml\" count=\"900\"/></Window>");
    skin.WriteText(L"grid.xml", Window("<Include source=\"row.xml\" count=\"900\"/>"));
    const Stopwatch clock;
    {
        Built built(L"million.xml");
        ASSERT_NE(built.Root(), nullptr);
        const int labels = built.Count(L"LabelUI");
        EXPECT_GT(labels, 0);
        EXPECT_LE(labels, 1000);
    }
    {
        Built built(L"negative.xml");
        ASSERT_NE(built.Root(), nullptr);
        EXPECT_EQ(built.Count(L"LabelUI"), 1);
    }
    {
        Built built(L"grid.xml");
        ASSERT_NE(built.Root(), nullptr);
        EXPECT_LT(built.Count(L"LabelUI"), 900 * 900);
    }
    EXPECT_LT(clock.Ms(), 8000u);
}

// Nesting far beyond any real skin is refused as a failed build; a deep but sane one builds, lays
// out and paints.
TEST(HostileLayout, DeepNestingIsRefused)
{
    const ScratchSkin skin;
    const auto nested = [](int depth) {
        std::string open;
        std::string close;
        for (int i = 0; i < depth; ++i) {
            open += "<VerticalLayout>";
            close += "</VerticalLayout>";
        }
        return "<Window>" + open + "<Label/>" + close + "</Window>";
    };
    skin.WriteText(L"d2000.xml", nested(2000));
    skin.WriteText(L"d20000.xml", nested(20000));
    skin.WriteText(L"d250.xml", nested(250));
    // Two files each within the bound whose include makes the whole too deep.
    skin.WriteText(L"half.xml", nested(150));
    std::string outer = nested(150);
    outer.replace(outer.find("<Label/>"), 8, "<Include source=\"half.xml\"/>");
    skin.WriteText(L"outer.xml", outer);

    const Stopwatch clock;
    for (const wchar_t* file : {L"d2000.xml", L"d20000.xml"}) {
        Built built(file);
        EXPECT_EQ(built.Root(), nullptr) << file;
    }
    {
        Built built(L"d250.xml");
        ASSERT_NE(built.Root(), nullptr);
        EXPECT_EQ(built.Count(L"LabelUI"), 1);
        built.Paint();
    }
    {
        Built built(L"outer.xml");
        ASSERT_NE(built.Root(), nullptr);
        EXPECT_EQ(built.Count(L"LabelUI"), 0) << "the include that goes too deep is skipped";
        built.Paint();
    }
    EXPECT_LT(clock.Ms(), 3000u);
}

// A chain of distinct files, each including the next at its root level, is cut where the stack
// would run out: a short chain builds whole, a long one builds its first links and the window
// goes on.
TEST(HostileLayout, IncludeChainsAreBoundedByTheStack)
{
    const ScratchSkin skin;
    const auto chain = [&skin](const std::wstring& prefix, int links) {
        for (int i = 0; i < links; ++i) {
            const std::string next = i + 1 < links ? "<Include source=\"" + std::string(prefix.begin(), prefix.end()) +
                                                         std::to_string(i + 1) + ".xml\"/>"
                                                   : "";
            skin.WriteText(prefix + std::to_wstring(i) + L".xml", "<Window><Label/>" + next + "</Window>");
        }
        skin.WriteText(prefix + L".xml", Window("<Include source=\"" + std::string(prefix.begin(), prefix.end()) +
                                                "0.xml\"/>"));
    };
    chain(L"short", 12);
    chain(L"long", 2000);
    const Stopwatch clock;
    {
        Built built(L"short.xml");
        ASSERT_NE(built.Root(), nullptr);
        EXPECT_EQ(built.Count(L"LabelUI"), 12);
    }
    {
        Built built(L"long.xml");
        ASSERT_NE(built.Root(), nullptr);
        const int labels = built.Count(L"LabelUI");
        EXPECT_GT(labels, 12);
        EXPECT_LT(labels, 100);
        built.Paint();
    }
    EXPECT_LT(clock.Ms(), 5000u);
}

// 1 MB markup texts, attribute lists and image descriptors are built, measured, painted and
// hovered in linear time: one long word, tags without closers, font tags that each ask for a
// new font, many escaped quotes.
TEST(HostileLayout, HugeValuesStayLinear)
{
    const ScratchSkin skin;
    const auto repeat = [](const std::string& piece) {
        std::string text;
        while (text.size() < 1000000)
            text += piece;
        return text;
    };
    const std::string texts[] = {
        repeat("&lt;b&gt;x&lt;a&gt;{a}{c #FF00FF}{x 4}&lt;i"), repeat("w"), repeat("{b "), repeat("{"),
        repeat("{b}"), repeat("{a x}w{/a}"), repeat("{f Arial 9 bold}{f Tahoma 11}{f Arial 13}"),
        repeat("{f 1}{i}{u}{p 3}"), repeat("{y -30}ab "), repeat("{x -900}ab{x 900}"), repeat("{b}{c #1}wd "),
        repeat("{p 2}{i}w{/p}")};
    int index = 0;
    for (const std::string& text : texts) {
        const std::wstring file = L"huge" + std::to_wstring(index++) + L".xml";
        skin.WriteText(file, Window("<Text showhtml=\"true\" height=\"100\" text=\"" + text + "\"/>"
                                    "<Label showhtml=\"true\" autocalcwidth=\"true\" height=\"30\" text=\"" +
                                    text.substr(0, 200000) + "\"/>"
                                    "<Text showhtml=\"true\" autocalcheight=\"true\" text=\"" +
                                    text.substr(0, 200000) + "\"/>"));
        const Stopwatch clock;
        Built built(file.c_str());
        ASSERT_NE(built.Root(), nullptr) << file;
        built.Paint();
        for (int x = 10; x < 390; x += 95)
            ::SendMessageW(built.Window().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 50));
        built.Paint();
        EXPECT_LT(clock.Ms(), 1500u) << file;
    }

    // Attribute lists: a class default with a 1 MB text, and a 1 MB list of escaped quotes.
    std::string quotes;
    while (quotes.size() < 1000000)
        quotes += "&amp;quot;";
    skin.WriteText(L"lists.xml", "<Window><Default name=\"Label\" value=\"text=&quot;" + std::string(1000000, 'z') +
                                     "&quot;\"/><VerticalLayout><Label/><Control innerstyle=\"" + quotes +
                                     "\"/></VerticalLayout></Window>");
    {
        const Stopwatch clock;
        Built built(L"lists.xml");
        ASSERT_NE(built.Root(), nullptr);
        built.Paint();
        EXPECT_LT(clock.Ms(), 1500u);
    }

    std::string descriptor = "file='";
    descriptor.append(1000000, 'q');
    descriptor += "' corner='2,2,2,2'";
    skin.WriteText(L"bkimage.xml", Window("<Control bkimage=\"" + descriptor + "\"/>"));
    const Stopwatch clock;
    Built built(L"bkimage.xml");
    ASSERT_NE(built.Root(), nullptr);
    built.Paint();
    EXPECT_LT(clock.Ms(), 1500u);
}

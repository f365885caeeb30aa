// Markup syntax, error reporting and robustness of CXmlDocument.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlTestSupport.h"
#include "xml/XmlDocument.h"

using ZvUI::CXmlDocument;
using ZvUI::CXmlNode;
using ZvUITest::LastError;
using ZvUITest::LastLocation;

namespace {

// name[attr=value;...]:text(child,child)
std::wstring Outline(const CXmlNode& node)
{
    std::wstring out = node.GetName();
    if (node.GetAttributeCount() > 0) {
        out += L"[";
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            out += (i ? L";" : L"") + std::wstring(node.GetAttributeName(i)) + L"=" + node.GetAttributeValue(i);
        }
        out += L"]";
    }
    if (node.GetValue()[0] != L'\0') {
        out += std::wstring(L":") + node.GetValue();
    }
    if (node.HasChildren()) {
        out += L"(";
        for (CXmlNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
            out += Outline(child) + (child.HasSiblings() ? L"," : L"");
        }
        out += L")";
    }
    return out;
}

std::wstring Outline(CXmlDocument& document)
{
    std::wstring out;
    for (CXmlNode node = document.GetRoot(); node.IsValid(); node = node.GetSibling()) {
        out += (out.empty() ? L"" : L" ") + Outline(node);
    }
    return out;
}

struct GoodCase {
    const wchar_t* input;
    const wchar_t* outline;
};

const GoodCase kGoodCases[] = {
    {L"", L""},
    {L" \r\n\t ", L""},
    {L"<!-- only a comment -->", L""},
    {L"<Window>", L"Window"},
    {L"<Window><Button/>", L"Window(Button)"},
    {L"<Window><Button>", L"Window(Button)"},
    {L"<Window><Button>x&lt;", L"Window(Button:x<)"},
    {L"<a/><b/>", L"a b"},
    {L"<a>x<b/></a>", L"a:x(b)"},
    {L"<a ></a >", L"a"},
    {L"<a>\n  <b/>\n  <c></c>\n</a>", L"a:\n  (b,c)"},
    {L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- c -->\n<a/>", L"a"},
    {L"<a v=\"&lt;&amp;&gt;&quot;&apos;\"/>", L"a[v=<&>\"']"},
    {L"<a v=\"&nbsp;&#65;&amp\"/>", L"a[v=&nbsp;&#65;&amp]"},
    {L"<a v=\"&&amp;&\"/>", L"a[v=&&&]"},
    {L"<a>1 &lt; 2 &amp;&amp; 3</a>", L"a:1 < 2 && 3"},
    {L"<a>t&amp;<b/></a>", L"a:t&(b)"},
    {L"<a>t&amp;", L"a:t&"},
    {L"<a  k = \"1\"\tm=\"2\"\n/>", L"a[k=1;m=2]"},
    {L"<a k=\"\" m=\"x y\"></a>", L"a[k=;m=x y]"},
    {L"<a k=\"1\" >t</a>", L"a[k=1]:t"},
    {L"<a k=\"&quot;q&quot;\" m=\"2\" >t</a>", L"a[k=\"q\";m=2]:t"},
    {L"<a >\"q\"</a>", L"a:\"q\""},
    {L"<a >xyz", L"a:xyz"},
    {L"<a_b:c d_1=\"v\"/>", L"a_b:c[d_1=v]"},
    {L"<a t=\"\x4E2D\x6587\xD83D\xDE00\">\x6587\x672C</a>", L"a[t=\x4E2D\x6587\xD83D\xDE00]:\x6587\x672C"},
    {L"<a v=\"x > y\">p > q</a>", L"a[v=x > y]:p > q"},
    // Declarations end at their own '>', comments at "-->", instructions at "?>".
    {L"<!DOCTYPE a><a/>", L"a"},
    {L"<!DOCTYPE a [<!ELEMENT a ANY>]><a/>", L"a"},
    {L"<!-- x -> y --><a/>", L"a"},
    {L"<!-- a > b --><!----><a/>", L"a"},
    {L"<a><!-- c --><b/><?pi -> x?><c/></a>", L"a(b,c)"},
};

class XmlGoodInput : public testing::TestWithParam<GoodCase> {};

TEST_P(XmlGoodInput, LoadsTheExpectedTree)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(GetParam().input)) << LastError(document).c_str() << " at " << LastLocation(document).c_str();
    EXPECT_TRUE(document.IsValid());
    EXPECT_EQ(Outline(document), GetParam().outline);
    EXPECT_EQ(LastError(document), L"");
}

INSTANTIATE_TEST_SUITE_P(Syntax, XmlGoodInput, testing::ValuesIn(kGoodCases));

struct BadCase {
    const wchar_t* input;
    const wchar_t* message;
    const wchar_t* location;
};

const BadCase kBadCases[] = {
    {L"x", L"Expected start tag", L"x"},
    {L"<a/>junk", L"Expected start tag", L"junk"},
    {L"<a>x<b/>y</a>", L"Expected start tag", L"y</a>"},
    {L"<a><!-- c -->y</a>", L"Expected start tag", L"y</a>"},
    {L"<Window><VerticalLayout><Button/>", L"Expected start tag", L""},
    {L"<Window><VerticalLayout><Button>", L"Expected end-tag start", L""},
    {L"<abc", L"Error parsing element name", L""},
    {L"<a b=\"1\"", L"Expected start-tag closing", L""},
    {L"<a b=\"1\" / >", L"Expected start-tag closing", L"/ >"},
    {L"<a b=\"1\" x>", L"Error while parsing attributes", L">"},
    {L"<a data-x=\"1\"/>", L"Error while parsing attributes", L"-x=\"1\"/>"},
    {L"<a b.c=\"1\"/>", L"Error while parsing attributes", L".c=\"1\"/>"},
    {L"<a b='1'/>", L"Expected attribute value", L"'1'/>"},
    {L"<a b=1/>", L"Expected attribute value", L"1/>"},
    {L"<a b=\"1/>", L"Error while parsing attribute string", L""},
    {L"<a></A>", L"Unmatched closing tag", L"A>"},
    {L"<a></a x>", L"Unmatched closing tag", L"x>"},
    {L"<ab></a>", L"Unmatched closing tag", L"a>"},
    {L"<a><b></a></b>", L"Unmatched closing tag", L"a></b>"},
    {L"<a>x</a", L"Unmatched closing tag", L""},
};

class XmlBadInput : public testing::TestWithParam<BadCase> {};

TEST_P(XmlBadInput, FailsWithMessageAndLocation)
{
    CXmlDocument document;
    EXPECT_FALSE(document.Load(GetParam().input));
    EXPECT_EQ(LastError(document), GetParam().message);
    EXPECT_EQ(LastLocation(document), GetParam().location);
    EXPECT_FALSE(document.IsValid());
    EXPECT_FALSE(document.GetRoot().IsValid());
}

INSTANTIATE_TEST_SUITE_P(Syntax, XmlBadInput, testing::ValuesIn(kBadCases));

TEST(XmlDocument, EmptyDocumentHasNoRoot)
{
    CXmlDocument document;
    EXPECT_FALSE(document.IsValid());
    EXPECT_FALSE(document.GetRoot().IsValid());
    ASSERT_TRUE(document.Load(L"<!-- nothing -->"));
    EXPECT_TRUE(document.IsValid());
    EXPECT_FALSE(document.GetRoot().IsValid());
    EXPECT_FALSE(document.Load(nullptr));
    EXPECT_FALSE(document.IsValid());
}

TEST(XmlDocument, ConstructorLoadsText)
{
    CXmlDocument document(L"<Window caption=\"0,0,0,30\"/>");
    ASSERT_TRUE(document.IsValid());
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"caption"), L"0,0,0,30");
}

TEST(XmlDocument, ErrorLocationKeepsAtMost49Characters)
{
    CXmlDocument document;
    const std::wstring garbage(200, L'g');
    EXPECT_FALSE(document.Load((L"<a/>" + garbage).c_str()));
    EXPECT_EQ(LastLocation(document), garbage.substr(0, 49));
}

TEST(XmlDocument, ErrorTextsLastUntilTheNextParse)
{
    CXmlDocument document;
    EXPECT_FALSE(document.Load(L"<a></b>"));
    document.Release();
    EXPECT_EQ(LastError(document), L"Unmatched closing tag");
    ASSERT_TRUE(document.Load(L"<a/>"));
    EXPECT_EQ(LastError(document), L"");
    EXPECT_EQ(LastLocation(document), L"");
}

TEST(XmlDocument, ErrorGettersTerminateWithinTheirCount)
{
    CXmlDocument document;
    EXPECT_FALSE(document.Load(L"<a></b>"));
    for (int count = 0; count <= 8; ++count) {
        wchar_t message[16];
        wchar_t location[16];
        std::fill(std::begin(message), std::end(message), L'#');
        std::fill(std::begin(location), std::end(location), L'#');
        document.GetLastErrorMessage(message, count);
        document.GetLastErrorLocation(location, count);
        for (int i = count; i < 16; ++i) {
            ASSERT_EQ(message[i], L'#') << "count " << count;
            ASSERT_EQ(location[i], L'#') << "count " << count;
        }
        if (count > 0) {
            EXPECT_EQ(std::wstring(message), std::wstring(L"Unmatched closing tag").substr(0, count - 1));
            EXPECT_EQ(std::wstring(location), std::wstring(L"b>").substr(0, count - 1));
        }
    }
    document.GetLastErrorMessage(nullptr, 10);
}

TEST(XmlDocument, CollapsesSpaceRunsWhenWhitespaceIsNotPreserved)
{
    const wchar_t* input = L"<a k=\"x   \ty\">p \t\n q\t\tr</a>";
    CXmlDocument document;
    ASSERT_TRUE(document.Load(input));
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"k"), L"x   \ty");
    EXPECT_STREQ(document.GetRoot().GetValue(), L"p \t\n q\t\tr");

    document.SetPreserveWhitespace(false);
    ASSERT_TRUE(document.Load(input));
    EXPECT_STREQ(document.GetRoot().GetAttributeValue(L"k"), L"x y");
    EXPECT_STREQ(document.GetRoot().GetValue(), L"p q\t\tr");
}

TEST(XmlDocument, ManyElementsKeepDocumentOrder)
{
    std::wstring text = L"<Window>";
    for (int i = 0; i < 5000; ++i) {
        text += L"<B" + std::to_wstring(i) + L" i=\"" + std::to_wstring(i) + L"\"/>";
    }
    text += L"</Window>";
    CXmlDocument document;
    ASSERT_TRUE(document.Load(text.c_str()));
    int i = 0;
    for (CXmlNode child = document.GetRoot().GetChild(); child.IsValid(); child = child.GetSibling(), ++i) {
        ASSERT_EQ(std::wstring(child.GetName()), L"B" + std::to_wstring(i));
        ASSERT_EQ(std::wstring(child.GetAttributeValue(L"i")), std::to_wstring(i));
        ASSERT_STREQ(child.GetParent().GetName(), L"Window");
    }
    EXPECT_EQ(i, 5000);
}

TEST(XmlDocument, DeepNestingNeitherOverflowsNorLosesLevels)
{
    const int depth = 300000;
    std::wstring text;
    for (int i = 0; i < depth; ++i) {
        text += L"<a>";
    }
    text += L"<leaf/>";
    for (int i = 0; i < depth; ++i) {
        text += L"</a>";
    }
    CXmlDocument document;
    ASSERT_TRUE(document.Load(text.c_str()));
    CXmlNode node = document.GetRoot();
    int levels = 0;
    while (node.HasChildren()) {
        node = node.GetChild();
        ++levels;
    }
    EXPECT_STREQ(node.GetName(), L"leaf");
    EXPECT_EQ(levels, depth);
    for (; node.GetParent().IsValid(); node = node.GetParent()) {
        --levels;
    }
    EXPECT_EQ(levels, 0);

    text.erase(text.size() - 4 * depth);
    EXPECT_FALSE(document.Load(text.c_str()));
    EXPECT_EQ(LastError(document), L"Expected start tag");
}

TEST(XmlDocument, ReloadReplacesTheTree)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(L"<a><b/></a>"));
    ASSERT_TRUE(document.Load(L"<c/>"));
    EXPECT_STREQ(document.GetRoot().GetName(), L"c");
    EXPECT_FALSE(document.GetRoot().HasChildren());
    EXPECT_FALSE(document.Load(L"<c>"
                               L"</d>"));
    EXPECT_FALSE(document.GetRoot().IsValid());
}

} // namespace

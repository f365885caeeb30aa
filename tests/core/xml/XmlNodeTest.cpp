// Navigation and attribute access of CXmlNode.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "xml/XmlDocument.h"

using ZvUI::CXmlDocument;
using ZvUI::CXmlNode;

namespace {

const wchar_t kLayout[] =
    L"<Window size=\"600,400\" Caption=\"0,0,0,40\">"
    L"<Font id=\"0\" name=\"\x5FAE\x8F6F\x96C5\x9ED1\"/>"
    L"<VerticalLayout name=\"root\"><Button name=\"ok\" text=\"OK\"/><Button name=\"cancel\"/></VerticalLayout>"
    L"<Label/>"
    L"</Window>";

TEST(XmlNode, WalksChildrenSiblingsAndParents)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(kLayout));
    CXmlNode root = document.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(root.GetName(), L"Window");
    EXPECT_FALSE(root.GetParent().IsValid());
    EXPECT_FALSE(root.HasSiblings());
    EXPECT_TRUE(root.HasChildren());

    CXmlNode font = root.GetChild();
    EXPECT_STREQ(font.GetName(), L"Font");
    EXPECT_FALSE(font.HasChildren());
    CXmlNode layout = font.GetSibling();
    EXPECT_STREQ(layout.GetName(), L"VerticalLayout");
    CXmlNode label = layout.GetSibling();
    EXPECT_STREQ(label.GetName(), L"Label");
    EXPECT_FALSE(label.HasSiblings());
    EXPECT_FALSE(label.GetSibling().IsValid());

    CXmlNode cancel = layout.GetChild().GetSibling();
    EXPECT_STREQ(cancel.GetAttributeValue(L"name"), L"cancel");
    EXPECT_STREQ(cancel.GetParent().GetName(), L"VerticalLayout");
    EXPECT_STREQ(cancel.GetParent().GetParent().GetName(), L"Window");
}

TEST(XmlNode, FindsChildrenByNameIgnoringCase)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(kLayout));
    CXmlNode root = document.GetRoot();
    EXPECT_STREQ(root.GetChild(L"verticallayout").GetAttributeValue(L"name"), L"root");
    EXPECT_STREQ(root.GetChild(L"LABEL").GetName(), L"Label");
    EXPECT_FALSE(root.GetChild(L"Button").IsValid()); // grandchildren are not searched
    EXPECT_FALSE(root.GetChild(L"Missing").IsValid());
    EXPECT_FALSE(root.GetChild(nullptr).IsValid());
    EXPECT_STREQ(root.GetChild(L"VerticalLayout").GetChild(L"button").GetAttributeValue(L"name"), L"ok");
}

TEST(XmlNode, InvalidNodeAnswersNothing)
{
    const CXmlNode node;
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(node.GetName(), nullptr);
    EXPECT_EQ(node.GetValue(), nullptr);
    EXPECT_FALSE(node.GetChild().IsValid());
    EXPECT_FALSE(node.GetChild(L"a").IsValid());
    EXPECT_FALSE(node.GetSibling().IsValid());
    EXPECT_FALSE(node.GetParent().IsValid());
    EXPECT_FALSE(node.HasChildren());
    EXPECT_FALSE(node.HasSiblings());
    EXPECT_EQ(node.GetAttributeCount(), 0);
    EXPECT_FALSE(node.HasAttributes());
    EXPECT_FALSE(node.HasAttribute(L"a"));
    EXPECT_EQ(node.GetAttributeName(0), nullptr);
    EXPECT_EQ(node.GetAttributeValue(0), nullptr);
    EXPECT_EQ(node.GetAttributeValue(L"a"), nullptr);
    wchar_t buffer[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_FALSE(node.GetAttributeValue(0, buffer, 4));
    EXPECT_FALSE(node.GetAttributeValue(L"a", buffer, 4));
    EXPECT_EQ(buffer[0], L'#');
}

TEST(XmlNode, NodeOfAReleasedDocumentReadsNothing)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(kLayout));
    const CXmlNode label = document.GetRoot().GetChild(L"Label");
    ASSERT_TRUE(label.IsValid());
    document.Release();
    EXPECT_EQ(label.GetName(), nullptr);
    EXPECT_EQ(label.GetAttributeValue(L"name"), nullptr);
}

TEST(XmlNode, ReadsAttributesByIndexAndByName)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(kLayout));
    const CXmlNode root = document.GetRoot();
    ASSERT_EQ(root.GetAttributeCount(), 2);
    EXPECT_TRUE(root.HasAttributes());
    EXPECT_STREQ(root.GetAttributeName(0), L"size");
    EXPECT_STREQ(root.GetAttributeValue(0), L"600,400");
    EXPECT_STREQ(root.GetAttributeName(1), L"Caption");
    EXPECT_STREQ(root.GetAttributeName(2), L"");
    EXPECT_STREQ(root.GetAttributeValue(-1), L"");
    EXPECT_STREQ(root.GetAttributeValue(L"caption"), L"0,0,0,40");
    EXPECT_STREQ(root.GetAttributeValue(L"SIZE"), L"600,400");
    EXPECT_STREQ(root.GetAttributeValue(L"missing"), L"");
    EXPECT_STREQ(root.GetAttributeValue(static_cast<LPCWSTR>(nullptr)), L"");
    EXPECT_TRUE(root.HasAttribute(L"CAPTION"));
    EXPECT_FALSE(root.HasAttribute(L"bkcolor"));
    EXPECT_STREQ(root.GetChild().GetAttributeValue(L"name"), L"\x5FAE\x8F6F\x96C5\x9ED1");

    const CXmlNode label = root.GetChild(L"Label");
    EXPECT_EQ(label.GetAttributeCount(), 0);
    EXPECT_FALSE(label.HasAttributes());
    EXPECT_STREQ(label.GetAttributeValue(L"name"), L"");
}

TEST(XmlNode, MapsTheFirst64Attributes)
{
    std::wstring text = L"<a";
    for (int i = 0; i < 70; ++i) {
        text += L" k" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    }
    text += L"/>";
    CXmlDocument document;
    ASSERT_TRUE(document.Load(text.c_str()));
    const CXmlNode node = document.GetRoot();
    EXPECT_EQ(node.GetAttributeCount(), CXmlNode::kMaxAttributes);
    EXPECT_STREQ(node.GetAttributeValue(L"k63"), L"v63");
    EXPECT_STREQ(node.GetAttributeValue(L"k64"), L"");
    EXPECT_FALSE(node.HasAttribute(L"k69"));
}

TEST(XmlNode, CopiesValuesTerminatedWithinTheCount)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(L"<a name=\"abcdef\" e=\"\"/>"));
    const CXmlNode node = document.GetRoot();
    struct Row {
        int count;
        bool result;
        const wchar_t* copied;
    };
    const Row rows[] = {{0, false, nullptr}, {1, true, L""}, {4, true, L"abc"}, {6, true, L"abcde"},
                        {7, true, L"abcdef"}, {12, true, L"abcdef"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.count);
        wchar_t byIndex[16];
        wchar_t byName[16];
        std::fill(std::begin(byIndex), std::end(byIndex), L'#');
        std::fill(std::begin(byName), std::end(byName), L'#');
        EXPECT_EQ(node.GetAttributeValue(0, byIndex, row.count), row.result);
        EXPECT_EQ(node.GetAttributeValue(L"NAME", byName, row.count), row.result);
        if (row.copied != nullptr) {
            EXPECT_STREQ(byIndex, row.copied);
            EXPECT_STREQ(byName, row.copied);
        }
        const int used = row.copied != nullptr ? static_cast<int>(wcslen(row.copied)) + 1 : 0;
        for (int i = used; i < 16; ++i) {
            ASSERT_EQ(byIndex[i], L'#');
            ASSERT_EQ(byName[i], L'#');
        }
    }
    wchar_t buffer[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_TRUE(node.GetAttributeValue(L"e", buffer, 4));
    EXPECT_STREQ(buffer, L"");
    EXPECT_FALSE(node.GetAttributeValue(5, buffer, 4));
    EXPECT_FALSE(node.GetAttributeValue(L"missing", buffer, 4));
    EXPECT_FALSE(node.GetAttributeValue(0, nullptr, 4));
}

TEST(XmlNode, CopiesShareTheDocument)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(kLayout));
    const CXmlNode root = document.GetRoot();
    ASSERT_EQ(root.GetAttributeCount(), 2);
    const CXmlNode copy = root;
    EXPECT_STREQ(copy.GetAttributeValue(L"size"), L"600,400");
    EXPECT_EQ(copy.GetName(), root.GetName());
}

} // namespace

// Child layout: the builder seam is asked for the file's tree at Init; failure leaves it empty.
#include "layout/ChildLayoutUI.h"

#include <gtest/gtest.h>

#include <string>

#include "../scroll/HostWindow.h"

using ZvUI::CChildLayoutUI;
using ZvUI::CControlUI;
using scroll_test::HostWindow;

namespace {

std::wstring g_asked;
ZvUI::CPaintManagerUI* g_manager = nullptr;

CControlUI* BuildKnown(LPCWSTR file, ZvUI::CPaintManagerUI* manager)
{
    g_asked = file;
    g_manager = manager;
    if (std::wstring(file) != L"page.xml")
        return nullptr;
    auto* root = new CControlUI;
    root->SetName(L"built");
    return root;
}

class ChildLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        CChildLayoutUI::SetBuilder(&BuildKnown);
        g_asked.clear();
        g_manager = nullptr;
    }
    void TearDown() override { CChildLayoutUI::SetBuilder(nullptr); }
};

} // namespace

TEST_F(ChildLayout, InitAddsTheBuiltTree)
{
    HostWindow window(100, 100);
    auto* child = new CChildLayoutUI;
    child->SetAttribute(L"XmlFile", L"page.xml");
    EXPECT_STREQ(child->GetChildLayoutXML(), L"page.xml");
    EXPECT_EQ(child->GetCount(), 0) << "setting the file builds nothing yet";
    // Controls under a parent are initialised as they join the tree.
    auto* root = new ZvUI::CContainerUI;
    window.SetRoot(root, RECT{0, 0, 100, 100});
    ASSERT_TRUE(root->Add(child));
    EXPECT_EQ(g_asked, L"page.xml");
    EXPECT_EQ(g_manager, &window.Manager());
    ASSERT_EQ(child->GetCount(), 1);
    EXPECT_STREQ(child->GetItemAt(0)->GetName(), L"built");
    EXPECT_EQ(window.Manager().FindControl(L"built"), child->GetItemAt(0));
}

TEST_F(ChildLayout, FileThatCannotBeBuiltLeavesItEmpty)
{
    CChildLayoutUI child;
    child.SetDelayedDestroy(false);
    ASSERT_TRUE(child.Add(new CControlUI));
    child.SetChildLayoutXML(L"missing.xml");
    child.Init();
    EXPECT_EQ(g_asked, L"missing.xml");
    EXPECT_EQ(child.GetCount(), 0);
}

TEST_F(ChildLayout, EmptyFileNameDoesNothing)
{
    CChildLayoutUI child;
    ASSERT_TRUE(child.Add(new CControlUI));
    child.Init();
    EXPECT_TRUE(g_asked.empty());
    EXPECT_EQ(child.GetCount(), 1);
    EXPECT_STREQ(child.GetClass(), L"ChildLayoutUI");
    EXPECT_EQ(child.GetInterface(L"childlayout"), &child);
}

TEST(ChildLayoutWithoutBuilder, BuildsNothing)
{
    ASSERT_EQ(CChildLayoutUI::GetBuilder(), nullptr);
    CChildLayoutUI child;
    child.SetChildLayoutXML(L"page.xml");
    child.Init();
    EXPECT_EQ(child.GetCount(), 0);
}

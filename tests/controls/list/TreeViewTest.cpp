// The tree view of the test skin, driven by real window messages: the depth-first rows and their
// indentation, folder buttons and double clicks that collapse and expand, cascading check boxes,
// and nodes added with their subtrees.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ListSkin.h"
#include "control/CheckBoxUI.h"
#include "control/LabelUI.h"
#include "layout/HorizontalLayoutUI.h"
#include "tree/TreeNodeUI.h"

using namespace ZvUI;

namespace {

class TreeTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { w = std::make_unique<ListSkinWindow>(GetParam()); }
    CTreeNodeUI* Node(LPCWSTR name) { return static_cast<CTreeNodeUI*>(w->Find(name)); }
    std::vector<std::wstring> VisibleRows()
    {
        std::vector<std::wstring> out;
        for (int i = 0; i < w->tree->GetCount(); ++i) {
            CControlUI* row = w->tree->GetItemAt(i);
            if (row->IsVisible())
                out.push_back(row->GetName().GetData());
        }
        return out;
    }
    std::unique_ptr<ListSkinWindow> w;
};

using Names = std::vector<std::wstring>;

const Names kAllRows = {L"docs", L"reports", L"r2025", L"r2026", L"letters", L"invite", L"pics", L"holiday", L"beach"};

} // namespace

TEST_P(TreeTest, NodesAreRowsInDepthFirstOrderIndentedByLevel)
{
    ASSERT_EQ(VisibleRows(), kAllRows);
    const int levels[] = {0, 1, 2, 2, 1, 2, 0, 1, 2};
    for (int i = 0; i < w->tree->GetCount(); ++i) {
        auto* node = static_cast<CTreeNodeUI*>(w->tree->GetItemAt(i));
        EXPECT_EQ(node->GetTreeLevel(), levels[i]) << i;
        EXPECT_EQ(node->GetTreeIndex(), i);
        EXPECT_EQ(node->GetTreeView(), w->tree);
        // The folder button is as wide as the row is high, and the indent is that width per level.
        const RECT folder = node->GetFolderButton()->GetPos();
        EXPECT_EQ(folder.right - folder.left, w->Scale(18));
        EXPECT_EQ(node->GetFolderButton()->GetPadding().left, w->Scale(18 * levels[i]));
        EXPECT_TRUE(node->GetCheckBox()->IsVisible()) << "visiblecheckbtn";
        // The dotted line grows by 16 a level, however the skin's nesting was built.
        if (levels[i] > 0)
            EXPECT_EQ(node->GetDottedLine()->GetFixedWidth(), w->Scale(2 + 16 * levels[i])) << i;
        EXPECT_EQ(node->GetDottedLine()->IsVisible(), levels[i] > 0) << i;
    }
    EXPECT_EQ(Node(L"reports")->GetParentNode(), Node(L"docs"));
    EXPECT_EQ(Node(L"docs")->GetLastNode(), Node(L"invite"));
    // A control written inside a node joins the node's own row.
    EXPECT_EQ(w->Find(L"beachtag")->GetParent(), Node(L"beach")->GetTreeNodeHorizontal());
    EXPECT_EQ(Node(L"beach")->GetCountChild(), 0);
}

TEST_P(TreeTest, FolderButtonsCollapseAndExpandSubtrees)
{
    w->Click(CenterOf(Node(L"reports")->GetFolderButton()));
    EXPECT_EQ(VisibleRows(), (Names{L"docs", L"reports", L"letters", L"invite", L"pics", L"holiday", L"beach"}));
    EXPECT_FALSE(Node(L"reports")->GetVisibleTag());
    w->Click(CenterOf(Node(L"docs")->GetFolderButton()));
    EXPECT_EQ(VisibleRows(), (Names{L"docs", L"pics", L"holiday", L"beach"}));
    w->Click(CenterOf(Node(L"docs")->GetFolderButton()));
    EXPECT_EQ(VisibleRows(), (Names{L"docs", L"reports", L"letters", L"invite", L"pics", L"holiday", L"beach"}))
        << "the collapsed child keeps its rows hidden";
    // The rows below move up into the room of the hidden ones.
    EXPECT_EQ(Node(L"letters")->GetPos().top, Node(L"reports")->GetPos().bottom);
}

TEST_P(TreeTest, DoubleClickTogglesANode)
{
    w->DoubleClick(CenterOf(Node(L"letters")->GetItemButton()));
    EXPECT_EQ(w->log.Count(L"treeitemdbclick"), 1);
    EXPECT_FALSE(Node(L"invite")->IsVisible());
    EXPECT_TRUE(Node(L"letters")->GetFolderButton()->IsSelected());
    EXPECT_EQ(w->tree->GetCurSel(), 4) << "the press selected the node";

    Node(L"pics")->SetEnabled(false);
    w->log.entries.clear();
    w->DoubleClick(CenterOf(Node(L"pics")->GetItemButton()));
    EXPECT_EQ(w->log.Count(L"treeitemdbclick"), 0);
    EXPECT_TRUE(Node(L"holiday")->IsVisible());
}

TEST_P(TreeTest, ADisabledNodeNeitherFoldsNorTicks)
{
    Node(L"pics")->SetEnabled(false);
    w->log.entries.clear();
    w->Click(CenterOf(Node(L"pics")->GetFolderButton()));
    EXPECT_TRUE(Node(L"holiday")->IsVisible()) << "its folder button folded it";
    w->Click(CenterOf(Node(L"pics")->GetCheckBox()));
    EXPECT_FALSE(Node(L"pics")->IsCheckBoxSelected());
    EXPECT_EQ(w->log.Count(L"selectchanged"), 0);
    Node(L"pics")->SetEnabled(true);
    w->Click(CenterOf(Node(L"pics")->GetFolderButton()));
    EXPECT_FALSE(Node(L"holiday")->IsVisible());
}

TEST_P(TreeTest, CheckingANodeChecksItsWholeSubtree)
{
    w->Click(CenterOf(Node(L"docs")->GetCheckBox()));
    for (LPCWSTR name : {L"docs", L"reports", L"r2025", L"r2026", L"letters", L"invite"})
        EXPECT_TRUE(Node(name)->IsCheckBoxSelected()) << name;
    EXPECT_FALSE(Node(L"pics")->IsCheckBoxSelected());
    int boxes = 0;
    for (const auto& e : w->log.Of(L"selectchanged"))
        boxes += static_cast<CControlUI*>(e.sender)->GetInterface(L"CheckBox") != nullptr && e.wParam == 1 ? 1 : 0;
    EXPECT_EQ(boxes, 6) << "each check box reports its own change";
    w->Click(CenterOf(Node(L"reports")->GetCheckBox()));
    EXPECT_FALSE(Node(L"r2026")->IsCheckBoxSelected());
    EXPECT_TRUE(Node(L"invite")->IsCheckBoxSelected());
}

TEST_P(TreeTest, ClickSelectsANodeAndArrowsWalkTheRows)
{
    w->Click(CenterOf(Node(L"reports")->GetItemButton()));
    EXPECT_EQ(w->tree->GetCurSel(), 1);
    ASSERT_EQ(w->log.Count(L"itemselect"), 1);
    EXPECT_EQ(w->log.Of(L"itemselect")[0].sender, w->tree);
    w->Key(VK_DOWN);
    EXPECT_EQ(w->tree->GetCurSel(), 2);

    // Arrows step over the rows of a collapsed branch: they cannot be seen.
    w->Click(CenterOf(Node(L"reports")->GetFolderButton()));
    w->Click(CenterOf(Node(L"reports")->GetItemButton()));
    w->Key(VK_DOWN);
    EXPECT_EQ(w->tree->GetCurSel(), Node(L"letters")->GetTreeIndex());
    w->Key(VK_UP);
    EXPECT_EQ(w->tree->GetCurSel(), Node(L"reports")->GetTreeIndex());
}

TEST_P(TreeTest, NodesAddedAtARowBringTheirWholeSubtree)
{
    auto* top = new CTreeNodeUI;
    auto* first = new CTreeNodeUI;
    auto* inner = new CTreeNodeUI;
    auto* second = new CTreeNodeUI;
    top->SetName(L"top");
    first->SetName(L"first");
    inner->SetName(L"inner");
    second->SetName(L"second");
    ASSERT_TRUE(first->AddChildNode(inner));
    ASSERT_TRUE(top->AddChildNode(first));
    ASSERT_TRUE(top->AddChildNode(second));
    EXPECT_EQ(w->tree->AddNodeAt(top, 1), 5);
    Names rows;
    for (int i = 0; i < 6; ++i)
        rows.push_back(w->tree->GetItemAt(i)->GetName().GetData());
    EXPECT_EQ(rows, (Names{L"docs", L"top", L"first", L"inner", L"second", L"reports"}));
    EXPECT_EQ(inner->GetTreeView(), w->tree);
    EXPECT_EQ(inner->GetFolderButton()->GetPadding().left, w->Scale(2 * 18));

    // A child appended to a node in the view lands after that node's whole subtree.
    auto* last = new CTreeNodeUI;
    last->SetName(L"last");
    ASSERT_TRUE(Node(L"docs")->AddAt(last, 5));
    EXPECT_EQ(last->GetTreeIndex(), Node(L"invite")->GetTreeIndex() + 1);
    EXPECT_EQ(Node(L"docs")->GetChildNode(2), last);
}

TEST_P(TreeTest, RemovingANodeRemovesItsSubtree)
{
    ASSERT_TRUE(w->tree->RemoveAt(1));
    Names rows;
    for (int i = 0; i < w->tree->GetCount(); ++i)
        rows.push_back(w->tree->GetItemAt(i)->GetName().GetData());
    EXPECT_EQ(rows, (Names{L"docs", L"letters", L"invite", L"pics", L"holiday", L"beach"}));
    EXPECT_EQ(Node(L"docs")->GetCountChild(), 1);
    EXPECT_EQ(Node(L"letters")->GetTreeIndex(), 1);
}

TEST_P(TreeTest, RemovingWhatIsNotThereReportsFailureAndChangesNothing)
{
    const int rows = w->tree->GetCount();
    EXPECT_FALSE(w->tree->RemoveAt(rows));
    EXPECT_FALSE(w->tree->RemoveAt(-1));
    // A node that is no row of the view keeps its children.
    auto* stray = new CTreeNodeUI;
    auto* strayChild = new CTreeNodeUI;
    ASSERT_TRUE(stray->AddChildNode(strayChild));
    EXPECT_FALSE(w->tree->RemoveNode(stray));
    EXPECT_EQ(stray->GetCountChild(), 1);
    EXPECT_EQ(w->tree->GetCount(), rows);
    delete stray;
    delete strayChild;
}

TEST_P(TreeTest, HiddenFolderButtonsTakeNoIndent)
{
    w->tree->SetVisibleFolderBtn(false);
    auto* extra = new CTreeNodeUI;
    auto* child = new CTreeNodeUI;
    ASSERT_TRUE(extra->AddChildNode(child));
    ASSERT_TRUE(w->tree->AddNode(extra));
    EXPECT_EQ(child->GetFolderButton()->GetPadding().left, 0);
    EXPECT_FALSE(Node(L"docs")->GetFolderButton()->IsVisible());
}

TEST_P(TreeTest, CollapsingTheWholeViewLeavesTheTopNodes)
{
    w->tree->SetItemExpand(false);
    EXPECT_EQ(VisibleRows(), (Names{L"docs", L"pics"}));
    for (int i = 0; i < w->tree->GetCount(); ++i)
        EXPECT_TRUE(static_cast<CTreeNodeUI*>(w->tree->GetItemAt(i))->GetFolderButton()->IsSelected()) << i;
    w->Click(CenterOf(Node(L"pics")->GetFolderButton()));
    EXPECT_EQ(VisibleRows(), (Names{L"docs", L"pics", L"holiday"}));
    w->tree->SetItemCheckBox(true);
    EXPECT_TRUE(Node(L"beach")->IsCheckBoxSelected());
}

TEST_P(TreeTest, NodeTextTakesTheColoursOfItsState)
{
    w->tree->SetAttribute(L"itemtextcolor", L"#FF102030");
    w->tree->SetAttribute(L"selitemtextcolor", L"#FFA0B0C0");
    w->tree->SetAttribute(L"itemhottextcolor", L"#FF405060");
    CTreeNodeUI* reports = Node(L"reports");
    EXPECT_EQ(reports->GetItemButton()->GetTextColor(), 0xFF102030u);
    w->Move(CenterOf(reports->GetItemButton()));
    EXPECT_EQ(reports->GetItemButton()->GetTextColor(), 0xFF405060u) << "under the mouse";
    w->Click(CenterOf(reports->GetItemButton()));
    EXPECT_EQ(reports->GetItemButton()->GetTextColor(), 0xFFA0B0C0u) << "selected";
    w->Click(CenterOf(Node(L"docs")->GetItemButton()));
    EXPECT_EQ(reports->GetItemButton()->GetTextColor(), 0xFF102030u);
}

TEST_P(TreeTest, FolderAndCheckBoxAreHitWhereTheyAreDrawn)
{
    CTreeNodeUI* letters = Node(L"letters");
    const RECT folder = letters->GetFolderButton()->GetPos();
    const RECT box = letters->GetCheckBox()->GetPos();
    // Just inside each part's far corner: a part drawn at the 100 % size would not reach it.
    const POINT folderCorner = {folder.right - 3, folder.bottom - 3};
    const POINT boxCorner = {box.right - 3, box.bottom - 3};
    EXPECT_EQ(PixelAt(w->Handle(), folderCorner.x, folderCorner.y), 0x6A9BD8u);
    EXPECT_EQ(PixelAt(w->Handle(), boxCorner.x, boxCorner.y), 0xF4F4F4u);
    w->Click(folderCorner);
    w->Click(boxCorner);
    EXPECT_EQ(PixelAt(w->Handle(), folderCorner.x, folderCorner.y), 0xE39A3Bu) << "collapsed";
    EXPECT_EQ(PixelAt(w->Handle(), boxCorner.x, boxCorner.y), 0x3CA04Au) << "checked";
    EXPECT_FALSE(Node(L"invite")->IsVisible());
    EXPECT_TRUE(Node(L"invite")->IsCheckBoxSelected());
}

INSTANTIATE_TEST_SUITE_P(Scale, TreeTest, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return info.param == 96 ? "At100" : "At200"; });

// Tree view: nodes as list rows, hooked through delegates to their folder buttons and check boxes.
#include "tree/TreeViewUI.h"

#include <cwchar>

#include "control/CheckBoxUI.h"
#include "list/ListHeaderUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "tree/TreeNodeUI.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using list_support::Is;
using list_support::ParseColor;

namespace {

// The node that holds a part: part -> the node's horizontal layout -> the node.
CTreeNodeUI* NodeOfPart(CControlUI* part)
{
    CControlUI* row = part != nullptr ? part->GetParent() : nullptr;
    CControlUI* node = row != nullptr ? row->GetParent() : nullptr;
    return node != nullptr ? static_cast<CTreeNodeUI*>(node->GetInterface(L"TreeNode")) : nullptr;
}

} // namespace

CTreeViewUI::CTreeViewUI()
{
    GetHeader()->SetVisible(false);
}

CTreeViewUI::~CTreeViewUI() = default;

LPCWSTR CTreeViewUI::GetClass() const
{
    return L"TreeViewUI";
}

LPVOID CTreeViewUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"TreeView"))
        return this;
    return CListUI::GetInterface(name);
}

void CTreeViewUI::Notify(UINotifyMessage& /*msg*/) {}

template <class F>
void CTreeViewUI::ForEachNode(F f)
{
    for (int i = 0; i < GetCount(); ++i) {
        if (CTreeNodeUI* node = NodeAt(i))
            f(node);
    }
}

CTreeNodeUI* CTreeViewUI::NodeAt(int index) const
{
    CControlUI* row = GetItemAt(index);
    return row != nullptr ? static_cast<CTreeNodeUI*>(row->GetInterface(L"TreeNode")) : nullptr;
}

// --- nodes ---

bool CTreeViewUI::PrepareNode(CTreeNodeUI* node)
{
    if (node == nullptr || node->GetInterface(L"TreeNode") == nullptr)
        return false;
    // The lists keep copies; an equal delegate is not added twice.
    node->NotifyHandlers.Add(MakeDelegate(this, &CTreeViewUI::OnItemDoubleClick));
    node->GetFolderButton()->NotifyHandlers.Add(MakeDelegate(this, &CTreeViewUI::OnFolderChanged));
    node->GetCheckBox()->NotifyHandlers.Add(MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged));
    node->SetVisibleFolderBtn(m_bVisibleFolderBtn);
    node->SetVisibleCheckBtn(m_bVisibleCheckBtn);
    if (m_uItemMinWidth > 0)
        node->SetMinWidth(static_cast<int>(m_uItemMinWidth));
    return true;
}

void CTreeViewUI::Indent(CTreeNodeUI* node)
{
    CCheckBoxUI* folder = node->GetFolderButton();
    // The padding is kept at 96 dpi like the width it is made of.
    int indent = folder->GetFixedWidth();
    if (folder->GetManager() != nullptr)
        indent = folder->GetManager()->GetDpiHelper()->Unscale(indent);
    if (indent < 1)
        indent = 16;
    if (!folder->IsVisibleOwn())
        indent = 0;
    folder->SetPadding(RECT{node->GetTreeLevel() * indent, 0, 0, 0});
}

bool CTreeViewUI::AddNode(CTreeNodeUI* node)
{
    if (!PrepareNode(node))
        return false;
    if (!CListUI::Add(node))
        return false;
    Indent(node);
    for (int i = 0; i < node->GetCountChild(); ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        if (child != nullptr)
            AddNode(child);
    }
    node->SetTreeView(this);
    return true;
}

int CTreeViewUI::AddNodeAt(CTreeNodeUI* node, int index)
{
    if (!PrepareNode(node))
        return -1;
    if (!CListUI::AddAt(node, index))
        return -1;
    Indent(node);
    node->SetTreeView(this);
    // Every child follows with its own subtree, in order.
    int next = index + 1;
    for (int i = 0; i < node->GetCountChild(); ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        if (child == nullptr)
            continue;
        const int after = AddNodeAt(child, next);
        if (after < 0)
            return -1;
        next = after;
    }
    return next;
}

bool CTreeViewUI::AddNodeAt(CTreeNodeUI* node, CTreeNodeUI* before)
{
    if (node == nullptr || before == nullptr)
        return false;
    const int index = GetItemIndex(before);
    if (index < 0 || GetItemAt(index) != before)
        return false;
    const int result = AddNodeAt(node, index);
    if (result >= 0)
        Indent(node);
    return result >= 0;
}

bool CTreeViewUI::RemoveNode(CTreeNodeUI* node)
{
    // Only a node whose row is in this view; anything else would lose its children for nothing.
    if (node == nullptr || CListUI::GetItemIndex(node) < 0)
        return false;
    // A node still listed by its parent leaves that list too, or the parent would go on
    // naming a row that is gone.
    CTreeNodeUI* parent = node->GetParentNode();
    if (parent != nullptr && parent->GetTreeNodes().Find(node) >= 0)
        return parent->RemoveChildNode(node);
    for (int i = node->GetCountChild() - 1; i >= 0; --i)
        node->RemoveChildNode(node->GetChildNode(i));
    return CListUI::Remove(node);
}

bool CTreeViewUI::RemoveAt(int index)
{
    return RemoveNode(NodeAt(index));
}

void CTreeViewUI::RemoveAll()
{
    CListUI::RemoveAll();
}

// --- expanding and checking ---

bool CTreeViewUI::OnCheckBoxChanged(void* param)
{
    auto* msg = static_cast<UINotifyMessage*>(param);
    if (msg != nullptr && msg->type == L"selectchanged") {
        CTreeNodeUI* node = NodeOfPart(msg->sender);
        auto* box = static_cast<CCheckBoxUI*>(msg->sender);
        if (node != nullptr)
            SetItemCheckBox(box->IsSelected(), node);
    }
    return true;
}

bool CTreeViewUI::OnFolderChanged(void* param)
{
    auto* msg = static_cast<UINotifyMessage*>(param);
    if (msg != nullptr && msg->type == L"selectchanged") {
        CTreeNodeUI* node = NodeOfPart(msg->sender);
        auto* folder = static_cast<CCheckBoxUI*>(msg->sender);
        if (node != nullptr) {
            node->SetVisibleTag(!folder->IsSelected());
            SetItemExpand(!folder->IsSelected(), node);
        }
    }
    return true;
}

bool CTreeViewUI::OnItemDoubleClick(void* param)
{
    auto* msg = static_cast<UINotifyMessage*>(param);
    if (msg == nullptr || msg->type != L"treeitemdbclick")
        return false;
    auto* node = static_cast<CTreeNodeUI*>(msg->sender->GetInterface(L"TreeNode"));
    if (node == nullptr)
        return true;
    CCheckBoxUI* folder = node->GetFolderButton();
    // The folder's own "selectchanged" already expands or collapses through OnFolderChanged.
    folder->Selected(!folder->IsSelected(), true);
    node->SetVisibleTag(!folder->IsSelected());
    SetItemExpand(!folder->IsSelected(), node);
    return true;
}

void CTreeViewUI::SetItemExpand(bool expand, CTreeNodeUI* node)
{
    if (node != nullptr) {
        for (int i = 0; i < node->GetCountChild(); ++i) {
            CTreeNodeUI* child = node->GetChildNode(i);
            if (child == nullptr)
                continue;
            child->SetVisible(expand);
            // A collapsed child keeps its subtree as it is.
            if (child->IsHasChild() && !child->GetFolderButton()->IsSelected())
                SetItemExpand(expand, child);
        }
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* row = NodeAt(i);
        if (row == nullptr)
            continue;
        row->GetFolderButton()->Selected(!expand, true);
        if (row->IsHasChild() && !row->GetFolderButton()->IsSelected())
            SetItemExpand(expand, row);
    }
}

bool CTreeViewUI::SetItemCheckBox(bool checked, CTreeNodeUI* node)
{
    if (node != nullptr) {
        for (int i = 0; i < node->GetCountChild(); ++i) {
            CTreeNodeUI* child = node->GetChildNode(i);
            if (child == nullptr)
                continue;
            child->SetCheckBoxSelected(checked);
            if (child->IsHasChild())
                SetItemCheckBox(checked, child);
        }
        return true;
    }
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* row = NodeAt(i);
        if (row == nullptr)
            continue;
        row->SetCheckBoxSelected(checked);
        if (row->IsHasChild())
            SetItemCheckBox(checked, row);
    }
    return true;
}

// --- view-wide settings ---

void CTreeViewUI::SetVisibleFolderBtn(bool visible)
{
    m_bVisibleFolderBtn = visible;
    ForEachNode([visible](CTreeNodeUI* node) { node->SetVisibleFolderBtn(visible); });
}

bool CTreeViewUI::GetVisibleFolderBtn() const
{
    return m_bVisibleFolderBtn;
}

void CTreeViewUI::SetVisibleCheckBtn(bool visible)
{
    m_bVisibleCheckBtn = visible;
    ForEachNode([visible](CTreeNodeUI* node) { node->SetVisibleCheckBtn(visible); });
}

bool CTreeViewUI::GetVisibleCheckBtn() const
{
    return m_bVisibleCheckBtn;
}

void CTreeViewUI::SetItemMinWidth(UINT width)
{
    m_uItemMinWidth = width;
    for (int i = 0; i < GetCount(); ++i) {
        if (CControlUI* row = GetItemAt(i))
            row->SetMinWidth(static_cast<int>(width));
    }
    Invalidate();
}

UINT CTreeViewUI::GetItemMinWidth() const
{
    return m_uItemMinWidth;
}

void CTreeViewUI::SetItemTextColor(DWORD color)
{
    ForEachNode([color](CTreeNodeUI* node) { node->SetItemTextColor(color); });
}

void CTreeViewUI::SetItemHotTextColor(DWORD color)
{
    ForEachNode([color](CTreeNodeUI* node) { node->SetItemHotTextColor(color); });
}

void CTreeViewUI::SetSelItemTextColor(DWORD color)
{
    ForEachNode([color](CTreeNodeUI* node) { node->SetSelItemTextColor(color); });
}

void CTreeViewUI::SetSelItemHotTextColor(DWORD color)
{
    ForEachNode([color](CTreeNodeUI* node) { node->SetSelItemHotTextColor(color); });
}

void CTreeViewUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (value == nullptr)
        value = L"";
    if (Is(name, L"visiblefolderbtn")) {
        SetVisibleFolderBtn(attr::IsTrue(value));
    } else if (Is(name, L"visiblecheckbtn")) {
        SetVisibleCheckBtn(attr::IsTrue(value));
    } else if (Is(name, L"itemminwidth")) {
        SetItemMinWidth(static_cast<UINT>(_wtoi(value)));
    } else if (CTreeNodeUI::IsItemColorAttribute(name)) {
        // Every row takes the colour now; the view keeps no copy.
        const DWORD color = ParseColor(value);
        ForEachNode([name, color](CTreeNodeUI* node) { node->SetItemColorAttribute(name, color); });
    } else {
        CListUI::SetAttribute(name, value);
    }
}

} // namespace ZvUI

// Tree node: its row parts, its child nodes and how they take their rows in the view.
#include "tree/TreeNodeUI.h"

#include "control/CheckBoxUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "layout/HorizontalLayoutUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "tree/TreeViewUI.h"

namespace ZvUI {

using list_support::Is;
using list_support::ParseColor;

namespace {

// Fixed widths are kept at 96 dpi; a bound control reads them scaled.
int StoredWidth(const CControlUI& control)
{
    CPaintManagerUI* manager = control.GetManager();
    const int width = control.GetFixedWidth();
    return manager != nullptr ? manager->GetDpiHelper()->Unscale(width) : width;
}

int StoredHeight(const CControlUI& control)
{
    CPaintManagerUI* manager = control.GetManager();
    const int height = control.GetFixedHeight();
    return manager != nullptr ? manager->GetDpiHelper()->Unscale(height) : height;
}

} // namespace

CTreeNodeUI::CTreeNodeUI(CTreeNodeUI* parent)
{
    SetFixedHeight(18);
    SetFixedWidth(250);
    m_pHoriz = new CHorizontalLayoutUI;
    m_pDottedLine = new CLabelUI;
    m_pFolderButton = new CCheckBoxUI;
    m_pCheckBox = new CCheckBoxUI;
    m_pItemButton = new COptionUI;

    m_pHoriz->SetChildVAlign(DT_VCENTER);
    m_pDottedLine->SetFixedWidth(2);
    m_pDottedLine->SetVisible(false);
    m_pFolderButton->SetFixedWidth(StoredHeight(*this));
    m_pCheckBox->SetFixedWidth(StoredHeight(*this));
    m_pCheckBox->SetVisible(false);
    m_pItemButton->SetAttribute(L"align", L"left");
    m_pItemButton->SetMouseEnabled(false);

    // The layout takes ownership of the parts, the node of the layout.
    m_pHoriz->Add(m_pDottedLine);
    m_pHoriz->Add(m_pFolderButton);
    m_pHoriz->Add(m_pCheckBox);
    m_pHoriz->Add(m_pItemButton);
    CListContainerElementUI::Add(m_pHoriz);

    if (parent != nullptr && parent->GetInterface(L"TreeNode") != nullptr) {
        IndentBelow(parent);
        m_pParentTreeNode = parent;
    }
}

CTreeNodeUI::~CTreeNodeUI()
{
    // Nodes are rows of the view, not owned by each other: unhook both directions.
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i) {
        auto* child = static_cast<CTreeNodeUI*>(m_aTreeNodes[i]);
        if (child != nullptr)
            child->m_pParentTreeNode = nullptr;
    }
    if (m_pParentTreeNode != nullptr) {
        const int at = m_pParentTreeNode->m_aTreeNodes.Find(this);
        if (at >= 0)
            m_pParentTreeNode->m_aTreeNodes.Remove(at);
    }
}

LPCWSTR CTreeNodeUI::GetClass() const
{
    return L"TreeNodeUI";
}

LPVOID CTreeNodeUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"TreeNode"))
        return this;
    return CListContainerElementUI::GetInterface(name);
}

// --- events ---

void CTreeNodeUI::SetEnabled(bool enable)
{
    CListContainerElementUI::SetEnabled(enable);
    // A disabled node's folder button and check box would otherwise still fold and tick it.
    m_pHoriz->SetEnabled(enable);
}

void CTreeNodeUI::DoEvent(UIControlEvent& event)
{
    if (PassMouseToOwner(event))
        return;
    CListContainerElementUI::DoEvent(event);
    switch (event.type) {
    case EventDoubleClick:
        if (IsEnabled()) {
            if (m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"treeitemdbclick", 0, 0);
            Invalidate();
        }
        break;
    case EventMouseEnter:
        if (!IsEnabled())
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        else if (IsSelected() && m_dwSelItemHotTextColor != 0)
            m_pItemButton->SetTextColor(m_dwSelItemHotTextColor);
        else
            m_pItemButton->SetTextColor(m_dwItemHotTextColor);
        break;
    case EventMouseLeave:
        if (!IsEnabled())
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        else if (IsSelected() && m_dwSelItemTextColor != 0)
            m_pItemButton->SetTextColor(m_dwSelItemTextColor);
        else if (!IsSelected())
            m_pItemButton->SetTextColor(m_dwItemTextColor);
        break;
    default:
        break;
    }
}

// --- selection ---

void CTreeNodeUI::ApplySelectedTextColor()
{
    m_pItemButton->SetTextColor(IsSelected() ? m_dwSelItemTextColor : m_dwItemTextColor);
}

bool CTreeNodeUI::Select(bool select)
{
    const bool result = CListContainerElementUI::Select(select);
    ApplySelectedTextColor();
    return result;
}

bool CTreeNodeUI::SelectMulti(bool select)
{
    const bool result = CListContainerElementUI::SelectMulti(select);
    ApplySelectedTextColor();
    return result;
}

// --- child nodes ---

bool CTreeNodeUI::Add(CControlUI* control)
{
    if (control == nullptr)
        return false;
    if (auto* node = static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode")))
        return AddChildNode(node);
    return CListContainerElementUI::Add(control);
}

bool CTreeNodeUI::AddAt(CControlUI* control, int index)
{
    auto* node = control != nullptr ? static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode")) : nullptr;
    if (node == nullptr)
        return false;
    // The new node's row goes before the row of the child it lands in front of, or after
    // this node's whole subtree when it becomes the last child.
    CTreeNodeUI* before = GetChildNode(index);
    if (before != nullptr) {
        if (!m_aTreeNodes.InsertAt(index, node))
            return false;
    } else {
        if (m_pTreeView != nullptr) {
            const int next = GetLastNode()->GetTreeIndex() + 1;
            CControlUI* row = m_pTreeView->GetItemAt(next);
            before = row != nullptr ? static_cast<CTreeNodeUI*>(row->GetInterface(L"TreeNode")) : nullptr;
        }
        if (!m_aTreeNodes.Add(node))
            return false;
    }
    CalLocation(node);
    if (m_pTreeView == nullptr)
        return true;
    if (before != nullptr)
        return m_pTreeView->AddNodeAt(node, before);
    return m_pTreeView->AddNode(node);
}

bool CTreeNodeUI::Remove(CControlUI* control)
{
    auto* node = control != nullptr ? static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode")) : nullptr;
    return node != nullptr && RemoveChildNode(node);
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* child)
{
    if (child == nullptr || child->GetInterface(L"TreeNode") == nullptr)
        return false;
    CalLocation(child);
    if (m_pTreeView == nullptr)
        return m_aTreeNodes.Add(child);
    CTreeNodeUI* last = IsHasChild() ? GetLastNode() : this;
    if (last == nullptr)
        last = this;
    const int at = m_pTreeView->AddNodeAt(child, last->GetTreeIndex() + 1);
    if (at < 0)
        return false;
    return m_aTreeNodes.Add(child);
}

void CTreeNodeUI::IndentBelow(CTreeNodeUI* parent)
{
    m_pDottedLine->SetVisible(parent->IsVisible());
    m_pDottedLine->SetFixedWidth(StoredWidth(*parent->m_pDottedLine) + 16);
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i)
        static_cast<CTreeNodeUI*>(m_aTreeNodes[i])->IndentBelow(this);
}

void CTreeNodeUI::CalLocation(CTreeNodeUI* child)
{
    child->IndentBelow(this);
    child->m_pParentTreeNode = this;
    child->m_pItemButton->SetGroup(m_pItemButton->GetGroup());
    child->m_pTreeView = m_pTreeView;
}

bool CTreeNodeUI::RemoveChildNode(CTreeNodeUI* child)
{
    const int at = m_aTreeNodes.Find(child);
    if (child == nullptr || at < 0)
        return false;
    while (child->IsHasChild())
        child->RemoveChildNode(child->GetChildNode(0));
    m_aTreeNodes.Remove(at);
    child->m_pParentTreeNode = nullptr;
    if (m_pTreeView != nullptr)
        return m_pTreeView->RemoveNode(child);
    return true;
}

CTreeNodeUI* CTreeNodeUI::GetLastNode()
{
    CTreeNodeUI* last = this;
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i) {
        auto* child = static_cast<CTreeNodeUI*>(m_aTreeNodes[i]);
        if (child != nullptr)
            last = child->GetLastNode();
    }
    return last;
}

int CTreeNodeUI::GetTreeIndex()
{
    if (m_pTreeView == nullptr)
        return -1;
    for (int i = 0; i < m_pTreeView->GetCount(); ++i) {
        if (m_pTreeView->GetItemAt(i) == this)
            return i;
    }
    return -1;
}

int CTreeNodeUI::GetNodeIndex()
{
    if (m_pParentTreeNode == nullptr)
        return m_pTreeView != nullptr ? GetTreeIndex() : -1;
    return m_pParentTreeNode->m_aTreeNodes.Find(this);
}

int CTreeNodeUI::GetTreeLevel() const
{
    int level = 0;
    for (CTreeNodeUI* parent = m_pParentTreeNode; parent != nullptr; parent = parent->m_pParentTreeNode)
        ++level;
    return level;
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const
{
    return static_cast<CTreeNodeUI*>(m_aTreeNodes.GetAt(index));
}

// --- parts ---

void CTreeNodeUI::SetVisibleFolderBtn(bool visible)
{
    m_pFolderButton->SetVisible(visible);
}

bool CTreeNodeUI::GetVisibleFolderBtn() const
{
    return m_pFolderButton->IsVisible();
}

void CTreeNodeUI::SetVisibleCheckBtn(bool visible)
{
    m_pCheckBox->SetVisible(visible);
}

bool CTreeNodeUI::GetVisibleCheckBtn() const
{
    return m_pCheckBox->IsVisible();
}

bool CTreeNodeUI::IsCheckBoxSelected() const
{
    return m_pCheckBox->IsSelected();
}

void CTreeNodeUI::SetCheckBoxSelected(bool selected)
{
    m_pCheckBox->Selected(selected, true);
}

void CTreeNodeUI::SetItemText(LPCWSTR text)
{
    m_pItemButton->SetText(text);
}

CUIString CTreeNodeUI::GetItemText() const
{
    return m_pItemButton->GetText();
}

void CTreeNodeUI::SetItemTextColor(DWORD color)
{
    m_dwItemTextColor = color;
    m_pItemButton->SetTextColor(color);
}

void CTreeNodeUI::SetItemHotTextColor(DWORD color)
{
    m_dwItemHotTextColor = color;
    Invalidate();
}

void CTreeNodeUI::SetSelItemTextColor(DWORD color)
{
    m_dwSelItemTextColor = color;
    Invalidate();
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD color)
{
    m_dwSelItemHotTextColor = color;
    Invalidate();
}

void CTreeNodeUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (value == nullptr)
        value = L"";
    if (Is(name, L"text"))
        SetItemText(value);
    else if (Is(name, L"horizattr"))
        m_pHoriz->ApplyAttributeList(value);
    else if (Is(name, L"dotlineattr"))
        m_pDottedLine->ApplyAttributeList(value);
    else if (Is(name, L"folderattr"))
        m_pFolderButton->ApplyAttributeList(value);
    else if (Is(name, L"checkboxattr"))
        m_pCheckBox->ApplyAttributeList(value);
    else if (Is(name, L"itemattr"))
        m_pItemButton->ApplyAttributeList(value);
    else if (!IsItemColorAttribute(name) || !SetItemColorAttribute(name, ParseColor(value)))
        CListContainerElementUI::SetAttribute(name, value);
}

bool CTreeNodeUI::IsItemColorAttribute(LPCWSTR name)
{
    return Is(name, L"itemtextcolor") || Is(name, L"itemhottextcolor") || Is(name, L"selitemtextcolor") ||
           Is(name, L"selitemhottextcolor");
}

bool CTreeNodeUI::SetItemColorAttribute(LPCWSTR name, DWORD color)
{
    if (Is(name, L"itemtextcolor"))
        SetItemTextColor(color);
    else if (Is(name, L"itemhottextcolor"))
        SetItemHotTextColor(color);
    else if (Is(name, L"selitemtextcolor"))
        SetSelItemTextColor(color);
    else if (Is(name, L"selitemhottextcolor"))
        SetSelItemHotTextColor(color);
    else
        return false;
    return true;
}

} // namespace ZvUI

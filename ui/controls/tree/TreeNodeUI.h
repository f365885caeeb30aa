#pragma once
// One node of a tree view: a list row with folder button, check box and text, and its child nodes.

#include "list/ListContainerElementUI.h"
#include "utils/UIArray.h"

namespace ZvUI {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

class CTreeNodeUI : public CListContainerElementUI {
public:
    // A parent that is no tree node leaves the node unassembled.
    explicit CTreeNodeUI(CTreeNodeUI* parent = nullptr);
    ~CTreeNodeUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    // The node's own parts (folder button, check box, caption) follow it; nested nodes do not.
    void SetEnabled(bool enable = true) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    // A tree node becomes a child node; anything else goes into the node's own container.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;

    bool Select(bool select = true) override;
    bool SelectMulti(bool select = true) override;

    bool AddChildNode(CTreeNodeUI* child);
    bool RemoveChildNode(CTreeNodeUI* child);
    // Makes this node the child's parent: indentation, option group and view.
    void CalLocation(CTreeNodeUI* child);
    // The deepest last descendant, or the node itself without children.
    CTreeNodeUI* GetLastNode();
    // Row index in the view; -1 outside one.
    int GetTreeIndex();
    int GetNodeIndex();
    int GetTreeLevel() const;
    int GetCountChild() const { return m_aTreeNodes.GetSize(); }
    CTreeNodeUI* GetChildNode(int index) const;
    bool IsHasChild() const { return !m_aTreeNodes.IsEmpty(); }
    const CUIPtrArray& GetTreeNodes() const { return m_aTreeNodes; }
    void SetParentNode(CTreeNodeUI* parent) { m_pParentTreeNode = parent; }
    CTreeNodeUI* GetParentNode() const { return m_pParentTreeNode; }
    void SetTreeView(CTreeViewUI* view) { m_pTreeView = view; }
    CTreeViewUI* GetTreeView() const { return m_pTreeView; }
    // False while the node is collapsed.
    void SetVisibleTag(bool visible) { m_bVisibleTag = visible; }
    bool GetVisibleTag() const { return m_bVisibleTag; }
    void SetVisibleFolderBtn(bool visible);
    bool GetVisibleFolderBtn() const;
    void SetVisibleCheckBtn(bool visible);
    bool GetVisibleCheckBtn() const;
    bool IsCheckBoxSelected() const;
    // Raises the check box's "selectchanged".
    void SetCheckBoxSelected(bool selected);
    void SetItemText(LPCWSTR text);
    CUIString GetItemText() const;

    void SetItemTextColor(DWORD color);
    DWORD GetItemTextColor() const { return m_dwItemTextColor; }
    void SetItemHotTextColor(DWORD color);
    DWORD GetItemHotTextColor() const { return m_dwItemHotTextColor; }
    void SetSelItemTextColor(DWORD color);
    DWORD GetSelItemTextColor() const { return m_dwSelItemTextColor; }
    void SetSelItemHotTextColor(DWORD color);
    DWORD GetSelItemHotTextColor() const { return m_dwSelItemHotTextColor; }

    // "itemtextcolor", "itemhottextcolor", "selitemtextcolor" or "selitemhottextcolor".
    static bool IsItemColorAttribute(LPCWSTR name);
    // The colour of that attribute; false for any other name.
    bool SetItemColorAttribute(LPCWSTR name, DWORD color);

    CHorizontalLayoutUI* GetTreeNodeHorizontal() const { return m_pHoriz; }
    CLabelUI* GetDottedLine() const { return m_pDottedLine; }
    CCheckBoxUI* GetFolderButton() const { return m_pFolderButton; }
    CCheckBoxUI* GetCheckBox() const { return m_pCheckBox; }
    COptionUI* GetItemButton() const { return m_pItemButton; }

private:
    // The dotted line is 16 wider than the parent's, through every level below.
    void IndentBelow(CTreeNodeUI* parent);
    void ApplySelectedTextColor();

    bool m_bVisibleTag = true;
    DWORD m_dwItemTextColor = 0;
    DWORD m_dwItemHotTextColor = 0;
    DWORD m_dwSelItemTextColor = 0;
    DWORD m_dwSelItemHotTextColor = 0;
    CTreeViewUI* m_pTreeView = nullptr;
    CHorizontalLayoutUI* m_pHoriz = nullptr;
    CLabelUI* m_pDottedLine = nullptr;
    CCheckBoxUI* m_pFolderButton = nullptr;
    CCheckBoxUI* m_pCheckBox = nullptr;
    COptionUI* m_pItemButton = nullptr;
    CTreeNodeUI* m_pParentTreeNode = nullptr;
    // The direct children in order; the view's body owns them.
    CUIPtrArray m_aTreeNodes;
};

} // namespace ZvUI

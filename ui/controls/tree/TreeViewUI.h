#pragma once
// A list whose rows are tree nodes in depth-first order: folders collapse subtrees, check boxes cascade.

#include "list/ListUI.h"
#include "manager/UIEvents.h"

namespace ZvUI {

class CTreeNodeUI;

class CTreeViewUI : public CListUI, public INotifyUI {
public:
    CTreeViewUI();
    ~CTreeViewUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    int GetListKind() const override { return ListKindTree; }
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void Notify(UINotifyMessage& msg) override;

    // Removes the node at that row with its subtree; always true.
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // Hooks the view to the node's events and adds it, then its subtree, at the end.
    virtual bool AddNode(CTreeNodeUI* node);
    // Before the row of before; false when before is no row of the view.
    virtual bool AddNodeAt(CTreeNodeUI* node, CTreeNodeUI* before);
    // At row index, its subtree after it; the row after the subtree, or -1.
    virtual int AddNodeAt(CTreeNodeUI* node, int index);
    virtual bool RemoveNode(CTreeNodeUI* node);
    // Delegates on the nodes' events; the parameter is the notification.
    virtual bool OnCheckBoxChanged(void* param);
    virtual bool OnFolderChanged(void* param);
    virtual bool OnItemDoubleClick(void* param);
    // Without a node: every row.
    virtual bool SetItemCheckBox(bool checked, CTreeNodeUI* node = nullptr);
    virtual void SetItemExpand(bool expand, CTreeNodeUI* node = nullptr);
    virtual void SetVisibleFolderBtn(bool visible);
    virtual bool GetVisibleFolderBtn() const;
    virtual void SetVisibleCheckBtn(bool visible);
    virtual bool GetVisibleCheckBtn() const;
    virtual void SetItemMinWidth(UINT width);
    virtual UINT GetItemMinWidth() const;
    virtual void SetItemTextColor(DWORD color);
    virtual void SetItemHotTextColor(DWORD color);
    virtual void SetSelItemTextColor(DWORD color);
    virtual void SetSelItemHotTextColor(DWORD color);

private:
    // Delegates, looks and indentation that every node of the view gets.
    bool PrepareNode(CTreeNodeUI* node);
    void Indent(CTreeNodeUI* node);
    CTreeNodeUI* NodeAt(int index) const;
    template <class F>
    void ForEachNode(F f);

    UINT m_uItemMinWidth = 0;
    bool m_bVisibleFolderBtn = true;
    bool m_bVisibleCheckBtn = false;
};

} // namespace ZvUI

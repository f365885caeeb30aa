#pragma once
// What the layout builder calls on tree nodes and tree views, which live in ui/controls.

#include <windows.h>

namespace ZvUI {

class CControlUI;
class IContainerUI;

// Interface names the builder asks controls for with CControlUI::GetInterface. CTreeNodeUI
// answers kTreeNodeBuilderInterface with static_cast<ITreeNodeBuilderUI*>(this), CTreeViewUI
// kTreeViewBuilderInterface with static_cast<ITreeViewBuilderUI*>(this).
constexpr wchar_t kTreeNodeBuilderInterface[] = L"TreeNodeBuilder";
constexpr wchar_t kTreeViewBuilderInterface[] = L"TreeViewBuilder";

class ITreeNodeBuilderUI {
public:
    // The tree view the node belongs to, null while it is in no tree.
    virtual CControlUI* GetTreeView() = 0;
    // The node's own container Add: a node becomes a child node, anything else a child.
    virtual bool AddChild(CControlUI* control) = 0;
    // The horizontal layout holding the node's own content.
    virtual IContainerUI* GetRowContainer() = 0;

protected:
    ~ITreeNodeBuilderUI() = default;
};

class ITreeViewBuilderUI {
public:
    // False for null or for a control that is no tree node.
    virtual bool AddNode(CControlUI* node) = 0;

protected:
    ~ITreeViewBuilderUI() = default;
};

} // namespace ZvUI

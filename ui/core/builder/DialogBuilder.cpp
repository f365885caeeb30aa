// Layout builder: resources and window attributes of the root, then one control per element.
#include "builder/DialogBuilder.h"

#include <cwchar>
#include <cwctype>
#include <cstdlib>
#include <vector>

#include "builder/ControlFactory.h"
#include "control/ControlUI.h"
#include "layout/ChildLayoutUI.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "resource/UIResourceTable.h"
#include "tree/TreeNodeUI.h"
#include "tree/TreeViewUI.h"
#include "utils/UIString.h"
#include "window/ShadowUI.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using attr::Is;

namespace {

LPCWSTR AttributeOr(const CXmlNode& node, LPCWSTR name, LPCWSTR fallback)
{
    return node.HasAttribute(name) ? node.GetAttributeValue(name) : fallback;
}

// --- bounds for damaged and hostile skins ---

// Real skins nest a few dozen levels; deeper trees overflow the stack while they are built,
// laid out or painted.
constexpr int kMaxElementDepth = 256;
// Real skins repeat an include a handful of times.
constexpr int kMaxIncludeCount = 1000;
// Counts that multiply through nested includes are bounded as a whole.
constexpr int kMaxIncludesPerBuild = 5000;
// An include nested in an include costs the stack about what this many element levels do (some
// 4.8 KB against a few hundred bytes), so a chain of includes counts in the element depth at
// that weight: 32 links at most, far below what a thread's stack holds.
constexpr int kIncludeDepthCost = 8;

// Builds nest: an include is built while the build that contains it runs. The markup files on
// the way down, the element depth reached and the includes made so far are shared by them.
struct BuildSession {
    std::vector<CUIString> sources;
    int builds = 0;
    int depth = 0;
    int includes = 0;
};

BuildSession& Session()
{
    static BuildSession session;
    return session;
}

// The same file by any spelling of letter case or slash; resources by id and type.
CUIString SourceKey(LPCWSTR source, LPCWSTR type)
{
    CUIString key;
    if (IS_INTRESOURCE(source)) {
        key.Format(L"#%u:", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(source)));
        CUIString kind;
        if (type != nullptr && !IS_INTRESOURCE(type))
            kind = type;
        else if (type != nullptr)
            kind.Format(L"#%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(type)));
        return key + kind;
    }
    key = source;
    key.Replace(L"/", L"\\");
    key.MakeLower();
    return key;
}

// Levels of elements under root (root's own children are level 1), walked without recursion.
int MarkupDepth(const CXmlNode& root)
{
    int depth = 0;
    int deepest = 0;
    CXmlNode node = root;
    for (;;) {
        if (node.HasChildren()) {
            node = node.GetChild();
            if (++depth > deepest)
                deepest = depth;
            continue;
        }
        while (depth > 0 && !node.HasSiblings()) {
            node = node.GetParent();
            --depth;
        }
        if (depth == 0)
            return deepest;
        node = node.GetSibling();
    }
}

// Marks one markup file as being built for as long as the object lives.
class SourceGuard {
public:
    explicit SourceGuard(const CUIString& key) : m_active(!key.IsEmpty())
    {
        if (m_active)
            Session().sources.push_back(key);
    }
    SourceGuard(const SourceGuard&) = delete;
    SourceGuard& operator=(const SourceGuard&) = delete;
    ~SourceGuard()
    {
        if (m_active)
            Session().sources.pop_back();
    }

private:
    bool m_active;
};

// One build in progress; the outermost one starts the include budget afresh.
class BuildScope {
public:
    BuildScope()
    {
        if (Session().builds++ == 0)
            Session().includes = 0;
    }
    BuildScope(const BuildScope&) = delete;
    BuildScope& operator=(const BuildScope&) = delete;
    ~BuildScope() { --Session().builds; }
};

bool IsBeingBuilt(const CUIString& key)
{
    for (const CUIString& active : Session().sources) {
        if (active == key)
            return true;
    }
    return false;
}

// --- the child layout's content ---

CControlUI* BuildChildLayout(LPCWSTR file, CPaintManagerUI* manager)
{
    CLayoutBuilder builder;
    return builder.Create(file, nullptr, nullptr, manager, nullptr);
}

} // namespace

CLayoutBuilder::CLayoutBuilder()
{
    // Child layouts build their file through the builder once one has existed.
    if (CChildLayoutUI::GetBuilder() == nullptr)
        CChildLayoutUI::SetBuilder(&BuildChildLayout);
}

CLayoutBuilder::~CLayoutBuilder() = default;

// --- loading ---

CControlUI* CLayoutBuilder::Create(LPCWSTR source, LPCWSTR type, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent)
{
    if (source == nullptr)
        return nullptr;
    if (!IS_INTRESOURCE(source) && source[0] != L'<') {
        LPCWSTR mapped = CUIResourceTable::Instance()->GetXmlPath(source);
        if (mapped != nullptr && mapped[0] != L'\0')
            source = mapped;
    }
    // A file that is already being built further out includes itself: building it again would
    // never end.
    const CUIString key = (IS_INTRESOURCE(source) || source[0] != L'<') ? SourceKey(source, type) : CUIString();
    if (!key.IsEmpty() && IsBeingBuilt(key))
        return nullptr;
    const SourceGuard guard(key);

    if (IS_INTRESOURCE(source)) {
        HINSTANCE module = m_hModule != nullptr ? m_hModule : CPaintManagerUI::GetResourceModule();
        HRSRC res = ::FindResourceW(module, source, type);
        if (res == nullptr)
            return nullptr;
        HGLOBAL mem = ::LoadResource(module, res);
        const void* data = mem != nullptr ? ::LockResource(mem) : nullptr;
        if (data == nullptr)
            return nullptr;
        if (!m_xml.LoadFromMem(static_cast<const BYTE*>(data), ::SizeofResource(module, res),
                               CXmlDocument::kEncodingUtf8))
            return nullptr;
        m_pstrType = type;
    } else if (source[0] == L'<') {
        if (!m_xml.Load(source))
            return nullptr;
    } else if (!m_xml.LoadFromFile(source, CXmlDocument::kEncodingUtf8)) {
        return nullptr;
    }
    return ParseWindow(callback, manager, parent);
}

CControlUI* CLayoutBuilder::ParseWindow(IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                        CControlUI* parent)
{
    const BuildScope scope;
    m_pCallback = callback;
    CXmlNode root = m_xml.GetRoot();
    if (!root.IsValid())
        return nullptr;
    // Refused before anything reaches the manager; an include counts from where it stands.
    if (Session().depth + MarkupDepth(root) > kMaxElementDepth)
        return nullptr;
    if (manager != nullptr) {
        ApplyResources(root, manager);
        if (Is(root.GetName(), L"Window") && manager->GetWindowHandle() != nullptr)
            ApplyWindowAttributes(root, manager);
    }
    return ParseControls(root, parent, manager);
}

void CLayoutBuilder::GetLastErrorMessage(LPWSTR message, int count) const
{
    m_xml.GetLastErrorMessage(message, count);
}

void CLayoutBuilder::GetLastErrorLocation(LPWSTR location, int count) const
{
    m_xml.GetLastErrorLocation(location, count);
}

// --- resources and window attributes ---

void CLayoutBuilder::ApplyResources(const CXmlNode& root, CPaintManagerUI* manager)
{
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR tag = node.GetName();
        const bool shared = attr::IsTrue(AttributeOr(node, L"shared", L""));
        if (Is(tag, L"Image")) {
            if (!node.HasAttribute(L"name"))
                continue;
            LPCWSTR restype = AttributeOr(node, L"restype", nullptr);
            const DWORD mask = attr::ParseColor(AttributeOr(node, L"mask", L"0"));
            manager->AddImage(node.GetAttributeValue(L"name"), restype, mask, false, shared);
        } else if (Is(tag, L"Font")) {
            const int id = node.HasAttribute(L"id") ? _wtoi(node.GetAttributeValue(L"id")) : -1;
            if (id < 0)
                continue;
            LPCWSTR face = AttributeOr(node, L"name", L"");
            const int size = node.HasAttribute(L"size") ? _wtoi(node.GetAttributeValue(L"size")) : 12;
            const bool bold = attr::IsTrue(AttributeOr(node, L"bold", L""));
            const bool underline = attr::IsTrue(AttributeOr(node, L"underline", L""));
            const bool italic = attr::IsTrue(AttributeOr(node, L"italic", L""));
            manager->AddFont(id, face, size, bold, underline, italic, shared);
            if (attr::IsTrue(AttributeOr(node, L"default", L"")))
                manager->SetDefaultFont(face, size, bold, underline, italic, shared);
        } else if (Is(tag, L"Default")) {
            if (node.HasAttribute(L"name"))
                manager->AddClassDefaults(node.GetAttributeValue(L"name"),
                                          AttributeOr(node, L"value", L""), shared);
        } else if (Is(tag, L"Style")) {
            if (node.HasAttribute(L"name"))
                manager->AddStyle(node.GetAttributeValue(L"name"), AttributeOr(node, L"value", L""),
                                  shared);
        } else if (Is(tag, L"Import")) {
            if (node.HasAttribute(L"fontfile"))
                manager->AddFontFile(node.GetAttributeValue(L"fontfile"));
        }
    }
}

void CLayoutBuilder::ApplyWindowAttributes(const CXmlNode& root, CPaintManagerUI* manager)
{
    CShadowUI* shadow = manager->GetShadow();
    const int count = root.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        LPCWSTR name = root.GetAttributeName(i);
        LPCWSTR value = root.GetAttributeValue(i);
        // These four keep the exact lower-case spelling of older skins.
        if (wcscmp(name, L"layeredopacity") == 0) {
            manager->SetLayeredOpacity(static_cast<BYTE>(_wtoi(value)));
        } else if (wcscmp(name, L"layered") == 0 || wcscmp(name, L"bktrans") == 0) {
            manager->SetLayered(attr::IsTrue(value));
        } else if (wcscmp(name, L"layeredimage") == 0) {
            manager->SetLayered(true);
            manager->SetLayeredBackground(value);
        } else if (wcscmp(name, L"noactivate") == 0) {
            manager->SetNoActivate(attr::IsTrue(value));
        } else if (Is(name, L"size")) {
            const SIZE sz = attr::ParseSize(value);
            CDpiHelper* dpi = manager->GetDpiHelper();
            manager->SetInitialSize(dpi->Scale(sz.cx), dpi->Scale(sz.cy));
        } else if (Is(name, L"sizebox")) {
            manager->SetSizeBox(attr::ParseRect(value));
        } else if (Is(name, L"caption")) {
            manager->SetCaptionRect(attr::ParseRect(value));
        } else if (Is(name, L"roundcorner")) {
            const SIZE sz = attr::ParseSize(value);
            manager->SetRoundCorner(sz.cx, sz.cy);
        } else if (Is(name, L"mininfo")) {
            const SIZE sz = attr::ParseSize(value);
            manager->SetMinInfo(sz.cx, sz.cy);
        } else if (Is(name, L"maxinfo")) {
            const SIZE sz = attr::ParseSize(value);
            manager->SetMaxInfo(sz.cx, sz.cy);
        } else if (Is(name, L"showdirty")) {
            manager->SetShowUpdateRect(attr::IsTrue(value));
        } else if (Is(name, L"opacity") || Is(name, L"alpha")) {
            manager->SetOpacity(static_cast<BYTE>(_wtoi(value)));
        } else if (Is(name, L"disabledfontcolor")) {
            manager->SetDisabledColor(attr::ParseColor(value));
        } else if (Is(name, L"defaultfontcolor")) {
            manager->SetTextColor(attr::ParseColor(value));
        } else if (Is(name, L"linkfontcolor")) {
            manager->SetLinkColor(attr::ParseColor(value));
        } else if (Is(name, L"linkhoverfontcolor")) {
            manager->SetLinkHoverColor(attr::ParseColor(value));
        } else if (Is(name, L"selectedcolor")) {
            manager->SetSelectedColor(attr::ParseColor(value));
        } else if (Is(name, L"shadowsize")) {
            shadow->SetSize(_wtoi(value));
        } else if (Is(name, L"shadowsharpness")) {
            shadow->SetSharpness(static_cast<unsigned int>(_wtoi(value)));
        } else if (Is(name, L"shadowdarkness")) {
            shadow->SetDarkness(static_cast<unsigned int>(_wtoi(value)));
        } else if (Is(name, L"shadowposition")) {
            const SIZE sz = attr::ParseSize(value);
            shadow->SetPosition(sz.cx, sz.cy);
        } else if (Is(name, L"shadowcolor")) {
            shadow->SetColor(attr::ParseColor(value));
        } else if (Is(name, L"shadowcorner")) {
            const RECT rc = attr::ParseRect(value);
            shadow->SetCorner(rc.left, rc.top, rc.right, rc.bottom);
        } else if (Is(name, L"shadowimage")) {
            shadow->SetImage(value);
        } else if (Is(name, L"showshadow")) {
            shadow->SetShadowEnabled(attr::IsTrue(value));
        } else if (Is(name, L"gdiplustext")) {
            manager->SetUseGdiplusText(attr::IsTrue(value));
        } else if (Is(name, L"textrenderinghint")) {
            manager->SetGdiplusTextRenderingHint(_wtoi(value));
        } else if (Is(name, L"tooltiphovertime")) {
            manager->SetHoverTime(_wtoi(value));
        }
    }
}

// --- controls ---

CControlUI* CLayoutBuilder::MakeControl(LPCWSTR tag) const
{
    CUIString className;
    className.Format(L"C%sUI", tag);
    CControlUI* control = CControlFactory::GetInstance()->CreateControl(className);
    if (control == nullptr) {
        CUIPtrArray* plugins = CPaintManagerUI::GetPlugins();
        for (int i = 0; plugins != nullptr && control == nullptr && i < plugins->GetSize(); ++i) {
            auto create = reinterpret_cast<PluginCreateControl>((*plugins)[i]);
            control = create(tag);
        }
    }
    if (control == nullptr && m_pCallback != nullptr)
        control = m_pCallback->CreateControl(tag);
    return control;
}

void CLayoutBuilder::BuildInclude(const CXmlNode& node, CControlUI* parent, CPaintManagerUI* manager)
{
    wchar_t buffer[500] = {};
    int count = 1;
    if (node.GetAttributeValue(L"count", buffer, 499)) {
        const long value = wcstol(buffer, nullptr, 10);
        count = value > kMaxIncludeCount ? kMaxIncludeCount : static_cast<int>(value);
    }
    if (!node.GetAttributeValue(L"source", buffer, 499))
        return;
    // The included file starts where the include stands, one link further down the chain.
    if (Session().depth + kIncludeDepthCost > kMaxElementDepth) {
        ::OutputDebugStringW(L"ZvUI: include chain too deep, refused\n");
        return;
    }
    Session().depth += kIncludeDepthCost;
    struct DepthRestore {
        ~DepthRestore() { Session().depth -= kIncludeDepthCost; }
    } restore;
    for (int i = 0; i < count; ++i) {
        if (++Session().includes > kMaxIncludesPerBuild)
            return;
        CLayoutBuilder builder;
        CControlUI* built = nullptr;
        if (m_pstrType != nullptr) {
            const WORD id = static_cast<WORD>(wcstol(buffer, nullptr, 10));
            built = builder.Create(MAKEINTRESOURCEW(id), m_pstrType, m_pCallback, manager, parent);
        } else {
            built = builder.Create(buffer, nullptr, m_pCallback, manager, parent);
        }
        // Without a parent the included tree would belong to nobody.
        if (parent == nullptr)
            delete built;
    }
}

CControlUI* CLayoutBuilder::ParseControls(const CXmlNode& root, CControlUI* parent,
                                          CPaintManagerUI* manager)
{
    CControlUI* first = nullptr;
    IContainerUI* container = nullptr;
    bool containerLooked = false;
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR tag = node.GetName();
        if (Is(tag, L"Image") || Is(tag, L"Font") || Is(tag, L"Default") || Is(tag, L"Style") ||
            Is(tag, L"Import"))
            continue;
        if (Is(tag, L"Include")) {
            if (node.HasAttributes())
                BuildInclude(node, parent, manager);
            continue;
        }

        CControlUI* control = MakeControl(tag);
        if (control == nullptr)
            continue;
        // Children first: a control has its content before it is attached and configured.
        if (node.HasChildren()) {
            ++Session().depth;
            ParseControls(node, control, manager);
            --Session().depth;
        }

        // Tree nodes nest: a node under a node becomes its child node, a node under a view
        // one of the view's rows, and anything else under a node part of the node's own row.
        CControlUI* treeView = nullptr;
        if (parent != nullptr) {
            auto* parentNode = static_cast<CTreeNodeUI*>(parent->GetInterface(L"TreeNode"));
            auto* parentView = static_cast<CTreeViewUI*>(parent->GetInterface(L"TreeView"));
            auto* treeNode = static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode"));
            if (treeNode != nullptr && parentNode != nullptr) {
                treeView = parentNode->GetTreeView();
                if (!parentNode->Add(treeNode)) {
                    delete control;
                    continue;
                }
            } else if (treeNode != nullptr && parentView != nullptr) {
                treeView = parentView;
                if (!parentView->AddNode(treeNode)) {
                    delete control;
                    continue;
                }
            } else if (treeNode == nullptr && parentNode != nullptr) {
                if (!parentNode->GetTreeNodeHorizontal()->Add(control)) {
                    delete control;
                    continue;
                }
            } else {
                if (!containerLooked) {
                    container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
                    containerLooked = true;
                }
                if (container == nullptr) {
                    // Not reached by anybody: nothing may leak.
                    delete control;
                    return nullptr;
                }
                if (!container->Add(control)) {
                    delete control;
                    continue;
                }
            }
        }

        if (manager != nullptr) {
            if (treeView != nullptr)
                control->SetManager(manager, treeView, true);
            else
                control->SetManager(manager, nullptr, false);
            LPCWSTR defaults = manager->GetClassDefaults(tag);
            if (defaults != nullptr)
                control->ApplyAttributeList(defaults);
        }
        const int count = node.GetAttributeCount();
        for (int i = 0; i < count; ++i)
            control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
        if (manager != nullptr && treeView == nullptr)
            control->SetManager(nullptr, nullptr, false);

        if (first == nullptr)
            first = control;
        else if (parent == nullptr)
            delete control;  // a second top-level control would be attached nowhere
    }
    return first;
}

} // namespace ZvUI

// Child layout: the content of another layout file, built when the control is initialised.
#include "layout/ChildLayoutUI.h"

#include <cwchar>
#include <vector>

namespace ZvUI {

namespace {

ChildLayoutBuilder g_builder = nullptr;

// Files whose child layouts are attaching right now: a child layout is initialised while the
// tree of its parent's file is attached, so a file that holds itself would attach forever.
std::vector<CUIString> g_attaching;

// Deeper than any real skin; the builder bounds each file's own depth, this bounds the chain.
constexpr int kMaxAttachDepth = 256;

CUIString FileKey(const CUIString& file)
{
    CUIString key = file;
    key.Replace(L"/", L"\\");
    key.MakeLower();
    return key;
}

bool IsAttaching(const CUIString& key)
{
    for (const CUIString& active : g_attaching) {
        if (active == key)
            return true;
    }
    return false;
}

int DepthInTree(const CControlUI* control)
{
    int depth = 0;
    for (const CControlUI* p = control->GetParent(); p != nullptr; p = p->GetParent())
        ++depth;
    return depth;
}

class AttachGuard {
public:
    explicit AttachGuard(const CUIString& key) { g_attaching.push_back(key); }
    AttachGuard(const AttachGuard&) = delete;
    AttachGuard& operator=(const AttachGuard&) = delete;
    ~AttachGuard() { g_attaching.pop_back(); }
};

} // namespace

CChildLayoutUI::CChildLayoutUI() = default;
CChildLayoutUI::~CChildLayoutUI() = default;

void CChildLayoutUI::SetBuilder(ChildLayoutBuilder builder)
{
    g_builder = builder;
}

ChildLayoutBuilder CChildLayoutUI::GetBuilder()
{
    return g_builder;
}

LPCWSTR CChildLayoutUI::GetClass() const
{
    return L"ChildLayoutUI";
}

LPVOID CChildLayoutUI::GetInterface(LPCWSTR name)
{
    if (_wcsicmp(name, L"ChildLayout") == 0)
        return this;
    return CContainerUI::GetInterface(name);
}

void CChildLayoutUI::Init()
{
    if (m_sXmlFile.IsEmpty())
        return;
    // A file already attaching further out, or a chain of files too deep, stays empty.
    const CUIString key = FileKey(m_sXmlFile);
    if (IsAttaching(key) || DepthInTree(this) > kMaxAttachDepth) {
        RemoveAll();
        return;
    }
    const AttachGuard guard(key);
    CControlUI* root = g_builder != nullptr ? g_builder(m_sXmlFile, m_pManager) : nullptr;
    // The layout takes ownership of the built tree; a file that cannot be built leaves it empty.
    if (root == nullptr || !Add(root)) {
        delete root;
        RemoveAll();
    }
}

void CChildLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (_wcsicmp(name, L"xmlfile") == 0)
        SetChildLayoutXML(value);
    else
        CContainerUI::SetAttribute(name, value);
}

void CChildLayoutUI::SetChildLayoutXML(LPCWSTR name)
{
    m_sXmlFile = name != nullptr ? name : L"";
}

} // namespace ZvUI

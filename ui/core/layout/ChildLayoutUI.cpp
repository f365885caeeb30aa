// Child layout: the content of another layout file, built when the control is initialised.
#include "layout/ChildLayoutUI.h"

#include <cwchar>

namespace ZvUI {

namespace {

ChildLayoutBuilder g_builder = nullptr;

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

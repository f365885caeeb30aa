// One element of a parsed markup document, with its attributes mapped on first use.

#include "xml/XmlNode.h"

#include <cwchar>

#include "xml/XmlDocument.h"

namespace ZvUI {

namespace {

bool CopyValue(LPWSTR target, int count, LPCWSTR value)
{
    if (target == nullptr || count <= 0) {
        return false;
    }
    int i = 0;
    for (; i < count - 1 && value[i] != L'\0'; ++i) {
        target[i] = value[i];
    }
    target[i] = L'\0';
    return true;
}

} // namespace

CXmlNode::CXmlNode(CXmlDocument* document, int element)
    : m_iPos(element)
    , m_pOwner(document)
{
}

// Null also for an index the document no longer has, so a stale node reads nothing.
const XmlElement* CXmlNode::Element() const
{
    if (m_pOwner == nullptr || m_pOwner->m_pElements == nullptr || m_iPos <= 0 || m_iPos >= m_pOwner->m_nElements) {
        return nullptr;
    }
    return &m_pOwner->m_pElements[m_iPos];
}

LPCWSTR CXmlNode::Text(ULONG offset) const
{
    return m_pOwner->m_pstrXml + offset;
}

LPCWSTR CXmlNode::GetName() const
{
    const XmlElement* element = Element();
    return element != nullptr ? Text(element->name) : nullptr;
}

LPCWSTR CXmlNode::GetValue() const
{
    const XmlElement* element = Element();
    return element != nullptr ? Text(element->data) : nullptr;
}

CXmlNode CXmlNode::GetChild() const
{
    const XmlElement* element = Element();
    if (element == nullptr || element->child == 0) {
        return CXmlNode();
    }
    return CXmlNode(m_pOwner, static_cast<int>(element->child));
}

CXmlNode CXmlNode::GetChild(LPCWSTR name) const
{
    const XmlElement* element = Element();
    if (element == nullptr || name == nullptr) {
        return CXmlNode();
    }
    // Sibling links always point forward, so the walk ends.
    for (ULONG child = element->child; child != 0; child = m_pOwner->m_pElements[child].next) {
        if (_wcsicmp(Text(m_pOwner->m_pElements[child].name), name) == 0) {
            return CXmlNode(m_pOwner, static_cast<int>(child));
        }
    }
    return CXmlNode();
}

CXmlNode CXmlNode::GetSibling() const
{
    const XmlElement* element = Element();
    if (element == nullptr || element->next == 0) {
        return CXmlNode();
    }
    return CXmlNode(m_pOwner, static_cast<int>(element->next));
}

CXmlNode CXmlNode::GetParent() const
{
    const XmlElement* element = Element();
    if (element == nullptr || element->parent == 0) {
        return CXmlNode();
    }
    return CXmlNode(m_pOwner, static_cast<int>(element->parent));
}

bool CXmlNode::HasChildren() const
{
    const XmlElement* element = Element();
    return element != nullptr && element->child != 0;
}

bool CXmlNode::HasSiblings() const
{
    const XmlElement* element = Element();
    return element != nullptr && element->next != 0;
}

// --- attributes ---

// Reads the layout the parser leaves behind: name, terminator, blanks, the opening quote,
// the value and its terminator, all before the element's text. A string that would run
// into the text is not an attribute, so broken markup can never send the walk past it.
void CXmlNode::MapAttributes() const
{
    m_nAttributes = 0;
    const XmlElement* element = Element();
    if (element == nullptr) {
        return;
    }
    LPCWSTR text = m_pOwner->m_pstrXml;
    const ULONG limit = element->data;
    auto skipSpace = [&](ULONG pos) {
        while (pos < limit && text[pos] >= 1 && text[pos] <= 32) {
            ++pos;
        }
        return pos;
    };
    ULONG pos = element->name + static_cast<ULONG>(std::wcslen(text + element->name)) + 1;
    while (pos < limit) {
        pos = skipSpace(pos);
        if (pos >= limit) {
            break;
        }
        const ULONG name = pos;
        const ULONG nameEnd = name + static_cast<ULONG>(std::wcslen(text + name));
        if (nameEnd >= limit) {
            break;
        }
        pos = skipSpace(nameEnd + 1);
        if (pos >= limit || text[pos] != L'"') {
            break;
        }
        const ULONG value = pos + 1;
        const ULONG valueEnd = value + static_cast<ULONG>(std::wcslen(text + value));
        if (valueEnd >= limit) {
            break;
        }
        m_aAttributes[m_nAttributes++] = AttributeRef{name, value};
        if (m_nAttributes == kMaxAttributes) {
            break;
        }
        pos = valueEnd + 1;
    }
}

int CXmlNode::GetAttributeCount() const
{
    if (Element() == nullptr) {
        return 0;
    }
    if (m_nAttributes == 0) {
        MapAttributes();
    }
    return m_nAttributes;
}

bool CXmlNode::HasAttributes() const
{
    return GetAttributeCount() > 0;
}

int CXmlNode::FindAttribute(LPCWSTR name) const
{
    if (name == nullptr) {
        return -1;
    }
    const int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        if (_wcsicmp(Text(m_aAttributes[i].name), name) == 0) {
            return i;
        }
    }
    return -1;
}

bool CXmlNode::HasAttribute(LPCWSTR name) const
{
    return FindAttribute(name) >= 0;
}

LPCWSTR CXmlNode::GetAttributeName(int index) const
{
    if (Element() == nullptr) {
        return nullptr;
    }
    if (index < 0 || index >= GetAttributeCount()) {
        return L"";
    }
    return Text(m_aAttributes[index].name);
}

LPCWSTR CXmlNode::GetAttributeValue(int index) const
{
    if (Element() == nullptr) {
        return nullptr;
    }
    if (index < 0 || index >= GetAttributeCount()) {
        return L"";
    }
    return Text(m_aAttributes[index].value);
}

LPCWSTR CXmlNode::GetAttributeValue(LPCWSTR name) const
{
    if (Element() == nullptr) {
        return nullptr;
    }
    const int index = FindAttribute(name);
    return index >= 0 ? Text(m_aAttributes[index].value) : L"";
}

bool CXmlNode::GetAttributeValue(int index, LPWSTR value, int count) const
{
    if (Element() == nullptr || index < 0 || index >= GetAttributeCount()) {
        return false;
    }
    return CopyValue(value, count, Text(m_aAttributes[index].value));
}

bool CXmlNode::GetAttributeValue(LPCWSTR name, LPWSTR value, int count) const
{
    if (Element() == nullptr) {
        return false;
    }
    const int index = FindAttribute(name);
    return index >= 0 && CopyValue(value, count, Text(m_aAttributes[index].value));
}

} // namespace ZvUI

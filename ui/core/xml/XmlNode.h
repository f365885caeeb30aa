#pragma once
// One element of a parsed markup document, with its attributes mapped on first use.

#include <windows.h>

namespace ZvUI {

class CXmlDocument;

// A small value type pointing into its document: it stays usable while the document
// lives and is neither reloaded nor released.
class CXmlNode {
public:
    static constexpr int kMaxAttributes = 64;

    CXmlNode() = default;
    CXmlNode(CXmlDocument* document, int element);

    bool IsValid() const { return m_pOwner != nullptr; }

    // Null for an invalid node.
    LPCWSTR GetName() const;
    LPCWSTR GetValue() const;

    CXmlNode GetChild() const;
    // First child whose name equals the given one ignoring case.
    CXmlNode GetChild(LPCWSTR name) const;
    CXmlNode GetSibling() const;
    CXmlNode GetParent() const;
    bool HasChildren() const;
    bool HasSiblings() const;

    int GetAttributeCount() const;
    bool HasAttributes() const;
    bool HasAttribute(LPCWSTR name) const;
    // Null for an invalid node, the empty text for an index or name that is not there.
    LPCWSTR GetAttributeName(int index) const;
    LPCWSTR GetAttributeValue(int index) const;
    LPCWSTR GetAttributeValue(LPCWSTR name) const;
    // Copies at most count - 1 characters and always terminates; false when nothing was found
    // or the buffer holds no character at all.
    bool GetAttributeValue(int index, LPWSTR value, int count) const;
    bool GetAttributeValue(LPCWSTR name, LPWSTR value, int count) const;

private:
    struct AttributeRef {
        ULONG name;
        ULONG value;
    };

    const struct XmlElement* Element() const;
    LPCWSTR Text(ULONG offset) const;
    void MapAttributes() const;
    int FindAttribute(LPCWSTR name) const;

    int m_iPos = 0;
    // Mapping is lazy, so const accessors fill these in.
    mutable int m_nAttributes = 0;
    mutable AttributeRef m_aAttributes[kMaxAttributes] = {};
    CXmlDocument* m_pOwner = nullptr;
};

} // namespace ZvUI

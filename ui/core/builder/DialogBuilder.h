#pragma once
// Builds a tree of controls and a window's resources from a layout file of the skin.

#include <windows.h>

#include "xml/XmlDocument.h"

namespace ZvUI {

class CControlUI;
class CPaintManagerUI;

// Creates controls for element names that neither the factory nor a plug-in knows.
class IDialogBuilderCallback {
public:
    // tag is the element name as written ("Button"); the tree owns the result; null: unknown.
    virtual CControlUI* CreateControl(LPCWSTR tag) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// A short-lived object: one per build.
class CLayoutBuilder {
public:
    CLayoutBuilder();
    CLayoutBuilder(const CLayoutBuilder&) = delete;
    CLayoutBuilder& operator=(const CLayoutBuilder&) = delete;
    ~CLayoutBuilder();

    // source: a PE resource id (MAKEINTRESOURCEW, read with type), markup text starting with
    // '<', a layout name of the resource table, or a file under the resource folder or archive.
    // Returns the first control built at the top level, owned by the caller; null on failure,
    // with nothing applied to the manager.
    CControlUI* Create(LPCWSTR source, LPCWSTR type = nullptr,
                       IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // Applies the root's resources and window attributes, then builds the controls.
    CControlUI* ParseWindow(IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                            CControlUI* parent);
    // Builds node's children recursively; the first direct child built, or null.
    CControlUI* ParseControls(const CXmlNode& node, CControlUI* parent, CPaintManagerUI* manager);

    CXmlDocument* GetMarkup() { return &m_xml; }
    void GetLastErrorMessage(LPWSTR message, int count) const;
    void GetLastErrorLocation(LPWSTR location, int count) const;

private:
    void ApplyResources(const CXmlNode& root, CPaintManagerUI* manager);
    void ApplyWindowAttributes(const CXmlNode& root, CPaintManagerUI* manager);
    void BuildInclude(const CXmlNode& node, CControlUI* parent, CPaintManagerUI* manager);
    CControlUI* MakeControl(LPCWSTR tag) const;

    CXmlDocument m_xml;
    IDialogBuilderCallback* m_pCallback = nullptr;
    LPCWSTR m_pstrType = nullptr;
    HINSTANCE m_hModule = nullptr;
};

} // namespace ZvUI

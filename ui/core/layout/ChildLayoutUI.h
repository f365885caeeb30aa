#pragma once
// The container that fills itself from a separate layout file when it is initialised.

#include <windows.h>

#include "layout/ContainerUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CPaintManagerUI;

// Builds the tree of a layout file for a manager; the caller owns the result, null on failure.
// The layout builder registers itself here; until it does, nothing is built.
using ChildLayoutBuilder = CControlUI* (*)(LPCWSTR file, CPaintManagerUI* manager);

class CChildLayoutUI : public CContainerUI {
public:
    CChildLayoutUI();
    ~CChildLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    // Builds the file's tree in place of the control base's initialisation.
    void Init() override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    // Takes effect at the next Init.
    void SetChildLayoutXML(LPCWSTR name);
    CUIString GetChildLayoutXML() const { return m_sXmlFile; }

    static void SetBuilder(ChildLayoutBuilder builder);
    static ChildLayoutBuilder GetBuilder();

private:
    CUIString m_sXmlFile;
};

} // namespace ZvUI

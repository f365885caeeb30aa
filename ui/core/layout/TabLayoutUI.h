#pragma once
// The container that shows one child at a time, the selected page, and raises "tabselect".

#include <windows.h>

#include "layout/ContainerUI.h"

namespace ZvUI {

class CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI();
    ~CTabLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    // The first visible child added becomes current; later ones are hidden.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    // Removing the current page shows page 0, without "tabselect".
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    // The current page stays current wherever it moves.
    bool SetItemIndex(CControlUI* control, int newIndex) override;

    // -1 when there is no page.
    int GetCurSel() const { return m_iCurSel; }
    virtual bool SelectItem(CControlUI* control);
    virtual bool SelectItem(int index);

private:
    int m_iCurSel = -1;
};

} // namespace ZvUI

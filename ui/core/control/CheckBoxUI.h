#pragma once
// An option that can toggle itself on the press and report it with "checkclick".

#include <windows.h>

#include "control/OptionUI.h"

namespace ZvUI {

class CCheckBoxUI : public COptionUI {
public:
    CCheckBoxUI() = default;
    ~CCheckBoxUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    // "selectchanged" carries the new state in wParam.
    void Selected(bool select, bool notify = true) override;

    bool IsChecked() const { return IsSelected(); }
    void SetCheck(bool check) { Selected(check, true); }
    void SetAutoCheck(bool autoCheck) { m_bAutoCheck = autoCheck; }

private:
    bool m_bAutoCheck = false;
};

} // namespace ZvUI

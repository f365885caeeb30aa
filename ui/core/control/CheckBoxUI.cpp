// Check box: the auto-check press and its "checkclick".
#include "control/CheckBoxUI.h"

#include <cwchar>

#include "manager/PaintManagerUI.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

CCheckBoxUI::~CCheckBoxUI() = default;

LPCWSTR CCheckBoxUI::GetClass() const
{
    return L"CheckBoxUI";
}

LPVOID CCheckBoxUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"CheckBox") == 0)
        return static_cast<CCheckBoxUI*>(this);
    return COptionUI::GetInterface(name);
}

void CCheckBoxUI::DoEvent(UIControlEvent& event)
{
    // With the mouse disabled the button passes the press on to the parent.
    if (m_bAutoCheck && IsMouseEnabled() && (event.type == EventButtonDown || event.type == EventDoubleClick)) {
        if (!::PtInRect(&m_rcItem, event.mousePoint) || !IsEnabled())
            return;
        // The press decides at once; no press tracking, so no "click" on release.
        Selected(!IsChecked(), true);
        if (m_pManager != nullptr)
            m_pManager->RaiseNotify(this, L"checkclick", 0, 0, false);
        Invalidate();
        return;
    }
    CButtonUI::DoEvent(event);
}

void CCheckBoxUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (_wcsicmp(name, L"EnableAutoCheck") == 0)
        SetAutoCheck(attr::IsTrue(value));
    COptionUI::SetAttribute(name, value);
}

void CCheckBoxUI::Selected(bool select, bool notify)
{
    ApplySelected(select, notify, select ? 1 : 0);
}

} // namespace ZvUI

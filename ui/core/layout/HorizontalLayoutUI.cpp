// Horizontal stacking: the shared stacking layout along the x axis.
#include "layout/HorizontalLayoutUI.h"

#include <cwchar>

namespace ZvUI {

LPCWSTR CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"HorizontalLayout") == 0)
        return static_cast<CHorizontalLayoutUI*>(this);
    return CStackLayoutUI::GetInterface(name);
}

} // namespace ZvUI

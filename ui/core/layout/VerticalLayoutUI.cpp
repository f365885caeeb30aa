// Vertical stacking: the shared stacking layout along the y axis.
#include "layout/VerticalLayoutUI.h"

#include <cwchar>

namespace ZvUI {

LPCWSTR CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"VerticalLayout") == 0)
        return static_cast<CVerticalLayoutUI*>(this);
    return CStackLayoutUI::GetInterface(name);
}

} // namespace ZvUI

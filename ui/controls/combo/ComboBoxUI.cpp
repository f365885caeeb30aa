// The combo with a drop arrow cut from a five-frame strip, whose selected row draws its own text.
#include "combo/ComboBoxUI.h"

#include <cstdio>
#include <cwchar>
#include <string>

#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIControlServices.h"

namespace ZvUI {

LPCWSTR CComboBoxUI::GetClass() const
{
    return L"ComboBoxUI";
}

void CComboBoxUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (list_support::Is(name, L"arrowimage"))
        SetArrowImage(value);
    else
        CComboUI::SetAttribute(name, value);
}

void CComboBoxUI::PaintStatusImage(HDC hDC)
{
    if (m_sArrowImage.IsEmpty()) {
        CComboUI::PaintStatusImage(hDC);
        return;
    }
    UpdateFocusAndEnabledBits();
    int frame = 0;
    if ((m_uButtonState & ButtonStateDisabled) != 0)
        frame = 4;
    else if ((m_uButtonState & ButtonStatePushed) != 0)
        frame = 2;
    else if ((m_uButtonState & ButtonStateHot) != 0)
        frame = 1;
    else if ((m_uButtonState & ButtonStateFocused) != 0)
        frame = 3;

    std::wstring image = m_sArrowImage.GetData();
    const size_t key = image.find(L"source");
    // Without a source key there is no strip to cut frames from.
    if (key == std::wstring::npos)
        return;
    const size_t open = image.find(L'\'', key + 7 <= image.size() ? key + 7 : image.size());
    if (open == std::wstring::npos)
        return;
    const size_t close = image.find(L'\'', open + 1);
    if (close == std::wstring::npos)
        return;
    const RECT source = list_support::ParseRect(image.substr(open + 1, close - open - 1).c_str());
    m_nArrowWidth = (source.right - source.left) / 5;

    const int left = source.left + frame * m_nArrowWidth;
    // The modify string is read in 96-dpi units like the descriptor, so the destination is
    // brought back to them and the arrow is scaled once, together with its source.
    const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
    const auto unscale = [scale](int value) { return scale > 0 ? ::MulDiv(value, 100, scale) : value; };
    const int border = GetBorderSize();
    RECT dest = {unscale(border), unscale(border), unscale(m_rcItem.right - m_rcItem.left - border),
                 unscale(m_rcItem.bottom - m_rcItem.top - border)};
    dest.left = dest.right - m_nArrowWidth;

    wchar_t part[160] = {};
    swprintf(part, 160, L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", left, static_cast<int>(source.top),
             left + m_nArrowWidth, static_cast<int>(source.bottom), static_cast<int>(dest.left),
             static_cast<int>(dest.top), static_cast<int>(dest.right), static_cast<int>(dest.bottom));
    image.replace(key, close - key + 1, part);
    DrawImage(hDC, m_sArrowImage.GetData(), image.c_str());
}

void CComboBoxUI::PaintText(HDC hDC)
{
    RECT rc = m_rcItem;
    const RECT padding = GetTextPadding();
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right + ScaleValue(m_nArrowWidth);
    rc.bottom -= padding.bottom;
    CControlUI* selected = GetCurSel() >= 0 ? GetItemAt(GetCurSel()) : nullptr;
    if (selected == nullptr)
        return;
    if (auto* item = static_cast<IListItemUI*>(selected->GetInterface(kListItemInterface))) {
        item->DrawItemText(hDC, rc);
        return;
    }
    const RECT old = selected->GetPos();
    selected->SetPos(rc, true);
    selected->DoPaint(hDC, rc, nullptr);
    selected->SetPos(old, true);
}

} // namespace ZvUI

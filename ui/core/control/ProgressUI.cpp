// Progress bar: range and value, the filled part in the fore colour or fore image, percentage text.
#include "control/ProgressUI.h"

#include <climits>
#include <cwchar>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using attr::Is;

CProgressUI::CProgressUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    SetFixedHeight(12);
}

CProgressUI::~CProgressUI() = default;

LPCWSTR CProgressUI::GetClass() const
{
    return L"ProgressUI";
}

LPVOID CProgressUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"Progress"))
        return this;
    return CLabelUI::GetInterface(name);
}

void CProgressUI::SetMinValue(int value)
{
    m_nMin = value;
    Invalidate();
}

void CProgressUI::SetMaxValue(int value)
{
    m_nMax = value;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    if (value == m_nValue || value < m_nMin || value > m_nMax)
        return;
    m_nValue = value;
    Invalidate();
    UpdateText();
}

void CProgressUI::SetHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal)
        return;
    m_bHorizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool stretch)
{
    if (m_bStretchForeImage == stretch)
        return;
    m_bStretchForeImage = stretch;
    Invalidate();
}

void CProgressUI::SetShowText(bool show)
{
    if (m_bShowText == show)
        return;
    m_bShowText = show;
    if (!show)
        SetText(L"");
}

void CProgressUI::UpdateText()
{
    if (!m_bShowText)
        return;
    // An empty range has no share to show; skip rather than divide by zero.
    if (m_nMax <= m_nMin)
        return;
    const float percent = static_cast<float>(static_cast<__int64>(m_nValue) - m_nMin) * 100.0f /
                          static_cast<float>(static_cast<__int64>(m_nMax) - m_nMin);
    CUIString text;
    text.Format(L"%.0f%%", static_cast<double>(percent));
    SetText(text);
}

void CProgressUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"hor"))
        SetHorizontal(Is(value, L"true"));
    else if (Is(name, L"min"))
        SetMinValue(_wtoi(value));
    else if (Is(name, L"max"))
        SetMaxValue(_wtoi(value));
    else if (Is(name, L"value"))
        SetValue(_wtoi(value));
    else if (Is(name, L"isstretchfore"))
        SetStretchForeImage(Is(value, L"true"));
    else
        CLabelUI::SetAttribute(name, value);
}

void CProgressUI::RepairRange()
{
    // At the top of the int range the maximum cannot go up: the minimum comes down instead.
    if (m_nMin >= m_nMax) {
        if (m_nMin == INT_MAX)
            m_nMin = INT_MAX - 1;
        m_nMax = m_nMin + 1;
    }
    if (m_nValue > m_nMax)
        m_nValue = m_nMax;
    if (m_nValue < m_nMin)
        m_nValue = m_nMin;
}

// --- painting ---

void CProgressUI::PaintForeColor(HDC hDC)
{
    if (m_dwForeColor == 0)
        return;
    RepairRange();
    RECT rc = m_rcItem;
    // In 64 bits: a wide range times the bar's length does not fit in 32.
    const __int64 span = static_cast<__int64>(m_nMax) - m_nMin;
    if (m_bHorizontal)
        rc.right = static_cast<LONG>((static_cast<__int64>(m_nValue) - m_nMin) * (m_rcItem.right - m_rcItem.left) /
                                     span) + m_rcItem.left;
    else
        rc.top = static_cast<LONG>((m_rcItem.bottom - m_rcItem.top) * (static_cast<__int64>(m_nMax) - m_nValue) /
                                   span) + m_rcItem.top;
    CUIRender::DrawColor(hDC, rc, GetAdjustColor(m_dwForeColor));
}

void CProgressUI::PaintForeImage(HDC hDC)
{
    RepairRange();
    const float span = static_cast<float>(static_cast<__int64>(m_nMax) - m_nMin);
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = m_rcItem.bottom - m_rcItem.top;
    int filled = 0;
    int offset = 0;
    if (m_bHorizontal) {
        filled = static_cast<int>(static_cast<float>(static_cast<__int64>(m_nValue) - m_nMin) * static_cast<float>(width) / span);
    } else {
        offset = static_cast<int>(static_cast<float>(height) * static_cast<float>(static_cast<__int64>(m_nMax) - m_nValue) / span);
        filled = width;
    }
    if (m_sForeImage.IsEmpty())
        return;

    // The descriptor parser scales destinations again: hand it 96-dpi units.
    const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
    const int x0 = 0;
    const int y0 = ::MulDiv(offset, 100, scale);
    const int x1 = ::MulDiv(filled, 100, scale) + x0;
    const int y1 = ::MulDiv(height - offset, 100, scale) + y0;
    m_sForeImageModify.Empty();
    if (m_bStretchForeImage)
        m_sForeImageModify.FormatShort(L"dest='%d,%d,%d,%d'", x0, y0, x1, y1);
    else
        m_sForeImageModify.FormatShort(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", x0, y0, x1, y1, x0, y0, x1, y1);
    (void)DrawImage(hDC, m_sForeImage, m_sForeImageModify);
}

} // namespace ZvUI

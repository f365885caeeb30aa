// Slider: thumb placement, the value under the mouse, wheel steps and the thumb's looks.
#include "slider/SliderUI.h"

#include <climits>
#include <cwchar>

#include "utils/UIAttributeValues.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {


// offset * (max - min) / span in 64 bits; 0 when the span is empty so the thumb stays at the start.
__int64 Share(__int64 offset, __int64 range, __int64 span, bool integer)
{
    if (span <= 0)
        return 0;
    if (integer)
        return offset * range / span;
    return static_cast<__int64>(static_cast<float>(range) * static_cast<float>(offset) / static_cast<float>(span));
}

// value + step, or value itself when the sum leaves int: a step past the maximum is refused,
// and past INT_MAX the sum wrapped to the far end of a range that spans all of int.
int Stepped(int value, int step)
{
    const __int64 sum = static_cast<__int64>(value) + step;
    return sum > INT_MAX || sum < INT_MIN ? value : static_cast<int>(sum);
}

} // namespace

using attr::Is;

CSliderUI::CSliderUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

CSliderUI::~CSliderUI() = default;

LPCWSTR CSliderUI::GetClass() const
{
    return L"SliderUI";
}

LPVOID CSliderUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && Is(name, L"Slider"))
        return static_cast<CSliderUI*>(this);
    return CProgressUI::GetInterface(name);
}

UINT CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? ControlFlagSetCursor : 0;
}

void CSliderUI::SetEnabled(bool enable)
{
    CControlUI::SetEnabled(enable);
    if (!enable)
        m_uButtonState = 0;
}

void CSliderUI::SetValueIfFree(int value)
{
    if ((m_uButtonState & kStatePushed) == 0)
        SetValue(value);
}

void CSliderUI::SetThumbImage(LPCWSTR descriptor)
{
    m_sThumbImage = descriptor;
    Invalidate();
}

void CSliderUI::SetThumbHotImage(LPCWSTR descriptor)
{
    m_sThumbHotImage = descriptor;
    Invalidate();
}

void CSliderUI::SetThumbPushedImage(LPCWSTR descriptor)
{
    m_sThumbPushedImage = descriptor;
    Invalidate();
}

// --- geometry ---

SIZE CSliderUI::ScaledThumb() const
{
    SIZE size = m_szThumb;
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->ScaleSize(size);
    return size;
}

RECT CSliderUI::GetThumbRect() const
{
    const SIZE thumb = ScaledThumb();
    const __int64 range = static_cast<__int64>(GetMaxValue()) - GetMinValue();
    const __int64 offset = static_cast<__int64>(GetValue()) - GetMinValue();
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = m_rcItem.bottom - m_rcItem.top;
    int left = 0;
    int top = 0;
    // An empty range keeps the thumb at the start instead of dividing by zero.
    if (IsHorizontal()) {
        left = m_rcItem.left + static_cast<int>(Share(offset, width - thumb.cx, range, true));
        top = (m_rcItem.top + m_rcItem.bottom - thumb.cy) / 2;
    } else {
        left = (m_rcItem.left + m_rcItem.right - thumb.cx) / 2;
        top = m_rcItem.bottom - thumb.cy - static_cast<int>(Share(offset, height - thumb.cy, range, true));
    }
    return RECT{left, top, left + thumb.cx, top + thumb.cy};
}

int CSliderUI::ValueAt(POINT pt, bool integer) const
{
    // The thumb is drawn at its scaled size, so it is hit-tested at that size too.
    const SIZE thumb = ScaledThumb();
    const int minimum = GetMinValue();
    const int maximum = GetMaxValue();
    const __int64 range = static_cast<__int64>(maximum) - minimum;
    if (IsHorizontal()) {
        const int half = thumb.cx / 2;
        if (pt.x >= m_rcItem.right - half)
            return maximum;
        if (pt.x <= m_rcItem.left + half)
            return minimum;
        // A track no longer than its thumb has no room to move: the value stays at the start.
        return static_cast<int>(minimum + Share(pt.x - m_rcItem.left - half, range,
                                                m_rcItem.right - m_rcItem.left - thumb.cx, integer));
    }
    const int half = thumb.cy / 2;
    if (pt.y >= m_rcItem.bottom - half)
        return minimum;
    if (pt.y <= m_rcItem.top + half)
        return maximum;
    return static_cast<int>(minimum + Share(m_rcItem.bottom - pt.y - half, range,
                                            m_rcItem.bottom - m_rcItem.top - thumb.cy, integer));
}

// --- events ---

void CSliderUI::Notify(LPCWSTR type)
{
    if (m_pManager != nullptr)
        m_pManager->RaiseNotify(this, type, 0, 0);
}

void CSliderUI::DoEvent(UIControlEvent& event)
{
    if (HandOverMouseEvent<CLabelUI>(*this, event))
        return;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled()) {
            m_uButtonState |= kStatePushed;
            const int value = ValueAt(event.mousePoint, false);
            if (value != GetValue() && value >= GetMinValue() && value <= GetMaxValue()) {
                SetValue(value);
                Invalidate();
            }
            UpdateText();
            return;
        }
        break;
    case EventButtonUp:
    case EventRButtonUp:
        if (IsEnabled()) {
            m_uButtonState &= ~kStatePushed;
            const int value = ValueAt(event.mousePoint, true);
            if (value >= GetMinValue() && value <= GetMaxValue()) {
                SetValue(value);
                Notify(L"valuechanged");
                Invalidate();
            }
            UpdateText();
            return;
        }
        break;
    case EventContextMenu:
        return;
    case EventScrollWheel:
        if (IsEnabled()) {
            switch (LOWORD(event.wParam)) {
            case SB_LINEUP:
                SetValueIfFree(Stepped(GetValue(), m_nStep));
                Notify(L"valuechanged");
                return;
            case SB_LINEDOWN:
                SetValueIfFree(Stepped(GetValue(), -m_nStep));
                Notify(L"valuechanged");
                return;
            default:
                break;
            }
        }
        break;
    case EventMouseMove:
        if ((m_uButtonState & kStatePushed) != 0) {
            SetValue(ValueAt(event.mousePoint, false));
            if (m_bSendMove) {
                UpdateText();
                Notify(L"movevaluechanged");
            }
            Invalidate();
        }
        if (IsEnabled()) {
            const RECT thumb = GetThumbRect();
            if (::PtInRect(&thumb, event.mousePoint)) {
                m_uButtonState |= kStateHot;
                Invalidate();
                return;
            }
        }
        m_uButtonState &= ~kStateHot;
        Invalidate();
        return;
    case EventSetCursor:
        if (IsEnabled()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState &= ~kStateHot;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

// --- attributes ---

void CSliderUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"thumbimage")) {
        SetThumbImage(value);
    } else if (Is(name, L"thumbhotimage")) {
        SetThumbHotImage(value);
    } else if (Is(name, L"thumbpushedimage")) {
        SetThumbPushedImage(value);
    } else if (Is(name, L"thumbsize")) {
        LPWSTR end = nullptr;
        SIZE size = {0, 0};
        size.cx = static_cast<LONG>(wcstol(value, &end, 10));
        if (*end != L'\0')
            ++end;
        size.cy = static_cast<LONG>(wcstol(end, nullptr, 10));
        SetThumbSize(size);
    } else if (Is(name, L"step")) {
        SetChangeStep(_wtoi(value));
    } else if (Is(name, L"sendmove")) {
        SetSendMove(attr::IsTrue(value));
    } else if (Is(name, L"thumbtextenable")) {
        SetThumbTextEnabled(attr::IsTrue(value));
    } else {
        CProgressUI::SetAttribute(name, value);
    }
}

// --- painting ---

void CSliderUI::PaintForeImage(HDC hDC)
{
    CProgressUI::PaintForeImage(hDC);

    RECT thumb = GetThumbRect();
    ::OffsetRect(&thumb, -m_rcItem.left, -m_rcItem.top);
    // The descriptor scales "dest" again: hand it 96-dpi units.
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->UnscaleRect(thumb);
    m_sImageModify.Empty();
    m_sImageModify.FormatShort(L"dest='%d,%d,%d,%d'", static_cast<int>(thumb.left), static_cast<int>(thumb.top),
                               static_cast<int>(thumb.right), static_cast<int>(thumb.bottom));

    if ((m_uButtonState & kStatePushed) != 0) {
        if (!m_sThumbPushedImage.IsEmpty() && DrawImage(hDC, m_sThumbPushedImage, m_sImageModify))
            return;
    } else if ((m_uButtonState & kStateHot) != 0) {
        if (!m_sThumbHotImage.IsEmpty() && DrawImage(hDC, m_sThumbHotImage, m_sImageModify))
            return;
    }
    if (!m_sThumbImage.IsEmpty())
        (void)DrawImage(hDC, m_sThumbImage, m_sImageModify);
}

void CSliderUI::PaintText(HDC hDC)
{
    if (!m_bThumbText) {
        CProgressUI::PaintText(hDC);
        return;
    }
    if (m_pManager == nullptr)
        return;
    TakeDefaultColors();
    const CUIString text = GetText();
    if (text.IsEmpty())
        return;
    RECT rc = GetThumbRect();
    const RECT padding = GetTextPadding();
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right;
    rc.bottom -= padding.bottom;
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml) {
        int none = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, text, color, nullptr, nullptr, none, m_iFont, m_uTextStyle);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, text, color, m_iFont, m_uTextStyle);
    }
}

} // namespace ZvUI

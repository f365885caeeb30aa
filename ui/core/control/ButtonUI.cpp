// Button: the state word driven by mouse and keyboard, state looks, the strip cut and "click".
#include "control/ButtonUI.h"

#include <cwchar>

#include "layout/TabLayoutUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIDrawInfo.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"
#include "utils/UIAttributeValues.h"
#include "control/StateImages.h"

namespace ZvUI {

using attr::Is;
using attr::ParseColor;

namespace {

CUIString StripFrame(const UIDrawInfo& info, int left, int right, int height)
{
    CUIString frame;
    frame.Format(L"res='%s' restype='%s' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", info.imageName.GetData(),
                 info.resourceType.GetData(), static_cast<int>(info.dest.left), static_cast<int>(info.dest.top),
                 static_cast<int>(info.dest.right), static_cast<int>(info.dest.bottom), left, 0, right, height);
    return frame;
}

} // namespace

CButtonUI::CButtonUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CButtonUI::~CButtonUI() = default;

LPCWSTR CButtonUI::GetClass() const
{
    return L"ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"Button") == 0)
        return static_cast<CButtonUI*>(this);
    return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? ControlFlagTabStop : 0) | (IsEnabled() ? ControlFlagSetCursor : 0);
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (m_pManager != nullptr) {
        m_pManager->RaiseNotify(this, L"click", 0, 0, false);
        BindTabLayout(-1);
    }
    return true;
}

void CButtonUI::SetEnabled(bool enable)
{
    CControlUI::SetEnabled(enable);
    m_uButtonState = enable ? 0 : ButtonStateDisabled;
}

// --- events ---

void CButtonUI::DoEvent(UIControlEvent& event)
{
    if (HandOverMouseEvent<CLabelUI>(*this, event))
        return;
    const bool inside = ::PtInRect(&m_rcItem, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus:
        Invalidate();
        break;
    case EventKeyDown:
        if (IsKeyboardEnabled() && (event.keyChar == VK_SPACE || event.keyChar == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case EventButtonDown:
    case EventDoubleClick:
        if (inside && IsEnabled()) {
            m_uButtonState |= ButtonStatePushed | ButtonStateCaptured;
            Invalidate();
            if (IsRichEvent() && m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"buttondown", 0, 0);
        }
        return;
    case EventMouseMove:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            if (inside)
                m_uButtonState |= ButtonStatePushed;
            else
                m_uButtonState &= ~ButtonStatePushed;
            Invalidate();
        }
        return;
    case EventButtonUp:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            m_uButtonState &= ~(ButtonStatePushed | ButtonStateCaptured);
            Invalidate();
            // A press dragged out of the button and released there is no click.
            if (inside)
                Activate();
        }
        return;
    case EventContextMenu:
        if (IsContextMenuUsed() && m_pManager != nullptr)
            m_pManager->RaiseNotify(this, L"menu", event.wParam, event.lParam);
        return;
    case EventMouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= ButtonStateHot;
            Invalidate();
            if (IsRichEvent() && m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"mouseenter", 0, 0);
        }
        break;
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState &= ~ButtonStateHot;
            Invalidate();
            if (IsRichEvent() && m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"mouseleave", 0, 0);
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// --- tab binding ---

void CButtonUI::BindTabLayout(int index)
{
    if (index < 0 && m_iBindTabIndex < 0)
        return;
    if (m_pManager == nullptr || m_sBindTabLayoutName.IsEmpty())
        return;
    CControlUI* control = m_pManager->FindControl(m_sBindTabLayoutName);
    // A name that names anything but a tab layout is ignored.
    void* tab = control != nullptr ? control->GetInterface(L"TabLayout") : nullptr;
    if (tab == nullptr)
        return;
    static_cast<CTabLayoutUI*>(tab)->SelectItem(index >= 0 ? index : m_iBindTabIndex);
}

void CButtonUI::SetBindTabLayoutIndex(int index)
{
    if (index >= 0)
        m_iBindTabIndex = index;
}

void CButtonUI::SetBindTabLayoutName(LPCWSTR name)
{
    if (name != nullptr)
        m_sBindTabLayoutName = name;
}

void CButtonUI::RemoveBindTabLayout()
{
    m_iBindTabIndex = -1;
    m_sBindTabLayoutName.Empty();
}

// --- accessors ---

CUIString CButtonUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CButtonUI::SetNormalImage(LPCWSTR descriptor)
{
    m_sNormalImage = descriptor;
    Invalidate();
}

CUIString CButtonUI::GetHotImage() const
{
    return m_sHotImage;
}

void CButtonUI::SetHotImage(LPCWSTR descriptor)
{
    m_sHotImage = descriptor;
    Invalidate();
}

CUIString CButtonUI::GetPushedImage() const
{
    return m_sPushedImage;
}

void CButtonUI::SetPushedImage(LPCWSTR descriptor)
{
    m_sPushedImage = descriptor;
    Invalidate();
}

CUIString CButtonUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CButtonUI::SetFocusedImage(LPCWSTR descriptor)
{
    m_sFocusedImage = descriptor;
    Invalidate();
}

CUIString CButtonUI::GetDisabledImage() const
{
    return m_sDisabledImage;
}

void CButtonUI::SetDisabledImage(LPCWSTR descriptor)
{
    m_sDisabledImage = descriptor;
    Invalidate();
}

CUIString CButtonUI::GetHotForeImage() const
{
    return m_sHotForeImage;
}

void CButtonUI::SetHotForeImage(LPCWSTR descriptor)
{
    m_sHotForeImage = descriptor;
    Invalidate();
}

CUIString CButtonUI::GetStateImage() const
{
    return m_sStateImage;
}

void CButtonUI::SetStateImage(LPCWSTR descriptor)
{
    m_sNormalImage.Empty();
    m_sStateImage = descriptor;
    Invalidate();
}

void CButtonUI::SetHotBkColor(DWORD color)
{
    m_dwHotBkColor = color;
    Invalidate();
}

void CButtonUI::SetPushedBkColor(DWORD color)
{
    m_dwPushedBkColor = color;
    Invalidate();
}

void CButtonUI::SetDisabledBkColor(DWORD color)
{
    m_dwDisabledBkColor = color;
    Invalidate();
}

void CButtonUI::SetHotFont(int index)
{
    m_iHotFont = index;
    Invalidate();
}

void CButtonUI::SetPushedFont(int index)
{
    m_iPushedFont = index;
    Invalidate();
}

void CButtonUI::SetFocusedFont(int index)
{
    m_iFocusedFont = index;
    Invalidate();
}

void CButtonUI::SetStateCount(int count)
{
    m_nStateCount = count;
    Invalidate();
}

// --- attributes ---

void CButtonUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"normalimage"))
        SetNormalImage(value);
    else if (Is(name, L"hotimage"))
        SetHotImage(value);
    else if (Is(name, L"pushedimage"))
        SetPushedImage(value);
    else if (Is(name, L"focusedimage"))
        SetFocusedImage(value);
    else if (Is(name, L"disabledimage"))
        SetDisabledImage(value);
    else if (Is(name, L"hotforeimage"))
        SetHotForeImage(value);
    else if (Is(name, L"stateimage"))
        SetStateImage(value);
    else if (Is(name, L"statecount"))
        SetStateCount(_wtoi(value));
    else if (Is(name, L"bindtabindex"))
        SetBindTabLayoutIndex(_wtoi(value));
    else if (Is(name, L"bindtablayoutname"))
        SetBindTabLayoutName(value);
    else if (Is(name, L"hotbkcolor"))
        SetHotBkColor(ParseColor(value));
    else if (Is(name, L"pushedbkcolor"))
        SetPushedBkColor(ParseColor(value));
    else if (Is(name, L"disabledbkcolor"))
        SetDisabledBkColor(ParseColor(value));
    else if (Is(name, L"hottextcolor"))
        SetHotTextColor(ParseColor(value));
    else if (Is(name, L"pushedtextcolor"))
        SetPushedTextColor(ParseColor(value));
    else if (Is(name, L"focusedtextcolor"))
        SetFocusedTextColor(ParseColor(value));
    else if (Is(name, L"hotfont"))
        SetHotFont(_wtoi(value));
    else if (Is(name, L"pushedfont"))
        SetPushedFont(_wtoi(value));
    else if (Is(name, L"focuedfont"))
        SetFocusedFont(_wtoi(value));
    else
        CLabelUI::SetAttribute(name, value);
}

// --- painting ---

void CButtonUI::PaintBkColor(HDC hDC)
{
    DWORD color = 0;
    if ((m_uButtonState & ButtonStateDisabled) != 0)
        color = m_dwDisabledBkColor;
    else if ((m_uButtonState & ButtonStatePushed) != 0)
        color = m_dwPushedBkColor;
    else if ((m_uButtonState & ButtonStateHot) != 0)
        color = m_dwHotBkColor;
    if (color == 0) {
        CControlUI::PaintBkColor(hDC);
        return;
    }
    CUIRender::DrawColor(hDC, m_rcPaint, GetAdjustColor(color));
}

void CButtonUI::CutStrip(const CUIString& strip, int count, CUIString& normal, CUIString& hot, CUIString& pushed,
                         CUIString* disabled)
{
    if (strip.IsEmpty() || count <= 0 || !normal.IsEmpty() || m_pManager == nullptr)
        return;
    // Parsed without the manager: the cut strings stay in skin units and are scaled when drawn.
    UIDrawInfo info;
    info.Parse(strip, L"", nullptr);
    const UIImageInfo* image = m_pManager->LoadImageCached(
        info.imageName, info.resourceType.IsEmpty() ? nullptr : info.resourceType.GetData(), info.mask, info.hsl);
    if (image == nullptr || image->width <= 0 || image->height <= 0)
        return;
    const int frame = image->width / count;
    const int height = image->height;
    normal = StripFrame(info, 0, frame, height);
    if (count > 1) {
        hot = StripFrame(info, frame, 2 * frame, height);
        pushed = hot;
    }
    if (count > 2)
        pushed = StripFrame(info, 2 * frame, 3 * frame, height);
    if (count > 3 && disabled != nullptr)
        *disabled = StripFrame(info, 3 * frame, 4 * frame, height);
}

void CButtonUI::CutStateImages()
{
    CutStrip(m_sStateImage, m_nStateCount, m_sNormalImage, m_sHotImage, m_sPushedImage, &m_sDisabledImage);
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    CutStateImages();
    UpdateFocusAndEnabledBits();
    // Under a modal box the window is disabled: no hot, pushed or focused looks.
    if (m_pManager != nullptr && m_pManager->GetWindowHandle() != nullptr &&
        !::IsWindowEnabled(m_pManager->GetWindowHandle()))
        m_uButtonState &= ButtonStateDisabled;
    DrawButtonStateImage(*this, hDC, m_uButtonState, m_sNormalImage, m_sHotImage, m_sPushedImage, m_sFocusedImage,
                         m_sDisabledImage);
}

void CButtonUI::PaintForeImage(HDC hDC)
{
    if ((m_uButtonState & ButtonStateHot) != 0 && (m_uButtonState & ButtonStatePushed) == 0 &&
        !m_sHotForeImage.IsEmpty() && DrawImage(hDC, m_sHotForeImage))
        return;
    if (!m_sForeImage.IsEmpty())
        DrawImage(hDC, m_sForeImage);
}

void CButtonUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    UpdateFocusAndEnabledBits();
    TakeDefaultColors();
    const CUIString text = GetText();
    if (text.IsEmpty())
        return;
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & ButtonStatePushed) != 0 && m_dwPushedTextColor != 0)
        color = m_dwPushedTextColor;
    else if ((m_uButtonState & ButtonStateHot) != 0 && m_dwHotTextColor != 0)
        color = m_dwHotTextColor;
    else if ((m_uButtonState & ButtonStateFocused) != 0 && m_dwFocusedTextColor != 0)
        color = m_dwFocusedTextColor;

    int font = m_iFont;
    if ((m_uButtonState & ButtonStatePushed) != 0 && m_iPushedFont != -1)
        font = m_iPushedFont;
    else if ((m_uButtonState & ButtonStateHot) != 0 && m_iHotFont != -1)
        font = m_iHotFont;
    else if ((m_uButtonState & ButtonStateFocused) != 0 && m_iFocusedFont != -1)
        font = m_iFocusedFont;

    if (IsAutoTextSize()) {
        const SIZE measured = MeasureText(text, font);
        if (measured.cx > 0) {
            const int wanted = measured.cx + m_rcTextPadding.left + m_rcTextPadding.right;
            // Both as stored, at 96 dpi: the scaled width does not always come back the same.
            if (wanted != m_cxyFixed.cx)
                SetFixedWidth(wanted);
        }
    }
    DrawTextIn(hDC, text, color, font);
}

} // namespace ZvUI

// The inputs edited in a native window: placement that follows the control, looks and events.
#include "edit/NativeInputUI.h"

#include <cwchar>

#include "control/ButtonUI.h"
#include "control/StateImages.h"
#include "edit/TextInputSupport.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

namespace {

// The manager window reflects a child's own WM_COMMAND back at this offset.
constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;

} // namespace

// --- the native window ---

RECT CNativeInputWnd::CalPos() const
{
    RECT rc = m_pInput->GetTextRect();
    const UIFontInfo* font = m_pInput->GetManager()->GetFontInfo(m_pInput->GetFont());
    const LONG fontHeight = font != nullptr ? font->metrics.tmHeight : 0;
    if (fontHeight > 0 && fontHeight < rc.bottom - rc.top) {
        rc.top += (rc.bottom - rc.top - fontHeight) / 2;
        rc.bottom = rc.top + fontHeight;
    }
    return textinput::ClipByAncestors(m_pInput, rc);
}

RECT CNativeInputWnd::PlacedPos(bool popup) const
{
    RECT rc = CalPos();
    if (popup) {
        RECT window = {};
        ::GetWindowRect(m_pInput->GetManager()->GetWindowHandle(), &window);
        ::OffsetRect(&rc, window.left, window.top - 1);
    }
    return rc;
}

void CNativeInputWnd::TakeFont()
{
    textinput::TakeFont(m_hWnd, m_pInput->GetManager()->GetFont(m_pInput->GetFont()));
}

void CNativeInputWnd::FollowOwner(bool resize)
{
    if (m_hWnd == nullptr || m_pInput == nullptr || m_pInput->GetManager() == nullptr)
        return;
    const bool popup = (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_POPUP) != 0;
    const RECT pos = PlacedPos(popup);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!resize)
        flags |= SWP_NOSIZE;
    ::SetWindowPos(m_hWnd, nullptr, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, flags);
    // Layout follows every DPI change, which deletes the font the window had.
    TakeFont();
}

bool CNativeInputWnd::HandleSharedMessage(UINT msg, WPARAM wParam)
{
    switch (msg) {
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) {
            if (m_bInit && m_pInput != nullptr)
                OnNativeChange();
        } else if (HIWORD(wParam) == EN_UPDATE) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return true;
    case WM_KEYDOWN:
        if (wParam != VK_RETURN)
            return false;
        if (m_pInput != nullptr && m_pInput->GetManager() != nullptr)
            m_pInput->GetManager()->SendNotify(m_pInput, L"return");
        return true;
    default:
        return false;
    }
}

void CNativeInputWnd::DetachFromOwner()
{
    if (m_pInput == nullptr)
        return;
    m_pInput->Invalidate();
    m_pInput->m_pWindow = nullptr;
    m_pInput = nullptr;
}

// --- the control ---

CNativeInputUI::CNativeInputUI()
{
    SetTextPadding(4, 3, 4, 3);
    SetBkColor(0xFFFFFFFF);
}

CNativeInputUI::~CNativeInputUI()
{
    if (m_pWindow != nullptr) {
        // The closing window hands the focus back to the manager's window, which would pass it
        // on to this half-destroyed control.
        if (m_pManager != nullptr)
            m_pManager->ForgetControl(this);
        CNativeInputWnd* window = m_pWindow;
        m_pWindow = nullptr;
        window->m_pInput = nullptr;
        if (::IsWindow(window->GetHandle()))
            ::DestroyWindow(window->GetHandle());
    }
}

UINT CNativeInputUI::GetControlFlags() const
{
    return IsEnabled() ? (ControlFlagTabStop | ControlFlagSetCursor) : GetStoredControlFlags();
}

HWND CNativeInputUI::GetNativeWindow() const
{
    return m_pWindow != nullptr ? m_pWindow->GetHandle() : nullptr;
}

void CNativeInputUI::SetPos(RECT rc, bool invalidate)
{
    CLabelUI::SetPos(rc, invalidate);
    if (m_pWindow != nullptr)
        m_pWindow->FollowOwner(true);
}

void CNativeInputUI::Move(SIZE offset, bool invalidate)
{
    CLabelUI::Move(offset, invalidate);
    if (m_pWindow != nullptr)
        m_pWindow->FollowOwner(false);
}

void CNativeInputUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    if (IsVisible() || m_pWindow == nullptr)
        return;
    if (m_pManager != nullptr)
        m_pManager->SetFocus(nullptr);
    // Closed at once, as on a hidden page: the lost focus would close it only when the queue runs.
    if (m_pWindow != nullptr)
        ::DestroyWindow(m_pWindow->GetHandle());
}

void CNativeInputUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // The native window is a child of the window being left: it closes before the control
    // goes, as it does when the control is hidden.
    // Unfocused first: the focus handed back by the closing window must not open it again.
    if (manager != m_pManager && m_pWindow != nullptr && m_pManager != nullptr && IsFocused())
        m_pManager->SetFocus(nullptr);
    if (manager != m_pManager && m_pWindow != nullptr) {
        CNativeInputWnd* window = m_pWindow;
        m_pWindow = nullptr;
        window->m_pInput = nullptr;
        if (::IsWindow(window->GetHandle()))
            ::DestroyWindow(window->GetHandle());
    }
    CLabelUI::SetManager(manager, parent, init);
}

void CNativeInputUI::SetInternVisible(bool visible)
{
    // The base drops the manager's focus when it rests here.
    CLabelUI::SetInternVisible(visible);
    // Closed at once: a hidden page must not keep a native window over it until the queue runs.
    if (!IsVisible() && m_pWindow != nullptr)
        ::DestroyWindow(m_pWindow->GetHandle());
}

void CNativeInputUI::SetEnabled(bool enable)
{
    CLabelUI::SetEnabled(enable);
    if (!IsEnabled())
        m_uButtonState = 0;
}

void CNativeInputUI::SetHot(bool hot)
{
    if (hot)
        m_uButtonState |= ButtonStateHot;
    else
        m_uButtonState &= ~ButtonStateHot;
    Invalidate();
}

void CNativeInputUI::OnPress(UIControlEvent& /*event*/)
{
    if (IsFocused() && m_pWindow == nullptr)
        OpenNativeWindow();
}

void CNativeInputUI::DoEvent(UIControlEvent& event)
{
    if (HandOverMouseEvent<CLabelUI>(*this, event))
        return;
    switch (event.type) {
    case EventSetCursor:
        if (IsEnabled()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
            return;
        }
        break;
    case EventWindowSize:
        if (m_pWindow != nullptr && m_pManager != nullptr)
            m_pManager->SetFocusNeeded(this);
        break;
    case EventScrollWheel:
        if (m_pWindow != nullptr)
            return;
        break;
    case EventSetFocus:
        if (IsEnabled()) {
            if (m_pWindow != nullptr)
                return;
            OpenNativeWindow();
            Invalidate();
        }
        break;
    case EventKillFocus:
        if (IsEnabled())
            Invalidate();
        break;
    case EventButtonDown:
    case EventDoubleClick:
    case EventRButtonDown:
        if (IsEnabled() && m_pManager != nullptr) {
            m_pManager->ReleaseCapture();
            OnPress(event);
        }
        return;
    case EventMouseMove:
    case EventButtonUp:
    case EventContextMenu:
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// --- looks ---

void CNativeInputUI::SetNormalImage(LPCWSTR descriptor)
{
    m_sNormalImage = descriptor;
    Invalidate();
}

void CNativeInputUI::SetHotImage(LPCWSTR descriptor)
{
    m_sHotImage = descriptor;
    Invalidate();
}

void CNativeInputUI::SetFocusedImage(LPCWSTR descriptor)
{
    m_sFocusedImage = descriptor;
    Invalidate();
}

void CNativeInputUI::SetDisabledImage(LPCWSTR descriptor)
{
    m_sDisabledImage = descriptor;
    Invalidate();
}

bool CNativeInputUI::SetStateImageAttribute(LPCWSTR name, LPCWSTR value, bool exactNames)
{
    const auto named = [&](LPCWSTR key) { return exactNames ? wcscmp(name, key) == 0 : attr::Is(name, key); };
    if (named(L"normalimage"))
        SetNormalImage(value);
    else if (named(L"hotimage"))
        SetHotImage(value);
    else if (named(L"focusedimage"))
        SetFocusedImage(value);
    else if (named(L"disabledimage"))
        SetDisabledImage(value);
    else
        return false;
    return true;
}

void CNativeInputUI::PaintStatusImage(HDC hDC)
{
    textinput::PaintStatusImages(*this, hDC, m_uButtonState, m_sNormalImage, m_sHotImage, m_sFocusedImage,
                                 m_sDisabledImage);
}

void CNativeInputUI::DrawTextLine(HDC hDC, const CUIString& text, DWORD color)
{
    // The scaled padding, as the native window uses: idle and editing text stay in one place.
    RECT rc = GetTextRect();
    CUIRender::DrawText(hDC, m_pManager, rc, text, color, m_iFont, m_uTextStyle | DT_SINGLELINE);
}

} // namespace ZvUI

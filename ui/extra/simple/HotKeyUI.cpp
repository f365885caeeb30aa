// Hot-key input: the native hot-key window while editing, the key name text, and the input's looks.
#include "simple/HotKeyUI.h"

#include <commctrl.h>

#include <cwchar>

#include "attr/AttributeValues.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIResources.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

// Reflected WM_COMMAND: the manager sends a child's own notifications back to it at this offset.
constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;
constexpr UINT kMaxKeyName = 260;


// ARGB to the COLORREF order; alpha is dropped.
COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

bool IsExtendedKey(WORD virtualKey)
{
    return (virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN) || virtualKey == VK_INSERT || virtualKey == VK_DELETE;
}

CUIString KeyName(WORD virtualKey, bool extended)
{
    const HKL layout = ::GetKeyboardLayout(0);
    LONG scan = static_cast<LONG>(::MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout)) << 16;
    if (extended || IsExtendedKey(virtualKey))
        scan |= 0x01000000;
    wchar_t name[kMaxKeyName + 1] = {};
    ::GetKeyNameTextW(scan, name, kMaxKeyName);
    return CUIString(name);
}

} // namespace

// --- the native window ---

LPCWSTR CHotKeyWnd::GetWindowClassName() const
{
    return L"HotKeyClass";
}

LPCWSTR CHotKeyWnd::GetSuperClassName() const
{
    return HOTKEY_CLASSW;
}

RECT CHotKeyWnd::CalcEditRect() const
{
    RECT rc = m_pOwner->GetPos();
    const RECT padding = m_pOwner->GetTextPadding();
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right;
    rc.bottom -= padding.bottom;
    CPaintManagerUI* manager = m_pOwner->GetManager();
    const UIFontInfo* font = manager->GetFontInfo(m_pOwner->GetFont());
    const LONG fontHeight = font != nullptr ? font->metrics.tmHeight : 0;
    const LONG height = rc.bottom - rc.top;
    if (fontHeight > 0 && fontHeight < height) {
        rc.top += (height - fontHeight) / 2;
        rc.bottom = rc.top + fontHeight;
    }
    return rc;
}

void CHotKeyWnd::Init(CHotKeyUI* owner)
{
    m_pOwner = owner;
    CPaintManagerUI* manager = owner->GetManager();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&icc);
    const RECT rc = CalcEditRect();
    if (Create(manager->GetWindowHandle(), nullptr, WS_CHILD | ES_AUTOHSCROLL, 0, rc) == nullptr)
        return;
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner->GetFont())), TRUE);
    ::SendMessageW(m_hWnd, HKM_SETHOTKEY, MAKEWORD(owner->m_wVirtualKeyCode, owner->m_wModifiers), 0);
    owner->m_sText = GetHotKeyName();
    ::EnableWindow(m_hWnd, owner->IsEnabled() ? TRUE : FALSE);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
}

void CHotKeyWnd::SetRules(WORD invalidCombinations, WORD modifiers)
{
    if (m_hWnd != nullptr)
        ::SendMessageW(m_hWnd, HKM_SETRULES, invalidCombinations, MAKELPARAM(modifiers, 0));
}

CUIString CHotKeyWnd::GetHotKeyName() const
{
    if (m_hWnd == nullptr)
        return CUIString();
    const WORD hotKey = static_cast<WORD>(::SendMessageW(m_hWnd, HKM_GETHOTKEY, 0, 0));
    return CHotKeyUI::KeyNameText(LOBYTE(hotKey), HIBYTE(hotKey));
}

void CHotKeyWnd::OnFinalMessage(HWND /*window*/)
{
    if (m_hBkBrush != nullptr)
        ::DeleteObject(m_hBkBrush);
    if (m_pOwner != nullptr)
        m_pOwner->m_pWindow = nullptr;
    DeleteWhenUnwound(this);
}

void CHotKeyWnd::PaintSelf()
{
    PAINTSTRUCT ps = {};
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    const CUIString text = GetHotKeyName();
    if (m_pOwner != nullptr) {
        HBRUSH brush = ::CreateSolidBrush(ToColorRef(m_pOwner->GetNativeBkColor()));
        ::FillRect(hDC, &client, brush);
        ::DeleteObject(brush);
        DWORD color = m_pOwner->GetTextColor();
        if (color == 0 && m_pOwner->GetManager() != nullptr)
            color = m_pOwner->GetManager()->GetTextColor();
        ::SetTextColor(hDC, ToColorRef(color));
    }
    ::SetBkMode(hDC, TRANSPARENT);
    const HGDIOBJ oldFont = ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
    ::DrawTextW(hDC, text, text.GetLength(), &client, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SIZE extent = {};
    ::GetTextExtentPoint32W(hDC, text, text.GetLength(), &extent);
    ::SelectObject(hDC, oldFont);
    ::EndPaint(m_hWnd, &ps);
    ::SetCaretPos(extent.cx, 0);
}

LRESULT CHotKeyWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KILLFOCUS: {
        // The native window lives only while the input is edited.
        const LRESULT result = CWindowWnd::OnMessage(msg, wParam, lParam);
        PostMessage(WM_CLOSE);
        return result;
    }
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) {
            if (m_bInit && m_pOwner != nullptr) {
                const WORD hotKey = static_cast<WORD>(::SendMessageW(m_hWnd, HKM_GETHOTKEY, 0, 0));
                m_pOwner->m_wVirtualKeyCode = LOBYTE(hotKey);
                m_pOwner->m_wModifiers = HIBYTE(hotKey);
                if (m_pOwner->m_wVirtualKeyCode != 0) {
                    m_pOwner->m_sText = GetHotKeyName();
                } else {
                    m_pOwner->m_sText = L"无";
                    m_pOwner->m_wModifiers = 0;
                }
                if (m_pOwner->GetManager() != nullptr)
                    m_pOwner->GetManager()->RaiseNotify(m_pOwner, L"textchanged", 0, 0);
                m_pOwner->Invalidate();
            }
        } else if (HIWORD(wParam) == EN_UPDATE) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr)
                m_pOwner->GetManager()->RaiseNotify(m_pOwner, L"return", 0, 0);
            return 0;
        }
        break;
    case WM_PAINT:
        PaintSelf();
        return 0;
    case WM_NCCALCSIZE:
    case WM_NCACTIVATE:
        return 0;
    default:
        break;
    }
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

// --- the input ---

CHotKeyUI::CHotKeyUI()
{
    SetTextPadding(4, 3, 4, 3);
    SetBkColor(0xFFFFFFFF);
}

CHotKeyUI::~CHotKeyUI()
{
    // An open native window would otherwise report to a destroyed input.
    if (m_pWindow != nullptr) {
        CHotKeyWnd* window = m_pWindow;
        m_pWindow = nullptr;
        window->m_pOwner = nullptr;
        if (window->GetHandle() != nullptr)
            ::DestroyWindow(window->GetHandle());
    }
}

LPCWSTR CHotKeyUI::GetClass() const
{
    return L"HotKeyUI";
}

LPVOID CHotKeyUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && wcscmp(name, L"HotKey") == 0)
        return static_cast<CHotKeyUI*>(this);
    return CLabelUI::GetInterface(name);
}

UINT CHotKeyUI::GetControlFlags() const
{
    return IsEnabled() ? (ControlFlagTabStop | ControlFlagSetCursor) : GetStoredControlFlags();
}

HWND CHotKeyUI::GetNativeWindow() const
{
    return m_pWindow != nullptr ? m_pWindow->GetHandle() : nullptr;
}

void CHotKeyUI::SetEnabled(bool enable)
{
    CLabelUI::SetEnabled(enable);
    if (!IsEnabled())
        m_uButtonState = 0;
}

void CHotKeyUI::SetText(LPCWSTR text)
{
    CLabelUI::SetText(text);
    if (m_pWindow != nullptr && m_pWindow->GetHandle() != nullptr)
        ::SetWindowTextW(m_pWindow->GetHandle(), m_sText);
    Invalidate();
}

void CHotKeyUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    if (!IsVisible() && m_pWindow != nullptr && m_pManager != nullptr)
        m_pManager->SetFocus(nullptr);
}

void CHotKeyUI::SetInternVisible(bool visible)
{
    // The base runs too: an input hidden with its parent must stop counting as visible.
    CLabelUI::SetInternVisible(visible);
    if (!IsVisible() && m_pWindow != nullptr && m_pManager != nullptr)
        m_pManager->SetFocus(nullptr);
}

SIZE CHotKeyUI::EstimateSize(SIZE available)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr)
        return CControlUI::EstimateSize(available);
    const UIFontInfo* font = m_pManager->GetFontInfo(GetFont());
    const LONG height = font != nullptr ? font->metrics.tmHeight : 0;
    // The font height is in device pixels, so the width and the margin are scaled too.
    return SIZE{ScaleValue(m_cxyFixed.cx), height + ScaleValue(6)};
}

WORD CHotKeyUI::GetHotKey() const
{
    return static_cast<WORD>((m_wModifiers << 8) | (m_wVirtualKeyCode & 0xFF));
}

void CHotKeyUI::GetHotKey(WORD& virtualKey, WORD& modifiers) const
{
    virtualKey = m_wVirtualKeyCode;
    modifiers = m_wModifiers;
}

void CHotKeyUI::SetHotKey(WORD virtualKey, WORD modifiers)
{
    m_wVirtualKeyCode = virtualKey;
    m_wModifiers = modifiers;
    if (m_pWindow == nullptr && m_pManager != nullptr)
        OpenNativeWindow();
    Invalidate();
}

void CHotKeyUI::OpenNativeWindow()
{
    if (m_pWindow != nullptr || m_pManager == nullptr)
        return;
    m_pWindow = new CHotKeyWnd();
    m_pWindow->Init(this);
    // A window that could not be made never gets its final message: free it here.
    if (m_pWindow != nullptr && m_pWindow->GetHandle() == nullptr) {
        CHotKeyWnd* failed = m_pWindow;
        m_pWindow = nullptr;
        failed->OnFinalMessage(nullptr);
    }
}

CUIString CHotKeyUI::KeyNameText(WORD virtualKey, WORD modifiers)
{
    CUIString text;
    if (virtualKey == 0 && modifiers == 0)
        return text;
    if ((modifiers & HOTKEYF_CONTROL) != 0)
        text += KeyName(VK_CONTROL, false) + L" + ";
    if ((modifiers & HOTKEYF_SHIFT) != 0)
        text += KeyName(VK_SHIFT, false) + L" + ";
    if ((modifiers & HOTKEYF_ALT) != 0)
        text += KeyName(VK_MENU, false) + L" + ";
    text += KeyName(virtualKey, (modifiers & HOTKEYF_EXT) != 0);
    return text;
}

// --- events ---

void CHotKeyUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
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
            if (IsFocused() && m_pWindow == nullptr)
                OpenNativeWindow();
        }
        return;
    case EventMouseMove:
    case EventButtonUp:
    case EventContextMenu:
        return;
    case EventMouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= ButtonStateHot;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState &= ~ButtonStateHot;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// --- attributes and painting ---

void CHotKeyUI::SetNormalImage(LPCWSTR descriptor)
{
    m_sNormalImage = descriptor;
    Invalidate();
}

void CHotKeyUI::SetHotImage(LPCWSTR descriptor)
{
    m_sHotImage = descriptor;
    Invalidate();
}

void CHotKeyUI::SetFocusedImage(LPCWSTR descriptor)
{
    m_sFocusedImage = descriptor;
    Invalidate();
}

void CHotKeyUI::SetDisabledImage(LPCWSTR descriptor)
{
    m_sDisabledImage = descriptor;
    Invalidate();
}

void CHotKeyUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    // Exact names.
    if (wcscmp(name, L"normalimage") == 0) {
        SetNormalImage(value);
    } else if (wcscmp(name, L"hotimage") == 0) {
        SetHotImage(value);
    } else if (wcscmp(name, L"focusedimage") == 0) {
        SetFocusedImage(value);
    } else if (wcscmp(name, L"disabledimage") == 0) {
        SetDisabledImage(value);
    } else if (wcscmp(name, L"nativebkcolor") == 0) {
        SetNativeBkColor(attr::ParseColor(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CHotKeyUI::PaintStatusImage(HDC hDC)
{
    if (IsFocused())
        m_uButtonState |= ButtonStateFocused;
    else
        m_uButtonState &= ~ButtonStateFocused;
    if (!IsEnabled())
        m_uButtonState |= ButtonStateDisabled;
    else
        m_uButtonState &= ~ButtonStateDisabled;

    const CUIString* chosen = nullptr;
    if ((m_uButtonState & ButtonStateDisabled) != 0)
        chosen = &m_sDisabledImage;
    else if ((m_uButtonState & ButtonStateFocused) != 0)
        chosen = &m_sFocusedImage;
    else if ((m_uButtonState & ButtonStateHot) != 0)
        chosen = &m_sHotImage;
    if (chosen != nullptr && !chosen->IsEmpty() && DrawImage(hDC, *chosen))
        return;
    if (!m_sNormalImage.IsEmpty())
        (void)DrawImage(hDC, m_sNormalImage);
}

void CHotKeyUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    TakeDefaultColors();
    if (m_sText.IsEmpty())
        return;
    RECT rc = GetTextRect();
    CUIRender::DrawText(hDC, m_pManager, rc, m_sText, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont,
                        m_uTextStyle | DT_SINGLELINE);
}

} // namespace ZvUI

// Hot-key input: the native hot-key window while editing, the key name text, and the input's looks.
#include "simple/HotKeyUI.h"

#include <commctrl.h>

#include <cwchar>

#include "utils/UIAttributeValues.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIResources.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

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

void CHotKeyWnd::Init(CHotKeyUI* owner)
{
    m_pInput = owner;
    CPaintManagerUI* manager = owner->GetManager();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&icc);
    const RECT rc = PlacedPos(false);
    if (Create(manager->GetWindowHandle(), nullptr, WS_CHILD | ES_AUTOHSCROLL, 0, rc) == nullptr)
        return;
    TakeFont();
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
    DetachFromOwner();
    DeleteWhenUnwound(this);
}

void CHotKeyWnd::PaintSelf()
{
    PAINTSTRUCT ps = {};
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    const CUIString text = GetHotKeyName();
    if (m_pInput != nullptr) {
        HBRUSH brush = ::CreateSolidBrush(ToColorRef(Owner()->GetNativeBkColor()));
        ::FillRect(hDC, &client, brush);
        ::DeleteObject(brush);
        DWORD color = Owner()->GetTextColor();
        if (color == 0 && Owner()->GetManager() != nullptr)
            color = Owner()->GetManager()->GetTextColor();
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

void CHotKeyWnd::OnNativeChange()
{
    // A handler may hide the control, which destroys this window and its object.
    CHotKeyUI* owner = Owner();
    const WORD hotKey = static_cast<WORD>(::SendMessageW(m_hWnd, HKM_GETHOTKEY, 0, 0));
    owner->m_wVirtualKeyCode = LOBYTE(hotKey);
    owner->m_wModifiers = HIBYTE(hotKey);
    if (owner->m_wVirtualKeyCode != 0) {
        owner->m_sText = GetHotKeyName();
    } else {
        owner->m_sText = L"无";
        owner->m_wModifiers = 0;
    }
    if (owner->GetManager() != nullptr)
        owner->GetManager()->RaiseNotify(owner, L"textchanged", 0, 0);
    owner->Invalidate();
}

LRESULT CHotKeyWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (HandleSharedMessage(msg, wParam))
        return 0;
    switch (msg) {
    case WM_KILLFOCUS: {
        // The native window lives only while the input is edited.
        const LRESULT result = CWindowWnd::OnMessage(msg, wParam, lParam);
        PostMessage(WM_CLOSE);
        return result;
    }
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

void CHotKeyUI::SetText(LPCWSTR text)
{
    CLabelUI::SetText(text);
    if (m_pWindow != nullptr && m_pWindow->GetHandle() != nullptr)
        ::SetWindowTextW(m_pWindow->GetHandle(), m_sText);
    Invalidate();
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

bool CHotKeyUI::OpenNativeWindow()
{
    if (m_pWindow != nullptr || m_pManager == nullptr)
        return false;
    auto* window = new CHotKeyWnd();
    m_pWindow = window;
    // A window that could not be made has had its final message: it is gone and forgotten.
    window->Init(this);
    return m_pWindow != nullptr;
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
    if (IsMouseEnabled() && (event.type == EventMouseEnter || event.type == EventMouseLeave)) {
        if (IsEnabled())
            SetHot(event.type == EventMouseEnter);
        return;
    }
    CNativeInputUI::DoEvent(event);
}

// --- attributes and painting ---

void CHotKeyUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    // Exact names.
    if (SetStateImageAttribute(name, value, true)) {
        return;
    } else if (wcscmp(name, L"nativebkcolor") == 0) {
        SetNativeBkColor(attr::ParseColor(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CHotKeyUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    TakeDefaultColors();
    if (m_sText.IsEmpty())
        return;
    DrawTextLine(hDC, m_sText, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor);
}

} // namespace ZvUI

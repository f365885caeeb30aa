// Edit field: idle drawing like a label, editing in a superclassed native edit window.
#include "edit/EditUI.h"

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "resource/UIResourceTable.h"

namespace ZvUI {

using textinput::Is;

namespace {

// The manager window reflects a child's own WM_CTLCOLOR* back at this offset.
constexpr UINT kReflectedCtlColorEdit = 0x2000 + WM_CTLCOLOREDIT;
constexpr UINT kReflectedCtlColorStatic = 0x2000 + WM_CTLCOLORSTATIC;

} // namespace

// --- the native window ---

bool CEditWnd::Init(CEditUI* owner)
{
    m_pInput = owner;
    CPaintManagerUI* manager = owner->GetManager();
    const RECT rc = PlacedPos(manager->IsLayered());
    // A child of a layered window is never shown: the edit floats above it as a popup.
    DWORD style = manager->IsLayered() ? WS_POPUP | WS_VISIBLE | ES_AUTOHSCROLL : WS_CHILD | ES_AUTOHSCROLL;
    const UINT textStyle = owner->GetTextStyle();
    if (textStyle & DT_CENTER)
        style |= ES_CENTER;
    else if (textStyle & DT_RIGHT)
        style |= ES_RIGHT;
    if (owner->IsPasswordMode())
        style |= ES_PASSWORD;
    // On failure this object is gone: touch nothing.
    if (Create(manager->GetWindowHandle(), nullptr, style, 0, rc) == nullptr)
        return false;

    TakeFont();
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(owner->GetMaxChar()));
    if (owner->IsPasswordMode())
        SendMessage(EM_SETPASSWORDCHAR, owner->GetPasswordChar());
    ::SetWindowTextW(m_hWnd, owner->GetText());
    SendMessage(EM_SETMODIFY, FALSE);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    ::EnableWindow(m_hWnd, owner->IsEnabled() ? TRUE : FALSE);
    SendMessage(EM_SETREADONLY, owner->IsReadOnly() ? TRUE : FALSE);
    const LONG_PTR current = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, current | owner->GetWindowStyles());
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (owner->IsAutoSelAll())
        SendMessage(EM_SETSEL, 0, length > 0 ? length : 1);
    else
        SendMessage(EM_SETSEL, length, length);
    m_bInit = true;
    return true;
}

void CEditWnd::OnNativeChange()
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    CUIString text;
    if (length > 0) {
        auto* buffer = new wchar_t[length + 1];
        ::GetWindowTextW(m_hWnd, buffer, length + 1);
        text = buffer;
        delete[] buffer;
    }
    // A handler may hide the control, which destroys this window and its object.
    CEditUI* owner = Owner();
    // Straight into the stored text: SetText would write the window back.
    owner->m_sText = text;
    owner->GetManager()->SendNotify(owner, L"textchanged");
    if (owner->GetManager()->IsLayered())
        owner->Invalidate();
}

LRESULT CEditWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (HandleSharedMessage(msg, wParam))
        return 0;
    // Closed by a control that is going: its colours and keys are no longer asked for.
    if (m_pInput == nullptr)
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_KILLFOCUS: {
        const LRESULT result = ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        PostMessage(WM_CLOSE);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            if (Owner()->GetManager()->IsLayered())
                Owner()->GetManager()->MoveTabFocus(true);
            return 0;
        }
        break;
    case kReflectedCtlColorEdit:
    case kReflectedCtlColorStatic:
        return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

LRESULT CEditWnd::OnCtlColor(HDC hDC)
{
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, textinput::ToColorRef(Owner()->GetTextColor()));
    const DWORD bkColor = Owner()->GetNativeEditBkColor();
    if ((bkColor >> 24) < 0xFF) {
        // See-through: a pattern brush of what the skin paints under the window.
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        ::MapWindowPoints(nullptr, Owner()->GetManager()->GetWindowHandle(), reinterpret_cast<POINT*>(&rc), 2);
        textinput::UniqueBitmap bitmap(
            CUIRender::GenerateBitmap(Owner()->GetManager(), rc, m_pInput, bkColor));
        m_hBkBrush.reset(bitmap != nullptr ? ::CreatePatternBrush(bitmap.get()) : nullptr);
    } else if (m_hBkBrush == nullptr) {
        m_hBkBrush.reset(::CreateSolidBrush(textinput::ToColorRef(bkColor)));
    }
    return reinterpret_cast<LRESULT>(m_hBkBrush.get());
}

void CEditWnd::OnFinalMessage(HWND /*window*/)
{
    DetachFromOwner();
    DeleteWhenUnwound(this);
}

// --- the control ---

CEditUI::CEditUI() = default;

CEditUI::~CEditUI() = default;

LPCWSTR CEditUI::GetClass() const
{
    return L"EditUI";
}

LPVOID CEditUI::GetInterface(LPCWSTR name)
{
    if (_wcsicmp(name, L"Edit") == 0)
        return static_cast<CEditUI*>(this);
    return CLabelUI::GetInterface(name);
}

bool CEditUI::OpenNativeWindow()
{
    if (m_pManager == nullptr)
        return false;
    auto* window = new CEditWnd;
    m_pWindow = window;
    if (!window->Init(this)) {
        // A failed Create gave the window its final message, which freed it and cleared
        // m_pWindow; only a failure before Create leaves it here.
        if (m_pWindow != nullptr) {
            m_pWindow = nullptr;
            delete window;
        }
        return false;
    }
    return true;
}

void CEditUI::OnPress(UIControlEvent& event)
{
    if (IsFocused() && m_pWindow == nullptr) {
        if (OpenNativeWindow() && ::PtInRect(&m_rcItem, event.mousePoint)) {
            const int length = ::GetWindowTextLengthW(m_pWindow->GetHandle());
            m_pWindow->SendMessage(EM_SETSEL, 0, length > 0 ? length : 1);
        }
    } else if (m_pWindow != nullptr && !m_bAutoSelAll) {
        m_pWindow->SendMessage(EM_SETSEL, 0, 0);
        // Relative to where the native window really lies (scaled padding, centred
        // line), so the caret lands under the pointer at any DPI.
        POINT pt = event.mousePoint;
        ::MapWindowPoints(m_pManager->GetWindowHandle(), m_pWindow->GetHandle(), &pt, 1);
        m_pWindow->SendMessage(WM_LBUTTONDOWN, event.keyState, MAKELPARAM(pt.x, pt.y));
    }
}

void CEditUI::DoEvent(UIControlEvent& event)
{
    if (IsMouseEnabled() && event.type == EventMouseEnter) {
        if (IsEnabled() && ::PtInRect(&m_rcItem, event.mousePoint))
            SetHot(true);
        CLabelUI::DoEvent(event);
        return;
    }
    if (IsMouseEnabled() && event.type == EventMouseLeave && IsEnabled()) {
        SetHot(false);
        return;
    }
    CNativeInputUI::DoEvent(event);
}

// --- text and window-bound setters ---

void CEditUI::SetText(LPCWSTR text)
{
    m_sText = text != nullptr ? text : L"";
    if (m_pWindow != nullptr)
        ::SetWindowTextW(m_pWindow->GetHandle(), m_sText);
    Invalidate();
}

void CEditUI::SetMaxChar(int maxChar)
{
    m_iMaxChar = maxChar;
    if (m_pWindow != nullptr)
        m_pWindow->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(m_iMaxChar));
}

void CEditUI::SetReadOnly(bool readOnly)
{
    if (m_bReadOnly == readOnly)
        return;
    m_bReadOnly = readOnly;
    if (m_pWindow != nullptr)
        m_pWindow->SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE);
    Invalidate();
}

void CEditUI::SetNumberOnly(bool numberOnly)
{
    if (numberOnly)
        m_uWindowStyle |= ES_NUMBER;
    else
        m_uWindowStyle &= ~ES_NUMBER;
}

void CEditUI::SetPasswordMode(bool passwordMode)
{
    if (m_bPasswordMode == passwordMode)
        return;
    m_bPasswordMode = passwordMode;
    Invalidate();
    if (m_pWindow != nullptr) {
        const HWND hwnd = m_pWindow->GetHandle();
        const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
        ::SetWindowLongPtrW(hwnd, GWL_STYLE, passwordMode ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
    }
}

void CEditUI::SetPasswordChar(wchar_t ch)
{
    if (m_cPasswordChar == ch)
        return;
    m_cPasswordChar = ch;
    if (m_pWindow != nullptr)
        m_pWindow->SendMessage(EM_SETPASSWORDCHAR, ch);
    Invalidate();
}

void CEditUI::SetSel(long start, long end)
{
    if (m_pWindow != nullptr)
        m_pWindow->SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void CEditUI::SetSelAll()
{
    SetSel(0, -1);
}

void CEditUI::SetReplaceSel(LPCWSTR text)
{
    if (m_pWindow != nullptr)
        m_pWindow->SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

CUIString CEditUI::GetTipValue()
{
    if (!IsResourceText())
        return m_sTipValue;
    return CUIResourceTable::Instance()->GetText(m_sTipValue);
}

// --- size and attributes ---

SIZE CEditUI::EstimateSize(SIZE available)
{
    if (m_cxyFixed.cy != 0)
        return CLabelUI::EstimateSize(available);
    if (m_pManager == nullptr)
        return SIZE{m_cxyFixed.cx, 0};
    // The font height is scaled already; the padding must be too.
    const LONG fontHeight = m_pManager->GetFontInfo(m_iFont)->metrics.tmHeight;
    return SIZE{GetFixedWidth(), fontHeight + m_pManager->GetDpiHelper()->Scale(6)};
}

void CEditUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"readonly"))
        SetReadOnly(attr::IsTrue(value));
    else if (Is(name, L"numberonly"))
        SetNumberOnly(attr::IsTrue(value));
    else if (wcscmp(name, L"autoselall") == 0)
        SetAutoSelAll(wcscmp(value, L"true") == 0);
    else if (Is(name, L"password"))
        SetPasswordMode(attr::IsTrue(value));
    else if (Is(name, L"passwordchar"))
        SetPasswordChar(*value);
    else if (Is(name, L"maxchar"))
        SetMaxChar(_wtoi(value));
    else if (SetStateImageAttribute(name, value, false))
        return;
    else if (Is(name, L"tipvalue"))
        SetTipValue(value);
    else if (Is(name, L"tipvaluecolor"))
        SetTipValueColor(textinput::ParseColor(value));
    else if (Is(name, L"nativetextcolor"))
        SetNativeEditTextColor(textinput::ParseColor(value));
    else if (Is(name, L"nativebkcolor"))
        SetNativeEditBkColor(textinput::ParseColor(value));
    else
        CLabelUI::SetAttribute(name, value);
}

// --- painting ---

void CEditUI::PaintText(HDC hDC)
{
    TakeDefaultColors();
    CUIString text = GetText();
    const CUIString tip = GetTipValue();
    DWORD color = m_dwTextColor;
    if (text.IsEmpty() || text == tip.GetData()) {
        text = tip;
        color = m_dwTipValueColor;
    } else if (m_bPasswordMode) {
        CUIString masked;
        for (int i = 0; i < text.GetLength(); ++i)
            masked += m_cPasswordChar;
        text = masked;
    }
    if (text.IsEmpty())
        return;
    if (!IsEnabled())
        color = m_dwDisabledTextColor;
    DrawTextLine(hDC, text, color);
}

} // namespace ZvUI

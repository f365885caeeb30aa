// Edit field: idle drawing like a label, editing in a superclassed native edit window.
#include "edit/EditUI.h"

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "resource/UIResourceTable.h"

namespace ZvUI {

using textinput::Is;

namespace {

// The manager window reflects a child's own WM_COMMAND and WM_CTLCOLOR* back at this offset.
constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;
constexpr UINT kReflectedCtlColorEdit = 0x2000 + WM_CTLCOLOREDIT;
constexpr UINT kReflectedCtlColorStatic = 0x2000 + WM_CTLCOLORSTATIC;


bool ParseBool(LPCWSTR value)
{
    return _wcsicmp(value, L"true") == 0;
}

HFONT FontOf(CPaintManagerUI* manager, int index)
{
    return manager->GetFont(index);
}

} // namespace

// --- the native window ---

LPCWSTR CEditWnd::GetWindowClassName() const
{
    return L"EditWnd";
}

LPCWSTR CEditWnd::GetSuperClassName() const
{
    return WC_EDITW;
}

RECT CEditWnd::CalPos() const
{
    RECT rc = m_pOwner->GetTextRect();
    CPaintManagerUI* manager = m_pOwner->GetManager();
    const LONG fontHeight = manager->GetFontInfo(m_pOwner->GetFont())->metrics.tmHeight;
    if (fontHeight < rc.bottom - rc.top) {
        rc.top += (rc.bottom - rc.top - fontHeight) / 2;
        rc.bottom = rc.top + fontHeight;
    }
    return textinput::ClipByAncestors(m_pOwner, rc);
}

RECT CEditWnd::PlacedPos() const
{
    RECT rc = CalPos();
    CPaintManagerUI* manager = m_pOwner->GetManager();
    if (manager->IsLayered()) {
        RECT window = {};
        ::GetWindowRect(manager->GetWindowHandle(), &window);
        ::OffsetRect(&rc, window.left, window.top - 1);
    }
    return rc;
}

void CEditWnd::TakeFont()
{
    textinput::TakeFont(m_hWnd, FontOf(m_pOwner->GetManager(), m_pOwner->GetFont()));
}

bool CEditWnd::Init(CEditUI* owner)
{
    m_pOwner = owner;
    CPaintManagerUI* manager = owner->GetManager();
    const RECT rc = PlacedPos();
    // A child of a layered window is never shown: the edit floats above it as a popup.
    DWORD style = manager->IsLayered() ? WS_POPUP | WS_VISIBLE | ES_AUTOHSCROLL : WS_CHILD | ES_AUTOHSCROLL;
    const UINT textStyle = owner->GetTextStyle();
    if (textStyle & DT_CENTER)
        style |= ES_CENTER;
    else if (textStyle & DT_RIGHT)
        style |= ES_RIGHT;
    if (owner->IsPasswordMode())
        style |= ES_PASSWORD;
    // On failure this object may be gone already: touch nothing.
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

LRESULT CEditWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KILLFOCUS: {
        const LRESULT result = ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        PostMessage(WM_CLOSE);
        return result;
    }
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) {
            if (m_bInit && m_pOwner != nullptr) {
                const int length = ::GetWindowTextLengthW(m_hWnd);
                CUIString text;
                if (length > 0) {
                    auto* buffer = new wchar_t[length + 1];
                    ::GetWindowTextW(m_hWnd, buffer, length + 1);
                    text = buffer;
                    delete[] buffer;
                }
                // Straight into the stored text: SetText would write the window back.
                m_pOwner->m_sText = text;
                m_pOwner->GetManager()->SendNotify(m_pOwner, L"textchanged");
                if (m_pOwner->GetManager()->IsLayered())
                    m_pOwner->Invalidate();
            }
        } else if (HIWORD(wParam) == EN_UPDATE) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
            return 0;
        }
        if (wParam == VK_TAB) {
            if (m_pOwner->GetManager()->IsLayered())
                m_pOwner->GetManager()->MoveTabFocus(true);
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
    ::SetTextColor(hDC, textinput::ToColorRef(m_pOwner->GetTextColor()));
    const DWORD bkColor = m_pOwner->GetNativeEditBkColor();
    if ((bkColor >> 24) < 0xFF) {
        // See-through: a pattern brush of what the skin paints under the window.
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        ::MapWindowPoints(nullptr, m_pOwner->GetManager()->GetWindowHandle(), reinterpret_cast<POINT*>(&rc), 2);
        textinput::UniqueBitmap bitmap(
            CUIRender::GenerateBitmap(m_pOwner->GetManager(), rc, m_pOwner, bkColor));
        m_hBkBrush.reset(bitmap != nullptr ? ::CreatePatternBrush(bitmap.get()) : nullptr);
    } else if (m_hBkBrush == nullptr) {
        m_hBkBrush.reset(::CreateSolidBrush(textinput::ToColorRef(bkColor)));
    }
    return reinterpret_cast<LRESULT>(m_hBkBrush.get());
}

void CEditWnd::OnFinalMessage(HWND /*window*/)
{
    if (m_pOwner != nullptr) {
        m_pOwner->Invalidate();
        m_pOwner->m_pWindow = nullptr;
    }
    DeleteWhenUnwound(this);
}

// --- the control ---

CEditUI::CEditUI()
{
    SetTextPadding(4, 3, 4, 3);
    SetBkColor(0xFFFFFFFF);
}

CEditUI::~CEditUI()
{
    // The native window outlives nothing it points to.
    if (m_pWindow != nullptr) {
        CEditWnd* window = m_pWindow;
        m_pWindow = nullptr;
        if (::IsWindow(window->GetHandle()))
            ::DestroyWindow(window->GetHandle());
    }
}

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

UINT CEditUI::GetControlFlags() const
{
    if (!IsEnabled())
        return CControlUI::GetControlFlags();
    return ControlFlagTabStop | ControlFlagSetCursor;
}

HWND CEditUI::GetNativeWindow() const
{
    return m_pWindow != nullptr ? m_pWindow->GetHandle() : nullptr;
}

bool CEditUI::OpenEditWindow()
{
    if (m_pManager == nullptr)
        return false;
    auto* window = new CEditWnd;
    m_pWindow = window;
    if (!window->Init(this)) {
        // A window that failed after WM_NCCREATE has deleted itself and cleared m_pWindow.
        if (m_pWindow != nullptr) {
            m_pWindow = nullptr;
            delete window;
        }
        return false;
    }
    return true;
}

void CEditUI::DoEvent(UIControlEvent& event)
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
        if (m_pWindow != nullptr)
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
            OpenEditWindow();
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
        if (IsEnabled()) {
            m_pManager->ReleaseCapture();
            if (IsFocused() && m_pWindow == nullptr) {
                if (OpenEditWindow() && ::PtInRect(&m_rcItem, event.mousePoint)) {
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
        return;
    case EventMouseMove:
    case EventButtonUp:
    case EventContextMenu:
        return;
    case EventMouseEnter:
        if (IsEnabled() && ::PtInRect(&m_rcItem, event.mousePoint)) {
            m_uButtonState |= ButtonStateHot;
            Invalidate();
        }
        break;
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState &= ~ButtonStateHot;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
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

void CEditUI::SetNormalImage(LPCWSTR descriptor)
{
    m_sNormalImage = descriptor;
    Invalidate();
}

void CEditUI::SetHotImage(LPCWSTR descriptor)
{
    m_sHotImage = descriptor;
    Invalidate();
}

void CEditUI::SetFocusedImage(LPCWSTR descriptor)
{
    m_sFocusedImage = descriptor;
    Invalidate();
}

void CEditUI::SetDisabledImage(LPCWSTR descriptor)
{
    m_sDisabledImage = descriptor;
    Invalidate();
}

// --- geometry and state ---

void CEditUI::SetPos(RECT rc, bool invalidate)
{
    CLabelUI::SetPos(rc, invalidate);
    if (m_pWindow != nullptr) {
        const RECT pos = m_pWindow->PlacedPos();
        ::SetWindowPos(m_pWindow->GetHandle(), nullptr, pos.left, pos.top, pos.right - pos.left,
                       pos.bottom - pos.top, SWP_NOZORDER | SWP_NOACTIVATE);
        // Layout follows every DPI change, which deletes the font the window had.
        m_pWindow->TakeFont();
    }
}

void CEditUI::Move(SIZE offset, bool invalidate)
{
    CLabelUI::Move(offset, invalidate);
    if (m_pWindow != nullptr) {
        const RECT pos = m_pWindow->PlacedPos();
        ::SetWindowPos(m_pWindow->GetHandle(), nullptr, pos.left, pos.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CEditUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    if (!IsVisible() && m_pWindow != nullptr)
        m_pManager->SetFocus(nullptr);
}

void CEditUI::SetInternVisible(bool visible)
{
    // The base drops the manager's focus when it rests here.
    CLabelUI::SetInternVisible(visible);
    // Closed at once: a hidden page must not keep a native window over it until the queue runs.
    if (!IsVisible() && m_pWindow != nullptr)
        ::DestroyWindow(m_pWindow->GetHandle());
}

void CEditUI::SetEnabled(bool enable)
{
    CLabelUI::SetEnabled(enable);
    if (!IsEnabled())
        m_uButtonState = 0;
}

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
        SetReadOnly(ParseBool(value));
    else if (Is(name, L"numberonly"))
        SetNumberOnly(ParseBool(value));
    else if (wcscmp(name, L"autoselall") == 0)
        SetAutoSelAll(wcscmp(value, L"true") == 0);
    else if (Is(name, L"password"))
        SetPasswordMode(ParseBool(value));
    else if (Is(name, L"passwordchar"))
        SetPasswordChar(*value);
    else if (Is(name, L"maxchar"))
        SetMaxChar(_wtoi(value));
    else if (Is(name, L"normalimage"))
        SetNormalImage(value);
    else if (Is(name, L"hotimage"))
        SetHotImage(value);
    else if (Is(name, L"focusedimage"))
        SetFocusedImage(value);
    else if (Is(name, L"disabledimage"))
        SetDisabledImage(value);
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

void CEditUI::PaintStatusImage(HDC hDC)
{
    textinput::PaintStatusImages(*this, hDC, m_uButtonState, m_sNormalImage, m_sHotImage, m_sFocusedImage,
                                 m_sDisabledImage);
}

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
    // The scaled padding, as the native window uses: idle and editing text stay in one place.
    RECT rc = GetTextRect();
    CUIRender::DrawText(hDC, m_pManager, rc, text, color, m_iFont, m_uTextStyle | DT_SINGLELINE);
}

} // namespace ZvUI

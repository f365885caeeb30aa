// Date-time input: a label that opens the native date-time picker over itself on focus or click.
#include "datetime/DateTimeUI.h"

#include <commctrl.h>

#include "edit/TextInputSupport.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

constexpr UINT kReflectedNotify = 0x2000 + WM_NOTIFY;

} // namespace

// --- the picker window ---

LPCWSTR CDateTimeWnd::GetWindowClassName() const
{
    return L"DateTimeWnd";
}

LPCWSTR CDateTimeWnd::GetSuperClassName() const
{
    return DATETIMEPICK_CLASSW;
}

bool CDateTimeWnd::Init(CDateTimeUI* owner)
{
    m_pOwner = owner;
    owner->m_nDTUpdateFlag = CDateTimeUI::kUpdateNone;
    CPaintManagerUI* manager = owner->GetManager();
    if (m_hWnd == nullptr) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
        ::InitCommonControlsEx(&icc);
        const RECT rc = textinput::ClipByAncestors(owner, owner->GetPos());
        // On failure this object is gone: touch nothing.
        if (Create(manager->GetWindowHandle(), nullptr, WS_CHILD, 0, rc) == nullptr)
            return false;
    }
    textinput::TakeFont(m_hWnd, manager->GetFont(owner->GetFont()));
    if (owner->GetText().IsEmpty())
        ::GetLocalTime(&owner->m_sysTime);
    SendMessage(DTM_SETFORMATW, 0,
                reinterpret_cast<LPARAM>(owner->m_bShowTime ? L"yyyy-MM-dd HH:mm:ss" : L"yyyy-MM-dd"));
    m_oldSysTime = owner->m_sysTime;
    SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&owner->m_sysTime));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

void CDateTimeWnd::TakeValue()
{
    SYSTEMTIME time = {};
    if (SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID)
        m_pOwner->m_sysTime = time;
    m_pOwner->m_nDTUpdateFlag = CDateTimeUI::kUpdateFormat;
    m_pOwner->UpdateText();
}

LRESULT CDateTimeWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Closed by a control that is going: nothing is handed back.
    if (m_pOwner == nullptr)
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) {
        m_pOwner->m_sysTime = m_oldSysTime;
        m_pOwner->m_nDTUpdateFlag = CDateTimeUI::kUpdateFormat;
        m_pOwner->UpdateText();
        PostMessage(WM_CLOSE);
        return 0;
    }
    if (msg == kReflectedNotify) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == m_hWnd) {
            if (header->code == DTN_DATETIMECHANGE) {
                TakeValue();
            } else if (header->code == DTN_DROPDOWN) {
                m_bDropOpen = true;
            } else if (header->code == DTN_CLOSEUP) {
                TakeValue();
                PostMessage(WM_CLOSE);
                m_bDropOpen = false;
            }
        }
    } else if (msg == WM_KILLFOCUS && !m_bDropOpen) {
        PostMessage(WM_CLOSE);
    }
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

void CDateTimeWnd::OnFinalMessage(HWND /*window*/)
{
    if (m_pOwner != nullptr) {
        m_pOwner->m_pWindow = nullptr;
        m_pOwner->Invalidate();
    }
    DeleteWhenUnwound(this);
}

// --- the control ---

CDateTimeUI::CDateTimeUI()
{
    ::GetLocalTime(&m_sysTime);
    m_nDTUpdateFlag = kUpdateFormat;
    UpdateText();
}

CDateTimeUI::~CDateTimeUI()
{
    if (m_pWindow != nullptr) {
        // The closing window hands the focus back to the manager's window, which would pass it
        // on to this half-destroyed control; the window itself reports to no one.
        if (m_pManager != nullptr)
            m_pManager->ForgetControl(this);
        CDateTimeWnd* window = m_pWindow;
        m_pWindow = nullptr;
        window->m_pOwner = nullptr;
        ::DestroyWindow(window->GetHandle());
    }
}

LPCWSTR CDateTimeUI::GetClass() const
{
    return L"DateTimeUI";
}

LPVOID CDateTimeUI::GetInterface(LPCWSTR name)
{
    if (wcscmp(name, L"DateTime") == 0)
        return static_cast<CDateTimeUI*>(this);
    return CLabelUI::GetInterface(name);
}

HWND CDateTimeUI::GetNativeWindow() const
{
    return m_pWindow != nullptr ? m_pWindow->GetHandle() : nullptr;
}

void CDateTimeUI::SetTime(const SYSTEMTIME* time)
{
    if (time == nullptr)
        return;
    m_sysTime = *time;
    Invalidate();
    m_nDTUpdateFlag = kUpdateFormat;
    UpdateText();
}

void CDateTimeUI::SetReadOnly(bool readOnly)
{
    m_bReadOnly = readOnly;
    Invalidate();
}

void CDateTimeUI::SetShowTime(bool showTime)
{
    if (m_bShowTime == showTime)
        return;
    m_bShowTime = showTime;
    Invalidate();
}

void CDateTimeUI::UpdateText()
{
    if (m_nDTUpdateFlag == kUpdateEmpty) {
        SetText(L"");
    } else if (m_nDTUpdateFlag == kUpdateFormat) {
        CUIString text;
        if (m_bShowTime)
            text.Format(L"%4d-%02d-%02d %02d:%02d:%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay,
                        m_sysTime.wHour, m_sysTime.wMinute, m_sysTime.wSecond);
        else
            text.Format(L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(text);
    }
}

void CDateTimeUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (textinput::Is(name, L"showtime"))
        SetShowTime(_wcsicmp(value, L"true") == 0);
    else if (textinput::Is(name, L"readonly"))
        SetReadOnly(_wcsicmp(value, L"true") == 0);
    else
        CLabelUI::SetAttribute(name, value);
}

void CDateTimeUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    if (manager != m_pManager && m_pWindow != nullptr) {
        textinput::CloseOnLeaving(*this, m_pWindow->GetHandle());
        m_pWindow = nullptr;
    }
    CLabelUI::SetManager(manager, parent, init);
}

void CDateTimeUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    if (m_pWindow != nullptr) {
        const RECT pos = textinput::ClipByAncestors(this, m_rcItem);
        ::SetWindowPos(m_pWindow->GetHandle(), nullptr, pos.left, pos.top, pos.right - pos.left,
                       pos.bottom - pos.top, SWP_NOZORDER | SWP_NOACTIVATE);
        // Layout follows every DPI change, which deletes the font the picker had.
        textinput::TakeFont(m_pWindow->GetHandle(), m_pManager->GetFont(GetFont()));
    }
}

void CDateTimeUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    ClosePickerIfHidden();
}

void CDateTimeUI::SetInternVisible(bool visible)
{
    CLabelUI::SetInternVisible(visible);
    ClosePickerIfHidden();
}

void CDateTimeUI::ClosePickerIfHidden()
{
    // The lost focus would close it only when the queue runs next; the value it shows is in the
    // text already.
    if (!IsVisible() && m_pWindow != nullptr)
        ::DestroyWindow(m_pWindow->GetHandle());
}

void CDateTimeUI::OpenPicker()
{
    if (m_pManager == nullptr)
        return;
    if (m_pWindow == nullptr)
        m_pWindow = new CDateTimeWnd;
    CDateTimeWnd* window = m_pWindow;
    // A failed Create gave the window its final message, which freed it and cleared m_pWindow;
    // only a failure before Create leaves it here.
    if (!window->Init(this) && m_pWindow != nullptr) {
        m_pWindow = nullptr;
        delete window;
    }
}

void CDateTimeUI::DoEvent(UIControlEvent& event)
{
    if (!textinput::NativeInputEvent(*this, event, GetNativeWindow(), false, [this] { OpenPicker(); }))
        CLabelUI::DoEvent(event);
}

} // namespace ZvUI

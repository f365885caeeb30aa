// IP address input: a label that shows the native IP address control over itself while edited.
#include "ipaddress/IPAddressUI.h"

#include <winsock2.h>
#include <commctrl.h>

#include "edit/TextInputSupport.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;
constexpr wchar_t kFieldProcProp[] = L"ZvIPFieldProc";

bool IsClosingKey(WPARAM key)
{
    return key == VK_DELETE || key == VK_BACK || key == VK_ESCAPE;
}

LRESULT CALLBACK FieldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto old = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kFieldProcProp));
    if (old == nullptr)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        ::RemovePropW(hwnd, kFieldProcProp);
        return ::CallWindowProcW(old, hwnd, msg, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(old, hwnd, msg, wParam, lParam);
    if (msg == WM_KEYUP && IsClosingKey(wParam))
        ::SendMessageW(::GetParent(hwnd), WM_KEYUP, wParam, lParam);
    return result;
}

BOOL CALLBACK TakeFieldFont(HWND child, LPARAM font)
{
    textinput::TakeFont(child, reinterpret_cast<HFONT>(font));
    return TRUE;
}

BOOL CALLBACK HookField(HWND child, LPARAM /*unused*/)
{
    if (::GetPropW(child, kFieldProcProp) == nullptr) {
        const LONG_PTR old = ::SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
        ::SetPropW(child, kFieldProcProp, reinterpret_cast<HANDLE>(old));
    }
    return TRUE;
}

} // namespace

// --- the native window ---

LPCWSTR CIPAddressWnd::GetWindowClassName() const
{
    return L"IPAddressWnd";
}

LPCWSTR CIPAddressWnd::GetSuperClassName() const
{
    return WC_IPADDRESSW;
}

void CIPAddressWnd::HookFields()
{
    ::EnumChildWindows(m_hWnd, HookField, 0);
}

bool CIPAddressWnd::Init(CIPAddressUI* owner)
{
    m_pOwner = owner;
    owner->m_nIPUpdateFlag = CIPAddressUI::kUpdateNone;
    CPaintManagerUI* manager = owner->GetManager();
    // Over the full rectangle, even when a scrolled container shows only part of it.
    const RECT pos = owner->GetPos();
    if (m_hWnd == nullptr) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_INTERNET_CLASSES};
        if (!::InitCommonControlsEx(&icc))
            return false;
        // On failure this object is gone: touch nothing.
        if (Create(manager->GetWindowHandle(), nullptr, WS_CHILD | WS_GROUP | WS_TABSTOP, 0, pos) ==
            nullptr)
            return false;
        HookFields();
    }
    // The kept window opens where the control is now, with the font of the current scale.
    FollowOwner();
    if (owner->GetText().IsEmpty())
        owner->m_dwIP = CIPAddressUI::GetLocalAddress();
    SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(owner->m_dwIP));
    ::ShowWindow(m_hWnd, SW_SHOW);
    // Shown again after a move, Wine repainted only the focused field: draw all of them.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

void CIPAddressWnd::FollowOwner()
{
    const RECT pos = m_pOwner->GetPos();
    ::SetWindowPos(m_hWnd, nullptr, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT font = m_pOwner->GetManager()->GetFont(m_pOwner->GetFont());
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // Wine's control keeps WM_SETFONT to itself: the fields, which draw the text, get it directly.
    ::EnumChildWindows(m_hWnd, TakeFieldFont, reinterpret_cast<LPARAM>(font));
}

LRESULT CIPAddressWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Closed by a control that is going: nothing is handed back.
    if (m_pOwner == nullptr)
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_KILLFOCUS:
        return 0;
    case WM_KEYUP:
        if (wParam == VK_DELETE || wParam == VK_BACK) {
            const LRESULT result = CWindowWnd::OnMessage(msg, wParam, lParam);
            m_pOwner->m_nIPUpdateFlag = CIPAddressUI::kUpdateEmpty;
            m_pOwner->UpdateText();
            PostMessage(WM_CLOSE);
            return result;
        }
        if (wParam == VK_ESCAPE) {
            const LRESULT result = CWindowWnd::OnMessage(msg, wParam, lParam);
            m_pOwner->m_nIPUpdateFlag = CIPAddressUI::kUpdateCancelled;
            PostMessage(WM_CLOSE);
            return result;
        }
        break;
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_KILLFOCUS) {
            // Moving between the fields keeps the focus inside: nothing is taken over yet.
            const HWND focus = ::GetFocus();
            if (focus == m_hWnd || ::IsChild(m_hWnd, focus))
                return 0;
            const LRESULT result = CWindowWnd::OnMessage(msg, wParam, lParam);
            if (m_pOwner->m_nIPUpdateFlag == CIPAddressUI::kUpdateNone) {
                DWORD ip = 0;
                SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&ip));
                m_pOwner->m_dwIP = ip;
                m_pOwner->m_nIPUpdateFlag = CIPAddressUI::kUpdateFormat;
                m_pOwner->UpdateText();
            }
            ::ShowWindow(m_hWnd, SW_HIDE);
            return result;
        }
        return 0;
    default:
        break;
    }
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

void CIPAddressWnd::OnFinalMessage(HWND /*window*/)
{
    if (m_pOwner != nullptr) {
        m_pOwner->m_pWindow = nullptr;
        m_pOwner->Invalidate();
    }
    DeleteWhenUnwound(this);
}

// --- the control ---

CIPAddressUI::CIPAddressUI()
{
    m_dwIP = GetLocalAddress();
    m_nIPUpdateFlag = kUpdateFormat;
    UpdateText();
}

CIPAddressUI::~CIPAddressUI()
{
    if (m_pWindow != nullptr) {
        // The closing window hands the focus back to the manager's window, which would pass it
        // on to this half-destroyed control; the window itself reports to no one.
        if (m_pManager != nullptr)
            m_pManager->ForgetControl(this);
        CIPAddressWnd* window = m_pWindow;
        m_pWindow = nullptr;
        window->m_pOwner = nullptr;
        ::DestroyWindow(window->GetHandle());
    }
}

DWORD CIPAddressUI::GetLocalAddress()
{
    // Started once and never cleaned up: later lookups reuse it.
    static const bool started = [] {
        WSADATA data = {};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        return 0;
    char name[256] = {};
    if (::gethostname(name, 255) != 0)
        return 0;
    const hostent* host = ::gethostbyname(name);
    if (host == nullptr || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr || host->h_length < 4)
        return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(host->h_addr_list[0]);
    return static_cast<DWORD>(bytes[0]) << 24 | static_cast<DWORD>(bytes[1]) << 16 |
           static_cast<DWORD>(bytes[2]) << 8 | bytes[3];
}

LPCWSTR CIPAddressUI::GetClass() const
{
    return L"IPAddressUI";
}

LPVOID CIPAddressUI::GetInterface(LPCWSTR name)
{
    if (wcscmp(name, L"IPAddress") == 0)
        return static_cast<CIPAddressUI*>(this);
    return CLabelUI::GetInterface(name);
}

HWND CIPAddressUI::GetNativeWindow() const
{
    return m_pWindow != nullptr ? m_pWindow->GetHandle() : nullptr;
}

void CIPAddressUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    if (manager != m_pManager && m_pWindow != nullptr) {
        textinput::CloseOnLeaving(*this, m_pWindow->GetHandle());
        m_pWindow = nullptr;
    }
    CLabelUI::SetManager(manager, parent, init);
}

void CIPAddressUI::SetPos(RECT rc, bool invalidate)
{
    CLabelUI::SetPos(rc, invalidate);
    // Layout follows every move and DPI change; the old font is deleted by then.
    if (m_pWindow != nullptr && m_pWindow->GetHandle() != nullptr)
        m_pWindow->FollowOwner();
}

void CIPAddressUI::SetIP(DWORD ip)
{
    m_dwIP = ip;
    UpdateText();
}

void CIPAddressUI::SetReadOnly(bool readOnly)
{
    m_bReadOnly = readOnly;
    Invalidate();
}

void CIPAddressUI::UpdateText()
{
    if (m_nIPUpdateFlag == kUpdateEmpty) {
        SetText(L"");
    } else if (m_nIPUpdateFlag == kUpdateFormat) {
        CUIString text;
        text.Format(L"%d.%d.%d.%d", static_cast<int>(m_dwIP >> 24 & 0xFF), static_cast<int>(m_dwIP >> 16 & 0xFF),
                    static_cast<int>(m_dwIP >> 8 & 0xFF), static_cast<int>(m_dwIP & 0xFF));
        SetText(text);
    }
}

void CIPAddressUI::OpenWindow()
{
    if (m_pManager == nullptr)
        return;
    if (m_pWindow == nullptr)
        m_pWindow = new CIPAddressWnd;
    CIPAddressWnd* window = m_pWindow;
    // A failed Create gave the window its final message, which freed it and cleared m_pWindow;
    // only a failure before Create leaves it here.
    if (!window->Init(this) && m_pWindow != nullptr) {
        m_pWindow = nullptr;
        delete window;
    }
}

void CIPAddressUI::DoEvent(UIControlEvent& event)
{
    if (!textinput::NativeInputEvent(*this, event, GetNativeWindow(), true, [this] { OpenWindow(); }))
        CLabelUI::DoEvent(event);
}

} // namespace ZvUI

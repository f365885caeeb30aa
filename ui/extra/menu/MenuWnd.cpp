// A skinned pop-up menu window: a root menu built from a layout, or the sub-menu of one item.
#include "menu/MenuWnd.h"

#include <algorithm>

#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "menu/MenuElementUI.h"
#include "menu/MenuUI.h"

namespace ZvUI {

namespace {

bool IsMenuItem(CControlUI* control)
{
    return control != nullptr && control->GetInterface(L"MenuElement") != nullptr;
}

// The menu window is not placed yet when this is asked: the monitor comes from where it goes.
RECT WorkAreaNear(const RECT& screenRect)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromRect(&screenRect, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// Moves rc inside work without resizing it; one larger than work keeps its left or top edge
// on the work area's.
void KeepInside(RECT& rc, const RECT& work)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (rc.right > work.right)
        rc.left = work.right - cx;
    if (rc.left < work.left)
        rc.left = work.left;
    if (rc.bottom > work.bottom)
        rc.top = work.bottom - cy;
    if (rc.top < work.top)
        rc.top = work.top;
    rc.right = rc.left + cx;
    rc.bottom = rc.top + cy;
}

// The list that owns an item's rows again once its sub-menu is gone.
CControlUI* ListOwnerOf(CControlUI* item)
{
    for (CControlUI* up = item->GetParent(); up != nullptr; up = up->GetParent()) {
        if (up->GetInterface(L"IListOwner") != nullptr)
            return up;
    }
    return nullptr;
}

} // namespace

// --- creation ---

CMenuWnd* CMenuWnd::CreateMenu(CMenuElementUI* ownerItem, LPCWSTR layout, POINT point,
                               CPaintManagerUI* ownerManager, CUIStringMap* checkStates, UINT alignment,
                               bool autoPlace)
{
    auto* window = new CMenuWnd;
    window->m_bAutoPlace = autoPlace;
    return window->Init(ownerItem, layout, point, ownerManager, checkStates, alignment) ? window : nullptr;
}

bool CMenuWnd::Init(CMenuElementUI* ownerItem, LPCWSTR layout, POINT point, CPaintManagerUI* ownerManager,
                    CUIStringMap* checkStates, UINT alignment)
{
    m_ptBase = point;
    m_pOwner = ownerItem;
    m_sLayout = layout != nullptr ? layout : L"";
    m_uAlignment = alignment;
    m_pLayout = nullptr;
    MenuObserverImpl& observer = GetMenuObserver();
    if (ownerItem == nullptr) {
        // A root menu starts a new menu session: what an earlier owner gave does not carry over.
        observer.SetOwnerManager(ownerManager);
        observer.SetCheckStateMap(checkStates);
    }
    observer.AttachReceiver(this);
    CPaintManagerUI* parentManager = ownerItem != nullptr ? ownerItem->GetManager() : observer.GetOwnerManager();
    HWND parent = parentManager != nullptr ? parentManager->GetWindowHandle() : nullptr;
    if (Create(parent, nullptr, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, RECT{0, 0, 0, 0}) == nullptr)
        return false;
    ::ShowWindow(m_hWnd, SW_SHOW);
    // The owner keeps its active look while the menu has the focus.
    HWND top = m_hWnd;
    while (::GetParent(top) != nullptr)
        top = ::GetParent(top);
    ::SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
    return true;
}

CControlUI* CMenuWnd::CreateControl(LPCWSTR tag)
{
    if (_wcsicmp(tag, L"Menu") == 0)
        return new CMenuUI;
    if (_wcsicmp(tag, L"MenuElement") == 0)
        return new CMenuElementUI;
    return nullptr;
}

LRESULT CMenuWnd::OnCreate()
{
    bool shadowEnabled = false;
    if (m_pOwner != nullptr) {
        LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
        style &= ~WS_CAPTION;
        style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        ::SetWindowLongW(m_hWnd, GWL_STYLE, style);
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        ::SetWindowPos(m_hWnd, nullptr, client.left, client.top, client.right - client.left,
                       client.bottom - client.top, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
        m_pm.AttachWindow(m_hWnd);
        CPaintManagerUI* ownerManager = m_pOwner->GetManager();
        m_pLayout = new CMenuUI;
        m_pm.SetUseSharedResources(true);
        m_pLayout->SetManager(&m_pm, nullptr, true);
        LPCWSTR defaults = ownerManager->GetClassDefaults(L"SubMenu");
        if (defaults == nullptr || defaults[0] == L'\0')
            defaults = ownerManager->GetClassDefaults(L"Menu");
        if (defaults != nullptr && defaults[0] != L'\0')
            m_pLayout->ApplyAttributeList(defaults);
        // The items stay the owner item's; neither the list nor its body may free them.
        m_pLayout->SetAutoDestroy(false);
        m_pLayout->GetList()->SetAutoDestroy(false);
        for (int i = 0; i < m_pOwner->GetCount(); ++i) {
            CControlUI* child = m_pOwner->GetItemAt(i);
            if (IsMenuItem(child))
                m_pLayout->Add(child);
        }
        m_pLayout->SetVirtualWnd(m_pOwner->GetVirtualWnd());
        ownerManager->GetShadow()->CopySettingsTo(m_pm.GetShadow());
        shadowEnabled = m_pm.GetShadow()->IsShadowEnabled();
        m_pm.GetShadow()->SetShadowEnabled(false);
        m_pm.SetLayered(ownerManager->IsLayered());
        // Layout and the shared fonts at the owner's DPI, also after a live change of the owner's.
        m_pm.BorrowDpiOf(*ownerManager);
        m_pm.SetRootControl(m_pLayout);
        m_pm.AddNotifyListener(this);
        PlaceSubMenu();
    } else {
        m_pm.AttachWindow(m_hWnd);
        CLayoutBuilder builder;
        CControlUI* root = builder.Create(m_sLayout.GetData(), nullptr, this, &m_pm);
        m_pLayout = root != nullptr ? static_cast<CMenuUI*>(root->GetInterface(L"Menu")) : nullptr;
        if (m_pLayout == nullptr) {
            // Not a menu: nothing in this window could be driven, so it goes at once.
            delete root;
            m_bClosing = true;
            ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
            return 0;
        }
        shadowEnabled = m_pm.GetShadow()->IsShadowEnabled();
        m_pm.GetShadow()->SetShadowEnabled(false);
        if (CPaintManagerUI* owner = GetMenuObserver().GetOwnerManager())
            m_pm.BorrowDpiOf(*owner);
        m_pm.SetRootControl(root);
        m_pm.AddNotifyListener(this);
        if (m_bAutoPlace)
            PlaceRoot();
    }
    m_pLayout->SetMenuWnd(this);
    m_pm.GetShadow()->SetShadowEnabled(shadowEnabled);
    m_pm.GetShadow()->Create(&m_pm);
    return 0;
}

// --- placement ---

void CMenuWnd::PlaceRoot()
{
    const RECT work = WorkAreaNear(RECT{m_ptBase.x, m_ptBase.y, m_ptBase.x + 1, m_ptBase.y + 1});
    const SIZE available = {work.right - work.left, work.bottom - work.top};
    const SIZE size = m_pLayout->EstimateSize(available);
    m_pm.SetInitialSize(size.cx, size.cy);
    RECT rc = {m_ptBase.x, m_ptBase.y, m_ptBase.x + size.cx, m_ptBase.y + size.cy};
    if ((m_uAlignment & MenuAlignRight) != 0) {
        rc.right = m_ptBase.x;
        rc.left = rc.right - size.cx;
    }
    if ((m_uAlignment & MenuAlignBottom) != 0) {
        rc.bottom = m_ptBase.y;
        rc.top = rc.bottom - size.cy;
    }
    ::SetForegroundWindow(m_hWnd);
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    const RECT inset = m_pLayout->GetInset();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left,
                   rc.bottom - rc.top + inset.top + inset.bottom, SWP_SHOWWINDOW);
}

void CMenuWnd::PlaceSubMenu()
{
    HWND ownerHandle = m_pOwner->GetManager()->GetWindowHandle();
    RECT owner = m_pOwner->GetPos();
    RECT ownerOnScreen = owner;
    ::MapWindowPoints(ownerHandle, HWND_DESKTOP, reinterpret_cast<POINT*>(&ownerOnScreen), 2);
    const RECT work = WorkAreaNear(ownerOnScreen);
    const SIZE available = {work.right - work.left, work.bottom - work.top};
    int width = 0;
    int height = 0;
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* child = m_pOwner->GetItemAt(i);
        if (!IsMenuItem(child))
            continue;
        const SIZE sz = child->EstimateSize(available);
        width = std::max<int>(width, sz.cx);
        height += sz.cy;
    }
    RECT ownerWindow = {};
    ::GetWindowRect(m_pOwner->GetManager()->GetWindowHandle(), &ownerWindow);

    RECT rc = {0, owner.top, 0, owner.top + height};
    ::MapWindowPoints(m_pOwner->GetManager()->GetWindowHandle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    rc.left = ownerWindow.right;
    rc.right = rc.left + width + m_pOwner->GetManager()->GetDpiHelper()->Scale(2);
    const int ownerTop = rc.top;

    bool reachRight = false;
    bool reachBottom = false;
    MenuObserverImpl& observer = GetMenuObserver();
    for (int i = 0; i < observer.GetReceiverCount(); ++i) {
        auto* menu = dynamic_cast<CMenuWnd*>(observer.GetReceiver(i));
        if (menu == nullptr || menu->GetHandle() == nullptr)
            continue;
        RECT other = {};
        ::GetWindowRect(menu->GetHandle(), &other);
        reachRight = other.left >= ownerWindow.right;
        reachBottom = other.top >= ownerWindow.bottom;
        if (menu->GetHandle() == m_pOwner->GetManager()->GetWindowHandle() || reachRight || reachBottom)
            break;
    }
    if (reachBottom) {
        rc.bottom = ownerWindow.top;
        rc.top = rc.bottom - height;
    }
    if (reachRight) {
        rc.right = ownerWindow.left;
        rc.left = rc.right - width;
    }
    if (rc.bottom > work.bottom) {
        rc.bottom = rc.top;
        rc.top = rc.bottom - height;
    }
    if (rc.right > work.right) {
        rc.right = ownerWindow.left;
        rc.left = rc.right - width;
    }
    if (rc.top < work.top) {
        rc.top = ownerTop;
        rc.bottom = rc.top + height;
    }
    if (rc.left < work.left) {
        rc.left = ownerWindow.right;
        rc.right = rc.left + width;
    }
    const RECT inset = m_pLayout->GetInset();
    rc.bottom += inset.top + inset.bottom;
    // The flips above can still leave a menu taller or wider than the room on either side.
    KeepInside(rc, work);
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
}

// --- rows changed while open ---

void CMenuWnd::LendItem(CControlUI* item, int index)
{
    if (m_pOwner == nullptr || m_pLayout == nullptr || !IsMenuItem(item))
        return;
    if (!m_pLayout->AddAt(item, index))
        m_pLayout->Add(item);
    item->SetVisible(true);
    item->SetInternVisible(true);
}

void CMenuWnd::TakeBackItem(CControlUI* item)
{
    if (m_pOwner == nullptr || m_pLayout == nullptr || m_pLayout->GetItemIndex(item) < 0)
        return;
    list_support::ReturnLentRow(*m_pLayout, m_pm, item, *m_pOwner);
    // Back as a hidden nested row of its item, as it would be after the sub-menu closed.
    static_cast<CMenuElementUI*>(item->GetInterface(L"MenuElement"))->SetOwner(ListOwnerOf(m_pOwner));
    item->SetVisible(false);
    item->SetInternVisible(false);
}

void CMenuWnd::MoveItem(CControlUI* item, int index)
{
    if (m_pOwner != nullptr && m_pLayout != nullptr && m_pLayout->GetItemIndex(item) >= 0)
        m_pLayout->SetItemIndex(item, index);
}

void CMenuWnd::FitSubMenu()
{
    if (m_pOwner != nullptr && m_pLayout != nullptr && ::IsWindow(m_hWnd))
        PlaceSubMenu();
}

// --- closing ---

void CMenuWnd::CloseMenu()
{
    if (!::IsWindow(m_hWnd))
        return;
    ::PostMessageW(m_hWnd, WM_CLOSE, 1, 0);
    m_bClosing = true;
}

bool CMenuWnd::OnBroadcast(MenuBroadcastParam param)
{
    if (param.type == MenuCloseAll) {
        CloseMenu();
    } else if (param.type == MenuCloseBelow) {
        for (HWND up = ::GetParent(m_hWnd); up != nullptr; up = ::GetParent(up)) {
            if (up == param.window) {
                CloseMenu();
                break;
            }
        }
    }
    return true;
}

bool CMenuWnd::IsMenuWindow(HWND window) const
{
    MenuObserverImpl& observer = GetMenuObserver();
    for (int i = 0; i < observer.GetReceiverCount(); ++i) {
        auto* menu = dynamic_cast<CMenuWnd*>(observer.GetReceiver(i));
        if (menu != nullptr && window != nullptr && menu->GetHandle() == window)
            return true;
    }
    return false;
}

void CMenuWnd::OnFinalMessage(HWND /*window*/)
{
    DetachFromObservers();
    if (m_pOwner != nullptr) {
        // Destroyed without WM_CLOSE (its owner window went first, or the item is being
        // deleted): the lent items must not keep this window's manager and list.
        m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
        CControlUI* list = ListOwnerOf(m_pOwner);
        for (int i = 0; i < m_pOwner->GetCount(); ++i) {
            CControlUI* child = m_pOwner->GetItemAt(i);
            auto* item = static_cast<CMenuElementUI*>(child->GetInterface(L"MenuElement"));
            if (item == nullptr)
                continue;
            item->SetOwner(list);
            item->SetVisible(false);
            item->SetInternVisible(false);
        }
        m_pOwner->SubMenuClosed();
    }
    DeleteWhenUnwound(this);
}

// --- messages ---

void CMenuWnd::SetDpi(int dpi)
{
    m_pm.ApplyDpi(dpi);
}

void CMenuWnd::Notify(UINotifyMessage& msg)
{
    CPaintManagerUI* owner = GetMenuObserver().GetOwnerManager();
    if (owner == nullptr)
        return;
    if (msg.type == L"click" || msg.type == L"valuechanged" || msg.type == L"menuhoverenter" ||
        msg.type == L"menuhoverleave")
        owner->DispatchNotify(msg, false);
}

LRESULT CMenuWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_KILLFOCUS:
        if (!IsMenuWindow(reinterpret_cast<HWND>(wParam)))
            GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, m_hWnd});
        break;
    case WM_SIZE:
        if (!::IsIconic(m_hWnd)) {
            RECT rc = {};
            ::GetWindowRect(m_hWnd, &rc);
            ::OffsetRect(&rc, -rc.left, -rc.top);
            const SIZE round = m_pm.GetRoundCorner();
            HRGN region = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, round.cx, round.cy);
            // Once set, the region belongs to the window: freeing it here would free its shape.
            ::SetWindowRgn(m_hWnd, region, TRUE);
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE || wParam == VK_LEFT) {
            CloseMenu();
            return 0;
        }
        break;
    case WM_CLOSE:
        if (m_pOwner != nullptr) {
            m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
            m_pOwner->SetPos(m_pOwner->GetPos(), true);
            m_pOwner->SetFocus();
        }
        break;
    case WM_CONTEXTMENU:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return 0;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_pm.HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

} // namespace ZvUI

// The combo's drop-down: a top-level tool window with a paint manager of its own, lent the combo's rows.
#include "combo/ComboWnd.h"

#include "combo/ComboUI.h"
#include "control/ScrollBarUI.h"
#include "layout/VerticalLayoutUI.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/UIControlServices.h"
#include "manager/UIResources.h"

#include <algorithm>

namespace ZvUI {

namespace {

constexpr wchar_t kFramedBackground[] =
    L"file='Velmora\\2.11.0.0\\drop-down menu\\table_bg_menu.png' corner='4,4,4,4'";
constexpr wchar_t kFramedScrollBar[] =
    L"width=\"4\" showbutton1=\"false\" showbutton2=\"false\" "
    L"thumbnormalimage=\"file='Velmora\\2.11.0.0\\drop-down menu\\table_sliding_bar.png'  corner='0,5,0,5'\" "
    L"thumbhotimage=\"file='Velmora\\2.11.0.0\\drop-down menu\\table_sliding_bar.png'  corner='0,5,0,5'\" "
    L"thumbpushedimage=\"file='Velmora\\2.11.0.0\\drop-down menu\\table_sliding_bar.png'  corner='0,5,0,5'\"";

int ScaleFor(CComboUI* owner, int value)
{
    CPaintManagerUI* manager = owner->GetManager();
    return manager != nullptr ? manager->GetDpiHelper()->Scale(value) : value;
}

// Below the field when it fits, else on the side with more room, the height cut to that room;
// moved sideways to stay inside the work area of the monitor the field is on.
RECT PlacePopup(const RECT& field, int width, int height)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (::GetMonitorInfoW(::MonitorFromRect(&field, MONITOR_DEFAULTTONEAREST), &info))
        work = info.rcWork;

    RECT rc = {field.left, field.bottom, field.left + width, field.bottom + height};
    if (rc.bottom > work.bottom) {
        const int below = std::max<int>(0, work.bottom - field.bottom);
        const int above = std::max<int>(0, field.top - work.top);
        if (above >= height || above > below) {
            rc.bottom = field.top;
            rc.top = field.top - std::min(height, above);
        } else {
            rc.bottom = field.bottom + below;
        }
    }
    if (rc.right > work.right)
        ::OffsetRect(&rc, work.right - rc.right, 0);
    if (rc.left < work.left)
        ::OffsetRect(&rc, work.left - rc.left, 0);
    rc.right = std::min(rc.right, work.right);
    if (rc.top < work.top)
        ::OffsetRect(&rc, 0, work.top - rc.top);
    rc.bottom = std::min(rc.bottom, work.bottom);
    return rc;
}

} // namespace

// --- opening ---

void CComboWnd::Init(CComboUI* owner)
{
    m_bHitItem = false;
    m_pOwner = owner;
    m_pLayout = nullptr;
    m_iOldSel = owner->GetCurSel();

    RECT rc = owner->GetPos();
    if (owner->GetDropDownStyle() == 1) {
        const int grow = ScaleFor(owner, 4);
        ::InflateRect(&rc, grow, grow);
    }
    const SIZE size = owner->GetDropBoxSize();
    const SIZE offered = {size.cx > 0 ? size.cx : rc.right - rc.left, size.cy};

    int height = ScaleFor(owner, owner->GetDropBoxInset().top);
    for (int i = 0; i < owner->GetCount(); ++i) {
        CControlUI* item = owner->GetItemAt(i);
        if (item->IsVisible())
            height += item->EstimateSize(offered).cy;
    }
    height += ScaleFor(owner, 4);
    if (owner->GetDropDownStyle() == 1)
        height += ScaleFor(owner, 8);
    height = std::min<int>(height, size.cy);

    // Everything from here on is in screen pixels, mapped once.
    HWND ownerWindow = owner->GetManager() != nullptr ? owner->GetManager()->GetWindowHandle() : nullptr;
    ::MapWindowPoints(ownerWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    const RECT rcPopup = PlacePopup(rc, offered.cx, height);
    // A failed Create has given the final message: the field is closed again and this is gone.
    if (Create(ownerWindow, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, rcPopup) == nullptr)
        return;
    ::ShowWindow(m_hWnd, SW_SHOW);
    // The main window keeps its active look while the pop-up has the focus.
    HWND top = m_hWnd;
    while (::GetParent(top) != nullptr)
        top = ::GetParent(top);
    ::SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
}

LRESULT CComboWnd::OnCreate()
{
    CPaintManagerUI* ownerManager = m_pOwner->GetManager();
    m_pm.SetUseSharedResources(true);
    m_pm.SetLayered(true);
    // Layout and the shared fonts at the field's DPI, also after a live change of the owner's.
    if (ownerManager != nullptr)
        m_pm.BorrowDpiOf(*ownerManager);
    m_pm.AttachWindow(m_hWnd);

    m_pLayout = new CVerticalLayoutUI;
    m_pLayout->SetManager(&m_pm, nullptr, true);
    if (ownerManager != nullptr) {
        LPCWSTR defaults = ownerManager->GetClassDefaults(L"VerticalLayout");
        if (defaults != nullptr && defaults[0] != L'\0')
            m_pLayout->ApplyAttributeList(defaults);
    }
    // The rows belong to the combo.
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar(true, false);
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList().GetData());
    for (int i = 0; i < m_pOwner->GetCount(); ++i)
        m_pLayout->Add(m_pOwner->GetItemAt(i));
    m_bItemsLent = true;

    m_pm.SetRootControl(m_pLayout);
    if (ownerManager != nullptr) {
        CUIStringMap* fonts = ownerManager->GetFontMap(false);
        for (int i = 0; fonts != nullptr && i < fonts->GetSize(); ++i) {
            LPCWSTR key = fonts->GetAt(i);
            auto* font = key != nullptr ? static_cast<UIFontInfo*>(fonts->Find(key, false)) : nullptr;
            if (font != nullptr)
                m_pm.AddFont(_wtoi(key), font->faceName.GetData(), font->size, font->bold, font->underline,
                             font->italic);
        }
    }
    m_pm.AddNotifyListener(this);

    if (m_pOwner->GetDropDownStyle() == 1) {
        auto* frame = new CContainerUI;
        frame->SetBkImage(kFramedBackground);
        frame->SetInset(4, 4, 4, 4);
        m_pm.WrapRoot(frame);
        SIZE initial = m_pm.GetInitialSize();
        m_pm.SetInitialSize(initial.cx + m_pm.GetDpiHelper()->Scale(8), initial.cy + m_pm.GetDpiHelper()->Scale(8));
        if (CScrollBarUI* bar = m_pLayout->GetVerticalScrollBar())
            bar->ApplyAttributeList(kFramedScrollBar);
    } else {
        const RECT inset = m_pLayout->GetInset();
        if (inset.left == 0 && inset.top == 0 && inset.right == 0 && inset.bottom == 0)
            m_pLayout->SetInset(1, 1, 1, 1);
        m_pLayout->SetBkColor(0xFFFFFFFF);
        m_pLayout->SetBorderColor(0xFFC6C7D2);
        m_pLayout->SetBorderSize(1);
        if (ownerManager != nullptr) {
            ownerManager->GetShadow()->CopySettingsTo(m_pm.GetShadow());
            m_pm.GetShadow()->SetShadowEnabled(m_pOwner->IsShowShadow());
            m_pm.GetShadow()->Create(&m_pm);
        }
    }
    return 0;
}

// --- closing ---

void CComboWnd::ReturnItems()
{
    if (!m_bItemsLent || m_pOwner == nullptr)
        return;
    m_bItemsLent = false;
    if (m_pLayout != nullptr)
        m_pLayout->RemoveAll();
    m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
    const RECT empty = {0, 0, 0, 0};
    for (int i = 0; i < m_pOwner->GetCount(); ++i)
        m_pOwner->GetItemAt(i)->SetPos(empty, true);
}

void CComboWnd::LendItem(CControlUI* item, int index)
{
    if (!m_bItemsLent || m_pLayout == nullptr || item == nullptr)
        return;
    if (!m_pLayout->AddAt(item, index))
        m_pLayout->Add(item);
}

void CComboWnd::TakeBackItem(CControlUI* item)
{
    if (m_bItemsLent && m_pLayout != nullptr)
        list_support::ReturnLentRow(*m_pLayout, m_pm, item, *m_pOwner);
}

void CComboWnd::TakeBackAllItems()
{
    if (!m_bItemsLent || m_pLayout == nullptr)
        return;
    for (int i = m_pLayout->GetCount() - 1; i >= 0; --i)
        TakeBackItem(m_pLayout->GetItemAt(i));
}

void CComboWnd::MoveItem(CControlUI* item, int index)
{
    if (m_bItemsLent && m_pLayout != nullptr && item != nullptr)
        m_pLayout->SetItemIndex(item, index);
}

void CComboWnd::OnFinalMessage(HWND /*window*/)
{
    ReturnItems();
    if (m_pOwner != nullptr && m_pOwner->GetDropWindow() == this)
        m_pOwner->DropWindowClosed();
    DeleteWhenUnwound(this);
}

// --- messages ---

LRESULT CComboWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd)
            PostMessage(WM_CLOSE);
        break;
    case WM_CLOSE:
        ReturnItems();
        if (m_pOwner != nullptr && m_pOwner->GetDropWindow() == this)
            m_pOwner->SetFocus();
        break;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_RETURN:
            PostMessage(WM_KILLFOCUS);
            return 0;
        case VK_ESCAPE:
            m_pOwner->SelectItem(m_iOldSel, true);
            EnsureVisible(m_iOldSel);
            PostMessage(WM_KILLFOCUS);
            return 0;
        default: {
            UIControlEvent event;
            event.type = EventKeyDown;
            event.keyChar = static_cast<wchar_t>(wParam);
            event.wParam = wParam;
            event.lParam = lParam;
            event.timestamp = ::GetTickCount();
            m_pOwner->DoEvent(event);
            EnsureVisible(m_pOwner->GetCurSel());
            return 0;
        }
        }
    case WM_LBUTTONDOWN: {
        const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        m_bHitItem = IsHitItem(pt);
        break;
    }
    case WM_LBUTTONUP: {
        const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (m_bHitItem && IsHitItem(pt))
            PostMessage(WM_KILLFOCUS);
        m_bHitItem = false;
        break;
    }
    case WM_MOUSEWHEEL: {
        UIControlEvent event;
        event.type = EventScrollWheel;
        event.wParam = MAKEWPARAM(static_cast<short>(HIWORD(wParam)) < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        event.lParam = lParam;
        event.timestamp = ::GetTickCount();
        if (m_pOwner->IsScrollSelect()) {
            m_pOwner->DoEvent(event);
            EnsureVisible(m_pOwner->GetCurSel());
        } else if (m_pLayout != nullptr) {
            event.sender = m_pLayout;
            m_pLayout->DoEvent(event);
        }
        return 0;
    }
    default:
        break;
    }
    LRESULT result = 0;
    if (m_pm.HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

void CComboWnd::Notify(UINotifyMessage& msg)
{
    if (msg.type == L"windowinit")
        EnsureVisible(m_pOwner->GetCurSel());
}

// --- hit testing and scrolling ---

bool CComboWnd::IsHitItem(POINT pt) const
{
    CControlUI* control = m_pm.FindControl(pt);
    if (control == nullptr || control->GetInterface(L"ScrollBar") != nullptr)
        return false;
    for (; control != nullptr; control = control->GetParent()) {
        if (control->GetInterface(kListItemInterface) != nullptr)
            return true;
    }
    return false;
}

void CComboWnd::EnsureVisible(int index)
{
    if (m_pOwner->GetCurSel() < 0 || m_pLayout == nullptr)
        return;
    CControlUI* item = m_pOwner->GetItemAt(index);
    if (item == nullptr)
        return;
    const RECT rcItem = item->GetPos();
    RECT rcList = m_pLayout->GetPos();
    CScrollBarUI* hbar = m_pLayout->GetHorizontalScrollBar();
    if (hbar != nullptr && hbar->IsVisible())
        rcList.bottom -= hbar->GetFixedHeight();
    if (rcItem.top >= rcList.top && rcItem.bottom < rcList.bottom)
        return;
    int dy = 0;
    if (rcItem.top < rcList.top)
        dy = rcItem.top - rcList.top;
    if (rcItem.bottom > rcList.bottom)
        dy = rcItem.bottom - rcList.bottom;
    Scroll(0, dy);
}

void CComboWnd::Scroll(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    SIZE pos = m_pLayout->GetScrollPos();
    pos.cx += dx;
    pos.cy += dy;
    m_pLayout->SetScrollPos(pos, true);
}

} // namespace ZvUI

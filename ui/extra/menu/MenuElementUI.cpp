// One row of a skinned menu: icon, text, expand arrow or a separator line; nested items form its sub-menu.
#include "menu/MenuElementUI.h"

#include <algorithm>
#include <cwchar>

#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "menu/MenuObserver.h"
#include "menu/MenuUI.h"
#include "menu/MenuWnd.h"
#include "render/UIClipGuard.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

namespace ZvUI {

using list_support::Is;
using list_support::IsTrue;

namespace {

// "ischeck" yields to any entry of the table whose name matches without regard to case.
bool HasCheckEntry(const CUIStringMap& map, const CUIString& name)
{
    for (int i = 0; i < map.GetSize(); ++i) {
        LPCWSTR key = map.GetAt(i);
        if (key != nullptr && _wcsicmp(key, name.GetData()) == 0)
            return true;
    }
    return false;
}

bool IsMenuItem(CControlUI* control)
{
    return control != nullptr && control->GetInterface(L"MenuElement") != nullptr;
}

void CopyCut(wchar_t* target, size_t capacity, LPCWSTR text)
{
    wcsncpy(target, text != nullptr ? text : L"", capacity - 1);
    target[capacity - 1] = L'\0';
}

} // namespace

CMenuElementUI::CMenuElementUI()
{
    SetFixedWidth(150);
    SetFixedHeight(30);
}

CMenuElementUI::~CMenuElementUI()
{
    // An open sub-menu must not hand items back to a freed owner, nor the focus it hands back
    // on closing reach this one.
    if (m_pWindow != nullptr && m_pManager != nullptr)
        m_pManager->ForgetControl(this);
    CloseSubMenuNow();
}

LPCWSTR CMenuElementUI::GetClass() const
{
    return L"MenuElementUI";
}

LPVOID CMenuElementUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"MenuElement"))
        return this;
    return CListContainerElementUI::GetInterface(name);
}

// --- properties ---

void CMenuElementUI::SetLineType()
{
    m_bLineType = true;
    if (m_cxyFixed.cy == 0 || m_cxyFixed.cy == 30)
        SetFixedHeight(6);
    SetMouseChildEnabled(false);
    SetMouseEnabled(false);
    SetEnabled(false);
}

RECT CMenuElementUI::GetLinePadding() const
{
    return ScaleRectValue(m_rcLinePadding);
}

SIZE CMenuElementUI::GetIconSize() const
{
    return ScaleSizeValue(m_szIcon);
}

bool CMenuElementUI::IsChecked() const
{
    if (m_sName.IsEmpty())
        return false;
    const MenuCheckInfo* info = GetMenuCheckInfo(m_sName.GetData());
    return info != nullptr && info->checked;
}

void CMenuElementUI::SetChecked(bool checked)
{
    SetMenuCheckState(m_sName.GetData(), checked);
}

void CMenuElementUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"icon")) {
        SetIcon(value);
    } else if (Is(name, L"iconsize")) {
        const RECT rc = list_support::ParseRect(value);
        SetIconSize(SIZE{rc.left, rc.top});
    } else if (Is(name, L"checkitem")) {
        SetCheckItem(IsTrue(value));
    } else if (Is(name, L"ischeck")) {
        const CUIStringMap* table = GetMenuObserver().GetCheckStateMap();
        if (table != nullptr && !HasCheckEntry(*table, m_sName))
            SetChecked(IsTrue(value));
    } else if (Is(name, L"linetype")) {
        if (IsTrue(value))
            SetLineType();
    } else if (Is(name, L"expland")) {
        SetExpand(IsTrue(value));
    } else if (Is(name, L"linecolor")) {
        SetLineColor(list_support::ParseColor(value));
    } else if (Is(name, L"linepadding")) {
        SetLinePadding(list_support::ParseRect(value));
    } else if (Is(name, L"height")) {
        SetFixedHeight(_wtoi(value));
    } else {
        CListContainerElementUI::SetAttribute(name, value);
    }
}

// --- sub-menu ---

bool CMenuElementUI::ShowNestedItems()
{
    bool any = false;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!IsMenuItem(child))
            continue;
        child->SetVisible(true);
        child->SetInternVisible(true);
        any = true;
    }
    return any;
}

void CMenuElementUI::CreateMenuWnd()
{
    if (m_pWindow != nullptr)
        return;
    m_pWindow = new CMenuWnd;
    HWND own = m_pManager != nullptr ? m_pManager->GetWindowHandle() : nullptr;
    GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseBelow, own});
    m_pWindow->Init(this, L"", POINT{0, 0}, nullptr, nullptr, 6);
}

void CMenuElementUI::CloseSubMenuNow()
{
    if (m_pWindow != nullptr && ::IsWindow(m_pWindow->GetHandle()))
        ::DestroyWindow(m_pWindow->GetHandle());
}

// --- nested rows ---

void CMenuElementUI::RelayoutSubMenu()
{
    if (m_pWindow == nullptr || !::IsWindow(m_pWindow->GetHandle()))
        return;
    if (CControlUI* root = m_pWindow->GetManager().GetRoot())
        root->NeedUpdate();
}

void CMenuElementUI::SetPos(RECT rc, bool invalidate)
{
    CListContainerElementUI::SetPos(rc, invalidate);
    RelayoutSubMenu();
}

void CMenuElementUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // The sub-menu's manager holds the items while it is open; closing it hands them back.
    if (manager != m_pManager)
        CloseSubMenuNow();
    CListContainerElementUI::SetManager(manager, parent, init);
}

void CMenuElementUI::Move(SIZE offset, bool invalidate)
{
    CListContainerElementUI::Move(offset, invalidate);
    RelayoutSubMenu();
}

int CMenuElementUI::SubMenuIndexOf(CControlUI* control) const
{
    int index = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (child == control)
            return index;
        if (IsMenuItem(child))
            ++index;
    }
    return -1;
}

void CMenuElementUI::JoinSubMenu(CControlUI* control)
{
    if (!IsMenuItem(control))
        return;
    if (m_pWindow == nullptr) {
        control->SetInternVisible(false);
        return;
    }
    m_pWindow->LendItem(control, SubMenuIndexOf(control));
    m_pWindow->FitSubMenu();
}

bool CMenuElementUI::Add(CControlUI* control)
{
    if (!CListContainerElementUI::Add(control))
        return false;
    JoinSubMenu(control);
    return true;
}

bool CMenuElementUI::AddAt(CControlUI* control, int index)
{
    if (!CListContainerElementUI::AddAt(control, index))
        return false;
    JoinSubMenu(control);
    return true;
}

bool CMenuElementUI::Remove(CControlUI* control)
{
    // Out of the open sub-menu first: its list would go on painting a deleted row.
    const bool lent = m_pWindow != nullptr && IsMenuItem(control) && GetItemIndex(control) >= 0;
    if (lent)
        m_pWindow->TakeBackItem(control);
    if (!CListContainerElementUI::Remove(control))
        return false;
    if (lent && m_pWindow != nullptr)
        m_pWindow->FitSubMenu();
    return true;
}

void CMenuElementUI::RemoveAll()
{
    const bool open = m_pWindow != nullptr;
    if (open) {
        for (int i = GetCount() - 1; i >= 0; --i)
            m_pWindow->TakeBackItem(GetItemAt(i));
    }
    CListContainerElementUI::RemoveAll();
    if (open && m_pWindow != nullptr)
        m_pWindow->FitSubMenu();
}

bool CMenuElementUI::SetItemIndex(CControlUI* control, int newIndex)
{
    if (!CListContainerElementUI::SetItemIndex(control, newIndex))
        return false;
    if (m_pWindow != nullptr && IsMenuItem(control))
        m_pWindow->MoveItem(control, SubMenuIndexOf(control));
    return true;
}

void CMenuElementUI::SubMenuClosed()
{
    m_pWindow = nullptr;
    m_uButtonState &= ~0x10u;
    Invalidate();
}

void CMenuElementUI::PostCommand()
{
    CPaintManagerUI* owner = GetMenuObserver().GetOwnerManager();
    if (m_pManager == nullptr || !::IsWindow(m_pManager->GetWindowHandle()) || owner == nullptr)
        return;
    for (CControlUI* up = m_pParent; up != nullptr; up = up->GetParent()) {
        if (auto* menu = static_cast<CMenuUI*>(up->GetInterface(L"Menu"))) {
            if (menu->GetMenuWnd() != nullptr && menu->GetMenuWnd()->IsClosing())
                return;
            break;
        }
    }
    auto* info = new MenuCommandInfo{};
    CopyCut(info->name, 256, m_sName.GetData());
    CopyCut(info->userData, 1024, GetUserData().GetData());
    CopyCut(info->text, 1024, GetText().GetData());
    info->checked = IsChecked() ? 1 : 0;
    // The receiver frees the record; when the post fails nobody will.
    if (!::PostMessageW(owner->GetWindowHandle(), WM_MENUCLICK, reinterpret_cast<WPARAM>(info),
                        reinterpret_cast<LPARAM>(this)))
        delete info;
}

// --- events ---

void CMenuElementUI::DoEvent(UIControlEvent& event)
{
    HWND own = m_pManager != nullptr ? m_pManager->GetWindowHandle() : nullptr;
    switch (event.type) {
    case EventMouseEnter: {
        CListContainerElementUI::DoEvent(event);
        // A disabled item opens no sub-menu and tells of no hover.
        if (m_pWindow != nullptr || !IsEnabled())
            return;
        const bool hasSub = ShowNestedItems();
        if (!hasSub)
            GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseBelow, own});
        if (m_pOwner != nullptr)
            m_pOwner->SelectItem(m_iIndex, true);
        if (!hasSub) {
            if (m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"menuhoverenter");
        } else {
            CreateMenuWnd();
        }
        return;
    }
    case EventMouseLeave: {
        bool leaf = true;
        for (int i = 0; i < GetCount() && leaf; ++i)
            leaf = !IsMenuItem(GetItemAt(i));
        if (leaf) {
            if (m_pOwner != nullptr)
                m_pOwner->SelectItem(-1, true);
            if (m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"menuhoverleave");
        }
        CListContainerElementUI::DoEvent(event);
        return;
    }
    case EventKeyDown:
        if (event.keyChar != VK_RIGHT || !IsEnabled())
            break;
        if (m_pWindow != nullptr)
            return;
        if (ShowNestedItems()) {
            if (m_pOwner != nullptr)
                m_pOwner->SelectItem(m_iIndex, true);
            CreateMenuWnd();
        } else {
            GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseBelow, own});
            if (m_pOwner != nullptr)
                m_pOwner->SelectItem(m_iIndex, true);
        }
        return;
    case EventButtonUp:
        if (!IsEnabled())
            return;
        CListContainerElementUI::DoEvent(event);
        if (m_pWindow != nullptr)
            return;
        if (ShowNestedItems()) {
            CreateMenuWnd();
            return;
        }
        SetChecked(!IsChecked());
        PostCommand();
        GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, own});
        return;
    default:
        break;
    }
    CListContainerElementUI::DoEvent(event);
}

// --- size and painting ---

int CMenuElementUI::Unscale(int value) const
{
    const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
    return scale > 0 ? ::MulDiv(value, 100, scale) : value;
}

SIZE CMenuElementUI::EstimateSize(SIZE available)
{
    const SIZE fixed = {GetFixedWidth(), GetFixedHeight()};
    int width = 0;
    int height = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible())
            continue;
        const SIZE sz = child->EstimateSize(available);
        width = std::max<int>(width, sz.cx);
        height += sz.cy;
    }
    if (height == 0 && m_pOwner != nullptr && m_pOwner->GetListInfo() != nullptr && m_pManager != nullptr) {
        const UIListInfo& info = *m_pOwner->GetListInfo();
        const RECT padding = list_support::ScaleRect(*this, info.textPadding);
        RECT rc = {0, 0, std::max<int>(available.cx, m_cxyFixed.cx), 9999};
        rc.left += padding.left;
        rc.right -= padding.right;
        HDC dc = m_pManager->GetWindowDC();
        if (info.showHtml) {
            int links = 0;
            CUIRender::DrawHtmlText(dc, m_pManager, rc, m_sText, 0, nullptr, nullptr, links, info.font,
                                    info.textStyle | DT_CALCRECT);
        } else {
            CUIRender::DrawText(dc, m_pManager, rc, m_sText, 0, info.font, info.textStyle | DT_CALCRECT);
        }
        width = rc.right - rc.left + padding.left + padding.right;
        height = rc.bottom - rc.top + padding.top + padding.bottom;
    }
    if (fixed.cy != 0)
        height = fixed.cy;
    width = std::max<int>(width, fixed.cx);
    return {width, height};
}

bool CMenuElementUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    RECT rcTemp = {};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem))
        return true;
    if (m_bLineType) {
        const RECT padding = GetLinePadding();
        const int y = m_rcItem.top + GetFixedHeight() / 2;
        const RECT line = {m_rcItem.left + padding.left, y, m_rcItem.right - padding.right, y};
        CUIRender::DrawLine(hDC, line, 1, m_dwLineColor);
        return true;
    }
    CUIClipGuard clip;
    CUIClipGuard::GenerateClip(hDC, rcTemp, clip);
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
    DrawIcon(hDC);
    DrawExpandArrow(hDC);
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (IsMenuItem(child) || !child->IsVisible())
            continue;
        if (child == stopControl)
            return false;
        if (!child->Paint(hDC, rcPaint, stopControl))
            return false;
    }
    return true;
}

void CMenuElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_sText.IsEmpty() || m_pOwner == nullptr || m_pOwner->GetListInfo() == nullptr)
        return;
    const UIListInfo& info = *m_pOwner->GetListInfo();
    DWORD color = info.textColor;
    if (IsHot())
        color = info.hotTextColor;
    if (IsSelected())
        color = info.selectedTextColor;
    if (!IsEnabled())
        color = info.disabledTextColor;
    const RECT padding = list_support::ScaleRect(*this, info.textPadding);
    RECT rc = {rcItem.left + padding.left, rcItem.top + padding.top, rcItem.right - padding.right,
               rcItem.bottom - padding.bottom};
    if (info.showHtml) {
        int links = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, links, info.font,
                                info.textStyle);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, m_sText, color, info.font, info.textStyle);
    }
}

void CMenuElementUI::DrawIcon(HDC hDC)
{
    if (m_sIcon.IsEmpty() || (m_bCheckItem && !IsChecked()))
        return;
    const SIZE size = GetIconSize();
    int padLeft = 0;
    if (m_pOwner != nullptr && m_pOwner->GetListInfo() != nullptr)
        padLeft = list_support::ScaleRect(*this, m_pOwner->GetListInfo()->textPadding).left;
    const int x = (padLeft - size.cx) / 2;
    const int y = (GetFixedHeight() - size.cy) / 2;
    wchar_t modify[96] = {};
    swprintf(modify, 96, L"dest='%d,%d,%d,%d'", Unscale(x), Unscale(y), Unscale(x + size.cx), Unscale(y + size.cy));
    DrawImage(hDC, m_sIcon.GetData(), modify);
}

void CMenuElementUI::DrawExpandArrow(HDC hDC)
{
    if (!m_bExpand || m_pManager == nullptr)
        return;
    LPCWSTR image = m_pManager->GetClassDefaults(L"ExplandIcon");
    LPCWSTR alternative = nullptr;
    if (IsHot())
        alternative = m_pManager->GetClassDefaults(L"HotExplandIcon");
    else if (IsSelected())
        alternative = m_pManager->GetClassDefaults(L"SelectExplandIcon");
    else if (!IsEnabled())
        alternative = m_pManager->GetClassDefaults(L"DisableExplandIcon");
    if (alternative != nullptr)
        image = alternative;
    if (image == nullptr || image[0] == L'\0')
        return;
    const UIImageInfo* info = m_pManager->GetImageByDrawString(image);
    if (info == nullptr)
        return;
    const int margin = m_pManager->GetDpiHelper()->Scale(20) / 3;
    const int width = GetFixedWidth();
    const int height = GetFixedHeight();
    const int top = (height - info->height) / 2;
    wchar_t modify[96] = {};
    swprintf(modify, 96, L"dest='%d,%d,%d,%d'", Unscale(width - info->width - margin), Unscale(top),
             Unscale(width - margin), Unscale(top + info->height));
    DrawImage(hDC, image, modify);
}

} // namespace ZvUI

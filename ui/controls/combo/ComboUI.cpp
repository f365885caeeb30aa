// A drop-down list: a closed field showing the selected row's text, with a pop-up that lists the rows.
#include "combo/ComboUI.h"

#include "combo/ComboWnd.h"
#include "list/ListSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIControlServices.h"
#include "render/UIRender.h"
#include "control/StateImages.h"

namespace ZvUI {

using list_support::Is;
using list_support::IsTrue;
using list_support::ParseColor;
using list_support::ParseRect;

namespace {

IListItemUI* ListItemOf(CControlUI* control)
{
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface(kListItemInterface)) : nullptr;
}

} // namespace

CComboUI::CComboUI()
{
    m_ListInfo.textStyle = DT_VCENTER;
}

CComboUI::~CComboUI()
{
    // A pop-up outliving its combo would hand rows back to freed memory; the focus it hands
    // back on closing must not reach the combo being destroyed.
    if (m_pWindow != nullptr && m_pManager != nullptr)
        m_pManager->ForgetControl(this);
    CloseDropWindowNow();
}

void CComboUI::CloseDropWindowNow()
{
    if (m_pWindow == nullptr)
        return;
    CComboWnd* window = m_pWindow;
    window->ReturnItems();
    m_pWindow = nullptr;
    m_uButtonState &= ~ButtonStatePushed;
    if (::IsWindow(window->GetHandle()))
        ::DestroyWindow(window->GetHandle());
}

void CComboUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // The drop-down's manager holds the rows while it is open: a combo leaving its window
    // (removed and kept, or moved) takes them back first, or they stay bound to the pop-up.
    if (manager != m_pManager)
        CloseDropWindowNow();
    CContainerUI::SetManager(manager, parent, init);
}

LPCWSTR CComboUI::GetClass() const
{
    return L"ComboUI";
}

LPVOID CComboUI::GetInterface(LPCWSTR name)
{
    if (Is(name, L"Combo"))
        return this;
    if (Is(name, L"IListOwner"))
        return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const
{
    return IsEnabled() ? (ControlFlagTabStop | ControlFlagSetCursor) : 0;
}

// --- opening ---

bool CComboUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (m_pManager != nullptr)
        m_pManager->RaiseNotify(this, L"predropdown");
    if (m_pWindow != nullptr)
        return true;
    m_pWindow = new CComboWnd;
    m_pWindow->Init(this);
    // A pop-up that could not be made is gone and has closed the field again: nothing dropped down.
    if (m_pWindow == nullptr)
        return false;
    if (m_pManager != nullptr)
        m_pManager->RaiseNotify(this, L"dropdown");
    Invalidate();
    return true;
}

void CComboUI::DropWindowClosed()
{
    m_pWindow = nullptr;
    m_uButtonState &= ~ButtonStatePushed;
    Invalidate();
}

CUIString CComboUI::GetText() const
{
    if (m_iCurSel < 0)
        return CUIString();
    CControlUI* item = GetItemAt(m_iCurSel);
    return item != nullptr ? item->GetText() : CUIString();
}

void CComboUI::SetPos(RECT rc, bool invalidate)
{
    if (::EqualRect(&rc, &m_rcItem))
        return;
    if (m_pWindow != nullptr && ::IsWindow(m_pWindow->GetHandle()))
        m_pWindow->Close(1);
    const RECT empty = {0, 0, 0, 0};
    for (int i = 0; i < GetCount(); ++i)
        GetItemAt(i)->SetPos(empty, true);
    CControlUI::SetPos(rc, invalidate);
}

void CComboUI::SetEnabled(bool enable)
{
    CContainerUI::SetEnabled(enable);
    if (!IsEnabled())
        m_uButtonState = 0;
}

// --- selection ---

bool CComboUI::SelectItem(int index, bool takeFocus)
{
    if (index == m_iCurSel)
        return true;
    const int previous = m_iCurSel;
    if (m_iCurSel >= 0) {
        CControlUI* old = GetItemAt(m_iCurSel);
        if (old == nullptr)
            return false;
        if (IListItemUI* item = ListItemOf(old))
            item->Select(false);
        m_iCurSel = -1;
    }
    if (index < 0 || GetCount() == 0)
        return false;
    if (index >= GetCount())
        index = GetCount() - 1;
    CControlUI* control = GetItemAt(index);
    IListItemUI* item = ListItemOf(control);
    if (control == nullptr || !control->IsEnabled() || item == nullptr)
        return false;
    m_iCurSel = index;
    if (m_pWindow != nullptr || takeFocus)
        control->SetFocus();
    item->Select(true);
    if (m_pManager != nullptr)
        m_pManager->RaiseNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(previous));
    Invalidate();
    return true;
}

void CComboUI::SelectNeighbour(int index, bool forward)
{
    const int found = FindSelectable(index, forward);
    if (found >= 0)
        SelectItem(found, false);
}

// --- rows ---

void CComboUI::Renumber(int from)
{
    for (int i = from; i < GetCount(); ++i) {
        if (IListItemUI* item = ListItemOf(GetItemAt(i)))
            item->SetIndex(i);
    }
}

bool CComboUI::SetItemIndex(CControlUI* control, int newIndex)
{
    const int oldIndex = GetItemIndex(control);
    if (oldIndex < 0)
        return false;
    if (oldIndex == newIndex)
        return true;
    CControlUI* selected = m_iCurSel >= 0 ? GetItemAt(m_iCurSel) : nullptr;
    if (!CContainerUI::SetItemIndex(control, newIndex))
        return false;
    if (m_pWindow != nullptr)
        m_pWindow->MoveItem(control, newIndex);
    Renumber(0);
    if (selected != nullptr)
        m_iCurSel = GetItemIndex(selected);
    return true;
}

bool CComboUI::Add(CControlUI* control)
{
    if (IListItemUI* item = ListItemOf(control)) {
        item->SetOwner(this);
        item->SetIndex(GetCount());
    }
    if (!CContainerUI::Add(control))
        return false;
    // An open pop-up shows the new row too.
    if (m_pWindow != nullptr)
        m_pWindow->LendItem(control, GetCount() - 1);
    return true;
}

bool CComboUI::AddAt(CControlUI* control, int index)
{
    if (!CContainerUI::AddAt(control, index))
        return false;
    if (IListItemUI* item = ListItemOf(control))
        item->SetOwner(this);
    const int at = GetItemIndex(control);
    if (m_pWindow != nullptr)
        m_pWindow->LendItem(control, at);
    Renumber(at);
    if (m_iCurSel >= at)
        ++m_iCurSel;
    return true;
}

bool CComboUI::Remove(CControlUI* control)
{
    const int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index);
}

bool CComboUI::RemoveAt(int index)
{
    // The base RemoveAt goes through the virtual Remove, which comes back here.
    CControlUI* control = GetItemAt(index);
    if (control == nullptr)
        return false;
    // An open pop-up's layout would otherwise go on painting a deleted row.
    if (m_pWindow != nullptr)
        m_pWindow->TakeBackItem(control);
    if (!CContainerUI::Remove(control))
        return false;
    Renumber(index);
    if (index == m_iCurSel) {
        m_iCurSel = -1;
        SelectNeighbour(index, false);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CComboUI::RemoveAll()
{
    m_iCurSel = -1;
    if (m_pWindow != nullptr)
        m_pWindow->TakeBackAllItems();
    CContainerUI::RemoveAll();
}

// --- events ---

void CComboUI::DoEvent(UIControlEvent& event)
{
    if (HandOverMouseEvent<CContainerUI>(*this, event))
        return;
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus:
        Invalidate();
        CControlUI::DoEvent(event);
        return;
    case EventButtonDown:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= ButtonStatePushed | ButtonStateCaptured;
        }
        return;
    case EventButtonUp:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            m_uButtonState &= ~ButtonStateCaptured;
            Invalidate();
        }
        return;
    case EventMouseMove:
    case EventContextMenu:
        return;
    case EventKeyDown:
        if (!IsEnabled())
            return;
        switch (event.keyChar) {
        case VK_UP:
        case VK_PRIOR:
            SelectNeighbour(m_iCurSel - 1, false);
            return;
        case VK_DOWN:
        case VK_NEXT:
            SelectNeighbour(m_iCurSel + 1, true);
            return;
        case VK_HOME:
            SelectNeighbour(0, false);
            return;
        case VK_END:
            SelectNeighbour(GetCount() - 1, true);
            return;
        case VK_F4:
            Activate();
            return;
        default:
            break;
        }
        break;
    case EventScrollWheel:
        // A disabled combo changes nothing under the wheel.
        if (m_bScrollSelect && IsEnabled()) {
            const bool down = LOWORD(event.wParam) == SB_LINEDOWN;
            SelectNeighbour(m_iCurSel + (down ? 1 : -1), down);
        }
        return;
    case EventMouseEnter:
        if (::PtInRect(&m_rcItem, event.mousePoint)) {
            m_uButtonState |= ButtonStateHot;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if ((m_uButtonState & ButtonStateHot) != 0) {
            m_uButtonState &= ~ButtonStateHot;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

// --- attributes ---

void CComboUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"align")) {
        if (wcsstr(value, L"left") != nullptr)
            m_uTextStyle &= ~(DT_CENTER | DT_RIGHT | DT_SINGLELINE);
        if (wcsstr(value, L"center") != nullptr) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (wcsstr(value, L"right") != nullptr) {
            m_uTextStyle &= ~(DT_CENTER | DT_SINGLELINE);
            m_uTextStyle |= DT_RIGHT;
        }
    } else if (Is(name, L"valign")) {
        if (wcsstr(value, L"top") != nullptr) {
            m_uTextStyle &= ~(DT_VCENTER | DT_BOTTOM);
            m_uTextStyle |= DT_SINGLELINE;
        }
        if (wcsstr(value, L"vcenter") != nullptr) {
            m_uTextStyle &= ~DT_BOTTOM;
            m_uTextStyle |= DT_VCENTER | DT_SINGLELINE;
        }
        if (wcsstr(value, L"bottom") != nullptr) {
            m_uTextStyle &= ~DT_VCENTER;
            m_uTextStyle |= DT_BOTTOM | DT_SINGLELINE;
        }
    } else if (Is(name, L"endellipsis")) {
        m_uTextStyle = IsTrue(value) ? (m_uTextStyle | DT_END_ELLIPSIS) : (m_uTextStyle & ~DT_END_ELLIPSIS);
    } else if (Is(name, L"wordbreak")) {
        if (IsTrue(value)) {
            m_uTextStyle &= ~DT_SINGLELINE;
            m_uTextStyle |= DT_WORDBREAK | DT_EDITCONTROL;
        } else {
            m_uTextStyle &= ~(DT_WORDBREAK | DT_EDITCONTROL);
            m_uTextStyle |= DT_SINGLELINE;
        }
    } else if (Is(name, L"font")) {
        SetFont(_wtoi(value));
    } else if (Is(name, L"textcolor")) {
        SetTextColor(ParseColor(value));
    } else if (Is(name, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseColor(value));
    } else if (Is(name, L"textpadding")) {
        SetTextPadding(ParseRect(value));
    } else if (Is(name, L"showhtml")) {
        SetShowHtml(IsTrue(value));
    } else if (Is(name, L"showshadow")) {
        SetShowShadow(IsTrue(value));
    } else if (Is(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, L"hotimage")) {
        SetHotImage(value);
    } else if (Is(name, L"pushedimage")) {
        SetPushedImage(value);
    } else if (Is(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, L"disabledimage")) {
        SetDisabledImage(value);
    } else if (Is(name, L"scrollselect")) {
        SetScrollSelect(IsTrue(value));
    } else if (Is(name, L"dropbox")) {
        SetDropBoxAttributeList(value);
    } else if (Is(name, L"dropboxsize")) {
        SetDropBoxSize(attr::ParseSize(value));
    } else if (Is(name, L"dropboxinset")) {
        SetDropBoxInset(ParseRect(value));
    } else if (Is(name, L"itemfont")) {
        SetItemFont(_wtoi(value));
    } else if (Is(name, L"itemalign")) {
        SetItemTextStyle(list_support::ApplyHorizontalAlign(m_ListInfo.textStyle, value));
    } else if (Is(name, L"itemvalign")) {
        SetItemTextStyle(list_support::ApplyVerticalAlign(m_ListInfo.textStyle, value));
    } else if (Is(name, L"itemendellipsis")) {
        SetItemTextStyle(IsTrue(value) ? (m_ListInfo.textStyle | DT_END_ELLIPSIS)
                                       : (m_ListInfo.textStyle & ~DT_END_ELLIPSIS));
    } else if (Is(name, L"itemtextpadding")) {
        SetItemTextPadding(ParseRect(value));
    } else if (Is(name, L"itemtextcolor")) {
        SetItemTextColor(ParseColor(value));
    } else if (Is(name, L"itembkcolor")) {
        m_ListInfo.bkColor = ParseColor(value);
    } else if (Is(name, L"itembkimage")) {
        m_ListInfo.bkImage = value;
    } else if (Is(name, L"itemaltbk")) {
        m_ListInfo.alternateBk = IsTrue(value);
    } else if (Is(name, L"itemselectedtextcolor")) {
        m_ListInfo.selectedTextColor = ParseColor(value);
    } else if (Is(name, L"itemselectedbkcolor")) {
        m_ListInfo.selectedBkColor = ParseColor(value);
    } else if (Is(name, L"itemselectedimage")) {
        m_ListInfo.selectedImage = value;
    } else if (Is(name, L"itemhottextcolor")) {
        m_ListInfo.hotTextColor = ParseColor(value);
    } else if (Is(name, L"itemhotbkcolor")) {
        m_ListInfo.hotBkColor = ParseColor(value);
    } else if (Is(name, L"itemhotimage")) {
        m_ListInfo.hotImage = value;
    } else if (Is(name, L"itemdisabledtextcolor")) {
        m_ListInfo.disabledTextColor = ParseColor(value);
    } else if (Is(name, L"itemdisabledbkcolor")) {
        m_ListInfo.disabledBkColor = ParseColor(value);
    } else if (Is(name, L"itemdisabledimage")) {
        m_ListInfo.disabledImage = value;
    } else if (Is(name, L"itemlinecolor")) {
        m_ListInfo.lineColor = ParseColor(value);
    } else if (Is(name, L"itemshowhtml")) {
        SetItemShowHtml(IsTrue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

// --- accessors ---

SIZE CComboUI::GetDropBoxSize() const
{
    return ScaleSizeValue(m_szDropBox);
}

RECT CComboUI::GetTextPadding() const
{
    return ScaleRectValue(m_rcTextPadding);
}

void CComboUI::SetTextPadding(RECT padding)
{
    m_rcTextPadding = padding;
    Invalidate();
}

void CComboUI::SetShowHtml(bool showHtml)
{
    if (m_bShowHtml == showHtml)
        return;
    m_bShowHtml = showHtml;
    Invalidate();
}

void CComboUI::SetShowShadow(bool show)
{
    if (m_bShowShadow == show)
        return;
    m_bShowShadow = show;
    Invalidate();
}

void CComboUI::SetImage(CUIString& image, LPCWSTR descriptor)
{
    image = descriptor;
    Invalidate();
}

void CComboUI::SetItemFont(int font)
{
    m_ListInfo.font = font;
    Invalidate();
}

void CComboUI::SetItemTextStyle(UINT style)
{
    m_ListInfo.textStyle = style;
    Invalidate();
}

void CComboUI::SetItemTextPadding(RECT padding)
{
    m_ListInfo.textPadding = padding;
    Invalidate();
}

void CComboUI::SetItemTextColor(DWORD color)
{
    m_ListInfo.textColor = color;
    Invalidate();
}

void CComboUI::SetItemShowHtml(bool showHtml)
{
    if (m_ListInfo.showHtml == showHtml)
        return;
    m_ListInfo.showHtml = showHtml;
    Invalidate();
}

// --- size and painting ---

SIZE CComboUI::EstimateSize(SIZE available)
{
    if (m_cxyFixed.cy != 0)
        return CControlUI::EstimateSize(available);
    // The font is measured at the window's scale already; the rest is scaled like it.
    int height = ScaleValue(12);
    if (m_pManager != nullptr) {
        if (UIFontInfo* info = m_pManager->GetDefaultFontInfo())
            height += info->metrics.tmHeight;
    }
    return {ScaleValue(m_cxyFixed.cx), height};
}

bool CComboUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    return CControlUI::DoPaint(hDC, rcPaint, stopControl);
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    UpdateFocusAndEnabledBits();
    DrawButtonStateImage(*this, hDC, m_uButtonState, m_sNormalImage, m_sHotImage, m_sPushedImage, m_sFocusedImage,
                         m_sDisabledImage);
}

void CComboUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    if (m_dwTextColor == 0)
        m_dwTextColor = m_pManager->GetTextColor();
    if (m_dwDisabledTextColor == 0)
        m_dwDisabledTextColor = m_pManager->GetDisabledColor();
    // Scaled like every other length of the field, so text and images agree at any DPI.
    const RECT padding = GetTextPadding();
    RECT rc = m_rcItem;
    rc.left += padding.left;
    rc.right -= padding.right;
    rc.top += padding.top;
    rc.bottom -= padding.bottom;
    const CUIString text = GetText();
    if (text.IsEmpty())
        return;
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml) {
        int links = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, text.GetData(), color, nullptr, nullptr, links, m_iFont,
                                m_uTextStyle);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, text.GetData(), color, m_iFont, m_uTextStyle);
    }
}

} // namespace ZvUI

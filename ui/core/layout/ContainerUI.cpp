// Container: child ownership, scroll state and bars, clipped painting, searches and floating placement.
#include "layout/ContainerUI.h"

#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <new>

#include "control/ScrollBarUI.h"
#include "layout/LayoutLimits.h"
#include "layout/ScrollBarServices.h"
#include "manager/PaintManagerUI.h"
#include "render/UIClipGuard.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using attr::Is;
using attr::IsTrue;
using attr::ParseRect;

using layout_limits::Clamp;

namespace {

// Null when allocation fails; the container then goes on without that bar.
CControlUI* CreateScrollBar()
{
    return new (std::nothrow) CScrollBarUI;
}

ScrollBarCreator g_scrollBarCreator = &CreateScrollBar;

IScrollBarServicesUI* ServicesOf(CControlUI* bar)
{
    if (bar == nullptr)
        return nullptr;
    return static_cast<IScrollBarServicesUI*>(bar->GetInterface(kScrollBarServicesInterface));
}

bool Meets(const RECT& a, const RECT& b)
{
    RECT tmp = {};
    return ::IntersectRect(&tmp, &a, &b) != FALSE;
}

// The six steps one bar offers, toward the start first.
struct ScrollSteps {
    void (CContainerUI::*pageBack)();
    void (CContainerUI::*pageForward)();
    void (CContainerUI::*end)();
    void (CContainerUI::*home)();
    void (CContainerUI::*lineBack)();
    void (CContainerUI::*lineForward)();
};

// Navigation keys and wheel notches to one bar's steps; false when the event is none of them.
bool RunScrollStep(CContainerUI& container, const UIControlEvent& event, const ScrollSteps& steps)
{
    void (CContainerUI::*step)() = nullptr;
    if (event.type == EventKeyDown) {
        switch (event.keyChar) {
        case VK_PRIOR: step = steps.pageBack; break;
        case VK_NEXT: step = steps.pageForward; break;
        case VK_END: step = steps.end; break;
        case VK_HOME: step = steps.home; break;
        case VK_UP: step = steps.lineBack; break;
        case VK_DOWN: step = steps.lineForward; break;
        default: break;
        }
    } else if (event.type == EventScrollWheel) {
        switch (LOWORD(event.wParam)) {
        case 0: step = steps.lineBack; break;
        case 1: step = steps.lineForward; break;
        default: break;
        }
    }
    if (step == nullptr)
        return false;
    (container.*step)();
    return true;
}

} // namespace

void SetScrollBarCreator(ScrollBarCreator creator)
{
    g_scrollBarCreator = creator != nullptr ? creator : &CreateScrollBar;
}

ScrollBarCreator GetScrollBarCreator()
{
    return g_scrollBarCreator;
}

// --- lifetime ---

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    // Children go now, not through the manager's queue: the container is already going away.
    m_bDelayedDestroy = false;
    RemoveAll();
    if (!m_bExternalVScroll)
        delete m_pVerticalScrollBar;
    m_pVerticalScrollBar = nullptr;
    m_pVerticalBar = nullptr;
    delete m_pHorizontalScrollBar;
    m_pHorizontalScrollBar = nullptr;
    m_pHorizontalBar = nullptr;
}

LPCWSTR CContainerUI::GetClass() const
{
    return L"ContainerUI";
}

LPVOID CContainerUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && Is(name, L"IContainer"))
        return static_cast<IContainerUI*>(this);
    if (name != nullptr && Is(name, L"Container"))
        return static_cast<CContainerUI*>(this);
    return CControlUI::GetInterface(name);
}

// --- children ---

CControlUI* CContainerUI::GetItemAt(int index) const
{
    if (index < 0 || index >= m_items.GetSize())
        return nullptr;
    return static_cast<CControlUI*>(m_items[index]);
}

int CContainerUI::GetItemIndex(CControlUI* control) const
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        if (m_items[i] == control)
            return i;
    }
    return -1;
}

bool CContainerUI::SetItemIndex(CControlUI* control, int newIndex)
{
    const int index = GetItemIndex(control);
    if (control == nullptr || index < 0)
        return false;
    // Checked before the child leaves its place: an insertion that failed afterwards would drop it.
    if (newIndex < 0 || newIndex >= m_items.GetSize())
        return false;
    NeedUpdate();
    m_items.Remove(index);
    return m_items.InsertAt(newIndex, control);
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

void CContainerUI::AdoptChild(CControlUI* control)
{
    if (m_pManager != nullptr)
        m_pManager->BindControls(control, this);
    if (IsVisible())
        NeedUpdate();
    else
        control->SetInternVisible(false);
}

// A refused child is left as it came: not bound, not named, without this parent.
bool CContainerUI::Add(CControlUI* control)
{
    if (control == nullptr || !m_items.Add(control))
        return false;
    AdoptChild(control);
    return true;
}

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (control == nullptr || !m_items.InsertAt(index, control))
        return false;
    AdoptChild(control);
    return true;
}

void CContainerUI::ReleaseChild(CControlUI* control)
{
    if (m_bAutoDestroy) {
        DestroyChild(control);
        return;
    }
    // Kept by the caller: it leaves this window whole, so that it can be freed, re-added or
    // moved after the window is gone. A child already bound elsewhere (a row given back by a
    // pop-up) is no longer this container's to unbind.
    if (control->GetParent() == this)
        CPaintManagerUI::UnbindControls(control);
}

void CContainerUI::DestroyChild(CControlUI* control)
{
    if (m_bDelayedDestroy && m_pManager != nullptr)
        m_pManager->QueueControlDeletion(control);
    else
        delete control;
}

bool CContainerUI::Remove(CControlUI* control)
{
    const int index = GetItemIndex(control);
    if (control == nullptr || index < 0)
        return false;
    NeedUpdate();
    // The entry goes first so a destructor that looks at its old parent finds it gone.
    m_items.Remove(index);
    ReleaseChild(control);
    return true;
}

bool CContainerUI::RemoveAt(int index)
{
    CControlUI* control = GetItemAt(index);
    if (control == nullptr)
        return false;
    return Remove(control);
}

void CContainerUI::RemoveAll()
{
    // The list empties first, as Remove does for its one child.
    CUIPtrArray items(m_items);
    m_items.Empty();
    for (int i = 0; i < items.GetSize(); ++i)
        ReleaseChild(static_cast<CControlUI*>(items[i]));
    NeedUpdate();
}

void CContainerUI::ShiftItem(CControlUI* control, bool towardFront)
{
    const int index = GetItemIndex(control);
    if (index < 0)
        return;
    const int target = towardFront ? index - 1 : index + 1;
    if (target < 0 || target >= m_items.GetSize())
        return;
    m_items.SetAt(index, m_items[target]);
    m_items.SetAt(target, control);
}

// --- overrides of the control base ---

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        // Unbinding leaves alone a child that another container holds now (a row given back
        // by a pop-up's list): taking it out of its window is not this container's to do.
        if (manager == nullptr && child->GetParent() != nullptr && child->GetParent() != this)
            continue;
        child->SetManager(manager, this, init);
    }
    if (m_pVerticalScrollBar != nullptr)
        m_pVerticalScrollBar->SetManager(manager, this, init);
    if (m_pHorizontalScrollBar != nullptr)
        m_pHorizontalScrollBar->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

RECT CContainerUI::GetInsetRect() const
{
    const RECT inset = GetInset();
    RECT rc = m_rcItem;
    rc.left += inset.left;
    rc.top += inset.top;
    rc.right -= inset.right;
    rc.bottom -= inset.bottom;
    return rc;
}

RECT CContainerUI::GetScrolledContentRect() const
{
    RECT rc = GetInsetRect();
    if (IsVScrollVisible()) {
        rc.top -= GetVScrollPos();
        rc.bottom += GetVScrollRange() - GetVScrollPos();
        rc.right -= GetVScrollWidth();
    }
    if (IsHScrollVisible()) {
        rc.left -= GetHScrollPos();
        rc.right += GetHScrollRange() - GetHScrollPos();
        rc.bottom -= GetHScrollHeight();
    }
    return rc;
}

RECT CContainerUI::GetViewRect() const
{
    RECT rc = GetInsetRect();
    if (!m_bExternalVScroll && IsVScrollVisible())
        rc.right -= GetVScrollWidth();
    if (IsHScrollVisible())
        rc.bottom -= GetHScrollHeight();
    return rc;
}

RECT CContainerUI::GetClientPos() const
{
    return GetScrolledContentRect();
}

void CContainerUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    if (m_items.IsEmpty())
        return;

    // Non-virtual on purpose: a derived GetClientPos must not move the base placement.
    const RECT inner = GetScrolledContentRect();

    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (IsPlacedApart(child, i))
            continue;
        const int cx = Clamp(inner.right - inner.left, child->GetMinWidth(), child->GetMaxWidth());
        const int cy = Clamp(inner.bottom - inner.top, child->GetMinHeight(), child->GetMaxHeight());
        child->SetPos(RECT{inner.left, inner.top, inner.left + cx, inner.top + cy}, false);
    }
}

bool CContainerUI::IsPlacedApart(CControlUI* child, int index)
{
    if (!child->IsVisible())
        return true;
    if (child->IsFloat()) {
        PlaceFloatingChild(index);
        return true;
    }
    return false;
}

void CContainerUI::Move(SIZE offset, bool invalidate)
{
    CControlUI::Move(offset, invalidate);
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible())
        m_pVerticalScrollBar->Move(offset, false);
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        m_pHorizontalScrollBar->Move(offset, false);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (child->IsVisible())
            child->Move(offset, false);
    }
}

void CContainerUI::SetVisible(bool visible)
{
    if (m_bVisible == visible)
        return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i)
        static_cast<CControlUI*>(m_items[i])->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i)
        static_cast<CControlUI*>(m_items[i])->SetInternVisible(IsVisible());
}

void CContainerUI::SetEnabled(bool enable)
{
    if (m_bEnabled == enable)
        return;
    m_bEnabled = enable;
    for (int i = 0; i < m_items.GetSize(); ++i)
        static_cast<CControlUI*>(m_items[i])->SetEnabled(enable);
    Invalidate();
}

void CContainerUI::SetMouseEnabled(bool enable)
{
    if (m_pVerticalScrollBar != nullptr)
        m_pVerticalScrollBar->SetMouseEnabled(enable);
    if (m_pHorizontalScrollBar != nullptr)
        m_pHorizontalScrollBar->SetMouseEnabled(enable);
    CControlUI::SetMouseEnabled(enable);
}

// --- searching ---

CControlUI* CContainerUI::FindControl(FindControlProc proc, LPVOID data, UINT flags)
{
    if ((flags & FindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((flags & FindEnabled) != 0 && !IsEnabled())
        return nullptr;
    const bool hitTest = (flags & FindHitTest) != 0;
    if (hitTest && (data == nullptr || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(data))))
        return nullptr;
    if ((flags & FindUpdateTest) != 0 && proc(this, data) != nullptr)
        return nullptr;

    const bool mouseAllowed = !hitTest || IsMouseEnabled();
    CControlUI* result = nullptr;
    if ((flags & FindMeFirst) != 0 && mouseAllowed)
        result = proc(this, data);
    if (result == nullptr && mouseAllowed && m_pVerticalScrollBar != nullptr)
        result = m_pVerticalScrollBar->FindControl(proc, data, flags);
    if (result == nullptr && mouseAllowed && m_pHorizontalScrollBar != nullptr)
        result = m_pHorizontalScrollBar->FindControl(proc, data, flags);
    if (result != nullptr)
        return result;

    if (!hitTest || m_bMouseChildEnabled) {
        const RECT rc = GetViewRect();
        const int count = m_items.GetSize();
        const bool topFirst = (flags & FindTopFirst) != 0;
        for (int n = 0; n < count; ++n) {
            auto* child = static_cast<CControlUI*>(m_items[topFirst ? count - 1 - n : n]);
            CControlUI* found = child->FindControl(proc, data, flags);
            if (found == nullptr)
                continue;
            // A hit in the inset or under a bar reaches only floating children.
            if (!hitTest || found->IsFloat() || ::PtInRect(&rc, *static_cast<const POINT*>(data)))
                return found;
        }
    }

    if ((flags & FindMeFirst) == 0 && mouseAllowed)
        return proc(this, data);
    return nullptr;
}

// --- events ---

void CContainerUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    if (event.type == EventSetFocus) {
        m_bFocused = true;
        return;
    }
    if (event.type == EventKillFocus) {
        m_bFocused = false;
        return;
    }
    static constexpr ScrollSteps kVertical = {&CContainerUI::PageUp,   &CContainerUI::PageDown,
                                              &CContainerUI::EndDown,  &CContainerUI::HomeUp,
                                              &CContainerUI::LineUp,   &CContainerUI::LineDown};
    static constexpr ScrollSteps kHorizontal = {&CContainerUI::PageLeft, &CContainerUI::PageRight,
                                                &CContainerUI::EndRight, &CContainerUI::HomeLeft,
                                                &CContainerUI::LineLeft, &CContainerUI::LineRight};
    if (!m_bExternalVScroll && m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible() &&
        m_pVerticalScrollBar->IsEnabled() && RunScrollStep(*this, event, kVertical))
        return;
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible() &&
        m_pHorizontalScrollBar->IsEnabled() && RunScrollStep(*this, event, kHorizontal))
        return;
    CControlUI::DoEvent(event);
}

// --- attributes ---

void CContainerUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == nullptr)
        return;
    if (value == nullptr)
        value = L"";

    if (Is(name, L"inset")) {
        const RECT rc = ParseRect(value);
        SetInset(rc.left, rc.top, rc.right, rc.bottom);
    } else if (Is(name, L"mousechild")) {
        SetMouseChildEnabled(IsTrue(value));
    } else if (Is(name, L"vscrollbar")) {
        EnableScrollBar(IsTrue(value), m_pHorizontalScrollBar != nullptr);
    } else if (Is(name, L"vscrollbarstyle")) {
        m_sVerticalScrollBarStyle = value;
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        if (m_pVerticalScrollBar != nullptr) {
            LPCWSTR style = m_pManager != nullptr ? m_pManager->GetStyle(value) : nullptr;
            m_pVerticalScrollBar->ApplyAttributeList(style != nullptr ? style : value);
        }
    } else if (Is(name, L"hscrollbar")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, IsTrue(value));
    } else if (Is(name, L"hscrollbarstyle")) {
        m_sHorizontalScrollBarStyle = value;
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        if (m_pHorizontalScrollBar != nullptr) {
            LPCWSTR style = m_pManager != nullptr ? m_pManager->GetStyle(value) : nullptr;
            m_pHorizontalScrollBar->ApplyAttributeList(style != nullptr ? style : value);
        }
    } else if (Is(name, L"childpadding")) {
        SetChildPadding(_wtoi(value));
    } else if (std::wcscmp(name, L"childalign") == 0) {
        // Name and values are case-sensitive here, unlike the other attributes.
        if (std::wcscmp(value, L"left") == 0)
            m_iChildAlign = DT_LEFT;
        else if (std::wcscmp(value, L"center") == 0)
            m_iChildAlign = DT_CENTER;
        else if (std::wcscmp(value, L"right") == 0)
            m_iChildAlign = DT_RIGHT;
    } else if (std::wcscmp(name, L"childvalign") == 0) {
        if (std::wcscmp(value, L"top") == 0)
            m_iChildVAlign = DT_TOP;
        else if (std::wcscmp(value, L"vcenter") == 0)
            m_iChildVAlign = DT_VCENTER;
        else if (std::wcscmp(value, L"bottom") == 0)
            m_iChildVAlign = DT_BOTTOM;
    } else if (Is(name, L"scrollstepsize")) {
        SetScrollStepSize(_wtoi(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

// --- painting ---

bool CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    RECT temp = {};
    if (!::IntersectRect(&temp, &rcPaint, &m_rcItem))
        return true;

    CUIClipGuard clip;
    CUIClipGuard::GenerateClip(hDC, temp, clip);
    CControlUI::DoPaint(hDC, rcPaint, stopControl);

    if (!m_items.IsEmpty()) {
        const RECT rc = GetViewRect();

        RECT inner = {};
        if (!::IntersectRect(&inner, &rcPaint, &rc)) {
            for (int i = 0; i < m_items.GetSize(); ++i) {
                auto* child = static_cast<CControlUI*>(m_items[i]);
                if (child == stopControl)
                    return false;
                if (!child->IsVisible() || !child->IsFloat())
                    continue;
                if (!Meets(child->GetPos(), rcPaint) || !Meets(child->GetPos(), m_rcItem))
                    continue;
                if (!child->Paint(hDC, rcPaint, stopControl))
                    return false;
            }
        } else {
            CUIClipGuard childClip;
            CUIClipGuard::GenerateClip(hDC, inner, childClip);
            for (int i = 0; i < m_items.GetSize(); ++i) {
                auto* child = static_cast<CControlUI*>(m_items[i]);
                if (child == stopControl)
                    return false;
                if (!child->IsVisible() || !Meets(child->GetPos(), rcPaint))
                    continue;
                if (child->IsFloat()) {
                    if (!Meets(child->GetPos(), m_rcItem))
                        continue;
                    // Floating children may draw over the inset, under the container's own clip.
                    CUIClipGuard::UseOldClipBegin(hDC, childClip);
                    const bool go = child->Paint(hDC, rcPaint, stopControl);
                    CUIClipGuard::UseOldClipEnd(hDC, childClip);
                    if (!go)
                        return false;
                } else {
                    if (!Meets(child->GetPos(), rc))
                        continue;
                    if (!child->Paint(hDC, rcPaint, stopControl))
                        return false;
                }
            }
        }
    }

    for (CControlUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar == nullptr || !bar->IsVisible())
            continue;
        if (bar == stopControl)
            return false;
        if (Meets(bar->GetPos(), rcPaint) && !bar->Paint(hDC, rcPaint, stopControl))
            return false;
    }
    return true;
}

// --- inset, padding, alignment ---

RECT CContainerUI::GetInset() const
{
    return ScaleRectValue(m_rcInset);
}

void CContainerUI::SetInset(int left, int top, int right, int bottom)
{
    m_rcInset = RECT{left, top, right, bottom};
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return ScaleValue(m_iChildPadding);
}

void CContainerUI::SetChildPadding(int padding)
{
    m_iChildPadding = padding;
    NeedUpdate();
}

UINT CContainerUI::GetChildAlign() const
{
    return m_iChildAlign;
}

void CContainerUI::SetChildAlign(UINT align)
{
    m_iChildAlign = align;
    NeedUpdate();
}

UINT CContainerUI::GetChildVAlign() const
{
    return m_iChildVAlign;
}

void CContainerUI::SetChildVAlign(UINT align)
{
    m_iChildVAlign = align;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool autoDestroy)
{
    m_bAutoDestroy = autoDestroy;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool delayed)
{
    m_bDelayedDestroy = delayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool enable)
{
    m_bMouseChildEnabled = enable;
}

int CContainerUI::FindSelectable(int index, bool forward) const
{
    const int count = m_items.GetSize();
    if (count == 0)
        return -1;
    if (index < 0)
        index = 0;
    if (index >= count)
        index = count - 1;
    const auto selectable = [this](int i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        return child->GetInterface(L"ListItem") != nullptr && child->IsVisible() && child->IsEnabled();
    };
    if (forward) {
        for (int i = index; i < count; ++i) {
            if (selectable(i))
                return i;
        }
        return -1;
    }
    for (int i = index; i >= 0; --i) {
        if (selectable(i))
            return i;
    }
    return FindSelectable(0, true);
}

// --- scroll bar access ---

bool CContainerUI::IsVScrollVisible() const
{
    return m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
}

bool CContainerUI::IsHScrollVisible() const
{
    return m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();
}

int CContainerUI::GetVScrollPos() const
{
    return m_pVerticalBar != nullptr ? m_pVerticalBar->GetScrollPos() : 0;
}

int CContainerUI::GetVScrollRange() const
{
    return m_pVerticalBar != nullptr ? m_pVerticalBar->GetScrollRange() : 0;
}

int CContainerUI::GetHScrollPos() const
{
    return m_pHorizontalBar != nullptr ? m_pHorizontalBar->GetScrollPos() : 0;
}

int CContainerUI::GetHScrollRange() const
{
    return m_pHorizontalBar != nullptr ? m_pHorizontalBar->GetScrollRange() : 0;
}

int CContainerUI::GetVScrollWidth() const
{
    return m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetFixedWidth() : 0;
}

int CContainerUI::GetHScrollHeight() const
{
    return m_pHorizontalScrollBar != nullptr ? m_pHorizontalScrollBar->GetFixedHeight() : 0;
}

void CContainerUI::SetVerticalBar(CControlUI* bar)
{
    m_pVerticalScrollBar = bar;
    m_pVerticalBar = ServicesOf(bar);
}

void CContainerUI::SetHorizontalBar(CControlUI* bar)
{
    m_pHorizontalScrollBar = bar;
    m_pHorizontalBar = ServicesOf(bar);
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const
{
    if (m_pVerticalScrollBar == nullptr)
        return nullptr;
    return static_cast<CScrollBarUI*>(m_pVerticalScrollBar->GetInterface(kScrollBarInterface));
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const
{
    if (m_pHorizontalScrollBar == nullptr)
        return nullptr;
    return static_cast<CScrollBarUI*>(m_pHorizontalScrollBar->GetInterface(kScrollBarInterface));
}

// --- scrolling ---

SIZE CContainerUI::GetScrollPos() const
{
    return SIZE{IsHScrollVisible() ? GetHScrollPos() : 0, IsVScrollVisible() ? GetVScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const
{
    return SIZE{IsHScrollVisible() ? GetHScrollRange() : 0, IsVScrollVisible() ? GetVScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE pos, bool notify)
{
    int dy = 0;
    if (IsVScrollVisible() && m_pVerticalBar != nullptr) {
        const int old = m_pVerticalBar->GetScrollPos();
        m_pVerticalBar->SetScrollPos(pos.cy);
        dy = m_pVerticalBar->GetScrollPos() - old;
    }
    int dx = 0;
    if (IsHScrollVisible() && m_pHorizontalBar != nullptr) {
        const int old = m_pHorizontalBar->GetScrollPos();
        m_pHorizontalBar->SetScrollPos(pos.cx);
        dx = m_pHorizontalBar->GetScrollPos() - old;
    }
    if (dx == 0 && dy == 0)
        return;

    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (!child->IsVisible() || child->IsFloat())
            continue;
        RECT rc = child->GetPos();
        ::OffsetRect(&rc, -dx, -dy);
        child->SetPos(rc, true);
    }
    Invalidate();

    if (m_pVerticalBar != nullptr && m_pManager != nullptr && notify) {
        // The line size may be 0 (the "linesize" attribute): count pixel lines then.
        int lineSize = m_pVerticalBar->GetLineSize();
        if (lineSize == 0)
            lineSize = 1;
        const int line = (m_pVerticalBar->GetScrollPos() + lineSize) / lineSize;
        m_pManager->RaiseNotify(this, L"scroll", static_cast<WPARAM>(line), 0);
    }
}

void CContainerUI::SetScrollStepSize(int step)
{
    if (step > 0)
        m_nScrollStepSize = step;
}

int CContainerUI::GetScrollStepSize() const
{
    return ScaleValue(m_nScrollStepSize);
}

int CContainerUI::VerticalLineStep() const
{
    int step = GetScrollStepSize();
    if (step == 0) {
        // The default step is a text line and a margin, both at the window's scale.
        step = ScaleValue(8);
        if (m_pManager != nullptr)
            step += m_pManager->GetDefaultFontInfo()->metrics.tmHeight;
    }
    return step;
}

int CContainerUI::HorizontalLineStep() const
{
    return GetScrollStepSize() != 0 ? GetScrollStepSize() : ScaleValue(8);
}

int CContainerUI::VerticalPage() const
{
    const RECT inset = GetInset();
    int page = (m_rcItem.bottom - m_rcItem.top) - inset.top - inset.bottom;
    if (IsHScrollVisible())
        page -= GetHScrollHeight();
    return page;
}

int CContainerUI::HorizontalPage() const
{
    const RECT inset = GetInset();
    int page = (m_rcItem.right - m_rcItem.left) - inset.left - inset.right;
    if (IsVScrollVisible())
        page -= GetVScrollWidth();
    return page;
}

void CContainerUI::ScrollBy(int dx, int dy)
{
    SIZE pos = GetScrollPos();
    pos.cx += dx;
    pos.cy += dy;
    SetScrollPos(pos, true);
}

void CContainerUI::FlushPendingLayout()
{
    // A pending layout changes the range: let the window paint first.
    if (m_pManager != nullptr && m_pManager->GetWindowHandle() != nullptr)
        ::UpdateWindow(m_pManager->GetWindowHandle());
}

void CContainerUI::LineUp()
{
    ScrollBy(0, -VerticalLineStep());
}

void CContainerUI::LineDown()
{
    ScrollBy(0, VerticalLineStep());
}

void CContainerUI::PageUp()
{
    ScrollBy(0, -VerticalPage());
}

void CContainerUI::PageDown()
{
    ScrollBy(0, VerticalPage());
}

void CContainerUI::HomeUp()
{
    SIZE pos = GetScrollPos();
    pos.cy = 0;
    SetScrollPos(pos, true);
}

void CContainerUI::EndDown()
{
    FlushPendingLayout();
    SIZE pos = GetScrollPos();
    pos.cy = GetScrollRange().cy;
    SetScrollPos(pos, true);
}

void CContainerUI::LineLeft()
{
    ScrollBy(-HorizontalLineStep(), 0);
}

void CContainerUI::LineRight()
{
    ScrollBy(HorizontalLineStep(), 0);
}

void CContainerUI::PageLeft()
{
    ScrollBy(-HorizontalPage(), 0);
}

void CContainerUI::PageRight()
{
    ScrollBy(HorizontalPage(), 0);
}

void CContainerUI::HomeLeft()
{
    SIZE pos = GetScrollPos();
    pos.cx = 0;
    SetScrollPos(pos, true);
}

void CContainerUI::EndRight()
{
    FlushPendingLayout();
    SIZE pos = GetScrollPos();
    pos.cx = GetScrollRange().cx;
    SetScrollPos(pos, true);
}

void CContainerUI::CreateOwnBar(bool horizontal)
{
    CControlUI* bar = g_scrollBarCreator();
    IScrollBarServicesUI* services = ServicesOf(bar);
    if (services == nullptr) {
        delete bar;
        return;
    }
    if (horizontal) {
        SetHorizontalBar(bar);
        services->SetHorizontal(true);
    } else {
        SetVerticalBar(bar);
        m_bExternalVScroll = false;
    }
    services->SetOwner(this);
    bar->SetManager(m_pManager, nullptr, false);
    LPCWSTR defaults =
        m_pManager != nullptr ? m_pManager->GetClassDefaults(horizontal ? L"HScrollBar" : L"VScrollBar") : nullptr;
    if (defaults != nullptr)
        bar->ApplyAttributeList(defaults);
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal)
{
    if (vertical && m_pVerticalScrollBar == nullptr) {
        CreateOwnBar(false);
    } else if (!vertical && m_pVerticalScrollBar != nullptr) {
        // A bar attached from outside belongs to whoever attached it: forget it only.
        if (!m_bExternalVScroll)
            delete m_pVerticalScrollBar;
        SetVerticalBar(nullptr);
        m_bExternalVScroll = false;
    }

    if (horizontal && m_pHorizontalScrollBar == nullptr) {
        CreateOwnBar(true);
    } else if (!horizontal && m_pHorizontalScrollBar != nullptr) {
        delete m_pHorizontalScrollBar;
        SetHorizontalBar(nullptr);
    }
    NeedUpdate();
}

void CContainerUI::AttachVerticalScrollBar(CControlUI* bar)
{
    IScrollBarServicesUI* services = ServicesOf(bar);
    if (services == nullptr)
        return;
    // Only a bar the container made is its to delete; an earlier attached one is just dropped.
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar != bar && !m_bExternalVScroll)
        delete m_pVerticalScrollBar;
    m_bExternalVScroll = true;
    services->SetOwner(this);
    bar->SetVisible(false);
    SetVerticalBar(bar);
}

// --- placement ---

void CContainerUI::PlaceFloatingChild(int index)
{
    CControlUI* child = GetItemAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloat())
        return;

    const SIZE xy = child->GetFixedXY();
    const int cx = child->GetFixedWidth();
    const int cy = child->GetFixedHeight();
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = m_rcItem.bottom - m_rcItem.top;
    RECT rc = {};
    const UINT align = child->GetFloatAlign();
    if (align != 0) {
        rc = RECT{0, 0, cx, cy};
        int x = xy.cx;
        if ((align & DT_CENTER) != 0)
            x = (width - cx) / 2;
        else if ((align & DT_RIGHT) != 0)
            x = width - cx;
        int y = xy.cy;
        if ((align & DT_VCENTER) != 0)
            y = (height - cy) / 2;
        else if ((align & DT_BOTTOM) != 0)
            y = height - cy;
        ::OffsetRect(&rc, x + m_rcItem.left, y + m_rcItem.top);
    } else {
        double pl = 0;
        double pt = 0;
        double pr = 0;
        double pb = 0;
        child->GetFloatPercent(pl, pt, pr, pb);
        const int baseX = xy.cx < 0 ? m_rcItem.right : m_rcItem.left;
        const int baseY = xy.cy < 0 ? m_rcItem.bottom : m_rcItem.top;
        rc.left = baseX + xy.cx + static_cast<int>(width * pl);
        rc.top = baseY + xy.cy + static_cast<int>(height * pt);
        rc.right = baseX + xy.cx + cx + static_cast<int>(width * pr);
        rc.bottom = baseY + xy.cy + cy + static_cast<int>(height * pb);
    }
    child->SetPos(rc, false);
}

void CContainerUI::Replace()
{
    SetPos(m_rcItem, true);
}

bool CContainerUI::UpdateBar(CControlUI* bar, IScrollBarServicesUI* services, int overflow, const RECT& barRect)
{
    const bool visible = bar->IsVisible();
    if (overflow > 0 && !visible) {
        bar->SetVisible(true);
        services->SetScrollRange(overflow);
        services->SetScrollPos(0);
        Replace();
        return true;
    }
    if (visible && overflow <= 0) {
        bar->SetVisible(false);
        services->SetScrollPos(0);
        services->SetScrollRange(0);
        Replace();
        return true;
    }
    if (visible) {
        bar->SetPos(barRect, true);
        if (services->GetScrollRange() != overflow) {
            const int oldPos = services->GetScrollPos();
            services->SetScrollRange(overflow);
            // The range clamped the position: the content has to follow.
            if (services->GetScrollPos() < oldPos) {
                Replace();
                return true;
            }
        }
    }
    return false;
}

void CContainerUI::UpdateScrollBars(RECT rc, int requiredWidth, int requiredHeight)
{
    // A re-place lays out again and decides both bars with the new rectangle; going on here
    // with the old one would size the vertical bar and its range for a horizontal bar that
    // has just gone (or come).
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalBar != nullptr) {
        const RECT bar = {rc.left, rc.bottom, rc.right, rc.bottom + m_pHorizontalScrollBar->GetFixedHeight()};
        if (UpdateBar(m_pHorizontalScrollBar, m_pHorizontalBar, requiredWidth - (rc.right - rc.left), bar))
            return;
    }
    if (m_pVerticalScrollBar != nullptr && m_pVerticalBar != nullptr) {
        const RECT bar = {rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(), rc.bottom};
        UpdateBar(m_pVerticalScrollBar, m_pVerticalBar, requiredHeight - (rc.bottom - rc.top), bar);
    }
}

// --- named sub-controls ---

CControlUI* CContainerUI::FindNamedSubControl(LPCWSTR name)
{
    if (m_pManager == nullptr)
        return nullptr;
    return m_pManager->FindSubControlByName(this, name);
}

int CContainerUI::GetNamedSubControlFixedHeight(LPCWSTR name)
{
    CControlUI* control = FindNamedSubControl(name);
    return control != nullptr ? control->GetFixedHeight() : -1;
}

int CContainerUI::GetNamedSubControlFixedWidth(LPCWSTR name)
{
    CControlUI* control = FindNamedSubControl(name);
    return control != nullptr ? control->GetFixedWidth() : -1;
}

CUIString CContainerUI::GetNamedSubControlText(LPCWSTR name)
{
    CControlUI* control = FindNamedSubControl(name);
    return control != nullptr ? control->GetText() : CUIString();
}

CUIString CContainerUI::GetNamedSubControlUserData(LPCWSTR name)
{
    CControlUI* control = FindNamedSubControl(name);
    return control != nullptr ? control->GetUserData() : CUIString();
}

bool CContainerUI::SetNamedSubControlFixedHeight(LPCWSTR name, int cy)
{
    CControlUI* control = FindNamedSubControl(name);
    if (control == nullptr)
        return false;
    control->SetFixedHeight(cy);
    return true;
}

bool CContainerUI::SetNamedSubControlFixedWidth(LPCWSTR name, int cx)
{
    CControlUI* control = FindNamedSubControl(name);
    if (control == nullptr)
        return false;
    control->SetFixedWidth(cx);
    return true;
}

bool CContainerUI::SetNamedSubControlText(LPCWSTR name, LPCWSTR text)
{
    CControlUI* control = FindNamedSubControl(name);
    if (control == nullptr)
        return false;
    control->SetText(text);
    return true;
}

bool CContainerUI::SetNamedSubControlUserData(LPCWSTR name, LPCWSTR data)
{
    CControlUI* control = FindNamedSubControl(name);
    if (control == nullptr)
        return false;
    control->SetUserData(data);
    return true;
}

} // namespace ZvUI

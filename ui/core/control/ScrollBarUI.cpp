// Scroll bar: part geometry, press/hold/drag handling on the repeat timer, and per-part painting.
#include "control/ScrollBarUI.h"

#include <cwchar>
#include <cstdlib>

#include "control/ButtonUI.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using attr::Is;
using attr::IsTrue;

namespace {

constexpr UINT kRepeatElapse = 50;
// Ticks a held button or rail waits before it repeats (about 300 ms).
constexpr int kRepeatDelayTicks = 5;
constexpr DWORD kOutlineColor = 0xFF85E4FF;

constexpr UINT kDisabled = ButtonStateDisabled;
constexpr UINT kHot = ButtonStateHot;
constexpr UINT kPushed = ButtonStatePushed;
constexpr UINT kCaptured = ButtonStateCaptured;

bool IsZero(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

struct ImageAttribute {
    LPCWSTR name;
    CScrollBarUI::Part part;
    CScrollBarUI::ImageState state;
};

constexpr ImageAttribute kImageAttributes[] = {
    {L"button1normalimage", CScrollBarUI::PartButton1, CScrollBarUI::ImageNormal},
    {L"button1hotimage", CScrollBarUI::PartButton1, CScrollBarUI::ImageHot},
    {L"button1pushedimage", CScrollBarUI::PartButton1, CScrollBarUI::ImagePushed},
    {L"button1disabledimage", CScrollBarUI::PartButton1, CScrollBarUI::ImageDisabled},
    {L"button2normalimage", CScrollBarUI::PartButton2, CScrollBarUI::ImageNormal},
    {L"button2hotimage", CScrollBarUI::PartButton2, CScrollBarUI::ImageHot},
    {L"button2pushedimage", CScrollBarUI::PartButton2, CScrollBarUI::ImagePushed},
    {L"button2disabledimage", CScrollBarUI::PartButton2, CScrollBarUI::ImageDisabled},
    {L"thumbnormalimage", CScrollBarUI::PartThumb, CScrollBarUI::ImageNormal},
    {L"thumbhotimage", CScrollBarUI::PartThumb, CScrollBarUI::ImageHot},
    {L"thumbpushedimage", CScrollBarUI::PartThumb, CScrollBarUI::ImagePushed},
    {L"thumbdisabledimage", CScrollBarUI::PartThumb, CScrollBarUI::ImageDisabled},
    {L"railnormalimage", CScrollBarUI::PartRail, CScrollBarUI::ImageNormal},
    {L"railhotimage", CScrollBarUI::PartRail, CScrollBarUI::ImageHot},
    {L"railpushedimage", CScrollBarUI::PartRail, CScrollBarUI::ImagePushed},
    {L"raildisabledimage", CScrollBarUI::PartRail, CScrollBarUI::ImageDisabled},
    {L"bknormalimage", CScrollBarUI::PartBk, CScrollBarUI::ImageNormal},
    {L"bkhotimage", CScrollBarUI::PartBk, CScrollBarUI::ImageHot},
    {L"bkpushedimage", CScrollBarUI::PartBk, CScrollBarUI::ImagePushed},
    {L"bkdisabledimage", CScrollBarUI::PartBk, CScrollBarUI::ImageDisabled},
};

// The state image a part shows: disabled, else pushed, else hot; -1 for none.
int StateImage(UINT state)
{
    if ((state & kDisabled) != 0)
        return CScrollBarUI::ImageDisabled;
    if ((state & kPushed) != 0)
        return CScrollBarUI::ImagePushed;
    if ((state & kHot) != 0)
        return CScrollBarUI::ImageHot;
    return -1;
}

// Each part's disabled bit follows the control's enabled state at paint time.
void SyncDisabled(UINT& state, bool enabled)
{
    if (enabled)
        state &= ~kDisabled;
    else
        state |= kDisabled;
}

} // namespace

CScrollBarUI::CScrollBarUI()
{
    m_cxyFixed.cx = 16;
}

CScrollBarUI::~CScrollBarUI() = default;

LPCWSTR CScrollBarUI::GetClass() const
{
    return L"ScrollBarUI";
}

LPVOID CScrollBarUI::GetInterface(LPCWSTR name)
{
    if (Is(name, kScrollBarInterface))
        return this;
    if (Is(name, kScrollBarServicesInterface))
        return static_cast<IScrollBarServicesUI*>(this);
    return CControlUI::GetInterface(name);
}

// --- state ---

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal)
        return;
    m_bHorizontal = horizontal;
    if (horizontal) {
        if (m_cxyFixed.cy == 0) {
            m_cxyFixed.cy = 16;
            m_cxyFixed.cx = 0;
        }
    } else if (m_cxyFixed.cx == 0) {
        m_cxyFixed.cx = 16;
        m_cxyFixed.cy = 0;
    }
    if (m_pOwner != nullptr)
        m_pOwner->NeedUpdate();
    else
        NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int range)
{
    if (m_nRange == range)
        return;
    m_nRange = range < 0 ? 0 : range;
    if (m_nScrollPos > m_nRange)
        m_nScrollPos = m_nRange;
    Replace();
}

void CScrollBarUI::SetScrollPos(int pos)
{
    if (m_nScrollPos == pos)
        return;
    if (pos < 0)
        pos = 0;
    m_nScrollPos = pos > m_nRange ? m_nRange : pos;
    Replace();
}

void CScrollBarUI::SetShowButton1(bool show)
{
    m_bShowButton1 = show;
    Replace();
}

void CScrollBarUI::SetShowButton2(bool show)
{
    m_bShowButton2 = show;
    Replace();
}

void CScrollBarUI::SetImage(Part part, ImageState state, LPCWSTR descriptor)
{
    m_images[part][state] = descriptor != nullptr ? descriptor : L"";
    Invalidate();
}

void CScrollBarUI::SetVisible(bool visible)
{
    // The owner's UpdateScrollBars re-places its own layout; no relayout is asked for here.
    if (m_bVisible == visible)
        return;
    m_bVisible = visible;
    m_bFocused = false;
    if (!visible)
        StopRepeat();
}

void CScrollBarUI::OnShownChanged(bool shown)
{
    if (!shown)
        StopRepeat();
}

void CScrollBarUI::StopRepeat()
{
    m_nScrollRepeatDelay = 0;
    m_nLastScrollOffset = 0;
    if (m_pManager != nullptr)
        m_pManager->KillTimer(this, ScrollRepeatTimer);
    if ((m_uThumbState & (kPushed | kCaptured)) != 0 || (m_uButton1State & kPushed) != 0 ||
        (m_uButton2State & kPushed) != 0)
        Invalidate();
    m_uThumbState &= ~(kPushed | kCaptured);
    m_uButton1State &= ~kPushed;
    m_uButton2State &= ~kPushed;
}

void CScrollBarUI::SetEnabled(bool enable)
{
    CControlUI::SetEnabled(enable);
    if (!IsEnabled()) {
        m_uButton1State = 0;
        m_uButton2State = 0;
        m_uThumbState = 0;
    }
}

void CScrollBarUI::SetFocus()
{
    if (m_pOwner != nullptr)
        m_pOwner->SetFocus();
    else
        CControlUI::SetFocus();
}

void CScrollBarUI::Replace()
{
    SetPos(m_rcItem, true);
}

// --- geometry ---

void CScrollBarUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    SIZE fixed = m_cxyFixed;
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->ScaleSize(fixed);
    const int t = m_bHorizontal ? fixed.cy : fixed.cx;
    const int start = AxisStart(m_rcItem);
    const int end = AxisEnd(m_rcItem);
    const int crossStart = m_bHorizontal ? m_rcItem.top : m_rcItem.left;
    const int extent = end - start;
    int space = extent;
    if (m_bShowButton1)
        space -= t;
    if (m_bShowButton2)
        space -= t;
    const bool roomForThumb = t < space;
    // Without room for a thumb the buttons share the length, each at most as long as thick.
    const int buttonLen = roomForThumb ? t : (extent / 2 < t ? extent / 2 : t);
    m_rcButton1 = m_bShowButton1 ? AlongAxis(start, start + buttonLen, crossStart, crossStart + t)
                                 : AlongAxis(start, start, crossStart, crossStart);
    m_rcButton2 = m_bShowButton2 ? AlongAxis(end - buttonLen, end, crossStart, crossStart + t)
                                 : AlongAxis(end, end, crossStart, crossStart);
    if (!roomForThumb) {
        m_rcThumb = RECT{0, 0, 0, 0};
        return;
    }

    const int railStart = AxisEnd(m_rcButton1);
    const int railEnd = AxisStart(m_rcButton2);
    int thumbStart = railStart;
    int thumbEnd = railEnd;
    if (m_nRange > 0) {
        int thumbLen = static_cast<int>(static_cast<__int64>(extent) * space / (extent + m_nRange));
        if (thumbLen < t)
            thumbLen = t;
        // The horizontal bar places the thumb in exact integers, the vertical one in floats.
        if (m_bHorizontal) {
            thumbStart = static_cast<int>(m_nScrollPos * (space - thumbLen) / m_nRange) + railStart;
        } else {
            const float share = static_cast<float>(m_nScrollPos) / static_cast<float>(m_nRange);
            thumbStart = static_cast<int>(share * static_cast<float>(space - thumbLen)) + railStart;
        }
        thumbEnd = thumbStart + thumbLen;
        if (thumbEnd > railEnd) {
            thumbStart = railEnd - thumbLen;
            thumbEnd = railEnd;
        }
    }
    m_rcThumb = AlongAxis(thumbStart, thumbEnd, crossStart, crossStart + t);
}

int CScrollBarUI::AxisStart(const RECT& rc) const
{
    return m_bHorizontal ? rc.left : rc.top;
}

int CScrollBarUI::AxisEnd(const RECT& rc) const
{
    return m_bHorizontal ? rc.right : rc.bottom;
}

RECT CScrollBarUI::AlongAxis(int start, int end, int crossStart, int crossEnd) const
{
    return m_bHorizontal ? RECT{start, crossStart, end, crossEnd} : RECT{crossStart, start, crossEnd, end};
}

// --- movements ---

void CScrollBarUI::Step(void (CContainerUI::*horizontalStep)(), void (CContainerUI::*verticalStep)(), int delta)
{
    if (m_pOwner != nullptr)
        (m_pOwner->*(m_bHorizontal ? horizontalStep : verticalStep))();
    else
        SetScrollPos(ClampToRange(m_nScrollPos + delta));
}

int CScrollBarUI::ClampToRange(__int64 pos) const
{
    if (pos < 0)
        return 0;
    return static_cast<int>(pos > m_nRange ? m_nRange : pos);
}

int CScrollBarUI::PageLength() const
{
    return AxisEnd(m_rcItem) - AxisStart(m_rcItem);
}

void CScrollBarUI::LineBack()
{
    Step(&CContainerUI::LineLeft, &CContainerUI::LineUp, -m_nLineSize);
}

void CScrollBarUI::LineForward()
{
    Step(&CContainerUI::LineRight, &CContainerUI::LineDown, m_nLineSize);
}

void CScrollBarUI::PageBack()
{
    Step(&CContainerUI::PageLeft, &CContainerUI::PageUp, -PageLength());
}

void CScrollBarUI::PageForward()
{
    Step(&CContainerUI::PageRight, &CContainerUI::PageDown, PageLength());
}

void CScrollBarUI::RaiseScroll()
{
    if (m_pManager != nullptr)
        m_pManager->RaiseNotify(this, L"scroll", 0, 0);
}

// --- events ---

void CScrollBarUI::DoEvent(UIControlEvent& event)
{
    const bool mouseEvent = event.type > EventMouseBegin && event.type < EventMouseEnd;
    if (!IsMouseEnabled() && mouseEvent) {
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }

    const POINT pt = event.mousePoint;
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus:
    case EventContextMenu:
        return;

    case EventButtonDown:
    case EventDoubleClick: {
        if (!IsEnabled())
            return;
        m_nLastScrollOffset = 0;
        m_nScrollRepeatDelay = 0;
        if (m_pManager != nullptr)
            (void)m_pManager->SetTimer(this, ScrollRepeatTimer, kRepeatElapse);
        const int coord = m_bHorizontal ? pt.x : pt.y;
        const int thumbStart = AxisStart(m_rcThumb);
        const int thumbEnd = AxisEnd(m_rcThumb);
        if (::PtInRect(&m_rcButton1, pt)) {
            m_uButton1State |= kPushed;
            LineBack();
        } else if (::PtInRect(&m_rcButton2, pt)) {
            m_uButton2State |= kPushed;
            LineForward();
        } else if (::PtInRect(&m_rcThumb, pt)) {
            m_uThumbState |= kPushed | kCaptured;
            m_ptLastMouse = pt;
            m_nLastScrollPos = m_nScrollPos;
        } else if (coord < thumbStart) {
            PageBack();
        } else if (coord > thumbEnd) {
            PageForward();
        }
        RaiseScroll();
        return;
    }

    case EventButtonUp:
        m_nScrollRepeatDelay = 0;
        m_nLastScrollOffset = 0;
        if (m_pManager != nullptr)
            m_pManager->KillTimer(this, ScrollRepeatTimer);
        if ((m_uThumbState & kCaptured) != 0) {
            m_uThumbState &= ~(kPushed | kCaptured);
            Invalidate();
        } else if ((m_uButton1State & kPushed) != 0) {
            m_uButton1State &= ~kPushed;
            Invalidate();
        } else if ((m_uButton2State & kPushed) != 0) {
            m_uButton2State &= ~kPushed;
            Invalidate();
        }
        return;

    case EventMouseMove:
        if ((m_uThumbState & kCaptured) != 0) {
            // The thumb travels over the rail less its own length; scaled like the rail.
            SIZE fixed = m_cxyFixed;
            if (m_pManager != nullptr)
                m_pManager->GetDpiHelper()->ScaleSize(fixed);
            const int thickness = m_bHorizontal ? fixed.cy : fixed.cx;
            const int d = m_bHorizontal ? pt.x - m_ptLastMouse.x : pt.y - m_ptLastMouse.y;
            int denominator = m_bHorizontal ? (m_rcItem.right - m_rcItem.left) - (m_rcThumb.right - m_rcThumb.left)
                                            : (m_rcItem.bottom - m_rcItem.top) - (m_rcThumb.bottom - m_rcThumb.top);
            if (m_bShowButton1)
                denominator -= thickness;
            if (m_bShowButton2)
                denominator -= thickness;
            if (denominator != 0)
                m_nLastScrollOffset = static_cast<__int64>(d) * m_nRange / std::abs(denominator);
        } else if ((m_uThumbState & kHot) != 0) {
            if (!::PtInRect(&m_rcThumb, pt)) {
                m_uThumbState &= ~kHot;
                Invalidate();
            }
        } else if (IsEnabled() && ::PtInRect(&m_rcThumb, pt)) {
            m_uThumbState |= kHot;
            Invalidate();
        }
        return;

    case EventTimer:
        if (event.wParam != ScrollRepeatTimer)
            break;
        // A held press on a bar that has gone from sight (its owner hidden, a tab page
        // switched) would go on paging what nobody sees.
        if (!IsVisible() || (m_pOwner != nullptr && !m_pOwner->IsVisible())) {
            StopRepeat();
            return;
        }
        ++m_nScrollRepeatDelay;
        if ((m_uThumbState & kCaptured) != 0) {
            const int target = ClampToRange(m_nLastScrollPos + m_nLastScrollOffset);
            if (m_pOwner != nullptr) {
                const SIZE ownerPos = m_pOwner->GetScrollPos();
                m_pOwner->SetScrollPos(m_bHorizontal ? SIZE{target, ownerPos.cy} : SIZE{ownerPos.cx, target}, true);
            } else {
                SetScrollPos(target);
            }
            Invalidate();
        } else if ((m_uButton1State & kPushed) != 0) {
            if (m_nScrollRepeatDelay <= kRepeatDelayTicks)
                return;
            LineBack();
        } else if ((m_uButton2State & kPushed) != 0) {
            if (m_nScrollRepeatDelay <= kRepeatDelayTicks)
                return;
            LineForward();
        } else {
            if (m_nScrollRepeatDelay <= kRepeatDelayTicks)
                return;
            POINT cursor = {};
            ::GetCursorPos(&cursor);
            if (m_pManager != nullptr)
                ::ScreenToClient(m_pManager->GetWindowHandle(), &cursor);
            const int coord = m_bHorizontal ? cursor.x : cursor.y;
            // Paging stops once the thumb has reached the cursor.
            if (coord < AxisStart(m_rcThumb))
                PageBack();
            else if (coord > AxisEnd(m_rcThumb))
                PageForward();
        }
        RaiseScroll();
        return;

    case EventMouseEnter:
        if (IsEnabled()) {
            m_uButton1State |= kHot;
            m_uButton2State |= kHot;
            if (::PtInRect(&m_rcThumb, pt))
                m_uThumbState |= kHot;
            Invalidate();
        }
        return;

    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButton1State &= ~kHot;
            m_uButton2State &= ~kHot;
            m_uThumbState &= ~kHot;
            Invalidate();
        }
        return;

    default:
        break;
    }

    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

// --- attributes ---

void CScrollBarUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    for (const ImageAttribute& a : kImageAttributes) {
        if (Is(name, a.name)) {
            SetImage(a.part, a.state, value);
            return;
        }
    }
    if (Is(name, L"hor"))
        SetHorizontal(IsTrue(value));
    else if (Is(name, L"linesize"))
        SetLineSize(_wtoi(value));
    else if (Is(name, L"range"))
        SetScrollRange(_wtoi(value));
    else if (Is(name, L"value"))
        SetScrollPos(_wtoi(value));
    else if (Is(name, L"showbutton1"))
        SetShowButton1(IsTrue(value));
    else if (Is(name, L"showbutton2"))
        SetShowButton2(IsTrue(value));
    else
        CControlUI::SetAttribute(name, value);
}

// --- painting ---

bool CScrollBarUI::DoPaint(HDC hDC, const RECT& /*rcPaint*/, CControlUI* /*stopControl*/)
{
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintBk(hDC);
    PaintButton1(hDC);
    PaintButton2(hDC);
    PaintThumb(hDC);
    PaintRail(hDC);
    PaintBorder(hDC);
    return true;
}

void CScrollBarUI::FormatDest(const RECT& rc)
{
    const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
    // DrawImage scales destinations again: hand it 96-dpi units.
    m_sImageModify.Empty();
    m_sImageModify.FormatShort(L"dest='%d,%d,%d,%d'", ::MulDiv(rc.left - m_rcItem.left, 100, scale),
                               ::MulDiv(rc.top - m_rcItem.top, 100, scale),
                               ::MulDiv(rc.right - m_rcItem.left, 100, scale),
                               ::MulDiv(rc.bottom - m_rcItem.top, 100, scale));
}

bool CScrollBarUI::DrawStateImage(HDC hDC, Part part, UINT state, LPCWSTR modify)
{
    const int chosen = StateImage(state);
    if (chosen >= 0 && !m_images[part][chosen].IsEmpty() && DrawImage(hDC, m_images[part][chosen], modify))
        return true;
    const CUIString& normal = m_images[part][ImageNormal];
    return !normal.IsEmpty() && DrawImage(hDC, normal, modify);
}

bool CScrollBarUI::DrawPart(HDC hDC, Part part, UINT state, const RECT& rc)
{
    FormatDest(rc);
    return DrawStateImage(hDC, part, state, m_sImageModify);
}

void CScrollBarUI::PaintOutlinedPart(HDC hDC, Part part, UINT& state, const RECT& rc)
{
    SyncDisabled(state, IsEnabled());
    if (!DrawPart(hDC, part, state, rc))
        CUIRender::DrawRect(hDC, rc, 2, kOutlineColor);
}

void CScrollBarUI::PaintBk(HDC hDC)
{
    SyncDisabled(m_uThumbState, IsEnabled());
    (void)DrawStateImage(hDC, PartBk, m_uThumbState, nullptr);
}

void CScrollBarUI::PaintButton1(HDC hDC)
{
    if (m_bShowButton1)
        PaintOutlinedPart(hDC, PartButton1, m_uButton1State, m_rcButton1);
}

void CScrollBarUI::PaintButton2(HDC hDC)
{
    if (m_bShowButton2)
        PaintOutlinedPart(hDC, PartButton2, m_uButton2State, m_rcButton2);
}

void CScrollBarUI::PaintThumb(HDC hDC)
{
    if (!IsZero(m_rcThumb))
        PaintOutlinedPart(hDC, PartThumb, m_uThumbState, m_rcThumb);
}

void CScrollBarUI::PaintRail(HDC hDC)
{
    if (IsZero(m_rcThumb))
        return;
    // A mark of the stored (unscaled) thickness, centred on the thumb.
    const int f = m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
    const int c = (AxisStart(m_rcThumb) + AxisEnd(m_rcThumb)) / 2;
    const int crossStart = m_bHorizontal ? m_rcThumb.top : m_rcThumb.left;
    const int crossEnd = m_bHorizontal ? m_rcThumb.bottom : m_rcThumb.right;
    (void)DrawPart(hDC, PartRail, m_uThumbState, AlongAxis(c - f / 2, c - f / 2 + f, crossStart, crossEnd));
}

} // namespace ZvUI

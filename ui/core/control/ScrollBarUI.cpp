// Scroll bar: part geometry, press/hold/drag handling on the repeat timer, and per-part painting.
#include "control/ScrollBarUI.h"

#include <cwchar>
#include <cstdlib>

#include "control/ButtonUI.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

constexpr UINT kRepeatElapse = 50;
// Ticks a held button or rail waits before it repeats (about 300 ms).
constexpr int kRepeatDelayTicks = 5;
constexpr DWORD kOutlineColor = 0xFF85E4FF;

constexpr UINT kDisabled = ButtonStateDisabled;
constexpr UINT kHot = ButtonStateHot;
constexpr UINT kPushed = ButtonStatePushed;
constexpr UINT kCaptured = ButtonStateCaptured;

bool Is(LPCWSTR a, LPCWSTR b)
{
    return _wcsicmp(a, b) == 0;
}

bool IsTrue(LPCWSTR value)
{
    return _wcsicmp(value, L"true") == 0;
}

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
    const RECT& r = m_rcItem;

    if (m_bHorizontal) {
        const int t = fixed.cy;
        const int extent = r.right - r.left;
        int space = extent;
        if (m_bShowButton1)
            space -= t;
        if (m_bShowButton2)
            space -= t;
        if (t < space) {
            m_rcButton1 = m_bShowButton1 ? RECT{r.left, r.top, r.left + t, r.top + t} : RECT{r.left, r.top, r.left, r.top};
            m_rcButton2 = m_bShowButton2 ? RECT{r.right - t, r.top, r.right, r.top + t}
                                         : RECT{r.right, r.top, r.right, r.top};
            m_rcThumb.top = r.top;
            m_rcThumb.bottom = r.top + t;
            if (m_nRange <= 0) {
                m_rcThumb.left = m_rcButton1.right;
                m_rcThumb.right = m_rcButton2.left;
            } else {
                int thumbLen = static_cast<int>(static_cast<__int64>(extent * space) / (extent + m_nRange));
                if (thumbLen < t)
                    thumbLen = t;
                m_rcThumb.left =
                    static_cast<int>(m_nScrollPos * (space - thumbLen) / m_nRange) + m_rcButton1.right;
                m_rcThumb.right = m_rcThumb.left + thumbLen;
                if (m_rcThumb.right > m_rcButton2.left) {
                    m_rcThumb.left = m_rcButton2.left - thumbLen;
                    m_rcThumb.right = m_rcButton2.left;
                }
            }
        } else {
            const int half = extent / 2 < t ? extent / 2 : t;
            m_rcButton1 = m_bShowButton1 ? RECT{r.left, r.top, r.left + half, r.top + t}
                                         : RECT{r.left, r.top, r.left, r.top};
            m_rcButton2 = m_bShowButton2 ? RECT{r.right - half, r.top, r.right, r.top + t}
                                         : RECT{r.right, r.top, r.right, r.top};
            m_rcThumb = RECT{0, 0, 0, 0};
        }
    } else {
        const int t = fixed.cx;
        const int extent = r.bottom - r.top;
        int space = extent;
        if (m_bShowButton1)
            space -= t;
        if (m_bShowButton2)
            space -= t;
        if (t < space) {
            m_rcButton1 = m_bShowButton1 ? RECT{r.left, r.top, r.left + t, r.top + t} : RECT{r.left, r.top, r.left, r.top};
            m_rcButton2 = m_bShowButton2 ? RECT{r.left, r.bottom - t, r.left + t, r.bottom}
                                         : RECT{r.left, r.bottom, r.left, r.bottom};
            m_rcThumb.left = r.left;
            m_rcThumb.right = r.left + t;
            if (m_nRange <= 0) {
                m_rcThumb.top = m_rcButton1.bottom;
                m_rcThumb.bottom = m_rcButton2.top;
            } else {
                int thumbLen = static_cast<int>(static_cast<__int64>(extent * space) / (extent + m_nRange));
                if (thumbLen < t)
                    thumbLen = t;
                const float share = static_cast<float>(m_nScrollPos) / static_cast<float>(m_nRange);
                m_rcThumb.top = static_cast<int>(share * static_cast<float>(space - thumbLen)) + m_rcButton1.bottom;
                m_rcThumb.bottom = m_rcThumb.top + thumbLen;
                if (m_rcThumb.bottom > m_rcButton2.top) {
                    m_rcThumb.top = m_rcButton2.top - thumbLen;
                    m_rcThumb.bottom = m_rcButton2.top;
                }
            }
        } else {
            const int half = extent / 2 < t ? extent / 2 : t;
            m_rcButton1 = m_bShowButton1 ? RECT{r.left, r.top, r.left + t, r.top + half}
                                         : RECT{r.left, r.top, r.left, r.top};
            m_rcButton2 = m_bShowButton2 ? RECT{r.left, r.bottom - half, r.left + t, r.bottom}
                                         : RECT{r.left, r.bottom, r.left, r.bottom};
            m_rcThumb = RECT{0, 0, 0, 0};
        }
    }
}

// --- movements ---

void CScrollBarUI::LineBack()
{
    if (m_pOwner != nullptr) {
        if (m_bHorizontal)
            m_pOwner->LineLeft();
        else
            m_pOwner->LineUp();
    } else {
        SetScrollPos(static_cast<int>(m_nScrollPos) - m_nLineSize);
    }
}

void CScrollBarUI::LineForward()
{
    if (m_pOwner != nullptr) {
        if (m_bHorizontal)
            m_pOwner->LineRight();
        else
            m_pOwner->LineDown();
    } else {
        SetScrollPos(static_cast<int>(m_nScrollPos) + m_nLineSize);
    }
}

void CScrollBarUI::PageBack()
{
    if (m_pOwner != nullptr) {
        if (m_bHorizontal)
            m_pOwner->PageLeft();
        else
            m_pOwner->PageUp();
    } else {
        const int page = m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
        SetScrollPos(static_cast<int>(m_nScrollPos) - page);
    }
}

void CScrollBarUI::PageForward()
{
    if (m_pOwner != nullptr) {
        if (m_bHorizontal)
            m_pOwner->PageRight();
        else
            m_pOwner->PageDown();
    } else {
        const int page = m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
        SetScrollPos(static_cast<int>(m_nScrollPos) + page);
    }
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
        const int thumbStart = m_bHorizontal ? m_rcThumb.left : m_rcThumb.top;
        const int thumbEnd = m_bHorizontal ? m_rcThumb.right : m_rcThumb.bottom;
        if (::PtInRect(&m_rcButton1, pt)) {
            m_uButton1State |= kPushed;
            LineBack();
        } else if (::PtInRect(&m_rcButton2, pt)) {
            m_uButton2State |= kPushed;
            LineForward();
        } else if (::PtInRect(&m_rcThumb, pt)) {
            m_uThumbState |= kPushed | kCaptured;
            m_ptLastMouse = pt;
            m_nLastScrollPos = static_cast<int>(m_nScrollPos);
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
                m_nLastScrollOffset = static_cast<int>(static_cast<__int64>(d) * m_nRange / std::abs(denominator));
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
        ++m_nScrollRepeatDelay;
        if ((m_uThumbState & kCaptured) != 0) {
            const int target = m_nLastScrollPos + m_nLastScrollOffset;
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
            if (coord < (m_bHorizontal ? m_rcThumb.left : m_rcThumb.top))
                PageBack();
            else if (coord > (m_bHorizontal ? m_rcThumb.right : m_rcThumb.bottom))
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

bool CScrollBarUI::DrawPart(HDC hDC, Part part, UINT state, const RECT& rc)
{
    FormatDest(rc);
    const int chosen = StateImage(state);
    if (chosen >= 0 && !m_images[part][chosen].IsEmpty() && DrawImage(hDC, m_images[part][chosen], m_sImageModify))
        return true;
    const CUIString& normal = m_images[part][ImageNormal];
    return !normal.IsEmpty() && DrawImage(hDC, normal, m_sImageModify);
}

void CScrollBarUI::PaintBk(HDC hDC)
{
    SyncDisabled(m_uThumbState, IsEnabled());
    const int chosen = StateImage(m_uThumbState);
    if (chosen >= 0 && !m_images[PartBk][chosen].IsEmpty() && DrawImage(hDC, m_images[PartBk][chosen]))
        return;
    if (!m_images[PartBk][ImageNormal].IsEmpty())
        (void)DrawImage(hDC, m_images[PartBk][ImageNormal]);
}

void CScrollBarUI::PaintButton1(HDC hDC)
{
    if (!m_bShowButton1)
        return;
    SyncDisabled(m_uButton1State, IsEnabled());
    if (!DrawPart(hDC, PartButton1, m_uButton1State, m_rcButton1))
        CUIRender::DrawRect(hDC, m_rcButton1, 2, kOutlineColor);
}

void CScrollBarUI::PaintButton2(HDC hDC)
{
    if (!m_bShowButton2)
        return;
    SyncDisabled(m_uButton2State, IsEnabled());
    if (!DrawPart(hDC, PartButton2, m_uButton2State, m_rcButton2))
        CUIRender::DrawRect(hDC, m_rcButton2, 2, kOutlineColor);
}

void CScrollBarUI::PaintThumb(HDC hDC)
{
    if (IsZero(m_rcThumb))
        return;
    SyncDisabled(m_uThumbState, IsEnabled());
    if (!DrawPart(hDC, PartThumb, m_uThumbState, m_rcThumb))
        CUIRender::DrawRect(hDC, m_rcThumb, 2, kOutlineColor);
}

void CScrollBarUI::PaintRail(HDC hDC)
{
    if (IsZero(m_rcThumb))
        return;
    RECT mark = {};
    if (m_bHorizontal) {
        const int f = m_cxyFixed.cy;
        const int cx = (m_rcThumb.left + m_rcThumb.right) / 2;
        mark = RECT{cx - f / 2, m_rcThumb.top, cx - f / 2 + f, m_rcThumb.bottom};
    } else {
        const int f = m_cxyFixed.cx;
        const int cy = (m_rcThumb.top + m_rcThumb.bottom) / 2;
        mark = RECT{m_rcThumb.left, cy - f / 2, m_rcThumb.right, cy - f / 2 + f};
    }
    (void)DrawPart(hDC, PartRail, m_uThumbState, mark);
}

} // namespace ZvUI

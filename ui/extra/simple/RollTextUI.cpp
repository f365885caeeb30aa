// Rolling text: every paint while the text extent is known moves the text one step.
#include "simple/RollTextUI.h"

#include <cwchar>

#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

// Room given to the measuring paint along the rolling axis.
constexpr int kMeasureRoom = 10000;

// A timer interval the system takes as it is: negative or huge values once wrapped to a huge one.
LONGLONG ClampInterval(LONGLONG ms)
{
    if (ms < USER_TIMER_MINIMUM)
        return USER_TIMER_MINIMUM;
    return ms > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM : ms;
}

} // namespace

CRollTextUI::CRollTextUI() = default;

CRollTextUI::~CRollTextUI()
{
    if (m_pManager != nullptr) {
        m_pManager->KillTimer(this, kLimitTimer);
        m_pManager->KillTimer(this, kStepTimer);
    }
}

LPCWSTR CRollTextUI::GetClass() const
{
    return L"RollTextUI";
}

LPVOID CRollTextUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"RollText") == 0)
        return static_cast<CRollTextUI*>(this);
    return CLabelUI::GetInterface(name);
}

void CRollTextUI::SetText(LPCWSTR text)
{
    CLabelUI::SetText(text);
    m_nTextExtent = 0;
}

void CRollTextUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    m_nTextExtent = 0;
}

void CRollTextUI::BeginRoll(int direction, LONG stepMs, LONG limitSeconds)
{
    m_nDirection = direction;
    EndRoll();
    m_nTextExtent = 0;
    if (m_pManager == nullptr)
        return;
    m_uStepElapse = static_cast<UINT>(ClampInterval(stepMs));
    m_pManager->KillTimer(this, kStepTimer);
    // Out of sight the text waits; the step timer starts when it is seen.
    if (IsVisible())
        (void)m_pManager->SetTimer(this, kStepTimer, m_uStepElapse);
    m_pManager->KillTimer(this, kLimitTimer);
    // A limit already passed ends at once; one beyond the longest timer waits that long.
    const LONGLONG limitMs = static_cast<LONGLONG>(limitSeconds) * 1000;
    (void)m_pManager->SetTimer(this, kLimitTimer, static_cast<UINT>(ClampInterval(limitMs)));
    m_bRolling = true;
}

void CRollTextUI::EndRoll()
{
    if (!m_bRolling)
        return;
    if (m_pManager != nullptr) {
        m_pManager->KillTimer(this, kLimitTimer);
        m_pManager->KillTimer(this, kStepTimer);
    }
    m_bRolling = false;
}

void CRollTextUI::OnShownChanged(bool shown)
{
    // Only the stepping waits; the limit is a time from the start and runs on.
    if (!m_bRolling || m_pManager == nullptr)
        return;
    if (shown)
        (void)m_pManager->SetTimer(this, kStepTimer, m_uStepElapse);
    else
        m_pManager->KillTimer(this, kStepTimer);
}

void CRollTextUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventTimer && event.wParam == kLimitTimer) {
        if (m_pManager != nullptr) {
            m_pManager->KillTimer(this, kLimitTimer);
            m_pManager->RaiseNotify(this, L"textrollend", 0, 0);
        }
        CLabelUI::DoEvent(event);
        return;
    }
    if (event.type == EventTimer && event.wParam == kStepTimer) {
        if (!IsVisible()) {
            if (m_pManager != nullptr)
                m_pManager->KillTimer(this, kStepTimer);
            return;
        }
        Invalidate();
        return;
    }
    CLabelUI::DoEvent(event);
}

void CRollTextUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr)
        return;
    TakeDefaultColors();
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    const CUIString text = GetText();
    if (text.IsEmpty())
        return;

    RECT rc = GetTextRect();
    const bool vertical = IsVerticalRoll();
    if (m_nTextExtent > 0) {
        if (vertical) {
            const int height = rc.bottom - rc.top;
            const int range = height + m_nTextExtent;
            const int start = m_nDirection == RollUp ? height - m_nScrollPos : m_nScrollPos - height;
            ::OffsetRect(&rc, 0, start);
            rc.bottom += m_nTextExtent - height;
            m_nScrollPos += ScaleValue(m_nStep);
            if (range < m_nScrollPos)
                m_nScrollPos = 0;
        } else {
            const int width = rc.right - rc.left;
            const int range = width + m_nTextExtent;
            const int start = m_nDirection == RollLeft ? width - m_nScrollPos : m_nScrollPos - width;
            ::OffsetRect(&rc, start, 0);
            rc.right += m_nTextExtent - width;
            m_nScrollPos += ScaleValue(m_nStep);
            if (range < m_nScrollPos)
                m_nScrollPos = 0;
        }
    }

    UINT style = DT_EDITCONTROL | DT_WORDBREAK;
    const bool measuring = m_nTextExtent == 0;
    if (measuring) {
        style |= DT_CALCRECT;
        if (vertical)
            rc.bottom += kMeasureRoom;
        else
            rc.right += kMeasureRoom;
    }
    if (m_bShowHtml) {
        int none = 0;
        CUIRender::DrawHtmlText(hDC, m_pManager, rc, text, color, nullptr, nullptr, none, m_iFont, style);
    } else {
        CUIRender::DrawText(hDC, m_pManager, rc, text, color, m_iFont, style);
    }
    if (measuring)
        m_nTextExtent = vertical ? rc.bottom - rc.top : rc.right - rc.left;
}

} // namespace ZvUI

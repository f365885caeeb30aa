// Animated tab layout: the whole layout starts displaced on the side the new page comes from
// and moves back to its place one timer tick at a time.
#include "anim/AnimationTabLayoutUI.h"

#include <cwchar>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

// The horizontal slide starts this far (at 96 dpi) short of a whole width.
constexpr int kSlideOvershoot = 52;

} // namespace

CAnimationTabLayoutUI::CAnimationTabLayoutUI() : CUIAnimation(this) {}

CAnimationTabLayoutUI::~CAnimationTabLayoutUI()
{
    // No tick may reach a destroyed layout.
    EndAnimation(0);
}

LPCWSTR CAnimationTabLayoutUI::GetClass() const
{
    return L"AnimationTabLayoutUI";
}

LPVOID CAnimationTabLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"AnimationTabLayout") == 0)
        return static_cast<CAnimationTabLayoutUI*>(this);
    return CTabLayoutUI::GetInterface(name);
}

void CAnimationTabLayoutUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventTimer)
        OnAnimationTick(static_cast<int>(event.wParam));
    CContainerUI::DoEvent(event);
}

void CAnimationTabLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (_wcsicmp(name, L"animation_direction") == 0 && _wcsicmp(value, L"vertical") == 0)
        m_bVertical = true;
    CTabLayoutUI::SetAttribute(name, value);
}

bool CAnimationTabLayoutUI::SelectItem(int index)
{
    const int old = GetCurSel();
    if (index < 0 || index >= GetCount())
        return false;
    if (index == old)
        return true;

    m_nDirection = old < index ? -1 : 1;
    // A selection during a slide keeps the place the layout is sliding to: the item rectangle
    // is displaced at that moment, and taking it as the target would leave the layout off its place.
    const bool sliding = IsAnimating(kSlideAnimation);
    if (!sliding)
        m_rcTarget = m_rcItem;

    // The base shows the page, hides the others, lays out and raises "tabselect" (with the new
    // index and the old one) before anything has moved.
    if (!CTabLayoutUI::SelectItem(index))
        return false;
    if (GetCurSel() != index)
        return true; // a "tabselect" handler chose another page, which started its own slide

    EndAnimation(kSlideAnimation);
    m_pSelected = GetItemAt(index);
    m_bShown = false;
    // Shown again on the first frame, so the page does not flash at its final place.
    m_pSelected->SetVisible(false);

    const int width = m_rcTarget.right - m_rcTarget.left;
    const int height = m_rcTarget.bottom - m_rcTarget.top;
    m_rcCurrent = m_rcTarget;
    if (m_bVertical) {
        m_rcCurrent.top -= height * m_nDirection;
        m_rcCurrent.bottom -= height * m_nDirection;
    } else {
        const int overshoot = m_pManager != nullptr ? m_pManager->GetDpiHelper()->Scale(kSlideOvershoot)
                                                    : kSlideOvershoot;
        const int shift = -width * m_nDirection + overshoot * m_nDirection;
        m_rcCurrent.left += shift;
        m_rcCurrent.right += shift;
    }
    if (!BeginAnimation(kSlideElapse, kSlideFrames, kSlideAnimation, false)) {
        // No timer: show the page in place at once.
        m_pSelected->SetVisible(true);
        m_bShown = true;
        SetPos(m_rcTarget, true);
    }
    return true;
}

bool CAnimationTabLayoutUI::Remove(CControlUI* control)
{
    if (control != nullptr && control == m_pSelected && GetItemIndex(control) >= 0)
        m_pSelected = nullptr;
    return CTabLayoutUI::Remove(control);
}

void CAnimationTabLayoutUI::RemoveAll()
{
    m_pSelected = nullptr;
    CTabLayoutUI::RemoveAll();
}

void CAnimationTabLayoutUI::OnShownChanged(bool shown)
{
    CTabLayoutUI::OnShownChanged(shown);
    if (shown || !IsAnimating(kSlideAnimation))
        return;
    // A slide nobody sees is finished at once: shown again, the page stands in its place.
    EndAnimation(kSlideAnimation);
    if (!m_bShown) {
        m_bShown = true;
        if (m_pSelected != nullptr)
            m_pSelected->SetVisible(true);
    }
    SetPos(m_rcTarget, false);
    NeedParentUpdate();
}

void CAnimationTabLayoutUI::OnAnimationFrame(int totalFrames, int currentFrame, int /*id*/)
{
    if (!m_bShown) {
        m_bShown = true;
        if (m_pSelected != nullptr)
            m_pSelected->SetVisible(true);
    }
    if (currentFrame != totalFrames) {
        if (m_bVertical) {
            const int step = (m_rcTarget.bottom - m_rcTarget.top) * m_nDirection / totalFrames;
            m_rcCurrent.top += step;
            m_rcCurrent.bottom += step;
        } else {
            const int step = (m_rcTarget.right - m_rcTarget.left) * m_nDirection / totalFrames;
            m_rcCurrent.left += step;
            m_rcCurrent.right += step;
        }
    } else {
        m_rcCurrent = m_rcTarget;
        m_rcItem = m_rcTarget;
    }
    SetPos(m_rcCurrent, true);
}

void CAnimationTabLayoutUI::OnAnimationEnd(int /*id*/)
{
    SetPos(m_rcTarget, true);
    NeedParentUpdate();
}

} // namespace ZvUI

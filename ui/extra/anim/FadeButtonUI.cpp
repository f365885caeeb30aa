// Fading button: mouse entry and leaving start opposite fades between the normal and hot images.
#include "anim/FadeButtonUI.h"

#include <cwchar>

namespace ZvUI {

CFadeButtonUI::CFadeButtonUI() : CUIAnimation(this) {}

CFadeButtonUI::~CFadeButtonUI()
{
    // Before the images go, and so no tick reaches a destroyed button.
    EndAnimation(0);
}

LPCWSTR CFadeButtonUI::GetClass() const
{
    return L"FadeButtonUI";
}

LPVOID CFadeButtonUI::GetInterface(LPCWSTR name)
{
    // Compared with regard to case, unlike the other controls.
    if (name != nullptr && wcscmp(name, L"FadeButton") == 0)
        return static_cast<CFadeButtonUI*>(this);
    return CButtonUI::GetInterface(name);
}

void CFadeButtonUI::SetNormalImage(LPCWSTR descriptor)
{
    CButtonUI::SetNormalImage(descriptor);
    m_sLastImage = GetNormalImage();
}

void CFadeButtonUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventTimer) {
        OnAnimationTick(static_cast<int>(event.wParam));
    } else if (IsEnabled() && event.type == EventMouseEnter && !IsAnimating(kFadeInAnimation)) {
        m_bFadeAlpha = 0;
        m_bMouseEntered = true;
        EndAnimation(kFadeOutAnimation);
        (void)BeginAnimation(kFadeElapse, kFadeFrames, kFadeInAnimation, false);
        Invalidate();
        return;
    } else if (IsEnabled() && event.type == EventMouseLeave && !IsAnimating(kFadeOutAnimation)) {
        m_bFadeAlpha = 0;
        m_bMouseLeft = true;
        EndAnimation(kFadeInAnimation);
        (void)BeginAnimation(kFadeElapse, kFadeFrames, kFadeOutAnimation, false);
        Invalidate();
        return;
    }
    CButtonUI::DoEvent(event);
}

void CFadeButtonUI::OnShownChanged(bool shown)
{
    // A fade nobody sees ends where it was going: the next paint shows its last image.
    if (!shown)
        EndAnimation(0);
    CButtonUI::OnShownChanged(shown);
}

void CFadeButtonUI::OnAnimationFrame(int totalFrames, int currentFrame, int /*id*/)
{
    const double share = static_cast<double>(currentFrame) / static_cast<double>(totalFrames);
    m_bFadeAlpha = static_cast<BYTE>(share * 255.0);
    // Frame 0 would show nothing of the new image yet.
    if (m_bFadeAlpha == 0)
        m_bFadeAlpha = 10;
    Invalidate();
}

bool CFadeButtonUI::DrawFaded(HDC hDC, const CUIString& image, int fade)
{
    CUIString modify;
    modify.Format(L"fade='%d'", fade);
    return DrawImage(hDC, image, modify);
}

void CFadeButtonUI::PaintStatusImage(HDC hDC)
{
    UpdateFocusAndEnabledBits();
    if ((m_uButtonState & ButtonStateDisabled) != 0) {
        if (!m_sDisabledImage.IsEmpty() && DrawImage(hDC, m_sDisabledImage))
            return;
    } else if ((m_uButtonState & ButtonStatePushed) != 0) {
        if (!m_sPushedImage.IsEmpty() && DrawImage(hDC, m_sPushedImage))
            return;
    } else if ((m_uButtonState & ButtonStateFocused) != 0) {
        if (!m_sFocusedImage.IsEmpty() && DrawImage(hDC, m_sFocusedImage))
            return;
    }
    if (m_sNormalImage.IsEmpty())
        return;

    if (m_bMouseEntered) {
        m_bMouseEntered = false;
        m_sLastImage = m_sHotImage;
    }
    if (m_bMouseLeft) {
        m_bMouseLeft = false;
        m_sLastImage = m_sNormalImage;
    }
    const bool fadingOut = IsAnimating(kFadeOutAnimation);
    if (!IsAnimating(kFadeInAnimation) && !fadingOut) {
        if (m_sLastImage.IsEmpty())
            m_sLastImage = m_sNormalImage;
        (void)DrawImage(hDC, m_sLastImage);
        return;
    }
    m_sOldImage = fadingOut ? m_sHotImage : m_sNormalImage;
    m_sNewImage = fadingOut ? m_sNormalImage : m_sHotImage;
    (void)DrawFaded(hDC, m_sOldImage, 255 - m_bFadeAlpha);
    (void)DrawFaded(hDC, m_sNewImage, m_bFadeAlpha);
}

} // namespace ZvUI

#pragma once
// A button whose normal and hot images cross-fade when the mouse enters or leaves it.

#include <windows.h>

#include "anim/UIAnimation.h"
#include "control/ButtonUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CFadeButtonUI : public CButtonUI, public CUIAnimation {
public:
    static constexpr int kFadeInAnimation = 8;
    static constexpr int kFadeOutAnimation = 9;
    static constexpr int kFadeFrames = 30;
    static constexpr int kFadeElapse = 10;

    CFadeButtonUI();
    ~CFadeButtonUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    void PaintStatusImage(HDC hDC) override;
    void SetNormalImage(LPCWSTR descriptor) override;

    // Opacity of the image fading in.
    BYTE GetFadeAlpha() const { return m_bFadeAlpha; }

    void OnAnimationBegin(int /*id*/, bool /*first*/) override {}
    void OnAnimationFrame(int totalFrames, int currentFrame, int id) override;
    void OnAnimationEnd(int /*id*/) override {}

protected:
    void OnShownChanged(bool shown) override;

private:
    bool DrawFaded(HDC hDC, const CUIString& image, int fade);

    CUIString m_sOldImage;
    CUIString m_sNewImage;
    CUIString m_sLastImage;
    BYTE m_bFadeAlpha = 0;
    bool m_bMouseEntered = false;
    bool m_bMouseLeft = false;
};

} // namespace ZvUI

#pragma once
// A tab layout that slides into place when another page is selected.

#include <windows.h>

#include "anim/UIAnimation.h"
#include "layout/TabLayoutUI.h"

namespace ZvUI {

class CAnimationTabLayoutUI : public CTabLayoutUI, public CUIAnimation {
public:
    // The id of the slide animation (and of its timer).
    static constexpr int kSlideAnimation = 1;
    static constexpr int kSlideFrames = 15;
    static constexpr int kSlideElapse = 10;

    CAnimationTabLayoutUI();
    ~CAnimationTabLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    using CTabLayoutUI::SelectItem;
    bool SelectItem(int index) override;
    // A page taken out while it slides in is no longer shown by the slide.
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    bool IsVerticalSlide() const { return m_bVertical; }
    // -1 when the new page lies after the old one, +1 when before.
    int GetSlideDirection() const { return m_nDirection; }

    void OnAnimationBegin(int /*id*/, bool /*first*/) override {}
    void OnAnimationFrame(int totalFrames, int currentFrame, int id) override;
    void OnAnimationEnd(int id) override;

protected:
    void OnShownChanged(bool shown) override;

private:
    bool m_bVertical = false;
    int m_nDirection = 1;
    RECT m_rcCurrent = {0, 0, 0, 0};
    RECT m_rcTarget = {0, 0, 0, 0};
    CControlUI* m_pSelected = nullptr;
    bool m_bShown = false;
};

} // namespace ZvUI

#pragma once
// A progress bar with a draggable thumb, wheel steps and value notifications.

#include <windows.h>

#include "control/ProgressUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CSliderUI : public CProgressUI {
public:
    // Bits of the slider's state word.
    static constexpr UINT kStateHot = 0x08;
    static constexpr UINT kStatePushed = 0x40;

    CSliderUI();
    ~CSliderUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintForeImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // In device pixels, the thumb scaled by the window's DPI.
    RECT GetThumbRect() const;
    // Ignored while the button is held on the slider.
    void SetValueIfFree(int value);

    UINT GetSliderState() const { return m_uButtonState; }
    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step) { m_nStep = step; }
    // At 96 dpi.
    SIZE GetThumbSize() const { return m_szThumb; }
    void SetThumbSize(SIZE size) { m_szThumb = size; }
    const CUIString& GetThumbImage() const { return m_sThumbImage; }
    void SetThumbImage(LPCWSTR descriptor);
    const CUIString& GetThumbHotImage() const { return m_sThumbHotImage; }
    void SetThumbHotImage(LPCWSTR descriptor);
    const CUIString& GetThumbPushedImage() const { return m_sThumbPushedImage; }
    void SetThumbPushedImage(LPCWSTR descriptor);
    bool IsSendMove() const { return m_bSendMove; }
    void SetSendMove(bool send) { m_bSendMove = send; }
    bool IsThumbTextEnabled() const { return m_bThumbText; }
    void SetThumbTextEnabled(bool enable) { m_bThumbText = enable; }

private:
    SIZE ScaledThumb() const;
    // The value under a point along the axis: integer arithmetic on release, single precision while dragging.
    int ValueAt(POINT pt, bool integer) const;
    void Notify(LPCWSTR type);

    UINT m_uButtonState = 0;
    int m_nStep = 1;
    CUIString m_sThumbImage;
    CUIString m_sThumbHotImage;
    CUIString m_sThumbPushedImage;
    CUIString m_sImageModify;
    bool m_bSendMove = false;
    bool m_bThumbText = false;
    SIZE m_szThumb = {10, 10};
};

} // namespace ZvUI

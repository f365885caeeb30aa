#pragma once
// A label whose text scrolls through its rectangle on a timer, with a time-limit notification.

#include <windows.h>

#include "control/LabelUI.h"

namespace ZvUI {

class CRollTextUI : public CLabelUI {
public:
    enum Direction { RollLeft = 0, RollRight = 1, RollUp = 2, RollDown = 3 };
    static constexpr UINT kStepTimer = 20;
    static constexpr UINT kLimitTimer = 21;

    CRollTextUI();
    ~CRollTextUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetText(LPCWSTR text) override;
    void DoEvent(UIControlEvent& event) override;
    void PaintText(HDC hDC) override;
    // Also forgets the measured text, so the next paint measures again.
    void SetPos(RECT rc, bool invalidate = true) override;

    // Moves the text one step per paint, a paint every stepMs, and raises "textrollend"
    // once after limitSeconds (at once for 0 or less; both are held to what a timer can wait).
    void BeginRoll(int direction, LONG stepMs, LONG limitSeconds);
    void EndRoll();

    bool IsRolling() const { return m_bRolling; }
    int GetDirection() const { return m_nDirection; }
    int GetScrollPos() const { return m_nScrollPos; }
    // Width (left, right) or height (up, down) of the text; 0 until a paint has measured it.
    int GetTextExtent() const { return m_nTextExtent; }

protected:
    void OnShownChanged(bool shown) override;

private:
    bool IsVerticalRoll() const { return m_nDirection == RollUp || m_nDirection == RollDown; }

    // Pixels (at 96 dpi) the text moves per paint.
    int m_nStep = 5;
    int m_nScrollPos = 0;
    bool m_bRolling = false;
    // The step timer's interval, kept to start it again when the text is seen again.
    UINT m_uStepElapse = USER_TIMER_MINIMUM;
    int m_nDirection = RollLeft;
    int m_nTextExtent = 0;
};

} // namespace ZvUI

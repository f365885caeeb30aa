// State bits and state images of the button-like controls.
#include "control/StateImages.h"

#include "control/ButtonUI.h"
#include "control/ControlUI.h"

namespace ZvUI {

void UpdateFocusAndEnabledBits(const CControlUI& control, UINT& state)
{
    if (control.IsFocused())
        state |= ButtonStateFocused;
    else
        state &= ~ButtonStateFocused;
    if (!control.IsEnabled())
        state |= ButtonStateDisabled;
    else
        state &= ~ButtonStateDisabled;
}

const CUIString* PickStateImage(UINT state, std::initializer_list<UIStateImage> order, bool skipEmpty)
{
    for (const UIStateImage& entry : order) {
        if ((state & entry.bit) != 0 && !(skipEmpty && entry.image.IsEmpty()))
            return &entry.image;
    }
    return nullptr;
}

bool DrawStateImage(CControlUI& control, HDC hDC, UINT state, std::initializer_list<UIStateImage> order,
                    const CUIString& normal)
{
    const CUIString* chosen = PickStateImage(state, order);
    if (chosen != nullptr && !chosen->IsEmpty() && control.DrawImage(hDC, *chosen))
        return true;
    return !normal.IsEmpty() && control.DrawImage(hDC, normal);
}

bool DrawButtonStateImage(CControlUI& control, HDC hDC, UINT state, const CUIString& normal, const CUIString& hot,
                          const CUIString& pushed, const CUIString& focused, const CUIString& disabled)
{
    return DrawStateImage(control, hDC, state,
                          {{ButtonStateDisabled, disabled},
                           {ButtonStatePushed, pushed},
                           {ButtonStateHot, hot},
                           {ButtonStateFocused, focused}},
                          normal);
}

} // namespace ZvUI

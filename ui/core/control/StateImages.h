#pragma once
// The state looks every button-like control shares: its state bits kept up to date and the image
// of the state it is in picked and drawn.

#include <windows.h>

#include <initializer_list>

#include "utils/UIString.h"

namespace ZvUI {

class CControlUI;

// One state bit and the image a control shows in it.
struct UIStateImage {
    UINT bit;
    const CUIString& image;
};

// Sets or clears the focused and disabled bits of state from the control.
void UpdateFocusAndEnabledBits(const CControlUI& control, UINT& state);

// The image of the first entry of order whose bit is set in state (with skipEmpty, the first
// such entry whose image is not empty); null when there is none.
const CUIString* PickStateImage(UINT state, std::initializer_list<UIStateImage> order, bool skipEmpty = false);

// Draws the picked image; when none is picked, it is empty or it cannot be drawn, the normal
// image when that one is not empty. True when an image was drawn.
bool DrawStateImage(CControlUI& control, HDC hDC, UINT state, std::initializer_list<UIStateImage> order,
                    const CUIString& normal);

// DrawStateImage in the button's order: disabled, pushed, hot, focused.
bool DrawButtonStateImage(CControlUI& control, HDC hDC, UINT state, const CUIString& normal, const CUIString& hot,
                          const CUIString& pushed, const CUIString& focused, const CUIString& disabled);

} // namespace ZvUI

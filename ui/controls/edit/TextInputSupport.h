#pragma once
// Small helpers the text-input controls share: attribute parsing and the visible part of a control.

#include <windows.h>

#include <cwchar>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "control/ButtonUI.h"
#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIEvents.h"
#include "utils/UIAttributeValues.h"
#include "window/WindowWnd.h"
#include "control/StateImages.h"

namespace ZvUI {
namespace textinput {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const
    {
        if (object != nullptr)
            ::DeleteObject(object);
    }
};
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

// The framework's attribute readers, under the names the text inputs use.
using attr::Is;
using attr::ParseColor;
using attr::ParseRect;

// 0x00BBGGRR of an ARGB value.
inline COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// rc clipped by the client rectangle of every ancestor; empty when one is hidden or misses it.
inline RECT ClipByAncestors(const CControlUI* control, RECT rc)
{
    for (CControlUI* parent = control->GetParent(); parent != nullptr; parent = parent->GetParent()) {
        if (!parent->IsVisible())
            return RECT{0, 0, 0, 0};
        const RECT client = parent->GetClientPos();
        if (!::IntersectRect(&rc, &rc, &client))
            return RECT{0, 0, 0, 0};
    }
    return rc;
}

// Closes a control's native window as the control leaves its manager. Unfocused first: the focus
// handed back by the closing window must not open it again there.
inline void CloseOnLeaving(CControlUI& control, HWND window)
{
    CPaintManagerUI* manager = control.GetManager();
    if (manager != nullptr && control.IsFocused())
        manager->SetFocus(nullptr);
    if (window != nullptr && ::IsWindow(window))
        ::DestroyWindow(window);
}

// Hands the window the manager's current font: a DPI change deletes the handle it had.
inline void TakeFont(HWND window, HFONT font)
{
    if (window == nullptr || font == nullptr)
        return;
    if (reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)) != font)
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Brings the focused and disabled bits of state up to date and draws the image of the state,
// or the normal image when that one is empty or cannot be drawn.
inline void PaintStatusImages(CControlUI& control, HDC hDC, UINT& state, const CUIString& normal,
                              const CUIString& hot, const CUIString& focused, const CUIString& disabled)
{
    UpdateFocusAndEnabledBits(control, state);
    DrawStateImage(control, hDC, state,
                   {{ButtonStateDisabled, disabled}, {ButtonStateFocused, focused}, {ButtonStateHot, hot}}, normal);
}

// The event steps of the controls that edit in a native window they keep while it lives (the
// date-time and IP address inputs). window is the native window or null; open creates it, or
// loads and shows the one that exists. True when the event is consumed; otherwise the label's
// handling follows.
template <class OpenWindow>
bool NativeInputEvent(CControlUI& control, UIControlEvent& event, HWND window, bool textCursor, OpenWindow open)
{
    CPaintManagerUI* manager = control.GetManager();
    const bool hasWindow = window != nullptr;
    if (!control.IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (control.GetParent() == nullptr)
            return false;
        control.GetParent()->DoEvent(event);
        return true;
    }
    switch (event.type) {
    case EventSetCursor:
        if (textCursor && control.IsEnabled()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
            return true;
        }
        return false;
    case EventWindowSize:
        if (hasWindow)
            manager->SetFocusNeeded(&control);
        return false;
    case EventScrollWheel:
        return hasWindow;
    case EventSetFocus:
        if (!control.IsEnabled())
            return false;
        // A window kept hidden after the last edit opens again when the focus comes back without
        // a click. The manager window's own WM_SETFOCUS repeats the event to a control that still
        // has the focus (it just hid its window by losing the system focus): that one stays shut.
        if (hasWindow && (::IsWindowVisible(window) || control.IsFocused()))
            return true;
        open();
        return false;
    case EventKillFocus:
        if (control.IsEnabled())
            control.Invalidate();
        return false;
    case EventButtonDown:
    case EventDoubleClick:
    case EventRButtonDown:
        if (control.IsEnabled()) {
            manager->ReleaseCapture();
            if (hasWindow || control.IsFocused())
                open();
        }
        return true;
    case EventMouseMove:
    case EventButtonUp:
    case EventContextMenu:
    case EventMouseEnter:
    case EventMouseLeave:
        return true;
    default:
        return false;
    }
}

} // namespace textinput
} // namespace ZvUI

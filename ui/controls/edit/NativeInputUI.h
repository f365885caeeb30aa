#pragma once
// A label edited in a native window laid over its text area while it has focus (the edit and the
// hot-key input): the window follows the control's moves, hides and DPI changes, and the
// control's looks and events are the same for both.

#include <windows.h>

#include "control/LabelUI.h"
#include "utils/UIString.h"
#include "window/WindowWnd.h"

namespace ZvUI {

class CNativeInputUI;

// The native window of a CNativeInputUI; it deletes itself on its final message.
class CNativeInputWnd : public CWindowWnd {
public:
    // The window class this window registers and the system class it superclasses.
    CNativeInputWnd(LPCWSTR className, LPCWSTR superClassName)
        : m_pszClassName(className), m_pszSuperClassName(superClassName)
    {
    }

    LPCWSTR GetWindowClassName() const override { return m_pszClassName; }
    LPCWSTR GetSuperClassName() const override { return m_pszSuperClassName; }
    // The owner's text area in the manager window's coordinates, one font line high and centred,
    // clipped by the owner's ancestors (empty when one is hidden).
    RECT CalPos() const;
    // CalPos, in screen coordinates for a pop-up (the window of a layered manager window).
    RECT PlacedPos(bool popup) const;
    // Hands the window the manager's current font for the owner: a DPI change deletes the old one.
    void TakeFont();
    // Moves the window to the owner's text area (sizing it too when asked) and hands it the font.
    void FollowOwner(bool resize);

protected:
    friend class CNativeInputUI;

    // The owner repaints without the window and forgets it (from the final message).
    void DetachFromOwner();
    // The messages both inputs answer alike: a reflected change goes to OnNativeChange once the
    // window is set up, an update repaints the window, Return is reported. False for the rest.
    bool HandleSharedMessage(UINT msg, WPARAM wParam);
    // The user changed the window's content: the owner takes it and reports it.
    virtual void OnNativeChange() = 0;

    CNativeInputUI* m_pInput = nullptr;
    bool m_bInit = false;

private:
    LPCWSTR m_pszClassName;
    LPCWSTR m_pszSuperClassName;
};

class CNativeInputUI : public CLabelUI {
    friend class CNativeInputWnd;

public:
    CNativeInputUI();
    // Closes an open native window, which then reports to no one.
    ~CNativeInputUI() override;

    UINT GetControlFlags() const override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void Move(SIZE offset, bool invalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    void PaintStatusImage(HDC hDC) override;

    const CUIString& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCWSTR descriptor);
    const CUIString& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCWSTR descriptor);
    const CUIString& GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCWSTR descriptor);
    const CUIString& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCWSTR descriptor);

    UINT GetButtonState() const { return m_uButtonState; }
    // The native window while one is open, else null.
    HWND GetNativeWindow() const;

protected:
    // Opens the native window over the text area; false when it cannot be created.
    virtual bool OpenNativeWindow() = 0;
    // A press on the enabled control, after the manager's capture was released.
    virtual void OnPress(UIControlEvent& event);
    // The four state images, names compared exactly or without regard to case; true when name is one.
    bool SetStateImageAttribute(LPCWSTR name, LPCWSTR value, bool exactNames);
    void SetHot(bool hot);
    // One line of text in the text area with the label's font and style.
    void DrawTextLine(HDC hDC, const CUIString& text, DWORD color);

    CNativeInputWnd* m_pWindow = nullptr;
    UINT m_uButtonState = 0;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
};

} // namespace ZvUI

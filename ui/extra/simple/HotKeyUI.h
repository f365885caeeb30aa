#pragma once
// The hot-key input: a label that edits its key combination in a native hot-key control.

#include <windows.h>

#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "utils/UIString.h"
#include "window/WindowWnd.h"

namespace ZvUI {

class CHotKeyUI;

// The native control placed over the input while it has focus; it deletes itself when its
// window is destroyed.
class CHotKeyWnd final : public CWindowWnd {
    friend class CHotKeyUI;
    friend class CWindowWnd; // frees it once its handlers have returned

public:
    CHotKeyWnd() = default;

    void Init(CHotKeyUI* owner);
    void SetRules(WORD invalidCombinations, WORD modifiers);
    // The key name text of the window's current combination.
    CUIString GetHotKeyName() const;

    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;

private:
    ~CHotKeyWnd() = default;
    RECT CalcEditRect() const;
    void PaintSelf();

    CHotKeyUI* m_pOwner = nullptr;
    HBRUSH m_hBkBrush = nullptr;
    bool m_bInit = false;
};

class CHotKeyUI : public CLabelUI {
    friend class CHotKeyWnd;

public:

    CHotKeyUI();
    ~CHotKeyUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enable = true) override;
    void SetText(LPCWSTR text) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    SIZE EstimateSize(SIZE available) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    const CUIString& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCWSTR descriptor);
    const CUIString& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCWSTR descriptor);
    const CUIString& GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCWSTR descriptor);
    const CUIString& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCWSTR descriptor);
    DWORD GetNativeBkColor() const { return m_dwHotKeyBkColor; }
    void SetNativeBkColor(DWORD color) { m_dwHotKeyBkColor = color; }

    // (modifiers << 8) | virtual-key code.
    WORD GetHotKey() const;
    void GetHotKey(WORD& virtualKey, WORD& modifiers) const;
    // Opens the native window when none is open and the input has a manager.
    void SetHotKey(WORD virtualKey, WORD modifiers);

    UINT GetHotKeyState() const { return m_uButtonState; }
    // The native window while one is open, else null.
    HWND GetNativeWindow() const;

    // Modifier names in the order Ctrl, Shift, Alt, each followed by " + ", then the key's name,
    // as the keyboard layout names them; empty when both are 0.
    static CUIString KeyNameText(WORD virtualKey, WORD modifiers);

private:
    void OpenNativeWindow();

    CHotKeyWnd* m_pWindow = nullptr;
    UINT m_uButtonState = 0;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    DWORD m_dwHotKeyBkColor = 0xFFFFFFFF;
    WORD m_wVirtualKeyCode = 0;
    WORD m_wModifiers = 0;
};

} // namespace ZvUI

#pragma once
// The hot-key input: a label that edits its key combination in a native hot-key control.

#include <windows.h>

#include "control/ButtonUI.h"
#include "edit/NativeInputUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CHotKeyUI;

// The native control placed over the input while it has focus; it deletes itself when its
// window is destroyed.
class CHotKeyWnd final : public CNativeInputWnd {
    friend class CHotKeyUI;
    friend class CWindowWnd; // frees it once its handlers have returned

public:
    CHotKeyWnd() : CNativeInputWnd(L"HotKeyClass", L"msctls_hotkey32") {}

    void Init(CHotKeyUI* owner);
    void SetRules(WORD invalidCombinations, WORD modifiers);
    // The key name text of the window's current combination.
    CUIString GetHotKeyName() const;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnNativeChange() override;
    void OnFinalMessage(HWND window) override;

private:
    ~CHotKeyWnd() = default;
    CHotKeyUI* Owner() const;
    void PaintSelf();

    HBRUSH m_hBkBrush = nullptr;
};

class CHotKeyUI : public CNativeInputUI {
    friend class CHotKeyWnd;

public:
    CHotKeyUI() = default;
    ~CHotKeyUI() override = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetText(LPCWSTR text) override;
    SIZE EstimateSize(SIZE available) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintText(HDC hDC) override;

    DWORD GetNativeBkColor() const { return m_dwHotKeyBkColor; }
    void SetNativeBkColor(DWORD color) { m_dwHotKeyBkColor = color; }

    // (modifiers << 8) | virtual-key code.
    WORD GetHotKey() const;
    void GetHotKey(WORD& virtualKey, WORD& modifiers) const;
    // Opens the native window when none is open and the input has a manager.
    void SetHotKey(WORD virtualKey, WORD modifiers);

    UINT GetHotKeyState() const { return m_uButtonState; }

    // Modifier names in the order Ctrl, Shift, Alt, each followed by " + ", then the key's name,
    // as the keyboard layout names them; empty when both are 0.
    static CUIString KeyNameText(WORD virtualKey, WORD modifiers);

protected:
    bool OpenNativeWindow() override;

private:
    DWORD m_dwHotKeyBkColor = 0xFFFFFFFF;
    WORD m_wVirtualKeyCode = 0;
    WORD m_wModifiers = 0;
};

inline CHotKeyUI* CHotKeyWnd::Owner() const
{
    return static_cast<CHotKeyUI*>(m_pInput);
}

} // namespace ZvUI

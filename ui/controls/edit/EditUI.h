#pragma once
// Single-line text field drawn like a label; a native edit window lies over it while it is edited.

#include <windows.h>

#include "control/LabelUI.h"
#include "window/WindowWnd.h"
#include "edit/TextInputSupport.h"

namespace ZvUI {

class CEditWnd;

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetText(LPCWSTR text) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void Move(SIZE offset, bool invalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    int GetMaxChar() const { return m_iMaxChar; }
    void SetMaxChar(int maxChar);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordMode(bool passwordMode);
    wchar_t GetPasswordChar() const { return m_cPasswordChar; }
    void SetPasswordChar(wchar_t ch);
    bool IsAutoSelAll() const { return m_bAutoSelAll; }
    void SetAutoSelAll(bool autoSelAll) { m_bAutoSelAll = autoSelAll; }
    bool IsNumberOnly() const { return (m_uWindowStyle & ES_NUMBER) != 0; }
    void SetNumberOnly(bool numberOnly);
    UINT GetWindowStyles() const { return m_uWindowStyle; }
    UINT GetButtonState() const { return m_uButtonState; }

    const CUIString& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCWSTR descriptor);
    const CUIString& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCWSTR descriptor);
    const CUIString& GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCWSTR descriptor);
    const CUIString& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCWSTR descriptor);

    // Looked up in the resource text table when the control's resource-text flag is on.
    CUIString GetTipValue();
    void SetTipValue(LPCWSTR text) { m_sTipValue = text; }
    DWORD GetTipValueColor() const { return m_dwTipValueColor; }
    void SetTipValueColor(DWORD color) { m_dwTipValueColor = color; }
    DWORD GetNativeEditBkColor() const { return m_dwEditBkColor; }
    void SetNativeEditBkColor(DWORD color) { m_dwEditBkColor = color; }
    DWORD GetNativeEditTextColor() const { return m_dwEditTextColor; }
    void SetNativeEditTextColor(DWORD color) { m_dwEditTextColor = color; }

    // These three do nothing while no native window is open.
    void SetSel(long start, long end);
    void SetSelAll();
    void SetReplaceSel(LPCWSTR text);
    HWND GetNativeWindow() const;

protected:
    // Opens the native window over the text area; false when it cannot be created.
    bool OpenEditWindow();

    CEditWnd* m_pWindow = nullptr;
    int m_iMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPasswordMode = false;
    bool m_bAutoSelAll = false;
    wchar_t m_cPasswordChar = L'*';
    UINT m_uButtonState = 0;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    CUIString m_sTipValue;
    DWORD m_dwTipValueColor = 0xFFBAC0C5;
    DWORD m_dwEditBkColor = 0xFFFFFFFF;
    DWORD m_dwEditTextColor = 0;
    UINT m_uWindowStyle = 0;

private:
    friend class CEditWnd;
};

// The native edit window of a CEditUI; it deletes itself on its final message.
class CEditWnd : public CWindowWnd {
public:
    CEditWnd() = default;

    // Creates and shows the window over the owner's text area; false when creation fails.
    bool Init(CEditUI* owner);
    // The owner's text area in the manager window's coordinates (empty when not visible).
    RECT CalPos() const;
    // Where the window lies: CalPos, in screen coordinates for the pop-up of a layered window.
    RECT PlacedPos() const;
    // Hands the window the manager's current font for the owner.
    void TakeFont();

    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;

private:
    LRESULT OnCtlColor(HDC hDC);

    CEditUI* m_pOwner = nullptr;
    textinput::UniqueBrush m_hBkBrush;
    bool m_bInit = false;
};

} // namespace ZvUI

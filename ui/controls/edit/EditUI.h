#pragma once
// Single-line text field drawn like a label; a native edit window lies over it while it is edited.

#include <windows.h>

#include "edit/NativeInputUI.h"
#include "edit/TextInputSupport.h"

namespace ZvUI {

class CEditWnd;

class CEditUI : public CNativeInputUI {
public:
    CEditUI();
    ~CEditUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetText(LPCWSTR text) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
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

protected:
    bool OpenNativeWindow() override;
    void OnPress(UIControlEvent& event) override;

    int m_iMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPasswordMode = false;
    bool m_bAutoSelAll = false;
    wchar_t m_cPasswordChar = L'*';
    CUIString m_sTipValue;
    DWORD m_dwTipValueColor = 0xFFBAC0C5;
    DWORD m_dwEditBkColor = 0xFFFFFFFF;
    DWORD m_dwEditTextColor = 0;
    UINT m_uWindowStyle = 0;

private:
    friend class CEditWnd;
};

// The native edit window of a CEditUI; it deletes itself on its final message.
class CEditWnd : public CNativeInputWnd {
public:
    CEditWnd() : CNativeInputWnd(L"EditWnd", L"Edit") {}

    // Creates and shows the window over the owner's text area; false when creation fails.
    bool Init(CEditUI* owner);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnNativeChange() override;
    void OnFinalMessage(HWND window) override;

private:
    LRESULT OnCtlColor(HDC hDC);
    CEditUI* Owner() const;

    textinput::UniqueBrush m_hBkBrush;
};

inline CEditUI* CEditWnd::Owner() const
{
    return static_cast<CEditUI*>(m_pInput);
}

} // namespace ZvUI

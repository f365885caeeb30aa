#pragma once
// The push button: state looks for hot, pushed, focused and disabled, and "click" on release or key.

#include <windows.h>

#include "control/LabelUI.h"
#include "control/StateImages.h"
#include "utils/UIString.h"

namespace ZvUI {

// Bits of the button state word; options add the selected bit.
enum ButtonState : UINT {
    ButtonStateFocused = 0x01,
    ButtonStateSelected = 0x02,
    ButtonStateDisabled = 0x04,
    ButtonStateHot = 0x08,
    ButtonStatePushed = 0x10,
    ButtonStateCaptured = 0x40,
};

class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    ~CButtonUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintBkColor(HDC hDC) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintForeImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    virtual CUIString GetNormalImage() const;
    virtual void SetNormalImage(LPCWSTR descriptor);
    virtual CUIString GetHotImage() const;
    virtual void SetHotImage(LPCWSTR descriptor);
    virtual CUIString GetPushedImage() const;
    virtual void SetPushedImage(LPCWSTR descriptor);
    virtual CUIString GetFocusedImage() const;
    virtual void SetFocusedImage(LPCWSTR descriptor);
    virtual CUIString GetDisabledImage() const;
    virtual void SetDisabledImage(LPCWSTR descriptor);
    virtual CUIString GetHotForeImage() const;
    virtual void SetHotForeImage(LPCWSTR descriptor);
    virtual CUIString GetStateImage() const;
    // Also empties the normal image, so the next paint cuts the strip anew.
    virtual void SetStateImage(LPCWSTR descriptor);

    UINT GetButtonState() const { return m_uButtonState; }

    // Selects a page of the tab layout named by the bound name: index when >= 0, else the bound index.
    void BindTabLayout(int index);
    void SetBindTabLayoutIndex(int index);
    int GetBindTabLayoutIndex() const { return m_iBindTabIndex; }
    void SetBindTabLayoutName(LPCWSTR name);
    const CUIString& GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
    void RemoveBindTabLayout();

    // Colours are ARGB and fonts indexes; 0 and -1 mean not set.
    DWORD GetHotBkColor() const { return m_dwHotBkColor; }
    void SetHotBkColor(DWORD color);
    DWORD GetPushedBkColor() const { return m_dwPushedBkColor; }
    void SetPushedBkColor(DWORD color);
    DWORD GetDisabledBkColor() const { return m_dwDisabledBkColor; }
    void SetDisabledBkColor(DWORD color);
    DWORD GetHotTextColor() const { return m_dwHotTextColor; }
    void SetHotTextColor(DWORD color) { m_dwHotTextColor = color; }
    DWORD GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetPushedTextColor(DWORD color) { m_dwPushedTextColor = color; }
    DWORD GetFocusedTextColor() const { return m_dwFocusedTextColor; }
    void SetFocusedTextColor(DWORD color) { m_dwFocusedTextColor = color; }
    int GetHotFont() const { return m_iHotFont; }
    void SetHotFont(int index);
    int GetPushedFont() const { return m_iPushedFont; }
    void SetPushedFont(int index);
    int GetFocusedFont() const { return m_iFocusedFont; }
    void SetFocusedFont(int index);
    int GetStateCount() const { return m_nStateCount; }
    void SetStateCount(int count);

protected:
    // Cuts the normal, hot, pushed and disabled images from the state strip.
    void CutStateImages();
    // Cuts count frames of a horizontal strip into normal, hot, pushed and (with a slot) disabled,
    // once: a set normal image means the strip was cut already. Two frames push with the hot one.
    void CutStrip(const CUIString& strip, int count, CUIString& normal, CUIString& hot, CUIString& pushed,
                  CUIString* disabled);
    void UpdateFocusAndEnabledBits() { ZvUI::UpdateFocusAndEnabledBits(*this, m_uButtonState); }

    UINT m_uButtonState = 0;
    int m_iHotFont = -1;
    int m_iPushedFont = -1;
    int m_iFocusedFont = -1;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwPushedBkColor = 0;
    DWORD m_dwDisabledBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sHotForeImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    int m_nStateCount = 0;
    CUIString m_sStateImage;
    int m_iBindTabIndex = -1;
    CUIString m_sBindTabLayoutName;
};

} // namespace ZvUI

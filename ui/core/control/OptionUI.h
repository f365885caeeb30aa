#pragma once
// A button with a selected state: radio groups through the manager, or a toggle without a group.

#include <windows.h>

#include "control/ButtonUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class COptionUI : public CButtonUI {
public:
    COptionUI() = default;
    // Leaves the manager's option group.
    ~COptionUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    bool Activate() override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetEnabled(bool enable = true) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintBkColor(HDC hDC) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintForeImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    virtual CUIString GetSelectedStateImage() const;
    // Unlike the button's strip, it keeps the selected image.
    virtual void SetSelectedStateImage(LPCWSTR descriptor);
    virtual void Selected(bool select, bool notify = true);

    bool IsSelected() const { return m_bSelected; }
    const CUIString& GetGroup() const { return m_sGroupName; }
    void SetGroup(LPCWSTR name);

    const CUIString& GetSelectedImage() const { return m_sSelectedImage; }
    void SetSelectedImage(LPCWSTR descriptor);
    const CUIString& GetSelectedHotImage() const { return m_sSelectedHotImage; }
    void SetSelectedHotImage(LPCWSTR descriptor);
    const CUIString& GetSelectedPushedImage() const { return m_sSelectedPushedImage; }
    void SetSelectedPushedImage(LPCWSTR descriptor);
    const CUIString& GetSelectedDisabledImage() const { return m_sSelectedDisabledImage; }
    void SetSelectedDisabledImage(LPCWSTR descriptor);
    const CUIString& GetSelectedForeImage() const { return m_sSelectedForeImage; }
    void SetSelectedForeImage(LPCWSTR descriptor);
    int GetSelectedStateCount() const { return m_nSelectedStateCount; }
    void SetSelectedStateCount(int count);
    int GetSelectedFont() const { return m_iSelectedFont; }
    void SetSelectedFont(int index);
    DWORD GetSelectedBkColor() const { return m_dwSelectedBkColor; }
    void SetSelectedBkColor(DWORD color) { m_dwSelectedBkColor = color; }
    // 0 becomes the manager's default text colour, for good.
    DWORD GetSelectedTextColor();
    void SetSelectedTextColor(DWORD color) { m_dwSelectedTextColor = color; }
    DWORD GetSelectedHotTextColor() const { return m_dwSelectedHotTextColor; }
    void SetSelectedHotTextColor(DWORD color) { m_dwSelectedHotTextColor = color; }
    DWORD GetSelectedPushedTextColor() const { return m_dwSelectedPushedTextColor; }
    void SetSelectedPushedTextColor(DWORD color) { m_dwSelectedPushedTextColor = color; }

protected:
    // Selected with the wParam of its "selectchanged".
    void ApplySelected(bool select, bool notify, WPARAM wParam);

private:
    void CutSelectedStateImages();

    bool m_bSelected = false;
    CUIString m_sGroupName;
    int m_iSelectedFont = -1;
    DWORD m_dwSelectedBkColor = 0;
    DWORD m_dwSelectedTextColor = 0;
    DWORD m_dwSelectedHotTextColor = 0;
    DWORD m_dwSelectedPushedTextColor = 0;
    CUIString m_sSelectedImage;
    CUIString m_sSelectedHotImage;
    CUIString m_sSelectedPushedImage;
    CUIString m_sSelectedDisabledImage;
    CUIString m_sSelectedForeImage;
    int m_nSelectedStateCount = 0;
    CUIString m_sSelectedStateImage;
};

} // namespace ZvUI

#pragma once
// A vertical layout framed by an outline with its text as a caption breaking the top line.

#include <windows.h>

#include "layout/VerticalLayoutUI.h"

namespace ZvUI {

class CGroupBoxUI : public CVerticalLayoutUI {
public:
    CGroupBoxUI();
    ~CGroupBoxUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintText(HDC hDC) override;
    void PaintBorder(HDC hDC) override;

    // ARGB; 0 takes the window's default at the first caption paint.
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(DWORD color);
    int GetFont() const { return m_iFont; }
    void SetFont(int font);

    // Where the caption goes, in device pixels; empty without text or manager.
    RECT GetCaptionRect();

private:
    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
};

} // namespace ZvUI

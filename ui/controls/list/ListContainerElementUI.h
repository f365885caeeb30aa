#pragma once
// A list row that is itself a horizontal container of any controls, with an optional value bar.

#include "layout/HorizontalLayoutUI.h"
#include "list/ListRowBase.h"

namespace ZvUI {

class CListContainerElementUI : public CListRowBase<CHorizontalLayoutUI> {
public:
    CListContainerElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void PaintBkImage(HDC hDC) override;
    void PaintForeImage(HDC hDC) override;

    virtual void DrawItemBk(HDC hDC, const RECT& rcItem);

    // The foreground value bar.
    int GetValue() const { return m_nValue; }
    // Ignored when unchanged or outside minimum..maximum.
    void SetValue(int value);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int value) { m_nMin = value; }
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int value) { m_nMax = value; }
    bool IsHorizontalValue() const { return m_bHorizontal; }
    void SetHorizontalValue(bool horizontal) { m_bHorizontal = horizontal; }
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool stretch) { m_bStretchForeImage = stretch; }

private:
    void DrawValueBar(HDC hDC);

    bool m_bStretchForeImage = true;
    CUIString m_sForeImageModify;
    bool m_bHorizontal = true;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nValue = 0;
};

} // namespace ZvUI

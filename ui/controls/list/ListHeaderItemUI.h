#pragma once
// One column header: a state image and a caption, "headerclick", and a separator to drag its width.

#include "layout/ContainerUI.h"
#include "list/HeaderItemBase.h"
#include "utils/UIString.h"

namespace ZvUI {

class CListHeaderItemUI : public CHeaderItemBase<CContainerUI> {
public:
    CListHeaderItemUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(UIControlEvent& event) override;
    SIZE EstimateSize(SIZE available) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // Percent of the header's width while the header's scale flag is on.
    int GetScale() const { return m_iScale; }
    void SetScale(int scale) { m_iScale = scale; }

    // The separator in window pixels; for hit tests widened by 4 pixels into the item.
    RECT GetThumbRect(bool forHitTest = false) const { return SeparatorRect(forHitTest); }

private:
    int m_iScale = 0;
};

} // namespace ZvUI

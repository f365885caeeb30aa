#pragma once
// The column header of a list: a horizontal row of header items, optionally sized by percentages.

#include "layout/HorizontalLayoutUI.h"

namespace ZvUI {

class CListHeaderUI : public CHorizontalLayoutUI {
public:
    CListHeaderUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    SIZE EstimateSize(SIZE available) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    // The items draw their own separators; the layout's band is not drawn over them.
    void DoPostPaint(HDC /*hDC*/, const RECT& /*rcPaint*/) override {}

    // With the flag on, each item takes its "scale" percent of the header's width.
    bool IsScaleHeader() const { return m_bScaleHeader; }
    void SetScaleHeader(bool scale) { m_bScaleHeader = scale; }

private:
    bool m_bScaleHeader = false;
};

} // namespace ZvUI

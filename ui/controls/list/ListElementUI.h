#pragma once
// Plain list rows: the row base that keeps the selection handshake, and the row that draws one text.

#include "control/ControlUI.h"
#include "list/ListRowBase.h"

namespace ZvUI {

class CListElementUI : public CListRowBase<CControlUI> {
public:
    CListElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
};

class CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    SIZE EstimateSize(SIZE available) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

} // namespace ZvUI

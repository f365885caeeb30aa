#pragma once
// A label for multi-line markup whose links show the hand cursor and send "link" when clicked.

#include <windows.h>

#include "control/LabelUI.h"
#include "utils/UIString.h"

namespace ZvUI {

class CTextUI : public CLabelUI {
public:
    static constexpr int kMaxLinks = 8;

    CTextUI();
    ~CTextUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void DoEvent(UIControlEvent& event) override;
    SIZE EstimateSize(SIZE available) override;
    void PaintText(HDC hDC) override;

    // The target text of link n as the markup gives it; null outside 0..link count - 1.
    const CUIString* GetLinkContent(int n) const;
    int GetLinkCount() const { return m_nLinks; }
    // Where link n was drawn last, in device pixels; an empty rect outside the range.
    RECT GetLinkRect(int n) const;
    int GetHoverLink() const { return m_nHoverLink; }

private:
    // The first link rectangle holding pt, or -1.
    int LinkAt(POINT pt) const;

    int m_nLinks = 0;
    RECT m_rcLinks[kMaxLinks] = {};
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink = -1;
};

} // namespace ZvUI

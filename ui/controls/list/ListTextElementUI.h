#pragma once
// A list row with one text per header column, optional per-column colours and clickable links.

#include "list/ListElementUI.h"
#include "utils/UIArray.h"

namespace ZvUI {

class CListTextElementUI : public CListLabelElementUI {
public:
    static constexpr int kMaxLinks = 8;

    CListTextElementUI() = default;
    ~CListTextElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetOwner(CControlUI* owner) override;
    void DoEvent(UIControlEvent& event) override;
    SIZE EstimateSize(SIZE available) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    // Null when the column has no text.
    LPCWSTR GetText(int column) const;
    // Needs a list owner and a column inside its header.
    void SetText(int column, LPCWSTR text);
    DWORD GetTextColor(int column) const;
    void SetTextColor(int column, DWORD color);
    int GetLinkCount() const { return m_nLinks; }
    // The text of a link painted last; null outside the links.
    const CUIString* GetLinkContent(int index) const;

private:
    bool IsColumnOfOwner(int column) const;

    int m_nLinks = 0;
    RECT m_rcLinks[kMaxLinks] = {};
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink = -1;
    IListUI* m_pListOwner = nullptr;
    // Owned CUIString* entries, null allowed.
    CUIPtrArray m_aTexts;
    // DWORD colours stored in the pointer slots.
    CUIPtrArray m_aTextColors;
    mutable CUIString m_sResourceText;
};

} // namespace ZvUI

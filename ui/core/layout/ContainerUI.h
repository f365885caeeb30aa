#pragma once
// The control that owns an ordered list of children, with inset, scroll bars and floating placement.

#include <windows.h>

#include "control/ControlUI.h"
#include "utils/UIArray.h"
#include "utils/UIString.h"

namespace ZvUI {

class CScrollBarUI;
class IScrollBarServicesUI;

// How builders and other code add and remove children without knowing the container's class.
class IContainerUI {
public:
    virtual CControlUI* GetItemAt(int index) const = 0;
    virtual int GetItemIndex(CControlUI* control) const = 0;
    virtual bool SetItemIndex(CControlUI* control, int newIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;

    // --- children (the container owns them while auto destroy is on) ---
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int newIndex) override;
    int GetCount() const override;
    // The container takes ownership of control.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;
    // One place toward the front or the back; no relayout.
    void ShiftItem(CControlUI* control, bool towardFront);

    // --- overrides of the control base ---
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    RECT GetClientPos() const override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void Move(SIZE offset, bool invalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void SetMouseEnabled(bool enable = true) override;
    CControlUI* FindControl(FindControlProc proc, LPVOID data, UINT flags) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;

    // --- inset, padding, alignment (stored at 96 dpi, read scaled) ---
    virtual RECT GetInset() const;
    virtual void SetInset(int left, int top, int right, int bottom);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int padding);
    virtual UINT GetChildAlign() const;
    virtual void SetChildAlign(UINT align);
    virtual UINT GetChildVAlign() const;
    virtual void SetChildVAlign(UINT align);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool autoDestroy);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool delayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool enable = true);
    // The first visible, enabled list item from index on (forward) or back from it; -1 if none.
    virtual int FindSelectable(int index, bool forward = true) const;

    // --- scrolling ---
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE pos, bool notify = true);
    // Only values above 0 are stored.
    virtual void SetScrollStepSize(int step);
    virtual int GetScrollStepSize() const;
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool vertical = true, bool horizontal = false);
    // A CScrollBarUI (anything answering kScrollBarServicesInterface); others are ignored.
    // The container neither owns nor deletes an attached bar; one it made itself it deletes.
    virtual void AttachVerticalScrollBar(CControlUI* bar);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;
    bool IsVerticalScrollBarExternal() const { return m_bExternalVScroll; }

    // --- placement ---
    virtual void PlaceFloatingChild(int index);
    // rc is the content rectangle the layout used, already reduced by the visible bars.
    virtual void UpdateScrollBars(RECT rc, int requiredWidth, int requiredHeight);

    // --- named sub-controls (need a manager) ---
    CControlUI* FindNamedSubControl(LPCWSTR name);
    int GetNamedSubControlFixedHeight(LPCWSTR name);
    int GetNamedSubControlFixedWidth(LPCWSTR name);
    CUIString GetNamedSubControlText(LPCWSTR name);
    CUIString GetNamedSubControlUserData(LPCWSTR name);
    bool SetNamedSubControlFixedHeight(LPCWSTR name, int cy);
    bool SetNamedSubControlFixedWidth(LPCWSTR name, int cx);
    bool SetNamedSubControlText(LPCWSTR name, LPCWSTR text);
    bool SetNamedSubControlUserData(LPCWSTR name, LPCWSTR data);

protected:
    // The bars as controls, and what the container calls on them.
    bool IsVScrollVisible() const;
    bool IsHScrollVisible() const;
    int GetVScrollPos() const;
    int GetVScrollRange() const;
    int GetHScrollPos() const;
    int GetHScrollRange() const;
    int GetVScrollWidth() const;
    int GetHScrollHeight() const;
    // Item rectangle less the scaled inset.
    RECT GetInsetRect() const;
    // The inset rectangle less the room of the visible bars (an attached vertical bar takes none):
    // where children show and take hits.
    RECT GetViewRect() const;
    void DestroyChild(CControlUI* control);
    // A removed child: destroyed with auto-destroy on, else unbound for the caller to keep.
    void ReleaseChild(CControlUI* control);
    // A hidden child takes no place and a floating one is placed here; true for both, so the
    // layout's own placement skips them.
    bool IsPlacedApart(CControlUI* child, int index);

    CUIPtrArray m_items;
    RECT m_rcInset = {0, 0, 0, 0};
    int m_iChildPadding = 0;
    UINT m_iChildAlign = DT_LEFT;
    UINT m_iChildVAlign = DT_TOP;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
    int m_nScrollStepSize = 0;
    bool m_bExternalVScroll = false;
    CControlUI* m_pVerticalScrollBar = nullptr;
    CControlUI* m_pHorizontalScrollBar = nullptr;
    IScrollBarServicesUI* m_pVerticalBar = nullptr;
    IScrollBarServicesUI* m_pHorizontalBar = nullptr;
    CUIString m_sVerticalScrollBarStyle;
    CUIString m_sHorizontalScrollBarStyle;

private:
    void SetVerticalBar(CControlUI* bar);
    void SetHorizontalBar(CControlUI* bar);
    // SetPos of this container, as the bars' show/hide steps re-place it.
    void Replace();
    // The whole scrolled content area in window coordinates.
    RECT GetScrolledContentRect() const;
    // Binds a new child to the manager and to this container's visibility.
    void AdoptChild(CControlUI* control);
    void CreateOwnBar(bool horizontal);
    // One bar's show, hide or resize step; true when it re-placed the container.
    bool UpdateBar(CControlUI* bar, IScrollBarServicesUI* services, int overflow, const RECT& barRect);
    // What one line or page step moves; the vertical line falls back to the font height.
    int VerticalLineStep() const;
    int HorizontalLineStep() const;
    int VerticalPage() const;
    int HorizontalPage() const;
    void ScrollBy(int dx, int dy);
    void FlushPendingLayout();
};

} // namespace ZvUI

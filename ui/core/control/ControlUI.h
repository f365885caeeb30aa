#pragma once
// Base of every control in a paint manager's tree: attributes, geometry requests, states and delegates.

#include <windows.h>

#include <vector>

#include "control/UIDelegate.h"
#include "manager/UIEvents.h"
#include "utils/UIString.h"
#include "utils/UIStringMap.h"

namespace ZvUI {

class CPaintManagerUI;

class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    virtual ~CControlUI();

    // --- identity ---
    virtual CUIString GetName() const;
    virtual void SetName(LPCWSTR name);
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);
    virtual UINT GetControlFlags() const;
    virtual void SetControlFlags(UINT flags);
    virtual UINT GetStoredControlFlags() const;
    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;

    // --- text ---
    virtual CUIString GetText() const;
    virtual void SetText(LPCWSTR text);
    virtual bool IsResourceText() const;
    virtual void SetResourceText(bool resource);
    virtual bool IsDragEnabled() const;
    virtual void SetDragEnabled(bool enable);
    virtual bool IsDropEnabled() const;
    virtual void SetDropEnabled(bool enable);
    virtual bool IsRichEvent() const;
    virtual void SetRichEvent(bool enable);

    // --- geometry (item rect in device pixels; requests stored at 96 dpi, read scaled) ---
    virtual RECT GetRelativePos() const;
    virtual RECT GetClientPos() const;
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc, bool invalidate = true);
    virtual void Move(SIZE offset, bool invalidate = true);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetLayoutWidth() const;
    virtual int GetLayoutHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT padding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE xy);
    virtual SIZE GetFixedSize() const;
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void GetFloatPercent(double& left, double& top, double& right, double& bottom) const;
    virtual void SetFloatPercent(double left, double top, double right, double bottom);
    virtual void SetFloatAlign(UINT align);
    virtual UINT GetFloatAlign() const;

    // --- tooltip, cursor, shortcut, user data ---
    virtual CUIString GetToolTip() const;
    virtual void SetToolTip(LPCWSTR text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;
    virtual WORD GetCursor() const;
    virtual CUIString GetCursorName() const;
    virtual void SetCursor(WORD cursor);
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool used);
    virtual const CUIString& GetUserData() const;
    virtual void SetUserData(LPCWSTR text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);

    // --- state ---
    virtual bool IsVisibleOwn() const;
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    // Visibility imposed by the parent.
    virtual void SetInternVisible(bool visible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool isFloat = true);

    // --- tree, events, attributes ---
    virtual CControlUI* FindControl(FindControlProc proc, LPVOID data, UINT flags);
    // DoInit, then the InitHandlers.
    virtual void Init();
    virtual void DoInit();
    // The EventHandlers may veto, then DoEvent.
    virtual void Event(UIControlEvent& event);
    virtual void DoEvent(UIControlEvent& event);
    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);
    virtual SIZE EstimateSize(SIZE available);

    // --- painting by layer ---
    // False when the stop control was reached and painting must end.
    virtual bool Paint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl);
    virtual bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintForeColor(HDC hDC);
    virtual void PaintForeImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);
    // In 96-dpi units.
    virtual SIZE MeasureText(LPCWSTR text, int font);

    // --- invalidation and layout requests ---
    void Invalidate();
    void NeedUpdate();
    void NeedParentUpdate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }

    // Pairs name="value" separated by one blank, or by any one character and a comma.
    void ApplyAttributeList(LPCWSTR list);
    void AddCustomAttribute(LPCWSTR name, LPCWSTR value);
    LPCWSTR GetCustomAttribute(LPCWSTR name) const;
    bool RemoveCustomAttribute(LPCWSTR name);
    void RemoveAllCustomAttributes();

    CUIString GetVirtualWnd() const;
    CUIString GetOwnVirtualWnd() const;
    void SetVirtualWnd(LPCWSTR name);

    [[nodiscard]] bool SetTimer(UINT id, UINT elapse);
    void KillTimer(UINT id);
    // The timers that ran when the control left its last manager (kept by the manager's
    // unbinding, taken by the next one's binding).
    std::vector<UIParkedTimer>& ParkedTimers() { return m_parkedTimers; }

    DWORD GetAdjustColor(DWORD color) const;
    bool DrawImage(HDC hDC, LPCWSTR descriptor, LPCWSTR modify = nullptr);

    // --- colours, images, border (colours are ARGB; 0 means not set) ---
    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const { return m_dwBackColor2; }
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const { return m_dwBackColor3; }
    void SetBkColor3(DWORD color);
    DWORD GetForeColor() const { return m_dwForeColor; }
    void SetForeColor(DWORD color);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(DWORD color);
    const CUIString& GetBkImage() const { return m_sBkImage; }
    void SetBkImage(LPCWSTR descriptor);
    const CUIString& GetForeImage() const { return m_sForeImage; }
    void SetForeImage(LPCWSTR descriptor);
    const CUIString& GetGradient() const { return m_sGradient; }
    void SetGradient(LPCWSTR gradient);
    bool IsColorHSL() const { return m_bColorHSL; }
    void SetColorHSL(bool hsl);
    int GetBorderSize() const;
    void SetBorderSize(int size);
    SIZE GetBorderRound() const;
    void SetBorderRound(SIZE round);
    int GetBorderStyle() const { return m_nBorderStyle; }
    void SetBorderStyle(int style);
    RECT GetBorderRectSize() const;
    void SetBorderRectSize(RECT sides);
    int GetLeftBorderSize() const;
    void SetLeftBorderSize(int size);
    int GetTopBorderSize() const;
    void SetTopBorderSize(int size);
    int GetRightBorderSize() const;
    void SetRightBorderSize(int size);
    int GetBottomBorderSize() const;
    void SetBottomBorderSize(int size);
    bool IsAutoTextSize() const { return m_bAutoTextSize; }

    // Painting layers read the last paint request clipped to the item rect.
    const RECT& GetPaintRect() const { return m_rcPaint; }
    HINSTANCE GetImageInstance() const { return m_hImageInstance; }
    void SetImageInstance(HINSTANCE instance) { m_hImageInstance = instance; }

    CDelegateList InitHandlers;
    CDelegateList DestroyHandlers;
    CDelegateList SizeHandlers;
    CDelegateList EventHandlers;
    CDelegateList NotifyHandlers;

protected:
    int ScaleValue(int value) const;
    SIZE ScaleSizeValue(SIZE sz) const;
    RECT ScaleRectValue(RECT rc) const;

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CUIString m_sVirtualWnd;
    CUIString m_sName;
    bool m_bUpdateNeeded = true;
    bool m_bMenuUsed = false;
    RECT m_rcItem = {0, 0, 0, 0};
    RECT m_rcPadding = {0, 0, 0, 0};
    SIZE m_cXY = {0, 0};
    SIZE m_cxyFixed = {0, 0};
    SIZE m_cxyMin = {0, 0};
    SIZE m_cxyMax = {9999, 9999};
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    double m_floatPercent[4] = {0, 0, 0, 0};
    UINT m_uFloatAlign = 0;
    bool m_bInSizeHandlers = false;
    bool m_bRichEvent = false;
    bool m_bDragEnabled = false;
    bool m_bDropEnabled = false;
    bool m_bResourceText = false;
    CUIString m_sText;
    CUIString m_sToolTip;
    wchar_t m_chShortcut = 0;
    CUIString m_sUserData;
    UINT_PTR m_pTag = 0;
    CUIString m_sGradient;
    DWORD m_dwBackColor = 0;
    DWORD m_dwBackColor2 = 0;
    DWORD m_dwBackColor3 = 0;
    DWORD m_dwForeColor = 0;
    CUIString m_sBkImage;
    CUIString m_sForeImage;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    bool m_bColorHSL = false;
    int m_nBorderSize = 0;
    int m_nBorderStyle = 0;
    int m_nTooltipWidth = 300;
    WORD m_wCursor = 0;
    SIZE m_cxyBorderRound = {0, 0};
    RECT m_rcPaint = {0, 0, 0, 0};
    RECT m_rcBorderSize = {0, 0, 0, 0};
    HINSTANCE m_hImageInstance = nullptr;
    CUIStringMap m_mCustomAttrs;
    UINT m_uControlFlags = 0;
    bool m_bAutoTextSize = false;
    std::vector<UIParkedTimer> m_parkedTimers;
};

// A mouse event while control takes no mouse goes to its parent, or to Base's handling when it has
// none; true when it was handed over and the control's own handling must not run.
template <class Base, class Control>
bool HandOverMouseEvent(Control& control, UIControlEvent& event)
{
    if (control.IsMouseEnabled() || !IsMouseEvent(event.type))
        return false;
    if (control.GetParent() != nullptr)
        control.GetParent()->DoEvent(event);
    else
        control.Base::DoEvent(event);
    return true;
}

} // namespace ZvUI

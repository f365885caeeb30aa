#pragma once
// Container side of the OLE protocol for one hosted object: site, host window, frame, enumerator.

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include "window/WindowWnd.h"

namespace ZvUI {

class CActiveXUI;
class CActiveXCtrl;

// Child window of the manager's window for an object that will not run windowless.
class CActiveXWnd final : public CWindowWnd {
public:
    explicit CActiveXWnd(CActiveXCtrl* owner) : m_pOwner(owner) {}
    // Null on failure.
    HWND Init(HWND parent);

    LPCWSTR GetWindowClassName() const override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;

private:
    void DoVerb(LONG verb);
    LRESULT OnPrint(HDC hdc);

    CActiveXCtrl* m_pOwner = nullptr;
    DWORD m_dwTicks = 0;
    bool m_bDrawCaret = false;
};

// In-place frame handed to the object; its window is the manager's.
class CActiveXFrameWnd : public IOleInPlaceFrame {
public:
    explicit CActiveXFrameWnd(CActiveXUI* owner) : m_pOwner(owner) {}
    // The site clears it when the control lets the site go.
    void SetOwner(CActiveXUI* owner) { m_pOwner = owner; }
    // The site lets the frame go: forgets the owner and the active object.
    void Detach();

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL enterMode) override;
    STDMETHOD(GetBorder)(LPRECT border) override;
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS widths) override;
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS widths) override;
    STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    STDMETHOD(InsertMenus)(HMENU menu, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHOD(SetMenu)(HMENU menu, HOLEMENU olemenu, HWND activeObject) override;
    STDMETHOD(RemoveMenus)(HMENU menu) override;
    STDMETHOD(SetStatusText)(LPCOLESTR text) override;
    STDMETHOD(EnableModeless)(BOOL enable) override;
    STDMETHOD(TranslateAccelerator)(LPMSG msg, WORD id) override;

private:
    virtual ~CActiveXFrameWnd();

    LONG m_dwRef = 1;
    CActiveXUI* m_pOwner = nullptr;
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;
};

// Enumerates the one object of a container.
class CActiveXEnum : public IEnumUnknown {
public:
    explicit CActiveXEnum(IUnknown* object);

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Next)(ULONG count, IUnknown** items, ULONG* fetched) override;
    STDMETHOD(Skip)(ULONG count) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumUnknown** out) override;

private:
    virtual ~CActiveXEnum();

    LONG m_dwRef = 1;
    LONG m_iPos = 0;
    IUnknown* m_pUnk = nullptr;
};

// The site lives as long as its reference count; its owner pointer goes null when the control
// lets it go, so late calls from the object answer E_UNEXPECTED.
class CActiveXCtrl : public IOleClientSite,
                     public IOleInPlaceSiteWindowless,
                     public IOleControlSite,
                     public IObjectWithSite,
                     public IOleContainer {
    friend class CActiveXUI;
    friend class CActiveXWnd;

public:
    CActiveXCtrl() = default;
    CActiveXCtrl(const CActiveXCtrl&) = delete;
    CActiveXCtrl& operator=(const CActiveXCtrl&) = delete;

    void SetOwner(CActiveXUI* owner);
    bool IsWindowless() const { return m_bWindowless; }
    bool IsInPlaceActive() const { return m_bInPlaceActive; }
    bool IsFocused() const { return m_bFocused; }
    bool IsCaptured() const { return m_bCaptured; }
    bool IsUIActivated() const { return m_bUIActivated; }
    bool IsLocked() const { return m_bLocked; }

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IObjectWithSite
    STDMETHOD(SetSite)(IUnknown* site) override;
    STDMETHOD(GetSite)(REFIID riid, void** ppv) override;

    // IOleClientSite
    STDMETHOD(SaveObject)() override;
    STDMETHOD(GetMoniker)(DWORD assign, DWORD which, IMoniker** out) override;
    STDMETHOD(GetContainer)(IOleContainer** out) override;
    STDMETHOD(ShowObject)() override;
    STDMETHOD(OnShowWindow)(BOOL show) override;
    STDMETHOD(RequestNewObjectLayout)() override;

    // IOleInPlaceSiteWindowless
    STDMETHOD(CanWindowlessActivate)() override;
    STDMETHOD(GetCapture)() override;
    STDMETHOD(SetCapture)(BOOL capture) override;
    STDMETHOD(GetFocus)() override;
    STDMETHOD(SetFocus)(BOOL focus) override;
    STDMETHOD(GetDC)(LPCRECT rect, DWORD flags, HDC* out) override;
    STDMETHOD(ReleaseDC)(HDC hdc) override;
    STDMETHOD(InvalidateRect)(LPCRECT rect, BOOL erase) override;
    STDMETHOD(InvalidateRgn)(HRGN rgn, BOOL erase) override;
    STDMETHOD(ScrollRect)(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) override;
    STDMETHOD(AdjustRect)(LPRECT rect) override;
    STDMETHOD(OnDefWindowMessage)(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // IOleInPlaceSiteEx
    STDMETHOD(OnInPlaceActivateEx)(BOOL* noRedraw, DWORD flags) override;
    STDMETHOD(OnInPlaceDeactivateEx)(BOOL noRedraw) override;
    STDMETHOD(RequestUIActivate)() override;

    // IOleInPlaceSite
    STDMETHOD(CanInPlaceActivate)() override;
    STDMETHOD(OnInPlaceActivate)() override;
    STDMETHOD(OnUIActivate)() override;
    STDMETHOD(GetWindowContext)(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHOD(Scroll)(SIZE extent) override;
    STDMETHOD(OnUIDeactivate)(BOOL undoable) override;
    STDMETHOD(OnInPlaceDeactivate)() override;
    STDMETHOD(DiscardUndoState)() override;
    STDMETHOD(DeactivateAndUndo)() override;
    STDMETHOD(OnPosRectChange)(LPCRECT pos) override;

    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL enterMode) override;

    // IOleControlSite
    STDMETHOD(OnControlInfoChanged)() override;
    STDMETHOD(LockInPlaceActive)(BOOL lock) override;
    STDMETHOD(GetExtendedControl)(IDispatch** out) override;
    STDMETHOD(TransformCoords)(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHOD(TranslateAccelerator)(MSG* msg, DWORD modifiers) override;
    STDMETHOD(OnFocus)(BOOL gotFocus) override;
    STDMETHOD(ShowPropertyFrame)() override;

    // IOleContainer
    STDMETHOD(EnumObjects)(DWORD flags, IEnumUnknown** out) override;
    STDMETHOD(LockContainer)(BOOL lock) override;

    // IParseDisplayName
    STDMETHOD(ParseDisplayName)(IBindCtx* bc, LPOLESTR name, ULONG* eaten, IMoniker** out) override;

private:
    virtual ~CActiveXCtrl();

    HRESULT CreateActiveXWnd();
    void DrawView(HDC hdc, const RECT& rc);
    void ClearInPlaceObject();
    void UnlockRunning();
    IOleInPlaceObjectWindowless* GetWindowlessObject() const;

    LONG m_dwRef = 1;
    CActiveXUI* m_pOwner = nullptr;
    CActiveXWnd* m_pWindow = nullptr;
    IUnknown* m_pUnkSite = nullptr;
    IViewObject* m_pViewObject = nullptr;
    // IOleInPlaceObjectWindowless when windowless, IOleInPlaceObject otherwise.
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    // Made on the first request and handed out again, so repeated calls leak nothing.
    CActiveXFrameWnd* m_pFrame = nullptr;
    HACCEL m_hAccel = nullptr;
    // The object kept running by in-place activation; unlocked at deactivation, since the lock
    // is a strong reference that would otherwise keep the object alive for good.
    IOleObject* m_pRunningLock = nullptr;
    bool m_bLocked = false;
    bool m_bFocused = false;
    bool m_bCaptured = false;
    bool m_bUIActivated = false;
    bool m_bInPlaceActive = false;
    bool m_bWindowless = true;
};

} // namespace ZvUI

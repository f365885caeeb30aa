#pragma once
// The drop shadow of a skinned window: a layered, click-through popup kept just behind its host.

#include <windows.h>

#include <map>

#include "utils/UIString.h"

namespace ZvUI {

class CPaintManagerUI;

class CShadowUI {
public:
    CShadowUI() = default;
    CShadowUI(const CShadowUI&) = delete;
    CShadowUI& operator=(const CShadowUI&) = delete;
    // Unhooks a host that outlives its manager and destroys the shadow window.
    virtual ~CShadowUI();

    // Registers the shadow window class once per process; false on every later call.
    static bool RegisterShadowClass(HINSTANCE instance);
    // Host window to shadow, for the shared host procedure.
    static std::map<HWND, CShadowUI*>& GetShadowMap();
    // Each of the three low bytes times alpha / 255; the top byte becomes 0.
    static DWORD PreMultiply(DWORD color, BYTE alpha);

    // Makes the shadow window for the manager's window and hooks that window; nothing unless
    // enabled, and nothing more once the shadow of that window exists.
    void Create(CPaintManagerUI* host);
    // Rebuilds the bitmap and pushes it to the shadow window.
    void Update(HWND host);
    HWND GetShadowWindow() const { return m_hWnd; }

    void SetShadowEnabled(bool enabled) { m_bEnabled = enabled; }
    bool IsShadowEnabled() const { return m_bEnabled; }
    void SetSuspended(bool suspended);
    bool IsSuspended() const { return m_bSuspended; }

    // Setters refuse values out of range with false and keep the old value.
    bool SetSize(int size);
    bool SetSharpness(unsigned int sharpness);
    bool SetDarkness(unsigned int darkness);
    bool SetPosition(int x, int y);
    // A bitmap pixel: blue in the low byte, then green, then red.
    bool SetColor(DWORD color);
    // The image replaces the computed shadow from now on, even when the name is empty.
    bool SetImage(LPCWSTR image);
    bool SetCorner(int left, int top, int right, int bottom);
    bool CopySettingsTo(CShadowUI* other) const;

    // Where the shadow of a host at rcHost (screen coordinates) lies.
    RECT GetShadowRect(const RECT& rcHost) const;
    // Draws the shadow of host into the bottom-up 32-bit DIB selected into dc, sized as
    // GetShadowRect of the host's window rectangle. False when there is nothing to draw.
    bool DrawShadowBitmap(HWND host, HDC dc, DWORD* bits) const;

private:
    static LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void BuildShadowBitmap(DWORD* bits, HWND host, const RECT& rcHost) const;
    void Place(HWND host);
    void Show();
    void Hide();
    // Status bits 1 and 2 from the host's style; shows and updates a plainly visible host.
    void TakeHostState(HWND host);
    void UpdateIfShown();
    void Detach();

    CPaintManagerUI* m_pManager = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hWndHost = nullptr;
    WNDPROC m_pOldHostProc = nullptr;
    BYTE m_Status = 0;
    bool m_bIsImageMode = false;
    bool m_bEnabled = false;
    bool m_bSuspended = false;
    BYTE m_nDarkness = 150;
    BYTE m_nSharpness = 5;
    signed char m_nSize = 0;
    signed char m_nxOffset = 0;
    signed char m_nyOffset = 0;
    LPARAM m_WndSize = 0;
    bool m_bUpdate = false;
    DWORD m_Color = 0;
    CUIString m_sShadowImage;
    RECT m_rcShadowCorner = {0, 0, 0, 0};
};

} // namespace ZvUI

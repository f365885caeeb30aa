#pragma once
// IPv4 address shown as label text and edited in the native IP address control.

#include <windows.h>

#include "control/LabelUI.h"
#include "window/WindowWnd.h"

namespace ZvUI {

class CIPAddressWnd;

class CIPAddressUI : public CLabelUI {
public:
    // Text update modes.
    static constexpr int kUpdateNone = 0;
    static constexpr int kUpdateFormat = 1;
    static constexpr int kUpdateEmpty = 2;
    static constexpr int kUpdateCancelled = 3;

    CIPAddressUI();
    ~CIPAddressUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    // Leaving its window closes the native window there: it is a child of the window left.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void DoEvent(UIControlEvent& event) override;

    // a.b.c.d = a << 24 | b << 16 | c << 8 | d.
    DWORD GetIP() const { return m_dwIP; }
    void SetIP(DWORD ip);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly);
    HWND GetNativeWindow() const;

    void SetUpdateMode(int mode) { m_nIPUpdateFlag = mode; }
    // Applies the current update mode to the text.
    void UpdateText();

    // The local host's first IPv4 address, 0 when there is none.
    static DWORD GetLocalAddress();

private:
    friend class CIPAddressWnd;
    void OpenWindow();

    DWORD m_dwIP = 0;
    bool m_bReadOnly = false;
    int m_nIPUpdateFlag = kUpdateFormat;
    CIPAddressWnd* m_pWindow = nullptr;
};

// The native window of a CIPAddressUI; hidden after use, it deletes itself on its final message.
class CIPAddressWnd : public CWindowWnd {
public:
    CIPAddressWnd() = default;

    // Creates the window on first use, then places, loads and shows it with focus; false when it
    // cannot be created (the wrapper may then have deleted itself).
    bool Init(CIPAddressUI* owner);

    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;

    // Over the owner's full rectangle, with the font of the current scale, on the fields too.
    void FollowOwner();

private:
    friend class CIPAddressUI;

    // The fields are child edit windows that take the keys; they pass key-ups on to us.
    void HookFields();

    CIPAddressUI* m_pOwner = nullptr;
    bool m_bInit = false;
};

} // namespace ZvUI

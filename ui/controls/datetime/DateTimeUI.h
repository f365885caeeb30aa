#pragma once
// Date or date-and-time shown as label text and picked in the native date-time picker.

#include <windows.h>

#include "control/LabelUI.h"
#include "window/WindowWnd.h"

namespace ZvUI {

class CDateTimeWnd;

class CDateTimeUI : public CLabelUI {
public:
    // Text update modes.
    static constexpr int kUpdateNone = 0;
    static constexpr int kUpdateFormat = 1;
    static constexpr int kUpdateEmpty = 2;

    CDateTimeUI();
    ~CDateTimeUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    // Leaving its window closes the native window there: it is a child of the window left.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    const SYSTEMTIME* GetTime() const { return &m_sysTime; }
    void SetTime(const SYSTEMTIME* time);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly);
    bool GetShowTime() const { return m_bShowTime; }
    void SetShowTime(bool showTime);
    HWND GetNativeWindow() const;

    void SetUpdateMode(int mode) { m_nDTUpdateFlag = mode; }
    // Applies the current update mode to the text.
    void UpdateText();

private:
    friend class CDateTimeWnd;
    void OpenPicker();
    // Once the control is hidden, by itself or its page, the picker goes at once.
    void ClosePickerIfHidden();

    SYSTEMTIME m_sysTime = {};
    bool m_bReadOnly = false;
    bool m_bShowTime = true;
    int m_nDTUpdateFlag = kUpdateNone;
    CDateTimeWnd* m_pWindow = nullptr;
};

// The picker window of a CDateTimeUI; it deletes itself on its final message.
class CDateTimeWnd : public CWindowWnd {
public:
    CDateTimeWnd() = default;

    // Creates the window on first use, then loads the owner's value and shows it with focus;
    // false when it cannot be created (the wrapper may then have deleted itself).
    bool Init(CDateTimeUI* owner);

    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND window) override;

private:
    friend class CDateTimeUI;

    void TakeValue();

    CDateTimeUI* m_pOwner = nullptr;
    bool m_bInit = false;
    bool m_bDropOpen = false;
    SYSTEMTIME m_oldSysTime = {};
};

} // namespace ZvUI

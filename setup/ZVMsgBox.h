// The skinned modal message box, plain or over a dimmed main window.
#pragma once

#include "ZVMsgBoxControls.h"
#include "ZVObjectWnd.h"

#include <windows.h>

class CZVMsgBox : public CZVObjectWnd {
public:
    CZVMsgBox();
    ~CZVMsgBox() override = default;

    // The box frees itself once its window is gone.
    void OnFinalMessage(HWND window) override;
    void InitWindow() override;
    void OnCaptionButton(ZvUI::UINotifyMessage& msg) override { OnClick(msg); }
    // A box is the end of a chain: it takes no events.
    void OnEvent(int, int, int) override {}

    void OnClick(ZvUI::UINotifyMessage& msg);
    [[nodiscard]] int GetResult() const { return m_result; }

    // An empty caption hides its button; a null icon keeps the skin's image.
    void Fill(LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption, LPCWSTR secondCaption, LPCWSTR icon,
              bool closeButton);

private:
    ZVMsgBoxControls m_controls;
    int m_result = 0;
};

// Runs a box modally over parent: 1 for the first button, 2 for the second, 0 for the close
// button or any other way of closing (0 too when the box cannot be created).
int ShowZVMsgBox(HWND parent, LPCWSTR caption, LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption,
                 LPCWSTR secondCaption, LPCWSTR icon, DWORD style, DWORD exStyle, bool closeButton);

// The box over the window of host, whose content is dimmed while it runs. The host window may be
// destroyed meanwhile (its owner's timers keep running): the caller checks IsWindow on its own
// handle before it touches the host again.
int ShowDimmedMsgBox(ZvUI::CPaintManagerUI& host, LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption,
                     LPCWSTR secondCaption);

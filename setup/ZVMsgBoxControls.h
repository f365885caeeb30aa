// The named controls that the program's message boxes share, how they are filled and what a click on them means.
#pragma once

#include "ZVObjectWnd.h"

#include <windows.h>

#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "control/TextUI.h"

class ZVMsgBoxControls {
public:
    // Finds title, message, icon, close button, first and second button, in that order.
    void Bind(ZvUI::CPaintManagerUI& pm);
    // An empty caption hides its button; a null icon keeps the skin's image.
    void Fill(LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption, LPCWSTR secondCaption, LPCWSTR icon,
              bool closeButton) const;
    // The code a click on sender closes the box with: current for the close button, 1 for the
    // first button, 2 for the second; -1 when sender is none of them.
    [[nodiscard]] int ClickCode(ZvUI::CControlUI* sender, int current) const;

private:
    ZvControlPtr<ZvUI::CTextUI> m_title;
    ZvControlPtr<ZvUI::CTextUI> m_message;
    ZvControlPtr<ZvUI::CLabelUI> m_icon;
    ZvControlPtr<ZvUI::CButtonUI> m_closeButton;
    ZvControlPtr<ZvUI::CButtonUI> m_firstButton;
    ZvControlPtr<ZvUI::CButtonUI> m_secondButton;
};

// Creates box's window over parent, fills it, centres it on its owner and runs it modally. The
// box frees itself on its final message, so only the code that closed it is returned (0 when
// the window cannot be created: the failed Create has given that final message already).
template <class Box>
int RunZVMsgBox(Box* box, HWND parent, LPCWSTR caption, LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption,
                LPCWSTR secondCaption, LPCWSTR icon, DWORD style, DWORD exStyle, bool closeButton)
{
    if (box->Create(parent, caption, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT) ==
        nullptr)
        return 0;
    box->Fill(title, message, firstCaption, secondCaption, icon, closeButton);
    box->CenterOnOwner(RECT{}, POINT{});
    box->SetIcon(kZvIconResource);
    return static_cast<int>(box->RunModal());
}

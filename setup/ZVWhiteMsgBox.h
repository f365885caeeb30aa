// The white modal message box: skinned content framed by a soft 16-pixel shadow image.
#pragma once

#include "ZVMsgBoxControls.h"
#include "ZVObjectWnd.h"

#include <windows.h>

#include <functional>

#include "layout/VerticalLayoutUI.h"

class CZVWhiteMsgBox : public CZVObjectWnd {
public:
    // The owner's timer id that lays the box over its owner.
    static constexpr UINT_PTR kFitOwnerTimer = 269;

    CZVWhiteMsgBox();
    ~CZVWhiteMsgBox() override = default;

    // The box frees itself once its window is gone.
    void OnFinalMessage(HWND window) override;
    void InitWindow() override;
    void OnCaptionButton(ZvUI::UINotifyMessage& msg) override;
    LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
    // The box is the end of a chain: it takes no events.
    void OnEvent(int, int, int) override {}

    // An empty caption hides its button; a null icon keeps the skin's image.
    void Fill(LPCWSTR title, LPCWSTR message, LPCWSTR okCaption, LPCWSTR cancelCaption, LPCWSTR icon,
              bool closeButton);
    [[nodiscard]] int GetResult() const { return m_result; }

private:
    int m_result = 0;
    ZvControlPtr<ZvUI::CVerticalLayoutUI> m_center;
    ZVMsgBoxControls m_controls;
    RECT m_ownerRect = {};
};

// Runs a white box modally over parent: 1 for OK, 2 for Cancel, 0 for the close button or any
// other way of closing (0 too when the box cannot be created).
int ShowZVWhiteMsgBox(HWND parent, LPCWSTR caption, LPCWSTR title, LPCWSTR message, LPCWSTR okCaption,
                      LPCWSTR cancelCaption, LPCWSTR icon, DWORD style, DWORD exStyle, bool closeButton,
                      int userValue);

// What the two create functions need beside the parent, the sink and the caption.
struct ZVWhiteMsgBoxArgs {
    ZvBase::Callback onDestroy;
    ZvBase::Callback aux;
    int userValue = 0;
    DWORD style = kZvWindowStyle;
    DWORD exStyle = kZvWindowExStyle;
    int showFlag = SW_SHOW;
};

// Creates a white box in nextSink's chain, centred on its owner. Modal: runs it and returns null.
// Otherwise shows it, focused, and returns it. Null when it cannot be created.
CZVWhiteMsgBox* CreateZVWhiteMsgBox(HWND parent, ZvBase* nextSink, bool modal, LPCWSTR caption,
                                    const ZVWhiteMsgBoxArgs& args);
// The same, handing the new box to holder before anything else is set on it.
CZVWhiteMsgBox* CreateZVWhiteMsgBox(HWND parent, ZvBase* nextSink, bool modal, LPCWSTR caption,
                                    const ZVWhiteMsgBoxArgs& args,
                                    const std::function<void(CZVWhiteMsgBox*)>& holder);

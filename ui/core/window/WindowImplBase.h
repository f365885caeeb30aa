#pragma once
// Base of every skinned top-level window: builds its skin, emulates caption and frame, routes notifications.

#include <windows.h>

#include "builder/DialogBuilder.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIEvents.h"
#include "resource/IQueryControlText.h"
#include "utils/UIString.h"
#include "window/NotifyPump.h"
#include "window/WindowWnd.h"

namespace ZvUI {

class CControlUI;

// A skin that cannot be built ends the process with exit code 1 after a message box.
// Handlers get handled preset to TRUE and clear it to pass the message on.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
    ZV_DECLARE_MESSAGE_TABLE(WindowImplBase)

public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    UINT GetClassStyle() const override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Unhooks from the manager; the object itself stays for its owner to delete.
    void OnFinalMessage(HWND window) override;

    virtual void ExtraHook() {}
    // The skin is built and attached: controls can be looked up.
    virtual void InitWindow() {}
    virtual void OnCaptionButton(UINotifyMessage& msg);
    // Whether the caption band drags the window over this control.
    virtual bool IsCaptionPassThrough(CControlUI* control);
    // Empty: the skin file is a file or archive item; otherwise a resource type for its id.
    virtual CUIString GetSkinType();
    virtual CUIString GetSkinFile() = 0;
    virtual LPCWSTR GetManagerName();
    virtual LRESULT OnDefaultKey(WPARAM key);

    virtual LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcActivate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseHover(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnChar(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnKeyDown(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnKillFocus(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnSetFocus(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // Any message no handler took; handled arrives FALSE, set it to claim the message.
    virtual LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The current style without WS_CAPTION.
    virtual LONG GetStyle();

    // INotifyUI
    void Notify(UINotifyMessage& msg) override;
    // IMessageFilterUI: looks at Return and Escape but never consumes them.
    LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // IDialogBuilderCallback
    CControlUI* CreateControl(LPCWSTR tag) override;
    // IQueryControlText
    LPCWSTR QueryControlText(LPCWSTR id, LPCWSTR type) override;

    CPaintManagerUI& GetPaintManager() { return m_pm; }

protected:
    CPaintManagerUI m_pm;
};

} // namespace ZvUI

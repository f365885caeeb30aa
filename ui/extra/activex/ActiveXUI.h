#pragma once
// Control that embeds an OLE/ActiveX object, windowless or in a child window of its own.

#include <windows.h>
#include <ole2.h>

#include "control/ControlUI.h"
#include "manager/UIEvents.h"
#include "utils/UIString.h"

namespace ZvUI {

class CActiveXCtrl;
class CActiveXWnd;

// The control tree owns this control; the COM objects it hands out never free it.
class CActiveXUI : public CControlUI, public IMessageFilterUI {
    friend class CActiveXCtrl;
    friend class CActiveXWnd;

public:
    CActiveXUI();
    ~CActiveXUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void Move(SIZE offset, bool invalidate = true) override;
    void SetVisible(bool visible = true) override;
void SetEnabled(bool enable = true) override;
        void SetInternVisible(bool visible = true) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;

    virtual bool IsDelayCreate() const;
    virtual void SetDelayCreate(bool delay = true);
    virtual bool IsOwnerManaged() const;
    virtual void SetOwnerManaged(bool managed = true);
    // Drops the hosted object and the site; the created flag stays set.
    virtual void ReleaseHostedControl();
    // Creates and activates the object; false leaves the control empty.
    virtual bool CreateHostedControl();

    // "{...}" goes through CLSIDFromString, anything else through CLSIDFromProgID.
    bool SetClassId(LPCWSTR text);
    // False for GUID_NULL; otherwise true whatever an immediate creation gives.
    bool SetClassId(const CLSID& clsid);
    CLSID GetClassId() const { return m_clsid; }
    void SetModuleName(LPCWSTR name);
    CUIString GetModuleName() const { return m_sModuleName; }
    HWND GetHostWindow() const { return m_hwndHost; }
    HRESULT GetHostedControl(REFIID iid, void** out);

    LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

protected:
    // Null when the module does not load or has no class object for the class id.
    IOleObject* CreateFromModule();
    // Advises sink on source's connection point for events (storing cookie), or unadvises
    // cookie and clears it.
    static HRESULT ConnectSink(IUnknown* source, REFIID events, IUnknown* sink, bool connect,
                               DWORD& cookie);
    // For key messages while the focus is in the host window: the object's in-place
    // accelerator translation. S_FALSE otherwise, E_NOTIMPL without an object.
    LRESULT ForwardAccelerator(MSG* msg, IUnknown* object) const;
    // The item rectangle, moved to the origin when the object lives in its own window.
    RECT ObjectRect(bool windowed) const;

    CLSID m_clsid = GUID_NULL;
    CUIString m_sModuleName;
    HWND m_hwndHost = nullptr;
    IOleObject* m_pUnk = nullptr;
    CActiveXCtrl* m_pControl = nullptr;
    bool m_bCreated = false;
    bool m_bDelayCreate = true;
    bool m_bOwnerManaged = false;
};

} // namespace ZvUI

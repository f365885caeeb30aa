#pragma once
// Hosted Shockwave Flash object with a connected (silent) event sink.

#include <windows.h>
#include <oaidl.h>

#include "activex/ActiveXUI.h"

namespace ZvUI {

class CFlashUI;

// Owner's receiver of Flash events; reference-counted through its first two operations.
class IFlashHandler {
public:
    virtual ULONG Release() = 0;
    virtual ULONG AddRef() = 0;
    virtual HRESULT OnReadyStateChange(CFlashUI* flash, long newState) = 0;
    virtual HRESULT OnProgress(CFlashUI* flash, long percentDone) = 0;
    virtual HRESULT FSCommand(CFlashUI* flash, BSTR command, BSTR args) = 0;
    virtual HRESULT FlashCall(CFlashUI* flash, BSTR request) = 0;

protected:
    ~IFlashHandler() = default;
};

// The IDispatch base is the sink of the object's event interface; the control tree owns the
// control, so its COM count frees nothing.
class CFlashUI : public CActiveXUI, public IDispatch, public ITranslateAccelerator {
public:
    CFlashUI();
    ~CFlashUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void ReleaseHostedControl() override;
    bool CreateHostedControl() override;

    // Null clears the handler; the control holds one reference to the handler it keeps.
    void SetFlashEventHandler(IFlashHandler* handler);
    IFlashHandler* GetFlashEventHandler() const { return m_pFlashEventHandler; }
    // The IShockwaveFlash interface of the object, not add-referenced; null before creation.
    IDispatch* GetShockwaveFlash() const { return m_pFlash; }
    HRESULT RegisterEventHandler(bool connect);

    // Forwarders to the handler; S_OK without one. Nothing in the control raises them.
    HRESULT OnReadyStateChange(long newState);
    HRESULT OnProgress(long percentDone);
    HRESULT FSCommand(BSTR command, BSTR args);
    HRESULT FlashCall(BSTR request);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IDispatch: accepts every event and delivers none
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

    // ITranslateAccelerator; not registered with the manager.
    LRESULT TranslateAccelerator(MSG* msg) override;

private:
    // Queried with the IShockwaveFlash id; only its IDispatch part is used here.
    IDispatch* m_pFlash = nullptr;
    LONG m_dwRef = 0;
    DWORD m_dwCookie = 0;
    IFlashHandler* m_pFlashEventHandler = nullptr;
};

} // namespace ZvUI

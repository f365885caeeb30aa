#pragma once
// Hosted system web browser: home page, events to an owner's handler, document-host services.

#include <windows.h>
#include <docobj.h>
#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <servprov.h>
#include <urlmon.h>

#include "activex/ActiveXUI.h"
#include "activex/WebBrowserHandler.h"

namespace ZvUI {

// Its COM reference count never frees it: the control tree owns it.
class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator,
                      public IInternetSecurityManager,
                      public IDownloadManager {
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void ReleaseHostedControl() override;
    bool CreateHostedControl() override;

    void SetHomePage(LPCWSTR url);
    CUIString GetHomePage() const { return m_sHomePage; }
    void SetAutoNavigation(bool autoNavigate = true) { m_bAutoNavi = autoNavigate; }
    bool IsAutoNavigation() const { return m_bAutoNavi; }
    // Null, or the handler already set, changes nothing; the control does not own it.
    void SetWebBrowserEventHandler(IWebBrowserHandler* handler);
    IWebBrowser2* GetWebBrowser2() const { return m_pWebBrowser2; }

    void Navigate2(LPCWSTR url);
    void NavigateUrl(LPCWSTR url);
    void NavigateHomePage();
    void Refresh();
    void Refresh2(int level);
    void GoBack();
    void GoForward();
    // The page's window object, add-referenced; null without a browser or an HTML document.
    IDispatch* GetHtmlWindow();
    HRESULT RegisterEventHandler(bool connect);

    // Script helpers on any IDispatch; E_FAIL when the name is unknown.
    static DISPID GetDispId(IDispatch* dispatch, LPCWSTR name);
    static HRESULT GetProperty(IDispatch* dispatch, LPCWSTR name, VARIANT* result);
    static HRESULT SetProperty(IDispatch* dispatch, LPCWSTR name, VARIANT* value);
    static HRESULT InvokeMethod(IDispatch* dispatch, LPCWSTR name, VARIANT* result, VARIANT* args,
                                int count);

    // IUnknown (one count for every interface)
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IDispatch: the sink of the browser's events
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

    // IDocHostUIHandler
    STDMETHOD(ShowContextMenu)(DWORD id, POINT* pt, IUnknown* target, IDispatch* object) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* info) override;
    STDMETHOD(ShowUI)(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                      IOleInPlaceFrame* frame, IOleInPlaceUIWindow* doc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL enable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL activate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL activate) override;
    STDMETHOD(ResizeBorder)(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
    STDMETHOD(TranslateAccelerator)(LPMSG msg, const GUID* group, DWORD id) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* key, DWORD reserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* target, IDropTarget** out) override;
    STDMETHOD(GetExternal)(IDispatch** out) override;
    STDMETHOD(TranslateUrl)(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* in, IDataObject** out) override;

    // IServiceProvider
    STDMETHOD(QueryService)(REFGUID service, REFIID riid, void** ppv) override;

    // IOleCommandTarget
    STDMETHOD(QueryStatus)(const GUID* group, ULONG count, OLECMD* cmds, OLECMDTEXT* text) override;
    STDMETHOD(Exec)(const GUID* group, DWORD id, DWORD options, VARIANT* in, VARIANT* out) override;

    // ITranslateAccelerator: 0 when the browser took the key.
    LRESULT TranslateAccelerator(MSG* msg) override;

    // IInternetSecurityManager: every answer leaves the decision to the default policy.
    STDMETHOD(SetSecuritySite)(IInternetSecurityMgrSite* site) override;
    STDMETHOD(GetSecuritySite)(IInternetSecurityMgrSite** site) override;
    STDMETHOD(MapUrlToZone)(LPCWSTR url, DWORD* zone, DWORD flags) override;
    STDMETHOD(GetSecurityId)(LPCWSTR url, BYTE* id, DWORD* size, DWORD_PTR reserved) override;
    STDMETHOD(ProcessUrlAction)(LPCWSTR url, DWORD action, BYTE* policy, DWORD policySize,
                                BYTE* context, DWORD contextSize, DWORD flags, DWORD reserved) override;
    STDMETHOD(QueryCustomPolicy)(LPCWSTR url, REFGUID key, BYTE** policy, DWORD* policySize,
                                 BYTE* context, DWORD contextSize, DWORD reserved) override;
    STDMETHOD(SetZoneMapping)(DWORD zone, LPCWSTR pattern, DWORD flags) override;
    STDMETHOD(GetZoneMappings)(DWORD zone, IEnumString** patterns, DWORD flags) override;

    // IDownloadManager, reached through the download-manager service: forwards to the handler.
    STDMETHOD(Download)(IMoniker* moniker, IBindCtx* bindCtx, DWORD bindVerb, LONG bindFlags,
                        BINDINFO* bindInfo, LPCOLESTR headers, LPCOLESTR redirect, UINT codePage) override;

protected:
    HRESULT DispatchEvent(DISPID id, DISPPARAMS* params);
    void InstallDocumentHandler();
    // The document we handed this control as UI handler takes it back; a document can outlive
    // the control.
    void UninstallDocumentHandler();
    void ReadScriptError(VARIANT* in);

    IWebBrowser2* m_pWebBrowser2 = nullptr;
    IHTMLWindow2* m_pHtmlWnd2 = nullptr;
    ICustomDoc* m_pHandledDoc = nullptr;
    LONG m_dwRef = 0;
    DWORD m_dwCookie = 0;
    CUIString m_sHomePage;
    bool m_bAutoNavi = false;
    IWebBrowserHandler* m_pWebBrowserEventHandler = nullptr;
};

} // namespace ZvUI

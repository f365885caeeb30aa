#pragma once
// Owner-supplied receiver of a web browser control's events and document-host calls.

#include <windows.h>
#include <docobj.h>
#include <mshtmhst.h>
#include <oleidl.h>
#include <urlmon.h>

namespace ZvUI {

class CWebBrowserUI;

// Each operation gets the browser control first, then the arguments of the like-named browser
// event or document-host method. The bodies give the control's own answer without a handler.
class IWebBrowserHandler {
public:
    virtual void BeforeNavigate2(CWebBrowserUI*, IDispatch*, VARIANT* /*url*/, VARIANT* /*flags*/,
                                 VARIANT* /*targetFrame*/, VARIANT* /*postData*/,
                                 VARIANT* /*headers*/, VARIANT_BOOL* /*cancel*/) {}
    virtual void NavigateError(CWebBrowserUI*, IDispatch*, VARIANT* /*url*/, VARIANT* /*frame*/,
                               VARIANT* /*statusCode*/, VARIANT_BOOL* /*cancel*/) {}
    virtual void NavigateComplete2(CWebBrowserUI*, IDispatch*, VARIANT* /*url*/) {}
    virtual void ProgressChange(CWebBrowserUI*, LONG /*progress*/, LONG /*progressMax*/) {}
    virtual void NewWindow3(CWebBrowserUI*, IDispatch** /*ppDisp*/, VARIANT_BOOL* /*cancel*/,
                            DWORD /*flags*/, BSTR /*urlContext*/, BSTR /*url*/) {}
    virtual void CommandStateChange(CWebBrowserUI*, long /*command*/, VARIANT_BOOL /*enable*/) {}
    virtual void TitleChange(CWebBrowserUI*, BSTR /*text*/) {}
    virtual void DocumentComplete(CWebBrowserUI*, IDispatch*, VARIANT* /*url*/) {}

    virtual HRESULT ShowContextMenu(CWebBrowserUI*, DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }
    virtual HRESULT GetHostInfo(CWebBrowserUI*, DOCHOSTUIINFO*) { return S_OK; }
    virtual HRESULT ShowUI(CWebBrowserUI*, DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                           IOleInPlaceFrame*, IOleInPlaceUIWindow*) { return S_OK; }
    virtual HRESULT HideUI(CWebBrowserUI*) { return S_OK; }
    virtual HRESULT UpdateUI(CWebBrowserUI*) { return S_OK; }
    virtual HRESULT EnableModeless(CWebBrowserUI*, BOOL) { return E_NOTIMPL; }
    virtual HRESULT OnDocWindowActivate(CWebBrowserUI*, BOOL) { return E_NOTIMPL; }
    virtual HRESULT OnFrameWindowActivate(CWebBrowserUI*, BOOL) { return E_NOTIMPL; }
    virtual HRESULT ResizeBorder(CWebBrowserUI*, LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
    virtual HRESULT TranslateAccelerator(CWebBrowserUI*, LPMSG, const GUID*, DWORD) { return S_FALSE; }
    virtual HRESULT GetOptionKeyPath(CWebBrowserUI*, LPOLESTR*, DWORD) { return E_NOTIMPL; }
    virtual HRESULT GetDropTarget(CWebBrowserUI*, IDropTarget*, IDropTarget**) { return S_FALSE; }
    virtual HRESULT GetExternal(CWebBrowserUI*, IDispatch**) { return S_FALSE; }
    virtual HRESULT TranslateUrl(CWebBrowserUI*, DWORD, OLECHAR*, OLECHAR** out)
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT FilterDataObject(CWebBrowserUI*, IDataObject*, IDataObject** out)
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT Download(CWebBrowserUI*, IMoniker*, IBindCtx*, DWORD /*bindVerb*/, LONG /*bindFlags*/,
                             BINDINFO*, LPCOLESTR /*headers*/, LPCOLESTR /*redirect*/, UINT /*codePage*/)
    {
        return S_OK;
    }

protected:
    ~IWebBrowserHandler() = default;
};

} // namespace ZvUI

// Hosted system web browser: home page, events to an owner's handler, document-host services.
#include "activex/WebBrowserUI.h"

#include <cwchar>

#include "activex/HostedComIds.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

// DISPIDs of the browser events this control reacts to.
constexpr DISPID kStatusTextChange = 102;
constexpr DISPID kCommandStateChange = 105;
constexpr DISPID kTitleChange = 113;
constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kNavigateComplete2 = 252;
constexpr DISPID kDocumentComplete = 259;
constexpr DISPID kNavigateError = 271;
constexpr DISPID kNewWindow3 = 273;

// Arguments arrive last to first; a by-reference variant is followed to its target.
VARIANT* Arg(DISPPARAMS* params, UINT fromLast)
{
    VARIANT* v = &params->rgvarg[fromLast];
    if (V_VT(v) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(v) != nullptr)
        return V_VARIANTREF(v);
    return v;
}

IDispatch* ArgDispatch(DISPPARAMS* params, UINT fromLast)
{
    VARIANT* v = Arg(params, fromLast);
    return V_VT(v) == VT_DISPATCH ? V_DISPATCH(v) : nullptr;
}

VARIANT_BOOL* ArgBoolRef(DISPPARAMS* params, UINT fromLast)
{
    VARIANT* v = &params->rgvarg[fromLast];
    return V_VT(v) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(v) : nullptr;
}

BSTR ArgBstr(DISPPARAMS* params, UINT fromLast)
{
    VARIANT* v = Arg(params, fromLast);
    return V_VT(v) == VT_BSTR ? V_BSTR(v) : nullptr;
}

LONG ArgLong(DISPPARAMS* params, UINT fromLast)
{
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, Arg(params, fromLast), 0, VT_I4)))
        return 0;
    return V_I4(&converted);
}

// Number of arguments each known event carries.
UINT ArgCount(DISPID id)
{
    switch (id) {
    case kCommandStateChange: return 2;
    case kTitleChange: return 1;
    case kBeforeNavigate2: return 7;
    case kNavigateComplete2: return 2;
    case kDocumentComplete: return 2;
    case kNavigateError: return 5;
    case kNewWindow3: return 5;
    default: return 0;
    }
}

// Holds a reference for the length of a call into the browser: the call may run the owner's
// handlers, and one of them may release the control's own reference.
class KeepAlive {
public:
    explicit KeepAlive(IUnknown* object) : m_object(object)
    {
        if (m_object != nullptr)
            m_object->AddRef();
    }
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;
    ~KeepAlive()
    {
        if (m_object != nullptr)
            m_object->Release();
    }

private:
    IUnknown* m_object;
};

HRESULT InvokeByName(IDispatch* dispatch, LPCWSTR name, WORD flags, DISPPARAMS* params,
                     VARIANT* result)
{
    const DISPID id = CWebBrowserUI::GetDispId(dispatch, name);
    if (id == -1)
        return E_FAIL;
    return dispatch->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, params, result, nullptr,
                            nullptr);
}

} // namespace

CWebBrowserUI::CWebBrowserUI()
{
    m_clsid = CLSID_WebBrowser;
}

CWebBrowserUI::~CWebBrowserUI()
{
    CWebBrowserUI::ReleaseHostedControl();
}

LPCWSTR CWebBrowserUI::GetClass() const
{
    return L"WebBrowserUI";
}

LPVOID CWebBrowserUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"WebBrowser") == 0)
        return static_cast<CWebBrowserUI*>(this);
    return CActiveXUI::GetInterface(name);
}

void CWebBrowserUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (_wcsicmp(name, L"homepage") == 0)
        m_sHomePage = value;
    else if (_wcsicmp(name, L"autonavi") == 0)
        m_bAutoNavi = _wcsicmp(value, L"true") == 0;
    else
        CActiveXUI::SetAttribute(name, value);
}

void CWebBrowserUI::SetHomePage(LPCWSTR url)
{
    m_sHomePage.Format(L"%s", url != nullptr ? url : L"");
}

void CWebBrowserUI::SetWebBrowserEventHandler(IWebBrowserHandler* handler)
{
    if (handler != nullptr && handler != m_pWebBrowserEventHandler)
        m_pWebBrowserEventHandler = handler;
}

// --- creation ---

bool CWebBrowserUI::CreateHostedControl()
{
    if (!CActiveXUI::CreateHostedControl())
        return false;
    if (m_pManager != nullptr)
        m_pManager->AddAcceleratorTranslator(this);
    GetHostedControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pWebBrowser2));
    // The sink goes first: the browser may report the home page's navigation before
    // Navigate2 returns.
    RegisterEventHandler(true);
    if (m_bAutoNavi && !m_sHomePage.IsEmpty())
        Navigate2(m_sHomePage);
    return true;
}

void CWebBrowserUI::ReleaseHostedControl()
{
    m_bCreated = false;
    if (m_pManager != nullptr)
        m_pManager->RemoveAcceleratorTranslator(this);
    RegisterEventHandler(false);
    UninstallDocumentHandler();
    if (m_pHtmlWnd2 != nullptr) {
        m_pHtmlWnd2->Release();
        m_pHtmlWnd2 = nullptr;
    }
    if (m_pWebBrowser2 != nullptr) {
        m_pWebBrowser2->Release();
        m_pWebBrowser2 = nullptr;
    }
    // Creation starts with this release: the object goes too, or a second creation leaks it.
    CActiveXUI::ReleaseHostedControl();
}

HRESULT CWebBrowserUI::RegisterEventHandler(bool connect)
{
    if (m_pWebBrowser2 == nullptr)
        return S_FALSE;
    return ConnectSink(m_pWebBrowser2, DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this), connect,
                       m_dwCookie);
}

// --- navigation ---

void CWebBrowserUI::Navigate2(LPCWSTR url)
{
    if (url == nullptr || *url == L'\0' || m_pWebBrowser2 == nullptr)
        return;
    VARIANT target;
    ::VariantInit(&target);
    V_VT(&target) = VT_BSTR;
    V_BSTR(&target) = ::SysAllocString(url);
    IWebBrowser2* browser = m_pWebBrowser2;
    KeepAlive keep(browser);
    browser->Navigate2(&target, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&target);
}

void CWebBrowserUI::NavigateUrl(LPCWSTR url)
{
    if (m_pWebBrowser2 == nullptr || url == nullptr || *url == L'\0')
        return;
    BSTR target = ::SysAllocString(url);
    IWebBrowser2* browser = m_pWebBrowser2;
    KeepAlive keep(browser);
    browser->Navigate(target, nullptr, nullptr, nullptr, nullptr);
    ::SysFreeString(target);
}

void CWebBrowserUI::NavigateHomePage()
{
    if (!m_sHomePage.IsEmpty())
        NavigateUrl(m_sHomePage);
}

void CWebBrowserUI::Refresh()
{
    IWebBrowser2* browser = m_pWebBrowser2;
    KeepAlive keep(browser);
    if (browser != nullptr)
        browser->Refresh();
}

void CWebBrowserUI::Refresh2(int level)
{
    if (m_pWebBrowser2 == nullptr)
        return;
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = level;
    IWebBrowser2* browser = m_pWebBrowser2;
    KeepAlive keep(browser);
    browser->Refresh2(&v);
}

void CWebBrowserUI::GoBack()
{
    IWebBrowser2* browser = m_pWebBrowser2;
    KeepAlive keep(browser);
    if (browser != nullptr)
        browser->GoBack();
}

void CWebBrowserUI::GoForward()
{
    IWebBrowser2* browser = m_pWebBrowser2;
    KeepAlive keep(browser);
    if (browser != nullptr)
        browser->GoForward();
}

IDispatch* CWebBrowserUI::GetHtmlWindow()
{
    if (m_pWebBrowser2 == nullptr)
        return nullptr;
    IDispatch* document = nullptr;
    if (FAILED(m_pWebBrowser2->get_Document(&document)) || document == nullptr)
        return nullptr;
    IHTMLDocument2* html = nullptr;
    document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html));
    document->Release();
    if (html == nullptr)
        return nullptr;
    IHTMLWindow2* window = nullptr;
    html->get_parentWindow(&window);
    html->Release();
    if (window == nullptr)
        return nullptr;
    if (m_pHtmlWnd2 != nullptr)
        m_pHtmlWnd2->Release();
    m_pHtmlWnd2 = window;
    IDispatch* result = nullptr;
    m_pHtmlWnd2->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&result));
    return result;
}

// --- script helpers ---

DISPID CWebBrowserUI::GetDispId(IDispatch* dispatch, LPCWSTR name)
{
    if (dispatch == nullptr || name == nullptr)
        return -1;
    DISPID id = -1;
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    if (FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id)))
        return -1;
    return id;
}

HRESULT CWebBrowserUI::GetProperty(IDispatch* dispatch, LPCWSTR name, VARIANT* result)
{
    DISPPARAMS params = {nullptr, nullptr, 0, 0};
    return InvokeByName(dispatch, name, DISPATCH_PROPERTYGET, &params, result);
}

HRESULT CWebBrowserUI::SetProperty(IDispatch* dispatch, LPCWSTR name, VARIANT* value)
{
    // A property put names its one argument, as IDispatch requires.
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {value, &named, 1, 1};
    return InvokeByName(dispatch, name, DISPATCH_PROPERTYPUT, &params, nullptr);
}

HRESULT CWebBrowserUI::InvokeMethod(IDispatch* dispatch, LPCWSTR name, VARIANT* result,
                                    VARIANT* args, int count)
{
    DISPPARAMS params = {args, nullptr, static_cast<UINT>(count > 0 ? count : 0), 0};
    return InvokeByName(dispatch, name, DISPATCH_METHOD, &params, result);
}

// --- IUnknown ---

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    // IUnknown is answered as COM requires, with one fixed identity.
    if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler)
        *ppv = static_cast<IDocHostUIHandler*>(this);
    else if (riid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else if (riid == IID_IServiceProvider)
        *ppv = static_cast<IServiceProvider*>(this);
    else if (riid == kIID_IInternetSecurityManager)
        *ppv = static_cast<IInternetSecurityManager*>(this);
    else if (riid == IID_IOleCommandTarget)
        *ppv = static_cast<IOleCommandTarget*>(this);
    if (*ppv == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    // The control tree owns this object; a count of 0 frees nothing.
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

// --- IDispatch: browser events ---

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr)
        *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*)
{
    if (riid != IID_NULL)
        return E_INVALIDARG;
    return DispatchEvent(id, params);
}

HRESULT CWebBrowserUI::DispatchEvent(DISPID id, DISPPARAMS* params)
{
    switch (id) {
    case kStatusTextChange:
    case kCommandStateChange:
    case kTitleChange:
    case kBeforeNavigate2:
    case kNavigateComplete2:
    case kDocumentComplete:
    case kNavigateError:
    case kNewWindow3:
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    // The arguments are read by position: refuse a call that does not carry them all.
    const UINT needed = ArgCount(id);
    if (needed > 0 && (params == nullptr || params->rgvarg == nullptr || params->cArgs < needed))
        return DISP_E_BADPARAMCOUNT;
    if (id == kNavigateComplete2)
        InstallDocumentHandler();
    IWebBrowserHandler* handler = m_pWebBrowserEventHandler;
    if (handler == nullptr)
        return S_OK;
    switch (id) {
    case kCommandStateChange: {
        VARIANT* enable = Arg(params, 0);
        handler->CommandStateChange(this, ArgLong(params, 1),
                                    V_VT(enable) == VT_BOOL ? V_BOOL(enable) : VARIANT_FALSE);
        break;
    }
    case kTitleChange:
        handler->TitleChange(this, ArgBstr(params, 0));
        break;
    case kBeforeNavigate2:
        handler->BeforeNavigate2(this, ArgDispatch(params, 6), Arg(params, 5), Arg(params, 4),
                                 Arg(params, 3), Arg(params, 2), Arg(params, 1),
                                 ArgBoolRef(params, 0));
        break;
    case kNavigateComplete2:
        handler->NavigateComplete2(this, ArgDispatch(params, 1), Arg(params, 0));
        break;
    case kDocumentComplete:
        handler->DocumentComplete(this, ArgDispatch(params, 1), Arg(params, 0));
        break;
    case kNavigateError:
        handler->NavigateError(this, ArgDispatch(params, 4), Arg(params, 3), Arg(params, 2),
                               Arg(params, 1), ArgBoolRef(params, 0));
        break;
    case kNewWindow3: {
        VARIANT* out = &params->rgvarg[4];
        IDispatch** ppDisp = V_VT(out) == (VT_DISPATCH | VT_BYREF) ? V_DISPATCHREF(out) : nullptr;
        handler->NewWindow3(this, ppDisp, ArgBoolRef(params, 3),
                            static_cast<DWORD>(ArgLong(params, 2)), ArgBstr(params, 1),
                            ArgBstr(params, 0));
        break;
    }
    default:
        break;
    }
    return S_OK;
}

void CWebBrowserUI::InstallDocumentHandler()
{
    if (m_pWebBrowser2 == nullptr)
        return;
    IDispatch* document = nullptr;
    if (FAILED(m_pWebBrowser2->get_Document(&document)) || document == nullptr)
        return;
    ICustomDoc* custom = nullptr;
    if (SUCCEEDED(document->QueryInterface(kIID_ICustomDoc, reinterpret_cast<void**>(&custom))) &&
        custom != nullptr) {
        if (custom != m_pHandledDoc) {
            UninstallDocumentHandler();
            // Kept, so that the handler can be taken back from it when the control lets go.
            custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
            m_pHandledDoc = custom;
        } else {
            custom->Release();
        }
    }
    document->Release();
}

void CWebBrowserUI::UninstallDocumentHandler()
{
    ICustomDoc* document = m_pHandledDoc;
    m_pHandledDoc = nullptr;
    if (document == nullptr)
        return;
    document->SetUIHandler(nullptr);
    document->Release();
}

// --- IDocHostUIHandler ---

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD id, POINT* pt, IUnknown* target, IDispatch* object)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->ShowContextMenu(this, id, pt, target, object);
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (info != nullptr)
        info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetHostInfo(this, info);
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                                   IOleInPlaceFrame* frame, IOleInPlaceUIWindow* doc)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->ShowUI(this, id, active, target, frame, doc);
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::HideUI()
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->HideUI(this);
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::UpdateUI()
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->UpdateUI(this);
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL enable)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->EnableModeless(this, enable);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL activate)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->OnDocWindowActivate(this, activate);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL activate)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->OnFrameWindowActivate(this, activate);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->ResizeBorder(this, border, window, frameWindow);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG msg, const GUID* group, DWORD id)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->TranslateAccelerator(this, msg, group, id);
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* key, DWORD reserved)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetOptionKeyPath(this, key, reserved);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* target, IDropTarget** out)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetDropTarget(this, target, out);
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** out)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetExternal(this, out);
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->TranslateUrl(this, translate, urlIn, urlOut);
    if (urlOut != nullptr)
        *urlOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* in, IDataObject** out)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->FilterDataObject(this, in, out);
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

// --- IServiceProvider ---

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID service, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (service == kSID_SInternetSecurityManager && riid == kIID_IInternetSecurityManager) {
        *ppv = static_cast<IInternetSecurityManager*>(this);
    } else if (service == kSID_SDownloadManager && riid == kIID_IDownloadManager) {
        *ppv = static_cast<IDownloadManager*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// --- IOleCommandTarget ---

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out)
{
    if (group == nullptr || *group != kCGID_DocHostCommandHandler)
        return OLECMDERR_E_UNKNOWNGROUP;
    if (id != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    ReadScriptError(in);
    // True keeps the page's scripts running and shows no error dialog.
    if (out != nullptr) {
        ::VariantClear(out);
        V_VT(out) = VT_BOOL;
        V_BOOL(out) = VARIANT_TRUE;
    }
    return S_OK;
}

void CWebBrowserUI::ReadScriptError(VARIANT* in)
{
    if (in == nullptr || V_VT(in) != VT_UNKNOWN || V_UNKNOWN(in) == nullptr)
        return;
    IHTMLDocument2* document = nullptr;
    if (FAILED(V_UNKNOWN(in)->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document))) ||
        document == nullptr)
        return;
    IHTMLWindow2* window = nullptr;
    document->get_parentWindow(&window);
    document->Release();
    if (window == nullptr)
        return;
    IHTMLEventObj* event = nullptr;
    window->get_event(&event);
    window->Release();
    if (event == nullptr)
        return;
    IDispatch* dispatch = nullptr;
    event->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    event->Release();
    if (dispatch == nullptr)
        return;
    static const wchar_t* const kNames[] = {L"errorLine", L"errorCharacter", L"errorCode",
                                            L"errorMessage", L"errorUrl"};
    for (const wchar_t* name : kNames) {
        VARIANT value;
        ::VariantInit(&value);
        const HRESULT hr = GetProperty(dispatch, name, &value);
        ::VariantClear(&value);
        if (FAILED(hr))
            break;
    }
    dispatch->Release();
}

// --- ITranslateAccelerator ---

LRESULT CWebBrowserUI::TranslateAccelerator(MSG* msg)
{
    return ForwardAccelerator(msg, m_pWebBrowser2);
}

// --- IInternetSecurityManager ---

STDMETHODIMP CWebBrowserUI::SetSecuritySite(IInternetSecurityMgrSite*)
{
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::GetSecuritySite(IInternetSecurityMgrSite** site)
{
    if (site != nullptr)
        *site = nullptr;
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::MapUrlToZone(LPCWSTR, DWORD*, DWORD)
{
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR)
{
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::ProcessUrlAction(LPCWSTR, DWORD, BYTE*, DWORD, BYTE*, DWORD, DWORD, DWORD)
{
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::QueryCustomPolicy(LPCWSTR, REFGUID, BYTE** policy, DWORD* policySize, BYTE*,
                                              DWORD, DWORD)
{
    if (policy != nullptr)
        *policy = nullptr;
    if (policySize != nullptr)
        *policySize = 0;
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::SetZoneMapping(DWORD, LPCWSTR, DWORD)
{
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CWebBrowserUI::GetZoneMappings(DWORD, IEnumString** patterns, DWORD)
{
    if (patterns != nullptr)
        *patterns = nullptr;
    return INET_E_DEFAULT_ACTION;
}

// --- IDownloadManager ---

STDMETHODIMP CWebBrowserUI::Download(IMoniker* moniker, IBindCtx* bindCtx, DWORD bindVerb, LONG bindFlags,
                                     BINDINFO* bindInfo, LPCOLESTR headers, LPCOLESTR redirect,
                                     UINT codePage)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->Download(this, moniker, bindCtx, bindVerb, bindFlags, bindInfo,
                                                   headers, redirect, codePage);
    return S_OK;
}

} // namespace ZvUI

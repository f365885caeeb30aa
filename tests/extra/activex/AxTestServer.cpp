// In-process test control: windowless or windowed, recording what its host tells it.
#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <cwchar>
#include <new>

#include "AxTestServer.h"

namespace {

AxTestStats g_stats = {};
HMODULE g_module = nullptr;
IOleClientSite* g_heldSite = nullptr;
IOleInPlaceFrame* g_heldFrame = nullptr;

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CHAR && g_stats.charCount < 31)
        g_stats.chars[g_stats.charCount++] = static_cast<wchar_t>(wParam);
    else if (msg == WM_KEYDOWN)
        ++g_stats.keyDowns;
    else if (msg == WM_SETFOCUS)
        ++g_stats.windowFocusGained;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

constexpr IID kIID_ICustomDoc = {0x3050f3f0, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

// A dispatch interface with no members, for the browser-like object's faces.
template <class Interface>
class MemberlessDispatch : public Interface {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
};

// The browser-like object's document: static, so it outlives the objects that hand it out.
class TestDocument final : public MemberlessDispatch<IDispatch>, public ICustomDoc {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch)
            *ppv = static_cast<IDispatch*>(this);
        else if (riid == kIID_ICustomDoc)
            *ppv = static_cast<ICustomDoc*>(this);
        return *ppv != nullptr ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    // Like a real document, it holds a reference to its handler.
    STDMETHODIMP SetUIHandler(IDocHostUIHandler* handler) override
    {
        if (handler != nullptr)
            handler->AddRef();
        if (m_handler != nullptr)
            m_handler->Release();
        m_handler = handler;
        return S_OK;
    }
    bool CallHandler()
    {
        if (m_handler == nullptr)
            return false;
        DOCHOSTUIINFO info = {};
        info.cbSize = sizeof(info);
        m_handler->GetHostInfo(&info);
        ++g_stats.documentHandlerCalls;
        return true;
    }

private:
    IDocHostUIHandler* m_handler = nullptr;
};

TestDocument g_document;

// The web browser face of the browser-like object; only its document is real.
class TestBrowser final : public MemberlessDispatch<IWebBrowser2> {
public:
    explicit TestBrowser(IUnknown* owner) : m_owner(owner) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_owner->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner->Release(); }
    STDMETHODIMP get_Document(IDispatch** document) override
    {
        *document = static_cast<IDispatch*>(&g_document);
        return S_OK;
    }
STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override { return E_NOTIMPL; }
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT *Level) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR *Type) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG Left) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG Top) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG Width) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG Height) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR *LocationName) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationURL(BSTR *LocationURL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Busy(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int *pcx, int *pcy) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR Property, VARIANT vtValue) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR Property, VARIANT *pvtValue) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR *Name) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR *pHWND) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR *FullName) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR *Path) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR *StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL *pbFullScreen) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL bFullScreen) override { return E_NOTIMPL; }
    STDMETHODIMP Navigate2(VARIANT *URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override { return E_NOTIMPL; }
    STDMETHODIMP QueryStatusWB(OLECMDID cmdID, OLECMDF *pcmdf) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT *pvaIn, VARIANT *pvaOut) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT *pvaClsid, VARIANT *pvarShow, VARIANT *pvarSize) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE *plReadyState) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL *pbOffline) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL bOffline) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL *pbSilent) override { return E_NOTIMPL; }
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL Value) override { return E_NOTIMPL; }

private:
    IUnknown* m_owner;
};

class TestControl final : public IOleObject,
                    public IOleControl,
                    public IOleInPlaceObjectWindowless,
                    public IViewObjectEx,
                    public IPersistStreamInit,
                    public IDispatch {
public:
    TestControl(bool windowless, bool mediaLike, bool browserLike = false)
        : m_windowless(windowless), m_mediaLike(mediaLike), m_browserLike(browserLike)
    {
        ++g_stats.liveObjects;
    }

    // --- IUnknown ---
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleObject)
            *ppv = static_cast<IOleObject*>(this);
        else if (riid == IID_IOleControl)
            *ppv = static_cast<IOleControl*>(this);
        else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow ||
                 (riid == IID_IOleInPlaceObjectWindowless && m_windowless))
            *ppv = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (riid == IID_IViewObject || riid == IID_IViewObject2 || riid == IID_IViewObjectEx)
            *ppv = static_cast<IViewObjectEx*>(this);
        else if (riid == IID_IPersistStreamInit || riid == IID_IPersist)
            *ppv = static_cast<IPersistStreamInit*>(this);
        else if (riid == IID_IDispatch)
            *ppv = static_cast<IDispatch*>(this);
        else if (m_browserLike && (riid == IID_IWebBrowser2 || riid == IID_IWebBrowserApp || riid == IID_IWebBrowser))
            *ppv = static_cast<IWebBrowser2*>(&m_browser);
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_ref; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG ref = --m_ref;
        if (ref == 0)
            delete this;
        return ref;
    }

    // --- IOleObject ---
    STDMETHODIMP SetClientSite(IOleClientSite* site) override
    {
        if (site != nullptr)
            site->AddRef();
        DropSite();
        m_site = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override
    {
        *site = m_site;
        if (m_site != nullptr)
            m_site->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override
    {
        InPlaceDeactivate();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT rc) override
    {
        if (verb != OLEIVERB_INPLACEACTIVATE || m_active || site == nullptr)
            return S_OK;
        if (m_mediaLike)
            return ActivateLikeMediaPlayer(site, rc);
        return m_windowless ? ActivateWindowless(site, rc) : ActivateWindowed(site, rc);
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override
    {
        g_stats.extent = *size;
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override
    {
        *size = g_stats.extent;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = m_windowless ? OLEMISC_SETCLIENTSITEFIRST : 0;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // --- IOleControl ---
    STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

    // --- IOleInPlaceObjectWindowless ---
    STDMETHODIMP GetWindow(HWND* hwnd) override
    {
        *hwnd = m_hwnd;
        return m_hwnd != nullptr ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
    STDMETHODIMP InPlaceDeactivate() override
    {
        if (!m_active)
            return S_OK;
        m_active = false;
        if (m_hwnd != nullptr) {
            ::DestroyWindow(m_hwnd);
            m_hwnd = nullptr;
        }
        IOleInPlaceSite* site = nullptr;
        if (m_site != nullptr &&
            SUCCEEDED(m_site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site)))) {
            site->OnInPlaceDeactivate();
            site->Release();
        }
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override
    {
        g_stats.objectRect = *pos;
        if (m_hwnd != nullptr)
            ::MoveWindow(m_hwnd, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) override
    {
        *result = 0;
        IOleInPlaceSiteWindowless* site = WindowlessSite();
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
            ++g_stats.mouseMessages;
        if (msg == WM_MOUSEWHEEL)
            ++g_stats.wheels;
        HRESULT hr = S_OK;
        if (msg == WM_LBUTTONDOWN && site != nullptr) {
            ++g_stats.clicks;
            site->SetFocus(TRUE);
            site->SetCapture(TRUE);
        } else if (msg == WM_LBUTTONUP && site != nullptr) {
            site->SetCapture(FALSE);
        } else if (msg == WM_KEYDOWN) {
            ++g_stats.keyDowns;
        } else if (msg == WM_CHAR && g_stats.charCount < 31) {
            g_stats.chars[g_stats.charCount++] = static_cast<wchar_t>(wParam);
        } else if (msg != WM_MOUSEMOVE) {
            hr = S_FALSE;
        }
        if (site != nullptr)
            site->Release();
        return hr;
    }
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // --- IViewObjectEx ---
    STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdc, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        ++g_stats.draws;
        RECT rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        g_stats.lastDraw = rc;
        // Red until a caption is set, then blue: the host's repaint after a change shows it.
        HBRUSH brush = ::CreateSolidBrush(g_stats.caption[0] == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255));
        ::FillRect(hdc, &rc, brush);
        ::DeleteObject(brush);
        return S_OK;
    }
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD drawing, LONG, DVTARGETDEVICE*, LPSIZEL size) override
    {
        return TestControl::GetExtent(drawing, size);
    }
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD* status) override
    {
        *status = VIEWSTATUS_OPAQUE;
        return S_OK;
    }
    STDMETHODIMP QueryHitPoint(DWORD, LPCRECT bounds, POINT pt, LONG, DWORD* hit) override
    {
        *hit = ::PtInRect(bounds, pt) ? g_stats.hitAnswer : static_cast<DWORD>(HITRESULT_OUTSIDE);
        return S_OK;
    }
    STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // --- IPersistStreamInit ---
    STDMETHODIMP GetClassID(CLSID* clsid) override
    {
        *clsid = m_mediaLike ? kCLSID_AxTestMediaLike
                 : m_windowless ? kCLSID_AxTestWindowless
                                : kCLSID_AxTestWindowed;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        ++g_stats.initNewCalls;
        g_stats.siteSetBeforeInitNew = m_site != nullptr;
        return S_OK;
    }

    // --- IDispatch: one property, "Caption", which repaints through the site when it changes ---
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1 || _wcsicmp(names[0], L"Caption") != 0) {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = kDispCaption;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT*) override
    {
        if (id != kDispCaption)
            return DISP_E_MEMBERNOTFOUND;
        if ((flags & DISPATCH_PROPERTYGET) != 0 && result != nullptr) {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = ::SysAllocString(g_stats.caption);
            return S_OK;
        }
        // A put names its value DISPID_PROPERTYPUT, as the automation rules ask.
        if ((flags & DISPATCH_PROPERTYPUT) == 0 || params->cArgs != 1 || params->cNamedArgs != 1 ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
        if (V_VT(&params->rgvarg[0]) != VT_BSTR)
            return DISP_E_TYPEMISMATCH;
        std::wcsncpy(g_stats.caption, V_BSTR(&params->rgvarg[0]), 31);
        IOleInPlaceSiteWindowless* site = WindowlessSite();
        if (site != nullptr) {
            site->InvalidateRect(nullptr, FALSE);
            site->Release();
        }
        return S_OK;
    }

private:
    ~TestControl()
    {
        --g_stats.liveObjects;
        DropSite();
    }
    void DropSite()
    {
        if (m_site == nullptr)
            return;
        if (g_stats.holdSite && g_heldSite == nullptr)
            g_heldSite = m_site;
        else
            m_site->Release();
        m_site = nullptr;
    }
    IOleInPlaceSiteWindowless* WindowlessSite() const
    {
        IOleInPlaceSiteWindowless* site = nullptr;
        if (m_windowless && m_site != nullptr)
            m_site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&site));
        return site;
    }
    void CheckFrame(IOleInPlaceSite* site)
    {
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT pos = {}, clip = {};
        OLEINPLACEFRAMEINFO info = {};
        info.cb = sizeof(info);
        IOleInPlaceFrame* again = nullptr;
        site->GetWindowContext(&frame, &doc, &pos, &clip, &info);
        site->GetWindowContext(&again, &doc, &pos, &clip, &info);
        g_stats.sameFrameEachTime = frame != nullptr && frame == again;
        if (frame != nullptr) {
            ++g_stats.framesSeen;
            frame->Release();
        }
        if (again != nullptr)
            again->Release();
    }
    HRESULT ActivateWindowless(IOleClientSite* client, LPCRECT)
    {
        IOleInPlaceSiteWindowless* site = nullptr;
        if (FAILED(client->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&site))))
            return E_NOINTERFACE;
        HRESULT hr = site->CanWindowlessActivate();
        if (hr == S_OK) {
            BOOL noRedraw = FALSE;
            hr = site->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
            CheckFrame(site);
        }
        site->Release();
        m_active = SUCCEEDED(hr);
        g_stats.windowless = m_active;
        return hr;
    }
    HRESULT ActivateWindowed(IOleClientSite* client, LPCRECT rc)
    {
        IOleInPlaceSite* site = nullptr;
        if (FAILED(client->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site))))
            return E_NOINTERFACE;
        HWND parent = nullptr;
        HRESULT hr = site->OnInPlaceActivate();
        if (SUCCEEDED(hr))
            hr = site->GetWindow(&parent);
        if (SUCCEEDED(hr)) {
            CheckFrame(site);
            m_hwnd = ::CreateWindowExW(0, L"AxTestControlWindow", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                       rc->right - rc->left, rc->bottom - rc->top, parent, nullptr,
                                       g_module, nullptr);
            hr = m_hwnd != nullptr ? S_OK : E_FAIL;
        }
        site->Release();
        m_active = SUCCEEDED(hr);
        g_stats.windowless = false;
        g_stats.ownWindow = m_hwnd;
        return hr;
    }

    // One query of the windowless site, two releases; the frame is kept and never released.
    HRESULT ActivateLikeMediaPlayer(IOleClientSite* client, LPCRECT rc)
    {
        IOleInPlaceSite* site = nullptr;
        if (FAILED(client->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&site))))
            return E_NOINTERFACE;
        HWND parent = nullptr;
        HRESULT hr = site->CanInPlaceActivate();
        if (hr == S_OK)
            hr = site->GetWindow(&parent);
        if (SUCCEEDED(hr)) {
            IOleInPlaceUIWindow* doc = nullptr;
            RECT pos = {}, clip = {};
            OLEINPLACEFRAMEINFO info = {};
            info.cb = sizeof(info);
            if (g_heldFrame == nullptr)
                site->GetWindowContext(&g_heldFrame, &doc, &pos, &clip, &info);
            if (doc != nullptr)
                doc->Release();
            m_hwnd = ::CreateWindowExW(0, L"AxTestControlWindow", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                       rc->right - rc->left, rc->bottom - rc->top, parent, nullptr,
                                       g_module, nullptr);
            hr = m_hwnd != nullptr ? site->OnInPlaceActivate() : E_FAIL;
            site->Release();
        }
        site->Release();
        m_active = SUCCEEDED(hr);
        g_stats.windowless = false;
        g_stats.ownWindow = m_hwnd;
        return hr;
    }

    ULONG m_ref = 1;
    bool m_windowless;
    bool m_mediaLike;
    bool m_browserLike;
    TestBrowser m_browser{static_cast<IOleObject*>(this)};
    bool m_active = false;
    HWND m_hwnd = nullptr;
    IOleClientSite* m_site = nullptr;
};

class Factory : public IClassFactory {
public:
    Factory(bool windowless, bool mediaLike, bool browserLike = false)
        : m_windowless(windowless), m_mediaLike(mediaLike), m_browserLike(browserLike)
    {
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // Static objects: the counts do not matter.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* object = new (std::nothrow) TestControl(m_windowless, m_mediaLike, m_browserLike);
        if (object == nullptr)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    bool m_windowless;
    bool m_mediaLike;
    bool m_browserLike;
};

Factory g_windowlessFactory(true, false);
Factory g_windowedFactory(false, false);
Factory g_mediaLikeFactory(false, true);
Factory g_browserLikeFactory(true, false, true);

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (clsid == kCLSID_AxTestWindowless)
        return g_windowlessFactory.QueryInterface(riid, ppv);
    if (clsid == kCLSID_AxTestWindowed)
        return g_windowedFactory.QueryInterface(riid, ppv);
    if (clsid == kCLSID_AxTestMediaLike)
        return g_mediaLikeFactory.QueryInterface(riid, ppv);
    if (clsid == kCLSID_AxTestBrowserLike)
        return g_browserLikeFactory.QueryInterface(riid, ppv);
    *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" AxTestStats* AxTestGetStats()
{
    return &g_stats;
}

extern "C" void AxTestReleaseHeldSite()
{
    if (g_heldSite == nullptr)
        return;
    IOleWindow* window = nullptr;
    g_stats.lateCallResult = g_heldSite->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window));
    if (window != nullptr) {
        HWND hwnd = nullptr;
        g_stats.lateCallResult = window->GetWindow(&hwnd);
        window->Release();
    }
    g_stats.lateReleaseResult = static_cast<LONG>(g_heldSite->Release());
    g_heldSite = nullptr;
}

extern "C" void AxTestCallHeldFrame()
{
    if (g_heldFrame == nullptr)
        return;
    HWND hwnd = nullptr;
    g_stats.lateFrameResult = g_heldFrame->GetWindow(&hwnd);
    g_heldFrame->Release();
    g_heldFrame = nullptr;
}

extern "C" bool AxTestCallDocumentHandler()
{
    return g_document.CallHandler();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = OwnWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"AxTestControlWindow";
        ::RegisterClassW(&wc);
    }
    return TRUE;
}

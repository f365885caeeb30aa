// Control that embeds an OLE/ActiveX object, windowless or in a child window of its own.
#include "activex/ActiveXUI.h"

#include <cwchar>
#include <new>

#include <ocidl.h>

#include "activex/ActiveXCtrl.h"
#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

constexpr DWORD kCreateContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// The program's folder and the system folder only: a bare module name must never be picked up
// from the current directory, which anybody may have filled.
constexpr DWORD kModuleSearch = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

bool IsMouseMessage(UINT msg)
{
    return msg >= WM_MOUSEFIRST && msg <= WM_XBUTTONDBLCLK;
}

bool IsKeyMessage(UINT msg)
{
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

int PixelsToHimetric(int pixels, int axis)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, axis) : 96;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return ::MulDiv(2540, pixels, dpi > 0 ? dpi : 96);
}

} // namespace

CActiveXUI::CActiveXUI() = default;

CActiveXUI::~CActiveXUI()
{
    CActiveXUI::ReleaseHostedControl();
}

LPCWSTR CActiveXUI::GetClass() const
{
    return L"ActiveXUI";
}

LPVOID CActiveXUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && std::wcscmp(name, L"ActiveX") == 0)
        return static_cast<CActiveXUI*>(this);
    return CControlUI::GetInterface(name);
}

// --- attributes and properties ---

void CActiveXUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    // These names and their "true" are matched exactly, unlike the framework's other controls.
    if (std::wcscmp(name, L"clsid") == 0)
        SetClassId(value);
    else if (std::wcscmp(name, L"modulename") == 0)
        SetModuleName(value);
    else if (std::wcscmp(name, L"delaycreate") == 0)
        SetDelayCreate(std::wcscmp(value, L"true") == 0);
    else
        CControlUI::SetAttribute(name, value);
}

bool CActiveXUI::SetClassId(LPCWSTR text)
{
    wchar_t buffer[100] = {};
    if (text != nullptr)
        std::wcsncpy(buffer, text, 99);
    CLSID clsid = GUID_NULL;
    const HRESULT hr = buffer[0] == L'{' ? ::CLSIDFromString(buffer, &clsid)
                                         : ::CLSIDFromProgID(buffer, &clsid);
    if (FAILED(hr))
        clsid = GUID_NULL;
    return SetClassId(clsid);
}

bool CActiveXUI::SetClassId(const CLSID& clsid)
{
    if (clsid == GUID_NULL)
        return false;
    m_bCreated = false;
    m_clsid = clsid;
    if (!m_bDelayCreate)
        CreateHostedControl();
    return true;
}

void CActiveXUI::SetModuleName(LPCWSTR name)
{
    m_sModuleName = name;
}

bool CActiveXUI::IsDelayCreate() const
{
    return m_bDelayCreate;
}

void CActiveXUI::SetDelayCreate(bool delay)
{
    if (m_bDelayCreate == delay)
        return;
    if (!delay && !m_bCreated && m_clsid != GUID_NULL)
        CreateHostedControl();
    m_bDelayCreate = delay;
}

bool CActiveXUI::IsOwnerManaged() const
{
    return m_bOwnerManaged;
}

void CActiveXUI::SetOwnerManaged(bool managed)
{
    m_bOwnerManaged = managed;
}

HRESULT CActiveXUI::GetHostedControl(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (m_pUnk == nullptr)
        return E_PENDING;
    return m_pUnk->QueryInterface(iid, out);
}

RECT CActiveXUI::ObjectRect(bool windowed) const
{
    RECT rc = m_rcItem;
    if (windowed)
        ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

HRESULT CActiveXUI::ConnectSink(IUnknown* source, REFIID events, IUnknown* sink, bool connect,
                                DWORD& cookie)
{
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
        return hr;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(events, &point);
    container->Release();
    if (FAILED(hr))
        return hr;
    if (connect) {
        if (cookie == 0)
            hr = point->Advise(sink, &cookie);
    } else if (cookie != 0) {
        hr = point->Unadvise(cookie);
        cookie = 0;
    }
    point->Release();
    return hr;
}

LRESULT CActiveXUI::ForwardAccelerator(MSG* msg, IUnknown* object) const
{
    if (msg == nullptr || !IsKeyMessage(msg->message))
        return S_FALSE;
    if (object == nullptr)
        return E_NOTIMPL;
    HWND focus = ::GetFocus();
    while (focus != nullptr && focus != m_hwndHost)
        focus = ::GetParent(focus);
    if (focus == nullptr || m_hwndHost == nullptr)
        return S_FALSE;
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(object->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active))) ||
        active == nullptr)
        return S_FALSE;
    const HRESULT hr = active->TranslateAccelerator(msg);
    active->Release();
    return hr;
}

// --- geometry and visibility ---

void CActiveXUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    if (!m_bCreated)
        CreateHostedControl();
    if (m_pUnk == nullptr || m_pControl == nullptr)
        return;

    SIZEL extent = {PixelsToHimetric(m_rcItem.right - m_rcItem.left, LOGPIXELSX),
                    PixelsToHimetric(m_rcItem.bottom - m_rcItem.top, LOGPIXELSY)};
    m_pUnk->SetExtent(DVASPECT_CONTENT, &extent);

    const bool windowed = !m_pControl->m_bWindowless;
    if (m_pControl->m_pInPlaceObject != nullptr) {
        RECT objectRc = ObjectRect(windowed);
        m_pControl->m_pInPlaceObject->SetObjectRects(&objectRc, &objectRc);
    }
    if (windowed && m_hwndHost != nullptr)
        ::MoveWindow(m_hwndHost, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                     m_rcItem.bottom - m_rcItem.top, TRUE);
}

void CActiveXUI::Move(SIZE offset, bool invalidate)
{
    CControlUI::Move(offset, invalidate);
    if (m_pControl != nullptr && !m_pControl->m_bWindowless && m_hwndHost != nullptr)
        ::MoveWindow(m_hwndHost, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                     m_rcItem.bottom - m_rcItem.top, TRUE);
}

void CActiveXUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    if (m_hwndHost != nullptr && m_pControl != nullptr && !m_pControl->m_bWindowless)
        ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetEnabled(bool enable)
{
    CControlUI::SetEnabled(enable);
    // A windowed object takes its input in its own window: that window is disabled with it.
    if (m_hwndHost != nullptr && m_pControl != nullptr && !m_pControl->m_bWindowless)
        ::EnableWindow(m_hwndHost, IsEnabled() ? TRUE : FALSE);
}

void CActiveXUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    if (m_hwndHost != nullptr && m_pControl != nullptr && !m_pControl->m_bWindowless)
        ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

bool CActiveXUI::DoPaint(HDC hDC, const RECT& /*rcPaint*/, CControlUI* /*stopControl*/)
{
    if (m_pControl != nullptr && m_pControl->m_bWindowless)
        m_pControl->DrawView(hDC, m_rcItem);
    return true;
}

// --- messages of a windowless object ---

LRESULT CActiveXUI::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (m_pControl == nullptr || !m_pControl->m_bInPlaceActive)
        return 0;
    IOleInPlaceObjectWindowless* object = m_pControl->GetWindowlessObject();
    if (object == nullptr)
        return 0;

    // A hidden or disabled object takes no input of the window it draws in.
    if ((!IsVisible() || !IsEnabled()) && (IsMouseMessage(msg) || IsKeyMessage(msg)))
        return 0;
    bool passOnly = false;
    if (IsMouseMessage(msg) || msg == WM_SETCURSOR) {
        if (IsMouseMessage(msg) && !IsMouseEnabled())
            return 0;
        if (!m_pControl->m_bCaptured) {
            DWORD hit = HITRESULT_HIT;
            IViewObjectEx* view = nullptr;
            if (m_pControl->m_pViewObject != nullptr &&
                SUCCEEDED(m_pControl->m_pViewObject->QueryInterface(
                    IID_IViewObjectEx, reinterpret_cast<void**>(&view)))) {
                POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                // The wheel reports a screen point; the item rectangle is in client terms.
                if (msg == WM_MOUSEWHEEL && m_pManager != nullptr)
                    ::ScreenToClient(m_pManager->GetWindowHandle(), &pt);
                hit = HITRESULT_OUTSIDE;
                view->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &hit);
                view->Release();
            }
            if (hit != HITRESULT_HIT)
                return 0;
        }
        passOnly = (msg == WM_SETCURSOR);
    } else if (IsKeyMessage(msg)) {
        if (!IsFocused())
            return 0;
    } else if (msg == WM_HELP || msg == WM_CONTEXTMENU) {
        passOnly = true;
    } else {
        return 0;
    }

    LRESULT result = 0;
    if (object->OnWindowMessage(msg, wParam, lParam, &result) == S_OK)
        handled = !passOnly;
    return result;
}

// --- creation and release ---

IOleObject* CActiveXUI::CreateFromModule()
{
    HMODULE module = ::LoadLibraryExW(m_sModuleName.GetData(), nullptr, kModuleSearch);
    if (module == nullptr)
        return nullptr;
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllGetClassObject")));
    if (getClassObject == nullptr)
        return nullptr;
    IClassFactory* factory = nullptr;
    IOleObject* object = nullptr;
    if (SUCCEEDED(getClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) &&
        factory != nullptr)
        factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object));
    if (factory != nullptr)
        factory->Release();
    // The module stays loaded: the object's code lives in it.
    return object;
}

bool CActiveXUI::CreateHostedControl()
{
    ReleaseHostedControl();
    m_bCreated = true;

    IUnknown* first = nullptr;
    HRESULT hr = E_FAIL;
    if (!m_sModuleName.IsEmpty()) {
        first = CreateFromModule();
        if (first != nullptr)
            hr = S_OK;
    }
    if (first == nullptr) {
        hr = ::CoCreateInstance(m_clsid, nullptr, kCreateContexts, IID_IOleControl,
                                reinterpret_cast<void**>(&first));
        if (FAILED(hr) || first == nullptr)
            return false;
    }
    hr = first->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_pUnk));
    first->Release();
    if (FAILED(hr) || m_pUnk == nullptr) {
        m_pUnk = nullptr;
        return false;
    }

    m_pControl = new (std::nothrow) CActiveXCtrl();
    if (m_pControl == nullptr)
        return false;
    m_pControl->SetOwner(this);

    DWORD status = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &status);
    IOleClientSite* site = nullptr;
    m_pControl->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&site));

    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst)
        m_pUnk->SetClientSite(site);
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) &&
        persist != nullptr) {
        hr = persist->InitNew();
        persist->Release();
        if (FAILED(hr)) {
            if (site != nullptr)
                site->Release();
            return false;
        }
    }
    if (!siteFirst)
        m_pUnk->SetClientSite(site);

    void* view = nullptr;
    if (FAILED(m_pUnk->QueryInterface(IID_IViewObjectEx, &view)) &&
        FAILED(m_pUnk->QueryInterface(IID_IViewObject2, &view)) &&
        FAILED(m_pUnk->QueryInterface(IID_IViewObject, &view)))
        view = nullptr;
    m_pControl->m_pViewObject = static_cast<IViewObject*>(view);

    m_pUnk->SetHostNames(L"UIActiveX", nullptr);

    // A handler of "showactivex" may release the object, or release it and create another; the
    // object stays alive while we still call it, and this creation ends once it is no longer ours.
    IOleObject* object = m_pUnk;
    CActiveXCtrl* ownSite = m_pControl;
    object->AddRef();
    const auto stillOurs = [&] { return m_pUnk == object && m_pControl == ownSite; };
    if (m_pManager != nullptr)
        m_pManager->RaiseNotify(this, L"showactivex", 0, 0, false);

    if (stillOurs() && (status & OLEMISC_INVISIBLEATRUNTIME) == 0 && m_pManager != nullptr) {
        RECT rc = m_rcItem;
        hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, m_pManager->GetWindowHandle(), &rc);
    }

    const bool ours = stillOurs();
    // The host window is made visible; a control created while hidden keeps it hidden.
    if (ours && m_hwndHost != nullptr && !ownSite->m_bWindowless && !IsVisible())
        ::ShowWindow(m_hwndHost, SW_HIDE);
    IObjectWithSite* withSite = nullptr;
    if (ours && SUCCEEDED(object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite))) &&
        withSite != nullptr) {
        withSite->SetSite(static_cast<IOleClientSite*>(ownSite));
        withSite->Release();
    }
    object->Release();
    if (site != nullptr)
        site->Release();
    return ours && SUCCEEDED(hr);
}

void CActiveXUI::ReleaseHostedControl()
{
    if (m_pManager != nullptr)
        m_pManager->RemoveMessageFilter(this);
    // Some objects (the media player among them) release the site once more than they took it,
    // so their teardown calls can free it under us: the guard keeps it alive until we are done.
    CActiveXCtrl* site = m_pControl;
    if (site != nullptr)
        site->AddRef();
    if (m_pUnk != nullptr) {
        IOleObject* object = m_pUnk;
        m_pUnk = nullptr;
        IObjectWithSite* withSite = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite))) &&
            withSite != nullptr) {
            withSite->SetSite(nullptr);
            withSite->Release();
        }
        if (!m_bOwnerManaged)
            object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        object->Release();
    }
    if (site != nullptr) {
        m_pControl = nullptr;
        site->SetOwner(nullptr);
        // Only the guard left means the object already spent our own reference.
        if (site->Release() != 0)
            site->Release();
    }
    m_hwndHost = nullptr;
}

} // namespace ZvUI

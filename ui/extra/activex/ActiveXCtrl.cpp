// Container side of the OLE protocol for one hosted object: site, host window, frame, enumerator.
#include "activex/ActiveXCtrl.h"

#include <new>

#include "activex/ActiveXUI.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

constexpr UINT_PTR kCaretTimer = 6553;

RECT OffsetToOrigin(RECT rc)
{
    ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

} // namespace

// --- host window ---

HWND CActiveXWnd::Init(HWND parent)
{
    return Create(parent, L"UIActiveX", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                  0, 0, 0, 0);
}

LPCWSTR CActiveXWnd::GetWindowClassName() const
{
    return L"ActiveXWnd";
}

void CActiveXWnd::DoVerb(LONG verb)
{
    CActiveXUI* owner = m_pOwner != nullptr ? m_pOwner->m_pOwner : nullptr;
    if (owner == nullptr || owner->m_pUnk == nullptr)
        return;
    IOleClientSite* site = nullptr;
    m_pOwner->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&site));
    RECT rc = owner->GetPos();
    owner->m_pUnk->DoVerb(verb, nullptr, site, 0, m_hWnd, &rc);
    if (site != nullptr)
        site->Release();
}

LRESULT CActiveXWnd::OnPrint(HDC hdc)
{
    RECT rc = {};
    ::GetClientRect(m_hWnd, &rc);
    m_pOwner->DrawView(hdc, rc);
    CActiveXUI* owner = m_pOwner->m_pOwner;
    if (!m_bDrawCaret || owner == nullptr || owner->GetManager() == nullptr)
        return 1;
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(0, &info) || info.hwndCaret == nullptr)
        return 1;
    POINT pt = {info.rcCaret.left, info.rcCaret.top};
    ::MapWindowPoints(info.hwndCaret, owner->GetManager()->GetWindowHandle(), &pt, 1);
    const RECT& item = owner->GetPos();
    if (!::PtInRect(&item, pt))
        return 1;
    // The DC in wParam paints this window's client area, which starts at the item's corner.
    const RECT line = {pt.x - item.left, pt.y - item.top, pt.x - item.left,
                       pt.y - item.top + (info.rcCaret.bottom - info.rcCaret.top)};
    CUIRender::DrawLine(hdc, line, 1, 0xFF000000);
    return 1;
}

LRESULT CActiveXWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    CActiveXUI* owner = m_pOwner != nullptr ? m_pOwner->m_pOwner : nullptr;
    CPaintManagerUI* manager = owner != nullptr ? owner->GetManager() : nullptr;
    switch (msg) {
    case WM_CREATE:
        if (manager != nullptr && manager->IsLayered()) {
            // A layered window shows child windows only through WM_PRINT, caret included.
            manager->AttachChildWindow(owner, m_hWnd);
            ::SetTimer(m_hWnd, kCaretTimer, ::GetCaretBlinkTime(), nullptr);
        }
        return 0;
    case WM_TIMER:
        if (wParam != kCaretTimer)
            break;
        if (owner != nullptr && owner->IsFocused()) {
            ++m_dwTicks;
            m_bDrawCaret = (m_dwTicks % 2) == 0;
            RECT rc = owner->GetPos();
            if (manager != nullptr)
                manager->Invalidate(rc);
        } else if (m_bDrawCaret) {
            m_bDrawCaret = false;
        }
        return 0;
    case WM_SETFOCUS:
        m_pOwner->m_bFocused = true;
        if (!m_pOwner->m_bUIActivated)
            DoVerb(OLEIVERB_UIACTIVATE);
        break;
    case WM_KILLFOCUS:
        m_pOwner->m_bFocused = false;
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 1;
    }
    case WM_ERASEBKGND:
        if (m_pOwner->m_pViewObject != nullptr)
            return 1;
        break;
    case WM_MOUSEACTIVATE: {
        if (owner == nullptr || owner->m_pUnk == nullptr)
            break;
        DWORD status = 0;
        owner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &status);
        if ((status & OLEMISC_NOUIACTIVATE) != 0)
            return 0;
        if (!m_pOwner->m_bInPlaceActive)
            DoVerb(OLEIVERB_INPLACEACTIVATE);
        break;
    }
    case WM_PRINT:
        return OnPrint(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CWindowWnd::OnMessage(msg, wParam, lParam);
}

void CActiveXWnd::OnFinalMessage(HWND window)
{
    CActiveXUI* owner = m_pOwner != nullptr ? m_pOwner->m_pOwner : nullptr;
    if (owner != nullptr && owner->GetManager() != nullptr && owner->GetManager()->IsLayered())
        owner->GetManager()->DetachChildWindow(window);
}

// --- in-place frame ---

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_pActiveObject != nullptr)
        m_pActiveObject->Release();
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
        riid == IID_IOleInPlaceFrame)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    if (*ppv == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    const LONG ref = ::InterlockedDecrement(&m_dwRef);
    if (ref == 0)
        delete this;
    return static_cast<ULONG>(ref);
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr)
        return E_UNEXPECTED;
    *phwnd = m_pOwner->GetManager()->GetWindowHandle();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (object != nullptr)
        object->AddRef();
    if (m_pActiveObject != nullptr)
        m_pActiveObject->Release();
    m_pActiveObject = object;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}

void CActiveXFrameWnd::Detach()
{
    m_pOwner = nullptr;
    // The control is gone; an object that never clears its active object would otherwise be
    // kept alive by this frame.
    if (m_pActiveObject != nullptr) {
        IOleInPlaceActiveObject* active = m_pActiveObject;
        m_pActiveObject = nullptr;
        active->Release();
    }
}

// --- enumerator ---

CActiveXEnum::CActiveXEnum(IUnknown* object) : m_pUnk(object)
{
    if (m_pUnk != nullptr)
        m_pUnk->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_pUnk != nullptr)
        m_pUnk->Release();
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IEnumUnknown)
        return E_NOINTERFACE;
    *ppv = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    const LONG ref = ::InterlockedDecrement(&m_dwRef);
    if (ref == 0)
        delete this;
    return static_cast<ULONG>(ref);
}

STDMETHODIMP CActiveXEnum::Next(ULONG, IUnknown** items, ULONG* fetched)
{
    if (fetched != nullptr)
        *fetched = 0;
    if (++m_iPos > 1)
        return S_FALSE;
    if (items == nullptr)
        return E_POINTER;
    items[0] = m_pUnk;
    if (m_pUnk != nullptr)
        m_pUnk->AddRef();
    if (fetched != nullptr)
        *fetched = 1;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG count)
{
    m_iPos += static_cast<LONG>(count);
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown**)
{
    return E_NOTIMPL;
}

// --- site: lifetime ---

CActiveXCtrl::~CActiveXCtrl()
{
    // An object may keep the frame for good: it must not reach the control through it.
    if (m_pFrame != nullptr) {
        m_pFrame->Detach();
        m_pFrame->Release();
        m_pFrame = nullptr;
    }
    if (m_pWindow != nullptr) {
        ::DestroyWindow(*m_pWindow);
        delete m_pWindow;
        m_pWindow = nullptr;
    }
    if (m_pUnkSite != nullptr)
        m_pUnkSite->Release();
    if (m_pViewObject != nullptr)
        m_pViewObject->Release();
    if (m_pInPlaceObject != nullptr)
        m_pInPlaceObject->Release();
    UnlockRunning();
    if (m_hAccel != nullptr)
        ::DestroyAcceleratorTable(m_hAccel);
}

void CActiveXCtrl::SetOwner(CActiveXUI* owner)
{
    m_pOwner = owner;
    if (m_pFrame != nullptr)
        m_pFrame->SetOwner(owner);
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleInPlaceSiteWindowless ||
        riid == IID_IOleInPlaceSiteEx || riid == IID_IOleInPlaceSite || riid == IID_IOleWindow)
        *ppv = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleControlSite)
        *ppv = static_cast<IOleControlSite*>(this);
    else if (riid == IID_IOleContainer || riid == IID_IParseDisplayName)
        *ppv = static_cast<IOleContainer*>(this);
    else if (riid == IID_IObjectWithSite)
        *ppv = static_cast<IObjectWithSite*>(this);
    if (*ppv == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    const LONG ref = ::InterlockedDecrement(&m_dwRef);
    if (ref == 0)
        delete this;
    return static_cast<ULONG>(ref);
}

IOleInPlaceObjectWindowless* CActiveXCtrl::GetWindowlessObject() const
{
    // Queried as IOleInPlaceObjectWindowless whenever the site runs windowless.
    return m_bWindowless ? static_cast<IOleInPlaceObjectWindowless*>(m_pInPlaceObject) : nullptr;
}

void CActiveXCtrl::DrawView(HDC hdc, const RECT& rc)
{
    if (m_pViewObject == nullptr || hdc == nullptr)
        return;
    RECTL bounds = {rc.left, rc.top, rc.right, rc.bottom};
    m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hdc, &bounds, &bounds,
                        nullptr, 0);
}

void CActiveXCtrl::UnlockRunning()
{
    if (m_pRunningLock == nullptr)
        return;
    IOleObject* object = m_pRunningLock;
    m_pRunningLock = nullptr;
    ::OleLockRunning(object, FALSE, TRUE);
    object->Release();
}

void CActiveXCtrl::ClearInPlaceObject()
{
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
}

// --- IObjectWithSite ---

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* site)
{
    if (site != nullptr)
        site->AddRef();
    if (m_pUnkSite != nullptr)
        m_pUnkSite->Release();
    m_pUnkSite = site;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (m_pUnkSite == nullptr)
        return E_FAIL;
    return m_pUnkSite->QueryInterface(riid, ppv);
}

// --- IOleClientSite ---

STDMETHODIMP CActiveXCtrl::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite != nullptr)
        hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(out));
    if (FAILED(hr) || *out == nullptr)
        hr = QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(out));
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    // GetDC(null) would hand out the screen.
    HDC hdc = m_pOwner->m_hwndHost != nullptr ? ::GetDC(m_pOwner->m_hwndHost) : nullptr;
    if (hdc == nullptr)
        return E_FAIL;
    DrawView(hdc, m_pOwner->GetPos());
    ::ReleaseDC(m_pOwner->m_hwndHost, hdc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// --- IOleInPlaceSiteWindowless ---

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL capture)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    m_bCaptured = (capture == TRUE);
    if (m_bCaptured)
        ::SetCapture(m_pOwner->m_hwndHost);
    else
        ::ReleaseCapture();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL focus)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    if (focus)
        m_pOwner->SetFocus();
    m_bFocused = (focus == TRUE);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD flags, HDC* out)
{
    if (out == nullptr)
        return E_POINTER;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    if (m_bWindowless)
        return S_FALSE;
    *out = nullptr;
    // GetDC(null) would hand out the screen.
    if (m_pOwner->m_hwndHost == nullptr)
        return E_FAIL;
    *out = ::GetDC(m_pOwner->m_hwndHost);
    if (*out == nullptr)
        return E_FAIL;
    if ((flags & OLEDC_PAINTBKGND) != 0) {
        RECT rc = OffsetToOrigin(m_pOwner->GetPos());
        ::FillRect(*out, &rc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hdc)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    ::ReleaseDC(m_pOwner->m_hwndHost, hdc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT rect, BOOL erase)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr)
        return E_FAIL;
    return ::InvalidateRect(m_pOwner->m_hwndHost, rect, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN rgn, BOOL erase)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    // A null window would mean every window on the desktop.
    if (m_pOwner->m_hwndHost == nullptr)
        return E_FAIL;
    return ::InvalidateRgn(m_pOwner->m_hwndHost, rgn, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    const LRESULT answer = ::DefWindowProcW(m_pOwner->m_hwndHost, msg, wParam, lParam);
    if (result != nullptr)
        *result = answer;
    return S_OK;
}

// --- IOleInPlaceSiteEx ---

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL*, DWORD flags)
{
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr)
        return E_UNEXPECTED;
    if (m_pRunningLock == nullptr && SUCCEEDED(::OleLockRunning(m_pOwner->m_pUnk, TRUE, FALSE))) {
        m_pRunningLock = m_pOwner->m_pUnk;
        m_pRunningLock->AddRef();
    }
    HRESULT hr = E_FAIL;
    ClearInPlaceObject();
    if ((flags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                              reinterpret_cast<void**>(&m_pInPlaceObject));
        if (SUCCEEDED(hr) && m_pOwner->GetManager() != nullptr) {
            m_pOwner->m_hwndHost = m_pOwner->GetManager()->GetWindowHandle();
            m_pOwner->GetManager()->AddMessageFilter(m_pOwner);
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (FAILED(hr))
            return hr;
        hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObject,
                                              reinterpret_cast<void**>(&m_pInPlaceObject));
    }
    if (m_pInPlaceObject != nullptr && !m_pOwner->IsOwnerManaged()) {
        RECT rc = m_pOwner->ObjectRect(!m_bWindowless);
        m_pInPlaceObject->SetObjectRects(&rc, &rc);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL)
{
    m_bInPlaceActive = false;
    ClearInPlaceObject();
    UnlockRunning();
    if (m_pWindow != nullptr) {
        ::DestroyWindow(*m_pWindow);
        delete m_pWindow;
        m_pWindow = nullptr;
    }
    // The handle belonged to the window just destroyed, or to the manager's window for a
    // windowless object, which no longer routes messages to it either.
    if (m_pOwner != nullptr) {
        if (m_bWindowless && m_pOwner->GetManager() != nullptr)
            m_pOwner->GetManager()->RemoveMessageFilter(m_pOwner);
        m_pOwner->m_hwndHost = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

// --- IOleInPlaceSite ---

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    BOOL noRedraw = FALSE;
    return OnInPlaceActivateEx(&noRedraw, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                            LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (frame == nullptr || doc == nullptr || pos == nullptr || clip == nullptr)
        return E_POINTER;
    if (m_pWindow != nullptr) {
        ::GetClientRect(*m_pWindow, pos);
        ::GetClientRect(*m_pWindow, clip);
    }
    if (m_pFrame == nullptr)
        m_pFrame = new (std::nothrow) CActiveXFrameWnd(m_pOwner);
    *frame = m_pFrame;
    if (m_pFrame != nullptr)
        m_pFrame->AddRef();
    *doc = nullptr;
    if (info != nullptr) {
        if (m_hAccel == nullptr) {
            ACCEL accel = {};
            m_hAccel = ::CreateAcceleratorTableW(&accel, 1);
        }
        info->cb = sizeof(OLEINPLACEFRAMEINFO);
        info->fMDIApp = FALSE;
        info->hwndFrame = m_pOwner != nullptr && m_pOwner->GetManager() != nullptr
                              ? m_pOwner->GetManager()->GetWindowHandle()
                              : nullptr;
        info->haccel = m_hAccel;
        info->cAccelEntries = 1;
    }
    return m_pFrame != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL)
{
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT)
{
    return E_NOTIMPL;
}

// --- IOleWindow ---

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr)
        CreateActiveXWnd();
    if (m_pOwner->m_hwndHost == nullptr)
        return E_FAIL;
    *phwnd = m_pOwner->m_hwndHost;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL)
{
    return S_OK;
}

// --- IOleControlSite ---

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr)
        return E_UNEXPECTED;
    return m_pOwner->m_pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL gotFocus)
{
    m_bFocused = (gotFocus == TRUE);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// --- IOleContainer ---

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    *out = new (std::nothrow) CActiveXEnum(m_pOwner->m_pUnk);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL lock)
{
    m_bLocked = (lock != FALSE);
    return S_OK;
}

// --- host window creation ---

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pWindow != nullptr)
        return S_OK;
    m_pWindow = new (std::nothrow) CActiveXWnd(this);
    if (m_pWindow == nullptr)
        return E_OUTOFMEMORY;
    HWND parent = m_pOwner != nullptr && m_pOwner->GetManager() != nullptr
                      ? m_pOwner->GetManager()->GetWindowHandle()
                      : nullptr;
    HWND hwnd = m_pWindow->Init(parent);
    if (hwnd == nullptr) {
        delete m_pWindow;
        m_pWindow = nullptr;
        return E_FAIL;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->m_hwndHost = hwnd;
        // Made again while disabled: the new window follows the control.
        ::EnableWindow(hwnd, m_pOwner->IsEnabled() ? TRUE : FALSE);
    }
    return S_OK;
}

} // namespace ZvUI

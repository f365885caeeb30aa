// Hosted Shockwave Flash object with a connected (silent) event sink.
#include "activex/FlashUI.h"

#include <cwchar>

#include "activex/HostedComIds.h"

namespace ZvUI {

CFlashUI::CFlashUI()
{
    wchar_t text[100] = {};
    std::wcsncpy(text, L"{D27CDB6E-AE6D-11CF-96B8-444553540000}", 99);
    if (FAILED(::CLSIDFromString(text, &m_clsid)))
        m_clsid = GUID_NULL;
}

CFlashUI::~CFlashUI()
{
    if (m_pFlashEventHandler != nullptr) {
        m_pFlashEventHandler->Release();
        m_pFlashEventHandler = nullptr;
    }
    CFlashUI::ReleaseHostedControl();
}

LPCWSTR CFlashUI::GetClass() const
{
    return L"FlashUI";
}

LPVOID CFlashUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"Flash") == 0)
        return static_cast<CFlashUI*>(this);
    return CActiveXUI::GetInterface(name);
}

bool CFlashUI::CreateHostedControl()
{
    if (!CActiveXUI::CreateHostedControl())
        return false;
    GetHostedControl(kIID_IShockwaveFlash, reinterpret_cast<void**>(&m_pFlash));
    RegisterEventHandler(true);
    return true;
}

void CFlashUI::ReleaseHostedControl()
{
    RegisterEventHandler(false);
    if (m_pFlash != nullptr) {
        m_pFlash->Release();
        m_pFlash = nullptr;
    }
    // Creation starts with this release: the object goes too, or a second creation leaks it.
    CActiveXUI::ReleaseHostedControl();
}

HRESULT CFlashUI::RegisterEventHandler(bool connect)
{
    if (m_pFlash == nullptr)
        return S_FALSE;
    return ConnectSink(m_pFlash, kDIID_IShockwaveFlashEvents, static_cast<IDispatch*>(this), connect,
                       m_dwCookie);
}

void CFlashUI::SetFlashEventHandler(IFlashHandler* handler)
{
    // The new reference comes first, so that setting the same handler again cannot free it.
    if (handler != nullptr)
        handler->AddRef();
    if (m_pFlashEventHandler != nullptr)
        m_pFlashEventHandler->Release();
    m_pFlashEventHandler = handler;
}

HRESULT CFlashUI::OnReadyStateChange(long newState)
{
    return m_pFlashEventHandler != nullptr ? m_pFlashEventHandler->OnReadyStateChange(this, newState) : S_OK;
}

HRESULT CFlashUI::OnProgress(long percentDone)
{
    return m_pFlashEventHandler != nullptr ? m_pFlashEventHandler->OnProgress(this, percentDone) : S_OK;
}

HRESULT CFlashUI::FSCommand(BSTR command, BSTR args)
{
    return m_pFlashEventHandler != nullptr ? m_pFlashEventHandler->FSCommand(this, command, args) : S_OK;
}

HRESULT CFlashUI::FlashCall(BSTR request)
{
    return m_pFlashEventHandler != nullptr ? m_pFlashEventHandler->FlashCall(this, request) : S_OK;
}

// --- COM side ---

STDMETHODIMP CFlashUI::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != kDIID_IShockwaveFlashEvents)
        return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFlashUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CFlashUI::Release()
{
    // The control tree owns this object; a count of 0 frees nothing.
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

STDMETHODIMP CFlashUI::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return S_OK;
}

LRESULT CFlashUI::TranslateAccelerator(MSG* msg)
{
    return ForwardAccelerator(msg, m_pFlash);
}

} // namespace ZvUI

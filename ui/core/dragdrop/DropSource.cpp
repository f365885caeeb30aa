#include "dragdrop/DropSource.h"

namespace ZvUI {

HRESULT CIDropSource::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDropSource)
        return E_NOINTERFACE;
    *object = static_cast<IDropSource*>(this);
    AddRef();
    return S_OK;
}

ULONG CIDropSource::AddRef()
{
    return static_cast<ULONG>(++m_refCount);
}

ULONG CIDropSource::Release()
{
    const LONG count = --m_refCount;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT CIDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if ((keyState & (MK_LBUTTON | MK_RBUTTON)) == 0) {
        m_dropped = true;
        return DRAGDROP_S_DROP;
    }
    return S_OK;
}

HRESULT CIDropSource::GiveFeedback(DWORD)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

} // namespace ZvUI

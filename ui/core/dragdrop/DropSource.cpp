#include "dragdrop/DropSource.h"

#include "dragdrop/ComCounting.h"

namespace ZvUI {

HRESULT CIDropSource::QueryInterface(REFIID iid, void** object)
{
    return QueryOwnInterface(static_cast<IDropSource*>(this), IID_IDropSource, iid, object);
}

ULONG CIDropSource::AddRef()
{
    return static_cast<ULONG>(++m_refCount);
}

ULONG CIDropSource::Release()
{
    return ReleaseAndDelete(this, m_refCount);
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

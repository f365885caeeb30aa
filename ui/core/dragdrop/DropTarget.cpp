#include "dragdrop/DropTarget.h"

#include "dragdrop/ComCounting.h"
#include "dragdrop/DragSourceHelper.h"

namespace ZvUI {

namespace {

POINT ToPoint(POINTL point)
{
    return POINT{point.x, point.y};
}

} // namespace

CIDropTarget::CIDropTarget()
{
    if (FAILED(::CoCreateInstance(kDragImageHelperClsid, nullptr, CLSCTX_INPROC_SERVER, kDropTargetHelperIid,
                                  reinterpret_cast<void**>(&m_helper))))
        m_helper = nullptr;
}

CIDropTarget::~CIDropTarget()
{
    if (m_helper != nullptr)
        m_helper->Release();
}

HRESULT CIDropTarget::QueryInterface(REFIID iid, void** object)
{
    return QueryOwnInterface(static_cast<IDropTarget*>(this), IID_IDropTarget, iid, object);
}

ULONG CIDropTarget::AddRef()
{
    return static_cast<ULONG>(++m_refCount);
}

ULONG CIDropTarget::Release()
{
    return static_cast<ULONG>(--m_refCount);
}

void CIDropTarget::AddSupportedFormat(const FORMATETC& format)
{
    m_formats.push_back(format);
}

const FORMATETC* CIDropTarget::GetMatchedFormat() const
{
    return m_matched < 0 ? nullptr : &m_formats[static_cast<size_t>(m_matched)];
}

bool CIDropTarget::QueryDrop(DWORD keyState, DWORD* effect)
{
    if (effect == nullptr)
        return false;
    const DWORD offered = *effect;
    if (!m_allowDrop) {
        *effect = DROPEFFECT_NONE;
        return false;
    }
    DWORD wanted = DROPEFFECT_NONE;
    const bool ctrl = (keyState & MK_CONTROL) != 0;
    const bool shift = (keyState & MK_SHIFT) != 0;
    if (ctrl && shift)
        wanted = DROPEFFECT_LINK;
    else if (ctrl)
        wanted = DROPEFFECT_COPY;
    else if (shift)
        wanted = DROPEFFECT_MOVE;
    if (wanted != DROPEFFECT_NONE) {
        *effect = (offered & wanted) ? wanted : DROPEFFECT_NONE;
    } else if (offered & DROPEFFECT_COPY) {
        *effect = DROPEFFECT_COPY;
    } else if (offered & DROPEFFECT_MOVE) {
        *effect = DROPEFFECT_MOVE;
    } else if (offered & DROPEFFECT_LINK) {
        *effect = DROPEFFECT_LINK;
    } else {
        *effect = DROPEFFECT_NONE;
    }
    return *effect != DROPEFFECT_NONE;
}

HRESULT CIDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    if (data == nullptr)
        return E_INVALIDARG;
    if (m_helper != nullptr) {
        POINT pt = ToPoint(point);
        m_helper->DragEnter(m_targetWindow, data, &pt, effect ? *effect : DROPEFFECT_NONE);
    }
    m_matched = -1;
    m_allowDrop = false;
    for (size_t i = 0; i < m_formats.size(); ++i) {
        if (data->QueryGetData(&m_formats[i]) == S_OK) {
            m_allowDrop = true;
            m_matched = static_cast<int>(i);
            break;
        }
    }
    QueryDrop(keyState, effect);
    return S_OK;
}

HRESULT CIDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect)
{
    if (m_helper != nullptr) {
        POINT pt = ToPoint(point);
        m_helper->DragOver(&pt, effect ? *effect : DROPEFFECT_NONE);
    }
    QueryDrop(keyState, effect);
    return S_OK;
}

HRESULT CIDropTarget::DragLeave()
{
    if (m_helper != nullptr)
        m_helper->DragLeave();
    m_allowDrop = false;
    m_matched = -1;
    return S_OK;
}

HRESULT CIDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    if (data == nullptr)
        return E_INVALIDARG;
    if (m_helper != nullptr) {
        POINT pt = ToPoint(point);
        m_helper->Drop(data, &pt, effect ? *effect : DROPEFFECT_NONE);
    }
    if (QueryDrop(keyState, effect) && m_allowDrop && m_matched >= 0) {
        FORMATETC& format = m_formats[static_cast<size_t>(m_matched)];
        STGMEDIUM medium = {};
        if (data->GetData(&format, &medium) == S_OK) {
            if (OnDrop(&format, medium, effect))
                ::ReleaseStgMedium(&medium);
        }
    }
    m_allowDrop = false;
    if (effect != nullptr)
        *effect = DROPEFFECT_NONE;
    m_matched = -1;
    return S_OK;
}

} // namespace ZvUI

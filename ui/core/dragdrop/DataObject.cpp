#include "dragdrop/DataObject.h"

#include "dragdrop/ComCounting.h"
#include "dragdrop/EnumFormatEtc.h"

#include <new>

namespace ZvUI {

CIDataObject::CIDataObject(CIDropSource* source)
    : m_source(source)
{
}

CIDataObject::~CIDataObject()
{
    for (size_t i = 0; i < m_formats.size(); ++i) {
        ::ReleaseStgMedium(m_media[i]);
        delete m_media[i];
        delete m_formats[i];
    }
}

HRESULT CIDataObject::QueryInterface(REFIID iid, void** object)
{
    return QueryOwnInterface(static_cast<IDataObject*>(this), IID_IDataObject, iid, object);
}

ULONG CIDataObject::AddRef()
{
    return static_cast<ULONG>(++m_refCount);
}

ULONG CIDataObject::Release()
{
    return ReleaseAndDelete(this, m_refCount);
}

HRESULT CIDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (format == nullptr || medium == nullptr)
        return E_INVALIDARG;
    medium->hGlobal = nullptr;
    for (size_t i = 0; i < m_formats.size(); ++i) {
        const FORMATETC& stored = *m_formats[i];
        if ((format->tymed & stored.tymed) != 0 && format->dwAspect == stored.dwAspect &&
            format->cfFormat == stored.cfFormat) {
            CopyMedium(medium, m_media[i], &stored);
            return S_OK;
        }
    }
    return DV_E_FORMATETC;
}

HRESULT CIDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT CIDataObject::QueryGetData(FORMATETC* format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    if ((format->dwAspect & DVASPECT_CONTENT) == 0)
        return DV_E_DVASPECT;
    HRESULT result = DV_E_TYMED;
    for (const FORMATETC* stored : m_formats) {
        result = DV_E_TYMED;
        if ((format->tymed & stored->tymed) == 0)
            continue;
        // The first match answers: a later format must not turn it back into a refusal.
        if (format->cfFormat == stored->cfFormat)
            return S_OK;
        result = DV_E_CLIPFORMAT;
    }
    return result;
}

HRESULT CIDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (out == nullptr)
        return E_INVALIDARG;
    return DATA_S_SAMEFORMATETC;
}

HRESULT CIDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (format == nullptr || medium == nullptr)
        return E_INVALIDARG;
    auto* storedFormat = new (std::nothrow) FORMATETC{};
    auto* storedMedium = new (std::nothrow) STGMEDIUM{};
    if (storedFormat == nullptr || storedMedium == nullptr) {
        delete storedFormat;
        delete storedMedium;
        return E_OUTOFMEMORY;
    }
    *storedFormat = *format;
    if (release)
        *storedMedium = *medium;
    else
        CopyMedium(storedMedium, medium, format);
    m_formats.push_back(storedFormat);
    m_media.push_back(storedMedium);
    return S_OK;
}

HRESULT CIDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    auto* formats = new (std::nothrow) CEnumFormatEtc(m_formats);
    if (formats == nullptr)
        return E_OUTOFMEMORY;
    formats->AddRef();
    *enumerator = formats;
    return S_OK;
}

HRESULT CIDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CIDataObject::DUnadvise(DWORD)
{
    return E_NOTIMPL;
}

HRESULT CIDataObject::EnumDAdvise(IEnumSTATDATA**)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

void CIDataObject::CopyMedium(STGMEDIUM* destination, const STGMEDIUM* source, const FORMATETC* format)
{
    bool duplicated = false;
    switch (source->tymed) {
    case TYMED_HGLOBAL:
    case TYMED_FILE:
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
        destination->hGlobal =
            static_cast<HGLOBAL>(::OleDuplicateData(source->hGlobal, format->cfFormat, 0));
        duplicated = true;
        break;
    case TYMED_ISTREAM:
        destination->pstm = source->pstm;
        if (destination->pstm != nullptr)
            destination->pstm->AddRef();
        break;
    case TYMED_ISTORAGE:
        destination->pstg = source->pstg;
        if (destination->pstg != nullptr)
            destination->pstg->AddRef();
        break;
    default:
        break;
    }
    destination->tymed = source->tymed;
    // A duplicate belongs to whoever receives it: with a release object ReleaseStgMedium would
    // release only that and never free the duplicate.
    destination->pUnkForRelease = duplicated ? nullptr : source->pUnkForRelease;
    if (destination->pUnkForRelease != nullptr)
        destination->pUnkForRelease->AddRef();
}

} // namespace ZvUI

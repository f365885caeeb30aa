#include "dragdrop/EnumFormatEtc.h"

#include "dragdrop/ComCounting.h"

#include <new>

namespace ZvUI {

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC>& formats)
    : m_formats(formats)
{
}

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC*>& formats)
{
    m_formats.reserve(formats.size());
    for (const FORMATETC* format : formats)
        m_formats.push_back(*format);
}

HRESULT CEnumFormatEtc::QueryInterface(REFIID iid, void** object)
{
    return QueryOwnInterface(static_cast<IEnumFORMATETC*>(this), IID_IEnumFORMATETC, iid, object);
}

ULONG CEnumFormatEtc::AddRef()
{
    return static_cast<ULONG>(++m_refCount);
}

ULONG CEnumFormatEtc::Release()
{
    return ReleaseAndDelete(this, m_refCount);
}

HRESULT CEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched)
{
    if (fetched != nullptr)
        *fetched = 0;
    if (count == 0 || formats == nullptr)
        return S_FALSE;
    if (m_index >= m_formats.size() || (fetched == nullptr && count != 1))
        return S_FALSE;
    ULONG copied = 0;
    while (copied < count && m_index < m_formats.size())
        formats[copied++] = m_formats[m_index++];
    if (fetched != nullptr)
        *fetched = copied;
    return copied == count ? S_OK : S_FALSE;
}

HRESULT CEnumFormatEtc::Skip(ULONG count)
{
    if (m_index + count >= m_formats.size())
        return S_FALSE;
    m_index += count;
    return S_OK;
}

HRESULT CEnumFormatEtc::Reset()
{
    m_index = 0;
    return S_OK;
}

HRESULT CEnumFormatEtc::Clone(IEnumFORMATETC** clone)
{
    if (clone == nullptr)
        return E_POINTER;
    auto* copy = new (std::nothrow) CEnumFormatEtc(m_formats);
    if (copy == nullptr) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    copy->m_index = m_index;
    copy->AddRef();
    *clone = copy;
    return S_OK;
}

} // namespace ZvUI

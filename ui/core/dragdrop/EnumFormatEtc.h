#pragma once
// An enumerator over a fixed list of clipboard formats, as IDataObject::EnumFormatEtc hands out.

#include <windows.h>
#include <ole2.h>

#include <vector>

namespace ZvUI {

class CEnumFormatEtc : public IEnumFORMATETC {
public:
    explicit CEnumFormatEtc(const std::vector<FORMATETC>& formats);
    explicit CEnumFormatEtc(const std::vector<FORMATETC*>& formats);
    virtual ~CEnumFormatEtc() = default;
    CEnumFormatEtc(const CEnumFormatEtc&) = delete;
    CEnumFormatEtc& operator=(const CEnumFormatEtc&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    // Deleted when the count returns to 0.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // Without a fetched pointer only one entry may be asked for.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    // S_FALSE and no move when the skip reaches or passes the end.
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** clone) override;

private:
    LONG m_refCount = 0;
    std::vector<FORMATETC> m_formats;
    size_t m_index = 0;
};

} // namespace ZvUI

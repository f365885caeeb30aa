#pragma once
// The data object of a drag started from a control: formats and media in the order they were set.

#include <windows.h>
#include <ole2.h>

#include <vector>

namespace ZvUI {

class CIDropSource;

class CIDataObject : public IDataObject {
public:
    // The drop source is not counted: the drag owns both.
    explicit CIDataObject(CIDropSource* source);
    // Releases every stored medium.
    virtual ~CIDataObject();
    CIDataObject(const CIDataObject&) = delete;
    CIDataObject& operator=(const CIDataObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    // Deleted when the count returns to 0.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // A copy of the first stored medium whose tymed, aspect and format match.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    // S_OK at the first stored format that matches; otherwise the answer for the last one tried.
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    // Appends (never replaces). With release the medium is taken over, otherwise copied.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) override;

    // Duplicates source's handle (or shares its interface) into destination.
    static void CopyMedium(STGMEDIUM* destination, const STGMEDIUM* source, const FORMATETC* format);

private:
    CIDropSource* m_source;
    LONG m_refCount = 0;
    std::vector<FORMATETC*> m_formats;
    std::vector<STGMEDIUM*> m_media;
};

} // namespace ZvUI

#pragma once
// The drag source of a drag started from a control: drops on button release, cancels on Escape.

#include <windows.h>
#include <ole2.h>

namespace ZvUI {

class CIDropSource : public IDropSource {
public:
    CIDropSource() = default;
    virtual ~CIDropSource() = default;
    CIDropSource(const CIDropSource&) = delete;
    CIDropSource& operator=(const CIDropSource&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    // Deleted when the count returns to 0.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

    [[nodiscard]] bool IsDropped() const { return m_dropped; }

private:
    LONG m_refCount = 0;
    bool m_dropped = false;
};

} // namespace ZvUI

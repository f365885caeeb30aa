#pragma once
// The drop side of OLE drag and drop: accepts the first supported format a drag offers and hands
// the dropped data to OnDrop.

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <vector>

namespace ZvUI {

class CIDropTarget : public IDropTarget {
public:
    // Makes the shell's drop-target image helper; drops work without it.
    CIDropTarget();
    CIDropTarget(const CIDropTarget&) = delete;
    CIDropTarget& operator=(const CIDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    // Counted, never deleted: the object lives inside its owner.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    // Hands the data of the matched format to OnDrop; the effect reported back is always none.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    virtual ~CIDropTarget();

    // The owner takes the dropped medium; true lets Drop release it.
    virtual bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) = 0;

    void AddSupportedFormat(const FORMATETC& format);
    // Picks the effect from the keys (Ctrl+Shift link, Ctrl copy, Shift move; else the first the
    // source offers of copy, move, link) limited to what *effect offers; false for none.
    bool QueryDrop(DWORD keyState, DWORD* effect);

    [[nodiscard]] HWND GetTargetWindow() const { return m_targetWindow; }
    [[nodiscard]] bool IsDropAllowed() const { return m_allowDrop; }
    // The supported format the current drag offers, or null.
    [[nodiscard]] const FORMATETC* GetMatchedFormat() const;

protected:
    HWND m_targetWindow = nullptr;

private:
    LONG m_refCount = 0;
    bool m_allowDrop = false;
    IDropTargetHelper* m_helper = nullptr;
    std::vector<FORMATETC> m_formats;
    int m_matched = -1; // index into m_formats
};

} // namespace ZvUI

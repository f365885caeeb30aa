#pragma once
// Scoped holder of the shell's drag-image helper for the source side of a drag.

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

namespace ZvUI {

// The shell's drag-image object and its two interfaces.
inline const CLSID kDragImageHelperClsid = {0x4657278A, 0x411B, 0x11D2, {0x83, 0x9A, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0xD0}};
inline const IID kDropTargetHelperIid = {0x4657278B, 0x411B, 0x11D2, {0x83, 0x9A, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0xD0}};
inline const IID kDragSourceHelperIid = {0xDE5BF786, 0x477A, 0x11D2, {0x83, 0x9D, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0xD0}};

class CDragSourceHelper {
public:
    // The helper is null when the shell cannot make it; the drag then simply has no image.
    CDragSourceHelper();
    ~CDragSourceHelper();
    CDragSourceHelper(const CDragSourceHelper&) = delete;
    CDragSourceHelper& operator=(const CDragSourceHelper&) = delete;

    [[nodiscard]] bool IsAvailable() const { return m_helper != nullptr; }
    // E_FAIL without the helper. On success the helper owns bitmap.
    HRESULT InitializeFromBitmap(HBITMAP bitmap, POINT cursor, RECT image, IDataObject* data, COLORREF colorKey);

private:
    IDragSourceHelper* m_helper = nullptr;
};

} // namespace ZvUI

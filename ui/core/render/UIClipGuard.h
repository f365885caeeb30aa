#pragma once
// Scoped clip of a device context: narrows the clip and puts the previous clip box back when it ends.

#include <windows.h>

namespace ZvUI {

class CUIClipGuard {
public:
    CUIClipGuard() = default;
    CUIClipGuard(const CUIClipGuard&) = delete;
    CUIClipGuard& operator=(const CUIClipGuard&) = delete;
    // Restores the clip box found before the guard; guards end in reverse order of creation.
    ~CUIClipGuard();

    static void GenerateClip(HDC hDC, const RECT& rc, CUIClipGuard& clip);
    static void GenerateRoundClip(HDC hDC, const RECT& rc, const RECT& rcItem, int width, int height,
                                  CUIClipGuard& clip);
    static void GenerateEllipseClip(HDC hDC, const RECT& rc, const RECT& rcItem, CUIClipGuard& clip);
    // Paint with the clip that was in force before the guard, then return to the guard's clip.
    static void UseOldClipBegin(HDC hDC, CUIClipGuard& clip);
    static void UseOldClipEnd(HDC hDC, CUIClipGuard& clip);

private:
    static void Begin(HDC hDC, const RECT& rc, HRGN shape, CUIClipGuard& clip);

    RECT m_rcItem = {0, 0, 0, 0};
    HDC m_hDC = nullptr;
    HRGN m_hRgn = nullptr;
    HRGN m_hOldRgn = nullptr;
};

} // namespace ZvUI

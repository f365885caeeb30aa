// Scoped clip of a device context.

#include "render/UIClipGuard.h"

namespace ZvUI {

CUIClipGuard::~CUIClipGuard()
{
    if (m_hDC != nullptr) {
        ::SelectClipRgn(m_hDC, m_hOldRgn);
    }
    if (m_hOldRgn != nullptr) {
        ::DeleteObject(m_hOldRgn);
    }
    if (m_hRgn != nullptr) {
        ::DeleteObject(m_hRgn);
    }
}

void CUIClipGuard::Begin(HDC hDC, const RECT& rc, HRGN shape, CUIClipGuard& clip)
{
    // What comes back at the end is the clip box, not the exact shape of the clip before.
    RECT box = {0, 0, 0, 0};
    ::GetClipBox(hDC, &box);
    HRGN oldRgn = ::CreateRectRgnIndirect(&box);
    HRGN rgn = ::CreateRectRgnIndirect(&rc);
    if (rgn != nullptr && shape != nullptr) {
        ::CombineRgn(rgn, rgn, shape, RGN_AND);
    }
    if (shape != nullptr) {
        ::DeleteObject(shape);
    }
    if (oldRgn == nullptr || rgn == nullptr) {
        // Without both regions the clip stays as it was and the guard stays inert.
        if (oldRgn != nullptr) {
            ::DeleteObject(oldRgn);
        }
        if (rgn != nullptr) {
            ::DeleteObject(rgn);
        }
        return;
    }
    ::ExtSelectClipRgn(hDC, rgn, RGN_AND);
    clip.m_rcItem = rc;
    clip.m_hDC = hDC;
    clip.m_hRgn = rgn;
    clip.m_hOldRgn = oldRgn;
}

void CUIClipGuard::GenerateClip(HDC hDC, const RECT& rc, CUIClipGuard& clip)
{
    Begin(hDC, rc, nullptr, clip);
}

void CUIClipGuard::GenerateRoundClip(HDC hDC, const RECT& rc, const RECT& rcItem, int width, int height,
                                     CUIClipGuard& clip)
{
    HRGN round = ::CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width, height);
    if (round == nullptr) {
        return;
    }
    Begin(hDC, rc, round, clip);
}

void CUIClipGuard::GenerateEllipseClip(HDC hDC, const RECT& rc, const RECT& rcItem, CUIClipGuard& clip)
{
    HRGN ellipse = ::CreateEllipticRgn(rcItem.left, rcItem.top, rcItem.right, rcItem.bottom);
    if (ellipse == nullptr) {
        return;
    }
    Begin(hDC, rc, ellipse, clip);
}

void CUIClipGuard::UseOldClipBegin(HDC hDC, CUIClipGuard& clip)
{
    if (clip.m_hOldRgn != nullptr) {
        ::SelectClipRgn(hDC, clip.m_hOldRgn);
    }
}

void CUIClipGuard::UseOldClipEnd(HDC hDC, CUIClipGuard& clip)
{
    if (clip.m_hRgn != nullptr) {
        ::SelectClipRgn(hDC, clip.m_hRgn);
    }
}

} // namespace ZvUI

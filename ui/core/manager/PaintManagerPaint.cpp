// Minimal painting side of the paint manager so the tree links; the rendering work (Part
// 1.150: off-screen bitmap, layered windows, partial layout) replaces this file.
#include "manager/PaintManagerUI.h"

#include "control/ControlUI.h"

namespace ZvUI {

bool CPaintManagerUI::OnPaintMessage(UINT msg, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& result)
{
    if (msg != WM_PAINT)
        return false;
    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (m_pRoot != nullptr && ::GetUpdateRect(m_hWndPaint, nullptr, FALSE)) {
        if (m_bFocusNeeded)
            MoveTabFocus(true);
        if (m_bUpdateNeeded) {
            m_bUpdateNeeded = false;
            if (!::IsRectEmpty(&rcClient) && !::IsIconic(m_hWndPaint))
                m_pRoot->SetPos(rcClient, true);
            if (m_bFirstLayout) {
                m_bFirstLayout = false;
                RaiseNotify(m_pRoot, L"windowinit");
            }
        }
    }
    PAINTSTRUCT ps = {};
    HDC dc = ::BeginPaint(m_hWndPaint, &ps);
    if (m_pRoot != nullptr)
        m_pRoot->Paint(dc, ps.rcPaint, nullptr);
    ::EndPaint(m_hWndPaint, &ps);
    result = 0;
    return true;
}

void CPaintManagerUI::ReleasePaintResources(bool /*destroying*/) {}

} // namespace ZvUI

#include "ZVObjectWnd.h"

#include <cwchar>

namespace {

BOOL CALLBACK ListMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM list)
{
    return reinterpret_cast<ZVMonitorList*>(list)->Add(monitor, *rect) ? TRUE : FALSE;
}

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

// Moves start so that [start, start + size) lies inside [low, high), the low edge winning.
int KeepInside(int start, int size, int low, int high)
{
    if (start < low)
        return low;
    if (start + size > high)
        return high - size;
    return start;
}

} // namespace

// --- monitors ---

ZVMonitorList::ZVMonitorList()
{
    ::EnumDisplayMonitors(nullptr, nullptr, ListMonitor, reinterpret_cast<LPARAM>(this));
    static bool kept = false;
    if (!kept) {
        kept = true;
        FirstListSlot() = *this;
    }
}

bool ZVMonitorList::Add(HMONITOR monitor, const RECT& rect)
{
    if (m_count >= kMaxListed)
        return false;
    ZVMonitorInfo& info = m_monitors[m_count];
    info = ZVMonitorInfo();
    info.monitor = monitor;
    info.enumRect = rect;
    MONITORINFOEXW details = {};
    details.cbSize = sizeof(details);
    if (::GetMonitorInfoW(monitor, &details)) {
        wcsncpy(info.deviceName, details.szDevice, 31);
        info.monitorRect = details.rcMonitor;
        info.workRect = details.rcWork;
        info.primary = (details.dwFlags & MONITORINFOF_PRIMARY) != 0;
    }
    swprintf(info.label, 32, L"显示器 %d", m_count + 1);
    if (info.primary && m_primary < 0)
        m_primary = m_count;
    ++m_count;
    return m_count < kMaxListed;
}

const ZVMonitorList& ZVMonitorList::GetFirstList()
{
    return FirstListSlot();
}

ZVMonitorList& ZVMonitorList::FirstListSlot()
{
    static ZVMonitorList first(nullptr);
    return first;
}

// --- window base ---

LRESULT CZVObjectWnd::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (msg == WM_TIMER)
        OnTimer(msg, wParam, lParam, handled);
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
}

LRESULT CZVObjectWnd::OnTimer(UINT, WPARAM, LPARAM, BOOL&)
{
    return 0;
}

void CZVObjectWnd::Center()
{
    CenterOnOwner(RECT{}, POINT{});
}

void CZVObjectWnd::CenterOnOwner(const RECT& bound, POINT offset)
{
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    const ZVMonitorList monitors;
    const ZVMonitorInfo* primary = monitors.GetPrimary();
    const RECT screen = primary ? primary->monitorRect : RECT{};

    const bool bounded = !::IsRectEmpty(&bound);
    RECT anchor = screen;
    if (bounded) {
        anchor = bound;
    } else {
        const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
            RECT ownerRect = {};
            ::GetWindowRect(owner, &ownerRect);
            anchor = {ownerRect.left, screen.top, ownerRect.right, screen.bottom};
        }
    }

    int x = (anchor.left + anchor.right) / 2 + offset.x - Width(window) / 2;
    int y = (anchor.top + anchor.bottom) / 2 + offset.y - Height(window) / 2;
    if (bounded) {
        x = KeepInside(x, Width(window), bound.left, bound.right);
        y = KeepInside(y, Height(window), bound.top, bound.bottom);
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetWindowDpi(CZVObjectWnd& window, int dpi)
{
    window.GetPaintManager().ApplyDpi(dpi);
}

// DPI scale arithmetic of one window.
#include "manager/DpiHelper.h"

#include <climits>

namespace ZvUI {

namespace {

// MulDiv's rounding, but a result beyond 32 bits saturates: MulDiv answers -1 there, which
// turned a huge maximum size (scaled at 200 %) into a negative one.
int ScaleLength(int value, int multiplier, int divisor)
{
    if (divisor <= 0)
        return ::MulDiv(value, multiplier, divisor);
    const __int64 product = static_cast<__int64>(value) * multiplier;
    const __int64 half = divisor / 2;
    const __int64 result = (product < 0 ? product - half : product + half) / divisor;
    if (result > INT_MAX)
        return INT_MAX;
    if (result < -INT_MAX)
        return -INT_MAX;
    return static_cast<int>(result);
}

} // namespace

CDpiHelper::CDpiHelper()
{
    SetScale(96);
}

void CDpiHelper::SetScale(int dpi)
{
    m_nScale = ::MulDiv(dpi, 100, 96);
    if (m_nInitialScale == 0)
        m_nInitialScale = m_nScale;
}

int CDpiHelper::GetScale() const
{
    if (m_nAwareness == kUnaware)
        return 100;
    if (m_nAwareness == kSystemAware)
        return m_nInitialScale;
    return m_nScale;
}

int CDpiHelper::GetDpi() const
{
    if (m_nAwareness == kUnaware)
        return 96;
    return ::MulDiv(GetScale(), 96, 100);
}

int CDpiHelper::Scale(int value) const
{
    if (m_nAwareness == kUnaware)
        return value;
    return ScaleLength(value, GetScale(), 100);
}

int CDpiHelper::Unscale(int value) const
{
    if (m_nAwareness == kUnaware)
        return value;
    return ScaleLength(value, 100, GetScale());
}

void CDpiHelper::ScaleRect(RECT& rc) const
{
    const int width = Scale(rc.right - rc.left);
    const int height = Scale(rc.bottom - rc.top);
    rc.left = Scale(rc.left);
    rc.top = Scale(rc.top);
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
}

void CDpiHelper::UnscaleRect(RECT& rc) const
{
    const int width = Unscale(rc.right - rc.left);
    const int height = Unscale(rc.bottom - rc.top);
    rc.left = Unscale(rc.left);
    rc.top = Unscale(rc.top);
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
}

RECT CDpiHelper::ScaleRectValues(int left, int top, int right, int bottom) const
{
    RECT rc = {left, top, right, bottom};
    ScaleRect(rc);
    return rc;
}

void CDpiHelper::ScalePoint(POINT& pt) const
{
    pt.x = Scale(pt.x);
    pt.y = Scale(pt.y);
}

void CDpiHelper::ScaleSize(SIZE& sz) const
{
    sz.cx = Scale(sz.cx);
    sz.cy = Scale(sz.cy);
}

POINT CDpiHelper::ScaleXY(int x, int y) const
{
    return POINT{Scale(x), Scale(y)};
}

SIZE CDpiHelper::ScaleSizeXY(int cx, int cy) const
{
    return SIZE{Scale(cx), Scale(cy)};
}

} // namespace ZvUI

// --- system DPI ---

namespace ZvUI {

namespace {

// Shcore.dll exists from Windows 8.1 on; its entry points are looked up by name.
using SetAwarenessProc = HRESULT(WINAPI*)(int);
using GetAwarenessProc = HRESULT(WINAPI*)(HANDLE, int*);
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

constexpr int kMdtEffectiveDpi = 0;

FARPROC ShcoreProc(const char* name)
{
    HMODULE shcore = ::LoadLibraryW(L"Shcore.dll");
    return shcore != nullptr ? ::GetProcAddress(shcore, name) : nullptr;
}

} // namespace

bool CDpiHelper::SetAwareness(int level)
{
    if (!IsWindows81OrGreater()) {
        m_nAwareness = level;
        return false;
    }
    auto set = reinterpret_cast<SetAwarenessProc>(ShcoreProc("SetProcessDpiAwareness"));
    if (set != nullptr && set(level) == S_OK) {
        m_nAwareness = level;
        return true;
    }
    return false;
}

int CDpiHelper::GetAwareness()
{
    if (IsWindows81OrGreater()) {
        auto get = reinterpret_cast<GetAwarenessProc>(ShcoreProc("GetProcessDpiAwareness"));
        if (get != nullptr) {
            HANDLE process = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, ::GetCurrentProcessId());
            int level = m_nAwareness;
            if (SUCCEEDED(get(process, &level)))
                m_nAwareness = level;
            if (process != nullptr)
                ::CloseHandle(process);
        }
    }
    return m_nAwareness;
}

int CDpiHelper::GetDpiForMonitor(HMONITOR monitor)
{
    if (IsWindows81OrGreater()) {
        auto get = reinterpret_cast<GetDpiForMonitorProc>(ShcoreProc("GetDpiForMonitor"));
        if (get == nullptr)
            return 96;
        UINT x = 96;
        UINT y = 96;
        if (FAILED(get(monitor, kMdtEffectiveDpi, &x, &y))) {
            ::MessageBoxW(nullptr, L"GetDpiForMonitor failed", L"Notification", MB_OK);
            return 96;
        }
        return static_cast<int>(x);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

int CDpiHelper::GetDpiForPoint(int x, int y)
{
    const POINT pt = {x, y};
    return GetDpiForMonitor(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST));
}

int CDpiHelper::GetMainMonitorDpi()
{
    return GetDpiForPoint(1, 1);
}

bool CDpiHelper::IsWindows81OrGreater()
{
    return IsWindowsVersionOrGreater(6, 3, 0);
}

bool CDpiHelper::IsWindowsVersionOrGreater(WORD major, WORD minor, WORD servicePackMajor)
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.wServicePackMajor = servicePackMajor;
    DWORDLONG mask = 0;
    mask = ::VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = ::VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    mask = ::VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return ::VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, mask) != FALSE;
}

} // namespace ZvUI

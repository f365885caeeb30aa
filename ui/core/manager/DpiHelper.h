#pragma once
// Per-window DPI scale: converts 96-dpi lengths to device pixels and back.

#include <windows.h>

namespace ZvUI {

class CDpiHelper {
public:
    // PROCESS_DPI_AWARENESS values.
    static constexpr int kUnaware = 0;
    static constexpr int kSystemAware = 1;
    static constexpr int kPerMonitorAware = 2;

    CDpiHelper();

    // scale = MulDiv(dpi, 100, 96); the first call also fixes the initial scale.
    void SetScale(int dpi);
    int GetScale() const;
    int GetDpi() const;

    // MulDiv rounds to nearest, so at 150 a 5 becomes 8.
    int Scale(int value) const;
    int Unscale(int value) const;
    // Origin and extent are scaled apart so a rectangle keeps its scaled size wherever it lies.
    void ScaleRect(RECT& rc) const;
    void UnscaleRect(RECT& rc) const;
    RECT ScaleRectValues(int left, int top, int right, int bottom) const;
    void ScalePoint(POINT& pt) const;
    void ScaleSize(SIZE& sz) const;
    POINT ScaleXY(int x, int y) const;
    SIZE ScaleSizeXY(int cx, int cy) const;

    // Through Shcore on Windows 8.1 and later; elsewhere the level is only stored (false).
    bool SetAwareness(int level);
    // Asks Shcore for the process's awareness when it can; the stored level otherwise.
    int GetAwareness();

    // Effective DPI of a monitor (Shcore), or the screen's LOGPIXELSX before Windows 8.1.
    static int GetDpiForMonitor(HMONITOR monitor);
    static int GetDpiForPoint(int x, int y);
    static int GetMainMonitorDpi();
    static bool IsWindows81OrGreater();
    static bool IsWindowsVersionOrGreater(WORD major, WORD minor, WORD servicePackMajor);

private:
    int m_nScale = 0;
    int m_nInitialScale = 0;
    int m_nAwareness = kPerMonitorAware;
};

} // namespace ZvUI

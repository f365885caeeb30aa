// Fonts, monitors, the window under a point and the alternative skin source of the setup program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ZVMonitorList;

namespace ZVCore {

// AddFontResourceW / RemoveFontResourceW of the file: the number of fonts added or removed.
int AddFontFile(const std::wstring& path);
int RemoveFontFile(const std::wstring& path);
// Every font family of the screen, in the order the system reports them.
[[nodiscard]] std::vector<std::wstring> GetFontFamilyNames();

// The union of the monitors' rectangles (the process-wide list); empty without monitors.
[[nodiscard]] RECT GetMonitorsUnion();
[[nodiscard]] RECT GetMonitorsUnion(const ZVMonitorList& monitors);

// The deepest visible, enabled window under a screen point with its window rectangle. Over the
// desktop ("WorkerW") the result is null and rect is the monitor under the point less 2 pixels
// on each side (empty when no monitor holds it).
HWND GetWindowRectAtPoint(RECT& rect, POINT point);

// Start-up skin source: the zip resource 112 "ZVZIPRES" (kind 4) or the files of "installSkin\"
// beside the program (kind 1). False when no archive was set.
bool LoadSkinResource();

} // namespace ZVCore

// Shows the list test skin at a given DPI for a while, for screenshots: ListSkinViewer DPI SECONDS.
#include <windows.h>

#include <cstdlib>

#include "ListSkin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char* rest = nullptr;
    const int dpi = static_cast<int>(std::strtol(commandLine, &rest, 10));
    const int seconds = static_cast<int>(std::strtol(rest, nullptr, 10));
    ListSkinWindow window(dpi > 0 ? dpi : 96, true);
    // A selection, an expanded header drag and a collapsed branch make every look visible.
    window.textList->SelectItem(1);
    window.boxList->SelectItem(2);
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(seconds > 0 ? seconds : 5) * 1000;
    MSG msg;
    while (::GetTickCount() < end) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(20);
    }
    return 0;
}

// Shows the list test skin at a given DPI for a while, for screenshots: ListSkinViewer DPI SECONDS.
#include <windows.h>

#include <cstdlib>

#include "ListSkin.h"
#include "control/CheckBoxUI.h"
#include "tree/TreeNodeUI.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char* rest = nullptr;
    const int dpi = static_cast<int>(std::strtol(commandLine, &rest, 10));
    const int seconds = static_cast<int>(std::strtol(rest, nullptr, 10));
    ListSkinWindow window(dpi > 0 ? dpi : 96, true);
    // Selected rows, a collapsed branch and a checked subtree show every look of the skin.
    window.textList->SelectItem(1);
    window.boxList->SelectItem(2);
    auto* letters = static_cast<ZvUI::CTreeNodeUI*>(window.Find(L"letters"));
    auto* reports = static_cast<ZvUI::CTreeNodeUI*>(window.Find(L"reports"));
    if (letters != nullptr && reports != nullptr) {
        letters->GetFolderButton()->Selected(true, true);
        reports->SetCheckBoxSelected(true);
        window.tree->SelectItem(reports->GetTreeIndex());
    }
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

// Entry of the setup program: COM, GDI+, the skin, and the main frame run modally.
#include "CommandLine.h"
#include "ShellFunctions.h"
#include "SkinPackage.h"
#include "WndShadow.h"
#include "ZVMainFrame.h"
#include "ZVMsgBox.h"
#include "util/CodePage.h"

#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include "manager/PaintManagerUI.h"

using namespace ZvUI;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // Switches of other installers are accepted and change nothing: the wizard always runs.
    (void)ParseSetupCommandLine(ZVCore::AnsiToWide(commandLine != nullptr ? commandLine : ""));

    if (FAILED(::CoInitialize(nullptr)))
        return 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetGlobalDpi(GetScreenDpi());
    LoadSkinPackage();
    CWndShadow::Initialize(instance);
    ShowZVWindow<ZVMainFrame>(nullptr, nullptr, true, kZvWindowCaption, nullptr, nullptr, kZvWindowStyle,
                              kZvWindowExStyle, 1, 0);

    Gdiplus::GdiplusShutdown(gdiplusToken);
    ::CoUninitialize();
    return 0;
}

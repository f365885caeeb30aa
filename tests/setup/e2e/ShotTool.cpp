// Walks the installer through its four pages and both message boxes and saves a BMP of the
// screen around its window at each step. The full setup served to it must not report itself
// active: this tool does that in its place once the progress page has been shot.
// Usage: ShotTool <installer-ok.exe> <installer-fail.exe> <out-folder> <name-suffix>
#include "InstallerDriver.h"

#include <cstdio>

using namespace e2e;

namespace {

std::wstring outFolder;
std::wstring suffix;
int failures = 0;

void Fail(const char* what)
{
    std::printf("FAILED: %s\n", what);
    ++failures;
}

void Shot(HWND frameWnd, const wchar_t* name)
{
    // Pointer off the window, so that no control shows its hot look.
    SetCursorPos(2, 2);
    Sleep(400);
    const std::wstring path = outFolder + L"\\" + name + L"-" + suffix + L".bmp";
    if (!SaveScreenBmp(path, AroundWindow(frameWnd, 24)))
        Fail("cannot write a shot");
}

void CloseWithConfirmation(CInstaller& app, HWND frameWnd)
{
    ClickIn(frameWnd, kFrameWidth, frame::kClose);
    HWND box = app.WaitBox(10000);
    if (box)
        ClickIn(box, kMsgBoxWidth, box::kOk);
    DWORD code = 0;
    if (!app.WaitExit(10000, &code)) {
        Shot(frameWnd, L"close-failed"); // what was on the screen instead
        Fail("the installer did not end");
    }
}

// Starts the installer and waits for its start page; null when it does not come.
HWND StartOnTheStartPage(CInstaller& app, const std::wstring& exe)
{
    HWND frameWnd = app.Start(exe) ? app.WaitWindow(kFrameClass, 30000) : nullptr;
    if (!frameWnd || !app.WaitPage(0, 10000)) {
        Fail("no start page");
        return nullptr;
    }
    return frameWnd;
}

void WalkThePages(const std::wstring& exe)
{
    CInstaller app;
    HWND frameWnd = StartOnTheStartPage(app, exe);
    if (!frameWnd)
        return;
    std::printf("main frame at %d %%\n", ScalePercent(frameWnd, kFrameWidth));
    Shot(frameWnd, L"page0-start");

    ClickIn(frameWnd, kFrameWidth, frame::kCustom);
    if (!app.WaitPage(1, 5000))
        return Fail("no custom page");
    Shot(frameWnd, L"page1-custom");

    ClickIn(frameWnd, kFrameWidth, frame::kClosePage1);
    HWND box = app.WaitBox(10000);
    if (!box)
        return Fail("no close confirmation");
    Shot(frameWnd, L"msgbox-confirm-close");
    ClickIn(box, kMsgBoxWidth, box::kCancel);
    app.WaitNoWindow(kMsgBoxClass, 5000);

    ClickIn(frameWnd, kFrameWidth, frame::kInstallPage1);
    if (!app.WaitPage(2, 5000))
        return Fail("no progress page");
    // Downloaded and handed over: the bar climbs from 70 toward 99 while APP.ini is polled.
    WaitFor([] { return AppIniValue(L"active") == L"0"; }, 20000);
    Sleep(2000);
    Shot(frameWnd, L"page2-progress");

    WritePrivateProfileStringW(L"Install", L"active", L"1", (DataFolder() + L"\\APP.ini").c_str());
    if (!app.WaitPage(3, 5000))
        return Fail("no finish page");
    Shot(frameWnd, L"page3-finish");
    DWORD code = 0;
    if (!app.WaitExit(15000, &code))
        Fail("the finish page did not close");
}

void ShowTheFailure(const std::wstring& exe)
{
    CInstaller app;
    HWND frameWnd = StartOnTheStartPage(app, exe);
    if (!frameWnd)
        return;
    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    HWND box = app.WaitBox(20000);
    if (!box)
        return Fail("no failure box");
    Shot(frameWnd, L"msgbox-download-failed");
    ClickIn(box, kMsgBoxWidth, box::kOk);
    if (!app.WaitPage(0, 5000))
        Fail("no way back to the start page");
    CloseWithConfirmation(app, frameWnd);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        std::printf("usage: ShotTool <installer-ok.exe> <installer-fail.exe> <out-folder> <name-suffix>\n");
        return 2;
    }
    outFolder = argv[3];
    suffix = argv[4];
    ClearDataFolder();
    WalkThePages(argv[1]);
    ShowTheFailure(argv[2]);
    std::printf("%s\n", failures ? "some shots are missing" : "all shots taken");
    return failures ? 1 : 0;
}

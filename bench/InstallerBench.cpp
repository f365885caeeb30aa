// Start-up bench: time from CreateProcess to the first painted frame of a program's main
// window, for the installer and for a bare Win32 window, several runs each, medians and ratio.
// Usage: InstallerBench <installer.exe> <bare-window.exe> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchMedian.h"

namespace {

double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD pid;
    HWND found;
};

// The process's largest visible top-level window: the main window, not a shadow strip.
BOOL CALLBACK FindMain(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    RECT r{}, best{};
    if (pid != search->pid || !IsWindowVisible(wnd) || !GetClientRect(wnd, &r) || r.right < 100)
        return TRUE;
    if (!search->found || (GetClientRect(search->found, &best) && r.right * r.bottom > best.right * best.bottom))
        search->found = wnd;
    return TRUE;
}

COLORREF ScreenPixel(POINT p)
{
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// A point in the upper middle of the client area: painted on both programs' first frame.
POINT Probe(HWND wnd)
{
    RECT r{};
    GetClientRect(wnd, &r);
    POINT p{r.right / 2, r.bottom / 4};
    ClientToScreen(wnd, &p);
    return p;
}

struct Run {
    double window = -1;  // a visible main window exists
    double painted = -1; // its pixels differ from the empty screen
    double idle = -1;    // WaitForInputIdle returned after that
};

Run Measure(const std::wstring& exe)
{
    Run run;
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return run;
    const COLORREF empty = RGB(0, 0, 0);
    Search search{info.dwProcessId, nullptr};
    while (Now() - start < 30) {
        if (!search.found) {
            EnumWindows(FindMain, reinterpret_cast<LPARAM>(&search));
            if (search.found)
                run.window = Now() - start;
        }
        if (search.found && ScreenPixel(Probe(search.found)) != empty) {
            run.painted = Now() - start;
            WaitForInputIdle(info.hProcess, 10000);
            run.idle = Now() - start;
            break;
        }
        Sleep(1);
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return run;
}

// Waits until the screen under the last window is empty again, so the next run starts clean.
void WaitForEmptyScreen(POINT p)
{
    for (int i = 0; i < 200 && ScreenPixel(p) != RGB(0, 0, 0); ++i)
        Sleep(10);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::printf("usage: InstallerBench <installer.exe> <bare-window.exe> [runs] [window-steps.exe]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 11;
    std::vector<std::wstring> programs = {argv[1], argv[2]};
    if (argc > 4)
        programs.push_back(argv[4]);
    const char* names[3] = {"installer", "bare window", "window steps"};
    const size_t count = programs.size();
    std::vector<double> shown[3], painted[3], idle[3];
    const POINT centre{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2 - 100};

    // One untimed start of each first: the first start of a session loads more from disk.
    for (const auto& program : programs) {
        Measure(program);
        WaitForEmptyScreen(centre);
    }
    for (int i = 0; i < runs; ++i) {
        for (size_t k = 0; k < count; ++k) {
            const Run run = Measure(programs[k]);
            WaitForEmptyScreen(centre);
            if (run.painted < 0) {
                std::printf("%s: no painted window within 30 s\n", names[k]);
                return 1;
            }
            shown[k].push_back(run.window);
            painted[k].push_back(run.painted);
            idle[k].push_back(run.idle);
        }
    }
    for (size_t k = 0; k < count; ++k)
        std::printf("%-12s medians of %d runs: window visible %7.1f ms, first painted frame %7.1f ms, idle %7.1f ms\n",
                    names[k], runs, BenchMedian(shown[k]) * 1000, BenchMedian(painted[k]) * 1000,
                    BenchMedian(idle[k]) * 1000);
    const double ratio = BenchMedian(painted[0]) / BenchMedian(painted[1]);
    std::printf("ratio installer / bare window: %.2f (goal <= 1.5)\n", ratio);
    if (count > 2) {
        std::printf("ratio window steps / bare window: %.2f (the installer's window steps alone, no skin)\n",
                    BenchMedian(painted[2]) / BenchMedian(painted[1]));
        std::printf("ratio installer / window steps: %.2f (what the skin adds)\n",
                    BenchMedian(painted[0]) / BenchMedian(painted[2]));
    }
    return 0;
}

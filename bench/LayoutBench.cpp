// Times the stages of showing a large skinned layout: opening the zip from the program's resources,
// parsing and building 2,001 controls, laying them out and painting them into a DIB.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "builder/DialogBuilder.h"
#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

constexpr int kZipId = 101;

struct Times {
    double open = 0;
    double build = 0;
    double layout = 0;
    double paint = 0;
};

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* manager = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (manager != nullptr && manager->HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Clock {
public:
    Clock() { ::QueryPerformanceFrequency(&m_freq); Restart(); }
    void Restart() { ::QueryPerformanceCounter(&m_start); }
    // Milliseconds since the last restart; restarts.
    double Lap()
    {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        const double ms = static_cast<double>(now.QuadPart - m_start.QuadPart) * 1000.0 /
                          static_cast<double>(m_freq.QuadPart);
        m_start = now;
        return ms;
    }

private:
    LARGE_INTEGER m_freq = {};
    LARGE_INTEGER m_start = {};
};

// Paint time by control class: each control that holds no children painted on its own, again, after
// the timed paint (images decoded by then); what the containers add is the rest of the total.
struct ClassShare {
    std::wstring name;
    int count = 0;
    double ms = 0;
};

void CollectLeaves(CControlUI* control, std::vector<CControlUI*>& leaves)
{
    auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
    if (container == nullptr) {
        leaves.push_back(control);
        return;
    }
    for (int i = 0; i < container->GetCount(); ++i)
        CollectLeaves(container->GetItemAt(i), leaves);
}

std::vector<ClassShare> PaintByClass(CControlUI* root, HDC dc, const RECT& rc)
{
    std::vector<CControlUI*> leaves;
    CollectLeaves(root, leaves);
    std::map<std::wstring, ClassShare> shares;
    Clock clock;
    for (CControlUI* leaf : leaves) {
        clock.Restart();
        leaf->Paint(dc, rc, nullptr);
        ::GdiFlush();
        ClassShare& share = shares[leaf->GetClass()];
        share.name = leaf->GetClass();
        ++share.count;
        share.ms += clock.Lap();
    }
    std::vector<ClassShare> result;
    for (const auto& entry : shares)
        result.push_back(entry.second);
    std::sort(result.begin(), result.end(), [](const ClassShare& a, const ClassShare& b) { return a.ms > b.ms; });
    return result;
}

int CountControls(CControlUI* root)
{
    int count = 0;
    root->FindControl([](CControlUI*, LPVOID data) -> CControlUI* {
        ++*static_cast<int*>(data);
        return nullptr;
    }, &count, 0);
    return count;
}

// One repetition on a fresh window and manager, as a new skinned window would see it.
bool RunOnce(const void* zip, int zipSize, Times& t, int& controls, SIZE& size, std::vector<ClassShare>& shares)
{
    CPaintManagerUI manager;
    HWND hwnd = ::CreateWindowExW(0, L"ZvLayoutBench", L"LayoutBench", WS_POPUP, 0, 0, 100, 100, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&manager));
    manager.AttachWindow(hwnd);

    Clock clock;
    // The first memory archive stays until the archive is reset.
    CPaintManagerUI::SetResourceArchive(L"");
    CPaintManagerUI::SetResourceArchive(zip, zipSize);
    t.open = clock.Lap();

    CLayoutBuilder builder;
    CControlUI* root = builder.Create(L"bench.xml", nullptr, nullptr, &manager, nullptr);
    if (root == nullptr) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd);
        return false;
    }
    // The manager takes ownership of the root.
    manager.SetRootControl(root);
    t.build = clock.Lap();

    size = manager.GetInitialSize();
    const RECT rc = {0, 0, size.cx, size.cy};
    root->SetPos(rc, false);
    t.layout = clock.Lap();

    HDC windowDC = ::GetDC(hwnd);
    HDC memDC = ::CreateCompatibleDC(windowDC);
    BYTE* bits = nullptr;
    HBITMAP surface = CUIRender::CreateARGB32Bitmap(windowDC, size.cx, size.cy, &bits);
    HGDIOBJ old = ::SelectObject(memDC, surface);
    clock.Restart();
    root->Paint(memDC, rc, nullptr);
    ::GdiFlush();
    t.paint = clock.Lap();
    shares = PaintByClass(root, memDC, rc);
    // ZV_BENCH_HOLD_MS keeps the picture on screen for a while, for a screenshot.
    wchar_t hold[16] = {};
    if (::GetEnvironmentVariableW(L"ZV_BENCH_HOLD_MS", hold, 16) != 0) {
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ::BitBlt(windowDC, 0, 0, size.cx, size.cy, memDC, 0, 0, SRCCOPY);
        ::GdiFlush();
        const DWORD until = ::GetTickCount() + static_cast<DWORD>(_wtoi(hold));
        while (static_cast<LONG>(until - ::GetTickCount()) > 0) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
            ::Sleep(20);
        }
    }
    ::SelectObject(memDC, old);
    ::DeleteObject(surface);
    ::DeleteDC(memDC);
    ::ReleaseDC(hwnd, windowDC);

    controls = CountControls(root);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    CPaintManagerUI::SetInstance(instance);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ZvLayoutBench";
    ::RegisterClassExW(&wc);

    HRSRC res = ::FindResourceW(instance, MAKEINTRESOURCEW(kZipId), L"ZVZIP_RES");
    const void* zip = res != nullptr ? ::LockResource(::LoadResource(instance, res)) : nullptr;
    if (zip == nullptr) {
        std::printf("the skin zip is missing from the program's resources\n");
        return 1;
    }
    const int zipSize = static_cast<int>(::SizeofResource(instance, res));

    std::printf("LayoutBench: %d repetitions, skin zip %d bytes\n", repetitions, zipSize);
    std::vector<double> open, build, layout, paint;
    std::vector<ClassShare> shares;
    for (int i = 0; i < repetitions; ++i) {
        Times t;
        int controls = 0;
        SIZE size = {};
        if (!RunOnce(zip, zipSize, t, controls, size, shares)) {
            std::printf("bench.xml did not build\n");
            return 1;
        }
        std::printf("run %2d: %d controls, %ld x %ld px | open %7.3f ms | parse+build %8.3f ms | "
                    "layout %7.3f ms | paint %8.3f ms\n",
                    i + 1, controls, size.cx, size.cy, t.open, t.build, t.layout, t.paint);
        std::fflush(stdout);
        open.push_back(t.open);
        build.push_back(t.build);
        layout.push_back(t.layout);
        paint.push_back(t.paint);
    }
    std::printf("median: open %7.3f ms | parse+build %8.3f ms | layout %7.3f ms | paint %8.3f ms\n",
                Median(open), Median(build), Median(layout), Median(paint));
    // The last repetition's picture, control by control.
    double leaves = 0;
    for (const ClassShare& share : shares)
        leaves += share.ms;
    const double total = std::max(paint.back(), leaves);
    for (const ClassShare& share : shares)
        std::printf("  %-14ls %4d controls %8.3f ms  %5.1f %%\n", share.name.c_str(), share.count, share.ms,
                    100.0 * share.ms / total);
    std::printf("  %-14ls %4s          %8.3f ms  %5.1f %%\n", L"containers", "", total - leaves,
                100.0 * (total - leaves) / total);
    CPaintManagerUI::SetResourceArchive(L"");
    return 0;
}

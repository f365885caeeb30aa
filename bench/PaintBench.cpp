// Times full repaints of a skinned window against one plain BitBlt of the same area.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "control/ControlUI.h"
#include "layout/HorizontalLayoutUI.h"
#include "layout/VerticalLayoutUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

constexpr int kRows = 6;
constexpr int kColumns = 7;

// A cell: gradient, nine-slice frame, and a caption in the manager's default font.
class BenchCell : public CControlUI {
public:
    void PaintText(HDC hDC) override
    {
        HFONT font = m_pManager->GetFont(-1);
        HGDIOBJ old = ::SelectObject(hDC, font);
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, RGB(20, 30, 40));
        RECT rc = m_rcItem;
        ::DrawTextW(hDC, L"Velmora 安装", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(hDC, old);
    }
};

// A 48 x 48 frame with translucent edges and an opaque body, made in memory.
HBITMAP MakeFrame()
{
    BYTE* bits = nullptr;
    HBITMAP bitmap = CUIRender::CreateARGB32Bitmap(nullptr, 48, -48, &bits);
    auto* px = reinterpret_cast<DWORD*>(bits);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int edge = (x < 12 || y < 12 || x >= 36 || y >= 36) ? 1 : 0;
            const DWORD a = edge ? 160 : 255;
            const DWORD r = (x * 5) * a / 255;
            const DWORD g = (y * 5) * a / 255;
            const DWORD b = 200 * a / 255;
            px[y * 48 + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return bitmap;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* manager = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (manager != nullptr && manager->HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The floor of any repaint: a window whose WM_PAINT only copies a ready bitmap.
HDC g_floorDC = nullptr;

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_PAINT)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, g_floorDC, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    ::EndPaint(hwnd, &ps);
    return 0;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Mean time of one whole-window repaint through the window's own WM_PAINT.
double TimeRepaints(HWND hwnd, int count)
{
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < count; ++i) {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
    }
    ::GdiFlush();
    ::QueryPerformanceCounter(&t1);
    return Seconds(t0, t1) / count;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void RunScale(int dpi, int count)
{
    CPaintManagerUI::SetGlobalDpi(dpi);
    const int scale = ::MulDiv(dpi, 100, 96);
    const int width = 700 * scale / 100;
    const int height = 420 * scale / 100;

    CPaintManagerUI manager;
    HWND hwnd = ::CreateWindowExW(0, L"ZvPaintBench", L"PaintBench", WS_POPUP, 0, 0, width, height, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&manager));
    manager.AttachWindow(hwnd);

    auto* root = new CVerticalLayoutUI();
    root->SetBkColor(0xFFF0F4F8);
    root->SetBkColor2(0xFF90A0C0);
    root->SetInset(8, 8, 8, 8);
    root->SetChildPadding(6);
    for (int r = 0; r < kRows; ++r) {
        auto* row = new CHorizontalLayoutUI();
        row->SetChildPadding(6);
        for (int c = 0; c < kColumns; ++c) {
            auto* cell = new BenchCell();
            cell->SetBkColor(0xFFFFFFFF);
            cell->SetBkColor2(0xFFC0D0E0);
            cell->SetBkImage(L"file='bench_frame' corner='12,12,12,12'");
            cell->SetForeImage(L"file='bench_frame' source='12,12,36,36' fade='96'");
            cell->SetBorderColor(0xFF405060);
            cell->SetBorderSize(1);
            row->Add(cell);
        }
        root->Add(row);
    }
    // The manager takes ownership of the root.
    manager.SetRootControl(root);
    manager.GetDpiHelper()->SetScale(dpi);
    if (manager.AddImage(L"bench_frame", MakeFrame(), 48, 48, true) == nullptr)
        std::printf("frame image not added\n");

    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    for (int i = 0; i < 5; ++i) {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
        Pump();
    }

    const double paint = TimeRepaints(hwnd, count);

    HDC windowDC = ::GetDC(hwnd);
    HDC memDC = ::CreateCompatibleDC(windowDC);
    BYTE* bits = nullptr;
    HBITMAP surface = CUIRender::CreateARGB32Bitmap(windowDC, width, height, &bits);
    HGDIOBJ old = ::SelectObject(memDC, surface);
    std::memset(bits, 0x80, static_cast<size_t>(width) * height * 4);
    ::BitBlt(windowDC, 0, 0, width, height, memDC, 0, 0, SRCCOPY);
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < count; ++i)
        ::BitBlt(windowDC, 0, 0, width, height, memDC, 0, 0, SRCCOPY);
    ::GdiFlush();
    ::QueryPerformanceCounter(&t1);
    const double blit = Seconds(t0, t1) / count;

    g_floorDC = memDC;
    HWND floor = ::CreateWindowExW(0, L"ZvPaintFloor", L"PaintFloor", WS_POPUP, 0, 0, width, height, nullptr,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(floor, SW_SHOWNOACTIVATE);
    ::UpdateWindow(floor);
    Pump();
    const double empty = TimeRepaints(floor, count);
    ::DestroyWindow(floor);
    g_floorDC = nullptr;
    ::SelectObject(memDC, old);
    ::DeleteObject(surface);
    ::DeleteDC(memDC);
    ::ReleaseDC(hwnd, windowDC);

    std::printf("scale %3d %%: %4d x %3d px, %d cells | full paint %8.3f ms | one BitBlt %7.3f ms | ratio %6.1f"
                " | empty window's paint %6.3f ms, ratio %5.1f\n",
                scale, width, height, kRows * kColumns, paint * 1000.0, blit * 1000.0,
                blit > 0.0 ? paint / blit : 0.0, empty * 1000.0, empty > 0.0 ? paint / empty : 0.0);
    std::fflush(stdout);

    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 200;
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ZvPaintBench";
    ::RegisterClassExW(&wc);
    wc.lpfnWndProc = FloorProc;
    wc.lpszClassName = L"ZvPaintFloor";
    ::RegisterClassExW(&wc);
    std::printf("PaintBench: %d timed paints per scale\n", count);
    RunScale(96, count);
    RunScale(192, count);
    CPaintManagerUI::SetGlobalDpi(96);
    return 0;
}

// Times full repaints of a skinned window against one plain BitBlt of the same area.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "builder/DialogBuilder.h"
#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "layout/HorizontalLayoutUI.h"
#include "layout/TabLayoutUI.h"
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

struct Breakdown {
    double tree = 0;
    double rootFill = 0;
    double fill = 0;
    double frame = 0;
    double fore = 0;
    double text = 0;
    double border = 0;
};

// The layers of the last paint one at a time, into a bottom-up DIB like the off-screen one.
Breakdown TimeLayers(CControlUI* root, int width, int height, int count)
{
    Breakdown out;
    HDC dc = ::CreateCompatibleDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP surface = CUIRender::CreateARGB32Bitmap(dc, width, height, &bits);
    HGDIOBJ old = ::SelectObject(dc, surface);
    std::vector<CControlUI*> cells;
    auto* rows = static_cast<CContainerUI*>(root->GetInterface(L"Container"));
    for (int r = 0; rows != nullptr && r < rows->GetCount(); ++r) {
        auto* row = static_cast<CContainerUI*>(rows->GetItemAt(r)->GetInterface(L"Container"));
        for (int c = 0; row != nullptr && c < row->GetCount(); ++c)
            cells.push_back(row->GetItemAt(c));
    }
    const RECT all = {0, 0, width, height};
    auto time = [&](auto fn) {
        fn();
        LARGE_INTEGER t0;
        LARGE_INTEGER t1;
        ::QueryPerformanceCounter(&t0);
        for (int i = 0; i < count; ++i)
            fn();
        ::GdiFlush();
        ::QueryPerformanceCounter(&t1);
        return Seconds(t0, t1) * 1000.0 / count;
    };
    out.tree = time([&] { root->Paint(dc, all, nullptr); });
    out.rootFill = time([&] { root->PaintBkColor(dc); });
    out.fill = time([&] { for (CControlUI* c : cells) c->PaintBkColor(dc); });
    out.frame = time([&] { for (CControlUI* c : cells) c->PaintBkImage(dc); });
    out.fore = time([&] { for (CControlUI* c : cells) c->PaintForeImage(dc); });
    out.text = time([&] { for (CControlUI* c : cells) c->PaintText(dc); });
    out.border = time([&] { for (CControlUI* c : cells) c->PaintBorder(dc); });
    ::SelectObject(dc, old);
    ::DeleteObject(surface);
    ::DeleteDC(dc);
    return out;
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
    const Breakdown parts = TimeLayers(root, width, height, count / 4 > 0 ? count / 4 : 1);

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
                " | empty window's paint %6.3f ms, ratio %5.1f | kept images %d, %zu KB\n",
                scale, width, height, kRows * kColumns, paint * 1000.0, blit * 1000.0,
                blit > 0.0 ? paint / blit : 0.0, empty * 1000.0, empty > 0.0 ? paint / empty : 0.0,
                manager.GetImageDrawCache().GetCount(), manager.GetImageDrawCache().GetMemory() / 1024);
    std::printf("  where it goes (ms, painted into a DIB): tree %.3f | root gradient %.3f | cells: gradient %.3f,"
                " frame %.3f, fore image %.3f, text %.3f, border %.3f\n",
                parts.tree, parts.rootFill, parts.fill, parts.frame, parts.fore, parts.text, parts.border);
    std::fflush(stdout);

    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
}

std::vector<BYTE> ReadFile(const char* path)
{
    std::vector<BYTE> data;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return data;
    BYTE buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    std::fclose(file);
    return data;
}

// The memory of the kept images of one skin window, painted page by page.
void ReportSkin(const std::vector<BYTE>& zip, LPCWSTR xml, int dpi)
{
    CPaintManagerUI::SetGlobalDpi(dpi);
    CPaintManagerUI manager;
    HWND hwnd = ::CreateWindowExW(0, L"ZvPaintBench", L"PaintBench", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&manager));
    manager.AttachWindow(hwnd);
    CPaintManagerUI::SetResourceArchive(L"");
    CPaintManagerUI::SetResourceArchive(zip.data(), static_cast<int>(zip.size()));
    CLayoutBuilder builder;
    CControlUI* root = builder.Create(xml, nullptr, nullptr, &manager, nullptr);
    if (root == nullptr) {
        std::printf("%ls did not build\n", xml);
    } else {
        // The manager takes ownership of the root.
        manager.SetRootControl(root);
        manager.GetDpiHelper()->SetScale(dpi);
        const SIZE size = manager.GetInitialSize();
        ::SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        auto* tab = static_cast<CTabLayoutUI*>(manager.FindControl(L"tabInstall"));
        const int pages = tab != nullptr ? tab->GetCount() : 1;
        for (int page = 0; page < pages; ++page) {
            if (tab != nullptr)
                tab->SelectItem(page);
            for (int i = 0; i < 3; ++i) {
                ::InvalidateRect(hwnd, nullptr, FALSE);
                ::UpdateWindow(hwnd);
                Pump();
            }
            const double ms = TimeRepaints(hwnd, 20) * 1000.0;
            std::printf("  %-16ls %3d %%  page %d: full paint %7.3f ms | kept images %3d, %6zu KB (all pages so far)\n",
                        xml, ::MulDiv(dpi, 100, 96), page, ms, manager.GetImageDrawCache().GetCount(),
                        manager.GetImageDrawCache().GetMemory() / 1024);
        }
    }
    std::fflush(stdout);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
    CPaintManagerUI::SetResourceArchive(L"");
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
    // With the installer's skin zip: its windows' kept images, page by page.
    if (argc > 2) {
        const std::vector<BYTE> zip = ReadFile(argv[2]);
        if (zip.empty()) {
            std::printf("cannot read %s\n", argv[2]);
        } else {
            for (int dpi : {96, 192}) {
                ReportSkin(zip, L"ZVMainFrame.xml", dpi);
                ReportSkin(zip, L"ZVMsgBox.xml", dpi);
            }
        }
    }
    CPaintManagerUI::SetGlobalDpi(96);
    return 0;
}

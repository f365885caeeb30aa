// Times a list of 100 and of 10,000 text rows: build, layout, one full paint, one page of scrolling.
#include <windows.h>

#include <cstdio>

#include "list/ListHeaderItemUI.h"
#include "list/ListHeaderUI.h"
#include "list/ListTextElementUI.h"
#include "list/ListUI.h"
#include "manager/PaintManagerUI.h"

using namespace ZvUI;

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 360;
constexpr int kPaints = 20;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* manager = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (manager != nullptr && manager->HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

double Now()
{
    LARGE_INTEGER freq;
    LARGE_INTEGER count;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

struct Figures {
    double build = 0;
    double layout = 0;
    double paint = 0;
    double page = 0;
};

Figures Run(HWND hwnd, int rows)
{
    Figures f;
    CPaintManagerUI pm;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pm));
    pm.AttachWindow(hwnd);

    double t = Now();
    auto* list = new CListUI;
    list->SetAttribute(L"vscrollbar", L"true");
    const wchar_t* captions[] = {L"Name", L"Size", L"Type"};
    for (const wchar_t* caption : captions) {
        auto* item = new CListHeaderItemUI;
        item->SetText(caption);
        item->SetFixedWidth(140);
        list->Add(item);
    }
    pm.SetRootControl(list);
    for (int i = 0; i < rows; ++i) {
        auto* row = new CListTextElementUI;
        list->Add(row);
        wchar_t text[32];
        swprintf(text, 32, L"file-%05d.pdf", i);
        row->SetText(0, text);
        swprintf(text, 32, L"%d KB", (i * 37) % 1000);
        row->SetText(1, text);
        row->SetText(2, L"PDF");
    }
    f.build = Now() - t;

    const RECT client = {0, 0, kWidth, kHeight};
    t = Now();
    list->SetPos(client, false);
    f.layout = Now() - t;

    HDC screen = ::GetDC(hwnd);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    list->Paint(memory, client, nullptr);  // warms the font and brush caches
    t = Now();
    for (int i = 0; i < kPaints; ++i)
        list->Paint(memory, client, nullptr);
    f.paint = (Now() - t) / kPaints;

    t = Now();
    list->PageDown();
    list->Paint(memory, client, nullptr);
    f.page = Now() - t;

    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd, screen);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return f;
}

} // namespace

int main()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZvListBench";
    ::RegisterClassExW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"list bench", WS_POPUP, 0, 0, kWidth, kHeight, nullptr,
                                  nullptr, wc.hInstance, nullptr);

    const int sizes[] = {100, 10000};
    Figures figures[2];
    std::printf("rows     build ms  layout ms  paint ms  page ms\n");
    for (int i = 0; i < 2; ++i) {
        figures[i] = Run(hwnd, sizes[i]);
        std::printf("%6d  %8.2f  %9.2f  %8.3f  %7.3f\n", sizes[i], figures[i].build, figures[i].layout,
                    figures[i].paint, figures[i].page);
    }
    const double ratio = figures[0].paint > 0 ? figures[1].paint / figures[0].paint : 0;
    std::printf("paint ratio 10000/100: %.2f (%s)\n", ratio, ratio <= 1.5 ? "within 1.5x" : "over 1.5x");
    ::DestroyWindow(hwnd);
    return ratio <= 1.5 ? 0 : 1;
}

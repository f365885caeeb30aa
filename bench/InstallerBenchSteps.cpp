// The second baseline of the start-up bench: the installer's window steps without its skin.
// COM, GDI+ and the common controls started, a visible captioned window at the default place, its caption style
// taken away and its size set at WM_CREATE, a hidden layered shadow window, the icon, a move to
// the centre, and a first paint that makes the window layered and hands a white 32-bit bitmap
// to UpdateLayeredWindow. What the installer takes beyond this is its own work.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 420;
constexpr WORD kIconResource = 101;

HWND g_shadow = nullptr;

void PaintLayered(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    const LONG ex = GetWindowLongW(wnd, GWL_EXSTYLE);
    if ((ex & WS_EX_LAYERED) == 0)
        SetWindowLongW(wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = kWidth;
    bmi.bmiHeader.biHeight = -kHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bitmap);
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < kWidth * kHeight; ++i)
        px[i] = 0xFFFFFFFF;
    RECT rc{};
    GetWindowRect(wnd, &rc);
    POINT dest{rc.left, rc.top};
    POINT src{0, 0};
    SIZE size{kWidth, kHeight};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(wnd, dc, &dest, &size, mem, &src, 0, &blend, ULW_ALPHA);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    EndPaint(wnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        const LONG style = GetWindowLongW(wnd, GWL_STYLE);
        SetWindowLongW(wnd, GWL_STYLE, (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        SetWindowPos(wnd, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        g_shadow = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW, L"BenchShadow", nullptr,
                                   WS_POPUP, 0, 0, 0, 0, wnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        return 0;
    }
    case WM_NCCALCSIZE:
        return 0; // the whole window is client area, as in the skinned window
    case WM_PAINT:
        PaintLayered(wnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    InitCommonControls();

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BenchSteps";
    RegisterClassW(&wc);
    WNDCLASSW shadow{};
    shadow.lpfnWndProc = DefWindowProcW;
    shadow.hInstance = instance;
    shadow.lpszClassName = L"BenchShadow";
    RegisterClassW(&shadow);

    HWND wnd = CreateWindowExW(WS_EX_WINDOWEDGE, wc.lpszClassName, L"Tessaly",
                               WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int big = GetSystemMetrics(SM_CXICON);
    SendMessageW(wnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, big, big, 0)));
    SendMessageW(wnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, cx, cx, 0)));
    SetWindowPos(wnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Gdiplus::GdiplusShutdown(token);
    CoUninitialize();
    return 0;
}

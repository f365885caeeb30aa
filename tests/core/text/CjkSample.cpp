// A small window with a Chinese label and buttons drawn by the framework, shown for a few seconds
// so a screenshot can be taken under Xvfb.
#include <windows.h>

#include <cstdlib>

#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "layout/VerticalLayoutUI.h"
#include "manager/PaintManagerUI.h"

using namespace ZvUI;

namespace {

CPaintManagerUI* g_pm = nullptr;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (msg == WM_TIMER) {
        ::DestroyWindow(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    if (g_pm != nullptr && g_pm->HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int)
{
    CPaintManagerUI::SetInstance(instance);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ZvCjkSample";
    ::RegisterClassExW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Velmora", WS_POPUP, 40, 40, 360, 200, nullptr,
                                  nullptr, instance, nullptr);
    CPaintManagerUI pm;
    g_pm = &pm;
    pm.AttachWindow(hwnd);
    pm.AddFont(0, L"微软雅黑", 18, false, false, false);
    pm.AddFont(1, L"宋体", 14, false, false, false);

    auto* root = new CVerticalLayoutUI;
    root->SetBkColor(0xFFF4F8FF);
    root->SetInset(20, 16, 20, 16);
    root->SetChildPadding(10);
    auto* title = new CLabelUI;
    title->SetAttribute(L"font", L"0");
    title->SetAttribute(L"textcolor", L"#FF1F2D3D");
    title->SetText(L"欢迎使用 Velmora PDF 编辑器");
    title->SetFixedHeight(32);
    auto* note = new CLabelUI;
    note->SetAttribute(L"font", L"1");
    note->SetAttribute(L"textcolor", L"#FF606A78");
    note->SetShowHtml(true);
    note->SetText(L"我已阅读并同意<c #FF2C7CCA>《用户协议》</c>");
    note->SetFixedHeight(24);
    auto* install = new CButtonUI;
    install->SetAttribute(L"font", L"0");
    install->SetAttribute(L"bkcolor", L"#FF2C7CCA");
    install->SetAttribute(L"textcolor", L"#FFFFFFFF");
    install->SetText(L"立即安装");
    install->SetFixedHeight(44);
    auto* custom = new CButtonUI;
    custom->SetAttribute(L"font", L"1");
    custom->SetAttribute(L"textcolor", L"#FF2C7CCA");
    custom->SetText(L"自定义安装");
    custom->SetFixedHeight(24);
    root->Add(title);
    root->Add(note);
    root->Add(install);
    root->Add(custom);
    pm.SetRootControl(root);

    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    const int seconds = cmdLine != nullptr && cmdLine[0] != L'\0' ? _wtoi(cmdLine) : 6;
    ::SetTimer(hwnd, 1, static_cast<UINT>(seconds > 0 ? seconds : 6) * 1000, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    g_pm = nullptr;
    return 0;
}

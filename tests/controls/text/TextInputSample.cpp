// A window with every text-input control, filled and focused, shown for a few seconds so
// screenshots can be taken under Xvfb at any DPI; not a test.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>

#include "control/LabelUI.h"
#include "datetime/DateTimeUI.h"
#include "edit/EditUI.h"
#include "edit/IPAddressExUI.h"
#include "ipaddress/IPAddressUI.h"
#include "layout/VerticalLayoutUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "richedit/RichEditUI.h"

using namespace ZvUI;

namespace {

CPaintManagerUI* g_pm = nullptr;

// What the sample does after it shows: which input is being edited, and what happens to it.
struct Scene {
    CControlUI* target = nullptr;
    CControlUI* other = nullptr;
    CVerticalLayoutUI* root = nullptr;
    bool move = false;
    bool reopen = false;
    int dpiChange = 0;
};
Scene g_scene;

constexpr UINT_PTR kStepTimer = 2;
constexpr UINT_PTR kReopenTimer = 3;

// A move is a relayout (the root's inset grows); a DPI change is a live one of the manager.
void Step()
{
    if (g_scene.move) {
        // The IP input keeps its window hidden between edits: leave it, move, come back.
        if (g_scene.reopen)
            g_pm->SetFocus(g_scene.other);
        g_scene.root->SetInset(56, 52, 16, 12);
    }
    if (g_scene.dpiChange != 0)
        g_pm->ApplyDpi(g_scene.dpiChange);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (msg == WM_TIMER && wParam == 1) {
        ::DestroyWindow(hwnd);
        return 0;
    }
    if (msg == WM_TIMER && wParam == kStepTimer) {
        ::KillTimer(hwnd, kStepTimer);
        Step();
        if (g_scene.reopen)
            ::SetTimer(hwnd, kReopenTimer, 500, nullptr);
        return 0;
    }
    if (msg == WM_TIMER && wParam == kReopenTimer) {
        ::KillTimer(hwnd, kReopenTimer);
        g_pm->SetFocus(g_scene.target);
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

template <class T>
T* Row(CVerticalLayoutUI* root, T* control, int height, LPCWSTR attributes)
{
    control->ApplyAttributeList(attributes);
    control->SetFixedHeight(height);
    root->Add(control);
    return control;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int)
{
    CPaintManagerUI::SetInstance(instance);
    // Aware of the screen's DPI, so the system does not stretch a 96-dpi picture.
    ::SetProcessDPIAware();
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    // "seconds dpi input step" on the command line: a second number overrides the screen's DPI;
    // input is edit, ip or datetime (the one being edited, edit by default); step is move or dpi
    // (a relayout, or a live change to 192 dpi, or to 96 from any other, 1.5 s after showing).
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv != nullptr && argc > 2 && _wtoi(argv[2]) >= 96)
        dpi = _wtoi(argv[2]);
    const CUIString input = argv != nullptr && argc > 3 ? argv[3] : L"edit";
    const CUIString step = argv != nullptr && argc > 4 ? argv[4] : L"";
    ::LocalFree(argv);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ZvTextInputSample";
    ::RegisterClassExW(&wc);
    // Every new manager takes the process DPI; the window is made at that scale.
    CPaintManagerUI::SetGlobalDpi(dpi);
    const int width = ::MulDiv(420, dpi, 96);
    const int height = ::MulDiv(420, dpi, 96);
    // Clipping its children as the framework's skinned windows do, so a relayout does not paint over
    // the native input windows.
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Velmora", WS_POPUP | WS_CLIPCHILDREN, 20, 20, width, height,
                                  nullptr, nullptr, instance, nullptr);
    CPaintManagerUI pm;
    g_pm = &pm;
    pm.AttachWindow(hwnd);
    pm.SetDefaultFont(L"微软雅黑", 14, false, false, false);

    auto* root = new CVerticalLayoutUI;
    root->SetBkColor(0xFFF4F8FF);
    root->SetInset(16, 12, 16, 12);
    root->SetChildPadding(8);
    CUIString title;
    title.Format(L"文本输入 / Text input, %d dpi", dpi);
    Row(root, new CLabelUI, 22, L"textcolor=\"#FF1F2D3D\"")->SetText(title);
    auto* edit = Row(root, new CEditUI, 30,
                     L"tipvalue=\"请输入安装路径\" bordercolor=\"#FFB0B8C4\" bordersize=\"1\"");
    Row(root, new CEditUI, 30, L"tipvalue=\"密码\" password=\"true\" bordercolor=\"#FFB0B8C4\" bordersize=\"1\"")
        ->SetText(L"secret");
    Row(root, new CEditUI, 30, L"tipvalue=\"留空时显示提示 (hint)\" bordercolor=\"#FFB0B8C4\" bordersize=\"1\"");
    auto* rich = Row(root, new CRichEditUI, 110,
                     L"vscrollbar=\"true\" autovscroll=\"true\" bkcolor=\"#FFFFFFFF\" bordercolor=\"#FFB0B8C4\" "
                     L"bordersize=\"1\" textpadding=\"4,4,4,4\" rich=\"false\"");
    auto* dateTime =
        Row(root, new CDateTimeUI, 28, L"bordercolor=\"#FFB0B8C4\" bordersize=\"1\" textpadding=\"4,0,4,0\"");
    auto* ip = Row(root, new CIPAddressUI, 28, L"bordercolor=\"#FFB0B8C4\" bordersize=\"1\" textpadding=\"4,0,4,0\"");
    auto* ipEx = Row(root, new CIPAddressExUI, 28, L"bordercolor=\"#FFB0B8C4\" bordersize=\"1\"");
    pm.SetRootControl(root);

    CUIString text;
    for (int i = 1; i <= 40; ++i) {
        CUIString line;
        line.Format(L"第 %d 行：Velmora PDF 编辑器 line %d\r", i, i);
        text += line;
    }
    rich->SetText(text);
    rich->HomeUp();
    ipEx->SetIP(L"192.168.10.1");

    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd);
    g_scene.root = root;
    g_scene.other = ipEx;
    g_scene.target = edit;
    if (input == L"ip")
        g_scene.target = ip;
    else if (input == L"datetime")
        g_scene.target = dateTime;
    g_scene.move = step == L"move";
    g_scene.reopen = g_scene.move && g_scene.target == ip;
    if (step == L"dpi")
        g_scene.dpiChange = dpi == 192 ? 96 : 192;
    // The chosen input is being edited: its native window shows over it; the first edit gets
    // typed text.
    pm.SetFocus(g_scene.target);
    if (g_scene.target == edit) {
        for (const wchar_t* p = L"C:\\Program Files\\Velmora 安装"; *p != L'\0'; ++p)
            ::PostMessageW(edit->GetNativeWindow(), WM_CHAR, *p, 1);
    }
    if (g_scene.move || g_scene.dpiChange != 0)
        ::SetTimer(hwnd, kStepTimer, 1500, nullptr);
    const int seconds = cmdLine != nullptr && cmdLine[0] != L'\0' ? _wtoi(cmdLine) : 6;
    ::SetTimer(hwnd, 1, static_cast<UINT>(seconds > 0 ? seconds : 6) * 1000, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CPaintManagerUI::PreTranslate(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    g_pm = nullptr;
    return 0;
}

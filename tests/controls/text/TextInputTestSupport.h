#pragma once
// Test helper: a shown top-level window with a paint manager, floating controls placed by
// rectangle, a message pump that runs the framework's preview, and a notification log.

#include <windows.h>
#include <intrin.h>

#include <string>
#include <vector>

#include "layout/ContainerUI.h"
#include "manager/PaintManagerUI.h"

#include "HostWindowSupport.h"

namespace texttest {

struct NotifyLog : ZvUI::INotifyUI {
    void Notify(ZvUI::UINotifyMessage& msg) override { types.push_back(msg.type.GetData()); senders.push_back(msg.sender); }
    int Count(LPCWSTR type, ZvUI::CControlUI* sender = nullptr) const
    {
        int n = 0;
        for (size_t i = 0; i < types.size(); ++i)
            n += types[i] == type && (sender == nullptr || senders[i] == sender) ? 1 : 0;
        return n;
    }
    void Clear()
    {
        types.clear();
        senders.clear();
    }
    std::vector<std::wstring> types;
    std::vector<ZvUI::CControlUI*> senders;
};

class HostWindow {
public:
    explicit HostWindow(int width = 420, int height = 300, DWORD exStyle = 0)
    {
        static const ATOM atom = Register();
        (void)atom;
        m_hwnd = ::CreateWindowExW(exStyle, L"ZvTextInputTestWindow", L"text input", WS_POPUP, 40, 40, width, height,
                                   nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pm));
        pm.AttachWindow(m_hwnd);
        root = new ZvUI::CContainerUI;
        pm.SetRootControl(root);
        pm.AddNotifyListener(&log);
        ::ShowWindow(m_hwnd, SW_SHOWNORMAL);
        ::SetForegroundWindow(m_hwnd);
        ::SetFocus(m_hwnd);
        // The first paint moves the focus to the first tab stop; let it pass while there is none.
        Settle();
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow()
    {
        pm.RemoveNotifyListener(&log);
        ::DestroyWindow(m_hwnd);
        Pump();
    }

    HWND Get() const { return m_hwnd; }

    // The root takes ownership of control, which floats at rc.
    template <class T>
    T* Add(T* control, RECT rc)
    {
        control->SetFloat(true);
        wchar_t pos[64] = {};
        swprintf(pos, 64, L"%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
        control->SetAttribute(L"pos", pos);
        root->Add(control);
        Settle();
        return control;
    }

    // As Add, with attributes set first, in order.
    template <class T>
    T* Add(T* control, RECT rc, std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes)
    {
        for (const auto& a : attributes)
            control->SetAttribute(a.first, a.second);
        return Add(control, rc);
    }

    // The client area as WM_PRINTCLIENT paints it (no caret, no child windows), as COLORREFs.
    std::vector<COLORREF> Print() const
    {
        RECT client = {};
        ::GetClientRect(m_hwnd, &client);
        const int width = client.right;
        const int height = client.bottom;
        HDC screen = ::GetDC(m_hwnd);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(m_hwnd, screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ::SendMessageW(m_hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        ::SelectObject(dc, old);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
        ::GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        // DIB bytes are B, G, R: swap into COLORREF order.
        for (COLORREF& p : pixels)
            p = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        m_printWidth = width;
        return pixels;
    }
    int PrintWidth() const { return m_printWidth; }

    // Lays out and paints now, so the manager's first-paint focus move is over before a test acts.
    void Settle()
    {
        Pump();
        ::InvalidateRect(m_hwnd, nullptr, FALSE);
        ::UpdateWindow(m_hwnd);
        Pump();
    }

    // Runs the queue (with the framework's keyboard preview) until it is empty.
    static void Pump(int rounds = 3, DWORD pauseMs = 5)
    {
        for (int r = 0; r < rounds; ++r) {
            MSG msg;
            for (int i = 0; i < 2000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
                if (ZvUI::CPaintManagerUI::PreTranslate(&msg))
                    continue;
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::Sleep(pauseMs);
        }
    }

    void Click(int x, int y, HWND target = nullptr)
    {
        const HWND to = target != nullptr ? target : m_hwnd;
        ::SendMessageW(to, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ::SendMessageW(to, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(to, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }

    // Key down, the character it makes, key up, as the keyboard would post them.
    static void Key(HWND target, UINT vk)
    {
        const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
        ::PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
        ::PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000);
        Pump(1);
    }
    static void Type(HWND target, const std::wstring& text)
    {
        for (wchar_t ch : text)
            ::PostMessageW(target, WM_CHAR, ch, 1);
        Pump(1);
    }
    // Holds or lets go Ctrl and Shift in the thread's key state, as GetKeyState reads it.
    static void SetModifiers(bool ctrl, bool shift)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

    ZvUI::CPaintManagerUI pm;
    ZvUI::CContainerUI* root = nullptr;
    NotifyLog log;

private:
    static ATOM Register()
    {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = host_support::ManagedWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ZvTextInputTestWindow";
        return ::RegisterClassExW(&wc);
    }

    HWND m_hwnd = nullptr;
    mutable int m_printWidth = 0;
};

namespace detail {

// Live GDI objects, counted in the process's GDI handle table (the PEB's GdiSharedHandleTable,
// 24-byte entries on 64-bit) and confirmed one by one with GetObjectType: Wine answers 0 from
// GetGuiResources.
inline DWORD CountGdiHandles()
{
#if defined(_WIN64)
    const auto* peb = reinterpret_cast<const BYTE*>(__readgsqword(0x60));
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
    if (table == nullptr)
        return 0;
    DWORD count = 0;
    for (ULONG_PTR index = 0; index < 0x10000; ++index) {
        const BYTE* entry = table + index * 24;
        if (entry[14] == 0)
            continue;
        const ULONG_PTR unique = *reinterpret_cast<const USHORT*>(entry + 12);
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index | (unique << 16))) != 0)
            ++count;
    }
    return count;
#else
    return 0;
#endif
}

inline BOOL CALLBACK CountWindow(HWND hwnd, LPARAM counter)
{
    ++*reinterpret_cast<DWORD*>(counter);
    ::EnumChildWindows(hwnd, CountWindow, counter);
    return TRUE;
}

} // namespace detail

// GDI and USER object counts of this process: GetGuiResources where it answers, else the GDI
// handle table and this thread's windows.
inline std::pair<DWORD, DWORD> GuiObjects()
{
    const HANDLE self = ::GetCurrentProcess();
    DWORD gdi = ::GetGuiResources(self, GR_GDIOBJECTS);
    DWORD user = ::GetGuiResources(self, GR_USEROBJECTS);
    if (gdi == 0)
        gdi = detail::CountGdiHandles();
    if (user == 0)
        ::EnumThreadWindows(::GetCurrentThreadId(), detail::CountWindow, reinterpret_cast<LPARAM>(&user));
    return {gdi, user};
}

} // namespace texttest

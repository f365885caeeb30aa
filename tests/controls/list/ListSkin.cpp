// Test helper: the list test skin in a real window.
#include "ListSkin.h"

#include "builder/DialogBuilder.h"
#include "list/ListTextElementUI.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;

namespace {

constexpr WORD kSkinId = 301;

const wchar_t* const kNames[] = {L"report.pdf", L"agenda.docx", L"budget.xlsx", L"photo.png", L"notes.txt",
                                 L"draft.pdf",  L"invoice.pdf", L"scan.tiff",   L"memo.docx", L"chart.png",
                                 L"letter.pdf", L"index.html"};
const wchar_t* const kTypes[] = {L"PDF", L"Word", L"Excel", L"Image", L"Text", L"PDF",
                                 L"PDF", L"Image", L"Word", L"Image", L"PDF", L"Web"};

void Pump()
{
    MSG msg;
    for (int i = 0; i < 200 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

ListSkinWindow::ListSkinWindow(int dpi, bool show)
{
    m_hwnd = ::CreateWindowExW(0, host_support::ManagedWindowClass(), L"List skin", WS_POPUP | (show ? WS_VISIBLE : 0),
                               0, 0, 560, 400, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_pm));
    m_pm.AttachWindow(m_hwnd);
    CLayoutBuilder builder;
    CControlUI* root = builder.Create(MAKEINTRESOURCEW(kSkinId), L"ZVXML", nullptr, &m_pm);
    m_pm.SetRootControl(root);
    m_pm.ApplyDpi(dpi);
    m_pm.AddNotifyListener(&log);

    textList = static_cast<CListUI*>(Find(L"textlist"));
    boxList = static_cast<CListUI*>(Find(L"boxlist"));
    tree = static_cast<CTreeViewUI*>(Find(L"tree"));
    if (textList != nullptr) {
        for (int i = 0; i < textList->GetCount(); ++i) {
            auto* row = static_cast<CListTextElementUI*>(textList->GetItemAt(i));
            CUIString size;
            size.Format(L"%d KB", (i * 37) % 100 + 1);
            row->SetText(0, kNames[i % 12]);
            row->SetText(1, size);
            row->SetText(2, kTypes[i % 12]);
        }
    }
    Update();
    log.entries.clear();
}

ListSkinWindow::~ListSkinWindow()
{
    m_pm.RemoveNotifyListener(&log);
    ::SetKeyboardState(std::vector<BYTE>(256, 0).data());
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hwnd);
}

void ListSkinWindow::Update()
{
    Pump();
    // A hidden window gets no WM_PAINT: lay the tree out as the first paint would.
    if (!::IsWindowVisible(m_hwnd) && m_pm.GetRoot() != nullptr) {
        RECT client = {};
        ::GetClientRect(m_hwnd, &client);
        m_pm.GetRoot()->SetPos(client, false);
    }
    Pump();
}

void ListSkinWindow::HoldKeys(WPARAM keys)
{
    BYTE state[256] = {};
    if ((keys & MK_CONTROL) != 0)
        state[VK_CONTROL] = 0x80;
    if ((keys & MK_SHIFT) != 0)
        state[VK_SHIFT] = 0x80;
    ::SetKeyboardState(state);
}

void ListSkinWindow::Move(POINT pt)
{
    ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

void ListSkinWindow::Click(POINT pt, WPARAM keys)
{
    HoldKeys(keys);
    Move(pt);
    ::SendMessageW(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(m_hwnd, WM_LBUTTONUP, keys, MAKELPARAM(pt.x, pt.y));
    HoldKeys(0);
    Update();
}

void ListSkinWindow::DoubleClick(POINT pt)
{
    Move(pt);
    ::SendMessageW(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(m_hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    Update();
}

void ListSkinWindow::Drag(POINT from, POINT to)
{
    Move(from);
    ::SendMessageW(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    const POINT mid = {(from.x + to.x) / 2, (from.y + to.y) / 2};
    ::SendMessageW(m_hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(mid.x, mid.y));
    ::SendMessageW(m_hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    ::SendMessageW(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Update();
}

void ListSkinWindow::Key(UINT vk, WPARAM keys)
{
    HoldKeys(keys);
    ::SendMessageW(m_hwnd, WM_KEYDOWN, vk, 1);
    ::SendMessageW(m_hwnd, WM_KEYUP, vk, 0xC0000001);
    HoldKeys(0);
    Update();
}

void ListSkinWindow::Wheel(POINT pt, int notches)
{
    POINT screen = pt;
    ::ClientToScreen(m_hwnd, &screen);
    const int step = notches < 0 ? -WHEEL_DELTA : WHEEL_DELTA;
    for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
        ::SendMessageW(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, step), MAKELPARAM(screen.x, screen.y));
    Update();
}

POINT CenterOf(const CControlUI* control)
{
    const RECT& rc = control->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

COLORREF PixelAt(HWND hwnd, int x, int y)
{
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    HDC screen = ::GetDC(hwnd);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF pixel = ::GetPixel(memory, x, y);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd, screen);
    return RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
}

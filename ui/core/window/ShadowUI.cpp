// Shadow window: host subclassing, placement, and the shadow bitmap computed from the host's
// shape or drawn from a nine-slice image.
#include "window/ShadowUI.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "manager/PaintManagerUI.h"
#include "render/UIDib.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

constexpr wchar_t kShadowClass[] = L"HaldenShadowWnd";

// Status bits.
constexpr BYTE kActive = 0x01;
constexpr BYTE kShown = 0x02;
constexpr BYTE kHostShown = 0x04;

constexpr int kMaxOffset = 35;

using UpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                              DWORD);

UpdateLayeredWindowProc UpdateLayeredWindowFunction()
{
    static const auto proc = reinterpret_cast<UpdateLayeredWindowProc>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"User32.dll"), "UpdateLayeredWindow")));
    return proc;
}

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
using RegionHandle = std::unique_ptr<std::remove_pointer_t<HRGN>, GdiObjectDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard()
    {
        if (m_old != nullptr && m_old != HGDI_ERROR)
            ::SelectObject(m_dc, m_old);
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// One row of a shape: [left, right). Far-apart sentinels keep erosion of empty rows empty.
struct Span {
    int left;
    int right;
    bool IsEmpty() const { return left >= right; }
};
constexpr Span kEmptySpan = {1 << 20, -(1 << 20)};

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

} // namespace

// --- process-wide parts ---

bool CShadowUI::RegisterShadowClass(HINSTANCE instance)
{
    static bool registered = false;
    if (registered)
        return false;
    registered = true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance != nullptr ? instance : ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(6));
    wc.lpszClassName = kShadowClass;
    ::RegisterClassExW(&wc);
    return true;
}

std::map<HWND, CShadowUI*>& CShadowUI::GetShadowMap()
{
    static std::map<HWND, CShadowUI*> shadows;
    return shadows;
}

DWORD CShadowUI::PreMultiply(DWORD color, BYTE alpha)
{
    const DWORD blue = (color & 0xFF) * alpha / 255;
    const DWORD green = ((color >> 8) & 0xFF) * alpha / 255;
    const DWORD red = ((color >> 16) & 0xFF) * alpha / 255;
    return blue | (green << 8) | (red << 16);
}

// --- life cycle ---

CShadowUI::~CShadowUI()
{
    Detach();
}

void CShadowUI::Detach()
{
    // A host that outlives its manager must not reach this object through the map again.
    if (m_hWndHost != nullptr) {
        auto& shadows = GetShadowMap();
        auto it = shadows.find(m_hWndHost);
        if (it != shadows.end() && it->second == this)
            shadows.erase(it);
        if (::IsWindow(m_hWndHost) &&
            ::GetWindowLongPtrW(m_hWndHost, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HostWindowProc))
            ::SetWindowLongPtrW(m_hWndHost, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pOldHostProc));
    }
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_hWndHost = nullptr;
    m_pOldHostProc = nullptr;
    m_Status = 0;
}

void CShadowUI::Create(CPaintManagerUI* host)
{
    if (!m_bEnabled || host == nullptr)
        return;
    HWND window = host->GetWindowHandle();
    if (window == nullptr)
        return;
    // A second root for the same window keeps the shadow it has.
    if (window == m_hWndHost && m_hWnd != nullptr && ::IsWindow(m_hWnd))
        return;
    Detach();
    m_pManager = host;
    m_hWndHost = window;
    GetShadowMap()[window] = this;

    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    HINSTANCE instance = CPaintManagerUI::GetModule();
    if (instance == nullptr)
        instance = ::GetModuleHandleW(nullptr);
    m_hWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr,
                               0x80880000 | static_cast<DWORD>(style & WS_CAPTION), CW_USEDEFAULT, 0, 0, 0, window,
                               nullptr, instance, nullptr);
    TakeHostState(window);

    m_pOldHostProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostWindowProc));
}

void CShadowUI::TakeHostState(HWND host)
{
    const LONG_PTR style = ::GetWindowLongPtrW(host, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0) {
        m_Status = kActive;
    } else if ((style & (WS_MAXIMIZE | WS_MINIMIZE)) != 0) {
        m_Status = kActive | kHostShown;
    } else {
        m_Status = kActive | kShown | kHostShown;
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        Update(host);
    }
}

void CShadowUI::SetSuspended(bool suspended)
{
    m_bSuspended = suspended;
    if (m_hWnd == nullptr)
        return;
    if (suspended) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    TakeHostState(::GetParent(m_hWnd));
}

// --- host procedure ---

void CShadowUI::Place(HWND host)
{
    RECT rcHost;
    ::GetWindowRect(host, &rcHost);
    const RECT rc = GetShadowRect(rcHost);
    ::SetWindowPos(m_hWnd, host, rc.left, rc.top, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
}

void CShadowUI::Show()
{
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
}

void CShadowUI::Hide()
{
    ::ShowWindow(m_hWnd, SW_HIDE);
}

LRESULT CALLBACK CShadowUI::HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& shadows = GetShadowMap();
    auto it = shadows.find(hwnd);
    if (it == shadows.end() || it->second == nullptr)
        return 0;
    CShadowUI* self = it->second;
    // The previous procedure may end the manager and this object with it (the final message of
    // a window that owns itself): nothing touches self after it runs.
    const WNDPROC previous = self->m_pOldHostProc;
    if (self->m_bSuspended)
        return ::CallWindowProcW(previous, hwnd, msg, wParam, lParam);

    switch (msg) {
    case WM_DESTROY:
        if (self->m_hWnd != nullptr)
            ::DestroyWindow(self->m_hWnd);
        self->m_hWnd = nullptr;
        break;
    case WM_MOVE:
        if ((self->m_Status & kShown) != 0)
            self->Place(hwnd);
        break;
    case WM_SIZE:
        if ((self->m_Status & kActive) != 0) {
            if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
                self->Hide();
                self->m_Status &= ~kShown;
            } else if ((self->m_Status & kHostShown) != 0) {
                // Growing sizes wait for the next paint, so a burst of them costs one rebuild.
                if (LOWORD(lParam) > LOWORD(self->m_WndSize) || HIWORD(lParam) > HIWORD(self->m_WndSize))
                    self->m_bUpdate = true;
                else
                    self->Update(hwnd);
                if ((self->m_Status & kShown) == 0)
                    self->Show();
                self->m_Status |= kShown;
            }
            self->m_WndSize = lParam;
        }
        break;
    case WM_PAINT:
        if (self->m_bUpdate) {
            self->Update(hwnd);
            self->m_bUpdate = false;
        }
        break;
    case WM_SHOWWINDOW:
        if ((self->m_Status & kActive) != 0) {
            if (wParam != 0 && (self->m_Status & kHostShown) == 0) {
                self->m_bUpdate = true;
                self->Show();
                self->m_Status |= kShown | kHostShown;
            } else if (wParam == 0) {
                self->Hide();
                self->m_Status &= ~(kShown | kHostShown);
            }
        }
        break;
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        if (::IsWindowEnabled(hwnd) && self->m_hWnd != nullptr)
            ::SetWindowPos(self->m_hWnd, hwnd, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE);
        break;
    case WM_WINDOWPOSCHANGED: {
        if (self->m_hWnd != nullptr)
            self->Place(hwnd);
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos != nullptr && (pos->flags & SWP_SHOWWINDOW) != 0 && (self->m_Status & kActive) != 0 &&
            (self->m_Status & kHostShown) == 0) {
            self->m_bUpdate = true;
            self->Show();
            self->m_Status |= kShown | kHostShown;
        } else if (pos != nullptr && (pos->flags & SWP_HIDEWINDOW) != 0 && (self->m_Status & kActive) != 0) {
            self->Hide();
            self->m_Status &= ~(kShown | kHostShown);
        }
        break;
    }
    case WM_NCDESTROY:
        shadows.erase(hwnd);
        self->m_hWndHost = nullptr;
        break;
    case WM_EXITSIZEMOVE:
        if ((self->m_Status & kShown) != 0)
            self->Update(hwnd);
        break;
    default:
        break;
    }
    return ::CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

// --- settings ---

void CShadowUI::UpdateIfShown()
{
    if (m_hWnd != nullptr && (m_Status & kShown) != 0)
        Update(::GetParent(m_hWnd));
}

bool CShadowUI::SetSize(int size)
{
    if (size < -kMaxOffset || size > kMaxOffset)
        return false;
    m_nSize = static_cast<signed char>(size);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetSharpness(unsigned int sharpness)
{
    if (sharpness > static_cast<unsigned int>(kMaxOffset))
        return false;
    m_nSharpness = static_cast<BYTE>(sharpness);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetDarkness(unsigned int darkness)
{
    if (darkness > 255)
        return false;
    m_nDarkness = static_cast<BYTE>(darkness);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetPosition(int x, int y)
{
    if (x < -kMaxOffset || x > kMaxOffset || y < -kMaxOffset || y > kMaxOffset)
        return false;
    m_nxOffset = static_cast<signed char>(x);
    m_nyOffset = static_cast<signed char>(y);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetColor(DWORD color)
{
    m_Color = color;
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetImage(LPCWSTR image)
{
    if (image == nullptr)
        return false;
    m_bIsImageMode = true;
    m_sShadowImage = image;
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetCorner(int left, int top, int right, int bottom)
{
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        return false;
    m_rcShadowCorner = RECT{left, top, right, bottom};
    UpdateIfShown();
    return true;
}

bool CShadowUI::CopySettingsTo(CShadowUI* other) const
{
    if (other == nullptr)
        return false;
    if (m_bIsImageMode) {
        other->SetImage(m_sShadowImage);
        other->SetCorner(m_rcShadowCorner.left, m_rcShadowCorner.top, m_rcShadowCorner.right,
                         m_rcShadowCorner.bottom);
        other->SetSize(m_nSize);
    } else {
        other->SetSize(m_nSize);
        other->SetSharpness(m_nSharpness);
        other->SetDarkness(m_nDarkness);
        other->SetColor(m_Color);
        other->SetPosition(m_nxOffset, m_nyOffset);
    }
    other->SetShadowEnabled(m_bEnabled);
    return true;
}

// --- the bitmap ---

RECT CShadowUI::GetShadowRect(const RECT& rcHost) const
{
    const int x = m_bIsImageMode ? 0 : m_nxOffset;
    const int y = m_bIsImageMode ? 0 : m_nyOffset;
    RECT rc;
    rc.left = rcHost.left + x - m_nSize;
    rc.top = rcHost.top + y - m_nSize;
    rc.right = rc.left + Width(rcHost) + 2 * m_nSize;
    rc.bottom = rc.top + Height(rcHost) + 2 * m_nSize;
    return rc;
}

void CShadowUI::Update(HWND host)
{
    if (!m_bEnabled || (m_Status & kShown) == 0 || m_hWnd == nullptr || host == nullptr)
        return;
    if (m_bIsImageMode ? m_sShadowImage.IsEmpty() : m_nSize == 0)
        return;
    RECT rcHost;
    if (!::GetWindowRect(host, &rcHost))
        return;
    const RECT rc = GetShadowRect(rcHost);
    const int width = Width(rc);
    const int height = Height(rc);
    // A negative size can swallow a small host whole.
    if (width <= 0 || height <= 0)
        return;

    BITMAPINFO bmi = Argb32Header(width, height);
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    BitmapHandle bitmap(::CreateDIBSection(dc.get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (dc == nullptr || bitmap == nullptr || bits == nullptr)
        return;
    SelectGuard select(dc.get(), bitmap.get());
    if (!DrawShadowBitmap(host, dc.get(), static_cast<DWORD*>(bits)))
        return;

    ::MoveWindow(m_hWnd, rc.left, rc.top, width, height, FALSE);
    UpdateLayeredWindowProc updateLayered = UpdateLayeredWindowFunction();
    if (updateLayered == nullptr)
        return;
    POINT ptDest = {rc.left, rc.top};
    SIZE size = {width, height};
    POINT ptSource = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    updateLayered(m_hWnd, nullptr, &ptDest, &size, dc.get(), &ptSource, 0, &blend, ULW_ALPHA);
}

bool CShadowUI::DrawShadowBitmap(HWND host, HDC dc, DWORD* bits) const
{
    RECT rcHost;
    if (host == nullptr || bits == nullptr || !::GetWindowRect(host, &rcHost))
        return false;
    const RECT rc = GetShadowRect(rcHost);
    const int width = Width(rc);
    const int height = Height(rc);
    if (width <= 0 || height <= 0)
        return false;
    if (m_bIsImageMode) {
        if (m_sShadowImage.IsEmpty() || m_pManager == nullptr)
            return false;
        const UIImageInfo* image = m_pManager->LoadImageCached(m_sShadowImage);
        if (image == nullptr || image->bitmap == nullptr)
            return false;
        ::GdiFlush();
        std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        const RECT all = {0, 0, width, height};
        const RECT source = {0, 0, image->width, image->height};
        CUIRender::DrawImage(dc, image->bitmap, all, all, source, m_rcShadowCorner, image->alpha, 255, true, false,
                             false);
        ::GdiFlush();
        return true;
    }
    if (m_nSize == 0)
        return false;
    ::GdiFlush();
    std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    BuildShadowBitmap(bits, host, rcHost);
    return true;
}

void CShadowUI::BuildShadowBitmap(DWORD* bits, HWND host, const RECT& rcHost) const
{
    const int W = Width(rcHost);
    const int H = Height(rcHost);
    const int Z = m_nSize;
    const int S = m_nSharpness;
    const int D = m_nDarkness;
    const int X = m_nxOffset;
    const int Y = m_nyOffset;
    const int Ws = W + 2 * Z;
    const int Hs = H + 2 * Z;
    if (W <= 0 || H <= 0 || Ws <= 0 || Hs <= 0)
        return;

    // The host's shape: its window region when it has one.
    RegionHandle shape(::CreateRectRgn(0, 0, W, H));
    RegionHandle windowRegion(::CreateRectRgn(0, 0, 0, 0));
    if (windowRegion != nullptr && ::GetWindowRgn(host, windowRegion.get()) != ERROR)
        shape = std::move(windowRegion);
    if (shape == nullptr)
        return;

    // Each host row's two ends; the region is asked only until both are found.
    std::vector<Span> hostSpans(static_cast<size_t>(H));
    for (int wy = 0; wy < H; ++wy) {
        int left = 0;
        while (left < W && !::PtInRegion(shape.get(), left, wy))
            ++left;
        if (left == W) {
            hostSpans[wy] = Span{W, 0};
            continue;
        }
        int right = W - 1;
        while (right > left && !::PtInRegion(shape.get(), right, wy))
            --right;
        hostSpans[wy] = Span{left, right + 1};
    }

    // Working spans with one empty guard row above and below.
    const int rows = std::max(H, H + 2 * Z);
    std::vector<Span> table(static_cast<size_t>(rows) + 2, kEmptySpan);
    const int first = Z > 0 ? Z : 0;
    for (int wy = 0; wy < H; ++wy) {
        const Span& s = hostSpans[wy];
        table[1 + first + wy] = s.IsEmpty() ? kEmptySpan : Span{s.left + Z, s.right + Z};
    }

    // Erosion: a sharper shadow than its size starts further inside the host.
    std::vector<Span> eroded(table.size(), kEmptySpan);
    for (int pass = 0; pass < S - Z; ++pass) {
        for (int i = 1; i <= rows; ++i) {
            const Span& a = table[i - 1];
            const Span& b = table[i];
            const Span& c = table[i + 1];
            Span e{std::max({a.left, b.left, c.left}) + 1, std::min({a.right, b.right, c.right}) - 1};
            eroded[i] = e.IsEmpty() ? kEmptySpan : e;
        }
        table.swap(eroded);
    }

    // The kernel: solid inside radius R, falling off linearly to the edge at K. The fall-off
    // (1 - (d - R) / (S + 1)) * D is computed as one division, so that values that are whole
    // numbers come out whole in every build instead of a hair below.
    const int K = std::max(S, Z);
    const int R = Z > S ? Z - S : 0;
    const int side = 2 * K + 1;
    std::vector<DWORD> kernel(static_cast<size_t>(side) * static_cast<size_t>(side), 0);
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const int di = i - K;
            const int dj = j - K;
            const double d = std::sqrt(static_cast<double>(di * di + dj * dj));
            int alpha = 0;
            if (d < R)
                alpha = D;
            else if (d <= K)
                alpha = static_cast<int>(((S + 1) - (d - R)) * D / (S + 1));
            else
                continue;
            alpha = std::clamp(alpha, 0, 255);
            kernel[i * side + j] = (static_cast<DWORD>(alpha) << 24) | PreMultiply(m_Color, static_cast<BYTE>(alpha));
        }
    }

    // Shadow row r is stored bottom-up; nothing outside the bitmap is ever touched.
    auto pixel = [&](int x, int r) -> DWORD& { return bits[(Hs - 1 - r) * Ws + x]; };
    const int base = std::max(-Z, 0);
    auto row = [&](int r) -> const Span& { return table[1 + base + r]; };
    auto stamp = [&](int cx, int cy) {
        for (int i = 0; i < side; ++i) {
            const int r = cy - K + i;
            if (r < 0 || r >= Hs)
                continue;
            for (int j = 0; j < side; ++j) {
                const int x = cx - K + j;
                if (x < 0 || x >= Ws)
                    continue;
                const DWORD value = kernel[i * side + j];
                DWORD& target = pixel(x, r);
                if (value > target)
                    target = value;
            }
        }
    };

    // Edges: the kernel goes only where a row sticks out beyond its neighbours.
    for (int r = K; r <= Hs - K - 1; ++r) {
        const Span& s = row(r);
        if (s.IsEmpty())
            continue;
        const Span& up = row(r - 1);
        const Span& down = row(r + 1);
        int x = s.left;
        const int leftEnd = std::min(std::max(up.left, down.left) + 1, s.right);
        for (; x < leftEnd; ++x)
            stamp(x, r);
        for (x = std::max(std::min(up.right, down.right) - 1, x); x < s.right; ++x)
            stamp(x, r);
    }

    // Interior: solid, except where the host itself covers the shadow.
    const DWORD solid = (static_cast<DWORD>(D) << 24) | PreMultiply(m_Color, static_cast<BYTE>(D));
    auto fill = [&](int from, int to, int r, DWORD value) {
        from = std::max(from, 0);
        to = std::min(to, Ws);
        for (int x = from; x < to; ++x)
            pixel(x, r) = value;
    };
    const int rowEnd = std::min(std::max(std::min(H + Z - Y, Hs), Hs - K), Hs);
    for (int r = std::max(std::min(K, std::max(Z - Y, 0)), 0); r < rowEnd; ++r) {
        const Span& s = row(r);
        const int wy = r - Z + Y;
        if (wy < 0 || wy >= H) {
            if (!s.IsEmpty())
                fill(s.left, s.right, r, solid);
            continue;
        }
        const int hostLeft = hostSpans[wy].left + Z - X;
        const int hostRight = hostSpans[wy].right + Z - X;
        if (!s.IsEmpty())
            fill(s.left, std::min(hostLeft, s.right), r, solid);
        fill(hostLeft, hostRight, r, 0);
        if (!s.IsEmpty())
            fill(std::max(hostRight, s.left), s.right, r, solid);
    }
}

} // namespace ZvUI

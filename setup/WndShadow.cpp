#include "WndShadow.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "render/UIRender.h"

namespace {

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

constexpr wchar_t kShadowClass[] = L"HaldenShadowWnd";
constexpr int kMaxSize = 20;
constexpr unsigned kMaxSharpness = 20;
constexpr unsigned kMaxDarkness = 255;

UpdateLayeredWindowFn g_updateLayeredWindow = nullptr;
HINSTANCE g_instance = nullptr;

// The parent's previous procedure lives here rather than in the object, so a parent that outlives its
// object still reaches its own procedure.
struct Subclass {
    CWndShadow* shadow = nullptr;
    WNDPROC previous = nullptr;
};
std::map<HWND, Subclass> g_parents;

// One row of an outline: columns [start, end); start >= end means the row is empty.
struct Anchor {
    int start;
    int end;
};

struct RegionHandle {
    HRGN handle;
    ~RegionHandle() { DeleteObject(handle); }
};

struct MemoryDc {
    HDC dc;
    HGDIOBJ old = nullptr;
    ~MemoryDc()
    {
        if (old != nullptr)
            SelectObject(dc, old);
        DeleteDC(dc);
    }
};

struct BitmapHandle {
    HBITMAP handle;
    ~BitmapHandle() { DeleteObject(handle); }
};

} // namespace

CWndShadow::~CWndShadow()
{
    // Nothing may keep pointing at a dead object: hand the parent back to its own procedure
    // (or, when someone subclassed it after us, leave only the forwarding) and take the shadow along.
    auto entry = g_parents.find(m_parent);
    if (entry != g_parents.end() && entry->second.shadow == this) {
        entry->second.shadow = nullptr;
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_parent, GWLP_WNDPROC)) == &CWndShadow::ParentProc) {
            SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry->second.previous));
            g_parents.erase(entry);
        }
    }
    if (m_shadow != static_cast<HWND>(INVALID_HANDLE_VALUE) && IsWindow(m_shadow))
        DestroyWindow(m_shadow);
}

bool CWndShadow::Initialize(HINSTANCE instance)
{
    if (g_updateLayeredWindow != nullptr)
        return false;
    HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
    if (user32 == nullptr)
        return false;
    g_updateLayeredWindow = reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
    if (g_updateLayeredWindow == nullptr)
        return false;

    g_instance = instance;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kShadowClass;
    RegisterClassExW(&wc);
    return true;
}

void CWndShadow::Create(HWND parent)
{
    if (g_updateLayeredWindow == nullptr)
        return;

    // A second shadow on the same parent must not subclass it again: the kept procedure would be
    // our own, and every message would loop back into it.
    Subclass& entry = g_parents[parent];
    const bool subclassed = entry.previous != nullptr;
    entry.shadow = this;
    m_parent = parent;

    m_shadow = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr,
        WS_CAPTION | WS_POPUPWINDOW, CW_USEDEFAULT, 0, 0, 0, parent, nullptr, g_instance, nullptr);

    const LONG style = GetWindowLongW(parent, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0) {
        m_status = Enabled;
    } else if ((style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0) {
        m_status = Enabled | ParentVisible;
    } else {
        m_status = Enabled | Visible | ParentVisible;
        ShowWindow(m_shadow, SW_SHOWNA);
        Update(parent);
    }

    if (!subclassed) {
        entry.previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(parent, GWLP_WNDPROC));
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWndShadow::ParentProc));
    }
}

// --- settings ---

bool CWndShadow::SetSize(int size)
{
    if (size < -kMaxSize || size > kMaxSize)
        return false;
    m_look.size = size;
    UpdateIfVisible();
    return true;
}

bool CWndShadow::SetSharpness(unsigned sharpness)
{
    if (sharpness > kMaxSharpness)
        return false;
    m_look.sharpness = sharpness;
    UpdateIfVisible();
    return true;
}

bool CWndShadow::SetDarkness(unsigned darkness)
{
    if (darkness > kMaxDarkness)
        return false;
    m_look.darkness = darkness;
    UpdateIfVisible();
    return true;
}

bool CWndShadow::SetPosition(int x, int y)
{
    if (x < -kMaxSize || x > kMaxSize || y < -kMaxSize || y > kMaxSize)
        return false;
    m_look.x = x;
    m_look.y = y;
    UpdateIfVisible();
    return true;
}

bool CWndShadow::SetColor(COLORREF color)
{
    m_look.color = color;
    UpdateIfVisible();
    return true;
}

void CWndShadow::UpdateIfVisible()
{
    if ((m_status & Visible) != 0)
        Update(GetWindow(m_shadow, GW_OWNER));
}

// --- following the parent ---

LRESULT CALLBACK CWndShadow::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto entry = g_parents.find(window);
    if (entry == g_parents.end())
        return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC previous = entry->second.previous;
    // A pending shadow is drawn after the parent has painted, so the parent's first frame
    // does not wait for it.
    if (message == WM_PAINT) {
        const LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
        entry = g_parents.find(window);
        if (entry != g_parents.end() && entry->second.shadow != nullptr)
            entry->second.shadow->OnParentMessage(window, message, wParam, lParam);
        return result;
    }
    if (entry->second.shadow != nullptr)
        entry->second.shadow->OnParentMessage(window, message, wParam, lParam);
    // Looked up again: the handling above may have sent other messages to this parent.
    if (message == WM_NCDESTROY)
        g_parents.erase(window);
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

void CWndShadow::OnParentMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOVE:
        if ((m_status & Visible) != 0) {
            RECT rc;
            GetWindowRect(parent, &rc);
            SetWindowPos(m_shadow, HWND_TOP, rc.left + m_look.x - m_look.size, rc.top + m_look.y - m_look.size, 0,
                0, SWP_NOSIZE | SWP_NOACTIVATE);
        }
        break;
    case WM_SIZE:
        if ((m_status & Enabled) == 0)
            break;
        if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
            ShowWindow(m_shadow, SW_HIDE);
            m_status &= ~Visible;
        } else if ((m_status & ParentVisible) != 0) {
            // Growing: the parent's new area is painted first, the shadow follows on WM_PAINT.
            if (LOWORD(lParam) > LOWORD(m_lastParentSize) || HIWORD(lParam) > HIWORD(m_lastParentSize))
                m_updatePending = true;
            else
                Update(parent);
            if ((m_status & Visible) == 0) {
                ShowWindow(m_shadow, SW_SHOWNA);
                m_status |= Visible;
            }
        }
        m_lastParentSize = lParam;
        break;
    case WM_PAINT:
        if (m_updatePending) {
            Update(parent);
            m_updatePending = false;
        }
        break;
    case WM_SHOWWINDOW:
        if ((m_status & Enabled) == 0)
            break;
        if (wParam == 0) {
            ShowWindow(m_shadow, SW_HIDE);
            m_status &= ~(Visible | ParentVisible);
        } else if ((m_status & ParentVisible) == 0) {
            m_updatePending = true;
            ShowWindow(m_shadow, SW_SHOWNA);
            m_status |= Visible | ParentVisible;
        }
        break;
    case WM_EXITSIZEMOVE:
        if ((m_status & Visible) != 0)
            Update(parent);
        break;
    case WM_DESTROY:
        DestroyWindow(m_shadow);
        m_shadow = static_cast<HWND>(INVALID_HANDLE_VALUE);
        break;
    default:
        break;
    }
}

// --- drawing ---

void CWndShadow::Update(HWND parent)
{
    RECT rc;
    if (!GetWindowRect(parent, &rc))
        return;
    const int width = rc.right - rc.left + 2 * m_look.size;
    const int height = rc.bottom - rc.top + 2 * m_look.size;
    // A negative size can leave nothing to draw; a negative height would even ask for a top-down bitmap.
    if (width <= 0 || height <= 0)
        return;

    // A positive height: rows bottom-up, as the anchors are laid out.
    BYTE* bits = nullptr;
    BitmapHandle bitmap{ZvUI::CUIRender::CreateARGB32Bitmap(nullptr, width, height, &bits)};
    if (bitmap.handle == nullptr || bits == nullptr)
        return;
    auto* pixels = reinterpret_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + static_cast<size_t>(width) * height, 0u);

    {
        RegionHandle region{CreateRectRgn(0, 0, 0, 0)};
        GetWindowRgn(parent, region.handle);
        MakeShadow(pixels, region.handle, rc.right - rc.left, rc.bottom - rc.top, m_look);
    }

    HDC screen = GetDC(nullptr);
    MemoryDc memory{CreateCompatibleDC(screen)};
    ReleaseDC(nullptr, screen);
    if (memory.dc == nullptr)
        return;
    memory.old = SelectObject(memory.dc, bitmap.handle);

    POINT destination{rc.left + m_look.x - m_look.size, rc.top + m_look.y - m_look.size};
    MoveWindow(m_shadow, destination.x, destination.y, width, height, FALSE);
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    g_updateLayeredWindow(m_shadow, nullptr, &destination, &size, memory.dc, &source, 0, &blend, ULW_ALPHA);
}

std::uint32_t CWndShadow::PreMultiply(COLORREF color, unsigned alpha)
{
    const std::uint32_t red = GetRValue(color) * alpha / 255;
    const std::uint32_t green = GetGValue(color) * alpha / 255;
    const std::uint32_t blue = GetBValue(color) * alpha / 255;
    return (red << 16) | (green << 8) | blue;
}

bool CWndShadow::MakeShadow(std::uint32_t* pixels, HRGN region, int width, int height, const Look& look)
{
    const int s = look.size;
    const int p = static_cast<int>(look.sharpness);
    const int shadowWidth = width + 2 * s;
    const int shadowHeight = height + 2 * s;
    if (width <= 0 || height <= 0 || shadowWidth <= 0 || shadowHeight <= 0)
        return false;

    // The outline, row by row, in shadow columns; the size's margin and one more row on each end
    // stay empty so that erosion and the stamping below always have neighbours to look at.
    const int rows = std::max(height + 2 * s, height);
    const Anchor empty{width, 0};
    std::vector<Anchor> anchors(rows + 2, empty);
    std::vector<Anchor> parentRows(height, empty);
    const int firstRow = 1 + std::max(s, 0);
    for (int y = 0; y < height; ++y) {
        int x0 = 0;
        while (x0 < width && !PtInRegion(region, x0, y))
            ++x0;
        if (x0 == width)
            continue;
        int x1 = width - 1;
        while (x1 > x0 && !PtInRegion(region, x1, y))
            --x1;
        anchors[firstRow + y] = {x0 + s, x1 + 1 + s};
        parentRows[y] = {x0, x1 + 1};
    }

    // Shrink the outline by the part of the soft edge that lies inside it.
    std::vector<Anchor> eroded(rows + 2, empty);
    for (int step = 0; step < p - s; ++step) {
        for (int j = 1; j <= rows; ++j) {
            eroded[j].start = std::max({anchors[j - 1].start, anchors[j].start, anchors[j + 1].start}) + 1;
            eroded[j].end = std::min({anchors[j - 1].end, anchors[j].end, anchors[j + 1].end}) - 1;
        }
        anchors.swap(eroded);
    }

    const int k = std::max(p, s);
    const int solidRadius = s > p ? s - p : 0;
    const unsigned darkness = look.darkness;
    const std::uint32_t full = (darkness << 24) | PreMultiply(look.color, darkness);
    const int side = 2 * k + 1;
    std::vector<std::uint32_t> kernel(static_cast<size_t>(side) * side, 0);
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const double d = std::sqrt(static_cast<double>((i - k) * (i - k) + (j - k) * (j - k)));
            std::uint32_t& cell = kernel[static_cast<size_t>(i) * side + j];
            if (d < solidRadius) {
                cell = full;
            } else if (d <= k) {
                // One division: whole-number values stay whole in every build.
                const auto alpha = static_cast<unsigned>(((p + 1) - (d - solidRadius)) * darkness / (p + 1));
                cell = (alpha << 24) | PreMultiply(look.color, alpha);
            }
        }
    }

    // Bitmap row r (0 at the top) is memory row shadowHeight - 1 - r.
    const Anchor* rowAnchor = anchors.data() + 1 + std::max(-s, 0);
    auto row = [&](int r) { return pixels + static_cast<size_t>(shadowHeight - 1 - r) * shadowWidth; };
    auto clampColumn = [&](int x) { return std::clamp(x, 0, shadowWidth); };

    auto stamp = [&](int r, int x) {
        const int top = std::max(r - k, 0);
        const int bottom = std::min(r + k, shadowHeight - 1);
        const int left = std::max(x - k, 0);
        const int right = std::min(x + k, shadowWidth - 1);
        for (int y = top; y <= bottom; ++y) {
            std::uint32_t* line = row(y);
            const std::uint32_t* cells = kernel.data() + static_cast<size_t>(y - r + k) * side;
            for (int c = left; c <= right; ++c)
                line[c] = std::max(line[c], cells[c - x + k]);
        }
    };

    // The soft edge: stamp the kernel only along the runs of each row that touch the outside.
    for (int r = k; r < shadowHeight - k; ++r) {
        const Anchor& here = rowAnchor[r];
        if (here.start >= here.end)
            continue;
        const Anchor& above = rowAnchor[r - 1];
        const Anchor& below = rowAnchor[r + 1];
        const int leftLimit = std::min(std::max(above.start, below.start) + 1, here.end);
        int x = here.start;
        for (; x < leftLimit; ++x)
            stamp(r, x);
        for (x = std::max(std::min(above.end, below.end) - 1, x); x < here.end; ++x)
            stamp(r, x);
    }

    // The solid band inside the soft edge, and the parent's own pixels cut out.
    auto fill = [&](int r, int from, int to, std::uint32_t value) {
        from = clampColumn(from);
        to = clampColumn(to);
        if (from < to)
            std::fill(row(r) + from, row(r) + to, value);
    };
    const int shift = s - look.x;
    const int firstFilled = std::min(k, std::max(s - look.y, 0));
    const int lastFilled = std::max(shadowHeight - k, std::min(s + height - look.y, shadowHeight));
    for (int r = std::max(firstFilled, 0); r < std::min(lastFilled, shadowHeight); ++r) {
        const Anchor& here = rowAnchor[r];
        const int parentRow = r - s + look.y;
        if (parentRow < 0 || parentRow >= height) {
            fill(r, here.start, here.end, full);
            continue;
        }
        const Anchor& o = parentRows[parentRow];
        fill(r, here.start, std::min(o.start + shift, here.end), full);
        fill(r, o.start + shift, o.end + shift, 0);
        fill(r, std::max(o.end + shift, here.start), here.end, full);
    }
    return true;
}

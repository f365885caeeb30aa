#include "ShadowReference.h"
#include "WndShadow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kParentClass[] = L"ShadowTestParent";

// The shadow has a caption, so Wine treats it as a window-manager window and, with no manager on
// the test display, waits two seconds for every hide. This program alone runs unmanaged; the key
// must exist before the first window loads the display driver.
struct UnmanagedDisplay {
    UnmanagedDisplay()
    {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        const wchar_t* name = wcsrchr(path, L'\\');
        std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + (name ? name + 1 : path) + L"\\X11 Driver";
        HKEY handle = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr)
            == ERROR_SUCCESS) {
            RegSetValueExW(handle, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
            RegCloseKey(handle);
        }
    }
} g_unmanagedDisplay;

LRESULT CALLBACK ParentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterParentClass()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = kParentClass;
    RegisterClassW(&wc);
}

// A frameless parent with a rectangular window region, like the skinned windows give themselves.
HWND MakeParent(bool visible, int x = 100, int y = 100, int width = 200, int height = 150)
{
    RegisterParentClass();
    HWND parent = CreateWindowExW(0, kParentClass, L"parent", WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, width,
        height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowRgn(parent, CreateRectRgn(0, 0, width, height), TRUE);
    return parent;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

RECT WindowRect(HWND window)
{
    RECT rc{};
    GetWindowRect(window, &rc);
    return rc;
}

::testing::AssertionResult RectIs(HWND window, int left, int top, int right, int bottom)
{
    const RECT rc = WindowRect(window);
    if (rc.left == left && rc.top == top && rc.right == right && rc.bottom == bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rect (" << rc.left << "," << rc.top << "," << rc.right << ","
                                         << rc.bottom << "), expected (" << left << "," << top << "," << right
                                         << "," << bottom << ")";
}

// --- reading back what reaches UpdateLayeredWindow ---

// The layered content cannot be read back from the screen without a compositor, so the test
// diverts user32's UpdateLayeredWindow to a recorder for the duration of the window tests.
struct LayeredCall {
    HWND window = nullptr;
    POINT destination{};
    SIZE size{};
    POINT source{};
    BLENDFUNCTION blend{};
    DWORD flags = 0;
    std::vector<std::uint32_t> pixels; // top-down
};

std::vector<LayeredCall> g_calls;

BOOL WINAPI RecordLayeredUpdate(HWND window, HDC, POINT* destination, SIZE* size, HDC source, POINT* sourcePoint,
    COLORREF, BLENDFUNCTION* blend, DWORD flags)
{
    LayeredCall call;
    call.window = window;
    call.destination = *destination;
    call.size = *size;
    call.source = *sourcePoint;
    call.blend = *blend;
    call.flags = flags;
    DIBSECTION dib{};
    HGDIOBJ bitmap = GetCurrentObject(source, OBJ_BITMAP);
    if (GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib) && dib.dsBm.bmBits != nullptr
        && dib.dsBm.bmBitsPixel == 32 && dib.dsBmih.biHeight > 0)
        call.pixels = shadowtest::TopDown(static_cast<const std::uint32_t*>(dib.dsBm.bmBits), dib.dsBm.bmWidth,
            dib.dsBm.bmHeight);
    g_calls.push_back(call);
    return TRUE;
}

class LayeredUpdateRecorder {
public:
    void Install()
    {
        m_target = reinterpret_cast<unsigned char*>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow")));
        ASSERT_NE(nullptr, m_target);
        DWORD old = 0;
        ASSERT_TRUE(VirtualProtect(m_target, sizeof(m_saved), PAGE_EXECUTE_READWRITE, &old));
        std::memcpy(m_saved, m_target, sizeof(m_saved));
        const auto recorder = reinterpret_cast<std::uintptr_t>(&RecordLayeredUpdate);
#ifdef _WIN64
        // jmp [rip + 0] with the recorder's address behind it: user32 and the test program can lie
        // more than 2 GB apart, out of reach of a relative jump.
        const unsigned char jump[6] = {0xFF, 0x25, 0, 0, 0, 0};
        std::memcpy(m_target, jump, sizeof(jump));
        std::memcpy(m_target + sizeof(jump), &recorder, sizeof(recorder));
#else
        // jmp rel32 to the recorder.
        const auto jump = static_cast<std::uint32_t>(recorder - reinterpret_cast<std::uintptr_t>(m_target + 5));
        m_target[0] = 0xE9;
        std::memcpy(m_target + 1, &jump, 4);
#endif
        FlushInstructionCache(GetCurrentProcess(), m_target, sizeof(m_saved));
    }

    void Remove()
    {
        if (m_target == nullptr)
            return;
        std::memcpy(m_target, m_saved, sizeof(m_saved));
        FlushInstructionCache(GetCurrentProcess(), m_target, sizeof(m_saved));
        m_target = nullptr;
    }

private:
    unsigned char* m_target = nullptr;
#ifdef _WIN64
    unsigned char m_saved[14]{};
#else
    unsigned char m_saved[5]{};
#endif
};

LayeredUpdateRecorder g_recorder;

class ShadowWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { g_recorder.Install(); }
    static void TearDownTestSuite() { g_recorder.Remove(); }

    void SetUp() override
    {
        CWndShadow::Initialize(GetModuleHandleW(nullptr));
        g_calls.clear();
    }

    void TearDown() override
    {
        if (m_parent != nullptr && IsWindow(m_parent))
            DestroyWindow(m_parent);
        Pump();
    }

    // Makes parent the test's parent window and attaches shadow to it; returns the shadow window.
    HWND Attach(CWndShadow& shadow, HWND parent)
    {
        m_parent = parent;
        shadow.Create(m_parent);
        return shadow.GetShadowWindow();
    }

    // Attaches a shadow with the main frame's look to a new visible parent.
    void AttachMainFrameLook(CWndShadow& shadow)
    {
        Attach(shadow, MakeParent(true));
        EXPECT_TRUE(shadow.SetSize(8));
        EXPECT_TRUE(shadow.SetColor(0x646464));
        EXPECT_TRUE(shadow.SetDarkness(24));
        EXPECT_TRUE(shadow.SetSharpness(10));
        EXPECT_TRUE(shadow.SetPosition(0, 0));
    }

    HWND m_parent = nullptr;
};

} // namespace

// Runs before any window test initialises the class.
TEST(ShadowInitialize, CreateDoesNothingUntilInitializeSucceedsOnce)
{
    HWND parent = MakeParent(true);
    const LONG_PTR procedure = GetWindowLongPtrW(parent, GWLP_WNDPROC);
    {
        CWndShadow early;
        early.Create(parent);
        EXPECT_EQ(INVALID_HANDLE_VALUE, early.GetShadowWindow());
        EXPECT_EQ(procedure, GetWindowLongPtrW(parent, GWLP_WNDPROC));
    }
    DestroyWindow(parent);

    EXPECT_TRUE(CWndShadow::Initialize(GetModuleHandleW(nullptr)));
    EXPECT_FALSE(CWndShadow::Initialize(GetModuleHandleW(nullptr)));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"HaldenShadowWnd", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), wc.style);
}

// --- the window and its parent ---

TEST_F(ShadowWindow, IsALayeredClickThroughPopupOwnedByTheParent)
{
    CWndShadow shadow;
    HWND window = Attach(shadow, MakeParent(true));
    ASSERT_TRUE(IsWindow(window));

    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(L"HaldenShadowWnd", name);
    EXPECT_EQ(static_cast<LONG>(WS_EX_LAYERED | WS_EX_TRANSPARENT),
        GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT));
    EXPECT_NE(0, GetWindowLongW(window, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(m_parent, GetWindow(window, GW_OWNER));
    EXPECT_TRUE(IsWindowVisible(window));
    // The defaults: size 0, offset (5, 5).
    EXPECT_TRUE(RectIs(window, 105, 105, 305, 255));
}

TEST_F(ShadowWindow, PushesTheMainFrameShadowAsPerPixelAlpha)
{
    CWndShadow shadow;
    AttachMainFrameLook(shadow);
    ASSERT_FALSE(g_calls.empty());

    const LayeredCall& last = g_calls.back();
    EXPECT_EQ(shadow.GetShadowWindow(), last.window);
    EXPECT_EQ(92, last.destination.x);
    EXPECT_EQ(92, last.destination.y);
    EXPECT_EQ(216, last.size.cx);
    EXPECT_EQ(166, last.size.cy);
    EXPECT_EQ(0, last.source.x);
    EXPECT_EQ(0, last.source.y);
    EXPECT_EQ(AC_SRC_OVER, last.blend.BlendOp);
    EXPECT_EQ(255, last.blend.SourceConstantAlpha);
    EXPECT_EQ(AC_SRC_ALPHA, last.blend.AlphaFormat);
    EXPECT_EQ(static_cast<DWORD>(ULW_ALPHA), last.flags);
    EXPECT_TRUE(RectIs(shadow.GetShadowWindow(), 92, 92, 308, 258));

    CWndShadow::Look look;
    look.size = 8;
    look.sharpness = 10;
    look.darkness = 24;
    look.x = 0;
    look.y = 0;
    look.color = 0x646464;
    EXPECT_TRUE(last.pixels == shadowtest::ExpectedShadow(shadowtest::RowsOfRect(200, 150), 200, 150, look));
}

TEST_F(ShadowWindow, FollowsTheParentsMoves)
{
    CWndShadow shadow;
    Attach(shadow, MakeParent(true));
    ASSERT_TRUE(shadow.SetSize(8));
    ASSERT_TRUE(shadow.SetPosition(3, -2));
    SetWindowPos(m_parent, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(shadow.GetShadowWindow(), 295, 190, 511, 356));
}

TEST_F(ShadowWindow, HidesWhenMinimisedOrMaximisedAndReturnsOnRestore)
{
    CWndShadow shadow;
    HWND window = Attach(shadow, MakeParent(true));

    ShowWindow(m_parent, SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(window));
    g_calls.clear();
    ShowWindow(m_parent, SW_RESTORE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(g_calls.empty()) << "restoring redraws";

    ShowWindow(m_parent, SW_MAXIMIZE);
    EXPECT_FALSE(IsWindowVisible(window));
    ShowWindow(m_parent, SW_RESTORE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(RectIs(window, 105, 105, 305, 255));
}

TEST_F(ShadowWindow, HidesAndShowsWithTheParent)
{
    CWndShadow shadow;
    HWND window = Attach(shadow, MakeParent(true));

    ShowWindow(m_parent, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(window));
    ShowWindow(m_parent, SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(ShadowWindow, IsDestroyedWithTheParent)
{
    CWndShadow shadow;
    HWND window = Attach(shadow, MakeParent(true));
    ASSERT_TRUE(IsWindow(window));
    DestroyWindow(m_parent);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ShadowWindow, HiddenParentGetsItsShadowWhenShownAndPainted)
{
    CWndShadow shadow;
    HWND window = Attach(shadow, MakeParent(false));
    EXPECT_FALSE(IsWindowVisible(window));

    // Settings while hidden are kept for later and draw nothing now.
    EXPECT_TRUE(shadow.SetSize(4));
    EXPECT_TRUE(shadow.SetDarkness(60));
    EXPECT_TRUE(g_calls.empty());

    ShowWindow(m_parent, SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(window));
    UpdateWindow(m_parent);
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ(208, g_calls.back().size.cx);
    EXPECT_TRUE(RectIs(window, 101, 101, 309, 259));
    EXPECT_EQ(60u, g_calls.back().pixels[80 * 208 + 200] >> 24) << "solid right of the parent";
}

TEST_F(ShadowWindow, GrowingRedrawsOnPaintShrinkingRedrawsAtOnce)
{
    CWndShadow shadow;
    HWND window = Attach(shadow, MakeParent(true));
    UpdateWindow(m_parent);

    SetWindowPos(m_parent, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(m_parent, CreateRectRgn(0, 0, 260, 180), FALSE);
    EXPECT_TRUE(RectIs(window, 105, 105, 305, 255)) << "grown: not yet";
    InvalidateRect(m_parent, nullptr, FALSE);
    UpdateWindow(m_parent);
    EXPECT_TRUE(RectIs(window, 105, 105, 365, 285));

    SetWindowRgn(m_parent, CreateRectRgn(0, 0, 120, 90), FALSE);
    SetWindowPos(m_parent, nullptr, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(window, 105, 105, 225, 195)) << "shrunk: at once";
}

TEST_F(ShadowWindow, RejectedSettingsChangeNothing)
{
    CWndShadow shadow;
    Attach(shadow, MakeParent(true));
    ASSERT_TRUE(shadow.SetSize(6));
    g_calls.clear();

    EXPECT_FALSE(shadow.SetDarkness(256));
    EXPECT_FALSE(shadow.SetSharpness(21));
    EXPECT_FALSE(shadow.SetSize(21));
    EXPECT_FALSE(shadow.SetSize(-21));
    EXPECT_FALSE(shadow.SetPosition(21, 0));
    EXPECT_FALSE(shadow.SetPosition(0, -21));
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(SetWindowPos(m_parent, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_TRUE(RectIs(shadow.GetShadowWindow(), 99, 99, 311, 261)) << "size 6 and offset (5, 5) kept";

    EXPECT_TRUE(shadow.SetDarkness(255));
    EXPECT_TRUE(shadow.SetSharpness(20));
    EXPECT_TRUE(shadow.SetSize(-20));
    EXPECT_TRUE(shadow.SetPosition(-20, 20));
    EXPECT_TRUE(shadow.SetSize(20));
    EXPECT_EQ(5u, g_calls.size()) << "each accepted value redraws a visible shadow";
    EXPECT_TRUE(RectIs(shadow.GetShadowWindow(), 60, 100, 300, 290));
}

TEST_F(ShadowWindow, SizeThatLeavesNoPixelsKeepsTheLastShadow)
{
    CWndShadow shadow;
    Attach(shadow, MakeParent(true, 100, 100, 200, 30));
    g_calls.clear();
    EXPECT_TRUE(shadow.SetSize(-20));
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(RectIs(shadow.GetShadowWindow(), 105, 105, 305, 135));
}

TEST_F(ShadowWindow, SecondShadowOnTheSameParentTakesOverWithoutLooping)
{
    m_parent = MakeParent(true);
    auto first = std::make_unique<CWndShadow>();
    CWndShadow second;
    first->Create(m_parent);
    second.Create(m_parent);
    HWND replaced = first->GetShadowWindow();
    first.reset();
    EXPECT_FALSE(IsWindow(replaced)) << "an ended object takes its window along";
    ASSERT_TRUE(second.SetSize(2));
    SetWindowPos(m_parent, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(second.GetShadowWindow(), 153, 123, 357, 277));
    DestroyWindow(m_parent);
    EXPECT_FALSE(IsWindow(second.GetShadowWindow()));
}

TEST_F(ShadowWindow, EndedObjectHandsTheParentBack)
{
    m_parent = MakeParent(true);
    const LONG_PTR procedure = GetWindowLongPtrW(m_parent, GWLP_WNDPROC);
    HWND window = nullptr;
    {
        CWndShadow shadow;
        shadow.Create(m_parent);
        window = shadow.GetShadowWindow();
        EXPECT_NE(procedure, GetWindowLongPtrW(m_parent, GWLP_WNDPROC));
    }
    EXPECT_EQ(procedure, GetWindowLongPtrW(m_parent, GWLP_WNDPROC));
    EXPECT_FALSE(IsWindow(window));
    // The parent lives on without touching the ended object.
    EXPECT_TRUE(SetWindowPos(m_parent, nullptr, 10, 10, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE));
    ShowWindow(m_parent, SW_HIDE);
}

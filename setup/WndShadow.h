// A layered popup that draws a soft drop shadow around its parent's window region.
#pragma once

#include <windows.h>

#include <cstdint>

class CWndShadow {
public:
    // How a shadow looks: the values of the setters below.
    struct Look {
        int size = 0;
        unsigned sharpness = 5;
        unsigned darkness = 150;
        int x = 5;
        int y = 5;
        COLORREF color = 0;
    };

    CWndShadow() = default;
    virtual ~CWndShadow();
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Once per process, before any Create; false when already done or layered windows are missing.
    static bool Initialize(HINSTANCE instance);

    // Creates the shadow window for parent and follows the parent from then on.
    void Create(HWND parent);

    [[nodiscard]] bool SetSize(int size);
    [[nodiscard]] bool SetSharpness(unsigned sharpness);
    [[nodiscard]] bool SetDarkness(unsigned darkness);
    [[nodiscard]] bool SetPosition(int x, int y);
    bool SetColor(COLORREF color);

    [[nodiscard]] HWND GetShadowWindow() const { return m_shadow; }

    // Fills a cleared 32-bit bottom-up bitmap of (width + 2 size) x (height + 2 size) pixels with the
    // shadow of region (in window coordinates of a width x height window). False, with nothing
    // written, when that bitmap would have no pixels.
    static bool MakeShadow(std::uint32_t* pixels, HRGN region, int width, int height, const Look& look);

private:
    enum Status : std::uint8_t { Enabled = 1, Visible = 2, ParentVisible = 4 };

    void Update(HWND parent);
    void UpdateIfVisible();
    static std::uint32_t PreMultiply(COLORREF color, unsigned alpha);
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnParentMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_shadow = static_cast<HWND>(INVALID_HANDLE_VALUE);
    HWND m_parent = nullptr;
    std::uint8_t m_status = 0;
    Look m_look;
    LPARAM m_lastParentSize = 0;
    bool m_updatePending = false;
};

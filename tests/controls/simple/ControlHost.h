#pragma once
// Test helper: a shown host window at a chosen DPI with real input and a message pump,
// a notification log, a pixel canvas and image files written for the tests.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../../core/render/RenderCanvas.h"
#include "../../core/scroll/HostWindow.h"
#include "control/ControlUI.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace control_test {

// The core tests' host window, shown, at a chosen DPI, with the wheel besides.
class ControlHost {
public:
    // dpi other than 96 scales every control of the window (the process DPI, applied by SetRoot).
    ControlHost(int width, int height, int dpi = 96) : m_dpi(dpi), m_window(width, height)
    {
        ::ShowWindow(m_window.Handle(), SW_SHOWNOACTIVATE);
    }
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    HWND Handle() const { return m_window.Handle(); }
    ZvUI::CPaintManagerUI& Manager() { return m_window.Manager(); }
    // The manager takes ownership of root; it is laid out over rc at once.
    void SetRoot(ZvUI::CControlUI* root, RECT rc) { m_window.SetRoot(root, rc); }

    // Real mouse messages, in client coordinates.
    void Down(int x, int y) { m_window.Down(x, y); }
    void Move(int x, int y, WPARAM keys = MK_LBUTTON) { m_window.Move(x, y, keys); }
    // The system cursor goes there too, so the window's mouse tracking sees no leave.
    void Hover(int x, int y)
    {
        m_window.PlaceCursor(x, y);
        m_window.Move(x, y, 0);
    }
    void Up(int x, int y) { m_window.Up(x, y); }
    void Wheel(int x, int y, bool up)
    {
        POINT pt = {x, y};
        ::ClientToScreen(Handle(), &pt);
        ::SendMessageW(Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, up ? WHEEL_DELTA : -WHEEL_DELTA),
                       MAKELPARAM(pt.x, pt.y));
    }

    static void Pump(DWORD ms) { scroll_test::HostWindow::Pump(ms); }
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeout = 3000)
    {
        return scroll_test::HostWindow::PumpUntil(done, timeout);
    }

private:
    // The process DPI for the window's life; set before the window is made.
    class DpiScope {
    public:
        explicit DpiScope(int dpi) { ZvUI::CPaintManagerUI::SetGlobalDpi(dpi); }
        DpiScope(const DpiScope&) = delete;
        DpiScope& operator=(const DpiScope&) = delete;
        ~DpiScope() { ZvUI::CPaintManagerUI::SetGlobalDpi(96); }
    };

    DpiScope m_dpi;
    scroll_test::HostWindow m_window;
};

// Every notification of the window: its type and wParam.
class NotifyLog : public ZvUI::INotifyUI {
public:
    void Notify(ZvUI::UINotifyMessage& msg) override { entries.emplace_back(msg.type.GetData(), msg.wParam); }
    size_t Count(const wchar_t* type) const { return Params(type).size(); }
    std::vector<WPARAM> Params(const wchar_t* type) const
    {
        std::vector<WPARAM> out;
        for (const auto& e : entries) {
            if (e.first == type)
                out.push_back(e.second);
        }
        return out;
    }
    std::vector<std::pair<std::wstring, WPARAM>> entries;
};

// The core tests' DIB canvas, painted by a control at its own coordinates.
class Canvas : public RenderCanvas {
public:
    using RenderCanvas::RenderCanvas;
    void Paint(ZvUI::CControlUI& control) { (void)control.Paint(DC(), control.GetPos(), nullptr); }
};

// A file in the temporary folder, removed when the object goes.
class TempFile {
public:
    TempFile(const wchar_t* name, const std::vector<unsigned char>& bytes)
    {
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        m_path = std::wstring(folder) + name;
        FILE* f = _wfopen(m_path.c_str(), L"wb");
        if (f != nullptr) {
            fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { ::DeleteFileW(m_path.c_str()); }
    const wchar_t* Path() const { return m_path.c_str(); }

private:
    std::wstring m_path;
};

// A 32-bit BMP of one colour (0xRRGGBB).
inline std::vector<unsigned char> SolidBmp(int width, int height, DWORD rgb)
{
    const DWORD size = 54 + static_cast<DWORD>(width * height * 4);
    // File size, reserved, pixel offset, info size, width, height, one plane of 32 bits.
    const DWORD header[] = {size, 0, 54, 40, static_cast<DWORD>(width), static_cast<DWORD>(height), 0x00200001};
    std::vector<unsigned char> out(size, 0);
    std::memcpy(&out[2], header, sizeof(header));
    out[0] = 'B';
    out[1] = 'M';
    for (size_t at = 54; at < out.size(); at += 4)
        std::memcpy(&out[at], &rgb, 3);
    return out;
}

// An animated GIF of solid frames: colours[i] (0xRRGGBB, at most four) shown for delays[i]
// hundredths of a second. Without delays no graphic control blocks, so no delay property.
inline std::vector<unsigned char> SolidGif(int size, const std::vector<DWORD>& colours,
                                           const std::vector<int>& delays)
{
    std::vector<unsigned char> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&out](int v) {
        out.push_back(static_cast<unsigned char>(v & 0xFF));
        out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    };
    put16(size);
    put16(size);
    out.push_back(0xF1); // global table of 4 entries
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 4; ++i) {
        const DWORD c = i < static_cast<int>(colours.size()) ? colours[i] : 0;
        out.push_back(static_cast<unsigned char>((c >> 16) & 0xFF));
        out.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
        out.push_back(static_cast<unsigned char>(c & 0xFF));
    }
    // Loop forever.
    const unsigned char loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
                                  0x03, 0x01, 0x00, 0x00, 0x00};
    out.insert(out.end(), loop, loop + sizeof(loop));
    for (size_t frame = 0; frame < colours.size(); ++frame) {
        if (!delays.empty()) {
            const int delay = frame < delays.size() ? delays[frame] : 0;
            const unsigned char gce[] = {0x21, 0xF9, 0x04, 0x00, static_cast<unsigned char>(delay & 0xFF),
                                         static_cast<unsigned char>((delay >> 8) & 0xFF), 0x00, 0x00};
            out.insert(out.end(), gce, gce + sizeof(gce));
        }
        out.push_back(0x2C);
        put16(0);
        put16(0);
        put16(size);
        put16(size);
        out.push_back(0);
        // LZW with 3-bit codes: a clear code before every two pixels keeps the width fixed.
        out.push_back(2);
        std::vector<unsigned char> data;
        unsigned bitBuffer = 0;
        int bits = 0;
        auto emit = [&](unsigned code) {
            bitBuffer |= code << bits;
            bits += 3;
            while (bits >= 8) {
                data.push_back(static_cast<unsigned char>(bitBuffer & 0xFF));
                bitBuffer >>= 8;
                bits -= 8;
            }
        };
        const int pixels = size * size;
        for (int i = 0; i < pixels; ++i) {
            if (i % 2 == 0)
                emit(4);
            emit(static_cast<unsigned>(frame));
        }
        emit(5);
        if (bits > 0)
            data.push_back(static_cast<unsigned char>(bitBuffer & 0xFF));
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t n = data.size() - at < 255 ? data.size() - at : 255;
            out.push_back(static_cast<unsigned char>(n));
            out.insert(out.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
        }
        out.push_back(0);
    }
    out.push_back(0x3B);
    return out;
}

} // namespace control_test

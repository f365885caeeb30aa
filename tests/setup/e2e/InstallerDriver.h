// Drives a running installer from outside: its process, its top-level windows, the pixels it
// put on the screen and real mouse input. Positions are given in the skin's 96-DPI units and
// scaled by the window's own size, so the same calls work at every DPI.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

constexpr wchar_t kFrameClass[] = L"zvmainframe";
constexpr wchar_t kMsgBoxClass[] = L"zvmsgbox";
constexpr wchar_t kShadowClass[] = L"HaldenShadowWnd";
constexpr wchar_t kPickerClass[] = L"#32770";
constexpr wchar_t kCaption[] = L"Tessaly";
constexpr int kFrameWidth = 700;
constexpr int kMsgBoxWidth = 417;

// Skin positions (96 DPI) of what the tests click and look at.
struct SkinPoint {
    int x;
    int y;
};
namespace frame {
constexpr SkinPoint kInstall{350, 286};        // installBtn, page 0
constexpr SkinPoint kCustom{629, 386};         // customBtn in the bottom strip, page 0
constexpr SkinPoint kClose{674, 25};           // closebtn, closebtn2, closebtn3
constexpr SkinPoint kClosePage1{674, 23};      // closebtn1
constexpr SkinPoint kBack{40, 25};             // gobackbtn, page 1
constexpr SkinPoint kModify{576, 118};         // modifyBtn, page 1
constexpr SkinPoint kInstallPage1{350, 220};   // installBtn1, page 1
constexpr SkinPoint kProgressStart{64, 349};   // left end of installPrg, page 2
constexpr SkinPoint kPlainArea{650, 200};      // light background on pages 0 and 2, outside any box
}  // namespace frame
namespace box {
constexpr SkinPoint kOk{247, 172};
constexpr SkinPoint kCancel{351, 172};
constexpr SkinPoint kBlank{20, 20}; // plain white, above the icon
}  // namespace box

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};
// The skin's accent blue, also when dimmed or hot.
[[nodiscard]] bool IsAccent(Rgb c);
[[nodiscard]] Rgb ScreenPixel(POINT p);

// Polls cond every stepMs until it holds or timeoutMs passed; true when it held.
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs, DWORD stepMs = 10);
[[nodiscard]] double Seconds();

// One started installer; ends it on destruction when it is still running.
class CInstaller {
public:
    CInstaller() = default;
    CInstaller(const CInstaller&) = delete;
    CInstaller& operator=(const CInstaller&) = delete;
    ~CInstaller();

    bool Start(const std::wstring& exe);
    [[nodiscard]] DWORD Pid() const { return pid_; }
    [[nodiscard]] HANDLE Process() const { return process_; }
    // True and the exit code once the process ended within timeoutMs.
    bool WaitExit(DWORD timeoutMs, DWORD* code);

    // A visible top-level window of this process with the class, or null.
    [[nodiscard]] HWND Window(const wchar_t* cls) const;
    [[nodiscard]] int VisibleCount(const wchar_t* cls) const;
    [[nodiscard]] HWND WaitWindow(const wchar_t* cls, DWORD timeoutMs) const;
    bool WaitNoWindow(const wchar_t* cls, DWORD timeoutMs) const;
    // The message box once it is up and painted (its first button shows), or null.
    [[nodiscard]] HWND WaitBox(DWORD timeoutMs) const;

    // The main frame's page told by its pixels: 0 to 3, or -1 while it matches none.
    [[nodiscard]] int Page() const;
    bool WaitPage(int page, DWORD timeoutMs) const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Screen point of a skin position inside the window (scaled by its client width / skinWidth).
[[nodiscard]] POINT ToScreen(HWND wnd, int skinWidth, SkinPoint p);
[[nodiscard]] Rgb WindowPixel(HWND wnd, int skinWidth, SkinPoint p);
// Moves the pointer there and clicks the left button with real input.
void Click(POINT screen);
void ClickIn(HWND wnd, int skinWidth, SkinPoint p);
// The window's scale as a percentage (client width against the skin's width).
[[nodiscard]] int ScalePercent(HWND wnd, int skinWidth);

// Selects the folder "X:\name" in the tree of a folder picker of another process (the tree's
// items are read through memory of that process) and presses the picker's OK button.
bool ChooseInPicker(HWND picker, const std::wstring& folder);

// The data folder AppData\Roaming\Velmora and its files.
[[nodiscard]] std::wstring DataFolder();
void ClearDataFolder();
[[nodiscard]] std::wstring AppIniValue(const wchar_t* key);
[[nodiscard]] std::vector<std::wstring> FileNames(const std::wstring& folder);
[[nodiscard]] std::wstring ReadWideFile(const std::wstring& path);
[[nodiscard]] std::wstring ProgramFilesFolder();

// One request line of the loopback server's log.
struct Request {
    double time = 0;
    int port = 0;
    std::string method;
    std::string path;
};
[[nodiscard]] std::vector<Request> ServerRequests(const std::wstring& logPath);
[[nodiscard]] std::wstring Env(const wchar_t* name);

// Writes the screen area as a 24-bit BMP.
bool SaveScreenBmp(const std::wstring& path, RECT area);
// The window's rectangle grown by margin on every side, kept on the screen.
[[nodiscard]] RECT AroundWindow(HWND wnd, int margin);

}  // namespace e2e

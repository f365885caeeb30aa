#include "InstallerDriver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace e2e {

bool IsAccent(Rgb c)
{
    return c.b > 150 && c.b - c.r > 100;
}

Rgb ScreenPixel(POINT p)
{
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs, DWORD stepMs)
{
    const double end = Seconds() + timeoutMs / 1000.0;
    for (;;) {
        if (cond())
            return true;
        if (Seconds() > end)
            return false;
        Sleep(stepMs);
    }
}

CInstaller::~CInstaller()
{
    if (!process_)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool CInstaller::Start(const std::wstring& exe)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    return true;
}

bool CInstaller::WaitExit(DWORD timeoutMs, DWORD* code)
{
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(process_, code);
    return true;
}

namespace {

struct Search {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[64] = {};
    if (pid == search->pid && IsWindowVisible(wnd) && GetClassNameW(wnd, cls, 64) && lstrcmpW(cls, search->cls) == 0)
        search->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD pid, const wchar_t* cls)
{
    Search search{pid, cls, {}};
    if (pid)
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND CInstaller::Window(const wchar_t* cls) const
{
    const auto found = VisibleWindows(pid_, cls);
    return found.empty() ? nullptr : found.front();
}

int CInstaller::VisibleCount(const wchar_t* cls) const
{
    return static_cast<int>(VisibleWindows(pid_, cls).size());
}

HWND CInstaller::WaitWindow(const wchar_t* cls, DWORD timeoutMs) const
{
    HWND wnd = nullptr;
    WaitFor([&] { return (wnd = Window(cls)) != nullptr; }, timeoutMs);
    return wnd;
}

bool CInstaller::WaitNoWindow(const wchar_t* cls, DWORD timeoutMs) const
{
    return WaitFor([&] { return Window(cls) == nullptr; }, timeoutMs);
}

HWND CInstaller::WaitBox(DWORD timeoutMs) const
{
    HWND box = WaitWindow(kMsgBoxClass, timeoutMs);
    // On the start page the install button lies under the box's OK button: the box is on the
    // screen when its own white shows too, not before (a click would find no box yet).
    const auto shown = [&] {
        const Rgb blank = WindowPixel(box, kMsgBoxWidth, box::kBlank);
        return IsAccent(WindowPixel(box, kMsgBoxWidth, box::kOk)) && blank.r == 255 && blank.g == 255 &&
               blank.b == 255;
    };
    if (box && !WaitFor(shown, 5000))
        return nullptr;
    return box;
}

int CInstaller::Page() const
{
    HWND frameWnd = Window(kFrameClass);
    if (!frameWnd)
        return -1;
    // Accent-blue marks: the finish page's round badge, the install buttons of pages 1/3
    // and of page 0; the progress page has none of them.
    const bool badge = IsAccent(WindowPixel(frameWnd, kFrameWidth, {350, 80}));
    const bool middle = IsAccent(WindowPixel(frameWnd, kFrameWidth, {350, 224}));
    const bool low = IsAccent(WindowPixel(frameWnd, kFrameWidth, {350, 286}));
    if (badge && middle && !low)
        return 3;
    if (!badge && middle && !low)
        return 1;
    if (!badge && !middle && low)
        return 0;
    if (!badge && !middle && !low)
        return 2;
    return -1;
}

bool CInstaller::WaitPage(int page, DWORD timeoutMs) const
{
    return WaitFor([&] { return Page() == page; }, timeoutMs, 20);
}

int ScalePercent(HWND wnd, int skinWidth)
{
    RECT client{};
    GetClientRect(wnd, &client);
    return static_cast<int>(std::lround(client.right * 100.0 / skinWidth));
}

POINT ToScreen(HWND wnd, int skinWidth, SkinPoint p)
{
    const double scale = ScalePercent(wnd, skinWidth) / 100.0;
    POINT at{static_cast<LONG>(std::lround(p.x * scale)), static_cast<LONG>(std::lround(p.y * scale))};
    ClientToScreen(wnd, &at);
    return at;
}

Rgb WindowPixel(HWND wnd, int skinWidth, SkinPoint p)
{
    return ScreenPixel(ToScreen(wnd, skinWidth, p));
}

namespace {

void SendMouse(DWORD flags, POINT at = {})
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        const int w = GetSystemMetrics(SM_CXSCREEN);
        const int h = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = static_cast<LONG>((at.x * 65535LL + w / 2) / (w - 1));
        input.mi.dy = static_cast<LONG>((at.y * 65535LL + h / 2) / (h - 1));
    }
    SendInput(1, &input, sizeof(input));
}

}  // namespace

void Click(POINT screen)
{
    // A move first, so that the control under the pointer sees it as hot before the press.
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, {screen.x - 1, screen.y});
    Sleep(30);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(30);
}

void ClickIn(HWND wnd, int skinWidth, SkinPoint p)
{
    Click(ToScreen(wnd, skinWidth, p));
}

namespace {

// Reads and selects items of a tree view in another process through a block of its memory.
class CRemoteTree {
public:
    explicit CRemoteTree(HWND tree) : tree_(tree)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(tree, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            block_ = static_cast<BYTE*>(VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE,
                                                       PAGE_READWRITE));
    }
    ~CRemoteTree()
    {
        if (block_)
            VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    [[nodiscard]] bool Ready() const { return block_ != nullptr; }

    [[nodiscard]] std::wstring Text(HTREEITEM item) const
    {
        TVITEMW query{};
        query.mask = TVIF_TEXT | TVIF_HANDLE;
        query.hItem = item;
        query.pszText = reinterpret_cast<wchar_t*>(block_ + 512);
        query.cchTextMax = 260;
        SIZE_T done = 0;
        wchar_t text[261] = {};
        if (!WriteProcessMemory(process_, block_, &query, sizeof(query), &done) ||
            !SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block_)) ||
            !ReadProcessMemory(process_, block_ + 512, text, 260 * sizeof(wchar_t), &done))
            return {};
        return text;
    }

    [[nodiscard]] HTREEITEM Next(HTREEITEM item, UINT relation) const
    {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }

    // Depth-first search of the items filled in so far.
    [[nodiscard]] HTREEITEM Find(HTREEITEM first, const std::function<bool(const std::wstring&)>& match,
                                 int depth) const
    {
        for (HTREEITEM item = first; item && depth >= 0; item = Next(item, TVGN_NEXT)) {
            if (match(Text(item)))
                return item;
            if (HTREEITEM found = Find(Next(item, TVGN_CHILD), match, depth - 1))
                return found;
        }
        return nullptr;
    }

    void Expand(HTREEITEM item) const { SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }
    void Select(HTREEITEM item) const
    {
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }

private:
    HWND tree_;
    HANDLE process_ = nullptr;
    BYTE* block_ = nullptr;
};

}  // namespace

bool ChooseInPicker(HWND picker, const std::wstring& folder)
{
    // "X:\name": the drive's item is labelled "... (X:)", the folder's item by its name.
    if (folder.size() < 4 || folder[1] != L':' || folder.find(L'\\', 3) != std::wstring::npos)
        return false;
    const std::wstring drive = L"(" + folder.substr(0, 2) + L")";
    const std::wstring name = folder.substr(3);
    HWND treeWnd = FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
    if (!treeWnd)
        return false;
    CRemoteTree tree(treeWnd);
    if (!tree.Ready())
        return false;
    HTREEITEM root = tree.Next(nullptr, TVGN_ROOT);
    HTREEITEM driveItem =
        tree.Find(root, [&](const std::wstring& text) { return text.find(drive) != std::wstring::npos; }, 3);
    if (!driveItem)
        return false;
    tree.Expand(driveItem);
    HTREEITEM folderItem = tree.Find(
        tree.Next(driveItem, TVGN_CHILD), [&](const std::wstring& text) { return lstrcmpiW(text.c_str(), name.c_str()) == 0; },
        0);
    if (!folderItem)
        return false;
    tree.Select(folderItem);
    HWND ok = GetDlgItem(picker, IDOK);
    RECT r{};
    if (!ok || !GetWindowRect(ok, &r))
        return false;
    Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return true;
}

std::wstring DataFolder()
{
    wchar_t roaming[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming);
    return std::wstring(roaming) + L"\\Velmora";
}

std::wstring ProgramFilesFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

std::vector<std::wstring> FileNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

void ClearDataFolder()
{
    const std::wstring folder = DataFolder();
    for (const auto& name : FileNames(folder))
        DeleteFileW((folder + L"\\" + name).c_str());
}

std::wstring AppIniValue(const wchar_t* key)
{
    wchar_t value[260] = {};
    GetPrivateProfileStringW(L"Install", key, L"<missing>", value, 260, (DataFolder() + L"\\APP.ini").c_str());
    return value;
}

std::wstring ReadWideFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    text.resize(read / sizeof(wchar_t));
    return text;
}

std::vector<Request> ServerRequests(const std::wstring& logPath)
{
    std::vector<Request> requests;
    FILE* file = _wfopen(logPath.c_str(), L"r");
    if (!file)
        return requests;
    char line[1024];
    while (std::fgets(line, sizeof(line), file)) {
        std::istringstream in(line);
        Request r;
        if (in >> r.time >> r.port >> r.method >> r.path)
            requests.push_back(r);
    }
    std::fclose(file);
    return requests;
}

std::wstring Env(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? value : L"";
}

RECT AroundWindow(HWND wnd, int margin)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    r.left = std::max<LONG>(0, r.left - margin);
    r.top = std::max<LONG>(0, r.top - margin);
    r.right = std::min<LONG>(GetSystemMetrics(SM_CXSCREEN), r.right + margin);
    r.bottom = std::min<LONG>(GetSystemMetrics(SM_CYSCREEN), r.bottom + margin);
    return r;
}

bool SaveScreenBmp(const std::wstring& path, RECT area)
{
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;  // bottom-up, as the file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (w * 3 + 3) & ~3u;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + stride * h;
    bool ok = false;
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
        ok = std::fwrite(&header, sizeof(header), 1, file) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, file) == 1 &&
             std::fwrite(bits, stride, h, file) == static_cast<size_t>(h);
        std::fclose(file);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace e2e

#include "ShellFunctions.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <direct.h>

#include <memory>
#include <vector>

namespace {

constexpr wchar_t kProductName[] = L"Velmora";
constexpr size_t kMaxDirectoryPath = 259;

struct ItemListDeleter {
    void operator()(ITEMIDLIST_ABSOLUTE* items) const { CoTaskMemFree(items); }
};
using ItemListPtr = std::unique_ptr<ITEMIDLIST_ABSOLUTE, ItemListDeleter>;

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { if (dc) ReleaseDC(nullptr, dc); }
};

} // namespace

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    // Open at the current folder rather than at the root of the shell.
    if (message == BFFM_INITIALIZED)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

std::wstring GetProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path, length < MAX_PATH ? length : 0);
    const size_t slash = result.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : result.substr(0, slash);
}

std::wstring GetSpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return {};
    return path;
}

std::wstring GetDefaultInstallFolder()
{
#ifdef _WIN64
    // The product is 32-bit: the 64-bit build offers the folder the 32-bit build gets on 64-bit
    // Windows ("Program Files (x86)"), not the 64-bit programs' folder.
    return GetSpecialFolder(CSIDL_PROGRAM_FILESX86) + L"\\" + kProductName;
#else
    return GetSpecialFolder(CSIDL_PROGRAM_FILES) + L"\\" + kProductName;
#endif
}

int GetScreenDpi()
{
    ScreenDc screen;
    if (!screen.dc)
        return 96;
    const double x = GetDeviceCaps(screen.dc, LOGPIXELSX);
    const double y = GetDeviceCaps(screen.dc, LOGPIXELSY);
    return static_cast<int>((x + y) / 2);
}

bool MakeDirectoryPath(const std::wstring& path)
{
    if (path.empty() || path.size() > kMaxDirectoryPath)
        return false;
    std::wstring work = path;
    const size_t length = work.size();
    if (work.back() != L'\\' && work.back() != L'/')
        work += L'/';
    for (size_t i = 0; i <= length && i < work.size(); ++i) {
        if (work[i] != L'\\' && work[i] != L'/')
            continue;
        work[i] = L'\0';
        if (!PathFileExistsW(work.c_str()))
            _wmkdir(work.c_str()); // failures show in the final check
        work[i] = L'/';
    }
    return PathFileExistsW(path.c_str()) != FALSE;
}

HINSTANCE OpenWithShell(const std::wstring& target)
{
    return ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOW);
}

std::wstring PathFromItemList(PCIDLIST_ABSOLUTE items)
{
    if (!items)
        return {};
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(items, path))
        return {};
    return path;
}

std::wstring BrowseForFolder(HWND owner, const std::wstring& startFolder)
{
    std::vector<wchar_t> displayName(4096, L'\0');
    startFolder.copy(displayName.data(), displayName.size() - 1);

    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName.data();
    info.lpszTitle = L"请选择文件路径";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_UAHINT | BIF_BROWSEINCLUDEFILES;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const ItemListPtr chosen(SHBrowseForFolderW(&info));
    return PathFromItemList(chosen.get());
}

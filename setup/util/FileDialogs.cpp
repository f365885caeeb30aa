#include "util/FileDialogs.h"

#include "ShellFunctions.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cwchar>
#include <memory>

namespace ZVCore {

namespace {

// "所有文件\0*.*\0\0"
constexpr wchar_t kAllFiles[] = L"所有文件\0*.*\0";
constexpr wchar_t kDefaultTitle[] = L"请选择一个文件";

struct ItemListDeleter {
    void operator()(ITEMIDLIST_ABSOLUTE* items) const { CoTaskMemFree(items); }
};

std::vector<wchar_t> NameBuffer(const std::wstring& initial, size_t size)
{
    std::vector<wchar_t> buffer(size, L'\0');
    wcsncpy(buffer.data(), initial.c_str(), size - 1);
    return buffer;
}

// The fields every file dialog here fills; file is the name buffer the dialog writes into.
OPENFILENAMEW DialogFields(HWND owner, const wchar_t* filter, std::vector<wchar_t>& file, const wchar_t* title,
                           const wchar_t* startFolder, const wchar_t* defaultExtension, DWORD flags)
{
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner ? owner : GetForegroundWindow();
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title;
    ofn.lpstrInitialDir = startFolder;
    ofn.lpstrDefExt = defaultExtension;
    ofn.Flags = flags;
    return ofn;
}

} // namespace

std::wstring OpenFileDialog(const wchar_t* filter, const wchar_t* title, const std::wstring& startFolder)
{
    std::vector<wchar_t> file(520, L'\0');
    OPENFILENAMEW ofn = DialogFields(nullptr, filter ? filter : kAllFiles, file, title ? title : kDefaultTitle,
                                     startFolder.c_str(), nullptr,
                                     OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    return GetOpenFileNameW(&ofn) ? std::wstring(file.data()) : std::wstring();
}

std::wstring SaveFileDialog(const std::wstring& initialName, const wchar_t* filter, const wchar_t* title,
                            const std::wstring& startFolder)
{
    std::vector<wchar_t> file = NameBuffer(initialName, 520);
    OPENFILENAMEW ofn = DialogFields(nullptr, filter ? filter : kAllFiles, file, title ? title : kDefaultTitle,
                                     startFolder.c_str(), L"aep",
                                     OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
    return GetSaveFileNameW(&ofn) ? std::wstring(file.data()) : std::wstring();
}

std::vector<std::wstring> SplitMultiSelection(const wchar_t* buffer, size_t size)
{
    std::vector<std::wstring> pieces;
    size_t at = 0;
    while (at < size && buffer[at] != L'\0') {
        const size_t length = wcsnlen(buffer + at, size - at);
        pieces.emplace_back(buffer + at, length);
        at += length + 1;
    }
    return pieces;
}

std::wstring OpenTaskFileDialog(HWND owner, const std::wstring& initialName, const wchar_t* filter)
{
    std::vector<wchar_t> file = NameBuffer(initialName, 260);
    OPENFILENAMEW ofn = DialogFields(owner, filter, file, nullptr, L"Missions\\", L"",
                                     OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    return GetOpenFileNameW(&ofn) ? std::wstring(file.data()) : std::wstring();
}

std::vector<std::wstring> OpenTaskFilesDialog(HWND owner, const std::wstring& initialName, const wchar_t* filter)
{
    std::vector<wchar_t> file = NameBuffer(initialName, 26000);
    OPENFILENAMEW ofn = DialogFields(owner, filter, file, nullptr, L"Missions\\", L"",
                                     OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT);
    if (!GetOpenFileNameW(&ofn))
        return {};
    return SplitMultiSelection(file.data(), file.size());
}

bool BrowseFolderDialog(std::wstring& path)
{
    BROWSEINFOW info = {};
    info.hwndOwner = GetForegroundWindow();
    info.lpszTitle = L"从下面选文件夹目录:";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(path.c_str());
    const std::unique_ptr<ITEMIDLIST_ABSOLUTE, ItemListDeleter> items(SHBrowseForFolderW(&info));
    if (!items)
        return false;
    const std::wstring chosen = PathFromItemList(items.get());
    if (chosen.empty())
        return false;
    path = chosen;
    return true;
}

DWORD ChooseColorDialog(HWND owner, DWORD initial)
{
    static COLORREF customColors[16] = {};
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = RGB((initial >> 16) & 0xFF, (initial >> 8) & 0xFF, initial & 0xFF);
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choose))
        return initial;
    return 0xFF000000u | (static_cast<DWORD>(GetRValue(choose.rgbResult)) << 16) |
           (static_cast<DWORD>(GetGValue(choose.rgbResult)) << 8) | GetBValue(choose.rgbResult);
}

} // namespace ZVCore

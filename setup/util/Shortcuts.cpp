#include "util/Shortcuts.h"

#include "util/ZVLog.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>

namespace ZVCore {

namespace {

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr()
    {
        if (p)
            p->Release();
    }
};

void AnnounceFolder(const std::wstring& folder)
{
    SHChangeNotify(SHCNE_CREATE | SHCNE_INTERRUPT, SHCNF_PATHW | SHCNF_FLUSH, folder.c_str(), nullptr);
}

bool RunVerb(const wchar_t* verb, const std::wstring& file, int show)
{
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, verb, file.c_str(), nullptr, nullptr, show));
    return result > 32;
}

} // namespace

bool CreateShortcut(const std::wstring& target, const std::wstring& workingFolder, const std::wstring& description,
                    const std::wstring& iconFile, int iconIndex, const std::wstring& shortcutFile)
{
    ComPtr<IShellLinkW> link;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&link.p));
    std::wprintf(L"%ld\n", static_cast<long>(created));
    if (FAILED(created) || link.p == nullptr) {
        std::wprintf(L"ERRO 1\n");
        return false;
    }
    link.p->SetPath(target.c_str());
    link.p->SetDescription(description.c_str());
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD shortLength = GetShortPathNameW(iconFile.c_str(), shortPath, MAX_PATH);
    link.p->SetIconLocation(shortLength > 0 && shortLength < MAX_PATH ? shortPath : iconFile.c_str(), iconIndex);
    link.p->SetWorkingDirectory(workingFolder.c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) || file.p == nullptr) {
        std::wprintf(L"ERRO 2\n");
        return false;
    }
    return SUCCEEDED(file.p->Save(shortcutFile.c_str(), TRUE));
}

bool CreateShortcutFile(const std::wstring& target, const std::wstring& workingFolder,
                        const std::wstring& description, const std::wstring& iconFile, int iconIndex,
                        const std::wstring& shortcutFile)
{
    return CreateShortcut(target, workingFolder, description, iconFile, iconIndex, shortcutFile);
}

bool CreateShortcutsIn(const std::wstring& folder, const std::wstring& program, const std::wstring& uninstaller,
                       const std::wstring& workingFolder, const std::wstring& name,
                       const std::wstring& description)
{
    const std::wstring programLink = folder + L"\\" + name + L".lnk";
    const std::wstring uninstallLink = folder + L"\\卸载" + name + L".lnk";
    if (uninstallLink.size() >= MAX_PATH)
        return false;
    if (!PathIsDirectoryW(folder.c_str())) {
        CreateDirectoryW(folder.c_str(), nullptr);
        AnnounceFolder(folder);
    }
    const bool programDone = CreateShortcut(program, workingFolder, description, program, 0, programLink);
    const bool uninstallDone = CreateShortcut(uninstaller, workingFolder, description, uninstaller, 0, uninstallLink);
    AnnounceFolder(folder);
    return programDone && uninstallDone;
}

bool CreateStartMenuShortcuts(const std::wstring& program, const std::wstring& uninstaller,
                              const std::wstring& workingFolder, const std::wstring& name,
                              const std::wstring& description)
{
    wchar_t programs[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE))
        return false;
    return CreateShortcutsIn(std::wstring(programs) + L"\\" + name, program, uninstaller, workingFolder, name,
                             description);
}

bool PinToTaskbar(const std::wstring& target, const std::wstring& workingFolder, const std::wstring& description,
                  const std::wstring& name, int iconIndex)
{
    wchar_t temp[MAX_PATH] = {};
    // Without a temporary folder the link would be made and deleted in the current folder.
    const DWORD tempLength = GetTempPathW(MAX_PATH, temp);
    if (tempLength == 0 || tempLength >= MAX_PATH)
        return false;
    const std::wstring link = std::wstring(temp) + name + L".lnk";
    if (link.size() > MAX_PATH) {
        std::fwprintf(stderr, L"%ls\n", L"指定的可执行文件路径或图标名称太长！");
        return false;
    }
    const bool created = CreateShortcut(target, workingFolder, description, target, iconIndex, link);
    if (!RunVerb(L"TaskbarPin", link, SW_SHOW))
        std::fwprintf(stderr, L"%ls\n", L"无法将快捷方式固定到任务栏！");
    DeleteFileW(link.c_str());
    return created;
}

bool UnpinFromTaskbar(const std::wstring& name)
{
    wchar_t roaming[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, roaming, CSIDL_APPDATA, FALSE);
    const std::wstring link =
        std::wstring(roaming) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar\\" + name + L".lnk";
    if (link.size() > MAX_PATH) {
        std::fwprintf(stderr, L"%ls\n", L"指定的图标名称太长！");
        return false;
    }
    if (!RunVerb(L"TaskbarUnPin", link, SW_SHOW)) {
        std::fwprintf(stderr, L"%ls\n", L"无法删除指定的图标！");
        return false;
    }
    return true;
}

bool TaskbarPinVerb(const std::wstring& file)
{
    return RunVerb(L"taskbarpin", file, SW_HIDE);
}

bool TaskbarUnpinVerb(const std::wstring& file)
{
    return RunVerb(L"taskbarunpin", file, SW_HIDE);
}

std::wstring ShellExecuteErrorMessage(long long result)
{
    switch (result) {
    case 0: return L"The operating system is out of memory or resources.";
    case 2: return L"The specified file was not found.";
    case 3: return L"The specified path was not found.";
    case 5: return L"The operating system denied access to the specified file.";
    case 8: return L"There was not enough memory to complete the operation.";
    case 11: return L"The .exe file is invalid (non-Win32? .exe or error in .exe image).";
    case 26: return L"A sharing violation occurred.";
    case 27: return L"The file name association is incomplete or invalid.";
    case 28: return L"The DDE transaction could not be completed because the request timed out.";
    case 29: return L"The DDE transaction failed.";
    case 30:
        return L"The DDE transaction could not be completed because other DDE transactions were being processed.";
    case 31: return L"There is no application associated with the given file name extension.";
    case 32: return L"The specified dynamic-link library was not found.";
    default: {
        wchar_t text[64] = {};
        std::swprintf(text, 64, L"Unknow error %ld", static_cast<long>(result));
        return text;
    }
    }
}

long long ShellExecuteErrorText(long long result)
{
    if (result > 32)
        return result;
    LogFormat(L"%ls", ShellExecuteErrorMessage(result).c_str());
    return result;
}

} // namespace ZVCore

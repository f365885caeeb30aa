// Test stand-in for the full setup: records its parameters beside itself and reports itself active.
#include <windows.h>

#include <string>

int main()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder = module;
    folder.resize(folder.find_last_of(L'\\'));

    const std::wstring commandLine = GetCommandLineW();
    HANDLE file = CreateFileW((folder + L"\\handoff-args.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, commandLine.data(), static_cast<DWORD>(commandLine.size() * sizeof(wchar_t)), &written,
                  nullptr);
        CloseHandle(file);
    }
    WritePrivateProfileStringW(L"Install", L"active", L"1", (folder + L"\\APP.ini").c_str());
    return 0;
}

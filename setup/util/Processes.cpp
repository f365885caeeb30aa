#include "util/Processes.h"

#include <tlhelp32.h>

namespace ZVCore {

namespace {

struct Handle {
    HANDLE h;
    ~Handle()
    {
        if (h != nullptr && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

// Calls visit for every process of the snapshot after its first entry; false without a snapshot.
template <class Visit>
bool ForEachProcess(Visit visit)
{
    const Handle snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
    if (snapshot.h == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    if (!Process32FirstW(snapshot.h, &entry))
        return false;
    while (Process32NextW(snapshot.h, &entry)) {
        if (!visit(entry))
            break;
    }
    return true;
}

bool ExitWithPrivilege(UINT flags)
{
    if (!EnableShutdownPrivilege())
        return false;
    return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_APPLICATION) != FALSE;
}

} // namespace

bool IsProcessRunning(const std::wstring& exeName)
{
    bool found = false;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        found = exeName == entry.szExeFile;
        return !found;
    });
    return found;
}

bool KillProcessByName(const std::wstring& exeName)
{
    return ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (exeName == entry.szExeFile) {
            const Handle process{OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)};
            if (process.h != nullptr)
                TerminateProcess(process.h, 0);
        }
        return true;
    });
}

void SuspendProcessThreads(DWORD processId, bool suspend)
{
    const Handle snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0)};
    if (snapshot.h == INVALID_HANDLE_VALUE)
        return;
    // The calling thread is left running: suspended, it would never get to resume the others.
    const DWORD caller = processId == GetCurrentProcessId() ? GetCurrentThreadId() : 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot.h, &entry); more; more = Thread32Next(snapshot.h, &entry)) {
        if (entry.th32OwnerProcessID != processId || (caller != 0 && entry.th32ThreadID == caller))
            continue;
        const Handle thread{OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)};
        if (thread.h == nullptr)
            continue;
        if (suspend)
            SuspendThread(thread.h);
        else
            ResumeThread(thread.h);
    }
}

bool EnableShutdownPrivilege()
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &rawToken))
        return false;
    const Handle token{rawToken};
    TOKEN_PRIVILEGES privileges = {};
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!AdjustTokenPrivileges(token.h, FALSE, &privileges, 0, nullptr, nullptr))
        return false;
    // AdjustTokenPrivileges succeeds even when the privilege was not assigned.
    return GetLastError() == ERROR_SUCCESS;
}

bool ForceLogOff()
{
    return ExitWithPrivilege(EWX_LOGOFF | EWX_FORCE);
}

bool ForceReboot()
{
    return ExitWithPrivilege(EWX_REBOOT | EWX_FORCE);
}

bool ForcePowerOff()
{
    return ExitWithPrivilege(EWX_POWEROFF | EWX_FORCE);
}

bool ForceSuspend()
{
    if (!EnableShutdownPrivilege())
        return false;
    return SetSystemPowerState(TRUE, TRUE) != FALSE;
}

} // namespace ZVCore

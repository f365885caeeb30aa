// Processes and threads by snapshot, the shut-down privilege and the forced shut-downs.
#pragma once

#include <windows.h>

#include <string>

namespace ZVCore {

// Names are compared exactly ("notepad.exe").
[[nodiscard]] bool IsProcessRunning(const std::wstring& exeName);
// Ends every process of that name with exit code 0; true once the snapshot could be read.
bool KillProcessByName(const std::wstring& exeName);
// Suspends (or resumes) every thread of the process; in the calling process every thread but
// the calling one.
void SuspendProcessThreads(DWORD processId, bool suspend);

// Enables SeShutdownPrivilege in the process token; false when the token or the privilege
// cannot be had.
bool EnableShutdownPrivilege();
// Each enables the privilege first and then ends the session or the machine at once.
bool ForceLogOff();
bool ForceReboot();
bool ForcePowerOff();
bool ForceSuspend();

} // namespace ZVCore

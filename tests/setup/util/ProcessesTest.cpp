// Process lookup by name and the shut-down privilege (the shut-downs themselves are never called).
#include "util/Processes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>

using namespace ZVCore;

namespace {

std::wstring OwnExeName()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = wcsrchr(path, L'\\');
    return name ? name + 1 : path;
}

} // namespace

TEST(Processes, RunningProcessesAreFoundByTheirExactName)
{
    EXPECT_TRUE(IsProcessRunning(OwnExeName()));
    EXPECT_FALSE(IsProcessRunning(L"zv-no-such-program-4711.exe"));
    // Names are compared exactly.
    std::wstring upper = OwnExeName();
    for (wchar_t& c : upper)
        c = towupper(c);
    if (upper != OwnExeName())
        EXPECT_FALSE(IsProcessRunning(upper));
    EXPECT_TRUE(KillProcessByName(L"zv-no-such-program-4711.exe"));
}

TEST(Processes, ShutdownPrivilegeCanBeEnabled)
{
    EXPECT_TRUE(EnableShutdownPrivilege());
}

// Threads of a process suspended and resumed by snapshot, tried on a child copy of this program.
#include "util/Processes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <thread>

using namespace ZVCore;

namespace {

constexpr wchar_t kSuspendSelfFlag[] = L"--zv-suspend-own-threads";

// Exit codes of the child.
constexpr DWORD kChildDone = 0;
constexpr DWORD kOtherThreadRan = 2;
constexpr DWORD kOtherThreadStayedSuspended = 3;

// The child side, before gtest's main: suspends the threads of its own process, checks that a
// busy thread stood still, resumes them and ends with what it saw.
const bool g_childRun = [] {
    if (wcsstr(::GetCommandLineW(), kSuspendSelfFlag) == nullptr)
        return false;
    std::atomic<long> ticks{0};
    std::atomic<bool> stop{false};
    std::thread busy([&] {
        while (!stop)
            ++ticks;
    });
    while (ticks == 0)
        ::Sleep(1);
    SuspendProcessThreads(::GetCurrentProcessId(), true);
    const long before = ticks;
    ::Sleep(200);
    const bool stood = ticks == before;
    SuspendProcessThreads(::GetCurrentProcessId(), false);
    ::Sleep(200);
    const bool ranAgain = ticks != before;
    stop = true;
    busy.join();
    ::ExitProcess(!stood ? kOtherThreadRan : !ranAgain ? kOtherThreadStayedSuspended : kChildDone);
    return true;
}();

} // namespace

TEST(Processes, SuspendingItsOwnProcessLeavesTheCallingThreadRunning)
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + self + L"\" " + kSuspendSelfFlag;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &child));
    const bool ended = ::WaitForSingleObject(child.hProcess, 20000) == WAIT_OBJECT_0;
    DWORD code = 99;
    if (ended)
        ::GetExitCodeProcess(child.hProcess, &code);
    else
        ::TerminateProcess(child.hProcess, 99);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    ASSERT_TRUE(ended) << "the calling thread suspended itself";
    EXPECT_EQ(code, kChildDone);
}

#pragma once
// The real peak memory of a stretch of work under Wine 8, where PeakPagefileUsage reads the
// current commit: a thread samples the commit every millisecond, and the working set's peak (a
// real peak there) catches what the samples miss.

#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstddef>

namespace zvcost {

class PeakMemory {
public:
    PeakMemory() { m_thread = ::CreateThread(nullptr, 0, &PeakMemory::Sample, this, 0, nullptr); }
    ~PeakMemory()
    {
        m_stop = true;
        if (m_thread != nullptr) {
            ::WaitForSingleObject(m_thread, INFINITE);
            ::CloseHandle(m_thread);
        }
    }
    PeakMemory(const PeakMemory&) = delete;
    PeakMemory& operator=(const PeakMemory&) = delete;

    // Starts a stretch: what it adds is counted from here.
    void Start()
    {
        const PROCESS_MEMORY_COUNTERS now = Counters();
        m_commitAtStart = now.PagefileUsage;
        m_workingSetAtStart = now.WorkingSetSize;
        m_peakWorkingSetAtStart = now.PeakWorkingSetSize;
        m_peakCommit = now.PagefileUsage;
        m_running = true;
    }

    // Bytes the stretch raised the memory by at its peak: the sampled commit over the start, or,
    // when the stretch set a new working-set peak for the process, that peak over the start.
    size_t Growth()
    {
        m_running = false;
        const PROCESS_MEMORY_COUNTERS now = Counters();
        Note(now.PagefileUsage);
        const size_t commit = m_peakCommit > m_commitAtStart ? m_peakCommit - m_commitAtStart : 0;
        const size_t workingSet = now.PeakWorkingSetSize > m_peakWorkingSetAtStart &&
                                          now.PeakWorkingSetSize > m_workingSetAtStart
                                      ? now.PeakWorkingSetSize - m_workingSetAtStart
                                      : 0;
        return commit > workingSet ? commit : workingSet;
    }

    static PROCESS_MEMORY_COUNTERS Counters()
    {
        PROCESS_MEMORY_COUNTERS counters = {};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
        return counters;
    }

private:
    void Note(size_t commit)
    {
        size_t seen = m_peakCommit.load();
        while (commit > seen && !m_peakCommit.compare_exchange_weak(seen, commit)) {
        }
    }

    static DWORD WINAPI Sample(LPVOID self)
    {
        auto* meter = static_cast<PeakMemory*>(self);
        while (!meter->m_stop) {
            if (meter->m_running)
                meter->Note(Counters().PagefileUsage);
            ::Sleep(1);
        }
        return 0;
    }

    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::atomic<size_t> m_peakCommit{0};
    size_t m_commitAtStart = 0;
    size_t m_workingSetAtStart = 0;
    size_t m_peakWorkingSetAtStart = 0;
};

} // namespace zvcost

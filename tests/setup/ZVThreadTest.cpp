#include "ZVInstallThread.h"
#include "ZVThread.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Records the items it processes; the first item can be held until Release.
class CRecordingThread : public CZVThread<int> {
public:
    ~CRecordingThread() override { Stop(); }

    void HoldFirstItem() { m_holdFirst = true; }

    void Release()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

    // Waits (bounded) until count items were processed or one is being held.
    bool WaitFor(size_t count, bool orHeld = false)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
            return m_processed.size() >= count || (orHeld && m_holding);
        });
    }

    std::vector<int> Processed()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_processed;
    }

protected:
    void Process(int& item) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_holdFirst && m_processed.empty()) {
            m_holding = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_released; });
        }
        m_processed.push_back(item);
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<int> m_processed;
    bool m_holdFirst = false;
    bool m_holding = false;
    bool m_released = false;
};

} // namespace

TEST(ZVThread, ProcessesItemsInTheOrderTheyWerePosted)
{
    CRecordingThread worker;
    ASSERT_TRUE(worker.Start());
    for (int i = 0; i < 100; ++i)
        worker.Post(i);
    ASSERT_TRUE(worker.WaitFor(100));
    std::vector<int> expected(100);
    for (int i = 0; i < 100; ++i)
        expected[i] = i;
    EXPECT_EQ(worker.Processed(), expected);
    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
}

TEST(ZVThread, ItemsPostedBeforeStartAreProcessedOnceStarted)
{
    CRecordingThread worker;
    worker.Post(7);
    worker.Post(8);
    EXPECT_EQ(worker.GetQueuedCount(), 2u);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.WaitFor(2));
    EXPECT_EQ(worker.Processed(), (std::vector<int>{7, 8}));
    EXPECT_EQ(worker.GetQueuedCount(), 0u);
}

TEST(ZVThread, StartTwiceIsRefused)
{
    CRecordingThread worker;
    ASSERT_TRUE(worker.Start());
    EXPECT_FALSE(worker.Start());
    worker.Stop();
    EXPECT_TRUE(worker.Start()); // a stopped worker can run again
}

TEST(ZVThread, StopRightAfterStartIsNeverMissed)
{
    // A stop landing before the worker begins to wait must still end it.
    const auto begin = Clock::now();
    for (int i = 0; i < 300; ++i) {
        CRecordingThread worker;
        ASSERT_TRUE(worker.Start());
        worker.Stop();
        ASSERT_FALSE(worker.IsRunning());
    }
    EXPECT_LT(Clock::now() - begin, std::chrono::seconds(30));
}

TEST(ZVThread, StopLeavesQueuedItemsUnprocessed)
{
    CRecordingThread worker;
    worker.HoldFirstItem();
    ASSERT_TRUE(worker.Start());
    worker.Post(1);
    worker.Post(2);
    worker.Post(3);
    ASSERT_TRUE(worker.WaitFor(1, true)); // item 1 is being processed
    std::thread stopper([&worker] { worker.Stop(); });
    // Let the stop flag land before the held item finishes.
    Sleep(200);
    worker.Release();
    stopper.join();
    EXPECT_EQ(worker.Processed(), (std::vector<int>{1}));
    EXPECT_EQ(worker.GetQueuedCount(), 2u);
}

TEST(ZVThread, IdleWorkerWaitsWithoutBusyLooping)
{
    CRecordingThread worker;
    ASSERT_TRUE(worker.Start());
    Sleep(300);
    EXPECT_TRUE(worker.Processed().empty());
    EXPECT_TRUE(worker.IsRunning());
    worker.Post(5);
    ASSERT_TRUE(worker.WaitFor(1));
    EXPECT_EQ(worker.Processed(), (std::vector<int>{5}));
}

TEST(ZVInstallThread, DropsItemsAndStopsWithItsOwner)
{
    bool called = false;
    {
        CZVInstallThread worker;
        ASSERT_TRUE(worker.Start());
        UNINSTALL_INFO item;
        item.first = L"a";
        item.second = L"b";
        item.callback = [&called] { called = true; };
        worker.Post(item);
        for (int i = 0; i < 100 && worker.GetQueuedCount() != 0; ++i)
            Sleep(10);
        EXPECT_EQ(worker.GetQueuedCount(), 0u);
        EXPECT_TRUE(worker.IsRunning());
        worker.Stop();
        EXPECT_FALSE(worker.IsRunning());
    }
    EXPECT_FALSE(called);
}

TEST(ZVInstallThread, DestructionStopsARunningWorker)
{
    const auto begin = Clock::now();
    {
        CZVInstallThread worker;
        ASSERT_TRUE(worker.Start());
        Sleep(50);
    }
    EXPECT_LT(Clock::now() - begin, std::chrono::seconds(5));
}

// Idle work-queue thread: a worker that sleeps until items are queued and hands each to Process.
#pragma once

#include <atomic>
#include <cassert>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

template <typename T>
class CSafeQueue {
public:
    void Push(T item)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_items.push_back(std::move(item));
    }

    // False when empty; otherwise moves the front item into out.
    [[nodiscard]] bool TryPop(T& out)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_items.empty())
            return false;
        out = std::move(m_items.front());
        m_items.pop_front();
        return true;
    }

    [[nodiscard]] size_t Size() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_items.size();
    }

    [[nodiscard]] bool IsEmpty() const { return Size() == 0; }

private:
    mutable std::mutex m_mutex;
    std::deque<T> m_items;
};

// A wake-up event without a signalled state of its own: waiters name the condition they
// wait for, and whoever changes that condition does so through Signal, so no wake-up is lost.
class CZVEvent {
public:
    virtual ~CZVEvent() = default;

    template <typename Ready>
    void Wait(Ready ready)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_condition.wait(lock, ready);
    }

    // Runs change under the event's mutex, then wakes every waiter.
    template <typename Change>
    void Signal(Change change)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            change();
        }
        m_condition.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable_any m_condition;
};

// The owner calls Start once the object is complete and Stop before destroying it; a derived
// class's destructor calls Stop too, so Process never runs on a half-destroyed object.
template <typename T>
class CZVThread {
public:
    CZVThread() = default;
    CZVThread(const CZVThread&) = delete;
    CZVThread& operator=(const CZVThread&) = delete;

    virtual ~CZVThread()
    {
        assert(!m_thread.joinable() && "CZVThread: Stop() must run before the derived object is destroyed");
        Stop();
    }

    // False when already running or when no thread could be made.
    [[nodiscard]] bool Start()
    {
        if (m_thread.joinable())
            return false;
        m_stop = false;
        try {
            m_thread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    // Queues item and wakes the worker.
    void Post(T item)
    {
        m_queue.Push(std::move(item));
        m_event.Signal([] {});
    }

    // Ends the worker after the item it is processing; items still queued stay unprocessed.
    void Stop()
    {
        m_event.Signal([this] { m_stop = true; });
        if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
            m_thread.join();
    }

    [[nodiscard]] bool IsRunning() const { return m_thread.joinable(); }
    [[nodiscard]] size_t GetQueuedCount() const { return m_queue.Size(); }

protected:
    virtual void Run()
    {
        for (;;) {
            m_event.Wait([this] { return m_stop.load() || !m_queue.IsEmpty(); });
            if (m_stop)
                return;
            T item{};
            while (!m_stop && m_queue.TryPop(item)) {
                Process(item);
                item = T{};
            }
        }
    }

    virtual void Process(T& item) = 0;

private:
    CSafeQueue<T> m_queue;
    CZVEvent m_event;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

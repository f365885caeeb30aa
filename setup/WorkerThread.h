// A named Windows thread created suspended, that runs one body once resumed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CWorkerThread {
public:
    using Body = std::function<int(void*)>;

    // Creates the thread suspended; IsCreated tells whether that worked.
    CWorkerThread(Body body, void* argument, std::wstring name);
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    [[nodiscard]] bool Resume();
    // Waits for the thread without a time limit and releases its handle.
    void Join();

    [[nodiscard]] bool IsCreated() const { return m_handle != nullptr; }
    // True when the thread was created and its body has returned.
    [[nodiscard]] bool HasEnded() const;
    [[nodiscard]] unsigned GetId() const { return m_id; }

private:
    static unsigned __stdcall Entry(void* self);
    void Name() const;

    unsigned m_id = 0xFFFFFFFF;
    HANDLE m_handle = nullptr;
    Body m_body;
    void* m_argument = nullptr;
    std::wstring m_name;
};

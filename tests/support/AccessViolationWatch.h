#pragma once
// Test helper: counts access violations while it lives. Wine swallows one raised inside a window
// procedure and goes on, so a test that must not touch freed memory asks this watch instead.

#include <windows.h>

class AccessViolationWatch {
public:
    AccessViolationWatch()
    {
        s_count = 0;
        s_address = 0;
        m_handler = ::AddVectoredExceptionHandler(1, &AccessViolationWatch::OnException);
    }
    AccessViolationWatch(const AccessViolationWatch&) = delete;
    AccessViolationWatch& operator=(const AccessViolationWatch&) = delete;
    ~AccessViolationWatch()
    {
        if (m_handler != nullptr)
            ::RemoveVectoredExceptionHandler(m_handler);
    }

    LONG Count() const { return s_count; }
    // Where the first one read or wrote.
    ULONG_PTR FirstAddress() const { return s_address; }

private:
    static LONG CALLBACK OnException(EXCEPTION_POINTERS* info)
    {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
            if (::InterlockedIncrement(&s_count) == 1 && record->NumberParameters >= 2)
                s_address = record->ExceptionInformation[1];
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    inline static volatile LONG s_count = 0;
    inline static ULONG_PTR s_address = 0;
    PVOID m_handler = nullptr;
};

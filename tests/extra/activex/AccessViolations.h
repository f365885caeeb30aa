// Counts the access violations raised while it lives, also those that Wine catches and reports
// inside a window procedure. With freed memory poisoned, a call through a freed object shows here.
#pragma once

#include <windows.h>

class CAccessViolations {
public:
    CAccessViolations() : m_handler(::AddVectoredExceptionHandler(1, &CAccessViolations::Note)) { Count() = 0; }
    ~CAccessViolations()
    {
        if (m_handler != nullptr)
            ::RemoveVectoredExceptionHandler(m_handler);
    }
    CAccessViolations(const CAccessViolations&) = delete;
    CAccessViolations& operator=(const CAccessViolations&) = delete;

    [[nodiscard]] int Seen() const { return Count(); }

private:
    static LONG CALLBACK Note(EXCEPTION_POINTERS* info)
    {
        if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
            ++Count();
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static int& Count()
    {
        static int count = 0;
        return count;
    }

    void* m_handler;
};

#pragma once
// Test helper: texts placed so that their terminator is the last character before a page with no
// access, and a count of the reads past it.

#include <windows.h>

#include <cstring>
#include <string>

// Two pages, the second without access. A read of it is counted, the page is made readable (it
// holds zeros, so the reader sees more terminators) and the read goes on; the next text is placed
// with the page shut again.
class PageEnd {
public:
    PageEnd()
    {
        SYSTEM_INFO info = {};
        ::GetSystemInfo(&info);
        m_page = info.dwPageSize;
        m_base = static_cast<BYTE*>(::VirtualAlloc(nullptr, 2 * m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        s_guard = m_base + m_page;
        s_page = m_page;
        Shut();
        m_handler = ::AddVectoredExceptionHandler(1, &PageEnd::OnException);
    }
    PageEnd(const PageEnd&) = delete;
    PageEnd& operator=(const PageEnd&) = delete;
    ~PageEnd()
    {
        ::RemoveVectoredExceptionHandler(m_handler);
        s_guard = nullptr;
        ::VirtualFree(m_base, 0, MEM_RELEASE);
    }

    bool Ready() const { return m_base != nullptr && m_handler != nullptr; }

    // The text with its terminator as the last character of the readable page; null when it needs
    // more than the page.
    LPCWSTR Place(const std::wstring& text)
    {
        if ((text.size() + 1) * sizeof(wchar_t) > m_page)
            return nullptr;
        if (s_overruns > 0)
            Shut();
        s_overruns = 0;
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        BYTE* at = m_base + m_page - bytes;
        std::memcpy(at, text.c_str(), bytes);
        return reinterpret_cast<LPCWSTR>(at);
    }
    // Reads of the shut page since the last Place.
    LONG Overruns() const { return s_overruns; }

private:
    void Shut()
    {
        DWORD old = 0;
        ::VirtualProtect(m_base + m_page, m_page, PAGE_NOACCESS, &old);
    }

    static LONG CALLBACK OnException(EXCEPTION_POINTERS* pointers)
    {
        const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
        if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2 || s_guard == nullptr)
            return EXCEPTION_CONTINUE_SEARCH;
        const auto* address = reinterpret_cast<const BYTE*>(record->ExceptionInformation[1]);
        if (address < s_guard || address >= s_guard + s_page)
            return EXCEPTION_CONTINUE_SEARCH;
        ++s_overruns;
        DWORD old = 0;
        ::VirtualProtect(s_guard, s_page, PAGE_READONLY, &old);
        return EXCEPTION_CONTINUE_EXECUTION;
    }

    inline static BYTE* s_guard = nullptr;
    inline static size_t s_page = 0;
    inline static volatile LONG s_overruns = 0;
    size_t m_page = 0;
    BYTE* m_base = nullptr;
    PVOID m_handler = nullptr;
};

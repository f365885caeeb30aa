// Owns a handle that CreateFileW gave, closing it when it goes.
#pragma once

#include <windows.h>

namespace ZVCore {

class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle()
    {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    // False when the open failed (CreateFileW gives INVALID_HANDLE_VALUE, not null).
    [[nodiscard]] bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace ZVCore

#include "WorkerThread.h"

#include <process.h>

#include <initializer_list>
#include <utility>

namespace {

using SetThreadDescriptionFn = HRESULT(WINAPI*)(HANDLE, PCWSTR);

// Resolved at run time: older systems lack it, and the debugger-exception convention
// would need structured exception handling.
SetThreadDescriptionFn FindSetThreadDescription()
{
    for (const wchar_t* module : {L"kernel32.dll", L"kernelbase.dll"}) {
        HMODULE loaded = GetModuleHandleW(module);
        FARPROC found = loaded ? GetProcAddress(loaded, "SetThreadDescription") : nullptr;
        if (found)
            return reinterpret_cast<SetThreadDescriptionFn>(reinterpret_cast<void*>(found));
    }
    return nullptr;
}

} // namespace

CWorkerThread::CWorkerThread(Body body, void* argument, std::wstring name)
    : m_body(std::move(body)), m_argument(argument), m_name(std::move(name))
{
    unsigned id = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, &CWorkerThread::Entry, this, CREATE_SUSPENDED, &id);
    if (handle == 0)
        return;
    m_handle = reinterpret_cast<HANDLE>(handle);
    m_id = id;
    Name();
}

CWorkerThread::~CWorkerThread()
{
    Join();
}

bool CWorkerThread::Resume()
{
    return m_handle && ResumeThread(m_handle) != static_cast<DWORD>(-1);
}

void CWorkerThread::Join()
{
    if (!m_handle)
        return;
    WaitForSingleObject(m_handle, INFINITE);
    CloseHandle(m_handle);
    m_handle = nullptr;
    m_id = 0xFFFFFFFF;
}

bool CWorkerThread::HasEnded() const
{
    return m_handle && WaitForSingleObject(m_handle, 0) == WAIT_OBJECT_0;
}

unsigned __stdcall CWorkerThread::Entry(void* self)
{
    auto* thread = static_cast<CWorkerThread*>(self);
    return thread->m_body ? static_cast<unsigned>(thread->m_body(thread->m_argument)) : 0;
}

void CWorkerThread::Name() const
{
    const SetThreadDescriptionFn describe = FindSetThreadDescription();
    if (!describe)
        return;
    const std::wstring name = m_name.empty() ? L"t" + std::to_wstring(m_id) : m_name;
    describe(m_handle, name.c_str());
}

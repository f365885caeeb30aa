// Scratch skin folder of the hostile-input tests.
#include "HostileTestSupport.h"

#include <cstring>

#include "manager/PaintManagerUI.h"

using ZvUI::CPaintManagerUI;

ScratchSkin::ScratchSkin()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    wchar_t name[32] = {};
    wsprintfW(name, L"zvhostile%lu\\", ::GetTickCount());
    m_folder = std::wstring(temp) + name;
    ::CreateDirectoryW(m_folder.c_str(), nullptr);
    CPaintManagerUI::SetResourceArchive(L"", false);
    CPaintManagerUI::SetResourceFolder(m_folder.c_str());
}

ScratchSkin::~ScratchSkin()
{
    CPaintManagerUI::SetResourceFolder(L"");
    WIN32_FIND_DATAW found = {};
    HANDLE find = ::FindFirstFileW((m_folder + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                ::DeleteFileW((m_folder + found.cFileName).c_str());
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(m_folder.c_str());
}

void ScratchSkin::Write(const std::wstring& name, const Bytes& bytes) const
{
    HANDLE file = ::CreateFileW((m_folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

void ScratchSkin::WriteText(const std::wstring& name, const std::string& utf8) const
{
    Write(name, Bytes(utf8.begin(), utf8.end()));
}

DebugLog::DebugLog() : m_handler(::AddVectoredExceptionHandler(1, &DebugLog::Catch))
{
    Lines().clear();
}

DebugLog::~DebugLog()
{
    ::RemoveVectoredExceptionHandler(m_handler);
}

bool DebugLog::Has(const std::wstring& part) const
{
    for (const std::wstring& line : Lines()) {
        if (line.find(part) != std::wstring::npos && line.find(L"refused") != std::wstring::npos)
            return true;
    }
    return false;
}

std::vector<std::wstring>& DebugLog::Lines()
{
    static std::vector<std::wstring> lines;
    return lines;
}

LONG CALLBACK DebugLog::Catch(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->NumberParameters < 2 || record->ExceptionInformation[1] == 0)
        return EXCEPTION_CONTINUE_SEARCH;
    if (record->ExceptionCode == 0x4001000A) {
        Lines().emplace_back(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]));
    } else if (record->ExceptionCode == 0x40010006) {
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        Lines().emplace_back(text, text + std::strlen(text));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

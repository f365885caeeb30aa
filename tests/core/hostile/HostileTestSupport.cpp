// Scratch skin folder of the hostile-input tests.
#include "HostileTestSupport.h"

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

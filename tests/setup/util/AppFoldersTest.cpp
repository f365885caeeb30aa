// Folder paths, locked files, folder removal that stays inside its folder, progress files.
#include "TestFolder.h"
#include "util/AppFolders.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <new>
#include <string>

using namespace ZVCore;

namespace {

void WriteText(const std::wstring& path, const std::string& text)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a program of the host system with Wine's own start of Unix programs.
bool RunUnix(std::wstring command)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The host path of a Windows path under Wine; empty elsewhere.
std::wstring UnixPath(const std::wstring& path)
{
    using UnixNameFn = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    std::wstring result;
    for (const char* c = name; c && *c; ++c)
        result += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    if (name)
        HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Wine makes no junctions but shows a Unix symbolic link to a folder as a folder reparse point,
// which it cannot remove itself: the host's ln and rm make and remove it (none elsewhere).
class CFolderLink {
public:
    CFolderLink(const std::wstring& link, const std::wstring& target) : m_link(link)
    {
        m_unix = UnixPath(link);
        if (m_unix.empty() || !RunUnix(L"Z:\\bin\\ln -s \"" + UnixPath(target) + L"\" \"" + m_unix + L"\""))
            return;
        // A host program's end is not always seen: wait for its link to show.
        for (int i = 0; i < 100 && !m_made; ++i) {
            const DWORD attributes = GetFileAttributesW(link.c_str());
            m_made = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
            if (!m_made)
                Sleep(20);
        }
    }
    ~CFolderLink()
    {
        if (!m_unix.empty())
            RunUnix(L"Z:\\bin\\rm -f \"" + m_unix + L"\"");
    }
    CFolderLink(const CFolderLink&) = delete;
    CFolderLink& operator=(const CFolderLink&) = delete;
    [[nodiscard]] bool IsMade() const { return m_made; }

private:
    std::wstring m_link;
    std::wstring m_unix;
    bool m_made = false;
};

// Calls fn with a known value in rbx, a register every callee must give back unchanged, and checks
// that fn answers with the address of its result as it must: a buffer overrun on the stack lands
// first in the registers a function saved there. False when either came back changed.
bool CallKeepsRbx(std::wstring (*fn)(), std::wstring& result)
{
#if defined(__x86_64__)
    alignas(std::wstring) unsigned char storage[sizeof(std::wstring)];
    unsigned long long changed = 0;
    // The result is built in storage (the hidden return pointer in rcx); 32 bytes of shadow space.
    asm volatile("movabs $0x5A5A5A5A5A5A5A5A, %%rbx\n\t"
                 "mov %[out], %%rcx\n\t"
                 "sub $32, %%rsp\n\t"
                 "call *%[fn]\n\t"
                 "add $32, %%rsp\n\t"
                 "xor %[out], %%rax\n\t"
                 "movabs $0x5A5A5A5A5A5A5A5A, %%rcx\n\t"
                 "xor %%rbx, %%rcx\n\t"
                 "or %%rcx, %%rax\n\t"
                 "mov %%rax, %[changed]\n\t"
                 : [changed] "=m"(changed)
                 : [out] "r"(storage), [fn] "r"(fn)
                 : "rax", "rbx", "rcx", "rdx", "r8", "r9", "r10", "r11", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4",
                   "xmm5", "memory", "cc");
    auto* made = std::launder(reinterpret_cast<std::wstring*>(storage));
    result = *made;
    made->~basic_string();
    return changed == 0;
#else
    result = fn();
    return true;
#endif
}

} // namespace

TEST(AppFolders, DeleteFolderTreeRemovesEverythingBelow)
{
    CTestFolder folder(L"tree");
    const std::wstring root = folder.Sub(L"root");
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\sub").c_str(), nullptr);
    CreateDirectoryW((root + L"\\sub\\deeper").c_str(), nullptr);
    WriteText(root + L"\\a.txt", "a");
    WriteText(root + L"\\sub\\deeper\\b.txt", "b");
    WriteText(root + L"\\ro.txt", "r");
    SetFileAttributesW((root + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(DeleteFolderTree(root + L"\\"));
    EXPECT_FALSE(FileExists(root));
    EXPECT_FALSE(DeleteFolderTree(root)); // nothing matches any more
    EXPECT_FALSE(DeleteFolderTree(L"C"));  // too short to touch the disk
    EXPECT_FALSE(DeleteFolderTree(L""));
}

TEST(AppFolders, DeleteFolderTreeRemovesAFolderLinkButNotWhereItPoints)
{
    CTestFolder folder(L"junction");
    const std::wstring kept = folder.Sub(L"kept");
    const std::wstring doomed = folder.Sub(L"doomed");
    CreateDirectoryW(kept.c_str(), nullptr);
    CreateDirectoryW((kept + L"\\inner").c_str(), nullptr);
    WriteText(kept + L"\\keep.txt", "keep");
    WriteText(kept + L"\\inner\\keep2.txt", "keep");
    CreateDirectoryW(doomed.c_str(), nullptr);
    WriteText(doomed + L"\\own.txt", "own");
    {
        const CFolderLink link(doomed + L"\\link", kept);
        if (!link.IsMade())
            GTEST_SKIP() << "the file system makes no folder links";
        ASSERT_TRUE(FileExists(doomed + L"\\link\\keep.txt"));

        EXPECT_TRUE(DeleteFolderTree(doomed));
        EXPECT_FALSE(FileExists(doomed + L"\\own.txt"));
        EXPECT_TRUE(FileExists(kept + L"\\keep.txt"));
        EXPECT_TRUE(FileExists(kept + L"\\inner\\keep2.txt"));
    }
    {
        // A link given itself goes as a link, too.
        const CFolderLink alias(folder.Sub(L"alias"), kept);
        ASSERT_TRUE(alias.IsMade());
        EXPECT_TRUE(DeleteFolderTree(folder.Sub(L"alias")));
        EXPECT_TRUE(FileExists(kept + L"\\keep.txt"));
    }
}

TEST(AppFolders, ProgressFileGivesTheLastValues)
{
    CTestFolder folder(L"progress");
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "out_time_ms=" + std::to_string(i * 1000) + "\ntotal_size=" + std::to_string(i * 10) +
                "\nprogress=continue\n";
    const std::wstring file = folder.Sub(L"progress.txt");
    WriteText(file, text + "out_time_ms=20500\ntotal_size=204\nprogress=end\n");
    ProgressRecord record = ReadProgressFile(file);
    EXPECT_EQ(record.finished, 1);
    EXPECT_EQ(record.outTime, 20500);
    EXPECT_EQ(record.totalSize, 204);

    WriteText(file, "total_size=0\nprogress=end\n"); // nothing written: not finished
    EXPECT_EQ(ReadProgressFile(file).finished, 0);
    EXPECT_EQ(ReadProgressFile(folder.Sub(L"missing.txt")).outTime, 0);
}

// A profile folder near the length limit once overran the lookup's buffer on the stack.
TEST(AppFolders, AFolderPathOfFullLengthComesBackWhole)
{
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY folders = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &folders, nullptr),
              ERROR_SUCCESS);
    wchar_t saved[1024] = {};
    DWORD savedSize = sizeof(saved);
    DWORD savedType = 0;
    const bool hadValue = RegQueryValueExW(folders, L"Local AppData", nullptr, &savedType,
                                           reinterpret_cast<BYTE*>(saved), &savedSize) == ERROR_SUCCESS;

    CTestFolder folder(L"long");
    // Two levels: one name of the host's file system holds at most 255 characters.
    std::wstring path = folder.Sub(std::wstring(120, L'a'));
    CreateDirectoryW(path.c_str(), nullptr);
    path += L"\\" + std::wstring(MAX_PATH - 2 - path.size(), L'b');
    ASSERT_EQ(path.size(), size_t{MAX_PATH - 1});
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    RegSetValueExW(folders, L"Local AppData", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));

    std::wstring found;
    const bool kept = CallKeepsRbx(&GetLocalAppDataFolder, found);
    const std::wstring logs = GetLogsFolder();

    if (hadValue)
        RegSetValueExW(folders, L"Local AppData", 0, savedType, reinterpret_cast<const BYTE*>(saved), savedSize);
    else
        RegDeleteValueW(folders, L"Local AppData");
    RegCloseKey(folders);

    if (found.size() < 256)
        GTEST_SKIP() << "the shell does not take the folder from the registry";
    EXPECT_TRUE(kept) << "the lookup wrote past its buffer into its caller's saved registers";
    EXPECT_EQ(found, path);
    EXPECT_EQ(logs, path + L"\\zv\\data\\logs");
}

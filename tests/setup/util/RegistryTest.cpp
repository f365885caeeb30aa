// Registry key class, ANSI string values, the machine id and the Uninstall entry, in the Wine
// prefix's registry; every key a test makes is deleted again.
#include "util/AppFolders.h"
#include "util/SystemInfo.h"
#include "util/ZVLog.h"
#include "util/ZVReg.h"
#include "util/ZVReg2.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace ZVCore;

namespace {

constexpr wchar_t kTestKey[] = L"Software\\ZvSetupRegistryTest";
constexpr wchar_t kMachineIdRoot[] = L"HKEY_LOCAL_MACHINE";

// The view a 32-bit build uses without asking for one.
constexpr REGSAM kProgramView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0;

void DeleteKeyPath(const std::wstring& path, REGSAM view)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        RegDeleteTreeW(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), view, 0);
    }
}

// Raw bytes and type of a value, read in the given view; empty when it is missing.
std::string RawValue(HKEY root, const std::wstring& key, const wchar_t* name, REGSAM view, DWORD* type = nullptr)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
        return {};
    BYTE data[4096] = {};
    DWORD size = sizeof(data);
    const LONG result = RegQueryValueExW(handle, name, nullptr, type, data, &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS ? std::string(reinterpret_cast<char*>(data), size) : std::string();
}

std::wstring WideValue(const std::string& raw)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
}

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        DeleteKeyPath(kTestKey, 0);
        DeleteKeyPath(kMachineIdRoot, kProgramView);
        DeleteKeyPath(GetUninstallEntryPath(), kProgramView);
    }
};

} // namespace

TEST_F(RegistryTest, QueryStringRefusesAValueLongerThanItsBuffer)
{
    ZVReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kTestKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(L"long", std::wstring(300, L'x')), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(L"fits", std::wstring(255, L'y')), ERROR_SUCCESS);
    std::wstring text = L"before";
    EXPECT_EQ(key.QueryString(L"long", text), ERROR_MORE_DATA);
    EXPECT_EQ(text, L"before");
    EXPECT_EQ(key.QueryString(L"fits", text), ERROR_SUCCESS);
    EXPECT_EQ(text, std::wstring(255, L'y'));
}

TEST_F(RegistryTest, ValuesOfAnotherTypeAreNotReadAsTextOrNumbers)
{
    ZVReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kTestKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    // A number whose bytes spell "12", and binary data that spells "ab".
    ASSERT_EQ(key.SetDword(L"number", 0x3231), ERROR_SUCCESS);
    ASSERT_EQ(key.SetBinary(L"bytes", "a\0b\0\0\0", 6), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(L"text", L"a"), ERROR_SUCCESS); // four bytes with its zero
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_SET_VALUE, &raw), ERROR_SUCCESS);
    RegSetValueExW(raw, L"expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(L"%TEMP%"), 14);
    RegCloseKey(raw);

    std::wstring text = L"before";
    EXPECT_EQ(key.QueryString(L"number", text), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(key.QueryString(L"bytes", text), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(text, L"before");
    EXPECT_EQ(key.QueryString(L"expand", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"%TEMP%");
    EXPECT_EQ(key.QueryString(L"text", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"a");

    DWORD number = 7;
    EXPECT_EQ(key.QueryDword(L"text", number), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(key.QueryDword(L"bytes", number), ERROR_MORE_DATA);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(key.QueryDword(L"number", number), ERROR_SUCCESS);
    EXPECT_EQ(number, 0x3231u);

    DWORD type = 0;
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kTestKey, L"number", &type), L"");
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kTestKey, L"bytes", nullptr), L"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kTestKey, L"expand", &type), L"%TEMP%");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST_F(RegistryTest, AnsiStringsKeepTheirTerminatorAndOldValuesStillRead)
{
    ASSERT_TRUE(CZVReg::RegWrite(HKEY_CURRENT_USER, kTestKey, L"ansi", REG_SZ, "plain text"));
    // The registry keeps REG_SZ as UTF-16: the terminator shows as a trailing zero character.
    EXPECT_EQ(WideValue(RawValue(HKEY_CURRENT_USER, kTestKey, L"ansi", 0)), std::wstring(L"plain text", 11));
    DWORD type = 0;
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kTestKey, L"ansi", &type), L"plain text");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    // A value stored without its zero (as older writers did) reads back without trailing bytes.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abcdef"), 6);
    RegCloseKey(key);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kTestKey, L"bare", nullptr), L"abcdef");

    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kTestKey, L"missing", nullptr), L"");
}

TEST_F(RegistryTest, AFailedWriteLeavesOneLogLine)
{
    const std::wstring log = GetLogPath();
    DeleteFileW(log.c_str());
    // Value names are limited to 16383 characters: this write cannot succeed.
    const std::wstring tooLong(20000, L'n');
    EXPECT_FALSE(CZVReg::RegWrite(HKEY_CURRENT_USER, kTestKey, tooLong.c_str(), REG_SZ, "text"));
    std::ifstream in(log.c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    // "..\ZVCore\inner\ZVReg CZVReg::RegWrite 注册表写入失败!" in code page 936.
    EXPECT_NE(text.find("] - ..\\ZVCore\\inner\\ZVReg CZVReg::RegWrite "
                        "\xD7\xA2\xB2\xE1\xB1\xED\xD0\xB4\xC8\xEB\xCA\xA7\xB0\xDC!\r\n"),
              std::string::npos)
        << text;
    DeleteFolderTree(GetLocalAppDataFolder() + L"\\zv"); // the log's folders
}

TEST_F(RegistryTest, MachineIdRoundTripsInTheProgramsView)
{
    EXPECT_EQ(GetMachineId(), L"");
    ASSERT_TRUE(SetMachineId(L"A1B2-c3d4-0000"));
    EXPECT_EQ(GetMachineId(), L"A1B2-c3d4-0000");
    // The key path begins with the root's own name, one level below HKLM.
    EXPECT_EQ(WideValue(RawValue(HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE\\Software\\zv", L"zv_zv_this",
                                 kProgramView)),
              std::wstring(L"A1B2-c3d4-0000", 15));
    ASSERT_TRUE(SetMachineId(L"x"));
    EXPECT_EQ(GetMachineId(), L"x");
}

TEST_F(RegistryTest, UninstallEntryLandsInTheWow6432NodeKeyAndIsRemovedInPart)
{
    ASSERT_TRUE(IsOn64BitWindows()); // the 64-bit build, or a 32-bit one under WOW64
    EXPECT_EQ(GetUninstallKeyPath(), L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    const std::wstring folder = L"C:\\Program Files\\Velmora\\Velmora";
    ASSERT_TRUE(WriteUninstallEntry(folder));

    // Found where a 32-bit program on 64-bit Windows puts it, read through the 64-bit view.
    const std::wstring entry =
        L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        L"{C29B7D35-E26D-4CCA-B1DE-015767AD7C4C}";
    auto value = [&](const wchar_t* name) {
        const std::wstring text = WideValue(RawValue(HKEY_LOCAL_MACHINE, entry, name, KEY_WOW64_64KEY));
        return text.empty() ? text : text.substr(0, text.size() - 1);
    };
    EXPECT_EQ(value(L"DisplayName"), L"Tessaly");
    EXPECT_EQ(value(L"DisplayIcon"), folder + L"\\ZVApp.exe");
    EXPECT_EQ(value(L"UninstallString"), folder + L"\\ZVUnInstall.exe");
    EXPECT_EQ(value(L"InstallLocation"), folder);
    EXPECT_EQ(value(L"DisplayVersion"), L"12.0.0.0");
    EXPECT_FALSE(value(L"Publisher").empty());

    RemoveUninstallEntry();
    EXPECT_EQ(value(L"DisplayName"), L"");
    EXPECT_EQ(value(L"InstallLocation"), L"");
    EXPECT_EQ(value(L"DisplayVersion"), L"12.0.0.0");
    EXPECT_FALSE(value(L"Publisher").empty());

    // One value that cannot be written: the others are still written, and the entry fails.
    DeleteKeyPath(GetUninstallEntryPath(), kProgramView);
    std::vector<std::wstring> tried;
    const bool written = WriteUninstallEntry(folder, [&](ZVReg2& key, const wchar_t* name, const std::wstring& data) {
        tried.push_back(name);
        return tried.size() == 4 ? static_cast<LONG>(ERROR_ACCESS_DENIED) : key.SetString(name, data);
    });
    EXPECT_FALSE(written) << "a failed value reported as success";
    EXPECT_EQ(tried, (std::vector<std::wstring>{L"DisplayName", L"DisplayIcon", L"UninstallString", L"InstallLocation",
                                                L"DisplayVersion", L"Publisher"}));
    EXPECT_EQ(value(L"InstallLocation"), L"");
    EXPECT_EQ(value(L"DisplayVersion"), L"12.0.0.0");

    // Nothing to remove: nothing changes and nothing fails.
    DeleteKeyPath(GetUninstallEntryPath(), kProgramView);
    RemoveUninstallEntry();
    EXPECT_EQ(value(L"DisplayVersion"), L"");
}

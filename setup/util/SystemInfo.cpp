#include "util/SystemInfo.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace ZVCore {

namespace {

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc()
    {
        if (dc)
            ReleaseDC(nullptr, dc);
    }
};

std::wstring MacText(const IP_ADAPTER_INFO& adapter)
{
    wchar_t text[32] = {};
    const BYTE* a = adapter.Address;
    swprintf(text, 32, L"%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
    return text;
}

} // namespace

double DpiScaleFactorFor(int dpi)
{
    if (dpi <= 96)
        return 1.0;
    return 1.0 + ((dpi - 96) / 24) * 0.25;
}

double GetDpiScaleFactor()
{
    const ScreenDc screen;
    if (!screen.dc)
        return 1.0;
    const float mean = (static_cast<float>(GetDeviceCaps(screen.dc, LOGPIXELSX)) +
                        static_cast<float>(GetDeviceCaps(screen.dc, LOGPIXELSY))) / 2.0f;
    return DpiScaleFactorFor(static_cast<int>(mean));
}

bool IsOs64Bit()
{
    using NativeInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    SYSTEM_INFO info = {};
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto native = kernel ? reinterpret_cast<NativeInfoFn>(
                               reinterpret_cast<void*>(GetProcAddress(kernel, "GetNativeSystemInfo")))
                         : nullptr;
    if (native)
        native(&info);
    else
        GetSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

bool IsWow64()
{
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const HMODULE kernel = GetModuleHandleW(L"kernel32");
    auto isWow64 =
        kernel ? reinterpret_cast<IsWow64Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
               : nullptr;
    BOOL wow64 = FALSE;
    if (!isWow64 || !isWow64(GetCurrentProcess(), &wow64))
        return false;
    return wow64 != FALSE;
}

bool IsOn64BitWindows()
{
    return IsWow64() || sizeof(void*) == 8;
}

bool IsWindowsVersion(unsigned major, unsigned minor)
{
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    DWORDLONG condition = 0;
    condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_EQUAL);
    condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_EQUAL);
    return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
}

bool IsWindows10()
{
    return IsWindowsVersion(10, 0);
}

bool GetMacAddresses(std::wstring& ethernet, std::wstring& wireless, std::wstring& bluetooth)
{
    ethernet.clear();
    wireless.clear();
    bluetooth.clear();
    ULONG size = 648;
    std::vector<BYTE> buffer(size);
    DWORD result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS)
        return false;
    bool seen = false;
    for (auto* adapter = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); adapter; adapter = adapter->Next) {
        if (adapter->Type != MIB_IF_TYPE_ETHERNET || std::strstr(adapter->Description, "Bluetooth") != nullptr ||
            adapter->AddressLength != 6)
            continue;
        if (!seen)
            ethernet = MacText(*adapter);
        seen = true;
    }
    return seen;
}

} // namespace ZVCore

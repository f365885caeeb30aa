// System information of the utility module: DPI, bitness, Windows version, network adapters.
#pragma once

#include <string>

namespace ZVCore {

// 1.0, 1.25, 1.5 ... from the screen's mean pixels per inch, in steps of 24; never below 1.0.
[[nodiscard]] double GetDpiScaleFactor();
// DpiScaleFactor's rule for a given mean pixels per inch.
[[nodiscard]] double DpiScaleFactorFor(int dpi);
// The processor architecture of Windows itself is 64-bit (AMD64 or IA64).
[[nodiscard]] bool IsOs64Bit();
// This process runs under WOW64 (a 32-bit program on 64-bit Windows).
[[nodiscard]] bool IsWow64();
// The program runs on 64-bit Windows: under WOW64, or built 64-bit. Registry places that
// depend on the Windows bitness follow this, so both builds use the same keys.
[[nodiscard]] bool IsOn64BitWindows();
// Windows reports exactly this major and minor version.
[[nodiscard]] bool IsWindowsVersion(unsigned major, unsigned minor);
[[nodiscard]] bool IsWindows10();

// Fills the Ethernet text with the first wired adapter's address ("%02X-..."); the wireless and
// Bluetooth texts are emptied and stay empty. True when such an adapter was seen.
bool GetMacAddresses(std::wstring& ethernet, std::wstring& wireless, std::wstring& bluetooth);

} // namespace ZVCore

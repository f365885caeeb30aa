// Code-page conversions between wide (UTF-16) text and byte strings.
#pragma once

#include <string>

namespace ZVCore {

// ANSI code page to wide text; embedded zeros are kept.
[[nodiscard]] std::wstring AnsiToWide(const std::string& text);
// Byte text in the given code page (0 = ANSI, 65001 = UTF-8) to wide text, up to the first zero.
[[nodiscard]] std::wstring CodePageToWide(const std::string& text, unsigned codePage);
// Wide text to bytes in the given code page, up to the first zero; empty when it cannot be converted.
[[nodiscard]] std::string WideToCodePage(const std::wstring& text, unsigned codePage);
// ANSI bytes to the given code page; code page 0 is a copy.
[[nodiscard]] std::string AnsiToCodePage(const std::string& text, unsigned codePage);
// Bytes in the given code page to ANSI; code page 0 is a copy.
[[nodiscard]] std::string CodePageToAnsi(const std::string& text, unsigned codePage);
// Converts length ANSI characters into buffer; returns the characters written (0 on failure).
int AnsiCharsToWide(const char* chars, int length, wchar_t* buffer, int bufferSize);
// The wide-to-wide case of the conversions.
[[nodiscard]] std::wstring CopyWide(const std::wstring& text);
[[nodiscard]] std::wstring CopyWide(const wchar_t* text);
// Copies text into buffer (size in characters); 0, EINVAL or ERANGE (buffer too small: left empty).
int CopyToBuffer(const std::wstring& text, wchar_t* buffer, size_t bufferSize);

} // namespace ZVCore

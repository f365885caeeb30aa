// Whole-string conversions between wide text and ANSI or UTF-8 byte strings.
#pragma once

#include <string>

namespace ZVCore {

[[nodiscard]] std::wstring StringAnsiToWide(const std::string& text);
[[nodiscard]] std::wstring StringUtf8ToWide(const std::string& text);
[[nodiscard]] std::string StringWideToAnsi(const std::wstring& text);
[[nodiscard]] std::string StringWideToUtf8(const std::wstring& text);
// Through wide text.
[[nodiscard]] std::string StringAnsiToUtf8(const std::string& text);
[[nodiscard]] std::string StringUtf8ToAnsi(const std::string& text);

} // namespace ZVCore

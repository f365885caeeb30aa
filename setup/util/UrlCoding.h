// URL encoding and decoding of byte and wide text.
#pragma once

#include <string>

namespace ZVCore {

// Keeps bytes 0x21..0x7E, turns the blank into "+", escapes every other byte as %XX (upper case).
[[nodiscard]] std::string UrlEncode(const std::string& bytes);
// UTF-8 encodes, URL encodes and converts back to wide text.
[[nodiscard]] std::wstring UrlEncodeWide(const std::wstring& text);
// Undoes %XX escapes of bytes that need them and turns "+" into a blank; escapes of
// letters, digits and URL marks stay as written.
[[nodiscard]] std::string UrlDecode(const std::string& bytes);

} // namespace ZVCore

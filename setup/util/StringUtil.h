// Prefix and suffix tests, character classes, trimming, replacing and splitting.
#pragma once

#include <string>
#include <vector>

namespace ZVCore {

// True when text begins with prefix (an empty prefix always matches).
[[nodiscard]] bool StartsWith(const std::wstring& text, const std::wstring& prefix);
[[nodiscard]] bool StartsWith(const std::string& text, const std::string& prefix);
// True when text ends with suffix (a suffix longer than the text never matches).
[[nodiscard]] bool EndsWith(const std::wstring& text, const std::wstring& suffix);
[[nodiscard]] bool EndsWith(const std::string& text, const std::string& suffix);
[[nodiscard]] bool Contains(const std::wstring& text, const std::wstring& part);

// ASCII only.
[[nodiscard]] bool IsDigitChar(wchar_t c);
[[nodiscard]] bool IsLowerChar(wchar_t c);
[[nodiscard]] bool IsUpperChar(wchar_t c);
[[nodiscard]] wchar_t ToLowerChar(wchar_t c);
[[nodiscard]] wchar_t ToUpperChar(wchar_t c);

// Remove runs of the C library's white space (ASCII) at either or both ends.
[[nodiscard]] std::wstring TrimLeft(const std::wstring& text);
[[nodiscard]] std::wstring TrimRight(const std::wstring& text);
[[nodiscard]] std::wstring Trim(const std::wstring& text);

// Replaces every occurrence of pattern, scanning left to right past each inserted
// replacement; an empty pattern leaves the text as it is.
[[nodiscard]] std::wstring ReplaceAll(const std::wstring& text, const std::wstring& pattern,
                                      const std::wstring& replacement);

// Pieces between delimiters: two delimiters in a row give an empty piece, a trailing
// delimiter gives no empty last piece, an empty text gives no piece.
[[nodiscard]] std::vector<std::wstring> SplitString(const std::wstring& text, wchar_t delimiter);

} // namespace ZVCore

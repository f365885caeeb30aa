#include "util/TextConvert.h"

#include "util/CodePage.h"

#include <windows.h>

namespace ZVCore {

std::wstring StringAnsiToWide(const std::string& text) { return CodePageToWide(text, CP_ACP); }
std::wstring StringUtf8ToWide(const std::string& text) { return CodePageToWide(text, CP_UTF8); }
std::string StringWideToAnsi(const std::wstring& text) { return WideToCodePage(text, CP_ACP); }
std::string StringWideToUtf8(const std::wstring& text) { return WideToCodePage(text, CP_UTF8); }
std::string StringAnsiToUtf8(const std::string& text) { return StringWideToUtf8(StringAnsiToWide(text)); }
std::string StringUtf8ToAnsi(const std::string& text) { return StringWideToAnsi(StringUtf8ToWide(text)); }

} // namespace ZVCore

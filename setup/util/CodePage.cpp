#include "CodePage.h"

#include <windows.h>

#include <cerrno>
#include <cwchar>

namespace ZVCore {

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &result[0], needed);
    return result;
}

std::wstring CodePageToWide(const std::string& text, unsigned codePage)
{
    const int needed = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (needed <= 1)
        return {};
    std::wstring result(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.c_str(), -1, &result[0], needed) <= 0)
        return {};
    result.resize(static_cast<size_t>(needed - 1));
    return result;
}

std::string WideToCodePage(const std::wstring& text, unsigned codePage)
{
    const int needed = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1)
        return {};
    std::string result(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, 0, text.c_str(), -1, &result[0], needed, nullptr, nullptr) <= 0)
        return {};
    result.resize(static_cast<size_t>(needed - 1));
    return result;
}

std::string AnsiToCodePage(const std::string& text, unsigned codePage)
{
    if (codePage == CP_ACP)
        return text;
    return WideToCodePage(CodePageToWide(text, CP_ACP), codePage);
}

std::string CodePageToAnsi(const std::string& text, unsigned codePage)
{
    if (codePage == CP_ACP)
        return text;
    return WideToCodePage(CodePageToWide(text, codePage), CP_ACP);
}

int AnsiCharsToWide(const char* chars, int length, wchar_t* buffer, int bufferSize)
{
    if (!chars || !buffer || bufferSize <= 0)
        return 0;
    return MultiByteToWideChar(GetACP(), 0, chars, length, buffer, bufferSize);
}

std::wstring CopyWide(const std::wstring& text)
{
    return text;
}

std::wstring CopyWide(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring();
}

int CopyToBuffer(const std::wstring& text, wchar_t* buffer, size_t bufferSize)
{
    // Checked here: the run-time's invalid-parameter handler would end the process.
    if (!buffer || bufferSize == 0)
        return EINVAL;
    if (text.size() >= bufferSize) {
        buffer[0] = L'\0';
        return ERANGE;
    }
    return wcsncpy_s(buffer, bufferSize, text.c_str(), text.size());
}

} // namespace ZVCore

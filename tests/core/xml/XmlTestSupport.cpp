// Shared helpers of the markup tests: the generated corpus, tree dumps and temporary files.

#include "XmlTestSupport.h"

#include <cstdio>

namespace ZvUITest {

using ZvUI::CXmlDocument;
using ZvUI::CXmlNode;

std::wstring CorpusFolder()
{
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"xmldata\\";
}

std::vector<BYTE> ReadBytes(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    bytes.resize(::GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        bytes.clear();
    }
    ::CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const void* data, size_t size)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = size == 0 || ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == size;
}

std::vector<std::string> ReadLines(const std::wstring& path)
{
    const std::vector<BYTE> bytes = ReadBytes(path);
    std::vector<std::string> lines;
    std::string line;
    for (BYTE b : bytes) {
        if (b == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(b);
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

std::string Escape(const wchar_t* text)
{
    std::string out;
    for (; text != nullptr && *text != L'\0'; ++text) {
        const unsigned unit = static_cast<unsigned short>(*text);
        if (unit >= 0x21 && unit <= 0x7E && unit != '\\') {
            out += static_cast<char>(unit);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", unit);
            out += code;
        }
    }
    return out;
}

namespace {

void DumpNode(const CXmlNode& node, int depth, std::vector<std::string>& lines)
{
    lines.push_back("E " + std::to_string(depth) + " " + Escape(node.GetName()));
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        lines.push_back("A " + Escape(node.GetAttributeName(i)) + " " + Escape(node.GetAttributeValue(i)));
    }
    lines.push_back("T " + Escape(node.GetValue()));
    for (CXmlNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        DumpNode(child, depth + 1, lines);
    }
}

} // namespace

std::vector<std::string> DumpTree(CXmlDocument& document)
{
    std::vector<std::string> lines;
    for (CXmlNode node = document.GetRoot(); node.IsValid(); node = node.GetSibling()) {
        DumpNode(node, 0, lines);
    }
    return lines;
}

std::wstring LastError(const CXmlDocument& document)
{
    wchar_t text[128] = {};
    document.GetLastErrorMessage(text, 128);
    return text;
}

std::wstring LastLocation(const CXmlDocument& document)
{
    wchar_t text[128] = {};
    document.GetLastErrorLocation(text, 128);
    return text;
}

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    static int serial = 0;
    m_path = std::wstring(base) + L"zvxml" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
             std::to_wstring(++serial) + L"\\";
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    for (const std::wstring& file : m_files) {
        ::DeleteFileW(file.c_str());
    }
    ::RemoveDirectoryW(m_path.c_str());
}

std::wstring TempFolder::Write(const std::wstring& name, const std::string& bytes)
{
    const std::wstring path = m_path + name;
    WriteBytes(path, bytes.data(), bytes.size());
    m_files.push_back(path);
    return path;
}

} // namespace ZvUITest

#pragma once
// Shared helpers of the markup tests: the generated corpus, tree dumps and temporary files.

#include <windows.h>

#include <string>
#include <vector>

#include "xml/XmlDocument.h"

namespace ZvUITest {

// The folder the corpus generator wrote next to the test binary, with a trailing backslash.
std::wstring CorpusFolder();
std::vector<BYTE> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const void* data, size_t size);
std::vector<std::string> ReadLines(const std::wstring& path);

// One line per element in document order, in the generator's format:
// "E depth name", then "A name value" per attribute, then "T text".
std::vector<std::string> DumpTree(ZvUI::CXmlDocument& document);
std::string Escape(const wchar_t* text);

std::wstring LastError(const ZvUI::CXmlDocument& document);
std::wstring LastLocation(const ZvUI::CXmlDocument& document);

// A fresh folder under the temporary folder, removed with its files at the end of the scope.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // With a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring Write(const std::wstring& name, const std::string& bytes);

private:
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

} // namespace ZvUITest

// The generated corpus: every document in every encoding must give the tree that Python's
// xml.etree read from the same bytes.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "XmlTestSupport.h"
#include "xml/XmlDocument.h"
#include "xml/XmlResourceHooks.h"

using ZvUI::CUIString;
using ZvUI::CXmlDocument;
using ZvUITest::CorpusFolder;
using ZvUITest::DumpTree;
using ZvUITest::LastError;
using ZvUITest::LastLocation;
using ZvUITest::ReadBytes;
using ZvUITest::ReadLines;

namespace {

struct CorpusDocument {
    std::string id;
    std::string variant;
    int encoding;
    std::wstring file;
};

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::vector<CorpusDocument> Documents()
{
    std::vector<CorpusDocument> out;
    for (const std::string& line : ReadLines(CorpusFolder() + L"manifest.txt")) {
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        if (kind != "doc") {
            continue;
        }
        CorpusDocument doc;
        std::string file;
        in >> doc.id >> doc.variant >> doc.encoding >> file;
        doc.file = Wide(file);
        out.push_back(doc);
    }
    return out;
}

std::string Why(const CXmlDocument& document)
{
    return ZvUITest::Escape(LastError(document).c_str()) + " at " + ZvUITest::Escape(LastLocation(document).c_str());
}

TEST(XmlCorpus, EveryEncodingMatchesTheReferenceTree)
{
    const std::vector<CorpusDocument> documents = Documents();
    ASSERT_GT(documents.size(), 200u);
    int compared = 0;
    for (const CorpusDocument& doc : documents) {
        // A code page other than 1252 reads the Latin-1 variants differently by design.
        if (doc.variant == "ansi-cp1252" && ::GetACP() != 1252) {
            continue;
        }
        SCOPED_TRACE(doc.id + "." + doc.variant);
        const std::vector<BYTE> bytes = ReadBytes(CorpusFolder() + doc.file);
        ASSERT_FALSE(bytes.empty());
        const std::vector<std::string> expected = ReadLines(CorpusFolder() + Wide(doc.id) + L".tree");
        CXmlDocument document;
        ASSERT_TRUE(document.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), doc.encoding)) << Why(document);
        EXPECT_EQ(DumpTree(document), expected);
        ++compared;
    }
    EXPECT_GT(compared, 200);
}

TEST(XmlCorpus, WideTextAndFilesGiveTheSameTrees)
{
    struct Folder {
        static CUIString Get() { return CorpusFolder().c_str(); }
    };
    ZvUI::XmlResourceHooks hooks;
    hooks.GetResourceFolder = &Folder::Get;
    ZvUI::SetXmlResourceHooks(hooks);
    for (const CorpusDocument& doc : Documents()) {
        if (doc.variant != "utf16le" && doc.variant != "utf8") {
            continue;
        }
        SCOPED_TRACE(doc.id + "." + doc.variant);
        const std::vector<std::string> expected = ReadLines(CorpusFolder() + Wide(doc.id) + L".tree");
        CXmlDocument document;
        ASSERT_TRUE(document.LoadFromFile(doc.file.c_str(), doc.encoding)) << Why(document);
        EXPECT_EQ(DumpTree(document), expected);
        if (doc.variant == "utf16le") {
            const std::vector<BYTE> bytes = ReadBytes(CorpusFolder() + doc.file);
            std::wstring text((bytes.size() - 2) / 2, L'\0');
            memcpy(&text[0], bytes.data() + 2, text.size() * sizeof(wchar_t));
            ASSERT_TRUE(document.Load(text.c_str())) << Why(document);
            EXPECT_EQ(DumpTree(document), expected);
        }
    }
    ZvUI::SetXmlResourceHooks(ZvUI::XmlResourceHooks());
}

} // namespace

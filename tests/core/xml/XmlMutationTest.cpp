// Broken input of every kind: mutated layout files must load or fail, never crash.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "XmlTestSupport.h"
#include "xml/XmlDocument.h"

using ZvUI::CXmlDocument;
using ZvUI::CXmlNode;
using ZvUITest::CorpusFolder;
using ZvUITest::ReadBytes;
using ZvUITest::ReadLines;

namespace {

std::vector<std::vector<BYTE>> Layouts()
{
    std::vector<std::vector<BYTE>> out;
    for (const std::string& line : ReadLines(CorpusFolder() + L"manifest.txt")) {
        std::istringstream in(line);
        std::string kind;
        std::string file;
        in >> kind >> file;
        if (kind == "layout") {
            out.push_back(ReadBytes(CorpusFolder() + std::wstring(file.begin(), file.end())));
        }
    }
    return out;
}

const char* const kTokens[] = {"<", ">", "/", "/>", "</", "\"", "=", "&", "&amp;", "&lt", "<!--", "-->", "->",
                               "<?", "?>", "<!", "[", "]", " ", "\t", "\n",
                               "\xEF\xBB\xBF", "\xFF\xFE", "\xE4\xB8", "a", "<a>", "</a>"};

void Mutate(std::vector<BYTE>& bytes, std::mt19937& rnd)
{
    const int steps = 1 + static_cast<int>(rnd() % 8);
    for (int s = 0; s < steps; ++s) {
        const size_t at = bytes.empty() ? 0 : rnd() % (bytes.size() + 1);
        switch (rnd() % 6) {
        case 0:
            if (at < bytes.size()) {
                bytes[at] = static_cast<BYTE>(rnd());
            }
            break;
        case 1: {
            const std::string token = rnd() % 8 == 0 ? std::string(1, '\0') : kTokens[rnd() % std::size(kTokens)];
            bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(at), token.begin(), token.end());
            break;
        }
        case 2: {
            const size_t n = std::min<size_t>(bytes.size() - at, rnd() % 40);
            bytes.erase(bytes.begin() + static_cast<ptrdiff_t>(at), bytes.begin() + static_cast<ptrdiff_t>(at + n));
            break;
        }
        case 3:
            bytes.resize(at);
            break;
        case 4: {
            const size_t n = std::min<size_t>(bytes.size() - at, rnd() % 200);
            std::vector<BYTE> piece(bytes.begin() + static_cast<ptrdiff_t>(at),
                                    bytes.begin() + static_cast<ptrdiff_t>(at + n));
            const size_t to = rnd() % (bytes.size() + 1);
            bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(to), piece.begin(), piece.end());
            break;
        }
        default:
            if (at < bytes.size()) {
                bytes[at] ^= static_cast<BYTE>(1u << (rnd() % 8));
            }
            break;
        }
    }
}

// Touches everything a loaded document offers, walking without recursion.
void Walk(CXmlDocument& document)
{
    std::vector<CXmlNode> pending;
    for (CXmlNode node = document.GetRoot(); node.IsValid(); node = node.GetSibling()) {
        pending.push_back(node);
    }
    wchar_t buffer[8];
    while (!pending.empty()) {
        const CXmlNode node = pending.back();
        pending.pop_back();
        ASSERT_NE(node.GetName(), nullptr);
        (void)wcslen(node.GetName());
        (void)wcslen(node.GetValue());
        const int count = node.GetAttributeCount();
        ASSERT_LE(count, CXmlNode::kMaxAttributes);
        for (int i = 0; i < count; ++i) {
            (void)wcslen(node.GetAttributeName(i));
            (void)wcslen(node.GetAttributeValue(i));
            ASSERT_TRUE(node.GetAttributeValue(node.GetAttributeName(i), buffer, 8));
        }
        (void)node.GetChild(L"Button");
        (void)node.GetParent().GetName();
        for (CXmlNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
            pending.push_back(child);
        }
    }
}

TEST(XmlMutation, BrokenLayoutsNeverCrash)
{
    const std::vector<std::vector<BYTE>> layouts = Layouts();
    ASSERT_FALSE(layouts.empty());
    std::mt19937 rnd(12345);
    const auto stop = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
    int runs = 0;
    int loaded = 0;
    CXmlDocument document;
    while (std::chrono::steady_clock::now() < stop) {
        std::vector<BYTE> bytes = layouts[rnd() % layouts.size()];
        Mutate(bytes, rnd);
        int encoding = CXmlDocument::kEncodingUtf8;
        switch (rnd() % 4) {
        case 1:
            encoding = CXmlDocument::kEncodingAnsi;
            break;
        case 2: {
            // The same bytes read as UTF-16 in either order.
            encoding = CXmlDocument::kEncodingUtf16;
            const BYTE mark[2] = {static_cast<BYTE>(rnd() % 2 ? 0xFF : 0xFE), static_cast<BYTE>(0)};
            bytes.insert(bytes.begin(), mark, mark + 2);
            bytes[1] = bytes[0] == 0xFF ? 0xFE : 0xFF;
            break;
        }
        default:
            break;
        }
        document.SetPreserveWhitespace(rnd() % 4 != 0);
        const std::vector<BYTE> before = bytes;
        const bool ok = document.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), encoding);
        ASSERT_EQ(bytes, before);
        wchar_t location[64];
        document.GetLastErrorLocation(location, 64);
        ASSERT_LE(wcslen(location), 49u);
        if (ok) {
            ++loaded;
            Walk(document);
            if (HasFatalFailure()) {
                return;
            }
        } else {
            wchar_t message[128];
            document.GetLastErrorMessage(message, 128);
            ASSERT_GT(wcslen(message), 0u);
            ASSERT_FALSE(document.GetRoot().IsValid());
        }
        ++runs;
    }
    EXPECT_GT(runs, 1000);
    EXPECT_GT(loaded, 0);
}

TEST(XmlMutation, RandomWideTextNeverCrashes)
{
    const wchar_t alphabet[] = L"<>/=\"&!?-[] \t\nab:_;\x4E2D\xD83D";
    std::mt19937 rnd(777);
    CXmlDocument document;
    for (int run = 0; run < 20000; ++run) {
        std::wstring text;
        const int length = static_cast<int>(rnd() % 60);
        for (int i = 0; i < length; ++i) {
            text += alphabet[rnd() % (std::size(alphabet) - 1)];
        }
        if (document.Load(text.c_str())) {
            Walk(document);
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

} // namespace

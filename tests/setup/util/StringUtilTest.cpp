#include "util/StringUtil.h"

#include <gtest/gtest.h>

using namespace ZVCore;

namespace {

struct AffixCase {
    std::wstring text;
    std::wstring affix;
    bool starts;
    bool ends;
    bool contains;
};

struct ReplaceCase {
    std::wstring text;
    std::wstring pattern;
    std::wstring replacement;
    std::wstring expected;
};

struct SplitCase {
    std::wstring text;
    wchar_t delimiter;
    std::vector<std::wstring> expected;
};

struct TrimCase {
    std::wstring text;
    std::wstring left;
    std::wstring right;
    std::wstring both;
};

} // namespace

TEST(StringUtil, PrefixSuffixAndContainment)
{
    const AffixCase cases[] = {
        {L"file:///C:/a.exe", L"file:///", true, false, true},
        {L"see file:///x", L"file:///", false, false, true},
        {L"abc", L"", true, true, true},
        {L"", L"", true, true, true},
        {L"a", L"ab", false, false, false},
        {L"abc", L"bc", false, true, true},
        {L"abc", L"abc", true, true, true},
        {L"ABC", L"abc", false, false, false},
    };
    for (const AffixCase& c : cases) {
        EXPECT_EQ(StartsWith(c.text, c.affix), c.starts) << c.text << L" / " << c.affix;
        EXPECT_EQ(EndsWith(c.text, c.affix), c.ends) << c.text << L" / " << c.affix;
        EXPECT_EQ(Contains(c.text, c.affix), c.contains) << c.text << L" / " << c.affix;
    }
}

TEST(StringUtil, ByteOverloadsMatchTheWideOnes)
{
    EXPECT_TRUE(StartsWith(std::string("file:///x"), std::string("file:///")));
    EXPECT_FALSE(StartsWith(std::string("x file:///"), std::string("file:///")));
    EXPECT_TRUE(EndsWith(std::string("setup.exe"), std::string(".exe")));
    EXPECT_FALSE(EndsWith(std::string("e"), std::string("xe")));
}

TEST(StringUtil, CharacterClassesAreAsciiOnly)
{
    EXPECT_TRUE(IsDigitChar(L'0'));
    EXPECT_TRUE(IsDigitChar(L'9'));
    EXPECT_FALSE(IsDigitChar(L'\uFF11')); // full-width one
    EXPECT_TRUE(IsLowerChar(L'z'));
    EXPECT_FALSE(IsLowerChar(L'\u00E9'));
    EXPECT_TRUE(IsUpperChar(L'A'));
    EXPECT_FALSE(IsUpperChar(L'a'));
    EXPECT_EQ(ToLowerChar(L'Q'), L'q');
    EXPECT_EQ(ToLowerChar(L'\u00C9'), L'\u00C9');
    EXPECT_EQ(ToUpperChar(L'q'), L'Q');
    EXPECT_EQ(ToUpperChar(L'1'), L'1');
}

TEST(StringUtil, TrimRemovesAsciiWhiteSpaceRuns)
{
    const TrimCase cases[] = {
        {L"  a b  ", L"a b  ", L"  a b", L"a b"},
        {L"\t\r\n x\v\f", L"x\v\f", L"\t\r\n x", L"x"},
        {L"   ", L"", L"", L""},
        {L"", L"", L"", L""},
        {L"\u3000x\u3000", L"\u3000x\u3000", L"\u3000x\u3000", L"\u3000x\u3000"}, // ideographic space is not ASCII
    };
    for (const TrimCase& c : cases) {
        EXPECT_EQ(TrimLeft(c.text), c.left) << c.text;
        EXPECT_EQ(TrimRight(c.text), c.right) << c.text;
        EXPECT_EQ(Trim(c.text), c.both) << c.text;
    }
}

TEST(StringUtil, ReplaceAllEndsForEveryPattern)
{
    const ReplaceCase cases[] = {
        {L"a-b-c", L"-", L"+", L"a+b+c"},
        {L"abc", L"", L"x", L"abc"},          // empty pattern
        {L"aXa", L"a", L"aa", L"aaXaa"},      // replacement contains the pattern
        {L"x", L"x", L"xx", L"xx"},
        {L"aaaa", L"aa", L"b", L"bb"},
        {L"abc", L"abc", L"", L""},
        {L"", L"a", L"b", L""},
        {L"C:\\a\\b", L"\\", L"/", L"C:/a/b"},
        {L"no match", L"zz", L"y", L"no match"},
    };
    for (const ReplaceCase& c : cases)
        EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.expected) << c.text << L" / " << c.pattern;
}

TEST(StringUtil, SplitStringPieces)
{
    const SplitCase cases[] = {
        {L"a  b", L' ', {L"a", L"", L"b"}},
        {L"a b ", L' ', {L"a", L"b"}},
        {L" a", L' ', {L"", L"a"}},
        {L"", L' ', {}},
        {L" ", L' ', {L""}},
        {L"one", L' ', {L"one"}},
        {L"x,y,,z", L',', {L"x", L"y", L"", L"z"}},
        {L"\u4E2D \u6587", L' ', {L"\u4E2D", L"\u6587"}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitString(c.text, c.delimiter), c.expected) << c.text;
}

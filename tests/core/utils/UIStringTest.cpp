// CUIString against std::wstring on generated operations, plus its storage rules.

#include "utils/UIString.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <random>
#include <string>

using ZvUI::CUIString;

namespace {

bool IsInline(const CUIString& s)
{
    auto* begin = reinterpret_cast<const char*>(&s);
    auto* data = reinterpret_cast<const char*>(s.GetData());
    return data >= begin && data < begin + sizeof(CUIString);
}

size_t BlockBytes(const CUIString& s)
{
    return _msize(const_cast<wchar_t*>(s.GetData()));
}

// Texts of 0..150 characters from a small alphabet, so searches hit often; includes
// code units above 0x8000 to catch signed comparisons.
std::wstring RandomText(std::mt19937& rng, int maxLength = 150)
{
    static const wchar_t alphabet[] = {L'a', L'b', L'c', L'A', L'Z', L'\x4E2D', L'\xFF21', L'\xE000'};
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(alphabet) / sizeof(alphabet[0])) - 1);
    std::wstring text(static_cast<size_t>(length(rng)), L' ');
    for (auto& ch : text) {
        ch = alphabet[pick(rng)];
    }
    return text;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

// Independent model of the replace rule: never search inside inserted text.
int ModelReplace(std::wstring& text, const std::wstring& what, const std::wstring& with)
{
    int count = 0;
    size_t pos = text.find(what);
    while (pos != std::wstring::npos) {
        text.replace(pos, what.size(), with);
        ++count;
        pos = text.find(what, pos + with.size());
    }
    return count;
}

void ExpectStorage(const CUIString& s)
{
    const int length = s.GetLength();
    if (length <= CUIString::kMaxInline) {
        EXPECT_TRUE(IsInline(s)) << "length " << length;
    } else {
        ASSERT_FALSE(IsInline(s)) << "length " << length;
        EXPECT_GE(BlockBytes(s), 2u * length + 2);
    }
}

} // namespace

// --- storage ---

TEST(UIString, SixtyTwoCharactersStayInline)
{
    CUIString s(std::wstring(62, L'x').c_str());
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(62, s.GetLength());
}

TEST(UIString, SixtyThreeCharactersGoToAHeapBlockOf128Bytes)
{
    CUIString s(std::wstring(63, L'x').c_str());
    ASSERT_FALSE(IsInline(s));
    EXPECT_EQ(128u, BlockBytes(s));
}

TEST(UIString, ShorterHeapTextReusesTheBlockUntilItFitsInline)
{
    CUIString s(std::wstring(100, L'x').c_str());
    LPCWSTR block = s.GetData();
    s = std::wstring(70, L'y').c_str();
    EXPECT_EQ(block, s.GetData());
    EXPECT_EQ(202u, BlockBytes(s));
    EXPECT_EQ(std::wstring(70, L'y'), s.GetData());

    s = std::wstring(10, L'z').c_str();
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"zzzzzzzzzz", s);
}

TEST(UIString, AppendPastTheThresholdMovesTheWholeTextToTheHeap)
{
    const std::wstring head(60, L'h');
    CUIString s(head.c_str());
    ASSERT_TRUE(IsInline(s));
    s.Append(L"0123456789");
    ASSERT_FALSE(IsInline(s));
    EXPECT_EQ(142u, BlockBytes(s));
    EXPECT_EQ(head + L"0123456789", s.GetData());
}

TEST(UIString, CopiesDoNotShareStorage)
{
    CUIString a(std::wstring(80, L'a').c_str());
    CUIString b(a);
    EXPECT_NE(a.GetData(), b.GetData());
    b.SetAt(0, L'b');
    EXPECT_EQ(L'a', a[0]);

    CUIString c(L"short");
    CUIString d(c);
    EXPECT_TRUE(IsInline(d));
    EXPECT_NE(c.GetData(), d.GetData());
}

// --- assignment ---

TEST(UIString, AssignTakesAtMostTheGivenLength)
{
    CUIString s;
    EXPECT_EQ(3, s.Assign(L"abcdef", 3));
    EXPECT_STREQ(L"abc", s);
    EXPECT_EQ(0, s.Assign(nullptr));
    EXPECT_TRUE(s.IsEmpty());
    // Stops at the text's own terminator.
    EXPECT_EQ(10, s.Assign(L"ab", 10));
    EXPECT_STREQ(L"ab", s);
    // The given length decides the storage, even past the text's end.
    EXPECT_EQ(100, s.Assign(L"ab", 100));
    EXPECT_STREQ(L"ab", s);
    EXPECT_EQ(202u, BlockBytes(s));
}

TEST(UIString, NullAndCharacterAssignments)
{
    CUIString s(std::wstring(90, L'q').c_str());
    s = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(IsInline(s));
    s = static_cast<LPCSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());

    s = std::wstring(90, L'q').c_str();
    s = L'k';
    EXPECT_STREQ(L"k", s);
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"z", CUIString(L'z'));
}

TEST(UIString, NarrowTextIsConvertedWithTheAnsiCodePage)
{
    CUIString s;
    s = "plain ascii";
    EXPECT_STREQ(L"plain ascii", s);
    s += " more";
    EXPECT_STREQ(L"plain ascii more", s);
    s += static_cast<LPCSTR>(nullptr);
    s += static_cast<LPCWSTR>(nullptr);
    EXPECT_STREQ(L"plain ascii more", s);
}

TEST(UIString, SelfAssignmentAndSelfAppendAreSafe)
{
    for (int length : {5, 40, 62, 63, 100}) {
        const std::wstring text(static_cast<size_t>(length), L'm');
        CUIString s(text.c_str());
        s = s;
        EXPECT_EQ(text, s.GetData());
        s.Assign(s.GetData() + 1);
        EXPECT_EQ(text.substr(1), s.GetData());
        s.Append(s.GetData());
        EXPECT_EQ(text.substr(1) + text.substr(1), s.GetData());
        ExpectStorage(s);
    }
}

// --- generated cases against std::wstring ---

TEST(UIString, GeneratedEditsMatchStdWstring)
{
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> op(0, 9);
    for (int round = 0; round < 300; ++round) {
        std::wstring model = RandomText(rng);
        CUIString s(model.c_str());
        for (int step = 0; step < 30; ++step) {
            const std::wstring arg = RandomText(rng, 40);
            switch (op(rng)) {
            case 0: s.Append(arg.c_str()); model += arg; break;
            case 1: s += arg.c_str(); model += arg; break;
            case 2: s += CUIString(arg.c_str()); model += arg; break;
            case 3: s += L'c'; model += L'c'; break;
            case 4: {
                // Lengths past the text are covered by AssignTakesAtMostTheGivenLength.
                std::uniform_int_distribution<int> within(-1, static_cast<int>(arg.size()));
                const int n = within(rng);
                const int used = s.Assign(arg.c_str(), n);
                model = n < 0 ? arg : arg.substr(0, static_cast<size_t>(n));
                EXPECT_EQ(n < 0 ? static_cast<int>(arg.size()) : n, used);
                break;
            }
            case 5: s = arg.c_str(); model = arg; break;
            case 6: s = s + arg.c_str(); model = model + arg; break;
            case 7: s = RandomText(rng, 200).c_str(); model = s.GetData(); break;
            case 8: s.Empty(); model.clear(); break;
            default: s = CUIString(s); break;
            }
            ASSERT_EQ(model, s.GetData()) << "round " << round << " step " << step;
            ASSERT_EQ(static_cast<int>(model.size()), s.GetLength());
            ASSERT_EQ(model.empty(), s.IsEmpty());
            ExpectStorage(s);
        }
    }
}

TEST(UIString, GeneratedSlicesMatchStdWstring)
{
    std::mt19937 rng(77);
    for (int round = 0; round < 2000; ++round) {
        const std::wstring model = RandomText(rng);
        const CUIString s(model.c_str());
        const int length = static_cast<int>(model.size());
        std::uniform_int_distribution<int> any(-5, length + 5);
        std::uniform_int_distribution<int> inside(0, length);

        const int n = any(rng);
        const size_t leftCount = static_cast<size_t>(n < 0 ? 0 : n);
        EXPECT_EQ(model.substr(0, leftCount), s.Left(n).GetData());
        const size_t rightCount = std::min(leftCount, model.size());
        EXPECT_EQ(model.substr(model.size() - rightCount), s.Right(n).GetData());

        const int start = inside(rng);
        const int count = any(rng);
        const std::wstring expected = count < 0 ? model.substr(static_cast<size_t>(start))
                                                : model.substr(static_cast<size_t>(start), static_cast<size_t>(count));
        EXPECT_EQ(expected, s.Mid(start, count).GetData()) << start << "," << count;
        EXPECT_EQ(model.substr(static_cast<size_t>(start)), s.Mid(start).GetData());
    }
}

TEST(UIString, GeneratedSearchesMatchStdWstring)
{
    std::mt19937 rng(4242);
    for (int round = 0; round < 2000; ++round) {
        const std::wstring model = RandomText(rng, 90);
        const CUIString s(model.c_str());
        const int length = static_cast<int>(model.size());
        std::uniform_int_distribution<int> start(0, length);
        const std::wstring needle = RandomText(rng, 3);
        const int from = start(rng);

        const size_t text = model.find(needle, static_cast<size_t>(from));
        EXPECT_EQ(text == std::wstring::npos ? -1 : static_cast<int>(text), s.Find(needle.c_str(), from));

        const wchar_t ch = needle.empty() ? L'a' : needle[0];
        const size_t one = model.find(ch, static_cast<size_t>(from));
        EXPECT_EQ(one == std::wstring::npos ? -1 : static_cast<int>(one), s.Find(ch, from));
        const size_t last = model.rfind(ch);
        EXPECT_EQ(last == std::wstring::npos ? -1 : static_cast<int>(last), s.ReverseFind(ch));

        const std::wstring other = RandomText(rng, 90);
        EXPECT_EQ(Sign(model.compare(other)), Sign(s.Compare(other.c_str())));
        EXPECT_EQ(model == other, s == other.c_str());
        EXPECT_EQ(model != other, s != other.c_str());
        EXPECT_EQ(model < other, s < other.c_str());
        EXPECT_EQ(model <= other, s <= other.c_str());
        EXPECT_EQ(model > other, s > other.c_str());
        EXPECT_EQ(model >= other, s >= other.c_str());
    }
}

TEST(UIString, GeneratedReplacementsMatchTheModel)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        std::wstring model = RandomText(rng, 120);
        CUIString s(model.c_str());
        std::wstring what = RandomText(rng, 3);
        if (what.empty()) {
            what = L"a";
        }
        const std::wstring with = RandomText(rng, 4);
        const int expected = ModelReplace(model, what, with);
        ASSERT_EQ(expected, s.Replace(what.c_str(), with.c_str()));
        ASSERT_EQ(model, s.GetData());
        ExpectStorage(s);
    }
}

// --- search and replace edges ---

TEST(UIString, FindBoundaries)
{
    const CUIString s(L"abcabc");
    EXPECT_EQ(6, s.Find(L"", 6));
    EXPECT_EQ(-1, s.Find(L'a', 6));
    EXPECT_EQ(-1, s.Find(L"a", 7));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(5, s.ReverseFind(L'c'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    EXPECT_EQ(-1, CUIString().Find(L'a', 0));
}

TEST(UIString, ReplaceNeverSearchesInsertedText)
{
    CUIString s(L"aaa");
    EXPECT_EQ(3, s.Replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaaaaa", s);
    EXPECT_EQ(0, s.Replace(L"x", L"y"));
    EXPECT_STREQ(L"aaaaaa", s);
}

TEST(UIString, ReplaceOfEmptySearchTextChangesNothing)
{
    CUIString s(L"abc");
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(0, s.Replace(nullptr, L"x"));
    EXPECT_STREQ(L"abc", s);
}

TEST(UIString, ReplaceWithItsOwnTextAsArgument)
{
    CUIString s(L"ab");
    EXPECT_EQ(1, s.Replace(s.GetData(), s.GetData()));
    EXPECT_STREQ(L"ab", s);
    EXPECT_EQ(1, s.Replace(L"b", nullptr));
    EXPECT_STREQ(L"a", s);
}

// --- case ---

TEST(UIString, CaseChangesAndComparisons)
{
    const CUIString s(L"MiXeD Case 12");
    EXPECT_STREQ(L"MIXED CASE 12", s.ToUpper());
    EXPECT_STREQ(L"mixed case 12", s.ToLower());
    EXPECT_STREQ(L"MiXeD Case 12", s);
    EXPECT_EQ(0, s.CompareNoCase(L"mixed CASE 12"));
    EXPECT_LT(s.CompareNoCase(L"mixed case 13"), 0);
    EXPECT_NE(0, s.Compare(L"mixed case 12"));

    CUIString t(L"Up");
    t.MakeUpper();
    EXPECT_STREQ(L"UP", t);
    t.MakeLower();
    EXPECT_STREQ(L"up", t);
}

// --- formatting ---

TEST(UIString, FormatUsesWideConventions)
{
    CUIString s;
    EXPECT_EQ(6, s.Format(L"%s=%d", L"abcd", 7));
    EXPECT_STREQ(L"abcd=7", s);

    const std::wstring wide(200, L'w');
    EXPECT_EQ(203, s.Format(L"[%s]%c", wide.c_str(), L'!'));
    EXPECT_EQ(L"[" + wide + L"]!", s.GetData());
    ExpectStorage(s);

    EXPECT_EQ(0, s.Format(L""));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(UIString, FormatShortWritesModifierTexts)
{
    CUIString s;
    EXPECT_EQ(16, s.FormatShort(L"dest='%d,%d,%d,%d'", 1, 2, 30, 40));
    EXPECT_STREQ(L"dest='1,2,30,40'", s);
    EXPECT_EQ(55, s.FormatShort(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", 1000, 2000, 3000, 4000, 1000, 2000,
                                3000, 4000));
    EXPECT_STREQ(L"dest='1000,2000,3000,4000' source='1000,2000,3000,4000'", s);
}

TEST(UIString, FormatShortCanUseItsOwnTextAsFormat)
{
    CUIString s(L"%d-%d");
    s.FormatShort(s, 1, 2);
    EXPECT_STREQ(L"1-2", s);
}

TEST(UIString, FormatShortCutsAtSixtyThreeCharacters)
{
    CUIString s;
    const std::wstring wide(100, L'x');
    EXPECT_EQ(63, s.FormatShort(L"%s", wide.c_str()));
    EXPECT_EQ(std::wstring(63, L'x'), s.GetData());
}

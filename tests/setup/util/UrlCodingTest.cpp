#include "util/UrlCoding.h"

#include <gtest/gtest.h>

using namespace ZVCore;

namespace {

struct ByteCase {
    std::string input;
    std::string expected;
};

} // namespace

TEST(UrlCoding, EncodeKeepsPrintableAsciiAndEscapesTheRest)
{
    const ByteCase cases[] = {
        {"", ""},
        {"abcXYZ019", "abcXYZ019"},
        {" \xC3\xA9", "+%C3%A9"},
        {"https://h:8443/a/b?c=d&e=%41", "https://h:8443/a/b?c=d&e=%41"},
        {"!~", "!~"},
        {std::string("\x01\x7F\x80\xFF\0", 5), "%01%7F%80%FF%00"},
        {"\t\r\n", "%09%0D%0A"},
    };
    for (const ByteCase& c : cases)
        EXPECT_EQ(UrlEncode(c.input), c.expected) << c.input;
}

TEST(UrlCoding, EncodeWideGoesThroughUtf8)
{
    EXPECT_EQ(UrlEncodeWide(L"http://localhost/a b/\u00E9"), L"http://localhost/a+b/%C3%A9");
    EXPECT_EQ(UrlEncodeWide(L"\u4E2D"), L"%E4%B8%AD");
    EXPECT_EQ(UrlEncodeWide(L"https://dl.velmora.com/openapi/download?ch=10009&app=50001"),
              L"https://dl.velmora.com/openapi/download?ch=10009&app=50001");
}

TEST(UrlCoding, DecodeUndoesOnlyEscapesThatAreNeeded)
{
    const ByteCase cases[] = {
        {"%41", "%41"},           // a letter stays escaped
        {"%39", "%39"},           // a digit too
        {"%2F%3A%3F%40", "%2F%3A%3F%40"},
        {"%20", " "},
        {"a+b", "a b"},
        {"%C3%A9", "\xC3\xA9"},
        {"%c3%a9", "\xC3\xA9"},
        {"%3c%3E", "<>"},
        {"%25", "%"},
        {"%", "%"},
        {"%4", "%4"},
        {"%zz1", "%zz1"},
        {"100%", "100%"},
        {"", ""},
    };
    for (const ByteCase& c : cases)
        EXPECT_EQ(UrlDecode(c.input), c.expected) << c.input;
}

TEST(UrlCoding, DecodeReversesEncodeOfNonAsciiBytes)
{
    const std::string bytes = "x \xE4\xB8\xAD<>";
    EXPECT_EQ(UrlDecode(UrlEncode(bytes)), bytes);
}

// Wide-to-multibyte conversion.

#include "utils/UIConvert.h"

#include <gtest/gtest.h>

#include <memory>

using ZvUI::UnicodeToMultiByte;

TEST(UnicodeToMultiByte, ConvertsIntoACallerOwnedBlock)
{
    struct Row { const wchar_t* wide; UINT codePage; const char* narrow; };
    const Row rows[] = {
        {L"", CP_UTF8, ""},
        {L"secret", CP_ACP, "secret"},
        {L"\x5BC6\x7801", CP_UTF8, "\xE5\xAF\x86\xE7\xA0\x81"},
        {L"\x00E9t\x00E9", CP_UTF8, "\xC3\xA9t\xC3\xA9"},
        {L"\x00E9t\x00E9", 1252, "\xE9t\xE9"},
    };
    for (const Row& row : rows) {
        std::unique_ptr<char[]> block(UnicodeToMultiByte(row.wide, row.codePage));
        ASSERT_NE(nullptr, block);
        EXPECT_STREQ(row.narrow, block.get());
    }
}

TEST(UnicodeToMultiByte, NullTextGivesNull)
{
    EXPECT_EQ(nullptr, UnicodeToMultiByte(nullptr, CP_ACP));
}

// The wait cursor shows exactly for the lifetime of the scope object.

#include "utils/UIBusyCursor.h"

#include <gtest/gtest.h>

TEST(UIBusyCursor, ShowsTheWaitCursorAndPutsTheOldOneBack)
{
    HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    ::SetCursor(hand);
    {
        ZvUI::CUIBusyCursor busy;
        EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), ::GetCursor());
        {
            ZvUI::CUIBusyCursor nested;
            EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), ::GetCursor());
        }
        EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), ::GetCursor());
    }
    EXPECT_EQ(hand, ::GetCursor());
}

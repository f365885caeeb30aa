// The attribute-value readers, and the controls of every folder reading one value alike.

#include "utils/UIAttributeValues.h"

#include <gtest/gtest.h>

#include <memory>

#include "combo/ComboUI.h"
#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "edit/EditUI.h"
#include "list/ListHeaderItemUI.h"
#include "listex/ListContainerHeaderItemUI.h"
#include "simple/HotKeyUI.h"

using namespace ZvUI;

namespace {

struct ColorCase {
    LPCWSTR value;
    DWORD lenient;
    DWORD noBlanks;
};

const ColorCase kColors[] = {
    {L"#FF102030", 0xFF102030, 0xFF102030},
    {L"FF102030", 0xFF102030, 0xFF102030},
    {L"  #FF102030", 0xFF102030, 0},
    {L"\t#ff102030", 0xFF102030, 0},
    {L"#", 0, 0},
    {L"", 0, 0},
    {L"zz", 0, 0},
    {nullptr, 0, 0},
};

struct RectCase {
    LPCWSTR value;
    RECT expected;
};

const RectCase kRects[] = {
    {L"1,2,3,4", {1, 2, 3, 4}},
    {L" 1, 2, 3, 4", {1, 2, 3, 4}},
    {L"-5,6,-7,8", {-5, 6, -7, 8}},
    // Exactly one separator is stepped over after each number, whatever it is.
    {L"x,1,2,3", {0, 0, 1, 2}},
    {L"1;2;3;4", {1, 2, 3, 4}},
    // The terminator is never stepped over: what is missing reads as 0.
    {L"1,2", {1, 2, 0, 0}},
    {L"7", {7, 0, 0, 0}},
    {L"", {0, 0, 0, 0}},
    {nullptr, {0, 0, 0, 0}},
};

} // namespace

TEST(AttributeValues, ColoursSkipBlanksUnlessAskedNotTo)
{
    for (const ColorCase& c : kColors) {
        SCOPED_TRACE(c.value != nullptr ? c.value : L"(null)");
        EXPECT_EQ(c.lenient, attr::ParseColor(c.value));
        EXPECT_EQ(c.noBlanks, attr::ParseColorNoBlanks(c.value));
    }
}

TEST(AttributeValues, RectsAndSizesStepOneSeparatorAndStopAtTheEnd)
{
    for (const RectCase& c : kRects) {
        SCOPED_TRACE(c.value != nullptr ? c.value : L"(null)");
        const RECT rc = attr::ParseRect(c.value);
        EXPECT_EQ(c.expected.left, rc.left);
        EXPECT_EQ(c.expected.top, rc.top);
        EXPECT_EQ(c.expected.right, rc.right);
        EXPECT_EQ(c.expected.bottom, rc.bottom);
        const SIZE size = attr::ParseSize(c.value);
        EXPECT_EQ(c.expected.left, size.cx);
        EXPECT_EQ(c.expected.top, size.cy);
    }
}

TEST(AttributeValues, BooleansNumbersAndNames)
{
    EXPECT_TRUE(attr::IsTrue(L"true"));
    EXPECT_TRUE(attr::IsTrue(L"TRUE"));
    EXPECT_FALSE(attr::IsTrue(L"1"));
    EXPECT_FALSE(attr::IsTrue(L" true"));
    EXPECT_FALSE(attr::IsTrue(nullptr));
    EXPECT_EQ(12, attr::ParseInt(L"12px"));
    EXPECT_EQ(-3, attr::ParseInt(L" -3"));
    EXPECT_EQ(0, attr::ParseInt(L"abc"));
    EXPECT_EQ(0, attr::ParseInt(nullptr));
    EXPECT_TRUE(attr::Is(L"TextColor", L"textcolor"));
    EXPECT_FALSE(attr::Is(nullptr, L"textcolor"));
    EXPECT_FALSE(attr::Is(L"textcolor", nullptr));
}

// A text colour and a text padding written the same way read the same in the core's label and
// button, the list's header item, the combo, the edit and the extended list's header item.
TEST(AttributeValues, EveryControlReadsTheSameValueAlike)
{
    auto label = std::make_unique<CLabelUI>();
    auto button = std::make_unique<CButtonUI>();
    auto option = std::make_unique<COptionUI>();
    auto edit = std::make_unique<CEditUI>();
    auto hotKey = std::make_unique<CHotKeyUI>();
    auto combo = std::make_unique<CComboUI>();
    auto header = std::make_unique<CListHeaderItemUI>();
    auto exHeader = std::make_unique<CListContainerHeaderItemUI>();
    CControlUI* all[] = {label.get(), button.get(), option.get(), edit.get(), hotKey.get(),
                         combo.get(), header.get(), exHeader.get()};
    for (CControlUI* control : all) {
        control->SetAttribute(L"textcolor", L" #FF102030");
        control->SetAttribute(L"textpadding", L"x,1,2,3");
    }
    const DWORD colors[] = {label->GetTextColor(), button->GetTextColor(), option->GetTextColor(),
                            edit->GetTextColor(), hotKey->GetTextColor(), combo->GetTextColor(),
                            header->GetTextColor(), exHeader->GetTextColor()};
    for (DWORD color : colors)
        EXPECT_EQ(0xFF102030u, color);
    const RECT paddings[] = {label->GetTextPadding(), button->GetTextPadding(), edit->GetTextPadding(),
                             combo->GetTextPadding(), header->GetTextPadding(), exHeader->GetTextPadding()};
    for (const RECT& rc : paddings) {
        EXPECT_EQ(0, rc.left);
        EXPECT_EQ(0, rc.top);
        EXPECT_EQ(1, rc.right);
        EXPECT_EQ(2, rc.bottom);
    }
}

// A value the caller could not find (null) is read as empty by every reader, not dereferenced.
TEST(AttributeValues, NullValuesReadAsEmpty)
{
    auto button = std::make_unique<CButtonUI>();
    button->SetAttribute(L"textcolor", nullptr);
    button->SetAttribute(L"hotbkcolor", nullptr);
    button->SetAttribute(L"textpadding", nullptr);
    button->SetAttribute(L"wordbreak", nullptr);
    button->SetAttribute(L"bkcolor", nullptr);
    button->SetAttribute(L"bordercolor", nullptr);
    button->SetAttribute(L"padding", nullptr);
    EXPECT_EQ(0u, button->GetTextColor());
    EXPECT_EQ(0u, button->GetHotBkColor());
    EXPECT_EQ(0u, button->GetBkColor());
    EXPECT_EQ(0u, button->GetBorderColor());
    auto option = std::make_unique<COptionUI>();
    option->SetAttribute(L"selectedtextcolor", nullptr);
    option->SetAttribute(L"selected", nullptr);
    EXPECT_FALSE(option->IsSelected());
}

// CUIPtrArray and CUIValArray against std::vector on generated operations, plus growth.

#include "utils/UIArray.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <algorithm>
#include <array>
#include <memory>
#include <cstring>
#include <random>
#include <vector>

using ZvUI::CUIPtrArray;
using ZvUI::CUIValArray;

namespace {

LPVOID P(uintptr_t v)
{
    return reinterpret_cast<LPVOID>(v);
}

size_t Slots(const CUIPtrArray& a)
{
    return a.GetData() == nullptr ? 0 : _msize(a.GetData()) / sizeof(LPVOID);
}

void ExpectSame(const std::vector<LPVOID>& model, const CUIPtrArray& a)
{
    ASSERT_EQ(static_cast<int>(model.size()), a.GetSize());
    EXPECT_EQ(model.empty(), a.IsEmpty());
    for (size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(model[i], a.GetAt(static_cast<int>(i))) << i;
        ASSERT_EQ(model[i], a[static_cast<int>(i)]) << i;
    }
    EXPECT_EQ(nullptr, a.GetAt(-1));
    EXPECT_EQ(nullptr, a.GetAt(a.GetSize()));
}

} // namespace

// --- growth ---

TEST(UIPtrArray, CapacityGoesElevenThenDoubles)
{
    struct Row { int adds; size_t slots; };
    const Row rows[] = {{0, 0}, {1, 11}, {10, 11}, {11, 22}, {21, 22}, {22, 44}, {43, 44}, {44, 88}};
    for (const Row& row : rows) {
        CUIPtrArray a;
        for (int i = 0; i < row.adds; ++i) {
            ASSERT_TRUE(a.Add(P(i + 1)));
        }
        EXPECT_EQ(row.slots, Slots(a)) << row.adds << " adds";
    }
}

TEST(UIPtrArray, PreallocationAndResize)
{
    CUIPtrArray a(5);
    EXPECT_EQ(5u, Slots(a));
    EXPECT_EQ(0, a.GetSize());

    a.Resize(4);
    EXPECT_EQ(4, a.GetSize());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(nullptr, a.GetAt(i));
    }
    EXPECT_TRUE(a.Add(P(9)));
    EXPECT_EQ(P(9), a.GetAt(4));

    a.Empty();
    EXPECT_EQ(nullptr, a.GetData());
    EXPECT_TRUE(a.IsEmpty());
}

// --- edits ---

TEST(UIPtrArray, InsertAtBounds)
{
    CUIPtrArray a;
    EXPECT_TRUE(a.InsertAt(0, P(1)));
    EXPECT_TRUE(a.InsertAt(a.GetSize(), P(3)));
    EXPECT_TRUE(a.InsertAt(1, P(2)));
    EXPECT_FALSE(a.InsertAt(a.GetSize() + 1, P(4)));
    EXPECT_FALSE(a.InsertAt(-1, P(4)));
    ExpectSame({P(1), P(2), P(3)}, a);
}

TEST(UIPtrArray, RemoveAndSetAtBounds)
{
    CUIPtrArray a;
    a.Add(P(1));
    a.Add(P(2));
    a.Add(P(3));
    EXPECT_TRUE(a.Remove(0));
    ExpectSame({P(2), P(3)}, a);
    EXPECT_FALSE(a.Remove(2));
    EXPECT_FALSE(a.Remove(-1));
    EXPECT_FALSE(a.SetAt(2, P(7)));
    EXPECT_TRUE(a.SetAt(1, P(7)));
    ExpectSame({P(2), P(7)}, a);
}

TEST(UIPtrArray, CopyHoldsTheSameItemsInItsOwnBlock)
{
    CUIPtrArray a;
    for (int i = 0; i < 30; ++i) {
        a.Add(P(i));
    }
    CUIPtrArray b(a);
    EXPECT_NE(a.GetData(), b.GetData());
    std::vector<LPVOID> model;
    for (int i = 0; i < 30; ++i) {
        model.push_back(P(i));
    }
    ExpectSame(model, b);
}

TEST(UIPtrArray, GeneratedEditsMatchStdVector)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> op(0, 5);
    std::uniform_int_distribution<uintptr_t> value(0, 50);
    for (int round = 0; round < 200; ++round) {
        CUIPtrArray a;
        std::vector<LPVOID> model;
        for (int step = 0; step < 100; ++step) {
            std::uniform_int_distribution<int> index(-2, static_cast<int>(model.size()) + 2);
            const int i = index(rng);
            const LPVOID p = P(value(rng));
            const bool inRange = i >= 0 && i < static_cast<int>(model.size());
            switch (op(rng)) {
            case 0:
            case 1:
                ASSERT_TRUE(a.Add(p));
                model.push_back(p);
                break;
            case 2: {
                const bool ok = i >= 0 && i <= static_cast<int>(model.size());
                ASSERT_EQ(ok, a.InsertAt(i, p));
                if (ok) {
                    model.insert(model.begin() + i, p);
                }
                break;
            }
            case 3:
                ASSERT_EQ(inRange, a.Remove(i));
                if (inRange) {
                    model.erase(model.begin() + i);
                }
                break;
            case 4:
                ASSERT_EQ(inRange, a.SetAt(i, p));
                if (inRange) {
                    model[static_cast<size_t>(i)] = p;
                }
                break;
            default: {
                auto it = std::find(model.begin(), model.end(), p);
                ASSERT_EQ(it == model.end() ? -1 : static_cast<int>(it - model.begin()), a.Find(p));
                break;
            }
            }
            ExpectSame(model, a);
            // One slot always stays free after growth.
            if (a.GetData() != nullptr) {
                EXPECT_LT(static_cast<size_t>(a.GetSize()), Slots(a));
            }
        }
    }
}

// --- CUIValArray ---

TEST(UIValArray, StoresByteCopies)
{
    struct Item { int a; double b; };
    CUIValArray v(sizeof(Item));
    for (int i = 0; i < 40; ++i) {
        Item item{i, i * 0.5};
        ASSERT_TRUE(v.Add(&item));
    }
    ASSERT_EQ(40, v.GetSize());
    for (int i = 0; i < 40; ++i) {
        auto* item = static_cast<Item*>(v.GetAt(i));
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(i, item->a);
        EXPECT_EQ(i * 0.5, item->b);
        EXPECT_EQ(v.GetAt(i), v[i]);
    }
    EXPECT_EQ(nullptr, v.GetAt(40));
    EXPECT_EQ(nullptr, v.GetAt(-1));
    EXPECT_EQ(44u * sizeof(Item), _msize(v.GetData()));
}

TEST(UIValArray, EmptyKeepsTheBlock)
{
    CUIValArray v(sizeof(int));
    int x = 5;
    v.Add(&x);
    LPVOID block = v.GetData();
    v.Empty();
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(block, v.GetData());
    x = 6;
    ASSERT_TRUE(v.Add(&x));
    EXPECT_EQ(block, v.GetData());
    EXPECT_EQ(6, *static_cast<int*>(v.GetAt(0)));
}

TEST(UIValArray, AddingItsOwnElementSurvivesGrowth)
{
    CUIValArray v(sizeof(int));
    for (int i = 0; i < 10; ++i) {
        v.Add(&i);
    }
    // The eleventh add reallocates while reading from the old block.
    ASSERT_TRUE(v.Add(v.GetAt(3)));
    EXPECT_EQ(3, *static_cast<int*>(v.GetAt(10)));
}

TEST(UIValArray, FailedGrowthLeavesTheArrayAsItWas)
{
    // Eleven elements of 200 MB pass the 2 GB a block may hold, in either build; the element is
    // real, so nothing is read past it whatever the array does. Its pages are never touched.
    const int elementSize = 200 * 1000 * 1000;
    std::unique_ptr<char[]> element(new char[elementSize]);
    CUIValArray v(elementSize);
    EXPECT_FALSE(v.Add(element.get()));
    EXPECT_EQ(0, v.GetSize());
    EXPECT_EQ(nullptr, v.GetData());
}

TEST(UIValArray, GeneratedRemovesMatchStdVector)
{
    std::mt19937 rng(5);
    CUIValArray v(3);
    std::vector<std::array<char, 3>> model;
    for (int step = 0; step < 3000; ++step) {
        std::uniform_int_distribution<int> index(-1, static_cast<int>(model.size()));
        if (rng() % 3 != 0) {
            std::array<char, 3> item{static_cast<char>(rng()), static_cast<char>(rng()), static_cast<char>(rng())};
            ASSERT_TRUE(v.Add(item.data()));
            model.push_back(item);
        } else {
            const int i = index(rng);
            const bool inRange = i >= 0 && i < static_cast<int>(model.size());
            ASSERT_EQ(inRange, v.Remove(i));
            if (inRange) {
                model.erase(model.begin() + i);
            }
        }
        ASSERT_EQ(static_cast<int>(model.size()), v.GetSize());
        for (size_t i = 0; i < model.size(); ++i) {
            ASSERT_EQ(0, memcmp(model[i].data(), v.GetAt(static_cast<int>(i)), 3));
        }
    }
}

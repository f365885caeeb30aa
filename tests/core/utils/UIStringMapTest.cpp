// CUIStringMap against a model of its buckets (contents checked with std::map), plus its hash.

#include "utils/UIStringMap.h"

#include <gtest/gtest.h>

#include <list>
#include <map>
#include <random>
#include <string>
#include <vector>

using ZvUI::CUIStringMap;

namespace {

LPVOID P(uintptr_t v)
{
    return reinterpret_cast<LPVOID>(v);
}

// Keys and values computed with Python: h = h*33 + c over the code units from last to first, mod 2**32.
struct HashRow { const wchar_t* key; UINT hash; UINT bucket83; UINT bucket16; };
const HashRow kHashes[] = {
    {L"ab", 3331u, 11, 3},
    {L"a", 97u, 14, 1},
    {L"", 0u, 0, 0},
    {L"installBtn", 3934393499u, 26, 11},
    {L"closebtn", 1370173114u, 67, 10},
    {L"kx_install_path", 2089714021u, 30, 5},
    {L"\x4E2D\x6587\x6309\x94AE", 1396321227u, 26, 11},
    {L"ZVMainFrame.xml", 3757285567u, 67, 15},
    {L"the quick brown fox jumps over the lazy dog", 2863918617u, 48, 9},
};

// Bucket chains of the expected map; which bucket a key lands in comes from the checked hash.
class Model {
public:
    explicit Model(UINT buckets) : m_buckets(buckets) {}

    std::list<std::wstring>& Chain(const std::wstring& key)
    {
        return m_buckets[CUIStringMap::HashKey(key.c_str()) % m_buckets.size()];
    }
    void ToFront(const std::wstring& key)
    {
        auto& chain = Chain(key);
        chain.remove(key);
        chain.push_front(key);
    }
    std::vector<std::wstring> Order() const
    {
        std::vector<std::wstring> order;
        for (auto it = m_buckets.rbegin(); it != m_buckets.rend(); ++it) {
            order.insert(order.end(), it->begin(), it->end());
        }
        return order;
    }

    std::map<std::wstring, LPVOID> values;

private:
    std::vector<std::list<std::wstring>> m_buckets;
};

void ExpectSame(Model& model, const CUIStringMap& map)
{
    ASSERT_EQ(static_cast<int>(model.values.size()), map.GetSize());
    const auto order = model.Order();
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_NE(nullptr, map.GetAt(static_cast<int>(i)));
        ASSERT_EQ(order[i], map.GetAt(static_cast<int>(i))) << "position " << i;
    }
    EXPECT_EQ(nullptr, map.GetAt(static_cast<int>(order.size())));
    for (const auto& entry : model.values) {
        EXPECT_EQ(entry.second, map.Find(entry.first.c_str(), false));
    }
}

std::wstring RandomKey(std::mt19937& rng)
{
    static const wchar_t alphabet[] = L"abcXYZ_\x4E2D";
    std::uniform_int_distribution<int> length(0, 4);
    std::uniform_int_distribution<int> pick(0, 7);
    std::wstring key(static_cast<size_t>(length(rng)), L' ');
    for (auto& ch : key) {
        ch = alphabet[pick(rng)];
    }
    return key;
}

} // namespace

// --- hashing and buckets ---

TEST(UIStringMap, HashRunsFromTheLastCharacterToTheFirst)
{
    for (const HashRow& row : kHashes) {
        EXPECT_EQ(row.hash, CUIStringMap::HashKey(row.key)) << static_cast<const void*>(row.key);
        EXPECT_EQ(row.bucket83, row.hash % 83u);
    }
}

TEST(UIStringMap, KeysSharingABucketComeOutMostRecentFirst)
{
    // installBtn and the Chinese key share bucket 26, closebtn and ZVMainFrame.xml bucket 67.
    CUIStringMap map;
    ASSERT_TRUE(map.Insert(L"installBtn", P(1)));
    ASSERT_TRUE(map.Insert(L"closebtn", P(2)));
    ASSERT_TRUE(map.Insert(L"\x4E2D\x6587\x6309\x94AE", P(3)));
    ASSERT_TRUE(map.Insert(L"ZVMainFrame.xml", P(4)));
    ASSERT_TRUE(map.Insert(L"ab", P(5)));
    EXPECT_STREQ(L"ZVMainFrame.xml", map.GetAt(0));
    EXPECT_STREQ(L"closebtn", map.GetAt(1));
    EXPECT_STREQ(L"\x4E2D\x6587\x6309\x94AE", map.GetAt(2));
    EXPECT_STREQ(L"installBtn", map.GetAt(3));
    EXPECT_STREQ(L"ab", map[4]);

    EXPECT_EQ(P(1), map.Find(L"installBtn"));
    EXPECT_STREQ(L"installBtn", map.GetAt(2));
    EXPECT_EQ(P(2), map.Find(L"closebtn", false));
    EXPECT_STREQ(L"ZVMainFrame.xml", map.GetAt(0));
}

TEST(UIStringMap, FewerThanSixteenBucketsBecomeSixteen)
{
    CUIStringMap map(5);
    // With 16 buckets: "ab" in 3, "a" in 1, "" in 0; visited from the last bucket.
    map.Insert(L"", P(1));
    map.Insert(L"a", P(2));
    map.Insert(L"ab", P(3));
    EXPECT_STREQ(L"ab", map.GetAt(0));
    EXPECT_STREQ(L"a", map.GetAt(1));
    EXPECT_STREQ(L"", map.GetAt(2));
}

// --- insert and set ---

TEST(UIStringMap, InsertRefusesAPresentKeyAndSetReplaces)
{
    CUIStringMap map;
    EXPECT_TRUE(map.Insert(L"k", P(1)));
    EXPECT_FALSE(map.Insert(L"k", P(2)));
    EXPECT_EQ(P(1), map.Find(L"k"));
    EXPECT_EQ(P(1), map.Set(L"k", P(3)));
    EXPECT_EQ(P(3), map.Find(L"k"));
    EXPECT_EQ(nullptr, map.Set(L"new", P(4)));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_EQ(nullptr, map.Find(L"K")) << "keys are case-sensitive";
}

TEST(UIStringMap, AKeyWithANullValueIsNotDuplicated)
{
    CUIStringMap map;
    EXPECT_TRUE(map.Insert(L"k", nullptr));
    EXPECT_FALSE(map.Insert(L"k", P(5)));
    EXPECT_EQ(1, map.GetSize());
    EXPECT_TRUE(map.Remove(L"k"));
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.GetAt(0));
}

// --- maps without buckets or items ---

TEST(UIStringMap, MapWithoutBucketsRefusesEverything)
{
    CUIStringMap map;
    map.Insert(L"gone", P(1));
    EXPECT_EQ(0, map.Resize(0));
    EXPECT_EQ(0, map.GetSize());
    EXPECT_FALSE(map.Insert(L"a", P(1)));
    EXPECT_EQ(P(7), map.Set(L"a", P(7)));
    EXPECT_EQ(nullptr, map.Find(L"a"));
    EXPECT_FALSE(map.Remove(L"a"));
    EXPECT_EQ(nullptr, map.GetAt(0));
    EXPECT_EQ(0, map.Resize(-4));

    EXPECT_EQ(3, map.Resize(3));
    EXPECT_TRUE(map.Insert(L"a", P(1)));
}

TEST(UIStringMap, RemoveAllKeepsTheBuckets)
{
    CUIStringMap map;
    for (int i = 0; i < 50; ++i) {
        map.Insert(std::to_wstring(i).c_str(), P(i + 1));
    }
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.Find(L"1"));
    EXPECT_FALSE(map.Remove(L"1"));
    EXPECT_TRUE(map.Insert(L"1", P(1)));
}

// --- generated cases ---

TEST(UIStringMap, GeneratedOperationsMatchTheModel)
{
    std::mt19937 rng(8383);
    for (int buckets : {83, 16, 1}) {
        CUIStringMap map(buckets);
        if (buckets < 16) {
            map.Resize(buckets);
        }
        Model model(static_cast<UINT>(buckets));
        std::uniform_int_distribution<int> op(0, 4);
        for (int step = 0; step < 4000; ++step) {
            const std::wstring key = RandomKey(rng);
            const LPVOID value = P(rng() % 1000 + 1);
            const bool present = model.values.count(key) != 0;
            switch (op(rng)) {
            case 0:
                ASSERT_EQ(!present, map.Insert(key.c_str(), value));
                if (!present) {
                    model.values[key] = value;
                }
                model.ToFront(key);
                break;
            case 1: {
                const LPVOID previous = present ? model.values[key] : nullptr;
                ASSERT_EQ(previous, map.Set(key.c_str(), value));
                if (!present) {
                    model.ToFront(key);
                }
                model.values[key] = value;
                break;
            }
            case 2: {
                const bool moveToFront = rng() % 2 == 0;
                ASSERT_EQ(present ? model.values[key] : nullptr, map.Find(key.c_str(), moveToFront));
                if (present && moveToFront) {
                    model.ToFront(key);
                }
                break;
            }
            default:
                ASSERT_EQ(present, map.Remove(key.c_str()));
                model.values.erase(key);
                model.Chain(key).remove(key);
                break;
            }
            if (step % 50 == 0) {
                ExpectSame(model, map);
            }
        }
        ExpectSame(model, map);
    }
}

// The user profile store: the saved structure, its limits, and two threads using it at once.
#include "util/AppFolders.h"
#include "util/ZVUserProfile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

using namespace ZVCore;

namespace {

bool ReadSaved(ZVUserProfileData& data)
{
    return GetPrivateProfileStructW(L"zv_user_profile", L"zv_user_main_key", &data, sizeof(data),
                                    GetUserIniPath().c_str()) != FALSE;
}

class UserProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZVUserProfile& profile = ZVUserProfile::Instance();
        profile.SetText4("");
        profile.SetUserId(0);
    }
    // Everything saved lives below the roaming folder's "Roaming\data".
    void TearDown() override
    {
        DeleteFileW(GetUserIniPath().c_str());
        const std::wstring roaming = GetRoamingDataFolder();
        DeleteFolderTree(roaming.substr(0, roaming.size() - std::wstring(L"\\data\\zv\\data").size()));
    }
};

} // namespace

TEST_F(UserProfileTest, SavedStructureKeepsItsLimitsAndResetClearsIt)
{
    ZVUserProfile& profile = ZVUserProfile::Instance();
    profile.SetUserId(0x123456789ALL);
    profile.SetText4(std::string(3000, 'k')); // longer than its field
    profile.SetLevel(-5);
    ZVUserProfileData data = {};
    ASSERT_TRUE(ReadSaved(data));
    EXPECT_EQ(data.userId, 0x123456789ALL);
    EXPECT_EQ(data.level, 0); // negative levels are saved as 0
    EXPECT_EQ(std::strlen(data.text4), 2047u);

    profile.SetText2("name");
    profile.Reset();
    EXPECT_TRUE(profile.IsText2Empty());
    ASSERT_TRUE(ReadSaved(data));
    EXPECT_EQ(data.userId, 0);
    EXPECT_EQ(data.level, 1);
    EXPECT_STREQ(data.text4, "");
}

TEST_F(UserProfileTest, ALongTextIsCutBeforeACharacterThatDoesNotFitWhole)
{
    ZVUserProfile& profile = ZVUserProfile::Instance();
    // "中" is three bytes: 2046 bytes of ASCII leave room for one byte of it only.
    const std::string cjk = "\xE4\xB8\xAD";
    struct Case {
        size_t ascii;
        size_t kept;
    };
    for (const Case& c : {Case{2046, 2046}, Case{2045, 2045}, Case{2044, 2047}, Case{2047, 2047}}) {
        profile.SetText4(std::string(c.ascii, 'a') + cjk + cjk);
        const ZVUserProfileData data = profile.Snapshot();
        const std::string saved = data.text4;
        EXPECT_EQ(saved.size(), c.kept) << c.ascii;
        EXPECT_EQ(saved.substr(0, std::min(c.ascii, c.kept)), std::string(std::min(c.ascii, c.kept), 'a'));
        if (c.kept > c.ascii)
            EXPECT_EQ(saved.substr(c.ascii), cjk) << c.ascii;
    }
    // A text that fits is kept whole, whatever it ends with.
    profile.SetText4("x" + cjk);
    EXPECT_EQ(std::string(profile.Snapshot().text4), "x" + cjk);
}

TEST_F(UserProfileTest, TwoThreadsSavingAtOnceLeaveAConsistentFile)
{
    ZVUserProfile& profile = ZVUserProfile::Instance();
    auto worker = [&profile](char fill, int64_t id) {
        for (int i = 0; i < 60; ++i) {
            profile.SetText4(std::string(100 + i, fill));
            profile.SetUserId(id);
            profile.SetLevel(i % 5);
            profile.SetText1(std::string(i, fill));
        }
    };
    std::thread a(worker, 'a', 1);
    std::thread b(worker, 'b', 2);
    a.join();
    b.join();
    ASSERT_TRUE(profile.Save());

    ZVUserProfileData data = {};
    ASSERT_TRUE(ReadSaved(data));
    const std::string text4 = data.text4;
    ASSERT_GE(text4.size(), 100u);
    // One writer's text, never a mix of both.
    EXPECT_EQ(text4, std::string(text4.size(), text4[0]));
    EXPECT_TRUE(data.userId == 1 || data.userId == 2);
    EXPECT_EQ(data.level, profile.GetLevel());
}

// The process-wide record of the signed-in user's state, saved as one structure to user.ini.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace ZVCore {

// The structure saved to user.ini, byte for byte.
#pragma pack(push, 1)
struct ZVUserProfileData {
    int64_t userId;
    char text4[2048];
    int32_t level; // negative levels are saved as 0
    char text5[33];
    char padding[3];
};
#pragma pack(pop)
static_assert(sizeof(ZVUserProfileData) == 2096, "user.ini holds a 2096-byte structure");

class ZVUserProfile {
public:
    // Built on first use from any thread; loads nothing.
    static ZVUserProfile& Instance();

    ZVUserProfile(const ZVUserProfile&) = delete;
    ZVUserProfile& operator=(const ZVUserProfile&) = delete;

    void SetText1(const std::string& text);
    void SetText2(const std::string& text);
    void SetText3(const std::string& text);
    void SetText4(const std::string& text);
    // Copies, taken under the texts' locks.
    [[nodiscard]] std::string GetText3() const;
    [[nodiscard]] std::string GetText5() const;
    [[nodiscard]] bool IsText2Empty() const;

    // Exchanges the level, then saves.
    void SetLevel(int level);
    [[nodiscard]] int GetLevel() const { return m_level.load(); }
    [[nodiscard]] int GetLevelLocked() const;
    [[nodiscard]] bool IsLevelAboveOne() const { return m_level.load() > 1; }
    [[nodiscard]] bool HasHigherLevel() const { return m_level.load() > 1 || m_secondLevel.load() > 1; }

    void SetUserId(int64_t id) { m_userId.store(id); }
    [[nodiscard]] int64_t GetUserId() const { return m_userId.load(); }

    // Level 1, user id 0, texts 2 and 4 emptied; saved.
    void Reset();
    // Writes the current values to user.ini (its folder is made when missing); texts longer
    // than their fields are cut. False when the file cannot be written.
    bool Save();
    // The structure Save writes for the current values.
    [[nodiscard]] ZVUserProfileData Snapshot() const;

private:
    ZVUserProfile() = default;

    mutable std::mutex m_lockA; // texts 1 to 3 and the level
    std::atomic<int64_t> m_userId{0};
    std::string m_text1;
    std::string m_text2;
    std::string m_text3;
    std::atomic<int> m_level{0};
    std::atomic<int> m_secondLevel{0};
    mutable std::mutex m_lockB; // texts 4 and 5
    std::string m_text4;
    std::string m_text5;
};

} // namespace ZVCore

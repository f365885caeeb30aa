#include "util/ZVUserProfile.h"

#include "ShellFunctions.h"
#include "util/AppFolders.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

namespace ZVCore {

namespace {

constexpr wchar_t kSection[] = L"zv_user_profile";
constexpr wchar_t kKey[] = L"zv_user_main_key";

// Copies UTF-8 text into a zero-terminated field, cutting what does not fit before the
// character that would not fit whole, never inside it.
template <size_t N>
void CopyField(char (&field)[N], const std::string& text)
{
    size_t length = text.size() < N - 1 ? text.size() : N - 1;
    if (length < text.size()) {
        // Continuation bytes are 10xxxxxx: back off to the lead byte of the cut character.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

void SetUnder(std::mutex& lock, std::string& field, const std::string& text)
{
    std::lock_guard<std::mutex> guard(lock);
    field = text;
}

} // namespace

ZVUserProfile& ZVUserProfile::Instance()
{
    static std::mutex creation;
    std::lock_guard<std::mutex> lock(creation);
    static ZVUserProfile profile;
    return profile;
}

void ZVUserProfile::SetText1(const std::string& text)
{
    SetUnder(m_lockA, m_text1, text);
}

void ZVUserProfile::SetText2(const std::string& text)
{
    SetUnder(m_lockA, m_text2, text);
}

void ZVUserProfile::SetText3(const std::string& text)
{
    SetUnder(m_lockA, m_text3, text);
}

void ZVUserProfile::SetText4(const std::string& text)
{
    SetUnder(m_lockB, m_text4, text);
}

std::string ZVUserProfile::GetText3() const
{
    std::lock_guard<std::mutex> lock(m_lockA);
    return m_text3;
}

std::string ZVUserProfile::GetText5() const
{
    std::lock_guard<std::mutex> lock(m_lockB);
    return m_text5;
}

bool ZVUserProfile::IsText2Empty() const
{
    std::lock_guard<std::mutex> lock(m_lockA);
    return m_text2.empty();
}

void ZVUserProfile::SetLevel(int level)
{
    {
        std::lock_guard<std::mutex> lock(m_lockA);
        m_level.exchange(level);
    }
    Save();
}

int ZVUserProfile::GetLevelLocked() const
{
    std::lock_guard<std::mutex> lock(m_lockA);
    return m_level.load();
}

void ZVUserProfile::Reset()
{
    SetLevel(1);
    m_userId.store(0);
    {
        std::lock_guard<std::mutex> lock(m_lockA);
        m_text2.clear();
    }
    {
        std::lock_guard<std::mutex> lock(m_lockB);
        m_text4.clear();
    }
    Save();
}

ZVUserProfileData ZVUserProfile::Snapshot() const
{
    ZVUserProfileData data = {};
    data.userId = m_userId.load();
    const int level = m_level.load();
    data.level = level < 0 ? 0 : level;
    // Under the lock: another thread may be replacing the texts meanwhile.
    std::lock_guard<std::mutex> lock(m_lockB);
    CopyField(data.text4, m_text4);
    CopyField(data.text5, m_text5);
    return data;
}

bool ZVUserProfile::Save()
{
    ZVUserProfileData data = Snapshot();
    const std::wstring path = GetUserIniPath();
    if (path.empty())
        return false;
    const std::wstring folder = GetRoamingDataFolder();
    if (!PathIsDirectoryW(folder.c_str()))
        MakeDirectoryPath(folder);
    return WritePrivateProfileStructW(kSection, kKey, &data, sizeof(data), path.c_str()) != FALSE;
}

} // namespace ZVCore

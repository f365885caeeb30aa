#include "AppIni.h"

#include <windows.h>

#include <clocale>

namespace {

constexpr wchar_t kSection[] = L"Install";
constexpr wchar_t kMissing[] = L"error";
constexpr DWORD kValueSize = 260;

// The product reads its settings expecting this locale.
void UseSettingsLocale()
{
    _wsetlocale(LC_ALL, L"en_GB.UTF-8");
}

} // namespace

CAppIni::CAppIni(const std::wstring& dataFolder)
    : m_path(dataFolder.empty() ? std::wstring() : dataFolder + L"\\APP.ini")
{
}

bool CAppIni::PrepareInstall() const
{
    bool ok = true;
    if (ReadInstallValue(L"channel") == kMissing)
        ok = WriteInstallValue(L"channel", L"darozeved");
    return WriteInstallValue(L"active", L"0") && ok;
}

bool CAppIni::IsSetupActive() const
{
    return ReadInstallValue(L"active") == L"1";
}

std::wstring CAppIni::ReadInstallValue(const std::wstring& key) const
{
    if (m_path.empty())
        return kMissing;
    UseSettingsLocale();
    wchar_t value[kValueSize] = {};
    const DWORD length = GetPrivateProfileStringW(kSection, key.c_str(), kMissing, value, kValueSize, m_path.c_str());
    return std::wstring(value, length);
}

bool CAppIni::WriteInstallValue(const std::wstring& key, const std::wstring& value) const
{
    if (m_path.empty())
        return false;
    UseSettingsLocale();
    return WritePrivateProfileStringW(kSection, key.c_str(), value.c_str(), m_path.c_str()) != FALSE;
}

// The setup side of APP.ini in the data folder: the channel mark and the "active" handshake.
#pragma once

#include <string>

class CAppIni {
public:
    explicit CAppIni(const std::wstring& dataFolder);

    [[nodiscard]] const std::wstring& GetPath() const { return m_path; }

    // Before a download: marks the channel when none is set yet and resets "active" to "0".
    bool PrepareInstall() const;
    // True once the full setup has written "1" to Install/active.
    [[nodiscard]] bool IsSetupActive() const;

    // Values of section "Install", read into 260 characters with the default "error".
    [[nodiscard]] std::wstring ReadInstallValue(const std::wstring& key) const;
    bool WriteInstallValue(const std::wstring& key, const std::wstring& value) const;

private:
    std::wstring m_path;
};

// Process-wide install options: install folder, desktop-shortcut and taskbar flags.
#pragma once

#include <string>

class CInstallOptions {
public:
    // Created on the first call (whichever thread comes first); lives until the process ends.
    [[nodiscard]] static CInstallOptions& Instance();

    CInstallOptions(const CInstallOptions&) = delete;
    CInstallOptions& operator=(const CInstallOptions&) = delete;

    // The fields are not locked: they are read and written on the UI thread only.
    [[nodiscard]] const std::wstring& GetInstallFolder() const { return m_installFolder; }
    void SetInstallFolder(const std::wstring& folder) { m_installFolder = folder; }
    [[nodiscard]] bool IsDesktopShortcut() const { return m_desktopShortcut; }
    void SetDesktopShortcut(bool on) { m_desktopShortcut = on; }
    [[nodiscard]] bool IsTaskbar() const { return m_taskbar; }
    void SetTaskbar(bool on) { m_taskbar = on; }

    // Install folder + "\Velmora".
    [[nodiscard]] std::wstring ProductFolder() const;

private:
    CInstallOptions();

    std::wstring m_installFolder;
    bool m_desktopShortcut = true;
    bool m_taskbar = true;
};

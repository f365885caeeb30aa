// Start of the downloaded full setup with the chosen install options.
#pragma once

#include <string>

// "-instdir=" + installFolder + " -dsc=" + "true" or "false".
[[nodiscard]] std::wstring MakeHandOffParameters(const std::wstring& installFolder, bool desktopShortcut);
// Opens the full setup at targetPath with the parameters of the install options; true when the
// shell started it.
bool StartFullSetup(const std::wstring& targetPath);

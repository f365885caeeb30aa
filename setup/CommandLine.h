// The setup program's command line: switches of other installers, accepted without effect.
#pragma once

#include <string>

struct SetupCommandLine {
    bool silent = false;   // a silent switch was given
    std::wstring folder;   // text behind the last install-folder option found
};

// Splits at every blank and checks each token against the silent switches (exactly, with
// case) and, failing those, the install-folder options (anywhere in the token).
[[nodiscard]] SetupCommandLine ParseSetupCommandLine(const std::wstring& commandLine);

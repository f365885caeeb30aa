#pragma once
// Starting outside programs: the hand-off to the application and opening files as the shell does.

#include <QString>

// Velmora.exe may keep its retention screen up this long before the uninstaller goes on.
constexpr int kRetentionWaitMs = 43200000;

// True when user/uninstreturn in APP.ini reads as 0 or less (missing and non-numbers count as 0).
bool needsUninstallReturn();

// user/type from APP.ini, read as GetPrivateProfileInt reads it; 0 when missing or not a number.
int readUserType();

// Install/exepath from APP.ini when it names an existing folder by an absolute path,
// otherwise empty: nothing may be started or moved from an unknown place.
QString installFolder();

// Runs Velmora.exe from the install folder with "-uninstall" and waits up to waitMs.
// True when the application then changed user/type to a value above 1, which ends the
// uninstaller. A program still running after the wait is left running.
bool runRetentionHandOff(int waitMs);

// Opens a program as the shell's "open" verb does, with no arguments; not waited for.
// False when it could not be started.
[[nodiscard]] bool openProgram(const QString &path);

enum class RemoverStart {
    Started,
    NoInstallFolder, // Install/exepath names no existing folder
    NoRemover,       // neither uninst.data nor nuninst.exe in the folder
    MoveFailed,      // uninst.data could not become nuninst.exe
    OpenFailed,      // nuninst.exe would not start
};

// Moves the package's remover uninst.data in the install folder to nuninst.exe and opens it.
// A nuninst.exe alone is the remover an earlier run moved there and did not see through: it
// is opened as it is. Beside a uninst.data it is the previous package's, and is replaced.
[[nodiscard]] RemoverStart startRemover();

// The per-user data folder AppData\Roaming\Velmora and the names of files in it.
#pragma once

#include <string>

// The data folder next to the local application-data folder ("...\AppData\Local" becomes
// "...\AppData\Roaming\Velmora"). When the local folder does not end in "\Local" it cannot be
// cut, and the shell's roaming folder + "\Velmora" is used; empty when both are unknown.
[[nodiscard]] std::wstring DataFolderFrom(const std::wstring& localAppData, const std::wstring& roamingAppData);
// DataFolderFrom with the shell's folders of the current user.
[[nodiscard]] std::wstring GetDataFolder();
// GetDataFolder, created when missing (a failure shows later, when its files are used).
[[nodiscard]] std::wstring PrepareDataFolder();

// Creates each missing folder along path, at every "\" and at the end. Paths of 261 or more
// characters are refused. False when a folder neither exists nor can be created.
bool CreateDirectoryChain(const std::wstring& path);

// dataFolder + "\" + a new GUID as 32 upper-case hexadecimal digits + ".exe"; empty when the
// folder is empty, no GUID could be made or the name would not fit in MAX_PATH.
[[nodiscard]] std::wstring MakeDownloadTarget(const std::wstring& dataFolder);

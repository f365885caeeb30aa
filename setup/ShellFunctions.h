// Path, folder-picker and shell functions of the setup program.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// Folder of the running program, without a trailing separator.
[[nodiscard]] std::wstring GetProgramFolder();
// A shell folder by CSIDL; empty when the shell does not know it.
[[nodiscard]] std::wstring GetSpecialFolder(int csidl);
// Program-files folder + "\Velmora" ("Program Files (x86)" for this 32-bit program on 64-bit Windows).
[[nodiscard]] std::wstring GetDefaultInstallFolder();
// Mean of the screen's horizontal and vertical pixels per inch.
[[nodiscard]] int GetScreenDpi();
// Creates every missing folder along path, turning its separators into "/". Paths of more
// than 259 characters are refused. True when the whole path exists afterwards.
bool MakeDirectoryPath(const std::wstring& path);
// Opens target with the shell's "open" verb.
HINSTANCE OpenWithShell(const std::wstring& target);
// The file-system path of a shell item; empty when the item has none.
[[nodiscard]] std::wstring PathFromItemList(PCIDLIST_ABSOLUTE items);
// The folder picker's callback: selects the folder given as its data once the picker is ready.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data);
// The folder picker opened at startFolder; empty when cancelled or when the chosen item is
// not a file-system object. COM must be initialised on the calling thread.
[[nodiscard]] std::wstring BrowseForFolder(HWND owner, const std::wstring& startFolder);

// The common file, folder and colour dialogs of the utility module; empty results when cancelled.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ZVCore {

// The owner is the foreground window. A null filter offers all files, a null title asks for one file.
[[nodiscard]] std::wstring OpenFileDialog(const wchar_t* filter, const wchar_t* title,
                                          const std::wstring& startFolder);
[[nodiscard]] std::wstring SaveFileDialog(const std::wstring& initialName, const wchar_t* filter,
                                          const wchar_t* title, const std::wstring& startFolder);
// One task file, or several (the folder first, then each chosen name), from "Missions\".
[[nodiscard]] std::wstring OpenTaskFileDialog(HWND owner, const std::wstring& initialName, const wchar_t* filter);
[[nodiscard]] std::vector<std::wstring> OpenTaskFilesDialog(HWND owner, const std::wstring& initialName,
                                                            const wchar_t* filter);
// The folder picker opened at path; true and the chosen folder in path on OK.
bool BrowseFolderDialog(std::wstring& path);
// The chosen colour as opaque ARGB; initial when cancelled.
[[nodiscard]] DWORD ChooseColorDialog(HWND owner, DWORD initial);

// The pieces of a multi-select answer: zero-terminated texts up to an empty one.
[[nodiscard]] std::vector<std::wstring> SplitMultiSelection(const wchar_t* buffer, size_t size);

} // namespace ZVCore

// Shell links, Start-menu entries, taskbar pinning and the shell's error texts.
#pragma once

#include <string>

namespace ZVCore {

// Writes a shell link at shortcutFile; the icon location is the short form of iconFile when it
// exists. COM must be initialised on the calling thread.
bool CreateShortcut(const std::wstring& target, const std::wstring& workingFolder, const std::wstring& description,
                    const std::wstring& iconFile, int iconIndex, const std::wstring& shortcutFile);
// The same writer under its second name.
bool CreateShortcutFile(const std::wstring& target, const std::wstring& workingFolder,
                        const std::wstring& description, const std::wstring& iconFile, int iconIndex,
                        const std::wstring& shortcutFile);
// Creates folder (made when missing and announced to the shell) with "<name>.lnk" for program and
// "卸载<name>.lnk" for uninstaller. False when a path is too long or a link cannot be written.
bool CreateShortcutsIn(const std::wstring& folder, const std::wstring& program, const std::wstring& uninstaller,
                       const std::wstring& workingFolder, const std::wstring& name,
                       const std::wstring& description);
// CreateShortcutsIn the all-users Programs folder + "\<name>".
bool CreateStartMenuShortcuts(const std::wstring& program, const std::wstring& uninstaller,
                              const std::wstring& workingFolder, const std::wstring& name,
                              const std::wstring& description);

bool PinToTaskbar(const std::wstring& target, const std::wstring& workingFolder, const std::wstring& description,
                  const std::wstring& name, int iconIndex);
bool UnpinFromTaskbar(const std::wstring& name);
bool TaskbarPinVerb(const std::wstring& file);
bool TaskbarUnpinVerb(const std::wstring& file);

// The English text for a ShellExecute result of 32 or less.
[[nodiscard]] std::wstring ShellExecuteErrorMessage(long long result);
// Logs the text for a failed ShellExecute result (32 or less) and returns the result unchanged.
long long ShellExecuteErrorText(long long result);

} // namespace ZVCore

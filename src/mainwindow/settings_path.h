#pragma once
// Paths as the settings file can keep them. Ferryl.ini is ANSI text read back in at most 255
// characters, so a path with characters outside the code page, or a longer one, is kept in its
// short (8.3) form, and one that has no such form cannot be kept at all.

#include <optional>
#include <string>

namespace ferryl {

// True when the text survives the settings file unchanged.
bool SettingsFileCanHold(const std::wstring& text);

// A chosen mail program: its short form, as the setting has always held it (the path itself where
// the system gives no short form but the file can hold it).
std::optional<std::wstring> ProgramPathForSettings(const std::wstring& path);

// A chosen folder (ending in "\"): the path itself, or its short form when the file cannot hold it.
std::optional<std::wstring> FolderPathForSettings(const std::wstring& folder);

// The warning shown when a choice cannot be kept in the settings file.
std::wstring ChoiceNotKeptText(const std::wstring& path);
// The same for a mail client chosen by its name.
std::wstring ClientNotKeptText(const std::wstring& clientName);

}  // namespace ferryl

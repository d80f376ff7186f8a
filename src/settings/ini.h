#pragma once
// The settings file Ferryl.ini: sectioned key=value text in the ANSI code page, beside the program.

#include <string>
#include <string_view>

namespace ferryl {

// One key's value, at most 255 characters; a missing file, section or key gives the empty text.
std::wstring ReadIni(const std::wstring& section, const std::wstring& key, const std::wstring& file);

// Writes one key, creating the file or the section when missing. False when it cannot be written;
// the user is told so once per run (TellSettingsNotKept).
bool WriteIni(const std::wstring& section,
              const std::wstring& key,
              const std::wstring& value,
              const std::wstring& file);

// The content of a new settings file: eleven CR LF lines, the fifth one empty.
std::string_view DefaultIniText();

// Creates the settings file with the default content. An existing file is never replaced, so a
// false result means it already existed or could not be written.
bool WriteDefaultIni(const std::wstring& file);

}  // namespace ferryl

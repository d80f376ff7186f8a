#include "mainwindow/settings_path.h"

#include "common/text.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

// ReadIni reads at most this many characters of a value.
constexpr size_t kLongestValue = 255;

}  // namespace

bool SettingsFileCanHold(const std::wstring& text) {
    return text.size() <= kLongestValue && ToAnsiExact(text).has_value();
}

std::optional<std::wstring> ProgramPathForSettings(const std::wstring& path) {
    const std::wstring shortPath = ShortPathName(path);
    if (!shortPath.empty() && SettingsFileCanHold(shortPath))
        return shortPath;
    if (SettingsFileCanHold(path))
        return path;
    return std::nullopt;
}

std::optional<std::wstring> FolderPathForSettings(const std::wstring& folder) {
    if (SettingsFileCanHold(folder))
        return folder;
    const std::wstring shortPath = ShortPathName(folder);
    if (!shortPath.empty() && SettingsFileCanHold(shortPath))
        return shortPath;
    return std::nullopt;
}

std::wstring ChoiceNotKeptText(const std::wstring& path) {
    return L"\"" + path +
           L"\" cannot be kept in the settings file Ferryl.ini: the path has characters the file cannot hold (or is "
           L"too long), and the system gives no short form of it.\n\nThe choice holds only until the program ends.";
}

std::wstring ClientNotKeptText(const std::wstring& clientName) {
    return L"The mail client \"" + clientName +
           L"\" cannot be kept in the settings file Ferryl.ini: its name has characters the file cannot hold (or is "
           L"too long).\n\nThe choice holds only until the program ends.";
}

}  // namespace ferryl

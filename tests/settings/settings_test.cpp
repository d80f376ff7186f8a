// The settings file, the registry read and the file helpers, on real files and the Wine registry.

#include <gtest/gtest.h>

#include "settings/erwr.h"
#include "settings/funkcije.h"
#include "settings/ini.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using namespace std::string_literals;
using test::ReadFileBytes;
using test::TempFolder;

TEST(Ini, TheDefaultFileIsMadeOnlyWhereNoneIsAndWritesKeepItAnsiWithItsOtherLines) {
    TempFolder folder;
    const std::wstring file = folder / L"Ferryl.ini";
    ASSERT_TRUE(WriteDefaultIni(file));
    const std::string defaults =
        "[Settings]\r\nMailProgram=\r\nCLParameters=\r\nAttachmentsFolder=\r\n\r\n"
        "[Window Position]\r\nWindowState=0\r\nWindowTop=0\r\nWindowLeft=0\r\n"
        "WindowHeight=3010\r\nWindowWidth=6010\r\n";
    EXPECT_EQ(ReadFileBytes(file), defaults);
    EXPECT_FALSE(WriteDefaultIni(file)) << "never over an existing file";
    EXPECT_EQ(ReadFileBytes(file), defaults);
    EXPECT_FALSE(WriteDefaultIni(folder / L"missing folder\\Ferryl.ini"));

    WriteIni(L"Settings", L"CLParameters", std::wstring(300, L'v'), file);
    WriteIni(L"Window Position", L"WindowTop", L"-120", file);
    WriteIni(L"Settings", L"AttachmentsFolder", L"C:\\Anh\u00e4nge\\", file);
    EXPECT_EQ(ReadIni(L"Settings", L"CLParameters", file), std::wstring(255, L'v')) << "cut to 255";
    EXPECT_EQ(ReadIni(L"window position", L"windowtop", file), L"-120");
    EXPECT_EQ(ReadIni(L"Settings", L"AttachmentsFolder", file), L"C:\\Anh\u00e4nge\\");
    const std::string bytes = ReadFileBytes(file);
    for (const char* kept : {"WindowTop=-120\r\n", "WindowWidth=6010\r\n", "MailProgram=\r\n",
                             ::GetACP() == 1252 ? "AttachmentsFolder=C:\\Anh\xe4nge\\\r\n" : "AttachmentsFolder="})
        EXPECT_NE(bytes.find(kept), std::string::npos) << kept;
    EXPECT_EQ(bytes.find('\0'), std::string::npos) << "never UTF-16";
    // Writing makes a missing file.
    WriteIni(L"Window Position", L"WindowState", L"2", folder / L"new.ini");
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowState", folder / L"new.ini"), L"2");
}

// Values of every kind in a key of the Wine registry's own, read back: a string up to its first NUL
// (stored with or without one), anything else as the missing sentinel.
TEST(RegRead, StringsUpToTheirFirstNulAndEverythingElseTheMissingSentinel) {
    const std::wstring subkey = L"Software\\FerrylTest\\RegRead" + std::to_wstring(::GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(
        ::RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    // The bytes stored, as wide text: a string's NUL is stored only where the text holds one.
    const struct {
        const wchar_t* name;
        DWORD type;
        std::wstring stored;
        std::wstring read;
    } cases[] = {
        {L"current", REG_SZ, L"C:\\Mail\\mail.exe C:\\m.ini\0"s, L"C:\\Mail\\mail.exe C:\\m.ini"},
        {L"", REG_SZ, L"default\0"s, L"default"},
        {L"twoparts", REG_SZ, L"first\0second\0"s, L"first"},
        {L"unterminated", REG_SZ, L"abc", L"abc"},
        {L"empty", REG_SZ, L"\0"s, kRegReadMissing},
        {L"expand", REG_EXPAND_SZ, L"%TEMP%\0"s, kRegReadMissing},
        {L"number", REG_DWORD, L"\x0005\0"s, kRegReadMissing},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(::RegSetValueExW(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.stored.data()),
                                   static_cast<DWORD>(c.stored.size() * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegRead(HKEY_CURRENT_USER, subkey, c.name).ToText(), c.read) << c.name;
    }
    EXPECT_EQ(RegRead(HKEY_CURRENT_USER, subkey, L"no such value").ToText(), kRegReadMissing);
    EXPECT_EQ(RegRead(HKEY_CURRENT_USER, subkey + L"\\no such key", L"current").ToText(), kRegReadMissing);
    ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\FerrylTest");
}

TEST(FileHelpers, FilesOfEveryAttributeByFullPathOrPatternFoldersAndShortPaths) {
    TempFolder folder;
    const std::wstring file = folder.WriteFile(L"a long name.txt");
    ASSERT_TRUE(::SetFileAttributesW(folder.WriteFile(L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::wstring empty = folder.MakeFolder(L"empty");
    // A relative name does not count, even where the current folder holds it.
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    const struct {
        std::wstring path;
        bool file, folder;
    } cases[] = {{file, true, true},
                 {folder / L"hidden.txt", true, true},
                 {folder / L"*.txt", true, true},
                 {folder / L"*.xls", false, false},
                 {folder.Path() + L"\\", true, true},  // the folder holds a file
                 {empty + L"\\", false, true},         // only "." and ".."
                 {empty, false, true},
                 {folder / L"missing.txt", false, false},
                 {L"C:\\", false, true},
                 {L"", false, false},
                 {L"a long name.txt", false, true},
                 // A path in the "\\?\" form reaches the same file; network shares use that form too.
                 {L"\\\\?\\" + file, true, true},
                 {L"\\\\?\\" + folder.Path() + L"\\none.txt", false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(FolderExists(c.path), c.folder) << c.path;
    }
    ::SetCurrentDirectoryW(previous);

    const std::wstring shortPath = ShortPathName(file);
    EXPECT_EQ(shortPath.find(L' '), std::wstring::npos) << shortPath;
    EXPECT_TRUE(FileExists(shortPath));
    EXPECT_EQ(ShortPathName(folder / L"missing file.txt"), L"");
}

}  // namespace
}  // namespace ferryl

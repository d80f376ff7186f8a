#include "settings/funkcije.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::TempFolder;

class FileHelpers : public testing::Test {
  protected:
    TempFolder folder;
};

TEST_F(FileHelpers, FileExistsFindsFilesOfEveryAttributeByAFullPathOrAPatternButNoFolders) {
    const std::wstring file = folder.WriteFile(L"a.txt");
    for (const auto& [name, attribute] : {std::pair{L"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
                                          {L"system.txt", FILE_ATTRIBUTE_SYSTEM},
                                          {L"read only.txt", FILE_ATTRIBUTE_READONLY}})
        ASSERT_TRUE(::SetFileAttributesW(folder.WriteFile(name).c_str(), attribute));
    folder.MakeFolder(L"empty");
    // A relative name does not count, even where the current folder holds it.
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    const std::pair<std::wstring, bool> cases[] = {
        {file, true},
        {folder / L"hidden.txt", true},
        {folder / L"system.txt", true},
        {folder / L"read only.txt", true},
        {folder / L"*.txt", true},
        {folder / L"*.xls", false},
        {folder.Path() + L"\\", true},  // the folder holds a file
        {folder / L"empty\\", false},   // only "." and ".."
        {folder / L"empty", false},
        {folder / L"missing.txt", false},
        {L"", false},
        {L"a.txt", false},
        {L".\\a.txt", false},
        // A path in the "\\?\" form reaches the same file; network shares use that form too.
        {L"\\\\?\\" + file, true},
        {L"\\\\?\\" + folder.Path() + L"\\none.txt", false}};
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(FileExists(path), exists) << path;
    ::SetCurrentDirectoryW(previous);
    ::SetFileAttributesW((folder / L"read only.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileHelpers, FolderExists) {
    std::wstring sub = folder.MakeFolder(L"sub folder");
    EXPECT_TRUE(FolderExists(sub));
    EXPECT_TRUE(FolderExists(sub + L"\\"));  // empty, but it has "." and ".."
    EXPECT_TRUE(FolderExists(folder.WriteFile(L"f.txt")));
    EXPECT_FALSE(FolderExists(folder / L"none"));
    EXPECT_FALSE(FolderExists(folder / L"none\\"));
    EXPECT_TRUE(FolderExists(L"C:\\"));
    EXPECT_FALSE(FolderExists(L"C:"));
    EXPECT_FALSE(FolderExists(L""));
}

TEST_F(FileHelpers, ShortPathNameOfExistingAndMissingPaths) {
    std::wstring file = folder.WriteFile(L"a long file name with blanks.text");
    std::wstring shortPath = ShortPathName(file);
    ASSERT_FALSE(shortPath.empty());
    EXPECT_EQ(shortPath.find(L' '), std::wstring::npos);
    EXPECT_TRUE(FileExists(shortPath));
    EXPECT_EQ(ShortPathName(folder / L"missing file.txt"), L"");
    EXPECT_EQ(ShortPathName(L""), L"");
}

}  // namespace
}  // namespace ferryl

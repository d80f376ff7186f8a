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

TEST_F(FileHelpers, FileExistsFindsFilesOfEveryAttributeButNoFolders) {
    std::wstring plain = folder.WriteFile(L"plain.txt");
    std::wstring hidden = folder.WriteFile(L"hidden.txt");
    std::wstring system = folder.WriteFile(L"system.txt");
    std::wstring readOnly = folder.WriteFile(L"read only.txt");
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(FileExists(plain));
    EXPECT_TRUE(FileExists(hidden));
    EXPECT_TRUE(FileExists(system));
    EXPECT_TRUE(FileExists(readOnly));
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    std::wstring sub = folder.MakeFolder(L"sub");
    EXPECT_FALSE(FileExists(sub));
    EXPECT_FALSE(FileExists(folder / L"missing.txt"));
    EXPECT_FALSE(FileExists(L""));
}

TEST_F(FileHelpers, FileExistsTakesPatternsAndFolderPathsThatFindAFile) {
    folder.WriteFile(L"report.doc");
    EXPECT_TRUE(FileExists(folder / L"*.doc"));
    EXPECT_FALSE(FileExists(folder / L"*.xls"));
    EXPECT_TRUE(FileExists(folder.Path() + L"\\"));  // the folder holds a file
    std::wstring empty = folder.MakeFolder(L"empty");
    EXPECT_FALSE(FileExists(empty + L"\\"));       // only "." and ".."
}

TEST_F(FileHelpers, FileExistsWantsAFullDriveOrNetworkPath) {
    std::wstring file = folder.WriteFile(L"a.txt");
    // A relative name does not count, even where the current folder holds it.
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    EXPECT_FALSE(FileExists(L"a.txt"));
    EXPECT_FALSE(FileExists(L".\\a.txt"));
    ::SetCurrentDirectoryW(previous);
    // A path in the "\\" form reaches the same file; network shares use that form too.
    EXPECT_TRUE(FileExists(L"\\\\?\\" + file));
    EXPECT_FALSE(FileExists(L"\\\\?\\" + folder.Path() + L"\\none.txt"));
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

TEST_F(FileHelpers, FileNameOfVariantHoldsTheNameAsText) {
    TaggedValue name = FileNameOfVariant(L"C:\\a\\b\\c d.txt");
    EXPECT_TRUE(name.IsText());
    EXPECT_EQ(name.ToText(), L"c d.txt");
    EXPECT_EQ(FileNameOfVariant(L"C:\\a\\").ToText(), L"");
}

}  // namespace
}  // namespace ferryl

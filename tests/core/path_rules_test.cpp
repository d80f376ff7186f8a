#include "core/path_rules.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(PathRules, FullFilePathNeedsADriveAndANameOrANetworkPrefix) {
    EXPECT_TRUE(IsFullFilePath(L"C:\\a"));  // a one-letter name at a drive's root
    EXPECT_TRUE(IsFullFilePath(L"\\\\srv\\s\\f.txt"));
    EXPECT_TRUE(IsFullFilePath(L"\\\\a\\b"));
    EXPECT_FALSE(IsFullFilePath(L"C:\\"));         // the root, no name
    EXPECT_FALSE(IsFullFilePath(L"\\\\a\\"));      // four characters
    EXPECT_FALSE(IsFullFilePath(L"file.txt"));     // bare name
    EXPECT_FALSE(IsFullFilePath(L"sub\\f.txt"));   // relative
    EXPECT_FALSE(IsFullFilePath(L"C:file.txt"));   // drive-relative
    EXPECT_FALSE(IsFullFilePath(L"\\dir\\file"));  // rooted but without a drive
    EXPECT_FALSE(IsFullFilePath(L""));
}

TEST(PathRules, SearchPatternOfAFolderPathListsItsEntries) {
    EXPECT_EQ(SearchPatternFor(L"C:\\dir\\"), L"C:\\dir\\*");
    EXPECT_EQ(SearchPatternFor(L"C:\\dir"), L"C:\\dir");
    EXPECT_EQ(SearchPatternFor(L""), L"");
}

TEST(PathRules, FileNameOfIsTheTextAfterTheLastBackslash) {
    EXPECT_EQ(FileNameOf(L"C:\\dir\\sub\\name.txt"), L"name.txt");
    EXPECT_EQ(FileNameOf(L"name.txt"), L"name.txt");
    EXPECT_EQ(FileNameOf(L"C:\\dir\\"), L"");
    EXPECT_EQ(FileNameOf(L"\\"), L"");
    EXPECT_EQ(FileNameOf(L""), L"");
    EXPECT_EQ(FileNameOf(L"\\\\server\\share\\a b.doc"), L"a b.doc");
}

}  // namespace
}  // namespace ferryl

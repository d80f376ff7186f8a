// Copy To's step against real files.

#include <gtest/gtest.h>

#include "mainwindow/copy_step.h"
#include "settings/funkcije.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

TEST(CopyStep, CollisionsTakeTheNextCounterSharedByTheRun) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"a.txt", "new a");
    const std::wstring b = source.WriteFile(L"b.txt", "new b");
    dest.WriteFile(L"a.txt", "old");
    dest.WriteFile(L"a.txt.1", "old 1");
    dest.WriteFile(L"b.txt", "old b");
    const std::wstring folder = dest.Path() + L"\\";
    long counter = 0;

    CopyOutcome first = CopyToFolder(a, folder, counter, false);
    ASSERT_EQ(first.status, CopyOutcome::Status::Copied);
    EXPECT_EQ(first.target, dest / L"a.txt.2");
    EXPECT_EQ(ReadFileBytes(first.target), "new a");
    EXPECT_EQ(ReadFileBytes(dest / L"a.txt"), "old") << "an existing file is never replaced";

    CopyOutcome second = CopyToFolder(b, folder, counter, false);
    EXPECT_EQ(second.target, dest / L"b.txt.3");
    EXPECT_EQ(counter, 3);
    EXPECT_TRUE(FileExists(a)) << "the source stays without Delete source files";
}

TEST(CopyStep, ANameTakenUnseenOrByTheSourceItselfTakesTheNextCounter) {
    // A folder under the copy's name: the existence test (files only) misses it, as it misses a file
    // that appears between the test and the copy. A read-only file is never replaced either, and a
    // copy into the source's own folder lands beside it.
    enum class Taken { ByAFolder, ByAReadOnlyFile, ByTheSource };
    const struct {
        Taken taken;
        bool deleteSource;
    } cases[] = {{Taken::ByAFolder, true},
                 {Taken::ByAFolder, false},
                 {Taken::ByAReadOnlyFile, true},
                 {Taken::ByTheSource, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "taken " << static_cast<int>(c.taken) << ", delete " << c.deleteSource);
        TempFolder source, elsewhere;
        const std::wstring a = source.WriteFile(L"a.txt", "new");
        const TempFolder& dest = c.taken == Taken::ByTheSource ? source : elsewhere;
        std::wstring readOnly;
        if (c.taken == Taken::ByAFolder) {
            dest.MakeFolder(L"a.txt");
        } else if (c.taken == Taken::ByAReadOnlyFile) {
            readOnly = dest.WriteFile(L"a.txt", "old");
            ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        long counter = 0;
        const CopyOutcome outcome = CopyToFolder(a, dest.Path() + L"\\", counter, c.deleteSource);
        ASSERT_EQ(outcome.status, CopyOutcome::Status::Copied);
        EXPECT_EQ(outcome.target, dest / L"a.txt.1");
        EXPECT_EQ(ReadFileBytes(outcome.target), "new");
        EXPECT_EQ(outcome.sourceDeleted, c.deleteSource);
        EXPECT_EQ(FileExists(a), !c.deleteSource);
        if (!readOnly.empty()) {
            EXPECT_EQ(ReadFileBytes(readOnly), "old");
            ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

TEST(CopyStep, VanishedSourceAndMissingFolder) {
    TempFolder source, dest;
    long counter = 0;
    // A vanished source fails the copy; nothing is made and nothing else is deleted.
    EXPECT_EQ(CopyToFolder(source / L"gone.txt", dest.Path() + L"\\", counter, true).status,
              CopyOutcome::Status::CopyFailed);
    EXPECT_FALSE(FileExists(dest / L"gone.txt"));
    const std::wstring a = source.WriteFile(L"a.txt");
    EXPECT_EQ(CopyToFolder(a, dest / L"missing\\", counter, true).status, CopyOutcome::Status::FolderMissing);
    EXPECT_TRUE(FileExists(a));
}

TEST(CopyStep, ASourceThatCannotBeDeletedIsReportedKept) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"a.txt", "locked");
    // Open without delete sharing: the copy reads it, the delete is refused.
    HANDLE open = ::CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    long counter = 0;
    CopyOutcome outcome = CopyToFolder(a, dest.Path() + L"\\", counter, true);
    ::CloseHandle(open);
    ASSERT_EQ(outcome.status, CopyOutcome::Status::Copied);
    EXPECT_FALSE(outcome.sourceDeleted);
    EXPECT_TRUE(FileExists(a));
    EXPECT_EQ(ReadFileBytes(outcome.target), "locked");
}

TEST(CopyStep, AFileLiesInAFolderHoweverEitherIsSpelt) {
    TempFolder root;
    const std::wstring folder = root.MakeFolder(L"long folder name");
    const std::wstring file = root.WriteFile(L"long folder name\\a file.txt");
    EXPECT_TRUE(LiesInFolder(file, folder + L"\\"));
    EXPECT_TRUE(LiesInFolder(file, folder));
    EXPECT_TRUE(LiesInFolder(ShortPathName(file), folder + L"\\"));
    EXPECT_TRUE(LiesInFolder(file, ShortPathName(folder) + L"\\"));
    EXPECT_FALSE(LiesInFolder(file, root.Path() + L"\\")) << "the folder above is another folder";
    EXPECT_FALSE(LiesInFolder(file, root / L"missing\\"));
    EXPECT_FALSE(LiesInFolder(L"a.txt", folder));
}

TEST(CopyStep, OneKeyForEverySpellingOfAFile) {
    TempFolder root;
    const std::wstring file = root.WriteFile(L"Long Name Of A File.txt");
    EXPECT_EQ(FileIdentityKey(ShortPathName(file)), FileIdentityKey(file));
    EXPECT_EQ(FileIdentityKey(file), FileIdentityKey(root.Path() + L"\\.\\long name of a file.TXT"));
    EXPECT_NE(FileIdentityKey(file), FileIdentityKey(root.WriteFile(L"other.txt")));
}

TEST(CopyStep, FilesWhoseNamesDifferOnlyInCaseAreTwoFiles) {
    TempFolder root;
    const std::wstring upper = root.WriteFile(L"Case.txt", "upper");
    const std::wstring lower = root.WriteFileOfOtherCase(L"case.txt", "lower");
    if (lower.empty())
        GTEST_SKIP() << "no case-sensitive folder can be made here";
    ASSERT_EQ(ReadFileBytes(lower), "lower");
    EXPECT_NE(FileIdentityKey(upper), FileIdentityKey(lower));
    EXPECT_EQ(FileIdentityKey(ShortPathName(lower)), FileIdentityKey(lower));
}

TEST(CopyStep, AnIdOfZeroIsNoIdAndTheWholeIdGoesFirst) {
    // Some file systems give 0 as every object's id: the paths tell the objects apart then, in any case.
    const FileIds none{true, 7, {}, true, 7, 0};
    EXPECT_NE(IdentityKey(none, L"C:\\One"), IdentityKey(none, L"C:\\Two"));
    EXPECT_EQ(IdentityKey(none, L"C:\\One"), IdentityKey(none, L"c:\\ONE"));
    EXPECT_EQ(IdentityKey(FileIds{}, L"C:\\One"), IdentityKey(none, L"C:\\one")) << "nothing could be read";

    // ReFS: two 128-bit ids that differ above the 64 bits the old index keeps.
    FileIds first{true, 7, {1}, true, 7, 42}, second = first;
    second.id128[0] = 2;
    EXPECT_NE(IdentityKey(first, L"C:\\a"), IdentityKey(second, L"C:\\a"));
    // The same id on another volume is another object.
    FileIds elsewhere = first;
    elsewhere.volume128 = 8;
    EXPECT_NE(IdentityKey(first, L"C:\\a"), IdentityKey(elsewhere, L"C:\\a"));
    // Without the 128-bit id (before Windows 8) the index is the id, whatever the path.
    const FileIds index{false, 0, {}, true, 7, 42};
    EXPECT_EQ(IdentityKey(index, L"C:\\a"), IdentityKey(index, L"D:\\b"));
}

}  // namespace
}  // namespace ferryl

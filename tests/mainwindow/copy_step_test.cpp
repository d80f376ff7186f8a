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

TEST(CopyStep, AFolderOfTheSameNameIsSteppedAroundToo) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"report.doc", "text");
    dest.MakeFolder(L"report.doc");
    long counter = 0;
    CopyOutcome outcome = CopyToFolder(a, dest.Path() + L"\\", counter, true);
    ASSERT_EQ(outcome.status, CopyOutcome::Status::Copied);
    EXPECT_EQ(outcome.target, dest / L"report.doc.1");
    EXPECT_EQ(ReadFileBytes(outcome.target), "text");
    EXPECT_FALSE(FileExists(a));
}

TEST(CopyStep, DeletesTheSourceOnlyAfterAGoodCopy) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"a.txt", "payload");
    long counter = 0;
    // Into its own folder: copied beside itself with .1, then the source goes.
    CopyOutcome same = CopyToFolder(a, source.Path() + L"\\", counter, true);
    ASSERT_EQ(same.status, CopyOutcome::Status::Copied);
    EXPECT_TRUE(same.sourceDeleted);
    EXPECT_EQ(same.target, source / L"a.txt.1");
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(ReadFileBytes(same.target), "payload");
}

TEST(CopyStep, ANameTakenUnseenByTheExistenceTestIsNotOverwritten) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"a.txt", "keep me");
    // A folder under the copy's name: the existence test (files only) misses it, as it misses a file
    // that appears between the test and the copy; the copy moves on to the next name.
    dest.MakeFolder(L"a.txt");
    long counter = 0;
    CopyOutcome outcome = CopyToFolder(a, dest.Path() + L"\\", counter, false);
    ASSERT_EQ(outcome.status, CopyOutcome::Status::Copied);
    EXPECT_EQ(outcome.target, dest / L"a.txt.1");
    EXPECT_EQ(ReadFileBytes(outcome.target), "keep me");
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

TEST(CopyStep, AReadOnlyFileOfTheSameNameIsSteppedAround) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"a.txt", "new");
    const std::wstring taken = dest.WriteFile(L"a.txt", "old");
    ASSERT_TRUE(::SetFileAttributesW(taken.c_str(), FILE_ATTRIBUTE_READONLY));
    long counter = 0;
    CopyOutcome outcome = CopyToFolder(a, dest.Path() + L"\\", counter, true);
    EXPECT_EQ(outcome.target, dest / L"a.txt.1");
    EXPECT_EQ(ReadFileBytes(taken), "old");
    EXPECT_FALSE(FileExists(a));
    ::SetFileAttributesW(taken.c_str(), FILE_ATTRIBUTE_NORMAL);
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

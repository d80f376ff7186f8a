// Send Now's work against real files: the facts its plan is made of, Copy To's step, and the send
// job that runs the steps.

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/unique_handle.h"
#include "send/copy_step.h"
#include "send/send_facts.h"
#include "send/send_job.h"
#include "settings/funkcije.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

const StepProgress kGoOn = [](uint64_t, uint64_t, const std::wstring&) { return true; };

CopyRequest Request(const std::wstring& source, const TempFolder& dest) {
    return {source, dest / FileNameOf(source), FileNameOf(source), std::nullopt};
}

TEST(CopyStep, ANameTakenSinceThePlanTakesTheNextNumberAndNothingIsReplaced) {
    // Taken by a file, a read-only file or a folder that appeared after the plan named the copy.
    for (DWORD taken :
         {DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_DIRECTORY}}) {
        SCOPED_TRACE(taken);
        TempFolder source, dest;
        const std::wstring a = source.WriteFile(L"a.txt", "new");
        const std::wstring old =
            taken == FILE_ATTRIBUTE_DIRECTORY ? dest.MakeFolder(L"a.txt") : dest.WriteFile(L"a.txt", "old");
        ::SetFileAttributesW(old.c_str(), taken);
        dest.WriteFile(L"a (2).txt", "old 2");
        CopyStep step({Request(a, dest)}, true);
        ASSERT_EQ(step.Run(kGoOn), StepStatus::Done);
        EXPECT_EQ(step.Records()[0].copy, dest / L"a (3).txt");
        EXPECT_EQ(step.Records()[0].state, CopyRecord::State::Moved);
        EXPECT_EQ(ReadFileBytes(dest / L"a (3).txt"), "new");
        EXPECT_FALSE(FileExists(a)) << "deleted once its copy is whole";
        EXPECT_EQ(ReadFileBytes(dest / L"a (2).txt"), "old 2");
        EXPECT_TRUE(taken == FILE_ATTRIBUTE_DIRECTORY || ReadFileBytes(old) == "old");
        ::SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(CopyStep, TheSameFileTwiceIsCopiedOnceAndASourceThatCannotGoIsKeptWithTheReason) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"a.txt", "locked");
    // Open without delete sharing: the copy reads it, the delete is refused.
    UniqueFile open(::CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    CopyStep step({Request(a, dest), {ShortPathName(a), dest / L"a.txt", L"a.txt", 0}}, true);
    ASSERT_EQ(step.Run(kGoOn), StepStatus::Done);
    open.reset();
    for (const CopyRecord& record : step.Records()) {
        EXPECT_EQ(record.state, CopyRecord::State::SourceKept);
        EXPECT_EQ(record.copy, dest / L"a.txt");
        EXPECT_NE(record.reason.find(L"(error "), std::wstring::npos) << record.reason;
    }
    EXPECT_FALSE(FileExists(dest / L"a (2).txt")) << "copied once";
    EXPECT_EQ(ReadFileBytes(a), "locked");
}

// Its steps' order, progress and cancel are seen end to end; a step that throws fails the job there,
// with what it threw, and its end is posted all the same.
TEST(SendJob, AStepThatThrowsFailsTheJobWithWhatItThrew) {
    constexpr UINT kDone = WM_APP + 40;
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool laterRan = false;
    std::vector<SendStep> steps{
        {L"Throwing", true, [](const StepProgress&) -> StepStatus { throw std::runtime_error("no room"); }},
        {L"Later", true, [&](const StepProgress&) { return laterRan = true, StepStatus::Done; }}};
    const std::shared_ptr<SendJob> job = SendJob::Start(std::move(steps), window, kDone);
    MSG message{};
    bool posted = false;
    for (int wait = 0; wait < 1000 && !posted; ++wait) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
        posted = ::PeekMessageW(&message, window, kDone, kDone, PM_REMOVE);
    }
    ASSERT_TRUE(posted && job->Done());
    EXPECT_FALSE(laterRan);
    EXPECT_EQ(job->Outcome().status, StepStatus::Failed);
    EXPECT_EQ(job->Outcome().title, L"Throwing");
    ASSERT_TRUE(job->Outcome().thrown);
    EXPECT_EQ(job->Outcome().thrown->description, L"no room");
    ::DestroyWindow(window);
}

TEST(SendFacts, AFileIsKnownInAnySpellingAndLiesInTheFolderHoweverEitherIsSpelt) {
    TempFolder root;
    const std::wstring folder = root.MakeFolder(L"long folder name");
    const std::wstring file = root.WriteFile(L"long folder name\\a file.txt", "12345");
    const std::wstring elsewhere = root.WriteFile(L"elsewhere.txt");
    for (const std::wstring& copyFolder : {folder + L"\\", folder, ShortPathName(folder) + L"\\"}) {
        SCOPED_TRACE(copyFolder);
        const std::vector<ListedFile> facts =
            ReadListedFiles({file, ShortPathName(file), elsewhere, root / L"gone.txt"}, &copyFolder);
        EXPECT_TRUE(facts[0].inFolder && facts[1].inFolder);
        EXPECT_FALSE(facts[2].inFolder) << "the folder above is another folder";
        EXPECT_EQ(facts[0].identity, facts[1].identity);
        EXPECT_NE(facts[0].identity, facts[2].identity);
        EXPECT_EQ(facts[1].path, file) << "the real name, which a copy takes";
        EXPECT_EQ(facts[1].size, 5u);
        EXPECT_FALSE(facts[3].exists);
    }
}

TEST(FileIdentityKey, FilesWhoseNamesDifferOnlyInCaseAreTwoFilesAndAnIdOfZeroIsNone) {
    TempFolder root;
    const std::wstring upper = root.WriteFile(L"Case.txt", "upper");
    const std::wstring lower = root.WriteFileOfOtherCase(L"case.txt", "lower");
    if (!lower.empty()) {
        EXPECT_NE(FileIdentityKey(upper), FileIdentityKey(lower));
        EXPECT_EQ(FileIdentityKey(ShortPathName(lower)), FileIdentityKey(lower));
    }
    // Some file systems give 0 as every object's id: the paths tell the objects apart then.
    const FileIds none{true, 7, {}, true, 7, 0};
    EXPECT_NE(IdentityKey(none, L"C:\\One"), IdentityKey(none, L"C:\\Two"));
    EXPECT_EQ(IdentityKey(none, L"C:\\One"), IdentityKey(FileIds{}, L"c:\\ONE"));
    // ReFS: two 128-bit ids that differ above the 64 bits the old index keeps; one on another volume.
    FileIds first{true, 7, {1}, true, 7, 42}, second = first, elsewhere = first;
    second.id128[0] = 2;
    elsewhere.volume128 = 8;
    EXPECT_NE(IdentityKey(first, L"C:\\a"), IdentityKey(second, L"C:\\a"));
    EXPECT_NE(IdentityKey(first, L"C:\\a"), IdentityKey(elsewhere, L"C:\\a"));
    // Without the 128-bit id (before Windows 8) the index is the id, whatever the path.
    const FileIds index{false, 0, {}, true, 7, 42};
    EXPECT_EQ(IdentityKey(index, L"C:\\a"), IdentityKey(index, L"D:\\b"));
}

}  // namespace
}  // namespace ferryl

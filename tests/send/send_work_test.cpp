// Send Now's work against real files: the facts its plan is made of, Copy To's step, and the send
// job that runs it.

#include <gtest/gtest.h>

#include <stdexcept>

#include "send/copy_step.h"
#include "send/send_facts.h"
#include "send/send_job.h"
#include "settings/funkcije.h"
#include "support/messages.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

const StepProgress kGoOn = [](uint64_t, uint64_t, const std::wstring&) { return true; };

CopyRequest Request(const std::wstring& source, const TempFolder& dest, const std::wstring& planned) {
    return {source, dest / planned, FileNameOf(source), std::nullopt};
}

TEST(CopyStep, ANameTakenSinceThePlanTakesTheNextNumberAndNothingIsReplaced) {
    // Taken by a file, a read-only file or a folder that appeared after the plan named the copy.
    enum class Taken { ByAFile, ByAReadOnlyFile, ByAFolder };
    for (Taken taken : {Taken::ByAFile, Taken::ByAReadOnlyFile, Taken::ByAFolder}) {
        SCOPED_TRACE(static_cast<int>(taken));
        TempFolder source, dest;
        const std::wstring a = source.WriteFile(L"a.txt", "new");
        std::wstring old;
        if (taken == Taken::ByAFolder) {
            dest.MakeFolder(L"a.txt");
        } else {
            old = dest.WriteFile(L"a.txt", "old");
            if (taken == Taken::ByAReadOnlyFile) {
                ASSERT_TRUE(::SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_READONLY));
            }
        }
        dest.WriteFile(L"a (2).txt", "old 2");
        CopyStep step({Request(a, dest, L"a.txt")}, true);
        ASSERT_EQ(step.Run(kGoOn), StepStatus::Done);
        EXPECT_EQ(step.Records()[0].copy, dest / L"a (3).txt");
        EXPECT_EQ(step.Records()[0].state, CopyRecord::State::Moved);
        EXPECT_EQ(ReadFileBytes(dest / L"a (3).txt"), "new");
        EXPECT_FALSE(FileExists(a)) << "deleted once its copy is whole";
        EXPECT_EQ(ReadFileBytes(dest / L"a (2).txt"), "old 2");
        if (!old.empty()) {
            EXPECT_EQ(ReadFileBytes(old), "old");
            ::SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

TEST(CopyStep, TheSameFileTwiceIsCopiedOnceAndASourceThatCannotGoIsKeptWithTheReason) {
    TempFolder source, dest;
    const std::wstring a = source.WriteFile(L"a.txt", "locked");
    // Open without delete sharing: the copy reads it, the delete is refused.
    HANDLE open = ::CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    CopyStep step({Request(a, dest, L"a.txt"), {ShortPathName(a), dest / L"a.txt", L"a.txt", 0}}, true);
    const StepStatus status = step.Run(kGoOn);
    ::CloseHandle(open);
    ASSERT_EQ(status, StepStatus::Done);
    for (const CopyRecord& record : step.Records()) {
        EXPECT_EQ(record.state, CopyRecord::State::SourceKept);
        EXPECT_EQ(record.copy, dest / L"a.txt");
        EXPECT_NE(record.reason.find(L"(error "), std::wstring::npos) << record.reason;
    }
    EXPECT_FALSE(FileExists(dest / L"a (2).txt")) << "copied once";
    EXPECT_EQ(ReadFileBytes(a), "locked");
}

TEST(CopyStep, AFailureOrACancelLeavesNoCopyOfTheFileAtHandAndItsSourceInPlace) {
    enum class Stop { LockedSource, CancelAtTheStart, CancelDuringTheCopy };
    for (Stop stop : {Stop::LockedSource, Stop::CancelAtTheStart, Stop::CancelDuringTheCopy}) {
        SCOPED_TRACE(static_cast<int>(stop));
        TempFolder source, dest;
        const std::wstring first = source.WriteFile(L"first.txt", "1");
        const std::wstring second = source.WriteFile(L"second.txt", std::string(1 << 20, 's'));
        const std::wstring third = source.WriteFile(L"third.txt", "3");
        HANDLE lock = stop == Stop::LockedSource
                          ? ::CreateFileW(second.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                          : INVALID_HANDLE_VALUE;
        // Reports on the second file: at its start, then (where the system reports it) during it
        // and once it is copied.
        int secondReports = 0;
        const StepProgress progress = [&](uint64_t, uint64_t, const std::wstring& current) {
            if (current != second)
                return true;
            ++secondReports;
            return stop == Stop::LockedSource || (stop == Stop::CancelDuringTheCopy && secondReports == 1);
        };
        CopyStep step({Request(first, dest, L"first.txt"), Request(second, dest, L"second.txt"),
                       Request(third, dest, L"third.txt")},
                      true);
        const StepStatus status = step.Run(progress);
        if (lock != INVALID_HANDLE_VALUE)
            ::CloseHandle(lock);
        EXPECT_EQ(status, stop == Stop::LockedSource ? StepStatus::Failed : StepStatus::Cancelled);
        EXPECT_EQ(step.Records()[0].state, CopyRecord::State::Moved) << "the file before stays moved";
        EXPECT_EQ(step.Records()[1].state, CopyRecord::State::NotCopied);
        EXPECT_FALSE(FileExists(dest / L"second.txt")) << "no copy, whole or part";
        EXPECT_EQ(ReadFileBytes(second).size(), 1u << 20);
        EXPECT_TRUE(FileExists(third)) << "a file not reached is untouched";
        EXPECT_FALSE(FileExists(dest / L"third.txt"));
        if (stop == Stop::LockedSource) {
            ASSERT_TRUE(step.Failure());
            EXPECT_EQ(step.Failure()->source, second);
            EXPECT_NE(step.Failure()->reason.find(L"(error 32)"), std::wstring::npos) << step.Failure()->reason;
        }
    }
}

// A hidden window that the job posts its end to.
class DoneWindow {
  public:
    DoneWindow()
        : m_window(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~DoneWindow() { ::DestroyWindow(m_window); }
    HWND Window() const { return m_window; }
    // True once the done message has come, and the job says it is done.
    bool WaitForDone(const SendJob& job) const {
        for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000;) {
            MSG message;
            if (::PeekMessageW(&message, m_window, kDone, kDone, PM_REMOVE))
                return job.Done();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
        }
        return false;
    }
    static constexpr UINT kDone = WM_APP + 10;

  private:
    HWND m_window;
};

TEST(SendJob, StepsRunInTurnUntilOneIsCancelledOrThrowsAndItsEndIsPosted) {
    const struct {
        StepStatus second;  // what the second of three steps ends as
        bool throws;
    } cases[] = {{StepStatus::Done, false}, {StepStatus::Cancelled, false}, {StepStatus::Failed, true}};
    for (const auto& c : cases) {
        std::vector<int> ran;
        std::vector<SendStep> steps;
        for (int i = 0; i < 3; ++i) {
            steps.push_back({L"Step " + std::to_wstring(i), true, [&, i](const StepProgress& progress) {
                                 ran.push_back(i);
                                 progress(5, 10, L"C:\\file");
                                 if (i == 1 && c.throws)
                                     throw std::runtime_error("no room");
                                 return i == 1 ? c.second : StepStatus::Done;
                             }});
        }
        DoneWindow done;
        const std::shared_ptr<SendJob> job = SendJob::Start(std::move(steps), done.Window(), DoneWindow::kDone);
        ASSERT_TRUE(done.WaitForDone(*job));
        EXPECT_EQ(ran, (c.second == StepStatus::Done ? std::vector<int>{0, 1, 2} : std::vector<int>{0, 1}));
        EXPECT_EQ(job->Outcome().status, c.second);
        EXPECT_EQ(job->Outcome().thrown.has_value(), c.throws);
        if (c.throws) {
            EXPECT_EQ(job->Outcome().thrown->description, L"no room");
        }
        const JobProgress progress = job->Progress();
        EXPECT_EQ(progress.done, 5u);
        EXPECT_EQ(progress.current, L"C:\\file");
    }
}

TEST(SendJob, ACancelStopsTheRunningStepAtItsNextReport) {
    std::atomic<bool> started{false};
    std::vector<SendStep> steps{{L"Waiting", true, [&](const StepProgress& progress) {
                                     started = true;
                                     while (progress(0, 1, L""))
                                         ::Sleep(1);
                                     return StepStatus::Cancelled;
                                 }}};
    DoneWindow done;
    const std::shared_ptr<SendJob> job = SendJob::Start(std::move(steps), done.Window(), DoneWindow::kDone);
    ASSERT_TRUE(test::PumpUntil([&] { return started.load(); }));
    job->Cancel();
    ASSERT_TRUE(done.WaitForDone(*job));
    EXPECT_EQ(job->Outcome().status, StepStatus::Cancelled);
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
        EXPECT_TRUE(facts[0].inFolder);
        EXPECT_TRUE(facts[1].inFolder);
        EXPECT_FALSE(facts[2].inFolder) << "the folder above is another folder";
        EXPECT_EQ(facts[0].identity, facts[1].identity);
        EXPECT_NE(facts[0].identity, facts[2].identity);
        EXPECT_EQ(facts[1].path, file) << "the real name, which a copy takes";
        EXPECT_EQ(facts[1].size, 5u);
        EXPECT_FALSE(facts[3].exists);
    }
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

// End to end: the real Ferryl.exe, started from a folder of its own with its own Ferryl.ini, is
// given files, its "&Send Now" is pressed through its window, and a stand-in mail program records
// what it gets. Copy To runs off the window's thread with progress and Cancel, loses nothing when
// it is cancelled or fails, names its copies as Explorer does; files that cannot go and messages
// too big are asked about before anything is copied or started.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/ferryl_session.h"
#include "settings/message_size_limit.h"

namespace ferryl {
namespace {

using test::AnswerBox;
using test::ChildProcess;
using test::MainWindow;
using test::PanelChild;
using test::PostedMessagesHandled;
using test::PressSendNow;
using test::PumpUntil;
using test::Quoted;
using test::ReadFileBytes;
using test::ReadRecord;
using test::TempFolder;
using test::Tick;

constexpr wchar_t kProgramTitle[] = L"Ferryl Handler";
constexpr wchar_t kCopying[] = L"Copying - Ferryl Handler";

uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A large file written only at its two ends (sparse where the file system allows), so that it is
// made at once and its bytes can still be checked: its name at the start and at the end.
std::wstring WriteLargeFile(const TempFolder& folder, const std::wstring& name, uint64_t size) {
    const std::wstring path = folder / name;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    const std::string mark(name.begin(), name.end());
    DWORD written = 0;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size - mark.size());
    if (!file || !::WriteFile(file.get(), mark.data(), static_cast<DWORD>(mark.size()), &written, nullptr) ||
        !::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) ||
        !::WriteFile(file.get(), mark.data(), static_cast<DWORD>(mark.size()), &written, nullptr))
        return {};
    return path;
}

// True when the file has the size and the two ends WriteLargeFile gave it.
bool IsWholeLargeFile(const std::wstring& path, const std::wstring& name, uint64_t size) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const std::string mark(name.begin(), name.end());
    std::string head(mark.size(), '\0'), tail(mark.size(), '\0');
    DWORD read = 0;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size - mark.size());
    return file && SizeOf(path) == size &&
           ::ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr) &&
           ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) &&
           ::ReadFile(file.get(), tail.data(), static_cast<DWORD>(tail.size()), &read, nullptr) && head == mark &&
           tail == mark;
}

// Drive Y: of 1 MB: a tmpfs mounted in the test prefix and linked among its drives, for a disk
// that fills up. Ready() is false where the host lets no file system be mounted.
class SmallDrive {
  public:
    SmallDrive() {
        wchar_t prefix[MAX_PATH]{};
        if (!::GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH))
            return;
        m_prefix = prefix;
        m_ready = RunOnHost(L"mkdir -p '" + Mount() + L"' && mount -t tmpfs -o size=1m ferryl '" + Mount() +
                            L"' && ln -sfn '" + Mount() + L"' '" + m_prefix + L"/dosdevices/y:'") &&
                  FolderExists(kRoot);
    }
    ~SmallDrive() {
        if (!m_prefix.empty())
            RunOnHost(L"rm -f '" + m_prefix + L"/dosdevices/y:'; umount '" + Mount() + L"'; rmdir '" + Mount() + L"'");
    }
    bool Ready() const { return m_ready; }
    static constexpr wchar_t kRoot[] = L"Y:\\";

  private:
    std::wstring Mount() const { return m_prefix + L"/ferryl-small-drive"; }
    // Runs a shell command of the Linux host (Wine starts Unix programs too), and waits for it by
    // the file it leaves at its end: Wine gives such a process no exit code to wait for.
    bool RunOnHost(const std::wstring& command) const {
        const std::wstring done = m_prefix + L"/ferryl-small-drive.done";
        std::wstring windowsDone = L"Z:" + done;
        for (wchar_t& c : windowsDone)
            c = c == L'/' ? L'\\' : c;
        ::DeleteFileW(windowsDone.c_str());
        std::wstring commandLine = L"/bin/sh -c \"" + command + L"; touch '" + done + L"'\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process))
            return false;
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        const bool finished = PumpUntil([&] { return FileExists(windowsDone); }, 20000);
        ::DeleteFileW(windowsDone.c_str());
        return finished;
    }

    std::wstring m_prefix;
    bool m_ready = false;
};

class SendNowTest : public test::FerrylSession {
  protected:
    // Copy To's custom folder, which ticking "&Copy To" puts into the path box.
    void CopyInto(const std::wstring& folder) { WriteIni(L"Settings", L"AttachmentsFolder", folder, ini); }
    void TickCopyAndDelete() {
        Tick(L"&Copy To");
        Tick(L"&Delete source files");
    }
    static bool SendNowEnabled() {
        return PumpUntil([] { return MainWindow() && ::IsWindowEnabled(PanelChild(L"&Send Now")); });
    }
    void CloseAndWait(ChildProcess& ferryl) {
        ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(ferryl.WaitForExit());
    }
    // Two files, of which the second cannot be copied; with "&Delete source files", the first is
    // moved. What the user is told, and that a Send Now without Copy To then sends the first file's
    // copy: its row names the copy.
    void ExpectTheSecondFileStops(ChildProcess& ferryl,
                                  const std::wstring& first,
                                  const std::wstring& second,
                                  const std::wstring& folder,
                                  const std::wstring& reason) {
        const std::wstring copy = folder + FileNameOf(first);
        PressSendNow();
        EXPECT_TRUE(AnswerBox(test::kWarningTitle, {second, reason, L"Nothing was sent", L"moved", copy}));
        EXPECT_FALSE(FileExists(folder + FileNameOf(second))) << "no partial copy";
        EXPECT_EQ(ReadFileBytes(copy), "first");
        EXPECT_FALSE(FileExists(first));
        Tick(L"&Copy To", false);
        EXPECT_NE(SendAndRecord(ferryl).find(ShortPathName(copy)), std::wstring::npos);
    }

    TempFolder dest;
};

TEST_F(SendNowTest, TheMailProgramGetsItsParametersAndTheShortPathsOfTheListedFiles) {
    WriteIni(L"Settings", L"CLParameters", L"/a -attach", ini);
    const std::wstring spaced = files.WriteFile(L"with blank.txt", "a");
    const std::wstring plain = files.WriteFile(L"plain.txt", "b");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(spaced) + L" " + plain));
    const std::wstring shortSpaced = ShortPathName(spaced);
    ASSERT_EQ(shortSpaced.find(L' '), std::wstring::npos);
    EXPECT_EQ(SendAndRecord(ferryl), ShortPathName(mail) + L" /a -attach " + shortSpaced + L" " + ShortPathName(plain));
    EXPECT_EQ(ferryl.ExitCode(), 0u);
}

TEST_F(SendNowTest, WhileALargeCopyRunsTheWindowAnswersAndCancelLosesNothing) {
    constexpr uint64_t kSize = 400ull << 20;
    const std::vector<std::wstring> names{L"one.bin", L"two.bin", L"three.bin"};
    std::vector<std::wstring> sources;
    for (const std::wstring& name : names)
        sources.push_back(WriteLargeFile(files, name, kSize));
    ASSERT_FALSE(sources.back().empty());
    CopyInto(dest.Path() + L"\\");
    WriteMessageSizeLimitMB(0, ini);
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(sources[0]) + L" " + Quoted(sources[1]) + L" " + Quoted(sources[2])));
    TickCopyAndDelete();
    PressSendNow();
    const HWND progress = test::WaitForDialog(kCopying);
    ASSERT_TRUE(progress) << "the system's progress dialog shows the copies";
    EXPECT_TRUE(test::ChildHasText(progress, {L".bin"})) << "with the file being copied";
    EXPECT_FALSE(::IsWindowEnabled(PanelChild(L"&Send Now"))) << "no second Send Now meanwhile";
    for (int ping = 0; ping < 5 && ::IsWindow(progress); ++ping) {
        DWORD_PTR answer = 0;
        EXPECT_TRUE(::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer))
            << "the window answers during the copy";
        ::Sleep(50);
    }
    // Cancel once the first file is moved, while the next is copied.
    ASSERT_TRUE(PumpUntil([&] { return !FileExists(sources[0]); }, 60000));
    ::PostMessageW(progress, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(AnswerBox(kProgramTitle, {L"Copy To was cancelled", dest / names[0]}));
    EXPECT_TRUE(SendNowEnabled()) << "the window stays with its list";
    EXPECT_FALSE(FileExists(record)) << "nothing is sent";
    int kept = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const std::wstring copy = dest / names[i];
        if (FileExists(sources[i])) {
            ++kept;
            EXPECT_TRUE(IsWholeLargeFile(sources[i], names[i], kSize));
            EXPECT_FALSE(FileExists(copy)) << "no partial copy";
        } else {
            EXPECT_TRUE(IsWholeLargeFile(copy, names[i], kSize)) << "a moved file is whole at its copy";
        }
    }
    EXPECT_GE(kept, 1) << "the cancel took effect";

    // Again, and the window is closed during the copies: asked, the program cancels them and ends
    // once the file being copied is whole or removed.
    PressSendNow();
    ASSERT_TRUE(test::WaitForDialog(kCopying));
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(AnswerBox(test::kWarningTitle, {L"Cancel the copies and close the window?"}, IDYES));
    // A file moved meanwhile is told of, as the list that names it goes.
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (HWND box = ::FindWindowW(L"#32770", kProgramTitle))
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return ferryl.Exited();
        },
        60000));
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const std::wstring copy = dest / names[i];
        EXPECT_TRUE(FileExists(sources[i]) ? IsWholeLargeFile(sources[i], names[i], kSize) && !FileExists(copy)
                                           : IsWholeLargeFile(copy, names[i], kSize));
    }
    EXPECT_FALSE(FileExists(record));
}

TEST_F(SendNowTest, ALockedFileStopsTheCopiesLosesNothingAndSaysSo) {
    CopyInto(dest.Path() + L"\\");
    const std::wstring first = files.WriteFile(L"first.txt", "first");
    const std::wstring locked = files.WriteFile(L"locked.txt", "locked");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, first + L" " + locked));
    TickCopyAndDelete();
    UniqueFile open(::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open);
    ExpectTheSecondFileStops(ferryl, first, locked, dest.Path() + L"\\", L"(error 32)");
    open.reset();
    EXPECT_EQ(ReadFileBytes(locked), "locked");
}

TEST_F(SendNowTest, ADiskThatFillsUpLosesNothingAndSaysSo) {
    const SmallDrive drive;
    if (!drive.Ready())
        GTEST_SKIP() << "no tmpfs can be mounted here (the tests need to run as root on Linux for it)";
    CopyInto(SmallDrive::kRoot);
    const std::wstring first = files.WriteFile(L"first.txt", "first");
    const std::wstring big = files.WriteFile(L"big.bin", std::string(3 << 20, 'b'));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, first + L" " + big));
    TickCopyAndDelete();
    ExpectTheSecondFileStops(ferryl, first, big, SmallDrive::kRoot, L"(error 112)");
    EXPECT_EQ(SizeOf(big), 3u << 20);
}

TEST_F(SendNowTest, ACopyIntoAFolderHoldingItsNameKeepsItsExtensionAndTheUserIsTold) {
    const std::wstring taken = dest.WriteFile(L"Quarterly report.docx", "old");
    const std::wstring source = files.WriteFile(L"Quarterly report.docx", "new");
    CopyInto(dest.Path() + L"\\");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(source)));
    Tick(L"&Copy To");
    PressSendNow();
    // A file handed over while the send runs is listed, and waits for the next Send Now.
    ASSERT_TRUE(PumpUntil([] { return ::FindWindowW(L"#32770", kProgramTitle) != nullptr; }, 20000));
    const std::wstring later = files.WriteFile(L"later.txt");
    ChildProcess laterStart;
    ASSERT_TRUE(laterStart.Start(exe, later) && laterStart.WaitForExit());
    EXPECT_TRUE(AnswerBox(kProgramTitle, {L"\"Quarterly report.docx\" goes as \"Quarterly report (2).docx\""}));
    const std::wstring copy = dest / L"Quarterly report (2).docx";
    ASSERT_TRUE(PumpUntil([&] { return !ReadRecord(record).empty(); }, 20000));
    EXPECT_EQ(ReadRecord(record), Sent({copy}));
    EXPECT_TRUE(SendNowEnabled()) << "the window stays for the later file";
    EXPECT_EQ(ReadFileBytes(copy), "new");
    EXPECT_EQ(ReadFileBytes(taken), "old");
    EXPECT_EQ(ReadFileBytes(source), "new") << "copied, not moved";
    ::DeleteFileW(record.c_str());
    Tick(L"&Copy To", false);
    EXPECT_EQ(SendAndRecord(ferryl), Sent({later})) << "the later file goes with the next Send Now";
}

// Where the fresh folder made in the temporary folder is, from the path the mail program got.
std::wstring FreshFolderOf(const std::wstring& sentShortPath) {
    const std::wstring path = LongPathName(sentShortPath);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

TEST_F(SendNowTest, IntoTheTemporaryFolderTheCopiesGoIntoAFolderOfTheirOwnUnderTheirNames) {
    const std::wstring name = L"ferryl e2e " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring taken = test::SystemTempFolder() + name;
    ASSERT_TRUE(::CloseHandle(::CreateFileW(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    const std::wstring source = files.WriteFile(name, "moved");
    // A file already in the temporary folder goes as it is.
    const std::wstring there = test::SystemTempFolder() + L"there " + name;
    ASSERT_TRUE(::CloseHandle(::CreateFileW(there.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(source) + L" " + ShortPathName(source) + L" " + Quoted(there)));
    TickCopyAndDelete();
    PressSendNow();
    const std::wstring recorded = RecordAfterExit(ferryl);
    const size_t second = recorded.find(L' ', ShortPathName(mail).size() + 1);
    const std::wstring fresh =
        FreshFolderOf(recorded.substr(ShortPathName(mail).size() + 1, second - ShortPathName(mail).size() - 1));
    EXPECT_EQ(fresh.rfind(test::SystemTempFolder() + L"Ferryl ", 0), 0u) << recorded;
    const std::wstring copy = fresh + name;
    EXPECT_EQ(recorded, Sent({copy, there})) << "the file given twice is listed once";
    EXPECT_EQ(ReadFileBytes(copy), "moved");
    EXPECT_FALSE(FileExists(source));
    EXPECT_TRUE(FileExists(taken)) << "the file already there is kept";
    EXPECT_TRUE(FileExists(there)) << "not moved beside itself";
    ::DeleteFileW(copy.c_str());
    ::RemoveDirectoryW(fresh.c_str());
    ::DeleteFileW(taken.c_str());
    ::DeleteFileW(there.c_str());
}

TEST_F(SendNowTest, AProgramThatCannotBeStartedIsReportedAndTheListStays) {
    const std::wstring bogus = programFolder.WriteFile(L"Mail Program\\bogus.exe", "not a program");
    WriteIni(L"Settings", L"MailProgram", bogus, ini);
    const std::wstring file = files.WriteFile(L"x.txt");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(test::kWarningTitle,
                          {L"The mail program \"" + ShortPathName(bogus) + L"\" could not be started.", L"(error "}));
    EXPECT_TRUE(SendNowEnabled()) << "the window stays open with its list";
    CloseAndWait(ferryl);
}

// The size warning: above the limit it names the estimate and the file, and No goes back to the
// list; not below the limit, nor with the limit at 0.
struct SizeCase {
    long limitMB;
    size_t fileBytes;
    bool warns;
};

class SizeWarningTest : public SendNowTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeWarningTest, ComesAboveTheLimitOnly) {
    WriteMessageSizeLimitMB(GetParam().limitMB, ini);
    const std::wstring file = files.WriteFile(L"attachment.bin", std::string(GetParam().fileBytes, 'a'));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    if (GetParam().warns) {
        PressSendNow();
        ASSERT_TRUE(AnswerBox(test::kWarningTitle, {L"over the limit of 1.00 MB", L"attachment.bin"}, IDNO));
        ASSERT_TRUE(SendNowEnabled()) << "back to the list";
        EXPECT_FALSE(FileExists(record));
        PressSendNow();
        ASSERT_TRUE(AnswerBox(test::kWarningTitle, {L"attachment.bin"}, IDYES));
        EXPECT_EQ(RecordAfterExit(ferryl), Sent({file})) << "sent anyway";
    } else {
        EXPECT_EQ(SendAndRecord(ferryl), Sent({file})) << "no question held it up";
    }
}

INSTANTIATE_TEST_SUITE_P(Limits,
                         SizeWarningTest,
                         ::testing::Values(SizeCase{1, 800 << 10, true},
                                           SizeCase{1, 700 << 10, false},
                                           SizeCase{0, 2 << 20, false}));

// Every route of today: a listed file deleted before Send Now is named before anything happens;
// No keeps the window and the list, Yes sends the other file.
enum class Route { CommandLine, Thunderbird, Claws, OutlookThroughMapi, NewOutlook, DefaultMapi, NamedMapi };

class GoneFileTest : public SendNowTest, public ::testing::WithParamInterface<Route> {
  protected:
    // Sets the route up; the record it leaves.
    std::wstring SetUpRoute() {
        constexpr wchar_t kClient[] = L"Ferryl Send Test Client";
        switch (GetParam()) {
            case Route::CommandLine:
                return record;
            case Route::Thunderbird:
                InstallMailProgram(L"thunderbird.exe");
                return record;
            case Route::Claws:
                InstallMailProgram(L"claws-mail.exe");
                return record;
            case Route::OutlookThroughMapi:
                InstallMailProgram(L"outlook.exe");
                InstallMapiProvider(L"Microsoft Outlook", false);
                break;
            case Route::NewOutlook:
                InstallMailProgram(L"olk.exe");
                return record;
            case Route::DefaultMapi:
                WriteIni(L"Settings", L"MailProgram", L"", ini);
                InstallMapiProvider(kClient, true);
                break;
            case Route::NamedMapi:
                WriteIni(L"Settings", L"MailProgram", std::wstring(L"MAPI:") + kClient, ini);
                InstallMapiProvider(kClient, false);
                break;
        }
        return mapi.File(L"mapi_record.txt");
    }
    // What the mail program got, as text in which the files' names can be looked for: the
    // command line, the draft it names, or the Simple MAPI call.
    std::wstring Received(const std::wstring& recorded) const {
        if (GetParam() != Route::NewOutlook)
            return recorded;
        const size_t draft = recorded.find(L"FerrylDraft-");
        const size_t start = recorded.rfind(L' ', draft) + 1;
        std::wstring path = recorded.substr(start, recorded.find(L".eml", draft) + 4 - start);
        const std::string bytes = ReadFileBytes(path);
        ::DeleteFileW(path.c_str());
        return std::wstring(bytes.begin(), bytes.end());
    }
};

TEST_P(GoneFileTest, IsNamedBeforeAnythingAndTheOthersGoOnlyWhenTheUserSaysSo) {
    const std::wstring recordPath = SetUpRoute();
    const std::wstring kept = files.WriteFile(L"kept.txt", "k");
    const std::wstring gone = files.WriteFile(L"gone.txt", "g");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, kept + L" " + gone));
    ASSERT_TRUE(::DeleteFileW(gone.c_str()));
    PressSendNow();
    ASSERT_TRUE(AnswerBox(test::kWarningTitle, {gone + L" (it no longer exists)", L"Send the other files?"}, IDNO));
    ASSERT_TRUE(SendNowEnabled()) << "the window stays with its list";
    EXPECT_FALSE(FileExists(recordPath)) << "nothing was started";
    PressSendNow();
    ASSERT_TRUE(AnswerBox(test::kWarningTitle, {gone}, IDYES));
    const std::wstring received = Received(RecordAfterExit(ferryl, recordPath));
    EXPECT_NE(received.find(GetParam() == Route::CommandLine ? ShortPathName(kept) : std::wstring(L"kept.txt")),
              std::wstring::npos)
        << received;
    EXPECT_EQ(received.find(L"gone.txt"), std::wstring::npos) << received;
}

INSTANTIATE_TEST_SUITE_P(Routes,
                         GoneFileTest,
                         ::testing::Values(Route::CommandLine,
                                           Route::Thunderbird,
                                           Route::Claws,
                                           Route::OutlookThroughMapi,
                                           Route::NewOutlook,
                                           Route::DefaultMapi,
                                           Route::NamedMapi));

// No program set and no default mail client: Send Now asks for one.
class NoMailProgramTest : public SendNowTest {
  protected:
    void SetUp() override {
        SendNowTest::SetUp();
        WriteIni(L"Settings", L"MailProgram", L"", ini);
        NoDefaultMailClient();
    }
};

int CountWindows(const wchar_t* title) {
    struct Count {
        const wchar_t* title;
        int found = 0;
    } count{title};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* count = reinterpret_cast<Count*>(data);
            wchar_t text[256]{};
            ::GetWindowTextW(window, text, 256);
            if (std::wstring(text) == count->title && ::IsWindowVisible(window))
                ++count->found;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.found;
}

TEST_F(NoMailProgramTest, TheChoiceCancelledStartsNothingAndMovesNothing) {
    const std::wstring name = L"stays " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring file = files.WriteFile(name, "s");
    CopyInto(dest.Path() + L"\\");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(file)));
    TickCopyAndDelete();
    PressSendNow();
    ASSERT_TRUE(PumpUntil([] { return CountWindows(L"Select E-Mail Program") == 1; }));
    // A second click while the first waits for the choice (a screen reader's or a tool's) starts
    // no second run.
    PressSendNow();
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_EQ(CountWindows(L"Select E-Mail Program"), 1);
    ::PostMessageW(::FindWindowW(L"#32770", L"Select E-Mail Program"), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(AnswerBox(kProgramTitle, {L"E-mail program not specified."}));
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_EQ(CountWindows(kProgramTitle), 0) << "one run, one message";
    EXPECT_TRUE(MainWindow()) << "the window stays open";
    EXPECT_FALSE(FileExists(record)) << "nothing was started";
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", ini), L"");
    EXPECT_EQ(ReadFileBytes(file), "s") << "the source stays where the list says";
    EXPECT_FALSE(FileExists(dest / name)) << "nothing was copied";
    CloseAndWait(ferryl);
}

}  // namespace
}  // namespace ferryl

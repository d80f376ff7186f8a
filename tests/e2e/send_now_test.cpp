// End to end: "&Send Now" of the real Ferryl.exe, pressed through its window. Copy To runs off the
// window's thread and loses nothing when cancelled or failing; what cannot go is asked about first.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "e2e/ferryl_session.h"
#include "mainwindow/picture_size_resource.h"
#include "pictures/picture_files.h"
#include "settings/message_size_limit.h"

namespace ferryl {
namespace {

using namespace test;

constexpr wchar_t kProgramTitle[] = L"Ferryl Handler";
constexpr wchar_t kCopying[] = L"Copying - Ferryl Handler";

// A large file whose two ends hold its name: written, or read back (true when it is so).
bool LargeFile(const std::wstring& path, uint64_t size, bool write) {
    const std::wstring name = FileNameOf(path);
    const std::string mark(name.begin(), name.end());
    UniqueFile file(::CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  write ? CREATE_NEW : OPEN_EXISTING, 0, nullptr));
    std::string head = write ? mark : std::string(mark.size(), '\0'), tail = head;
    const auto transfer = [&](std::string& bytes) {
        DWORD done = 0;
        return write ? ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr)
                     : ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    };
    LARGE_INTEGER end{}, length{};
    end.QuadPart = static_cast<LONGLONG>(size - mark.size());
    return file && transfer(head) && ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && transfer(tail) &&
           ::GetFileSizeEx(file.get(), &length) && static_cast<uint64_t>(length.QuadPart) == size && head == mark &&
           tail == mark;
}

// Drive Y: of 1 MB, a disk that fills up: a tmpfs mounted in the test prefix and linked among its
// drives. Ready() is false where the host lets no file system be mounted.
class SmallDrive {
  public:
    SmallDrive() {
        wchar_t prefix[MAX_PATH]{};
        m_prefix = ::GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH) < MAX_PATH ? prefix : L"";
        m_ready = !m_prefix.empty() &&
                  RunOnHost(L"mkdir -p '" + Mount() + L"' && mount -t tmpfs -o size=1m ferryl '" + Mount() +
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
    // Runs a shell command of the Linux host (Wine starts Unix programs too), and waits for the file
    // it leaves at its end: Wine gives such a process no exit code to wait for.
    bool RunOnHost(const std::wstring& command) const {
        const std::wstring done = m_prefix + L"/ferryl-small-drive.done";
        std::wstring windowsDone = L"Z:" + done,
                     commandLine = L"/bin/sh -c \"" + command + L"; touch '" + done + L"'\"";
        std::replace(windowsDone.begin(), windowsDone.end(), L'/', L'\\');  // FileExists takes full Windows paths
        ::DeleteFileW(windowsDone.c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        const bool started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                              &startup, &process);
        const UniqueHandle thread(process.hThread), owned(process.hProcess);
        const bool finished = started && PumpUntil([&] { return FileExists(windowsDone); }, 20000);
        ::DeleteFileW(windowsDone.c_str());
        return finished;
    }

    std::wstring m_prefix;
    bool m_ready = false;
};

class SendNowTest : public FerrylSession {
  protected:
    void CopyInto(const std::wstring& folder) { WriteIni(L"Settings", L"AttachmentsFolder", folder, ini); }
    static void TickCopyAndDelete() {
        Tick(L"&Copy To");
        Tick(L"&Delete source files");
    }
    // A picture of the quarters, 1600 × 1200, among the files; the picture size kept as this choice.
    std::wstring Photo(const wchar_t* name, const GUID& container, const wchar_t* keptSize) {
        if (*keptSize)
            WriteIni(L"Settings", L"PictureSize", keptSize, ini);
        EXPECT_TRUE(MakePicture(files / name, container, 1600, 1200));
        return files / name;
    }
    // Answers the picture size question with Enter or Esc; the files it names as no pictures.
    static std::vector<std::wstring> AnswerPictureSize(WPARAM key) {
        const HWND dialog = WaitForDialog(L"Picture Size");
        if (!dialog || !FocusOf(dialog)) {
            ADD_FAILURE() << "no picture size question";
            return {L"(no question)"};
        }
        std::vector<std::wstring> named;
        for (LRESULT i = 0; i < ::SendDlgItemMessageW(dialog, IDC_PICTURE_UNREADABLE, LB_GETCOUNT, 0, 0); ++i) {
            wchar_t name[MAX_PATH]{};
            ::SendDlgItemMessageW(dialog, IDC_PICTURE_UNREADABLE, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
            named.push_back(name);
        }
        ::PostMessageW(FocusOf(dialog), WM_KEYDOWN, key, 1);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
        return named;
    }
    // Copy To, deleting the sources, of two files of which the second cannot be copied: the first is
    // moved, the user told, and its row then names the copy.
    void ExpectTheSecondFileStops(const std::wstring& folder, const std::wstring& second, const wchar_t* reason) {
        CopyInto(folder);
        const std::wstring first = files.WriteFile(L"first.txt", "first"), copy = folder + L"first.txt";
        ChildProcess ferryl;
        ASSERT_TRUE(StartFerryl(ferryl, first + L" " + second));
        TickCopyAndDelete();
        PressSendNow();
        EXPECT_TRUE(AnswerBox(kWarningTitle, {second, reason, L"Nothing was sent", L"moved", copy}));
        EXPECT_FALSE(FileExists(folder + FileNameOf(second))) << "no partial copy";
        EXPECT_EQ(ReadFileBytes(copy), "first");
        EXPECT_FALSE(FileExists(first));
        ASSERT_TRUE(SendNowEnabled()) << "the window is back with its list";
        Tick(L"&Copy To", false);
        const std::wstring sent = SendAndRecord(ferryl);
        EXPECT_NE(sent.find(ShortPathName(copy)), std::wstring::npos) << sent;
    }

    TempFolder dest;
};

TEST_F(SendNowTest, WhileALargeCopyRunsTheWindowAnswersAndCancelLosesNothing) {
    constexpr uint64_t kSize = 400ull << 20;
    std::vector<std::wstring> sources;
    for (const wchar_t* name : {L"one.bin", L"two.bin", L"three.bin"}) {
        sources.push_back(files / name);
        ASSERT_TRUE(LargeFile(sources.back(), kSize, true));
    }
    CopyInto(dest.Path() + L"\\");
    WriteMessageSizeLimitMB(0, ini);
    // Each file is whole, at its place or at its copy, and nowhere else; what is left in place.
    const auto kept = [&] {
        int left = 0;
        for (const std::wstring& source : sources) {
            const std::wstring copy = dest / FileNameOf(source);
            left += FileExists(source);
            EXPECT_TRUE(FileExists(source) ? LargeFile(source, kSize, false) && !FileExists(copy)
                                           : LargeFile(copy, kSize, false))
                << source;
        }
        return left;
    };
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(sources[0]) + L" " + Quoted(sources[1]) + L" " + Quoted(sources[2])));
    TickCopyAndDelete();
    PressSendNow();
    const HWND progress = WaitForDialog(kCopying);
    // The dialog shows before it is given the file's name.
    ASSERT_TRUE(progress && PumpUntil([&] { return ChildHasText(progress, {L".bin"}); }))
        << "the system's progress dialog names the file being copied";
    EXPECT_FALSE(::IsWindowEnabled(PanelChild(L"&Send Now"))) << "no second Send Now meanwhile";
    EXPECT_TRUE(::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr))
        << "the window answers during the copy";
    // Cancel once the first file is moved, while the next is copied.
    ASSERT_TRUE(PumpUntil([&] { return !FileExists(sources[0]); }, 60000));
    ::PostMessageW(progress, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(AnswerBox(kProgramTitle, {L"Copy To was cancelled", dest / L"one.bin"}));
    EXPECT_TRUE(SendNowEnabled()) << "the window stays with its list";
    EXPECT_FALSE(FileExists(record)) << "nothing is sent";
    EXPECT_GE(kept(), 1) << "the cancel took effect";

    // Again, and the window is closed during the copies: asked, the program cancels them and ends
    // once the file being copied is whole or removed, telling of a file moved meanwhile.
    PressSendNow();
    ASSERT_TRUE(WaitForDialog(kCopying));
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(AnswerBox(kWarningTitle, {L"Cancel the copies and close the window?"}, IDYES));
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (HWND box = ::FindWindowW(L"#32770", kProgramTitle))
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return ferryl.Exited();
        },
        60000));
    kept();
    EXPECT_FALSE(FileExists(record));
}

TEST_F(SendNowTest, ALockedFileOrAFullDiskStopsTheCopiesLosesNothingAndSaysSo) {
    const std::wstring locked = files.WriteFile(L"locked.txt", "locked");
    UniqueFile open(::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open);
    ExpectTheSecondFileStops(dest.Path() + L"\\", locked, L"(error 32)");
    open.reset();
    EXPECT_EQ(ReadFileBytes(locked), "locked");

    const SmallDrive drive;
    if (!drive.Ready())
        GTEST_SKIP() << "no tmpfs can be mounted here (the tests need to run as root on Linux for it)";
    const std::wstring big = files.WriteFile(L"big.bin", std::string(3 << 20, 'b'));
    ExpectTheSecondFileStops(SmallDrive::kRoot, big, L"(error 112)");
    EXPECT_EQ(ReadFileBytes(big).size(), 3u << 20);
}

// The mail program gets CLParameters, then the short paths (without blanks) of the copies. A copy
// into a folder that holds its name keeps its extension, and the user is told.
TEST_F(SendNowTest, ACopyIntoAFolderHoldingItsNameKeepsItsExtensionAndTheUserIsTold) {
    WriteIni(L"Settings", L"CLParameters", L"/a -attach", ini);
    const std::wstring taken = dest.WriteFile(L"Quarterly report.docx", "old");
    const std::wstring source = files.WriteFile(L"Quarterly report.docx", "new");
    CopyInto(dest.Path() + L"\\");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(source)));
    Tick(L"&Copy To");
    PressSendNow();
    EXPECT_TRUE(AnswerBox(kProgramTitle, {L"\"Quarterly report.docx\" goes as \"Quarterly report (2).docx\""}));
    const std::wstring copy = dest / L"Quarterly report (2).docx";
    EXPECT_EQ(RecordAfterExit(ferryl), ShortPathName(mail) + L" /a -attach " + ShortPathName(copy));
    EXPECT_EQ(ShortPathName(copy).find(L' '), std::wstring::npos);
    EXPECT_EQ(ReadFileBytes(copy), "new");
    EXPECT_EQ(ReadFileBytes(taken), "old");
    EXPECT_EQ(ReadFileBytes(source), "new") << "copied, not moved";
    EXPECT_EQ(ferryl.ExitCode(), 0u);
}

// Copy To and "&Delete source files" act on the originals, and the mail program gets the smaller
// pictures of the copies; a picture found unreadable only then is told of, and sent as it is.
TEST_F(SendNowTest, IntoTheTemporaryFolderTheFilesAreMovedUnderTheirNamesAndTheirPicturesSentSmaller) {
    const std::wstring name = L"ferryl e2e " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring source = files.WriteFile(name, "moved");
    // A file already in the temporary folder goes as it is.
    const std::wstring there = SystemTempFolder() + L"there " + name;
    ASSERT_TRUE(::CloseHandle(::CreateFileW(there.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    const std::wstring photo = Photo(L"photo.jpg", GUID_ContainerFormatJpeg, L"2");
    const std::string photoBytes = ReadFileBytes(photo);
    // A bitmap cut short: its header reads, its pixels do not.
    const std::wstring cut =
        files.WriteFile(L"cut.bmp", ReadFileBytes(Photo(L"cut.bmp", GUID_ContainerFormatBmp, L"")).substr(0, 200));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(
        ferryl, Quoted(source) + L" " + ShortPathName(source) + L" " + Quoted(there) + L" " + photo + L" " + cut));
    TickCopyAndDelete();
    PressSendNow();
    EXPECT_EQ(AnswerPictureSize(VK_RETURN), std::vector<std::wstring>{}) << "both read as pictures so far";
    EXPECT_TRUE(AnswerBox(kProgramTitle, {L"could not be read as pictures while they were made smaller", cut}));
    const std::vector<std::wstring> sent = SplitCommandLine(RecordAfterExit(ferryl));
    ASSERT_EQ(sent.size(), 5u) << "the program and four files: the one given twice is listed once";
    const std::wstring copy = LongPathName(sent[1]), fresh = copy.substr(0, copy.find_last_of(L'\\') + 1);
    EXPECT_EQ(fresh.rfind(SystemTempFolder() + L"Ferryl ", 0), 0u) << copy;
    EXPECT_EQ(copy, fresh + name);
    EXPECT_EQ(sent[2], ShortPathName(there)) << "not moved beside itself";
    const std::wstring smaller = LongPathName(sent[3]);
    EXPECT_EQ(smaller.rfind(SystemTempFolder() + L"FerrylPictures-", 0), 0u) << smaller;
    EXPECT_EQ(FileNameOf(smaller), L"photo.jpg");
    EXPECT_EQ(ReadPicture(smaller).width, 800u);
    EXPECT_EQ(LongPathName(sent[4]), fresh + L"cut.bmp");
    EXPECT_EQ(ReadFileBytes(copy), "moved");
    EXPECT_EQ(ReadFileBytes(fresh + L"photo.jpg"), photoBytes) << "the original moved whole";
    EXPECT_FALSE(FileExists(source) || FileExists(photo) || FileExists(cut));
    for (const std::wstring& left : {copy, fresh + L"photo.jpg", fresh + L"cut.bmp", there})
        ::DeleteFileW(left.c_str());
    ::RemoveDirectoryW(fresh.c_str());
}

// The list stays, and the smaller pictures made for the program go again.
TEST_F(SendNowTest, AProgramThatCannotBeStartedIsReportedAndTheListStays) {
    const std::wstring bogus = programFolder.WriteFile(L"Mail Program\\bogus.exe", "not a program");
    WriteIni(L"Settings", L"MailProgram", bogus, ini);
    const std::set<std::wstring> before = Matching(SystemTempFolder() + L"FerrylPictures-*");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Photo(L"photo.jpg", GUID_ContainerFormatJpeg, L"1")));
    PressSendNow();
    AnswerPictureSize(VK_RETURN);
    EXPECT_TRUE(AnswerBox(kWarningTitle,
                          {L"The mail program \"" + ShortPathName(bogus) + L"\" could not be started.", L"(error "}));
    EXPECT_TRUE(SendNowEnabled()) << "the window stays open with its list";
    // They go once the message is answered.
    EXPECT_TRUE(PumpUntil([&] { return Matching(SystemTempFolder() + L"FerrylPictures-*") == before; }));
}

// The size warning comes after the picture size (which pictures at the size chosen count is the
// plan's part): a bitmap of 1600 × 1200 (5.5 MB) sent as it is names the file, and No goes back to
// the list.
TEST_F(SendNowTest, TheSizeWarningComesAboveTheLimitAfterThePictureSize) {
    WriteMessageSizeLimitMB(2, ini);
    const std::wstring photo = Photo(L"photo.bmp", GUID_ContainerFormatBmp, L"");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, photo));
    for (const int answer : {IDNO, IDYES}) {
        PressSendNow();
        EXPECT_EQ(AnswerPictureSize(VK_RETURN), std::vector<std::wstring>{});
        ASSERT_TRUE(AnswerBox(kWarningTitle, {L"over the limit of 2.00 MB", L"photo.bmp"}, answer));
        ASSERT_TRUE(answer == IDYES || SendNowEnabled()) << "back to the list";
        EXPECT_FALSE(answer == IDNO && FileExists(record));
    }
    EXPECT_EQ(RecordAfterExit(ferryl), Sent({photo}));
    EXPECT_EQ(ReadIni(L"Settings", L"PictureSize", ini), L"") << "the original size is not written";
}

// Every route: a file gone is named first, and No keeps the list; the picture size question names a
// fake JPEG, and Cancel keeps the list; then the smaller picture goes under its name, the rest as is.
struct Route {
    const wchar_t* program;  // MailProgram: a stand-in's file name, or the setting itself
    const wchar_t* client;   // the Simple MAPI client that takes the files, if any
};

class RouteTest : public SendNowTest, public ::testing::WithParamInterface<Route> {};

TEST_P(RouteTest, AGoneFileIsNamedFirstAndThePictureGoesSmallerUnderItsName) {
    const std::wstring program = GetParam().program;
    SCOPED_TRACE(program);
    if (program.ends_with(L".exe"))
        InstallMailProgram(program.c_str());
    else
        WriteIni(L"Settings", L"MailProgram", program, ini);
    if (GetParam().client)
        InstallMapiProvider(GetParam().client, program.empty());
    const std::wstring recordPath = GetParam().client ? mapi.File(L"mapi_record.txt") : record;
    const std::wstring photo = Photo(L"IMG_0412.jpg", GUID_ContainerFormatJpeg, L"1");
    const std::string photoBytes = ReadFileBytes(photo);
    const std::wstring fake = files.WriteFile(L"fake.jpg", "This is a letter, not a picture.");
    const std::wstring gone = files.WriteFile(L"gone.txt", "g");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, photo + L" " + fake + L" " + gone));
    ASSERT_TRUE(::DeleteFileW(gone.c_str()));
    PressSendNow();
    ASSERT_TRUE(AnswerBox(kWarningTitle, {gone + L" (it no longer exists)", L"Send the other files?"}, IDNO));
    ASSERT_TRUE(SendNowEnabled()) << "the window stays with its list";
    EXPECT_FALSE(FileExists(recordPath)) << "nothing was started";
    PressSendNow();
    ASSERT_TRUE(AnswerBox(kWarningTitle, {gone}, IDYES));
    EXPECT_EQ(AnswerPictureSize(VK_ESCAPE), std::vector<std::wstring>{L"fake.jpg"});
    ASSERT_TRUE(SendNowEnabled()) << "the window stays with its list";
    EXPECT_FALSE(FileExists(recordPath)) << "nothing was started";
    PressSendNow();
    ASSERT_TRUE(AnswerBox(kWarningTitle, {gone}, IDYES));
    AnswerPictureSize(VK_RETURN);
    RecordAfterExit(ferryl, recordPath);
    const std::vector<Attachment> received = GetParam().client ? ReceivedByMapi() : Received(program, record);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].name, L"IMG_0412.jpg");
    const ReadBack smaller = ReadPictureBytes(received[0].bytes);
    EXPECT_EQ(smaller.width, 640u);
    EXPECT_EQ(smaller.height, 480u);
    EXPECT_TRUE(::IsEqualGUID(smaller.container, GUID_ContainerFormatJpeg));
    EXPECT_EQ(received[1].name, L"fake.jpg");
    EXPECT_EQ(received[1].bytes, ReadFileBytes(fake));
    EXPECT_EQ(ReadFileBytes(photo), photoBytes) << "the original is only read";
}

// Classic Outlook takes more than one file through its Simple MAPI client.
INSTANTIATE_TEST_SUITE_P(Routes,
                         RouteTest,
                         ::testing::Values(Route{L"mail.exe", nullptr},
                                           Route{L"thunderbird.exe", nullptr},
                                           Route{L"olk.exe", nullptr},
                                           Route{L"", L"Ferryl Send Test Client"},
                                           Route{L"claws-mail.exe", nullptr},
                                           Route{L"sylpheed.exe", nullptr},
                                           Route{L"outlook.exe", L"Microsoft Outlook"},
                                           Route{L"MAPI:Ferryl Named Client", L"Ferryl Named Client"}));

// No program set and no default mail client: Send Now asks for one; cancelled, it starts nothing
// and copies nothing, and a second click meanwhile starts no second run.
TEST_F(SendNowTest, TheMailProgramsChoiceCancelledStartsNothingAndMovesNothing) {
    WriteIni(L"Settings", L"MailProgram", L"", ini);
    Keep(HKEY_LOCAL_MACHINE, kMailClientsKey, L"", std::nullopt);  // no default mail client
    Keep(HKEY_CURRENT_USER, kMailClientsKey, L"", std::nullopt);
    const std::wstring file = files.WriteFile(L"stays.txt", "s");
    CopyInto(dest.Path() + L"\\");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(file)));
    TickCopyAndDelete();
    PressSendNow();
    const HWND chooser = WaitForDialog(L"Select E-Mail Program");
    ASSERT_TRUE(chooser);
    PressSendNow();
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_TRUE(::FindWindowW(L"#32770", L"Select E-Mail Program") == chooser &&
                !::FindWindowExW(nullptr, chooser, L"#32770", L"Select E-Mail Program"))
        << "one chooser";
    ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(AnswerBox(kProgramTitle, {L"E-mail program not specified."}));
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_FALSE(::FindWindowW(L"#32770", kProgramTitle)) << "one run, one message";
    EXPECT_TRUE(SendNowEnabled()) << "the window stays with its list";
    EXPECT_FALSE(FileExists(record)) << "nothing was started";
    EXPECT_EQ(ReadFileBytes(file), "s") << "the source stays where the list says";
    EXPECT_FALSE(FileExists(dest / L"stays.txt")) << "nothing was copied";
}

}  // namespace
}  // namespace ferryl

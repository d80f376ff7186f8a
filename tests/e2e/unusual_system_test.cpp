// End to end: the real Ferryl.exe on systems out of the ordinary: a file right at a drive's root
// with a one-letter name, "X:\a"; twice the DPI with a saved place off the screen and a size larger
// than it; and a library it loads late missing.

#include <gtest/gtest.h>

#include <string>

#include "app/instance.h"
#include "common/twips.h"
#include "e2e/ferryl_session.h"

namespace ferryl::test {
namespace {

// Starts a program and waits for its end (Wine starts a Unix program as it starts a Windows one,
// but its process handle says nothing of it: the caller waits for what it does).
void RunUnix(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = program + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW((L"Z:\\bin\\" + program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &info)) {
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
}

// A free drive letter mapped to a folder while the object lives. Wine keeps its drives as symbolic
// links in the prefix's dosdevices folder, which the system's `ln` makes; Windows maps one with
// DefineDosDevice. (The paths are ASCII: the test's own temporary folder and the prefix.)
class MappedDrive {
  public:
    explicit MappedDrive(const std::wstring& folder) : m_folder(folder) {
        for (wchar_t letter = L'X'; letter > L'D' && m_drive.empty(); --letter) {
            if (::GetDriveTypeW((std::wstring{letter, L':', L'\\'}).c_str()) == DRIVE_NO_ROOT_DIR)
                m_drive = std::wstring{letter, L':'};
        }
        if (m_drive.empty())
            return;
        if (const std::wstring drives = UnixPath(L"C:\\"); !drives.empty()) {
            // "<prefix>/dosdevices/c:/" names the folder of the links, each named by its drive.
            m_link = drives.substr(0, drives.size() - 3) + static_cast<wchar_t>(towlower(m_drive[0])) + L":";
            RunUnix(L"ln", L"-s \"" + UnixPath(folder) + L"\" \"" + m_link + L"\"");
        } else {
            m_defined = ::DefineDosDeviceW(0, m_drive.c_str(), folder.c_str()) != FALSE;
        }
    }
    ~MappedDrive() {
        if (!m_link.empty())
            RunUnix(L"rm", L"-f \"" + m_link + L"\"");
        if (m_defined)
            ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, m_drive.c_str(), m_folder.c_str());
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    // "X:\", empty when no letter was free.
    std::wstring Root() const { return m_drive.empty() ? std::wstring() : m_drive + L"\\"; }

  private:
    std::wstring m_folder;
    std::wstring m_drive;  // "X:"
    std::wstring m_link;
    bool m_defined = false;
};

class UnusualSystemTest : public FerrylSession {};

TEST_F(UnusualSystemTest, AOneLetterFileAtADriveRootIsListed) {
    const MappedDrive drive(files.MakeFolder(L"drive"));
    ASSERT_FALSE(drive.Root().empty()) << "no drive letter free";
    files.WriteFile(L"drive\\a");
    const std::wstring file = drive.Root() + L"a";
    ASSERT_TRUE(PumpUntil([&] { return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000))
        << "the drive is mapped";
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    EXPECT_EQ(SendAndRecord(ferryl), Sent({file}));
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST_F(UnusualSystemTest, AtTwiceTheDpiTheWindowAndSendNowLieInsideTheWorkArea) {
    // What Wine takes for the system's DPI when a program starts: the REG_DWORD 192, whose four
    // bytes a one-character text with its terminator makes.
    Keep(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", std::wstring(1, static_cast<wchar_t>(192)),
         REG_DWORD);
    // 2667 by 1600 pixels at 192 DPI, left of and below the screen.
    for (const auto& [key, value] : {std::pair{L"WindowWidth", L"20000"}, std::pair{L"WindowHeight", L"12000"},
                                     std::pair{L"WindowLeft", L"-30000"}, std::pair{L"WindowTop", L"90000"}})
        WriteIni(L"Window Position", key, value, ini);
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(files.WriteFile(L"a.txt"))));
    RECT work{}, window{}, sendNow{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    ::GetWindowRect(MainWindow(), &window);
    ::GetWindowRect(PanelChild(L"&Send Now"), &sendNow);
    EXPECT_TRUE(Inside(window, work)) << window.left << "," << window.top << " " << window.right << ","
                                      << window.bottom;
    EXPECT_TRUE(Inside(sendNow, work));
    EXPECT_EQ(window.right - window.left, work.right - work.left) << "as wide as the screen allows";

    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(ferryl.WaitForExit());
    // Saved again in twips, where it now is.
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowWidth", ini),
              std::to_wstring(PixelsToTwips(work.right - work.left, 192)));
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowLeft", ini), std::to_wstring(PixelsToTwips(window.left, 192)));
}

class MissingLibraryTest : public FerrylSession {
  protected:
    // Wine's own setting that makes a library missing for one program: its load order "disabled"
    // (AppDefaults). WINEDLLOVERRIDES cannot serve: Wine gives a started program its own start's
    // value.
    void LibraryMissing(const wchar_t* library) {
        Keep(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Ferryl.exe\\DllOverrides", library, std::wstring());
    }
};

TEST_F(MissingLibraryTest, AMissingDelayLoadedLibraryStopsTheStartWithAMessageBeforeAnyFileIsTaken) {
    const std::wstring file = files.WriteFile(L"file.txt");
    const std::string settings = ReadFileBytes(ini);
    LibraryMissing(L"comdlg32");
    ChildProcess ferryl;
    ASSERT_TRUE(ferryl.Start(exe, file));
    HWND box = WaitForDialog(kWarningTitle, 20000);
    ASSERT_TRUE(box) << "no message; main window shown: " << (MainWindow() != nullptr);
    const std::wstring message = MessageBoxText(box);
    EXPECT_NE(message.find(L"comdlg32.dll"), std::wstring::npos) << message;
    EXPECT_FALSE(MainWindow()) << "no file is taken";
    EXPECT_TRUE(IsFirstInstance(InstanceMutexName())) << "a later start need not wait for it";
    ReleaseInstanceMutex();
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(ferryl.WaitForExit());
    EXPECT_EQ(ReadFileBytes(ini), settings) << "it never had a window whose place it saves";
}

TEST_F(MissingLibraryTest, WithoutOleaccTheFileListAnswersNoObjectAndTheProgramGoesOn) {
    const std::wstring file = files.WriteFile(L"file.txt");
    LibraryMissing(L"oleacc");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    HWND list = FileList();
    ASSERT_TRUE(list);
    // What a screen reader sends first. Any process may send it, or post it: then the program's
    // own loop dispatches it, with no callback boundary of the system's to stop an exception.
    DWORD_PTR result = 1;
    EXPECT_NE(
        ::SendMessageTimeoutW(list, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_NORMAL, 10000, &result),
        0);
    EXPECT_EQ(result, 0u) << "no object of its own: the system answers";
    ASSERT_TRUE(::PostMessageW(list, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)));
    EXPECT_NE(::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result), 0);
    ASSERT_FALSE(ferryl.Exited());
    EXPECT_EQ(SendAndRecord(ferryl), Sent({file}));
}

}  // namespace
}  // namespace ferryl::test

// End to end: the real Ferryl.exe on systems out of the ordinary: a file right at a drive's root
// with a one-letter name; twice the DPI with a saved place off the screen and a size larger than
// it; and a library it loads late missing.

#include <gtest/gtest.h>

#include <string>

#include "app/instance.h"
#include "common/twips.h"
#include "e2e/ferryl_session.h"

namespace ferryl::test {
namespace {

class UnusualSystemTest : public FerrylSession {
  protected:
    // Wine's own setting that makes a library missing for one program: its load order "disabled".
    // (WINEDLLOVERRIDES cannot serve: Wine gives a started program its own start's value.)
    void LibraryMissing(const wchar_t* library) {
        Keep(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Ferryl.exe\\DllOverrides", library, std::wstring());
    }
};

TEST_F(UnusualSystemTest, AOneLetterFileAtADriveRootIsListed) {
    // The test prefix's own drive C:, whose root the tests may write.
    const std::wstring file = L"C:\\q";
    struct Removed {
        ~Removed() { ::DeleteFileW(L"C:\\q"); }
    } removed;
    ASSERT_TRUE(UniqueFile(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    EXPECT_EQ(SendAndRecord(ferryl), Sent({file}));
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST_F(UnusualSystemTest, AtTwiceTheDpiTheWindowAndSendNowLieInsideTheWorkArea) {
    SystemDpi(192);
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

TEST_F(UnusualSystemTest, AMissingDelayLoadedLibraryStopsTheStartWithAMessageBeforeAnyFileIsTaken) {
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

TEST_F(UnusualSystemTest, WithoutOleaccTheFileListAnswersNoObjectAndTheProgramGoesOn) {
    const std::wstring file = files.WriteFile(L"file.txt");
    LibraryMissing(L"oleacc");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    // What a screen reader sends first. Any process may send it, or post it: then the program's
    // own loop dispatches it, with no callback boundary of the system's to stop an exception.
    DWORD_PTR result = 1;
    EXPECT_NE(::SendMessageTimeoutW(FileList(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_NORMAL, 10000,
                                    &result),
              0);
    EXPECT_EQ(result, 0u) << "no object of its own: the system answers";
    ASSERT_TRUE(::PostMessageW(FileList(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)));
    EXPECT_NE(::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result), 0);
    ASSERT_FALSE(ferryl.Exited());
    EXPECT_EQ(SendAndRecord(ferryl), Sent({file}));
}

}  // namespace
}  // namespace ferryl::test

// End to end: the real Ferryl.exe read by a screen reader in another process, and on systems out of
// the ordinary: a library it loads late missing; a file right at a drive's root with a one-letter name.

#include <gtest/gtest.h>

#include <string>

#include "app/instance.h"
#include "e2e/ferryl_session.h"
#include "support/accessibility.h"
// After windows.h, which it needs.
#include <shlwapi.h>

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

// Read and driven through Active Accessibility from this process, which hears its WinEvents (what
// the grid answers in-process is its own tests' part).
TEST_F(UnusualSystemTest, AScreenReaderInAnotherProcessReadsAndDrivesTheWindow) {
    const std::wstring a = files.WriteFile(L"a.txt", std::string(2048, 'a'));
    const std::wstring b = files.WriteFile(L"b b.txt", "b");
    const std::wstring c = files.WriteFile(L"c.txt", std::string(1234567, 'c'));
    ASSERT_TRUE(SetModifiedTime(a, 2024, 3, 5, 14, 7));
    ASSERT_TRUE(SetModifiedTime(b, 2023, 12, 31, 23, 59));
    ASSERT_TRUE(SetModifiedTime(c, 2001, 1, 2, 3, 4));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, a + L" \"" + b + L"\" " + c));
    const HWND list = FileList();
    AccessibleRef access = ClientAccessible(list);
    ASSERT_TRUE(access);
    LONG count = 0;
    ASSERT_TRUE(PumpUntil([&] { return SUCCEEDED(access->get_accChildCount(&count)) && count == 3; }));

    ExpectSpokenRow(Name(access.get(), 1), a, 3, L"2024", L"2,048");
    ExpectSpokenRow(Name(access.get(), 2), b, 12, L"2023", L"1");
    ExpectSpokenRow(Name(access.get(), 3), c, 1, L"2001", L"1,234,567");
    EXPECT_TRUE(State(access.get(), 1) & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(State(access.get(), 2) & STATE_SYSTEM_SELECTED);
    // The path box is named by the label its check box shows, the folder buttons by what their
    // pictures stand for, and the line under the list by its text.
    const HWND panel = ::FindWindowExW(MainWindow(), nullptr, L"FerrylPozadinaP", nullptr);
    const auto nameOf = [](HWND window) {
        AccessibleRef object = ClientAccessible(window);
        return object ? Name(object.get(), CHILDID_SELF) : L"(no object)";
    };
    EXPECT_EQ(nameOf(::FindWindowExW(panel, nullptr, L"Edit", nullptr)), L"Copy To");
    for (const wchar_t* name : {L"Temporary Folder", L"Desktop Folder", L"Attachments Folder", L"Custom Folder"}) {
        const HWND button = ::FindWindowExW(panel, nullptr, L"Button", name);
        EXPECT_EQ(nameOf(button), name);
        EXPECT_TRUE(::GetWindowLongW(button, GWL_STYLE) & BS_ICON) << name << ": the name is not drawn";
    }
    wchar_t total[64]{};
    ::StrFormatByteSizeW(2048 + 1 + 1234567, total, 64);
    EXPECT_EQ(nameOf(::FindWindowExW(MainWindow(), nullptr, L"Static", nullptr)), L"3 files, " + std::wstring(total));

    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    WinEventRecorder events(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, processId);
    ASSERT_TRUE(events.Hooked());
    ASSERT_EQ(access->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(2)), S_OK);
    EXPECT_EQ(Selection(access.get()), std::vector<long>{2});
    EXPECT_FALSE(State(access.get(), 1) & STATE_SYSTEM_SELECTED);
    EXPECT_TRUE(PumpUntil([&] {
        return events.Count(EVENT_OBJECT_SELECTION, list, 2) == 1 && events.Count(EVENT_OBJECT_FOCUS, list, 2) == 1;
    }));

    // While a modal box or a mail client's compose window disables the window, a screen reader
    // can neither open a file nor move the selection under it.
    ::EnableWindow(MainWindow(), FALSE);
    EXPECT_TRUE(State(access.get(), 3) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(access->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(3)), E_FAIL);
    EXPECT_EQ(access->accDoDefaultAction(Child(3)), E_FAIL);
    EXPECT_EQ(Selection(access.get()), std::vector<long>{2});
    ::EnableWindow(MainWindow(), TRUE);
    access.Reset();
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

// The file, a one-letter name at a drive's root, is listed and sent too.
TEST_F(UnusualSystemTest, WithoutOleaccTheFileListAnswersNoObjectAndTheProgramGoesOn) {
    // The test prefix's own drive C:, whose root the tests may write.
    const std::wstring file = L"C:\\q";
    struct Removed {
        ~Removed() { ::DeleteFileW(L"C:\\q"); }
    } removed;
    ASSERT_TRUE(WriteFileBytes(file, ""));
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

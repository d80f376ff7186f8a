// End to end: the real Ferryl.exe on a system where a library it loads on first call is missing.

#include <gtest/gtest.h>

#include <string>

#include "app/instance.h"
#include "e2e/ferryl_session.h"
#include "settings/funkcije.h"
#include "support/registry_scope.h"

namespace ferryl {
namespace {

using test::ChildProcess;
using test::MainWindow;

// Wine's own setting that makes a library missing for one program: its load order "disabled"
// (AppDefaults). WINEDLLOVERRIDES cannot serve: Wine gives a started program its own start's value.
test::RegistryValueScope LibraryMissing(const wchar_t* library) {
    return test::RegistryValueScope(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Ferryl.exe\\DllOverrides",
                                    library, std::wstring());
}

class MissingLibraryTest : public test::FerrylSession {};

TEST_F(MissingLibraryTest, AMissingDelayLoadedLibraryStopsTheStartWithAMessageBeforeAnyFileIsTaken) {
    const std::wstring file = files.WriteFile(L"file.txt");
    const std::string settings = test::ReadFileBytes(ini);
    ChildProcess ferryl;
    const auto missing = LibraryMissing(L"comdlg32");
    ASSERT_TRUE(ferryl.Start(exe, file));
    HWND box = test::WaitForDialog(test::kWarningTitle, 20000);
    ASSERT_TRUE(box) << "no message; main window shown: " << (MainWindow() != nullptr);
    const std::wstring message = test::MessageBoxText(box);
    EXPECT_NE(message.find(L"comdlg32.dll"), std::wstring::npos) << message;
    EXPECT_FALSE(MainWindow()) << "no file is taken";
    EXPECT_TRUE(IsFirstInstance(InstanceMutexName())) << "a later start need not wait for it";
    ReleaseInstanceMutex();
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(ferryl.WaitForExit());
    EXPECT_EQ(test::ReadFileBytes(ini), settings) << "it never had a window whose place it saves";
}

TEST_F(MissingLibraryTest, WithoutOleaccTheFileListAnswersNoObjectAndTheProgramGoesOn) {
    const std::wstring file = files.WriteFile(L"file.txt");
    ChildProcess ferryl;
    const auto missing = LibraryMissing(L"oleacc");
    ASSERT_TRUE(ferryl.Start(exe, file));
    ASSERT_TRUE(UntilListedAndIdle(ferryl));
    HWND list = test::FileList();
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
}  // namespace ferryl

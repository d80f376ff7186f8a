// End to end: the real Ferryl.exe on a system where a library it loads on first call is missing.

#include <gtest/gtest.h>

#include <string>

#include "app/instance.h"
#include "ferryl_under_test.h"
#include "settings/funkcije.h"
#include "support/registry_scope.h"

namespace ferryl {
namespace {

using test::ChildProcess;
using test::FerrylMainWindow;
using test::PumpUntil;

// Wine's own setting that makes a library missing for one program: its load order "disabled"
// (AppDefaults). WINEDLLOVERRIDES cannot serve: Wine gives a started program its own start's value.
class LibraryMissing {
  public:
    explicit LibraryMissing(const wchar_t* library)
        : m_value(HKEY_CURRENT_USER,
                  L"Software\\Wine\\AppDefaults\\Ferryl.exe\\DllOverrides",
                  library,
                  std::wstring()) {}

  private:
    test::RegistryValueScope m_value;
};

class MissingLibraryTest : public test::FerrylUnderTest {};

std::wstring MessageText(HWND box) {
    wchar_t text[2048]{};
    ::GetDlgItemTextW(box, 0xFFFF, text, 2048);  // the message box's text control
    return text;
}

TEST_F(MissingLibraryTest, AMissingDelayLoadedLibraryStopsTheStartWithAMessageBeforeAnyFileIsTaken) {
    const std::wstring file = files.WriteFile(L"file.txt");
    const std::string settings = test::ReadFileBytes(ini);
    ChildProcess ferryl;
    LibraryMissing missing(L"comdlg32");
    ASSERT_TRUE(ferryl.Start(exe, file));
    HWND box = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (box = ::FindWindowW(L"#32770", L"Warning - Ferryl Handler")) != nullptr; }, 20000))
        << "no message; main window shown: " << (FerrylMainWindow() != nullptr);
    EXPECT_NE(MessageText(box).find(L"comdlg32.dll"), std::wstring::npos) << MessageText(box);
    EXPECT_FALSE(FerrylMainWindow()) << "no file is taken";
    EXPECT_TRUE(IsFirstInstance(InstanceMutexName())) << "a later start need not wait for it";
    ReleaseInstanceMutex();
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(ferryl.WaitForExit());
    EXPECT_EQ(test::ReadFileBytes(ini), settings) << "it never had a window whose place it saves";
}

TEST_F(MissingLibraryTest, WithoutOleaccTheFileListAnswersNoObjectAndTheProgramGoesOn) {
    const std::wstring file = files.WriteFile(L"file.txt");
    ChildProcess ferryl;
    LibraryMissing missing(L"oleacc");
    ASSERT_TRUE(ferryl.Start(exe, file));
    ASSERT_TRUE(UntilListedAndIdle(ferryl));
    HWND list = ::FindWindowExW(FerrylMainWindow(), nullptr, L"FerrylMoskGrid", nullptr);
    ASSERT_TRUE(list);
    // What a screen reader sends first. Any process may send it, or post it: then the program's
    // own loop dispatches it, with no callback boundary of the system's to stop an exception.
    DWORD_PTR result = 1;
    EXPECT_NE(
        ::SendMessageTimeoutW(list, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_NORMAL, 10000, &result),
        0);
    EXPECT_EQ(result, 0u) << "no object of its own: the system answers";
    ASSERT_TRUE(::PostMessageW(list, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)));
    EXPECT_NE(::SendMessageTimeoutW(FerrylMainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result), 0);
    ASSERT_FALSE(ferryl.Exited());
    ::PostMessageW(test::FerrylPanelButton(L"&Send Now"), BM_CLICK, 0, 0);
    EXPECT_EQ(RecordAfterExit(ferryl), ShortPathName(mail) + L" " + ShortPathName(file));
}

}  // namespace
}  // namespace ferryl

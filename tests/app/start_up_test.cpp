#include "app/start_up.h"

#include <gtest/gtest.h>

#include "common/module_path.h"
#include "settings/ini.h"
#include "shortcut_reader.h"
#include "support/registry_scope.h"
#include "support/temp_folder.h"

namespace ferryl::test {
namespace {

class StartUpTest : public ::testing::Test {
  protected:
    void SetUp() override { StartUp() = StartUpState{}; }
    void TearDown() override { StartUp() = StartUpState{}; }

    TempFolder folder;
    std::wstring sendTo = folder.MakeFolder(L"SendTo");
    RegistryValueScope sendToValue{HKEY_CURRENT_USER, kShellFoldersKey, L"SendTo", sendTo};
    std::wstring link = sendTo + L"\\" + kShortcutName;
};

TEST_F(StartUpTest, AFirstStartWritesTheDefaultSettingsAndTheSendToShortcut) {
    const std::wstring program = folder.MakeFolder(L"prog");
    PrepareFirstInstance(program, ProgramPath());
    EXPECT_EQ(ReadFileBytes(program + L"\\Ferryl.ini"), DefaultIniText());
    const ShortcutInfo info = ReadShortcut(link);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.target, ProgramPath());
    EXPECT_EQ(info.icon, ProgramPath());
    // A shortcut the user deleted comes back at the next start, the settings file kept.
    ASSERT_TRUE(::DeleteFileW(link.c_str()));
    PrepareFirstInstance(program, ProgramPath());
    EXPECT_EQ(ReadShortcut(link).target, ProgramPath());
}

TEST_F(StartUpTest, ExistingFilesInANetworkStyleFolderStayUntouched) {
    const std::wstring program = folder.MakeFolder(L"prog");
    const std::string settings = "[Settings]\r\nCLParameters=-x\r\n";
    folder.WriteFile(L"prog\\Ferryl.ini", settings);
    folder.WriteFile(L"SendTo\\Mail Recipient Via Command Line.lnk", "not a real link");
    // A folder named from "\\" on, as a network folder is.
    PrepareFirstInstance(L"\\\\?\\" + program, ProgramPath());

    EXPECT_EQ(ReadFileBytes(program + L"\\Ferryl.ini"), settings);
    EXPECT_EQ(ReadFileBytes(link), "not a real link");
    EXPECT_EQ(StartUp().ClParameters, L"-x");
}

TEST_F(StartUpTest, EudoraIsFoundFromItsRegisteredCommandLine) {
    const std::wstring eudora = folder.WriteFile(L"Eudora.exe");
    const std::wstring ini =
        folder.WriteFile(L"eudora.ini", "[Settings]\r\nAutoReceiveAttachmentsDirectory=C:\\Att\r\n");
    RegistryValueScope current(HKEY_CURRENT_USER, kEudoraCommandLineKey, L"current",
                               L"\"" + eudora + L"\" " + ini + L" -x");
    PrepareFirstInstance(folder.MakeFolder(L"prog"), ProgramPath());
    EXPECT_EQ(StartUp().EudoraProgram, eudora);
    EXPECT_EQ(StartUp().EudoraIni, ini);
    EXPECT_EQ(StartUp().EudoraAttachmentsFolder, L"C:\\Att\\");
}

}  // namespace
}  // namespace ferryl::test

// The system side of Send Now's mail routes, against the Wine registry and real files: registered
// clients, MAPI DLLs and the call, draft files, and paths as the settings file keeps them.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "common/unique_handle.h"
#include "mail/draft_file.h"
#include "mail/mail_clients.h"
#include "mail/mapi_send.h"
#include "mainwindow/settings_path.h"
#include "settings/funkcije.h"
#include "support/mime_reader.h"
#include "support/registry_scope.h"
#include "support/stand_ins.h"
#include "support/temp_folder.h"

namespace ferryl::test {
namespace {

const std::wstring kClientsKey = kMailClientsKey;

TEST(MailClients, ListsClientsWithAMapiDllMarksTheDefaultAndPrefersDllPathEx) {
    RegistryValueScope defaultClient(HKEY_CURRENT_USER, kClientsKey, L"", L"Ferryl Test B");
    RegistryValueScope a(HKEY_CURRENT_USER, kClientsKey + L"\\Ferryl Test A", L"DLLPath", L"C:\\a\\mapi.dll");
    RegistryValueScope b(HKEY_CURRENT_USER, kClientsKey + L"\\Ferryl Test B", L"DLLPath", L"%SystemRoot%\\b.dll",
                         REG_EXPAND_SZ);
    // A key without a DLL (a web mail handler, say) offers no Simple MAPI.
    RegistryValueScope noDll(HKEY_CURRENT_USER, kClientsKey + L"\\Ferryl Test C", L"Other", L"x");

    EXPECT_EQ(DefaultMailClient(), L"Ferryl Test B");
    const std::vector<MailClient> clients = RegisteredMailClients();
    auto find = [&](const wchar_t* name) {
        return std::find_if(clients.begin(), clients.end(), [&](const MailClient& c) { return c.name == name; });
    };
    ASSERT_NE(find(L"Ferryl Test A"), clients.end());
    ASSERT_NE(find(L"Ferryl Test B"), clients.end());
    EXPECT_EQ(find(L"Ferryl Test C"), clients.end());
    EXPECT_FALSE(find(L"Ferryl Test A")->isDefault);
    EXPECT_TRUE(find(L"Ferryl Test B")->isDefault);

    wchar_t windows[MAX_PATH]{};
    ::GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(MailClientDll(L"Ferryl Test B"), std::wstring(windows) + L"\\b.dll") << "environment strings expanded";
    EXPECT_EQ(MailClientDll(L"Ferryl Test C"), std::nullopt);
    EXPECT_EQ(MailClientDll(L"..\\Ferryl Test A"), std::nullopt) << "a name cannot reach another key";

    RegistryValueScope ex(HKEY_CURRENT_USER, kClientsKey + L"\\Ferryl Test A", L"DLLPathEx", L"C:\\new.dll");
    EXPECT_EQ(MailClientDll(L"Ferryl Test A"), L"C:\\new.dll") << "DLLPathEx comes first";
    // A default without a DLL is no default.
    RegistryValueScope userDefault(HKEY_CURRENT_USER, kClientsKey, L"", L"Ferryl Nowhere");
    RegistryValueScope machineDefault(HKEY_LOCAL_MACHINE, kClientsKey, L"", L"Ferryl Test A");
    EXPECT_EQ(DefaultMailClient(), L"Ferryl Test A") << "the machine's default when the user's names no client";
    RegistryValueScope noMachineDefault(HKEY_LOCAL_MACHINE, kClientsKey, L"", std::nullopt);
    EXPECT_EQ(DefaultMailClient(), std::nullopt);
}

// A client that answers the wide call with "not supported" gets the ANSI one, once (what each kind
// gets is read back end to end).
TEST(MapiCall, AWideCallNotSupportedIsMadeAgainInAnsiOnce) {
    StandInProvider provider;
    TempFolder files;
    const MapiLoad load = LoadMapiLibrary(provider.Dll());
    ASSERT_TRUE(load.library);
    const std::wstring a = files.WriteFile(L"long name.txt");
    const struct {
        const char* result;
        const wchar_t* calls;
    } cases[] = {
        {"26", L"MAPISendMailW\nMAPISendMail\n"},  // MAPI_E_NOT_SUPPORTED
        {"27", L"MAPISendMailW\nMAPISendMail\n"},  // MAPI_E_UNICODE_NOT_SUPPORTED
        {"2", L"MAPISendMailW\n"},                 // MAPI_E_FAILURE is the client's answer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        ::DeleteFileW(provider.File(L"mapi_calls.txt").c_str());
        provider.SetResult(c.result);
        EXPECT_EQ(CallMapiSendMail(*load.library, {{a}}, nullptr), std::stoul(c.result));
        EXPECT_EQ(provider.Calls(), c.calls);
        EXPECT_EQ(provider.SentPaths(), std::vector<std::wstring>{a}) << "the long path, which the code page holds";
    }
}

// A 32-bit DLL is named as such in the end-to-end case of a default client whose DLL is one.
TEST(LoadMapiLibrary, SaysWhyADllCannotBeUsed) {
    TempFolder folder;
    const MapiLoad missing = LoadMapiLibrary(folder / L"none.dll");
    ASSERT_FALSE(missing.library);
    EXPECT_EQ(missing.failure.find(L"The mail client's DLL \"" + (folder / L"none.dll") + L"\" cannot be loaded."), 0u)
        << missing.failure;
    EXPECT_NE(missing.failure.find(L"(error 126)"), std::wstring::npos) << "the system's reason, " << missing.failure;

    wchar_t system[MAX_PATH]{};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring noMapi = std::wstring(system) + L"\\version.dll";
    const MapiLoad other = LoadMapiLibrary(noMapi);
    ASSERT_FALSE(other.library);
    EXPECT_EQ(other.failure, L"The mail client's DLL \"" + noMapi + L"\" offers no Simple MAPI (MAPISendMail).");
}

// What the draft holds is read back in core's draft cases and the new Outlook's end-to-end case.
TEST(DraftFile, LeavesNothingWhenAFileCannotBeReadAndNeedsATemporaryFolder) {
    TempFolder folder, temp;
    const std::wstring a = folder.WriteFile(L"a b,1.txt", "first");
    const DraftOutcome draft = WriteDraftFile(temp.Path() + L"\\", {a});
    ASSERT_TRUE(draft.failure.empty()) << draft.failure;
    EXPECT_EQ(draft.path.rfind(temp.Path() + L"\\FerrylDraft-", 0), 0u);
    ASSERT_TRUE(ReadMime(ReadFileBytes(draft.path)));

    const DraftOutcome failed = WriteDraftFile(temp.Path() + L"\\", {a, folder / L"gone.txt"});
    EXPECT_TRUE(failed.path.empty());
    EXPECT_EQ(failed.failure.find(L"The file \"" + (folder / L"gone.txt") + L"\" cannot be read."), 0u);
    WIN32_FIND_DATAW entry{};
    HANDLE search = ::FindFirstFileW((temp / L"*.eml").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(temp / entry.cFileName, draft.path);
    EXPECT_FALSE(::FindNextFileW(search, &entry)) << "no partial draft is left";
    ::FindClose(search);

    // Without one, the current folder's drive root is where "\\FerrylDraft-..." would land.
    const DraftOutcome nowhere = WriteDraftFile(L"", {a});
    if (!nowhere.path.empty())
        ::DeleteFileW(nowhere.path.c_str());
    EXPECT_EQ(nowhere.path, L"");
    EXPECT_NE(nowhere.failure.find(L"no temporary folder"), std::wstring::npos) << nowhere.failure;
}

// Last written the days and a minute ago.
void MakeOld(const std::wstring& path, int days) {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= (static_cast<ULONGLONG>(days) * 24 * 60 + 1) * 60 * 10'000'000ull;
    const FILETIME old{time.LowPart, time.HighPart};
    UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file && ::SetFileTime(file.get(), nullptr, nullptr, &old)) << path;
}

TEST(DraftFile, OnlyFerrylsDraftsOlderThanADayAreRemoved) {
    TempFolder temp;
    const std::wstring old = temp.WriteFile(L"FerrylDraft-0000000000000001.eml");
    const std::wstring fresh = temp.WriteFile(L"FerrylDraft-0000000000000002.eml");
    const std::wstring almost = temp.WriteFile(L"FerrylDraft-0000000000000003.eml");
    const std::wstring users = temp.WriteFile(L"FerrylDraft-my notes.eml");
    MakeOld(old, 2);
    MakeOld(almost, 0);
    MakeOld(users, 2);
    RemoveOldDrafts(temp.Path());
    EXPECT_FALSE(FileExists(old));
    EXPECT_TRUE(FileExists(fresh));
    EXPECT_TRUE(FileExists(almost));
    EXPECT_TRUE(FileExists(users)) << "a file of the user's whose name only begins like a draft's";
}

TEST(SettingsPath, PathsOutsideTheCodePageAreKeptInTheirShortForm) {
    TempFolder root;
    const std::wstring plain = root.MakeFolder(L"plain folder") + L"\\";
    EXPECT_EQ(FolderPathForSettings(plain), plain);
    const std::wstring greek = root.MakeFolder(L"\u03A9\u03BC\u03AD\u03B3\u03B1") + L"\\";
    const std::optional<std::wstring> kept = FolderPathForSettings(greek);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(SettingsFileCanHold(*kept));
    EXPECT_EQ(ToUpper(LongPathName(*kept)), ToUpper(greek)) << "the short form names the same folder";

    // A program's short form: the E-Mail Program dialog's case.
    EXPECT_EQ(ProgramPathForSettings(root / L"gone \u65E5.exe"), std::nullopt) << "no short form, not in the code page";
    EXPECT_FALSE(SettingsFileCanHold(std::wstring(256, L'a'))) << "longer than the file's values are read back";
}

}  // namespace
}  // namespace ferryl::test

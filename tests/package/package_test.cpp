// The packages as a Windows user meets them, in a fresh Wine prefix of their own (tests/package/run):
// the MSI installed, used, upgraded and removed with msiexec, and the portable copy started from its
// folder, read back through Windows Installer, the shell link object and Active Accessibility.

#include <windows.h>
// After windows.h: they need its types.
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/shortcut.h"
#include "app/shortcut_reader.h"
#include "common/unique_handle.h"
#include "e2e/ferryl_session.h"
#include "settings/funkcije.h"
#include "support/accessibility.h"

namespace ferryl::test {
namespace {

// The same for every version, as an upgrade finds the older product by it.
constexpr wchar_t kUpgradeCode[] = L"{439B1D08-EDA4-4D82-A77B-9CF66A901E2C}";
constexpr DWORD kSlowMs = 60000;

std::wstring Env(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    return value ? value : L"";
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    const std::wstring result = SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)) ? path : L"";
    ::CoTaskMemFree(path);
    return result;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The names in a folder, each after a "|"; none when there is no folder.
std::wstring FolderEntries(const std::wstring& folder) {
    std::wstring names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names += L"|" + entry.path().filename().wstring();
    return names;
}

// Runs a program to its end; its exit code, or ~0 when it did not start or end in time.
DWORD RunToEnd(const std::wstring& program, const std::wstring& arguments) {
    ChildProcess child;
    return child.Start(program, arguments) && child.WaitForExit([] { return true; }, kSlowMs) ? child.ExitCode() : ~0u;
}

DWORD Msiexec(const std::wstring& arguments) {
    return RunToEnd(KnownFolder(FOLDERID_System) + L"\\msiexec.exe", arguments + L" /qn");
}

// The product codes of the installed products of the upgrade family, one after another: one code
// is 38 characters long.
std::wstring InstalledProducts() {
    std::wstring products;
    wchar_t code[39] = {};
    for (DWORD i = 0; ::MsiEnumRelatedProductsW(kUpgradeCode, 0, i, code) == ERROR_SUCCESS; ++i)
        products += code;
    return products;
}

std::wstring ProductInfo(const std::wstring& product, const wchar_t* property) {
    wchar_t value[1024] = {};
    DWORD size = 1024;
    return ::MsiGetProductInfoW(product.c_str(), property, value, &size) == ERROR_SUCCESS ? value : L"(none)";
}

// Opens the program, or a shortcut to it as the shell's Send To does, with the file; true once it
// lists the file, as a screen reader reads it, and ends when its window is closed.
bool ListsAndEnds(const std::wstring& program, const std::wstring& path) {
    if (reinterpret_cast<INT_PTR>(
            ::ShellExecuteW(nullptr, nullptr, program.c_str(), Quoted(path).c_str(), nullptr, SW_SHOWNORMAL)) <= 32)
        return false;
    const size_t slash = path.rfind(L'\\');
    const bool listed = PumpUntil(
        [&] {
            AccessibleRef access = FileList() ? ClientAccessible(FileList()) : AccessibleRef();
            const std::wstring spoken = access ? Name(access.get(), 1) : std::wstring();
            return spoken.starts_with(path.substr(slash + 1) + L", ") &&
                   spoken.ends_with(L", in " + path.substr(0, slash));
        },
        kSlowMs);
    DWORD id = 0;
    ::GetWindowThreadProcessId(MainWindow(), &id);
    const UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    return listed && process &&
           PumpUntil([&] { return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }, kSlowMs);
}

class PackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(msi.empty() || olderMsi.empty() || rebuiltMsi.empty() || portable.empty() || version.empty())
            << "run by tests/package/run, which names the packages";
        ::DeleteFileW(sendTo.c_str());  // left by an earlier test that failed half way
    }
    void TearDown() override {  // the settings the program wrote, which no package removes
        ::DeleteFileW(installedIni.c_str());
        ::RemoveDirectoryW(installFolder.c_str());
    }

    const std::wstring msi = Env(L"FERRYL_MSI");
    const std::wstring olderMsi = Env(L"FERRYL_OLDER_MSI");
    const std::wstring rebuiltMsi = Env(L"FERRYL_REBUILT_MSI");
    const std::wstring portable = Env(L"FERRYL_PORTABLE");
    const std::wstring version = Env(L"FERRYL_VERSION");
    const std::wstring installFolder = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Ferryl Handler";
    const std::wstring installedExe = installFolder + L"\\Ferryl.exe";
    const std::wstring installedIni = installFolder + L"\\Ferryl.ini";
    const std::wstring sendTo = KnownFolder(FOLDERID_SendTo) + L"\\Mail Recipient Via Command Line.lnk";
    const std::wstring startMenu = KnownFolder(FOLDERID_Programs) + L"\\Ferryl Handler.lnk";
    TempFolder files;
};

TEST_F(PackageTest, TheInstallerPlacesTheProgramAndBothEntriesAndTakesThemAway) {
    ASSERT_EQ(Msiexec(L"/i " + Quoted(msi)), 0u);
    const std::wstring placed[] = {installedExe, installFolder + L"\\fyh.chm", installFolder + L"\\README.txt", sendTo,
                                   startMenu};
    for (const std::wstring& path : placed)
        EXPECT_TRUE(FileExists(path)) << path;
    const ShortcutInfo entry = ReadShortcut(sendTo);
    EXPECT_TRUE(SamePath(entry.target, installedExe)) << entry.target;
    EXPECT_EQ(entry.description, L"Mail Recipient Via Command Line");
    EXPECT_TRUE(SamePath(ReadShortcut(startMenu).target, installedExe));

    // Apps & features.
    const std::wstring product = InstalledProducts();
    ASSERT_EQ(product.size(), 38u) << product;
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), version);
    EXPECT_TRUE(SamePath(ProductInfo(product, INSTALLPROPERTY_INSTALLLOCATION), installFolder + L"\\"));

    // The program finds the installer's entry at each start and leaves it as it is.
    const std::string entryBytes = ReadFileBytes(sendTo);
    EXPECT_TRUE(ListsAndEnds(sendTo, files.WriteFile(L"first.txt")));
    EXPECT_TRUE(ListsAndEnds(installedExe, files.WriteFile(L"second.txt")));
    EXPECT_EQ(FolderEntries(KnownFolder(FOLDERID_SendTo)), L"|Mail Recipient Via Command Line.lnk");
    EXPECT_TRUE(ReadFileBytes(sendTo) == entryBytes) << "the installer's entry was written again";

    // An entry the program made again itself goes with the rest.
    ASSERT_TRUE(::DeleteFileW(sendTo.c_str()));
    EXPECT_TRUE(ListsAndEnds(installedExe, files.WriteFile(L"third.txt")));
    EXPECT_TRUE(SamePath(ReadShortcut(sendTo).target, installedExe));

    ASSERT_EQ(Msiexec(L"/x " + Quoted(msi)), 0u);
    for (const std::wstring& path : placed)
        EXPECT_FALSE(FileExists(path)) << path;
    EXPECT_EQ(InstalledProducts(), L"");
    // The settings the program wrote at each close are the user's: they stay, and so does the folder.
    EXPECT_EQ(FolderEntries(installFolder), L"|Ferryl.ini");
}

TEST_F(PackageTest, AnUpgradeOrRebuildKeepsTheChangedSettingsAndLeavesOneProduct) {
    ASSERT_EQ(Msiexec(L"/i " + Quoted(olderMsi)), 0u);
    const std::string settings = "[Settings]\r\nMailProgram=MAPI\r\nCLParameters=-kept\r\n";
    ASSERT_TRUE(std::ofstream(std::filesystem::path(installedIni), std::ios::binary) << settings);

    ASSERT_EQ(Msiexec(L"/i " + Quoted(msi)), 0u);
    EXPECT_EQ(ReadFileBytes(installedIni), settings);
    EXPECT_TRUE(FileExists(installedExe));
    EXPECT_TRUE(SamePath(ReadShortcut(sendTo).target, installedExe));
    const std::wstring product = InstalledProducts();
    ASSERT_EQ(product.size(), 38u) << product;
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), version);

    // A rebuild of the same version replaces it too (one product); the older one refuses to go back.
    ASSERT_EQ(Msiexec(L"/i " + Quoted(rebuiltMsi)), 0u);
    EXPECT_NE(Msiexec(L"/i " + Quoted(olderMsi)), 0u);
    EXPECT_EQ(ReadFileBytes(installedIni), settings);
    EXPECT_NE(InstalledProducts(), product);
    EXPECT_EQ(InstalledProducts().size(), 38u);

    EXPECT_EQ(Msiexec(L"/x " + Quoted(rebuiltMsi)), 0u);
    EXPECT_EQ(ReadFileBytes(installedIni), settings);
}

TEST_F(PackageTest, ThePortableCopyPlacesItsEntryAtItsFirstStartAndRemovesItOnRequest) {
    const std::wstring exe = portable + L"\\Ferryl.exe";
    EXPECT_TRUE(ListsAndEnds(exe, files.WriteFile(L"portable.txt")));
    EXPECT_TRUE(SamePath(ReadShortcut(sendTo).target, exe));
    EXPECT_TRUE(FileExists(portable + L"\\Ferryl.ini"));

    EXPECT_EQ(RunToEnd(exe, L"/uninstall"), 0u);
    EXPECT_FALSE(FileExists(sendTo));
    EXPECT_EQ(RunToEnd(exe, L"/install"), 0u);
    EXPECT_TRUE(SamePath(ReadShortcut(sendTo).target, exe));

    // The entry of another copy (the installed one, say) is that copy's to remove.
    const std::wstring other = files.WriteFile(L"Other Ferryl.exe");
    ASSERT_TRUE(CreateShortcut(sendTo, other, L"Mail Recipient Via Command Line"));
    EXPECT_EQ(RunToEnd(exe, L"/uninstall"), 0u);
    EXPECT_TRUE(SamePath(ReadShortcut(sendTo).target, other));
}

}  // namespace
}  // namespace ferryl::test

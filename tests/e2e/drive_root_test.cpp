// End to end: a file right at a drive's root with a one-letter name, "X:\a", through a drive letter
// mapped for the test.

#include <gtest/gtest.h>

#include <string>

#include "common/system_function.h"
#include "e2e/ferryl_session.h"

namespace ferryl {
namespace {

using test::ChildProcess;
using test::PumpUntil;

// A free drive letter mapped to a folder while the object lives. Wine keeps its drives as symbolic
// links in the prefix's dosdevices folder, which the system's `ln` makes; Windows maps one with
// DefineDosDevice. (The paths are ASCII: the test's own temporary folder and the prefix.)
class MappedDrive {
  public:
    explicit MappedDrive(const std::wstring& folder) : m_folder(folder) {
        for (wchar_t letter = L'X'; letter > L'D' && m_drive.empty(); --letter) {
            const std::wstring drive{letter, L':'};
            if (::GetDriveTypeW((drive + L"\\").c_str()) == DRIVE_NO_ROOT_DIR)
                m_drive = drive;
        }
        if (m_drive.empty())
            return;
        if (const UnixName unixName = WineUnixName()) {
            // "<prefix>/dosdevices/c:/" names the folder of the links, each named by its drive.
            std::wstring dosDevices = UnixPath(unixName, L"C:\\");
            dosDevices.resize(dosDevices.size() - 3);
            m_link = dosDevices + static_cast<wchar_t>(towlower(m_drive[0])) + L":";
            RunUnix(L"ln", L"-s \"" + UnixPath(unixName, folder) + L"\" \"" + m_link + L"\"");
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
    using UnixName = char*(CDECL*)(LPCWSTR);

    static UnixName WineUnixName() {
        return ExportedFunction<UnixName>(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    }
    static std::wstring UnixPath(UnixName unixName, const std::wstring& path) {
        char* name = unixName(path.c_str());
        const std::string narrow = name ? name : "";
        ::HeapFree(::GetProcessHeap(), 0, name);
        return std::wstring(narrow.begin(), narrow.end());
    }
    // Wine starts a Unix program as it starts a Windows one, but its process handle says nothing of
    // it: the caller waits for what it does.
    static void RunUnix(const std::wstring& program, const std::wstring& arguments) {
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

    std::wstring m_folder;
    std::wstring m_drive;  // "X:"
    std::wstring m_link;
    bool m_defined = false;
};

class DriveRootTest : public test::FerrylSession {};

TEST_F(DriveRootTest, AOneLetterFileAtADriveRootIsListed) {
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

}  // namespace
}  // namespace ferryl

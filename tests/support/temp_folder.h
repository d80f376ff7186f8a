#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.

#include <windows.h>

#include <string>
#include <string_view>

namespace ferryl::test {

class TempFolder {
  public:
    TempFolder();
    // A folder on a network share instead: \\ferryl-server\share under Wine (dosdevices/unc/...,
    // made when missing), the drive's administrative share (\\localhost\C$\...) on Windows.
    struct OnNetworkShare {};
    explicit TempFolder(OnNetworkShare);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, without a trailing "\".
    const std::wstring& Path() const { return m_path; }
    // Full path of a name inside the folder.
    std::wstring operator/(std::wstring_view name) const { return m_path + L"\\" + std::wstring(name); }

    // Creates a file with the given bytes and returns its full path.
    std::wstring WriteFile(std::wstring_view name, std::string_view bytes = "x") const;
    std::wstring MakeFolder(std::wstring_view name) const;
    // Creates a file beside one whose name differs from it only in case, through the folder's Unix
    // path on Wine; its full path, or empty where this cannot be done.
    std::wstring WriteFileOfOtherCase(std::wstring_view name, std::string_view bytes) const;

  private:
    std::wstring m_path;
};

// Sets a file's last-modified time to a local date and time; true when it took.
bool SetModifiedTime(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute);

// The whole content of a file, or nothing when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// Writes a file with the bytes (CREATE_NEW: only a new one); false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes, DWORD disposition = CREATE_ALWAYS);

}  // namespace ferryl::test

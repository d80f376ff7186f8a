#include "settings/ini.h"

#include <windows.h>

#include "common/unique_handle.h"
#include "settings/settings_not_kept.h"

namespace ferryl {

std::wstring ReadIni(const std::wstring& section, const std::wstring& key, const std::wstring& file) {
    constexpr DWORD kBufferLength = 256;
    wchar_t buffer[kBufferLength] = {};
    DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer, kBufferLength, file.c_str());
    return std::wstring(buffer, length);
}

bool WriteIni(const std::wstring& section,
              const std::wstring& key,
              const std::wstring& value,
              const std::wstring& file) {
    ::SetLastError(ERROR_SUCCESS);
    if (::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()))
        return true;
    TellSettingsNotKept(file, ::GetLastError());
    return false;
}

std::string_view DefaultIniText() {
    return "[Settings]\r\n"
           "MailProgram=\r\n"
           "CLParameters=\r\n"
           "AttachmentsFolder=\r\n"
           "\r\n"
           "[Window Position]\r\n"
           "WindowState=0\r\n"
           "WindowTop=0\r\n"
           "WindowLeft=0\r\n"
           "WindowHeight=3010\r\n"
           "WindowWidth=6010\r\n";
}

bool WriteDefaultIni(const std::wstring& file) {
    UniqueFile handle(
        ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return false;
    std::string_view text = DefaultIniText();
    DWORD written = 0;
    if (::WriteFile(handle.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size())
        return true;
    // A half-written file would read as settings; better none at all.
    handle.reset();
    ::DeleteFileW(file.c_str());
    return false;
}

}  // namespace ferryl

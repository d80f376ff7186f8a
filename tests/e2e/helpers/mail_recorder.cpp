// A stand-in mail program for the end-to-end tests: it writes the command line it was started
// with (UTF-16) to "command_line.txt" beside itself and ends. The record is written under another
// name first and then renamed, so a test that sees the file sees all of it.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH]{};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring record(path, length);
    record.resize(record.find_last_of(L'\\') + 1);
    const std::wstring partial = record + L"command_line.partial";
    record += L"command_line.txt";
    const wchar_t* commandLine = ::GetCommandLineW();
    HANDLE file =
        ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    ::WriteFile(file, commandLine, static_cast<DWORD>(::lstrlenW(commandLine) * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    return ::MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

// A stand-in mail program: beside itself it writes its start folder, its ANSI command line, and last
// (renamed into place, so that a test seeing it sees all three) its command line in UTF-16.

#include <windows.h>

#include <string>

namespace {

bool WriteWhole(const std::wstring& path, const void* bytes, size_t size) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = ::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
    ::CloseHandle(file);
    return whole;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH]{};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.resize(folder.find_last_of(L'\\') + 1);
    const wchar_t* commandLine = ::GetCommandLineW();
    const char* ansi = ::GetCommandLineA();
    wchar_t current[MAX_PATH]{};
    const DWORD currentLength = ::GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring partial = folder + L"command_line.partial";
    const bool written =
        WriteWhole(folder + L"command_line_ansi.txt", ansi, ::lstrlenA(ansi)) &&
        WriteWhole(folder + L"start_folder.txt", current, currentLength * sizeof(wchar_t)) &&
        WriteWhole(partial, commandLine, static_cast<size_t>(::lstrlenW(commandLine)) * sizeof(wchar_t));
    return written && ::MoveFileExW(partial.c_str(), (folder + L"command_line.txt").c_str(), MOVEFILE_REPLACE_EXISTING)
               ? 0
               : 1;
}

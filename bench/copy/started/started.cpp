// The copy benchmark's mail program: writes the performance counter at its start to "started.txt"
// beside itself (written under another name, then renamed, so a reader sees all of it) and ends.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    wchar_t path[MAX_PATH]{};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.resize(folder.find_last_of(L'\\') + 1);
    const std::wstring partial = folder + L"started.partial";
    HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    ::WriteFile(file, &now.QuadPart, sizeof now.QuadPart, &written, nullptr);
    ::CloseHandle(file);
    return ::MoveFileExW(partial.c_str(), (folder + L"started.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

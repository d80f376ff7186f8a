// Start-up benchmark: the time from starting Ferryl.exe with 200 files on its command line to its
// main window showing all 200 rows, beside the time to start and end a do-nothing program built
// the same way, in the same run.
//
// The rows are added before the program's message loop first waits, so "showing all rows" is taken
// as the main window being visible once the program is idle for input (WaitForInputIdle, which
// also means its first paint has been dispatched).

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "settings/ini.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFiles = 200;
constexpr int kRuns = 5;

std::wstring MakeFolder() {
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"ferryl_bench_startup_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool Start(const std::wstring& program, const std::wstring& arguments, PROCESS_INFORMATION& info) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info) != FALSE;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int wmain() {
    const std::wstring bin = ferryl::ProgramFolder();
    const std::wstring folder = MakeFolder();
    const std::wstring exe = folder + L"\\Ferryl.exe";
    if (!::CopyFileW((bin + L"\\Ferryl.exe").c_str(), exe.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy Ferryl.exe\n");
        return 1;
    }
    ferryl::WriteDefaultIni(folder + L"\\Ferryl.ini");
    std::wstring arguments;
    std::vector<std::wstring> files;
    for (int i = 0; i < kFiles; ++i) {
        files.push_back(folder + L"\\file " + std::to_wstring(i) + L".txt");
        HANDLE file = ::CreateFileW(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::CloseHandle(file);
        arguments += L"\"" + files.back() + L"\" ";
    }

    std::vector<double> ferrylTimes, noopTimes;
    for (int run = 0; run < kRuns; ++run) {
        PROCESS_INFORMATION info{};
        const auto start = Clock::now();
        if (!Start(exe, arguments, info))
            return 1;
        ::WaitForInputIdle(info.hProcess, 30000);
        HWND main = nullptr;
        while (!(main = ::FindWindowW(L"FerrylF", nullptr)) || !::IsWindowVisible(main))
            ::Sleep(1);
        ferrylTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        ::WaitForSingleObject(info.hProcess, 30000);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);

        const auto noopStart = Clock::now();
        if (!Start(bin + L"\\bench_handoff_noop.exe", L"", info))
            return 1;
        ::WaitForSingleObject(info.hProcess, 30000);
        noopTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - noopStart).count());
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
    }
    std::printf("Ferryl.exe with %d files to its main window with all rows: median %.1f ms over %d runs\n", kFiles,
                Median(ferrylTimes), kRuns);
    std::printf("do-nothing program built the same way, start to end:      median %.1f ms over %d runs\n",
                Median(noopTimes), kRuns);

    for (const std::wstring& file : files)
        ::DeleteFileW(file.c_str());
    for (const wchar_t* name : {L"\\Ferryl.exe", L"\\Ferryl.ini"})
        ::DeleteFileW((folder + name).c_str());
    ::RemoveDirectoryW(folder.c_str());
    return 0;
}

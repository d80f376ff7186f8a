// Copy To of one 1 GB file, beside its yardstick from the same run: CopyFileExW of the same file by
// this program. The real Ferryl.exe runs from a folder of its own, with Copy To's custom folder and
// a mail program that notes the moment it starts; the copy's time runs from pressing "&Send Now" to
// that moment. Meanwhile this process times SendMessageTimeout(WM_NULL) round trips to Ferryl's
// main window every 50 ms: the median and the worst say whether the window kept answering.
// Runs alternate between the two copies, in the order ABBA (a copy right after another's delete
// tends to be slower), so that the machine's load and the file cache fall on both alike; the first,
// unmeasured copy warms the cache. The fastest runs are the ones other processes disturbed least.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/module_path.h"
#include "settings/ini.h"
#include "settings/message_size_limit.h"

namespace {

using namespace ferryl;

constexpr int kRuns = 4;
constexpr ULONGLONG kFileBytes = 1ULL << 30;
constexpr DWORD kPingEveryMs = 50;

double Now() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / perMs;
}

double CounterToMs(LONGLONG counter) {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(counter) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Fastest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : (values[values.size() / 2] + values[(values.size() - 1) / 2]) / 2;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const double start = Now();
    while (!done()) {
        if (Now() - start > timeoutMs)
            return false;
        ::Sleep(5);
    }
    return true;
}

bool MakeSourceFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::vector<unsigned char> block(4 << 20);
    bool ok = true;
    for (ULONGLONG offset = 0; ok && offset < kFileBytes; offset += block.size()) {
        for (size_t i = 0; i < block.size(); i += 4096)
            block[i] = static_cast<unsigned char>((offset + i) >> 12);
        DWORD written = 0;
        ok = ::WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
             written == block.size();
    }
    ::CloseHandle(file);
    return ok;
}

DWORD CALLBACK
KeepCopying(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID) {
    return PROGRESS_CONTINUE;
}

// Milliseconds for this program's own copy; negative when it failed.
double YardstickCopy(const std::wstring& source, const std::wstring& target) {
    const double start = Now();
    const BOOL copied = ::CopyFileExW(source.c_str(), target.c_str(), KeepCopying, nullptr, nullptr, 0);
    const double took = Now() - start;
    ::DeleteFileW(target.c_str());
    return copied ? took : -1;
}

HWND MainWindow() {
    return ::FindWindowW(L"FerrylF", L"Send To Mail Recipient Via Command Line");
}

HWND PanelChild(const wchar_t* text) {
    HWND panel = ::FindWindowExW(MainWindow(), nullptr, L"FerrylPozadinaP", nullptr);
    return panel ? ::FindWindowExW(panel, nullptr, L"Button", text) : nullptr;
}

struct CopyToRun {
    double copyMs = -1;
    std::vector<double> pings;
};

// One Copy To by Ferryl.exe, pinged meanwhile.
CopyToRun RunCopyTo(const std::wstring& ferryl, const std::wstring& source, const std::wstring& started) {
    CopyToRun run;
    std::wstring commandLine = L"\"" + ferryl + L"\" \"" + source + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(ferryl.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return run;
    HWND send = nullptr;
    const bool ready = WaitFor(
                           [&] {
                               send = PanelChild(L"&Send Now");
                               return send && ::IsWindowEnabled(send);
                           },
                           30000) &&
                       ::WaitForInputIdle(process.hProcess, 30000) == 0;
    if (ready) {
        const HWND main = MainWindow();
        HWND copyTo = PanelChild(L"&Copy To");
        ::PostMessageW(copyTo, BM_SETCHECK, BST_CHECKED, 0);
        ::PostMessageW(::GetParent(copyTo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(copyTo), BN_CLICKED),
                       reinterpret_cast<LPARAM>(copyTo));
        std::atomic<bool> stop{false};
        std::vector<double> pings;
        std::thread pinger([&] {
            while (!stop) {
                const double start = Now();
                DWORD_PTR answer = 0;
                if (!::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer))
                    break;  // the window is gone
                pings.push_back(Now() - start);
                ::Sleep(kPingEveryMs);
            }
        });
        const double pressed = Now();
        ::PostMessageW(send, BM_CLICK, 0, 0);
        LONGLONG startedAt = 0;
        WaitFor(
            [&] {
                HANDLE file =
                    ::CreateFileW(started.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
                if (file == INVALID_HANDLE_VALUE)
                    return false;
                DWORD read = 0;
                ::ReadFile(file, &startedAt, sizeof startedAt, &read, nullptr);
                ::CloseHandle(file);
                return read == sizeof startedAt;
            },
            600000);
        stop = true;
        pinger.join();
        if (startedAt != 0) {
            run.copyMs = CounterToMs(startedAt) - pressed;
            run.pings = std::move(pings);
        }
    }
    if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_TIMEOUT)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    ::DeleteFileW(started.c_str());
    return run;
}

}  // namespace

int wmain() {
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"Ferryl copy bench " + std::to_wstring(::GetTickCount());
    const std::wstring program = folder + L"\\Program", dest = folder + L"\\Copies", theirs = folder + L"\\Yardstick";
    for (const std::wstring& path : {folder, program, dest, theirs})
        ::CreateDirectoryW(path.c_str(), nullptr);
    const std::wstring ferryl = program + L"\\Ferryl.exe", mail = program + L"\\bench_copy_started.exe";
    const std::wstring ini = program + L"\\Ferryl.ini", started = program + L"\\started.txt";
    const std::wstring source = folder + L"\\one gigabyte.bin";
    if (!::CopyFileW((ProgramFolder() + L"\\Ferryl.exe").c_str(), ferryl.c_str(), FALSE) ||
        !::CopyFileW((ProgramFolder() + L"\\bench_copy_started.exe").c_str(), mail.c_str(), FALSE) ||
        !WriteDefaultIni(ini)) {
        std::fprintf(stderr, "cannot set up Ferryl.exe in %ls\n", program.c_str());
        return 1;
    }
    WriteIni(L"Settings", L"MailProgram", mail, ini);
    WriteIni(L"Settings", L"AttachmentsFolder", dest + L"\\", ini);
    WriteMessageSizeLimitMB(0, ini);
    if (!MakeSourceFile(source)) {
        std::fprintf(stderr, "cannot write the 1 GB file\n");
        return 1;
    }
    const std::wstring yardstickCopy = theirs + L"\\one gigabyte.bin", ferrylCopy = dest + L"\\one gigabyte.bin";
    YardstickCopy(source, yardstickCopy);

    std::vector<double> yardstick, copyTo, pings;
    for (int run = 0; run < kRuns; ++run) {
        double own = 0;
        CopyToRun theirsRun;
        const auto runCopyTo = [&] {
            theirsRun = RunCopyTo(ferryl, source, started);
            ::DeleteFileW(ferrylCopy.c_str());
        };
        if (run % 2 == 0) {
            own = YardstickCopy(source, yardstickCopy);
            runCopyTo();
        } else {
            runCopyTo();
            own = YardstickCopy(source, yardstickCopy);
        }
        if (own < 0 || theirsRun.copyMs < 0) {
            std::fprintf(stderr, "run %d failed (yardstick %.0f ms, Copy To %.0f ms)\n", run, own, theirsRun.copyMs);
            return 1;
        }
        yardstick.push_back(own);
        copyTo.push_back(theirsRun.copyMs);
        pings.insert(pings.end(), theirsRun.pings.begin(), theirsRun.pings.end());
    }
    ::DeleteFileW(source.c_str());
    ::DeleteFileW(ferryl.c_str());
    ::DeleteFileW(mail.c_str());
    ::DeleteFileW(ini.c_str());
    for (const std::wstring& path : {dest, theirs, program, folder})
        ::RemoveDirectoryW(path.c_str());

    const double mb = static_cast<double>(kFileBytes) / (1 << 20);
    const double ours = Median(copyTo), theirsMedian = Median(yardstick);
    std::printf("1 GB file, %d runs each            median  (MB/s)   fastest  (MB/s)\n", kRuns);
    std::printf("CopyFileExW by this program:     %6.0f ms %6.0f  %6.0f ms %6.0f\n", theirsMedian,
                mb * 1000 / theirsMedian, Fastest(yardstick), mb * 1000 / Fastest(yardstick));
    std::printf("Copy To, Send Now to mail start: %6.0f ms %6.0f  %6.0f ms %6.0f\n", ours, mb * 1000 / ours,
                Fastest(copyTo), mb * 1000 / Fastest(copyTo));
    std::printf("throughput ratio (goal >= 0.90): %6.2f            %6.2f\n", theirsMedian / ours,
                Fastest(yardstick) / Fastest(copyTo));
    std::printf("WM_NULL round trips during Copy To, every %lu ms: %zu\n", kPingEveryMs, pings.size());
    std::printf("  median %.1f ms, worst %.1f ms (goal: worst < 100 ms)\n", Median(pings),
                pings.empty() ? 0.0 : *std::max_element(pings.begin(), pings.end()));
    return 0;
}

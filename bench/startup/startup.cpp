// Start-up and intake benchmark, all figures from one run:
// - the time from starting Ferryl.exe to its being idle for input (WaitForInputIdle) with its main
//   window shown, with 1 file and with 200 files on its command line, runs interleaved so that the
//   machine's load falls on both alike; the rows are added before the message loop first waits;
// - the cost of a handoff of 100 files to a running instance while its list is short (files 1 to
//   100) and while it is long (files 9,901 to 10,000): one WM_COPYDATA each, as a second start
//   sends it, timed until the list has painted the batch;
// - the yardstick of the start: a program built the same way (the same manifest and imports) that
//   loads the same libraries, opens one window and waits for input, timed the same way;
// - the do-nothing program built the same way, start to end.
// Medians and fastest runs: 15 starts each, 5 rounds of handoffs. A ratio is given twice: the median
// of the rounds' own ratios (the two runs of a round, one right after the other, share the
// machine's load of the moment) and the ratio of the fastest runs.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/handoff_text.h"
#include "app/instance.h"
#include "app/start_up.h"
#include "settings/ini.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFewFiles = 1;
constexpr int kManyFiles = 200;
constexpr int kStartRuns = 15;
constexpr int kHandoffFiles = 10000;
constexpr int kFilesPerHandoff = 100;
constexpr int kHandoffRounds = 5;
constexpr wchar_t kYardstickClass[] = L"FerrylYardstick";

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double Fastest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

class Process {
  public:
    ~Process() { End(); }
    bool Start(const std::wstring& program, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &m_info) != FALSE;
    }
    HANDLE Handle() const { return m_info.hProcess; }
    // Closes the program's window (Ferryl's main window, the yardstick's one), which ends it; a
    // program that does not end is stopped.
    void End() {
        if (!m_info.hProcess)
            return;
        for (const wchar_t* windowClass : {L"FerrylF", kYardstickClass}) {
            if (HWND main = ::FindWindowW(windowClass, nullptr))
                ::PostMessageW(main, WM_CLOSE, 0, 0);
        }
        if (::WaitForSingleObject(m_info.hProcess, 30000) == WAIT_TIMEOUT)
            ::TerminateProcess(m_info.hProcess, 1);
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
        m_info = {};
    }

  private:
    PROCESS_INFORMATION m_info{};
};

struct Bench {
    std::wstring folder;  // Ferryl.exe, its settings and the yardstick, as in an installed program's folder
    std::wstring exe;
    std::wstring yardstick;
    std::wstring filesFolder;
    std::vector<std::wstring> files;

    std::wstring Quoted(size_t first, size_t count) const {
        std::wstring text;
        for (size_t i = first; i < first + count; ++i)
            text += L"\"" + files[i] + L"\" ";
        return text;
    }
};

// Waits until the program's window of the class shows and the program is idle. Wine's
// WaitForInputIdle returns at once while the program has no message queue yet; once its window
// shows, it has one, and the wait is for the rest (Ferryl's rows).
bool UntilIdleWithWindow(const Process& process, const wchar_t* windowClass = L"FerrylF") {
    const auto start = Clock::now();
    HWND main = nullptr;
    while (!(main = ::FindWindowW(windowClass, nullptr)) || !::IsWindowVisible(main)) {
        if (Milliseconds(start) > 30000)
            return false;
        ::Sleep(1);
    }
    return ::WaitForInputIdle(process.Handle(), 30000) == 0;
}

// Milliseconds from the start of the program to its being idle with its window shown.
double TimeToIdle(const std::wstring& program, const std::wstring& arguments, const wchar_t* windowClass = L"FerrylF") {
    Process process;
    const auto start = Clock::now();
    if (!process.Start(program, arguments) || !UntilIdleWithWindow(process, windowClass))
        return -1;
    return Milliseconds(start);
}

double StartToEnd(const std::wstring& program) {
    Process noop;
    const auto start = Clock::now();
    if (!noop.Start(program, L""))
        return -1;
    ::WaitForSingleObject(noop.Handle(), 30000);
    return Milliseconds(start);
}

// Hands files over in batches of kFilesPerHandoff; returns the time of the first and the last
// batch, each from the send to the list painted with it.
bool TimeHandoffs(const Bench& bench, double& firstBatch, double& lastBatch) {
    Process ferryl;
    if (!ferryl.Start(bench.exe, L"") || !UntilIdleWithWindow(ferryl))
        return false;
    ferryl::StartUp().RunningInstanceWindow = nullptr;
    ferryl::FindRunningInstance();
    const HWND receiver = ferryl::StartUp().RunningInstanceWindow;
    HWND panel = ::FindWindowExW(::FindWindowW(L"FerrylF", nullptr), nullptr, L"FerrylPozadinaP", nullptr);
    const HWND marker = panel ? ::FindWindowExW(panel, nullptr, L"Button", L"&Copy To") : nullptr;
    if (!receiver || !marker)
        return false;
    WPARAM check = BST_CHECKED;
    for (size_t first = 0; first < bench.files.size(); first += kFilesPerHandoff) {
        const ferryl::HandoffPayload payload = ferryl::BuildHandoffPayload(bench.Quoted(first, kFilesPerHandoff));
        COPYDATASTRUCT data{payload.dwData, static_cast<DWORD>(payload.bytes.size()),
                            const_cast<char*>(payload.bytes.data())};
        const auto start = Clock::now();
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 120000,
                                   &result))
            return false;
        // The list paints the batch from a message it posted to itself; one posted now comes after
        // it, so the "&Copy To" box shows this check once the paint is done. (Only the box's own
        // state changes: no click is reported.)
        ::PostMessageW(marker, BM_SETCHECK, check, 0);
        while (::SendMessageW(marker, BM_GETCHECK, 0, 0) != static_cast<LRESULT>(check)) {
            if (Milliseconds(start) > 120000)
                return false;
        }
        const double took = Milliseconds(start);
        check = check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        if (first == 0)
            firstBatch = took;
        lastBatch = took;
    }
    return true;
}

}  // namespace

int wmain() {
    Bench bench;
    const std::wstring bin = ferryl::ProgramFolder();
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    bench.folder = std::wstring(temp) + L"ferryl_bench_startup_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(bench.folder.c_str(), nullptr);
    bench.exe = bench.folder + L"\\Ferryl.exe";
    bench.yardstick = bench.folder + L"\\bench_startup_yardstick.exe";
    if (!::CopyFileW((bin + L"\\Ferryl.exe").c_str(), bench.exe.c_str(), FALSE) ||
        !::CopyFileW((bin + L"\\bench_startup_yardstick.exe").c_str(), bench.yardstick.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy Ferryl.exe and the yardstick\n");
        return 1;
    }
    ferryl::WriteDefaultIni(bench.folder + L"\\Ferryl.ini");
    // The files in a folder of their own: the loader looks for DLLs in the program's folder, and
    // under Wine every look-up in a folder of 10,000 files reads it whole, which no installed
    // program's folder holds.
    bench.filesFolder = bench.folder + L"\\files";
    ::CreateDirectoryW(bench.filesFolder.c_str(), nullptr);
    for (int i = 0; i < kHandoffFiles; ++i) {
        bench.files.push_back(bench.filesFolder + L"\\file " + std::to_wstring(i + 1) + L".txt");
        HANDLE file = ::CreateFileW(bench.files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::CloseHandle(file);
    }

    int status = 0;
    std::vector<double> few, many, yardstick, noop;
    for (int run = 0; run < kStartRuns && status == 0; ++run) {
        yardstick.push_back(TimeToIdle(bench.yardstick, L"", kYardstickClass));
        few.push_back(TimeToIdle(bench.exe, bench.Quoted(0, kFewFiles)));
        many.push_back(TimeToIdle(bench.exe, bench.Quoted(0, kManyFiles)));
        noop.push_back(StartToEnd(bin + L"\\bench_handoff_noop.exe"));
        if (few.back() < 0 || many.back() < 0 || yardstick.back() < 0 || noop.back() < 0) {
            std::fprintf(stderr, "a start did not come to an idle main window\n");
            status = 1;
        }
    }
    std::vector<double> firstBatches, lastBatches;
    for (int round = 0; round < kHandoffRounds && status == 0; ++round) {
        double firstBatch = 0, lastBatch = 0;
        if (!TimeHandoffs(bench, firstBatch, lastBatch)) {
            std::fprintf(stderr, "a handoff did not arrive\n");
            status = 1;
        }
        firstBatches.push_back(firstBatch);
        lastBatches.push_back(lastBatch);
    }

    if (status == 0) {
        // The fastest run is the one other processes' load disturbed least.
        const auto line = [](const char* what, const std::vector<double>& values, const std::vector<double>* base) {
            std::printf("%-34s %7.1f ms %7.1f ms", what, Median(values), Fastest(values));
            if (base) {
                std::vector<double> ratios;
                for (size_t i = 0; i < values.size() && i < base->size(); ++i)
                    ratios.push_back(values[i] / (*base)[i]);
                std::printf("   ratio %.2f, %.2f (limit 1.50)", Median(ratios), Fastest(values) / Fastest(*base));
            }
            std::printf("\n");
        };
        std::printf("%-34s  median   fastest   ratio: median of the rounds', of the fastest\n", "");
        const std::string fewLabel = "Ferryl.exe to idle, " + std::to_string(kFewFiles) + " file(s)";
        const std::string manyLabel = "Ferryl.exe to idle, " + std::to_string(kManyFiles) + " files";
        line("yardstick: one window, to idle", yardstick, nullptr);
        line(fewLabel.c_str(), few, &yardstick);
        line(manyLabel.c_str(), many, &few);
        line("handoff of files 1 to 100", firstBatches, nullptr);
        line("handoff of files 9,901 to 10,000", lastBatches, &firstBatches);
        line("do-nothing program, start to end", noop, nullptr);
    }

    for (const std::wstring& file : bench.files)
        ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(bench.filesFolder.c_str());
    for (const wchar_t* name : {L"\\Ferryl.exe", L"\\Ferryl.ini", L"\\bench_startup_yardstick.exe"})
        ::DeleteFileW((bench.folder + name).c_str());
    ::RemoveDirectoryW(bench.folder.c_str());
    return status;
}

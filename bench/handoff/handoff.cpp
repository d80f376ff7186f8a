// How long a second instance takes to hand its files over: from starting "Ferryl.exe FILE FILE"
// to the running instance's intake call, beside the time to start and end a do-nothing program
// built the same way (importing the same system DLLs, and bare). Medians and fastest of 30 runs
// each, interleaved so that the machine's load falls on all three alike; the fastest run is the
// one that other processes' load disturbed least. Last, the time the receiver takes for the
// largest payload it accepts, made of one-letter tokens.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/instance.h"
#include "app/instance_window.h"
#include "app/start_up.h"
#include "core/handoff_payload.h"

namespace {

using namespace ferryl;

constexpr int kRuns = 30;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Notes the moment the intake reaches the main window; keeps no rows, so every run adds again.
class TimingTarget : public FileListTarget {
  public:
    void ShowMainWindow() override {
        arrived = Now();
        ++calls;
    }
    void RestoreMainWindow() override {}
    long Rows() override { return 0; }
    std::wstring CellText(long, long) override { return {}; }
    void AddRow(const FileEntry&) override {}
    void CellSelected(long, long, bool) override {}
    void EnableSendNow() override {}
    void ReportListFull(long) override {}

    double arrived = 0;
    int calls = 0;
};

bool Pump(HANDLE process, const std::function<bool()>& done) {
    const double start = Now();
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        if (done())
            return true;
        if (Now() - start > 30000)
            return false;
        ::MsgWaitForMultipleObjects(1, &process, FALSE, 1, QS_ALLINPUT);
    }
}

struct Started {
    PROCESS_INFORMATION info{};
    bool ok = false;
};

Started Start(const std::wstring& program, const std::wstring& arguments) {
    Started started;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started.ok = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &started.info) != FALSE;
    return started;
}

void Finish(Started& started) {
    if (::WaitForSingleObject(started.info.hProcess, 30000) == WAIT_TIMEOUT)
        ::TerminateProcess(started.info.hProcess, 1);
    ::CloseHandle(started.info.hProcess);
    ::CloseHandle(started.info.hThread);
}

std::wstring MakeFile(const std::wstring& folder, const wchar_t* name) {
    std::wstring path = folder + L"\\" + name;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(file);
    return path;
}

// Milliseconds from starting a program to its end; negative when it cannot start.
double StartToEnd(const std::wstring& program) {
    const double start = Now();
    Started started = Start(program, L"");
    if (!started.ok)
        return -1;
    ::WaitForSingleObject(started.info.hProcess, 30000);
    const double ended = Now() - start;
    Finish(started);
    return ended;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return (values[values.size() / 2] + values[(values.size() - 1) / 2]) / 2;
}

double Fastest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

}  // namespace

int wmain() {
    const std::wstring folder = ProgramFolder();
    const std::wstring ferryl = folder + L"\\Ferryl.exe";
    const std::wstring noop = folder + L"\\bench_handoff_noop.exe";
    const std::wstring noopImports = folder + L"\\bench_handoff_noop_imports.exe";
    const std::wstring first = MakeFile(folder, L"bench handoff 1.txt");
    const std::wstring second = MakeFile(folder, L"bench_handoff_2.txt");
    const std::wstring arguments = L"\"" + first + L"\" " + second;

    if (!IsFirstInstance(InstanceMutexName())) {
        std::fprintf(stderr, "an instance of Ferryl is running; end it first\n");
        return 1;
    }
    TimingTarget target;
    InstanceF receiver(&target);
    receiver.Load(L"");

    std::vector<double> handoff;
    std::vector<double> baseline;
    std::vector<double> bareBaseline;
    for (int run = -1; run < kRuns; ++run) {  // run -1 warms the caches up and is not counted
        const int callsBefore = target.calls;
        const double start = Now();
        Started instance = Start(ferryl, arguments);
        if (!instance.ok || !Pump(instance.info.hProcess, [&] { return target.calls > callsBefore; })) {
            std::fprintf(stderr, "the handoff did not arrive\n");
            return 1;
        }
        const double handed = target.arrived - start;
        Pump(instance.info.hProcess, [&] { return ::WaitForSingleObject(instance.info.hProcess, 0) == WAIT_OBJECT_0; });
        Finish(instance);

        const double withImports = StartToEnd(noopImports);
        const double bare = StartToEnd(noop);
        if (withImports < 0 || bare < 0) {
            std::fprintf(stderr, "cannot start the do-nothing programs\n");
            return 1;
        }
        if (run >= 0) {
            handoff.push_back(handed);
            baseline.push_back(withImports);
            bareBaseline.push_back(bare);
        }
    }
    // A payload no second start makes: the most a command line holds, all one-letter tokens, which
    // the re-join glues into one path. Sent within this process, so the time is the receiver's own.
    std::string hostile(kHandoffMaxUnits, ' ');
    for (size_t i = 0; i < hostile.size(); i += 2)
        hostile[i] = 'a';
    COPYDATASTRUCT data{kHandoffAnsi, static_cast<DWORD>(hostile.size()), hostile.data()};
    const double hostileStart = Now();
    ::SendMessageW(receiver.Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    const double hostileTaken = Now() - hostileStart;
    receiver.Unload();
    ::DeleteFileW(first.c_str());
    ::DeleteFileW(second.c_str());

    const double handoffMedian = Median(handoff);
    const double baselineMedian = Median(baseline);
    const double bareMedian = Median(bareBaseline);
    std::printf("                                              median   fastest (of %d)\n", kRuns);
    std::printf("second instance to intake call:            %7.1f ms %7.1f ms\n", handoffMedian, Fastest(handoff));
    std::printf("do-nothing program, same DLLs, start-end:   %7.1f ms %7.1f ms\n", baselineMedian, Fastest(baseline));
    std::printf("ratio:                                      %7.2f    %7.2f    (limit 1.30)\n",
                handoffMedian / baselineMedian, Fastest(handoff) / Fastest(baseline));
    std::printf("do-nothing program, bare, start-end:        %7.1f ms %7.1f ms (ratio %.2f, %.2f)\n", bareMedian,
                Fastest(bareBaseline), handoffMedian / bareMedian, Fastest(handoff) / Fastest(bareBaseline));
    std::printf("%zu bytes of one-letter tokens taken in:     %7.1f ms\n", hostile.size(), hostileTaken);
    return 0;
}

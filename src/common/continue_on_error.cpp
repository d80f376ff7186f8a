#include "common/continue_on_error.h"

#include <windows.h>

#include <deque>
#include <exception>
#include <mutex>

#include "common/error.h"
#include "common/text.h"

namespace ferryl {

namespace {

struct FailureLog {
    std::mutex lock;  // the Simple MAPI call's thread records too
    std::deque<FailureRecord> records;
};

FailureLog& Log() {
    // Never destroyed: a thread still running at the program's end may record.
    static FailureLog* log = new FailureLog;
    return *log;
}

// The record of the exception being handled.
FailureRecord Classify(std::wstring_view step, unsigned long lastError) {
    FailureRecord record;
    record.step = step;
    record.lastError = lastError;
    try {
        throw;
    } catch (const Error& error) {
        record.number = error.Number();
        record.source = error.Source();
        record.description = error.Description();
        record.lastError = error.LastError();
    } catch (const std::exception& error) {
        record.source = L"C++";
        record.description = FromAnsi(error.what());
    } catch (...) {
        // Neither ours nor the standard library's: nothing more can be said of it.
        record.description = L"Unknown exception";
    }
    return record;
}

}  // namespace

std::wstring FailureText(const FailureRecord& record) {
    std::wstring text = L"step \"" + record.step + L"\" failed: " + std::to_wstring(record.number) + L" / " +
                        record.source + L" / " + record.description;
    if (record.lastError != 0)
        text += L" (last error " + std::to_wstring(record.lastError) + L")";
    return text;
}

FailureRecord RecordCaughtFailure(std::wstring_view step) noexcept {
    // Before anything here can change it.
    const DWORD lastError = ::GetLastError();
    FailureRecord kept;
    try {
        FailureRecord record = Classify(step, lastError);
        ::OutputDebugStringW((L"Ferryl Handler: " + FailureText(record) + L"\n").c_str());
        kept = record;
        FailureLog& log = Log();
        const std::lock_guard<std::mutex> hold(log.lock);
        if (log.records.size() >= kFailureLogSize)
            log.records.pop_front();
        log.records.push_back(std::move(record));
    } catch (const std::exception&) {
        // Out of memory, most likely: a text without allocation still reaches the debugger.
        ::OutputDebugStringW(L"Ferryl Handler: a failed step could not be recorded\n");
        kept.lastError = lastError;
    }
    ::SetLastError(lastError);
    return kept;
}

std::vector<FailureRecord> RecentFailures() {
    FailureLog& log = Log();
    const std::lock_guard<std::mutex> hold(log.lock);
    return {log.records.begin(), log.records.end()};
}

void ClearFailures() {
    FailureLog& log = Log();
    const std::lock_guard<std::mutex> hold(log.lock);
    log.records.clear();
}

}  // namespace ferryl

#include "common/continue_on_error.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "common/error.h"

namespace ferryl {
namespace {

// What the program sends the debugger: OutputDebugString raises a first-chance exception that a
// debugger (or a vectored handler) sees before the system's own handler takes it.
std::wstring g_debugText;

// DBG_PRINTEXCEPTION_WIDE_C: MinGW names it only in ntstatus.h, which clashes with windows.h.
constexpr DWORD kDebugPrintWide = 0x4001000A;

LONG CALLBACK CollectDebugText(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& raised = *pointers->ExceptionRecord;
    if (raised.NumberParameters >= 2 && raised.ExceptionInformation[1]) {
        if (raised.ExceptionCode == kDebugPrintWide)
            g_debugText += reinterpret_cast<const wchar_t*>(raised.ExceptionInformation[1]);
        else if (raised.ExceptionCode == DBG_PRINTEXCEPTION_C)
            for (const char* c = reinterpret_cast<const char*>(raised.ExceptionInformation[1]); *c; ++c)
                g_debugText += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

class ContinueOnErrorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearFailures();
        g_debugText.clear();
        m_handler = ::AddVectoredExceptionHandler(1, &CollectDebugText);
    }
    void TearDown() override {
        ::RemoveVectoredExceptionHandler(m_handler);
        ClearFailures();
    }

  private:
    void* m_handler = nullptr;
};

TEST_F(ContinueOnErrorTest, FailingStepIsRecordedWithTheErrorAndTheSystemsReason) {
    const bool ran = ContinueOnError(L"Read the entry", [] {
        // A real failed system call, then the error raised for it.
        ASSERT_FALSE(::DeleteFileW(L"C:\\no such folder here\\no such file.txt"));
        throw Error(kErrFileNotFound, ErrorSource(L"FerrylF"), L"File not found");
    });
    EXPECT_FALSE(ran);
    ASSERT_EQ(RecentFailures().size(), 1u);
    const FailureRecord record = RecentFailures().front();
    EXPECT_EQ(record.step, L"Read the entry");
    EXPECT_EQ(record.number, 53);
    EXPECT_EQ(record.source, L"common_tests.FerrylF");
    EXPECT_EQ(record.description, L"File not found");
    EXPECT_EQ(record.lastError, static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(FailureText(record),
              L"step \"Read the entry\" failed: 53 / common_tests.FerrylF / File not found (last error 3)");
    // The debugger is told the same.
    EXPECT_NE(g_debugText.find(FailureText(record)), std::wstring::npos) << g_debugText;
}

TEST_F(ContinueOnErrorTest, OtherExceptionsAreRecordedWithWhatTheyTell) {
    ContinueOnError(L"standard", [] {
        ::SetLastError(ERROR_ACCESS_DENIED);
        throw std::runtime_error("disk on fire");
    });
    ContinueOnError(L"unknown", [] {
        ::SetLastError(0);
        throw 42;
    });
    const std::vector<FailureRecord> records = RecentFailures();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].step, L"standard");
    EXPECT_EQ(records[0].number, 0);
    EXPECT_EQ(records[0].source, L"C++");
    EXPECT_EQ(records[0].description, L"disk on fire");
    EXPECT_EQ(records[0].lastError, static_cast<unsigned long>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(records[1].step, L"unknown");
    EXPECT_EQ(records[1].source, L"");
    EXPECT_EQ(records[1].description, L"Unknown exception");
    EXPECT_EQ(records[1].lastError, 0u);
    EXPECT_EQ(FailureText(records[1]), L"step \"unknown\" failed: 0 /  / Unknown exception");
}

TEST_F(ContinueOnErrorTest, StepsGoOnAfterAFailureAndOnlyFailuresAreRecorded) {
    std::wstring ran;
    EXPECT_TRUE(ContinueOnError(L"first", [&] { ran += L"1"; }));
    EXPECT_FALSE(ContinueOnError(L"second", [&] {
        ran += L"2";
        throw Error(kErrSubscriptOutOfRange, L"test", L"Subscript out of range");
        ran += L"never";
    }));
    EXPECT_TRUE(ContinueOnError(L"third", [&] { ran += L"3"; }));
    EXPECT_EQ(ran, L"123");
    ASSERT_EQ(RecentFailures().size(), 1u);
    EXPECT_EQ(RecentFailures().front().step, L"second");

    ClearFailures();
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(ContinueOnError(L"fine", [] {}));
    EXPECT_TRUE(RecentFailures().empty());
    EXPECT_TRUE(g_debugText.find(L"\"fine\"") == std::wstring::npos);
    // Recording leaves the thread's last error as it found it, for the caller to ask still.
    ContinueOnError(L"raise", [] { throw Error(1, L"test", L"x"); });
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ContinueOnErrorTest, LogKeepsTheLatestFailuresOnly) {
    const long count = static_cast<long>(kFailureLogSize) + 5;
    for (long i = 1; i <= count; ++i)
        ContinueOnError(std::to_wstring(i), [i] { throw Error(i, L"test", L"failure"); });
    const std::vector<FailureRecord> records = RecentFailures();
    ASSERT_EQ(records.size(), kFailureLogSize);
    EXPECT_EQ(records.front().number, 6) << "the oldest five fell out";
    EXPECT_EQ(records.back().number, count);
    EXPECT_EQ(records.back().step, std::to_wstring(count));
}

}  // namespace
}  // namespace ferryl

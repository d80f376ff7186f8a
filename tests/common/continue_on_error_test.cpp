#include "common/continue_on_error.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "common/error.h"

namespace ferryl {
namespace {

TEST(ContinueOnError, EachFailingStepIsRecordedWithItsReasonAndTheNextStepsRun) {
    ClearFailures();
    std::wstring ran;
    EXPECT_TRUE(ContinueOnError(L"first", [&] { ran += L"1"; }));
    EXPECT_FALSE(ContinueOnError(L"Read the entry", [&] {
        ran += L"2";
        // A real failed system call, then the error raised for it.
        EXPECT_FALSE(::DeleteFileW(L"C:\\no such folder here\\no such file.txt"));
        throw Error(kErrFileNotFound, ErrorSource(L"FerrylF"), L"File not found");
    }));
    ContinueOnError(L"standard", [&] {
        ::SetLastError(ERROR_ACCESS_DENIED);
        throw std::runtime_error("disk on fire");
    });
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    ContinueOnError(L"unknown", [&] { throw 42; });
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "recording keeps the last error";
    EXPECT_EQ(ran, L"12");

    const std::vector<FailureRecord> records = RecentFailures();
    ASSERT_EQ(records.size(), 3u) << "only failures are recorded";
    EXPECT_EQ(FailureText(records[0]),
              L"step \"Read the entry\" failed: 53 / common_tests.FerrylF / File not found (last error 3)");
    EXPECT_EQ(FailureText(records[1]), L"step \"standard\" failed: 0 / C++ / disk on fire (last error 5)");
    EXPECT_EQ(FailureText(records[2]), L"step \"unknown\" failed: 0 /  / Unknown exception (last error 2)");
    // The log keeps the latest failures only.
    for (long i = 1; i <= static_cast<long>(kFailureLogSize); ++i)
        ContinueOnError(L"later", [i] { throw Error(i, L"test", L"failure"); });
    ASSERT_EQ(RecentFailures().size(), kFailureLogSize);
    EXPECT_EQ(RecentFailures().front().number, 1) << "the three before fell out";
    ClearFailures();
}

}  // namespace
}  // namespace ferryl

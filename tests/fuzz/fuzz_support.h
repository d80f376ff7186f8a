#pragma once
// What the fuzzers share: a check that fails loudly, a time budget per input, and wide text made
// from the input's bytes so that an input means the same text on every platform.

#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/utf16.h"

namespace ferryl::fuzz {

// A property that does not hold: libFuzzer takes the abort as a crash and keeps the input.
#define FUZZ_REQUIRE(condition)                                                                   \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

// An input's run may take this much of the processor; more is a fault like a crash. The thread's CPU
// time, as libFuzzer's -timeout counts whole seconds and wall time other builds on the machine too.
inline constexpr double kBudgetMs = 100.0;

// Runs `step` and returns its result; aborts when it took longer than the budget.
template <typename Step>
auto WithinBudget(const char* what, Step&& step) {
    const auto cpuMs = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    };
    const double start = cpuMs();
    auto result = step();
    if (const double taken = cpuMs() - start; taken > kBudgetMs) {
        std::fprintf(stderr, "slow input: %s took %.1f ms of CPU time (budget %.0f ms)\n", what, taken, kBudgetMs);
        std::abort();
    }
    return result;
}

// The input's bytes as UTF-16LE text (an odd last byte dropped), meaning the same as on Windows.
inline std::wstring Utf16Text(const std::uint8_t* data, std::size_t size) {
    return WideFromUtf16Le(std::string_view(reinterpret_cast<const char*>(data), size));
}

// The input's bytes one character each, as a single-byte code page reads ASCII.
inline std::wstring ByteText(const std::uint8_t* data, std::size_t size) {
    return std::wstring(data, data + size);
}

}  // namespace ferryl::fuzz

#pragma once
// The time a long piece of work still needs, as its progress shows it to the user.

#include <cstdint>
#include <string>

namespace ferryl {

// "About 40 seconds left", "About 3 minutes left", "About 2 hours and 5 minutes left": the rest of
// the work at the pace so far, rounded up (seconds to fives). Empty while the pace cannot be told
// yet: nothing done, or less than two seconds gone.
std::wstring TimeLeftText(uint64_t done, uint64_t total, double secondsSoFar);

}  // namespace ferryl

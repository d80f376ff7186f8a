#pragma once
// What a Simple MAPI call's result means to the user.

#include <string>

namespace ferryl {

enum class MapiOutcome { Sent, Cancelled, Failed };

MapiOutcome OutcomeOfMapiResult(unsigned long result);

// The reason in words for a result that is a failure, naming the MAPI error as well.
std::wstring MapiFailureText(unsigned long result);

}  // namespace ferryl

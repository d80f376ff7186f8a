#pragma once
// The system's own words for an error code (GetLastError), as the user reads them in a message.

#include <string>

namespace ferryl {

// FormatMessage's text, trimmed, with the code after it ("Access is denied. (error 5)"); the code
// alone when the system has no text for it.
std::wstring SystemErrorText(unsigned long error);

}  // namespace ferryl

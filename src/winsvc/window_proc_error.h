#pragma once
// The subclassing (subclass.h) and the timers (timer.h) raise their errors as one class,
// "<program>.WindowProc", with object-defined numbers.

#include <string_view>

#include "common/error.h"

namespace ferryl {

[[noreturn]] inline void RaiseWindowProcError(long number, std::wstring_view description) {
    RaiseObjectError(L"WindowProc", number, description);
}

}  // namespace ferryl

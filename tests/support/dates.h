#pragma once
// A date value for tests, built from its parts.

#include <windows.h>

#include "common/tagged_value.h"

namespace ferryl::test {

inline TaggedValue DateValue(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    return TaggedValue::FromSystemTime(SYSTEMTIME{year, month, 0, day, hour, minute, second, 0});
}

}  // namespace ferryl::test

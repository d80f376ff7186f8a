#pragma once
// Dates for tests, built from their parts.

#include <windows.h>

#include "common/tagged_value.h"

namespace ferryl::test {

inline SYSTEMTIME SystemTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

inline TaggedValue DateValue(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    return TaggedValue::FromSystemTime(SystemTime(year, month, day, hour, minute, second));
}

}  // namespace ferryl::test

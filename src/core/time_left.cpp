#include "core/time_left.h"

#include <cmath>

namespace ferryl {

namespace {

constexpr double kSecondsBeforeAnEstimate = 2;

std::wstring Count(uint64_t count, const wchar_t* unit) {
    return std::to_wstring(count) + L" " + unit + (count == 1 ? L"" : L"s");
}

}  // namespace

std::wstring TimeLeftText(uint64_t done, uint64_t total, double secondsSoFar) {
    if (done == 0 || done > total || !(secondsSoFar >= kSecondsBeforeAnEstimate))
        return {};
    const double left = secondsSoFar * static_cast<double>(total - done) / static_cast<double>(done);
    std::wstring text;
    if (left < 60) {
        const auto seconds = static_cast<uint64_t>(std::ceil(left / 5) * 5);
        text = seconds >= 60 ? Count(1, L"minute") : Count(seconds == 0 ? 5 : seconds, L"second");
    } else if (left < 3600) {
        text = Count(static_cast<uint64_t>(std::ceil(left / 60)), L"minute");
    } else {
        const auto minutes = static_cast<uint64_t>(std::ceil(left / 60));
        text = Count(minutes / 60, L"hour");
        if (minutes % 60 != 0)
            text += L" and " + Count(minutes % 60, L"minute");
    }
    return L"About " + text + L" left";
}

}  // namespace ferryl

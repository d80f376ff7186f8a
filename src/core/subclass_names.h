#pragma once
// Names of the window properties that hold the subclassing bookkeeping: for window h and message m,
// "h" (previous procedure), "Ch" (attachments on the window), "h#mC" (clients of m) and "h#m#i"
// (the i-th client). Numbers are plain decimal, a minus sign when negative.

#include <cstdint>
#include <string>

namespace ferryl::subclass_names {

inline std::wstring Window(std::intptr_t h) {
    return std::to_wstring(h);
}
inline std::wstring WindowCount(std::intptr_t h) {
    return L"C" + std::to_wstring(h);
}
inline std::wstring ClientCount(std::intptr_t h, long long m) {
    return std::to_wstring(h) + L"#" + std::to_wstring(m) + L"C";
}
inline std::wstring Client(std::intptr_t h, long long m, long i) {
    return std::to_wstring(h) + L"#" + std::to_wstring(m) + L"#" + std::to_wstring(i);
}

}  // namespace ferryl::subclass_names

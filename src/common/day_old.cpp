#include "common/day_old.h"

#include "common/unique_handle.h"

namespace ferryl {

namespace {

// A day, in FILETIME's 100-nanosecond units.
constexpr ULONGLONG kDay = 24ull * 60 * 60 * 10'000'000;

ULONGLONG AsNumber(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void ForEachDayOldEntry(const std::wstring& search,
                        const std::function<bool(const WIN32_FIND_DATAW&)>& ours,
                        const std::function<void(const std::wstring& path)>& remove) {
    const std::wstring folder = search.substr(0, search.find_last_of(L'\\') + 1);
    FILETIME nowTime{};
    ::GetSystemTimeAsFileTime(&nowTime);
    const ULONGLONG now = AsNumber(nowTime);
    WIN32_FIND_DATAW entry{};
    UniqueFind found(::FindFirstFileExW(search.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!found)
        return;
    do {
        const ULONGLONG written = AsNumber(entry.ftLastWriteTime);
        if (written < now && now - written > kDay && ours(entry))
            remove(folder + entry.cFileName);
    } while (::FindNextFileW(found.get(), &entry));
}

}  // namespace ferryl

#pragma once
// Leftovers of earlier runs (drafts, folders of smaller pictures, spool files cut short) are removed
// a day after they were last written: by then no mail program or later start still reads them.

#include <windows.h>

#include <functional>
#include <string>

namespace ferryl {

// Calls `remove` with the full path of each entry of the search (a full path with wildcards) that
// `ours` takes for one of the program's and that was last written more than a day ago (never one
// dated ahead of the clock).
void ForEachDayOldEntry(const std::wstring& search,
                        const std::function<bool(const WIN32_FIND_DATAW&)>& ours,
                        const std::function<void(const std::wstring& path)>& remove);

}  // namespace ferryl

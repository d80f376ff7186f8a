#pragma once
// The spool folder: where a later start keeps its files when the running instance's receiving
// window does not take them in time (busy with a long copy, stopped), and where that window takes
// them in once it is free, or the next instance at its start. A kept file is removed only once its
// paths are listed.

#include <string>
#include <vector>

#include "app/file_list_target.h"

namespace ferryl {

// "%LOCALAPPDATA%\Ferryl Handler\Handoff" (under the temporary folder when LOCALAPPDATA is unset):
// the user's own. The files of each session are apart, as its instance is.
std::wstring SpoolFolder();

// Keeps the paths in a new file of the spool folder, written under a name no take-in reads and then
// renamed. False when they could not be kept (the folder cannot be made or written); nothing is left
// behind then.
bool KeepHandoff(const std::vector<std::wstring>& paths) noexcept;

// Adds the files of this session's kept handoffs to the list, the oldest first, with the intake's
// rules. Each kept file is held open for this process alone meanwhile (another receiver passes it
// by) and removed once its paths are listed; the paths the list could not take are kept in a new
// file first. A file that cannot be read stays. Returns the number of files added.
long TakeInKeptHandoffs(FileListTarget& target) noexcept;

// Removes the partial files of starts that ended while writing them, a day after; once a run.
void RemoveStaleSpoolPartials() noexcept;

}  // namespace ferryl

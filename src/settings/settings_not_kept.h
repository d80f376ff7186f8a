#pragma once
// The settings file may not be writable: Ferryl.ini read-only, or beside the program in a folder
// the user may not write to (Program Files). The user is told once per run, with the file and the
// system's reason, rather than find the choices gone at the next start.

#include <string>

namespace ferryl {

// Shows the warning the first time in the run it is called, over the thread's active window. error
// is GetLastError's code, 0 when the system gave none.
void TellSettingsNotKept(const std::wstring& file, unsigned long error);

}  // namespace ferryl

#pragma once
// The process-wide state of start-up, set once while the first instance starts and read directly
// by the main window. Paths are empty until set.

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace ferryl {

struct StartUpState {
    std::wstring IniFile;                  // the program's folder, "\", "Ferryl.ini"
    std::wstring TempFolder;               // the system's temporary folder as it gives it
    std::wstring SendMenuFolder;           // the user's Send To folder, ending in "\"
    std::wstring DesktopFolder;            // the user's desktop folder, ending in "\"
    std::wstring EudoraProgram;            // the mail program found in Eudora's registered command line
    std::wstring EudoraIni;                // Eudora's settings file from the same command line
    std::wstring EudoraAttachmentsFolder;  // Eudora's attachments folder, ending in "\"
    std::wstring ClParameters;             // the CLParameters setting at start-up
    HWND RunningInstanceWindow = nullptr;  // a running instance's receiving window, when found
    UniqueMutex InstanceMutex;             // the instance mutex while this process holds it
};

StartUpState& StartUp();

}  // namespace ferryl

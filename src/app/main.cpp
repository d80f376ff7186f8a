// The program's entry point.

#include <windows.h>

#include "app/file_list_target.h"
#include "app/instance_window.h"
#include "app/start_up.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The main window (FerrylF) implements FileListTarget and is handed to the receiving window
    // here; it keeps the program running until its unload handler unloads InstanceF.
    ferryl::FileListTarget* mainWindow = nullptr;
    ferryl::InstanceF instanceF(mainWindow);
    ferryl::Main(instanceF, ferryl::ProcessArguments());
    if (mainWindow) {
        ferryl::RunWhileLoaded(instanceF);
    } else {
        // With no main window there is nothing to show and nothing that would ever end the
        // program: the first instance ends once start-up is done, releasing the mutex.
        instanceF.Unload();
    }
    return 0;
}

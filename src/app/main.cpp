// The program's entry point.

#include <windows.h>

#include <optional>

#include "app/instance_window.h"
#include "app/send_to_switch.h"
#include "app/start_up.h"
#include "mainwindow/ferryl_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (std::optional<int> exitCode = ferryl::RunSendToSwitch(ferryl::ProcessArguments()))
        return *exitCode;
    // The main window outlives its own window handle: the intake loads it on first use and again
    // after it was closed, and its unload handler unloads InstanceF, which ends the loop below.
    ferryl::FerrylF ferrylF;
    ferryl::InstanceF instanceF(&ferrylF);
    ferrylF.SetInstanceWindow(&instanceF);
    ferryl::Main(instanceF, ferryl::ProcessArguments());
    if (instanceF.Loaded())
        ferryl::RunWhileLoaded(instanceF, [&](MSG& message) { return ferrylF.PreTranslateMessage(message); });
    // The loop also ends when the receiving window is closed from outside (the Restart Manager
    // closes every top-level window). A mail client that has the listed files through Simple MAPI
    // runs inside this process, reading them: the program ends once it has returned.
    ferrylF.WaitWhileSending();
    // Whatever is still loaded goes before the objects do. InstanceF's window goes with its object,
    // which releases the mutex and takes nothing in any more: a later start still waiting then
    // fails its send and starts over, and kept files wait for the next start.
    ferrylF.SetInstanceWindow(nullptr);
    ferrylF.Unload();
    return 0;
}

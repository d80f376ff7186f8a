// The program's entry point.

#include <windows.h>

#include "app/instance_window.h"
#include "app/start_up.h"
#include "mainwindow/ferryl_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The main window outlives its own window handle: the intake loads it on first use and again
    // after it was closed, and its unload handler unloads InstanceF, which ends the loop below.
    ferryl::FerrylF ferrylF;
    ferryl::InstanceF instanceF(&ferrylF);
    ferrylF.SetInstanceWindow(&instanceF);
    ferryl::Main(instanceF, ferryl::ProcessArguments());
    if (instanceF.Loaded())
        ferryl::RunWhileLoaded(instanceF, [&](MSG& message) { return ferrylF.PreTranslateMessage(message); });
    // Whatever is still loaded goes before the objects do; InstanceF releases the mutex.
    ferrylF.SetInstanceWindow(nullptr);
    ferrylF.Unload();
    instanceF.Unload();
    return 0;
}

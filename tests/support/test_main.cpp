// Every test program's entry: GoogleTest on a thread with COM initialised, as the program's UI thread.

#include <windows.h>
// objbase.h needs the types of windows.h before it.
#include <objbase.h>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

int wmain(int argc, wchar_t** argv) {
    // A per-user data folder of the program's own, inherited by every Ferryl.exe it starts: the
    // handoffs kept there for a busy window by one test never reach another test or program.
    const ferryl::test::TempFolder localAppData;
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", localAppData.Path().c_str());
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    ::CoUninitialize();
    return result;
}

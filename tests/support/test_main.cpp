// Entry point of every test program: GoogleTest on a thread with COM initialised, as the program's
// own user-interface thread is.

#include <windows.h>
// objbase.h needs the types of windows.h before it.
#include <objbase.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    ::CoUninitialize();
    return result;
}

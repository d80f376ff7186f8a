// A program that starts and ends, built like Ferryl.exe: the yardstick of the handoff benchmark.
// Built twice: bare, and importing the same system DLLs as Ferryl.exe, so that the loader and the
// DLLs' own start-up (user32's is the heavy one under Wine) cost the same as for the program.

#include <windows.h>

#ifdef FERRYL_SAME_IMPORTS
#include <objbase.h>
#include <oleauto.h>

// Never called; taking the addresses is what puts the DLLs into the import table: those that
// Ferryl.exe imports (tests/app/import_table_test.cpp compares the two), not those it loads on
// first use.
void* volatile g_imports[] = {
    reinterpret_cast<void*>(&::RegCloseKey),    reinterpret_cast<void*>(&::CoTaskMemFree),
    reinterpret_cast<void*>(&::VariantInit),    reinterpret_cast<void*>(&::GetPropW),
    reinterpret_cast<void*>(&::GetStockObject), reinterpret_cast<void*>(&::GetFileVersionInfoSizeW)};
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}

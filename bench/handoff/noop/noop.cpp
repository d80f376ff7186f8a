// A program that starts and ends, built like Ferryl.exe: the yardstick of the handoff benchmark.
// Built twice: bare, and importing the same system DLLs as Ferryl.exe, so that the loader and the
// DLLs' own start-up (user32's is the heavy one under Wine) cost the same as for the program.
// Built a third time with FERRYL_ONE_WINDOW as the start-up benchmark's yardstick: with Ferryl's
// manifest and imports, it also loads the libraries Ferryl.exe loads on first use, opens one window
// and waits for input until the window is closed.

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

#ifdef FERRYL_ONE_WINDOW
#include "app/delayed_libraries.h"

namespace {

LRESULT CALLBACK YardstickProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    for (const wchar_t* library : ferryl::kDelayedLibraries)
        ::LoadLibraryW(library);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &YardstickProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"FerrylYardstick";
    if (!::RegisterClassExW(&windowClass))
        return 1;
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Yardstick", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ::ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
#else
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
#endif

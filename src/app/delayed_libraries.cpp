#include "app/delayed_libraries.h"

#include <windows.h>

#include "common/system_error_text.h"

namespace ferryl {

std::wstring LoadDelayedLibraries() {
    for (const wchar_t* library : kDelayedLibraries) {
        // From the system folder only (the manifest's common controls still come first): a DLL of
        // the same name beside the program, in a Downloads folder say, is never loaded, nor is that
        // folder searched, which Wine reads whole for it. Windows 7 without KB2533623 knows no such
        // flag: there the loader's own search, as the delay-load helper's. Never freed.
        HMODULE loaded = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!loaded && ::GetLastError() == ERROR_INVALID_PARAMETER)
            loaded = ::LoadLibraryW(library);
        if (!loaded) {
            return L"Ferryl Handler cannot start: the system library " + std::wstring(library) +
                   L" could not be loaded.\n\n" + SystemErrorText(::GetLastError()) + L"\n\nNo file was listed.";
        }
    }
    return {};
}

}  // namespace ferryl

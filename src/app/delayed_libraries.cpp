#include "app/delayed_libraries.h"

#include <windows.h>

#include "common/system_error_text.h"

namespace ferryl {

std::wstring LoadDelayedLibraries() {
    for (const wchar_t* library : kDelayedLibraries) {
        // The loader's own search, as the delay-load helper's LoadLibrary does; never freed.
        if (!::LoadLibraryW(library)) {
            return L"Ferryl Handler cannot start: the system library " + std::wstring(library) +
                   L" could not be loaded.\n\n" + SystemErrorText(::GetLastError()) + L"\n\nNo file was listed.";
        }
    }
    return {};
}

}  // namespace ferryl

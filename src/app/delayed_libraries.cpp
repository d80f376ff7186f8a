#include "app/delayed_libraries.h"

#include <windows.h>

#include "common/system_error_text.h"
#include "common/system_function.h"

namespace ferryl {

std::wstring LoadDelayedLibraries() {
    for (const wchar_t* library : kDelayedLibraries) {
        // Not the loader's search of the program's folder, which Wine reads whole for it.
        if (!LoadSystemLibrary(library)) {
            return L"Ferryl Handler cannot start: the system library " + std::wstring(library) +
                   L" could not be loaded.\n\n" + SystemErrorText(::GetLastError()) + L"\n\nNo file was listed.";
        }
    }
    return {};
}

}  // namespace ferryl

#pragma once
// System functions looked up at run time: those a supported Windows may lack, which named as
// imports would keep the program from starting there, and those of a DLL loaded only when needed.

#include <windows.h>

namespace ferryl {

// The export `name` of `module` as its own function type, through void* (GCC warns on the direct
// cast between function types); null when the module or the export is missing.
template <typename Fn>
Fn ExportedFunction(HMODULE module, const char* name) noexcept {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// A library from the system folder only (the manifest's common controls still come first): one of
// the same name beside the program, in a Downloads folder say, is never loaded, nor is that folder
// searched. Windows 7 without KB2533623 knows no such flag: there the loader's own search. Never
// freed; null with the loader's last error when it cannot be loaded.
inline HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
    HMODULE loaded = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!loaded && ::GetLastError() == ERROR_INVALID_PARAMETER)
        loaded = ::LoadLibraryW(name);
    return loaded;
}

// An export of user32.dll, which the program imports and so always has loaded.
template <typename Fn>
Fn User32Function(const char* name) noexcept {
    return ExportedFunction<Fn>(::GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace ferryl

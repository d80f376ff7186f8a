// What a start of Ferryl.exe loads before its first line runs: the DLLs of its import table. A
// second start only hands its files over, so the libraries it needs only for windows and dialogs
// are loaded on first use; and the handoff benchmark's yardstick imports the same DLLs.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "app/delayed_libraries.h"
#include "common/module_path.h"
#include "common/text.h"
#include "support/temp_folder.h"

namespace ferryl::test {
namespace {

// The upper-cased names of the DLLs in a PE file's import table (delay-loaded ones are not in it),
// read from the image as the loader maps it, without running or resolving anything.
std::set<std::wstring> ImportedDlls(const std::wstring& path) {
    std::set<std::wstring> dlls;
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return dlls;
    // The handle of a module loaded as a resource has its low bits set.
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); imports && entry->Name;
         ++entry)
        dlls.insert(ToUpper(FromAnsi(reinterpret_cast<const char*>(base + entry->Name))));
    ::FreeLibrary(module);
    return dlls;
}

// Whether the image holds the name as a NUL-terminated ANSI string in any letter case, as every
// import descriptor, delay-loaded or not, names its DLL. (dlltool's delay-import libraries leave
// the delay-import directory entry empty, so the descriptors cannot be found through it.)
bool NamesInAnsi(const std::string& image, std::string name) {
    std::string lower = image;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    name.push_back('\0');
    for (size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
        if (at == 0 || lower[at - 1] == '\0')
            return true;
    }
    return false;
}

TEST(ImportTable, ASecondStartLoadsNoLibraryForWindowsOrDialogs) {
    const std::wstring program = ProgramFolder() + L"\\Ferryl.exe";
    const std::set<std::wstring> ferryl = ImportedDlls(program);
    ASSERT_TRUE(ferryl.contains(L"USER32.DLL")) << "the import table was read";
    // comctl32's start-up connects to the display under Wine; comdlg32 imports comctl32; shell32
    // brings shlwapi and shcore. All load when first called, and the first instance loads them at
    // once: these are the ones it loads.
    const std::string image = ReadFileBytes(program);
    for (const wchar_t* delayed : kDelayedLibraries) {
        EXPECT_FALSE(ferryl.contains(ToUpper(delayed))) << delayed;
        EXPECT_TRUE(NamesInAnsi(image, ToAnsi(delayed))) << delayed << " is delay-loaded";
    }
    // oleacc serves screen readers only, and is looked up when one asks: not imported at all.
    EXPECT_FALSE(ferryl.contains(L"OLEACC.DLL"));
    EXPECT_FALSE(NamesInAnsi(image, "oleacc.dll")) << "oleacc.dll is not delay-loaded either";
    EXPECT_EQ(ImportedDlls(ProgramFolder() + L"\\bench_handoff_noop_imports.exe"), ferryl)
        << "the handoff benchmark's yardstick imports what Ferryl.exe imports";
}

}  // namespace
}  // namespace ferryl::test

// What a start of Ferryl.exe loads before its first line runs: the DLLs of its import table. A
// second start only hands its files over, so the libraries it needs only for windows and dialogs
// are loaded on first use; and the handoff benchmark's yardstick imports the same DLLs.

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "app/delayed_libraries.h"
#include "common/module_path.h"
#include "common/text.h"

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

TEST(ImportTable, ASecondStartLoadsNoLibraryForWindowsOrDialogs) {
    const std::wstring program = ProgramFolder() + L"\\Ferryl.exe";
    const std::set<std::wstring> ferryl = ImportedDlls(program);
    ASSERT_TRUE(ferryl.contains(L"USER32.DLL")) << "the import table was read";
    // comctl32's start-up connects to the display under Wine; comdlg32 imports comctl32; shell32
    // brings shlwapi and shcore; oleacc serves screen readers only, and is looked up when one asks.
    for (const wchar_t* delayed : kDelayedLibraries)
        EXPECT_FALSE(ferryl.contains(ToUpper(delayed))) << delayed;
    EXPECT_FALSE(ferryl.contains(L"OLEACC.DLL"));
    EXPECT_EQ(ImportedDlls(ProgramFolder() + L"\\bench_handoff_noop_imports.exe"), ferryl)
        << "the handoff benchmark's yardstick imports what Ferryl.exe imports";
}

}  // namespace
}  // namespace ferryl::test

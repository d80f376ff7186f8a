// What a start of Ferryl.exe loads before its first line runs: the DLLs of its import table. A
// second start only hands its files over, so the libraries it needs only for windows and dialogs
// are loaded on first use; and the handoff benchmark's yardstick imports the same DLLs.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/delayed_libraries.h"
#include "common/module_path.h"
#include "common/text.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

// The upper-cased names of the DLLs in a PE file's import table (delay-loaded ones are not in it).
std::set<std::wstring> ImportedDlls(const std::wstring& path) {
    const std::string image = test::ReadFileBytes(path);
    const auto at = [&](size_t offset, size_t size) -> const char* {
        return offset <= image.size() && size <= image.size() - offset ? image.data() + offset : nullptr;
    };
    std::set<std::wstring> dlls;
    IMAGE_DOS_HEADER dos{};
    if (!at(0, sizeof dos))
        return dlls;
    std::memcpy(&dos, image.data(), sizeof dos);
    IMAGE_NT_HEADERS64 nt{};
    if (!at(static_cast<size_t>(dos.e_lfanew), sizeof nt))
        return dlls;
    std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof nt);
    if (nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        return dlls;  // the program is built for x64 only
    std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
    const size_t sectionTable = static_cast<size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                nt.FileHeader.SizeOfOptionalHeader;
    if (!at(sectionTable, sections.size() * sizeof(IMAGE_SECTION_HEADER)))
        return dlls;
    std::memcpy(sections.data(), image.data() + sectionTable, sections.size() * sizeof(IMAGE_SECTION_HEADER));
    const auto fileOffset = [&](DWORD rva) -> size_t {
        for (const IMAGE_SECTION_HEADER& section : sections) {
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return image.size();
    };
    const DWORD importRva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t offset = fileOffset(importRva);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR descriptor{};
        if (!at(offset, sizeof descriptor))
            break;
        std::memcpy(&descriptor, image.data() + offset, sizeof descriptor);
        if (descriptor.Name == 0)
            break;
        const char* name = at(fileOffset(descriptor.Name), 1);
        if (!name)
            break;
        dlls.insert(ToUpper(FromAnsi(std::string(name, strnlen(name, image.data() + image.size() - name)))));
    }
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
    const std::string image = test::ReadFileBytes(program);
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
}  // namespace ferryl

// What a start of Ferryl.exe loads before its first line runs: the DLLs of its import table. A
// second start only hands its files over, so the libraries it needs only for windows and dialogs
// are loaded on first use; and the handoff benchmark's yardstick imports the same DLLs.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

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

TEST(ImportTable, ASecondStartLoadsNoLibraryForWindowsOrDialogs) {
    const std::set<std::wstring> ferryl = ImportedDlls(ProgramFolder() + L"\\Ferryl.exe");
    ASSERT_TRUE(ferryl.contains(L"USER32.DLL")) << "the import table was read";
    // comctl32's start-up connects to the display under Wine; comdlg32 imports comctl32; shell32
    // brings shlwapi and shcore; oleacc serves screen readers only. All load when first called.
    for (const wchar_t* delayed : {L"COMCTL32.DLL", L"COMDLG32.DLL", L"SHELL32.DLL", L"OLEACC.DLL"})
        EXPECT_FALSE(ferryl.contains(delayed)) << delayed;
    EXPECT_EQ(ImportedDlls(ProgramFolder() + L"\\bench_handoff_noop_imports.exe"), ferryl)
        << "the handoff benchmark's yardstick imports what Ferryl.exe imports";
}

}  // namespace
}  // namespace ferryl

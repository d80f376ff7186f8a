#include "mail/app_paths.h"

#include "core/mail_kind.h"
#include "mail/registry_text.h"
#include "settings/funkcije.h"

namespace ferryl {

std::optional<std::wstring> AppPath(const std::wstring& fileName) {
    // A name that would reach another key is no program's name.
    if (fileName.empty() || fileName.find_first_of(L"\\/") != std::wstring::npos)
        return std::nullopt;
    for (HKEY root : kUserThenMachine) {
        std::optional<std::wstring> path =
            ReadRegistryText(root, std::wstring(kAppPathsKey) + L"\\" + fileName, nullptr);
        if (!path)
            continue;
        if (path->size() >= 2 && path->front() == L'"' && path->back() == L'"')
            *path = path->substr(1, path->size() - 2);
        if (!path->empty())
            return path;
    }
    return std::nullopt;
}

std::vector<RegisteredProgram> RegisteredMailPrograms() {
    std::vector<RegisteredProgram> programs;
    for (const KnownMailProgram& known : KnownMailPrograms()) {
        const std::wstring fileName(known.fileName);
        if (const std::optional<std::wstring> path = AppPath(fileName); path && IsExistingFile(*path))
            programs.push_back({fileName, std::wstring(known.displayName), *path});
    }
    return programs;
}

}  // namespace ferryl

#include "mail/ansi_path.h"

#include "common/text.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

// The long form, else the short form, of what pick takes from a path.
template <typename Pick>
std::optional<std::wstring> LongElseShort(const std::wstring& path, Pick pick) {
    if (std::wstring text = pick(LongPathName(path)); ToAnsiExact(text))
        return text;
    const std::wstring shortPath = ShortPathName(path);
    if (std::wstring text = pick(shortPath); !shortPath.empty() && ToAnsiExact(text))
        return text;
    return std::nullopt;
}

}  // namespace

std::optional<std::wstring> AnsiCarriedPath(const std::wstring& path) {
    return LongElseShort(path, [](const std::wstring& p) { return p; });
}

std::optional<std::wstring> AnsiCarriedName(const std::wstring& path) {
    return LongElseShort(path, [](const std::wstring& p) { return FileNameOf(p); });
}

AnsiCarriedPaths CarryInAnsi(const std::vector<std::wstring>& paths, const std::wstring& programName) {
    AnsiCarriedPaths carried;
    std::wstring lost;
    for (const std::wstring& path : paths) {
        if (std::optional<std::wstring> ansi = AnsiCarriedPath(path))
            carried.paths.push_back(std::move(*ansi));
        else
            lost += L"\n" + path;
    }
    if (!lost.empty())
        carried.failure = programName +
                          L" reads file names in the system's code page, which cannot hold the names of these files, "
                          L"and the system gives them no short (8.3) name either:" +
                          lost + L"\n\nNothing was sent. Rename the files, or choose another mail program.";
    return carried;
}

}  // namespace ferryl

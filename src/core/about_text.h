#pragma once
// The About box's text, apart from where the version comes from.

#include <string>

namespace ferryl {

struct ProgramVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    unsigned revision = 0;
};

// "Ferryl Handler", "Version: major.minor.revision" and an empty line, CR LF after each.
std::wstring AboutText(const ProgramVersion& version);

}  // namespace ferryl

// The command-line split: a process's command line to its argument part, and a Send To command line
// to its candidate paths. Each input's bytes are the characters of a command line.

#include <cstddef>
#include <cstdint>

#include "fuzz/command_line_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ferryl;
    using namespace ferryl::fuzz;
    const std::wstring commandLine = ByteText(data, size);

    const std::wstring arguments = WithinBudget("ArgumentPart", [&] { return ArgumentPart(commandLine); });
    CheckArgumentPart(commandLine, arguments);

    const auto tokens = WithinBudget("SplitAtBlanks", [&] { return SplitAtBlanks(arguments); });
    CheckSplit(arguments, tokens);

    const auto paths = WithinBudget("CommandLinePaths", [&] { return CommandLinePaths(arguments); });
    CheckRejoin(arguments, paths);
    return 0;
}

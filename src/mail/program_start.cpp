#include "mail/program_start.h"

#include <windows.h>

#include "common/system_error_text.h"
#include "common/unique_handle.h"

namespace ferryl {

std::wstring StartProgram(const std::wstring& program, std::wstring commandLine) {
    const std::wstring cannot = L"The mail program \"" + program + L"\" could not be started.\n\n";
    if (commandLine.size() >= kLongestCommandLine)
        return cannot + L"Too many files are listed: their command line would be " +
               std::to_wstring(commandLine.size()) + L" characters long, and Windows takes at most " +
               std::to_wstring(kLongestCommandLine - 1) + L". Send the files in smaller groups.";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // The program is named apart from the command line, so that nothing on it (an empty or odd
    // program path) can make the system run one of the listed files instead.
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return cannot + SystemErrorText(::GetLastError());
    UniqueHandle thread(process.hThread);
    UniqueHandle handle(process.hProcess);
    return {};
}

}  // namespace ferryl

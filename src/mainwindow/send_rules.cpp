#include "mainwindow/send_rules.h"

namespace ferryl {

namespace {

// The blank trimming the file list text gets after every append.
std::wstring TrimBlanks(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    const size_t last = text.find_last_not_of(L' ');
    return std::wstring(text.substr(first, last - first + 1));
}

}  // namespace

std::wstring CopyTargetPath(std::wstring_view folder, std::wstring_view fileName, long counter) {
    std::wstring path(folder);
    path += fileName;
    if (counter != 0)
        path += L"." + std::to_wstring(counter);
    return path;
}

std::wstring CommandLinePath(std::wstring_view path) {
    if (path.find(L' ') == std::wstring_view::npos)
        return std::wstring(path);
    return L"\"" + std::wstring(path) + L"\"";
}

std::wstring MailArguments(std::wstring_view clParameters, const std::vector<std::wstring>& paths) {
    std::wstring files;
    for (const std::wstring& path : paths)
        files = TrimBlanks(files + L" " + (path.empty() ? std::wstring() : CommandLinePath(path)));
    if (clParameters.empty())
        return files;
    return std::wstring(clParameters) + L" " + files;
}

std::wstring MailCommandLine(std::wstring_view programPath, std::wstring_view arguments) {
    return CommandLinePath(programPath) + L" " + std::wstring(arguments);
}

}  // namespace ferryl

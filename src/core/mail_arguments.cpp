#include "core/mail_arguments.h"

#include "core/file_url.h"

namespace ferryl {

namespace {

std::wstring AfterParameters(std::wstring_view clParameters, std::wstring own) {
    if (clParameters.empty())
        return own;
    return std::wstring(clParameters) + L" " + own;
}

}  // namespace

std::wstring CommandLinePath(std::wstring_view path) {
    if (path.find(L' ') == std::wstring_view::npos)
        return std::wstring(path);
    return L"\"" + std::wstring(path) + L"\"";
}

std::wstring MailArguments(std::wstring_view clParameters, const std::vector<std::wstring>& shortPaths) {
    // Appended in place: trimming the whole text after each path, as the list's text once was,
    // copied it once per file (seconds for ten thousand files). A path on the command line neither
    // begins nor ends with a blank, so single blanks between the non-empty ones are the same text.
    std::wstring files;
    for (const std::wstring& path : shortPaths) {
        if (path.empty())
            continue;
        if (!files.empty())
            files += L' ';
        files += CommandLinePath(path);
    }
    return AfterParameters(clParameters, files);
}

std::wstring MailCommandLine(std::wstring_view programPath, std::wstring_view arguments) {
    return CommandLinePath(programPath) + L" " + std::wstring(arguments);
}

std::wstring ThunderbirdArguments(std::wstring_view clParameters, const std::vector<std::wstring>& longPaths) {
    // Commas part the attachments and apostrophes close the list; the URLs carry both encoded.
    std::wstring urls;
    for (const std::wstring& path : longPaths) {
        if (!urls.empty())
            urls += L',';
        urls += FileUrl(path);
    }
    return AfterParameters(clParameters, L"-compose \"attachment='" + urls + L"'\"");
}

std::wstring ClawsArguments(std::wstring_view clParameters, const std::vector<std::wstring>& longPaths) {
    // Claws takes an argument that is no file URL of an existing file, and does not begin with
    // "\", as relative to the folder it was started in: C:\a.txt would become <folder>\C:\a.txt.
    // A network path begins with "\" and is taken whole; as a URL it would lose its server.
    std::wstring own = L"--attach";
    for (const std::wstring& path : longPaths)
        own += L" " + (IsNetworkPath(path) ? CommandLinePath(path) : FileUrl(path));
    return AfterParameters(clParameters, own);
}

std::wstring SylpheedArguments(std::wstring_view clParameters, const std::vector<std::wstring>& ansiPaths) {
    std::wstring own = L"--attach";
    for (const std::wstring& path : ansiPaths)
        own += L" " + CommandLinePath(path);
    return AfterParameters(clParameters, own);
}

std::wstring OutlookArguments(std::wstring_view clParameters, std::wstring_view longPath) {
    return AfterParameters(clParameters, L"/c ipm.note /a \"" + std::wstring(longPath) + L"\"");
}

std::wstring NewOutlookArguments(std::wstring_view clParameters, std::wstring_view draftPath) {
    return AfterParameters(clParameters, CommandLinePath(draftPath));
}

bool GoesThroughMapi(MailProgramKind kind, size_t fileCount) {
    return kind == MailProgramKind::Outlook && fileCount > 1;
}

}  // namespace ferryl

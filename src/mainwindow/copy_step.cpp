#include "mainwindow/copy_step.h"

#include <windows.h>

#include "mainwindow/send_rules.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

// How many names past a taken one are tried when files keep appearing under the next names.
constexpr int kRaceRetries = 1000;

}  // namespace

CopyOutcome CopyToFolder(const std::wstring& source, const std::wstring& folder, long& counter, bool deleteSource) {
    if (!FolderExists(folder))
        return {CopyOutcome::Status::FolderMissing, {}};
    const std::wstring name = FileNameOf(source);
    // A folder of the same name takes the name as surely as a file does.
    auto taken = [](const std::wstring& path) {
        return FileExists(path) || ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    std::wstring target = CopyTargetPath(folder, name, 0);
    while (taken(target))
        target = CopyTargetPath(folder, name, ++counter);
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        // bFailIfExists: the existence test above misses network paths, and a file may appear
        // between the test and the copy; neither may be overwritten.
        if (::CopyFileW(source.c_str(), target.c_str(), TRUE)) {
            if (deleteSource)
                ::DeleteFileW(source.c_str());
            return {CopyOutcome::Status::Copied, target};
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
        target = CopyTargetPath(folder, name, ++counter);
    }
    return {CopyOutcome::Status::CopyFailed, {}};
}

}  // namespace ferryl

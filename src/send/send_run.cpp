#include "send/send_run.h"

namespace ferryl {

bool SendRun::AnyCopyIn(CopyRecord::State state) const {
    if (!copies)
        return false;
    for (const CopyRecord& record : copies->Records()) {
        if (record.state == state)
            return true;
    }
    return false;
}

std::vector<std::wstring> SendRun::PathsToSend() const {
    if (pictures && pictures->files.size() == plan.going.size())
        return pictures->files;
    return PathsAfterCopies(plan.going, listed, copies.get());
}

void SendRun::RemoveSmallerPictures() const {
    if (pictures && !pictures->folder.empty())
        RemovePictureFolder(pictures->folder);
}

std::vector<std::wstring> PathsAfterCopies(const std::vector<PlannedFile>& going,
                                           const std::vector<std::wstring>& listed,
                                           const CopyStep* copies) {
    std::vector<std::wstring> paths;
    size_t request = 0;
    for (const PlannedFile& file : going) {
        if (file.copy.empty() || !copies)
            paths.push_back(listed[file.listed]);
        else
            paths.push_back(copies->Records()[request++].copy);
    }
    return paths;
}

void SendRun::RemoveEmptyFreshFolder() const {
    if (freshFolder)
        ::RemoveDirectoryW(folder.c_str());
}

}  // namespace ferryl

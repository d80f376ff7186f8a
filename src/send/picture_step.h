#pragma once
// Send Now's step that makes pictures smaller: each picture among the files is decoded through WIC,
// turned upright as its metadata says, scaled into the chosen box with Fant and written in its own
// format (JPEG at quality 85) into a folder of Ferryl's own in the temporary folder, under its own
// file name. The originals are only read. Runs on any thread.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/picture_size.h"

namespace ferryl {

// Told how far the step is (in bytes of the original pictures) and which file it works on; false
// cancels. Called on the step's thread, before each picture and between parts of a large one.
using PictureProgress = std::function<bool(uint64_t done, uint64_t total, const std::wstring& current)>;

struct PictureStepOutcome {
    // For each file given, in order, the file to send: the smaller picture, or the file itself
    // (not a picture, within the box already, unreadable, or when the step did not finish).
    std::vector<std::wstring> files;
    // The pictures that could not be decoded, sent as they are.
    std::vector<std::wstring> unreadable;
    // The folder the smaller pictures are in; empty when none was written.
    std::wstring folder;
    bool cancelled = false;
    // Why the smaller pictures could not be written, in words. Nothing of them is left then.
    std::wstring failure;
};

// Makes the pictures among files smaller for the size chosen. tempFolder is the temporary folder
// (ending in "\"); afterwards, folders of smaller pictures that earlier sends left there more than a
// day ago are removed, never the one just written. On cancel or failure, what was written is removed.
PictureStepOutcome MakePicturesSmaller(const std::vector<std::wstring>& files,
                                       PictureSize size,
                                       const std::wstring& tempFolder,
                                       const PictureProgress& progress);

// The facts of each picture among files (by name), read from the files' headers through WIC: what
// the picture size dialog shows. A picture that cannot be opened comes back not readable.
std::vector<PictureFacts> ReadPictureFacts(const std::vector<std::wstring>& files);

// Removes a folder of smaller pictures with what is in it, unless it holds anything the step does
// not write.
void RemovePictureFolder(const std::wstring& folder) noexcept;

// Removes the folders of smaller pictures in tempFolder last written more than a day ago, except
// `keep` (a full path, may be empty). A folder holding anything the step does not write stays.
void RemoveOldPictureFolders(const std::wstring& tempFolder, const std::wstring& keep) noexcept;

}  // namespace ferryl

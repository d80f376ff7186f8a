#pragma once
// What Send Now does with the listed files, decided before any is copied or handed over: which
// files go, which cannot reach the mail program, the names their copies take, the pictures made
// smaller, the size of the message they make, and so what the user must be asked first. Plain
// rules over facts the window reads from the system.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/mail_kind.h"
#include "core/picture_size.h"

namespace ferryl {

// One listed file as the system sees it when Send Now starts.
struct ListedFile {
    std::wstring path;  // the full path in the list
    bool exists = false;
    uint64_t size = 0;
    // What a mail program that reads its paths in the ANSI code page can be given: the full path
    // when the code page holds it exactly, else the 8.3 path when the file has one the code page
    // holds. ansiName: the code page holds the file's name (a copy's path is the folder and it).
    bool ansiPath = false;
    bool ansiShortPath = false;
    bool ansiName = false;
    // With Copy To: one key for every spelling of the file, so that a file listed twice is copied
    // once (empty when unknown); and whether it lies in the folder already, where it goes as it is.
    std::wstring identity;
    bool inFolder = false;
};

// Copy To's folder.
struct CopyDestination {
    std::wstring folder;  // ending in "\"
    // A folder made for this send: none of its names is taken yet.
    bool fresh = false;
    // The code page holds the folder's path; its 8.3 form exists and the code page holds that.
    bool ansiFolder = false;
    bool ansiShortFolder = false;
    // True when the folder holds a file or folder of this name.
    std::function<bool(const std::wstring& name)> taken;
};

struct SendFacts {
    std::vector<ListedFile> files;
    bool readsAnsi = false;  // the mail program reads paths in the ANSI code page
    std::optional<CopyDestination> copyTo;
    uint64_t sizeLimit = 0;  // bytes of the message; 0 for none
};

struct PlannedFile {
    size_t listed = 0;  // the file's index in SendFacts::files
    // Its copy's full path, or empty when the file goes as it is. A copy is renamed when its name
    // is not the file's.
    std::wstring copy;
    // With Copy To, an earlier planned file (its index in SendPlan::going) that is this very file:
    // it is copied once, and this one goes as that copy.
    std::optional<size_t> sameAs;
    // What it adds to the message before encoding: its size, or the estimate of its smaller picture.
    uint64_t bytes = 0;
    // A picture that cannot be read as one: the picture size question names it, and it goes as it is.
    bool unreadablePicture = false;
};

struct SendPlan {
    std::vector<PlannedFile> going;  // in list order
    // Indices in SendFacts::files of the files that cannot go: gone since they were listed, or
    // there but with no path an ANSI-only mail program can open.
    std::vector<size_t> missing;
    std::vector<size_t> unreadable;
    PictureSize pictureSize = PictureSize::Original;  // the pictures among the going files are made so
    uint64_t estimatedBytes = 0;                      // of the message the going files make
    bool overLimit = false;
    std::vector<size_t> largest;  // up to three going files (indices in going), largest first
};

SendPlan PlanSend(const SendFacts& facts);

// The pictures among the going files made smaller: a going file whose path is that of one of the
// pictures counts with the estimate of its smaller picture, and the message's estimate, the limit
// and the largest files follow.
void PlanPictureSize(const SendFacts& facts,
                     const std::vector<PictureFacts>& pictures,
                     PictureSize size,
                     SendPlan& plan);

// A message's size for files of these bytes in all: base64 makes 4 bytes of every 3, and each
// file adds its part's headers.
uint64_t EstimatedMessageBytes(uint64_t fileBytes, size_t fileCount);

// Whether a kind of mail program reads the paths on its command line in the ANSI code page.
bool KindReadsAnsi(MailProgramKind kind);

}  // namespace ferryl

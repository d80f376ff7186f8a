#pragma once
// Copy To's work for one send, run by the send job: each planned copy made with CopyFileExW,
// reporting its bytes as they go and stopping at a cancel. A copy that did not end whole (a cancel,
// a full disk, a read that failed) is removed, a finished one is checked by its size, and only
// then, with "&Delete source files", is its source deleted. Nothing existing is ever replaced.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "send/send_job.h"

namespace ferryl {

struct CopyRequest {
    std::wstring source;
    std::wstring target;  // the planned copy; when it turns out taken, the next free numbered name
    std::wstring name;    // the file's own name, which numbered names are made of
    // An earlier request for this very file: this one is not copied again, it goes as that copy.
    std::optional<size_t> sameAs;
};

struct CopyRecord {
    enum class State {
        NotCopied,   // not reached, or the copy failed or was cancelled: the source is as it was
        Copied,      // the copy is made, the source stays
        Moved,       // the copy is made and the source deleted: the file lives at `copy` only
        SourceKept,  // the copy is made, but the source could not be deleted (`reason` says why)
    };
    State state = State::NotCopied;
    std::wstring copy;
    std::wstring reason;
};

struct CopyFailure {
    std::wstring source;
    std::wstring target;
    std::wstring reason;  // the system's words
};

class CopyStep {
  public:
    CopyStep(std::vector<CopyRequest> requests, bool deleteSource);

    // Runs the copies in order (on the job's thread); stops at the first failure or cancel.
    StepStatus Run(const StepProgress& progress);

    // Once the job has ended: one record per request, and the failure that stopped the copies.
    const std::vector<CopyRecord>& Records() const noexcept { return m_records; }
    const std::optional<CopyFailure>& Failure() const noexcept { return m_failure; }
    const std::vector<CopyRequest>& Requests() const noexcept { return m_requests; }

  private:
    StepStatus CopyOne(size_t index, uint64_t before, uint64_t total, const StepProgress& progress);

    std::vector<CopyRequest> m_requests;
    bool m_deleteSource;
    std::vector<CopyRecord> m_records;
    std::optional<CopyFailure> m_failure;
};

// One key for every path of the same file or folder, taken while it is where the path says: the
// file system's id of it on its volume, so that two rows naming one file under different spellings
// are told to be the same, and two files whose names differ only in case (a case-sensitive folder)
// are not. Where the object cannot be opened, or its file system gives no id, its full long path
// in upper case stands in.
std::wstring FileIdentityKey(const std::wstring& path);

// What a file system says of an object, as FileIdentityKey reads it.
struct FileIds {
    bool has128 = false;  // FileIdInfo (Windows 8 on): a 128-bit id and a 64-bit volume serial
    ULONGLONG volume128 = 0;
    unsigned char id128[16]{};
    bool has64 = false;  // GetFileInformationByHandle: a 64-bit index, a 32-bit volume serial
    DWORD volume64 = 0;
    ULONGLONG index64 = 0;
};

// The key from what was read. An id of 0 means none: some file systems give 0 for every object.
// The 128-bit id goes first, as ReFS's 64-bit index is cut from it and two files may share it.
std::wstring IdentityKey(const FileIds& ids, std::wstring_view fullLongPath);

}  // namespace ferryl

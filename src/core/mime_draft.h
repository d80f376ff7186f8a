#pragma once
// The draft message the new Outlook (olk.exe) opens for composing: a MIME message (RFC 5322,
// RFC 2045) marked "X-Unsent: 1", multipart/mixed, one base64 part per file. The pieces are written
// one after the other, so that a large file streams through Base64Lines instead of memory.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ferryl {

// Base64 in lines of 76 characters, each ended by CR LF, fed in pieces of any size.
class Base64Lines {
  public:
    static constexpr size_t kLineLength = 76;

    void Append(std::string_view bytes, std::string& out);
    // Writes what is left, padded, and ends the last line.
    void Finish(std::string& out);

  private:
    void Emit(char c, std::string& out);

    unsigned char m_pending[3]{};
    size_t m_pendingCount = 0;
    size_t m_lineLength = 0;
};

// A header parameter such as filename, ready to follow "Content-Disposition: attachment":
// ";" CR LF, a blank and attribute="value" for printable ASCII (quoted, with " and \ escaped);
// otherwise the RFC 2231 form attribute*=UTF-8''%E2%82%AC.txt, split into numbered sections
// (attribute*0*=, attribute*1*=, ...) so that no line grows long.
std::string MimeParameter(std::string_view attribute, std::wstring_view value);

// A boundary that does not occur in text (the message's own header lines). The parts' bodies are
// base64, whose alphabet lacks "_", so a boundary holding one cannot occur in them. The seed picks
// the first candidate; a taken candidate moves on to the next.
std::string ChooseBoundary(std::string_view text, uint64_t seed);

// The date as RFC 5322 writes it, in UTC: "Tue, 04 Mar 2025 10:20:30 +0000".
struct UtcTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int dayOfWeek = 4;  // 0 Sunday
};
std::string Rfc5322Date(const UtcTime& time);

// The draft message, written piece by piece into out: the caller feeds each file's bytes in pieces
// of any size and may take the text out of out between calls (to disk), so that a large file
// streams through instead of sitting in memory.
class MimeDraftWriter {
  public:
    // Writes the message's header and its empty text part. The file names decide the boundary;
    // an empty date leaves the Date header out.
    MimeDraftWriter(const std::vector<std::wstring>& fileNames, std::string_view date, uint64_t seed, std::string& out);

    // Starts the part of the next file, in the order of the names.
    void StartFile(std::string& out);
    void Append(std::string_view bytes, std::string& out);
    // Ends the last part and the message.
    void Finish(std::string& out);

  private:
    void EndFile(std::string& out);

    std::vector<std::wstring> m_names;
    std::string m_boundary;
    size_t m_started = 0;
    Base64Lines m_body;
};

// Ferryl's own drafts in the temporary folder: "FerrylDraft-", the unique number in 16 hex digits,
// ".eml". IsDraftFileName takes that form only (in any case, as the file system does).
std::wstring DraftFileName(uint64_t unique);
bool IsDraftFileName(std::wstring_view name);
// The directory search pattern that finds them.
std::wstring DraftFilePattern();

}  // namespace ferryl

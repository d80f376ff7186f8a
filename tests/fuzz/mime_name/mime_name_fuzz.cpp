// The draft message's file-name parameters: whatever the name, the header lines stay within the
// limits of RFC 5322 (printable ASCII, no CR or LF but the folding, lines within 998 characters;
// sections of the RFC 2231 form within 78), and an independent MIME reader gets the name back
// from both parameters. An input's first byte tells how the rest is the name: odd, UTF-16LE (any
// character, lone surrogates too); even, a character per byte, so that long runs of ASCII (the
// quoted form's quotes and backslashes) are easy to come by.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/mime_draft.h"
#include "core/utf8.h"
#include "fuzz/fuzz_support.h"
#include "support/mime_reader.h"

namespace {

using namespace ferryl;
using namespace ferryl::fuzz;

// A header as written: lines parted by CR LF and a blank (folding), each of printable ASCII.
void CheckHeaderLines(std::string_view header) {
    size_t start = 0;
    for (;;) {
        const size_t end = header.find("\r\n", start);
        const std::string_view line = header.substr(start, end == std::string_view::npos ? end : end - start);
        FUZZ_REQUIRE(line.size() <= 998);
        // A section of the RFC 2231 form: a folded line without quotes.
        if (line.starts_with(' ') && line.find('"') == std::string_view::npos)
            FUZZ_REQUIRE(line.size() <= 78);
        for (const char c : line)
            FUZZ_REQUIRE(c >= 0x20 && c <= 0x7E);
        if (end == std::string_view::npos)
            break;
        start = end + 2;
        FUZZ_REQUIRE(start < header.size() && header[start] == ' ');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::wstring name = data[0] % 2 ? Utf16Text(data + 1, size - 1) : ByteText(data + 1, size - 1);
    const DraftAttachmentHead head = WithinBudget("AttachmentHeadFor", [&] { return AttachmentHeadFor(name); });
    CheckHeaderLines(head.contentType);
    CheckHeaderLines(head.contentDisposition);

    // A whole message with a file of that name reads back as written. A name with a lone surrogate,
    // which UTF-8 cannot carry, comes back with U+FFFD in its place.
    const std::string bytes = "file";
    const std::string draft = WithinBudget("MimeDraft", [&] {
        return MimeDraft({DraftFile{name, bytes}}, "Tue, 04 Mar 2025 10:20:30 +0000", size);
    });
    const std::optional<test::MimeMessage> message = test::ReadMime(draft);
    FUZZ_REQUIRE(message.has_value());
    FUZZ_REQUIRE(message->parts.size() == 2);
    const test::MimePart& part = message->parts[1];
    const std::string utf8 = Utf8FromWide(name);
    const auto type = part.headers.find("content-type");
    const auto disposition = part.headers.find("content-disposition");
    FUZZ_REQUIRE(type != part.headers.end() && disposition != part.headers.end());
    FUZZ_REQUIRE(type->second.value == "application/octet-stream");
    FUZZ_REQUIRE(disposition->second.value == "attachment");
    FUZZ_REQUIRE(type->second.parameters.count("name") && type->second.parameters.at("name") == utf8);
    FUZZ_REQUIRE(disposition->second.parameters.count("filename") &&
                 disposition->second.parameters.at("filename") == utf8);
    FUZZ_REQUIRE(part.Decoded() == bytes);
    return 0;
}

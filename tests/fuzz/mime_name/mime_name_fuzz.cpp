// The draft message Send Now writes for the new Outlook, with a file of any name: every line within
// RFC 5322's limits (printable ASCII, lines within 998 characters, RFC 2231 sections within 78), and
// an independent MIME reader gets the name back from both parameters and the file's bytes from its
// part. The first byte odd, the rest is the name as UTF-16LE (lone surrogates too), even, a character
// a byte (long runs of quotes and backslashes come easily). The file holds the input's bytes, fed to
// the writer in pieces of the size the first byte's other bits give, as Send Now feeds what it reads.

#include <algorithm>
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

// The message's lines: parted by CR LF, each of printable ASCII.
void CheckLines(std::string_view message) {
    for (size_t start = 0; start < message.size();) {
        const size_t end = std::min(message.find("\r\n", start), message.size());
        const std::string_view line = message.substr(start, end - start);
        FUZZ_REQUIRE(line.size() <= 998);
        // A section of the RFC 2231 form: a folded line without quotes.
        if (line.starts_with(' ') && line.find('"') == std::string_view::npos)
            FUZZ_REQUIRE(line.size() <= 78);
        for (const char c : line)
            FUZZ_REQUIRE(c >= 0x20 && c <= 0x7E);
        start = end + 2;
    }
    FUZZ_REQUIRE(message.ends_with("\r\n"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::wstring name = data[0] % 2 ? Utf16Text(data + 1, size - 1) : ByteText(data + 1, size - 1);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t piece = data[0] / 2 + 1;
    const std::string draft = WithinBudget("MimeDraftWriter", [&] {
        std::string out;
        MimeDraftWriter writer({name}, "Tue, 04 Mar 2025 10:20:30 +0000", size, out);
        writer.StartFile(out);
        for (size_t at = 0; at < bytes.size(); at += piece)
            writer.Append(std::string_view(bytes).substr(at, piece), out);
        writer.Finish(out);
        return out;
    });
    CheckLines(draft);

    // A name with a lone surrogate, which UTF-8 cannot carry, comes back with U+FFFD in its place.
    const std::optional<test::MimeMessage> message = test::ReadMime(draft);
    FUZZ_REQUIRE(message.has_value());
    FUZZ_REQUIRE(message->parts.size() == 2);
    const test::MimePart& part = message->parts[1];
    const std::string utf8 = Utf8FromWide(name);
    const auto type = part.headers.find("content-type");
    const auto disposition = part.headers.find("content-disposition");
    FUZZ_REQUIRE(type != part.headers.end() && type->second.value == "application/octet-stream");
    FUZZ_REQUIRE(disposition != part.headers.end() && disposition->second.value == "attachment");
    FUZZ_REQUIRE(type->second.parameters.count("name") && type->second.parameters.at("name") == utf8);
    FUZZ_REQUIRE(disposition->second.parameters.count("filename") &&
                 disposition->second.parameters.at("filename") == utf8);
    FUZZ_REQUIRE(part.Decoded() == bytes);
    return 0;
}

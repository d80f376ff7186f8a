#pragma once
// A small reader of MIME messages for the tests, written apart from the program's writer: it
// unfolds headers, joins RFC 2231 parameter sections and decodes their UTF-8, and decodes base64
// bodies, so that a draft can be checked by reading it back.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferryl::test {

struct MimeHeader {
    std::string value;                              // the value before the first ";"
    std::map<std::string, std::string> parameters;  // lower-case names; values decoded (UTF-8)
};

struct MimePart {
    std::map<std::string, MimeHeader> headers;  // lower-case names
    std::string body;                           // as written
    std::string Decoded() const;                // base64 bodies decoded
};

struct MimeMessage {
    std::map<std::string, MimeHeader> headers;
    std::vector<MimePart> parts;  // of a multipart body
    std::string boundary;
};

// Reads a message; nothing when it is not well formed (no header end, no closing delimiter, a
// part without headers, base64 that does not decode).
std::optional<MimeMessage> ReadMime(std::string_view text);

// The parameters of a header value after its first ";", RFC 2231 sections joined and decoded.
std::optional<MimeHeader> ParseHeaderValue(std::string_view value);

}  // namespace ferryl::test

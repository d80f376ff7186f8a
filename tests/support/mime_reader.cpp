#include "support/mime_reader.h"

#include <cctype>

namespace ferryl::test {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// %XX sequences to bytes; nothing for a "%" without two hex digits.
std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
        } else if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// Splits "a; b=c; d="e;f"" at the semicolons outside quotes.
std::vector<std::string_view> SplitParameters(std::string_view value) {
    std::vector<std::string_view> pieces;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        if (quoted && value[i] == '\\') {
            ++i;
        } else if (value[i] == '"') {
            quoted = !quoted;
        } else if (value[i] == ';' && !quoted) {
            pieces.push_back(value.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.push_back(value.substr(start));
    return pieces;
}

std::string Unquote(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return std::string(text);
    std::string out;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

// Header lines unfolded, up to the empty line; the rest is the body.
std::optional<std::map<std::string, MimeHeader>> ReadHeaders(std::string_view text, std::string_view& body) {
    const size_t end = text.find("\r\n\r\n");
    if (end == std::string_view::npos)
        return std::nullopt;
    body = text.substr(end + 4);
    std::string unfolded;
    for (size_t i = 0; i < end; ++i) {
        if (text[i] == '\r' && i + 2 < end && text[i + 1] == '\n' && (text[i + 2] == ' ' || text[i + 2] == '\t')) {
            i += 1;  // the line break of a folded line goes; its blank stays
            continue;
        }
        unfolded += text[i];
    }
    std::map<std::string, MimeHeader> headers;
    size_t start = 0;
    while (start <= unfolded.size()) {
        size_t lineEnd = unfolded.find("\r\n", start);
        if (lineEnd == std::string::npos)
            lineEnd = unfolded.size();
        const std::string_view line = std::string_view(unfolded).substr(start, lineEnd - start);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        std::optional<MimeHeader> header = ParseHeaderValue(line.substr(colon + 1));
        if (!header)
            return std::nullopt;
        headers[Lower(Trim(line.substr(0, colon)))] = *header;
        start = lineEnd + 2;
    }
    return headers;
}

// Base64 text (line breaks allowed) to bytes; nothing for anything else.
std::optional<std::string> DecodeBase64(std::string_view text) {
    static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string symbols;
    for (const char c : text) {
        if (c != '\r' && c != '\n')
            symbols += c;
    }
    // At most two "=" and only at the end, of whole groups of four.
    const size_t data = symbols.find_last_not_of('=') + 1;
    if (symbols.size() % 4 != 0 || symbols.size() - data > 2)
        return std::nullopt;
    std::string out;
    unsigned bits = 0;
    int pending = 0;
    for (size_t i = 0; i < data; ++i) {
        const size_t digit = kAlphabet.find(symbols[i]);
        if (digit == std::string_view::npos)
            return std::nullopt;
        bits = ((bits << 6) | static_cast<unsigned>(digit)) & 0xFFFFFF;
        if ((pending += 6) >= 8)
            out += static_cast<char>((bits >> (pending -= 8)) & 0xFF);
    }
    return out;
}

}  // namespace

std::optional<MimeHeader> ParseHeaderValue(std::string_view value) {
    const std::vector<std::string_view> pieces = SplitParameters(value);
    MimeHeader header;
    header.value = std::string(Trim(pieces.front()));
    // RFC 2231 sections: name*0*, name*1, ... and the plain extended name*.
    std::map<std::string, std::map<int, std::pair<bool, std::string>>> sections;
    for (size_t i = 1; i < pieces.size(); ++i) {
        const std::string_view piece = Trim(pieces[i]);
        const size_t equals = piece.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        std::string name = Lower(Trim(piece.substr(0, equals)));
        const std::string_view raw = Trim(piece.substr(equals + 1));
        bool extended = false;
        if (!name.empty() && name.back() == '*') {
            extended = true;
            name.pop_back();
        }
        int number = 0;
        if (const size_t star = name.find('*'); star != std::string::npos) {
            number = std::stoi(name.substr(star + 1));
            name.resize(star);
        }
        sections[name][number] = {extended, extended ? std::string(raw) : Unquote(raw)};
    }
    for (auto& [name, numbered] : sections) {
        std::string joined;
        int expected = 0;
        for (auto& [number, section] : numbered) {
            if (number != expected++)
                return std::nullopt;
            std::string text = section.second;
            if (section.first) {
                if (number == 0) {
                    // charset'language'value
                    const size_t first = text.find('\'');
                    const size_t second = first == std::string::npos ? first : text.find('\'', first + 1);
                    if (second == std::string::npos || Lower(text.substr(0, first)) != "utf-8")
                        return std::nullopt;
                    text = text.substr(second + 1);
                }
                std::optional<std::string> decoded = PercentDecode(text);
                if (!decoded)
                    return std::nullopt;
                text = *decoded;
            }
            joined += text;
        }
        header.parameters[name] = joined;
    }
    return header;
}

std::string MimePart::Decoded() const {
    auto encoding = headers.find("content-transfer-encoding");
    if (encoding != headers.end() && Lower(encoding->second.value) == "base64")
        return DecodeBase64(body).value_or("(bad base64)");
    return body;
}

std::optional<MimeMessage> ReadMime(std::string_view text) {
    MimeMessage message;
    std::string_view body;
    std::optional<std::map<std::string, MimeHeader>> headers = ReadHeaders(text, body);
    if (!headers)
        return std::nullopt;
    message.headers = *headers;
    auto type = message.headers.find("content-type");
    if (type == message.headers.end() || Lower(type->second.value).rfind("multipart/", 0) != 0)
        return message;
    message.boundary = type->second.parameters["boundary"];
    if (message.boundary.empty())
        return std::nullopt;
    const std::string delimiter = "\r\n--" + message.boundary;
    size_t at = body.find(delimiter);
    if (at == std::string_view::npos)
        return std::nullopt;
    for (;;) {
        at += delimiter.size();
        if (body.substr(at, 2) == "--")
            return message;  // the closing delimiter
        if (body.substr(at, 2) != "\r\n")
            return std::nullopt;
        at += 2;
        const size_t next = body.find(delimiter, at);
        if (next == std::string_view::npos)
            return std::nullopt;
        // The part's blank line ends its headers; what follows up to the delimiter is its body.
        MimePart part;
        std::string_view ownBody;
        std::optional<std::map<std::string, MimeHeader>> partHeaders = ReadHeaders(body.substr(at, next - at), ownBody);
        if (!partHeaders)
            return std::nullopt;
        part.headers = *partHeaders;
        part.body = std::string(ownBody);
        message.parts.push_back(std::move(part));
        at = next;
    }
}

}  // namespace ferryl::test

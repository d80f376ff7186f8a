#include "core/mime_draft.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/ascii_case.h"
#include "core/utf8.h"

namespace ferryl {

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHex[] = "0123456789ABCDEF";

// A quoted value this long still keeps its line well under RFC 5322's 998 characters.
constexpr size_t kLongestQuotedValue = 900;
// Encoded characters per RFC 2231 section: with the attribute and the charset before it, each
// section's line stays within RFC 5322's 78 characters.
constexpr size_t kSectionLength = 50;

constexpr std::string_view kDraftPrefix = "FerrylDraft-";
constexpr std::string_view kDraftSuffix = ".eml";

bool IsPrintableAscii(std::wstring_view value) {
    for (const wchar_t c : value) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

// RFC 2231's attribute-char: what an extended value may carry without percent-encoding.
bool IsAttributeChar(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

// The length of the value in quotes, each " and \ escaped by a backslash.
size_t QuotedLength(std::wstring_view value) {
    size_t length = value.size();
    for (const wchar_t c : value) {
        if (c == L'"' || c == L'\\')
            ++length;
    }
    return length;
}

std::string QuotedParameter(std::string_view attribute, std::wstring_view value) {
    std::string text = ";\r\n " + std::string(attribute) + "=\"";
    for (const wchar_t c : value) {
        if (c == L'"' || c == L'\\')
            text += '\\';
        text += static_cast<char>(c);
    }
    return text + "\"";
}

// The value's characters one by one, each as its percent-encoded UTF-8, so that a section never
// ends inside a character.
std::vector<std::string> EncodedCharacters(std::wstring_view value) {
    std::vector<std::string> characters;
    for (size_t i = 0; i < value.size();) {
        size_t length = 1;
        if (sizeof(wchar_t) == 2 && value[i] >= 0xD800 && value[i] <= 0xDBFF && i + 1 < value.size() &&
            value[i + 1] >= 0xDC00 && value[i + 1] <= 0xDFFF)
            length = 2;
        std::string encoded;
        for (const char byte : Utf8FromWide(value.substr(i, length))) {
            const auto c = static_cast<unsigned char>(byte);
            if (IsAttributeChar(c)) {
                encoded += byte;
            } else {
                encoded += '%';
                encoded += kHex[c >> 4];
                encoded += kHex[c & 0x0F];
            }
        }
        characters.push_back(std::move(encoded));
        i += length;
    }
    return characters;
}

std::string ExtendedParameter(std::string_view attribute, std::wstring_view value) {
    std::vector<std::string> sections(1);
    for (std::string& character : EncodedCharacters(value)) {
        if (!sections.back().empty() && sections.back().size() + character.size() > kSectionLength)
            sections.emplace_back();
        sections.back() += character;
    }
    if (sections.size() == 1)
        return ";\r\n " + std::string(attribute) + "*=UTF-8''" + sections.front();
    std::string text;
    for (size_t i = 0; i < sections.size(); ++i) {
        text += ";\r\n " + std::string(attribute) + "*" + std::to_string(i) + "*=";
        if (i == 0)
            text += "UTF-8''";
        text += sections[i];
    }
    return text;
}

// SplitMix64: spreads consecutive seeds over the whole range.
uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::string Hex16(uint64_t value) {
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<size_t>(i)] = kHex[value & 0x0F];
    return text;
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (AsciiLower(c) >= L'a' && AsciiLower(c) <= L'f');
}

// A file's part head: its type and disposition, each naming the file.
std::string AttachmentHead(std::wstring_view fileName) {
    return "Content-Type: application/octet-stream" + MimeParameter("name", fileName) +
           "\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment" +
           MimeParameter("filename", fileName);
}

}  // namespace

void Base64Lines::Emit(char c, std::string& out) {
    // Lines are parted by CR LF; the last one is left open for the delimiter that follows, which
    // brings its own CR LF.
    if (m_lineLength == kLineLength) {
        out += "\r\n";
        m_lineLength = 0;
    }
    out += c;
    ++m_lineLength;
}

void Base64Lines::Append(std::string_view bytes, std::string& out) {
    for (const char byte : bytes) {
        m_pending[m_pendingCount++] = static_cast<unsigned char>(byte);
        if (m_pendingCount < 3)
            continue;
        Emit(kBase64[m_pending[0] >> 2], out);
        Emit(kBase64[((m_pending[0] & 0x03) << 4) | (m_pending[1] >> 4)], out);
        Emit(kBase64[((m_pending[1] & 0x0F) << 2) | (m_pending[2] >> 6)], out);
        Emit(kBase64[m_pending[2] & 0x3F], out);
        m_pendingCount = 0;
    }
}

void Base64Lines::Finish(std::string& out) {
    if (m_pendingCount == 1) {
        Emit(kBase64[m_pending[0] >> 2], out);
        Emit(kBase64[(m_pending[0] & 0x03) << 4], out);
        Emit('=', out);
        Emit('=', out);
    } else if (m_pendingCount == 2) {
        Emit(kBase64[m_pending[0] >> 2], out);
        Emit(kBase64[((m_pending[0] & 0x03) << 4) | (m_pending[1] >> 4)], out);
        Emit(kBase64[(m_pending[1] & 0x0F) << 2], out);
        Emit('=', out);
    }
    m_pendingCount = 0;
    m_lineLength = 0;
}

std::string MimeParameter(std::string_view attribute, std::wstring_view value) {
    if (IsPrintableAscii(value) && QuotedLength(value) <= kLongestQuotedValue)
        return QuotedParameter(attribute, value);
    return ExtendedParameter(attribute, value);
}

std::string ChooseBoundary(std::string_view text, uint64_t seed) {
    for (uint64_t attempt = 0;; ++attempt) {
        std::string candidate = "=_Ferryl_" + Hex16(Mix(seed + attempt));
        if (text.find(candidate) == std::string_view::npos)
            return candidate;
    }
}

std::string Rfc5322Date(const UtcTime& time) {
    static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int day = time.dayOfWeek >= 0 && time.dayOfWeek < 7 ? time.dayOfWeek : 0;
    const int month = time.month >= 1 && time.month <= 12 ? time.month : 1;
    char text[64]{};
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", kDays[static_cast<size_t>(day)], time.day,
                  kMonths[static_cast<size_t>(month - 1)], time.year, time.hour, time.minute, time.second);
    return text;
}

MimeDraftWriter::MimeDraftWriter(const std::vector<std::wstring>& fileNames,
                                 std::string_view date,
                                 uint64_t seed,
                                 std::string& out)
    : m_names(fileNames) {
    std::string headers;
    for (const std::wstring& name : m_names)
        headers += AttachmentHead(name);
    m_boundary = ChooseBoundary(headers, seed);
    out += "X-Unsent: 1\r\n";
    if (!date.empty())
        out += "Date: " + std::string(date) + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed;\r\n boundary=\"" + m_boundary + "\"\r\n";
    out += "\r\nThis is a multi-part message in MIME format.\r\n";
    // An empty text part first, so that the files come as attachments below an empty message.
    out += "\r\n--" + m_boundary + "\r\n";
    out += "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";
}

void MimeDraftWriter::StartFile(std::string& out) {
    EndFile(out);
    out += "\r\n--" + m_boundary + "\r\n" + AttachmentHead(m_names.at(m_started++)) + "\r\n\r\n";
}

void MimeDraftWriter::Append(std::string_view bytes, std::string& out) {
    m_body.Append(bytes, out);
}

void MimeDraftWriter::EndFile(std::string& out) {
    if (m_started > 0)
        m_body.Finish(out);
}

void MimeDraftWriter::Finish(std::string& out) {
    EndFile(out);
    out += "\r\n--" + m_boundary + "--\r\n";
}

std::wstring DraftFileName(uint64_t unique) {
    const std::string name = std::string(kDraftPrefix) + Hex16(unique) + std::string(kDraftSuffix);
    return std::wstring(name.begin(), name.end());
}

std::wstring DraftFilePattern() {
    const std::string pattern = std::string(kDraftPrefix) + "*" + std::string(kDraftSuffix);
    return std::wstring(pattern.begin(), pattern.end());
}

bool IsDraftFileName(std::wstring_view name) {
    // Exactly what DraftFileName writes, so that the clean-up at start-up never takes a user's own
    // "FerrylDraft-notes.eml".
    constexpr size_t kDigits = 16;
    if (name.size() != kDraftPrefix.size() + kDigits + kDraftSuffix.size())
        return false;
    const std::wstring_view digits = name.substr(kDraftPrefix.size(), kDigits);
    return EqualsNoCase(name.substr(0, kDraftPrefix.size()), kDraftPrefix) &&
           std::all_of(digits.begin(), digits.end(), IsHexDigit) &&
           EqualsNoCase(name.substr(kDraftPrefix.size() + kDigits), kDraftSuffix);
}

}  // namespace ferryl

// The draft message for the new Outlook: base64 lines, RFC 2231 names, boundaries, and the whole
// draft read back by a reader of its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/mime_draft.h"
#include "core/utf8.h"
#include "support/mime_reader.h"

namespace ferryl {
namespace {

using test::DecodeBase64;
using test::ParseHeaderValue;
using test::ReadMime;

std::string Bytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    return bytes;
}

std::string Encode(std::string_view bytes, size_t piece) {
    std::string out;
    Base64Lines lines;
    for (size_t at = 0; at < bytes.size(); at += piece)
        lines.Append(bytes.substr(at, piece), out);
    lines.Finish(out);
    return out;
}

TEST(Base64Lines, LinesOf76RoundTripWhateverThePiecesFed) {
    for (size_t count : {0u, 1u, 2u, 3u, 56u, 57u, 58u, 114u, 1000u}) {
        const std::string bytes = Bytes(count);
        for (size_t piece : {1u, 2u, 5u, 57u, 4096u}) {
            const std::string text = Encode(bytes, piece);
            EXPECT_EQ(DecodeBase64(text), bytes) << count << " bytes in pieces of " << piece;
            // Every line but the last is exactly 76 characters; the last is not ended.
            size_t start = 0;
            for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
                EXPECT_EQ(end - start, Base64Lines::kLineLength) << count;
            EXPECT_LE(text.size() - start, Base64Lines::kLineLength);
            for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; ++at)
                EXPECT_EQ(text[at - 1], '\r');
        }
    }
    EXPECT_EQ(Encode("Man", 1), "TWFu");
    EXPECT_EQ(Encode("Ma", 1), "TWE=");
    EXPECT_EQ(Encode("M", 1), "TQ==");
}

// The parameter text after "Content-Disposition: attachment", read back.
std::string ReadBack(const std::string& parameter) {
    const std::string header = "attachment" + parameter;
    std::string unfolded;
    for (size_t i = 0; i < header.size(); ++i) {
        if (header.compare(i, 3, "\r\n ") == 0) {
            i += 1;
            continue;
        }
        unfolded += header[i];
    }
    auto parsed = ParseHeaderValue(unfolded);
    return parsed ? parsed->parameters["filename"] : "(unreadable)";
}

TEST(MimeParameter, PrintableAsciiIsQuotedWithQuotesAndBackslashesEscaped) {
    EXPECT_EQ(MimeParameter("filename", L"a b,1.txt"), ";\r\n filename=\"a b,1.txt\"");
    EXPECT_EQ(MimeParameter("filename", L"say \"hi\" \\ it's"), ";\r\n filename=\"say \\\"hi\\\" \\\\ it's\"");
    EXPECT_EQ(ReadBack(MimeParameter("filename", L"say \"hi\" \\ it's")), "say \"hi\" \\ it's");
}

TEST(MimeParameter, OtherNamesTakeTheRfc2231FormInUtf8) {
    EXPECT_EQ(MimeParameter("filename", L"\u20AC 1.txt"), ";\r\n filename*=UTF-8''%E2%82%AC%201.txt");
    // Letters and digits are attribute-chars, which stay as they are.
    EXPECT_EQ(MimeParameter("filename", L"AZaz09\u00E9"), ";\r\n filename*=UTF-8''AZaz09%C3%A9");
    // A control character is no printable ASCII either.
    EXPECT_EQ(MimeParameter("name", L"a\tb"), ";\r\n name*=UTF-8''a%09b");
    for (const std::wstring name : {L"caf\u00E9 \"x\";y=z.txt", L"\u65E5\u672C\u8A9E.doc", L"\U0001F600'%*.txt"})
        EXPECT_EQ(ReadBack(MimeParameter("filename", name)), Utf8FromWide(name));
}

TEST(MimeParameter, LongNamesAreSplitIntoSectionsWithShortLinesAndWholeCharacters) {
    std::wstring name;
    for (int i = 0; i < 80; ++i)
        name += (i % 3 == 0) ? L"\u00E9" : (i % 3 == 1 ? L"\U0001F600" : L"a");
    const std::string parameter = MimeParameter("filename", name);
    EXPECT_NE(parameter.find("filename*0*=UTF-8''"), std::string::npos);
    EXPECT_NE(parameter.find("filename*1*="), std::string::npos);
    size_t start = 0;
    for (size_t end; start < parameter.size(); start = end + 2) {
        end = parameter.find("\r\n", start);
        if (end == std::string::npos)
            end = parameter.size();
        EXPECT_LE(end - start, 78u) << parameter.substr(start, end - start);
        // No section ends inside a %XX triplet or inside a character's UTF-8 bytes.
        const std::string line = parameter.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            std::string value = line.substr(equals + 1);
            if (value.back() == ';')
                value.pop_back();
            if (value.rfind("UTF-8''", 0) == 0)
                value = value.substr(7);
            auto decoded = ReadBack(";\r\n filename*=UTF-8''" + value);
            EXPECT_NE(decoded, "(unreadable)") << line;
            EXPECT_TRUE(decoded.empty() || (static_cast<unsigned char>(decoded.front()) & 0xC0) != 0x80) << line;
        }
    }
    EXPECT_EQ(ReadBack(parameter), Utf8FromWide(name));
}

TEST(MimeParameter, EscapesCountTowardsTheQuotedFormsLimit) {
    // 900 backslashes would take 1800 characters in quotes, past the 998 a header line may hold.
    const std::wstring name(900, L'\\');
    const std::string parameter = MimeParameter("filename", name);
    EXPECT_EQ(parameter.find('"'), std::string::npos);
    for (size_t start = 0, end; start < parameter.size(); start = end + 2) {
        end = std::min(parameter.find("\r\n", start), parameter.size());
        EXPECT_LE(end - start, 78u);
    }
    EXPECT_EQ(ReadBack(parameter), Utf8FromWide(name));
    // 450 of them, 900 in quotes, are still quoted.
    EXPECT_TRUE(MimeParameter("filename", std::wstring(450, L'\\')).starts_with(";\r\n filename=\""));
}

TEST(ChooseBoundary, NeverOneThatOccursInTheHeaders) {
    const std::string first = ChooseBoundary("", 42);
    EXPECT_EQ(first, ChooseBoundary("", 42)) << "the seed decides";
    EXPECT_NE(first, ChooseBoundary("", 43));
    EXPECT_NE(first.find('_'), std::string::npos) << "a character base64 never writes";
    const std::string second = ChooseBoundary("x" + first + "y", 42);
    EXPECT_NE(second, first);
    const std::string third = ChooseBoundary(first + second, 42);
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
}

TEST(MimeDraftWriter, ReadsBackWithEveryFileAndItsName) {
    const std::vector<std::wstring> names{L"a b,1.txt", L"\u00DCbersicht \u20AC.bin", L"empty.txt"};
    const std::vector<std::string> files{"hello", Bytes(5000), ""};
    // Fed as Send Now reads the files, in pieces.
    std::string draft;
    MimeDraftWriter writer(names, "Tue, 04 Mar 2025 10:20:30 +0000", 7, draft);
    for (const std::string& bytes : files) {
        writer.StartFile(draft);
        for (size_t at = 0; at < bytes.size(); at += 1000)
            writer.Append(std::string_view(bytes).substr(at, 1000), draft);
    }
    writer.Finish(draft);
    const auto message = ReadMime(draft);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->headers.at("x-unsent").value, "1");
    EXPECT_EQ(message->headers.at("mime-version").value, "1.0");
    EXPECT_EQ(message->headers.at("date").value, "Tue, 04 Mar 2025 10:20:30 +0000");
    EXPECT_EQ(message->headers.at("content-type").value, "multipart/mixed");
    ASSERT_EQ(message->parts.size(), 4u);
    EXPECT_EQ(message->parts[0].headers.at("content-type").value, "text/plain");
    EXPECT_EQ(message->parts[0].body, "");
    for (size_t i = 0; i < files.size(); ++i) {
        const test::MimePart& part = message->parts[i + 1];
        EXPECT_EQ(part.headers.at("content-disposition").value, "attachment");
        EXPECT_EQ(part.headers.at("content-disposition").parameters.at("filename"), Utf8FromWide(names[i]));
        EXPECT_EQ(part.headers.at("content-type").parameters.at("name"), Utf8FromWide(names[i]));
        EXPECT_EQ(part.Decoded(), files[i]) << i;
        // Each part's base64 in whole lines of 76, whatever the part before left.
        const std::string& body = part.body;
        for (size_t start = 0, end; (end = body.find("\r\n", start)) != std::string::npos; start = end + 2) {
            if (end + 2 < body.size()) {
                EXPECT_EQ(end - start, Base64Lines::kLineLength) << i;
            }
        }
    }
    // The boundary occurs nowhere but in its delimiter lines (and the header that names it).
    size_t count = 0;
    for (size_t at = 0; (at = draft.find(message->boundary, at)) != std::string::npos; at += 1)
        ++count;
    EXPECT_EQ(count, 1u + 4u + 1u);
    // Every line ends in CR LF and none is longer than RFC 5322's 998 characters.
    size_t start = 0;
    for (size_t end; (end = draft.find('\n', start)) != std::string::npos; start = end + 1) {
        ASSERT_GT(end, start);
        EXPECT_EQ(draft[end - 1], '\r');
        EXPECT_LE(end - 1 - start, 998u);
    }
}

TEST(MimeDraft, DateAndDraftNames) {
    EXPECT_EQ(Rfc5322Date({2025, 3, 4, 9, 5, 7, 2}), "Tue, 04 Mar 2025 09:05:07 +0000");
    EXPECT_EQ(Rfc5322Date({2024, 12, 31, 23, 59, 60, 6}), "Sat, 31 Dec 2024 23:59:60 +0000");
    EXPECT_EQ(Rfc5322Date({2025, 1, 5, 0, 0, 0, 0}), "Sun, 05 Jan 2025 00:00:00 +0000");
    EXPECT_EQ(DraftFileName(0x1F), L"FerrylDraft-000000000000001F.eml");
    EXPECT_TRUE(IsDraftFileName(DraftFileName(12345)));
    EXPECT_TRUE(IsDraftFileName(DraftFileName(~0ull)));
    EXPECT_TRUE(IsDraftFileName(L"ferryldraft-00000000abcdef09.EML")) << "names are matched in any case";
    // Only the form Ferryl writes: the start-up clean-up must not take a user's own file.
    EXPECT_FALSE(IsDraftFileName(L"FerrylDraft-notes.eml"));
    EXPECT_FALSE(IsDraftFileName(L"FerrylDraft-X.eml"));
    EXPECT_FALSE(IsDraftFileName(L"FerrylDraft-000000000000001.eml")) << "15 digits";
    EXPECT_FALSE(IsDraftFileName(L"FerrylDraft-00000000000000001.eml")) << "17 digits";
    EXPECT_FALSE(IsDraftFileName(L"FerrylDraft-000000000000001G.eml"));
    EXPECT_FALSE(IsDraftFileName(L"FerrylDraft-.eml"));
    EXPECT_FALSE(IsDraftFileName(L"FerrylDraft-000000000000001F.eml.txt"));
    EXPECT_FALSE(IsDraftFileName(L"Draft-000000000000001F.eml"));
    EXPECT_EQ(DraftFilePattern(), L"FerrylDraft-*.eml");
}

}  // namespace
}  // namespace ferryl

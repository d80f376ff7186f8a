// The draft message for the new Outlook, read back by a reader of its own: base64 in whole lines,
// names in RFC 2231 sections of whole characters, boundaries, several files, dates and the drafts'
// names. (Any name and content in one file, fed in pieces of any size, is the mime_name fuzzer's.)

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/mime_draft.h"
#include "core/utf8.h"
#include "support/mime_reader.h"

namespace ferryl {
namespace {

std::string Bytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    return bytes;
}

// Every line but the last of the text is exactly `length` characters, and ends in CR LF.
void ExpectLinesOf(const std::string& text, size_t length) {
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_EQ(end - start, length);
    EXPECT_LE(text.size() - start, length);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
}

// The parameter text after "Content-Disposition: attachment", read back.
std::string ReadBack(const std::string& parameter) {
    std::string header = "attachment" + parameter;
    for (size_t fold; (fold = header.find("\r\n ")) != std::string::npos;)
        header.erase(fold, 2);
    auto parsed = test::ParseHeaderValue(header);
    return parsed ? parsed->parameters["filename"] : "(unreadable)";
}

TEST(MimeParameter, PrintableAsciiIsQuotedTheRestTakesRfc2231SectionsOfWholeCharacters) {
    EXPECT_EQ(MimeParameter("filename", L"say \"hi\" \\ it's"), ";\r\n filename=\"say \\\"hi\\\" \\\\ it's\"");
    // Letters and digits are attribute-chars, which stay as they are; a control character is no
    // printable ASCII either.
    EXPECT_EQ(MimeParameter("filename", L"AZaz09\u00E9 1.txt"), ";\r\n filename*=UTF-8''AZaz09%C3%A9%201.txt");
    EXPECT_EQ(MimeParameter("name", L"a\tb"), ";\r\n name*=UTF-8''a%09b");
    std::wstring name;
    for (int i = 0; i < 80; ++i)
        name += (i % 3 == 0) ? L"\u00E9" : (i % 3 == 1 ? L"\U0001F600" : L"a");
    const std::string parameter = MimeParameter("filename", name);
    EXPECT_NE(parameter.find("filename*1*="), std::string::npos);
    EXPECT_EQ(ReadBack(parameter), Utf8FromWide(name));
    // No section ends inside a %XX triplet or a character's UTF-8 bytes: each reads back alone.
    for (size_t start = 3, end; start < parameter.size(); start = end + 3) {
        end = std::min(parameter.find("\r\n", start), parameter.size());
        std::string value = parameter.substr(parameter.find('=', start) + 1, end - parameter.find('=', start) - 1);
        if (value.back() == ';')
            value.pop_back();
        const std::string decoded =
            ReadBack(";\r\n filename*=UTF-8''" + value.substr(value.starts_with("UTF") ? 7 : 0));
        EXPECT_NE(decoded, "(unreadable)");
        EXPECT_TRUE(decoded.empty() || (static_cast<unsigned char>(decoded.front()) & 0xC0) != 0x80) << value;
    }
}

TEST(MimeDraftWriter, ReadsBackWithEveryFileItsNameAndABoundaryFoundNowhereElse) {
    const std::vector<std::wstring> names{L"a b,1.txt", L"\u00DCbersicht \u20AC.bin", L"empty.txt"};
    const std::vector<std::string> files{"hello", Bytes(4999), ""};  // base64's groups end short by one, two, none
    std::string draft;                                               // fed as Send Now reads the files, in pieces
    MimeDraftWriter writer(names, "Tue, 04 Mar 2025 10:20:30 +0000", 7, draft);
    for (const std::string& bytes : files) {
        writer.StartFile(draft);
        for (size_t at = 0; at < bytes.size(); at += 1000)
            writer.Append(std::string_view(bytes).substr(at, 1000), draft);
    }
    writer.Finish(draft);
    const auto message = test::ReadMime(draft);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->headers.at("x-unsent").value, "1");
    EXPECT_EQ(message->headers.at("date").value, "Tue, 04 Mar 2025 10:20:30 +0000");
    ASSERT_EQ(message->parts.size(), 4u);
    EXPECT_EQ(message->parts[0].headers.at("content-type").value + message->parts[0].body, "text/plain");
    for (size_t i = 0; i < files.size(); ++i) {
        const test::MimePart& part = message->parts[i + 1];
        EXPECT_EQ(part.headers.at("content-disposition").parameters.at("filename"), Utf8FromWide(names[i]));
        EXPECT_EQ(part.Decoded(), files[i]) << i;
        ExpectLinesOf(part.body.substr(0, part.body.rfind("\r\n")), Base64Lines::kLineLength);
    }
    size_t count = 0;  // the delimiter lines and the header that names it
    for (size_t at = 0; (at = draft.find(message->boundary, at)) != std::string::npos; at += 1)
        ++count;
    EXPECT_EQ(count, 1u + 4u + 1u);
    // A boundary is never one the text holds, and the seed decides which.
    const std::string first = ChooseBoundary("", 42), second = ChooseBoundary("x" + first + "y", 42);
    EXPECT_EQ(first, ChooseBoundary("", 42));
    EXPECT_NE(first, ChooseBoundary("", 43));
    EXPECT_NE(first.find('_'), std::string::npos) << "a character base64 never writes";
    EXPECT_NE(second, first);
}

TEST(MimeDraft, DateAndDraftNames) {
    EXPECT_EQ(Rfc5322Date({2025, 3, 4, 9, 5, 7, 2}), "Tue, 04 Mar 2025 09:05:07 +0000");
    EXPECT_EQ(Rfc5322Date({2024, 12, 31, 23, 59, 60, 6}), "Sat, 31 Dec 2024 23:59:60 +0000");
    EXPECT_EQ(DraftFileName(0x1F), L"FerrylDraft-000000000000001F.eml");
    EXPECT_TRUE(IsDraftFileName(DraftFileName(~0ull)));
    EXPECT_TRUE(IsDraftFileName(L"ferryldraft-00000000abcdef09.EML")) << "names are matched in any case";
    // Only the form Ferryl writes: the start-up clean-up must not take a user's own file.
    for (const wchar_t* other :
         {L"FerrylDraft-notes.eml", L"FerrylDraft-000000000000001.eml", L"FerrylDraft-00000000000000001.eml",
          L"FerrylDraft-000000000000001G.eml", L"FerrylDraft-.eml", L"FerrylDraft-000000000000001F.eml.txt",
          L"Draft-000000000000001F.eml"})
        EXPECT_FALSE(IsDraftFileName(other)) << other;
    EXPECT_EQ(DraftFilePattern(), L"FerrylDraft-*.eml");
}

}  // namespace
}  // namespace ferryl

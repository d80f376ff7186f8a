// The rules of Send Now that need no system: mail program kinds, file URLs, the MailProgram setting,
// DLL machines, MAPI results, and the new Outlook's draft message read back by a reader of its own.
// (The arguments each kind gets are read back in e2e/mail_readers_test; any name and content in one
// draft, fed in pieces of any size, is the mime_name fuzzer's.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "core/file_url.h"
#include "core/mail_kind.h"
#include "core/mapi_outcome.h"
#include "core/mime_draft.h"
#include "core/pe_machine.h"
#include "core/utf8.h"
#include "support/mail_client_rules.h"
#include "support/mime_reader.h"

namespace ferryl {
namespace {

// A file URL is read back by the programs that take one, Gecko (Thunderbird) and GLib (Claws
// Mail), as the very path it was made from.
TEST(FileUrl, GeckoAndGlibReadEachPathBack) {
    const std::wstring longPath = L"C:\\" + std::wstring(150, L'l') + L"\\" + std::wstring(150, L'm') + L".txt";
    for (const std::wstring& path :
         {std::wstring(L"C:\\Docs\\a b,1.txt"), std::wstring(L"C:\\it's 100%.txt"),
          std::wstring(L"C:\\#?&=+;@[]<>{}|^`.txt"), std::wstring(L"C:\\-dash %41%zz.txt"),
          std::wstring(L"C:\\caf\u00E9 \u20AC\u65E5\U0001F600"), std::wstring(L"D:\\AZaz09-._~\\x"), longPath}) {
        const std::wstring url = FileUrl(path);
        EXPECT_EQ(test::GeckoFilePath(url), path) << Utf8FromWide(path);
        EXPECT_EQ(test::GlibFilenameFromUri(url), path) << Utf8FromWide(path);
    }
    EXPECT_EQ(FileUrl(L"D:\\AZaz09-._~").find(L'%'), std::wstring::npos) << "unreserved characters stay as they are";
    // Gecko drops a URL's host: a network path keeps its server in the path, after five slashes.
    EXPECT_EQ(test::GeckoFilePath(FileUrl(L"\\\\server\\share\\a b,1's.txt")), L"\\\\server\\share\\a b,1's.txt");
    EXPECT_EQ(test::GeckoFilePath(FileUrl(L"\\\\?\\UNC\\server\\share\\x")), L"\\\\server\\share\\x");
    EXPECT_EQ(test::GeckoFilePath(FileUrl(L"\\\\?\\C:\\x.txt")), L"C:\\x.txt");
}

TEST(Utf8, LoneSurrogatesBecomeTheReplacementCharacter) {
    // A surrogate standing alone: a lone UTF-16 unit where wchar_t is 16 bits, a surrogate code
    // point where it is 32; neither has a UTF-8 form.
    const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    EXPECT_EQ(Utf8FromWide(lone), std::string("a\xEF\xBF\xBD") + "b");
    EXPECT_TRUE(HasLoneSurrogate(lone));
    EXPECT_FALSE(HasLoneSurrogate(std::wstring_view(lone, 1))) << "only the characters given";
    EXPECT_EQ(Utf8FromWide(std::wstring_view(L"ab", 1)), "a");
    // Each length's first and last code point.
    EXPECT_EQ(Utf8FromWide(L"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF"),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    // Two surrogates in a row are a pair only where wchar_t holds UTF-16 units.
    const wchar_t halves[] = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), 0};
    EXPECT_EQ(Utf8FromWide(halves), sizeof(wchar_t) == 2 ? "\xF0\x9F\x98\x80" : "\xEF\xBF\xBD\xEF\xBF\xBD");
    const wchar_t trailing[] = {L'a', static_cast<wchar_t>(0xDC00), 0};
    EXPECT_TRUE(HasLoneSurrogate(trailing));
    EXPECT_FALSE(HasLoneSurrogate(L"\U0001F600 \uFFFD"));
#if WCHAR_MAX > 0xFFFF
    const wchar_t beyond[] = {static_cast<wchar_t>(0x110000), 0};  // only a 32-bit wchar_t holds it
    EXPECT_EQ(Utf8FromWide(beyond), "\xEF\xBF\xBD");
#endif
}

TEST(MailProgram, TheKindByTheFileNamesOwnNameInAnyCaseAndTheSetting) {
    using K = MailProgramKind;
    for (const auto& [program, kind] :
         {std::pair{L"C:\\Program Files\\Mozilla Thunderbird\\thunderbird.exe", K::Thunderbird},
          {L"D:\\BetterBird\\BETTERBIRD.EXE", K::Thunderbird},
          {L"seamonkey.exe", K::Thunderbird},
          {L"C:\\Claws\\Claws-Mail.exe", K::Claws},
          {L"C:\\x\\sylpheed.exe", K::Sylpheed},
          {L"C:\\Office\\OUTLOOK.EXE", K::Outlook},
          {L"C:\\WindowsApps\\olk.exe", K::NewOutlook}})
        EXPECT_EQ(KindOfProgram(program), kind) << program;
    for (const wchar_t* other : {L"C:\\thunderbird.exe\\mail.exe", L"C:\\x\\mythunderbird.exe", L"C:\\x\\olk.exe.bak",
                                 L"C:\\PROGRA~1\\MOZILL~1\\THUNDE~1.EXE", L""})
        EXPECT_EQ(KindOfProgram(other), K::CommandLine) << other;
    // A bare file name is for Windows to find under App Paths; a drive or folder makes it a path.
    using S = MailProgramSetting::Kind;
    for (const auto& [setting, kind, text] : {std::tuple{L"", S::None, L""},
                                              {L"MAPI", S::DefaultMapi, L""},
                                              {L"mapi", S::DefaultMapi, L""},
                                              {L"MAPI:", S::DefaultMapi, L""},
                                              {L"MAPI:Mozilla Thunderbird", S::NamedMapi, L"Mozilla Thunderbird"},
                                              {L"C:\\PROGRA~1\\mail.exe", S::Program, L"C:\\PROGRA~1\\mail.exe"},
                                              {L"olk.exe", S::RegisteredProgram, L"olk.exe"},
                                              {L"MAPIX", S::RegisteredProgram, L"MAPIX"},
                                              {L"C:olk.exe", S::Program, L"C:olk.exe"},
                                              {L"x/olk.exe", S::Program, L"x/olk.exe"}}) {
        EXPECT_EQ(ParseMailProgramSetting(setting).kind, kind) << setting;
        EXPECT_EQ(ParseMailProgramSetting(setting).text, text) << setting;
    }
    EXPECT_EQ(ParseMailProgramSetting(NamedMapiSetting(L"A:B")).text, L"A:B");
}

// (Which heads are PE images is the pe_machine fuzzer's.)
TEST(PeMachine, ThirtyTwoAndSixtyFourBitMachines) {
    EXPECT_EQ(MachineBits(kMachineI386) + MachineBits(kMachineAmd64) + MachineBits(kMachineArm64), 32 + 64 + 64);
    EXPECT_EQ(MachineBits(0x1234), 0);
}

TEST(MapiOutcome, EachResultIsToldWithItsNumberAndNameWithinTheTable) {
    EXPECT_EQ(OutcomeOfMapiResult(0), MapiOutcome::Sent);
    EXPECT_EQ(OutcomeOfMapiResult(1), MapiOutcome::Cancelled);
    EXPECT_EQ(OutcomeOfMapiResult(2), MapiOutcome::Failed);
    EXPECT_EQ(MapiFailureText(11),
              L"The mail client could not find an attachment. (MAPI error 11, MAPI_E_ATTACHMENT_NOT_FOUND)");
    EXPECT_TRUE(MapiFailureText(28).ends_with(L"(MAPI error 28, MAPI_E_ATTACHMENT_TOO_LARGE)")) << "the last named";
    for (const unsigned long unnamed : {7UL, 29UL})
        EXPECT_EQ(MapiFailureText(unnamed),
                  L"The mail client failed to create the message. (MAPI error " + std::to_wstring(unnamed) + L")");
}

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

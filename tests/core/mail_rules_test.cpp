// The rules of Send Now that need no system: which kind of mail program a file name is, file URLs
// as the programs read them back, the MailProgram setting, DLL machines and MAPI results. (The
// arguments each kind gets are read back as the programs read them in e2e/mail_readers_test.)

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "core/file_url.h"
#include "core/mail_kind.h"
#include "core/mapi_outcome.h"
#include "core/pe_machine.h"
#include "core/utf8.h"
#include "support/mail_client_rules.h"

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
    EXPECT_EQ(Utf8FromWide(lone),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_TRUE(HasLoneSurrogate(lone));
    EXPECT_FALSE(HasLoneSurrogate(std::wstring_view(lone, 1))) << "only the characters given";
    EXPECT_EQ(Utf8FromWide(std::wstring_view(L"ab", 1)), "a");
    EXPECT_EQ(Utf8FromWide(L"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF"),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF")
        << "each length's first and last code point";
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

}  // namespace
}  // namespace ferryl

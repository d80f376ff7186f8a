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
#include "support/pe_head.h"

namespace ferryl {
namespace {

using test::PeHead;

// A file URL is read back by the programs that take one, Gecko (Thunderbird) and GLib (Claws
// Mail), as the very path it was made from.
TEST(FileUrl, GeckoAndGlibReadEachPathBack) {
    const std::wstring longPath = L"C:\\" + std::wstring(150, L'l') + L"\\" + std::wstring(150, L'm') + L".txt";
    for (const std::wstring& path :
         {std::wstring(L"C:\\Docs\\a b,1.txt"), std::wstring(L"C:\\it's 100%.txt"),
          std::wstring(L"C:\\#?&=+;@[]<>{}|^`.txt"), std::wstring(L"C:\\-dash %41%zz.txt"),
          std::wstring(L"C:\\caf\u00E9 \u20AC\u65E5\U0001F600"), std::wstring(L"D:\\A-z_0.9~\\x"), longPath}) {
        SCOPED_TRACE(Utf8FromWide(path));
        const std::wstring url = FileUrl(path);
        EXPECT_EQ(test::GeckoFilePath(url), path);
        EXPECT_EQ(test::GlibFilenameFromUri(url), path);
    }
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
    // Only the characters given, not what follows them.
    EXPECT_EQ(Utf8FromWide(std::wstring_view(L"ab", 1)), "a");
    EXPECT_EQ(Utf8FromWide(L"\U0010FFFF"), "\xF4\x8F\xBF\xBF") << "the last code point";
    EXPECT_FALSE(HasLoneSurrogate(std::wstring_view(lone, 1)));
    // Two surrogates in a row are a pair only where wchar_t holds UTF-16 units.
    const wchar_t halves[] = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), 0};
    EXPECT_EQ(Utf8FromWide(halves), sizeof(wchar_t) == 2 ? "\xF0\x9F\x98\x80" : "\xEF\xBF\xBD\xEF\xBF\xBD");
    const wchar_t trailing[] = {L'a', static_cast<wchar_t>(0xDC00), 0};
    EXPECT_TRUE(HasLoneSurrogate(trailing));
    EXPECT_FALSE(HasLoneSurrogate(L"\U0001F600 \uFFFD"));
    EXPECT_EQ(Utf8FromWide(L"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8FromWide(L"\uFFFD"), "\xEF\xBF\xBD");
#if WCHAR_MAX > 0xFFFF
    // Only a 32-bit wchar_t can hold a value beyond U+10FFFF.
    const wchar_t beyond[] = {static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(Utf8FromWide(beyond), "\xEF\xBF\xBD");
#endif
}

TEST(MailProgramKind, ChosenByTheFileNameInAnyCase) {
    EXPECT_EQ(KindOfProgram(L"C:\\Program Files\\Mozilla Thunderbird\\thunderbird.exe"), MailProgramKind::Thunderbird);
    EXPECT_EQ(KindOfProgram(L"D:\\BetterBird\\BETTERBIRD.EXE"), MailProgramKind::Thunderbird);
    EXPECT_EQ(KindOfProgram(L"seamonkey.exe"), MailProgramKind::Thunderbird);
    EXPECT_EQ(KindOfProgram(L"C:\\Claws\\Claws-Mail.exe"), MailProgramKind::Claws);
    EXPECT_EQ(KindOfProgram(L"C:\\x\\sylpheed.exe"), MailProgramKind::Sylpheed);
    EXPECT_EQ(KindOfProgram(L"C:\\Office\\OUTLOOK.EXE"), MailProgramKind::Outlook);
    EXPECT_EQ(KindOfProgram(L"C:\\WindowsApps\\olk.exe"), MailProgramKind::NewOutlook);
    // Only the file's own name counts, whole.
    EXPECT_EQ(KindOfProgram(L"C:\\thunderbird.exe\\mail.exe"), MailProgramKind::CommandLine);
    EXPECT_EQ(KindOfProgram(L"C:\\x\\mythunderbird.exe"), MailProgramKind::CommandLine);
    EXPECT_EQ(KindOfProgram(L"C:\\x\\olk.exe.bak"), MailProgramKind::CommandLine);
    EXPECT_EQ(KindOfProgram(L"C:\\PROGRA~1\\MOZILL~1\\THUNDE~1.EXE"), MailProgramKind::CommandLine);
    EXPECT_EQ(KindOfProgram(L""), MailProgramKind::CommandLine);
}

TEST(MailProgramSetting, MapiDefaultNamedClientOrAProgram) {
    using Kind = MailProgramSetting::Kind;
    EXPECT_EQ(ParseMailProgramSetting(L"").kind, Kind::None);
    EXPECT_EQ(ParseMailProgramSetting(L"MAPI").kind, Kind::DefaultMapi);
    EXPECT_EQ(ParseMailProgramSetting(L"mapi").kind, Kind::DefaultMapi);
    EXPECT_EQ(ParseMailProgramSetting(L"MAPI:").kind, Kind::DefaultMapi);
    const MailProgramSetting named = ParseMailProgramSetting(L"MAPI:Mozilla Thunderbird");
    EXPECT_EQ(named.kind, Kind::NamedMapi);
    EXPECT_EQ(named.text, L"Mozilla Thunderbird");
    EXPECT_EQ(ParseMailProgramSetting(NamedMapiSetting(L"A:B")).text, L"A:B");
    const MailProgramSetting program = ParseMailProgramSetting(L"C:\\PROGRA~1\\mail.exe");
    EXPECT_EQ(program.kind, Kind::Program);
    EXPECT_EQ(program.text, L"C:\\PROGRA~1\\mail.exe");
    // A bare file name is for Windows to find under App Paths; a drive or folder makes it a path.
    const MailProgramSetting registered = ParseMailProgramSetting(L"olk.exe");
    EXPECT_EQ(registered.kind, Kind::RegisteredProgram);
    EXPECT_EQ(registered.text, L"olk.exe");
    EXPECT_EQ(ParseMailProgramSetting(L"MAPIX").kind, Kind::RegisteredProgram);
    EXPECT_EQ(ParseMailProgramSetting(L"C:olk.exe").kind, Kind::Program);
    EXPECT_EQ(ParseMailProgramSetting(L"x/olk.exe").kind, Kind::Program);
}

TEST(PeMachine, ReadsTheMachineAndRejectsWhatIsNoPeImage) {
    EXPECT_EQ(PeMachine(PeHead(kMachineI386)), kMachineI386);
    EXPECT_EQ(PeMachine(PeHead(kMachineAmd64, 0xF8)), kMachineAmd64);
    EXPECT_EQ(MachineBits(kMachineI386), 32);
    EXPECT_EQ(MachineBits(kMachineAmd64), 64);
    EXPECT_EQ(MachineBits(kMachineArm64), 64);
    EXPECT_EQ(MachineBits(0x1234), 0);
    EXPECT_FALSE(PeMachine(""));
    EXPECT_FALSE(PeMachine("MZ"));
    std::string notPe = PeHead(kMachineI386);
    notPe[0x80] = 'N';
    EXPECT_FALSE(PeMachine(notPe));
    // A PE offset beyond the bytes read, or one that leaves no room for the machine.
    EXPECT_FALSE(PeMachine(PeHead(kMachineI386).substr(0, 0x85)));
    // The shortest head: the DOS header alone, the PE header inside it.
    std::string shortest = PeHead(kMachineI386, 0x30).substr(0, 0x40);
    EXPECT_EQ(PeMachine(shortest), kMachineI386);
    EXPECT_FALSE(PeMachine(shortest.substr(0, 0x3F)));
    EXPECT_EQ(PeMachine(PeHead(kMachineI386).substr(0, 0x86)), kMachineI386) << "the machine's two bytes end it";
    std::string far = PeHead(kMachineI386);
    far[0x3F] = '\x7F';
    EXPECT_FALSE(PeMachine(far));
}

TEST(MapiOutcome, SuccessCancelAndFailuresInWords) {
    EXPECT_EQ(OutcomeOfMapiResult(0), MapiOutcome::Sent);
    EXPECT_EQ(OutcomeOfMapiResult(1), MapiOutcome::Cancelled);
    EXPECT_EQ(OutcomeOfMapiResult(2), MapiOutcome::Failed);
    EXPECT_EQ(MapiFailureText(11),
              L"The mail client could not find an attachment. (MAPI error 11, MAPI_E_ATTACHMENT_NOT_FOUND)");
    EXPECT_EQ(MapiFailureText(2), L"The mail client failed to create the message. (MAPI error 2, MAPI_E_FAILURE)");
    EXPECT_EQ(MapiFailureText(7), L"The mail client failed to create the message. (MAPI error 7)");
    EXPECT_EQ(MapiFailureText(29), L"The mail client failed to create the message. (MAPI error 29)");
    EXPECT_EQ(MapiFailureText(999), L"The mail client failed to create the message. (MAPI error 999)");
}

}  // namespace
}  // namespace ferryl

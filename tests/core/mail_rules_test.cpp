// The rules of Send Now that need no system: which kind of mail program a file name is, the
// arguments each kind gets, file URLs, the MailProgram setting, DLL machines and MAPI results.

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "core/file_url.h"
#include "core/mail_arguments.h"
#include "core/mail_kind.h"
#include "core/mapi_outcome.h"
#include "core/pe_machine.h"
#include "core/utf8.h"
#include "support/pe_head.h"

namespace ferryl {
namespace {

using test::PeHead;

TEST(FileUrl, PercentEncodesAllButTheUnreservedCharactersAndTheSeparators) {
    EXPECT_EQ(FileUrl(L"C:\\Docs\\a b,1.txt"), L"file:///C:/Docs/a%20b%2C1.txt");
    EXPECT_EQ(FileUrl(L"C:\\it's 100%.txt"), L"file:///C:/it%27s%20100%25.txt");
    EXPECT_EQ(FileUrl(L"C:\\A-z_0.9~\\x"), L"file:///C:/A-z_0.9~/x");
    EXPECT_EQ(FileUrl(L"C:\\#?&=+;@[]\"<>"), L"file:///C:/%23%3F%26%3D%2B%3B%40%5B%5D%22%3C%3E");
}

TEST(FileUrl, EncodesTheUtf8OfCharactersOutsideAscii) {
    EXPECT_EQ(FileUrl(L"C:\\caf\u00E9.txt"), L"file:///C:/caf%C3%A9.txt");
    EXPECT_EQ(FileUrl(L"C:\\\u20AC\u65E5"), L"file:///C:/%E2%82%AC%E6%97%A5");
    // A character beyond the BMP: a surrogate pair in UTF-16, four bytes in UTF-8.
    EXPECT_EQ(FileUrl(L"C:\\\U0001F600"), L"file:///C:/%F0%9F%98%80");
}

TEST(FileUrl, NetworkAndExtendedLengthPaths) {
    EXPECT_EQ(FileUrl(L"\\\\server\\share\\a b.txt"), L"file://server/share/a%20b.txt");
    EXPECT_EQ(FileUrl(L"\\\\?\\C:\\x.txt"), L"file:///C:/x.txt");
    EXPECT_EQ(FileUrl(L"\\\\?\\UNC\\server\\share\\x"), L"file://server/share/x");
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
    EXPECT_EQ(KindOfProgram(L"C:\\x\\sylpheed.exe"), MailProgramKind::Claws);
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
    EXPECT_EQ(ParseMailProgramSetting(L"MAPIX").kind, Kind::Program);
}

TEST(MailArguments, AnyOtherProgramKeepsShortPathsAfterTheParameters) {
    EXPECT_EQ(MailCommandLine(L"C:\\PROGRA~1\\Mail\\mail.exe",
                              MailArguments(L"/a", {L"C:\\MYDOCU~1\\AB~1.TXT", L"C:\\x.txt"})),
              L"C:\\PROGRA~1\\Mail\\mail.exe /a C:\\MYDOCU~1\\AB~1.TXT C:\\x.txt");
    EXPECT_EQ(MailCommandLine(L"C:\\m.exe", MailArguments(L"", {L"C:\\x.txt"})), L"C:\\m.exe C:\\x.txt");
    // Missing short paths contribute nothing; with every file gone only the parameters remain.
    EXPECT_EQ(MailArguments(L"", {L"", L"C:\\x.txt", L"", L"C:\\y.txt", L""}), L"C:\\x.txt C:\\y.txt");
    EXPECT_EQ(MailArguments(L"-attach", {L""}), L"-attach ");
    // Volumes without 8.3 names give back the long form, blank and all.
    EXPECT_EQ(MailArguments(L"/a b", {L"C:\\with blank.txt", L"C:\\x.txt"}), L"/a b \"C:\\with blank.txt\" C:\\x.txt");
    EXPECT_EQ(MailCommandLine(L"C:\\Program Files\\m.exe", L"x"), L"\"C:\\Program Files\\m.exe\" x");
}

TEST(MailArguments, ThunderbirdTakesEveryFileAsAUrlInOneComposeArgument) {
    EXPECT_EQ(ThunderbirdArguments(L"", {L"C:\\Docs\\a b,1.txt", L"C:\\it's.txt"}),
              L"-compose \"attachment='file:///C:/Docs/a%20b%2C1.txt,file:///C:/it%27s.txt'\"");
    EXPECT_EQ(ThunderbirdArguments(L"-P work", {L"C:\\x.txt"}), L"-P work -compose \"attachment='file:///C:/x.txt'\"");
}

TEST(MailArguments, ClawsTakesAttachAndThePathsQuotedWhereTheyHoldABlank) {
    EXPECT_EQ(ClawsArguments(L"", {L"C:\\a b.txt", L"C:\\x,y's.txt"}), L"--attach \"C:\\a b.txt\" C:\\x,y's.txt");
    EXPECT_EQ(ClawsArguments(L"--alternate-config-dir D:\\c", {L"C:\\x"}),
              L"--alternate-config-dir D:\\c --attach C:\\x");
}

TEST(MailArguments, OutlookTakesOneFileAfterSlashAAndMoreThroughMapi) {
    EXPECT_EQ(OutlookArguments(L"", L"C:\\x.txt"), L"/c ipm.note /a \"C:\\x.txt\"");
    EXPECT_EQ(OutlookArguments(L"/profile P", L"C:\\a b.txt"), L"/profile P /c ipm.note /a \"C:\\a b.txt\"");
    EXPECT_FALSE(GoesThroughMapi(MailProgramKind::Outlook, 1));
    EXPECT_TRUE(GoesThroughMapi(MailProgramKind::Outlook, 2));
    EXPECT_FALSE(GoesThroughMapi(MailProgramKind::Thunderbird, 5));
    EXPECT_EQ(NewOutlookArguments(L"", L"C:\\Temp Files\\FerrylDraft-1.eml"), L"\"C:\\Temp Files\\FerrylDraft-1.eml\"");
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

// The program's rules that need no system: the Send To switch, the handoff's payload and spool file,
// paths, dialog filters, copies' names, the time left, the file list's texts, the window's geometry.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/copy_naming.h"
#include "core/dialog_filter.h"
#include "core/file_list_text.h"
#include "core/handoff_payload.h"
#include "core/handoff_spool_file.h"
#include "core/path_rules.h"
#include "core/send_to_switch.h"
#include "core/time_left.h"
#include "core/utf16.h"
#include "core/window_rules.h"

namespace ferryl {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::wstring>;

// (The command line's split and re-join are the command_line fuzzer's.)
TEST(SendToSwitch, CountsOnlyAsTheWholeArgumentPart) {
    EXPECT_EQ(SendToSwitchOf(L"/install"), SendToSwitch::Install);
    EXPECT_EQ(SendToSwitchOf(L"  /UnInstall  "), SendToSwitch::Uninstall);
    for (const wchar_t* files : {L"", L"/install C:\\a.txt", L"C:\\a.txt /uninstall", L"\"/install\"", L"-install",
                                 L"/installer", L"C:\\install"})
        EXPECT_EQ(SendToSwitchOf(files), SendToSwitch::None) << files;
}

// (Decoding a payload, and any payload's round trip, are the handoff fuzzer's.)
TEST(HandoffPayload, AnsiWhereTheCodePageHoldsTheTextElseUtf16LittleEndianUpToTheLongestCommandLine) {
    EXPECT_EQ(EncodeHandoffPayload(L"C:\\a b.txt", "C:\\a b.txt"s).dwData, kHandoffAnsi);
    // The empty command line is a single zero byte, as a payload cannot be empty.
    EXPECT_EQ(EncodeHandoffPayload(L"", ""s).bytes, "\0"s);
    EXPECT_EQ(EncodeHandoffPayload(L"", std::nullopt).bytes, "\0"s);
    // U+0436 and, beyond the BMP, U+1F600: a surrogate pair whatever the width of wchar_t.
    const HandoffPayload utf16 = EncodeHandoffPayload(L"C:\\\u0436\U0001F600", std::nullopt);
    EXPECT_EQ(utf16.dwData, kHandoffUtf16);
    EXPECT_EQ(utf16.bytes, "C\0:\0\\\0\x36\x04\x3D\xD8\x00\xDE"s);
    EXPECT_EQ(EncodeHandoffPayload(L"\U00010000", std::nullopt).bytes, "\x00\xD8\x00\xDC"s) << "the first past the BMP";
    // The longest command line goes as its ANSI bytes; a longer ANSI form (a double-byte code page)
    // as UTF-16.
    const std::wstring longest(kHandoffMaxUnits, L'a');
    EXPECT_EQ(EncodeHandoffPayload(longest, std::string(kHandoffMaxUnits, 'a')).dwData, kHandoffAnsi);
    const HandoffPayload doubled = EncodeHandoffPayload(longest, std::string(kHandoffMaxUnits + 1, 'a'));
    EXPECT_EQ(doubled.dwData, kHandoffUtf16);
    EXPECT_EQ(doubled.bytes.size(), kHandoffMaxUnits * 2);
    // A high surrogate that ends the payload stays alone, though the bytes after it would make it a
    // pair; the same with an odd last byte.
    const std::string pair = "a\0\x01\xD8\x00\xDC"s;
    const std::wstring lone{L'a', static_cast<wchar_t>(0xD801)};
    EXPECT_EQ(DecodeHandoffPayload(kHandoffUtf16, pair.data(), 4), HandoffContent(lone));
    EXPECT_EQ(WideFromUtf16Le(std::string_view(pair).substr(0, 5)), lone);
    EXPECT_EQ(DecodeHandoffPayload(kHandoffAnsi, nullptr, 8), std::nullopt);
}

TEST(HandoffSpoolFile, PathsComeBackAsTheyWentButNothingFromAPartOfAFile) {
    // A blank, a character beyond the BMP and a lone surrogate (which NTFS allows in a name); the
    // empty path is left out.
    const Paths paths{L"C:\\a b.txt", L"", L"\\\\srv\\s\\\U0001F600.doc", std::wstring(L"C:\\x") + wchar_t(0xD800)};
    const std::string whole = EncodeSpoolFile(paths);
    EXPECT_EQ(whole.substr(0, 4), "F\0e\0"s) << "UTF-16LE, the mark first";
    EXPECT_EQ(DecodeSpoolFile(whole), (Paths{paths[0], paths[2], paths[3]}));
    EXPECT_EQ(DecodeSpoolFile(EncodeSpoolFile({})), Paths{});
    for (size_t size = 0; size < whole.size(); ++size)  // as a writer ended part-way leaves it
        EXPECT_FALSE(DecodeSpoolFile(whole.substr(0, size))) << size << " bytes";
    std::string otherMark = whole;
    otherMark[0] = 'G';
    for (const std::string& broken :
         {otherMark, whole + "\0"s, whole + "\0\0"s, EncodeSpoolFile({std::wstring(kSpoolFileMaxBytes / 2, L'a')})})
        EXPECT_FALSE(DecodeSpoolFile(broken)) << broken.size();
}

TEST(HandoffSpoolFile, NamesSortInTheOrderKeptAndAreFoundPerSession) {
    const std::wstring early = SpoolFileName(1, 0x01DA000000000001ULL, 0x1234, 0);
    EXPECT_EQ(early, L"S1-01DA000000000001-1234-0.handoff");
    EXPECT_LT(early, SpoolFileName(1, 0x01DA000000000010ULL, 0x10, 0));
    EXPECT_EQ(SpoolFilePattern(1), L"S1-*.handoff");
    EXPECT_TRUE(IsSpoolFileName(early, 1));
    EXPECT_TRUE(IsSpoolFileName(L"s1-X.HANDOFF", 1)) << "names are compared as the file system does";
    for (const std::wstring& other : {SpoolFileName(1, 5, 6, 7), SpoolFileName(0x11, 5, 6, 7),
                                      PartialSpoolFileName(early), std::wstring(L"S1-.handoff")})
        EXPECT_EQ(IsSpoolFileName(other, 1), other == SpoolFileName(1, 5, 6, 7)) << other;
    EXPECT_FALSE(IsSpoolFileName(early, 2)) << "another session's";
}

TEST(PathRules, AFullFilePathTheSearchPatternAndTheFileName) {
    for (const wchar_t* full : {L"C:\\a", L"\\\\srv\\s\\f.txt", L"\\\\a\\b"})
        EXPECT_TRUE(IsFullFilePath(full)) << full;
    for (const wchar_t* partial : {L"C:\\", L"\\\\a\\", L"file.txt", L"sub\\f.txt", L"C:file.txt", L"\\dir\\file", L""})
        EXPECT_FALSE(IsFullFilePath(partial)) << partial;
    EXPECT_EQ(SearchPatternFor(L"C:\\dir\\"), L"C:\\dir\\*");
    EXPECT_EQ(SearchPatternFor(L"C:\\dir"), L"C:\\dir");
    EXPECT_EQ(SearchPatternFor(L""), L"");
    for (const auto& [path, name] : {std::pair{L"C:\\dir\\sub\\name.txt", L"name.txt"},
                                     {L"name.txt", L"name.txt"},
                                     {L"C:\\dir\\", L""},
                                     {L"\\", L""},
                                     {L"", L""},
                                     {L"\\\\server\\share\\a b.doc", L"a b.doc"}})
        EXPECT_EQ(FileNameOf(path), name) << path;
}

TEST(DialogFilter, BarsBecomeNulsEndingInTwoAndNullTrimCutsAtTheFirstNul) {
    for (const auto& [bars, nuls] : {std::pair{L"All Files (*.*)|*.*"s, L"All Files (*.*)\0*.*\0\0"s},
                                     {L"Text|*.txt|All|*.*"s, L"Text\0*.txt\0All\0*.*\0\0"s},
                                     {L"a|b|"s, L"a\0b\0\0"s},
                                     {L"a|b||"s, L"a\0b\0\0"s},
                                     {L""s, L"\0\0"s},
                                     {L"||"s, L"\0\0"s}})
        EXPECT_EQ(EncodeDialogFilter(bars), nuls) << bars.size();
    EXPECT_EQ(DecodeDialogFilter(L"Text\0*.txt\0All\0*.*\0\0"s), L"Text|*.txt|All|*.*");
    EXPECT_EQ(DecodeDialogFilter(L"a\0b\0\0\0"s), L"a|b|") << "only two ending NULs are dropped";
    std::wstring text = L"  C:\\dir\\a b.txt \0C:\\other\0\0"s, leadingNul = L"\0abc"s, tab = L"\tx\t";
    EXPECT_EQ(NullTrim(text), L"C:\\dir\\a b.txt");
    EXPECT_EQ(text, L"C:\\dir\\a b.txt") << "written back into the argument";
    EXPECT_EQ(NullTrim(leadingNul), L"");
    EXPECT_EQ(NullTrim(tab), L"\tx\t") << "blanks only";
}

TEST(CopyNaming, TheNumberGoesBeforeTheExtensionAsExplorerPutsItAndTheTimeLeftIsRoundedUp) {
    for (const auto& [name, number, numbered] : {std::tuple{L"Quarterly report.docx", 1, L"Quarterly report.docx"},
                                                 {L"Quarterly report.docx", 2, L"Quarterly report (2).docx"},
                                                 {L"archive.tar.gz", 3, L"archive.tar (3).gz"},
                                                 {L"README", 2, L"README (2)"},
                                                 {L".profile", 2, L".profile (2)"},
                                                 {L"a.", 2, L"a (2)."}})
        EXPECT_EQ(NumberedName(name, number), numbered) << name << " " << number;
    for (const auto& [done, total, seconds, left] :
         {std::tuple{0ULL, 100ULL, 10.0, L""},  // no pace yet
          {50ULL, 100ULL, 1.9, L""},            // too early to tell
          {50ULL, 100ULL, 2.0, L"About 5 seconds left"},
          {10ULL, 100ULL, 4.0, L"About 40 seconds left"},            // 36 s
          {1ULL, 100ULL, 2.0, L"About 4 minutes left"},              // 198 s
          {100ULL, 100ULL, 5.0, L"About 5 seconds left"},            // done: never "0 seconds"
          {1ULL, 10ULL, 3600.0, L"About 9 hours left"},              //
          {1ULL, 2ULL, 3700.0, L"About 1 hour and 2 minutes left"},  // 61.67 minutes
          {1ULL, 2ULL, 59.0, L"About 1 minute left"},                // 59 s rounds to 60
          {200ULL, 100ULL, 10.0, L""}})                              // more done than there is
        EXPECT_EQ(TimeLeftText(done, total, seconds), left) << done << "/" << total << " " << seconds;
}

TEST(FileListText, TheLengthIsTheDigitsWhateverGroupsThemAndARowSaysItsFolderApart) {
    for (const wchar_t* size : {L"3,221,225,472", L"3.221.225.472", L"3\u00a0221\u00a0225\u00a0472"})
        EXPECT_EQ(LengthOfSizeText(size), 3221225472ULL) << size;
    EXPECT_EQ(LengthOfSizeText(L""), 0ULL);
    EXPECT_EQ(LengthOfSizeText(L"18,446,744,073,709,551,615"), 18446744073709551615ULL);
    EXPECT_EQ(LengthOfSizeText(L"99,999,999,999,999,999,999"), 18446744073709551615ULL) << "held, not wrapped";
    EXPECT_EQ(FileCountAndTotal(12, L"34.5 MB"), L"12 files, 34.5 MB");
    EXPECT_EQ(FileCountAndTotal(1, L"10 bytes"), L"1 file, 10 bytes");
    const std::wstring spoken = L"report.docx, Tuesday, 5 March 2024 14:07:00, 1,234 bytes";
    for (const auto& [path, folder] : {std::pair{L"C:\\Users\\Ann\\report.docx", L", in C:\\Users\\Ann"},
                                       {L"C:\\report.docx", L", in C:\\"},
                                       {L"\\\\server\\share\\report.docx", L", in \\\\server\\share"},
                                       {L"report.docx", L""}})
        EXPECT_EQ(SpokenFileRow(L"report.docx", L"Tuesday, 5 March 2024 14:07:00", L"1,234", path), spoken + folder);
}

TEST(WindowRules, SizesSnapToTheMinimumTheListFillsAboveTheStatusLineAndThePanel) {
    const Size minimum{400, 200};
    EXPECT_FALSE(SnappedSize({400, 200}, minimum));
    EXPECT_EQ(SnappedSize({399, 500}, minimum), (Size{400, 500}));
    EXPECT_EQ(SnappedSize({800, 10}, minimum), (Size{800, 200}));
    const MainLayout layout = LayOut({500, 300}, 73, 20, 65, 7);
    EXPECT_EQ(layout.lista, (Rect{0, 0, 500, 207}));
    EXPECT_EQ(layout.status, (Rect{0, 207, 500, 20}));
    EXPECT_EQ(layout.panel, (Rect{0, 227, 500, 73}));
    EXPECT_EQ(layout.sendNowLeft + 65 + 7, 500);
    // A client area lower than the panel leaves the list and the line empty rather than negative.
    const MainLayout low = LayOut({500, 80}, 73, 20, 65, 7);
    EXPECT_EQ(low.lista.height, 0);
    EXPECT_EQ(low.status, (Rect{0, 0, 500, 7}));
    EXPECT_EQ(LayOut({500, 50}, 73, 20, 65, 7).status.height, 0);
    EXPECT_TRUE(ClosingEndsProgram(2));
    EXPECT_FALSE(ClosingEndsProgram(3)) << "a third window keeps it";
}

TEST(WindowRules, TheWindowIsPlacedInsideTheWorkAreaAndOnlyWholeNumbersAreApplied) {
    const Rect area{-1280, 40, 1280, 984};
    for (const auto& [window, placed] :
         {std::pair{Rect{-1000, 100, 640, 480}, Rect{-1000, 100, 640, 480}},  // inside: unchanged
          {Rect{3000, 2000, 640, 480}, Rect{-640, 544, 640, 480}},            // beyond the right and bottom
          {Rect{-30000, -500, 640, 480}, Rect{-1280, 40, 640, 480}},          // beyond the left and top
          {Rect{-1290, 30, 2000, 1500}, Rect{-1280, 40, 1280, 984}},          // larger than the area
          {Rect{-300, 900, 2000, 100}, Rect{-1280, 900, 1280, 100}}})         // wider only
        EXPECT_EQ(PlacedInside(window, area), placed) << window.left << ", " << window.top;
    using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(GeometryToSave(WindowState::Maximized, {-15, 30, 6000, 3000}), (Pairs{{L"WindowState", L"2"}}));
    EXPECT_EQ(GeometryToSave(WindowState::Normal, {-15, 30, 6000, 3000}), (Pairs{{L"WindowState", L"0"},
                                                                                 {L"WindowHeight", L"3000"},
                                                                                 {L"WindowWidth", L"6000"},
                                                                                 {L"WindowTop", L"30"},
                                                                                 {L"WindowLeft", L"-15"}}));
    const SavedGeometry saved = ParseGeometry(L"", L"-120", L" \t4500\t ", L"+7000");
    EXPECT_FALSE(saved.top);
    EXPECT_EQ((std::vector<long>{*saved.left, *saved.height, *saved.width}), (std::vector<long>{-120, 4500, 7000}));
    for (const wchar_t* text : {L"abc", L"nan", L"inf", L"1e400", L"1e3", L"7000.4", L"12abc", L"0x10", L"-", L"  ",
                                L"\t", L"1 2", L"1\t2", L"--5"})
        EXPECT_FALSE(ParseGeometry(text, text, text, text).top) << text;
    // Far off-screen values are applied, held where the window functions' int still holds them.
    EXPECT_EQ(ParseGeometry(L"99999999999999999999", L"", L"", L"").top, 1000000000L);
    EXPECT_EQ(ParseGeometry(L"-99999999999999999999", L"", L"", L"").top, -1000000000L);
    EXPECT_EQ(ParseWindowState(L"2"), WindowState::Maximized);
    EXPECT_EQ(ParseWindowState(L"1"), WindowState::Minimized);
    EXPECT_EQ(ParseWindowState(L"3"), WindowState::Normal);
}

}  // namespace
}  // namespace ferryl

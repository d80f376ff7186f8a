// The handoff between instances: the WM_COPYDATA payload's form (its decoding, and any payload's
// round trip, are the handoff fuzzer's), and the spool file a busy window's files wait in.

#include <gtest/gtest.h>

#include "core/handoff_payload.h"
#include "core/handoff_spool_file.h"
#include "core/utf16.h"

namespace ferryl {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::wstring>;

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

}  // namespace
}  // namespace ferryl

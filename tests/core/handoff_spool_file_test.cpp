#include "core/handoff_spool_file.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ferryl {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::wstring>;

TEST(HandoffSpoolFile, PathsComeBackAsTheyWentAndEmptyOnesAreLeftOut) {
    // A blank, a character beyond the BMP and a lone surrogate (which NTFS allows in a name).
    const Paths paths{L"C:\\a b.txt", L"", L"\\\\srv\\s\\\U0001F600.doc", std::wstring(L"C:\\x") + wchar_t(0xD800)};
    const std::string bytes = EncodeSpoolFile(paths);
    EXPECT_EQ(bytes.substr(0, 4), "F\0e\0"s) << "UTF-16LE, the mark first";
    EXPECT_EQ(DecodeSpoolFile(bytes), (Paths{paths[0], paths[2], paths[3]}));
    EXPECT_EQ(DecodeSpoolFile(EncodeSpoolFile({})), Paths{});
}

TEST(HandoffSpoolFile, AnythingButAWholeFileIsRefused) {
    const std::string whole = EncodeSpoolFile({L"C:\\a.txt", L"C:\\b.txt"});
    // Every shorter file, as a writer ended part-way would leave it.
    for (size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(DecodeSpoolFile(whole.substr(0, size))) << size << " bytes";
    std::string otherMark = whole;
    otherMark[0] = 'G';
    EXPECT_FALSE(DecodeSpoolFile(otherMark));
    EXPECT_FALSE(DecodeSpoolFile(whole + "\0"s)) << "odd length";
    EXPECT_FALSE(DecodeSpoolFile(whole + "\0\0"s)) << "an empty path";
    std::string huge = EncodeSpoolFile({std::wstring(kSpoolFileMaxBytes / 2, L'a')});
    EXPECT_FALSE(DecodeSpoolFile(huge));
}

TEST(HandoffSpoolFile, NamesSortInTheOrderKeptAndAreFoundPerSession) {
    const std::wstring early = SpoolFileName(1, 0x01DA000000000001ULL, 0x1234, 0);
    const std::wstring late = SpoolFileName(1, 0x01DA000000000010ULL, 0x10, 0);
    EXPECT_EQ(early, L"S1-01DA000000000001-1234-0.handoff");
    EXPECT_LT(early, late);
    EXPECT_EQ(SpoolFilePattern(1), L"S1-*.handoff");
    EXPECT_TRUE(IsSpoolFileName(early, 1));
    EXPECT_TRUE(IsSpoolFileName(L"s1-X.HANDOFF", 1)) << "names are compared as the file system does";
    EXPECT_FALSE(IsSpoolFileName(early, 2)) << "another session's";
    EXPECT_FALSE(IsSpoolFileName(SpoolFileName(0x11, 5, 6, 7), 1));
    EXPECT_FALSE(IsSpoolFileName(PartialSpoolFileName(early), 1)) << "still being written";
    EXPECT_FALSE(IsSpoolFileName(L"S1-.handoff", 1));
}

}  // namespace
}  // namespace ferryl

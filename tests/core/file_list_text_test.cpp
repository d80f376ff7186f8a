// The file list's texts: the length a size cell shows, the count and total, a row as spoken.

#include <gtest/gtest.h>

#include "core/file_list_text.h"

namespace ferryl {
namespace {

TEST(FileListText, TheLengthIsTheDigitsWhateverGroupsThem) {
    EXPECT_EQ(LengthOfSizeText(L"3,221,225,472"), 3221225472ULL);
    EXPECT_EQ(LengthOfSizeText(L"3.221.225.472"), 3221225472ULL);
    EXPECT_EQ(LengthOfSizeText(L"3\u00a0221\u00a0225\u00a0472"), 3221225472ULL);
    EXPECT_EQ(LengthOfSizeText(L"0"), 0ULL);
    EXPECT_EQ(LengthOfSizeText(L""), 0ULL);
    EXPECT_EQ(LengthOfSizeText(L"18,446,744,073,709,551,615"), 18446744073709551615ULL);
    EXPECT_EQ(LengthOfSizeText(L"99,999,999,999,999,999,999"), 18446744073709551615ULL) << "held, not wrapped";
}

TEST(FileListText, CountAndTotal) {
    EXPECT_EQ(FileCountAndTotal(12, L"34.5 MB"), L"12 files, 34.5 MB");
    EXPECT_EQ(FileCountAndTotal(1, L"10 bytes"), L"1 file, 10 bytes");
    EXPECT_EQ(FileCountAndTotal(0, L"0 bytes"), L"0 files, 0 bytes");
}

TEST(FileListText, ARowSaysItsFolderApart) {
    const wchar_t* const date = L"Tuesday, 5 March 2024 14:07:00";
    struct Case {
        const wchar_t *path, *spoken;
    } cases[] = {
        {L"C:\\Users\\Ann\\report.docx",
         L"report.docx, Tuesday, 5 March 2024 14:07:00, 1,234 bytes, in C:\\Users\\Ann"},
        {L"C:\\report.docx", L"report.docx, Tuesday, 5 March 2024 14:07:00, 1,234 bytes, in C:\\"},
        {L"\\\\server\\share\\report.docx",
         L"report.docx, Tuesday, 5 March 2024 14:07:00, 1,234 bytes, in \\\\server\\share"},
        {L"report.docx", L"report.docx, Tuesday, 5 March 2024 14:07:00, 1,234 bytes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpokenFileRow(L"report.docx", date, L"1,234", c.path), c.spoken) << c.path;
}

}  // namespace
}  // namespace ferryl

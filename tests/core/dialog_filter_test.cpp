#include "core/dialog_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace ferryl {
namespace {

using namespace std::string_literals;

TEST(DialogFilter, BarsBecomeNulsAndTheTextEndsInTwoNuls) {
    EXPECT_EQ(EncodeDialogFilter(L"All Files (*.*)|*.*"), L"All Files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(EncodeDialogFilter(L"Text|*.txt|All|*.*"), L"Text\0*.txt\0All\0*.*\0\0"s);
    EXPECT_EQ(EncodeDialogFilter(L"a|b|"), L"a\0b\0\0"s);  // one ending bar counts as one NUL
    EXPECT_EQ(EncodeDialogFilter(L"a|b||"), L"a\0b\0\0"s);
    EXPECT_EQ(EncodeDialogFilter(L""), L"\0\0"s);
    EXPECT_EQ(EncodeDialogFilter(L"||"), L"\0\0"s);

    EXPECT_EQ(DecodeDialogFilter(L"Text\0*.txt\0All\0*.*\0\0"s), L"Text|*.txt|All|*.*");
    EXPECT_EQ(DecodeDialogFilter(L"\0\0"s), L"");
    EXPECT_EQ(DecodeDialogFilter(L"a\0b\0\0\0"s), L"a|b|");  // only two ending NULs are dropped
}

TEST(DialogFilter, NullTrimCutsAtTheFirstNulThenTrimsBlanks) {
    std::wstring text = L"  C:\\dir\\a b.txt \0C:\\other\0\0"s;
    EXPECT_EQ(NullTrim(text), L"C:\\dir\\a b.txt");
    EXPECT_EQ(text, L"C:\\dir\\a b.txt");  // written back into the argument
    std::wstring blanks = L"   ";
    EXPECT_EQ(NullTrim(blanks), L"");
    std::wstring leadingNul = L"\0abc"s;
    EXPECT_EQ(NullTrim(leadingNul), L"");
    std::wstring tab = L"\tx\t";
    EXPECT_EQ(NullTrim(tab), L"\tx\t");  // blanks only
}

}  // namespace
}  // namespace ferryl

#include "common/text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace ferryl {
namespace {

// The tests run with the Windows-1252 ANSI code page (an English or German locale under Wine).
class AnsiText : public testing::Test {
  protected:
    void SetUp() override {
        if (::GetACP() != 1252)
            GTEST_SKIP() << "needs the Windows-1252 code page, have " << ::GetACP();
    }
};

TEST_F(AnsiText, RoundTripsWhatTheCodePageHolds) {
    std::wstring name = L"C:\\Users\\Jos\u00e9\\r\u00e9sum\u00e9 \u20ac.doc";
    std::string ansi = ToAnsi(name);
    EXPECT_EQ(ansi, "C:\\Users\\Jos\xe9\\r\xe9sum\xe9 \x80.doc");
    EXPECT_EQ(FromAnsi(ansi), name);
    EXPECT_EQ(ToAnsiExact(name), ansi);
    EXPECT_EQ(ToAnsi(L""), "");
    EXPECT_EQ(FromAnsi(""), L"");
}

TEST_F(AnsiText, ExactConversionRefusesWhatTheCodePageLacks) {
    EXPECT_FALSE(ToAnsiExact(L"C:\\\u041f\u0440\u0438\u0432\u0435\u0442.txt"));  // Cyrillic
    EXPECT_FALSE(ToAnsiExact(L"C:\\\u6587\u4ef6.txt"));                          // CJK
    // Greek capital omega has a best-fit "O" in 1252, which would still name another file.
    EXPECT_FALSE(ToAnsiExact(L"C:\\\u03a9.txt"));
    // The lossy conversion keeps the length and the rest of the name.
    EXPECT_EQ(ToAnsi(L"a\u6587b").size(), 3u);
}

TEST(Text, UpperCaseFollowsTheLocale) {
    EXPECT_EQ(ToUpper(L"abc \u00e9t\u00e9 1"), L"ABC \u00c9T\u00c9 1");
    EXPECT_EQ(ToUpper(L""), L"");
}

}  // namespace
}  // namespace ferryl

// Conversions at the system's boundary: ANSI text, twips and pixels.

#include "common/text.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/twips.h"

namespace ferryl {
namespace {

// The tests run with the Windows-1252 ANSI code page (an English or German locale under Wine).
TEST(AnsiText, RoundTripsWhatTheCodePageHoldsAndTheExactFormRefusesTheRest) {
    if (::GetACP() != 1252)
        GTEST_SKIP() << "needs the Windows-1252 code page, have " << ::GetACP();
    const std::wstring name = L"C:\\Users\\Jos\u00e9\\r\u00e9sum\u00e9 \u20ac.doc";
    EXPECT_EQ(ToAnsi(name), "C:\\Users\\Jos\xe9\\r\xe9sum\xe9 \x80.doc");
    EXPECT_EQ(FromAnsi(ToAnsi(name)), name);
    EXPECT_EQ(ToAnsiExact(name), ToAnsi(name));
    // Cyrillic, CJK, and Greek omega, whose best fit "O" would name another file.
    for (const wchar_t* lacking : {L"C:\\\u041f\u0440\u0438.txt", L"C:\\\u6587\u4ef6.txt", L"C:\\\u03a9.txt"})
        EXPECT_FALSE(ToAnsiExact(lacking));
    EXPECT_EQ(ToAnsi(L"a\u6587b").size(), 3u) << "the lossy form keeps the rest of the name";
    EXPECT_EQ(ToUpper(L"abc \u00e9t\u00e9 1"), L"ABC \u00c9T\u00c9 1");
}

TEST(Twips, ConvertAtTheGivenDpiRoundingToTheNearestPixel) {
    // No DPI is taken as the designed 96; 1695 twips are 169.5 pixels at 144.
    EXPECT_EQ((std::vector<long>{TwipsPerPixel(144), TwipsPerPixel(0), TwipsToPixels(1695, 144),
                                 PixelsToTwips(144, 144), ScaleForDpi(16, 120)}),
              (std::vector<long>{10, 15, 170, 1440, 20}));
    const RECT r = TwipsRect(120, 150, 975, 255, 144);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{12, 15, 12 + 98, 15 + 26}));
}

}  // namespace
}  // namespace ferryl

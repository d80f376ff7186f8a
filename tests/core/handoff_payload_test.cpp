#include "core/handoff_payload.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(HandoffPayload, TextOutsideTheCodePageTravelsAsUtf16) {
    const std::wstring text = L"C:\\\u0436 \u4e2d.txt";
    HandoffPayload payload = BuildHandoffPayload(text);
    EXPECT_EQ(payload.dwData, 1u);
    ASSERT_EQ(payload.bytes.size(), text.size() * 2);
    EXPECT_EQ(payload.bytes.substr(0, 4), std::string("C\0:\0", 4));
    EXPECT_EQ(payload.bytes.substr(6, 2), std::string("\x36\x04", 2));
    EXPECT_EQ(DecodeHandoffPayload(1, payload.bytes.data(), payload.bytes.size()), text);
}

TEST(HandoffPayload, ForeignOrBrokenPayloadsAreRefused) {
    const std::string bytes = "C:\\a.txt";
    EXPECT_EQ(DecodeHandoffPayload(2, bytes.data(), bytes.size()), std::nullopt);
    EXPECT_EQ(DecodeHandoffPayload(0, bytes.data(), 0), std::nullopt);
    EXPECT_EQ(DecodeHandoffPayload(0, nullptr, 8), std::nullopt);
    EXPECT_EQ(DecodeHandoffPayload(1, bytes.data(), 7), std::nullopt);
}

TEST(HandoffPayload, NoMoreThanACommandLineHoldsIsTakenIn) {
    // 32767 ANSI bytes or UTF-16 units, the most a command line holds.
    const std::string ansi(kHandoffMaxUnits + 1, 'a');
    EXPECT_EQ(DecodeHandoffPayload(0, ansi.data(), kHandoffMaxUnits)->size(), kHandoffMaxUnits);
    EXPECT_EQ(DecodeHandoffPayload(0, ansi.data(), ansi.size()), std::nullopt);
    const std::string utf16((kHandoffMaxUnits + 1) * 2, 'a');
    EXPECT_EQ(DecodeHandoffPayload(1, utf16.data(), kHandoffMaxUnits * 2)->size(), kHandoffMaxUnits);
    EXPECT_EQ(DecodeHandoffPayload(1, utf16.data(), utf16.size()), std::nullopt);

    // The longest command line goes as its ANSI bytes, byte for byte.
    const std::wstring longest(kHandoffMaxUnits, L'a');
    const HandoffPayload payload = BuildHandoffPayload(longest);
    EXPECT_EQ(payload.dwData, 0u);
    EXPECT_EQ(payload.bytes, std::string(kHandoffMaxUnits, 'a'));
}

}  // namespace
}  // namespace ferryl

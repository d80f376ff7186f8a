#include "app/handoff_payload.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(HandoffPayload, AnsiTextTravelsAsItsAnsiBytes) {
    HandoffPayload payload = BuildHandoffPayload(L"\"C:\\a b.txt\" C:\\caf\u00e9.txt");
    EXPECT_EQ(payload.dwData, 0u);
    EXPECT_EQ(payload.bytes, "\"C:\\a b.txt\" C:\\caf\xe9.txt");
    EXPECT_EQ(DecodeHandoffPayload(payload.dwData, payload.bytes.data(), payload.bytes.size()),
              L"\"C:\\a b.txt\" C:\\caf\u00e9.txt");
}

TEST(HandoffPayload, EmptyCommandLineIsOneZeroByte) {
    HandoffPayload payload = BuildHandoffPayload(L"");
    EXPECT_EQ(payload.dwData, 0u);
    EXPECT_EQ(payload.bytes, std::string(1, '\0'));
    EXPECT_EQ(DecodeHandoffPayload(0, payload.bytes.data(), 1), std::wstring(1, L'\0'));
}

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
    const std::string large(kHandoffMaxBytes + 1, 'a');
    EXPECT_EQ(DecodeHandoffPayload(0, large.data(), large.size()), std::nullopt);
    EXPECT_TRUE(DecodeHandoffPayload(0, large.data(), kHandoffMaxBytes).has_value());
}

}  // namespace
}  // namespace ferryl

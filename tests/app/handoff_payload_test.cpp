#include "app/handoff_payload.h"

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
    const std::string large(kHandoffMaxBytes + 1, 'a');
    EXPECT_EQ(DecodeHandoffPayload(0, large.data(), large.size()), std::nullopt);
    EXPECT_TRUE(DecodeHandoffPayload(0, large.data(), kHandoffMaxBytes).has_value());
}

}  // namespace
}  // namespace ferryl

// The handoff payload with the system's ANSI code page (Windows-1252 in the test prefix).

#include "app/handoff_text.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(HandoffText, TheCodePageDecidesBetweenAnsiAndUtf16AndZeroBytesComeBackAsNuls) {
    const std::wstring western = L"C:\\caf\u00e9 1.txt";
    const HandoffPayload ansi = BuildHandoffPayload(western);
    EXPECT_EQ(ansi.dwData, kHandoffAnsi);
    EXPECT_EQ(ansi.bytes, "C:\\caf\xe9 1.txt");
    EXPECT_EQ(ReceivedCommandLine(ansi.dwData, ansi.bytes.data(), ansi.bytes.size()), western);

    const std::wstring foreign = L"C:\\\u0436 \u4e2d.txt";
    const HandoffPayload utf16 = BuildHandoffPayload(foreign);
    EXPECT_EQ(utf16.dwData, kHandoffUtf16);
    EXPECT_EQ(utf16.bytes.size(), foreign.size() * 2);
    EXPECT_EQ(ReceivedCommandLine(utf16.dwData, utf16.bytes.data(), utf16.bytes.size()), foreign);

    const std::string zeros("a\0b", 3);
    EXPECT_EQ(ReceivedCommandLine(kHandoffAnsi, zeros.data(), zeros.size()), std::wstring(L"a\0b", 3));
}

}  // namespace
}  // namespace ferryl

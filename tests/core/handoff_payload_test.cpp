#include "core/handoff_payload.h"

#include <gtest/gtest.h>

#include "core/utf16.h"

namespace ferryl {
namespace {

using namespace std::string_literals;

std::optional<HandoffContent> Decode(std::uintptr_t tag, const std::string& bytes) {
    return DecodeHandoffPayload(tag, bytes.data(), bytes.size());
}

TEST(HandoffPayload, AnsiTravelsAsItsBytesAndComesBackUnread) {
    const HandoffPayload payload = EncodeHandoffPayload(L"C:\\a b.txt", "C:\\a b.txt"s);
    EXPECT_EQ(payload.dwData, kHandoffAnsi);
    EXPECT_EQ(payload.bytes, "C:\\a b.txt");
    // The empty command line is a single zero byte, as a payload cannot be empty.
    EXPECT_EQ(EncodeHandoffPayload(L"", ""s).bytes, "\0"s);
    EXPECT_EQ(EncodeHandoffPayload(L"", std::nullopt).bytes, "\0"s);
    // Received bytes are the code page's to read, zero bytes and all.
    EXPECT_EQ(Decode(kHandoffAnsi, "C:\\\xE9\0x"s), HandoffContent("C:\\\xE9\0x"s));
}

TEST(HandoffPayload, TextOutsideTheCodePageTravelsAsUtf16LittleEndian) {
    // U+0436 and, beyond the BMP, U+1F600: a surrogate pair whatever the width of wchar_t.
    const std::wstring text = L"C:\\\u0436\U0001F600";
    const HandoffPayload payload = EncodeHandoffPayload(text, std::nullopt);
    EXPECT_EQ(payload.dwData, kHandoffUtf16);
    EXPECT_EQ(payload.bytes, "C\0:\0\\\0\x36\x04\x3D\xD8\x00\xDE"s);
    EXPECT_EQ(Decode(kHandoffUtf16, payload.bytes), HandoffContent(text));
    EXPECT_EQ(EncodeHandoffPayload(L"\U00010000", std::nullopt).bytes, "\x00\xD8\x00\xDC"s)
        << "the first beyond the BMP";
}

TEST(HandoffPayload, LoneSurrogatesComeBackAsTheyWent) {
    // A lone high surrogate, then a lone low one after a letter: both kept, byte for byte.
    const std::string bytes =
        "\x00\xD8"
        "a\0"
        "\x00\xDC"s;
    const std::optional<HandoffContent> content = Decode(kHandoffUtf16, bytes);
    ASSERT_TRUE(content);
    const std::wstring& text = std::get<std::wstring>(*content);
    EXPECT_EQ(text, (std::wstring{static_cast<wchar_t>(0xD800), L'a', static_cast<wchar_t>(0xDC00)}));
    EXPECT_EQ(EncodeHandoffPayload(text, std::nullopt).bytes, bytes);

    // A high surrogate that ends the payload stays alone, though the bytes after the payload would
    // make it a pair; the same with an odd last byte.
    const std::string pair = "a\0\x01\xD8\x00\xDC"s;
    const std::wstring lone{L'a', static_cast<wchar_t>(0xD801)};
    EXPECT_EQ(DecodeHandoffPayload(kHandoffUtf16, pair.data(), 4), HandoffContent(lone));
    EXPECT_EQ(WideFromUtf16Le(std::string_view(pair).substr(0, 5)), lone);
}

TEST(HandoffPayload, ForeignOrBrokenPayloadsAreRefused) {
    const std::string bytes = "C:\\a.txt";
    EXPECT_EQ(Decode(2, bytes), std::nullopt);
    EXPECT_EQ(DecodeHandoffPayload(kHandoffAnsi, bytes.data(), 0), std::nullopt);
    EXPECT_EQ(DecodeHandoffPayload(kHandoffAnsi, nullptr, 8), std::nullopt);
    EXPECT_EQ(DecodeHandoffPayload(kHandoffUtf16, bytes.data(), 7), std::nullopt);
}

TEST(HandoffPayload, NoMoreThanACommandLineHoldsIsTakenIn) {
    // 32767 ANSI bytes or UTF-16 units, the most a command line holds.
    const std::string ansi(kHandoffMaxUnits + 1, 'a');
    EXPECT_EQ(std::get<std::string>(*DecodeHandoffPayload(kHandoffAnsi, ansi.data(), kHandoffMaxUnits)).size(),
              kHandoffMaxUnits);
    EXPECT_EQ(Decode(kHandoffAnsi, ansi), std::nullopt);
    const std::string utf16((kHandoffMaxUnits + 1) * 2, 'a');
    EXPECT_EQ(std::get<std::wstring>(*DecodeHandoffPayload(kHandoffUtf16, utf16.data(), kHandoffMaxUnits * 2)).size(),
              kHandoffMaxUnits);
    EXPECT_EQ(Decode(kHandoffUtf16, utf16), std::nullopt);

    // The longest command line goes as its ANSI bytes; a longer ANSI form (a double-byte code page)
    // goes as UTF-16.
    const std::wstring longest(kHandoffMaxUnits, L'a');
    EXPECT_EQ(EncodeHandoffPayload(longest, std::string(kHandoffMaxUnits, 'a')).dwData, kHandoffAnsi);
    const HandoffPayload doubled = EncodeHandoffPayload(longest, std::string(kHandoffMaxUnits + 1, 'a'));
    EXPECT_EQ(doubled.dwData, kHandoffUtf16);
    EXPECT_EQ(doubled.bytes.size(), kHandoffMaxUnits * 2);
}

}  // namespace
}  // namespace ferryl

#include "common/tagged_value.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "support/dates.h"

namespace ferryl {
namespace {

using test::DateValue;

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[16] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
    return buffer;
}

// The file list's pictures and the text of numbers under every locale the suite runs with, the
// separators the system's.
TEST(TaggedValue, PicturesAndNumbersFollowTheLocale) {
    const std::wstring dateSep = LocaleText(LOCALE_SDATE), thousands = LocaleText(LOCALE_STHOUSAND);
    EXPECT_EQ(DateValue(2026, 1, 5, 13, 7, 59).Format(L"dd/mm/yy hh:mm"),
              L"05" + dateSep + L"01" + dateSep + L"26 13:07");
    const std::wstring sizePicture = L"#,###,###,##0";
    EXPECT_EQ(TaggedValue(0).Format(sizePicture) + TaggedValue(999).Format(sizePicture), L"0999");
    // A file over 4 GiB: sizes do not wrap at 32 bits.
    EXPECT_EQ(TaggedValue(5000000000LL).Format(sizePicture),
              L"5" + thousands + L"000" + thousands + L"000" + thousands + L"000");
}

TEST(TaggedValue, ConversionsFollowVisualBasicAndWhatCannotConvertIsATypeMismatch) {
    EXPECT_DOUBLE_EQ(TaggedValue(L" 42 ").ToNumber(), 42.0);
    EXPECT_FALSE(TaggedValue(L"4x2").IsNumeric());
    // A date at midnight shows no time, like CStr of a date, and its text reads back as the date.
    const TaggedValue midnight = DateValue(2026, 3, 4);
    EXPECT_EQ(midnight.ToText().find(L':'), std::wstring::npos);
    EXPECT_NE(DateValue(2026, 3, 4, 10, 30).ToText().find(L':'), std::wstring::npos);
    EXPECT_DOUBLE_EQ(TaggedValue(midnight.ToText()).ToDate().value, midnight.ToDate().value);
    EXPECT_TRUE(TaggedValue(L"2026-03-04 10:30").IsDate());
    EXPECT_FALSE(TaggedValue(45000).IsDate());
    for (const auto& convert : std::initializer_list<void (*)()>{
             [] { TaggedValue(L"abc").ToNumber(); }, [] { TaggedValue(L"abc").ToDate(); },
             [] { TaggedValue::Missing().ToNumber(); }, [] { TaggedValue(std::make_shared<Object>()).ToText(); },
             [] { TaggedValue::Missing().Format(L"0"); }})
        EXPECT_THROW(convert(), Error);
}

TEST(TaggedValue, ComparisonPutsNumbersBeforeTextsAndEmptyBesideEither) {
    // Each value is below the next: texts compare as texts, binary, and a number is below any text.
    const TaggedValue ordered[] = {TaggedValue(9),        TaggedValue(10),       TaggedValue(100),
                                   DateValue(2020, 1, 1), DateValue(2020, 1, 2), TaggedValue(L"1"),
                                   TaggedValue(L"10"),    TaggedValue(L"9"),     TaggedValue(L"Z"),
                                   TaggedValue(L"a"),     TaggedValue(L"z"),     TaggedValue(L"\u00e9")};
    for (size_t i = 1; i < std::size(ordered); ++i)
        EXPECT_TRUE(Compare(ordered[i - 1], ordered[i]) < 0) << i;
    EXPECT_TRUE(Compare(TaggedValue(), TaggedValue(-1)) > 0 && Compare(TaggedValue(L""), TaggedValue(5)) > 0);
    EXPECT_TRUE(TaggedValue() == TaggedValue(0) && TaggedValue(L"") == TaggedValue() &&
                TaggedValue(true) == TaggedValue(-1));
    EXPECT_THROW((void)Compare(TaggedValue::Missing(), TaggedValue(1)), Error);
}

}  // namespace
}  // namespace ferryl

#include "common/tagged_value.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "support/dates.h"

namespace ferryl {
namespace {

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[16] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
    return buffer;
}

template <typename F>
long ErrorNumberOf(F action) {
    try {
        action();
    } catch (const Error& error) {
        return error.Number();
    }
    return 0;
}

// Guards the locale-dependent cases below: the locale Wine took from LANG is the one asked for.
TEST(TaggedValueLocale, SystemLocaleFollowsLang) {
    wchar_t lang[64] = {};
    ::GetEnvironmentVariableW(L"LANG", lang, 64);
    std::wstring requested = lang;
    if (requested.rfind(L"de_DE", 0) == 0) {
        EXPECT_EQ(LocaleText(LOCALE_STHOUSAND), L".");
        EXPECT_EQ(LocaleText(LOCALE_SDECIMAL), L",");
        EXPECT_EQ(LocaleText(LOCALE_SDATE), L".");
    } else if (requested.rfind(L"en_US", 0) == 0) {
        EXPECT_EQ(LocaleText(LOCALE_STHOUSAND), L",");
        EXPECT_EQ(LocaleText(LOCALE_SDATE), L"/");
    } else {
        GTEST_SKIP() << "no expectation for this LANG";
    }
}

// These run under every locale the suite is started with; the separators come from the system.
TEST(TaggedValueLocale, FileListPicturesUseTheLocaleSeparators) {
    std::wstring dateSep = LocaleText(LOCALE_SDATE);
    std::wstring thousands = LocaleText(LOCALE_STHOUSAND);
    EXPECT_EQ(test::DateValue(2026, 1, 5, 13, 7, 59).Format(L"dd/mm/yy hh:mm"),
              L"05" + dateSep + L"01" + dateSep + L"26 13:07");
    EXPECT_EQ(test::DateValue(1999, 12, 31).Format(L"dd/mm/yy hh:mm"), L"31" + dateSep + L"12" + dateSep + L"99 00:00");

    const std::wstring sizePicture = L"#,###,###,##0";
    EXPECT_EQ(TaggedValue(0).Format(sizePicture), L"0");
    EXPECT_EQ(TaggedValue(999).Format(sizePicture), L"999");
    EXPECT_EQ(TaggedValue(1000).Format(sizePicture), L"1" + thousands + L"000");
    EXPECT_EQ(TaggedValue(1234567890LL).Format(sizePicture),
              L"1" + thousands + L"234" + thousands + L"567" + thousands + L"890");
    // A file over 4 GiB: sizes do not wrap at 32 bits.
    EXPECT_EQ(TaggedValue(5000000000LL).Format(sizePicture),
              L"5" + thousands + L"000" + thousands + L"000" + thousands + L"000");
}

TEST(TaggedValueLocale, TextAndNumbersConvertWithTheLocaleDecimalSeparator) {
    std::wstring decimal = LocaleText(LOCALE_SDECIMAL);
    EXPECT_EQ(TaggedValue(12.5).ToText(), L"12" + decimal + L"5");
    EXPECT_DOUBLE_EQ(TaggedValue(L"12" + decimal + L"5").ToNumber(), 12.5);
    EXPECT_EQ(TaggedValue(-3).ToText(), L"-3");
}

TEST(TaggedValue, KindsAndTheMissingMarker) {
    EXPECT_TRUE(TaggedValue().IsEmpty());
    EXPECT_TRUE(TaggedValue::Missing().IsMissing());
    EXPECT_TRUE(TaggedValue::Missing().IsError());
    EXPECT_FALSE(TaggedValue(ErrorValue{5}).IsMissing());
    auto object = std::make_shared<Object>();
    TaggedValue held(object);
    EXPECT_TRUE(held.IsObject());
    EXPECT_EQ(held.ObjectValue(), object);
    EXPECT_TRUE(held.Identical(TaggedValue(object)));
    EXPECT_FALSE(held.Identical(TaggedValue(std::make_shared<Object>())));
}

TEST(TaggedValue, ConversionsFollowVisualBasic) {
    EXPECT_EQ(TaggedValue().ToText(), L"");
    EXPECT_EQ(TaggedValue(true).ToText(), L"True");
    EXPECT_EQ(TaggedValue(false).ToText(), L"False");
    EXPECT_EQ(TaggedValue(1234567).ToText(), L"1234567");
    EXPECT_DOUBLE_EQ(TaggedValue().ToNumber(), 0.0);
    EXPECT_DOUBLE_EQ(TaggedValue(true).ToNumber(), -1.0);
    EXPECT_DOUBLE_EQ(TaggedValue(L" 42 ").ToNumber(), 42.0);
    EXPECT_TRUE(TaggedValue(L"42").IsNumeric());
    EXPECT_FALSE(TaggedValue(L"4x2").IsNumeric());
    EXPECT_TRUE(TaggedValue(L"true").ToBoolean());
    EXPECT_FALSE(TaggedValue(L"0").ToBoolean());

    // A date at midnight shows no time, like CStr of a date.
    TaggedValue midnight = test::DateValue(2026, 3, 4);
    EXPECT_EQ(midnight.ToText().find(L':'), std::wstring::npos);
    EXPECT_NE(test::DateValue(2026, 3, 4, 10, 30).ToText().find(L':'), std::wstring::npos);
    // The date's own text reads back as the same date.
    EXPECT_TRUE(TaggedValue(midnight.ToText()).IsDate());
    EXPECT_DOUBLE_EQ(TaggedValue(midnight.ToText()).ToDate().value, midnight.ToDate().value);
    EXPECT_TRUE(TaggedValue(L"2026-03-04 10:30").IsDate());
    EXPECT_FALSE(TaggedValue(L"not a date").IsDate());
    EXPECT_FALSE(TaggedValue(45000).IsDate());
    EXPECT_DOUBLE_EQ(TaggedValue(45000).ToDate().value, 45000.0);
}

TEST(TaggedValue, WhatCannotBeConvertedIsATypeMismatch) {
    EXPECT_EQ(ErrorNumberOf([] { TaggedValue(L"abc").ToNumber(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { TaggedValue(L"abc").ToDate(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { TaggedValue::Missing().ToNumber(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { TaggedValue(std::make_shared<Object>()).ToText(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { TaggedValue(5).Text(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { TaggedValue::Missing().Format(L"0"); }), kErrTypeMismatch);
}

TEST(TaggedValue, ComparisonPutsNumbersBeforeTextsAndEmptyBesideEither) {
    EXPECT_TRUE(Compare(TaggedValue(9), TaggedValue(10)) < 0);
    EXPECT_TRUE(Compare(TaggedValue(L"10"), TaggedValue(L"9")) < 0);  // texts compare as texts
    EXPECT_TRUE(Compare(TaggedValue(100), TaggedValue(L"1")) < 0);    // a number is below any text
    EXPECT_TRUE(Compare(TaggedValue(L""), TaggedValue(5)) > 0);
    EXPECT_TRUE(Compare(TaggedValue(L"A"), TaggedValue(L"a")) < 0);  // binary: upper case first
    EXPECT_TRUE(Compare(TaggedValue(L"Z"), TaggedValue(L"a")) < 0);
    EXPECT_TRUE(Compare(TaggedValue(L"z"), TaggedValue(L"\u00e9")) < 0);
    EXPECT_TRUE(TaggedValue() == TaggedValue(0));
    EXPECT_TRUE(TaggedValue() == TaggedValue(L""));
    EXPECT_TRUE(Compare(TaggedValue(), TaggedValue(1)) < 0);
    EXPECT_TRUE(Compare(TaggedValue(), TaggedValue(-1)) > 0);
    EXPECT_TRUE(TaggedValue(true) == TaggedValue(-1));
    EXPECT_TRUE(Compare(test::DateValue(2020, 1, 1), test::DateValue(2020, 1, 2)) < 0);
    EXPECT_TRUE(TaggedValue(2.0) == TaggedValue(2));
    EXPECT_EQ(ErrorNumberOf([] { (void)Compare(TaggedValue::Missing(), TaggedValue(1)); }), kErrTypeMismatch);
}

TEST(TaggedValue, VariantRoundTrip) {
    for (const TaggedValue& value :
         {TaggedValue(), TaggedValue(true), TaggedValue(2.5), test::DateValue(2001, 2, 3, 4, 5, 6),
          TaggedValue(L"text \u00e9"), TaggedValue::Missing()}) {
        VARIANT variant = value.ToVariant();
        EXPECT_TRUE(TaggedValue::FromVariant(variant).Identical(value));
        ::VariantClear(&variant);
    }
    VARIANT integer;
    ::VariantInit(&integer);
    V_VT(&integer) = VT_I4;
    V_I4(&integer) = -7;
    EXPECT_DOUBLE_EQ(TaggedValue::FromVariant(integer).ToNumber(), -7.0);
}

}  // namespace
}  // namespace ferryl

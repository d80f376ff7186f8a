#include "common/error.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(Error, CarriesNumberSourceAndDescription) {
    try {
        throw Error(kErrSubscriptOutOfRange, ErrorSource(L"MoskGrid"), L"Invalid Row Index");
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), 9);
        // The source starts with the running executable's base name.
        EXPECT_EQ(error.Source(), L"common_tests.MoskGrid");
        EXPECT_EQ(error.Description(), L"Invalid Row Index");
        EXPECT_STREQ(error.what(), "common_tests.MoskGrid: error 9: Invalid Row Index");
    }
}

}  // namespace
}  // namespace ferryl

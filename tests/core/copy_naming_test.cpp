#include "core/copy_naming.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(CopyTargetPath, PlainNameThenNameDotCounter) {
    EXPECT_EQ(CopyTargetPath(L"C:\\dest\\", L"report.doc", 0), L"C:\\dest\\report.doc");
    EXPECT_EQ(CopyTargetPath(L"C:\\dest\\", L"report.doc", 2), L"C:\\dest\\report.doc.2");
    // A drive root chosen with the folder browser ends in two backslashes; used unchanged.
    EXPECT_EQ(CopyTargetPath(L"C:\\\\", L"a", 1), L"C:\\\\a.1");
}

}  // namespace
}  // namespace ferryl

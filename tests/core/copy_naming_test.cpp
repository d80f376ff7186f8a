#include "core/copy_naming.h"

#include <gtest/gtest.h>

#include "core/time_left.h"

namespace ferryl {
namespace {

TEST(NumberedName, TheNumberGoesBeforeTheExtensionAsExplorerPutsIt) {
    const struct {
        const wchar_t* name;
        int number;
        const wchar_t* expected;
    } cases[] = {
        {L"Quarterly report.docx", 1, L"Quarterly report.docx"},
        {L"Quarterly report.docx", 2, L"Quarterly report (2).docx"},
        {L"archive.tar.gz", 3, L"archive.tar (3).gz"},
        {L"README", 2, L"README (2)"},
        {L".profile", 2, L".profile (2)"},
        {L"a.", 2, L"a (2)."},
        {L"x.txt", 0, L"x.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberedName(c.name, c.number), c.expected) << c.name << " " << c.number;
}

TEST(TimeLeftText, ThePaceSoFarRoundedUp) {
    const struct {
        uint64_t done, total;
        double seconds;
        const wchar_t* expected;
    } cases[] = {
        {0, 100, 10, L""},                                 // no pace yet
        {50, 100, 1.9, L""},                               // too early to tell
        {50, 100, 2, L"About 5 seconds left"},             // 2 s left, to fives
        {10, 100, 4, L"About 40 seconds left"},            // 36 s
        {1, 100, 2, L"About 4 minutes left"},              // 198 s
        {100, 100, 5, L"About 5 seconds left"},            // done: never "0 seconds"
        {1, 10, 3600, L"About 9 hours left"},              //
        {1, 2, 3700, L"About 1 hour and 2 minutes left"},  // 61.67 minutes
        {1, 2, 59, L"About 1 minute left"},                // 59 s rounds to 60
        {200, 100, 10, L""},                               // more done than there is
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeLeftText(c.done, c.total, c.seconds), c.expected) << c.done << "/" << c.total << " " << c.seconds;
}

}  // namespace
}  // namespace ferryl

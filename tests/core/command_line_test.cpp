#include "core/command_line.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

using Paths = std::vector<std::wstring>;

TEST(ArgumentPart, DropsTheProgramPathAndTheBlanksAfterIt) {
    EXPECT_EQ(ArgumentPart(LR"("C:\Program Files\Ferryl.exe" "C:\a b.txt" C:\c.txt)"), LR"("C:\a b.txt" C:\c.txt)");
    EXPECT_EQ(ArgumentPart(LR"(C:\Ferryl\Ferryl.exe   C:\a.txt  )"), LR"(C:\a.txt  )");
    EXPECT_EQ(ArgumentPart(L"Ferryl.exe\t\tC:\\a.txt"), L"C:\\a.txt");
    EXPECT_EQ(ArgumentPart(LR"("C:\Program Files\Ferryl.exe")"), L"");
    EXPECT_EQ(ArgumentPart(LR"("C:\Program Files\Ferryl.exe"C:\a.txt)"), L"C:\\a.txt");
    EXPECT_EQ(ArgumentPart(L"Ferryl.exe   "), L"");
    EXPECT_EQ(ArgumentPart(L""), L"");
    EXPECT_EQ(ArgumentPart(LR"("C:\unclosed quote.exe a)"), L"");
}

TEST(CommandLinePaths, RejoinsQuotedPathsWithBlanks) {
    EXPECT_EQ(CommandLinePaths(LR"("C:\My Docs\a b.txt" C:\x.txt)"),
              (Paths{LR"(C:\My Docs\a b.txt)", L"", L"", LR"(C:\x.txt)"}));
    // Two blanks inside a path survive as two blanks.
    EXPECT_EQ(CommandLinePaths(LR"("C:\a  b.txt")"), (Paths{LR"(C:\a  b.txt)", L"", L""}));
}

TEST(CommandLinePaths, NetworkPathsBeginPathsOfTheirOwn) {
    EXPECT_EQ(CommandLinePaths(LR"(C:\a.txt \\srv\share\b.txt "\\srv\share\c d.txt")"),
              (Paths{LR"(C:\a.txt)", LR"(\\srv\share\b.txt)", LR"(\\srv\share\c d.txt)", L""}));
}

TEST(CommandLinePaths, RelativePiecesAreGluedToThePathBefore) {
    EXPECT_EQ(CommandLinePaths(LR"(C:\a.txt rel\b.txt)"), (Paths{LR"(C:\a.txt rel\b.txt)", L""}));
    // The first token is never merged into anything, even when it is no path.
    EXPECT_EQ(CommandLinePaths(LR"(rel.txt C:\a.txt)"), (Paths{L"rel.txt", LR"(C:\a.txt)"}));
}

TEST(CommandLinePaths, EmptyTextAndSingleNul) {
    EXPECT_EQ(CommandLinePaths(L""), (Paths{L""}));
    EXPECT_EQ(CommandLinePaths(std::wstring(1, L'\0')), (Paths{std::wstring(1, L'\0')}));
    EXPECT_EQ(SplitAtBlanks(L" "), (Paths{L"", L""}));
}

}  // namespace
}  // namespace ferryl

// The rules of the main window that need no window.

#include <gtest/gtest.h>

#include "core/window_rules.h"

namespace ferryl {
namespace {

TEST(ResizeRule, SnapsOnlyWhatIsBelowTheMinimum) {
    const Size minimum{400, 200};
    EXPECT_FALSE(SnappedSize({400, 200}, minimum));
    EXPECT_EQ(SnappedSize({399, 500}, minimum), (Size{400, 500}));
    EXPECT_EQ(SnappedSize({800, 10}, minimum), (Size{800, 200}));
    EXPECT_EQ(SnappedSize({0, 0}, minimum), minimum);
}

TEST(ResizeRule, ListFillsAboveTheStatusLineAndThePanelAndSendNowKeepsItsMargin) {
    const MainLayout layout = LayOut({500, 300}, 73, 20, 65, 7);
    EXPECT_EQ(layout.lista, (Rect{0, 0, 500, 207}));
    EXPECT_EQ(layout.status, (Rect{0, 207, 500, 20}));
    EXPECT_EQ(layout.panel, (Rect{0, 227, 500, 73}));
    EXPECT_EQ(layout.sendNowLeft + 65 + 7, 500);
    // A client area lower than the panel leaves the list and the line empty rather than negative.
    const MainLayout low = LayOut({500, 80}, 73, 20, 65, 7);
    EXPECT_EQ(low.lista.height, 0);
    EXPECT_EQ(low.status, (Rect{0, 0, 500, 7}));
    EXPECT_EQ(LayOut({500, 50}, 73, 20, 65, 7).status.height, 0);
}

TEST(Placement, TheWindowIsMovedAndShrunkIntoTheWorkArea) {
    const Rect area{-1280, 40, 1280, 984};
    struct Case {
        Rect window, placed;
    } cases[] = {
        {{-1000, 100, 640, 480}, {-1000, 100, 640, 480}},   // inside: unchanged
        {{3000, 2000, 640, 480}, {-640, 544, 640, 480}},    // beyond the right and bottom edges
        {{-30000, -500, 640, 480}, {-1280, 40, 640, 480}},  // beyond the left and top edges
        {{-1290, 30, 2000, 1500}, {-1280, 40, 1280, 984}},  // larger than the area
        {{-300, 900, 2000, 100}, {-1280, 900, 1280, 100}},  // wider only
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacedInside(c.window, area), c.placed) << c.window.left << ", " << c.window.top;
}

TEST(WindowCount, ClosingEndsTheProgramOnlyWithoutAThirdWindow) {
    EXPECT_TRUE(ClosingEndsProgram(1));
    EXPECT_TRUE(ClosingEndsProgram(2));
    EXPECT_FALSE(ClosingEndsProgram(3));
}

TEST(SavedGeometry, WritesStateOnlyWhenMinimisedOrMaximised) {
    const Rect twips{-15, 30, 6000, 3000};
    using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(GeometryToSave(WindowState::Maximized, twips), (Pairs{{L"WindowState", L"2"}}));
    EXPECT_EQ(GeometryToSave(WindowState::Minimized, twips), (Pairs{{L"WindowState", L"1"}}));
    EXPECT_EQ(GeometryToSave(WindowState::Normal, twips), (Pairs{{L"WindowState", L"0"},
                                                                 {L"WindowHeight", L"3000"},
                                                                 {L"WindowWidth", L"6000"},
                                                                 {L"WindowTop", L"30"},
                                                                 {L"WindowLeft", L"-15"}}));
}

TEST(SavedGeometry, OnlyWholeNumbersAreApplied) {
    const SavedGeometry saved = ParseGeometry(L"", L"-120", L" \t4500\t ", L"+7000");
    EXPECT_FALSE(saved.top);
    EXPECT_EQ(saved.left, -120);
    EXPECT_EQ(saved.height, 4500);
    EXPECT_EQ(saved.width, 7000);
    // Not a finite whole number: the designed value stays.
    for (const wchar_t* text : {L"abc", L"nan", L"inf", L"1e400", L"1e3", L"7000.4", L"12abc", L"0x10", L"-", L"  ",
                                L"\t", L"1 2", L"1\t2", L"--5"}) {
        EXPECT_FALSE(ParseGeometry(text, text, text, text).top) << text;
    }
    // Far off-screen values are applied, held where the window functions' int still holds them.
    EXPECT_EQ(ParseGeometry(L"99999999999999999999", L"", L"", L"").top, 1000000000L);
    EXPECT_EQ(ParseGeometry(L"-99999999999999999999", L"", L"", L"").top, -1000000000L);
    EXPECT_EQ(ParseWindowState(L"2"), WindowState::Maximized);
    EXPECT_EQ(ParseWindowState(L"1"), WindowState::Minimized);
    EXPECT_EQ(ParseWindowState(L""), WindowState::Normal);
    EXPECT_EQ(ParseWindowState(L"3"), WindowState::Normal);
}

}  // namespace
}  // namespace ferryl

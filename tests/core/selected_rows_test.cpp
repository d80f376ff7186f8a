// The list of rows that hold a selected cell, as rows are inserted, removed, cut off and reordered.

#include <gtest/gtest.h>

#include "core/selected_rows.h"

namespace ferryl {
namespace {

using Rows = std::vector<long>;

TEST(SelectedRows, ListsEachRowOnceInAscendingOrder) {
    SelectedRows rows;
    for (long row : {5L, 2L, 9L, 5L, 2L, 7L, 9L})
        rows.Add(row);
    EXPECT_EQ(rows.Rows(), (Rows{2, 5, 7, 9}));
    EXPECT_EQ(rows.Take(), (Rows{2, 5, 7, 9}));
    EXPECT_TRUE(rows.Rows().empty()) << "taken rows are forgotten";
}

TEST(SelectedRows, FollowsTheRowsTheyNameAcrossInsertsAndRemovals) {
    SelectedRows rows;
    for (long row : {1L, 4L, 6L})
        rows.Add(row);
    rows.RowInserted(4);  // before row 4: rows 4 and 6 move down, row 1 stays
    EXPECT_EQ(rows.Rows(), (Rows{1, 5, 7}));
    rows.RowInserted(8);  // below every listed row
    EXPECT_EQ(rows.Rows(), (Rows{1, 5, 7}));
    rows.RowRemoved(5);  // a listed row goes; the one below moves up
    EXPECT_EQ(rows.Rows(), (Rows{1, 6}));
    rows.RowRemoved(2);  // an unlisted row above a listed one
    EXPECT_EQ(rows.Rows(), (Rows{1, 5}));
    rows.RowRemoved(1);  // the first row
    EXPECT_EQ(rows.Rows(), (Rows{4}));
    rows.RowsCutAfter(4);
    EXPECT_EQ(rows.Rows(), (Rows{4})) << "the last row that remains stays";
    rows.RowsCutAfter(3);
    EXPECT_TRUE(rows.Rows().empty());
}

TEST(SelectedRows, RebuildsFromTheRowsAfterAReorder) {
    SelectedRows rows;
    rows.Add(3);
    const bool selected[] = {false, true, false, false, true};  // rows 1..5
    rows.Rebuild(5, [&](long row) { return selected[row - 1]; });
    EXPECT_EQ(rows.Rows(), (Rows{2, 5}));
    rows.Clear();
    EXPECT_TRUE(rows.Rows().empty());
}

}  // namespace
}  // namespace ferryl

#pragma once
// A grid model built as MoskGrid builds its own, with a cell that holds only the flags the model
// uses, and the user's actions as the window hands them to the model.

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

#include "core/grid_model.h"

namespace ferryl {

inline void PrintTo(const GridCursor& cursor, std::ostream* out) {
    *out << "(" << cursor.row << ", " << cursor.column << ")";
}

namespace test {

struct TestCell {
    bool bSelected = false;
    bool bDirty = true;
};

using TestModel = GridModel<TestCell>;

inline constexpr long kRowHeight = 20;
inline constexpr long kColumnWidth = 50;

// `rows` rows 20 pixels high and `columns` columns 50 pixels wide, all shown.
inline TestModel MakeModel(long rows, long columns) {
    TestModel model;
    for (long c = 1; c <= columns; ++c) {
        tGridColumn column;
        column.lWidth = kColumnWidth;
        model.InsertColumn(c, column, TestCell{});
    }
    model.GrowRows(rows, kRowHeight, [columns] { return TestModel::CellRow(static_cast<size_t>(columns)); });
    return model;
}

// A shown row of the given height.
inline tGridRow NewRow(long height = kRowHeight) {
    tGridRow row;
    row.lHeight = height;
    return row;
}

inline void HideColumn(TestModel& model, long position) {
    model.Column(position).bVisible = false;
    model.SetColumnWidth(position, model.Column(position).lWidth);
}

using Cells = std::vector<std::pair<long, long>>;

// The cells whose flag is set, row by row.
inline Cells CellsWith(const TestModel& model, bool TestCell::*flag) {
    Cells cells;
    for (long r = 1; r <= model.Rows(); ++r)
        for (long c = 1; c <= model.Columns(); ++c)
            if (model.CellAt(r, c).*flag)
                cells.emplace_back(r, c);
    return cells;
}
inline Cells SelectedCells(const TestModel& model) {
    return CellsWith(model, &TestCell::bSelected);
}

// The window paints after every key and click, and the model remembers the current cell then.
class ModelInput {
  public:
    explicit ModelInput(TestModel& model) : m_model(model) {}

    GridAction Key(GridKey key, short shift = 0, GridKeyView view = {200, false, false}) {
        if (key == GridKey::Tab)
            key = TabAsArrow(shift, m_model.RowMode());
        GridAction action = m_model.Key(key, shift, view);
        m_model.RememberPaintedCurrent();
        return action;
    }
    GridAction Click(long row, long column, short shift = 0) {
        GridAction action = m_model.Click(GridCursor{row, column}, shift);
        m_model.RememberPaintedCurrent();
        return action;
    }
    GridCursor Current() const { return m_model.Current(); }
    // The current cell, or the selected cells, after a key or a click.
    GridCursor KeyTo(GridKey key, short shift = 0, GridKeyView view = {200, false, false}) {
        Key(key, shift, view);
        return Current();
    }
    Cells KeySelects(GridKey key, short shift = 0, GridKeyView view = {200, false, false}) {
        Key(key, shift, view);
        return SelectedCells(m_model);
    }
    Cells ClickSelects(long row, long column, short shift = 0) {
        Click(row, column, shift);
        return SelectedCells(m_model);
    }

  private:
    TestModel& m_model;
};

}  // namespace test
}  // namespace ferryl

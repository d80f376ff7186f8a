#pragma once
// The grid's shell sort, run over row numbers instead of rows: it decides the order and leaves
// moving the rows themselves to the caller, who can then move each row once. Knows nothing about
// cells or windows, so the ordering rules can be tested on their own.

#include <cstddef>
#include <utility>
#include <vector>

namespace ferryl {

// The first gap of the 3h+1 sequence (1, 4, 13, 40, 121, ...): the largest value below count, and 1
// for counts up to 4.
std::size_t InitialGap(std::size_t count) noexcept;

// Sorts rows 1..count and returns order[position] = the row that ends at that position (order[0] is
// 0, so positions stay 1-based like the grid's rows). inOrder(placed, standing) answers whether
// row `placed` may stand after row `standing`. The steps, including what happens to rows that
// compare equal, are the grid's contract:
// - two rows are exchanged when the first may stand after the second, so two equal rows swap;
// - from three rows on, an insertion pass per gap stops at the first row the placed one may follow.
template <typename InOrder>
std::vector<std::size_t> ShellSortOrder(std::size_t count, InOrder&& inOrder) {
    std::vector<std::size_t> order(count + 1);
    for (std::size_t position = 0; position <= count; ++position)
        order[position] = position;
    if (count < 3) {
        if (count == 2 && inOrder(order[1], order[2]))
            std::swap(order[1], order[2]);
        return order;
    }
    for (std::size_t gap = InitialGap(count); gap >= 1; gap = (gap - 1) / 3) {
        for (std::size_t i = gap + 1; i <= count; ++i) {
            const std::size_t placed = order[i];
            std::size_t target = i;  // where `placed` goes: j + gap in the loop's terms
            while (target > gap) {
                const std::size_t j = target - gap;
                if (inOrder(placed, order[j]))
                    break;
                order[target] = order[j];
                target = j;
            }
            order[target] = placed;
        }
    }
    return order;
}

// Moves table[order[position]] to the end of `sorted` for every position from 0 on, so `sorted`
// ends up as the reordered table and each entry is moved exactly once. Reserve `sorted` first: the
// moves then cannot fail half way, and the caller can swap both of its tables in afterwards.
template <typename Table>
void MoveInOrder(Table& table, const std::vector<std::size_t>& order, Table& sorted) {
    for (std::size_t position = 0; position < order.size(); ++position)
        sorted.push_back(std::move(table[order[position]]));
}

}  // namespace ferryl

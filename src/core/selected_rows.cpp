#include "core/selected_rows.h"

#include <algorithm>
#include <utility>

namespace ferryl {

void SelectedRows::Add(long row) {
    // Selections grow downwards as a rule: appending is the common case and costs nothing.
    if (m_rows.empty() || m_rows.back() < row) {
        m_rows.push_back(row);
        return;
    }
    auto at = std::lower_bound(m_rows.begin(), m_rows.end(), row);
    if (*at != row)
        m_rows.insert(at, row);
}

void SelectedRows::RowInserted(long row) {
    for (auto at = std::lower_bound(m_rows.begin(), m_rows.end(), row); at != m_rows.end(); ++at)
        ++*at;
}

void SelectedRows::RowRemoved(long row) {
    auto at = std::lower_bound(m_rows.begin(), m_rows.end(), row);
    if (at != m_rows.end() && *at == row)
        at = m_rows.erase(at);
    for (; at != m_rows.end(); ++at)
        --*at;
}

void SelectedRows::RowsCutAfter(long lastRow) {
    m_rows.erase(std::upper_bound(m_rows.begin(), m_rows.end(), lastRow), m_rows.end());
}

std::vector<long> SelectedRows::Take() noexcept {
    return std::exchange(m_rows, {});
}

}  // namespace ferryl

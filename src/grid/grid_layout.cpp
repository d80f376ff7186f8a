#include "grid/grid_layout.h"

#include <windows.h>

namespace ferryl {

void RecomputeRowStarts(tGridRowTable& rows, size_t from, size_t to) {
    if (rows.empty())
        return;
    rows[0].lHeight = 0;
    rows[0].lStartY = 0;
    size_t last = to < rows.size() ? to : rows.size() - 1;
    for (size_t r = from < 1 ? 1 : from; r <= last; ++r) {
        const tGridRow& previous = rows[r - 1];
        rows[r].lStartY = previous.lStartY + (previous.bVisible ? previous.lHeight : 0);
    }
}

void RecomputeColumnStarts(std::vector<tGridColumn>& columns) {
    if (columns.empty())
        return;
    columns[0].lWidth = 0;
    columns[0].lStartX = 0;
    for (size_t i = 1; i < columns.size(); ++i) {
        const tGridColumn& previous = columns[i - 1];
        columns[i].lStartX = previous.lStartX + (previous.bVisible ? previous.lWidth : 0);
    }
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    if (text.size() < prefix.size())
        return false;
    // Plain ASCII folds here; anything else goes to the system's ordinal comparison, which upper-cases
    // both sides by the same table for every locale. The key search runs over every row per key
    // press, so the common case must not allocate or call out.
    for (size_t i = 0; i < prefix.size(); ++i) {
        wchar_t a = text[i];
        wchar_t b = prefix[i];
        if (a == b)
            continue;
        if (a >= 0x80 || b >= 0x80) {
            return ::CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                                          static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
        }
        if (a >= L'a' && a <= L'z')
            a = static_cast<wchar_t>(a - L'a' + L'A');
        if (b >= L'a' && b <= L'z')
            b = static_cast<wchar_t>(b - L'a' + L'A');
        if (a != b)
            return false;
    }
    return true;
}

}  // namespace ferryl

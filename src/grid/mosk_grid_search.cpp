// MoskGrid: text as displayed, and the incremental key search over one column. The search's rules
// are the model's (core/key_search.h); the user's letter case and the timer are the system's.

#include <utility>

#include "common/text.h"
#include "grid/mosk_grid.h"

namespace ferryl {
namespace {

// Beyond ASCII, letter case as the system's ordinal comparison folds it: the same table for every
// locale, no allocation.
bool OrdinalEqualNoCase(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool StartsWithTyped(std::wstring_view text, std::wstring_view search) {
    return StartsWithNoCase(text, search, OrdinalEqualNoCase);
}

}  // namespace

std::wstring MoskGrid::CellFormattedText(long lRow, long lCol) const {
    // Unlike the other cell members this one does not validate: out of range gives empty text
    // instead of reading outside the tables.
    if (lRow < 1 || lRow > Rows() || lCol < 1 || lCol > Columns())
        return {};
    // As the painter shows it.
    long position = m_model.PositionOf(lCol);
    return CellShownText(m_model.CellAt(lRow, lCol),
                         position > 0 ? m_model.Column(position).sFmtString : std::wstring());
}

bool MoskGrid::KeySearchCellMatches(long lRow, const std::wstring& search) const {
    const TaggedValue& value = m_model.CellAt(lRow, m_model.KeySearchColumn()).vText;
    if (value.IsError() || value.IsObject())
        return false;
    // Texts are compared in place; other values are converted first.
    if (value.IsText())
        return StartsWithTyped(value.Text(), search);
    return StartsWithTyped(value.ToText(), search);
}

long MoskGrid::FindSearchMatchRow(const std::wstring& sSearchString, bool bLoop, bool bVisibleRowsOnly) const {
    return m_model.FindSearchMatchRow([&](long r) { return KeySearchCellMatches(r, sSearchString); }, bLoop,
                                      bVisibleRowsOnly);
}

void MoskGrid::KeySearchText(const std::wstring& sText) {
    m_model.Search().SetText(sText);
    if (sText.empty() && Hwnd())
        ::KillTimer(Hwnd(), kKeySearchTimer);
    if (m_model.CurrentRowExists())
        m_model.MarkRowDirty(SelectedRow());
    Draw();
}

void MoskGrid::ClearKeySearch() {
    if (!KeySearchText().empty())
        KeySearchText(std::wstring());
}

void MoskGrid::KeySearchTyped(const std::wstring& typed) {
    const long column = m_model.KeySearchColumn();
    if (m_bEditable || !m_bEnabled || column < 1 || column > Columns() || Rows() < 1)
        return;
    if (m_model.Search().PauseEnded(::GetTickCount()))
        ClearKeySearch();
    auto find = [&](const std::wstring& search) {
        return m_model.KeySearchRow(
            search.size(), [&] { return StartsWithTyped(CellFormattedText(SelectedRow(), column), search); },
            [&](long r) { return KeySearchCellMatches(r, search); });
    };
    auto hit = m_model.Search().Next(
        typed, [](const std::wstring& text) { return ToUpper(text); }, find);
    if (hit && hit->text.empty()) {
        KeySearchText(hit->text);
        return;
    }
    // The prefix goes from the screen after the pause, as the next key would start afresh then: the
    // pause starts again with every key, whether it found a row or not, as PauseEnded counts it.
    if (hit || !KeySearchText().empty())
        ::SetTimer(Hwnd(), kKeySearchTimer, kKeySearchPauseMs, nullptr);
    if (!hit)
        return;
    const GridCursor old = m_model.Current();
    m_model.GoToSearchMatch(hit->row, std::move(hit->text));
    FinishNavigation();
    SelectionChangedFrom(old);
}

}  // namespace ferryl

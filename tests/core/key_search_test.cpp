// The key search: letter case, typed characters from every part of Unicode, Backspace, the pause,
// and the rows a typed prefix finds, as the grid runs it.

#include <cwctype>
#include <string>
#include <tuple>
#include <vector>

#include "test_grid.h"

namespace ferryl::test {
namespace {

bool SameUnits(std::wstring_view a, std::wstring_view b) {
    return a == b;
}

// Upper case as the C locale has it: ASCII letters only.
std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// A model of one column of names with the key search on it, typed into as the grid does: each
// UTF-16 unit as WM_CHAR brings it, upper-cased for ASCII (the rest is the system's).
struct SearchGrid {
    explicit SearchGrid(std::vector<std::wstring> names)
        : names(std::move(names)), model(MakeModel(static_cast<long>(this->names.size()), 1)) {
        model.SetKeySearchColumn(1);
        model.SelectCell(1, 1, true);
    }
    void Type(std::u16string units) {
        const auto find = [&](const std::wstring& search) {
            return model.KeySearchRow(
                search.size(), [&] { return Matches(model.Current().row, search); },
                [&](long row) { return Matches(row, search); });
        };
        for (char16_t unit : units) {
            auto typed = model.Search().Typed(static_cast<wchar_t>(unit));
            auto hit = typed ? model.Search().Next(*typed, Upper, find) : std::nullopt;
            if (hit && hit->text.empty())
                model.Search().SetText({});
            else if (hit)
                model.GoToSearchMatch(hit->row, hit->text);
        }
    }
    bool Matches(long row, const std::wstring& search) const {
        return StartsWithNoCase(names[static_cast<size_t>(row - 1)], search, SameUnits);
    }
    std::pair<long, std::wstring> State() const { return {model.Current().row, model.Search().Text()}; }
    std::vector<std::wstring> names;
    TestModel model;
};

using State = std::pair<long, std::wstring>;

TEST(KeySearch, ASCIILettersFoldHereAndTheRestIsTheSystemsComparison) {
    EXPECT_TRUE(StartsWithNoCase(L"ab1", L"AB1", SameUnits));
    EXPECT_FALSE(StartsWithNoCase(L"ab", L"ABC", SameUnits)) << "shorter than the prefix";
    EXPECT_TRUE(StartsWithNoCase(L"anything", L"", SameUnits));
    // Beyond ASCII (from U+0080, in either text) the comparison handed in decides, over the prefix.
    static std::vector<std::wstring> asked;
    const auto folding = [](std::wstring_view a, std::wstring_view b) {
        asked.emplace_back(a);
        return a.size() == b.size() && (a == b || (a == L"\u00e9t\u00e9" && b == L"\u00c9T\u00c9"));
    };
    EXPECT_TRUE(StartsWithNoCase(L"\u00e9t\u00e9 2024", L"\u00c9T\u00c9", folding));
    EXPECT_FALSE(StartsWithNoCase(L"\u00e9t\u00e9", L"\u00c9TA", folding));
    EXPECT_TRUE(StartsWithNoCase(L"\u00e9t\u00e9", L"\u00e9T", folding)) << "equal units need no call";
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"\u00e9t\u00e9", L"\u00e9t\u00e9"}));
    const auto always = [](std::wstring_view, std::wstring_view) { return true; };
    EXPECT_TRUE(StartsWithNoCase(L"\u0080", L"A", always) && StartsWithNoCase(L"A", L"\u0080", always));
    // The letters' ends fold, their neighbours do not.
    EXPECT_TRUE(StartsWithNoCase(L"azAZ", L"AZaz", SameUnits));
    for (const auto& [a, b] : {std::pair{L"`", L"@"}, {L"{", L"["}, {L"@", L"`"}, {L"[", L"{"}})
        EXPECT_FALSE(StartsWithNoCase(a, b, SameUnits)) << a;
}

TEST(KeySearch, TypedLettersFindTheRowAMissKeepsThePrefixAndBackspaceTakesWholeCharacters) {
    SearchGrid grid({L"apple", L"banana", L"blueberry", L"cherry", L"blackberry", L"\U0001F600 smile",
                     L"\U0001F680 rocket", L"\uD55C\uAD6D"});
    // U+1F680 comes as two units and is searched for whole (its first half alone would match the
    // row of U+1F600); Backspace takes it whole. A Hangul syllable is above U+8000.
    for (const auto& [typed, row, text] : std::initializer_list<std::tuple<std::u16string, long, std::wstring>>{
             {u"bl", 3, L"BL"},
             {u"a", 5, L"BLA"},
             {u"x", 5, L"BLA"},        // no "BLAX": the prefix stays as it was, and so does the row
             {u"\b\b", 2, L"B"},       // one letter looks from the next row on, round to the top
             {u"\b\t\r\x1b", 2, L""},  // Tab, Enter and Escape are not typed text
             {u"\U0001F680", 7, L"\U0001F680"},
             {u"\b", 7, L""},
             {u"\uD55C", 8, L"\uD55C"}}) {
        grid.Type(typed);
        EXPECT_EQ(grid.State(), State(row, text)) << grid.names[static_cast<size_t>(row - 1)];
    }
    EXPECT_EQ(SelectedCells(grid.model), (Cells{{8, 1}}));
    EXPECT_EQ(KeySearch::Edited(L"A\U0001F680", L"\b"), L"A");
    EXPECT_EQ(KeySearch::Edited(L"", L"\b"), L"");
    // A second half without its first is dropped, and a first half without its second; the blank is
    // the first character that searches.
    KeySearch search;
    std::wstring typed;  // "|" where a unit gives nothing
    for (const wchar_t unit : {wchar_t(0xDE80), wchar_t(0xD83D), L'x', wchar_t(0xDE80), L' ', L'\x1F'})
        typed += search.Typed(unit).value_or(L"|");
    EXPECT_EQ(typed, L"||x| |");
}

TEST(KeySearch, ThePauseCountsFromTheLastKey) {
    KeySearch search;
    EXPECT_TRUE(search.PauseEnded(5000));
    EXPECT_FALSE(search.PauseEnded(5000 + KeySearch::kPauseMs));
    EXPECT_TRUE(search.PauseEnded(5000 + 2 * KeySearch::kPauseMs + 1));
    search.PauseEnded(0xFFFFFF00u);
    EXPECT_FALSE(search.PauseEnded(0x100u)) << "the tick count wrapped 512 ms later";
}

TEST(KeySearch, TheSearchStartsAfterTheCurrentRowWrapsRoundAndSkipsHiddenRows) {
    SearchGrid grid({L"Abc", L"abd", L"xyz", L"abe"});
    auto find = [&](bool loop, bool visibleOnly) {
        return grid.model.FindSearchMatchRow([&](long row) { return grid.Matches(row, L"AB"); }, loop, visibleOnly);
    };
    grid.model.ClearSelection();
    EXPECT_EQ(find(true, true), 1) << "no current row: from row 1";
    grid.model.SelectCell(1, 1, true);
    EXPECT_EQ(find(true, true), 2);
    EXPECT_EQ(find(false, true), 1) << "without the loop, from the current row";
    grid.model.SelectCell(4, 1, true);
    EXPECT_EQ(find(true, true), 1) << "round to the top";
    grid.model.SetRowVisible(1, false);
    EXPECT_EQ(find(true, true), 2);
    EXPECT_EQ(find(true, false), 1);
    grid.model.SetKeySearchColumn(0);
    EXPECT_EQ(find(true, true), 0) << "no key-search column";
}

}  // namespace
}  // namespace ferryl::test

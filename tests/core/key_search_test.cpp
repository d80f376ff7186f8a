// The key search: letter case, typed characters from every part of Unicode, Backspace, the pause,
// and the rows a typed prefix finds, as the grid runs it.

#include <cwctype>
#include <string>
#include <vector>

#include "test_grid.h"

namespace ferryl::test {
namespace {

// What the system gives the grid for letter case, for ASCII: the rules beyond it are the system's.
std::wstring AsciiUpper(std::wstring text) {
    for (wchar_t& ch : text) {
        if (ch >= L'a' && ch <= L'z')
            ch = static_cast<wchar_t>(ch - L'a' + L'A');
    }
    return text;
}

bool SameUnits(std::wstring_view a, std::wstring_view b) {
    return a == b;
}

// A model of one column of names, with the key search on it, and typing as the grid does it.
class SearchGrid {
  public:
    explicit SearchGrid(std::vector<std::wstring> names)
        : m_names(std::move(names)), m_model(MakeModel(static_cast<long>(m_names.size()), 1)) {
        m_model.SetKeySearchColumn(1);
    }

    // Each UTF-16 unit as WM_CHAR brings it.
    void Type(std::u16string units) {
        for (char16_t unit : units) {
            if (auto typed = m_model.Search().Typed(static_cast<wchar_t>(unit)))
                Search(*typed);
        }
    }
    void Search(const std::wstring& typed) {
        auto find = [&](const std::wstring& search) {
            return m_model.KeySearchRow(
                search.size(), [&] { return Matches(m_model.Current().row, search); },
                [&](long row) { return Matches(row, search); });
        };
        auto hit = m_model.Search().Next(typed, AsciiUpper, find);
        if (!hit)
            return;
        if (hit->text.empty())
            m_model.Search().SetText({});
        else
            m_model.GoToSearchMatch(hit->row, hit->text);
    }
    bool Matches(long row, const std::wstring& search) const {
        return StartsWithNoCase(m_names[static_cast<size_t>(row - 1)], search, SameUnits);
    }

    long Row() const { return m_model.Current().row; }
    const std::wstring& Text() const { return m_model.Search().Text(); }
    TestModel& Model() { return m_model; }

  private:
    std::vector<std::wstring> m_names;
    TestModel m_model;
};

TEST(KeySearch, ASCIILettersFoldHereAndTheRestIsTheSystemsComparison) {
    EXPECT_TRUE(StartsWithNoCase(L"Blueberry", L"BLUE", SameUnits));
    EXPECT_TRUE(StartsWithNoCase(L"ab1", L"AB1", SameUnits));
    EXPECT_FALSE(StartsWithNoCase(L"ab", L"ABC", SameUnits)) << "shorter than the prefix";
    EXPECT_TRUE(StartsWithNoCase(L"anything", L"", SameUnits));
    // Beyond ASCII the comparison handed in decides, over the prefix's length.
    std::vector<std::wstring> asked;
    static std::vector<std::wstring>* record = nullptr;
    record = &asked;
    auto folding = [](std::wstring_view a, std::wstring_view b) {
        record->emplace_back(a);
        return a.size() == b.size() && (a == b || (a == L"\u00e9t\u00e9" && b == L"\u00c9T\u00c9"));
    };
    EXPECT_TRUE(StartsWithNoCase(L"\u00e9t\u00e9 2024", L"\u00c9T\u00c9", folding));
    EXPECT_FALSE(StartsWithNoCase(L"\u00e9t\u00e9", L"\u00c9TA", folding));
    EXPECT_TRUE(StartsWithNoCase(L"\u00e9t\u00e9", L"\u00e9T", folding)) << "equal units need no call";
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"\u00e9t\u00e9", L"\u00e9t\u00e9"}));
    // U+0080 is the first character past ASCII.
    EXPECT_TRUE(StartsWithNoCase(L"\u0080", L"A", [](std::wstring_view, std::wstring_view) { return true; }));
}

TEST(KeySearch, TypedLettersFindTheRowAndAMissKeepsThePrefix) {
    SearchGrid grid({L"apple", L"banana", L"blueberry", L"cherry", L"blackberry"});
    grid.Model().SelectCell(1, 1, true);
    grid.Type(u"bl");
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Text(), L"BL");
    EXPECT_EQ(SelectedCells(grid.Model()), (Cells{{3, 1}}));
    grid.Type(u"a");
    EXPECT_EQ(grid.Row(), 5);
    grid.Type(u"x");  // no "BLAX": the prefix stays as it was, and so does the row
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(grid.Text(), L"BLA");
    grid.Type(u"\b\b");
    EXPECT_EQ(grid.Text(), L"B");
    EXPECT_EQ(grid.Row(), 2) << "one letter looks from the next row on, round to the top";
    grid.Type(u"\b");
    EXPECT_EQ(grid.Text(), L"");
    EXPECT_EQ(grid.Row(), 2);
    // Tab, Enter and Escape are not typed text.
    grid.Type(u"\t\r\x1b");
    EXPECT_EQ(grid.Text(), L"");
}

TEST(KeySearch, TypedCharactersFromEveryPartOfUnicodeFindTheirRows) {
    SearchGrid grid({L"apple", L"\uD55C\uAD6D", L"\U0001F600 smile", L"\U0001F680 rocket"});
    grid.Model().SelectCell(1, 1, true);
    grid.Type(u"\uD55C");  // a Hangul syllable: above U+8000
    EXPECT_EQ(grid.Row(), 2);
    grid.Model().Search().Clear();
    // U+1F680 comes as two units; its first half alone would match the row of U+1F600.
    grid.Type(u"\U0001F680");
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Text(), L"\U0001F680");
    grid.Type(u"\b");  // Backspace takes the whole character
    EXPECT_EQ(grid.Text(), L"");
    // A second half without its first is dropped, and a first half without its second.
    KeySearch search;
    EXPECT_EQ(search.Typed(static_cast<wchar_t>(0xDE80)), std::nullopt);
    EXPECT_EQ(search.Typed(static_cast<wchar_t>(0xD83D)), std::nullopt);
    EXPECT_EQ(search.Typed(L'x'), std::wstring(L"x"));
    EXPECT_EQ(search.Typed(static_cast<wchar_t>(0xDE80)), std::nullopt);
    // The blank is the first character that searches; the control characters before it do not.
    EXPECT_EQ(search.Typed(L' '), std::wstring(L" "));
    EXPECT_EQ(search.Typed(L'\x1F'), std::nullopt);
}

TEST(KeySearch, APrefixTheOwnerSetIsUpperCasedWhenAMissKeepsIt) {
    KeySearch search;
    search.SetText(L"b");
    const auto upper = [](const std::wstring& text) {
        std::wstring result;
        for (const wchar_t c : text)
            result += static_cast<wchar_t>(std::towupper(c));
        return result;
    };
    const auto hit = search.Next(L"x", upper, [](const std::wstring& text) { return text == L"B" ? 2L : 0L; });
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->text, L"B");
    EXPECT_EQ(hit->row, 2);
}

TEST(KeySearch, BackspaceTakesAWholeCharacterAndThePauseStartsAfresh) {
    EXPECT_EQ(KeySearch::Edited(L"A\U0001F680", L"\b"), L"A");
    EXPECT_EQ(KeySearch::Edited(L"AB", L"\b"), L"A");
    EXPECT_EQ(KeySearch::Edited(L"", L"\b"), L"");
    EXPECT_EQ(KeySearch::Edited(L"A", L"b"), L"Ab");
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
        return grid.Model().FindSearchMatchRow([&](long row) { return grid.Matches(row, L"AB"); }, loop, visibleOnly);
    };
    EXPECT_EQ(find(true, true), 1) << "no current row: from row 1";
    grid.Model().SelectCell(1, 1, true);
    EXPECT_EQ(find(true, true), 2);
    EXPECT_EQ(find(false, true), 1) << "without the loop, from the current row";
    grid.Model().SelectCell(4, 1, true);
    EXPECT_EQ(find(true, true), 1) << "round to the top";
    grid.Model().SetRowVisible(1, false);
    EXPECT_EQ(find(true, true), 2);
    EXPECT_EQ(find(true, false), 1);
    grid.Model().SetKeySearchColumn(0);
    EXPECT_EQ(find(true, true), 0) << "no key-search column";
}

}  // namespace
}  // namespace ferryl::test

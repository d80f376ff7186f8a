#include "grid/shell_sort.h"

#include <windows.h>
// oleauto.h needs the types of windows.h before it.
#include <oleauto.h>

#include <string>
#include <string_view>
#include <tuple>

#include "common/error.h"
#include "core/sort_shell_order.h"

namespace ferryl {

namespace {

constexpr short kMaxSortIndex = 8;
constexpr long kErrInvalidSortIndex = kObjectErrorBase | 1049;  // 0x80040419

std::wstring SortErrorSource() {
    return ErrorSource(L"cShellSort");
}

// -1, 0 or 1 as the sort steps want them.
template <typename T>
int Sign(const T& difference) {
    return difference > 0 ? 1 : difference < 0 ? -1 : 0;
}

// Both sides of an integer field are widened before subtracting: colours with the system-colour
// bit set are large negative 32-bit values, and their difference from an RGB value does not fit.
long long Field(const tGridCell& cell, long type) {
    switch (type) {
        case cShellSortTGridCells::eSortIcon:
            return cell.lIconIndex;
        case cShellSortTGridCells::eSortExtraIcon:
            return cell.lExtraIconIndex;
        case cShellSortTGridCells::eSortForeColor:
            return cell.lForeColor;
        case cShellSortTGridCells::eSortBackColor:
            return cell.lBackColor;
        case cShellSortTGridCells::eSortFontIndex:
            return cell.lFntIndex;
        case cShellSortTGridCells::eSortSelected:
            return cell.bSelected ? 1 : 0;
        default:
            return cell.lIndent;
    }
}

// The text a text key compares: a missing argument counts as empty text. A cell that holds text is
// read in place; copying it for every comparison would cost more than the comparison itself.
class SortText {
  public:
    explicit SortText(const TaggedValue& value) {
        if (value.IsText()) {
            m_view = value.Text();
        } else {
            if (!value.IsMissing())
                m_converted = value.ToText();
            m_view = m_converted;
        }
    }
    SortText(const SortText&) = delete;
    SortText& operator=(const SortText&) = delete;

    std::wstring_view View() const noexcept { return m_view; }

  private:
    std::wstring m_converted;
    std::wstring_view m_view;
};

// Like StrComp with text comparison: the user's locale, letter case, kana type and width ignored.
int CompareTextNoCase(std::wstring_view left, std::wstring_view right) {
    int result =
        ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH, left.data(),
                         static_cast<int>(left.size()), right.data(), static_cast<int>(right.size()));
    if (result == 0)  // only for invalid arguments; fall back to code-unit order rather than guess
        return Sign(left.compare(right));
    return result - CSTR_EQUAL;
}

// The parts of a date down to the accuracy of the sort type (250 year ... 254 minute); the
// remaining parts are left zero. Calendar parts rather than arithmetic on the double, because an
// OLE date before 1900 counts its time of day away from zero.
using DateParts = std::tuple<int, int, int, int, int>;

DateParts TruncatedDate(double date, long type) {
    SYSTEMTIME time{};
    if (!::VariantTimeToSystemTime(date, &time))
        return {0, 0, 0, 0, 0};  // out of the calendar's range: such dates all count as one
    int accuracy = static_cast<int>(type - cShellSortTGridCells::eSortDateYearAccuracy);
    return {time.wYear, accuracy >= 1 ? time.wMonth : 0, accuracy >= 2 ? time.wDay : 0, accuracy >= 3 ? time.wHour : 0,
            accuracy >= 4 ? time.wMinute : 0};
}

}  // namespace

void cShellSortTGridCells::Clear() {
    m_iKeyCount = 0;
    m_iSortColumns.assign(1, 0);
    m_lSortOrders.assign(1, 0);
    m_lSortTypes.assign(1, 0);
}

short cShellSortTGridCells::LastSortIndex() const {
    return m_iLastSortIndex;
}

void cShellSortTGridCells::LastSortIndex(short iLastSortIndex) {
    m_iLastSortIndex = iLastSortIndex;
}

// The getters check the index as the setters do, but never grow the tables: an index that has not
// been set yet reads as a new index starts, 0.
short cShellSortTGridCells::SortColumn(short iSortIndex) const {
    CheckSortIndex(iSortIndex);
    return iSortIndex <= m_iKeyCount ? m_iSortColumns[iSortIndex] : 0;
}

void cShellSortTGridCells::SortColumn(short iSortIndex, short iSortColumn) {
    ValidateSortIndex(iSortIndex);
    m_iSortColumns[iSortIndex] = iSortColumn;
}

long cShellSortTGridCells::SortOrder(short iSortIndex) const {
    CheckSortIndex(iSortIndex);
    return iSortIndex <= m_iKeyCount ? m_lSortOrders[iSortIndex] : 0;
}

void cShellSortTGridCells::SortOrder(short iSortIndex, long iSortOrder) {
    ValidateSortIndex(iSortIndex);
    m_lSortOrders[iSortIndex] = iSortOrder;
}

long cShellSortTGridCells::SortType(short iSortIndex) const {
    CheckSortIndex(iSortIndex);
    return iSortIndex <= m_iKeyCount ? m_lSortTypes[iSortIndex] : 0;
}

void cShellSortTGridCells::SortType(short iSortIndex, long eSortType) {
    ValidateSortIndex(iSortIndex);
    m_lSortTypes[iSortIndex] = eSortType;
}

void cShellSortTGridCells::CheckSortIndex(short iSortIndex) const {
    if (iSortIndex < 1 || iSortIndex > kMaxSortIndex)
        throw Error(kErrInvalidSortIndex, SortErrorSource(), L"Invalid sort array index.");
}

void cShellSortTGridCells::ValidateSortIndex(short iSortIndex) {
    CheckSortIndex(iSortIndex);
    if (iSortIndex > m_iKeyCount) {
        const auto size = static_cast<std::size_t>(iSortIndex) + 1;
        m_iSortColumns.resize(size, 0);
        m_lSortOrders.resize(size, 0);
        m_lSortTypes.resize(size, 0);
        m_iKeyCount = iSortIndex;
    }
}

void cShellSortTGridCells::ValidateSortColumns(const tGridCellTable& cells) const {
    for (short key = 1; key <= m_iKeyCount; ++key) {
        const short column = m_iSortColumns[key];
        for (std::size_t row = 1; row < cells.size(); ++row) {
            if (column < 1 || static_cast<std::size_t>(column) > cells[row].size())
                throw Error(kErrSubscriptOutOfRange, SortErrorSource(), L"Subscript out of range");
        }
    }
}

void cShellSortTGridCells::SortRows(tGridCellTable& cells, tGridRowTable& rows) const {
    if (cells.size() != rows.size())
        throw Error(kErrSubscriptOutOfRange, SortErrorSource(), L"Subscript out of range");
    // With no key every comparison would say "not in order" and shuffle the rows for nothing.
    if (rows.size() < 3 || m_iKeyCount == 0)
        return;
    // Checked up front so that a bad key fails the same way whatever the data, before anything moved.
    ValidateSortColumns(cells);

    // Only row numbers move while sorting; a comparison that raises leaves both tables untouched.
    const std::vector<std::size_t> order = ShellSortOrder(
        rows.size() - 1,
        [&](std::size_t placed, std::size_t standing) { return CompareRow(cells[placed], cells[standing]); });

    tGridCellTable sortedCells;
    tGridRowTable sortedRows;
    sortedCells.reserve(cells.size());
    sortedRows.reserve(rows.size());
    MoveInOrder(cells, order, sortedCells);
    MoveInOrder(rows, order, sortedRows);
    cells.swap(sortedCells);
    rows.swap(sortedRows);
}

bool cShellSortTGridCells::CompareRow(const std::vector<tGridCell>& placed,
                                      const std::vector<tGridCell>& standing) const {
    bool bInOrder = false;
    for (short key = 1; key <= m_iKeyCount; ++key) {
        const std::size_t column = static_cast<std::size_t>(m_iSortColumns[key]) - 1;
        const CellComparison result = CompareCell(placed[column], standing[column], key);
        bInOrder = result.bInOrder;
        if (!result.bEqual)
            break;
    }
    return bInOrder;
}

cShellSortTGridCells::CellComparison cShellSortTGridCells::CompareCell(const tGridCell& cellB,
                                                                       const tGridCell& cellA,
                                                                       std::size_t key) const {
    const long type = m_lSortTypes[key];
    const bool bAscending = m_lSortOrders[key] == eSortAscending;
    // For the kinds that reduce to a signed difference: equal at 0, in order by its sign.
    const auto bySign = [bAscending](int sign) {
        return CellComparison{sign == 0, bAscending ? sign >= 0 : sign <= 0};
    };

    switch (type) {
        case eSortIcon:
        case eSortExtraIcon:
        case eSortForeColor:
        case eSortBackColor:
        case eSortFontIndex:
        case eSortSelected:
        case eSortIndentation:
            return bySign(Sign(Field(cellB, type) - Field(cellA, type)));

        case eSortNumeric:
            // The numbers themselves, not their difference written out and read back: that detour
            // lost the fraction wherever the decimal separator is not a period. Text that is no
            // number raises a type mismatch from ToNumber.
            return bySign(Sign(cellB.vText.ToNumber() - cellA.vText.ToNumber()));

        case eSortString:
            return bySign(Sign(SortText(cellB.vText).View().compare(SortText(cellA.vText).View())));

        case eSortStringNoCase:
            return bySign(CompareTextNoCase(SortText(cellB.vText).View(), SortText(cellA.vText).View()));

        case eSortValue: {
            const auto order = Compare(cellB.vText, cellA.vText);
            if (order == 0)
                return {true, true};
            return {false, bAscending ? order > 0 : order < 0};
        }

        case eSortDateYearAccuracy:
        case eSortDateMonthAccuracy:
        case eSortDateDayAccuracy:
        case eSortDateHourAccuracy:
        case eSortDateMinuteAccuracy: {
            const bool bDateB = cellB.vText.IsDate();
            const bool bDateA = cellA.vText.IsDate();
            if (bDateB && bDateA) {
                const double dateB = cellB.vText.ToDate().value;
                const double dateA = cellA.vText.ToDate().value;
                if (TruncatedDate(dateB, type) == TruncatedDate(dateA, type))
                    return {true, true};
                return {false, bAscending ? dateB >= dateA : dateA >= dateB};
            }
            if (!bDateB && !bDateA)
                return {true, true};
            // Values that are no dates sort before every date ascending, after them in order 2.
            if (bDateB)
                return {false, bAscending};
            return {false, m_lSortOrders[key] == eSortDescending};
        }

        default:
            return {false, false};
    }
}

}  // namespace ferryl

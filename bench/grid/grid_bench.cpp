// MoskGrid against the system's list-view control on the same work: filling 5 columns (text, date,
// number, text, text), sorting by a text and by a date column, removing 1,000 rows from the middle
// and 1,000 key searches; for 10,000 and 100,000 rows, with Redraw off. Prints each time, the
// grid/list-view ratio and the grid's memory per cell. First, the cost of 1,000 arrow-key moves at
// 100,000 rows against the same at 100 rows (arrow_keys.cpp).

#include <windows.h>
// commctrl.h needs the types of windows.h before it.
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "arrow_keys.h"
#include "grid/mosk_grid.h"
#include "grid/shell_sort.h"
#include "winsvc/window.h"

using namespace ferryl;

namespace {

class HostWindow : public Window {
  public:
    bool Create() {
        RegisterWindowClass(L"FerrylGridBenchHost");
        return CreateHandle(L"FerrylGridBenchHost", L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 600,
                            400) != nullptr;
    }
};

double Seconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Heap bytes of a text beyond the string object itself (short texts live inside it).
size_t TextBytes(const std::wstring& text) {
    constexpr size_t kInline = sizeof(std::wstring) / sizeof(wchar_t) / 2;  // a safe lower bound
    return text.capacity() > kInline ? (text.capacity() + 1) * sizeof(wchar_t) : 0;
}

// The grid's storage counted from its tables: the table slots as allocated (capacity, not size)
// and the texts' own heap blocks. Wine does not report a process's private bytes, so the count is
// made from what the tables hold.
size_t StorageBytes(const MoskGrid& grid) {
    const auto& cells = grid.CellTable();
    const auto& rows = grid.RowTable();
    size_t bytes = cells.capacity() * sizeof(cells[0]) + rows.capacity() * sizeof(tGridRow);
    for (const auto& row : rows)
        bytes += TextBytes(row.sKey);
    for (const auto& row : cells) {
        bytes += row.capacity() * sizeof(tGridCell);
        for (const auto& cell : row) {
            if (cell.vText.IsText())
                bytes += TextBytes(cell.vText.Text());
        }
    }
    return bytes;
}

// The same rows for both controls.
struct Data {
    std::vector<std::wstring> names;
    std::vector<double> dates;
    std::vector<std::wstring> dateTexts;
    std::vector<double> sizes;
    std::vector<std::wstring> sizeTexts;
    std::vector<std::wstring> paths;
    std::vector<std::wstring> notes;
    std::vector<std::wstring> searches;  // 1,000 prefixes of names
};

Data MakeData(long rows) {
    std::mt19937 random(12345);
    Data data;
    const wchar_t* stems[] = {L"report", L"Invoice", L"photo", L"Backup", L"letter", L"notes", L"Draft", L"scan"};
    for (long r = 0; r < rows; ++r) {
        std::wstring name = stems[random() % 8] + std::to_wstring(random() % 100000) + L".txt";
        data.names.push_back(name);
        double date = 40000.0 + static_cast<double>(random() % 6000) + static_cast<double>(random() % 1440) / 1440.0;
        data.dates.push_back(date);
        data.dateTexts.push_back(TaggedValue(Date{date}).ToText());
        double size = static_cast<double>(random() % 10000000);
        data.sizes.push_back(size);
        data.sizeTexts.push_back(TaggedValue(size).ToText());
        data.paths.push_back(L"C:\\Users\\someone\\Documents\\" + name);
        data.notes.push_back(L"note " + std::to_wstring(r));
    }
    for (int i = 0; i < 1000; ++i) {
        const std::wstring& name = data.names[random() % static_cast<unsigned>(rows)];
        data.searches.push_back(name.substr(0, 6 + random() % 4));
    }
    return data;
}

struct Times {
    double fill = 0, sortText = 0, sortDate = 0, remove = 0, search = 0;
    double bytesPerCell = 0;
};

Times RunGrid(HWND parent, const Data& data) {
    Times times;
    long rows = static_cast<long>(data.names.size());
    MoskGrid grid;
    grid.Create(parent, 0, 0, 580, 380);
    grid.Redraw(false);
    grid.AddColumn(L"name");
    grid.AddColumn(L"date");
    grid.AddColumn(L"size");
    grid.AddColumn(L"path");
    grid.AddColumn(L"note");
    times.fill = Seconds([&] {
        for (long r = 1; r <= rows; ++r) {
            size_t i = static_cast<size_t>(r - 1);
            grid.CellDetails(r, 1, TaggedValue(data.names[i]));
            grid.CellDetails(r, 2, TaggedValue(Date{data.dates[i]}));
            grid.CellDetails(r, 3, TaggedValue(data.sizes[i]));
            grid.CellDetails(r, 4, TaggedValue(data.paths[i]));
            grid.CellDetails(r, 5, TaggedValue(data.notes[i]));
        }
    });
    times.bytesPerCell = static_cast<double>(StorageBytes(grid)) / (static_cast<double>(rows) * 5.0);

    cShellSortTGridCells& sort = grid.SortObject();
    sort.SortColumn(1, 1);
    sort.SortType(1, cShellSortTGridCells::eSortString);
    sort.SortOrder(1, cShellSortTGridCells::eSortAscending);
    times.sortText = Seconds([&] { grid.Sort(); });
    sort.SortColumn(1, 2);
    sort.SortType(1, cShellSortTGridCells::eSortValue);
    times.sortDate = Seconds([&] { grid.Sort(); });

    times.remove = Seconds([&] {
        for (int i = 0; i < 1000; ++i)
            grid.RemoveRow(grid.Rows() / 2);
    });

    grid.KeySearchColumn(1);
    grid.ClearSelection();
    long found = 0;
    times.search = Seconds([&] {
        for (const auto& text : data.searches)
            found += grid.FindSearchMatchRow(text) > 0 ? 1 : 0;
    });
    if (found == 0)
        std::printf("  (grid search found nothing)\n");
    return times;
}

// The list-view's sort callback: items are compared by their current positions.
struct ListSortContext {
    HWND list;
    int column;
    const Data* data;
};

std::wstring ItemText(HWND list, int item, int column) {
    wchar_t buffer[260];
    LVITEMW lvItem{};
    lvItem.iSubItem = column;
    lvItem.pszText = buffer;
    lvItem.cchTextMax = 260;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvItem));
    return buffer;
}

LPARAM ItemParam(HWND list, int item) {
    LVITEMW lvItem{};
    lvItem.mask = LVIF_PARAM;
    lvItem.iItem = item;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvItem));
    return lvItem.lParam;
}

int CALLBACK CompareListItems(LPARAM first, LPARAM second, LPARAM context) {
    const auto* sort = reinterpret_cast<const ListSortContext*>(context);
    int a = static_cast<int>(first);
    int b = static_cast<int>(second);
    if (sort->column == 0) {
        int result = ItemText(sort->list, a, 0).compare(ItemText(sort->list, b, 0));
        return result < 0 ? -1 : result > 0 ? 1 : 0;
    }
    double da = sort->data->dates[static_cast<size_t>(ItemParam(sort->list, a))];
    double db = sort->data->dates[static_cast<size_t>(ItemParam(sort->list, b))];
    return da < db ? -1 : da > db ? 1 : 0;
}

Times RunListView(HWND parent, const Data& data) {
    Times times;
    int rows = static_cast<int>(data.names.size());
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 580, 380, parent, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (int c = 0; c < 5; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = 64;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    times.fill = Seconds([&] {
        for (int r = 0; r < rows; ++r) {
            size_t i = static_cast<size_t>(r);
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = r;
            item.pszText = const_cast<wchar_t*>(data.names[i].c_str());
            item.lParam = r;
            int at = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            const std::wstring* texts[] = {&data.dateTexts[i], &data.sizeTexts[i], &data.paths[i], &data.notes[i]};
            for (int c = 1; c < 5; ++c) {
                LVITEMW sub{};
                sub.iSubItem = c;
                sub.pszText = const_cast<wchar_t*>(texts[c - 1]->c_str());
                ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
            }
        }
    });
    ListSortContext byName{list, 0, &data};
    times.sortText = Seconds([&] {
        ::SendMessageW(list, LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(&byName),
                       reinterpret_cast<LPARAM>(&CompareListItems));
    });
    ListSortContext byDate{list, 1, &data};
    times.sortDate = Seconds([&] {
        ::SendMessageW(list, LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(&byDate),
                       reinterpret_cast<LPARAM>(&CompareListItems));
    });
    times.remove = Seconds([&] {
        for (int i = 0; i < 1000; ++i) {
            int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
            ::SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(count / 2 - 1), 0);
        }
    });
    long found = 0;
    times.search = Seconds([&] {
        for (const auto& text : data.searches) {
            LVFINDINFOW find{};
            find.flags = LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP;
            find.psz = text.c_str();
            found += ::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)) >= 0
                         ? 1
                         : 0;
        }
    });
    if (found == 0)
        std::printf("  (list-view search found nothing)\n");
    ::DestroyWindow(list);
    return times;
}

void PrintLine(const char* what, double grid, double list) {
    std::printf("  %-28s grid %9.3f s   list-view %9.3f s   ratio %6.2f\n", what, grid, list,
                list > 0 ? grid / list : 0.0);
}

}  // namespace

// "--grid-only" skips the list-view (its sorts take minutes under Wine at 100,000 rows).
int wmain(int argc, wchar_t** argv) {
    bool gridOnly = argc > 1 && std::wstring(argv[1]) == L"--grid-only";
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    HostWindow host;
    if (!host.Create()) {
        std::printf("cannot create the host window\n");
        return 1;
    }
    bench::PrintArrowKeyFigure(host.Hwnd());
    double fill10k = 0;
    for (long rows : {10000L, 100000L}) {
        Data data = MakeData(rows);
        Times grid = RunGrid(host.Hwnd(), data);
        Times list = gridOnly ? Times{} : RunListView(host.Hwnd(), data);
        std::printf("%ld rows x 5 columns, Redraw off\n", rows);
        PrintLine("fill (CellDetails)", grid.fill, list.fill);
        PrintLine("sort by text (102)", grid.sortText, list.sortText);
        PrintLine("sort by date (200)", grid.sortDate, list.sortDate);
        PrintLine("remove 1,000 middle rows", grid.remove, list.remove);
        PrintLine("1,000 key searches", grid.search, list.search);
        std::printf("  grid memory per cell: %.1f bytes, tables and texts (sizeof(tGridCell) = %zu)\n",
                    grid.bytesPerCell, sizeof(tGridCell));
        if (rows == 10000)
            fill10k = grid.fill;
        else
            std::printf("  grid fill 100,000 / 10,000 rows: %.2f (goal: at most 12)\n", grid.fill / fill10k);
        std::fflush(stdout);
    }
    return 0;
}

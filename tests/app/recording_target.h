#pragma once
// A file list that records what the intake writes, standing in for the main window.

#include <map>
#include <string>
#include <vector>

#include "app/file_list_target.h"

namespace ferryl::test {

class RecordingTarget : public FileListTarget {
  public:
    void ShowMainWindow() override { ++shown; }
    void RestoreMainWindow() override { ++restored; }
    long Rows() override { return static_cast<long>(rows.size()); }
    std::wstring CellText(long lRow, long lCol) override {
        return rows.at(static_cast<size_t>(lRow - 1))[lCol].ToText();
    }
    void AddRow(const FileEntry& entry) override {
        rows.push_back({{kColumnName, entry.name},
                        {kColumnDate, entry.modified},
                        {kColumnSize, entry.size},
                        {kColumnPath, TaggedValue(entry.path)}});
        selectedAfterLastWrite = false;
    }
    void CellSelected(long lRow, long lCol, bool bSelected) override {
        selectedAfterLastWrite = lRow == 1 && lCol == 1 && bSelected;
    }
    void EnableSendNow() override { ++sendNowEnabled; }
    void ReportListFull(long notListed) override { notListedReports.push_back(notListed); }

    // Fills the list with other files up to one row short of the most it holds.
    void FillAllButTheLastRow() {
        rows.resize(kMaxListRows - 1);
        for (auto& row : rows)
            row[kColumnPath] = L"C:\\elsewhere.txt";
    }

    // The path column of every row, in order.
    std::vector<std::wstring> Paths() {
        std::vector<std::wstring> paths;
        for (long row = 1; row <= Rows(); ++row)
            paths.push_back(CellText(row, kColumnPath));
        return paths;
    }

    std::vector<std::map<long, TaggedValue>> rows;
    int shown = 0;
    int restored = 0;
    int sendNowEnabled = 0;
    std::vector<long> notListedReports;
    bool selectedAfterLastWrite = false;
};

}  // namespace ferryl::test
